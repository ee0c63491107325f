// What every trial of every scan shares, computed once per fit: the ranked
// values X and plotting positions Fr (index 0 = rank 1), ln X, and Fr through
// each frequency transform.
//
// Equal values stand next to each other in rank order, and a resample holds
// many of them. A run is a stretch of ranks whose values are the same number
// (the same bits): whatever a trial computes from the value alone (a
// logarithm, a power, a calculated frequency) is the same at every rank of
// the run, so it is computed once per run. Sums over the ranks still take
// every rank, in rank order.
#pragma once

#include <array>
#include <vector>

#include "engine/analysis_state.hpp"
#include "engine/catalogue.hpp"

namespace quilmor::engine {

inline constexpr int kTransformCount = 8;

class ValueTables;

// The runs of equal values of x[0..n): run r holds ranks end[r - 1] ..
// end[r] - 1 (from 0 for r = 0), all of the value value[r]; rank i lies in
// run of[i].
struct ValueRuns {
  std::vector<int> end;
  std::vector<double> value;
  std::vector<int> of;
  int Count() const { return static_cast<int>(end.size()); }
  int Ranks() const { return static_cast<int>(of.size()); }
};
ValueRuns FindRuns(const double* x, int n);

// perRank[i] = perRun[r] for every rank i of run r: the per-rank form of
// what a trial computed per run.
inline void SpreadRuns(const double* perRun, const std::vector<int>& runEnd, double* perRank) {
  int i = 0;
  const int runs = static_cast<int>(runEnd.size());
  for (int r = 0; r < runs; ++r) {
    const double v = perRun[r];
    for (const int end = runEnd[r]; i < end; ++i) perRank[i] = v;
  }
}

struct FitData {
  int n = 0;
  std::vector<double> x;                                       // X_i, ascending
  std::vector<double> fr;                                      // Fr_i = i/(N+1)
  std::vector<double> lnX;                                     // ln X_i
  std::array<std::vector<double>, kTransformCount> ordinates;  // T(Fr_i) per transform
  ValueRuns runs;                                              // the runs of equal X
  std::vector<double> runLnX;                                  // ln X of each run
  // Σ T(Fr_i) in rank order per transform: the ΣY of every line fit on
  // these ranks, whatever its abscissae.
  std::array<double, kTransformCount> sumY{};

  // Tables of values shared by the fits of a bootstrap (value_tables.hpp),
  // and the index of each run's value in them; null and empty when the fit
  // has none, or holds a value that is not among them.
  const ValueTables* tables = nullptr;
  std::vector<int> tableIndex;

  // Copies ranks 1..N of the state and derives the rest.
  static FitData FromState(const AnalysisState& state, const ValueTables* tables = nullptr);

  bool HasTables() const { return tables != nullptr && !tableIndex.empty(); }

  // Only the fit's result counts (a bootstrap replicate), not the SSE of
  // every trial of a scan: where a scan keeps the first trial with the
  // smallest SSE and runs its trials in order, a trial may stop summing once
  // its partial SSE reaches the best of the trials before it. The sum only
  // grows, so such a trial could neither be chosen nor change which one is;
  // its SSE is left partial.
  bool partialTrials = false;

  const std::vector<double>& Y(Transform type) const { return ordinates[static_cast<int>(type)]; }
  double SumY(Transform type) const { return sumY[static_cast<int>(type)]; }
  int Runs() const { return static_cast<int>(runs.end.size()); }
};

}  // namespace quilmor::engine
