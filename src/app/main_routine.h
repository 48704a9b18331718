// The desktop program's main routine: start-up, the loop that handles one
// event at a time, and shutdown. It drives the window only through the
// screen interface, so it runs the same with a real window or headless.
#pragma once

#include <memory>
#include <vector>

#include "base/text.h"
#include "platform/events.h"
#include "platform/process.h"

namespace vt {

inline constexpr char16_t kApplicationTitle[] = u"Veltrane";
inline constexpr char16_t kWindowTitle[] = u"Veltrane v2.09";

struct ShellState {
  // The IDE of the latest launch; null before any, or when it failed to
  // start.
  DetachedProcess* IdeProcess = nullptr;
  // Every IDE started during the run: each one that still runs ends with
  // the tool.
  std::vector<std::unique_ptr<DetachedProcess>> LaunchedProcesses;
};

extern ShellState Shell;

// Start-up up to the event loop. `arguments` is the command line without
// the program itself; `applicationFolder` the folder that holds the program.
void StartUp(const std::vector<Text>& arguments, TextView applicationFolder);

// Acts on one event to the end. False when the loop is to be left.
bool HandleEvent(const Event& event);

// Takes events one at a time until the window is closed or the program is
// asked to end.
void RunEventLoop();

// Empties the lists, removes the window and ends the IDEs still running.
void ShutDown();

// The whole run; the process's exit code.
int MainRoutine(const std::vector<Text>& arguments, TextView applicationFolder);

// The IDE's command line: the root folder's MaxIDE program.
Text IdeCommandLine();

// Starts the IDE, waits a second for it to come up, and says so when it
// could not be started.
void LaunchIde();

Text AboutText();

}  // namespace vt
