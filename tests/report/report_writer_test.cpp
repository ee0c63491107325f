#include "report/report_writer.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "engine/catalogue.hpp"
#include "report/intervals.hpp"
#include "report/post_fit.hpp"
#include "series_fixture.hpp"
#include "temp_folder.hpp"

namespace quilmor::report {
namespace {

using testing::FillRanked;
using testing::Lines;
using testing::Slice;
using Strings = std::vector<std::string>;

// Ranked data with and without non-positive values (shift -1 for the first).
const std::vector<double> kShiftedSix = {-1.0, 0.5, 2.0, 3.5, 5.0, 6.5};
const std::vector<double> kOneToSix = {1, 2, 3, 4, 5, 6};

class ReportWriterTest : public ::testing::Test {
 protected:
  ReportModel state;

  void SetUp() override {
    state.InputName = "series.out";
    state.Preference = "1";
    state.ReportTitle1 = "Title one";
    state.ReportTitle2 = "Title two";
    // The heading then has its break-point note: the description is line 10.
    state.BreakPointAllowed = true;
  }

  // Calculated frequencies equal to the plotting positions unless a test
  // computes them; three classes.
  std::string Body(bool computeFreq = false) {
    state.NrOfData = state.N;
    if (computeFreq) {
      ComputeCalcFreq(state);
    } else {
      for (int i = 1; i <= state.N; ++i) state.CalcFreq[i] = state.PlotFreq[i];
    }
    if (engine::IsCatalogueCode(state.Fit.Code)) CompleteReportModel(state, 3);
    return ReportBodyText(state);
  }

