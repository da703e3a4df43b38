#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/record/RecordPhase.h"
#include "core/ConfigurationFile.h"

namespace mtd::cli::record {

// Which shown block to record: by its block number (from 1) or by its trial (from 0).
struct BlockChoice {
  enum class By { BlockNumber, Trial };
  By by = By::BlockNumber;
  std::int32_t value = 1;
};

struct LocatedBlock {
  std::optional<BlockPlan> plan;
  std::string error;  // why there is no such shown block, when plan is empty
};

// Runs the Run without drawing up to the chosen block and measures its animation: which trial
// and block number it is and how many steps each animated part takes.
LocatedBlock locateBlock(const ConfigurationFile& configuration, const BlockChoice& choice);

}  // namespace mtd::cli::record
