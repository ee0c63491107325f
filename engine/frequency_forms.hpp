// From a fitted line value Z back to a calculated frequency Fc, with the caps
// and clamps that keep a trial that drives the line out of range from winning,
// and the goodness criterion SSE = Σ (Fr − Fc)².
#pragma once

#include <cmath>
#include <vector>

#include "engine/catalogue.hpp"
#include "engine/fit_data.hpp"

namespace quilmor::engine {

// Beyond |Z| = 8 the exponentials of the Gumbel forms leave any useful range.
inline constexpr double kZLimit = 8.0;
// Fc given under the power and exponential caps. Not a frequency: it makes the
// squared deviation of the point large, so that the trial loses.
inline constexpr double kCappedFreq = 8.0;

// Z limited to [−8, 8]; exactly ±8 stays as it is.
inline double ClampZ(double z) {
  if (z > kZLimit) return kZLimit;
  if (z < -kZLimit) return -kZLimit;
  return z;
}

// Fc of a single function of type T from Z = I + S·x′ (for Pareto Z = S·x′).
template <Transform T>
inline double SingleFitFreq(double z) {
  if constexpr (T == Transform::Power) {
    // Fc = exp(Z), capped from Z = 8 on.
    return z >= kZLimit ? kCappedFreq : std::exp(z);
  } else if constexpr (T == Transform::Exponential) {
    // Fc = 1 − exp(−Z), capped from Z = −8 down.
    return z <= -kZLimit ? kCappedFreq : 1.0 - std::exp(-z);
  } else if constexpr (T == Transform::Gumbel) {
    // Fc = exp(−exp(−Z)), Z clamped.
    return std::exp(-std::exp(-ClampZ(z)));
  } else if constexpr (T == Transform::MirroredGumbel) {
    // Fc = 1 − exp(−exp(−Z)), Z clamped.
    return 1.0 - std::exp(-std::exp(-ClampZ(z)));
  } else if constexpr (T == Transform::Logistic) {
    // Fc = 1 / (1 + exp(Z)).
    return 1.0 / (1.0 + std::exp(z));
  } else if constexpr (T == Transform::Weibull) {
    // Fc = 1 − exp(−W), W = exp(Z) clamped.
    return 1.0 - std::exp(-ClampZ(std::exp(z)));
  } else if constexpr (T == Transform::Frechet) {
    // Fc = exp(−W), W = exp(Z).
    return std::exp(-std::exp(z));
  } else {
    // Pareto: Fc = 1 − exp(S·x′).
    return 1.0 - std::exp(z);
  }
}

// Fc of one piece of a two-piece function from Z = I + S·X: Gumbel pieces
// clamp Z, exponential pieces cap from Z = −8 down, mirrored Gumbel and
// logistic pieces take Z as it is.
template <Transform T>
inline double PieceFreq(double z) {
  if constexpr (T == Transform::Gumbel) {
    return std::exp(-std::exp(-ClampZ(z)));
  } else if constexpr (T == Transform::MirroredGumbel) {
    return 1.0 - std::exp(-std::exp(-z));
  } else if constexpr (T == Transform::Logistic) {
    return 1.0 / (1.0 + std::exp(z));
  } else {
    static_assert(T == Transform::Exponential, "no piece of this type");
    return z <= -kZLimit ? kCappedFreq : 1.0 - std::exp(-z);
  }
}

// The same forms chosen at run time.
double SingleFitFreq(Transform type, double z);
double PieceFreq(Transform type, double z);

// SSE of a single function of type T over n points with the line (I, S) on
// the abscissae xPrime: Σ (Fr − Fc)², ranks in order.
template <Transform T>
inline double LineSSE(const double* xPrime, const double* fr, int n, double intercept,
                      double slope) {
  double sse = 0.0;
  for (int i = 0; i < n; ++i) {
    const double d = fr[i] - SingleFitFreq<T>(intercept + slope * xPrime[i]);
    sse += d * d;
  }
  return sse;
}

double LineSSE(Transform type, const double* xPrime, const double* fr, int n, double intercept,
               double slope);

// The same SSE with the abscissae given once per run of equal values
// (fit_data.hpp): Fc is computed once per run, and every rank of the run adds
// its own squared deviation, in rank order.
template <Transform T>
inline double LineSSE(const double* runXPrime, const ValueRuns& runs, const double* fr,
                      double intercept, double slope) {
  double sse = 0.0;
  const int count = runs.Count();
  int i = 0;
  for (int r = 0; r < count; ++r) {
    const double fc = SingleFitFreq<T>(intercept + slope * runXPrime[r]);
    for (const int end = runs.end[r]; i < end; ++i) {
      const double d = fr[i] - fc;
      sse += d * d;
    }
  }
  return sse;
}

double LineSSE(Transform type, const double* runXPrime, const ValueRuns& runs, const double* fr,
               double intercept, double slope);

// The same SSE in two passes: Fc of every run into fc[0..runs), then the
// deviations rank by rank, in rank order. Bit for bit the one-pass form; the
// frequencies of the runs, free of the sum, overlap better.
template <Transform T>
inline double LineSSETwoPass(const double* runXPrime, const ValueRuns& runs, const double* fr,
                             double intercept, double slope, double* fc) {
  const int count = runs.Count();
  for (int r = 0; r < count; ++r) fc[r] = SingleFitFreq<T>(intercept + slope * runXPrime[r]);
  double sse = 0.0;
  const int n = runs.Ranks();
  const int* of = runs.of.data();
  for (int i = 0; i < n; ++i) {
    const double d = fr[i] - fc[of[i]];
    sse += d * d;
  }
  return sse;
}

// The same sum, given up once it reaches `limit` after a run: then the
// partial sum (not below `limit`) is returned. Below the limit it is the
// whole sum, bit for bit.
template <Transform T>
inline double LineSSE(const double* runXPrime, const ValueRuns& runs, const double* fr,
                      double intercept, double slope, double limit) {
  double sse = 0.0;
  const int count = runs.Count();
  int i = 0;
  for (int r = 0; r < count; ++r) {
    const double fc = SingleFitFreq<T>(intercept + slope * runXPrime[r]);
    for (const int end = runs.end[r]; i < end; ++i) {
      const double d = fr[i] - fc;
      sse += d * d;
    }
    if (sse >= limit) return sse;
  }
  return sse;
}

}  // namespace quilmor::engine
