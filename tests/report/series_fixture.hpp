// Hand-filled report models for the report tests: a ranked series as the
// data preparation leaves it (shift applied to non-positive data, plotting
// positions i/(N+1)), to which each test adds the fitted parameters it wants.
#pragma once

#include <string>
#include <vector>

#include "report/report_model.hpp"
#include "textio/text_file.hpp"

namespace quilmor::report::testing {

// `ranked`: the data values in ascending order; `serials`: their running
// numbers (1, 2, 3 ... when empty).
inline void FillRanked(ReportModel& state, const std::vector<double>& ranked,
                       std::vector<int> serials = {}) {
  const int n = static_cast<int>(ranked.size());
  if (serials.empty()) {
    for (int i = 1; i <= n; ++i) serials.push_back(i);
  }
  state.N = n;
  state.NrOfData = n;
  const auto size = static_cast<std::size_t>(n) + 1;
  state.Values.assign(size, 0.0);
  state.Serials.assign(size, 0);
  state.PlotFreq.assign(size, 0.0);
  state.CalcFreq.assign(size, 0.0);
  double smallest = 1000000.0;
  for (double v : ranked) smallest = v < smallest ? v : smallest;
  state.Shift = smallest <= 0.0 ? smallest : 0.0;
  state.Fit.S = state.Shift;
  state.NegativeValues = smallest < 0.0;
  for (int i = 1; i <= n; ++i) {
    const double v = ranked[static_cast<std::size_t>(i - 1)];
    state.Values[i] = smallest <= 0.0 ? v - smallest + 0.0001 : v;
    state.Serials[i] = serials[static_cast<std::size_t>(i - 1)];
    state.PlotFreq[i] = static_cast<double>(i) / (n + 1);
  }
}

inline std::vector<std::string> Lines(const std::string& text) { return textio::SplitLines(text); }

// Lines first..last (0-based, inclusive) of `lines`.
inline std::vector<std::string> Slice(const std::vector<std::string>& lines, std::size_t first,
                                      std::size_t last) {
  if (first >= lines.size()) return {};
  if (last >= lines.size()) last = lines.size() - 1;
  return {lines.begin() + static_cast<std::ptrdiff_t>(first),
          lines.begin() + static_cast<std::ptrdiff_t>(last) + 1};
}

}  // namespace quilmor::report::testing
