// The Frechet forms with a bound C, fitted on y = ln(−ln Fr):
//   58  Fc = exp(−((X − C)/K)^S), K = exp(−I/S), line on x′ = ln(X − C), C below the data
//   59  Fc = exp(−((C − X)/K)^S), K = exp(−I/S), line on x′ = ln(C − X), C above the data
// Fc is evaluated from the line, Z = I + S·x′, W = exp(Z), Fc = exp(−W), with
// no clamp. Trial j moves C away from the data by j·1 % of the range R:
// C_j = X_1 − (0.01·R)·j or X_N + (0.01·R)·j. The scan stops at the first
// trial that does not improve. On one worker the comparisons are settled by
// estimates of the SSEs wherever their margins allow (sse_estimate.hpp): the
// scan stops at the same trial.
#pragma once

#include "engine/analysis_state.hpp"
#include "engine/fit_data.hpp"
#include "engine/workers.hpp"

namespace quilmor::engine {

inline constexpr int kLowerBoundTrials = 10000;   // code 58
inline constexpr int kUpperBoundTrials = 100000;  // code 59
inline constexpr double kBoundStepFraction = 0.01;
// When X − C (or C − X) is not positive, C is moved to 0.001 beyond X.
inline constexpr double kBoundGap = 0.001;

// C_j of code 58 or 59 for values ranging from `smallest` to `largest`.
double BoundTrial(int code, double smallest, double largest, int j);

// x′_i = ln(X_i − C) (58) or ln(C − X_i) (59), ranks in order; a point on the
// wrong side of C moves C to X_i ∓ 0.001 for it and the points after it.
// Returns C as it stands after the last point.
double BoundAbscissae(int code, const FitData& data, double bound, double* xPrime);

// The same abscissae once per run of equal values, runXPrime[r] for run r
// (bit for bit what every rank of the run gets from the plain form), and the
// same bound after the last point.
double BoundAbscissae(int code, const ValueRuns& runs, double bound, double* runXPrime);

// Scans the bound, fits the final line and leaves Code, Slope, Intercept, the
// by-products and LowerBoundC (58) or UpperBoundC (59) in the state.
Candidate FitBoundCode(AnalysisState& state, const FitData& data, const Workers& workers, int code);

}  // namespace quilmor::engine
