// What every trial of every scan shares, computed once per fit: the ranked
// values X and plotting positions Fr (index 0 = rank 1), ln X, and Fr through
// each frequency transform.
#pragma once

#include <array>
#include <vector>

#include "engine/analysis_state.hpp"
#include "engine/catalogue.hpp"

namespace quilmor::engine {

inline constexpr int kTransformCount = 8;

struct FitData {
  int n = 0;
  std::vector<double> x;                                       // X_i, ascending
  std::vector<double> fr;                                      // Fr_i = i/(N+1)
  std::vector<double> lnX;                                     // ln X_i
  std::array<std::vector<double>, kTransformCount> ordinates;  // T(Fr_i) per transform

  // Copies ranks 1..N of the state and derives the rest.
  static FitData FromState(const AnalysisState& state);

  const std::vector<double>& Y(Transform type) const { return ordinates[static_cast<int>(type)]; }
};

}  // namespace quilmor::engine
