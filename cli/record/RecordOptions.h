#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/record/BlockLocator.h"
#include "cli/record/RecordPhase.h"

namespace mtd::cli::record {

enum class OutputFormat { Gif, Mp4, Webm, Png };

struct RecordOptions {
  std::filesystem::path output;
  OutputFormat format = OutputFormat::Gif;
  std::filesystem::path directory = ".";  // where init.txt is looked for
  BlockChoice block;
  int width = 800;  // the screen
  int height = 640;
  int clientWidth = 800;  // the window's client area: the picture recorded
  int clientHeight = 640;
  int fps = 25;
  int stepsPerFrame = 20;
  Phase start = Phase::Noise;
  Phase end = Phase::Statistics;
  std::int64_t frame = 0;  // the picture a .png takes, from 0
  bool loop = true;        // a GIF repeats for ever
  bool help = false;
  std::string helpText;
};

struct ParsedRecordOptions {
  std::optional<RecordOptions> options;
  std::string error;  // names the argument refused, when options is empty
};

// The arguments after "record". Checks their form, their ranges and that they go together;
// whether the block exists and the output can be written is decided later.
ParsedRecordOptions parseRecordOptions(std::span<const std::string_view> arguments);

}  // namespace mtd::cli::record
