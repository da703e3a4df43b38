#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/sweep/Plotter.h"

namespace mtd::cli {

namespace {

// gnuplot.exe in a folder of PATH, as the shell would find it.
std::wstring plotterPath() {
  wchar_t found[MAX_PATH] = {};
  if (SearchPathW(nullptr, L"gnuplot.exe", nullptr, MAX_PATH, found, nullptr) == 0) return {};
  return found;
}

// Handles closed when the scope ends, whichever way it is left.
struct OwnedHandle {
  HANDLE handle = nullptr;
  ~OwnedHandle() {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  void close() {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    handle = nullptr;
  }
};

}  // namespace

bool plotterAvailable() { return !plotterPath().empty(); }

std::string plotterMissingHint() {
  return "gnuplot.exe is not on PATH (install gnuplot for Windows and add its bin folder to "
         "PATH)";
}

bool runPlotter(const std::string& script, std::string& error) {
  const std::wstring program = plotterPath();
  if (program.empty()) {
    error = plotterMissingHint();
    return false;
  }
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  OwnedHandle readEnd, writeEnd, discard;
  if (CreatePipe(&readEnd.handle, &writeEnd.handle, &inherited, 0) == 0 ||
      SetHandleInformation(writeEnd.handle, HANDLE_FLAG_INHERIT, 0) == 0) {
    error = "cannot start gnuplot";
    return false;
  }
  // The plot goes to its file; what gnuplot prints is of no use on the table's stdout.
  discard.handle = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               &inherited, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = readEnd.handle;
  startup.hStdOutput = discard.handle;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  std::wstring commandLine = L"\"" + program + L"\"";
  std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
  writable.push_back(L'\0');
  PROCESS_INFORMATION child{};
  // A process group of its own ignores the console's Ctrl-C, which is meant for the sweep.
  if (CreateProcessW(program.c_str(), writable.data(), nullptr, nullptr, TRUE,
                     CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &child) == 0) {
    error = "cannot start gnuplot (" + std::to_string(GetLastError()) + ")";
    return false;
  }
  OwnedHandle process{child.hProcess}, thread{child.hThread};
  readEnd.close();
  std::size_t written = 0;
  while (written < script.size()) {
    DWORD n = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(script.size() - written, 1 << 16));
    if (WriteFile(writeEnd.handle, script.data() + written, chunk, &n, nullptr) == 0 || n == 0)
      break;
    written += n;
  }
  writeEnd.close();
  WaitForSingleObject(process.handle, INFINITE);
  DWORD status = 1;
  GetExitCodeProcess(process.handle, &status);
  if (written < script.size() || status != 0) {
    error = "gnuplot failed to draw the plot";
    return false;
  }
  return true;
}

}  // namespace mtd::cli
