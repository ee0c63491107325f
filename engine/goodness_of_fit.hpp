// Goodness of fit of one fitted function beside its SSE: measures that let a
// user compare candidates whose SSEs nearly tie. The SSE alone still decides
// the choice of function; these are shown, never used to choose.
//
// Inputs are plain arrays (index 0 = rank 1) so that any model can supply
// them: the ranked values, their plotting positions, the fitted function at
// each value and its inverse at each plotting position.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace quilmor::engine {

struct FittedSeries {
  std::span<const double> values;    // x_1 <= ... <= x_N
  std::span<const double> plotFreq;  // Fr_i, the plotting positions
  std::span<const double> calcFreq;  // Fc_i = F(x_i), the fitted function at each value
  std::span<const double> calcX;     // X(Fr_i), the fitted inverse at each plotting position
  int parameters = 0;                // k, the number of fitted parameters
};

// Every measure; NaN where it is not defined (see the functions below).
struct GoodnessOfFit {
  double sse = 0.0;
  double rmse = 0.0;
  double aicc = 0.0;
  double bic = 0.0;
  double ksDistance = 0.0;
  double andersonDarling = 0.0;
  double ppcc = 0.0;
};

// All measures of one fit. The four arrays have the same length N.
GoodnessOfFit ComputeGoodnessOfFit(const FittedSeries& fit);

// SSE = Σ (Fr_i − Fc_i)², ranks 1..N in order.
double SumOfSquaredDeviations(std::span<const double> plotFreq, std::span<const double> calcFreq);

// RMSE of the frequencies, √(SSE/N); NaN for N = 0.
double RootMeanSquareDeviation(double sse, std::size_t n);

// Information criteria of a least-squares fit with k parameters:
//   AICc = N·ln(SSE/N) + 2k + 2k(k+1)/(N−k−1)
//   BIC  = N·ln(SSE/N) + k·ln N
// NaN when SSE/N has no finite logarithm (SSE = 0, a perfect fit, or N = 0),
// and AICc also when N − k − 1 ≤ 0 (its correction term has no value there).
double CorrectedAkaike(double sse, std::size_t n, int k);
double BayesianInformation(double sse, std::size_t n, int k);

// Kolmogorov–Smirnov distance D = max_i max(i/N − Fc_i, Fc_i − (i−1)/N) of the
// ascending values' fitted frequencies. An Fc outside [0, 1] (such as the
// fitting's penalty value 8) is read as the nearest bound, so D never exceeds
// 1. NaN when N = 0 or any Fc_i is NaN.
double KolmogorovSmirnovDistance(std::span<const double> calcFreq);

// Anderson–Darling statistic
//   A² = −N − (1/N) Σ_i (2i−1)·[ln Fc_i + ln(1 − Fc_{N+1−i})].
// A fitted frequency of 0 or 1 would make A² infinite, though the method's
// clamps and tails produce such values routinely: each Fc is first kept within
// [kAndersonDarlingFloor, 1 − kAndersonDarlingFloor], so one such point adds
// about (2i−1)·23/N, a large but finite and comparable penalty. NaN when
// N = 0 or any Fc_i is NaN.
inline constexpr double kAndersonDarlingFloor = 1e-10;
double AndersonDarling(std::span<const double> calcFreq);

// Probability-plot correlation: Pearson's r of the ranked values x_i against
// the fitted inverse X(Fr_i). NaN when N < 2, when a value is not finite, or
// when either side has no spread.
double ProbabilityPlotCorrelation(std::span<const double> values, std::span<const double> calcX);

// One candidate's place in the table of candidates sorted by SSE.
struct SseRank {
  std::size_t index;  // position in the SSEs given
  bool nearBest;      // SSE within kNearBestShare of the smallest SSE
};
inline constexpr double kNearBestShare = 0.10;

// The candidates' indices in ascending order of SSE; equal SSEs keep their
// given order, NaN SSEs come last and are never near the best. The best
// itself is marked near the best.
std::vector<SseRank> RankBySse(std::span<const double> sse);

}  // namespace quilmor::engine
