#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

// The operating system's part of writing an output file safely, one file per system
// (OutputFilePosix.cpp, OutputFileWindows.cpp).
namespace mtd::cli {

// Whether the path names a device or a stream of the system (/dev/null, NUL, CON, ...),
// which is written directly: nothing may be renamed over it.
bool isSystemDevicePath(const std::filesystem::path& path);

// Creates a new, empty file of the pattern's name with its trailing XXXXXX made unique, and
// opens it for binary writing with the permissions a new output file usually gets. Replaces
// `pattern` with the name made; nothing (with errno set) on failure.
std::FILE* createUniqueFile(std::string& pattern);

// Replaces `target` with `source` in one step (the target need not exist); false with the
// system's reason.
bool replaceFile(const std::filesystem::path& source, const std::filesystem::path& target,
                 std::string& reason);

}  // namespace mtd::cli
