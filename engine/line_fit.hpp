// Straight-line fits on the ranked values (abscissae Values[1..N]) and their
// plotting positions (ordinates PlotFreq[1..N]), and the goodness criterion.
#pragma once

#include "engine/analysis_state.hpp"

namespace quilmor::engine {

// Least-squares slope over ranks 1..N; sets MeanY, MeanX, Sxx, StdDevX and
// Slope, or StopFlag (and nothing else) when the abscissae have no spread.
void FitLine(AnalysisState& state);

// Least-squares line over ranks 1..NBelow (slope 0.001 without spread).
void FitLowerPiece(AnalysisState& state);

// Line through point NBelow and the centroid of ranks NBelow+1..N.
void FitUpperPiece(AnalysisState& state);

// Slope of the line through point 1 and the centroid of all points.
void FitThroughFirstPoint(AnalysisState& state);

}  // namespace quilmor::engine
