#include "cli/Program.h"

#include <cstdio>

namespace mtd::cli {

namespace {

const char* name = "mtd-sim";

bool plainWord(const std::string& text) {
  if (text.empty()) return false;
  for (const char c : text) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       std::string("-_.,:/=+%@").find(c) != std::string::npos;
    if (!plain) return false;
  }
  return true;
}

}  // namespace

void nameProgram(const char* programName) { name = programName; }

const char* programName() { return name; }

void warn(const std::string& message) { std::fprintf(stderr, "%s: %s\n", name, message.c_str()); }

std::string shellCommandLine(const std::vector<std::string>& arguments) {
  std::string text;
  for (const std::string& argument : arguments) {
    if (!text.empty()) text += ' ';
    if (plainWord(argument)) {
      text += argument;
      continue;
    }
    text += '\'';
    for (const char c : argument) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    text += '\'';
  }
  return text;
}

}  // namespace mtd::cli
