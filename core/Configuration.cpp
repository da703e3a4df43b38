#include "core/Configuration.h"

#include <cmath>
#include <sstream>

#include "core/DecoderRules.h"
#include "core/FormattedScan.h"

namespace mtd {

namespace {

// Some editors start a UTF-8 file with a byte-order mark; the scans must not see it.
std::string_view withoutByteOrderMark(std::string_view bytes) {
  constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";
  return bytes.starts_with(BYTE_ORDER_MARK) ? bytes.substr(BYTE_ORDER_MARK.size()) : bytes;
}

// The text as a text-mode stream delivers it: a carriage return before a line feed is dropped.
std::string asTextMode(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text.push_back(bytes[i]);
  }
  return text;
}

struct ParseOutcome {
  bool marked = false;
  std::size_t ndnWordLength = 0;
};

// Eight formatted scans, each followed by a skip of the rest of its line, then the marker line.
ParseOutcome parseInto(SimParams& p, std::string_view fileText) {
  const std::string text = asTextMode(withoutByteOrderMark(fileText));
  ScanInput in(text);
  std::string lineBuffer;
  std::size_t ndnWordLength = 0;

  auto scanAndSkip = [&](std::string_view format, std::initializer_list<ScanField> fields) {
    in.scan(format, std::span<const ScanField>(fields.begin(), fields.size()));
    in.readLine(lineBuffer);
  };

  scanAndSkip("nbl=%d", {&p.nbl});
  scanAndSkip("kst=%d", {&p.kst});
  scanAndSkip("p= %f", {&p.p});
  {
    const int assigned =
        in.scan("ndn=%d %s", std::initializer_list<ScanField>{&p.ndn, &lineBuffer});
    if (assigned == 2) ndnWordLength = lineBuffer.size();
    in.readLine(lineBuffer);
  }
  std::initializer_list<ScanField> kfpFields = {
      &p.kfp[0],  &p.kfp[1],  &p.kfp[2],  &p.kfp[3],  &p.kfp[4],  &p.kfp[5],  &p.kfp[6],
      &p.kfp[7],  &p.kfp[8],  &p.kfp[9],  &p.kfp[10], &p.kfp[11], &p.kfp[12], &p.kfp[13],
      &p.kfp[14], &p.kfp[15], &p.kfp[16], &p.kfp[17], &p.kfp[18], &p.kfp[19], &p.kfp[20],
      &p.kfp[21], &p.kfp[22], &p.kfp[23], &p.kfp[24]};
  scanAndSkip("kfp={%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d}",
              kfpFields);
  std::initializer_list<ScanField> ktrhFields = {&p.ktrh[0], &p.ktrh[1], &p.ktrh[2],  &p.ktrh[3],
                                                 &p.ktrh[4], &p.ktrh[5], &p.ktrh[6],  &p.ktrh[7],
                                                 &p.ktrh[8], &p.ktrh[9], &p.ktrh[10], &p.ktrh[11]};
  scanAndSkip("ktrh={%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d}", ktrhFields);
  scanAndSkip("maxBlock=%d", {&p.maxBlock});
  scanAndSkip("ddn=%d", {&p.kfp[0]});
  in.readLine(lineBuffer);

  return {lineBuffer == "check\n", ndnWordLength};
}

void applyDefaults(SimParams& p) {
  p.nbl = 1000;
  p.kfp = DEFAULT_KFP;
  p.p = 0.06f;
  p.kst = 7;
  p.ndn = 11;
  p.ktrh = DEFAULT_KTRH;
  p.kfp[0] = 22;
}

void derive(Simulation& sim) {
  SimParams& p = sim.params;
  sim.clearBlockTally();
  if (p.nbl < p.kfp[p.kfp[0]]) p.nbl = p.kfp[p.kfp[0]];
  // The single-precision p times 1000 is exact in double; 0.06f gives 59, not 60.
  p.noiseThreshold =
      static_cast<std::int32_t>(static_cast<double>(p.p) * rules::NOISE_THRESHOLD_SCALE);
  sim.generator.seed(p.kst);
  p.stepsPerBit = ((4510 / p.ndn) / p.ndn) / p.ndn + 3;
  if (p.ndn > MAX_NDN_USED) p.ndn = MAX_NDN_USED;
  p.codeDistance = p.kfp[0] + 1;
  p.decodeCursor = rules::decodeCursor(p.nbl);
}

std::string describe(const std::string& what) { return "init.txt: " + what + "; defaults used"; }

std::optional<std::string> tapBreach(const SimParams& p, int first, int last, std::int32_t nbl) {
  for (int j = first; j <= last; ++j) {
    if (p.kfp[j] < 0 || p.kfp[j] > nbl) {
      std::ostringstream s;
      s << "kfp[" << j << "]=" << p.kfp[j] << " is outside the taps' range 0..nbl (0.." << nbl
        << ")";
      return describe(s.str());
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> findLimitBreach(const SimParams& p, std::size_t ndnWordLength) {
  std::ostringstream s;
  const std::int32_t ddn = p.kfp[0];
  if (ddn < 0 || ddn >= KFP_SIZE) {
    s << "ddn=" << ddn << " (kfp[0]) is outside 0.." << KFP_SIZE - 1;
    return describe(s.str());
  }
  const std::int32_t nbl = p.nbl < p.kfp[ddn] ? p.kfp[ddn] : p.nbl;
  const std::string raised = nbl != p.nbl ? " (raised from " + std::to_string(p.nbl) + " to kfp[" +
                                                std::to_string(ddn) + "])"
                                          : "";
  if (nbl > BLOCK_CAPACITY) {
    s << "nbl=" << nbl << raised << " is above the block capacity " << BLOCK_CAPACITY;
    return describe(s.str());
  }
  if (nbl < 1) {
    s << "nbl=" << nbl << raised << " is below 1";
    return describe(s.str());
  }
  if (p.ndn < 1) {
    s << "ndn=" << p.ndn << " is below 1";
    return describe(s.str());
  }
  if (p.ktrh[0] > MAX_ITERATIONS) {
    s << "ktrh[0]=" << p.ktrh[0] << " is above " << MAX_ITERATIONS
      << ", the iterations the tallies hold";
    return describe(s.str());
  }
  const std::int32_t usedNdn = p.ndn > MAX_NDN_USED ? MAX_NDN_USED : p.ndn;
  if (auto breach = tapBreach(p, 1, usedNdn - 1, nbl)) return breach;
  if (auto breach = tapBreach(p, 1, ddn, nbl)) return breach;
  if (ndnWordLength > static_cast<std::size_t>(LINE_BUFFER_SIZE - 1)) {
    s << "the word after the ndn value has " << ndnWordLength << " characters, above "
      << LINE_BUFFER_SIZE - 1;
    return describe(s.str());
  }
  const double threshold = static_cast<double>(p.p) * rules::NOISE_THRESHOLD_SCALE;
  if (!std::isfinite(threshold) || threshold <= -2147483649.0 || threshold >= 2147483648.0) {
    s << "p=" << p.p << " gives no noise threshold in the 32-bit range";
    return describe(s.str());
  }
  return std::nullopt;
}

LoadResult loadConfigurationText(Simulation& sim, std::optional<std::string_view> fileText) {
  LoadResult result;
  result.fileFound = fileText.has_value();
  if (fileText) {
    const ParseOutcome outcome = parseInto(sim.params, *fileText);
    result.marked = outcome.marked;
    result.accepted = outcome.marked;
    if (outcome.marked) {
      if (auto breach = findLimitBreach(sim.params, outcome.ndnWordLength)) {
        result.accepted = false;
        result.rejection = *breach;
      }
    }
  }
  if (!result.accepted) applyDefaults(sim.params);
  derive(sim);
  return result;
}

LoadResult loadConfigurationFile(Simulation& sim, const ConfigurationFile& file) {
  switch (file.state) {
    case ConfigurationFile::State::Read:
      return loadConfigurationText(sim, file.bytes);
    case ConfigurationFile::State::TooLarge: {
      LoadResult result = loadConfigurationText(sim, std::nullopt);
      result.fileFound = true;
      result.rejection = file.problem;
      return result;
    }
    case ConfigurationFile::State::Unreadable: {
      LoadResult result = loadConfigurationText(sim, std::nullopt);
      result.unreadable = file.problem;
      return result;
    }
    case ConfigurationFile::State::Missing:
      break;
  }
  return loadConfigurationText(sim, std::nullopt);
}

LoadResult loadConfiguration(Simulation& sim, const std::filesystem::path& directory) {
  return loadConfigurationFile(sim, readConfigurationFile(directory));
}

}  // namespace mtd
