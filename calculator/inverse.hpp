// Inverse evaluation: the X-values at which the fitted function reaches the
// calculated cumulative frequency of each rank and its 90% confidence limits,
// and the report's section of them. The method evaluates the frequencies as
// the report prints them, and the parameters as its fit summary holds them
// (15 significant digits): both are rounded here exactly so, from the model.
#pragma once

#include <string>
#include <vector>

#include "report/report_model.hpp"

namespace quilmor::calculator {

// One row of the observed/calculated frequency table as printed: the ranked
// X-value (data scale), the serial number and five percentages.
struct FrequencyRow {
  double RowX = 0.0;
  int RowSerial = 0;
  double RowRank = 0.0;
  double RowCalc = 0.0;
  double RowStDev = 0.0;
  double RowLower = 0.0;
  double RowUpper = 0.0;
};

// The rows 1..N of the model's frequency table, each number rounded as the
// report prints it (rows[i - 1] is row i).
std::vector<FrequencyRow> PrintedFrequencyRows(const report::ReportModel& model);

// A number as the fit summary writes it, in E(23), and reads it back.
double AsWrittenInSummary(double value);

// The calculated X-values of one run and what the report prints of them.
struct XConfidence {
  std::vector<FrequencyRow> Rows;  // the frequency table as printed
  double Shift = 0.0;              // S as the fit summary holds it
  // Ranks 1..N (entry 0 unused).
  std::vector<double> CalcX;
  std::vector<double> LowerX;
  std::vector<double> UpperX;
  double TableMax = 0.0;
  double TableMin = 0.0;
  double Efficiency = 0.0;  // R of calculated and observed X-values, at most 0.99999
};

// Decimals of the X columns, from the largest ranked value in the data scale:
// 4 below 1, 3 below 10, 2 below 100, 1 below 500, otherwise 0.
int XDecimals(double largestValue);

// Initial CalcX, LowerX, UpperX of ranks 1..rows.size() from the printed
// calculated frequency, standard deviation and lower limit (as fractions), or
// 0.4 i/N, 0.2 i/N and i/N where the printed standard deviation is 0. They
// stay only for a code without an inverse.
void PrefillXArrays(XConfidence& x, const std::vector<FrequencyRow>& rows);

// TableMax and TableMin from the printed X-values less the shift S: the
// largest (at least 0) plus 5% of the range, and the smallest (at most
// 10,000,000).
void FindTableRange(XConfidence& x, const std::vector<FrequencyRow>& rows, double s);

// The X-values of x.Rows (the printed frequency table, x.Shift the summary's
// shift) for the fitted function of a built model: CalcX, LowerX and UpperX
// of ranks 1..N from the printed calculated frequency and its limits
// (clamped into the open interval 0..1), then the limits made non-decreasing;
// where the formula has no value the rank's value stands. Code 1 keeps the
// prefilled arrays.
void ComputeCalculatedXValues(XConfidence& x, const report::ReportModel& model);

// The inverse evaluation of a built model with a fitted function: CalcX,
// LowerX and UpperX for ranks 1..N from the printed calculated frequency and
// its limits (clamped into the open interval 0..1), the limits then made
// non-decreasing; where the formula has no value the rank's value stands.
// Then, as the report prints them: a negative LowerX becomes 0 when no data
// value is negative, an UpperX not above CalcX becomes 1.01 CalcX; and the
// efficiency R of the calculated against the observed values.
XConfidence ComputeXConfidence(const report::ReportModel& model);

// What the report prints of the calculated X-values: a negative LowerX
// becomes 0 when no data value is negative, an UpperX not above CalcX
// becomes 1.01 CalcX; and the efficiency R of the calculated against the
// observed values as printed (x.Rows, x.Shift).
void FinishXConfidence(XConfidence& x, const report::ReportModel& model);

// The section " Confidence limits of calculated X-values" for ranks 1..N with
// the efficiency coefficient R and the code line (CR LF lines).
std::string XConfidenceText(const report::ReportModel& model, const XConfidence& x);

}  // namespace quilmor::calculator
