#include "engine/catalogue.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numbers>

#include "engine/model_functions.hpp"

namespace quilmor::engine {

namespace {

using T = Transform;
using F = Family;
using M = FitMethod;
using A = Abscissa;
using PE = ParameterExtras;
using PP = ProbabilityPaper;

// --- Report texts ---------------------------------------------------------------
// The texts are the program's own, irregular brackets and spelling included;
// several codes share the texts of another code.

// Shift labels of the single functions.
constexpr const char* kShiftC = " An additional term C is used : C = ";
constexpr const char* kShiftY = " The variable X is replaced by Y=X+C, with C = ";
constexpr const char* kShiftT = " An additional term T is used : T = ";

constexpr const char* kBrokenInto = " The cumulative frequency function is broken into :";
constexpr const char* kStudentHelp = " A helpvariable is used: Y = (X-Av.X)/St.Dev.";

// Formulas of the pieces.
constexpr const char* kLow7Y = "      X < P :  Freq = 1-exp[-exp{-(As*Y+Bs)}]";
constexpr const char* kLow7X = "      X < P :  Freq = 1-exp[-exp{-(As*X+Bs)}]";
constexpr const char* kUp7Y = "      X > P :  Freq = 1-exp[-exp{-(Ag*Y+Bg)}]";
constexpr const char* kUp7X = "      X > P :  Freq = 1-exp[-exp{-(Ag*X+Bg)}]";
constexpr const char* kLow8Y = "      X < P :  Freq = 1/{1+exp(As*(Y+Bs)}";
constexpr const char* kLow8X = "      X < P :  Freq = 1/{1+exp(As*X+Bs)}";
constexpr const char* kUp8Y = "      X > P :  Freq = 1/[1+exp{Ag*Y+Bg)}]";
constexpr const char* kUp8X = "      X > P :  Freq = 1/{1+exp(Ag*X+Bg)}";
constexpr const char* kLow9Y = " X < P :  Freq = exp[-exp{-(As*Y+Bs)}]";
constexpr const char* kLow9X = " X < P :  Freq = exp[-exp{-(As*X+Bs)}]";
constexpr const char* kUp9Y = " X > P :  Freq = exp[-exp{-(Ag*Y+Bg)}]";
constexpr const char* kUp9X = " X > P :  Freq = exp[-exp{-(Ag*X+Bg)}]";
constexpr const char* kLow10Y = "     X < P :  Freq = 1-exp[-exp{-(As*Y+Bs)}]";
constexpr const char* kLow10X = "     X < P :  Freq = 1-exp[-exp{-(As*X+Bs)}]";
constexpr const char* kUp10Y = "     X > P :  Freq = 1/{1+exp(Ag*Y+Bg)}";
constexpr const char* kUp10X = "     X > P :  Freq = 1/{1+exp(Ag*X+Bg)}";
constexpr const char* kUp11Y = "     X > P :  Freq = exp[-exp{-(Ag*Y+B)}]";
constexpr const char* kUp11X = "     X > P :  Freq = exp[-exp{-(Ag*X+B)}]";
constexpr const char* kLow12Y = "     X < P :  Freq = exp[-exp{-(As*Y+Bs)}]";
constexpr const char* kLow12X = "     X < P :  Freq = exp[-exp{-(As*X+Bs)}]";
constexpr const char* kUp12Y = "     X > P :  Freq = 1/[1+exp{Ag*Y+Bg}]";
constexpr const char* kUp12X = "     X > P :  Freq = 1/{1+exp(Ag*X+Bg)}";
constexpr const char* kUp13Y = "     X > P :  Freq = 1-exp[-exp{-(As*Y+Bs)}]";
constexpr const char* kUp13X = "     X > P :  Freq = 1-exp[-exp{-(As*X+Bs)}]";
constexpr const char* kLow14Y = "     X < P :  Freq = 1/[1+exp{Ag*Y+Bg}]";
constexpr const char* kLow14X = "     X < P :  Freq = 1/{1+exp(Ag*X+Bg)}";
constexpr const char* kUp15Y = "     X > P :  Freq = exp[-exp{-(As*Y+Bs)}]";
constexpr const char* kUp15X = "     X > P :  Freq = exp[-exp{-(As*X+Bs)}]";
constexpr const char* kUp16Y = "     X > P :  Freq = 1-exp[-{Ag*Y)+Bg}]";
constexpr const char* kUp16X = "     X > P :  Freq = 1-exp{-(Ag*X+Bg)}";
constexpr const char* kLow18Y = "     X < P :  Freq = 1/[1+exp{Ag*(X+C)+Bg}]";
constexpr const char* kLow18X = "     X < P :  Freq = 1/{1+exp(Ag*X+Bg)}";
constexpr const char* kUp18Y = "     X > P :  Freq = 1-exp[-{Ag*(X+C)+Bg}]";
constexpr const char* kUp18X = "     X > P :  Freq = 1-exp{-(Ag*X+Bg)}";

// Parameter labels: codes 7 and 8, code 9, codes 10 to 18.
constexpr const char* kAs78 = "               As = ";
constexpr const char* kBs78 = "        Bs = ";
constexpr const char* kAg78 = "               Ag = ";
constexpr const char* kBg78 = "        Bg = ";
constexpr const char* kAs9 = "          As = ";
constexpr const char* kBs9 = "        Bs = ";
constexpr const char* kAg9 = "          Ag = ";
constexpr const char* kBg9 = "        Bg = ";
constexpr const char* kAs10 = "              As = ";
constexpr const char* kBs10 = "       Bs = ";
constexpr const char* kAg10 = "              Ag = ";
constexpr const char* kBg10 = "       Bg = ";

// clang-format off
constexpr TwoPieceTexts kPieces7 {false, kShiftY, kLow7Y, kLow7X, kUp7Y, kUp7X, kAs78, kBs78, kAg78, kBg78};
constexpr TwoPieceTexts kPieces8 {false, kShiftY, kLow8Y, kLow8X, kUp8Y, kUp8X, kAs78, kBs78, kAg78, kBg78};
constexpr TwoPieceTexts kPieces9 {true, kShiftY, kLow9Y, kLow9X, kUp9Y, kUp9X, kAs9, kBs9, kAg9, kBg9};
constexpr TwoPieceTexts kPieces10{true, kShiftY, kLow10Y, kLow10X, kUp10Y, kUp10X, kAs10, kBs10, kAg10, kBg10};
constexpr TwoPieceTexts kPieces11{false, kShiftY, kLow10Y, kLow10X, kUp11Y, kUp11X, kAs10, kBs10, kAg10, kBg10};
constexpr TwoPieceTexts kPieces12{false, kShiftY, kLow12Y, kLow12X, kUp12Y, kUp12X, kAs10, kBs10, kAg10, kBg10};
constexpr TwoPieceTexts kPieces13{false, kShiftY, kLow12Y, kLow12X, kUp13Y, kUp13X, kAs10, kBs10, kAg10, kBg10};
constexpr TwoPieceTexts kPieces14{false, kShiftY, kLow14Y, kLow14X, kUp13Y, kUp13X, kAs10, kBs10, kAg10, kBg10};
constexpr TwoPieceTexts kPieces15{false, kShiftY, kLow14Y, kLow14X, kUp15Y, kUp15X, kAs10, kBs10, kAg10, kBg10};
constexpr TwoPieceTexts kPieces16{false, kShiftY, kLow10Y, kLow10X, kUp16Y, kUp16X, kAs10, kBs10, kAg10, kBg10};
constexpr TwoPieceTexts kPieces17{false, kShiftY, kLow10Y, kLow10X, kUp16Y, kUp16X, kAs10, kBs10, kAg10, kBg10};
constexpr TwoPieceTexts kPieces18{false, kShiftC, kLow18Y, kLow18X, kUp18Y, kUp18X, kAs10, kBs10, kAg10, kBg10};

constexpr const char* kOptimised = " is optimized as : ";
constexpr const char* kOptimisedNoBlank = " is optimized as :";

constexpr NormalFamilyTexts kNormal21{
    " The cumulative frequency function is normal.", false,
    " The standard error of X: ", kOptimised, 7, nullptr,
    " The standard error of X: ", kOptimised, nullptr};
constexpr NormalFamilyTexts kNormal22{
    " The cumulative frequency function is log-normal.", true,
    " The standard error of Ln(X+C) : ", kOptimised, 7,
    " The average value of Ln(X+C) equals Ln(mode+C) : ",
    " The standard error of Ln(X) : ", kOptimised,
    " The average value of Ln(X) equals Ln(mode) : "};
constexpr NormalFamilyTexts kNormal23{
    " The cumulative frequency function is square-normal.", true,
    " The standard error of (X+C)sq : ", kOptimised, 7,
    " The average value of (X+C)sq equals (mode+C)sq : ",
    " The standard error of Xsq : ", kOptimisedNoBlank,
    " The average value of Xsq equals :"};
constexpr NormalFamilyTexts kNormal24{
    " The cumulative frequency function is root-normal.", true,
    " The standard error of sqrt(X+C) : ", kOptimised, 7,
    " The average value of sqrt(X+C)sq equals sqrt(mode+C):",
    " The standard error of sqrt(X) : ", kOptimisedNoBlank,
    " The average value of sqrt(X) equals :"};
constexpr NormalFamilyTexts kNormal25{
    " The frequency function is generalized normal.", true,
    " The standard error of (X+C)^E : ", kOptimised, 8,
    " The average value of (X+C)^E equals (mode+C)^E : ",
    " The standard error of X^E : ", kOptimised,
    " The average value of X^E equals : "};
// clang-format on

// Parameter-file layouts.
constexpr ParameterFileLayout kLineFile{.line = true};
constexpr ParameterFileLayout kExponentFile{.line = true, .exponentAfterLine = true};
constexpr ParameterFileLayout kBoundFile{.line = true, .bound = true};
constexpr ParameterFileLayout kPiecesFile{.pieces = true};
constexpr ParameterFileLayout kNormalFile{.normal = true};
constexpr ParameterFileLayout kGeneralNormalFile{.normal = true, .exponentAfterNormal = true};
constexpr ParameterFileLayout kStudentFile{.line = true, .student = true};

// A two-piece row: pieces, paper of the upper piece, fitting place, texts.
constexpr CodeInfo TwoPieceRow(int code, const char* name, T lower, T upper, PP paper,
                               const char* description1, const char* description2,
                               const char* reportName, const TwoPieceTexts* texts,
                               InverseFunction inverse = models::InverseTwoPiece) {
  return {.code = code,
          .name = name,
          .family = F::TwoPiece,
          .fit = M::TwoPiece,
          .abscissa = A::X,
          .pieces = {lower, upper},
          .parameterCount = 5,
          .fitOrder = code - 2,  // right after code 5, in code order
          .paper = paper,
          .parameterFile = kPiecesFile,
          .freq = models::FreqTwoPiece,
          .inverse = inverse,
          .report = {.description1 = description1,
                     .description2 = description2,
                     .name = reportName,
                     .twoPiece = texts}};
}

// clang-format off
constexpr std::array<CodeInfo, 35> kCatalogue = {{
  {.code = 0, .parameterFile = kLineFile},
  {.code = 1, .name = "Generalized linear", .family = F::Linear, .abscissa = A::PowerX,
   .hasExponent = true, .needsNonNegativeX = true, .parameterCount = 3,
   .parameterFile = kExponentFile,
   .freq = models::FreqLinear, .inverse = models::InverseLinear,
   .report = {.shiftLabel = kShiftC, .formulaWithShift = "     Freq = A*X^E+B",
              .formulaPlain = "     Freq = A*X^E+B"}},
  {.code = 2, .name = "Generalized linear exponential", .family = F::Power,
   .fit = M::ExponentScan, .transform = T::Power, .abscissa = A::PowerX, .hasExponent = true,
   .needsNonNegativeX = true, .minimumSlope = 0.001, .calcFreq = CalcFreqRule::ClampedHalfway,
   .parameterCount = 3, .selectionOrder = 5, .fitOrder = 1, .paper = PP::Exponential,
   .parameterFile = kExponentFile,
   .freq = models::FreqPowerExponential, .inverse = models::InversePowerExponential,
   .report = {.description1 = " An exponential cumulative frequency function of transformed data :",
              .name = "Generalized linear exponential", .shiftLabel = kShiftC,
              .formulaWithShift = "     Freq = exp(A*(X+C)^E+B)",
              .formulaPlain = "     Freq = exp(A*X^E+B)", .printsLine = true,
              .extras = PE::Exponent}},
  {.code = 3, .name = "Generalized exponential", .family = F::Exponential,
   .fit = M::ExponentScan, .transform = T::Exponential, .abscissa = A::PowerX,
   .hasExponent = true, .preferable = true, .needsNonNegativeX = true, .parameterCount = 3,
   .selectionOrder = 6, .fitOrder = 2, .paper = PP::Exponential, .parameterFile = kExponentFile,
   .freq = models::FreqExponential, .inverse = models::InverseExponential,
   .report = {.description1 = " The generalized cumulative frequency function is ",
              .description2 = " a-symptotic exponential (Poisson-type):",
              .name = "Generalized exponential", .shiftLabel = kShiftC,
              .formulaWithShift = "     Freq = 1-exp[-{A*(X+C)^E+B}]",
              .formulaPlain = "     Freq = 1-exp{-(A*X^E+B)}", .printsLine = true,
              .extras = PE::Exponent},
   .buttonName = "PoissonRadioButton", .buttonCaption = "Exponential (Poisson type)",
   .buttonOrder = 15},
  {.code = 4, .name = "Gumbel distribution", .family = F::Gumbel, .fit = M::Line,
   .transform = T::Gumbel, .abscissa = A::X, .preferable = true, .gumbelSpread = true,
   .parameterCount = 2, .selectionOrder = 7, .fitOrder = 3, .paper = PP::Gumbel,
   .parameterFile = kLineFile,
   .freq = models::FreqGumbel, .inverse = models::InverseGumbel,
   .report = {.description1 = "The cumulative frequency function is double exponential (Gumbel):",
              .name = "Gumbel distribution", .shiftLabel = kShiftC,
              .formulaWithShift = "     Freq = exp[-exp{-(A*(X+C)+B)}]",
              .formulaPlain = "     Freq = exp[-exp{-(A*X+B)}]", .printsLine = true,
              .gumbelLines = true},
   .buttonName = "GumbelRadioButton", .buttonCaption = "Gumbel (Fisher-Tippett I)",
   .buttonOrder = 9},
  {.code = 5, .name = "Mirrored Gumbel distribution", .family = F::MirroredGumbel,
   .fit = M::Line, .transform = T::MirroredGumbel, .abscissa = A::X, .preferable = true,
   .gumbelSpread = true, .parameterCount = 2, .selectionOrder = 8, .fitOrder = 4,
   .paper = PP::Weibull, .parameterFile = kLineFile,
   .freq = models::FreqMirroredGumbel, .inverse = models::InverseMirroredGumbel,
   .report = {.description1 = " Gumbel mirrored cumulative frequency function :",
              .name = "Mirrored Gumbel distribution", .shiftLabel = kShiftC,
              .formulaWithShift = "     Freq = 1-exp[-exp{-(A*(X+C)+B)}]",
              .formulaPlain = "     Freq = 1-exp[-exp{-(A*X+B)}]", .printsLine = true},
   .buttonName = "GumMirRadioButton", .buttonCaption = "Gumbel Mirrored", .buttonOrder = 11},
  TwoPieceRow(7, "Twice Gumbel mirrored distribution", T::MirroredGumbel, T::MirroredGumbel,
              PP::Weibull, " The cumulative frequency function twice Gumbel mirrored :", nullptr,
              "Twice mirrored Gumbel distribution", &kPieces7,
              models::InverseTwoPieceTopClamped),
  TwoPieceRow(8, "Twice logistic distribution", T::Logistic, T::Logistic, PP::Gumbel,
              " The cumulative frequency function is twice Logistic :", nullptr,
              "Twice logistic distribution", &kPieces8,
              models::InverseTwoPieceClamped),
  TwoPieceRow(9, "Twice Gumbel distribution", T::Gumbel, T::Gumbel, PP::Gumbel,
              " The cumulative frequency function is twice Gumbel :", nullptr,
              "Twice Gumbel distribution", &kPieces9),
  TwoPieceRow(10, "Gumbel mirrored + logistic distribution", T::MirroredGumbel, T::Logistic,
              PP::Gumbel, kBrokenInto, "     Gumbel mirrored (<P) + Logistic (>P) :",
              "Gumbel mirrored + logistic distribution", &kPieces10),
  TwoPieceRow(11, "Mirrored Gumbel + standard Gumbel distribution", T::MirroredGumbel, T::Gumbel,
              PP::Gumbel, kBrokenInto, "     Gumbel mirrored (<P) and Gumbel standard (>P) :",
              "Mirrored Gumbel + standard Gumbel distribution", &kPieces11),
  TwoPieceRow(12, "Generalized Gumbel + generalized logistic distribution", T::Gumbel,
              T::Logistic, PP::Gumbel, kBrokenInto,
              " generalized Gumbel (<P) and generalized Logistic (>P) :",
              "Generelized Gumbel + generalized logistic distribution", &kPieces12),
  TwoPieceRow(13, "Standard Gumbel + mirrored Gumbel  distribution", T::Gumbel,
              T::MirroredGumbel, PP::Weibull, kBrokenInto,
              "     Gumbel standard (<P) and Gumbel mirrored (>P) :",
              "Standard Gumbel + mirrored Gumbel  distribution", &kPieces13),
  TwoPieceRow(14, "Logistic + mirrored Gumbel distribution", T::Logistic, T::MirroredGumbel,
              PP::Weibull, kBrokenInto, "     Logistic (<P) + Gumbel mirrored (>P) :",
              "Logistic + mirrored Gumbel distribution", &kPieces14),
  TwoPieceRow(15, "Logistic + Gumbel distribution", T::Logistic, T::Gumbel, PP::Gumbel,
              kBrokenInto, "     Logistic (<P) + Gumbel (>P) :", "Logistic + Gumbel distribution",
              &kPieces15),
  TwoPieceRow(16, "Gumbel + exponential distribution", T::Gumbel, T::Exponential,
              PP::Exponential, kBrokenInto, "      Gumbel (<P) + Poisson (>P) :",
              "Gumbel + exponential distribution", &kPieces16),
  TwoPieceRow(17, "Gumbel mirrored + exponential distribution", T::MirroredGumbel,
              T::Exponential, PP::Exponential, kBrokenInto,
              "     Gumbel mirored (<P) + Poisson (>P) :",
              "Gumbel mirrored + exponential distribution", &kPieces17),
  TwoPieceRow(18, "Logistic + exponential distribution", T::Logistic, T::Exponential,
              PP::Exponential, kBrokenInto, "     Logistic (<P) + Poisson (>P) :",
              "Logistic + exponential distribution", &kPieces18),
  {.code = 21, .name = "Normal distribution", .family = F::Normal, .fit = M::NormalSigma,
   .abscissa = A::X, .preferable = true, .calcFreq = CalcFreqRule::RecomputedMean,
   .parameterCount = 2, .selectionOrder = 1, .fitOrder = 29, .paper = PP::Normal,
   .parameterFile = kNormalFile,
   .freq = models::FreqNormal, .inverse = models::InverseNormal,
   .report = {.name = "Normal distribution", .normal = &kNormal21},
   .buttonName = "NormalRadioButton", .buttonCaption = "Normal", .buttonOrder = 1},
  {.code = 22, .name = "Log-normal distribution", .family = F::LogNormal, .fit = M::NormalSigma,
   .abscissa = A::LnX, .preferable = true, .needsNonNegativeX = true,
   .calcFreq = CalcFreqRule::RecomputedMean, .parameterCount = 2, .selectionOrder = 2,
   .fitOrder = 30, .paper = PP::LogNormal, .parameterFile = kNormalFile,
   .freq = models::FreqNormal, .inverse = models::InverseNormal,
   .report = {.name = "Log-normal distribution", .normal = &kNormal22},
   .buttonName = "LogNormRadioButton", .buttonCaption = "Logarithmic Normal", .buttonOrder = 2},
  {.code = 23, .name = "Square-normal distribution", .family = F::Normal, .fit = M::NormalSigma,
   .abscissa = A::SquareX, .preferable = true, .needsNonNegativeX = true,
   .calcFreq = CalcFreqRule::RecomputedMean,
   .parameterCount = 2, .selectionOrder = 3, .fitOrder = 31, .paper = PP::Normal,
   .parameterFile = kNormalFile,
   .freq = models::FreqNormal, .inverse = models::InverseNormal,
   .report = {.name = "Square-normal distribution", .normal = &kNormal23},
   .buttonName = "SquareNormRadioButton", .buttonCaption = "Square Normal", .buttonOrder = 4},
  {.code = 24, .name = "Root-normal distribution", .family = F::Normal, .fit = M::NormalSigma,
   .abscissa = A::RootX, .preferable = true, .needsNonNegativeX = true,
   .calcFreq = CalcFreqRule::RecomputedMean, .parameterCount = 2, .selectionOrder = 4,
   .fitOrder = 32, .paper = PP::Normal, .parameterFile = kNormalFile,
   .freq = models::FreqNormal, .inverse = models::InverseNormal,
   .report = {.name = "Root-normal distribution", .normal = &kNormal24},
   .buttonName = "RootNormRadioButton", .buttonCaption = "Root Normal", .buttonOrder = 3},
  {.code = 25, .name = "Generalized normal distribution", .family = F::Normal,
   .fit = M::GeneralNormal, .abscissa = A::PowerX, .hasExponent = true, .preferable = true,
   .needsNonNegativeX = true, .calcFreq = CalcFreqRule::FitFrequencies, .parameterCount = 3,
   .paper = PP::Normal, .parameterFile = kGeneralNormalFile,
   .freq = models::FreqNormal, .inverse = models::InverseNormal,
   .report = {.name = "Generalized normal distribution", .normal = &kNormal25},
   .buttonName = "ExpNormRadioButton", .buttonCaption = "Generalized Normal", .buttonOrder = 5},
  {.code = 51, .name = "Generalized Gumbel distribution", .family = F::Gumbel,
   .fit = M::ExponentScan, .transform = T::Gumbel, .abscissa = A::PowerX, .hasExponent = true,
   .preferable = true, .needsNonNegativeX = true, .gumbelSpread = true, .parameterCount = 3,
   .selectionOrder = 9, .fitOrder = 17, .paper = PP::Gumbel, .parameterFile = kExponentFile,
   .freq = models::FreqGeneralizedGumbel, .inverse = models::InverseGeneralizedGumbel,
   .report = {.description1 = " Cumulative frequency function of the generalized Gumbel type :",
              .name = "Generalized Gumbel distribution", .shiftLabel = kShiftC,
              .formulaWithShift = "     Freq = exp[-exp{-(A*(X+C)^E+B)}]",
              .formulaPlain = "     Freq = exp[-exp{-(A*X^E+B)}]", .printsLine = true,
              .extras = PE::Exponent},
   .buttonName = "GumbelGenRadioButton", .buttonCaption = "Gumbel Generalized",
   .buttonOrder = 10},
  {.code = 52, .name = "Generalized mirrored Gumbel distribution", .family = F::MirroredGumbel,
   .fit = M::ExponentScan, .transform = T::MirroredGumbel, .abscissa = A::PowerX,
   .hasExponent = true, .preferable = true, .needsNonNegativeX = true, .parameterCount = 3,
   .selectionOrder = 10, .fitOrder = 18, .paper = PP::Weibull, .parameterFile = kExponentFile,
   .freq = models::FreqGeneralizedMirroredGumbel, .inverse = models::InverseGeneralizedMirroredGumbel,
   .report = {.description1 =
                  " Cumulative frequency function of the generalized Gumbel mirrored type :",
              .name = "Generalized mirrored Gumbel distribution", .shiftLabel = kShiftC,
              .formulaWithShift = "     Freq = 1-exp[-exp{-(A*(X+C)^E+B)}]",
              .formulaPlain = "     Freq = 1-exp[-exp{-(A*X^E+B)}]", .printsLine = true,
              .extras = PE::Exponent},
   .buttonName = "GenGumMirRadioButton", .buttonCaption = "Generalized Gumbel Mirrored",
   .buttonOrder = 12},
  {.code = 53, .name = "Logistic distribution", .family = F::Logistic, .fit = M::Line,
   .transform = T::Logistic, .abscissa = A::X, .preferable = true, .parameterCount = 2,
   .selectionOrder = 11, .fitOrder = 19, .paper = PP::Gumbel, .parameterFile = kLineFile,
   .freq = models::FreqLogistic, .inverse = models::InverseLogistic,
   .report = {.description1 = " The cumulative frequency function is logistic :",
              .name = "Logistic distribution", .shiftLabel = kShiftC,
              .formulaWithShift = "     Freq = 1/[1+exp{A*(X+C)+B)}]",
              .formulaPlain = "     Freq = 1/{1+exp(A*X+B)}", .printsLine = true},
   .buttonName = "LogisRadioButton", .buttonCaption = "Logistic", .buttonOrder = 6},
  {.code = 54, .name = "Log-logistic distribution", .family = F::LogLogistic, .fit = M::Line,
   .transform = T::Logistic, .abscissa = A::LnX, .preferable = true, .needsNonNegativeX = true,
   .parameterCount = 2, .selectionOrder = 12, .fitOrder = 20, .paper = PP::Gumbel,
   .parameterFile = kLineFile,
   .freq = models::FreqLogLogistic, .inverse = models::InverseLogLogistic,
   .report = {.description1 = " The cumulative frequency function is log-logistic :",
              .name = "Log-logistic distribution", .shiftLabel = kShiftC,
              .formulaWithShift = "     Freq = 1/{1+exp(A*Ln(X+C)+B)}",
              .formulaPlain = "     Freq = 1/{1+exp(A*LnX+B)}", .printsLine = true},
   .buttonName = "LogLogisRadiButton", .buttonCaption = "Logarithmic Logistic",
   .buttonOrder = 7},
  {.code = 55, .name = "Generalized logistic distribution", .family = F::Logistic,
   .fit = M::ExponentScan, .transform = T::Logistic, .abscissa = A::PowerX, .hasExponent = true,
   .preferable = true, .needsNonNegativeX = true, .parameterCount = 3, .selectionOrder = 13,
   .fitOrder = 21, .paper = PP::Gumbel, .parameterFile = kExponentFile,
   .freq = models::FreqGeneralizedLogistic, .inverse = models::InverseGeneralizedLogistic,
   .report = {.description1 = " The cumulative frequency function is generalized logistic :",
              .name = "Generalized logistic distribution", .shiftLabel = kShiftY,
              .formulaWithShift = "     Freq = 1/{1+exp(A*Y^E+B)}",
              .formulaPlain = "     Freq = 1/{1+exp(A*X^E+B)}", .printsLine = true,
              .extras = PE::Exponent},
   .buttonName = "ExpLogisRadioButton", .buttonCaption = "Generalized Logistic",
   .buttonOrder = 8},
  {.code = 56, .name = "Pareto distribution", .family = F::Pareto, .fit = M::ParetoScan,
   .transform = T::Pareto, .abscissa = A::ParetoScale, .preferable = true,
   .needsNonNegativeX = true, .parameterCount = 2,
   .selectionOrder = 14, .fitOrder = 22, .paper = PP::Exponential, .parameterFile = kLineFile,
   .freq = models::FreqPareto, .inverse = models::InversePareto,
   .report = {.description1 = " Cumulative frequency function of the Pareto type :",
              .name = "Pareto distribution", .shiftLabel = kShiftC,
              .formulaWithShift = "     Freq = 1-{B/(X+C+B)}^A",
              .formulaPlain = "     Freq = 1-{B/(X+B)}^A", .printsLine = true},
   .buttonName = "ParetoRadioButton", .buttonCaption = "Pareto", .buttonOrder = 14},
  {.code = 57, .name = "Weibull distribution", .family = F::Weibull, .fit = M::Line,
   .transform = T::Weibull, .abscissa = A::LnX, .preferable = true, .needsNonNegativeX = true,
   .parameterCount = 2, .selectionOrder = 15, .fitOrder = 23, .paper = PP::Weibull,
   .parameterFile = kLineFile,
   .freq = models::FreqWeibull, .inverse = models::InverseWeibull,
   .report = {.description1 = " Cumulative frequency function of the Weibull type :",
              .name = "Weibull distribution", .shiftLabel = kShiftT,
              .formulaWithShift = "     Freq = 1-exp[-{(X+T)/C}^A)}",
              .formulaPlain = "     Freq = 1-exp{-(X/C)^A)}", .printsLine = true,
              .extras = PE::WeibullScaleText},
   .buttonName = "WeibullRadioButton", .buttonCaption = "Weibull", .buttonOrder = 16},
  {.code = 58, .name = "Frechet distribution", .family = F::Frechet, .fit = M::BoundScan,
   .transform = T::Frechet, .abscissa = A::LnAboveBound, .bound = Bound::Lower,
   .preferable = true, .parametersInDataScale = true, .parameterCount = 3, .selectionOrder = 16,
   .fitOrder = 24, .paper = PP::Gumbel, .parameterFile = kBoundFile,
   .freq = models::FreqFrechet, .inverse = models::InverseFrechet,
   .report = {.description1 =
                  " Cumulative frequency function of the Frechet type (Fisher-Tippett 2):",
              .name = "Frechet distribution", .shiftLabel = kShiftT,
              .formulaWithShift = "     Freq = exp[-{(X+T-C)/exp(-B/A)}^(-A)]",
              .formulaPlain = "     Freq = exp[-{(X-C)/exp(-B/A)}^(-A)]", .printsLine = true,
              .extras = PE::LowerBound},
   .buttonName = "FrechetRadioButton", .buttonCaption = "Frechet (Fisher-Tippett II)",
   .buttonOrder = 13},
  {.code = 59, .name = "Fisher-Tippett type 3 distribution", .family = F::FisherTippett3,
   .fit = M::BoundScan, .transform = T::Frechet, .abscissa = A::LnBelowBound,
   .bound = Bound::Upper, .preferable = true, .parametersInDataScale = true,
   .parameterCount = 3, .selectionOrder = 17, .fitOrder = 25, .paper = PP::Weibull,
   .parameterFile = kBoundFile,
   .freq = models::FreqFisherTippett3, .inverse = models::InverseFisherTippett3,
   .report = {.description1 = " Cumulative frequency function of the Fisher-Tippett type III :",
              .name = "Fisher-Tippett type 3 distribution", .shiftLabel = kShiftT,
              .formulaWithShift = "     Freq = exp[-{(C-X-T)/exp(-B/A)}^A]",
              .formulaPlain = "     Freq = exp[-{(C-X)/exp(-B/A)}^A]", .printsLine = true,
              .extras = PE::UpperBound},
   .buttonName = "Type3RadioButton", .buttonCaption = "Fisher-Tippet III", .buttonOrder = 18},
  {.code = 60, .name = "Generalized Weibull distribution", .family = F::Weibull,
   .fit = M::ExponentScan, .transform = T::Weibull, .abscissa = A::LnPowerX,
   .hasExponent = true, .preferable = true, .needsNonNegativeX = true, .parameterCount = 3,
   .selectionOrder = 18, .fitOrder = 26, .paper = PP::Weibull, .parameterFile = kExponentFile,
   .freq = models::FreqGeneralizedWeibull, .inverse = models::InverseGeneralizedWeibull,
   .report = {.description1 = " Cumulative frequency function of the generalized Weibull type :",
              .name = "Generalized Weibull distribution", .shiftLabel = kShiftT,
              .formulaWithShift = "     Freq = 1-exp[-{(X+T)^E/C}^A)]",
              .formulaPlain = "     Freq = 1-exp{-(X^E/C)^A)}", .printsLine = true,
              .extras = PE::ExponentAndScale},
   .buttonName = "WeibGenRadioButton", .buttonCaption = "Weibull generalized",
   .buttonOrder = 17},
  {.code = 62, .name = "Student t-distribution with 1 d.f.", .family = F::Student,
   .fit = M::Student, .abscissa = A::X, .preferable = true, .parametersInDataScale = true,
   .degreesOfFreedom = 1, .parameterCount = 2, .selectionOrder = 19, .fitOrder = 27, .paper = PP::Normal,
   .parameterFile = kStudentFile,
   .freq = models::FreqStudent1, .inverse = models::InverseStudent1,
   .report = {.description1 = " Cumulative Student distribution with 1 d.f.",
              .description2 = kStudentHelp, .name = "Student distribution with 1 d.f.",
              .shiftLabel = kShiftT, .formulaWithShift = "     Freq = 0.5 + arctan(Y+T)/pi",
              .formulaPlain = "     Freq = 0.5 + arctan(Y)/pi"},
   .buttonName = "StudentRadioButton", .buttonCaption = "Student's t-distrib. ",
   .buttonOrder = 19},
  {.code = 63, .name = "Student t-distribution with 2 d.f.", .family = F::Student,
   .fit = M::Student, .abscissa = A::X, .parametersInDataScale = true,
   .degreesOfFreedom = 2, .parameterCount = 2,
   .selectionOrder = 20, .fitOrder = 28, .paper = PP::Normal, .parameterFile = kStudentFile,
   .freq = models::FreqStudent2, .inverse = models::InverseStudent2,
   .report = {.description1 = " Cumulative Student distribution with 2 d.f.",
              .description2 = kStudentHelp, .name = "Student distribution with 2 d.f.",
              .shiftLabel = kShiftT,
              .formulaWithShift = "     Freq = 0.5[1+{(Y+T)/sqrt(2+(Y+T)^2)}]",
              .formulaPlain = "     Freq = 0.5[1+{Y/sqrt(2+Y^2)}]"}},
}};
// clang-format on

// Orders derived from the table's columns.
template <int Count, typename Key>
constexpr std::array<int, Count> CodesOrderedBy(Key key) {
  std::array<int, Count> order{};
  for (const CodeInfo& row : kCatalogue) {
    const int place = key(row);
    if (place > 0) order[static_cast<std::size_t>(place - 1)] = row.code;
  }
  return order;
}

constexpr std::array<int, kSingleCandidates> kSelectionOrder =
    CodesOrderedBy<kSingleCandidates>([](const CodeInfo& row) { return row.selectionOrder; });
constexpr std::array<int, kPreferenceButtons> kButtonOrder =
    CodesOrderedBy<kPreferenceButtons>([](const CodeInfo& row) { return row.buttonOrder; });

}  // namespace

std::span<const CodeInfo> Catalogue() { return kCatalogue; }

namespace {

// The place of each code's row in the table (-1: none), so that a look-up
// in the inner loops of a fit or a bootstrap costs one index.
constexpr int kLargestCode = 63;
constexpr std::array<int, kLargestCode + 1> kRowOfCode = [] {
  std::array<int, kLargestCode + 1> rows{};
  rows.fill(-1);
  for (std::size_t i = 0; i < kCatalogue.size(); ++i) {
    rows[static_cast<std::size_t>(kCatalogue[i].code)] = static_cast<int>(i);
  }
  return rows;
}();

}  // namespace

const CodeInfo* FindCode(int code) {
  if (code < 0 || code > kLargestCode) return nullptr;
  const int row = kRowOfCode[static_cast<std::size_t>(code)];
  return row < 0 ? nullptr : &kCatalogue[static_cast<std::size_t>(row)];
}

const CodeInfo& CodeRow(int code) {
  const CodeInfo* row = FindCode(code);
  assert(row != nullptr && "not a code of the catalogue");
  return row ? *row : kCatalogue[0];
}

bool IsCatalogueCode(int code) {
  const CodeInfo* row = FindCode(code);
  return row != nullptr && row->family != Family::None;
}

bool IsPreferenceCode(int code) {
  const CodeInfo* row = FindCode(code);
  return row != nullptr && row->preferable;
}

bool IsTwoPieceCode(int code) {
  const CodeInfo* row = FindCode(code);
  return row != nullptr && row->fit == FitMethod::TwoPiece;
}

bool IsNormalFamilyCode(int code) {
  const CodeInfo* row = FindCode(code);
  return row != nullptr &&
         (row->fit == FitMethod::NormalSigma || row->fit == FitMethod::GeneralNormal);
}

bool IsStudentCode(int code) {
  const CodeInfo* row = FindCode(code);
  return row != nullptr && row->fit == FitMethod::Student;
}

bool HasLine(const CodeInfo& row) {
  return row.fit == FitMethod::Line || row.fit == FitMethod::ExponentScan ||
         row.fit == FitMethod::ParetoScan || row.fit == FitMethod::BoundScan;
}

int StudentCode(int degreesOfFreedom) {
  for (const CodeInfo& row : kCatalogue) {
    if (row.fit == FitMethod::Student && row.degreesOfFreedom == degreesOfFreedom) return row.code;
  }
  assert(false && "no Student form with these degrees of freedom");
  return 0;
}

const char* CatalogueName(int code) {
  const CodeInfo* row = FindCode(code);
  return row ? row->name : nullptr;
}

Transform SingleFitTransform(int code) {
  const CodeInfo& row = CodeRow(code);
  assert(HasLine(row) && "not a single function fitted by a line");
  return row.transform;
}

PieceKinds TwoPieceKinds(int code) {
  const CodeInfo& row = CodeRow(code);
  assert(row.fit == FitMethod::TwoPiece && "not a two-piece code");
  return row.pieces;
}

std::span<const int, kSingleCandidates> SingleSelectionOrder() { return kSelectionOrder; }

std::span<const int, kPreferenceButtons> PreferenceButtonOrder() { return kButtonOrder; }

double Ordinate(Transform transform, double fr) {
  switch (transform) {
    case Transform::Power:
      return std::log(fr);
    case Transform::Exponential:
      return -std::log(1.0 - fr);
    case Transform::Gumbel:
      return -std::log(-std::log(fr));
    case Transform::MirroredGumbel:
      return -std::log(-std::log(1.0 - fr));
    case Transform::Logistic:
      return std::log(1.0 / fr - 1.0);
    case Transform::Weibull:
      return std::log(-std::log(1.0 - fr));
    case Transform::Frechet:
      return std::log(-std::log(fr));
    case Transform::Pareto:
      return std::log(1.0 - fr);
  }
  return 0.0;
}

double FreqFromLine(Transform transform, double z) {
  switch (transform) {
    case Transform::Power:
      return std::exp(z);
    case Transform::Exponential:
      return 1.0 - std::exp(-z);
    case Transform::Gumbel:
      return std::exp(-std::exp(-z));
    case Transform::MirroredGumbel:
      return 1.0 - std::exp(-std::exp(-z));
    case Transform::Logistic:
      return 1.0 / (1.0 + std::exp(z));
    case Transform::Weibull:
      return 1.0 - std::exp(-std::exp(z));
    case Transform::Frechet:
      return std::exp(-std::exp(z));
    case Transform::Pareto:
      return 1.0 - std::exp(z);
  }
  return 0.0;
}

}  // namespace quilmor::engine
