// Programs started detached on Windows: a job holds each one.
#include "platform/process.h"

#include <windows.h>

#include <string>

namespace vt {

namespace {

struct CloseRequest {
  DWORD processId;
  bool asked = false;
};

BOOL CALLBACK CloseWindowOfProcess(HWND window, LPARAM param) {
  CloseRequest& request = *reinterpret_cast<CloseRequest*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == request.processId && PostMessageW(window, WM_CLOSE, 0, 0)) request.asked = true;
  return TRUE;
}

// A job holds the program and every process it starts, so that ending the
// job ends them together.
class WindowsProcess : public DetachedProcess {
 public:
  WindowsProcess(HANDLE process, HANDLE job) : process_(process), job_(job) {}
  ~WindowsProcess() override {
    if (job_) CloseHandle(job_);
    CloseHandle(process_);
  }

  bool IsRunning() override { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

  void Terminate(int graceMilliseconds) override {
    if (!IsRunning()) return;
    // Asked like a user closing its windows, it can save its work first.
    CloseRequest request{GetProcessId(process_)};
    EnumWindows(CloseWindowOfProcess, reinterpret_cast<LPARAM>(&request));
    // A program without a window was asked nothing, so there is nothing to wait for.
    if (request.asked) WaitForSingleObject(process_, static_cast<DWORD>(graceMilliseconds));
    const UINT exitCode = static_cast<UINT>(-1);
    // The job ends what the program left running; without one, the program.
    if (job_) {
      TerminateJobObject(job_, exitCode);
    } else if (IsRunning()) {
      TerminateProcess(process_, exitCode);
    }
    WaitForSingleObject(process_, 5000);
  }

 private:
  HANDLE process_;
  HANDLE job_;
};

HANDLE OpenNullDevice(DWORD access) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileW(L"NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::unique_ptr<DetachedProcess> DetachedProcess::Start(TextView commandLine,
                                                       TextView workingFolder) {
  if (commandLine.empty()) return nullptr;
  std::wstring path(commandLine.begin(), commandLine.end());
  std::wstring folder(workingFolder.begin(), workingFolder.end());
  // Quoted, so that the program's own argv[0] is its whole path even with
  // blanks; CreateProcessW may write into its command line.
  std::wstring line = L"\"" + path + L"\"";

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = OpenNullDevice(GENERIC_READ);
  startup.hStdOutput = OpenNullDevice(GENERIC_WRITE);
  startup.hStdError = OpenNullDevice(GENERIC_WRITE);

  // Naming the program apart from its command line keeps a path with blanks
  // from being split at the first blank.
  PROCESS_INFORMATION info{};
  BOOL started =
      CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, TRUE,
                     CREATE_NEW_PROCESS_GROUP | DETACHED_PROCESS | CREATE_SUSPENDED,
                     nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &info);
  for (HANDLE h : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  if (!started) return nullptr;

  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (job && !AssignProcessToJobObject(job, info.hProcess)) {
    CloseHandle(job);
    job = nullptr;
  }
  ResumeThread(info.hThread);
  CloseHandle(info.hThread);
  return std::make_unique<WindowsProcess>(info.hProcess, job);
}

}  // namespace vt
