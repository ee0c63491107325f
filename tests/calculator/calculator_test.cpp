#include "calculator/calculator.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "calculator/inverse.hpp"
#include "scripted_interaction.hpp"
#include "temp_folder.hpp"
#include "textio/input_file.hpp"
#include "textio/number_format.hpp"
#include "textio/number_parse.hpp"
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

// A calculator over files in a fresh folder: "fit.inp" with ten values and
// "fit.aux" written by each test.
class CalculatorTest : public ::testing::Test {
 protected:
  testing::TempFolder folder;
  testing::ScriptedInteraction ui;
  report::TDMQuilmor dm{ui};

  void SetUp() override {
    WriteInput(10);
    dm.FileName = (folder / "fit.aux").string();
  }

  void WriteInput(int count) {
    std::vector<double> values;
    for (int i = 1; i <= count; ++i) values.push_back(10.0 * i);
    const std::string name = (folder / "fit.inp").string();
    testing::WriteBytes(folder / "fit.inp",
                        textio::RenderInputFile("Calculator", "test", name, 0.0, values));
  }

  // The parameter file: the code, then every value in E(23).
  void WriteAux(int code, const std::vector<double>& values) {
    textio::TextWriter out;
    out.Line(textio::FormatI(code));
    for (double v : values) out.Line(textio::FormatE23(v));
    testing::WriteBytes(folder / "fit.aux", out.Text());
  }

  double Number(const std::string& text) {
    auto value = textio::ParseReal(text);
    EXPECT_TRUE(value) << text;
    return value.value_or(std::nan(""));
  }

  // X -> F -> X through the texts of the fields.
  double RoundTrip(double x) {
    auto freq = Edit7Click(dm, dm.FileName, textio::FormatGeneral(x));
    EXPECT_TRUE(freq.fields) << freq.message;
    if (!freq.fields) return std::nan("");
    auto value = Edit4Exit(dm, dm.FileName, freq.fields->Edit2);
    EXPECT_TRUE(value.fields) << value.message;
    if (!value.fields) return std::nan("");
    return Number(value.fields->Edit6);
  }
};

// --- Worked numbers -------------------------------------------------------------

TEST_F(CalculatorTest, GumbelFrequencyReturnPeriodAndLimits) {
  // Code 4, A = 0.1, B = -2, S = 0, n = 10: F(20) = exp(-exp(0)) = e^-1;
  // sd = sqrt((1 - F) F 10)/10; limits F - 3.4 sd F and F + 3.4 sd (1 - F);
  // return periods 1/(1 - F) (worked separately to 15 digits).
  WriteAux(4, {0.1, -2.0, 0.0});
  const auto outcome = Edit7Click(dm, dm.FileName, "20");
  ASSERT_TRUE(outcome.fields) << outcome.message;
  EXPECT_EQ(outcome.message, "");
  EXPECT_EQ(outcome.fields->Edit2, "0.367879441171442");
  EXPECT_EQ(outcome.fields->Edit3, "1.58197670686933");
  EXPECT_EQ(outcome.fields->Edit9, "1.21527573363459");
  EXPECT_EQ(outcome.fields->Edit10, "3.28537804729715");
  // The data module's file name is what the windows show: the handler leaves it.
  EXPECT_EQ(dm.FileName, (folder / "fit.aux").string());
}

TEST_F(CalculatorTest, GumbelValueAndLimitsFromAFrequency) {
  // X(0.9) = -(ln(-ln 0.9) - 2)/0.1; limits at 0.9 -/+ 3.4 sd as above.
  WriteAux(4, {0.1, -2.0, 0.0});
  const auto outcome = Edit4Exit(dm, dm.FileName, "0.9");
  ASSERT_TRUE(outcome.fields) << outcome.message;
  EXPECT_EQ(outcome.fields->Edit4, "0.9");
  EXPECT_EQ(outcome.fields->Edit5, "10");
  EXPECT_EQ(outcome.fields->Edit6, "42.5036732731244");
  EXPECT_EQ(outcome.fields->Edit11, "27.0363504254999");
  EXPECT_EQ(outcome.fields->Edit12, "46.5713875177787");
}

