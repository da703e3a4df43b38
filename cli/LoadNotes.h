#pragma once

#include <cstdio>

#include "core/Configuration.h"

namespace mtd::cli {

// What the runner says about an init.txt that it runs without: one that is there but cannot be
// read, or one without its closing "check" line. Either way the defaults are used and the run
// goes on; a refused file is a different matter, which stops the run.
void writeLoadNotes(const LoadResult& load, std::FILE* stream);

}  // namespace mtd::cli
