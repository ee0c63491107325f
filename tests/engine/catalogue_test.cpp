#include "engine/catalogue.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace quilmor::engine {
namespace {

TEST(SetDistributionName, AssignsOnlyOnAMatch) {
  AnalysisState state;
  SetDistributionName(state, 13);
  EXPECT_EQ(state.DistributionName, "Standard Gumbel + mirrored Gumbel  distribution");
  SetDistributionName(state, 6);
  EXPECT_EQ(state.DistributionName, "Standard Gumbel + mirrored Gumbel  distribution");
  SetDistributionName(state, 0);
  EXPECT_EQ(state.DistributionName, "");
  SetDistributionName(state, 62);
  EXPECT_EQ(state.DistributionName, "Student t-distribution with 1 d.f.");
}

struct HastingsRow {
  double u;
  double expected;
  double tolerance;
};

class HastingsTest : public ::testing::TestWithParam<HastingsRow> {};

TEST_P(HastingsTest, MatchesTheWorkedValues) {
  EXPECT_NEAR(HastingsFreq(GetParam().u), GetParam().expected, GetParam().tolerance);
}

// Worked values: 1 - 0.398942 (0.31938 - 0.35656 + 1.78148 - 1.82126 + 1.33027)
// at 0; the polynomial goes negative below about -1.904.
INSTANTIATE_TEST_SUITE_P(Rows, HastingsTest,
                         ::testing::Values(HastingsRow{0.0, 0.500002, 1e-6},
                                           HastingsRow{1.0, 0.84135, 1e-5},
                                           HastingsRow{-0.5, 0.30848, 1e-5},
                                           HastingsRow{-1.0, 0.15768, 1e-5},
                                           HastingsRow{-1.5, 0.0593, 1e-4},
                                           HastingsRow{-2.0, 0.0, 0.0},
                                           HastingsRow{-1.0 / 0.23165, 0.0, 0.0},
                                           HastingsRow{-INFINITY, 0.0, 0.0},
                                           HastingsRow{INFINITY, 1.0, 0.0}));

TEST(Ordinate, InvertsFreqFromLine) {
  for (Transform t : {Transform::Power, Transform::Exponential, Transform::Gumbel,
                      Transform::MirroredGumbel, Transform::Logistic, Transform::Weibull,
                      Transform::Frechet, Transform::Pareto}) {
    for (double fr : {0.05, 0.3, 0.5, 0.77, 0.95}) {
      EXPECT_NEAR(FreqFromLine(t, Ordinate(t, fr)), fr, 1e-12) << static_cast<int>(t);
    }
  }
}

TEST(SingleModelFreq, BoundFloorIsUsedAndReported) {
  ModelParameters p;
  p.A = -2.0;
  p.B = 1.0;
  p.C = 5.0;
  bool floorUsed = false;
  const double fc = SingleModelFreq(58, p, 4.0, 0.0001, &floorUsed);
  EXPECT_TRUE(floorUsed);
  EXPECT_DOUBLE_EQ(fc, std::exp(-std::exp(-2.0 * std::log(0.0001))));
}

TEST(SingleModelFreq, ModelsNeedingPositiveXAreEvaluatedAtZeroBelowIt) {
  ModelParameters p;
  p.A = 1.5;
  p.B = -0.3;
  p.E = 0.7;
  for (int code : {2, 3, 51, 52, 54, 55, 57, 60}) {
    EXPECT_EQ(SingleModelFreq(code, p, -3.0), SingleModelFreq(code, p, 0.0)) << code;
    EXPECT_FALSE(std::isnan(SingleModelFreq(code, p, -3.0))) << code;
  }
}

TEST(TwoPieceKinds, CodesPairTheirTransforms) {
  EXPECT_EQ(TwoPieceKinds(10).lower, Transform::MirroredGumbel);
  EXPECT_EQ(TwoPieceKinds(10).upper, Transform::Logistic);
  EXPECT_EQ(TwoPieceKinds(16).upper, Transform::Exponential);
  EXPECT_EQ(TwoPieceKinds(14).lower, Transform::Logistic);
}

}  // namespace
}  // namespace quilmor::engine
