// The choice among the candidates of a best-of-all run: the single function
// with the smallest SSE, which a two-piece function replaces only when it
// fits clearly better and leaves more than five values on each side.
#pragma once

#include <array>
#include <vector>

#include "engine/analysis_state.hpp"

namespace quilmor::engine {

// A two-piece function must bring the SSE below 0.8 × that of the best single
// function: two lines always fit at least as well as one, so a small gain
// does not justify the extra parameters.
inline constexpr double kBreakPointFactor = 0.8;
// … and keep more than this many values on each side of the break.
inline constexpr int kMinValuesBesideBreak = 5;

struct Selection {
  int singleIndex = 0;     // index of the best single function
  int bestSingleCode = 0;  // its code
  // The last candidate with a line that became the best on the way: its line
  // is the one left in Slope and Intercept (−1 for none).
  int lineIndex = -1;
  int twoPieceIndex = -1;        // index of the two-piece function taken, −1 for none
  bool breakPointFound = false;  // a two-piece function was taken
  int code = 0;  // the result: the two-piece code only when the break point is allowed
};

// `candidates` in the order of the selection: the single functions (the
// first usable one is the starting best) followed by the two-piece codes
// 7..18. When no single function is usable, the result is code 0: no fit.
Selection SelectBestFit(const std::vector<Candidate>& candidates, int n, bool breakPointAllowed);

// A candidate can be chosen only when its fit exists: its SSE is below
// kNoFitSSE (no usable trial) and it and the parameters of its line or
// pieces are finite numbers. Overflow, the logarithm of 0 or a division by 0
// on the way (values near 1e308 or 1e-300) leave a candidate that is not;
// it loses to every other.
bool IsUsableCandidate(const Candidate& candidate);

// Codes whose fit is a line (Slope, Intercept) that the selection copies.
bool HasLine(int code);

// The single candidates are compared in the catalogue's selection order
// (SingleSelectionOrder); the first is the starting best, a later one must be
// strictly better.

}  // namespace quilmor::engine
