// A bound scan compares the SSE of each trial with that of the trial before
// it, and nothing else of the trial is kept. Most comparisons are decided by
// far more than rounding: an estimate of the SSE with a proven margin of
// error settles them without the two exponentials per value that the exact
// SSE costs. Only where the margins overlap is the exact SSE computed, so the
// scan stops at the very trial the exact comparisons give. No estimate ever
// becomes a result.
#pragma once

#include "engine/fit_data.hpp"
#include "engine/workers.hpp"

namespace quilmor::engine {

// ExpEstimates gives e^x within this relative error of the exact value for
// every x in [−kExpEstimateRange, kExpEstimateRange]; the tests measure the
// error as a small fraction of it.
inline constexpr double kExpEstimateError = 1e-14;
inline constexpr double kExpEstimateRange = 700.0;

// The estimates are computed the same way in registers of several widths;
// Widest is the widest this processor has.
enum class EstimateForm { Widest, Avx512, Avx2, Plain };
bool RunsHere(EstimateForm form);

// out[i] ≈ e^x[i] for i < n; x[i] outside the range gives e^(±range).
void ExpEstimates(const double* x, double* out, int n, EstimateForm form = EstimateForm::Widest);

// The SSEs of the Frechet lines (I_k, S_k) of kEstimateLanes trials at once,
// each Σ (Fr_i − exp(−exp(I_k + S_k·x′)))² in rank order as LineSSETwoPass
// computes it, lie within `margin` of `value`. runXPrime[r·kEstimateLanes + k]
// is the abscissa of run r in trial k. A trial's estimate is not `usable`
// where no margin can be given (a Z out of range or not a number): then its
// exact SSE is needed.
inline constexpr int kEstimateLanes = 8;

struct SseEstimate {
  double value = 0.0;
  double margin = 0.0;
  bool usable = false;
};

// `scratch` holds kEstimateLanes × runs.Count() doubles.
void FrechetSseEstimates(const double* runXPrime, const ValueRuns& runs, const double* fr,
                         const double* intercepts, const double* slopes, double* scratch,
                         SseEstimate* estimates, EstimateForm form = EstimateForm::Widest);

// The SSE of a scan's trial: exact when `margin` is 0.
struct EstimatedSSE {
  double value = 0.0;
  double margin = 0.0;
};

// The scan of Workers::ScanWhileImproving on one worker, with each trial's
// SSE first estimated: `trial(j, exact)` gives trial j's SSE, estimated or
// exact, and exact when asked. A trial improves when its SSE is below the
// one before it; where the two margins overlap, or a value is not a number,
// both are taken exactly. The outcome is that of the scan on exact SSEs.
template <typename Trial>  // EstimatedSSE(int trial, bool exact)
Workers::ScanOutcome ScanWithEstimates(int maxTrials, double start, const Trial& trial) {
  EstimatedSSE before{start, 0.0};
  for (int j = 1; j <= maxTrials; ++j) {
    EstimatedSSE now = trial(j, false);
    bool improved = now.value + now.margin < before.value - before.margin;
    if (!improved && !(now.value - now.margin > before.value + before.margin)) {
      if (now.margin != 0.0) now = trial(j, true);
      if (before.margin != 0.0) before = trial(j - 1, true);
      improved = now.value < before.value;
    }
    if (!improved) return {j, j - 1};
    before = now;
  }
  return {maxTrials, maxTrials};
}

}  // namespace quilmor::engine
