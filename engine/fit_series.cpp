#include "engine/fit_series.hpp"

#include <algorithm>
#include <cmath>

#include "engine/catalogue.hpp"

namespace quilmor::engine {

namespace {

// The fitted function as the working record of the fit leaves it.
Parameters FittedParameters(const AnalysisState& state, const CodeInfo& row) {
  const auto code = static_cast<std::size_t>(row.code);
  Parameters p;
  p.Code = row.code;
  p.A = state.Slope;
  p.B = state.Intercept;
  if (row.hasExponent) p.E = state.ExpE[code];
  if (row.bound == Bound::Lower) p.C = state.LowerBoundC;
  if (row.bound == Bound::Upper) p.C = state.UpperBoundC;
  if (IsNormalFamilyCode(row.code)) {
    p.M = state.NormMean[code];
    p.D = state.NormSigma[code];
  }
  if (row.fit == FitMethod::Student) {
    p.M = state.MeanX;
    p.D = state.StdDevX;
  }
  p.As = state.SlopeLow;
  p.Bs = state.InterceptLow;
  p.Ag = state.SlopeHigh;
  p.Bg = state.InterceptHigh;
  p.P = state.BreakValue;
  p.S = state.Shift;
  return p;
}

// The fitted function of one candidate of a best-of-all run: its own line or
// pieces, the by-products its fit left per code (E, the bound, the normal
// family's mean and sigma), and for the Student forms the average and
// standard deviation (divisor N - 1) of the values, which later fits replace
// in the working record.
Parameters CandidateParameters(const AnalysisState& state, const Candidate& candidate) {
  const CodeInfo& row = CodeRow(candidate.code);
  Parameters p = FittedParameters(state, row);
  if (HasLine(row)) {
    p.A = candidate.slope;
    p.B = candidate.intercept;
  }
  if (IsTwoPieceCode(row.code)) {
    p.As = candidate.slopeLow;
    p.Bs = candidate.interceptLow;
    p.Ag = candidate.slopeHigh;
    p.Bg = candidate.interceptHigh;
    p.P = candidate.breakValue;
  }
  if (row.fit == FitMethod::Student) {
    const int n = state.N;
    double sum = 0.0;
    for (int i = 1; i <= n; ++i) sum += state.Values[i];
    const double mean = sum / n;
    double squares = 0.0;
    for (int i = 1; i <= n; ++i) squares += (state.Values[i] - mean) * (state.Values[i] - mean);
    p.M = mean;
    p.D = n > 1 ? std::sqrt(squares / (n - 1)) : 0.0;
  }
  return p;
}

}  // namespace

FitResult FitSeries(const PreparedSeries& series, const FitRequest& request) {
  FitResult result;
  result.BreakPointAllowed = request.breakPointAllowed;
  const int n = series.N;
  if (n < 1) {
    result.Stopped = true;
    return result;
  }
  AnalysisState state;
  state.N = n;
  state.NrOfData = n;
  std::copy_n(series.Values.begin(), n + 1, state.Values.begin());
  std::copy_n(series.Serials.begin(), n + 1, state.Serials.begin());
  std::copy_n(series.PlotFreq.begin(), n + 1, state.PlotFreq.begin());
  state.Shift = series.Shift;
  state.NegativeValues = series.NegativeValues;
  state.BreakPointAllowed = request.breakPointAllowed;
  state.PrefCode = request.preference.substr(0, kPrefCodeLength);
  state.BusyNoticePending = true;
  FitDistributions(state, request.preference, request.options);

  result.Stopped = state.StopFlag;
  result.Code = state.Code;
  const CodeInfo* row = FindCode(state.Code);
  if (row != nullptr) {
    result.Fit = FittedParameters(state, *row);
    if (IsNormalFamilyCode(row->code)) {
      result.NormStdDev = state.NormStdDev[static_cast<std::size_t>(row->code)];
    }
  }
  result.FitStdDev = state.FitStdDev;
  result.BreakIndex = state.BreakIndex;
  result.MeanX = state.MeanX;
  result.StdDevX = state.StdDevX;
  result.BreakPointFound = state.BreakPointFound;
  result.CalcFreq.assign(state.CalcFreq.begin(), state.CalcFreq.begin() + n + 1);
  result.CandidateFits.reserve(state.Candidates.size());
  for (const Candidate& candidate : state.Candidates) {
    result.CandidateFits.push_back(CandidateParameters(state, candidate));
  }
  result.Candidates = std::move(state.Candidates);
  result.ScanCounts = std::move(state.ScanCounts);
  return result;
}

}  // namespace quilmor::engine
