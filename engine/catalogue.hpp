// The catalogue of cumulative frequency functions, identified by their
// distribution code. Every fact about a code lives in one row of one table:
// how it is fitted (family, fitting method, linearising transform, abscissa,
// pieces), what its parameters are and where they are written (report,
// parameter file), the names and formula texts the report prints, and its
// button among the preferences. The engine, the report, the parameter file,
// the calculator, the graphs and the command line read the row instead of
// repeating code lists of their own.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "engine/model.hpp"

namespace quilmor::engine {

// Frequency transforms of the plotting positions.
enum class Transform : std::uint8_t {
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

// What the distribution is, as a user would name its kind.
enum class Family : std::uint8_t {
  None,
  Linear,          // 1
  Power,           // 2: exp(B + A X^E)
  Exponential,     // 3 (Poisson type)
  Gumbel,          // 4, 51
  MirroredGumbel,  // 5, 52
  Logistic,        // 53, 55
  LogLogistic,     // 54
  Pareto,          // 56
  Weibull,         // 57, 60
  Frechet,         // 58 (Fisher-Tippett 2)
  FisherTippett3,  // 59
  Normal,          // 21, 23, 24, 25
  LogNormal,       // 22
  Student,         // 62, 63
  TwoPiece,        // 7 .. 18
};

// How the parameters of a code are found.
enum class FitMethod : std::uint8_t {
  None,           // 0 (none), 1 (reserved: named, never fitted)
  Line,           // one regression line
  ExponentScan,   // a line for each trial exponent E = 0.20 .. 2.99
  ParetoScan,     // a line for each trial scale C
  BoundScan,      // a line for each trial bound C, moving away from the data
  NormalSigma,    // Hastings with the mean of T(X) and a scanned sigma
  GeneralNormal,  // NormalSigma for each trial exponent E
  Student,        // mean and standard deviation of the values
  TwoPiece,       // two lines joined at a scanned break point
};

// The abscissa X' of a fit: what the line is regressed on, or the
// transformed value T(X) of the normal family.
enum class Abscissa : std::uint8_t {
  None,
  X,             // X
  LnX,           // ln X
  SquareX,       // X^2
  RootX,         // sqrt X
  PowerX,        // X^E
  LnPowerX,      // ln(X^E)
  ParetoScale,   // ln(C / (X + C))
  LnAboveBound,  // ln(X - C)
  LnBelowBound,  // ln(C - X)
};

enum class Bound : std::uint8_t { None, Lower, Upper };

// The frequencies a report calculates at the ranked values.
enum class CalcFreqRule : std::uint8_t {
  None,            // no fitted function
  Clamped,         // the model, kept within 0.001 .. 0.999 and never decreasing
  ClampedHalfway,  // the same, but a drop goes half-way from the previous rank to 1
  RecomputedMean,  // Hastings around the mean of T(X)
  FitFrequencies,  // the frequencies of the fit itself
};

// Extra parameter lines of a single function in the report, before A and B.
enum class ParameterExtras : std::uint8_t {
  None,
  Exponent,          // the exponent E
  WeibullScaleText,  // "C = exp(-B/A)" as text
  LowerBound,        // the bound C of code 58 and its warning
  UpperBound,        // the bound C of code 59 and its warning
  ExponentAndScale,  // E, then C = exp(-B/A) with its value
};

// The probability paper on which a function plots as (nearly) a straight
// line in its upper tail, where design values are read.
enum class ProbabilityPaper : std::uint8_t { Normal, LogNormal, Gumbel, Weibull, Exponential };

// Lower (X <= P) and upper (X > P) piece of a two-piece code.
struct PieceKinds {
  Transform lower;
  Transform upper;
};

// Report texts of a two-piece code: formulas of both pieces in the Y form
// (with the shift) and the X form, and the labels of As, Bs, Ag and Bg.
struct TwoPieceTexts {
  bool leadingEmptyLine;
  const char* shiftLabel;
  const char* lowerWithShift;
  const char* lowerPlain;
  const char* upperWithShift;
  const char* upperPlain;
  const char* labelAs;
  const char* labelBs;
  const char* labelAg;
  const char* labelBg;
};

// Report texts of a normal-family code: the lines of the standard error and
// of the average of the transformed values, with and without the shift.
struct NormalFamilyTexts {
  const char* title;
  bool hasShiftForm;           // false for code 21: one form only
  const char* stdErrorShift;   // with the shift: label of se
  const char* optimisedShift;  // label of sd
  int sdWidthShift;            // width of sd (8 for code 25)
  const char* averageShift;    // label of the mean (nullptr: no mean line)
  const char* stdErrorPlain;
  const char* optimisedPlain;
  const char* averagePlain;
};

// The texts the report prints for a code. Pointers are nullptr where a code
// has no such text.
struct ReportTexts {
  const char* description1 = nullptr;  // first description line
  const char* description2 = nullptr;  // second description line
  const char* name = nullptr;          // the distribution name the report gives the code
  // Single functions: the shift line's label and the formula with and
  // without the shift term.
  const char* shiftLabel = nullptr;
  const char* formulaWithShift = nullptr;
  const char* formulaPlain = nullptr;
  bool printsLine = false;  // the A and B lines are printed
  ParameterExtras extras = ParameterExtras::None;
  bool gumbelLines = false;  // the standard error of X and the mode (code 4)
  const TwoPieceTexts* twoPiece = nullptr;
  const NormalFamilyTexts* normal = nullptr;
};

// What goes into the parameter file, in this order after the code: the line
// (A, B), the exponent E, the bound C, the pieces (As, Bs, Ag, Bg, P), the
// normal family's mean and sigma (and E for code 25), the Student forms'
// average and standard deviation of X; the shift S is always last.
struct ParameterFileLayout {
  bool line = false;
  bool exponentAfterLine = false;
  bool bound = false;
  bool pieces = false;
  bool normal = false;  // mean and sigma of T(X)
  bool exponentAfterNormal = false;
  bool student = false;
};

// One row of the catalogue.
struct CodeInfo {
  int code = 0;
  const char* name = "";  // the catalogue name ("" for 0)
  Family family = Family::None;
  FitMethod fit = FitMethod::None;
  Transform transform = Transform::Gumbel;  // the frequency transform of a line fit
  Abscissa abscissa = Abscissa::None;
  PieceKinds pieces{Transform::Gumbel, Transform::Gumbel};  // two-piece codes only
  Bound bound = Bound::None;
  bool hasExponent = false;            // E is a parameter of the model
  bool preferable = false;             // the user can prefer it
  // The model holds for X >= 0 only: it takes a logarithm, power, root or
  // square of X (the square would mirror negative X), or Pareto's C/(X + C).
  bool needsNonNegativeX = false;
  bool parametersInDataScale = false;  // bound or average kept in the data scale
  bool gumbelSpread = false;           // the fit sets the spread of X to 1.28 / A
  double minimumSlope = 0.0;           // the slope is raised to this after the fit (0: no rule)
  int degreesOfFreedom = 0;            // the Student forms: 1 or 2
  CalcFreqRule calcFreq = CalcFreqRule::Clamped;
  int parameterCount = 0;  // fitted parameters, the shift not counted
  int selectionOrder = 0;  // place among the single candidates of a best-of-all run (0: none)
  int fitOrder = 0;        // place in the fitting sequence of a best-of-all run (0: none)
  ProbabilityPaper paper = ProbabilityPaper::Normal;
  ParameterFileLayout parameterFile{};
  // The fitted function both ways (engine/model.hpp); nullptr: none.
  FreqFunction freq = nullptr;
  InverseFunction inverse = nullptr;
  ReportTexts report{};
  // The preference button: its object name, caption and place (0: none).
  const char* buttonName = nullptr;
  const char* buttonCaption = nullptr;
  int buttonOrder = 0;
};

// Every row, in code order: 0, 1..5, 7..18, 21..25, 51..60, 62, 63.
std::span<const CodeInfo> Catalogue();

// The row of `code`, or nullptr for a code outside the catalogue.
const CodeInfo* FindCode(int code);

// The row of a code known to be in the catalogue.
const CodeInfo& CodeRow(int code);

// --- Named predicates of a code ---------------------------------------------

// 1..5, 7..18, 21..25, 51..60, 62, 63.
bool IsCatalogueCode(int code);
// Codes a preference may name (besides "1", best of all).
bool IsPreferenceCode(int code);
bool IsTwoPieceCode(int code);
bool IsNormalFamilyCode(int code);
bool IsStudentCode(int code);
// The fit is a line (Slope, Intercept) that a best-of-all selection copies.
bool HasLine(const CodeInfo& row);
// The exponent is found by the exponent scan of the single functions.
inline bool ScansExponent(const CodeInfo& row) { return row.fit == FitMethod::ExponentScan; }

// The code of the Student form with 1 or 2 degrees of freedom.
int StudentCode(int degreesOfFreedom);

// The catalogue name of a code ("" for 0); nullptr for a code outside it.
const char* CatalogueName(int code);

// The transform a single function of the catalogue is fitted with.
Transform SingleFitTransform(int code);
// The pieces of a two-piece code.
PieceKinds TwoPieceKinds(int code);

// The single candidates of a best-of-all run in the order in which they are
// compared (the first usable one is the starting best).
inline constexpr int kSingleCandidates = 20;
std::span<const int, kSingleCandidates> SingleSelectionOrder();

// The codes of the preference buttons in their order on the Input page.
inline constexpr int kPreferenceButtons = 19;
std::span<const int, kPreferenceButtons> PreferenceButtonOrder();

}  // namespace quilmor::engine