TEST_F(CalculatorTest, ReturnPeriodTenIsFrequencyPointNine) {
  WriteAux(4, {0.1, -2.0, 0.0});
  const auto outcome = Edit5Exit(dm, dm.FileName, "10");
  ASSERT_TRUE(outcome.fields) << outcome.message;
  EXPECT_EQ(outcome.fields->Edit4, "0.9");
  EXPECT_EQ(outcome.fields->Edit5, "10");
  EXPECT_EQ(outcome.fields->Edit6, "42.5036732731244");
}

TEST_F(CalculatorTest, LeavingTheFrequencyFillsTheReturnPeriod) {
  WriteAux(4, {0.1, -2.0, 0.0});
  const auto outcome = Edit4Exit(dm, dm.FileName, "0.8");
  ASSERT_TRUE(outcome.fields);
  EXPECT_EQ(outcome.fields->Edit5, "5");
}

// --- Both directions for every code group -----------------------------------

struct GroupCase {
  std::string name;
  int code;
  std::vector<double> aux;  // the parameter file after the code
  std::vector<double> xs;   // X-values to go through
};
void PrintTo(const GroupCase& c, std::ostream* os) { *os << c.name; }

class CalculatorGroupTest : public CalculatorTest,
                            public ::testing::WithParamInterface<GroupCase> {};

// The frequency field carries 15 digits, so the way back loses a little.
constexpr double kRoundTripRelative = 1e-8;

