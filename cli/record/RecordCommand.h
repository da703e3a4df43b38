#pragma once

namespace mtd::cli::record {

// mtd-sim record: its arguments are those after the word "record". Returns the exit status.
int runRecordCommand(int argc, char** argv);

}  // namespace mtd::cli::record
