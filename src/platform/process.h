// Programs the tool starts and leaves running on their own, such as the
// BlitzMax IDE.
#pragma once

#include <memory>

#include "base/text.h"

namespace vt {

// A program started detached from the tool, as the leader of a process group
// of its own, in a folder the caller names and with the tool's environment.
// Its standard streams lead to the null device: output that nobody reads
// must never fill a pipe and stall it. Dropping the object leaves the program
// running.
class DetachedProcess {
 public:
  // How long a program gets to end by itself before it is forced.
  static constexpr int kPoliteEndMilliseconds = 3000;

  // Starts the program whose command line is `commandLine`, taken whole as
  // the program's path (no arguments, no quotes), in the folder
  // `workingFolder`. Null when it cannot start.
  static std::unique_ptr<DetachedProcess> Start(TextView commandLine, TextView workingFolder);

  virtual ~DetachedProcess() = default;
  // True until the program has exited.
  virtual bool IsRunning() = 0;
  // Ends the program, if it still runs, together with the processes it
  // started directly (its process group, or on Windows its job). It is
  // asked first, so that it can save its work: SIGTERM to its group (on
  // Windows WM_CLOSE to its windows). Once it has exited, or after
  // `graceMilliseconds`, whatever remains of the group is ended by force.
  virtual void Terminate(int graceMilliseconds = kPoliteEndMilliseconds) = 0;
};

}  // namespace vt
