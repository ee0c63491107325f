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

// Single-function candidates in the order in which they are compared; the
// first is the starting best, a later one must be strictly better.
inline constexpr std::array<int, 20> kSingleSelectionOrder = {
    21, 22, 23, 24, 2, 3, 4, 5, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 62, 63};

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
// first is the starting best) followed by the two-piece codes 7..18.
Selection SelectBestFit(const std::vector<Candidate>& candidates, int n, bool breakPointAllowed);

// Codes whose fit is a line (Slope, Intercept) that the selection copies.
bool HasLine(int code);

}  // namespace quilmor::engine
