// Fixed-seed samples for the benchmarks. The uniform numbers come from
// std::mt19937 (its sequence is fixed by the standard); the transforms to
// normal, log-normal and Gumbel are our own, so the samples do not depend on
// the standard library's distributions.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace quilmor::bench {

// Uniform in (0, 1), never 0 or 1.
inline double Uniform(std::mt19937& generator) {
  return (static_cast<double>(generator()) + 0.5) / 4294967296.0;
}

// Standard normal quantile (Acklam's rational approximation, relative error
// below 1.2e-9): plenty for a benchmark sample.
inline double NormalQuantile(double p) {
  static const double a[] = {-3.969683028665376e+01, 2.209460984245205e+02,  -2.759285104469687e+02,
                             1.383577518672690e+02,  -3.066479806614716e+01, 2.506628277459239e+00};
  static const double b[] = {-5.447609879822406e+01, 1.615858368580409e+02, -1.556989798598866e+02,
                             6.680131188771972e+01, -1.328068155288572e+01};
  static const double c[] = {-7.784894002430293e-03, -3.223964580411365e-01, -2.400758277161838e+00,
                             -2.549732539343734e+00, 4.374664141464968e+00,  2.938163982698783e+00};
  static const double d[] = {7.784695709041462e-03, 3.224671290700398e-01, 2.445134137142996e+00,
                             3.754408661907416e+00};
  constexpr double kLow = 0.02425;
  if (p < kLow) {
    const double q = std::sqrt(-2.0 * std::log(p));
    return (((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
           ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1.0);
  }
  if (p > 1.0 - kLow) return -NormalQuantile(1.0 - p);
  const double q = p - 0.5;
  const double r = q * q;
  return (((((a[0] * r + a[1]) * r + a[2]) * r + a[3]) * r + a[4]) * r + a[5]) * q /
         (((((b[0] * r + b[1]) * r + b[2]) * r + b[3]) * r + b[4]) * r + 1.0);
}

enum class Sample { LogNormal, Normal, Gumbel };

// `count` values of the sample, seeded by `seed`.
inline std::vector<double> MakeSample(Sample kind, int count, std::uint32_t seed) {
  std::mt19937 generator(seed);
  std::vector<double> values;
  values.reserve(count);
  for (int i = 0; i < count; ++i) {
    const double u = Uniform(generator);
    switch (kind) {
      case Sample::LogNormal:  // median e^2 ≈ 7.4, σ of ln X 0.75
        values.push_back(std::exp(2.0 + 0.75 * NormalQuantile(u)));
        break;
      case Sample::Normal:  // mean 100, standard deviation 15
        values.push_back(100.0 + 15.0 * NormalQuantile(u));
        break;
      case Sample::Gumbel:  // location 50, scale 12
        values.push_back(50.0 - 12.0 * std::log(-std::log(u)));
        break;
    }
  }
  return values;
}

}  // namespace quilmor::bench
