#include <io.h>
#include <windows.h>

#include "cli/Terminal.h"

namespace mtd::cli {

namespace {

HANDLE consoleOf(std::FILE* stream) {
  return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

}  // namespace

// _isatty is also true for NUL and other character devices: only a console counts.
bool isTerminal(std::FILE* stream) {
  DWORD mode = 0;
  return _isatty(_fileno(stream)) != 0 && GetConsoleMode(consoleOf(stream), &mode) != 0;
}

// The visible window, not the screen buffer, which is usually far wider.
std::optional<std::size_t> terminalWidth(std::FILE* stream) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (GetConsoleScreenBufferInfo(consoleOf(stream), &info) == 0) return std::nullopt;
  const int columns = info.srWindow.Right - info.srWindow.Left + 1;
  if (columns <= 1) return std::nullopt;
  return static_cast<std::size_t>(columns);
}

}  // namespace mtd::cli
