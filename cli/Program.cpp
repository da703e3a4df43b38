#include "cli/Program.h"

#include <cstdio>

namespace mtd::cli {

namespace {

const char* name = "mtd-sim";

}  // namespace

void nameProgram(const char* programName) { name = programName; }

const char* programName() { return name; }

void warn(const std::string& message) { std::fprintf(stderr, "%s: %s\n", name, message.c_str()); }

}  // namespace mtd::cli
