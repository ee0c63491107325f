// The choice rule shared by the scans: the trial with the smallest SSE, the
// earlier trial winning a tie.
#pragma once

#include <vector>

namespace quilmor::engine {

// Best SSE before any trial. A candidate that keeps it had no usable trial;
// it is larger than any SSE a fit can reach, so it never wins.
inline constexpr double kNoFitSSE = 1'000'000.0;

// The first k in 1..count with the smallest sse[k]: starting from kNoFitSSE,
// a trial replaces the best only when strictly smaller. When no trial gets
// below kNoFitSSE (or every SSE is not a number) the answer is trial 1.
inline int FirstMinimum(const std::vector<double>& sse, int count) {
  double best = kNoFitSSE;
  int chosen = 1;
  for (int k = 1; k <= count; ++k) {
    if (sse[k] < best) {
      best = sse[k];
      chosen = k;
    }
  }
  return chosen;
}

}  // namespace quilmor::engine
