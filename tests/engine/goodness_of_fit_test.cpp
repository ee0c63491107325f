#include "engine/goodness_of_fit.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace quilmor::engine {
namespace {

// The hand calculations below carry 10 significant digits: about 1e-8 on
// numbers up to 50.
constexpr double kHand = 1e-8;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(InformationCriteria, AgainstHandCalculation) {
  // N = 10, SSE = 0.05, k = 2: ln(SSE/N) = ln 0.005 = -5.298317367,
  // N·ln = -52.98317367;
  // AICc = -52.98317367 + 4 + 2·2·3/(10-2-1) = -52.98317367 + 4 + 1.714285714 = -47.26888795;
  // BIC  = -52.98317367 + 2·ln 10 = -52.98317367 + 4.605170186 = -48.37800348;
  // RMSE = √(0.05/10) = 0.0707106781.
  EXPECT_NEAR(CorrectedAkaike(0.05, 10, 2), -47.26888795, kHand);
  EXPECT_NEAR(BayesianInformation(0.05, 10, 2), -48.37800348, kHand);
  EXPECT_NEAR(RootMeanSquareDeviation(0.05, 10), 0.0707106781, kHand);
}

struct UndefinedRow {
  const char* name;
  double sse;
  std::size_t n;
  int k;
  bool aiccDefined;
  bool bicDefined;
};

TEST(InformationCriteria, UndefinedCasesAreNaN) {
  const std::vector<UndefinedRow> rows = {
      {"N - k - 1 = 0", 0.05, 4, 3, false, true}, {"N - k - 1 < 0", 0.05, 4, 5, false, true},
      {"N - k - 1 = 1", 0.05, 5, 3, true, true},  {"perfect fit", 0.0, 10, 2, false, false},
      {"no values", 0.0, 0, 2, false, false},
  };
  for (const UndefinedRow& row : rows) {
    EXPECT_EQ(std::isfinite(CorrectedAkaike(row.sse, row.n, row.k)), row.aiccDefined) << row.name;
    EXPECT_EQ(std::isfinite(BayesianInformation(row.sse, row.n, row.k)), row.bicDefined)
        << row.name;
  }
}

// An exponential distribution, F(x) = 1 - exp(-x), at the five values where
// it reaches 0.1, 0.3, 0.5, 0.6 and 0.95 (x = -ln(1 - F)).
struct ExponentialExample {
  std::vector<double> fc = {0.1, 0.3, 0.5, 0.6, 0.95};
  std::vector<double> x, fr, calcX;
  ExponentialExample() {
    for (std::size_t i = 0; i < fc.size(); ++i) {
      x.push_back(-std::log(1.0 - fc[i]));
      fr.push_back(static_cast<double>(i + 1) / 6.0);
      calcX.push_back(-std::log(1.0 - fr.back()));  // X(Fr_i)
    }
  }
  FittedSeries Series(int k) const { return {x, fr, fc, calcX, k}; }
};

TEST(KolmogorovSmirnov, WorkedExamples) {
  // Uniform on [0, 1], x = Fc = 0.1, 0.4, 0.7, 0.9 (N = 4), and the
  // exponential example (N = 5):
  //   i   i/N - Fc   Fc - (i-1)/N        i   i/N - Fc   Fc - (i-1)/N
  //   1   0.15       0.10                1   0.10       0.10
  //   2   0.10       0.15                2   0.10       0.10
  //   3   0.05       0.20   <- D         3   0.10       0.10
  //   4   0.10       0.15                4   0.20       0.00   <- D
  //                                      5   0.05       0.15
  EXPECT_NEAR(KolmogorovSmirnovDistance(std::vector<double>{0.1, 0.4, 0.7, 0.9}), 0.2, kHand);
  EXPECT_NEAR(KolmogorovSmirnovDistance(ExponentialExample().fc), 0.2, kHand);
  // The fitting's penalty Fc = 8 counts as 1: D = 1 - (2-1)/2 = 0.5, not 7.5.
  EXPECT_NEAR(KolmogorovSmirnovDistance(std::vector<double>{0.5, 8.0}), 0.5, kHand);
}

TEST(AndersonDarling, WorkedExamples) {
  // Uniform, Fc = 0.1, 0.4, 0.7, 0.9 (N = 4), terms (2i-1)[ln Fc_i + ln(1 - Fc_{5-i})]:
  //   1·(ln 0.1 + ln 0.1) = -4.605170186
  //   3·(ln 0.4 + ln 0.3) = -6.360790609
  //   5·(ln 0.7 + ln 0.6) = -4.337502842
  //   7·(ln 0.9 + ln 0.9) = -1.475047222
  // sum -16.77851086; A² = -4 + 16.77851086/4 = 0.1946277131.
  EXPECT_NEAR(AndersonDarling(std::vector<double>{0.1, 0.4, 0.7, 0.9}), 0.1946277131, kHand);

  // Exponential example (N = 5):
  //   1·(ln 0.1 + ln 0.05) = -5.298317367
  //   3·(ln 0.3 + ln 0.4)  = -6.360790609
  //   5·(ln 0.5 + ln 0.5)  = -6.931471806
  //   7·(ln 0.6 + ln 0.7)  = -6.072503974
  //   9·(ln 0.95 + ln 0.9) = -1.409884290
  // sum -26.07296805; A² = -5 + 26.07296805/5 = 0.2145936090.
  EXPECT_NEAR(AndersonDarling(ExponentialExample().fc), 0.2145936090, kHand);
}

TEST(AndersonDarling, FrequencyOfZeroOrOneStaysFinite) {
  // Fc = 0, 0.5: the 0 is taken as 1e-10, the 1 - Fc of it as 1 - 1e-10:
  // A² = -2 - ½[(ln 1e-10 + ln 0.5) + 3(ln 0.5 + ln(1 - 1e-10))] = 10.89921983.
  EXPECT_NEAR(AndersonDarling(std::vector<double>{0.0, 0.5}), 10.89921983, kHand);
  // And its mirror image, Fc = 0.5, 1, gives the same.
  EXPECT_NEAR(AndersonDarling(std::vector<double>{0.5, 1.0}), 10.89921983, 1e-6);
  EXPECT_TRUE(std::isnan(AndersonDarling(std::vector<double>{0.2, kNaN})));
  EXPECT_TRUE(std::isnan(KolmogorovSmirnovDistance(std::vector<double>{kNaN, 0.2})));
  EXPECT_TRUE(std::isnan(AndersonDarling(std::vector<double>{})));
}

TEST(ProbabilityPlotCorrelation, WorkedExamples) {
  // x = 1, 2, 3, 4 against X(Fr) = 1.1, 1.9, 3.2, 3.8: both means 2.5,
  // Sxy = 2.1 + 0.3 + 0.35 + 1.95 = 4.7, Sxx = 5, Syy = 1.96 + 0.36 + 0.49 + 1.69 = 4.5,
  // r = 4.7/√22.5 = 0.9908470002.
  const std::vector<double> x = {1, 2, 3, 4};
  EXPECT_NEAR(ProbabilityPlotCorrelation(x, std::vector<double>{1.1, 1.9, 3.2, 3.8}), 0.9908470002,
              kHand);
  // A straight line of positive slope correlates perfectly.
  EXPECT_NEAR(ProbabilityPlotCorrelation(x, std::vector<double>{5, 7, 9, 11}), 1.0, 1e-15);
  // Undefined: one side without spread, a value without a finite inverse, one point.
  EXPECT_TRUE(std::isnan(ProbabilityPlotCorrelation(x, std::vector<double>{2, 2, 2, 2})));
  EXPECT_TRUE(std::isnan(ProbabilityPlotCorrelation(
      x, std::vector<double>{1, 2, 3, std::numeric_limits<double>::infinity()})));
  EXPECT_TRUE(
      std::isnan(ProbabilityPlotCorrelation(std::vector<double>{1}, std::vector<double>{1})));
}

TEST(ComputeGoodnessOfFit, GathersEveryMeasure) {
  // Exponential example with Fr = i/6 and k = 1:
  // SSE = (1/6-0.1)² + (2/6-0.3)² + (3/6-0.5)² + (4/6-0.6)² + (5/6-0.95)²
  //     = 0.004444444 + 0.001111111 + 0 + 0.004444444 + 0.013611111 = 0.023611111;
  // ln(SSE/5) = ln 0.004722222 = 1.552279 - 6.907755 = -5.355476, times 5: -26.777379;
  // BIC = -26.777379 + ln 5 = -26.777379 + 1.609438 = -25.167941;
  // AICc = -26.777379 + 2 + 2·1·2/(5-1-1) = -26.777379 + 3.333333 = -23.444046.
  const GoodnessOfFit g = ComputeGoodnessOfFit(ExponentialExample().Series(1));
  constexpr double kSix = 1e-6;  // the hand values above carry six decimals
  EXPECT_NEAR(g.sse, 0.023611111, 1e-9);
  EXPECT_NEAR(g.rmse, std::sqrt(0.023611111 / 5), 1e-9);
  EXPECT_NEAR(g.bic, -25.167941, kSix);
  EXPECT_NEAR(g.aicc, -23.444046, kSix);
  EXPECT_NEAR(g.ksDistance, 0.2, kHand);
  EXPECT_NEAR(g.andersonDarling, 0.2145936090, kHand);
  // The values are the exponential's own quantiles at Fc, the inverse at Fr:
  // both increase, so r is high but below 1.
  EXPECT_GT(g.ppcc, 0.95);
  EXPECT_LT(g.ppcc, 1.0);
}

TEST(RankBySse, SortsAndMarksNearTies) {
  // Best 0.10 (twice); within 10 %: up to 0.11.
  const std::vector<double> sse = {0.30, 0.10, 0.1099, 0.1101, kNaN, 0.10, 1000.0};
  const std::vector<SseRank> ranks = RankBySse(sse);
  const std::vector<std::size_t> order = {1, 5, 2, 3, 0, 6, 4};
  const std::vector<bool> near = {true, true, true, false, false, false, false};
  ASSERT_EQ(ranks.size(), order.size());
  for (std::size_t r = 0; r < ranks.size(); ++r) {
    EXPECT_EQ(ranks[r].index, order[r]) << "place " << r;
    EXPECT_EQ(ranks[r].nearBest, near[r]) << "place " << r;
  }
  EXPECT_TRUE(RankBySse({}).empty());
}

}  // namespace
}  // namespace quilmor::engine
