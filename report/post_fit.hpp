// What follows the fit: the calculated frequency of every rank, the fit
// summary file for the inverse evaluation, and the per-rank and summary
// figures that the report prints (confidence limits of the frequencies,
// return periods and their limits, goodness measures).
//
// The figure functions are pure: they read the state and return rows, so the
// report writer only formats them and tests can check them one by one.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/analysis_state.hpp"
#include "engine/catalogue.hpp"

namespace quilmor::report {

// The fitted function of `state` in the notation of the catalogue: A, B from
// Slope and Intercept (code 56: B is the scale C), E = ExpE of the exponent
// codes, C = the bound of 58/59, M/D = NormMean/NormSigma of the normal-family
// code or MeanX/StdDevX for the Student forms, and the two-piece lines.
engine::Parameters FittedParameters(const engine::AnalysisState& state);

// Fills CalcFreq[1..N] for state.Code from the model without the fit's caps:
// the rank-wise clamps (0.001 / 0.999, never decreasing) for the single and
// two-piece functions, Hastings with the recomputed mean for codes 21..24
// (NormMean[code] is replaced by the mean of T(X)), and code 25 keeps the
// frequencies of its fit. Sets BelowBoundWarning / AboveBoundWarning for
// codes 58 / 59 when a value lies on the wrong side of the bound. A code
// outside the catalogue (0: none found) computes nothing.
void ComputeCalcFreq(engine::AnalysisState& state);

// The fit summary "Temp.tmp" as text: N in I(4), Code in I(3), Shift in E(23),
// then A and B (codes below 6 or above 50) or NormMean and NormSigma (21..25)
// in E(23). For the Student forms (code above 61) Slope and Intercept are set
// to 1 first, which is why the state is not const.
std::string FitSummaryText(engine::AnalysisState& state);

// Writes FitSummaryText to scratchDir/"Temp.tmp". nullopt on success, else a
// message naming the file.
std::optional<std::string> WriteFitSummary(engine::AnalysisState& state,
                                           const std::filesystem::path& scratchDir);

// One row of the table of observed and calculated frequencies, in percent.
struct ConfidenceRow {
  double rank = 0.0;    // R = 100 Fr, at most 99.99
  double calc = 0.0;    // C = 100 Fc (R/2 when Fc <= 0), at most 99.99
  double stdDev = 0.0;  // Sd = 100 sqrt(f (1 - f) / N), f = C/100
  double lower = 0.0;   // L = C - 3.4 Sd f, never decreasing
  double upper = 0.0;   // U = C + 3.4 Sd (1 - f)
};

// Rows for ranks 1..N (element 0 is rank 1).
std::vector<ConfidenceRow> ConfidenceRows(const engine::AnalysisState& state);

// One row of the table of return periods.
struct ReturnPeriodRow {
  double observed = 0.0;    // Tr = 1/(1 - Fr)
  double calculated = 0.0;  // Tc = 1/(1 - f), at most 3 x the previous row's
  double lower = 0.0;       // TL = 1/(1 - l)
  double upper = 0.0;       // TU = 1/(1 - u), above Tc
  int decimals = 2;         // decimals of the four periods of this row
};

// Rows for ranks 1..N (element 0 is rank 1).
std::vector<ReturnPeriodRow> ReturnPeriodRows(const engine::AnalysisState& state);

// Decimals of the return periods of one row from its frequency f and its
// upper frequency u: 2 when f < 0.5; 1 when f, u < 0.99; 0 otherwise.
int ReturnPeriodDecimals(double f, double u);

struct GoodnessMeasures {
  double frequencyDifference = 0.0;     // 100 sum|Fc - Fr| / N, in percent
  double efficiency = 0.0;              // R = sqrt(1 - sum(Fc-Fr)^2 / sum(Fr-m)^2), or 0
  double returnPeriodDifference = 0.0;  // sum|1/(1-Fr) - 1/(1-min(Fc, 0.99999))| / N
};

GoodnessMeasures ComputeGoodness(const engine::AnalysisState& state);

}  // namespace quilmor::report
