#include "engine/sse_estimate.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace quilmor::engine {

namespace {

// Lanes of doubles: AVX-512 or AVX2 registers where the processor has them,
// pairs of SSE2 registers otherwise.
template <int N>
struct Vec;
template <>
struct Vec<4> {
  using D = double __attribute__((vector_size(32)));
  using I = std::int64_t __attribute__((vector_size(32)));
};
template <>
struct Vec<8> {
  using D = double __attribute__((vector_size(64)));
  using I = std::int64_t __attribute__((vector_size(64)));
};

constexpr double kInvLn2 = 0x1.71547652b82fep0;
// Adding 1.5·2^52 rounds to an integer held in the low bits.
constexpr double kRoundShift = 0x1.8p52;
constexpr std::int64_t kRoundShiftBits = 0x4338000000000000;
// ln 2 in two parts, the first short enough that k·kLn2High is exact.
constexpr double kLn2High = 0x1.62e42fee00000p-1;
constexpr double kLn2Low = 0x1.a39ef35793c76p-33;

// e^x for x within the range: 2^k · e^r, |r| ≤ ln2/2, e^r by its Taylor
// series to r^12/12!, the first term left out below 2e-16 of the sum.
template <int N>
[[gnu::always_inline]] inline void ExpLanes(typename Vec<N>::D& x) {
  using D = typename Vec<N>::D;
  using I = typename Vec<N>::I;
  const D shifted = x * kInvLn2 + kRoundShift;
  const D k = shifted - kRoundShift;
  const D r = (x - k * kLn2High) - k * kLn2Low;
  // Estrin's scheme: short chains of products, coefficients 1/k!.
  const D r2 = r * r;
  const D r4 = r2 * r2;
  const D r8 = r4 * r4;
  const D p01 = 1.0 + r;
  const D p23 = 1.0 / 2 + r * (1.0 / 6);
  const D p45 = 1.0 / 24 + r * (1.0 / 120);
  const D p67 = 1.0 / 720 + r * (1.0 / 5040);
  const D p89 = 1.0 / 40320 + r * (1.0 / 362880);
  const D p1011 = 1.0 / 3628800 + r * (1.0 / 39916800);
  const D p03 = p01 + r2 * p23;
  const D p47 = p45 + r2 * p67;
  const D p811 = p89 + r2 * p1011;
  const D p07 = p03 + r4 * p47;
  const D p812 = p811 + r4 * (1.0 / 479001600);
  const D p = p07 + r8 * p812;
  I exponent;
  std::memcpy(&exponent, &shifted, sizeof exponent);
  exponent = (exponent - kRoundShiftBits + 1023) << 52;
  D scale;
  std::memcpy(&scale, &exponent, sizeof scale);
  x = p * scale;
}

template <int N>
[[gnu::always_inline]] inline void ExpBlocks(const double* x, double* out, int n) {
  using D = typename Vec<N>::D;
  const D range = D{} + kExpEstimateRange;
  for (int i = 0; i < n; i += N) {
    const int lanes = std::min(N, n - i);
    D v = D{};
    std::memcpy(&v, x + i, sizeof(double) * lanes);
    v = v > range ? range : v;
    v = v < -range ? -range : v;
    ExpLanes<N>(v);
    std::memcpy(out + i, &v, sizeof(double) * lanes);
  }
}

// Fc′ of the runs of a Frechet line, N at a time: Z = I + S·x′, W′ ≈ exp(Z),
// Fc′ ≈ exp(−W′), and Fc′ = 0 from W′ = 700 on. `largestTerms` gets the
// largest |I| + |S·x′| + |Z|. False where a Z lies out of range or is not a
// number (the lanes then hold what they may).
template <int N>
[[gnu::always_inline]] inline bool FrechetBlocks(const double* xPrime, int count, double intercept,
                                                 double slope, double* fc, double& largestTerms) {
  using D = typename Vec<N>::D;
  using I = typename Vec<N>::I;
  const D range = D{} + kExpEstimateRange;
  const D zero = D{};
  const double absIntercept = std::fabs(intercept);
  D largest = zero;
  I inRange = I{} - 1;
  for (int i = 0; i < count; i += N) {
    D x;
    const int lanes = std::min(N, count - i);
    if (lanes == N) {
      std::memcpy(&x, xPrime + i, sizeof x);
    } else {
      // The last block repeats its last abscissa.
      for (int k = 0; k < N; ++k) x[k] = xPrime[i + std::min(k, lanes - 1)];
    }
    const D sx = slope * x;
    D w = intercept + sx;
    const D absZ = w < zero ? -w : w;
    const D absSx = sx < zero ? -sx : sx;
    inRange &= absZ <= range;
    const D terms = absIntercept + absSx + absZ;
    largest = terms > largest ? terms : largest;
    ExpLanes<N>(w);
    D f = -(w < range ? w : range);
    ExpLanes<N>(f);
    f = w >= range ? zero : f;
    std::memcpy(fc + i, &f, sizeof(double) * lanes);
  }
  std::int64_t laneInRange[N];
  double laneLargest[N];
  std::memcpy(laneInRange, &inRange, sizeof laneInRange);
  std::memcpy(laneLargest, &largest, sizeof laneLargest);
  bool ok = true;
  double most = 0.0;
  for (int k = 0; k < N; ++k) {
    ok = ok && laneInRange[k] != 0;
    most = std::max(most, laneLargest[k]);
  }
  largestTerms = most;
  return ok;
}

using ExpKernel = void (*)(const double*, double*, int);
using FrechetKernel = bool (*)(const double*, int, double, double, double*, double&);

#if defined(__GNUC__) && defined(__x86_64__)
[[gnu::target("avx512f")]] void ExpBlocks512(const double* x, double* out, int n) {
  ExpBlocks<8>(x, out, n);
}
[[gnu::target("avx512f")]] bool FrechetBlocks512(const double* xPrime, int count,
                                                 double intercept, double slope, double* fc,
                                                 double& largestTerms) {
  return FrechetBlocks<8>(xPrime, count, intercept, slope, fc, largestTerms);
}
[[gnu::target("avx2,fma")]] void ExpBlocksAvx2(const double* x, double* out, int n) {
  ExpBlocks<4>(x, out, n);
}
[[gnu::target("avx2,fma")]] bool FrechetBlocksAvx2(const double* xPrime, int count,
                                                   double intercept, double slope, double* fc,
                                                   double& largestTerms) {
  return FrechetBlocks<4>(xPrime, count, intercept, slope, fc, largestTerms);
}
#endif

void ExpBlocksPlain(const double* x, double* out, int n) { ExpBlocks<4>(x, out, n); }
bool FrechetBlocksPlain(const double* xPrime, int count, double intercept, double slope,
                        double* fc, double& largestTerms) {
  return FrechetBlocks<4>(xPrime, count, intercept, slope, fc, largestTerms);
}

bool FormRuns(EstimateForm form) {
#if defined(__GNUC__) && defined(__x86_64__)
  switch (form) {
    case EstimateForm::Avx512:
      return __builtin_cpu_supports("avx512f");
    case EstimateForm::Avx2:
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    default:
      return true;
  }
#else
  return form == EstimateForm::Widest || form == EstimateForm::Plain;
#endif
}

struct Kernels {
  ExpKernel exp = ExpBlocksPlain;
  FrechetKernel frechet = FrechetBlocksPlain;
};

Kernels KernelsOf(EstimateForm form) {
#if defined(__GNUC__) && defined(__x86_64__)
  if (form == EstimateForm::Avx512) return {ExpBlocks512, FrechetBlocks512};
  if (form == EstimateForm::Avx2) return {ExpBlocksAvx2, FrechetBlocksAvx2};
#endif
  return {};
}

const Kernels& KernelsFor(EstimateForm form) {
  static const Kernels widest = KernelsOf(FormRuns(EstimateForm::Avx512) ? EstimateForm::Avx512
                                          : FormRuns(EstimateForm::Avx2) ? EstimateForm::Avx2
                                                                         : EstimateForm::Plain);
  static const Kernels avx512 = KernelsOf(EstimateForm::Avx512);
  static const Kernels avx2 = KernelsOf(EstimateForm::Avx2);
  static const Kernels plain = KernelsOf(EstimateForm::Plain);
  switch (form) {
    case EstimateForm::Widest:
      return widest;
    case EstimateForm::Avx512:
      return avx512;
    case EstimateForm::Avx2:
      return avx2;
    default:
      return plain;
  }
}

// The unit roundoff of double arithmetic.
constexpr double kUnit = std::numeric_limits<double>::epsilon() / 2;
// Absolute slack for frequencies near 0, where the exact exponential may
// underflow: far above any subnormal, far below anything an SSE can show.
constexpr double kTinyFrequency = 1e-300;
// Where W′ times its relative error is no longer small, no margin is given.
constexpr double kLargestRelativeShift = 1e-3;

}  // namespace

