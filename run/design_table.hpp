// What an engineer takes from a run besides the report: the design-value
// table (the X-value of each return period or frequency with its limits) and
// the goodness of fit of every candidate, sorted by SSE. Both are computed
// in memory from the stages of one analysis.
#pragma once

#include <cmath>
#include <limits>
#include <vector>

#include "engine/fit_series.hpp"
#include "engine/goodness_of_fit.hpp"
#include "report/design_values.hpp"
#include "report/report_model.hpp"
#include "textio/csv_writer.hpp"

namespace quilmor::run {

inline constexpr double kNotComputed = std::numeric_limits<double>::quiet_NaN();

// The fitted function of a built model as the calculator holds it: the
// parameters its parameter file gives back (15 significant digits).
engine::Parameters CalculatorParameters(const report::ReportModel& model);

// The X-value of frequency F by the calculator's inverse (NaN where it has
// none).
double DesignValueOf(const engine::Parameters& calculator, double frequency);

// --- Goodness of fit ----------------------------------------------------------

// The measures of one fitted function (parameters in the fit's scale, as
// FitResult holds them) on the series it was fitted to. The SSE is the one
// given, the SSE that entered the choice; RMSE, AICc and BIC are of the
// function's own frequencies at the ranked values (kept within 0..1).
engine::GoodnessOfFit FunctionGoodness(const engine::PreparedSeries& series,
                                       const engine::Parameters& fit, double selectionSse);

struct CandidateGoodness {
  int code = 0;
  int parameters = 0;  // k
  engine::GoodnessOfFit measures;
  bool nearBest = false;  // SSE within 10 % of the smallest
  bool chosen = false;    // the function of the report
};

// Every candidate of a best-of-all fit, or the one preferred function, in
// ascending order of SSE (ties in the order of the selection).
std::vector<CandidateGoodness> RankCandidates(const engine::PreparedSeries& series,
                                              const engine::FitResult& fit);

// --- Design values ------------------------------------------------------------

struct DesignRow {
  double returnPeriod = 0.0;          // T
  double frequency = 0.0;             // F = 1 - 1/T
  double x = kNotComputed;            // X_T
  double methodLower = kNotComputed;  // the calculator's 90 % limits of X_T
  double methodUpper = kNotComputed;
  double chosenAnewLower = kNotComputed;  // bootstrap, the whole choice repeated
  double chosenAnewUpper = kNotComputed;
  double sameFunctionLower = kNotComputed;  // bootstrap, the chosen code refitted
  double sameFunctionUpper = kNotComputed;
  double bootstrapMedian = kNotComputed;  // of the replicates chosen anew
  double risk = kNotComputed;             // 1 - (1 - 1/T)^n over the design life
};

// The rows of `options` (the return periods, then the frequencies) for a
// built model with a fitted function. `calculatorN` is the number of data the
// calculator's limits are made with: the rows of the input file.
std::vector<DesignRow> DesignTable(const report::ReportModel& model, int calculatorN,
                                   const report::DesignOptions& options);

// --- The tables as text ---------------------------------------------------------

// How a number becomes a cell: textio::CsvNumber for files, a short form for
// the terminal. NaN gives the empty cell either way.
using CellText = std::string (*)(double);

// The design-value table with the columns T, F, X, method_lower,
// method_upper, chosen_anew_lower, chosen_anew_upper, same_function_lower,
// same_function_upper, bootstrap_median, risk.
textio::Table DesignValueTable(const std::vector<DesignRow>& rows, CellText cell);

// The candidates' table: code, name, k, sse, rmse, aicc, bic, ks_distance,
// anderson_darling, ppcc, near_best, chosen (the last two 1 or 0).
textio::Table CandidateTable(const std::vector<CandidateGoodness>& rows, CellText cell);

}  // namespace quilmor::run
