#include "cli/LoadNotes.h"

namespace mtd::cli {

void writeLoadNotes(const LoadResult& load, std::FILE* stream) {
  if (!load.unreadable.empty()) {
    std::fprintf(stream, "mtd-sim: %s\n", load.unreadable.c_str());
  } else if (load.fileFound && !load.marked && load.rejection.empty()) {
    std::fprintf(stream, "mtd-sim: %s: no closing \"check\" line; defaults used\n",
                 CONFIG_FILE_NAME);
  }
}

}  // namespace mtd::cli
