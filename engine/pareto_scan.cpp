#include "engine/pareto_scan.hpp"

#include <cmath>

#include "engine/line_fit.hpp"
#include "engine/scan_choice.hpp"
#include "engine/value_tables.hpp"

namespace quilmor::engine {

double ParetoStep(double largestValue) {
  const double v = largestValue;
  if (v > 0.5 && v < 1.0) return 0.002;
  if (v > 1.0 && v <= 5.0) return 0.01;
  if (v > 5.0 && v <= 10.0) return 0.02;
  if (v > 10.0 && v <= 50.0) return 0.1;
  if (v > 50.0 && v <= 100.0) return 0.2;
  if (v > 100.0 && v <= 500.0) return 1.0;
  if (v > 500.0 && v <= 1000.0) return 2.0;
  if (v > 1000.0 && v <= 5000.0) return 10.0;
  if (v > 5000.0) return 20.0;
  return 0.001;  // 0.5 or less, and exactly 1
}

std::vector<double> ParetoGrid(double step) {
  std::vector<double> grid(kParetoTrials + 1, 0.0);
  double scale = 0.0;
  for (int k = 1; k <= kParetoTrials; ++k) {
    scale += step;
    grid[k] = scale;
  }
  return grid;
}

namespace {

// x′ = ln(C/(X + C)), once per run of equal values.
void ParetoAbscissae(const ValueRuns& runs, double scale, double* runXPrime) {
  const int count = static_cast<int>(runs.value.size());
  for (int r = 0; r < count; ++r) runXPrime[r] = std::log(scale / (runs.value[r] + scale));
}

// SSE of Fc = 1 − exp(S·x′), Fc once per run, the deviations rank by rank;
// given up (partial trials) once it reaches `limit` after a run.
template <bool kLimited>
double ParetoSSE(const FitData& data, const double* runXPrime, double slope, double limit = 0.0) {
  double sse = 0.0;
  const int count = data.Runs();
  int i = 0;
  for (int r = 0; r < count; ++r) {
    const double fc = 1.0 - std::exp(slope * runXPrime[r]);
    for (const int end = data.runs.end[r]; i < end; ++i) {
      const double d = data.fr[i] - fc;
      sse += d * d;
    }
    if (kLimited && sse >= limit) return sse;
  }
  return sse;
}

}  // namespace

Candidate FitPareto(AnalysisState& state, const FitData& data, const Workers& workers) {
  state.Code = 56;
  const double* y = data.Y(Transform::Pareto).data();
  double largest = 0.0;
  for (double value : data.x) {
    if (value > largest) largest = value;
  }
  const double step = ParetoStep(largest);
  const std::vector<double> grid = ParetoGrid(step);
  // Shared tables hold the abscissae of this grid when they were made with the same step.
  const bool tabled = data.HasTables() && data.tables->ParetoStep() == step;

  std::vector<double> sse(kParetoTrials + 1, 0.0);
  const double sumY = data.SumY(Transform::Pareto);
  std::vector<std::vector<double>> scratch(workers.Count(), std::vector<double>(data.Runs()));
  double bestSoFar = kNoFitSSE;  // where the choice starts (FirstMinimum)
  workers.ForEach(kParetoTrials, [&](int index, int worker) {
    const int k = index + 1;
    double* xPrime = scratch[worker].data();
    if (tabled) {
      const double* row = data.tables->ParetoAbscissae(k);
      for (int r = 0; r < data.Runs(); ++r) xPrime[r] = row[data.tableIndex[r]];
    } else {
      ParetoAbscissae(data.runs, grid[k], xPrime);
    }
    const double slope = FirstPointLine(xPrime, data.runs, y, sumY).slope;
    if (data.partialTrials) {
      // The trials run in order: the best before this one is known.
      sse[k] = ParetoSSE<true>(data, xPrime, slope, bestSoFar);
      if (sse[k] < bestSoFar) bestSoFar = sse[k];
    } else {
      sse[k] = ParetoSSE<false>(data, xPrime, slope);
    }
  });
  for (int k = 1; k <= kParetoTrials; ++k) state.ScanSSE[k] = sse[k];
  const double scale = grid[FirstMinimum(sse, kParetoTrials)];

  // Final fit with the best scale.
  std::vector<double> xPrime(data.Runs());
  ParetoAbscissae(data.runs, scale, xPrime.data());
  const LineStats line = FirstPointLine(xPrime.data(), data.runs, y, sumY);
  state.MeanY = line.meanY;
  state.MeanX = line.meanX;
  state.Slope = line.slope;
  state.Intercept = scale;
  state.ScanCounts.push_back({56, kParetoTrials});

  Candidate candidate;
  candidate.code = 56;
  candidate.sse = ParetoSSE<false>(data, xPrime.data(), state.Slope);
  candidate.slope = state.Slope;
  candidate.intercept = scale;
  return candidate;
}

}  // namespace quilmor::engine
