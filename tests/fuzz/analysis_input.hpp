// How the analysis fuzz target reads its input, shared with the test that
// runs the inputs it once failed on (tests/data/bad/fuzz/analysis): lines of
// values (anything that is not a number is left out), then three bytes at
// the end, read from the last one back: the preference (index into
// kPreferences), the options (bit 0: break point allowed with best fitting
// of all; bit 1: a very low threshold, so that negative values are used and
// the data shifted) and the number of intervals (2 + byte % 19). A missing
// byte counts as 0.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/data_module.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::fuzz {

// "1" (best fitting of all) and every code the Input page offers.
inline constexpr std::array<const char*, 20> kPreferences = {
    "1",  "21", "22", "23", "24", "25", "3",  "4",  "5",  "51",
    "52", "53", "54", "55", "56", "57", "58", "59", "60", "62"};
// Long enough for every table and scan, short enough for many runs.
inline constexpr std::size_t kMaxAnalysisValues = 60;
inline constexpr std::size_t kMinAnalysisValues = 6;

struct AnalysisInput {
  std::string preference = "1";
  bool breakPoint = false;
  bool lowThreshold = false;
  int intervals = 2;
  std::vector<double> values;
};

// nullopt when the text holds fewer than six values.
inline std::optional<AnalysisInput> DecodeAnalysisInput(std::string_view bytes) {
  auto takeLast = [&bytes]() -> unsigned {
    if (bytes.empty()) return 0;
    const auto byte = static_cast<unsigned char>(bytes.back());
    bytes.remove_suffix(1);
    return byte;
  };
  AnalysisInput input;
  input.preference = kPreferences[takeLast() % kPreferences.size()];
  const unsigned options = takeLast();
  input.intervals = 2 + static_cast<int>(takeLast() % 19);
  input.breakPoint = (options & 1) != 0 && input.preference == std::string("1");
  input.lowThreshold = (options & 2) != 0;
  for (const std::string& line : textio::SplitLines(bytes)) {
    if (const auto value = textio::StringToFloat(line)) input.values.push_back(*value);
    if (input.values.size() == kMaxAnalysisValues) break;
  }
  if (input.values.size() < kMinAnalysisValues) return std::nullopt;
  return input;
}

// The data module as the Input page leaves it before Save-Run, for an input
// file `name` in `folder`.
inline void FillDataModule(report::TDMQuilmor& dm, const AnalysisInput& input,
                           const std::filesystem::path& folder, const std::string& name) {
  dm.FileName = (folder / name).string();
  dm.Title1 = "Fuzzed series";
  dm.NrOfData = static_cast<int>(input.values.size());
  dm.RowValues = input.values;
  dm.RowSerials.resize(input.values.size());
  for (std::size_t i = 0; i < input.values.size(); ++i) dm.RowSerials[i] = static_cast<int>(i + 1);
  dm.Skipped.assign(input.values.size(), false);
  // Threshold 0 leaves negative values out; a very low one keeps them and
  // makes the run shift the data.
  dm.InputThreshold = input.lowThreshold ? -1.0e12 : 0.0;
  dm.Preference = input.preference;
  dm.NrOfIntervals = std::to_string(input.intervals);
}

}  // namespace quilmor::fuzz
