#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cwchar>

#include "cli/OutputFileSystem.h"

namespace mtd::cli {

namespace {

std::string lastErrorText() {
  char text[512] = {};
  const DWORD code = GetLastError();
  if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                     text, sizeof text, nullptr) == 0) {
    return "Windows error " + std::to_string(code);
  }
  std::string message(text);
  while (!message.empty() && std::isspace(static_cast<unsigned char>(message.back())))
    message.pop_back();
  return message;
}

// The names Windows reserves for devices in every directory, with or without an extension.
bool reservedDeviceName(std::string stem) {
  std::transform(stem.begin(), stem.end(), stem.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (stem == "NUL" || stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "CONIN$" ||
      stem == "CONOUT$")
    return true;
  return stem.size() == 4 && (stem.rfind("COM", 0) == 0 || stem.rfind("LPT", 0) == 0) &&
         stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

bool isSystemDevicePath(const std::filesystem::path& path) {
  const std::string text = path.string();
  if (text.rfind("\\\\.\\", 0) == 0 || text.rfind("//./", 0) == 0) return true;
  return reservedDeviceName(path.stem().string());
}

// CREATE_NEW fails when the name exists, so a name is never taken from another writer.
std::FILE* createUniqueFile(std::string& pattern) {
  static std::atomic<unsigned> counter{0};
  const std::size_t tail = pattern.rfind("XXXXXX");
  if (tail == std::string::npos) {
    errno = EINVAL;
    return nullptr;
  }
  const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned long long key = GetTickCount64() * 2654435761ULL ^
                             (static_cast<unsigned long long>(GetCurrentProcessId()) << 20) ^
                             counter.fetch_add(1) * 0x9E3779B97F4A7C15ULL;
    for (std::size_t i = 0; i < 6; ++i) {
      pattern[tail + i] = digits[key % 36];
      key /= 36;
    }
    const std::wstring name = std::filesystem::path(pattern).wstring();
    const HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;
      errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : ENOENT;
      return nullptr;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    std::FILE* stream = descriptor < 0 ? nullptr : _fdopen(descriptor, "wb");
    if (stream == nullptr) {
      if (descriptor < 0)
        CloseHandle(handle);
      else
        _close(descriptor);
      DeleteFileW(name.c_str());
      errno = EMFILE;
      return nullptr;
    }
    return stream;
  }
  errno = EEXIST;
  return nullptr;
}

bool replaceFile(const std::filesystem::path& source, const std::filesystem::path& target,
                 std::string& reason) {
  if (MoveFileExW(source.wstring().c_str(), target.wstring().c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0)
    return true;
  reason = lastErrorText();
  return false;
}

}  // namespace mtd::cli
