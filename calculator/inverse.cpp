#include "calculator/inverse.hpp"

#include <algorithm>

#include <cmath>

#include "engine/catalogue.hpp"
#include "textio/number_format.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::calculator {

namespace {

// A number as printed with `decimals` in the report, read back.
double AsPrinted(double value, int decimals) {
  const auto printed = textio::ParseReal(textio::FormatF(value, 0, decimals));
  return printed ? *printed : value;
}

const std::string kDashLine = " " + std::string(58, '-');

}  // namespace

int XDecimals(double largestValue) {
  if (largestValue < 1.0) return 4;
  if (largestValue < 10.0) return 3;
  if (largestValue < 100.0) return 2;
  if (largestValue < 500.0) return 1;
  return 0;
}

std::vector<FrequencyRow> PrintedFrequencyRows(const report::ReportModel& model) {
  const int n = model.N;
  // The X-value and the first two percentages have the decimals of the X
  // columns, the standard deviation 2 and the limits 1.
  const int dx = XDecimals(model.Values[static_cast<std::size_t>(n)]);
  std::vector<FrequencyRow> rows;
  rows.reserve(static_cast<std::size_t>(n));
  for (int i = 1; i <= n; ++i) {
    const report::ConfidenceRow& printed = model.Frequencies[static_cast<std::size_t>(i - 1)];
    FrequencyRow row;
    row.RowX = AsPrinted(model.Values[static_cast<std::size_t>(i)], dx);
    row.RowSerial = model.Serials[static_cast<std::size_t>(i)];
    row.RowRank = AsPrinted(printed.rank, dx);
    row.RowCalc = AsPrinted(printed.calc, dx);
    row.RowStDev = AsPrinted(printed.stdDev, 2);
    row.RowLower = AsPrinted(printed.lower, 1);
    row.RowUpper = AsPrinted(printed.upper, 1);
    rows.push_back(row);
  }
  return rows;
}

double AsWrittenInSummary(double value) {
  // E(23) puts a blank where a positive number has no sign.
  const std::string text = textio::FormatE23(value);
  const std::size_t first = text.find_first_not_of(' ');
  const auto written =
      textio::ParseReal(std::string_view(text).substr(first == std::string::npos ? 0 : first));
  return written ? *written : value;
}

void PrefillXArrays(XConfidence& x, const std::vector<FrequencyRow>& rows) {
  const double n = static_cast<double>(rows.size());
  for (std::size_t k = 1; k <= rows.size(); ++k) {
    const FrequencyRow& row = rows[k - 1];
    const double i = static_cast<double>(k);
    x.LowerX[k] = row.RowStDev / 100.0;
    if (x.LowerX[k] > 0.0) {
      x.CalcX[k] = row.RowCalc / 100.0;
      x.UpperX[k] = row.RowLower / 100.0;
    } else {
      x.LowerX[k] = 0.2 * i / n;
      x.CalcX[k] = 0.4 * i / n;
      x.UpperX[k] = i / n;
    }
  }
}

void FindTableRange(XConfidence& x, const std::vector<FrequencyRow>& rows, double s) {
  x.TableMax = 0.0;
  x.TableMin = 10000000.0;
  for (const FrequencyRow& row : rows) {
    const double value = row.RowX - s;
    if (value > x.TableMax) x.TableMax = value;
    if (value < x.TableMin) x.TableMin = value;
  }
  x.TableMax = x.TableMax + 0.05 * (x.TableMax - x.TableMin);
}

namespace {

// The parameters of the inverse: the line, the shift and the normal family's
// mean and sigma as the fit summary holds them; the rest as the model does.
engine::Parameters InverseParameters(const report::ReportModel& model) {
  engine::Parameters p = model.Fit;
  const engine::CodeInfo& row = engine::CodeRow(model.Fit.Code);
  p.S = AsWrittenInSummary(model.Shift);
  if (row.parameterFile.line) {
    p.A = AsWrittenInSummary(p.A);
    p.B = AsWrittenInSummary(p.B);
  }
  if (row.parameterFile.normal) {
    p.M = AsWrittenInSummary(p.M);
    p.D = AsWrittenInSummary(p.D);
  }
  // A slope this close to 0 is held off it.
  if (std::fabs(p.A) < 1e-13) p.A = 1e-13;
  return p;
}

// Code 1 is named but never fitted: it has no inverse.
bool HasInverse(int code) {
  return engine::IsCatalogueCode(code) && engine::CodeRow(code).fit != engine::FitMethod::None;
}

}  // namespace

