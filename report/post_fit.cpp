#include "report/post_fit.hpp"

#include <cmath>

#include "engine/scratch_files.hpp"
#include "textio/number_format.hpp"
#include "textio/text_file.hpp"

namespace quilmor::report {

using engine::AnalysisState;
using engine::Parameters;

namespace {

// Clamps of the rank-wise frequencies of the single and two-piece functions.
constexpr double kLowestFreq = 0.001;   // for a negative or undefined frequency
constexpr double kHighestFreq = 0.999;  // for a frequency above 1
// Used in place of a non-positive bounded quantity of codes 58 and 59.
constexpr double kBoundFloor = 0.0001;

// The confidence belt is C -/+ 3.4 Sd f (resp. (1 - f)), in percent.
constexpr double kBeltFactor = 3.4;
constexpr double kPercentCap = 99.99;
constexpr double kFirstLowerPercent = 0.001;  // the first rank compares with it
constexpr double kLowestLowerPercent = 0.0001;

// Return periods: frequencies above 0.9999 are taken as 0.9999.
constexpr double kFreqCap = 0.9999;
constexpr double kFirstReturnPeriod = 1000.0;  // the first rank compares with it
constexpr double kFirstLowerFreq = 0.001;
// The average difference of return periods takes Fc as at most 0.99999.
constexpr double kSummaryFreqCap = 0.99999;

double LimitTo(double value, double cap) { return value > cap ? cap : value; }

}  // namespace

Parameters FittedParameters(const AnalysisState& state) {
  Parameters p;
  const int code = state.Code;
  p.Code = code;
  p.S = state.Shift;
  p.P = state.BreakValue;
  p.A = state.Slope;
  p.B = state.Intercept;
  p.As = state.SlopeLow;
  p.Bs = state.InterceptLow;
  p.Ag = state.SlopeHigh;
  p.Bg = state.InterceptHigh;
  const engine::CodeInfo* row = engine::FindCode(code);
  if (row == nullptr) return p;
  if (row->hasExponent) p.E = state.ExpE[code];
  if (row->bound == engine::Bound::Lower) p.C = state.LowerBoundC;
  if (row->bound == engine::Bound::Upper) p.C = state.UpperBoundC;
  if (engine::IsNormalFamilyCode(code)) {
    p.M = state.NormMean[code];
    p.D = state.NormSigma[code];
  }
  if (row->fit == engine::FitMethod::Student) {
    p.M = state.MeanX;
    p.D = state.StdDevX;
  }
  return p;
}

void ComputeCalcFreq(AnalysisState& state) {
  state.BelowBoundWarning = false;
  state.AboveBoundWarning = false;
  const int code = state.Code;
  const int n = state.N;
  if (!engine::IsCatalogueCode(code)) return;
  const engine::CodeInfo& row = engine::CodeRow(code);
  // Code 25 keeps the frequencies of its final fit.
  if (row.calcFreq == engine::CalcFreqRule::FitFrequencies) return;

  if (row.calcFreq == engine::CalcFreqRule::RecomputedMean) {
    // Hastings around the mean of the transformed values T(X); sigma as fitted.
    double sum = 0.0;
    for (int i = 1; i <= n; ++i) sum += engine::NormalTransform(code, state.Values[i], 1.0);
    state.NormMean[code] = sum / n;
    const Parameters p = FittedParameters(state);
    for (int i = 1; i <= n; ++i) state.CalcFreq[i] = engine::ModelFreq(p, state.Values[i]);
    return;
  }

  const Parameters p = FittedParameters(state);
  bool floorUsed = false;
  engine::FreqContext context;
  context.boundFloor = kBoundFloor;
  context.floorUsed = &floorUsed;
  for (int i = 1; i <= n; ++i) {
    context.upperPiece = i > state.BreakIndex;
    double fc = engine::ModelFreq(p, state.Values[i], context);
    const double previous = i >= 2 ? state.CalcFreq[i - 1] : 0.0;
    if (row.calcFreq == engine::CalcFreqRule::ClampedHalfway) {
      // exp(B + A*X^E) may turn down: half-way from the previous rank to 1.
      if (i >= 2 && fc < previous) fc = previous + (1.0 - previous) / 2.0;
      if (fc > 1.0) fc = kHighestFreq;
    }
    if (!(fc >= 0.0)) fc = kLowestFreq;
    if (fc > 1.0) fc = kHighestFreq;
    if (i >= 2 && fc < previous) fc = previous;
    state.CalcFreq[i] = fc;
  }
  if (floorUsed && row.bound == engine::Bound::Lower) state.BelowBoundWarning = true;
  if (floorUsed && row.bound == engine::Bound::Upper) state.AboveBoundWarning = true;
}

std::string FitSummaryText(AnalysisState& state) {
  const int code = state.Code;
  const engine::CodeInfo* row = engine::FindCode(code);
  // The Student forms have no line: they write A = B = 1.
  if (engine::IsStudentCode(code)) {
    state.Slope = 1.0;
    state.Intercept = 1.0;
  }
  textio::TextWriter out;
  out.Line(textio::FormatI(state.N, 4));
  out.Line(textio::FormatI(code, 3));
  out.Line(textio::FormatE23(state.Shift));
  if (row == nullptr || row->parameterFile.line) {
    out.Line(textio::FormatE23(state.Slope));
    out.Line(textio::FormatE23(state.Intercept));
  } else if (engine::IsNormalFamilyCode(code)) {
    out.Line(textio::FormatE23(state.NormMean[code]));
    out.Line(textio::FormatE23(state.NormSigma[code]));
  }
  return out.Text();
}

std::optional<std::string> WriteFitSummary(AnalysisState& state,
                                           const std::filesystem::path& scratchDir) {
  const std::filesystem::path path = scratchDir / engine::kFitSummaryFile;
  std::string error;
  if (!textio::WriteFilePlain(path, FitSummaryText(state), &error)) {
    return "The file " + path.string() + " could not be written: " + error;
  }
  return std::nullopt;
}

std::vector<ConfidenceRow> ConfidenceRows(const AnalysisState& state) {
  const int n = state.N;
  std::vector<ConfidenceRow> rows;
  rows.reserve(static_cast<std::size_t>(n > 0 ? n : 0));
  double previousLower = kFirstLowerPercent;
  for (int i = 1; i <= n; ++i) {
    ConfidenceRow row;
    row.rank = LimitTo(100.0 * state.PlotFreq[i], kPercentCap);
    row.calc = 100.0 * state.CalcFreq[i];
    if (row.calc <= 0.0) row.calc = row.rank / 2.0;
    row.calc = LimitTo(row.calc, kPercentCap);
    const double f = row.calc / 100.0;
    // Binomial standard deviation of a frequency estimated from N values.
    row.stdDev = 100.0 * std::sqrt(f * (1.0 - f) / n);
    double lower = row.calc - kBeltFactor * row.stdDev * f;
    if (lower <= 0.0) lower = kLowestLowerPercent;
    if (lower < previousLower) lower = previousLower;
    lower = LimitTo(lower, kPercentCap);
    previousLower = lower;
    row.lower = lower;
    double upper = LimitTo(row.calc + kBeltFactor * row.stdDev * (1.0 - f), kPercentCap);
    if (1.00001 * row.calc >= upper) upper = kPercentCap;
    row.upper = upper;
    rows.push_back(row);
  }
  return rows;
}

int ReturnPeriodDecimals(double f, double u) {
  if (f < 0.5) return 2;
  if (f < 0.99 && u < 0.99) return 1;
  return 0;
}

std::vector<ReturnPeriodRow> ReturnPeriodRows(const AnalysisState& state) {
  const int n = state.N;
  std::vector<ReturnPeriodRow> rows;
  rows.reserve(static_cast<std::size_t>(n > 0 ? n : 0));
  double previousTc = kFirstReturnPeriod;
  double previousLow = kFirstLowerFreq;
  for (int i = 1; i <= n; ++i) {
    const double fr = state.PlotFreq[i];
    double f = state.CalcFreq[i];
    if (f <= 0.0) f = fr / 2.0;
    if (f > kFreqCap) f = kFreqCap;
    const double s = std::sqrt(f * (1.0 - f) / n);
    ReturnPeriodRow row;
    row.observed = 1.0 / (1.0 - fr);
    double tc = 1.0 / (1.0 - f);
    if (!(tc < 3.0 * previousTc)) tc = 3.0 * previousTc;
    previousTc = tc;
    row.calculated = tc;
    double low = f - kBeltFactor * s * f;
    if (low <= 0.0) low = kFirstLowerFreq;
    if (low < previousLow) low = previousLow;
    if (low > 2.0 * previousLow) low = 2.0 * previousLow;
    previousLow = low;
    const double up = LimitTo(f + kBeltFactor * s * (1.0 - f), kFreqCap);
    row.lower = 1.0 / (1.0 - low);
    row.upper = 1.0 / (1.0 - up);
    if (!(row.upper > tc)) row.upper = 1.01 * tc;
    row.decimals = ReturnPeriodDecimals(f, up);
    rows.push_back(row);
  }
  return rows;
}

GoodnessMeasures ComputeGoodness(const AnalysisState& state) {
  const int n = state.N;
  GoodnessMeasures g;
  if (n < 1) return g;
  double absSum = 0.0;
  double frSum = 0.0;
  double squareSum = 0.0;
  double periodSum = 0.0;
  for (int i = 1; i <= n; ++i) {
    const double fr = state.PlotFreq[i];
    const double fc = state.CalcFreq[i];
    absSum += std::fabs(fc - fr);
    frSum += fr;
    squareSum += (fc - fr) * (fc - fr);
    const double fcCapped = fc < kSummaryFreqCap ? fc : kSummaryFreqCap;
    periodSum += std::fabs(1.0 / (1.0 - fr) - 1.0 / (1.0 - fcCapped));
  }
  const double mean = frSum / n;
  double spread = 0.0;
  for (int i = 1; i <= n; ++i) spread += (state.PlotFreq[i] - mean) * (state.PlotFreq[i] - mean);
  g.frequencyDifference = 100.0 * absSum / n;
  const double r2 = 1.0 - squareSum / spread;
  g.efficiency = r2 > 0.0 ? std::sqrt(r2) : 0.0;
  g.returnPeriodDifference = periodSum / n;
  return g;
}

}  // namespace quilmor::report
