// Two-piece functions, codes 7..18. The values are split at a break P: ranks
// with X ≤ P follow the lower type with line (I_low, S_low), ranks with X > P
// the upper type with line (I_high, S_high), both on x′ = X:
//   Fc = F_low(I_low + S_low·X)  for X ≤ P,  F_high(I_high + S_high·X)  for X > P.
// The lower line is least squares; the upper line passes through the last
// lower point (with its lower-type ordinate) and the centroid of the upper
// points. P is tried at the 49 inner points of 50 equal steps over the range.
#pragma once

#include <vector>

#include "engine/analysis_state.hpp"
#include "engine/fit_data.hpp"
#include "engine/workers.hpp"

namespace quilmor::engine {

inline constexpr int kBreakSteps = 50;        // NrOfTrials: trials at steps 1..49
inline constexpr int kMinValuesPerPiece = 3;  // a trial needs this many on each side

// Trial breaks, index 1..49: a running value that starts at X_1 and grows by
// D = (X_N − X_1)/50 per trial.
std::vector<double> BreakGrid(double smallest, double largest);

// One trial of one code at break P.
struct PieceTrial {
  bool used = false;  // at least three values on each side
  int nBelow = 0;     // values not above P
  double sse = 0.0;   // SSE_low + SSE_high
  double slopeLow = 0.0, interceptLow = 0.0, slopeHigh = 0.0, interceptHigh = 0.0;
  double sxxLow = 0.0, meanYHigh = 0.0, meanXHigh = 0.0;  // by-products of the fits
};
PieceTrial TwoPieceTrial(int code, const FitData& data, double breakValue);

// Fits the two-piece codes (7..18) in code order; each candidate is its trial with the
// smallest SSE (the lower break on a tie) among those whose SSE and lines are
// finite, or SSE 1,000,000 when no trial had three values on each side (or a
// finite fit). Leaves NrOfTrials, TrialBreak and NBelow of the
// last trial and the by-products of the last fitted pair of lines in the state.
std::vector<Candidate> FitTwoPieceCodes(AnalysisState& state, const FitData& data,
                                        const Workers& workers);

}  // namespace quilmor::engine
