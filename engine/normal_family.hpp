// The normal family: the values are transformed, x′ = X (21), ln X (22),
// X² (23), √X (24) or X^E (25), and
//   Fc = Φ((x′ − mean)/σ),
// Φ by Hastings' approximation, mean the average of x′ and σ the standard
// deviation with the smallest SSE on a grid around the sample value s:
// σ_k = (k + 99)·s/200, k = 1..201, i.e. 0.5·s to 1.5·s. Code 25 wraps this
// in a scan of E = 0.20 … 2.99.
#pragma once

#include <limits>

#include "engine/analysis_state.hpp"
#include "engine/fit_data.hpp"
#include "engine/fit_series.hpp"
#include "engine/workers.hpp"

namespace quilmor::engine {

inline constexpr int kSigmaTrials = 201;
// Code 25 shows these lines in the progress display after exponent trials
// 120 and 240 (of 280): the fit takes a while.
inline constexpr int kStillBusyTrial = 120;
inline constexpr int kProgressingTrial = 240;
inline constexpr const char* kStillBusyNotice = " Still busy ....";
inline constexpr const char* kProgressingNotice = " Progressing ...";

// σ of trial k for the sample standard deviation s: (k + 99)·s/200.
double SigmaTrial(int k, double s);

// SSE of Fc_i = HastingsFreq((x′_i − mean)/σ) over n points.
double NormalSSE(const double* xPrime, const double* fr, int n, double mean, double sigma);

struct SigmaSearchResult {
  double mean = 0.0;      // Σx′/N
  double sxx = 0.0;       // Σx′² − (Σx′)²/N
  double s = 0.0;         // √(Sxx/(N − 1))
  bool searched = false;  // false: no spread in x′, so no σ was searched
  double sigma = 0.0;     // the chosen σ_k (the smaller σ on a tie)
  double sse = 0.0;       // its SSE
};

// The standard-deviation search on the transformed values x′. With
// `workers` the 201 trials are shared out; without, they run here in order.
SigmaSearchResult SigmaSearch(const double* xPrime, const double* fr, int n,
                              const Workers* workers = nullptr);

// The same with x′ given once per run of equal values (fit_data.hpp), Fc
// once per run: bit for bit the plain forms on the spread values.
double NormalSSE(const double* runXPrime, const ValueRuns& runs, const double* fr, double mean,
                 double sigma);
// With `partialTrials` (fit_data.hpp) the trials run in order, here, and a
// trial stops summing once it reaches the best before it: the same choice.
SigmaSearchResult SigmaSearch(const double* runXPrime, const ValueRuns& runs, const double* fr,
                              const Workers* workers = nullptr, bool partialTrials = false);

// Fits the normal-family code held in state.Code (21..25) and writes
// NormMean, NormStdDev, NormSigma and NormSSE of that code (code 25: ExpE[25]
// and the frequencies of the final fit in CalcFreq; 21..24: StdDevX, Sxx and
// the frequencies of the last σ trial in CalcFreq). Returns false when the
// transformed values have no spread: NormSigma and NormSSE then keep the
// values they had.
// Code 25 sends its two progress lines to `notice`.
bool FitNormalFamily(AnalysisState& state, const FitData& data, const Workers& workers,
                     const Notice& notice = {});

// The same for a caller without prepared fit data: all cores.
bool FitNormalFamily(AnalysisState& state, const Notice& notice = {});

}  // namespace quilmor::engine