TEST_P(CalculatorGroupTest, ValueToFrequencyAndBack) {
  const GroupCase& c = GetParam();
  WriteAux(c.code, c.aux);
  for (double x : c.xs) {
    EXPECT_NEAR(RoundTrip(x), x, std::fabs(x) * kRoundTripRelative) << c.name << " X " << x;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Groups, CalculatorGroupTest,
    ::testing::Values(
        // A, B, E, S for code 1: F = 0.01 x + 0.
        GroupCase{"Linear", 1, {0.01, 0.0, 1.0, 0.0}, {20.0, 70.0}},
        GroupCase{"Power", 2, {0.5, -3.0, 1.5, 0.0}, {2.0, 3.0}},
        GroupCase{"Exponential", 3, {0.3, 0.05, 1.3, -2.0}, {1.0, 4.0}},
        GroupCase{"Gumbel", 4, {0.1, -2.0, -5.0}, {5.0, 30.0}},
        GroupCase{"MirroredGumbel", 5, {0.1, -2.0, 3.0}, {15.0, 40.0}},
        // Twice Gumbel joined at P = 20 (both pieces give e^-1 there).
        GroupCase{"TwoPiece", 9, {0.1, -2.0, 0.05, -1.0, 20.0, 0.0}, {10.0, 40.0}},
        GroupCase{"TwoPieceLogistic", 14, {-0.1, 2.0, 0.05, -1.0, 20.0, 0.0}, {10.0}},
        // Mean, sigma, S; code 25 also E.
        GroupCase{"Normal", 21, {50.0, 10.0, 0.0}, {40.0, 55.0, 70.0}},
        GroupCase{"LogNormal", 22, {3.0, 0.5, 0.0}, {12.0, 30.0}},
        GroupCase{"SquareNormal", 23, {2500.0, 500.0, 0.0}, {45.0, 55.0}},
        GroupCase{"RootNormal", 24, {7.0, 1.0, 0.0}, {40.0, 60.0}},
        GroupCase{"GeneralNormal", 25, {7.0, 1.0, 0.5, 0.0}, {40.0, 60.0}},
        GroupCase{"GeneralGumbel", 51, {0.05, -2.0, 0.7, 0.0}, {20.0, 400.0}},
        GroupCase{"GeneralMirrored", 52, {0.05, -2.0, 0.7, 0.0}, {60.0, 400.0}},
        GroupCase{"Logistic", 53, {-0.08, 3.0, 0.0}, {20.0, 50.0}},
        GroupCase{"LogLogistic", 54, {-2.0, 5.0, 0.0}, {6.0, 20.0}},
        GroupCase{"GeneralLogistic", 55, {-0.1, 3.0, 1.4, 0.0}, {8.0, 14.0}},
        GroupCase{"Pareto", 56, {2.0, 50.0, 0.0}, {10.0, 80.0}},
        GroupCase{"Weibull", 57, {1.5, -6.0, 0.0}, {30.0, 80.0}},
        // A, B, C, S: the bound is in the data scale.
        GroupCase{"Frechet", 58, {-2.0, 6.0, 5.0, -4.0}, {20.0, 60.0}},
        GroupCase{"FisherTippett3", 59, {2.0, -6.0, 100.0, -4.0}, {60.0, 90.0}},
        GroupCase{"GeneralWeibull", 60, {1.5, -6.0, 0.8, 0.0}, {40.0, 120.0}},
        // A, B, average X, St.Dev. X, S.
        GroupCase{"Student1", 62, {1.0, 1.0, 50.0, 10.0, -3.0}, {30.0, 65.0}},
        GroupCase{"Student2", 63, {1.0, 1.0, 50.0, 10.0, -3.0}, {30.0, 65.0}}),
    CaseName());

// --- Shift --------------------------------------------------------------------

TEST_F(CalculatorTest, ShiftIsTakenOffTheTypedValue) {
  // With S = -5 the model is evaluated at X + 5: X = 15 gives F(20) = e^-1.
  WriteAux(4, {0.1, -2.0, -5.0});
  const auto outcome = Edit7Click(dm, dm.FileName, "15");
  ASSERT_TRUE(outcome.fields);
  EXPECT_EQ(outcome.fields->Edit2, "0.367879441171442");
}

TEST_F(CalculatorTest, BoundInTheDataScaleIsNotShiftedAgain) {
  // Frechet A = -2, B = 6 (scale e^3), C = 5: at X = 5 + e^3 the quantity is
  // 1, F = e^-1, whatever the shift.
  for (double shift : {0.0, -4.0}) {
    WriteAux(58, {-2.0, 6.0, 5.0, shift});
    const auto outcome = Edit7Click(dm, dm.FileName, textio::FormatGeneral(5.0 + std::exp(3.0)));
    ASSERT_TRUE(outcome.fields);
    EXPECT_NEAR(Number(outcome.fields->Edit2), std::exp(-1.0), 1e-14) << shift;
  }
}

// --- Two pieces ---------------------------------------------------------------

TEST(CalcVal, TwoPieceChoosesThePieceOnceFromTheFrequency) {
  // Code 9 with a jump at P = 20: BreakFreq = exp(-exp(-(0.05 20 - 0.5))).
  // The lower piece (0.1, -2) gives X = 25 there, the upper (0.05, -0.5) 20.
  CalcParameters p;
  p.Code = 9;
  p.As = 0.1;
  p.Bs = -2.0;
  p.Ag = 0.05;
  p.Bg = -0.5;
  p.P = 20.0;
  const double breakFreq = engine::UpperPieceFreqAtBreak(p);
  EXPECT_DOUBLE_EQ(breakFreq, std::exp(-std::exp(-0.5)));
  const ValueEstimate at = CalcVal(p, breakFreq, 10);
  EXPECT_NEAR(at.CalcXValue, 25.0, 1e-12);
  const ValueEstimate above = CalcVal(p, std::nextafter(breakFreq, 1.0), 10);
  EXPECT_NEAR(above.CalcXValue, 20.0, 1e-12);
  // Both limits use the piece of F: the lower limit lies below the break
  // frequency and is still inverted with the upper piece.
  const double f = std::nextafter(breakFreq, 1.0);
  const double lower = f - 3.4 * (std::sqrt((1.0 - f) * f * 10.0) / 10.0) * f;
  EXPECT_LT(lower, breakFreq);
  EXPECT_NEAR(above.CalcXLower, engine::GumbelInverse(0.05, -0.5, lower), 1e-12);
}

TEST(CalcVal, UpperLogisticPieceClampsItsFrequencies) {
  // Code 8, upper piece: a frequency of 1 or more is taken as 0.999.
  CalcParameters p;
  p.Code = 8;
  p.As = -0.1;
  p.Bs = 2.0;
  p.Ag = -0.1;
  p.Bg = 2.0;
  // The upper piece has 1/(1 + e^2) at P = 0, below F = 1: the upper piece.
  p.P = 0.0;
  // F = 1: no spread, so all three frequencies are 1 and become 0.999.
  const ValueEstimate one = CalcVal(p, 1.0, 10);
  EXPECT_DOUBLE_EQ(one.CalcXValue, engine::LogisticInverse(-0.1, 2.0, 0.999));
  EXPECT_DOUBLE_EQ(one.CalcXUpper, engine::LogisticInverse(-0.1, 2.0, 0.999));
  // The lower piece is not clamped: 1/F - 1 = 0 has no logarithm. At P =
  // 1000 the upper piece reaches 1, which F = 1 does not exceed.
  p.P = 1000.0;
  EXPECT_TRUE(std::isinf(CalcVal(p, 1.0, 10).CalcXValue));
}

// --- Normal family ------------------------------------------------------------

TEST(NormalCalc, IsMeanPlusSigmaTimesTheBisectionZ) {
  CalcParameters p;
  p.Code = 21;
  p.M = 50.0;
  p.D = 10.0;
  for (double f : {0.01, 0.5, 0.975}) {
    const double v = NormalCalc(p, f);
    EXPECT_EQ(v, 50.0 + 10.0 * engine::InvertHastings(f));
    EXPECT_GT(engine::HastingsFreq((v - 50.0) / 10.0), f - 1e-15);
  }
}

TEST_F(CalculatorTest, NormalTailsAreTheMirrorOfTheUpperTail) {
  WriteAux(21, {50.0, 10.0, 0.0});
  // X = 20: z = -3, F = 1 - F(3) = 0.0013499 (the normal value is 0.0013499).
  auto low = Edit7Click(dm, dm.FileName, "20");
  auto high = Edit7Click(dm, dm.FileName, "80");
  ASSERT_TRUE(low.fields && high.fields);
  EXPECT_NEAR(Number(low.fields->Edit2), 0.0013499, 1e-6);
  EXPECT_NEAR(Number(low.fields->Edit2) + Number(high.fields->Edit2), 1.0, 1e-14);
  // X = 0: z = -5, F = 2.87e-7, still a frequency of its own.
  const auto far = Edit7Click(dm, dm.FileName, "0");
  ASSERT_TRUE(far.fields);
  EXPECT_NEAR(Number(far.fields->Edit2), 2.867e-7, 1e-9);
}

TEST_F(CalculatorTest, LogNormalBelowZeroIsTakenAtZero) {
  // ln 0 = -infinity: the lower limit of the function, F = 0.
  WriteAux(22, {3.0, 0.5, 0.0});
  const auto outcome = Edit7Click(dm, dm.FileName, "-5");
  ASSERT_TRUE(outcome.fields);
  EXPECT_EQ(outcome.fields->Edit2, "0");
}

// --- Clamps of the formula value ----------------------------------------------

TEST_F(CalculatorTest, LinearFormulaOutsideZeroToOneIsClamped) {
  // Code 1: F = 0.02 x - 0.1.
  WriteAux(1, {0.02, -0.1, 1.0, 0.0});
  auto above = Edit7Click(dm, dm.FileName, "100");
  ASSERT_TRUE(above.fields);
  EXPECT_EQ(above.fields->Edit2, "0.9999999");
  auto below = Edit7Click(dm, dm.FileName, "1");
  ASSERT_TRUE(below.fields);
  EXPECT_EQ(below.fields->Edit2, "1E-7");
}

TEST_F(CalculatorTest, WeibullBelowZeroIsTakenAtZero) {
  // 1 - exp(-(0/C)^A) = 0: return period 1.
  WriteAux(57, {1.5, -6.0, 0.0});
  const auto outcome = Edit7Click(dm, dm.FileName, "-3");
  ASSERT_TRUE(outcome.fields);
  EXPECT_EQ(outcome.fields->Edit2, "0");
  EXPECT_EQ(outcome.fields->Edit3, "1");
  EXPECT_EQ(outcome.message, "");
}

// --- Messages -----------------------------------------------------------------

enum class Handler { X, Frequency, Period };

struct MessageCase {
  std::string name;
  Handler handler;
  std::string text;
  std::string message;  // empty: accepted
};
void PrintTo(const MessageCase& c, std::ostream* os) { *os << c.name; }

class CalculatorMessageTest : public CalculatorTest,
                              public ::testing::WithParamInterface<MessageCase> {};

TEST_P(CalculatorMessageTest, ChecksTheTypedText) {
  const MessageCase& c = GetParam();
  WriteAux(4, {0.1, -2.0, 0.0});
  bool computed = false;
  std::string message;
  switch (c.handler) {
    case Handler::X: {
      auto o = Edit7Click(dm, dm.FileName, c.text);
      computed = o.fields.has_value();
      message = o.message;
      break;
    }
    case Handler::Frequency: {
      auto o = Edit4Exit(dm, dm.FileName, c.text);
      computed = o.fields.has_value();
      message = o.message;
      break;
    }
    case Handler::Period: {
      auto o = Edit5Exit(dm, dm.FileName, c.text);
      computed = o.fields.has_value();
      message = o.message;
      break;
    }
  }
  EXPECT_EQ(message, c.message);
  EXPECT_EQ(computed, c.message.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CalculatorMessageTest,
    ::testing::Values(
        MessageCase{"XNotANumber", Handler::X, "abc", "The value is not a valid real"},
        MessageCase{"XEmpty", Handler::X, "", "The value is not a valid real"},
        MessageCase{"XWithComma", Handler::X, "20,5", ""},
        MessageCase{"FrequencyNotANumber", Handler::Frequency, "0.5x",
                    "The frequency is not a valid integer"},
        MessageCase{"FrequencyZero", Handler::Frequency, "0", "The frequency must be >0 and <1"},
        MessageCase{"FrequencyOne", Handler::Frequency, "1", "The frequency must be >0 and <1"},
        // The double of 0.000001 lies just below the bound: refused.
        MessageCase{"FrequencyLowBound", Handler::Frequency, "0.000001",
                    "The frequency must be >0 and <1"},
        MessageCase{"FrequencyJustAboveLowBound", Handler::Frequency, "0.0000011", ""},
        MessageCase{"FrequencyHighBound", Handler::Frequency, "0.999999", ""},
        MessageCase{"FrequencyAboveHighBound", Handler::Frequency, "0.9999991",
                    "The frequency must be >0 and <1"},
        MessageCase{"PeriodNotANumber", Handler::Period, "ten",
                    "The retrun period is not a valid real"},
        MessageCase{"PeriodTooLarge", Handler::Period, "1000000.0001",
                    "The return period must be >0 and <1000000"},
        MessageCase{"PeriodLargest", Handler::Period, "1000000", ""},
        MessageCase{"PeriodLowBound", Handler::Period, "0.000001",
                    "The return period must be >0 and <1000000"},
        MessageCase{"PeriodNegative", Handler::Period, "-5",
                    "The return period must be >0 and <1000000"}),
    CaseName());

// --- Results without a value ----------------------------------------------------

TEST_F(CalculatorTest, AFrequencyOfOneHasNoFiniteReturnPeriod) {
  WriteAux(4, {0.1, -2.0, 0.0});
  const auto outcome = Edit7Click(dm, dm.FileName, "1000");
  ASSERT_TRUE(outcome.fields);
  EXPECT_EQ(outcome.fields->Edit2, "1");
  EXPECT_EQ(outcome.fields->Edit3, "no value");
  EXPECT_EQ(outcome.fields->Edit10, "no value");
  EXPECT_EQ(outcome.message, "A cumulative frequency of 1 has no finite return period");
}

TEST_F(CalculatorTest, ReturnPeriodOfOneOrLessHasNoValue) {
  WriteAux(4, {0.1, -2.0, 0.0});
  const auto outcome = Edit5Exit(dm, dm.FileName, "0.5");
  ASSERT_TRUE(outcome.fields);
  EXPECT_EQ(outcome.fields->Edit4, "-1");
  EXPECT_EQ(outcome.fields->Edit6, "no value");
  EXPECT_EQ(outcome.fields->Edit11, "no value");
  EXPECT_EQ(outcome.fields->Edit12, "no value");
  EXPECT_EQ(outcome.message, kReturnPeriodOneOrLess);
}

TEST_F(CalculatorTest, BelowTheFrechetBoundThereIsNoFrequency) {
  WriteAux(58, {-2.0, 6.0, 5.0, 0.0});
  const auto outcome = Edit7Click(dm, dm.FileName, "4");
  ASSERT_TRUE(outcome.fields);
  EXPECT_EQ(outcome.fields->Edit2, "no value");
  EXPECT_EQ(outcome.fields->Edit3, "no value");
  EXPECT_EQ(outcome.message, kNoFrequencyAtX);
}

TEST_F(CalculatorTest, ANegativeSquareHasNoRoot) {
  // Square-normal with mean -100: v = -100 + z < 0 at the median.
  WriteAux(23, {-100.0, 1.0, 0.0});
  const auto outcome = Edit4Exit(dm, dm.FileName, "0.5");
  ASSERT_TRUE(outcome.fields);
  EXPECT_EQ(outcome.fields->Edit6, "no value");
  EXPECT_EQ(outcome.message, kNoXAtFrequency);
}

// --- Files ----------------------------------------------------------------------

TEST_F(CalculatorTest, AMissingInputFileIsNamedAsMissing) {
  WriteAux(4, {0.1, -2.0, 0.0});
  std::filesystem::remove(folder / "fit.inp");
  const auto outcome = Edit7Click(dm, dm.FileName, "20");
  EXPECT_FALSE(outcome.fields);
  EXPECT_EQ(outcome.message, "The input file \"" + (folder / "fit.inp").string() +
                                 "\" beside the parameter file \"" +
                                 (folder / "fit.aux").string() +
                                 "\" is missing; the calculator needs the data of the run it "
                                 "belongs to");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CalculatorTest, AMissingOrDamagedParameterFileGivesAMessage) {
  auto outcome = Edit4Exit(dm, dm.FileName, "0.5");
  EXPECT_FALSE(outcome.fields);
  EXPECT_EQ(outcome.message,
            "The parameter file \"" + (folder / "fit.aux").string() + "\" could not be read");
  testing::WriteBytes(folder / "fit.aux", "57\r\n 1.5\r\n");
  outcome = Edit4Exit(dm, dm.FileName, "0.5");
  EXPECT_FALSE(outcome.fields);
  EXPECT_NE(outcome.message.find("cannot be used"), std::string::npos);
}

TEST_F(CalculatorTest, LimitsUseTheRowsOfTheReloadedInputFile) {
  // n = 40 instead of 10 narrows the limits: sd = sqrt((1 - F) F 40)/40.
  WriteAux(4, {0.1, -2.0, 0.0});
  WriteInput(40);
  const auto outcome = Edit4Exit(dm, dm.FileName, "0.9");
  ASSERT_TRUE(outcome.fields);
  const double sd = std::sqrt((1.0 - 0.9) * 0.9 * 40.0) / 40.0;
  EXPECT_NEAR(Number(outcome.fields->Edit12),
              engine::GumbelInverse(0.1, -2.0, 0.9 + 3.4 * sd * 0.1), 1e-10);
}

}  // namespace
}  // namespace quilmor::calculator
