#include "engine/normal_family.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "engine/catalogue.hpp"
#include "engine/exponent_scan.hpp"
#include "engine/fit_series.hpp"
#include "engine_test_support.hpp"
#include "scripted_interaction.hpp"

namespace quilmor::engine {
namespace {

using quilmor::testing::ScriptedInteraction;
using testing::PlotPositions;
using testing::PreparedState;

// SSE of the normal-family fit at σ, written out from the model.
double HandSSE(const std::vector<double>& xPrime, double mean, double sigma) {
  const std::vector<double> fr = PlotPositions(static_cast<int>(xPrime.size()));
  double sse = 0.0;
  for (std::size_t i = 0; i < xPrime.size(); ++i) {
    const double d = fr[i] - HastingsFreq((xPrime[i] - mean) / sigma);
    sse += d * d;
  }
  return sse;
}

TEST(SigmaTrial, RunsFromHalfToOneAndAHalfTimesS) {
  EXPECT_DOUBLE_EQ(SigmaTrial(1, 2.4), 1.2);
  EXPECT_DOUBLE_EQ(SigmaTrial(101, 2.4), 2.4);
  EXPECT_DOUBLE_EQ(SigmaTrial(201, 2.4), 3.6);
  EXPECT_DOUBLE_EQ(SigmaTrial(2, 2.0), 1.01);  // steps of 0.005·s
}

TEST(FitNormalFamily, LogNormalOnOneETwoE) {
  // x′ = ln X = 0, 1, 2: mean 1, s = 1; σ is searched from 0.5 to 1.5.
  AnalysisState state = PreparedState({1.0, std::numbers::e, std::numbers::e * std::numbers::e});
  state.Code = 22;
  ScriptedInteraction ui;
  ASSERT_TRUE(FitNormalFamily(state, testing::NoticesTo(ui).notice));
  EXPECT_NEAR(state.NormMean[22], 1.0, 1e-15);
  EXPECT_NEAR(state.NormStdDev[22], 1.0, 1e-15);
  EXPECT_EQ(state.StdDevX, state.NormStdDev[22]);
  const double s = state.NormStdDev[22];
  const std::vector<double> xPrime = {0.0, 1.0, 2.0};
  // σ is the first grid value with the least SSE, and NormSSE its SSE.
  int chosen = 0;
  double best = 0.0;
  for (int k = 1; k <= 201; ++k) {
    const double sse = HandSSE(xPrime, 1.0, (k + 99) * s / 200.0);
    if (k == 1 || sse < best) {
      best = sse;
      chosen = k;
    }
  }
  EXPECT_NEAR(state.NormSigma[22], (chosen + 99) * s / 200.0, 1e-15);
  EXPECT_NEAR(state.NormSSE[22], best, 1e-15);
}

TEST(FitNormalFamily, OutliersPushSigmaToTheFirstTrial) {
  // Eighteen values close together and two far away: s is inflated by the
  // outliers, and the body of the series wants a σ far below 0.5·s, so the
  // SSE grows over the whole grid and trial 1 is kept.
  std::vector<double> values = {-100.0};
  for (int i = 0; i < 18; ++i) values.push_back(-1.0 + 2.0 * i / 17.0);
  values.push_back(100.0);
  for (double& v : values) v += 200.0;
  AnalysisState state = PreparedState(values);
  state.Code = 21;
  ScriptedInteraction ui;
  ASSERT_TRUE(FitNormalFamily(state, testing::NoticesTo(ui).notice));
  EXPECT_EQ(state.NormSigma[21], SigmaTrial(1, state.NormStdDev[21]));
  EXPECT_NEAR(state.NormSigma[21], 0.5 * state.NormStdDev[21], 1e-12);
}

TEST(FitNormalFamily, TransformsPerCode) {
  // Mean of x′ for X = 1, 4, 9: X gives 14/3, X² gives 98/3, √X gives 2.
  const std::vector<double> values = {1.0, 4.0, 9.0};
  ScriptedInteraction ui;
  const double means[] = {14.0 / 3.0, 0.0, 98.0 / 3.0, 2.0};
  for (int code : {21, 23, 24}) {
    AnalysisState state = PreparedState(values);
    state.Code = code;
    ASSERT_TRUE(FitNormalFamily(state, testing::NoticesTo(ui).notice));
    EXPECT_NEAR(state.NormMean[code], means[code - 21], 1e-13) << code;
  }
}

TEST(FitNormalFamily, NoSpreadKeepsTheEarlierSigma) {
  AnalysisState state = PreparedState({3.0, 3.0, 3.0});
  state.Code = 21;
  state.NormSigma[21] = 0.25;
  state.NormSSE[21] = 0.125;
  ScriptedInteraction ui;
  EXPECT_FALSE(FitNormalFamily(state, testing::NoticesTo(ui).notice));
  EXPECT_EQ(state.NormSigma[21], 0.25);
  EXPECT_EQ(state.NormSSE[21], 0.125);
}

TEST(SigmaSearch, SameChoiceWithOrWithoutWorkers) {
  const std::vector<double> xPrime = {0.3, 1.1, 1.2, 2.5, 2.6, 2.9, 4.4, 7.0};
  const std::vector<double> fr = PlotPositions(8);
  const SigmaSearchResult alone = SigmaSearch(xPrime.data(), fr.data(), 8);
  const Workers workers(3);
  const SigmaSearchResult shared = SigmaSearch(xPrime.data(), fr.data(), 8, &workers);
  EXPECT_TRUE(alone.searched);
  EXPECT_SAME_BITS(alone.sigma, shared.sigma);
  EXPECT_SAME_BITS(alone.sse, shared.sse);
}

// --- Code 25 --------------------------------------------------------------------

class GeneralNormal : public ::testing::Test {
 protected:
  void SetUp() override {
    // Squares of an evenly spread series: x′ = X^0.5 is close to normal.
    std::vector<double> values;
    for (int i = 1; i <= 30; ++i) {
      const double u = -2.0 + 4.0 * i / 31.0;
      values.push_back((5.0 + u) * (5.0 + u));
    }
    state = PreparedState(values);
    FitDistributions(state, "25", testing::NoticesTo(ui));
  }