bool RunsHere(EstimateForm form) { return FormRuns(form); }

void ExpEstimates(const double* x, double* out, int n, EstimateForm form) {
  KernelsFor(form).exp(x, out, n);
}

SseEstimate FrechetSseEstimate(const double* runXPrime, const ValueRuns& runs, const double* fr,
                               double intercept, double slope, double* scratch,
                               EstimateForm form) {
  // Fc′ into z. Where W′ ≥ 700 both exp(−W) and exp(−W′) lie below e^−699:
  // Fc′ = 0. Elsewhere |Fc − Fc′| ≤ e^−W′·(1.003·a·W′ + 2u + ε), where
  // |ln(W′/W)| ≤ a for the exact exponential W (within one unit in the last
  // place, 2u relative) and a Z that could differ by 2u of the largest
  // |I| + |S·x′| + |Z|; as e^−W′·W′ ≤ 1/e, one bound holds for every run.
  const int count = runs.Count();
  double* z = scratch;
  double largestTerms = 0.0;
  if (!KernelsFor(form).frechet(runXPrime, count, intercept, slope, z, largestTerms)) return {};
  const double a = 1.01 * (kExpEstimateError + 2.0 * kUnit + 2.0 * kUnit * largestTerms);
  if (!(a * kExpEstimateRange <= kLargestRelativeShift)) return {};
  const double frequencyBound =
      0.4 * a + 1.03 * (2.0 * kUnit + kExpEstimateError) + kTinyFrequency;

  // The deviations d′ = Fr − Fc′, in four partial sums (an estimate needs no
  // particular order).
  const int n = runs.Ranks();
  const int* of = runs.of.data();
  double squares[4] = {0.0, 0.0, 0.0, 0.0};
  double sizes[4] = {0.0, 0.0, 0.0, 0.0};
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    for (int k = 0; k < 4; ++k) {
      const double d = fr[i + k] - z[of[i + k]];
      squares[k] += d * d;
      sizes[k] += std::fabs(d);
    }
  }
  for (; i < n; ++i) {
    const double d = fr[i] - z[of[i]];
    squares[0] += d * d;
    sizes[0] += std::fabs(d);
  }
  const double sse = (squares[0] + squares[1]) + (squares[2] + squares[3]);
  const double size = (sizes[0] + sizes[1]) + (sizes[2] + sizes[3]);
  // |d − d_exact| ≤ e = 1.01·bound + 2.01u·|d′| (the frequencies' distance and
  // both subtractions' rounding), so Σ|d² − d′²| ≤ Σ e·(2|d′| + e), which is
  // at most `spread`; both sums of n squares round by γ of their size.
  const double e = 1.01 * frequencyBound;
  const double spread = 2.0001 * e * size + n * e * e + 4.03 * kUnit * sse;
  const double gamma = (n + 1) * kUnit / (1.0 - (n + 1) * kUnit);
  // Twice what the analysis gives, for the rounding of these sums themselves.
  const double margin = 2.0 * 1.01 * (spread + gamma * (2.0 * sse + spread));
  return {sse, margin, std::isfinite(sse) && std::isfinite(margin)};
}

}  // namespace quilmor::engine
