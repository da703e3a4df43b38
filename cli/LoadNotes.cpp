#include "cli/LoadNotes.h"

#include "cli/Program.h"

namespace mtd::cli {

void writeLoadNotes(const LoadResult& load, std::FILE* stream) {
  if (!load.unreadable.empty()) {
    std::fprintf(stream, "%s: %s\n", programName(), load.unreadable.c_str());
  } else if (load.fileFound && !load.marked && load.rejection.empty()) {
    std::fprintf(stream, "%s: %s: no closing \"check\" line; defaults used\n", programName(),
                 CONFIG_FILE_NAME);
  }
}

}  // namespace mtd::cli
