// Pareto, code 56:  Fc = 1 − (C/(X + C))^S.
// With x′ = ln(C/(X + C)) and y = ln(1 − Fr) this is the line y = S·x′ through
// the origin; S is taken from the line through the first point and the
// centroid, and the scale C is found by trying C = D, 2D, … 2000·D with a
// step D that follows the size of the largest value.
#pragma once

#include <vector>

#include "engine/analysis_state.hpp"
#include "engine/fit_data.hpp"
#include "engine/workers.hpp"

namespace quilmor::engine {

inline constexpr int kParetoTrials = 2000;

// Step D of the trial scales for the largest value in use (taken from 0 up).
double ParetoStep(double largestValue);

// Trial scales, index 1..2000: a running value that starts at 0 and grows by
// `step` per trial.
std::vector<double> ParetoGrid(double step);

// Scans C, fits the final line with the best C and leaves Code 56, Slope,
// Intercept = C, the by-products and ScanSSE in the state.
Candidate FitPareto(AnalysisState& state, const FitData& data, const Workers& workers);

}  // namespace quilmor::engine
