// Data preparation: threshold, the first 2500 values, ranking, plotting
// positions and the shift of non-positive data.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

#include "engine/fit_series.hpp"

namespace quilmor::engine {
namespace {

// Start of the search for the smallest value: only its sign matters.
constexpr double kMinimumStart = 1'000'000.0;
// Non-positive data are moved so that the smallest value becomes this.
constexpr double kShiftOffset = 0.0001;

}  // namespace

PreparedSeries PrepareData(const std::vector<textio::InputRow>& rows, double threshold,
                           const PlottingPosition& plotting) {
  PreparedSeries series;
  series.Threshold = threshold;
  series.Plotting = plotting;

  // Values at or above the threshold are used; a value equal to it as well.
  const auto passes = [&](const textio::InputRow& row) { return row.value >= threshold; };
  const auto passing = std::count_if(rows.begin(), rows.end(), passes);
  series.Truncated = passing > kMaxValues;
  const int n = static_cast<int>(std::min<std::ptrdiff_t>(passing, kMaxValues));

  // The first 2500 passing values in file order.
  std::vector<double> values;
  std::vector<int> serials;
  values.reserve(static_cast<std::size_t>(n));
  serials.reserve(static_cast<std::size_t>(n));
  for (const textio::InputRow& row : rows) {
    if (static_cast<int>(values.size()) == n) break;
    if (!passes(row)) continue;
    values.push_back(row.value);
    serials.push_back(row.serial);
  }

  // Stable ascending sort; serials move with their values.
  std::vector<int> order(static_cast<std::size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return values[a] < values[b]; });
  series.N = n;
  series.Values.assign(static_cast<std::size_t>(n) + 1, 0.0);
  series.Serials.assign(static_cast<std::size_t>(n) + 1, 0);
  series.PlotFreq.assign(static_cast<std::size_t>(n) + 1, 0.0);
  series.DataValues.assign(static_cast<std::size_t>(n) + 1, 0.0);
  for (int i = 1; i <= n; ++i) {
    series.Values[i] = values[order[i - 1]];
    series.Serials[i] = serials[order[i - 1]];
    series.DataValues[i] = series.Values[i];
    series.PlotFreq[i] = PlottingFrequency(i, n, plotting.alpha);
  }

  // Every value must be positive for the logarithms and powers of the fits.
  double smallest = kMinimumStart;
  for (int i = 1; i <= n; ++i) smallest = std::min(smallest, series.Values[i]);
  if (smallest <= 0.0) {
    series.NegativeValues = smallest < 0.0;
    for (int i = 1; i <= n; ++i) series.Values[i] = series.Values[i] - smallest + kShiftOffset;
    series.Shift = smallest;
  }

  const bool fileHasNegative = std::any_of(
      rows.begin(), rows.end(), [](const textio::InputRow& row) { return row.value < 0.0; });
  series.NegativesLeftOut = threshold == 0.0 && fileHasNegative;
  return series;
}

}  // namespace quilmor::engine

namespace quilmor::engine {

std::string SpreadOutOfRangeText(const PreparedSeries& series) {
  const int n = series.N;
  if (n < 2 || static_cast<int>(series.Values.size()) <= n) return {};
  const double lowest = series.Values[1];
  const double highest = series.Values[static_cast<std::size_t>(n)];
  if (!(highest > lowest)) return {};  // no variation at all
  double sum = 0.0;
  for (int i = 1; i <= n; ++i) sum += series.Values[static_cast<std::size_t>(i)] / n;
  double sxx = 0.0;
  for (int i = 1; i <= n; ++i) {
    const double d = series.Values[static_cast<std::size_t>(i)] - sum;
    sxx += d * d;
  }
  if (!std::isfinite(sum) || !std::isfinite(sxx) || std::abs(highest) > 1e150 ||
      std::abs(lowest) > 1e150) {
    return "The values are too large to be analysed: their squares exceed the range of the "
           "numbers used (about 1E+0308). Scale them down (for example to thousands) and run "
           "again.";
  }
  if (sxx < std::numeric_limits<double>::min() * n || (highest - lowest) < 1e-150) {
    return "The values differ too little or are too small to be analysed: their squares are "
           "below the range of the numbers used (about 1E-0308). Scale them up and run again.";
  }
  return {};
}

}  // namespace quilmor::engine
