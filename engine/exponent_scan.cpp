#include "engine/exponent_scan.hpp"

#include <cassert>
#include <cmath>
#include <limits>

#include "engine/frequency_forms.hpp"
#include "engine/line_fit.hpp"
#include "engine/scan_choice.hpp"
#include "engine/value_tables.hpp"

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
  const CodeInfo* row = FindCode(code);
  return row != nullptr && ScansExponent(*row);
}

namespace {

// One trial of a single function of type T on the abscissae xPrime: the
// least-squares line of T(Fr) on x′, then its SSE with caps and clamps. A
// trial whose abscissae show no spread has no line and loses.
// The abscissae are given once per run of equal values.
// With a finite `limit` (partial trials) the sum may stop once it reaches it.
template <Transform T>
double LineTrialSSE(const double* xPrime, const FitData& data, double limit) {
  const LineStats line = LeastSquaresLine(xPrime, data.runs, data.Y(T).data(), data.SumY(T));
  if (line.noSpread) return std::numeric_limits<double>::infinity();
  const double intercept = line.meanY - line.slope * line.meanX;
  if (limit < std::numeric_limits<double>::infinity()) {
    return LineSSE<T>(xPrime, data.runs, data.fr.data(), intercept, line.slope, limit);
  }
  return LineSSE<T>(xPrime, data.runs, data.fr.data(), intercept, line.slope);
}

// The line is regressed on X^E, or on ln(X^E) (generalised Weibull).
double ExponentTrialSSE(const CodeInfo& row, const double* powered, const double* logOfPowered,
                        const FitData& data, double limit) {
  const double* xPrime = row.abscissa == Abscissa::LnPowerX ? logOfPowered : powered;
  switch (row.transform) {
    case Transform::Power:
      return LineTrialSSE<Transform::Power>(xPrime, data, limit);
    case Transform::Exponential:
      return LineTrialSSE<Transform::Exponential>(xPrime, data, limit);
    case Transform::Gumbel:
      return LineTrialSSE<Transform::Gumbel>(xPrime, data, limit);
    case Transform::MirroredGumbel:
      return LineTrialSSE<Transform::MirroredGumbel>(xPrime, data, limit);
    case Transform::Logistic:
      return LineTrialSSE<Transform::Logistic>(xPrime, data, limit);
    case Transform::Weibull:
      return LineTrialSSE<Transform::Weibull>(xPrime, data, limit);
    default:
      break;
  }
  assert(false && "no exponent scan of this transform");
  return std::numeric_limits<double>::infinity();
}

}  // namespace

ExponentScanTable ScanExponents(const FitData& data, const Workers& workers,
                                const std::vector<int>& codes) {
  ExponentScanTable table;
  bool needLog = false;
  std::vector<const CodeInfo*> rows;
  for (int code : codes) {
    table.sse[code].assign(kExponentTrials + 1, 0.0);
    rows.push_back(&CodeRow(code));
    needLog = needLog || rows.back()->abscissa == Abscissa::LnPowerX;
  }
  const std::vector<double> grid = ExponentGrid();
  // Powers and their logarithms once per run of equal values.
  const int runs = data.Runs();
  std::vector<std::vector<double>> powered(workers.Count(), std::vector<double>(runs));
  std::vector<std::vector<double>> logOfPowered(workers.Count(),
                                                std::vector<double>(needLog ? runs : 0));
  // The choice starts from kNoFitSSE (FirstMinimum).
  std::array<double, kCodeArraySize> bestSoFar;
  bestSoFar.fill(kNoFitSSE);
  workers.ForEach(kExponentTrials, [&](int index, int worker) {
    const int k = index + 1;
    const double exponent = grid[k];
    double* xe = powered[worker].data();
    double* lnXe = logOfPowered[worker].data();
    // X^E = exp(E·ln X); code 60 regresses on ln(X^E), taken as it stands.
    if (data.HasTables()) {
      const int* at = data.tableIndex.data();
      const double* powers = data.tables->Powers(k);
      for (int r = 0; r < runs; ++r) xe[r] = powers[at[r]];
      if (needLog) {
        const double* logs = data.tables->LogPowers(k);
        for (int r = 0; r < runs; ++r) lnXe[r] = logs[at[r]];
      }
    } else {
      for (int r = 0; r < runs; ++r) xe[r] = std::exp(exponent * data.runLnX[r]);
      if (needLog) {
        for (int r = 0; r < runs; ++r) lnXe[r] = std::log(xe[r]);
      }
    }
    for (const CodeInfo* row : rows) {
      std::vector<double>& sse = table.sse[row->code];
      if (data.partialTrials) {
        // The trials run in order: the best before this one is known.
        double& best = bestSoFar[row->code];
        sse[k] = ExponentTrialSSE(*row, xe, lnXe, data, best);
        if (sse[k] < best) best = sse[k];
      } else {
        sse[k] = ExponentTrialSSE(*row, xe, lnXe, data, std::numeric_limits<double>::infinity());
      }
    }
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
  const CodeInfo& row = CodeRow(code);
  const Transform type = row.transform;
  std::vector<double> xPrime(data.n);
  for (int i = 0; i < data.n; ++i) {
    xPrime[i] = std::exp(exponent * data.lnX[i]);
    if (row.abscissa == Abscissa::LnPowerX) xPrime[i] = std::log(xPrime[i]);
  }
  StoreLeastSquares(state, LeastSquaresLine(xPrime.data(), data.Y(type).data(), data.n));
  if (row.minimumSlope > 0.0 && state.Slope < row.minimumSlope) state.Slope = row.minimumSlope;
  state.Intercept = state.MeanY - state.Slope * state.MeanX;
  if (row.gumbelSpread) state.FitStdDev = kGumbelStdDevFactor / state.Slope;
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
