#include "engine/single_fits.hpp"

#include <cmath>
#include <numbers>

#include "engine/exponent_scan.hpp"
#include "engine/frequency_forms.hpp"
#include "engine/line_fit.hpp"

namespace quilmor::engine {

bool IsLineCode(int code) {
  const CodeInfo* row = FindCode(code);
  return row != nullptr && row->fit == FitMethod::Line;
}

Candidate FitLineCode(AnalysisState& state, const FitData& data, int code) {
  state.Code = code;
  const CodeInfo& row = CodeRow(code);
  const Transform type = row.transform;
  // Abscissa: X, or ln X for the log-logistic and Weibull forms.
  const std::vector<double>& xPrime = row.abscissa == Abscissa::LnX ? data.lnX : data.x;
  StoreLeastSquares(state, LeastSquaresLine(xPrime.data(), data.Y(type).data(), data.n));
  state.Intercept = state.MeanY - state.Slope * state.MeanX;
  if (row.gumbelSpread) state.FitStdDev = kGumbelStdDevFactor / state.Slope;

  Candidate candidate;
  candidate.code = code;
  candidate.sse =
      LineSSE(type, xPrime.data(), data.fr.data(), data.n, state.Intercept, state.Slope);
  candidate.slope = state.Slope;
  candidate.intercept = state.Intercept;
  return candidate;
}

StudentFit FitStudent(AnalysisState& state, const FitData& data) {
  const int oneDf = StudentCode(1);
  const int twoDf = StudentCode(2);
  state.Code = oneDf;
  FitLine(state);
  const double m = state.MeanX;
  const double s = state.StdDevX;
  double sseOne = 0.0;
  double sseTwo = 0.0;
  for (int i = 0; i < data.n; ++i) {
    const double u = (data.x[i] - m) / s;
    const double dOne = data.fr[i] - (0.5 + std::atan(u) / std::numbers::pi);
    sseOne += dOne * dOne;
    const double dTwo = data.fr[i] - 0.5 * (1.0 + u / std::sqrt(2.0 + u * u));
    sseTwo += dTwo * dTwo;
  }
  if (sseTwo < sseOne) state.Code = twoDf;
  StudentFit fit;
  fit.oneDf.code = oneDf;
  fit.oneDf.sse = sseOne;
  fit.twoDf.code = twoDf;
  fit.twoDf.sse = sseTwo;
  return fit;
}

}  // namespace quilmor::engine
