#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/SimParams.h"

namespace mtd::cli {

// One value of init.txt given on the command line: NAME=VALUE, written as its line in the file
// is (kfp={22,0,24,...}, ktrh={8,3,2,...}, ndn=11 word).
struct CodeOverride {
  std::string name;
  std::string value;
  std::string text() const { return name + "=" + value; }
};

// NAME=VALUE with NAME one of nbl, kst, p, ndn, kfp, ktrh, maxBlock, ddn; nothing otherwise.
std::optional<CodeOverride> parseCodeOverride(const std::string& text);

// init.txt's first nine lines for the parameters, ending in the "check" line.
std::string configurationText(const SimParams& params);

// The file's text with the lines of the overridden values replaced and the "check" line in its
// place, so that the values are read and checked exactly as the file's own would be.
std::string overriddenText(const std::string& fileText, const std::vector<CodeOverride>& overrides);

}  // namespace mtd::cli
