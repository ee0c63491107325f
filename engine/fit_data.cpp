#include "engine/fit_data.hpp"

#include <cmath>

namespace quilmor::engine {

FitData FitData::FromState(const AnalysisState& state) {
  FitData data;
  data.n = state.N;
  data.x.assign(state.Values.begin() + 1, state.Values.begin() + 1 + state.N);
  data.fr.assign(state.PlotFreq.begin() + 1, state.PlotFreq.begin() + 1 + state.N);
  data.lnX.resize(data.n);
  for (int i = 0; i < data.n; ++i) data.lnX[i] = std::log(data.x[i]);
  for (int t = 0; t < kTransformCount; ++t) {
    std::vector<double>& y = data.ordinates[t];
    y.resize(data.n);
    for (int i = 0; i < data.n; ++i) y[i] = Ordinate(static_cast<Transform>(t), data.fr[i]);
  }
  return data;
}

}  // namespace quilmor::engine