  // The lines of the function part: from the description (line 10 of the
  // heading without a note; the heading here always has one) up to the line
  // before the summary statistics.
  Strings FunctionPart(bool computeFreq = false) {
    const Strings lines = Lines(Body(computeFreq));
    std::size_t end = 9;
    while (end < lines.size() && lines[end].rfind(" Average X:", 0) != 0) ++end;
    return Slice(lines, 9, end - 1);
  }
};

// --- Decimal rules at their boundaries ------------------------------------------

struct DecimalCase {
  const char* rule;
  std::function<int(double)> decimals;
  double value;
  int expected;
};

class DecimalRuleTest : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(DecimalRuleTest, ChoosesDecimalsByMagnitude) {
  const DecimalCase& c = GetParam();
  EXPECT_EQ(c.decimals(c.value), c.expected) << c.rule << " of " << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, DecimalRuleTest,
    ::testing::Values(
        DecimalCase{"D", DecimalsD, 0.5, 3}, DecimalCase{"D", DecimalsD, 0.9999, 3},
        DecimalCase{"D", DecimalsD, 1.0, 2}, DecimalCase{"D", DecimalsD, 9.99, 2},
        DecimalCase{"D", DecimalsD, 10.0, 1}, DecimalCase{"D", DecimalsD, 100.0, 0},
        DecimalCase{"D", DecimalsD, 2500.0, 0}, DecimalCase{"DA", DecimalsA, -50.0, 6},
        DecimalCase{"DA", DecimalsA, 0.005, 6}, DecimalCase{"DA", DecimalsA, 0.0099, 6},
        DecimalCase{"DA", DecimalsA, 0.01, 5}, DecimalCase{"DA", DecimalsA, 0.05, 5},
        DecimalCase{"DA", DecimalsA, 0.1, 4}, DecimalCase{"DA", DecimalsA, 1.0, 3},
        DecimalCase{"DA", DecimalsA, 10.0, 2}, DecimalCase{"DA", DecimalsA, 99.9, 2},
        DecimalCase{"DA", DecimalsA, 100.0, 1}, DecimalCase{"DB", DecimalsB, -300.0, 3},
        DecimalCase{"DB", DecimalsB, 0.99, 3}, DecimalCase{"DB", DecimalsB, 1.0, 2},
        DecimalCase{"DB", DecimalsB, 10.0, 1}, DecimalCase{"DB", DecimalsB, 100.0, 0},
        DecimalCase{"DP", DecimalsP, -2.0, 4}, DecimalCase{"DP", DecimalsP, 0.0999, 4},
        DecimalCase{"DP", DecimalsP, 0.1, 3}, DecimalCase{"DP", DecimalsP, 1.0, 2},
        DecimalCase{"DP", DecimalsP, 10.0, 1}, DecimalCase{"DP", DecimalsP, 100.0, 0},
        DecimalCase{"DX", DecimalsX, 0.5, 4}, DecimalCase{"DX", DecimalsX, 1.0, 3},
        DecimalCase{"DX", DecimalsX, 10.0, 2}, DecimalCase{"DX", DecimalsX, 100.0, 1},
        DecimalCase{"DX", DecimalsX, 499.99, 1}, DecimalCase{"DX", DecimalsX, 500.0, 0}));

TEST(RankPrefixTest, SerialsBelowAThousandKeepTheColumnsAligned) {
  EXPECT_EQ(RankPrefix(1.5, 7, 3), "   1.500      7  ");
  EXPECT_EQ(RankPrefix(1.5, 42, 3), "   1.500      42 ");
  EXPECT_EQ(RankPrefix(1.5, 123, 3), "   1.500      123");
  EXPECT_EQ(RankPrefix(1.5, 1234, 3), "   1.500      1234");
  EXPECT_EQ(RankPrefix(2500, 9, 0), "    2500      9  ");
}

// --- Heading -------------------------------------------------------------------------

struct PreferenceCase {
  const char* preference;
  bool allowed;
  bool found;
  const char* note;  // nullptr: no line
};

class PreferenceLineTest : public ReportWriterTest,
                           public ::testing::WithParamInterface<PreferenceCase> {};

TEST_P(PreferenceLineTest, NotesTheBreakPointOrThePreference) {
  const PreferenceCase& c = GetParam();
  FillRanked(state, kOneToSix);
  state.Fit.Code = 53;
  state.Fit.A = -1.0;
  state.Fit.B = 3.5;
  state.Preference = c.preference;
  state.BreakPointAllowed = c.allowed;
  state.BreakPointFound = c.found;
  const Strings lines = Lines(Body());
  Strings expected = {" RESULTS OF Quilmor PROGRAM",
                      " Cumulative frequency analysis",
                      "",
                      " Title one",
                      " Title two",
                      " Name of input file used: series.inp",
                      " Number of data used: 6"};
  if (c.note) expected.push_back(c.note);
  expected.push_back("");
  expected.push_back(" The cumulative frequency function is logistic :");
  EXPECT_EQ(Slice(lines, 0, expected.size() - 1), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, PreferenceLineTest,
    ::testing::Values(
        PreferenceCase{"1", true, false, " Breakpoint allowed but not found"},
        PreferenceCase{"1", false, true, " Breakpoint found but not allowed"},
        PreferenceCase{"1", true, true, nullptr}, PreferenceCase{"1", false, false, nullptr},
        PreferenceCase{"53", true, false, " Frequency distribution preferred by user."},
        PreferenceCase{"53", false, true, " Frequency distribution preferred by user."}));

TEST_F(ReportWriterTest, CodeZeroEndsAfterTheHeadingAndKeepsTheName) {
  FillRanked(state, kShiftedSix);
  state.Fit.Code = 0;
  state.DistributionName = "Weibull distribution";
  state.Preference = "1";
  state.BreakPointAllowed = true;
  const std::string body = Body();
  EXPECT_EQ(body,
            " RESULTS OF Quilmor PROGRAM\r\n"
            " Cumulative frequency analysis\r\n"
            "\r\n"
            " Title one\r\n"
            " Title two\r\n"
            " Name of input file used: series.inp\r\n"
            " Number of data used: 6\r\n"
            " Breakpoint allowed but not found\r\n"
            "\r\n"
            " The frequency distibution cannot be found :\r\n");
  EXPECT_EQ(state.DistributionName, "Weibull distribution");
  EXPECT_DOUBLE_EQ(state.Values[1], 0.0001);  // still in the fitting scale
}

TEST_F(ReportWriterTest, CodeOutsideTheCatalogueIsReportedAsNotFound) {
  FillRanked(state, kOneToSix);
  state.Fit.Code = 61;
  const Strings lines = Lines(Body());
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[9], " The frequency distibution cannot be found :");
}

// --- Function part of single functions ------------------------------------------------

TEST_F(ReportWriterTest, WeibullWithoutShift) {
  FillRanked(state, kOneToSix);
  state.Fit.Code = 57;
  state.Fit.A = 1.5;   // DA 3
  state.Fit.B = -2.0;  // DB 3
  EXPECT_EQ(FunctionPart(), (Strings{" Cumulative frequency function of the Weibull type :", "",
                                     "     Freq = 1-exp{-(X/C)^A)}", "     C    = exp(-B/A)",
                                     "     A    =   1.500", "     B    =  -2.000", ""}));
  EXPECT_EQ(state.DistributionName, "Weibull distribution");
}

TEST_F(ReportWriterTest, GeneralizedLinearExponentialWithFiveDecimalSlope) {
  FillRanked(state, kOneToSix);
  state.Fit.Code = 2;
  state.Fit.E = 0.5;
  state.Fit.A = 0.05;  // DA 5: F(8.5)
  state.Fit.B = -3.2;
  EXPECT_EQ(FunctionPart(),
            (Strings{" An exponential cumulative frequency function of transformed data :", "",
                     "     Freq = exp(A*X^E+B)", "     The exponent E =  0.500",
                     "     A    = 0.05000", "     B    =  -3.200", ""}));
}

TEST_F(ReportWriterTest, TinySlopeIsPrintedInScientificForm) {
  FillRanked(state, kOneToSix);
  state.Fit.Code = 51;
  state.Fit.E = 1.75;
  state.Fit.A = 0.005;  // DA 6: the "%10.3e" pattern
  state.Fit.B = 12.34;  // DB 1
  EXPECT_EQ(FunctionPart(),
            (Strings{" Cumulative frequency function of the generalized Gumbel type :", "",
                     "     Freq = exp[-exp{-(A*X^E+B)}]", "     The exponent E =  1.750",
                     "     A    = 5.00E-003", "     B    =    12.3", ""}));
}

TEST_F(ReportWriterTest, GeneralizedExponentialWithShiftHasTwoDescriptionLines) {
  FillRanked(state, kShiftedSix);
  state.Fit.Code = 3;
  state.Fit.E = 1.25;
  state.Fit.A = 0.4;  // DA 4
  state.Fit.B = 150;  // DB 0
  EXPECT_EQ(
      FunctionPart(),
      (Strings{" The generalized cumulative frequency function is ",
               " a-symptotic exponential (Poisson-type):", "",
               " An additional term C is used : C =    1.00", "     Freq = 1-exp[-{A*(X+C)^E+B}]",
               "     The exponent E =  1.250", "     A    =  0.4000", "     B    =     150", ""}));
}

TEST_F(ReportWriterTest, GumbelPrintsModeAndStandardError) {
  FillRanked(state, kOneToSix);
  state.Fit.Code = 4;
  state.Fit.A = 1.6;
  state.Fit.B = -4.0;  // mode -B/A = 2.5, DB 3
  state.FitStdDev = 1.28 / 1.6;
  EXPECT_EQ(
      FunctionPart(),
      (Strings{"The cumulative frequency function is double exponential (Gumbel):", "",
               "     Freq = exp[-exp{-(A*X+B)}]", "     A    =   1.600", "     B    =  -4.000",
               "   Mode   =  2.500", " The standard error of X is optimized as    0.80", ""}));
}

TEST_F(ReportWriterTest, MirroredGumbelWithShiftHasNoMode) {
  FillRanked(state, kShiftedSix);
  state.Fit.Code = 5;
  state.Fit.A = 1.6;
  state.Fit.B = -4.0;
  EXPECT_EQ(FunctionPart(), (Strings{" Gumbel mirrored cumulative frequency function :", "",
                                     " An additional term C is used : C =    1.00",
                                     "     Freq = 1-exp[-exp{-(A*(X+C)+B)}]", "     A    =   1.600",
                                     "     B    =  -4.000", ""}));
}

TEST_F(ReportWriterTest, GeneralizedLogisticDescriptionIsOneLine) {
  FillRanked(state, kOneToSix);
  state.Fit.Code = 55;
  state.Fit.E = 0.8;
  state.Fit.A = -2.5;  // negative: scientific form
  state.Fit.B = 4.0;
  EXPECT_EQ(FunctionPart(),
            (Strings{" The cumulative frequency function is generalized logistic :", "",
                     "     Freq = 1/{1+exp(A*X^E+B)}", "     The exponent E =  0.800",
                     "     A    =-2.50E+000", "     B    =    4.00", ""}));
}

TEST_F(ReportWriterTest, GeneralizedLogisticWithShiftUsesY) {
  FillRanked(state, kShiftedSix);
  state.Fit.Code = 55;
  state.Fit.E = 0.8;
  state.Fit.A = -2.5;
  state.Fit.B = 4.0;
  const Strings part = FunctionPart();
  ASSERT_GE(part.size(), 4u);
  EXPECT_EQ(part[2], " The variable X is replaced by Y=X+C, with C =    1.00");
  EXPECT_EQ(part[3], "     Freq = 1/{1+exp(A*Y^E+B)}");
}

TEST_F(ReportWriterTest, LogisticWithShift) {
  FillRanked(state, kShiftedSix);
  state.Fit.Code = 53;
  state.Fit.A = -1.0;
  state.Fit.B = 3.5;
  EXPECT_EQ(FunctionPart()[3], "     Freq = 1/[1+exp{A*(X+C)+B)}]");
}

TEST_F(ReportWriterTest, LogLogisticWithoutShift) {
  FillRanked(state, kOneToSix);
  state.Fit.Code = 54;
  state.Fit.A = -3.0;
  state.Fit.B = 2.5;
  EXPECT_EQ(FunctionPart()[2], "     Freq = 1/{1+exp(A*LnX+B)}");
}

TEST_F(ReportWriterTest, ParetoWithShift) {
  FillRanked(state, kShiftedSix);
  state.Fit.Code = 56;
  state.Fit.A = 2.2;
  state.Fit.B = 150;  // the scale C, printed as B
  EXPECT_EQ(FunctionPart(),
            (Strings{" Cumulative frequency function of the Pareto type :", "",
                     " An additional term C is used : C =    1.00", "     Freq = 1-{B/(X+C+B)}^A",
                     "     A    =   2.200", "     B    =     150", ""}));
  EXPECT_EQ(state.DistributionName, "Pareto distribution");
}

TEST_F(ReportWriterTest, GeneralizedWeibullPrintsItsScale) {
  FillRanked(state, kOneToSix);
  state.Fit.Code = 60;
  state.Fit.E = 1.3;
  state.Fit.A = 1.2;
  state.Fit.B = -2.4;  // exp(-B/A) = exp(2) = 7.389
  EXPECT_EQ(FunctionPart(),
            (Strings{" Cumulative frequency function of the generalized Weibull type :", "",
                     "     Freq = 1-exp{-(X^E/C)^A)}", "     The exponent E =  1.300",
                     "     C    = exp(-B/A) =   7.39", "     A    =   1.200", "     B    =  -2.400",
                     ""}));
}

TEST_F(ReportWriterTest, FrechetBelowItsLowerBoundWarns) {
  FillRanked(state, kOneToSix);
  state.Fit.Code = 58;
  state.Fit.A = -1.8;
  state.Fit.B = 2.0;
  state.Fit.C = 1.5;  // above the smallest value 1: the post-fit values warn
  EXPECT_EQ(FunctionPart(true),
            (Strings{" Cumulative frequency function of the Frechet type (Fisher-Tippett 2):", "",
                     "     Freq = exp[-{(X-C)/exp(-B/A)}^(-A)]", "     C    =    1.50",
                     " Warning, there are values smaller than the lower bound C",
                     "     A    =-1.80E+000", "     B    =    2.00", ""}));
}

TEST_F(ReportWriterTest, FrechetBoundIsMovedToTheDataScaleWithShift) {
  FillRanked(state, kShiftedSix);
  state.Fit.Code = 58;
  state.Fit.A = -1.8;
  state.Fit.B = 2.0;
  state.Fit.C = 0.00005;  // below the smallest value 0.0001: no warning
  EXPECT_EQ(FunctionPart(true),
            (Strings{" Cumulative frequency function of the Frechet type (Fisher-Tippett 2):", "",
                     " An additional term T is used : T =    1.00",
                     "     Freq = exp[-{(X+T-C)/exp(-B/A)}^(-A)]", "     C    =   -1.00",
                     "     A    =-1.80E+000", "     B    =    2.00", ""}));
  EXPECT_DOUBLE_EQ(state.Fit.C, 0.00005 - 1.0);
}

TEST_F(ReportWriterTest, FisherTippettAboveItsUpperBoundWarns) {
  FillRanked(state, kOneToSix);
  state.Fit.Code = 59;
  state.Fit.A = 2.5;
  state.Fit.B = -3.0;
  state.Fit.C = 5.5;  // below the largest value 6
  EXPECT_EQ(FunctionPart(true),
            (Strings{" Cumulative frequency function of the Fisher-Tippett type III :", "",
                     "     Freq = exp[-{(C-X)/exp(-B/A)}^A]", "     C    =    5.50",
                     " Warning, there are values larger than the upper bound C",
                     "     A    =   2.500", "     B    =  -3.000", ""}));
  EXPECT_EQ(state.DistributionName, "Fisher-Tippett type 3 distribution");
}

TEST_F(ReportWriterTest, StudentWithShiftHasNoParameterLines) {
  FillRanked(state, kShiftedSix);
  state.Fit.Code = 62;
  state.MeanX = 3.0;
  state.StdDevX = 2.0;
  EXPECT_EQ(FunctionPart(), (Strings{" Cumulative Student distribution with 1 d.f.",
                                     " A helpvariable is used: Y = (X-Av.X)/St.Dev.", "",
                                     " An additional term T is used : T =    1.00",
                                     "     Freq = 0.5 + arctan(Y+T)/pi", ""}));
  EXPECT_EQ(state.DistributionName, "Student distribution with 1 d.f.");
}

TEST_F(ReportWriterTest, StudentTwoDegreesOfFreedomPlain) {
  FillRanked(state, kOneToSix);
  state.Fit.Code = 63;
  state.MeanX = 3.5;
  state.StdDevX = 1.87;
  EXPECT_EQ(FunctionPart(), (Strings{" Cumulative Student distribution with 2 d.f.",
                                     " A helpvariable is used: Y = (X-Av.X)/St.Dev.", "",
                                     "     Freq = 0.5[1+{Y/sqrt(2+Y^2)}]", ""}));
}

// --- Normal family -----------------------------------------------------------------------

struct NormalCase {
  const char* name;
  int code;
  bool shifted;
  double exponent;
  Strings expected;
};

class NormalFamilyLinesTest : public ReportWriterTest,
                              public ::testing::WithParamInterface<NormalCase> {};

// Largest value 6.5001 or 6: D = 2, so se and sd in F(7.4), the mean in F(7.3).
TEST_P(NormalFamilyLinesTest, PrintsTheFittedSpreadAndMean) {
  const NormalCase& c = GetParam();
  FillRanked(state, c.shifted ? kShiftedSix : kOneToSix);
  state.Fit.Code = c.code;
  state.Fit.E = c.exponent;
  state.NormStdDev = 1.2;
  state.Fit.D = 1.3;
  state.Fit.M = 2.5;
  EXPECT_EQ(FunctionPart(), c.expected);
  // The mean stays as fitted, shift or not.
  EXPECT_DOUBLE_EQ(state.Fit.M, 2.5);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, NormalFamilyLinesTest,
    ::testing::Values(
        NormalCase{"Normal",
                   21,
                   false,
                   0.0,
                   {" The cumulative frequency function is normal.",
                    " The numerical method of Hastings is applied.",
                    " The standard error of X:  1.2000 is optimized as :  1.3000", "", ""}},
        NormalCase{"NormalShifted",
                   21,
                   true,
                   0.0,
                   {" The cumulative frequency function is normal.",
                    " The numerical method of Hastings is applied.",
                    " The standard error of X:  1.2000 is optimized as :  1.3000", "", ""}},
        NormalCase{"LogNormal",
                   22,
                   false,
                   0.0,
                   {" The cumulative frequency function is log-normal.",
                    " The numerical method of Hastings is applied.",
                    " The standard error of Ln(X) :  1.2000 is optimized as :  1.3000",
                    " The average value of Ln(X) equals Ln(mode) :   2.500", "", ""}},
        NormalCase{"LogNormalShifted",
                   22,
                   true,
                   0.0,
                   {" The cumulative frequency function is log-normal.",
                    " The numerical method of Hastings is applied.",
                    " An additional term C is used : C =    1.00",
                    " The standard error of Ln(X+C) :  1.2000 is optimized as :  1.3000",
                    " The average value of Ln(X+C) equals Ln(mode+C) :   2.500", "", ""}},
        NormalCase{"SquareNormal",
                   23,
                   false,
                   0.0,
                   {" The cumulative frequency function is square-normal.",
                    " The numerical method of Hastings is applied.",
                    " The standard error of Xsq :  1.2000 is optimized as : 1.3000",
                    " The average value of Xsq equals :  2.500", "", ""}},
        NormalCase{"SquareNormalShifted",
                   23,
                   true,
                   0.0,
                   {" The cumulative frequency function is square-normal.",
                    " The numerical method of Hastings is applied.",
                    " An additional term C is used : C =    1.00",
                    " The standard error of (X+C)sq :  1.2000 is optimized as :  1.3000",
                    " The average value of (X+C)sq equals (mode+C)sq :   2.500", "", ""}},
        NormalCase{"RootNormal",
                   24,
                   false,
                   0.0,
                   {" The cumulative frequency function is root-normal.",
                    " The numerical method of Hastings is applied.",
                    " The standard error of sqrt(X) :  1.2000 is optimized as : 1.3000",
                    " The average value of sqrt(X) equals :  2.500", "", ""}},
        NormalCase{"RootNormalShifted",
                   24,
                   true,
                   0.0,
                   {" The cumulative frequency function is root-normal.",
                    " The numerical method of Hastings is applied.",
                    " An additional term C is used : C =    1.00",
                    " The standard error of sqrt(X+C) :  1.2000 is optimized as :  1.3000",
                    " The average value of sqrt(X+C)sq equals sqrt(mode+C):  2.500", "", ""}},
        NormalCase{"GeneralizedNormal",
                   25,
                   false,
                   0.75,
                   {" The frequency function is generalized normal.",
                    " The X-data were temporarily transformed into X^E",
                    " The exponent E is :    0.75", " The numerical method of Hastings is applied.",
                    " The standard error of X^E :  1.2000 is optimized as :  1.3000",
                    " The average value of X^E equals :   2.500", "", ""}},
        NormalCase{"GeneralizedNormalShifted",
                   25,
                   true,
                   0.75,
                   {" The frequency function is generalized normal.",
                    " The X-data were temporarily transformed into X^E",
                    " The exponent E is :    0.75", " The numerical method of Hastings is applied.",
                    " An additional term C is used : C =    1.00",
                    " The standard error of (X+C)^E :  1.2000 is optimized as :   1.3000",
                    " The average value of (X+C)^E equals (mode+C)^E :   2.500", "", ""}}),
    [](const ::testing::TestParamInfo<NormalCase>& p) { return std::string(p.param.name); });

TEST_F(ReportWriterTest, SmallValuesGiveFiveDecimalStandardErrors) {
  // Largest value 0.5: D = 3, so se and sd in F(7.5) and the mean in F(7.4).
  FillRanked(state, {0.1, 0.2, 0.3, 0.35, 0.4, 0.5});
  state.Fit.Code = 21;
  state.NormStdDev = 0.14;
  state.Fit.D = 0.15;
  state.Fit.M = 0.31;
  const Strings part = FunctionPart();
  ASSERT_GE(part.size(), 3u);
  EXPECT_EQ(part[2], " The standard error of X: 0.14000 is optimized as : 0.15000");
}

// --- Two-piece functions -----------------------------------------------------------------

TEST_F(ReportWriterTest, TwoPieceWithShiftUsesTheYForms) {
  FillRanked(state, kShiftedSix);
  state.Fit.Code = 10;
  state.Fit.P = 3.0001;  // fitting scale, D = 2
  state.BreakIndex = 3;
  state.Fit.As = 0.85;  // DP 3
  state.Fit.Bs = -1.2;  // DP 4
  state.Fit.Ag = -1.5;  // DP 4
  state.Fit.Bg = 5.25;  // DP 2
  EXPECT_EQ(FunctionPart(),
            (Strings{" The cumulative frequency function is broken into :",
                     "     Gumbel mirrored (<P) + Logistic (>P) :", " Breakpoint : P =   3.00", "",
                     " The variable X is replaced by Y=X+C, with C =    1.00",
                     "     X < P :  Freq = 1-exp[-exp{-(As*Y+Bs)}]",
                     "              As =    0.850       Bs = -1.2000",
                     "     X > P :  Freq = 1/{1+exp(Ag*Y+Bg)}",
                     "              Ag =  -1.5000       Bg =    5.25", ""}));
  EXPECT_EQ(state.DistributionName, "Gumbel mirrored + logistic distribution");
}

TEST_F(ReportWriterTest, TwiceGumbelPlainBeginsWithAnEmptyLine) {
  FillRanked(state, kOneToSix);
  state.Fit.Code = 9;
  state.Fit.P = 3.5;
  state.BreakIndex = 3;
  state.Fit.As = 1.1;
  state.Fit.Bs = -2.0;
  state.Fit.Ag = 0.7;
  state.Fit.Bg = -1.0;
  EXPECT_EQ(FunctionPart(),
            (Strings{" The cumulative frequency function is twice Gumbel :",
                     " Breakpoint : P =   3.50", "", " X < P :  Freq = exp[-exp{-(As*X+Bs)}]",
                     "          As =     1.10        Bs = -2.0000",
                     " X > P :  Freq = exp[-exp{-(Ag*X+Bg)}]",
                     "          Ag =    0.700        Bg = -1.0000", ""}));
}

TEST_F(ReportWriterTest, LogisticPlusExponentialShiftedNamesTheAdditionalTerm) {
  FillRanked(state, kShiftedSix);
  state.Fit.Code = 18;
  state.Fit.P = 4.0;
  state.BreakIndex = 3;
  state.Fit.As = -1.0;
  state.Fit.Bs = 3.0;
  state.Fit.Ag = 0.5;
  state.Fit.Bg = 12.0;
  EXPECT_EQ(FunctionPart(),
            (Strings{" The cumulative frequency function is broken into :",
                     "     Logistic (<P) + Poisson (>P) :", " Breakpoint : P =   4.00",
                     " An additional term C is used : C =    1.00",
                     "     X < P :  Freq = 1/[1+exp{Ag*(X+C)+Bg}]",
                     "              As =  -1.0000       Bs =    3.00",
                     "     X > P :  Freq = 1-exp[-{Ag*(X+C)+Bg}]",
                     "              Ag =    0.500       Bg =    12.0", ""}));
}

TEST_F(ReportWriterTest, TwiceMirroredGumbelLabels) {
  FillRanked(state, kOneToSix);
  state.Fit.Code = 7;
  state.Fit.P = 3.5;
  state.BreakIndex = 3;
  state.Fit.As = 1.0;
  state.Fit.Bs = -2.0;
  state.Fit.Ag = 1.0;
  state.Fit.Bg = -3.0;
  const Strings part = FunctionPart();
  ASSERT_EQ(part.size(), 7u);
  EXPECT_EQ(part[2], "      X < P :  Freq = 1-exp[-exp{-(As*X+Bs)}]");
  EXPECT_EQ(part[3], "               As =     1.00        Bs = -2.0000");
  EXPECT_EQ(state.DistributionName, "Twice mirrored Gumbel distribution");
}

// --- Summary statistics and in-place changes ----------------------------------------------

TEST_F(ReportWriterTest, MedianIsTheValueAtRankNDivTwo) {
  FillRanked(state, {1, 2, 3, 4, 5, 6, 7});
  state.Fit.Code = 53;
  state.Fit.A = -1.0;
  state.Fit.B = 4.0;
  const Strings lines = Lines(Body());
  // Mean 28/7 = 4 (less the 0.0001 of every run: 3.9999 -> 4.00), median at
  // rank 7 div 2 = 3, st.dev sqrt(28/6) = 2.1602.
  EXPECT_EQ(lines[15], " Average X:   4.00     Median X:   3.00     St.Dev. X:  2.160");
  EXPECT_DOUBLE_EQ(state.MedianX, 3.0);
}

TEST_F(ReportWriterTest, ShiftedValuesReturnToTheDataScale) {
  FillRanked(state, kShiftedSix);
  state.Fit.Code = 53;
  state.Fit.A = -1.0;
  state.Fit.B = 3.5;
  state.MeanX = 99.0;  // whatever the fit left: recomputed
  state.StdDevX = 99.0;
  Body();
  for (int i = 1; i <= 6; ++i) {
    EXPECT_NEAR(state.Values[i], kShiftedSix[static_cast<std::size_t>(i - 1)], 1e-12) << i;
  }
  // Data mean 16.5/6 = 2.75; squared deviations 2 (3.75^2 + 2.25^2 + 0.75^2)
  // = 39.375, sample st.dev sqrt(39.375/5).
  EXPECT_NEAR(state.MeanX, 2.75, 1e-12);
  EXPECT_NEAR(state.StdDevX, std::sqrt(39.375 / 5.0), 1e-12);
  EXPECT_NEAR(state.MedianX, 2.0, 1e-12);  // rank 6 div 2 = 3
  EXPECT_EQ(state.Fit.A, -1.0);
  EXPECT_EQ(state.Fit.B, 3.5);
}

TEST_F(ReportWriterTest, LargeValuesArePrintedWithoutDecimals) {
  // X(N) = 2500: D = 0 and DX = 0; percentages in the frequency table too.
  FillRanked(state, {100, 400, 800, 1200, 1900, 2500});
  state.Fit.Code = 53;
  state.Fit.A = -0.002;
  state.Fit.B = 2.0;
  const Strings lines = Lines(Body());
  std::size_t row = 0;
  while (row < lines.size() && lines[row] != " Observed and calculated cumulative frequencies")
    ++row;
  ASSERT_LT(row + 5, lines.size());
  // Rank 1: R = 100/7 = 14.29 -> "14", C = R (frequencies set to the
  // plotting positions), Sd = 100 sqrt(f(1-f)/6) = 14.29, L = 14.29 -
  // 3.4*14.29*0.1429 = 7.35, U = 14.29 + 3.4*14.29*0.8571 = 55.92.
  EXPECT_EQ(lines[row + 5], "     100      1          14        14     14.29       7.3      55.9");
}

// --- Whole report -------------------------------------------------------------------------

// A Gumbel fit of eight values, three of them not positive (shift -1.5), with
// the serials of the file order. Every line of the expected file was checked
// by hand; the comments below repeat the checks of a few of them.
//   Fitting values X + 1.5001: 0.0001, 1.3001, 1.9001, 2.6001, 3.4001, 4.1001,
//   5.3001, 6.5001. A = 0.9, B = -1.8.
//   Rank 1: Fc = exp(-exp(1.8 - 0.00009)) = 0.00236: C 0.236 %, Sd = 100
//   sqrt(0.00236*0.99764/8) = 1.72, L = 0.236 - 3.4*1.7155*0.00236 = 0.2,
//   U = 0.236 + 3.4*1.7155*0.99764 = 6.1; Tr = 1/(1 - 1/9) = 1.125 -> 1.13,
//   Tc = 1.00, l = 0.00222 > 2*0.001 -> 0.002, TL = 1.00, u = 0.0606,
//   TU = 1.06.
//   Classes: width 6.5/3 = 2.16667; limits in the data scale -1.5001, 0.6667,
//   2.8333, 5.0002; counts 3, 3, 2 of 8 = 37.5, 37.5, 25.0 %.
//   Mean 13.1/8 = 1.6375 -> 1.64, median rank 4 = 1.10.
TEST_F(ReportWriterTest, WholeBodyOfAShiftedGumbelFit) {
  const std::string golden = quilmor::testing::ReadBytes(
      std::filesystem::path(QUILMOR_SOURCE_DIR) / "tests/report/data/gumbel_shifted_body.txt");
  ASSERT_FALSE(golden.empty());
  std::string expected;
  for (char c : golden) {
    if (c == '\n') expected += '\r';
    expected += c;
  }
  FillRanked(state, {-1.5, -0.2, 0.4, 1.1, 1.9, 2.6, 3.8, 5.0}, {5, 2, 4, 1, 7, 6, 8, 3});
  state.ReportTitle1 = "Golden test series";
  state.ReportTitle2 = "Hand-checked, code 4";
  state.InputName = "series.aux";
  state.BreakPointAllowed = true;
  state.Fit.Code = 4;
  state.Fit.A = 0.9;
  state.Fit.B = -1.8;
  state.FitStdDev = 1.28 / 0.9;
  EXPECT_EQ(Body(true), expected);
  EXPECT_EQ(state.DistributionName, "Gumbel distribution");
}

TEST_F(ReportWriterTest, FormattingChangesNothingInTheModel) {
  FillRanked(state, kOneToSix);
  state.Fit.Code = 57;
  state.Fit.A = 1.5;
  state.Fit.B = -2.0;
  const std::string body = Body();
  // The same model formats to the same text again.
  EXPECT_EQ(ReportBodyText(state), body);
}

}  // namespace
}  // namespace quilmor::report
