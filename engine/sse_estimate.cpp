#include "engine/sse_estimate.hpp"

#include <algorithm>
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
  using I = std::int64_t __attribute__((vector_size(32)));  // masks of comparisons
  using U = std::uint64_t __attribute__((vector_size(32)));
};
template <>
struct Vec<8> {
  using D = double __attribute__((vector_size(64)));
  using I = std::int64_t __attribute__((vector_size(64)));  // masks of comparisons
  using U = std::uint64_t __attribute__((vector_size(64)));
};

constexpr double kInvLn2 = 0x1.71547652b82fep0;
// Adding 1.5·2^52 rounds to an integer held in the low bits.
constexpr double kRoundShift = 0x1.8p52;
constexpr std::uint64_t kRoundShiftBits = 0x4338000000000000;
// ln 2 in two parts, the first short enough that k·kLn2High is exact.
constexpr double kLn2High = 0x1.62e42fee00000p-1;
constexpr double kLn2Low = 0x1.a39ef35793c76p-33;

// e^x for x within the range: 2^k · e^r, |r| ≤ ln2/2, e^r by its Taylor
// series to r^12/12!, the first term left out below 2e-16 of the sum.
template <int N>
[[gnu::always_inline]] inline void ExpLanes(typename Vec<N>::D& x) {
  using D = typename Vec<N>::D;
  using U = typename Vec<N>::U;
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
  // 2^k from the low bits of the shifted sum (unsigned: a lane out of range
  // wraps around harmlessly).
  U exponent;
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

// What the estimates of kEstimateLanes trials need, one lane per trial.
struct LaneSums {
  double largestTerms[kEstimateLanes];  // the largest |I| + |S·x′| + |Z|
  std::int64_t inRange[kEstimateLanes];  // 0 where a Z lies out of range or is not a number
  double squares[kEstimateLanes];        // Σ d′²
  double sizes[kEstimateLanes];          // Σ |d′|
};

// Fc′ of every run in each lane's Frechet line: Z = I + S·x′, W′ ≈ exp(Z),
// Fc′ ≈ exp(−W′), and Fc′ = 0 from W′ = 700 on; then the deviations
// d′ = Fr − Fc′ of the ranks. A lane whose Z is out of range holds what it may.
[[gnu::always_inline]] inline void FrechetLanes(const double* runXPrime, const ValueRuns& runs,
                                                const double* fr, const double* intercepts,
                                                const double* slopes, double* fc, LaneSums& out) {
  using D = Vec<kEstimateLanes>::D;
  using I = Vec<kEstimateLanes>::I;
  const D range = D{} + kExpEstimateRange;
  const D zero = D{};
  D intercept, slope;
  std::memcpy(&intercept, intercepts, sizeof intercept);
  std::memcpy(&slope, slopes, sizeof slope);
  const D absIntercept = intercept < zero ? -intercept : intercept;
  D largest = zero;
  I inRange = I{} - 1;
  const int count = runs.Count();
  for (int r = 0; r < count; ++r) {
    D x;
    std::memcpy(&x, runXPrime + static_cast<std::ptrdiff_t>(r) * kEstimateLanes, sizeof x);
    const D sx = slope * x;
    D w = intercept + sx;
    const D absZ = w < zero ? -w : w;
    const D absSx = sx < zero ? -sx : sx;
    inRange &= absZ <= range;
    const D terms = absIntercept + absSx + absZ;
    largest = terms > largest ? terms : largest;
    ExpLanes<kEstimateLanes>(w);
    D f = -(w < range ? w : range);
    ExpLanes<kEstimateLanes>(f);
    f = w >= range ? zero : f;
    std::memcpy(fc + static_cast<std::ptrdiff_t>(r) * kEstimateLanes, &f, sizeof f);
  }
  // Two partial sums per lane (an estimate needs no particular order).
  D squares[2] = {zero, zero};
  D sizes[2] = {zero, zero};
  const int n = runs.Ranks();
  const int* of = runs.of.data();
  for (int i = 0; i < n; ++i) {
    D f;
    std::memcpy(&f, fc + static_cast<std::ptrdiff_t>(of[i]) * kEstimateLanes, sizeof f);
    const D d = fr[i] - f;
    squares[i & 1] += d * d;
    sizes[i & 1] += d < zero ? -d : d;
  }
  const D sumSquares = squares[0] + squares[1];
  const D sumSizes = sizes[0] + sizes[1];
  std::memcpy(out.largestTerms, &largest, sizeof largest);
  std::memcpy(out.inRange, &inRange, sizeof inRange);
  std::memcpy(out.squares, &sumSquares, sizeof sumSquares);
  std::memcpy(out.sizes, &sumSizes, sizeof sumSizes);
}

using ExpKernel = void (*)(const double*, double*, int);
using FrechetKernel = void (*)(const double*, const ValueRuns&, const double*, const double*,
                               const double*, double*, LaneSums&);

#if defined(__GNUC__) && defined(__x86_64__)
[[gnu::target("avx512f")]] void ExpBlocks512(const double* x, double* out, int n) {
  ExpBlocks<8>(x, out, n);
}
[[gnu::target("avx512f")]] void FrechetLanes512(const double* runXPrime, const ValueRuns& runs,
                                                const double* fr, const double* intercepts,
                                                const double* slopes, double* fc, LaneSums& out) {
  FrechetLanes(runXPrime, runs, fr, intercepts, slopes, fc, out);
}
[[gnu::target("avx2,fma")]] void ExpBlocksAvx2(const double* x, double* out, int n) {
  ExpBlocks<4>(x, out, n);
}
[[gnu::target("avx2,fma")]] void FrechetLanesAvx2(const double* runXPrime, const ValueRuns& runs,
                                                  const double* fr, const double* intercepts,
                                                  const double* slopes, double* fc,
                                                  LaneSums& out) {
  FrechetLanes(runXPrime, runs, fr, intercepts, slopes, fc, out);
}
#endif

void ExpBlocksPlain(const double* x, double* out, int n) { ExpBlocks<4>(x, out, n); }
void FrechetLanesPlain(const double* runXPrime, const ValueRuns& runs, const double* fr,
                       const double* intercepts, const double* slopes, double* fc, LaneSums& out) {
  FrechetLanes(runXPrime, runs, fr, intercepts, slopes, fc, out);
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
  FrechetKernel frechet = FrechetLanesPlain;
};

Kernels KernelsOf(EstimateForm form) {
#if defined(__GNUC__) && defined(__x86_64__)
  if (form == EstimateForm::Avx512) return {ExpBlocks512, FrechetLanes512};
  if (form == EstimateForm::Avx2) return {ExpBlocksAvx2, FrechetLanesAvx2};
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

void FrechetSseEstimates(const double* runXPrime, const ValueRuns& runs, const double* fr,
                         const double* intercepts, const double* slopes, double* scratch,
                         SseEstimate* estimates, EstimateForm form) {
  LaneSums sums;
  KernelsFor(form).frechet(runXPrime, runs, fr, intercepts, slopes, scratch, sums);
  const int n = runs.Ranks();
  // Both sums of n squares round by at most γ of their size.
  const double gamma = (n + 1) * kUnit / (1.0 - (n + 1) * kUnit);
  for (int k = 0; k < kEstimateLanes; ++k) {
    estimates[k] = {};
    if (sums.inRange[k] == 0) continue;
    // Where W′ ≥ 700 both exp(−W) and exp(−W′) lie below e^−699: Fc′ = 0.
    // Elsewhere |Fc − Fc′| ≤ e^−W′·(1.003·a·W′ + 2u + ε), where |ln(W′/W)| ≤ a
    // for the exact exponential W (within one unit in the last place, 2u
    // relative) and a Z that could differ by 2u of the largest
    // |I| + |S·x′| + |Z|; as e^−W′·W′ ≤ 1/e, one bound holds for every run.
    const double a =
        1.01 * (kExpEstimateError + 2.0 * kUnit + 2.0 * kUnit * sums.largestTerms[k]);
    if (!(a * kExpEstimateRange <= kLargestRelativeShift)) continue;
    const double frequencyBound =
        0.4 * a + 1.03 * (2.0 * kUnit + kExpEstimateError) + kTinyFrequency;
    // |d − d_exact| ≤ e = 1.01·bound + 2.01u·|d′| (the frequencies' distance
    // and both subtractions' rounding), so Σ|d² − d′²| ≤ Σ e·(2|d′| + e),
    // which is at most `spread`.
    const double sse = sums.squares[k];
    const double e = 1.01 * frequencyBound;
    const double spread = 2.0001 * e * sums.sizes[k] + n * e * e + 4.03 * kUnit * sse;
    // Twice what the analysis gives, for the rounding of these sums themselves.
    const double margin = 2.0 * 1.01 * (spread + gamma * (2.0 * sse + spread));
    estimates[k] = {sse, margin, std::isfinite(sse) && std::isfinite(margin)};
  }
}

}  // namespace quilmor::engine
