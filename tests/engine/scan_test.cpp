#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/bound_scans.hpp"
#include "engine/exponent_scan.hpp"
#include "engine/fit_data.hpp"
#include "engine/fit_series.hpp"
#include "engine/pareto_scan.hpp"
#include "engine/scan_choice.hpp"
#include "engine/single_fits.hpp"
#include "engine/workers.hpp"
#include "engine_test_support.hpp"
#include "model_data.hpp"
#include "scripted_interaction.hpp"

namespace quilmor::engine {
namespace {

using testing::ExponentModel;
using testing::ModelSeries;
using testing::PreparedState;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// --- Grids ------------------------------------------------------------------

TEST(ExponentGrid, RunsFrom020To299InStepsOf001) {
  const std::vector<double> grid = ExponentGrid();
  ASSERT_EQ(grid.size(), 281u);
  // The running sum drifts from 0.19 + 0.01·k by a few units in the last place.
  for (int k = 1; k <= 280; ++k) EXPECT_NEAR(grid[k], 0.19 + 0.01 * k, 1e-13) << k;
  EXPECT_NEAR(grid[1], 0.20, 1e-15);
  EXPECT_NEAR(grid[280], 2.99, 1e-13);
}

TEST(ExponentGrid, ReportsTheExponentAsFormedFromTheTrialNumber) {
  EXPECT_EQ(ReportedExponent(1), 0.01 * 1 + 0.19);
  EXPECT_EQ(ReportedExponent(131), 0.01 * 131 + 0.19);
  EXPECT_EQ(ReportedExponent(280), 0.01 * 280 + 0.19);
}

struct BandRow {
  const char* name;
  double exponent;
  bool nearLinear;
};

class NearLinearBand : public ::testing::TestWithParam<BandRow> {};

TEST_P(NearLinearBand, BothBoundsAreExclusive) {
  EXPECT_EQ(IsNearLinear(GetParam().exponent), GetParam().nearLinear);
}

// The reported exponents of trials 60 and 102 are the doubles 0.79 and 1.21
// themselves, so they stay outside the band; 61 (0.80) and 101 (1.20) are in.
INSTANTIATE_TEST_SUITE_P(
    Rows, NearLinearBand,
    ::testing::Values(BandRow{"E070", 0.70, false}, BandRow{"E079", 0.79, false},
                      BandRow{"Trial60", ReportedExponent(60), false},
                      BandRow{"Trial61", ReportedExponent(61), true}, BandRow{"E100", 1.00, true},
                      BandRow{"Trial101", ReportedExponent(101), true},
                      BandRow{"Trial102", ReportedExponent(102), false},
                      BandRow{"E121", 1.21, false}, BandRow{"E130", 1.30, false}),
    [](const auto& row) { return std::string(row.param.name); });

struct StepRow {
  const char* name;
  double largest;
  double step;
};

class ParetoStepTable : public ::testing::TestWithParam<StepRow> {};

TEST_P(ParetoStepTable, FollowsTheSizeOfTheLargestValue) {
  EXPECT_EQ(ParetoStep(GetParam().largest), GetParam().step);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ParetoStepTable,
    ::testing::Values(StepRow{"Zero", 0.0, 0.001}, StepRow{"Half", 0.5, 0.001},
                      StepRow{"BelowOne", 0.7, 0.002}, StepRow{"ExactlyOne", 1.0, 0.001},
                      StepRow{"Three", 3.0, 0.01}, StepRow{"Five", 5.0, 0.01},
                      StepRow{"Seven", 7.0, 0.02}, StepRow{"Ten", 10.0, 0.02},
                      StepRow{"Thirty", 30.0, 0.1}, StepRow{"Fifty", 50.0, 0.1},
                      StepRow{"SeventyFive", 75.0, 0.2}, StepRow{"Hundred", 100.0, 0.2},
                      StepRow{"ThreeHundred", 300.0, 1.0}, StepRow{"SevenHundred", 700.0, 2.0},
                      StepRow{"ThreeThousand", 3000.0, 10.0}, StepRow{"FiveThousand", 5000.0, 10.0},
                      StepRow{"NineThousand", 9000.0, 20.0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ParetoGrid, LargestValueThreeScansFrom001To20) {
  const std::vector<double> grid = ParetoGrid(ParetoStep(3.0));
  ASSERT_EQ(grid.size(), 2001u);
  EXPECT_DOUBLE_EQ(grid[1], 0.01);
  EXPECT_NEAR(grid[2000], 20.0, 1e-10);
}

TEST(BoundTrial, StepsOnePercentOfTheRangePerTrial) {
  // Values from 2 to 12: R = 10, 1 % of it is 0.1.
  EXPECT_DOUBLE_EQ(BoundTrial(58, 2.0, 12.0, 1), 1.9);
  EXPECT_DOUBLE_EQ(BoundTrial(58, 2.0, 12.0, 25), -0.5);
  EXPECT_DOUBLE_EQ(BoundTrial(59, 2.0, 12.0, 3), 12.3);
}

TEST(BoundAbscissae, GuardMovesTheLowerBoundBelowTheFirstValue) {
  AnalysisState state = PreparedState({2, 3, 5});
  const FitData data = FitData::FromState(state);
  double xPrime[3];
  const double bound = BoundAbscissae(58, data, 2.0, xPrime);
  EXPECT_DOUBLE_EQ(bound, 1.999);
  EXPECT_DOUBLE_EQ(xPrime[0], std::log(2.0 - 1.999));
  EXPECT_DOUBLE_EQ(xPrime[1], std::log(3.0 - 1.999));
  EXPECT_DOUBLE_EQ(xPrime[2], std::log(5.0 - 1.999));
}

TEST(BoundAbscissae, GuardMovesTheUpperBoundOnlyFromTheOffendingValueOn) {
  AnalysisState state = PreparedState({2, 3, 5});
  const FitData data = FitData::FromState(state);
  double xPrime[3];
  const double bound = BoundAbscissae(59, data, 4.0, xPrime);
  EXPECT_DOUBLE_EQ(bound, 5.001);
  EXPECT_DOUBLE_EQ(xPrime[0], std::log(2.0));  // still with C = 4
  EXPECT_DOUBLE_EQ(xPrime[1], std::log(1.0));
  EXPECT_DOUBLE_EQ(xPrime[2], std::log(5.001 - 5.0));
}

// --- Choice rules -------------------------------------------------------------

struct MinimumRow {
  const char* name;
  std::vector<double> sse;  // trials 1..
  int chosen;
};

class FirstMinimumRule : public ::testing::TestWithParam<MinimumRow> {};

TEST_P(FirstMinimumRule, StrictlySmallerReplaces) {
  std::vector<double> sse = {0.0};
  sse.insert(sse.end(), GetParam().sse.begin(), GetParam().sse.end());
  EXPECT_EQ(FirstMinimum(sse, static_cast<int>(GetParam().sse.size())), GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(Rows, FirstMinimumRule,
                         ::testing::Values(MinimumRow{"SmallestWins", {3, 1, 2}, 2},
                                           MinimumRow{"TieGoesToTheEarlier", {3, 1, 1, 2}, 2},
                                           MinimumRow{"AllEqual", {2, 2, 2}, 1},
                                           MinimumRow{"LastIsBest", {3, 2, 1}, 3},
                                           MinimumRow{"NothingBelowTheStart", {1e6, 2e6}, 1},
                                           MinimumRow{"NotANumberNeverWins", {kNaN, 5, 4}, 3},
                                           MinimumRow{"NotANumberLater", {5, kNaN, 5}, 1}),
                         [](const auto& row) { return std::string(row.param.name); });

struct ImprovingRow {
  const char* name;
  std::vector<double> sse;  // trial j gives sse[j - 1]
  int maxTrials;
  int trials;
  int lastBetter;
};

class ScanWhileImprovingRule : public ::testing::TestWithParam<std::tuple<ImprovingRow, int>> {};

TEST_P(ScanWhileImprovingRule, StopsAtTheFirstTrialThatDoesNotImprove) {
  const ImprovingRow& row = std::get<0>(GetParam());
  const Workers workers(std::get<1>(GetParam()));
  std::vector<double> sse;
  const Workers::ScanOutcome outcome = workers.ScanWhileImproving(
      row.maxTrials, kNoFitSSE, [&](int j, int) { return row.sse[j - 1]; }, sse);
  EXPECT_EQ(outcome.trials, row.trials);
  EXPECT_EQ(outcome.lastBetter, row.lastBetter);
  ASSERT_EQ(static_cast<int>(sse.size()), row.trials + 1);
  for (int j = 1; j <= row.trials; ++j) EXPECT_SAME_BITS(sse[j], row.sse[j - 1]);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ScanWhileImprovingRule,
    ::testing::Combine(
        ::testing::Values(ImprovingRow{"StopsAtFirstWorse", {5, 4, 3, 3.5, 1}, 5, 4, 3},
                          ImprovingRow{"TieStops", {5, 4, 4, 1}, 4, 3, 2},
                          ImprovingRow{"SecondNotBetterKeepsTheFirst", {5, 6, 1}, 3, 2, 1},
                          ImprovingRow{"ImprovesToTheLastTrial", {5, 4, 3, 2, 1}, 5, 5, 5},
                          ImprovingRow{"LastTrialWorse", {5, 4, 3, 2, 9}, 5, 5, 4},
                          ImprovingRow{"FirstNotBelowTheStart", {2e6, 1}, 2, 1, 0},
                          ImprovingRow{"NotANumberStops", {5, kNaN, 1}, 3, 2, 1}),
        ::testing::Values(1, 2, 3)),
    [](const auto& row) {
      return std::string(std::get<0>(row.param).name) + "_" +
             std::to_string(std::get<1>(row.param)) + "workers";
    });

TEST(ScanWhileImproving, LongScanGivesTheSameOutcomeOnAnyNumberOfWorkers) {
  // Falls for 2500 trials, then rises: the scan runs 2501 trials.
  auto value = [](int j, int) { return j <= 2500 ? 5000.0 - j : 5000.0 - 5000 + j; };
  for (int count : {1, 2, 4}) {
    std::vector<double> sse;
    const Workers::ScanOutcome outcome =
        Workers(count).ScanWhileImproving(10000, kNoFitSSE, value, sse);
    EXPECT_EQ(outcome.trials, 2501) << count;
    EXPECT_EQ(outcome.lastBetter, 2500) << count;
    EXPECT_EQ(sse[2501], 2501.0) << count;
  }
}

TEST(WorkersForEach, RunsEveryIndexExactlyOnce) {
  for (int count : {1, 2, 3}) {
    std::vector<std::atomic<int>> hits(500);
    Workers(count).ForEach(500, [&](int index, int worker) {
      EXPECT_LT(worker, count);
      ++hits[index];
    });
    for (int i = 0; i < 500; ++i) EXPECT_EQ(hits[i].load(), 1) << i;
  }
}

TEST(WorkersForEach, PassesAnExceptionOn) {
  const Workers workers(2);
  EXPECT_THROW(workers.ForEach(100,
                               [](int index, int) {
                                 if (index == 37) throw std::runtime_error("trial failed");
                               }),
               std::runtime_error);
}

// --- Exponent scans on series that follow their model exactly ---------------

struct ExponentRow {
  const char* name;
  int code;
  Transform type;
  bool logOfPower;
  double exponent;
  int trial;  // the trial whose exponent is the model's
};

class ExponentScanRecovers : public ::testing::TestWithParam<ExponentRow> {};

TEST_P(ExponentScanRecovers, TheExponentAndTheLineOfTheModel) {
  const ExponentRow& row = GetParam();
  const ModelSeries series = ExponentModel(row.type, row.exponent, 40, row.logOfPower);
  AnalysisState state = PreparedState(series.values);
  const FitData data = FitData::FromState(state);
  const Candidate candidate =
      FitExponentCode(state, data, ScanExponents(data, Workers(2), {row.code}), row.code);
  EXPECT_EQ(state.ExpE[row.code], 0.01 * row.trial + 0.19);
  EXPECT_NEAR(state.ExpE[row.code], row.exponent, 1e-12);
  // The model's line, up to rounding of the generated values.
  EXPECT_NEAR(state.Slope, series.slope, 1e-9);
  EXPECT_NEAR(state.Intercept, series.intercept, 1e-9);
  EXPECT_LT(candidate.sse, 1e-20);
  EXPECT_EQ(candidate.slope, state.Slope);
  EXPECT_EQ(state.ScanCounts.back().trials, 280);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ExponentScanRecovers,
    ::testing::Values(ExponentRow{"Power", 2, Transform::Power, false, 1.5, 131},
                      ExponentRow{"Exponential", 3, Transform::Exponential, false, 0.5, 31},
                      ExponentRow{"Gumbel", 51, Transform::Gumbel, false, 2.5, 231},
                      ExponentRow{"MirroredGumbel", 52, Transform::MirroredGumbel, false, 0.35, 16},
                      ExponentRow{"Logistic", 55, Transform::Logistic, false, 1.75, 156}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ExponentScan, GeneralisedWeibullIsTheWeibullLineWhateverTheExponent) {
  // ln(X^E) = E·ln X: the line of code 60 is that of code 57 with the slope
  // divided by E, and the same intercept.
  const ModelSeries series = ExponentModel(Transform::Weibull, 2.2, 40, true);
  AnalysisState state = PreparedState(series.values);
  const FitData data = FitData::FromState(state);
  const Candidate weibull = FitLineCode(state, data, 57);
  const Candidate general = FitExponentCode(state, data, ScanExponents(data, Workers(2), {60}), 60);
  EXPECT_NEAR(general.slope * state.ExpE[60], weibull.slope, 1e-9);
  EXPECT_NEAR(general.intercept, weibull.intercept, 1e-9);
  EXPECT_LT(general.sse, 1e-20);
}

TEST(ExponentScan, ModelBelowTheGridEndsAtTheFirstTrial) {
  // The series follows E = 0.1; the SSE grows with E over the whole grid.
  AnalysisState state = PreparedState(ExponentModel(Transform::Logistic, 0.1, 40).values);
  const FitData data = FitData::FromState(state);
  FitExponentCode(state, data, ScanExponents(data, Workers(2), {55}), 55);
  EXPECT_EQ(state.ExpE[55], 0.01 * 1 + 0.19);
}

TEST(ExponentScan, ModelAboveTheGridEndsAtTheLastTrial) {
  AnalysisState state = PreparedState(ExponentModel(Transform::Logistic, 4.0, 40).values);
  const FitData data = FitData::FromState(state);
  FitExponentCode(state, data, ScanExponents(data, Workers(2), {55}), 55);
  EXPECT_EQ(state.ExpE[55], 0.01 * 280 + 0.19);
}

TEST(ExponentScan, PowerSlopeIsRaisedTo0001) {
  // Large values make the slope on X^E tiny: it is raised, and the intercept
  // follows the raised slope.
  ModelSeries series = ExponentModel(Transform::Power, 1.5, 30);
  for (double& v : series.values) v *= 1e5;
  AnalysisState state = PreparedState(series.values);
  const FitData data = FitData::FromState(state);
  FitExponentCode(state, data, ScanExponents(data, Workers(1), {2}), 2);
  EXPECT_EQ(state.Slope, 0.001);
  EXPECT_EQ(state.Intercept, state.MeanY - 0.001 * state.MeanX);
}

TEST(ExponentScan, SharedTrialsGiveWhatEachCodeGetsAlone) {
  const ModelSeries series = ExponentModel(Transform::Gumbel, 1.3, 50);
  std::vector<double> values = series.values;
  values[10] += 0.3;  // not exactly the model
  AnalysisState state = PreparedState(values);
  const FitData data = FitData::FromState(state);
  const ExponentScanTable together = ScanExponents(data, Workers(2), {2, 3, 51, 52, 55, 60});
  for (int code : {2, 3, 51, 52, 55, 60}) {
    const ExponentScanTable alone = ScanExponents(data, Workers(1), {code});
    for (int k = 1; k <= kExponentTrials; ++k) {
      EXPECT_SAME_BITS(together.sse[code][k], alone.sse[code][k]);
    }
  }
}

// --- Pareto ----------------------------------------------------------------------

TEST(ParetoScan, FindsTheScaleOfAnExactSeries) {
  // Fc = 1 − (C/(X + C))^S with C = 1, S = 2:  X = C·((1 − Fr)^(−1/S) − 1).
  // The largest value, √31 − 1 ≈ 4.57, gives the step 0.01: C = 1 is trial 100.
  const int n = 30;
  std::vector<double> values;
  for (double fr : testing::PlotPositions(n)) values.push_back(std::pow(1.0 - fr, -0.5) - 1.0);
  AnalysisState state = PreparedState(values);
  const FitData data = FitData::FromState(state);
  const Candidate candidate = FitPareto(state, data, Workers(2));
  EXPECT_EQ(state.Intercept, ParetoGrid(0.01)[100]);
  EXPECT_NEAR(state.Intercept, 1.0, 1e-12);
  EXPECT_NEAR(state.Slope, 2.0, 1e-9);
  EXPECT_LT(candidate.sse, 1e-20);
  EXPECT_EQ(state.ScanCounts.back().code, 56);
  EXPECT_EQ(state.ScanCounts.back().trials, 2000);
}

// --- Preferences that name one function -----------------------------------------

TEST(PreferredFit, GeneralisedGumbelNearOneIsReportedWhenPreferred) {
  // An exact Gumbel series in X: the best exponent is 1.00.
  const ModelSeries series = ExponentModel(Transform::Gumbel, 1.0, 40);
  AnalysisState state = PreparedState(series.values);
  quilmor::testing::ScriptedInteraction ui;
  FitDistributions(state, "51", testing::NoticesTo(ui));
  EXPECT_EQ(state.Code, 51);
  EXPECT_EQ(state.ExpE[51], 0.01 * 81 + 0.19);
  EXPECT_NEAR(state.Slope, series.slope, 1e-9);
  EXPECT_TRUE(state.Candidates.empty());
}

}  // namespace
}  // namespace quilmor::engine