  AnalysisState state;
  ScriptedInteraction ui;
};

TEST_F(GeneralNormal, ShowsBothBusyNoticesInOrder) {
  ASSERT_EQ(ui.progress.size(), 2u);
  EXPECT_EQ(ui.progress[0], " Still busy ....");
  EXPECT_EQ(ui.progress[1], " Progressing ...");
  EXPECT_EQ(state.Code, 25);
  ASSERT_EQ(state.ScanCounts.size(), 1u);
  EXPECT_EQ(state.ScanCounts[0].code, 25);
  EXPECT_EQ(state.ScanCounts[0].trials, 280);
}

TEST_F(GeneralNormal, KeepsTheFirstExponentWithTheLeastSSE) {
  int chosen = 0;
  for (int k = 1; k <= 280; ++k) {
    if (state.ExpE[25] == 0.01 * k + 0.19) chosen = k;
  }
  ASSERT_GT(chosen, 0);
  for (int k = 1; k < chosen; ++k) EXPECT_GT(state.ScanSSE[k], state.ScanSSE[chosen]) << k;
  for (int k = chosen + 1; k <= 280; ++k) EXPECT_GE(state.ScanSSE[k], state.ScanSSE[chosen]) << k;
  EXPECT_EQ(state.NormSigma[25], state.SigmaBest[chosen]);
}

TEST_F(GeneralNormal, FinalFrequenciesComeFromTheReportedExponent) {
  double sum = 0.0;
  std::vector<double> xPrime;
  for (int i = 1; i <= state.N; ++i) {
    xPrime.push_back(std::exp(state.ExpE[25] * std::log(state.Values[i])));
    sum += xPrime.back();
  }
  EXPECT_NEAR(state.NormMean[25], sum / state.N, 1e-12);
  for (int i = 1; i <= state.N; ++i) {
    EXPECT_NEAR(state.CalcFreq[i],
                HastingsFreq((xPrime[i - 1] - state.NormMean[25]) / state.NormSigma[25]), 1e-15)
        << i;
  }
}

}  // namespace
}  // namespace quilmor::engine
