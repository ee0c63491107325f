#include "engine/break_point.hpp"

#include <algorithm>
#include <cmath>

#include "engine/catalogue.hpp"
#include "engine/frequency_forms.hpp"
#include "engine/line_fit.hpp"
#include "engine/scan_choice.hpp"

namespace quilmor::engine {

std::vector<double> BreakGrid(double smallest, double largest) {
  const double step = (largest - smallest) / kBreakSteps;
  std::vector<double> grid(kBreakSteps, 0.0);
  double trialBreak = smallest;
  for (int j = 1; j < kBreakSteps; ++j) {
    trialBreak += step;
    grid[j] = trialBreak;
  }
  return grid;
}

namespace {

// SSE of one piece over ranks [first, end), Fc once per run of equal values
// (the values of a piece are X itself), the deviations rank by rank.
template <Transform T>
double PieceSSE(const FitData& data, int first, int end, double intercept, double slope) {
  double sse = 0.0;
  const double* fr = data.fr.data();
  int i = first;
  for (int r = first < end ? data.runs.of[first] : 0; i < end; ++r) {
    const double fc = PieceFreq<T>(intercept + slope * data.runs.value[r]);
    for (const int stop = std::min(data.runs.end[r], end); i < stop; ++i) {
      const double d = fr[i] - fc;
      sse += d * d;
    }
  }
  return sse;
}

template <Transform Low, Transform High>
PieceTrial Trial(const FitData& data, double breakValue) {
  PieceTrial trial;
  const int n = data.n;
  const double* x = data.x.data();
  // Values are ascending: those above the break are the last ranks.
  const int nAbove =
      static_cast<int>(data.x.end() - std::upper_bound(data.x.begin(), data.x.end(), breakValue));
  trial.nBelow = n - nAbove;
  if (trial.nBelow < kMinValuesPerPiece || nAbove < kMinValuesPerPiece) return trial;
  trial.used = true;
  const int nb = trial.nBelow;
  const double* yLow = data.Y(Low).data();
  const double* yHigh = data.Y(High).data();

  const LineStats low = LowerPieceLine(x, yLow, nb);
  const double sseLow = PieceSSE<Low>(data, 0, nb, low.intercept, low.slope);
  // The anchor keeps its lower-type ordinate.
  const LineStats high = UpperPieceLine(x, yHigh, nb, nAbove, x[nb - 1], yLow[nb - 1]);
  const double sseHigh = PieceSSE<High>(data, nb, n, high.intercept, high.slope);
  trial.sse = sseLow + sseHigh;
  trial.slopeLow = low.slope;
  trial.interceptLow = low.intercept;
  trial.slopeHigh = high.slope;
  trial.interceptHigh = high.intercept;
  trial.sxxLow = low.sxx;
  trial.meanYHigh = high.meanY;
  trial.meanXHigh = high.meanX;
  return trial;
}

}  // namespace

namespace {

// The trial with the upper type chosen at compile time for a given lower type.
template <Transform Low>
PieceTrial TrialWithLow(Transform high, const FitData& data, double breakValue) {
  using T = Transform;
  switch (high) {
    case T::Gumbel:
      return Trial<Low, T::Gumbel>(data, breakValue);
    case T::MirroredGumbel:
      return Trial<Low, T::MirroredGumbel>(data, breakValue);
    case T::Logistic:
      return Trial<Low, T::Logistic>(data, breakValue);
    case T::Exponential:
      return Trial<Low, T::Exponential>(data, breakValue);
    default:
      return PieceTrial{};
  }
}

}  // namespace

PieceTrial TwoPieceTrial(int code, const FitData& data, double breakValue) {
  using T = Transform;
  if (!IsTwoPieceCode(code)) return PieceTrial{};
  const PieceKinds kinds = TwoPieceKinds(code);
  switch (kinds.lower) {
    case T::Gumbel:
      return TrialWithLow<T::Gumbel>(kinds.upper, data, breakValue);
    case T::MirroredGumbel:
      return TrialWithLow<T::MirroredGumbel>(kinds.upper, data, breakValue);
    case T::Logistic:
      return TrialWithLow<T::Logistic>(kinds.upper, data, breakValue);
    default:
      return PieceTrial{};
  }
}

std::vector<Candidate> FitTwoPieceCodes(AnalysisState& state, const FitData& data,
                                        const Workers& workers) {
  // The two-piece codes in code order.
  std::vector<int> codes;
  for (const CodeInfo& row : Catalogue()) {
    if (row.fit == FitMethod::TwoPiece) codes.push_back(row.code);
  }
  const int codeCount = static_cast<int>(codes.size());
  constexpr int kTrials = kBreakSteps - 1;
  state.NrOfTrials = kBreakSteps;
  std::vector<Candidate> candidates;
  if (data.n < 2) {  // nothing to split
    for (int code : codes) candidates.push_back(Candidate{code, kNoFitSSE});
    return candidates;
  }
  const std::vector<double> grid = BreakGrid(data.x[0], data.x[data.n - 1]);

  std::vector<PieceTrial> trials(codeCount * kTrials);
  workers.ForEach(codeCount * kTrials, [&](int index, int) {
    trials[index] = TwoPieceTrial(codes[index / kTrials], data, grid[index % kTrials + 1]);
  });

  for (int c = 0; c < codeCount; ++c) {
    const int code = codes[c];
    state.Code = code;
    Candidate candidate;
    candidate.code = code;
    candidate.sse = kNoFitSSE;
    for (int j = 1; j <= kTrials; ++j) {
      const PieceTrial& trial = trials[c * kTrials + j - 1];
      state.TrialBreak = grid[j];
      state.NBelow = trial.nBelow;
      if (!trial.used) continue;
      // What the last pair of piece fits leaves behind.
      state.Sxx = trial.sxxLow;
      state.MeanY = trial.meanYHigh;
      state.MeanX = trial.meanXHigh;
      state.Slope = trial.slopeHigh;
      state.Intercept = trial.interceptHigh;
      // A trial whose lines overflowed has no fit, whatever its SSE.
      const bool finite = std::isfinite(trial.sse) && std::isfinite(trial.slopeLow) &&
                          std::isfinite(trial.interceptLow) && std::isfinite(trial.slopeHigh) &&
                          std::isfinite(trial.interceptHigh);
      if (finite && trial.sse < candidate.sse) {
        candidate.sse = trial.sse;
        candidate.slopeLow = trial.slopeLow;
        candidate.interceptLow = trial.interceptLow;
        candidate.slopeHigh = trial.slopeHigh;
        candidate.interceptHigh = trial.interceptHigh;
        candidate.breakValue = grid[j];
        candidate.nBelow = trial.nBelow;
      }
    }
    state.ScanCounts.push_back({code, kTrials});
    candidates.push_back(candidate);
  }
  return candidates;
}

}  // namespace quilmor::engine
