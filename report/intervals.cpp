#include "report/intervals.hpp"

#include <cassert>
#include <cmath>

#include "engine/catalogue.hpp"
#include "report/post_fit.hpp"
#include "textio/number_parse.hpp"

namespace quilmor::report {

using engine::AnalysisState;

namespace {

// The outer limits are widened so the smallest and largest value fall inside.
constexpr double kLowerWidening = 0.0001;
constexpr double kUpperWidening = 0.0002;
// A value this close to an inner limit is moved onto it.
constexpr double kSnapDistance = 0.0001;
// Codes 58/59 use this in place of a non-positive bounded quantity here.
constexpr double kLimitBoundFloor = 0.001;
// Conversion of a limit back to the data scale: L + Shift - 0.0001.
constexpr double kShiftOffset = 0.0001;

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<int> ParseNrOfIntervals(std::string_view text) {
  const auto value = textio::ParseInt(Trim(text));
  if (!value || *value < kMinClasses || *value > kMaxClasses) return std::nullopt;
  return value;
}

std::string NrOfIntervalsMessage(std::string_view text) {
  return "The number of intervals must be a whole number from 2 to 23, not \"" + std::string(text) +
         "\".";
}

void AnalyseIntervals(AnalysisState& state, int nrOfClasses) {
  assert(nrOfClasses >= kMinClasses && nrOfClasses <= kMaxClasses);
  assert(state.N >= 1 && state.N <= engine::kMaxValues);
  const int k = nrOfClasses;
  const int n = state.N;
  auto& limit = state.ClassLimit;
  auto& count = state.ClassCount;
  auto& x = state.Values;
  state.NrOfClasses = k;

  const double width = (x[n] - x[1]) / k;
  limit[1] = x[1];
  for (int j = 1; j <= k + 1; ++j) {
    limit[j + 1] = limit[j] + width;
    count[j] = 0.0;
  }
  limit[1] -= kLowerWidening;
  limit[k + 1] += kUpperWidening;

  // Class j is [L(j), L(j+1)); a value on an inner limit counts above it.
  for (int j = 1; j <= k; ++j) {
    for (int i = 1; i <= n; ++i) {
      if (std::fabs(x[i] - limit[j + 1]) < kSnapDistance) x[i] = limit[j + 1];
      if (limit[j] <= x[i] && x[i] < limit[j + 1]) count[j] += 1.0;
    }
  }

  const int code = state.Code;
  if (!engine::IsCatalogueCode(code)) {
    for (int j = 1; j <= k + 1; ++j) state.LimitFreq[j] = 0.0;
    return;
  }
  const engine::Parameters p = FittedParameters(state);
  engine::FreqContext context;
  context.boundFloor = kLimitBoundFloor;
  for (int j = 1; j <= k + 1; ++j) {
    const double at = limit[j];
    context.upperPiece = at > state.BreakValue;
    state.LimitFreq[j] = engine::ModelFreq(p, at, context);
  }
}

std::vector<IntervalRow> IntervalRows(const AnalysisState& state) {
  const int k = state.NrOfClasses;
  const int n = state.N;
  assert(k >= kMinClasses && k <= kMaxClasses);
  std::vector<IntervalRow> rows;
  rows.reserve(static_cast<std::size_t>(k + 2));

  // Limits and frequencies, 1-based like the state's arrays.
  double limit[engine::kClassArraySize] = {};
  for (int j = 1; j <= k + 1; ++j) limit[j] = state.ClassLimit[j] + state.Shift - kShiftOffset;
  auto limitedFreq = [&](int j) { return state.LimitFreq[j] > 1.0 ? 1.0 : state.LimitFreq[j]; };

  // Below the first class: half a class width wide.
  double carried = 0.0;
  IntervalRow first;
  first.lower = limit[1] - 0.5 * (limit[2] - limit[1]);
  first.upper = limit[1];
  first.observed = 0.0;
  first.calculated = 100.0 * state.LimitFreq[1];
  if (first.calculated < 0.0) {
    carried = first.calculated;
    first.calculated = 0.0;
  }
  rows.push_back(first);

  double counted = 0.0;
  for (int j = 1; j <= k; ++j) {
    IntervalRow row;
    row.lower = limit[j];
    row.upper = limit[j + 1];
    row.observed = 100.0 * state.ClassCount[j] / n;
    counted += state.ClassCount[j];
    row.calculated = 100.0 * (limitedFreq(j + 1) - limitedFreq(j));
    if (carried < 0.0) {
      row.calculated += carried;
      carried = 0.0;
    }
    rows.push_back(row);
  }

  // Above the last class: one and a half class widths wide.
  IntervalRow last;
  last.lower = limit[k + 1];
  last.upper = limit[k + 1] + 1.5 * (limit[k] - limit[k - 1]);
  last.observed = 100.0 * (n - counted) / n;
  last.calculated = 100.0 * (1.0 - limitedFreq(k + 1));
  if (last.calculated < 0.0) last.calculated = 0.0;
  rows.push_back(last);
  return rows;
}

}  // namespace quilmor::report
