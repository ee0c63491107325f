#include "engine/bootstrap_limits.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

namespace quilmor::engine {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Acklam's coefficients, highest power first: a/b for the central region
// kTail <= p <= 1 − kTail (in r = (p − 1/2)²), c/d for the tails (in
// q = √(−2 ln p)); the denominators end in their constant 1.
constexpr std::array<double, 6> kA = {-3.969683028665376e+01, 2.209460984245205e+02,
                                      -2.759285104469687e+02, 1.383577518672690e+02,
                                      -3.066479806614716e+01, 2.506628277459239e+00};
constexpr std::array<double, 6> kB = {-5.447609879822406e+01, 1.615858368580409e+02,
                                      -1.556989798598866e+02, 6.680131188771972e+01,
                                      -1.328068155288572e+01, 1.0};
constexpr std::array<double, 6> kC = {-7.784894002430293e-03, -3.223964580411365e-01,
                                      -2.400758277161838e+00, -2.549732539343734e+00,
                                      4.374664141464968e+00,  2.938163982698783e+00};
constexpr std::array<double, 5> kD = {7.784695709041462e-03, 3.224671290700398e-01,
                                      2.445134137142996e+00, 3.754408661907416e+00, 1.0};
constexpr double kTail = 0.02425;

// Horner's scheme, highest coefficient first.
template <std::size_t K>
double Polynomial(const std::array<double, K>& coefficients, double x) {
  double sum = 0.0;
  for (double c : coefficients) sum = sum * x + c;
  return sum;
}

// Lower-tail approximation at p < kTail.
double LowerTail(double p) {
  const double q = std::sqrt(-2.0 * std::log(p));
  return Polynomial(kC, q) / Polynomial(kD, q);
}

}  // namespace

SortedSample SortWithoutNaN(std::span<const double> sample) {
  SortedSample sorted;
  sorted.values.reserve(sample.size());
  for (double v : sample) {
    if (std::isnan(v)) {
      ++sorted.leftOut;
    } else {
      sorted.values.push_back(v);
    }
  }
  std::sort(sorted.values.begin(), sorted.values.end());
  return sorted;
}

double QuantileOfSorted(std::span<const double> sorted, double p) {
  if (sorted.empty() || !(p >= 0.0 && p <= 1.0)) return kNaN;
  const double h = static_cast<double>(sorted.size() - 1) * p;  // from 0
  const auto below = static_cast<std::size_t>(std::floor(h));
  const double fraction = h - static_cast<double>(below);
  const double lo = sorted[below];
  if (fraction == 0.0 || below + 1 >= sorted.size()) return lo;
  const double hi = sorted[below + 1];
  if (lo == hi) return lo;
  if (std::isinf(lo)) return std::isinf(hi) ? kNaN : lo;  // −∞ below a finite value
  if (std::isinf(hi)) return hi;                          // +∞ above a finite value
  return lo + fraction * (hi - lo);
}

ReplicateSummary SummariseReplicates(std::span<const double> replicates, double coverage) {
  const SortedSample sorted = SortWithoutNaN(replicates);
  const double tail = (1.0 - coverage) / 2.0;
  return {QuantileOfSorted(sorted.values, tail), QuantileOfSorted(sorted.values, 0.5),
          QuantileOfSorted(sorted.values, 1.0 - tail), sorted.values.size(), sorted.leftOut};
}

Limits BiasCorrectedLimits(std::span<const double> replicates, double estimate, double coverage) {
  const SortedSample sorted = SortWithoutNaN(replicates);
  const std::vector<double>& v = sorted.values;
  if (v.empty() || std::isnan(estimate)) return {kNaN, kNaN};
  const auto first = std::lower_bound(v.begin(), v.end(), estimate);
  const auto last = std::upper_bound(first, v.end(), estimate);
  const double share =
      (static_cast<double>(first - v.begin()) + 0.5 * static_cast<double>(last - first)) /
      static_cast<double>(v.size());
  if (share <= 0.0 || share >= 1.0) return {kNaN, kNaN};
  const double z0 = StandardNormalQuantile(share);
  const double tail = (1.0 - coverage) / 2.0;
  const double zLower = StandardNormalQuantile(tail);
  const double zUpper = StandardNormalQuantile(1.0 - tail);
  return {QuantileOfSorted(v, StandardNormalCdf(2.0 * z0 + zLower)),
          QuantileOfSorted(v, StandardNormalCdf(2.0 * z0 + zUpper))};
}

Limits BasicLimits(const Limits& percentile, double estimate) {
  return {2.0 * estimate - percentile.upper, 2.0 * estimate - percentile.lower};
}

double StandardNormalCdf(double z) { return 0.5 * std::erfc(-z / std::numbers::sqrt2); }

double StandardNormalQuantile(double p) {
  if (!(p >= 0.0 && p <= 1.0)) return kNaN;
  if (p == 0.0) return -kInfinity;
  if (p == 1.0) return kInfinity;
  double x;
  if (p < kTail) {
    x = LowerTail(p);
  } else if (p > 1.0 - kTail) {
    x = -LowerTail(1.0 - p);
  } else {
    const double q = p - 0.5;
    const double r = q * q;
    x = Polynomial(kA, r) * q / Polynomial(kB, r);
  }
  // One Halley step on Φ(x) − p: e·√(2π)·exp(x²/2) is the Newton correction u,
  // and x − u/(1 + x·u/2) its third-order form.
  const double e = StandardNormalCdf(x) - p;
  const double u = e * std::sqrt(2.0 * std::numbers::pi) * std::exp(x * x / 2.0);
  return x - u / (1.0 + x * u / 2.0);
}

}  // namespace quilmor::engine
