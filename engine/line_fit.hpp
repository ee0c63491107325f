// Straight-line fits on the ranked values (abscissae Values[1..N]) and their
// plotting positions (ordinates PlotFreq[1..N]), and the goodness criterion.
//
// Each fit has two forms: one on the state's arrays, as the fitting steps of
// the method name them, and one on plain arrays (index 0 = rank 1) that the
// scans call with transformed pairs of their own.
#pragma once

#include <vector>

#include "engine/analysis_state.hpp"
#include "engine/fit_data.hpp"

namespace quilmor::engine {

// Least-squares slope over ranks 1..N; sets MeanY, MeanX, Sxx, StdDevX and
// Slope, or StopFlag (and only Sxx besides) when the abscissae have no spread.
void FitLine(AnalysisState& state);

// Least-squares line over ranks 1..NBelow (slope 0.001 without spread).
void FitLowerPiece(AnalysisState& state);

// Line through point NBelow and the centroid of ranks NBelow+1..N.
void FitUpperPiece(AnalysisState& state);

// Slope of the line through point 1 and the centroid of all points.
void FitThroughFirstPoint(AnalysisState& state);

// --- The same fits on plain arrays --------------------------------------

// By-products of one regression.
struct LineStats {
  double meanY = 0.0;
  double meanX = 0.0;
  double sxx = 0.0;
  double slope = 0.0;
  double intercept = 0.0;  // set by the piece fits only; FitLine leaves it to the caller
  double stdDevX = 0.0;
  bool noSpread = false;  // least squares only: no line (the other fields but sxx unset)
};

// Least squares of y on x over n points:
//   Sxx = Σx² − (Σx)²/n,  S = (Σxy − Σy·Σx/n) / Sxx,  StdDevX = √(Sxx/(n − 1)).
// No spread: Sxx ≤ 0, every x exactly equal (rounding can leave Sxx a little
// above 0 then), or sums that overflowed.
LineStats LeastSquaresLine(const double* x, const double* y, int n);

// The same fit with the abscissae given once per run of equal values
// (fit_data.hpp), runX[r] at every rank of run r, and sumY = Σy in rank
// order (the same for every trial on the same ordinates): bit for bit the
// plain form on the spread abscissae.
LineStats LeastSquaresLine(const double* runX, const ValueRuns& runs, const double* y, double sumY);

// The same fit for kLineLanes sets of abscissae at once, lane by lane bit for
// bit the form above: runX[r·kLineLanes + k] is the abscissa of run r in set
// k, and lines[k] gets the line of set k.
inline constexpr int kLineLanes = 8;
void LeastSquaresLines(const double* runX, const ValueRuns& runs, const double* y, double sumY,
                       LineStats* lines);

// Lower piece over n points: least squares, slope 0.001 when Sxx = 0.
LineStats LowerPieceLine(const double* x, const double* y, int n);

// Upper piece: the line through the anchor (the last point of the lower
// piece) and the centroid of points [first, first + m).
LineStats UpperPieceLine(const double* x, const double* y, int first, int m, double anchorX,
                         double anchorY);

// Slope through point 0 and the centroid of n points (Pareto).
LineStats FirstPointLine(const double* x, const double* y, int n);
// The same with the abscissae once per run of equal values, sumY as above.
LineStats FirstPointLine(const double* runX, const ValueRuns& runs, const double* y, double sumY);

// What FitLine leaves in the state for a least-squares line computed on other
// arrays: StopFlag and Sxx always; the means, slope and StdDevX only when
// there is a line (otherwise they keep their previous values).
void StoreLeastSquares(AnalysisState& state, const LineStats& line);

}  // namespace quilmor::engine