void ComputeCalculatedXValues(XConfidence& x, const report::ReportModel& model) {
  const int n = model.N;
  const auto size = static_cast<std::size_t>(n) + 1;
  x.CalcX.assign(size, 0.0);
  x.LowerX.assign(size, 0.0);
  x.UpperX.assign(size, 0.0);
  PrefillXArrays(x, x.Rows);
  FindTableRange(x, x.Rows, x.Shift);

  if (HasInverse(model.Fit.Code)) {
    const engine::Parameters p = InverseParameters(model);
    engine::HastingsCache calcCache, lowerCache, upperCache;
    for (int i = 1; i <= n; ++i) {
      const FrequencyRow& row = x.Rows[static_cast<std::size_t>(i - 1)];
      double fc = row.RowCalc / 100.0;
      double fl = row.RowLower / 100.0;
      double fu = row.RowUpper / 100.0;
      // Into the open interval; the clamps at 0 are 1 minus those at 1.
      if (fc >= 1.0) fc = 0.9998;
      if (fl >= 1.0) fl = 0.9997;
      if (fu >= 1.0) fu = 0.9999;
      if (fc <= 0.0) fc = 0.0002;
      if (fl <= 0.0) fl = 0.0003;
      if (fu <= 0.0) fu = 0.0001;
      const auto k = static_cast<std::size_t>(i);
      // Where the formula has no value, the value of rank i stands.
      engine::InverseContext context;
      context.fallback = engine::Fallback::RankValue;
      context.rankValue = model.Values[k];
      context.lowerEnd = x.TableMin;
      context.upperPiece = i > model.BreakIndex;
      context.cache = &calcCache;
      x.CalcX[k] = engine::ModelInverse(p, fc, context);
      context.lowerLimit = true;
      context.cache = &lowerCache;
      x.LowerX[k] = engine::ModelInverse(p, fl, context);
      context.lowerLimit = false;
      context.cache = &upperCache;
      x.UpperX[k] = engine::ModelInverse(p, fu, context);
    }
  }
  // The limits never decrease with the rank; the calculated values may.
  for (std::size_t k = 2; k < size; ++k) {
    if (x.UpperX[k] < x.UpperX[k - 1]) x.UpperX[k] = x.UpperX[k - 1];
    if (x.LowerX[k] < x.LowerX[k - 1]) x.LowerX[k] = x.LowerX[k - 1];
  }
}

XConfidence ComputeXConfidence(const report::ReportModel& model) {
  XConfidence x;
  x.Rows = PrintedFrequencyRows(model);
  x.Shift = AsWrittenInSummary(model.Shift);
  ComputeCalculatedXValues(x, model);
  FinishXConfidence(x, model);
  return x;
}

void FinishXConfidence(XConfidence& x, const report::ReportModel& model) {
  const auto size = static_cast<std::size_t>(model.N) + 1;
  const int n = model.N;

  // The observed value of row i as printed: the row's X less S, plus S.
  auto observed = [&](std::size_t k) { return (x.Rows[k - 1].RowX - x.Shift) + x.Shift; };
  double ssr = 0.0;
  double sum = 0.0;
  for (std::size_t k = 1; k < size; ++k) {
    const double value = observed(k);
    const double r = value - x.CalcX[k];
    ssr = ssr + r * r;
    sum = sum + value;
    const bool noNegativeData = model.Values[1] >= 0.0;
    if (noNegativeData && x.LowerX[k] < 0.0) x.LowerX[k] = 0.0;
    // A fit so poor that its inverse leaves the data's sign keeps to it.
    if (noNegativeData && x.CalcX[k] < 0.0) x.CalcX[k] = 0.0;
    if (!(x.UpperX[k] > x.CalcX[k])) {
      // 1% above the calculated value, also when that is negative.
      x.UpperX[k] = x.CalcX[k] < 0.0 ? x.CalcX[k] - 0.01 * x.CalcX[k] : 1.01 * x.CalcX[k];
    }
    // The lower limit never stands above the upper one.
    if (x.LowerX[k] > x.UpperX[k]) x.LowerX[k] = std::min(x.CalcX[k], x.UpperX[k]);
  }
  const double mean = sum / n;
  double sst = 0.0;
  for (std::size_t k = 1; k < size; ++k) {
    const double deviation = observed(k) - mean;
    sst = sst + deviation * deviation;
  }
  double r = 0.0;
  if (ssr < sst) r = std::sqrt(1.0 - ssr / sst);
  if (r > 0.99999) r = 0.99999;
  x.Efficiency = r;
}

std::string XConfidenceText(const report::ReportModel& model, const XConfidence& x) {
  const int n = model.N;
  const int d = XDecimals(model.Values[static_cast<std::size_t>(n)]);
  textio::TextWriter out;
  out.Line();
  out.Line();
  out.Line(" Confidence limits of calculated X-values");
  out.Line(kDashLine);
  out.Line("   Observed            Calculated      90% confidence limit  ");
  out.Line("   X-value   Serial    X-Value         of calulated X-Value  ");
  out.Line("   Ranked     No.                      Lower        Upper    ");
  out.Line(kDashLine);
  for (std::size_t k = 1; k <= static_cast<std::size_t>(n); ++k) {
    const FrequencyRow& printed = x.Rows[k - 1];
    std::string row = textio::FormatF((printed.RowX - x.Shift) + x.Shift, 8, d);
    textio::AppendField(row, textio::FormatI(printed.RowSerial, 8));
    textio::AppendField(row, textio::FormatF(x.CalcX[k], 13, d));
    textio::AppendField(row, textio::FormatF(x.LowerX[k], 15, d));
    textio::AppendField(row, textio::FormatF(x.UpperX[k], 15, d));
    out.Line(row);
  }
  out.Line(kDashLine);
  out.Line(" Efficiency coefficient (R) of calculated and observed ");
  out.Line(" data values :" + textio::FormatF(x.Efficiency, 10, 5));
  out.Line();
  out.Line(textio::FormatI(model.Fit.Code, 3));
  return out.Text();
}

}  // namespace quilmor::calculator
