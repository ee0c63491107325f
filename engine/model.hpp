// The fitted function of a distribution code, both ways: the cumulative
// frequency Fc(X) and the X-value of a frequency, side by side for each code
// (engine/model_functions.cpp), with their guards. The catalogue row of a code
// points to its two functions; everyone who evaluates a fitted function (the
// fit's report, the interval analysis, the inverse evaluation, the
// calculator, the graphs) comes through here.
#pragma once

namespace quilmor::engine {

struct FreqContext;
struct InverseContext;
struct Parameters;

// The two functions of a code, as its catalogue row holds them.
using FreqFunction = double (*)(const Parameters& p, double x, const FreqContext& context);
using InverseFunction = double (*)(const Parameters& p, double f, const InverseContext& context);

// The parameters of any fitted function, in the notation of the report and
// the parameter file.
struct Parameters {
  int Code = 0;
  double A = 0.0;  // slope
  double B = 0.0;  // intercept; code 56: the scale C
  double E = 1.0;  // exponent of the generalised forms
  double C = 0.0;  // bound of codes 58 and 59 (in the data scale)
  double M = 0.0;  // normal family: mean of T(X); Student: average of X
  double D = 1.0;  // normal family: sigma; Student: standard deviation of X
  double As = 0.0, Bs = 0.0, Ag = 0.0, Bg = 0.0;  // lower and upper line of a two-piece code
  double P = 0.0;                                 // break point of a two-piece code
  double S = 0.0;  // shift: the data were moved by -S (+0.0001) before the fit
};

// x^p as the method computes every power: exp(p * ln x).
double Power(double x, double p);

// v^(1/E), computed as exp(ln v / E).
double RootE(double v, double e);

// Normal cumulative frequency by Hastings' approximation, which is made for
// u >= 0:
//   t = 1/(1 + 0.23165 u)
//   P = 0.31938 t - 0.35656 t^2 + 1.78148 t^3 - 1.82126 t^4 + 1.33027 t^5
//   F = 1 - P exp(-u^2/2) / sqrt(2 pi)
// and by symmetry F(u) = 1 - F(-u) below 0, so that F rises from 0 to 1
// over the whole axis. Infinite u gives the limits 0 and 1; u that is not a
// number gives 0.
double HastingsFreq(double u);

// The normal-family inversion in the standardised variable: the smallest z in
// [-10, 10] (to full double precision) with HastingsFreq(z) > F, found by
// bisection (lo = -10, hi = 10; mid = (lo + hi)/2 until mid equals lo or hi;
// hi = mid when HastingsFreq(mid) > F, else lo = mid); 10 when none qualifies.
double InvertHastings(double f);

// The last inversion of a run of frequencies: printed frequencies repeat from
// row to row, and the same frequency gives the same z.
struct HastingsCache {
  double f = -1.0;
  double z = 0.0;
  double Invert(double freq);
};

// --- The elementary inverses x(F) of one line --------------------------------

// Gumbel:           F = exp[-exp{-(a x + b)}]      x = -(ln(-ln F) + b) / a
double GumbelInverse(double a, double b, double f);
// Mirrored Gumbel:  F = 1 - exp[-exp{-(a x + b)}]  x = (-ln(-ln(1 - F)) - b) / a
double MirroredGumbelInverse(double a, double b, double f);
// Logistic:         F = 1/{1 + exp(a x + b)}       x = (ln(1/F - 1) - b) (1/a)
double LogisticInverse(double a, double b, double f);
// Exponential:      F = 1 - exp{-(a x + b)}        x = (ln(1 - F) + b) (-1/a)
double ExponentialInverse(double a, double b, double f);

// --- Forward: Fc(X) ----------------------------------------------------------

struct FreqContext {
  // Codes 58 and 59: used in place of a bounded quantity (X - C)/exp(-B/A)
  // (or (C - X)/exp(-B/A)) that is zero or negative; *floorUsed is then set.
  double boundFloor = 0.0001;
  bool* floorUsed = nullptr;
  bool upperPiece = false;  // two-piece codes: the upper line (X > P)
};

// Fc(X) of the fitted function of p.Code by its model, without the fit's
// caps and clamps. X is in the scale of the parameters: the fit's (the data
// less the shift) for the line, exponent and normal-family parameters; the
// scale the bound C of 58/59 or the average M of 62/63 is held in for those.
// Models that need X >= 0 (a logarithm, power or root of X) are evaluated at
// 0 when X is below 0. NaN for a code outside the catalogue or without a
// model (0).
double ModelFreq(const Parameters& p, double x, const FreqContext& context = {});

// --- Inverse: X(F) -----------------------------------------------------------

// What stands where the formula of a code gives no X-value (a logarithm or
// root of a number that is not positive, an overflow).
enum class Fallback {
  NoValue,    // the calculator: NaN, shown as "no value"
  RankValue,  // the report: the observed value of the rank being evaluated
};

struct InverseContext {
  Fallback fallback = Fallback::NoValue;
  double rankValue = 0.0;          // RankValue: the rank's value in the data scale
  double lowerEnd = 0.0;           // RankValue: the smallest tabulated X less the shift
  bool lowerLimit = false;         // the lower confidence limit is being evaluated
  bool upperPiece = false;         // two-piece codes: the upper line
  HastingsCache* cache = nullptr;  // normal family: reuse the last inversion
};

// X(F) of the fitted function of p.Code, shift added, in the data scale.
// With Fallback::RankValue every result that is not a finite number is the
// rank's value. NaN for a code without an inverse (0, 1).
double ModelInverse(const Parameters& p, double f, const InverseContext& context = {});

// The transformed value T(X) of the normal family: X, ln X, X^2, sqrt X, X^E.
double NormalTransform(int code, double x, double exponent);

// The frequency of the upper piece of a two-piece code at its break point P
// (the calculator chooses the piece of an inverse by it).
double UpperPieceFreqAtBreak(const Parameters& p);

}  // namespace quilmor::engine
