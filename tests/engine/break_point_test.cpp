#include "engine/break_point.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/catalogue.hpp"
#include "engine/fit_data.hpp"
#include "engine_test_support.hpp"
#include "model_data.hpp"

namespace quilmor::engine {
namespace {

using testing::ExactTwoGumbel;
using testing::PlotPositions;
using testing::PreparedState;
using testing::TwoPieceSeries;

std::vector<double> OneToTen() { return {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}; }

TEST(BreakGrid, InnerPointsOfFiftySteps) {
  // Values 1..10: D = 9/50 = 0.18, so P runs from 1.18 to 9.82.
  const std::vector<double> grid = BreakGrid(1.0, 10.0);
  ASSERT_EQ(grid.size(), 50u);
  EXPECT_DOUBLE_EQ(grid[1], 1.18);
  EXPECT_NEAR(grid[49], 9.82, 1e-13);
}

struct SideRow {
  const char* name;
  double breakValue;
  int nBelow;
  bool used;
};

class PieceSides : public ::testing::TestWithParam<SideRow> {};

TEST_P(PieceSides, NeedThreeValuesOnEachSide) {
  AnalysisState state = PreparedState(OneToTen());
  const FitData data = FitData::FromState(state);
  for (int code = 7; code <= 18; ++code) {
    const PieceTrial trial = TwoPieceTrial(code, data, GetParam().breakValue);
    EXPECT_EQ(trial.nBelow, GetParam().nBelow) << code;
    EXPECT_EQ(trial.used, GetParam().used) << code;
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, PieceSides,
                         ::testing::Values(SideRow{"FirstTrialOfOneToTen", 1.18, 1, false},
                                           SideRow{"ThreeBelow", 3.5, 3, true},
                                           // A value equal to the break is below it.
                                           SideRow{"EqualValueIsBelow", 5.0, 5, true},
                                           SideRow{"ThreeAbove", 7.0, 7, true},
                                           SideRow{"TwoAbove", 8.0, 8, false}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(FitTwoPieceCodes, FindsTheBreakOfAnExactTwoPieceSeries) {
  const TwoPieceSeries series = ExactTwoGumbel();
  AnalysisState state = PreparedState(series.values);
  const FitData data = FitData::FromState(state);
  const std::vector<double> grid = BreakGrid(series.values.front(), series.values.back());
  // Several trial breaks fall into the gap between ranks 32 and 33; they all
  // give the same pieces and the same SSE, so the lowest of them is kept.
  int firstInGap = 0, inGap = 0;
  for (int j = 1; j <= 49; ++j) {
    if (grid[j] >= series.values[31] && grid[j] < series.values[32]) {
      if (!firstInGap) firstInGap = j;
      ++inGap;
    }
  }
  ASSERT_GE(inGap, 2);

  const std::vector<Candidate> candidates = FitTwoPieceCodes(state, data, Workers(2));
  ASSERT_EQ(candidates.size(), 12u);
  for (int code = 7; code <= 18; ++code) EXPECT_EQ(candidates[code - 7].code, code);
  const Candidate& twice = candidates[9 - 7];
  EXPECT_EQ(twice.nBelow, 32);
  EXPECT_EQ(twice.breakValue, grid[firstInGap]);
  EXPECT_LT(twice.sse, 1e-20);
  EXPECT_NEAR(twice.slopeLow, series.s1, 1e-9);
  EXPECT_NEAR(twice.interceptLow, series.i1, 1e-9);
  EXPECT_NEAR(twice.slopeHigh, series.s2, 1e-9);
  EXPECT_NEAR(twice.interceptHigh, series.zAnchor - series.s2 * series.values[31], 1e-9);
  // No other pair of types fits this series as well.
  for (const Candidate& c : candidates) {
    if (c.code != 9) {
      EXPECT_GT(c.sse, 1e-6) << c.code;
    }
  }
}

TEST(FitTwoPieceCodes, LeavesTheLastTrialInTheState) {
  AnalysisState state = PreparedState(OneToTen());
  const FitData data = FitData::FromState(state);
  FitTwoPieceCodes(state, data, Workers(1));
  EXPECT_EQ(state.NrOfTrials, 50);
  EXPECT_NEAR(state.TrialBreak, 9.82, 1e-13);
  EXPECT_EQ(state.NBelow, 9);
  ASSERT_EQ(state.ScanCounts.size(), 12u);
  for (const ScanCount& scan : state.ScanCounts) EXPECT_EQ(scan.trials, 49);
}

TEST(FitTwoPieceCodes, WithoutThreeValuesOnEachSideTheCandidateNeverWins) {
  // Five values: no break leaves three on each side.
  AnalysisState state = PreparedState({1, 2, 3, 4, 5});
  const FitData data = FitData::FromState(state);
  for (const Candidate& c : FitTwoPieceCodes(state, data, Workers(2))) {
    EXPECT_EQ(c.sse, 1'000'000.0) << c.code;
  }
}

TEST(FitTwoPieceCodes, MixedTypesAnchorTheUpperLineWithTheLowerOrdinate) {
  // Code 10: mirrored Gumbel below, logistic above. The upper line must pass
  // through (X_NBelow, −ln(−ln(1 − Fr_NBelow))) and the centroid of the
  // logistic ordinates ln(1/Fr − 1) of the upper points.
  AnalysisState state = PreparedState(OneToTen());
  const FitData data = FitData::FromState(state);
  const PieceTrial trial = TwoPieceTrial(10, data, 5.5);
  ASSERT_TRUE(trial.used);
  ASSERT_EQ(trial.nBelow, 5);
  const std::vector<double> fr = PlotPositions(10);
  const double anchorY = -std::log(-std::log(1.0 - fr[4]));
  double sumY = 0.0;
  for (int i = 5; i < 10; ++i) sumY += std::log(1.0 / fr[i] - 1.0);
  const double meanY = sumY / 5.0, meanX = 8.0;
  EXPECT_NEAR(trial.slopeHigh, (meanY - anchorY) / (meanX - 5.0), 1e-13);
  EXPECT_NEAR(trial.interceptHigh, meanY - trial.slopeHigh * meanX, 1e-13);
}

}  // namespace
}  // namespace quilmor::engine
