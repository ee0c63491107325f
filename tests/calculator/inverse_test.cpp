#include "calculator/inverse.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/catalogue.hpp"
#include "report/post_fit.hpp"
#include "textio/text_file.hpp"

namespace quilmor::calculator {
namespace {

// Names the rows of a table by their `name`.
struct CaseName {
  template <class T>
  std::string operator()(const ::testing::TestParamInfo<T>& row) const {
    return row.param.name;
  }
};

using engine::Parameters;

// Forward of an inverse returns the frequency: the inverses are exact up to
// rounding, so 1e-9 leaves room only for a wrong formula, not for noise.
constexpr double kIdentityTolerance = 1e-9;
// 1 - 2 x 0.398942 x 1.25331 (the polynomial's sum at t = 1): 3.3e-6.
constexpr double kHastingsStepAtZero = 3.5e-6;

struct InverseCase {
  std::string name;
  int code;
  Parameters p;  // A, B, E, C, M, D, As, Bs, Ag, Bg
};
void PrintTo(const InverseCase& c, std::ostream* os) { *os << c.name; }

Parameters Line(double a, double b, double e = 1.0) {
  Parameters p;
  p.A = a;
  p.B = b;
  p.E = e;
  return p;
}

Parameters Normal(double m, double d, double e = 1.0) {
  Parameters p;
  p.M = m;
  p.D = d;
  p.E = e;
  return p;
}

Parameters Bounded(double a, double b, double c) {
  Parameters p = Line(a, b);
  p.C = c;
  return p;
}

// Two pieces with a rising line for each kind: the logistic form rises with
// a negative slope.
Parameters Pieces(int code) {
  Parameters p;
  const engine::PieceKinds kinds = engine::TwoPieceKinds(code);
  auto slope = [](engine::Transform t) { return t == engine::Transform::Logistic ? -0.08 : 0.08; };
  auto intercept = [](engine::Transform t) {
    return t == engine::Transform::Logistic ? 3.0 : -1.5;
  };
  p.As = slope(kinds.lower);
  p.Bs = intercept(kinds.lower);
  p.Ag = slope(kinds.upper);
  p.Bg = intercept(kinds.upper);
  return p;
}

// The inverse evaluation of the printed `rows` for a fit of `code` with the
// parameters `p` and the shift `shift`; ranks hold `values` (1 each when not
// given).
XConfidence Invert(int code, Parameters p, double shift, const std::vector<FrequencyRow>& rows,
                   std::vector<double> values = {}, int breakIndex = 0) {
  report::ReportModel model;
  model.N = static_cast<int>(rows.size());
  model.Shift = shift;
  p.Code = code;
  p.S = shift;
  model.Fit = p;
  model.BreakIndex = breakIndex;
  if (values.empty()) values.assign(rows.size(), 1.0);
  model.Values = {0.0};
  model.Values.insert(model.Values.end(), values.begin(), values.end());
  XConfidence x;
  x.Rows = rows;
  x.Shift = shift;
  ComputeCalculatedXValues(x, model);
  return x;
}

// A fit summary's line and normal-family figures as parameters.
Parameters Summary(double a, double b, double m = 0.0, double d = 1.0) {
  Parameters p;
  p.A = a;
  p.B = b;
  p.M = m;
  p.D = d;
  return p;
}

double Forward(const InverseCase& c, double x, bool upperPiece) {
  engine::Parameters p = c.p;
  p.Code = c.code;
  engine::FreqContext context;
  context.upperPiece = upperPiece;
  return engine::ModelFreq(p, x, context);
}

class InverseIdentityTest : public ::testing::TestWithParam<InverseCase> {};

TEST_P(InverseIdentityTest, ForwardOfTheInverseReturnsTheFrequency) {
  const InverseCase& c = GetParam();
  const bool twoPiece = engine::IsTwoPieceCode(c.code);
  for (int breakIndex : twoPiece ? std::vector<int>{1, 0} : std::vector<int>{0}) {
    for (double calc : {20.0, 50.0, 80.0}) {
      const FrequencyRow row{10.0, 1, calc, calc, 1.0, calc - 10.0, calc + 10.0};
      const XConfidence state = Invert(c.code, c.p, 0.0, {row}, {}, breakIndex);
      const bool upper = breakIndex == 0;  // row 1 lies above a break index of 0
      // Hastings' approximation steps from 0.499998 to 0.500002 at u = 0,
      // where its mirror image meets it: F = 50% comes back within that step.
      const double tolerance =
          engine::IsNormalFamilyCode(c.code) ? kHastingsStepAtZero : kIdentityTolerance;
      EXPECT_NEAR(Forward(c, state.CalcX[1], upper), calc / 100.0, tolerance)
          << "calc " << calc << " K " << breakIndex;
      EXPECT_NEAR(Forward(c, state.LowerX[1], upper), (calc - 10.0) / 100.0, tolerance);
      EXPECT_NEAR(Forward(c, state.UpperX[1], upper), (calc + 10.0) / 100.0, tolerance);
    }
  }
}

std::vector<InverseCase> AllCodes() {
  std::vector<InverseCase> cases = {
      {"Code2", 2, Line(0.5, -3.0, 1.5)},      {"Code3", 3, Line(0.3, 0.05, 1.3)},
      {"Code4", 4, Line(0.05, -2.0)},          {"Code5", 5, Line(0.05, -2.0)},
      {"Code21", 21, Normal(50.0, 10.0)},      {"Code22", 22, Normal(3.0, 0.5)},
      {"Code23", 23, Normal(2500.0, 500.0)},   {"Code24", 24, Normal(7.0, 1.0)},
      {"Code25", 25, Normal(7.0, 1.0, 0.5)},   {"Code51", 51, Line(0.05, -2.0, 0.7)},
      {"Code52", 52, Line(0.05, -2.0, 0.7)},   {"Code53", 53, Line(-0.08, 3.0)},
      {"Code54", 54, Line(-2.0, 5.0)},         {"Code55", 55, Line(-0.1, 3.0, 1.4)},
      {"Code56", 56, Line(2.0, 50.0)},         {"Code57", 57, Line(1.5, -6.0)},
      {"Code58", 58, Bounded(-2.0, 6.0, 5.0)}, {"Code59", 59, Bounded(2.0, -6.0, 100.0)},
      {"Code60", 60, Line(1.5, -6.0, 0.8)},    {"Code62", 62, Normal(50.0, 10.0)},
      {"Code63", 63, Normal(50.0, 10.0)},
  };
  for (int code = 7; code <= 18; ++code) {
    cases.push_back({"Code" + std::to_string(code), code, Pieces(code)});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryCode, InverseIdentityTest, ::testing::ValuesIn(AllCodes()),
                         CaseName());

// --- Shift ---------------------------------------------------------------

struct ShiftCase {
  int code;
  Parameters p;
  bool addsShift;
};
void PrintTo(const ShiftCase& c, std::ostream* os) { *os << "code " << c.code; }

class ShiftTest : public ::testing::TestWithParam<ShiftCase> {};

// X = inverse + S for every code but 58, 59, 62 and 63, whose bound or average
// the report has already moved into the data scale.
TEST_P(ShiftTest, AppliedOnce) {
  const ShiftCase& c = GetParam();
  const InverseCase base{"", c.code, c.p};
  auto run = [&](double shift) {
    return Invert(base.code, base.p, shift, {{10.0, 1, 50.0, 50.0, 1.0, 40.0, 60.0}}).CalcX[1];
  };
  const double shift = -3.5;
  EXPECT_NEAR(run(shift), run(0.0) + (c.addsShift ? shift : 0.0), 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Codes, ShiftTest,
                         ::testing::Values(ShiftCase{4, Line(0.05, -2.0), true},
                                           ShiftCase{21, Normal(50.0, 10.0), true},
                                           ShiftCase{22, Normal(3.0, 0.5), true},
                                           ShiftCase{57, Line(1.5, -6.0), true},
                                           ShiftCase{58, Bounded(-2.0, 6.0, 5.0), false},
                                           ShiftCase{59, Bounded(2.0, -6.0, 100.0), false},
                                           ShiftCase{62, Normal(50.0, 10.0), false},
                                           ShiftCase{63, Normal(50.0, 10.0), false}));

// --- Clamps ----------------------------------------------------------------

// Gumbel with A = 1, B = 0: X(F) = -ln(-ln F).
double StandardGumbelX(double f) { return -std::log(-std::log(f)); }

TEST(ComputeCalculatedXValues, ClampsPrintedFrequenciesIntoTheOpenInterval) {
  struct Row {
    double printed;
    double calc, lower, upper;  // the frequencies used
  };
  for (const Row& r : {Row{100.0, 0.9998, 0.9997, 0.9999}, Row{0.0, 0.0002, 0.0003, 0.0001}}) {
    const XConfidence state =
        Invert(4, Summary(1.0, 0.0), 0.0, {{1.0, 1, 50.0, r.printed, 1.0, r.printed, r.printed}});
    EXPECT_DOUBLE_EQ(state.CalcX[1], StandardGumbelX(r.calc));
    EXPECT_DOUBLE_EQ(state.LowerX[1], StandardGumbelX(r.lower));
    EXPECT_DOUBLE_EQ(state.UpperX[1], StandardGumbelX(r.upper));
  }
}

TEST(ComputeCalculatedXValues, KeepsSlopeAwayFromZero) {
  // A = 0 is taken as 1e-13: the Gumbel X of 50% is -ln(-ln 0.5)/1e-13.
  const XConfidence state =
      Invert(4, Summary(0.0, 0.0), 0.0, {{1.0, 1, 50.0, 50.0, 1.0, 50.0, 50.0}});
  EXPECT_DOUBLE_EQ(state.CalcX[1], StandardGumbelX(0.5) / 1e-13);
}

// --- Two pieces, monotone limits ---------------------------------------------

TEST(ComputeCalculatedXValues, RowKUsesTheLowerPieceAndRowKPlus1TheUpper) {
  // Code 9, twice Gumbel: lower piece A = 1, B = 0; upper piece A = 0.5, B = 0.
  Parameters p;
  p.As = 1.0;
  p.Bs = 0.0;
  p.Ag = 0.5;
  p.Bg = 0.0;
  const FrequencyRow row{1.0, 1, 50.0, 50.0, 1.0, 50.0, 50.0};
  const XConfidence state = Invert(9, p, 0.0, {row, row, row}, {}, 2);
  EXPECT_DOUBLE_EQ(state.CalcX[2], StandardGumbelX(0.5));        // row K
  EXPECT_DOUBLE_EQ(state.CalcX[3], StandardGumbelX(0.5) / 0.5);  // row K + 1
}

TEST(ComputeCalculatedXValues, LimitsNeverDecreaseWhileCalculatedValuesMay) {
  const XConfidence state = Invert(4, Summary(1.0, 0.0), 0.0,
                                   {{1.0, 1, 20.0, 50.0, 1.0, 30.0, 70.0},
                                    {2.0, 2, 40.0, 40.0, 1.0, 20.0, 60.0},
                                    {3.0, 3, 60.0, 60.0, 1.0, 25.0, 80.0},
                                    {4.0, 4, 80.0, 70.0, 1.0, 50.0, 75.0}});
  EXPECT_LT(state.CalcX[2], state.CalcX[1]);
  EXPECT_DOUBLE_EQ(state.LowerX[2], StandardGumbelX(0.30));
  EXPECT_DOUBLE_EQ(state.LowerX[3], StandardGumbelX(0.30));
  EXPECT_DOUBLE_EQ(state.LowerX[4], StandardGumbelX(0.50));
  EXPECT_DOUBLE_EQ(state.UpperX[2], StandardGumbelX(0.70));
  EXPECT_DOUBLE_EQ(state.UpperX[3], StandardGumbelX(0.80));
  EXPECT_DOUBLE_EQ(state.UpperX[4], StandardGumbelX(0.80));
}

TEST(ComputeCalculatedXValues, CodeOneKeepsThePrefilledValues) {
  // Printed 50%, St.Dev 1% and lower 40%: the fractions stand.
  const XConfidence state =
      Invert(1, Summary(1.0, 0.0), 0.0, {{1.0, 1, 50.0, 50.0, 1.0, 40.0, 60.0}});
  EXPECT_DOUBLE_EQ(state.CalcX[1], 0.5);
  EXPECT_DOUBLE_EQ(state.LowerX[1], 0.01);
  EXPECT_DOUBLE_EQ(state.UpperX[1], 0.4);
}

// --- Fallbacks ---------------------------------------------------------------

struct FallbackCase {
  std::string name;
  int code;
  Parameters p;
};
void PrintTo(const FallbackCase& c, std::ostream* os) { *os << c.name; }

class FallbackTest : public ::testing::TestWithParam<FallbackCase> {};

// Parameters that make the intermediate value v negative at every frequency:
// the value of the rank stands in (code 54's lower limit: TableMin + S).
TEST_P(FallbackTest, NonPositiveIntermediateGivesTheValueOfTheRank) {
  const FallbackCase& c = GetParam();
  // Printed X 12 less S = 2 gives TableMin 10.
  const XConfidence state =
      Invert(c.code, c.p, 2.0, {{12.0, 1, 50.0, 50.0, 1.0, 40.0, 60.0}}, {7.25});
  EXPECT_EQ(state.CalcX[1], 7.25);
  EXPECT_EQ(state.UpperX[1], 7.25);
  EXPECT_EQ(state.LowerX[1], c.code == 54 ? 10.0 + 2.0 : 7.25);
}

INSTANTIATE_TEST_SUITE_P(Codes, FallbackTest,
                         ::testing::Values(
                             // v = -(ln(1 - F) + B)/A with B = 5 (A = 1) is below 0 for F < 0.99.
                             FallbackCase{"Code3", 3, Line(1.0, 5.0, 2.0)},
                             // v = M + D z with M = -100, D = 1.
                             FallbackCase{"Code23", 23, Normal(-100.0, 1.0)},
                             FallbackCase{"Code24", 24, Normal(-100.0, 1.0)},
                             FallbackCase{"Code25", 25, Normal(-100.0, 1.0, 2.0)},
                             // Gumbel x = -(ln(-ln F) + B)/A with B = 10 is below 0.
                             FallbackCase{"Code51", 51, Line(1.0, 10.0, 2.0)},
                             FallbackCase{"Code52", 52, Line(1.0, 10.0, 2.0)},
                             // Logistic x = (ln(1/F - 1) - B)/A with B = 10 is below 0.
                             FallbackCase{"Code54", 54, Line(1.0, 10.0)},
                             FallbackCase{"Code55", 55, Line(1.0, 10.0, 2.0)}),
                         CaseName());

TEST(ComputeCalculatedXValues, CodeTwoTakesTheRootOfAPositiveValue) {
  // v = (ln 0.5 - 5)/1 < 0: X = 7.25^(1/2) + S.
  Parameters p = Summary(1.0, 5.0);
  p.E = 2.0;
  const XConfidence state = Invert(2, p, 2.0, {{12.0, 1, 50.0, 50.0, 1.0, 50.0, 50.0}}, {7.25});
  EXPECT_DOUBLE_EQ(state.CalcX[1], std::sqrt(7.25) + 2.0);
}

TEST(ComputeCalculatedXValues, CodeTwoWithANonPositiveValueGivesTheValue) {
  Parameters p = Summary(1.0, 5.0);
  p.E = 2.0;
  const XConfidence state = Invert(2, p, -3.0, {{-3.0, 1, 50.0, 50.0, 1.0, 50.0, 50.0}}, {-3.0});
  EXPECT_EQ(state.CalcX[1], -3.0);
}

// --- Normal-family bisection -----------------------------------------------

TEST(InvertHastings, FindsTheFirstZWhoseFrequencyExceedsF) {
  for (double f : {0.0, 0.0003, 0.05, 0.2, 0.5, 0.8, 0.9999}) {
    const double z = engine::InvertHastings(f);
    EXPECT_GT(engine::HastingsFreq(z), f) << f;
    // Every frequency is positive now: for F = 0 the search ends at -10.
    if (f > 0.0) {
      EXPECT_LE(engine::HastingsFreq(std::nextafter(z, -20.0)), f) << f;
    }
  }
}

TEST(InvertHastings, GivesTheTopOfTheRangeWhenNoZQualifies) {
  EXPECT_EQ(engine::InvertHastings(1.0), 10.0);
}

TEST(ComputeCalculatedXValues, NormalCodeUsesMeanPlusSigmaZ) {
  // Code 22: X = exp(M + D z) + S.
  const XConfidence state =
      Invert(22, Summary(0.0, 0.0, 3.0, 0.5), -1.0, {{20.0, 1, 50.0, 50.0, 1.0, 40.0, 60.0}});
  EXPECT_DOUBLE_EQ(state.CalcX[1], std::exp(3.0 + 0.5 * engine::InvertHastings(0.5)) - 1.0);
}

// --- The frequency table as printed -------------------------------------------

// The numbers of the printed frequency table of a built model, read from the
// report text itself: PrintedFrequencyRows must hold exactly these.
TEST(PrintedFrequencyRows, AreTheNumbersOfTheReportText) {
  report::ReportModel model;
  model.N = 3;
  model.Values = {0.0, 1.23456, 20.5, 301.77};
  model.Serials = {0, 3, 1, 2};
  model.PlotFreq = {0.0, 0.25, 0.5, 0.75};
  model.CalcFreq = {0.0, 0.211111, 0.500049, 0.794444};
  model.Frequencies = report::ConfidenceRows(model);
  const std::vector<FrequencyRow> rows = PrintedFrequencyRows(model);
  ASSERT_EQ(rows.size(), 3u);
  // DX = 1 for a largest value below 500: "  301.8", "21.1" ...
  EXPECT_EQ(rows[2].RowX, 301.8);
  EXPECT_EQ(rows[0].RowX, 1.2);
  EXPECT_EQ(rows[0].RowSerial, 3);
  EXPECT_EQ(rows[0].RowRank, 25.0);
  EXPECT_EQ(rows[0].RowCalc, 21.1);
  EXPECT_EQ(rows[1].RowCalc, 50.0);
  // St.Dev with two decimals: 100 sqrt(0.500049 * 0.499951 / 3) = 28.87
  EXPECT_EQ(rows[1].RowStDev, 28.87);
}

TEST(FindTableRange, SpansThePrintedValuesLessTheShift) {
  // X - S = 15, 25, 35: TableMin 15, TableMax 35 + 0.05 (35 - 15) = 36.
  XConfidence state;
  FindTableRange(
      state, {{10.0, 1, 0, 0, 0, 0, 0}, {20.0, 2, 0, 0, 0, 0, 0}, {30.0, 3, 0, 0, 0, 0, 0}}, -5.0);
  EXPECT_DOUBLE_EQ(state.TableMin, 15.0);
  EXPECT_DOUBLE_EQ(state.TableMax, 36.0);
}

TEST(AsWrittenInSummary, KeepsFifteenSignificantDigits) {
  EXPECT_EQ(AsWrittenInSummary(0.1), 0.1);
  EXPECT_EQ(AsWrittenInSummary(1.0 / 3.0), 0.333333333333333);
  EXPECT_EQ(AsWrittenInSummary(-2.0 / 3.0e-5), -66666.6666666667);
}

}  // namespace
}  // namespace quilmor::calculator
