#include "report/intervals.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "series_fixture.hpp"

namespace quilmor::report {
namespace {

using testing::FillRanked;

constexpr double kHand = 1e-6;  // hand values to 6 or more digits

class IntervalsTest : public ::testing::Test {
 protected:
  ReportModel state;

  // Values 1..10, Gumbel A = 0.5, B = -2.5, three classes.
  void OneToTenGumbel() {
    FillRanked(state, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    state.Fit.Code = 4;
    state.Fit.A = 0.5;
    state.Fit.B = -2.5;
    AnalyseIntervals(state, 3);
  }
};

TEST_F(IntervalsTest, OneToTenInThreeClasses) {
  OneToTenGumbel();
  // Width (10 - 1)/3 = 3; outer limits widened by 0.0001 and 0.0002.
  EXPECT_EQ(state.NrOfClasses, 3);
  EXPECT_NEAR(state.ClassLimit[1], 0.9999, 1e-12);
  EXPECT_EQ(state.ClassLimit[2], 4.0);
  EXPECT_EQ(state.ClassLimit[3], 7.0);
  EXPECT_NEAR(state.ClassLimit[4], 10.0002, 1e-12);
  // 4 and 7 count in the upper of their two classes.
  EXPECT_EQ(state.ClassCount[1], 3.0);
  EXPECT_EQ(state.ClassCount[2], 3.0);
  EXPECT_EQ(state.ClassCount[3], 4.0);
  // exp(-exp(-(0.5 L - 2.5))): at 4 exp(-exp(0.5)) = 0.192296, at 7
  // exp(-exp(-1)) = 0.692201.
  EXPECT_NEAR(state.LimitFreq[2], 0.192296, kHand);
  EXPECT_NEAR(state.LimitFreq[3], 0.692201, kHand);
}

TEST_F(IntervalsTest, RowsInTheDataScale) {
  OneToTenGumbel();
  const std::vector<IntervalRow> rows = IntervalRows(state);
  ASSERT_EQ(rows.size(), 5u);
  // Limits less 0.0001: 0.9998, 3.9999, 6.9999, 10.0001. The first row is half
  // a class wide: 0.9998 - 0.5*3.0001 = -0.50025; the last one and a half:
  // 10.0001 + 1.5*3 = 14.5001.
  EXPECT_NEAR(rows[0].lower, -0.50025, 1e-12);
  EXPECT_NEAR(rows[0].upper, 0.9998, 1e-12);
  EXPECT_EQ(rows[0].observed, 0.0);
  EXPECT_NEAR(rows[0].calculated, 0.0617751, kHand);  // 100 exp(-exp(2.50005))
  EXPECT_NEAR(rows[1].lower, 0.9998, 1e-12);
  EXPECT_NEAR(rows[1].upper, 3.9999, 1e-12);
  EXPECT_NEAR(rows[1].observed, 30.0, 1e-12);
  EXPECT_NEAR(rows[1].calculated, 19.167789, kHand);  // 100 (0.192296 - 0.000618)
  EXPECT_NEAR(rows[2].calculated, 49.990498, kHand);  // 100 (0.692201 - 0.192296)
  EXPECT_NEAR(rows[3].observed, 40.0, 1e-12);
  EXPECT_NEAR(rows[4].lower, 10.0001, 1e-12);
  EXPECT_NEAR(rows[4].upper, 14.5001, 1e-12);
  EXPECT_EQ(rows[4].observed, 0.0);
  EXPECT_NEAR(rows[4].calculated, 7.879878, kHand);  // 100 (1 - 0.921201)
}

TEST_F(IntervalsTest, ValueJustBelowAnInnerLimitMovesOntoIt) {
  FillRanked(state, {1, 2, 3, 3.99995, 5, 6, 7, 8, 9, 10});
  state.Fit.Code = 4;
  state.Fit.A = 0.5;
  state.Fit.B = -2.5;
  AnalyseIntervals(state, 3);
  EXPECT_EQ(state.Values[4], 4.0);
  EXPECT_EQ(state.ClassCount[1], 3.0);
  EXPECT_EQ(state.ClassCount[2], 3.0);
}

TEST_F(IntervalsTest, ObservedSharesAddUpToAHundred) {
  FillRanked(state, {0.3, 1.7, 2.2, 2.25, 4.9, 5.0, 5.1, 8.8, 13.4, 13.5, 20.0});
  state.Fit.Code = 53;
  state.Fit.A = -0.4;
  state.Fit.B = 2.0;
  for (int k : {2, 5, 7, 20, 23}) {
    AnalyseIntervals(state, k);
    const std::vector<IntervalRow> rows = IntervalRows(state);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(k + 2));
    double sum = 0.0;
    for (std::size_t j = 1; j < rows.size(); ++j) sum += rows[j].observed;
    EXPECT_NEAR(sum, 100.0, 1e-9) << k;
  }
}

TEST_F(IntervalsTest, NegativeShareBelowTheFirstClassIsCarried) {
  // Code 1, A X + B with A = 0.1, B = -0.2: at 0.9999 the function is
  // -0.10001, so the first row shows 0 and the first class 100 (0.2 + 0.10001)
  // - 10.001 = 20.0; the others 100 (0.5 - 0.2) = 30 and 100 (0.80002 - 0.5).
  FillRanked(state, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  state.Fit.Code = 1;
  state.Fit.E = 1.0;
  state.Fit.A = 0.1;
  state.Fit.B = -0.2;
  AnalyseIntervals(state, 3);
  const std::vector<IntervalRow> rows = IntervalRows(state);
  EXPECT_EQ(rows[0].calculated, 0.0);
  EXPECT_NEAR(rows[1].calculated, 20.0, 1e-9);
  EXPECT_NEAR(rows[2].calculated, 30.0, 1e-9);
  EXPECT_NEAR(rows[3].calculated, 30.002, 1e-9);
  EXPECT_NEAR(rows[4].calculated, 100.0 * (1.0 - 0.80002), 1e-9);
}

TEST_F(IntervalsTest, FrequenciesAboveOneAreTakenAsOne) {
  // Code 2, exp(B + A X^E) = exp(-1.2 + 0.2 X): 1 at X = 6, above it beyond.
  FillRanked(state, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  state.Fit.Code = 2;
  state.Fit.E = 1.0;
  state.Fit.A = 0.2;
  state.Fit.B = -1.2;
  AnalyseIntervals(state, 3);
  EXPECT_GT(state.LimitFreq[3], 1.0);  // exp(0.2) at 7: not limited in the state
  const std::vector<IntervalRow> rows = IntervalRows(state);
  // Class 2: 100 (1 - exp(-0.4)) = 32.968; class 3: 1 - 1 = 0; above: 0.
  EXPECT_NEAR(rows[2].calculated, 100.0 * (1.0 - std::exp(-0.4)), 1e-9);
  EXPECT_EQ(rows[3].calculated, 0.0);
  EXPECT_EQ(rows[4].calculated, 0.0);
}

TEST_F(IntervalsTest, TwoPiecesSwitchAtTheBreakValue) {
  // Twice Gumbel; the break value 5 lies between the limits 4 and 7, while
  // BreakIndex (by rank) would put limit 7 on the lower line too.
  FillRanked(state, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  state.Fit.Code = 9;
  state.Fit.P = 5.0;
  state.BreakIndex = 8;
  state.Fit.As = 1.0;
  state.Fit.Bs = -4.0;
  state.Fit.Ag = 0.5;
  state.Fit.Bg = -3.5;
  AnalyseIntervals(state, 3);
  EXPECT_NEAR(state.LimitFreq[2], std::exp(-std::exp(0.0)), 1e-12);  // lower: 4 - 4
  EXPECT_NEAR(state.LimitFreq[3], std::exp(-std::exp(0.0)), 1e-12);  // upper: 3.5 - 3.5
}

TEST_F(IntervalsTest, BoundBelowALimitUsesTheLimitFloorWithoutWarning) {
  // Frechet lower bound 2: at the limit 0.9999 the quantity is negative and
  // 0.001 takes its place: exp(-(0.001)^-1.8) = 0.
  FillRanked(state, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  state.Fit.Code = 58;
  state.Fit.A = -1.8;
  state.Fit.B = 2.0;
  state.Fit.C = 2.0;
  AnalyseIntervals(state, 3);
  EXPECT_EQ(state.LimitFreq[1], std::exp(-std::exp(-1.8 * std::log(0.001))));
  EXPECT_FALSE(state.BelowBoundWarning);
  // A positive quantity: at 4, (4 - 2)/exp(10/9) raised to -1.8.
  EXPECT_NEAR(state.LimitFreq[2], std::exp(-std::exp(-1.8 * std::log(2.0 / std::exp(2.0 / 1.8)))),
              1e-12);
}

TEST_F(IntervalsTest, ShiftedDataPrintLimitsInTheDataScale) {
  // Values -1 .. 6.5 are held as X + 1.0001; limits return by -1 - 0.0001.
  FillRanked(state, {-1.0, 0.5, 2.0, 3.5, 5.0, 6.5});
  state.Fit.Code = 53;
  state.Fit.A = -1.0;
  state.Fit.B = 2.0;
  AnalyseIntervals(state, 3);
  const std::vector<IntervalRow> rows = IntervalRows(state);
  // Width 7.5/3 = 2.5: -1.0001, 1.5, 4.0, 6.5002 less 0.0001 ... in data scale.
  EXPECT_NEAR(rows[1].lower, -1.0001, 1e-12);
  EXPECT_NEAR(rows[1].upper, 1.5, 1e-12);
  EXPECT_NEAR(rows[3].upper, 6.5002, 1e-12);
  EXPECT_NEAR(rows[0].lower, -1.0001 - 0.5 * 2.5001, 1e-12);
  EXPECT_NEAR(rows[4].upper, 6.5002 + 1.5 * 2.5, 1e-12);
}

TEST_F(IntervalsTest, NoFunctionCountsButDoesNotEvaluate) {
  FillRanked(state, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  state.Fit.Code = 0;
  AnalyseIntervals(state, 2);
  EXPECT_EQ(state.ClassCount[1], 5.0);  // [0.9999, 5.5)
  EXPECT_EQ(state.ClassCount[2], 5.0);
  EXPECT_EQ(state.LimitFreq[1], 0.0);
}

struct ParseCase {
  const char* text;
  std::optional<int> expected;
};

class NrOfIntervalsTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(NrOfIntervalsTest, AcceptsWholeNumbersFromTwoToTwentyThree) {
  EXPECT_EQ(ParseNrOfIntervals(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NrOfIntervalsTest,
    ::testing::Values(ParseCase{"5", 5}, ParseCase{" 7 ", 7}, ParseCase{"2", 2},
                      ParseCase{"23", 23}, ParseCase{"20", 20}, ParseCase{"1", std::nullopt},
                      ParseCase{"24", std::nullopt}, ParseCase{"-5", std::nullopt},
                      ParseCase{"", std::nullopt}, ParseCase{"abc", std::nullopt},
                      ParseCase{"5.0", std::nullopt}, ParseCase{"5x", std::nullopt},
                      ParseCase{"99999999999", std::nullopt}));

TEST(NrOfIntervalsMessageTest, QuotesTheText) {
  EXPECT_EQ(NrOfIntervalsMessage("abc"),
            "The number of intervals must be a whole number from 2 to 23, not \"abc\".");
}

}  // namespace
}  // namespace quilmor::report
