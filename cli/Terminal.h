#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>

namespace mtd::cli {

// Whether the stream shows on a terminal (a console window on Windows), where progress lines
// are redrawn in place.
bool isTerminal(std::FILE* stream);

// The width in columns of the terminal the stream shows on; nothing when it is not one or the
// system does not say.
std::optional<std::size_t> terminalWidth(std::FILE* stream);

}  // namespace mtd::cli
