#include "engine/fit_series.hpp"

#include <algorithm>

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
  result.Candidates = std::move(state.Candidates);
  result.ScanCounts = std::move(state.ScanCounts);
  return result;
}

}  // namespace quilmor::engine
