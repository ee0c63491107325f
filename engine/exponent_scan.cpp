#include "engine/exponent_scan.hpp"

#include <cmath>
#include <limits>

#include "engine/frequency_forms.hpp"
#include "engine/line_fit.hpp"
#include "engine/scan_choice.hpp"

namespace quilmor::engine {

std::vector<double> ExponentGrid() {
  std::vector<double> grid(kExponentTrials + 1, 0.0);
  double exponent = kExponentBase;
  for (int k = 1; k <= kExponentTrials; ++k) {
    exponent += kExponentStep;
    grid[k] = exponent;
  }
  return grid;
}

double ReportedExponent(int k) { return kExponentStep * k + kExponentBase; }

bool IsNearLinear(double exponent) {
  return exponent > kNearLinearLow && exponent < kNearLinearHigh;
}

bool IsExponentCode(int code) {
  return code == 2 || code == 3 || code == 51 || code == 52 || code == 55 || code == 60;
}

namespace {

// One trial of a single function of type T on the abscissae xPrime: the
// least-squares line of T(Fr) on x′, then its SSE with caps and clamps. A
// trial whose abscissae show no spread has no line and loses.
template <Transform T>
double LineTrialSSE(const double* xPrime, const FitData& data) {
  const LineStats line = LeastSquaresLine(xPrime, data.Y(T).data(), data.n);
  if (line.noSpread) return std::numeric_limits<double>::infinity();
  const double intercept = line.meanY - line.slope * line.meanX;
  return LineSSE<T>(xPrime, data.fr.data(), data.n, intercept, line.slope);
}

double ExponentTrialSSE(int code, const double* powered, const double* logOfPowered,
                        const FitData& data) {
  switch (code) {
    case 2:
      return LineTrialSSE<Transform::Power>(powered, data);
    case 3:
      return LineTrialSSE<Transform::Exponential>(powered, data);
    case 51:
      return LineTrialSSE<Transform::Gumbel>(powered, data);
    case 52:
      return LineTrialSSE<Transform::MirroredGumbel>(powered, data);
    case 55:
      return LineTrialSSE<Transform::Logistic>(powered, data);
    default:
      return LineTrialSSE<Transform::Weibull>(logOfPowered, data);  // 60
  }
}

}  // namespace

ExponentScanTable ScanExponents(const FitData& data, const Workers& workers,
                                const std::vector<int>& codes) {
  ExponentScanTable table;
  bool needLog = false;
  for (int code : codes) {
    table.sse[code].assign(kExponentTrials + 1, 0.0);
    needLog = needLog || code == 60;
  }
  const std::vector<double> grid = ExponentGrid();
  const int n = data.n;
  std::vector<std::vector<double>> powered(workers.Count(), std::vector<double>(n));
  std::vector<std::vector<double>> logOfPowered(workers.Count(),
                                                std::vector<double>(needLog ? n : 0));
  workers.ForEach(kExponentTrials, [&](int index, int worker) {
    const int k = index + 1;
    const double exponent = grid[k];
    double* xe = powered[worker].data();
    double* lnXe = logOfPowered[worker].data();
    // X^E = exp(E·ln X); code 60 regresses on ln(X^E), taken as it stands.
    for (int i = 0; i < n; ++i) xe[i] = std::exp(exponent * data.lnX[i]);
    if (needLog) {
      for (int i = 0; i < n; ++i) lnXe[i] = std::log(xe[i]);
    }
    for (int code : codes) table.sse[code][k] = ExponentTrialSSE(code, xe, lnXe, data);
  });
  return table;
}

Candidate FitExponentCode(AnalysisState& state, const FitData& data, const ExponentScanTable& table,
                          int code) {
  state.Code = code;
  const std::vector<double>& sse = table.sse[code];
  const int best = FirstMinimum(sse, kExponentTrials);
  const double exponent = ReportedExponent(best);
  state.ExpE[code] = exponent;
  for (int k = 1; k <= kExponentTrials; ++k) state.ScanSSE[k] = sse[k];

  // Final fit with the reported exponent.
  const Transform type = SingleFitTransform(code);
  std::vector<double> xPrime(data.n);
  for (int i = 0; i < data.n; ++i) {
    xPrime[i] = std::exp(exponent * data.lnX[i]);
    if (code == 60) xPrime[i] = std::log(xPrime[i]);
  }
  StoreLeastSquares(state, LeastSquaresLine(xPrime.data(), data.Y(type).data(), data.n));
  if (code == 2 && state.Slope < kMinPowerSlope) state.Slope = kMinPowerSlope;
  state.Intercept = state.MeanY - state.Slope * state.MeanX;
  if (code == 51) state.FitStdDev = kGumbelStdDevFactor / state.Slope;
  state.ScanCounts.push_back({code, kExponentTrials});

  Candidate candidate;
  candidate.code = code;
  candidate.sse =
      LineSSE(type, xPrime.data(), data.fr.data(), data.n, state.Intercept, state.Slope);
  candidate.slope = state.Slope;
  candidate.intercept = state.Intercept;
  return candidate;
}

}  // namespace quilmor::engine
