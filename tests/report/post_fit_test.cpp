#include "report/post_fit.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "series_fixture.hpp"
#include "temp_folder.hpp"
#include "textio/text_file.hpp"

namespace quilmor::report {
namespace {

using testing::FillRanked;
using testing::Lines;
using Strings = std::vector<std::string>;

// Hand values below are computed to 6 or more significant digits.
constexpr double kHand = 1e-6;

// --- Calculated frequencies -------------------------------------------------------

struct FreqCase {
  const char* name;
  std::function<void(ReportModel&)> fit;
  int rank;
  double expected;
};

class CalcFreqTest : public ::testing::TestWithParam<FreqCase> {};

// Values 1..6 (no shift). Each row fits one code and checks one rank.
TEST_P(CalcFreqTest, EvaluatesTheFittedModel) {
  const FreqCase& c = GetParam();
  ReportModel state;
  FillRanked(state, {1, 2, 3, 4, 5, 6});
  c.fit(state);
  ComputeCalcFreq(state);
  EXPECT_NEAR(state.CalcFreq[c.rank], c.expected, kHand);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, CalcFreqTest,
    ::testing::Values(
        // Gumbel exp(-exp(-(B + A X))), X = 1: exp(-exp(0.9)) = 0.0854689
        FreqCase{"Gumbel",
                 [](ReportModel& s) {
                   s.Fit.Code = 4;
                   s.Fit.A = 0.9;
                   s.Fit.B = -1.8;
                 },
                 1, 0.0854689},
        // Weibull 1 - exp(-(X/K)^A), K = exp(-B/A) = exp(4/3), X = 2: 0.318041
        FreqCase{"Weibull",
                 [](ReportModel& s) {
                   s.Fit.Code = 57;
                   s.Fit.A = 1.5;
                   s.Fit.B = -2.0;
                 },
                 2, 0.318041},
        // Pareto 1 - (C/(X + C))^A with C held as the intercept: X = 2, C = 2,
        // A = 1: 1 - 2/4 = 0.5
        FreqCase{"Pareto",
                 [](ReportModel& s) {
                   s.Fit.Code = 56;
                   s.Fit.A = 1.0;
                   s.Fit.B = 2.0;
                 },
                 2, 0.5},
        // Frechet exp(-q^A), q = (X - C)/exp(-B/A): X = 3, C = 1.5, A = -1.8,
        // B = 2: q = 1.5/exp(1.1111) = 0.49355, q^-1.8 = 3.5614, Fc = 0.0283981
        FreqCase{"Frechet",
                 [](ReportModel& s) {
                   s.Fit.Code = 58;
                   s.Fit.A = -1.8;
                   s.Fit.B = 2.0;
                   s.Fit.C = 1.5;
                 },
                 3, 0.0283981},
        // Student 1 d.f. at one standard deviation above the mean:
        // 0.5 + arctan(1)/pi = 0.75
        FreqCase{"Student1",
                 [](ReportModel& s) {
                   s.Fit.Code = 62;
                   s.Fit.M = 2.0;
                   s.Fit.D = 2.0;
                 },
                 4, 0.75},
        // Student 2 d.f.: 0.5 (1 + 1/sqrt(3)) = 0.788675
        FreqCase{"Student2",
                 [](ReportModel& s) {
                   s.Fit.Code = 63;
                   s.Fit.M = 2.0;
                   s.Fit.D = 2.0;
                 },
                 4, 0.788675},
        // Two pieces by rank: ranks 1..3 lower line, 4..6 upper (twice Gumbel).
        // Rank 3 lower: exp(-exp(-(0 + 1*3 - 3))) = exp(-1) = 0.367879
        FreqCase{"LowerPieceUpToTheBreakIndex",
                 [](ReportModel& s) {
                   s.Fit.Code = 9;
                   s.BreakIndex = 3;
                   s.Fit.As = 1.0;
                   s.Fit.Bs = -3.0;
                   s.Fit.Ag = 2.0;
                   s.Fit.Bg = -8.0;
                 },
                 3, 0.367879},
        // Rank 4 upper: exp(-exp(-(2*4 - 8))) = exp(-1) again; with the lower
        // line it would be exp(-exp(-1)) = 0.692201
        FreqCase{"UpperPieceAfterIt",
                 [](ReportModel& s) {
                   s.Fit.Code = 9;
                   s.BreakIndex = 3;
                   s.Fit.As = 1.0;
                   s.Fit.Bs = -3.0;
                   s.Fit.Ag = 2.0;
                   s.Fit.Bg = -8.0;
                 },
                 4, 0.367879},
        // Code 2 turning down: exp(-0.5 - 0.1 X): 0.548812, then below it, so
        // half-way to 1: 0.774406, then 0.887203.
        FreqCase{"ExponentialHalfWayRule",
                 [](ReportModel& s) {
                   s.Fit.Code = 2;
                   s.Fit.E = 1.0;
                   s.Fit.A = -0.1;
                   s.Fit.B = -0.5;
                 },
                 3, 0.887203},
        // Code 2 above 1: exp(0.5 + 0.1) = 1.82 -> 0.999
        FreqCase{"ExponentialAboveOne",
                 [](ReportModel& s) {
                   s.Fit.Code = 2;
                   s.Fit.E = 1.0;
                   s.Fit.A = 0.1;
                   s.Fit.B = 0.5;
                 },
                 1, 0.999},
        // A decreasing logistic never lets a later rank fall below rank 1:
        // 1/(1 + exp(-2 + 1)) = 0.731059 for every rank.
        FreqCase{"NeverDecreasing",
                 [](ReportModel& s) {
                   s.Fit.Code = 53;
                   s.Fit.A = 1.0;
                   s.Fit.B = -2.0;
                 },
                 6, 0.731059},
        // A negative frequency (A X^E + B = 0.1 - 0.5) becomes 0.001.
        FreqCase{"NegativeBecomesLowest",
                 [](ReportModel& s) {
                   s.Fit.Code = 1;
                   s.Fit.E = 1.0;
                   s.Fit.A = 0.1;
                   s.Fit.B = -0.5;
                 },
                 1, 0.001},
        // Normal: mean 3.5 recomputed, sigma 1; X = 2: z = -1.5, the mirror
        // of the upper tail: phi(1.5) P(t = 0.742129) = 0.129518 x 0.515805
        // = 0.066806 (the exact normal value is 0.066807).
        FreqCase{"NormalAroundTheRecomputedMean",
                 [](ReportModel& s) {
                   s.Fit.Code = 21;
                   s.Fit.M = 99.0;
                   s.Fit.D = 1.0;
                 },
                 2, 0.066806},
        // X = 1: z = -2.5, far below the mean, still phi(2.5) P(0.633183) =
        // 0.0175283 x 0.354256 = 0.0062095.
        FreqCase{"NormalFarBelowTheMeanIsSmallButPositive",
                 [](ReportModel& s) {
                   s.Fit.Code = 21;
                   s.Fit.M = 99.0;
                   s.Fit.D = 1.0;
                 },
                 1, 0.0062095},
        // Log-normal: mean of ln X over 1..6 = ln(720)/6 = 1.096542; X = 3,
        // sigma 0.6: z = 0.002298, Fc = 0.501378.
        FreqCase{"LogNormal",
                 [](ReportModel& s) {
                   s.Fit.Code = 22;
                   s.Fit.M = 99.0;
                   s.Fit.D = 0.6;
                 },
                 3, 0.501378}),
    [](const ::testing::TestParamInfo<FreqCase>& p) { return std::string(p.param.name); });

TEST(ComputeCalcFreqTest, NormalFamilyStoresTheMeanOfTheTransformedValues) {
  ReportModel state;
  FillRanked(state, {1, 2, 3, 4, 5, 6});
  state.Fit.Code = 22;
  state.Fit.D = 0.6;
  ComputeCalcFreq(state);
  EXPECT_NEAR(state.Fit.M, std::log(720.0) / 6.0, 1e-12);
}

TEST(ComputeCalcFreqTest, GeneralizedNormalKeepsTheFrequenciesOfItsFit) {
  ReportModel state;
  FillRanked(state, {1, 2, 3, 4, 5, 6});
  state.Fit.Code = 25;
  state.Fit.M = 1.5;
  for (int i = 1; i <= 6; ++i) state.CalcFreq[i] = 0.01 * i;
  ComputeCalcFreq(state);
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(state.CalcFreq[i], 0.01 * i);
  EXPECT_EQ(state.Fit.M, 1.5);
}

TEST(ComputeCalcFreqTest, BoundWarningsStartFalseAndStaySetOnceRaised) {
  ReportModel state;
  FillRanked(state, {1, 2, 3, 4, 5, 6});
  state.BelowBoundWarning = true;
  state.AboveBoundWarning = true;
  state.Fit.Code = 57;
  state.Fit.A = 1.5;
  state.Fit.B = -2.0;
  ComputeCalcFreq(state);
  EXPECT_FALSE(state.BelowBoundWarning);
  EXPECT_FALSE(state.AboveBoundWarning);

  // Lower bound 1.5: only rank 1 (X = 1) lies below it, yet the flag stays.
  state.Fit.Code = 58;
  state.Fit.A = -1.8;
  state.Fit.B = 2.0;
  state.Fit.C = 1.5;
  ComputeCalcFreq(state);
  EXPECT_TRUE(state.BelowBoundWarning);
  EXPECT_FALSE(state.AboveBoundWarning);
  // Rank 1 uses 0.0001 for the quantity: exp(-(0.0001)^-1.8) = 0.
  EXPECT_NEAR(state.CalcFreq[1], 0.0, 1e-300);

  state.Fit.Code = 59;
  state.Fit.A = 2.5;
  state.Fit.B = -3.0;
  state.Fit.C = 5.5;  // X = 6 lies above it
  ComputeCalcFreq(state);
  EXPECT_FALSE(state.BelowBoundWarning);
  EXPECT_TRUE(state.AboveBoundWarning);
}

TEST(ComputeCalcFreqTest, NoFunctionComputesNothing) {
  ReportModel state;
  FillRanked(state, {1, 2, 3});
  state.CalcFreq[2] = 0.42;
  state.Fit.Code = 0;
  ComputeCalcFreq(state);
  EXPECT_EQ(state.CalcFreq[2], 0.42);
  state.Fit.Code = 61;  // not in the catalogue
  ComputeCalcFreq(state);
  EXPECT_EQ(state.CalcFreq[2], 0.42);
}

// --- Confidence limits of the frequencies ---------------------------------------------

ReportModel WithFrequencies(const std::vector<double>& calcFreq) {
  ReportModel state;
  const int n = static_cast<int>(calcFreq.size());
  state.N = n;
  state.Values.assign(static_cast<std::size_t>(n) + 1, 0.0);
  state.PlotFreq = state.Values;
  state.CalcFreq = state.Values;
  for (int i = 1; i <= n; ++i) {
    state.Values[i] = i;
    state.PlotFreq[i] = static_cast<double>(i) / (n + 1);
    state.CalcFreq[i] = calcFreq[static_cast<std::size_t>(i - 1)];
  }
  return state;
}

TEST(ConfidenceRowsTest, ThousandValuesAtHalf) {
  // Sd = 100 sqrt(0.25/1000) = 1.58114; L = 50 - 3.4*1.58114*0.5 = 47.3121;
  // U = 52.6879. Rank 500: R = 100*500/1001 = 49.9500.
  const ReportModel state = WithFrequencies(std::vector<double>(1000, 0.5));
  const auto rows = ConfidenceRows(state);
  ASSERT_EQ(rows.size(), 1000u);
  const ConfidenceRow& row = rows[499];
  EXPECT_NEAR(row.rank, 49.950050, kHand);
  EXPECT_NEAR(row.calc, 50.0, 1e-12);
  EXPECT_NEAR(row.stdDev, 1.581139, kHand);
  EXPECT_NEAR(row.lower, 47.312064, kHand);
  EXPECT_NEAR(row.upper, 52.687936, kHand);
}

TEST(ConfidenceRowsTest, LimitsAtTheEdges) {
  // N = 4, Fr = 0.2, 0.4, 0.6, 0.8.
  const ReportModel state = WithFrequencies({0.0, 0.000001, 0.3, 1.0});
  const auto rows = ConfidenceRows(state);
  // Rank 1: Fc = 0 -> C = R/2 = 10; Sd = 100 sqrt(0.1*0.9/4) = 15; L = 10 -
  // 3.4*15*0.1 = 4.9; U = 10 + 3.4*15*0.9 = 55.9.
  EXPECT_NEAR(rows[0].calc, 10.0, 1e-12);
  EXPECT_NEAR(rows[0].stdDev, 15.0, 1e-12);
  EXPECT_NEAR(rows[0].lower, 4.9, 1e-12);
  EXPECT_NEAR(rows[0].upper, 55.9, 1e-12);
  // Rank 2: C = 0.0001, its own L (about 0.0001) lies below rank 1's 4.9.
  EXPECT_NEAR(rows[1].calc, 0.0001, 1e-12);
  EXPECT_EQ(rows[1].lower, rows[0].lower);
  // Rank 4: Fc = 1: R = 80, C capped at 99.99; U capped, then 1.00001 C >= U.
  EXPECT_NEAR(rows[3].rank, 80.0, 1e-12);
  EXPECT_EQ(rows[3].calc, 99.99);
  EXPECT_EQ(rows[3].upper, 99.99);
  EXPECT_LE(rows[3].lower, 99.99);
}

TEST(ConfidenceRowsTest, FirstLowerLimitIsAtLeastTheStartValue) {
  // C = 0.0001: L = 0.0001 - 3.4 Sd f is about 0.0001, below 0.001.
  const ReportModel state = WithFrequencies({0.000001, 0.5});
  EXPECT_EQ(ConfidenceRows(state)[0].lower, 0.001);
}

TEST(ConfidenceRowsTest, UpperLimitTooCloseToTheValueBecomesTheCap) {
  // Rank 2 of 2: C = 99.98, Sd = 100 sqrt(0.9998*0.0002/2) = 0.99995, U =
  // 99.98 + 3.4*0.99995*0.0002 = 99.98068, not above 1.00001 C = 99.98100.
  const ReportModel state = WithFrequencies({0.5, 0.9998});
  EXPECT_EQ(ConfidenceRows(state)[1].upper, 99.99);
}

// --- Return periods -------------------------------------------------------------------

TEST(ReturnPeriodRowsTest, CalculatedPeriodGrowsAtMostThreefold) {
  const ReportModel state = WithFrequencies({0.9999, 0.9999, 0.9999});
  const auto rows = ReturnPeriodRows(state);
  // 1/(1 - 0.9999) = 10000: rank 1 at most 3 x 1000, rank 2 at most 3 x 3000,
  // rank 3 below 3 x 9000 keeps 10000.
  EXPECT_NEAR(rows[0].calculated, 3000.0, 1e-9);
  EXPECT_NEAR(rows[1].calculated, 9000.0, 1e-9);
  EXPECT_NEAR(rows[2].calculated, 10000.0, 1e-6);
  // Rank 3: u is capped at 0.9999, so TU = 10000 is not above Tc: 1.01 Tc.
  EXPECT_NEAR(rows[2].upper, 10100.0, 1e-6);
  for (const auto& row : rows) EXPECT_EQ(row.decimals, 0);
}

TEST(ReturnPeriodRowsTest, HandCheckedRows) {
  // N = 4, Fr = 0.2, 0.4, 0.6, 0.8.
  const ReportModel state = WithFrequencies({0.0, 0.3, 0.6, 0.995});
  const auto rows = ReturnPeriodRows(state);
  // Rank 1: f = Fr/2 = 0.1, s = sqrt(0.09/4) = 0.15; Tr = 1.25; Tc = 1/0.9 =
  // 1.11111; l = 0.1 - 3.4*0.15*0.1 = 0.049 > 2*0.001 -> 0.002, TL = 1/0.998;
  // u = 0.1 + 3.4*0.15*0.9 = 0.559, TU = 1/0.441 = 2.26757; 2 decimals.
  EXPECT_NEAR(rows[0].observed, 1.25, 1e-12);
  EXPECT_NEAR(rows[0].calculated, 1.0 / 0.9, 1e-12);
  EXPECT_NEAR(rows[0].lower, 1.0 / 0.998, 1e-12);
  EXPECT_NEAR(rows[0].upper, 1.0 / 0.441, 1e-12);
  EXPECT_EQ(rows[0].decimals, 2);
  // Rank 2: f = 0.3, l = 0.3 - 3.4*sqrt(0.21/4)*0.3 = 0.066295 > 2*0.002 ->
  // 0.004; TL = 1/0.996.
  EXPECT_NEAR(rows[1].lower, 1.0 / 0.996, 1e-12);
  EXPECT_EQ(rows[1].decimals, 2);
  // Rank 3: f = 0.6, s = sqrt(0.24/4) = 0.244949, u = 0.6 + 3.4*0.244949*0.4
  // = 0.933131 < 0.99: 1 decimal; Tc = 2.5.
  EXPECT_NEAR(rows[2].calculated, 2.5, 1e-12);
  EXPECT_NEAR(rows[2].upper, 1.0 / (1.0 - (0.6 + 3.4 * std::sqrt(0.06) * 0.4)), 1e-12);
  EXPECT_EQ(rows[2].decimals, 1);
  // Rank 4: f = 0.995 >= 0.99: no decimals; Tc = 200 (below 3 x 2.5? no:
  // 200 >= 7.5, so 7.5).
  EXPECT_NEAR(rows[3].calculated, 7.5, 1e-12);
  EXPECT_EQ(rows[3].decimals, 0);
}

struct DecimalsCase {
  double f;
  double u;
  int expected;
};

class ReturnPeriodDecimalsTest : public ::testing::TestWithParam<DecimalsCase> {};

TEST_P(ReturnPeriodDecimalsTest, ByFrequencyAndUpperLimit) {
  const DecimalsCase& c = GetParam();
  EXPECT_EQ(ReturnPeriodDecimals(c.f, c.u), c.expected) << c.f << " " << c.u;
}

INSTANTIATE_TEST_SUITE_P(Boundaries, ReturnPeriodDecimalsTest,
                         ::testing::Values(DecimalsCase{0.4999, 0.9999, 2},
                                           DecimalsCase{0.5, 0.7, 1}, DecimalsCase{0.98, 0.9899, 1},
                                           DecimalsCase{0.98, 0.99, 0},
                                           DecimalsCase{0.99, 0.995, 0}));

// --- Goodness measures ------------------------------------------------------------------

TEST(GoodnessTest, HandCheckedSmallSeries) {
  // Fr = 0.25, 0.5, 0.75; Fc = 0.2, 0.5, 0.9.
  const ReportModel state = WithFrequencies({0.2, 0.5, 0.9});
  const GoodnessMeasures g = ComputeGoodness(state);
  // 100 (0.05 + 0 + 0.15)/3
  EXPECT_NEAR(g.frequencyDifference, 20.0 / 3.0, 1e-12);
  // R^2 = 1 - 0.025/0.125 = 0.8
  EXPECT_NEAR(g.efficiency, std::sqrt(0.8), 1e-12);
  // (|4/3 - 1.25| + 0 + |4 - 10|)/3
  EXPECT_NEAR(g.returnPeriodDifference, (1.0 / 12.0 + 6.0) / 3.0, 1e-12);
}

TEST(GoodnessTest, WorseThanTheMeanGivesZeroAndCertaintyIsCapped) {
  // Fc reversed: sum of squares 0.5^2 + 0 + 0.5^2 = 0.5 > 0.125: R = 0.
  const ReportModel reversed = WithFrequencies({0.75, 0.5, 0.25});
  EXPECT_EQ(ComputeGoodness(reversed).efficiency, 0.0);
  // Fc = 1 counts as 0.99999: |2 - 100000| / 2 for the second of two ranks
  // (Fr = 2/3: 1/(1/3) = 3).
  const ReportModel certain = WithFrequencies({1.0 / 3.0, 1.0});
  EXPECT_NEAR(ComputeGoodness(certain).returnPeriodDifference,
              (std::fabs(1.5 - 1.5) + std::fabs(3.0 - 1.0 / (1.0 - 0.99999))) / 2.0, 1e-6);
}

}  // namespace
}  // namespace quilmor::report
