// The desktop program's main routine: start-up, the loop that handles one
// event at a time, and shutdown. It drives the window only through
// DesktopScreen (the state's `desktop`, which it needs), so it runs the
// same with a real window or headless.
#pragma once

#include <vector>

#include "app/app_state.h"
#include "base/text.h"
#include "base/version.h"
#include "platform/events.h"

namespace vt {

inline constexpr char16_t kApplicationTitle[] = u"Veltrane";
inline constexpr char16_t kWindowTitle[] = u"Veltrane " VELTRANE_VERSION_TAG;

// Start-up up to the event loop. `arguments` is the command line without
// the program itself; `applicationFolder` the folder that holds the program
// and everything the program keeps (`layout` says where else they lie).
void StartUp(AppState& state, const std::vector<Text>& arguments,
             TextView applicationFolder);
void StartUp(AppState& state, const std::vector<Text>& arguments,
             const ProgramLayout& layout);

// Acts on one event to the end. False when the loop is to be left.
bool HandleEvent(AppState& state, const Event& event);

// Takes events one at a time until the window is closed or the program is
// asked to end.
void RunEventLoop(AppState& state);

// Empties the lists, removes the window and ends the IDEs still running.
void ShutDown(AppState& state);

// The whole run on `screen`; the process's exit code.
int MainRoutine(DesktopScreen& screen, const std::vector<Text>& arguments,
                const ProgramLayout& layout);

// The IDE's command line: the root folder's MaxIDE program.
Text IdeCommandLine(const SettingsState& settings);

// Starts the IDE, waits a second for it to come up, and says so when it
// could not be started.
void LaunchIde(AppState& state);

Text AboutText();

}  // namespace vt
