// Limits from the replicates of a bootstrap: percentiles of the replicates'
// values, the bias-corrected percentile limits, and the basic (reflected)
// limits.
//
// Percentiles are "type 7" (the common default of statistics programs): with
// the n values sorted, x_(1) <= ... <= x_(n), the p-th quantile lies at
// h = (n − 1)·p + 1 and is x_(⌊h⌋) + (h − ⌊h⌋)·(x_(⌊h⌋+1) − x_(⌊h⌋)), the linear
// interpolation between neighbouring order statistics; p = 0 gives the least
// value, p = 1 the largest. NaN entries (replicates without a value) are left
// out and counted; infinite ones are kept as ordered values.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace quilmor::engine {

// The nominal coverage of the limits: 90 %, the 5th and 95th percentiles.
inline constexpr double kBootstrapCoverage = 0.90;

struct Limits {
  double lower;
  double upper;
};

// The values of a sample in ascending order without its NaN entries.
struct SortedSample {
  std::vector<double> values;
  std::size_t leftOut = 0;  // NaN entries removed
};
SortedSample SortWithoutNaN(std::span<const double> sample);

// Type-7 quantile of an ascending sample without NaN, 0 <= p <= 1. NaN for an
// empty sample; between −∞ and +∞, NaN; next to one infinite value, that value.
double QuantileOfSorted(std::span<const double> sorted, double p);

// The 5th, 50th and 95th percentiles of the replicates (for kBootstrapCoverage;
// other coverages give their own tails), with the counts behind them.
struct ReplicateSummary {
  double lower;   // (1 − coverage)/2 quantile
  double median;  // 1/2 quantile
  double upper;   // (1 + coverage)/2 quantile
  std::size_t used = 0;
  std::size_t leftOut = 0;  // NaN entries
};
ReplicateSummary SummariseReplicates(std::span<const double> replicates,
                                     double coverage = kBootstrapCoverage);

// Bias-corrected percentile limits (Efron): with z0 = Φ⁻¹(share of the
// replicates below the estimate, ties counted half) and z_α the normal
// quantiles of the two tails, the limits are the quantiles at Φ(2·z0 + z_α).
// NaN limits when no replicate has a value or when every one lies on one side
// of the estimate (the correction is then infinite).
Limits BiasCorrectedLimits(std::span<const double> replicates, double estimate,
                           double coverage = kBootstrapCoverage);

// Basic bootstrap limits, the percentile limits reflected about the estimate:
// (2θ − q_upper, 2θ − q_lower).
Limits BasicLimits(const Limits& percentile, double estimate);

// The standard normal distribution: Φ(z) = erfc(−z/√2)/2, and its inverse
// (Acklam's rational approximation refined by one Halley step, within a few
// units in the last place; −∞ at 0, +∞ at 1, NaN outside [0, 1]).
double StandardNormalCdf(double z);
double StandardNormalQuantile(double p);

}  // namespace quilmor::engine
