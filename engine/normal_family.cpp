#include "engine/normal_family.hpp"

#include <cmath>
#include <vector>

#include "engine/catalogue.hpp"
#include "engine/exponent_scan.hpp"
#include "engine/scan_choice.hpp"
#include "engine/value_tables.hpp"

namespace quilmor::engine {

double SigmaTrial(int k, double s) { return (k + 99) * s / 200.0; }

double NormalSSE(const double* xPrime, const double* fr, int n, double mean, double sigma) {
  double sse = 0.0;
  for (int i = 0; i < n; ++i) {
    const double d = fr[i] - HastingsFreq((xPrime[i] - mean) / sigma);
    sse += d * d;
  }
  return sse;
}

namespace {

// The σ trials once the mean and s are known; SSE by `sseOf(sigma)`.
template <typename SSE>
void SearchSigma(SigmaSearchResult& result, const Workers* workers, const SSE& sseOf) {
  std::vector<double> sse(kSigmaTrials + 1, 0.0);
  auto trial = [&](int k) { sse[k] = sseOf(SigmaTrial(k, result.s)); };
  if (workers) {
    workers->ForEach(kSigmaTrials, [&](int index, int) { trial(index + 1); });
  } else {
    for (int k = 1; k <= kSigmaTrials; ++k) trial(k);
  }
  // Trial 1 is the first best; a later σ must be strictly better.
  result.searched = true;
  result.sigma = SigmaTrial(1, result.s);
  result.sse = sse[1];
  for (int k = 2; k <= kSigmaTrials; ++k) {
    if (sse[k] < result.sse) {
      result.sse = sse[k];
      result.sigma = SigmaTrial(k, result.s);
    }
  }
}

// Mean, Sxx and s of the sums over n values; false when there is no spread.
bool Spread(SigmaSearchResult& result, double sum, double sumOfSquares, bool allEqual, int n) {
  const double nn = n;
  result.mean = sum / nn;
  result.sxx = sumOfSquares - sum * sum / nn;
  result.s = std::sqrt(result.sxx / (nn - 1.0));
  return !(n < 2 || allEqual || !(result.s > 0.0) || !std::isfinite(result.s));
}

}  // namespace

SigmaSearchResult SigmaSearch(const double* xPrime, const double* fr, int n,
                              const Workers* workers) {
  SigmaSearchResult result;
  double sum = 0.0;
  double sumOfSquares = 0.0;
  bool allEqual = true;
  for (int i = 0; i < n; ++i) {
    sum += xPrime[i];
    sumOfSquares += xPrime[i] * xPrime[i];
    allEqual = allEqual && xPrime[i] == xPrime[0];
  }
  if (!Spread(result, sum, sumOfSquares, allEqual, n)) return result;
  SearchSigma(result, workers,
              [&](double sigma) { return NormalSSE(xPrime, fr, n, result.mean, sigma); });
  return result;
}

namespace {

template <bool kLimited>
double RunNormalSSE(const double* runXPrime, const ValueRuns& runs, const double* fr, double mean,
                    double sigma, double limit) {
  double sse = 0.0;
  const int count = runs.Count();
  int i = 0;
  for (int r = 0; r < count; ++r) {
    const double fc = HastingsFreq((runXPrime[r] - mean) / sigma);
    for (const int end = runs.end[r]; i < end; ++i) {
      const double d = fr[i] - fc;
      sse += d * d;
    }
    if (kLimited && sse >= limit) return sse;
  }
  return sse;
}

}  // namespace

double NormalSSE(const double* runXPrime, const ValueRuns& runs, const double* fr, double mean,
                 double sigma) {
  return RunNormalSSE<false>(runXPrime, runs, fr, mean, sigma, 0.0);
}

SigmaSearchResult SigmaSearch(const double* runXPrime, const ValueRuns& runs, const double* fr,
                              const Workers* workers, bool partialTrials) {
  SigmaSearchResult result;
  double sum = 0.0;
  double sumOfSquares = 0.0;
  const int n = runs.Ranks();
  const int* of = runs.of.data();
  for (int i = 0; i < n; ++i) {
    const double x = runXPrime[of[i]];
    sum += x;
    sumOfSquares += x * x;
  }
  bool allEqual = true;
  for (int r = 0, count = runs.Count(); r < count && allEqual; ++r) {
    allEqual = runXPrime[r] == runXPrime[0];
  }
  if (!Spread(result, sum, sumOfSquares, allEqual, n)) return result;
  if (partialTrials) {
    // In order, each trial against the best before it; trial 1 is the
    // first best whatever its SSE, so it is summed in full.
    bool first = true;
    double best = 0.0;
    SearchSigma(result, nullptr, [&](double sigma) {
      const double sse = first ? RunNormalSSE<false>(runXPrime, runs, fr, result.mean, sigma, 0.0)
                               : RunNormalSSE<true>(runXPrime, runs, fr, result.mean, sigma, best);
      if (first || sse < best) best = sse;
      first = false;
      return sse;
    });
    return result;
  }
  SearchSigma(result, workers, [&](double sigma) {
    return NormalSSE(runXPrime, runs, fr, result.mean, sigma);
  });
  return result;
}

namespace {

// Fc_i = HastingsFreq((x′_i − mean)/σ) into CalcFreq[1..N].
void StoreNormalFreq(AnalysisState& state, const std::vector<double>& xPrime, double mean,
                     double sigma) {
  for (int i = 0; i < static_cast<int>(xPrime.size()); ++i) {
    state.CalcFreq[i + 1] = HastingsFreq((xPrime[i] - mean) / sigma);
  }
}

bool FitPlainNormal(AnalysisState& state, const FitData& data, const Workers& workers, int code) {
  // T(X): X, ln X (shared with the other fits), X^2 or sqrt X, once per run.
  const Abscissa transform = CodeRow(code).abscissa;
  std::vector<double> runXPrime(data.Runs());
  for (int r = 0; r < data.Runs(); ++r) {
    const double x = data.runs.value[r];
    switch (transform) {
      case Abscissa::LnX: runXPrime[r] = data.runLnX[r]; break;
      case Abscissa::SquareX: runXPrime[r] = x * x; break;
      case Abscissa::RootX: runXPrime[r] = std::sqrt(x); break;
      default: runXPrime[r] = x; break;
    }
  }
  const SigmaSearchResult search =
      SigmaSearch(runXPrime.data(), data.runs, data.fr.data(), &workers, data.partialTrials);
  state.NormMean[code] = search.mean;
  state.NormStdDev[code] = search.s;
  state.StdDevX = search.s;
  state.Sxx = search.sxx;
  state.ScanCounts.push_back({code, search.searched ? kSigmaTrials : 0});
  if (!search.searched) return false;
  state.NormSigma[code] = search.sigma;
  state.NormSSE[code] = search.sse;
  // The frequencies of the last trial stay behind as scratch.
  std::vector<double> xPrime(data.n);
  SpreadRuns(runXPrime.data(), data.runs.end, xPrime.data());
  StoreNormalFreq(state, xPrime, search.mean, SigmaTrial(kSigmaTrials, search.s));
  return true;
}

bool FitGeneralNormal(AnalysisState& state, const FitData& data, const Workers& workers,
                      const Notice& notice) {
  const int n = data.n;
  const int code = state.Code;
  const std::vector<double> grid = ExponentGrid();
  std::vector<SigmaSearchResult> trials(kExponentTrials + 1);
  const int runs = data.Runs();
  std::vector<std::vector<double>> scratch(workers.Count(), std::vector<double>(runs));
  auto runTrials = [&](int first, int last) {
    workers.ForEach(last - first + 1, [&](int index, int worker) {
      const int k = first + index;
      double* xPrime = scratch[worker].data();
      if (data.HasTables()) {
        const double* powers = data.tables->Powers(k);
        for (int r = 0; r < runs; ++r) xPrime[r] = powers[data.tableIndex[r]];
      } else {
        for (int r = 0; r < runs; ++r) xPrime[r] = std::exp(grid[k] * data.runLnX[r]);
      }
      trials[k] = SigmaSearch(xPrime, data.runs, data.fr.data());
    });
  };
  runTrials(1, kStillBusyTrial);
  if (notice) notice(kStillBusyNotice);
  runTrials(kStillBusyTrial + 1, kProgressingTrial);
  if (notice) notice(kProgressingNotice);
  runTrials(kProgressingTrial + 1, kExponentTrials);

  for (int k = 1; k <= kExponentTrials; ++k) {
    // A trial without spread has no σ and cannot win.
    state.ScanSSE[k] = trials[k].searched ? trials[k].sse : std::numeric_limits<double>::infinity();
    state.SigmaBest[k] = trials[k].sigma;
  }
  const int best = FirstMinimum(state.ScanSSE, kExponentTrials);
  state.NormSigma[code] = state.SigmaBest[best];
  state.ExpE[code] = ReportedExponent(best);
  state.ScanCounts.push_back({code, kExponentTrials});

  // Final evaluation with the reported exponent.
  std::vector<double> xPrime(n);
  double sum = 0.0;
  double sumOfSquares = 0.0;
  for (int i = 0; i < n; ++i) {
    xPrime[i] = std::exp(state.ExpE[code] * data.lnX[i]);
    sum += xPrime[i];
    sumOfSquares += xPrime[i] * xPrime[i];
  }
  const double nn = n;
  state.NormMean[code] = sum / nn;
  state.Sxx = sumOfSquares - sum * sum / nn;
  state.NormStdDev[code] = std::sqrt(state.Sxx / (nn - 1.0));
  StoreNormalFreq(state, xPrime, state.NormMean[code], state.NormSigma[code]);
  return trials[best].searched;
}

}  // namespace

bool FitNormalFamily(AnalysisState& state, const FitData& data, const Workers& workers,
                     const Notice& notice) {
  const CodeInfo* row = FindCode(state.Code);
  if (row == nullptr) return false;
  if (row->fit == FitMethod::GeneralNormal) return FitGeneralNormal(state, data, workers, notice);
  if (row->fit == FitMethod::NormalSigma) return FitPlainNormal(state, data, workers, state.Code);
  return false;
}

bool FitNormalFamily(AnalysisState& state, const Notice& notice) {
  if (state.N < 1 || state.N >= static_cast<int>(state.Values.size())) return false;
  const FitData data = FitData::FromState(state);
  return FitNormalFamily(state, data, Workers(), notice);
}

}  // namespace quilmor::engine
