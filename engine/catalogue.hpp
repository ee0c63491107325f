// The catalogue of cumulative frequency functions, identified by their
// distribution code: names, linearising transforms, the two-piece
// combinations and the plain model formulas (without the caps and clamps that
// only the fitting uses). The report, the parameter file, the calculator and
// the graphs read this table instead of repeating it.
#pragma once

#include <string>

#include "engine/analysis_state.hpp"

namespace quilmor::engine {

// Frequency transforms of the plotting positions.
enum class Transform {
  Power,           // y = ln Fr;                Fc = exp(Z)
  Exponential,     // y = -ln(1 - Fr);          Fc = 1 - exp(-Z)
  Gumbel,          // y = -ln(-ln Fr);          Fc = exp(-exp(-Z))
  MirroredGumbel,  // y = -ln(-ln(1 - Fr));     Fc = 1 - exp(-exp(-Z))
  Logistic,        // y = ln(1/Fr - 1);         Fc = 1 / (1 + exp(Z))
  Weibull,         // y = ln(-ln(1 - Fr));      Fc = 1 - exp(-exp(Z))
  Frechet,         // y = ln(-ln Fr);           Fc = exp(-exp(Z))
  Pareto,          // y = ln(1 - Fr);           Fc = 1 - exp(Z)
};

// The ordinate y = T(Fr) that is regressed.
double Ordinate(Transform transform, double fr);

// Fc from the line value Z, without any cap or clamp.
double FreqFromLine(Transform transform, double z);

// The frequency transform a single function of the catalogue is fitted with
// (codes 2..5, 51..60).
Transform SingleFitTransform(int code);

// Lower (X <= P) and upper (X > P) piece of the two-piece codes 7..18.
struct PieceKinds {
  Transform lower;
  Transform upper;
};
PieceKinds TwoPieceKinds(int code);
inline bool IsTwoPieceCode(int code) { return code >= 7 && code <= 18; }
inline bool IsNormalFamilyCode(int code) { return code >= 21 && code <= 25; }

// Codes of the catalogue: 1..5, 7..18, 21..25, 51..60, 62, 63.
bool IsCatalogueCode(int code);
// Codes a preference may name: 3, 4, 5, 21..25, 51..60, 62 (besides "1").
bool IsPreferenceCode(int code);

// The catalogue name of a code ("" for 0); nullptr for a code outside it.
const char* CatalogueName(int code);

// Sets state.DistributionName to the catalogue name of `code`; any code
// outside the catalogue leaves it as it was.
void SetDistributionName(AnalysisState& state, int code);

// x^p as the method computes every power: exp(p * ln x).
double Power(double x, double p);

// Normal cumulative frequency by Hastings' approximation, negative u included
// (no symmetry step; 0 wherever the polynomial or the result is negative).
// Infinite u gives the limit: 0 below, 1 above.
double HastingsFreq(double u);

// Parameters of a fitted function in the notation of the report.
struct ModelParameters {
  double A = 0.0;  // slope
  double B = 0.0;  // intercept; code 56: the scale C
  double E = 1.0;  // exponent of the generalised forms
  double C = 0.0;  // bound of codes 58 and 59
  double M = 0.0;  // normal family: mean of T(X); Student: average of X
  double D = 1.0;  // normal family: sigma; Student: standard deviation
  double As = 0.0, Bs = 0.0, Ag = 0.0, Bg = 0.0;  // two-piece lines
};

// The transformed value T(X) of the normal family: X, ln X, X^2, sqrt X, X^E.
double NormalTransform(int code, double x, double exponent);

// Fc(X) of a single-piece code (1..5, 21..25, 51..60, 62, 63) by the model of
// the catalogue, without caps or clamps. Models that need X >= 0 (a
// logarithm, power or root of X) are evaluated at 0 when X is below 0.
// Codes 58 and 59: when the bounded quantity (X - C)/exp(-B/A) (or
// (C - X)/exp(-B/A)) is zero or negative, `boundFloor` is used in its place
// and `*floorUsed` (when given) is set.
double SingleModelFreq(int code, const ModelParameters& p, double x, double boundFloor = 0.0001,
                       bool* floorUsed = nullptr);

// Fc(X) of one piece of a two-piece code, Z = B + A*X with the piece's line.
double TwoPieceFreq(int code, const ModelParameters& p, double x, bool upperPiece);

}  // namespace quilmor::engine
