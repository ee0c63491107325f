#include "engine/line_fit.hpp"

#include <cmath>
#include <cstddef>
#include <cstring>

namespace quilmor::engine {

namespace {

// The line from the sums of a least-squares fit over n points.
LineStats FinishLeastSquares(double sy, double sx, double sxx, double sxy, bool allEqual, int n) {
  LineStats line;
  const double nn = n;
  line.sxx = sxx - sx * sx / nn;
  if (n < 1 || allEqual || !(line.sxx > 0.0) || !std::isfinite(line.sxx)) {
    line.noSpread = true;
    return line;
  }
  line.meanY = sy / nn;
  line.meanX = sx / nn;
  line.slope = (sxy - sy * sx / nn) / line.sxx;
  line.stdDevX = std::sqrt(line.sxx / (nn - 1.0));
  return line;
}

}  // namespace

LineStats LeastSquaresLine(const double* x, const double* y, int n) {
  double sy = 0.0, sx = 0.0, sxx = 0.0, sxy = 0.0;
  bool allEqual = true;
  for (int i = 0; i < n; ++i) {
    sy += y[i];
    sx += x[i];
    sxx += x[i] * x[i];
    sxy += x[i] * y[i];
    allEqual = allEqual && x[i] == x[0];
  }
  return FinishLeastSquares(sy, sx, sxx, sxy, allEqual, n);
}

LineStats LeastSquaresLine(const double* runX, const ValueRuns& runs, const double* y,
                           double sumY) {
  double sx = 0.0, sxx = 0.0, sxy = 0.0;
  const int n = runs.Ranks();
  const int* of = runs.of.data();
  // Every rank adds its terms, in rank order, as the plain form does.
  for (int i = 0; i < n; ++i) {
    const double x = runX[of[i]];
    sx += x;
    sxx += x * x;
    sxy += x * y[i];
  }
  // All ranks equal the first exactly when all runs do; the first run that
  // does not settles it.
  bool allEqual = true;
  for (int r = 0, count = runs.Count(); r < count && allEqual; ++r) allEqual = runX[r] == runX[0];
  return FinishLeastSquares(sumY, sx, sxx, sxy, allEqual, n);
}

namespace {

// Lanes of doubles; each lane adds and multiplies as a double alone does.
using LineLanes = double __attribute__((vector_size(8 * kLineLanes)));

[[gnu::always_inline]] inline void SumLanes(const double* runX, const ValueRuns& runs,
                                            const double* y, LineLanes& sx, LineLanes& sxx,
                                            LineLanes& sxy) {
  sx = LineLanes{};
  sxx = LineLanes{};
  sxy = LineLanes{};
  const int n = runs.Ranks();
  const int* of = runs.of.data();
  for (int i = 0; i < n; ++i) {
    LineLanes x;
    std::memcpy(&x, runX + static_cast<std::ptrdiff_t>(of[i]) * kLineLanes, sizeof x);
    sx += x;
    sxx += x * x;
    sxy += x * y[i];
  }
}

#if defined(__GNUC__) && defined(__x86_64__)
[[gnu::target("avx2")]] void SumLanesAvx2(const double* runX, const ValueRuns& runs,
                                          const double* y, LineLanes& sx, LineLanes& sxx,
                                          LineLanes& sxy) {
  SumLanes(runX, runs, y, sx, sxx, sxy);
}
#endif

void SumLanesPlain(const double* runX, const ValueRuns& runs, const double* y, LineLanes& sx,
                   LineLanes& sxx, LineLanes& sxy) {
  SumLanes(runX, runs, y, sx, sxx, sxy);
}

}  // namespace

void LeastSquaresLines(const double* runX, const ValueRuns& runs, const double* y, double sumY,
                       LineStats* lines) {
  LineLanes sx, sxx, sxy;
#if defined(__GNUC__) && defined(__x86_64__)
  if (__builtin_cpu_supports("avx2")) {
    SumLanesAvx2(runX, runs, y, sx, sxx, sxy);
  } else {
    SumLanesPlain(runX, runs, y, sx, sxx, sxy);
  }
#else
  SumLanesPlain(runX, runs, y, sx, sxx, sxy);
#endif
  double laneX[kLineLanes], laneXX[kLineLanes], laneXY[kLineLanes];
  std::memcpy(laneX, &sx, sizeof laneX);
  std::memcpy(laneXX, &sxx, sizeof laneXX);
  std::memcpy(laneXY, &sxy, sizeof laneXY);
  const int count = runs.Count();
  for (int k = 0; k < kLineLanes; ++k) {
    bool allEqual = true;
    for (int r = 0; r < count && allEqual; ++r) {
      allEqual = runX[r * kLineLanes + k] == runX[k];
    }
    lines[k] = FinishLeastSquares(sumY, laneX[k], laneXX[k], laneXY[k], allEqual, runs.Ranks());
  }
}

LineStats LowerPieceLine(const double* x, const double* y, int n) {
  LineStats line;
  double sy = 0.0, sx = 0.0, sxx = 0.0, sxy = 0.0;
  for (int i = 0; i < n; ++i) {
    sy += y[i];
    sx += x[i];
    sxx += x[i] * x[i];
    sxy += x[i] * y[i];
  }
  const double nn = n;
  line.meanY = sy / nn;
  line.meanX = sx / nn;
  line.sxx = sxx - sx * sx / nn;
  // Without spread the lower piece still gets a (nearly flat) line.
  constexpr double kFlatSlope = 0.001;
  line.slope = line.sxx != 0.0 ? (sxy - sy * sx / nn) / line.sxx : kFlatSlope;
  line.intercept = line.meanY - line.slope * line.meanX;
  return line;
}

LineStats UpperPieceLine(const double* x, const double* y, int first, int m, double anchorX,
                         double anchorY) {
  LineStats line;
  double sy = 0.0, sx = 0.0;
  for (int i = first; i < first + m; ++i) {
    sy += y[i];
    sx += x[i];
  }
  const double mm = m;
  line.meanY = sy / mm;
  line.meanX = sx / mm;
  // Not least squares: the line passes through the last point of the lower
  // piece and the centroid of the upper points.
  line.slope = (line.meanY - anchorY) / (line.meanX - anchorX);
  line.intercept = line.meanY - line.slope * line.meanX;
  return line;
}

LineStats FirstPointLine(const double* x, const double* y, int n) {
  LineStats line;
  double sy = 0.0, sx = 0.0;
  for (int i = 0; i < n; ++i) {
    sy += y[i];
    sx += x[i];
  }
  const double nn = n;
  line.meanY = sy / nn;
  line.meanX = sx / nn;
  line.slope = (line.meanY - y[0]) / (line.meanX - x[0]);
  return line;
}

LineStats FirstPointLine(const double* runX, const ValueRuns& runs, const double* y, double sumY) {
  LineStats line;
  double sx = 0.0;
  const int n = runs.Ranks();
  const int* of = runs.of.data();
  for (int i = 0; i < n; ++i) sx += runX[of[i]];
  const double nn = n;
  line.meanY = sumY / nn;
  line.meanX = sx / nn;
  line.slope = (line.meanY - y[0]) / (line.meanX - runX[0]);
  return line;
}

namespace {

// Ranks in use must fit the arrays; anything else is a caller's bug, answered
// with "no line" rather than a read outside the arrays.
bool RanksFit(const AnalysisState& state, int n) {
  return n >= 1 && n < static_cast<int>(state.Values.size()) &&
         n < static_cast<int>(state.PlotFreq.size());
}

}  // namespace

void FitLine(AnalysisState& state) {
  state.StopFlag = false;
  if (!RanksFit(state, state.N)) {
    state.StopFlag = true;
    return;
  }
  StoreLeastSquares(state, LeastSquaresLine(&state.Values[1], &state.PlotFreq[1], state.N));
}

void StoreLeastSquares(AnalysisState& state, const LineStats& line) {
  state.StopFlag = line.noSpread;
  state.Sxx = line.sxx;
  if (line.noSpread) return;
  state.MeanY = line.meanY;
  state.MeanX = line.meanX;
  state.Slope = line.slope;
  state.StdDevX = line.stdDevX;
}

void FitLowerPiece(AnalysisState& state) {
  if (!RanksFit(state, state.N) || state.NBelow < 1 || state.NBelow > state.N) return;
  const LineStats line = LowerPieceLine(&state.Values[1], &state.PlotFreq[1], state.NBelow);
  state.MeanY = line.meanY;
  state.MeanX = line.meanX;
  state.Sxx = line.sxx;
  state.Slope = line.slope;
  state.Intercept = line.intercept;
}

void FitUpperPiece(AnalysisState& state) {
  if (!RanksFit(state, state.N) || state.NBelow < 1 || state.NBelow >= state.N) return;
  // Index 0 of the plain arrays is rank 1, so rank NBelow+1 is index NBelow.
  const LineStats line =
      UpperPieceLine(&state.Values[1], &state.PlotFreq[1], state.NBelow, state.N - state.NBelow,
                     state.Values[state.NBelow], state.PlotFreq[state.NBelow]);
  state.MeanY = line.meanY;
  state.MeanX = line.meanX;
  state.Slope = line.slope;
  state.Intercept = line.intercept;
}

void FitThroughFirstPoint(AnalysisState& state) {
  if (!RanksFit(state, state.N)) return;
  const LineStats line = FirstPointLine(&state.Values[1], &state.PlotFreq[1], state.N);
  state.MeanY = line.meanY;
  state.MeanX = line.meanX;
  state.Slope = line.slope;
}

}  // namespace quilmor::engine
