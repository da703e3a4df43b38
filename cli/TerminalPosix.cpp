#include <sys/ioctl.h>
#include <unistd.h>

#include "cli/Terminal.h"

namespace mtd::cli {

bool isTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

std::optional<std::size_t> terminalWidth(std::FILE* stream) {
  winsize size{};
  if (ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 1) return size.ws_col;
  return std::nullopt;
}

}  // namespace mtd::cli
