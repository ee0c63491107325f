// Every code's fitted function both ways. Forward: Fc from X in the scale of
// the parameters. Inverse: X from F, shift added, NaN where the formula has
// no value; with the report's fallback (the rank's value), the guards the
// report applies before a logarithm or root stand beside the formula.
#include "engine/model_functions.hpp"

#include <cmath>
#include <limits>
#include <numbers>

#include "engine/catalogue.hpp"

namespace quilmor::engine {

namespace {

constexpr double kHastingsP = 0.23165;
constexpr double kHastingsB[5] = {0.31938, -0.35656, 1.78148, -1.82126, 1.33027};
// The bisection of the normal-family inversion runs over z in [-10, 10].
constexpr double kHastingsRange = 10.0;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// ln(1 - F) as the formulas write it. Where 1 - F rounds to 1 (F below
// 1.1e-16) the logarithm would be 0 and the far lower tail infinite; there
// ln(1 - F) is -F to the last bit.
double LogOfComplement(double f) {
  const double complement = 1.0 - f;
  if (complement == 1.0 && f > 0.0) return -f;
  return std::log(complement);
}

}  // namespace

double Power(double x, double p) { return std::exp(p * std::log(x)); }

double RootE(double v, double e) { return std::exp(std::log(v) / e); }

double HastingsFreq(double u) {
  if (std::isnan(u)) return 0.0;
  if (std::isinf(u)) return u > 0 ? 1.0 : 0.0;
  // The polynomial holds for u >= 0; the lower half is its mirror image.
  const double a = std::fabs(u);
  const double t = 1.0 / (1.0 + kHastingsP * a);
  const double t2 = t * t;
  const double t3 = t2 * t;
  const double t4 = t3 * t;
  const double t5 = t4 * t;
  // P = 0.31938 t - 0.35656 t^2 + 1.78148 t^3 - 1.82126 t^4 + 1.33027 t^5
  const double p = kHastingsB[0] * t + kHastingsB[1] * t2 + kHastingsB[2] * t3 +
                   kHastingsB[3] * t4 + kHastingsB[4] * t5;
  // phi = exp(-u^2/2) / sqrt(2 pi);  F = 1 - phi P
  const double phi = std::exp(-(a * a) / 2.0) / std::sqrt(2.0 * std::numbers::pi);
  // Below 0: F(u) = 1 - F(-u) = phi P, taken as the product itself so that
  // the far tail keeps its small positive frequencies instead of 1 - 1 = 0.
  return u >= 0.0 ? 1.0 - phi * p : phi * p;
}

double InvertHastings(double f) {
  double lo = -kHastingsRange;
  double hi = kHastingsRange;
  for (;;) {
    const double mid = (lo + hi) / 2.0;
    if (mid == lo || mid == hi) break;
    if (HastingsFreq(mid) > f) {
      hi = mid;
    } else {
      lo = mid;
    }
  }
  return hi;
}

double HastingsCache::Invert(double freq) {
  if (freq != f) {
    f = freq;
    z = InvertHastings(freq);
  }
  return z;
}

double GumbelInverse(double a, double b, double f) { return -(std::log(-std::log(f)) + b) / a; }

double MirroredGumbelInverse(double a, double b, double f) {
  return (-std::log(-LogOfComplement(f)) - b) / a;
}

double LogisticInverse(double a, double b, double f) {
  return (std::log(1.0 / f - 1.0) - b) * (1.0 / a);
}

double ExponentialInverse(double a, double b, double f) {
  return (LogOfComplement(f) + b) * (-1.0 / a);
}

double NormalTransform(int code, double x, double exponent) {
  switch (CodeRow(code).abscissa) {
    case Abscissa::X:
      return x;
    case Abscissa::LnX:
      return std::log(x);
    case Abscissa::SquareX:
      return x * x;
    case Abscissa::RootX:
      return std::sqrt(x);
    case Abscissa::PowerX:
      return Power(x, exponent);
    default:
      break;
  }
  return kNaN;
}

double ModelFreq(const Parameters& p, double x, const FreqContext& context) {
  const CodeInfo* row = FindCode(p.Code);
  if (row == nullptr || row->freq == nullptr) return kNaN;
  if (x < 0.0 && row->needsNonNegativeX) x = 0.0;
  return row->freq(p, x, context);
}

double ModelInverse(const Parameters& p, double f, const InverseContext& context) {
  const CodeInfo* row = FindCode(p.Code);
  if (row == nullptr || row->inverse == nullptr) return kNaN;
  const double x = row->inverse(p, f, context);
  if (context.fallback == Fallback::RankValue && !std::isfinite(x)) return context.rankValue;
  return x;
}

double UpperPieceFreqAtBreak(const Parameters& p) {
  FreqContext upper;
  upper.upperPiece = true;
  return ModelFreq(p, p.P, upper);
}

namespace models {

namespace {

// The line value of one piece of a two-piece code.
double PieceFreq(const Parameters& p, double x, bool upper) {
  const PieceKinds kinds = CodeRow(p.Code).pieces;
  return upper ? FreqFromLine(kinds.upper, p.Bg + p.Ag * x)
               : FreqFromLine(kinds.lower, p.Bs + p.As * x);
}

double KernelInverse(Transform kind, double a, double b, double f) {
  switch (kind) {
    case Transform::Gumbel:
      return GumbelInverse(a, b, f);
    case Transform::MirroredGumbel:
      return MirroredGumbelInverse(a, b, f);
    case Transform::Logistic:
      return LogisticInverse(a, b, f);
    case Transform::Exponential:
      return ExponentialInverse(a, b, f);
    default:
      break;
  }
  return kNaN;
}

// The bounded quantity of 58/59, (X - C)/K or (C - X)/K with K = exp(-B/A),
// raised to A: Fc = exp(-q^A).
double BoundedFreq(const Parameters& p, double q, const FreqContext& context) {
  if (!(q > 0.0)) {
    q = context.boundFloor;
    if (context.floorUsed) *context.floorUsed = true;
  }
  return std::exp(-Power(q, p.A));
}

// v^(1/E) + S. The report takes no root of v <= 0: the rank's value stands.
double RootPlusShift(const Parameters& p, double v, const InverseContext& context) {
  if (context.fallback == Fallback::RankValue && !(v > 0.0)) return kNaN;
  return RootE(v, p.E) + p.S;
}

// The transformed value v = M + D z of the normal family at F.
double NormalValue(const Parameters& p, double f, const InverseContext& context) {
  const double z = context.cache ? context.cache->Invert(f) : InvertHastings(f);
  return p.M + p.D * z;
}

double TwoPieceInverse(const Parameters& p, double f, const InverseContext& context) {
  const PieceKinds kinds = CodeRow(p.Code).pieces;
  if (context.upperPiece) return KernelInverse(kinds.upper, p.Ag, p.Bg, f) + p.S;
  return KernelInverse(kinds.lower, p.As, p.Bs, f) + p.S;
}

// The 1-degree-of-freedom and 2-degree Student forms on u = (X - M)/D.
double StudentU(const Parameters& p, double x) { return (x - p.M) / p.D; }

}  // namespace

// --- Forward ------------------------------------------------------------------

// 1: Fc = A X^E + B
double FreqLinear(const Parameters& p, double x, const FreqContext&) {
  return p.A * Power(x, p.E) + p.B;
}
// 2: Fc = exp(B + A X^E)
double FreqPowerExponential(const Parameters& p, double x, const FreqContext&) {
  return std::exp(p.B + p.A * Power(x, p.E));
}
// 3: Fc = 1 - exp(-(B + A X^E))
double FreqExponential(const Parameters& p, double x, const FreqContext&) {
  return 1.0 - std::exp(-(p.B + p.A * Power(x, p.E)));
}
// 4: Fc = exp(-exp(-(B + A X)))
double FreqGumbel(const Parameters& p, double x, const FreqContext&) {
  return std::exp(-std::exp(-(p.B + p.A * x)));
}
// 5: Fc = 1 - exp(-exp(-(B + A X)))
double FreqMirroredGumbel(const Parameters& p, double x, const FreqContext&) {
  return 1.0 - std::exp(-std::exp(-(p.B + p.A * x)));
}
// 7..18: Fc = F_low(Bs + As X) for X <= P, F_high(Bg + Ag X) above.
double FreqTwoPiece(const Parameters& p, double x, const FreqContext& context) {
  return PieceFreq(p, x, context.upperPiece);
}
// 21..25: Fc = Hastings((T(X) - M) / D)
double FreqNormal(const Parameters& p, double x, const FreqContext&) {
  return HastingsFreq((NormalTransform(p.Code, x, p.E) - p.M) / p.D);
}
// 51: Fc = exp(-exp(-(B + A X^E)))
double FreqGeneralizedGumbel(const Parameters& p, double x, const FreqContext&) {
  return std::exp(-std::exp(-(p.B + p.A * Power(x, p.E))));
}
// 52: Fc = 1 - exp(-exp(-(B + A X^E)))
double FreqGeneralizedMirroredGumbel(const Parameters& p, double x, const FreqContext&) {
  return 1.0 - std::exp(-std::exp(-(p.B + p.A * Power(x, p.E))));
}
// 53: Fc = 1/(1 + exp(B + A X))
double FreqLogistic(const Parameters& p, double x, const FreqContext&) {
  return 1.0 / (1.0 + std::exp(p.B + p.A * x));
}
// 54: Fc = 1/(1 + exp(B + A ln X))
double FreqLogLogistic(const Parameters& p, double x, const FreqContext&) {
  return 1.0 / (1.0 + std::exp(p.B + p.A * std::log(x)));
}
// 55: Fc = 1/(1 + exp(B + A X^E))
double FreqGeneralizedLogistic(const Parameters& p, double x, const FreqContext&) {
  return 1.0 / (1.0 + std::exp(p.B + p.A * Power(x, p.E)));
}
// 56: Fc = 1 - (C/(X + C))^A, the scale C held in B
double FreqPareto(const Parameters& p, double x, const FreqContext&) {
  return 1.0 - Power(p.B / (x + p.B), p.A);
}
// 57: Fc = 1 - exp(-(X/K)^A), K = exp(-B/A)
double FreqWeibull(const Parameters& p, double x, const FreqContext&) {
  const double k = std::exp(-p.B / p.A);
  return 1.0 - std::exp(-Power(x / k, p.A));
}
// 58: Fc = exp(-((X - C)/K)^A), K = exp(-B/A)
double FreqFrechet(const Parameters& p, double x, const FreqContext& context) {
  const double k = std::exp(-p.B / p.A);
  return BoundedFreq(p, (x - p.C) / k, context);
}
// 59: Fc = exp(-((C - X)/K)^A), K = exp(-B/A)
double FreqFisherTippett3(const Parameters& p, double x, const FreqContext& context) {
  const double k = std::exp(-p.B / p.A);
  return BoundedFreq(p, (p.C - x) / k, context);
}
// 60: Fc = 1 - exp(-(X^E/K)^A), K = exp(-B/A)
double FreqGeneralizedWeibull(const Parameters& p, double x, const FreqContext&) {
  const double k = std::exp(-p.B / p.A);
  return 1.0 - std::exp(-Power(Power(x, p.E) / k, p.A));
}
// 62: Fc = 0.5 + arctan(u)/pi
double FreqStudent1(const Parameters& p, double x, const FreqContext&) {
  return 0.5 + std::atan(StudentU(p, x)) / std::numbers::pi;
}
// 63: Fc = 0.5 (1 + u/sqrt(2 + u^2))
double FreqStudent2(const Parameters& p, double x, const FreqContext&) {
  const double u = StudentU(p, x);
  // Beyond |u| = 1e150 the square overflows (and u itself may be infinite):
  // u/sqrt(2 + u^2) is then ±1 to the last bit.
  if (std::abs(u) > 1e150) return u > 0.0 ? 1.0 : 0.0;
  return 0.5 * (1.0 + u / std::sqrt(2.0 + u * u));
}

// --- Inverse ------------------------------------------------------------------

// 1: X = ((F - B)/A)^(1/E) + S
double InverseLinear(const Parameters& p, double f, const InverseContext&) {
  return RootE((f - p.B) / p.A, p.E) + p.S;
}
// 2: X = ((ln F - B)/A)^(1/E) + S. Where v <= 0 the report roots the rank's
// value itself, when that is positive.
double InversePowerExponential(const Parameters& p, double f, const InverseContext& context) {
  const double v = (std::log(f) - p.B) / p.A;
  if (context.fallback == Fallback::RankValue && !(v > 0.0)) {
    const double value = context.rankValue;
    return value > 0.0 ? RootE(value, p.E) + p.S : value;
  }
  return RootE(v, p.E) + p.S;
}
// 3: X = (-(ln(1 - F) + B)/A)^(1/E) + S
double InverseExponential(const Parameters& p, double f, const InverseContext& context) {
  return RootPlusShift(p, -(LogOfComplement(f) + p.B) / p.A, context);
}
// 4: X = -(ln(-ln F) + B)/A + S
double InverseGumbel(const Parameters& p, double f, const InverseContext&) {
  return GumbelInverse(p.A, p.B, f) + p.S;
}
// 5: X = (-ln(-ln(1 - F)) - B)/A + S
double InverseMirroredGumbel(const Parameters& p, double f, const InverseContext&) {
  return MirroredGumbelInverse(p.A, p.B, f) + p.S;
}
// 7..18: the elementary inverse of the piece's line, + S.
double InverseTwoPiece(const Parameters& p, double f, const InverseContext& context) {
  return TwoPieceInverse(p, f, context);
}
// 7: the upper piece takes F >= 1 as 0.999.
double InverseTwoPieceTopClamped(const Parameters& p, double f, const InverseContext& context) {
  if (context.upperPiece && f >= 1.0) f = 0.999;
  return TwoPieceInverse(p, f, context);
}
// 8: the upper piece takes F >= 1 as 0.999 and F <= 0 as 0.001.
double InverseTwoPieceClamped(const Parameters& p, double f, const InverseContext& context) {
  if (context.upperPiece && f >= 1.0) f = 0.999;
  if (context.upperPiece && f <= 0.0) f = 0.001;
  return TwoPieceInverse(p, f, context);
}
// 21..25: v = M + D z(F); X = v, e^v, sqrt v, v^2 or v^(1/E), + S.
double InverseNormal(const Parameters& p, double f, const InverseContext& context) {
  const double v = NormalValue(p, f, context);
  switch (CodeRow(p.Code).abscissa) {
    case Abscissa::X:
      return v + p.S;
    case Abscissa::LnX:
      return std::exp(v) + p.S;
    case Abscissa::SquareX:
      return std::sqrt(v) + p.S;
    // A negative root has no X-value.
    case Abscissa::RootX:
      return v >= 0.0 ? v * v + p.S : kNaN;
    case Abscissa::PowerX:
      return RootPlusShift(p, v, context);
    default:
      break;
  }
  return kNaN;
}
// 51: X = (Gumbel inverse)^(1/E) + S
double InverseGeneralizedGumbel(const Parameters& p, double f, const InverseContext& context) {
  return RootPlusShift(p, GumbelInverse(p.A, p.B, f), context);
}
// 52: X = (mirrored Gumbel inverse)^(1/E) + S
double InverseGeneralizedMirroredGumbel(const Parameters& p, double f,
                                        const InverseContext& context) {
  return RootPlusShift(p, MirroredGumbelInverse(p.A, p.B, f), context);
}
// 53: X = (ln(1/F - 1) - B)/A + S
double InverseLogistic(const Parameters& p, double f, const InverseContext&) {
  return LogisticInverse(p.A, p.B, f) + p.S;
}
// 54: X = exp((ln(1/F - 1) - B)/A) + S. The report takes v <= 0 as no value:
// a lower limit then stands at the smallest tabulated X, others at the rank.
double InverseLogLogistic(const Parameters& p, double f, const InverseContext& context) {
  const double v = LogisticInverse(p.A, p.B, f);
  if (context.fallback == Fallback::RankValue && !(v > 0.0)) {
    return context.lowerLimit ? context.lowerEnd + p.S : context.rankValue;
  }
  return std::exp(v) + p.S;
}
// 55: X = (logistic inverse)^(1/E) + S
double InverseGeneralizedLogistic(const Parameters& p, double f, const InverseContext& context) {
  return RootPlusShift(p, LogisticInverse(p.A, p.B, f), context);
}
// 56: X = C (1 - F)^(-1/A) - C + S, the scale C held in B
double InversePareto(const Parameters& p, double f, const InverseContext&) {
  return p.B * Power(1.0 - f, -1.0 / p.A) - p.B + p.S;
}
// 57: X = exp((ln(-ln(1 - F)) - B)/A) + S
double InverseWeibull(const Parameters& p, double f, const InverseContext&) {
  return std::exp((std::log(-LogOfComplement(f)) - p.B) / p.A) + p.S;
}
// 58: X = exp(-B/A) (-ln F)^(1/A) + C; the bound is in the data scale.
double InverseFrechet(const Parameters& p, double f, const InverseContext&) {
  return std::exp(-p.B / p.A) * RootE(-std::log(f), p.A) + p.C;
}
// 59: X = C - exp(-B/A) (-ln F)^(1/A); the bound is in the data scale.
double InverseFisherTippett3(const Parameters& p, double f, const InverseContext&) {
  return p.C - std::exp(-p.B / p.A) * RootE(-std::log(f), p.A);
}
// 60: X = (exp((ln(-ln(1 - F)) - B)/A))^(1/E) + S
double InverseGeneralizedWeibull(const Parameters& p, double f, const InverseContext& context) {
  return RootPlusShift(p, std::exp((std::log(-LogOfComplement(f)) - p.B) / p.A), context);
}
// 62: X = D tan(pi (F - 0.5)) + M; the average is in the data scale.
double InverseStudent1(const Parameters& p, double f, const InverseContext&) {
  return p.D * std::tan(std::numbers::pi * (f - 0.5)) + p.M;
}
// 63: X = D sqrt 2 u / sqrt(1 - u^2) + M, u = 2F - 1
double InverseStudent2(const Parameters& p, double f, const InverseContext&) {
  const double u = 2.0 * f - 1.0;
  return p.D * std::numbers::sqrt2 * u / std::sqrt(1.0 - u * u) + p.M;
}

}  // namespace models

}  // namespace quilmor::engine
