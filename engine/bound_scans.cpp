#include "engine/bound_scans.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "engine/frequency_forms.hpp"
#include "engine/line_fit.hpp"
#include "engine/scan_choice.hpp"
#include "engine/sse_estimate.hpp"
#include "engine/value_tables.hpp"

namespace quilmor::engine {

namespace {

bool IsLowerBound(int code) { return CodeRow(code).bound == Bound::Lower; }

}  // namespace

double BoundTrial(int code, double smallest, double largest, int j) {
  const double step = kBoundStepFraction * (largest - smallest);
  return IsLowerBound(code) ? smallest - step * j : largest + step * j;
}

double BoundAbscissae(int code, const FitData& data, double bound, double* xPrime) {
  if (IsLowerBound(code)) {
    for (int i = 0; i < data.n; ++i) {
      if (data.x[i] - bound <= 0.0) bound = data.x[i] - kBoundGap;
      xPrime[i] = std::log(data.x[i] - bound);
    }
  } else {
    for (int i = 0; i < data.n; ++i) {
      if (bound - data.x[i] <= 0.0) bound = data.x[i] + kBoundGap;
      xPrime[i] = std::log(bound - data.x[i]);
    }
  }
  return bound;
}

double BoundAbscissae(int code, const ValueRuns& runs, double bound, double* runXPrime) {
  // Every rank of a run sees the bound its first rank leaves (a second test
  // of the same value against it moves it to the same place), so one test
  // and one logarithm per run give what the plain form gives at each rank.
  const int count = static_cast<int>(runs.value.size());
  const double* x = runs.value.data();
  if (IsLowerBound(code)) {
    for (int r = 0; r < count; ++r) {
      if (x[r] - bound <= 0.0) bound = x[r] - kBoundGap;
      runXPrime[r] = std::log(x[r] - bound);
    }
  } else {
    for (int r = 0; r < count; ++r) {
      if (bound - x[r] <= 0.0) bound = x[r] + kBoundGap;
      runXPrime[r] = std::log(bound - x[r]);
    }
  }
  return bound;
}

Candidate FitBoundCode(AnalysisState& state, const FitData& data, const Workers& workers,
                       int code) {
  state.Code = code;
  const int n = data.n;
  if (n < 2) return Candidate{code, kNoFitSSE};  // no range to step along
  const double* y = data.Y(Transform::Frechet).data();
  const double smallest = data.x[0];
  const double largest = data.x[n - 1];

  const ValueRuns& runs = data.runs;
  const int runCount = data.Runs();
  const BoundRows* rows =
      data.HasTables() ? data.tables->BoundScan(code, smallest, largest) : nullptr;
  const int* at = data.tableIndex.data();
  const double sumY = data.SumY(Transform::Frechet);
  // The abscissae of trial j into xPrime.
  auto abscissae = [&](int j, double* xPrime) {
    // A shared row holds the same logarithms where no value trips the guard.
    const double* row = rows != nullptr ? rows->Row(j) : nullptr;
    if (row != nullptr) {
      for (int r = 0; r < runCount; ++r) xPrime[r] = row[at[r]];
    } else {
      BoundAbscissae(code, runs, BoundTrial(code, smallest, largest, j), xPrime);
    }
  };
  // The exact SSE on a trial's abscissae and line, the frequencies into fc.
  auto exactSSE = [&](const double* xPrime, const LineStats& line, double* fc) {
    if (line.noSpread) return std::numeric_limits<double>::infinity();
    const double intercept = line.meanY - line.slope * line.meanX;
    return LineSSETwoPass<Transform::Frechet>(xPrime, runs, data.fr.data(), intercept, line.slope,
                                              fc);
  };
  auto trialSSE = [&](int j, double* xPrime, double* fc) {
    abscissae(j, xPrime);
    return exactSSE(xPrime, LeastSquaresLine(xPrime, runs, y, sumY), fc);
  };
  const int maxTrials = IsLowerBound(code) ? kLowerBoundTrials : kUpperBoundTrials;
  Workers::ScanOutcome scan;
  if (workers.Count() == 1) {
    // The trials in blocks, their lines fitted side by side and their SSEs
    // estimated where the estimates allow (sse_estimate.hpp), lane by lane;
    // a scan runs at most a block's worth beyond its stop.
    static_assert(kLineLanes == kEstimateLanes);
    constexpr int kBlock = kLineLanes;
    std::vector<double> byRun(static_cast<std::size_t>(kBlock * runCount));
    std::vector<double> scratch(byRun.size());
    std::array<LineStats, kBlock> lines;
    std::array<double, kBlock> intercepts{};
    std::array<double, kBlock> slopes{};
    std::array<SseEstimate, kBlock> estimates;
    std::array<EstimatedSSE, kBlock> block;
    int blockFirst = 0;
    auto estimateBlock = [&](int first) {
      for (int k = 0; k < kBlock; ++k) {
        const int j = std::min(first + k, maxTrials);
        const double* row = rows != nullptr ? rows->Row(j) : nullptr;
        if (row == nullptr) {
          abscissae(j, scratch.data());
          row = scratch.data();
          for (int r = 0; r < runCount; ++r) byRun[r * kBlock + k] = row[r];
        } else {
          for (int r = 0; r < runCount; ++r) byRun[r * kBlock + k] = row[at[r]];
        }
      }
      LeastSquaresLines(byRun.data(), runs, y, sumY, lines.data());
      for (int k = 0; k < kBlock; ++k) {
        intercepts[k] = lines[k].noSpread ? 0.0 : lines[k].meanY - lines[k].slope * lines[k].meanX;
        slopes[k] = lines[k].noSpread ? 0.0 : lines[k].slope;
      }
      FrechetSseEstimates(byRun.data(), runs, data.fr.data(), intercepts.data(), slopes.data(),
                          scratch.data(), estimates.data());
      for (int k = 0; k < kBlock; ++k) {
        if (!lines[k].noSpread && estimates[k].usable) {
          block[k] = {estimates[k].value, estimates[k].margin};
        } else {
          block[k] = {trialSSE(std::min(first + k, maxTrials), scratch.data(),
                               scratch.data() + runCount),
                      0.0};
        }
      }
      blockFirst = first;
    };
    scan = ScanWithEstimates(maxTrials, kNoFitSSE, [&](int j, bool exact) {
      if (exact) {
        return EstimatedSSE{trialSSE(j, scratch.data(), scratch.data() + runCount), 0.0};
      }
      if (blockFirst == 0 || j < blockFirst || j >= blockFirst + kLineLanes) estimateBlock(j);
      return block[j - blockFirst];
    });
  } else {
    std::vector<std::vector<double>> scratch(workers.Count(), std::vector<double>(2 * runCount));
    std::vector<double> sse;
    scan = workers.ScanWhileImproving(
        maxTrials, kNoFitSSE,
        [&](int j, int worker) {
          double* xPrime = scratch[worker].data();
          return trialSSE(j, xPrime, xPrime + runCount);
        },
        sse);
  }
  const int best = scan.lastBetter > 0 ? scan.lastBetter : 1;

  // Final fit with the best bound; the guard applies again.
  std::vector<double> xPrime(data.Runs());
  const double bound =
      BoundAbscissae(code, data.runs, BoundTrial(code, smallest, largest, best), xPrime.data());
  StoreLeastSquares(state, LeastSquaresLine(xPrime.data(), runs, y, sumY));
  state.Intercept = state.MeanY - state.Slope * state.MeanX;
  (IsLowerBound(code) ? state.LowerBoundC : state.UpperBoundC) = bound;
  state.ScanCounts.push_back({code, scan.trials});

  Candidate candidate;
  candidate.code = code;
  candidate.sse = LineSSE<Transform::Frechet>(xPrime.data(), runs, data.fr.data(), state.Intercept,
                                              state.Slope);
  candidate.slope = state.Slope;
  candidate.intercept = state.Intercept;
  return candidate;
}

}  // namespace quilmor::engine
