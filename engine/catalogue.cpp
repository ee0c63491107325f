#include "engine/catalogue.hpp"

#include <cassert>
#include <cmath>
#include <numbers>

namespace quilmor::engine {

double Ordinate(Transform transform, double fr) {
  switch (transform) {
    case Transform::Power: return std::log(fr);
    case Transform::Exponential: return -std::log(1.0 - fr);
    case Transform::Gumbel: return -std::log(-std::log(fr));
    case Transform::MirroredGumbel: return -std::log(-std::log(1.0 - fr));
    case Transform::Logistic: return std::log(1.0 / fr - 1.0);
    case Transform::Weibull: return std::log(-std::log(1.0 - fr));
    case Transform::Frechet: return std::log(-std::log(fr));
    case Transform::Pareto: return std::log(1.0 - fr);
  }
  return 0.0;
}

double FreqFromLine(Transform transform, double z) {
  switch (transform) {
    case Transform::Power: return std::exp(z);
    case Transform::Exponential: return 1.0 - std::exp(-z);
    case Transform::Gumbel: return std::exp(-std::exp(-z));
    case Transform::MirroredGumbel: return 1.0 - std::exp(-std::exp(-z));
    case Transform::Logistic: return 1.0 / (1.0 + std::exp(z));
    case Transform::Weibull: return 1.0 - std::exp(-std::exp(z));
    case Transform::Frechet: return std::exp(-std::exp(z));
    case Transform::Pareto: return 1.0 - std::exp(z);
  }
  return 0.0;
}

Transform SingleFitTransform(int code) {
  using T = Transform;
  switch (code) {
    case 2: return T::Power;
    case 3: return T::Exponential;
    case 4: case 51: return T::Gumbel;
    case 5: case 52: return T::MirroredGumbel;
    case 53: case 54: case 55: return T::Logistic;
    case 56: return T::Pareto;
    case 57: case 60: return T::Weibull;
    case 58: case 59: return T::Frechet;
    default: break;
  }
  assert(false && "not a single function fitted by a line");
  return T::Gumbel;
}

PieceKinds TwoPieceKinds(int code) {
  using T = Transform;
  switch (code) {
    case 7: return {T::MirroredGumbel, T::MirroredGumbel};
    case 8: return {T::Logistic, T::Logistic};
    case 9: return {T::Gumbel, T::Gumbel};
    case 10: return {T::MirroredGumbel, T::Logistic};
    case 11: return {T::MirroredGumbel, T::Gumbel};
    case 12: return {T::Gumbel, T::Logistic};
    case 13: return {T::Gumbel, T::MirroredGumbel};
    case 14: return {T::Logistic, T::MirroredGumbel};
    case 15: return {T::Logistic, T::Gumbel};
    case 16: return {T::Gumbel, T::Exponential};
    case 17: return {T::MirroredGumbel, T::Exponential};
    case 18: return {T::Logistic, T::Exponential};
    default: break;
  }
  assert(false && "not a two-piece code");
  return {T::Gumbel, T::Gumbel};
}

bool IsCatalogueCode(int code) {
  return (code >= 1 && code <= 5) || (code >= 7 && code <= 18) || (code >= 21 && code <= 25) ||
         (code >= 51 && code <= 60) || code == 62 || code == 63;
}

bool IsPreferenceCode(int code) {
  return (code >= 3 && code <= 5) || (code >= 21 && code <= 25) || (code >= 51 && code <= 60) ||
         code == 62;
}

const char* CatalogueName(int code) {
  switch (code) {
    case 0: return "";
    case 1: return "Generalized linear";
    case 2: return "Generalized linear exponential";
    case 3: return "Generalized exponential";
    case 4: return "Gumbel distribution";
    case 5: return "Mirrored Gumbel distribution";
    case 7: return "Twice Gumbel mirrored distribution";
    case 8: return "Twice logistic distribution";
    case 9: return "Twice Gumbel distribution";
    case 10: return "Gumbel mirrored + logistic distribution";
    case 11: return "Mirrored Gumbel + standard Gumbel distribution";
    case 12: return "Generalized Gumbel + generalized logistic distribution";
    case 13: return "Standard Gumbel + mirrored Gumbel  distribution";
    case 14: return "Logistic + mirrored Gumbel distribution";
    case 15: return "Logistic + Gumbel distribution";
    case 16: return "Gumbel + exponential distribution";
    case 17: return "Gumbel mirrored + exponential distribution";
    case 18: return "Logistic + exponential distribution";
    case 21: return "Normal distribution";
    case 22: return "Log-normal distribution";
    case 23: return "Square-normal distribution";
    case 24: return "Root-normal distribution";
    case 25: return "Generalized normal distribution";
    case 51: return "Generalized Gumbel distribution";
    case 52: return "Generalized mirrored Gumbel distribution";
    case 53: return "Logistic distribution";
    case 54: return "Log-logistic distribution";
    case 55: return "Generalized logistic distribution";
    case 56: return "Pareto distribution";
    case 57: return "Weibull distribution";
    case 58: return "Frechet distribution";
    case 59: return "Fisher-Tippett type 3 distribution";
    case 60: return "Generalized Weibull distribution";
    case 62: return "Student t-distribution with 1 d.f.";
    case 63: return "Student t-distribution with 2 d.f.";
    default: return nullptr;
  }
}

void SetDistributionName(AnalysisState& state, int code) {
  if (const char* name = CatalogueName(code)) state.DistributionName = name;
}

double Power(double x, double p) { return std::exp(p * std::log(x)); }

// Hastings' constants for the normal cumulative frequency.
namespace {
constexpr double kHastingsP = 0.23165;
constexpr double kHastingsB[5] = {0.31938, -0.35656, 1.78148, -1.82126, 1.33027};
}  // namespace

double HastingsFreq(double u) {
  if (std::isinf(u)) return u < 0 ? 0.0 : 1.0;
  const double t = 1.0 / (1.0 + kHastingsP * u);
  const double t2 = t * t;
  const double t3 = t2 * t;
  const double t4 = t3 * t;
  const double t5 = t4 * t;
  // P = 0.31938 t - 0.35656 t^2 + 1.78148 t^3 - 1.82126 t^4 + 1.33027 t^5
  const double p = kHastingsB[0] * t + kHastingsB[1] * t2 + kHastingsB[2] * t3 +
                   kHastingsB[3] * t4 + kHastingsB[4] * t5;
  // phi = exp(-u^2/2) / sqrt(2 pi);  F = 1 - phi P
  const double phi = std::exp(-(u * u) / 2.0) / std::sqrt(2.0 * std::numbers::pi);
  const double f = 1.0 - phi * p;
  // Where t has no finite value (u = -1/0.23165) P is not a number: also 0.
  if (!(p >= 0.0) || !(f >= 0.0)) return 0.0;
  return f;
}

double NormalTransform(int code, double x, double exponent) {
  switch (code) {
    case 21: return x;
    case 22: return std::log(x);
    case 23: return x * x;
    case 24: return std::sqrt(x);
    case 25: return Power(x, exponent);
    default: break;
  }
  assert(false && "not a normal-family code");
  return x;
}

namespace {

bool NeedsNonNegativeX(int code) {
  switch (code) {
    case 1: case 2: case 3: case 22: case 24: case 25: case 51: case 52: case 54: case 55:
    case 57: case 60:
      return true;
    default:
      return false;
  }
}

}  // namespace

double SingleModelFreq(int code, const ModelParameters& p, double x, double boundFloor,
                       bool* floorUsed) {
  if (x < 0.0 && NeedsNonNegativeX(code)) x = 0.0;
  switch (code) {
    case 1: return p.A * Power(x, p.E) + p.B;                        // A*X^E + B
    case 2: return std::exp(p.B + p.A * Power(x, p.E));              // exp(B + A*X^E)
    case 3: return 1.0 - std::exp(-(p.B + p.A * Power(x, p.E)));     // 1 - exp(-(B + A*X^E))
    case 4: return std::exp(-std::exp(-(p.B + p.A * x)));            // exp(-exp(-(B + A*X)))
    case 5: return 1.0 - std::exp(-std::exp(-(p.B + p.A * x)));
    case 21: case 22: case 23: case 24: case 25:
      return HastingsFreq((NormalTransform(code, x, p.E) - p.M) / p.D);
    case 51: return std::exp(-std::exp(-(p.B + p.A * Power(x, p.E))));
    case 52: return 1.0 - std::exp(-std::exp(-(p.B + p.A * Power(x, p.E))));
    case 53: return 1.0 / (1.0 + std::exp(p.B + p.A * x));           // 1/(1 + exp(B + A*X))
    case 54: return 1.0 / (1.0 + std::exp(p.B + p.A * std::log(x)));
    case 55: return 1.0 / (1.0 + std::exp(p.B + p.A * Power(x, p.E)));
    case 56: return 1.0 - Power(p.B / (x + p.B), p.A);               // 1 - (C/(X + C))^A
    case 57: {                                                       // 1 - exp(-(X/K)^A)
      const double k = std::exp(-p.B / p.A);
      return 1.0 - std::exp(-Power(x / k, p.A));
    }
    case 58: case 59: {  // exp(-q^A), q = (X - C)/K or (C - X)/K, K = exp(-B/A)
      const double k = std::exp(-p.B / p.A);
      double q = code == 58 ? (x - p.C) / k : (p.C - x) / k;
      if (!(q > 0.0)) {
        q = boundFloor;
        if (floorUsed) *floorUsed = true;
      }
      return std::exp(-Power(q, p.A));
    }
    case 60: {                                                       // 1 - exp(-(X^E/K)^A)
      const double k = std::exp(-p.B / p.A);
      return 1.0 - std::exp(-Power(Power(x, p.E) / k, p.A));
    }
    case 62: {                                                       // 0.5 + arctan(u)/pi
      const double u = (x - p.M) / p.D;
      return 0.5 + std::atan(u) / std::numbers::pi;
    }
    case 63: {                                                       // 0.5 (1 + u/sqrt(2 + u^2))
      const double u = (x - p.M) / p.D;
      return 0.5 * (1.0 + u / std::sqrt(2.0 + u * u));
    }
    default: break;
  }
  assert(false && "not a single-piece code");
  return 0.0;
}

double TwoPieceFreq(int code, const ModelParameters& p, double x, bool upperPiece) {
  const PieceKinds kinds = TwoPieceKinds(code);
  const Transform kind = upperPiece ? kinds.upper : kinds.lower;
  const double a = upperPiece ? p.Ag : p.As;
  const double b = upperPiece ? p.Bg : p.Bs;
  return FreqFromLine(kind, b + a * x);
}

}  // namespace quilmor::engine
