// Everything the results report prints, as values: the heading, the fitted
// function in the scale the report gives it, the summary statistics, the
// interval table, the table of observed and calculated frequencies with their
// limits, the goodness figures and the return periods. BuildReportModel
// makes one from a prepared series and its fit; the report writer, the
// inverse evaluation and the parameter file take it const.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/fit_series.hpp"
#include "engine/model.hpp"

namespace quilmor::report {

// Interval analysis: limits 1..K+2 with K <= 23.
inline constexpr int kClassArraySize = 26;

// One row of the interval table, in the data scale and in percent.
struct IntervalRow {
  double lower = 0.0;
  double upper = 0.0;
  double observed = 0.0;
  double calculated = 0.0;
};

// One row of the table of observed and calculated frequencies, in percent.
struct ConfidenceRow {
  double rank = 0.0;    // R = 100 Fr, at most 99.99
  double calc = 0.0;    // C = 100 Fc (R/2 when Fc <= 0), at most 99.99
  double stdDev = 0.0;  // Sd = 100 sqrt(f (1 - f) / N), f = C/100
  double lower = 0.0;   // L = C - 3.4 Sd f, never decreasing
  double upper = 0.0;   // U = C + 3.4 Sd (1 - f)
};

// One row of the table of return periods.
struct ReturnPeriodRow {
  double observed = 0.0;    // Tr = 1/(1 - Fr)
  double calculated = 0.0;  // Tc = 1/(1 - f), at most 3 x the previous row's
  double lower = 0.0;       // TL = 1/(1 - l)
  double upper = 0.0;       // TU = 1/(1 - u), above Tc
  int decimals = 2;         // decimals of the four periods of this row
};

struct GoodnessMeasures {
  double frequencyDifference = 0.0;     // 100 sum|Fc - Fr| / N, in percent
  double efficiency = 0.0;              // R = sqrt(1 - sum(Fc-Fr)^2 / sum(Fr-m)^2), or 0
  double returnPeriodDifference = 0.0;  // sum|1/(1-Fr) - 1/(1-min(Fc, 0.99999))| / N
};

// What the report's heading says of the run.
struct ReportSettings {
  std::string InputName;     // the input file; the report prints it with ".inp"
  std::string ReportTitle1;  // title lines without their leading blank
  std::string ReportTitle2;
  std::string Preference = "1";
  int NrOfClasses = 5;  // 2..23
};

// Per-rank arrays are indexed from 1 like the ranks they hold.
struct ReportModel {
  // --- Heading ----------------------------------------------------------------
  std::string InputName;
  std::string ReportTitle1;  // at most 72 characters
  std::string ReportTitle2;
  int NrOfData = 0;
  engine::PlottingPosition Plotting;  // a line of its own unless the default
  std::string Preference = "1";
  bool BreakPointAllowed = false;
  bool BreakPointFound = false;

  // --- The fitted function (its code is Fit.Code) ------------------------------------
  std::string DistributionName;  // the name the report gives the code
  // Once the model is built: the bound of 58/59 in the data scale; for the
  // Student forms A = B = 1 and M, D the average and standard deviation of
  // the summary statistics. During the build: as the fit left them.
  engine::Parameters Fit;
  double NormStdDev = 0.0;  // normal family: standard error of T(X)
  double FitStdDev = 0.0;   // Gumbel: the optimised standard error of X
  int BreakIndex = 0;
  bool BelowBoundWarning = false;
  bool AboveBoundWarning = false;

  // --- The series -------------------------------------------------------------------
  int N = 0;
  std::vector<double> Values;    // ascending; the data scale once built
  std::vector<int> Serials;      // running numbers
  std::vector<double> PlotFreq;  // i / (N + 1)
  std::vector<double> CalcFreq;  // the fitted function at each rank
  double Shift = 0.0;
  bool NegativeValues = false;

  // --- Summary statistics (data scale) ------------------------------------------------
  int DecimalsD = 0;  // D: from the largest value in the fitting scale
  double MeanX = 0.0;
  double MedianX = 0.0;
  double StdDevX = 0.0;

  // --- Interval analysis ------------------------------------------------------------
  int NrOfClasses = 0;
  std::array<double, kClassArraySize> ClassLimit{};  // 1..K+2, fitting scale
  std::array<double, kClassArraySize> ClassCount{};  // 1..K+1
  std::array<double, kClassArraySize> LimitFreq{};   // 1..K+1, at most 1 once built

  // --- The tables as printed ----------------------------------------------------------
  std::vector<IntervalRow> Intervals;          // K+2 rows
  std::vector<ConfidenceRow> Frequencies;      // ranks 1..N (element 0 is rank 1)
  std::vector<ReturnPeriodRow> ReturnPeriods;  // ranks 1..N (element 0 is rank 1)
  GoodnessMeasures Goodness;
};

// BuildReportModel: the fitted function's frequency at every rank, the
// interval analysis, and what the report writes of them, in the method's
// order: the calculated frequencies (from the fit's scale), the fit summary
// (the Student forms' A and B become 1), the interval analysis (values
// within 0.0001 of an inner class limit are moved onto it), the bound of
// 58/59 moved into the data scale, the summary statistics (mean and standard
// deviation of the ranked values, the values back in the data scale, the
// median), the interval table (class frequencies at most 1), the frequency
// and return-period tables and the goodness figures. A fit without a
// function of the catalogue (code 0) gives a model with the heading only.
ReportModel BuildReportModel(const engine::PreparedSeries& series, const engine::FitResult& fit,
                             const ReportSettings& settings);

// The steps of BuildReportModel after the calculated frequencies, on a model
// that holds the series and fit (MeanX and StdDevX: the fit's by-products,
// which stand when the values show no spread) and its CalcFreq.
void CompleteReportModel(ReportModel& model, int nrOfClasses);

}  // namespace quilmor::report
