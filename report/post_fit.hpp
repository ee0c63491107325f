// What follows the fit: the calculated frequency of every rank, and the
// per-rank and summary figures that the report prints (confidence limits of
// the frequencies, return periods and their limits, goodness measures).
//
// ComputeCalcFreq is a step of BuildReportModel on the model being built; the
// figure functions are pure: they read the model and return rows, so the
// report writer only formats them and tests can check them one by one.
#pragma once

#include <vector>

#include "report/report_model.hpp"

namespace quilmor::report {

// Fills CalcFreq[1..N] for model.Code from the model without the fit's caps:
// the rank-wise clamps (0.001 / 0.999, never decreasing) for the single and
// two-piece functions, Hastings with the recomputed mean for codes 21..24
// (Fit.M is replaced by the mean of T(X)), and code 25 keeps the frequencies
// of its fit. Sets BelowBoundWarning / AboveBoundWarning for codes 58 / 59
// when a value lies on the wrong side of the bound. A code outside the
// catalogue (0: none found) computes nothing. Values and parameters are in
// the scale of the fit.
void ComputeCalcFreq(ReportModel& model);

// Rows for ranks 1..N (element 0 is rank 1).
std::vector<ConfidenceRow> ConfidenceRows(const ReportModel& model);

// Rows for ranks 1..N (element 0 is rank 1).
std::vector<ReturnPeriodRow> ReturnPeriodRows(const ReportModel& model);

// Decimals of the return periods of one row from its frequency f and its
// upper frequency u: 2 when f < 0.5; 1 when f, u < 0.99; 0 otherwise.
int ReturnPeriodDecimals(double f, double u);

GoodnessMeasures ComputeGoodness(const ReportModel& model);

}  // namespace quilmor::report
