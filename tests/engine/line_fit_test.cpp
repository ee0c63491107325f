#include "engine/line_fit.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine_test_support.hpp"

namespace quilmor::engine {
namespace {

using testing::PreparedState;

// Sums of a few small integers are exact, so the worked values hold to the
// last bit or nearly; allow a few units in the last place.
constexpr double kExact = 1e-14;

AnalysisState Points(const std::vector<double>& x, const std::vector<double>& y) {
  AnalysisState state;
  state.N = static_cast<int>(x.size());
  for (int i = 1; i <= state.N; ++i) {
    state.Values[i] = x[i - 1];
    state.PlotFreq[i] = y[i - 1];
  }
  return state;
}

TEST(FitLine, WorkedLine) {
  // x = 1, 2, 3; y = 2, 4, 6: Sxx = 14 - 36/3 = 2, slope (28 - 12·6/3)/2 = 2,
  // intercept 4 - 2·2 = 0, StdDevX = √(2/2) = 1.
  AnalysisState state = Points({1, 2, 3}, {2, 4, 6});
  FitLine(state);
  EXPECT_FALSE(state.StopFlag);
  EXPECT_NEAR(state.Slope, 2.0, kExact);
  EXPECT_NEAR(state.MeanX, 2.0, kExact);
  EXPECT_NEAR(state.MeanY, 4.0, kExact);
  EXPECT_NEAR(state.Sxx, 2.0, kExact);
  EXPECT_NEAR(state.MeanY - state.Slope * state.MeanX, 0.0, kExact);
  EXPECT_NEAR(state.StdDevX, 1.0, kExact);
}

struct NoSpreadRow {
  const char* name;
  std::vector<double> x;
};

class FitLineNoSpread : public ::testing::TestWithParam<NoSpreadRow> {};

TEST_P(FitLineNoSpread, SetsStopFlagAndKeepsEarlierResults) {
  const std::vector<double>& x = GetParam().x;
  AnalysisState state = Points(x, std::vector<double>(x.size(), 0.5));
  state.Slope = 7.5;
  state.MeanX = 1.25;
  state.MeanY = 0.75;
  state.StdDevX = 3.5;
  FitLine(state);
  EXPECT_TRUE(state.StopFlag);
  EXPECT_EQ(state.Slope, 7.5);
  EXPECT_EQ(state.MeanX, 1.25);
  EXPECT_EQ(state.MeanY, 0.75);
  EXPECT_EQ(state.StdDevX, 3.5);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FitLineNoSpread,
    ::testing::Values(NoSpreadRow{"ThreeFives", {5, 5, 5}}, NoSpreadRow{"OneValue", {4}},
                      // 1.1 is not a binary fraction: six of them leave Sxx a
                      // little above 0, yet there is no variation at all.
                      NoSpreadRow{"SixTimesOnePointOne", {1.1, 1.1, 1.1, 1.1, 1.1, 1.1}},
                      // Σx² overflows: no usable line either.
                      NoSpreadRow{"Overflowing", {1e200, 2e200, 3e200}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(FitLine, SixTimesOnePointOneReallyLeavesRoundingInSxx) {
  // The reason for the all-equal test: the plain formula is fooled here.
  double sx = 0.0, sxx = 0.0;
  for (int i = 0; i < 6; ++i) {
    sx += 1.1;
    sxx += 1.1 * 1.1;
  }
  EXPECT_GT(sxx - sx * sx / 6.0, 0.0);
}

TEST(FitLine, EveryCallClearsTheStopFlagFirst) {
  AnalysisState state = Points({1, 2, 3}, {2, 4, 6});
  state.StopFlag = true;
  FitLine(state);
  EXPECT_FALSE(state.StopFlag);
}

TEST(FitUpperPiece, PassesThroughTheLastLowerPointAndTheUpperCentroid) {
  // Lower points end at (2, 1); upper points (3, 2), (5, 4): centroid (4, 3),
  // slope (3 − 1)/(4 − 2) = 1, intercept 3 − 4 = −1.
  AnalysisState state = Points({1, 2, 3, 5}, {0.5, 1, 2, 4});
  state.NBelow = 2;
  FitUpperPiece(state);
  EXPECT_NEAR(state.MeanX, 4.0, kExact);
  EXPECT_NEAR(state.MeanY, 3.0, kExact);
  EXPECT_NEAR(state.Slope, 1.0, kExact);
  EXPECT_NEAR(state.Intercept, -1.0, kExact);
}

TEST(FitLowerPiece, LeastSquaresOverTheLowerRanksOnly) {
  // Ranks 1..3 lie on y = 3x − 1; rank 4 is far off and must not count.
  AnalysisState state = Points({1, 2, 3, 4}, {2, 5, 8, 100});
  state.NBelow = 3;
  FitLowerPiece(state);
  EXPECT_NEAR(state.Slope, 3.0, kExact);
  EXPECT_NEAR(state.Intercept, -1.0, kExact);
  EXPECT_NEAR(state.Sxx, 2.0, kExact);
}

TEST(FitLowerPiece, WithoutSpreadTakesSlope0001) {
  AnalysisState state = Points({2, 2, 2, 9}, {1, 2, 3, 4});
  state.NBelow = 3;
  FitLowerPiece(state);
  EXPECT_EQ(state.Slope, 0.001);
  // Intercept = MeanY − 0.001·MeanX = 2 − 0.002.
  EXPECT_NEAR(state.Intercept, 2.0 - 0.002, kExact);
  EXPECT_FALSE(state.StopFlag);
}

TEST(FitThroughFirstPoint, SlopeFromTheFirstPointToTheCentroid) {
  // Points (0, 0), (2, 1), (4, 5): centroid (2, 2), slope 2/2 = 1.
  AnalysisState state = Points({0, 2, 4}, {0, 1, 5});
  state.Intercept = 42.0;
  FitThroughFirstPoint(state);
  EXPECT_NEAR(state.Slope, 1.0, kExact);
  EXPECT_NEAR(state.MeanX, 2.0, kExact);
  EXPECT_EQ(state.Intercept, 42.0);  // not computed
}

TEST(LineFits, RanksOutsideTheArraysAreRefused) {
  AnalysisState state = Points({1, 2, 3}, {1, 2, 3});
  state.N = kRankArraySize + 10;
  FitLine(state);
  EXPECT_TRUE(state.StopFlag);
  state.N = 3;
  state.NBelow = 3;  // no upper point
  state.Slope = 9.0;
  FitUpperPiece(state);
  EXPECT_EQ(state.Slope, 9.0);
  state.NBelow = 0;
  FitLowerPiece(state);
  EXPECT_EQ(state.Slope, 9.0);
}

// Lines fitted side by side, one set of abscissae per lane, are those fitted
// one at a time, bit for bit: with ties, a set without spread, rounding-level
// spread, very large and very small abscissae.
TEST(LeastSquaresLines, EachLaneIsTheLineOfItsOwnAbscissae) {
  const std::vector<double> values = {1.0, 2.0, 2.0, 3.0, 5.0, 5.0, 5.0, 8.0, 13.0};
  const ValueRuns runs = FindRuns(values.data(), static_cast<int>(values.size()));
  const int count = runs.Count();
  std::vector<double> y;
  double sumY = 0.0;
  for (std::size_t i = 0; i < values.size(); ++i) {
    y.push_back(std::log(-std::log((i + 1.0) / (values.size() + 1.0))));
    sumY += y.back();
  }
  // Lane k's abscissa of run r.
  auto abscissa = [&](int k, int r) {
    switch (k) {
      case 0: return std::log(runs.value[r] + 0.5);
      case 1: return 7.25;                                     // no spread
      case 2: return 1.1 + (r == 3 ? 1e-15 : 0.0);             // rounding-level spread
      case 3: return 1e150 * runs.value[r];
      case 4: return 1e-150 * std::sin(r + 1.0);
      case 5: return -std::log(runs.value[r]) * 1e3;
      case 6: return r == 0 ? 1.0 : 0.0;
      default: return std::sqrt(runs.value[r]) - 2.0;
    }
  };
  std::vector<double> byRun(static_cast<std::size_t>(kLineLanes * count));
  for (int r = 0; r < count; ++r) {
    for (int k = 0; k < kLineLanes; ++k) byRun[r * kLineLanes + k] = abscissa(k, r);
  }
  std::vector<LineStats> lines(kLineLanes);
  LeastSquaresLines(byRun.data(), runs, y.data(), sumY, lines.data());
  for (int k = 0; k < kLineLanes; ++k) {
    std::vector<double> one(count);
    for (int r = 0; r < count; ++r) one[r] = abscissa(k, r);
    const LineStats alone = LeastSquaresLine(one.data(), runs, y.data(), sumY);
    EXPECT_EQ(lines[k].noSpread, alone.noSpread) << k;
    EXPECT_EQ(lines[k].noSpread, k == 1) << k;
    EXPECT_SAME_BITS(lines[k].sxx, alone.sxx);
    if (alone.noSpread) continue;
    EXPECT_SAME_BITS(lines[k].slope, alone.slope);
    EXPECT_SAME_BITS(lines[k].meanX, alone.meanX);
    EXPECT_SAME_BITS(lines[k].meanY, alone.meanY);
    EXPECT_SAME_BITS(lines[k].stdDevX, alone.stdDevX);
  }
}

}  // namespace
}  // namespace quilmor::engine
