// Data preparation: threshold, the first 2500 values, ranking, plotting
// positions and the shift of non-positive data.
#include <algorithm>
#include <numeric>
#include <vector>

#include "engine/run_fit.hpp"
#include "engine/scratch_files.hpp"
#include "textio/input_file.hpp"
#include "textio/text_file.hpp"

namespace quilmor::engine {
namespace {

constexpr std::size_t kTitleLength = 72;
// Start of the search for the smallest value: only its sign matters.
constexpr double kMinimumStart = 1'000'000.0;
// Non-positive data are moved so that the smallest value becomes this.
constexpr double kShiftOffset = 0.0001;

constexpr const char* kZeroThresholdMessage =
    "Please be aware that the threshold (cut-off) value is zero so that the negative values are "
    "not used.";

std::optional<std::string> NoUsableData(AnalysisState& state, std::string message) {
  state.N = 0;
  state.NrOfData = 0;
  return message;
}

}  // namespace

std::optional<std::string> PrepareData(AnalysisState& state, const std::filesystem::path& inputFile,
                                       const std::filesystem::path& scratchDir,
                                       UserInteraction& ui) {
  state.NegativeValues = false;
  const std::string name = inputFile.string();
  const auto lines = textio::ReadTextLines(inputFile);
  if (!lines) return NoUsableData(state, textio::InputOpenFailedMessage(name));
  const textio::InputFileContent file = textio::ParseInputFile(*lines);
  if (file.corrupt) return NoUsableData(state, textio::InputFaultMessage(file, name));

  state.ReportTitle1 = file.title1.substr(0, kTitleLength);
  state.ReportTitle2 = file.title2.substr(0, kTitleLength);
  state.Threshold = file.threshold;

  // Values at or above the threshold are used; a value equal to it as well.
  const auto passes = [&](const textio::InputRow& row) { return row.value >= state.Threshold; };
  const auto passing = std::count_if(file.rows.begin(), file.rows.end(), passes);
  if (passing > kMaxValues) {
    const std::filesystem::path marker = scratchDir / kWarningFile;
    if (!textio::WriteFilePlain(marker, "Warning\r\n")) {
      return NoUsableData(state, textio::InputOpenFailedMessage(marker.string()));
    }
  }
  const int n = static_cast<int>(std::min<std::ptrdiff_t>(passing, kMaxValues));

  // The first 2500 passing values in file order.
  int k = 0;
  for (const textio::InputRow& row : file.rows) {
    if (!passes(row)) continue;
    if (++k > n) break;
    state.Serials[k] = row.serial;
    state.Values[k] = row.value;
  }

  // Stable ascending sort of ranks 1..n; serials move with their values.
  std::vector<int> order(n);
  std::iota(order.begin(), order.end(), 1);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return state.Values[a] < state.Values[b]; });
  std::vector<double> values(n);
  std::vector<int> serials(n);
  for (int i = 0; i < n; ++i) {
    values[i] = state.Values[order[i]];
    serials[i] = state.Serials[order[i]];
  }
  std::copy(values.begin(), values.end(), state.Values.begin() + 1);
  std::copy(serials.begin(), serials.end(), state.Serials.begin() + 1);

  // Plotting position of rank i: i/(N+1).
  for (int i = 1; i <= n; ++i) state.PlotFreq[i] = static_cast<double>(i) / (n + 1);

  // Every value must be positive for the logarithms and powers of the fits.
  double smallest = kMinimumStart;
  for (int i = 1; i <= n; ++i) smallest = std::min(smallest, state.Values[i]);
  if (smallest <= 0.0) {
    state.NegativeValues = smallest < 0.0;
    for (int i = 1; i <= n; ++i) state.Values[i] = state.Values[i] - smallest + kShiftOffset;
    state.Shift = smallest;
  } else {
    state.Shift = 0.0;
  }

  const bool fileHasNegative =
      std::any_of(file.rows.begin(), file.rows.end(),
                  [](const textio::InputRow& row) { return row.value < 0.0; });
  if (state.Threshold == 0.0 && fileHasNegative) ui.ShowMessage(kZeroThresholdMessage);

  state.NrOfData = n;
  state.N = n;
  return std::nullopt;
}

}  // namespace quilmor::engine
