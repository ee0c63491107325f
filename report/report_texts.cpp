#include "report/report_texts.hpp"

#include <array>

namespace quilmor::report {

namespace {

using PE = ParameterExtras;

// Shift labels of the single functions.
constexpr const char* kC = kShiftLabelC.data();
constexpr const char* kY = kShiftLabelY.data();
constexpr const char* kT = kShiftLabelT.data();

constexpr const char* kBrokenInto = " The cumulative frequency function is broken into :";
constexpr const char* kStudentHelp = " A helpvariable is used: Y = (X-Av.X)/St.Dev.";

// clang-format off
constexpr std::array<CodeTexts, 35> kCodeTexts = {{
  {1, nullptr, nullptr, nullptr,
      kC, "     Freq = A*X^E+B", "     Freq = A*X^E+B", false, PE::None},
  {2, " An exponential cumulative frequency function of transformed data :", nullptr,
      "Generalized linear exponential",
      kC, "     Freq = exp(A*(X+C)^E+B)", "     Freq = exp(A*X^E+B)", true, PE::Exponent},
  {3, " The generalized cumulative frequency function is ",
      " a-symptotic exponential (Poisson-type):", "Generalized exponential",
      kC, "     Freq = 1-exp[-{A*(X+C)^E+B}]", "     Freq = 1-exp{-(A*X^E+B)}", true, PE::Exponent},
  {4, "The cumulative frequency function is double exponential (Gumbel):", nullptr,
      "Gumbel distribution",
      kC, "     Freq = exp[-exp{-(A*(X+C)+B)}]", "     Freq = exp[-exp{-(A*X+B)}]", true, PE::None},
  {5, " Gumbel mirrored cumulative frequency function :", nullptr,
      "Mirrored Gumbel distribution",
      kC, "     Freq = 1-exp[-exp{-(A*(X+C)+B)}]", "     Freq = 1-exp[-exp{-(A*X+B)}]", true,
      PE::None},
  {7, " The cumulative frequency function twice Gumbel mirrored :", nullptr,
      "Twice mirrored Gumbel distribution", nullptr, nullptr, nullptr, false, PE::None},
  {8, " The cumulative frequency function is twice Logistic :", nullptr,
      "Twice logistic distribution", nullptr, nullptr, nullptr, false, PE::None},
  {9, " The cumulative frequency function is twice Gumbel :", nullptr,
      "Twice Gumbel distribution", nullptr, nullptr, nullptr, false, PE::None},
  {10, kBrokenInto, "     Gumbel mirrored (<P) + Logistic (>P) :",
      "Gumbel mirrored + logistic distribution", nullptr, nullptr, nullptr, false, PE::None},
  {11, kBrokenInto, "     Gumbel mirrored (<P) and Gumbel standard (>P) :",
      "Mirrored Gumbel + standard Gumbel distribution", nullptr, nullptr, nullptr, false, PE::None},
  {12, kBrokenInto, " generalized Gumbel (<P) and generalized Logistic (>P) :",
      "Generelized Gumbel + generalized logistic distribution", nullptr, nullptr, nullptr, false,
      PE::None},
  {13, kBrokenInto, "     Gumbel standard (<P) and Gumbel mirrored (>P) :",
      "Standard Gumbel + mirrored Gumbel  distribution", nullptr, nullptr, nullptr, false, PE::None},
  {14, kBrokenInto, "     Logistic (<P) + Gumbel mirrored (>P) :",
      "Logistic + mirrored Gumbel distribution", nullptr, nullptr, nullptr, false, PE::None},
  {15, kBrokenInto, "     Logistic (<P) + Gumbel (>P) :",
      "Logistic + Gumbel distribution", nullptr, nullptr, nullptr, false, PE::None},
  {16, kBrokenInto, "      Gumbel (<P) + Poisson (>P) :",
      "Gumbel + exponential distribution", nullptr, nullptr, nullptr, false, PE::None},
  {17, kBrokenInto, "     Gumbel mirored (<P) + Poisson (>P) :",
      "Gumbel mirrored + exponential distribution", nullptr, nullptr, nullptr, false, PE::None},
  {18, kBrokenInto, "     Logistic (<P) + Poisson (>P) :",
      "Logistic + exponential distribution", nullptr, nullptr, nullptr, false, PE::None},
  {21, nullptr, nullptr, "Normal distribution", nullptr, nullptr, nullptr, false, PE::None},
  {22, nullptr, nullptr, "Log-normal distribution", nullptr, nullptr, nullptr, false, PE::None},
  {23, nullptr, nullptr, "Square-normal distribution", nullptr, nullptr, nullptr, false, PE::None},
  {24, nullptr, nullptr, "Root-normal distribution", nullptr, nullptr, nullptr, false, PE::None},
  {25, nullptr, nullptr, "Generalized normal distribution", nullptr, nullptr, nullptr, false,
      PE::None},
  {51, " Cumulative frequency function of the generalized Gumbel type :", nullptr,
      "Generalized Gumbel distribution",
      kC, "     Freq = exp[-exp{-(A*(X+C)^E+B)}]", "     Freq = exp[-exp{-(A*X^E+B)}]", true,
      PE::Exponent},
  {52, " Cumulative frequency function of the generalized Gumbel mirrored type :", nullptr,
      "Generalized mirrored Gumbel distribution",
      kC, "     Freq = 1-exp[-exp{-(A*(X+C)^E+B)}]", "     Freq = 1-exp[-exp{-(A*X^E+B)}]", true,
      PE::Exponent},
  {53, " The cumulative frequency function is logistic :", nullptr, "Logistic distribution",
      kC, "     Freq = 1/[1+exp{A*(X+C)+B)}]", "     Freq = 1/{1+exp(A*X+B)}", true, PE::None},
  {54, " The cumulative frequency function is log-logistic :", nullptr,
      "Log-logistic distribution",
      kC, "     Freq = 1/{1+exp(A*Ln(X+C)+B)}", "     Freq = 1/{1+exp(A*LnX+B)}", true, PE::None},
  {55, " The cumulative frequency function is generalized logistic :", nullptr,
      "Generalized logistic distribution",
      kY, "     Freq = 1/{1+exp(A*Y^E+B)}", "     Freq = 1/{1+exp(A*X^E+B)}", true, PE::Exponent},
  {56, " Cumulative frequency function of the Pareto type :", nullptr, "Pareto distribution",
      kC, "     Freq = 1-{B/(X+C+B)}^A", "     Freq = 1-{B/(X+B)}^A", true, PE::None},
  {57, " Cumulative frequency function of the Weibull type :", nullptr, "Weibull distribution",
      kT, "     Freq = 1-exp[-{(X+T)/C}^A)}", "     Freq = 1-exp{-(X/C)^A)}", true,
      PE::WeibullScaleText},
  {58, " Cumulative frequency function of the Frechet type (Fisher-Tippett 2):", nullptr,
      "Frechet distribution",
      kT, "     Freq = exp[-{(X+T-C)/exp(-B/A)}^(-A)]", "     Freq = exp[-{(X-C)/exp(-B/A)}^(-A)]",
      true, PE::LowerBound},
  {59, " Cumulative frequency function of the Fisher-Tippett type III :", nullptr,
      "Fisher-Tippett type 3 distribution",
      kT, "     Freq = exp[-{(C-X-T)/exp(-B/A)}^A]", "     Freq = exp[-{(C-X)/exp(-B/A)}^A]", true,
      PE::UpperBound},
  {60, " Cumulative frequency function of the generalized Weibull type :", nullptr,
      "Generalized Weibull distribution",
      kT, "     Freq = 1-exp[-{(X+T)^E/C}^A)]", "     Freq = 1-exp{-(X^E/C)^A)}", true,
      PE::ExponentAndScale},
  {62, " Cumulative Student distribution with 1 d.f.", kStudentHelp,
      "Student distribution with 1 d.f.",
      kT, "     Freq = 0.5 + arctan(Y+T)/pi", "     Freq = 0.5 + arctan(Y)/pi", false, PE::None},
  {63, " Cumulative Student distribution with 2 d.f.", kStudentHelp,
      "Student distribution with 2 d.f.",
      kT, "     Freq = 0.5[1+{(Y+T)/sqrt(2+(Y+T)^2)}]", "     Freq = 0.5[1+{Y/sqrt(2+Y^2)}]", false,
      PE::None},
}};

// Formulas of the pieces. The texts are the program's own, irregular brackets
// included; several codes share the texts of another code.
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

constexpr std::array<TwoPieceTexts, 12> kTwoPieceTexts = {{
  {7, false, kY, kLow7Y, kLow7X, kUp7Y, kUp7X, kAs78, kBs78, kAg78, kBg78},
  {8, false, kY, kLow8Y, kLow8X, kUp8Y, kUp8X, kAs78, kBs78, kAg78, kBg78},
  {9, true, kY, kLow9Y, kLow9X, kUp9Y, kUp9X, kAs9, kBs9, kAg9, kBg9},
  {10, true, kY, kLow10Y, kLow10X, kUp10Y, kUp10X, kAs10, kBs10, kAg10, kBg10},
  {11, false, kY, kLow10Y, kLow10X, kUp11Y, kUp11X, kAs10, kBs10, kAg10, kBg10},
  {12, false, kY, kLow12Y, kLow12X, kUp12Y, kUp12X, kAs10, kBs10, kAg10, kBg10},
  {13, false, kY, kLow12Y, kLow12X, kUp13Y, kUp13X, kAs10, kBs10, kAg10, kBg10},
  {14, false, kY, kLow14Y, kLow14X, kUp13Y, kUp13X, kAs10, kBs10, kAg10, kBg10},
  {15, false, kY, kLow14Y, kLow14X, kUp15Y, kUp15X, kAs10, kBs10, kAg10, kBg10},
  {16, false, kY, kLow10Y, kLow10X, kUp16Y, kUp16X, kAs10, kBs10, kAg10, kBg10},
  {17, false, kY, kLow10Y, kLow10X, kUp16Y, kUp16X, kAs10, kBs10, kAg10, kBg10},
  {18, false, kC, kLow18Y, kLow18X, kUp18Y, kUp18X, kAs10, kBs10, kAg10, kBg10},
}};

constexpr const char* kOptimised = " is optimized as : ";
constexpr const char* kOptimisedNoBlank = " is optimized as :";

constexpr std::array<NormalFamilyTexts, 5> kNormalFamilyTexts = {{
  {21, " The cumulative frequency function is normal.", false,
      " The standard error of X: ", kOptimised, 7, nullptr,
      " The standard error of X: ", kOptimised, nullptr},
  {22, " The cumulative frequency function is log-normal.", true,
      " The standard error of Ln(X+C) : ", kOptimised, 7,
      " The average value of Ln(X+C) equals Ln(mode+C) : ",
      " The standard error of Ln(X) : ", kOptimised,
      " The average value of Ln(X) equals Ln(mode) : "},
  {23, " The cumulative frequency function is square-normal.", true,
      " The standard error of (X+C)sq : ", kOptimised, 7,
      " The average value of (X+C)sq equals (mode+C)sq : ",
      " The standard error of Xsq : ", kOptimisedNoBlank,
      " The average value of Xsq equals :"},
  {24, " The cumulative frequency function is root-normal.", true,
      " The standard error of sqrt(X+C) : ", kOptimised, 7,
      " The average value of sqrt(X+C)sq equals sqrt(mode+C):",
      " The standard error of sqrt(X) : ", kOptimisedNoBlank,
      " The average value of sqrt(X) equals :"},
  {25, " The frequency function is generalized normal.", true,
      " The standard error of (X+C)^E : ", kOptimised, 8,
      " The average value of (X+C)^E equals (mode+C)^E : ",
      " The standard error of X^E : ", kOptimised,
      " The average value of X^E equals : "},
}};
// clang-format on

template <typename Table>
const typename Table::value_type* FindIn(const Table& table, int code) {
  for (const auto& entry : table) {
    if (entry.code == code) return &entry;
  }
  return nullptr;
}

}  // namespace

const CodeTexts* FindCodeTexts(int code) { return FindIn(kCodeTexts, code); }

const TwoPieceTexts* FindTwoPieceTexts(int code) { return FindIn(kTwoPieceTexts, code); }

const NormalFamilyTexts* FindNormalFamilyTexts(int code) {
  return FindIn(kNormalFamilyTexts, code);
}

}  // namespace quilmor::report
