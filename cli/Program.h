#pragma once

#include <string>
#include <vector>

namespace mtd::cli {

// The exit statuses of the command-line programs, the same in every mode and program.
inline constexpr int EXIT_WRITE_FAILED = 1;  // an output could not be written
inline constexpr int EXIT_REFUSED = 2;       // wrong arguments or input: nothing was run
// Ended early by a signal: as a shell reports a process that the signal ended.
constexpr int exitStatusForSignal(int signal) { return 128 + signal; }

// The name the program goes by in its messages, --help and --version: set once by main,
// before anything is said.
void nameProgram(const char* name);
const char* programName();

// The arguments as one line a shell reads back the same: quoted where they need it.
std::string shellCommandLine(const std::vector<std::string>& arguments);

// "NAME: message" on stderr.
void warn(const std::string& message);

}  // namespace mtd::cli
