// Small helpers shared by the engine tests.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/analysis_state.hpp"
#include "engine/fit_series.hpp"
#include "scripted_interaction.hpp"

namespace quilmor::engine::testing {

// A state as preparation leaves it: `values` (ascending) at ranks 1..N and
// plotting positions i/(N+1).
inline AnalysisState PreparedState(const std::vector<double>& values) {
  AnalysisState state;
  state.N = static_cast<int>(values.size());
  state.NrOfData = state.N;
  for (int i = 1; i <= state.N; ++i) {
    state.Values[i] = values[i - 1];
    state.PlotFreq[i] = static_cast<double>(i) / (state.N + 1);
  }
  return state;
}

// A prepared series of `ascending` values at ranks 1..N, plotting positions
// i/(N+1), serial numbers 1..N.
inline PreparedSeries PreparedSeriesOf(const std::vector<double>& ascending) {
  PreparedSeries series;
  series.N = static_cast<int>(ascending.size());
  series.Values.assign(ascending.size() + 1, 0.0);
  series.Serials.assign(ascending.size() + 1, 0);
  series.PlotFreq.assign(ascending.size() + 1, 0.0);
  for (int i = 1; i <= series.N; ++i) {
    series.Values[i] = ascending[i - 1];
    series.Serials[i] = i;
    series.PlotFreq[i] = static_cast<double>(i) / (series.N + 1);
  }
  series.DataValues = series.Values;
  return series;
}

// Fit options whose progress lines go to the scripted interaction.
inline FitOptions NoticesTo(::quilmor::testing::ScriptedInteraction& ui, int threads = 0) {
  FitOptions options;
  options.threads = threads;
  options.notice = [&ui](const std::string& line) { ui.AppendProgress(line); };
  return options;
}

// Plotting positions i/(n+1), index 0 = rank 1.
inline std::vector<double> PlotPositions(int n) {
  std::vector<double> fr(n);
  for (int i = 1; i <= n; ++i) fr[i - 1] = static_cast<double>(i) / (n + 1);
  return fr;
}

// Bitwise equality of doubles: NaN equals NaN, 0 differs from -0.
inline bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

#define EXPECT_SAME_BITS(a, b) EXPECT_PRED2(::quilmor::engine::testing::SameBits, a, b)

}  // namespace quilmor::engine::testing
