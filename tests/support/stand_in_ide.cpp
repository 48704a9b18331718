// A stand-in for the BlitzMax IDE on Windows, copied into a test's root
// folder as MaxIDE.exe. Started without arguments it notes its current folder
// in "cwd" beside itself, starts a child of its own (itself, with the
// argument "child", which only waits), notes both process ids in "pids" and
// waits for the child. When a file "chatty" lies beside it, it writes many
// lines to its standard streams and ends instead.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring OwnPath() {
  wchar_t buf[32768];
  DWORD length = GetModuleFileNameW(nullptr, buf, 32768);
  return std::wstring(buf, length);
}

std::wstring Beside(const std::wstring& exe, const wchar_t* name) {
  return exe.substr(0, exe.find_last_of(L"\\/") + 1) + name;
}

std::string Utf8(const std::wstring& wide) {
  int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                 nullptr, 0, nullptr, nullptr);
  std::string bytes(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(),
                      size, nullptr, nullptr);
  return bytes;
}

// Written under another name first, so that the test never reads half a file.
void WriteNote(const std::wstring& exe, const wchar_t* name, const std::string& text) {
  std::wstring target = Beside(exe, name);
  std::wstring part = target + L".tmp";
  FILE* f = _wfopen(part.c_str(), L"wb");
  if (!f) return;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  MoveFileExW(part.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
}

// Far more than a pipe holds, in a few large writes: line by line would
// only make the test slow.
int Chatter() {
  std::string out, err;
  for (int i = 0; i < 4000; ++i) {
    out += "a line of output that nobody will ever read, padded out\n";
    err += "and another one on the error stream\n";
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fwrite(err.data(), 1, err.size(), stderr);
  return 0;
}

std::string CurrentFolder() {
  wchar_t buf[32768];
  DWORD length = GetCurrentDirectoryW(32768, buf);
  std::wstring folder(buf, length);
  for (wchar_t& c : folder) {
    if (c == L'\\') c = L'/';
  }
  return Utf8(folder);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 1 && std::wstring(argv[1]) == L"child") {
    Sleep(300000);
    return 0;
  }
  std::wstring exe = OwnPath();
  if (GetFileAttributesW(Beside(exe, L"chatty").c_str()) != INVALID_FILE_ATTRIBUTES) {
    return Chatter();
  }
  WriteNote(exe, L"cwd", CurrentFolder() + "\n");

  std::wstring line = L"\"" + exe + L"\" child";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION child{};
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &child)) {
    return 1;
  }
  WriteNote(exe, L"pids",
            std::to_string(GetCurrentProcessId()) + " " + std::to_string(child.dwProcessId));
  WaitForSingleObject(child.hProcess, INFINITE);
  return 0;
}
