#include "engine/fit_data.hpp"

#include <bit>
#include <cmath>
#include <cstdint>

#include "engine/value_tables.hpp"

namespace quilmor::engine {

ValueRuns FindRuns(const double* x, int n) {
  ValueRuns runs;
  for (int i = 0; i < n; ++i) {
    if (i > 0 && std::bit_cast<std::uint64_t>(x[i]) == std::bit_cast<std::uint64_t>(x[i - 1])) {
      runs.end.back() = i + 1;
    } else {
      runs.end.push_back(i + 1);
      runs.value.push_back(x[i]);
    }
    runs.of.push_back(runs.Count() - 1);
  }
  return runs;
}

FitData FitData::FromState(const AnalysisState& state, const ValueTables* tables) {
  FitData data;
  data.n = state.N;
  data.x.assign(state.Values.begin() + 1, state.Values.begin() + 1 + state.N);
  data.fr.assign(state.PlotFreq.begin() + 1, state.PlotFreq.begin() + 1 + state.N);
  data.runs = FindRuns(data.x.data(), data.n);
  if (tables != nullptr) {
    data.tableIndex = tables->Find(data.runs);
    if (!data.tableIndex.empty()) data.tables = tables;
  }
  // ln X once per run, spread to the ranks.
  data.runLnX.resize(data.runs.value.size());
  for (std::size_t r = 0; r < data.runLnX.size(); ++r)
    data.runLnX[r] = std::log(data.runs.value[r]);
  data.lnX.resize(data.n);
  SpreadRuns(data.runLnX.data(), data.runs.end, data.lnX.data());
  for (int t = 0; t < kTransformCount; ++t) {
    std::vector<double>& y = data.ordinates[t];
    y.resize(data.n);
    double sum = 0.0;
    for (int i = 0; i < data.n; ++i) {
      y[i] = Ordinate(static_cast<Transform>(t), data.fr[i]);
      sum += y[i];
    }
    data.sumY[t] = sum;
  }
  return data;
}

}  // namespace quilmor::engine
