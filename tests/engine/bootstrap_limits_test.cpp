#include "engine/bootstrap_limits.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace quilmor::engine {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
// Interpolations between small integers: exact up to rounding of one product.
constexpr double kExact = 1e-12;

struct QuantileRow {
  std::vector<double> sorted;
  double p;
  double expected;
};

TEST(QuantileOfSorted, TypeSevenInterpolation) {
  // h = (n − 1)·p from the first value: {1, 2, 3, 4} at 0.05 lies at 0.15,
  // 1 + 0.15·(2 − 1) = 1.15 (R's quantile(1:4, 0.05) gives the same).
  const std::vector<QuantileRow> rows = {
      {{1, 2, 3, 4}, 0.05, 1.15}, {{1, 2, 3, 4}, 0.5, 2.5},   {{1, 2, 3, 4}, 0.95, 3.85},
      {{1, 2, 3, 4}, 0.0, 1.0},   {{1, 2, 3, 4}, 1.0, 4.0},   {{7}, 0.05, 7.0},
      {{7}, 0.95, 7.0},           {{10, 20, 40}, 0.75, 30.0},  // h = 1.5
      {{1, 2, kInf}, 0.5, 2.0},   {{1, 2, kInf}, 0.95, kInf}, {{-kInf, 1, 2}, 0.05, -kInf},
      {{kInf, kInf}, 0.5, kInf},
  };
  for (const QuantileRow& row : rows) {
    const double q = QuantileOfSorted(row.sorted, row.p);
    if (std::isinf(row.expected)) {
      EXPECT_EQ(q, row.expected) << "p = " << row.p;
    } else {
      EXPECT_NEAR(q, row.expected, kExact) << "p = " << row.p;
    }
  }
  EXPECT_TRUE(std::isnan(QuantileOfSorted(std::vector<double>{}, 0.5)));
  EXPECT_TRUE(std::isnan(QuantileOfSorted(std::vector<double>{-kInf, kInf}, 0.5)));
}

TEST(SummariseReplicates, LeavesOutAndCountsNaN) {
  // {3, NaN, 1, 2, NaN}: sorted 1, 2, 3; 5th percentile at h = 0.1: 1.1;
  // median 2; 95th at h = 1.9: 2.9.
  const ReplicateSummary s = SummariseReplicates(std::vector<double>{3, kNaN, 1, 2, kNaN});
  EXPECT_NEAR(s.lower, 1.1, kExact);
  EXPECT_NEAR(s.median, 2.0, kExact);
  EXPECT_NEAR(s.upper, 2.9, kExact);
  EXPECT_EQ(s.used, 3u);
  EXPECT_EQ(s.leftOut, 2u);

  const ReplicateSummary none = SummariseReplicates(std::vector<double>{kNaN});
  EXPECT_TRUE(std::isnan(none.lower) && std::isnan(none.median) && std::isnan(none.upper));
  EXPECT_EQ(none.leftOut, 1u);
}

// Replicates 1, 2, ..., 10 in a shuffled order: the p-th quantile is 1 + 9p.
const std::vector<double> kOneToTen = {7, 2, 10, 4, 1, 9, 3, 6, 8, 5};

TEST(BiasCorrectedLimits, WorkedExamples) {
  // Estimate 5.5: half the replicates lie below, z0 = 0, so the limits are
  // the plain percentiles 1 + 9·0.05 = 1.45 and 1 + 9·0.95 = 9.55.
  Limits centred = BiasCorrectedLimits(kOneToTen, 5.5);
  EXPECT_NEAR(centred.lower, 1.45, kExact);
  EXPECT_NEAR(centred.upper, 9.55, kExact);

  // Estimate 4: three below and one tie, share (3 + ½)/10 = 0.35,
  // z0 = Φ⁻¹(0.35) = −0.3853204664;
  // Φ(2·z0 − 1.6448536270) = Φ(−2.4154945598) = 0.0078569286 → 1 + 9·0.0078569286 = 1.0707123575;
  // Φ(2·z0 + 1.6448536270) = Φ( 0.8742126941) = 0.8089987829 → 1 + 9·0.8089987829 = 8.2809890459.
  // (Normal values from Python's statistics.NormalDist.)
  Limits shifted = BiasCorrectedLimits(kOneToTen, 4.0);
  EXPECT_NEAR(shifted.lower, 1.0707123575, 1e-9);
  EXPECT_NEAR(shifted.upper, 8.2809890459, 1e-9);
}

TEST(BiasCorrectedLimits, UndefinedWhenAllOnOneSide) {
  for (double estimate : {0.5, 10.5, kNaN}) {
    const Limits l = BiasCorrectedLimits(kOneToTen, estimate);
    EXPECT_TRUE(std::isnan(l.lower) && std::isnan(l.upper)) << estimate;
  }
  const Limits empty = BiasCorrectedLimits(std::vector<double>{kNaN, kNaN}, 1.0);
  EXPECT_TRUE(std::isnan(empty.lower) && std::isnan(empty.upper));
}

TEST(BasicLimits, ReflectsThePercentilesAboutTheEstimate) {
  // Percentile limits 1.45 and 9.55 of the replicates 1..10, estimate 6:
  // (2·6 − 9.55, 2·6 − 1.45) = (2.45, 10.55).
  const ReplicateSummary s = SummariseReplicates(kOneToTen);
  const Limits basic = BasicLimits({s.lower, s.upper}, 6.0);
  EXPECT_NEAR(basic.lower, 2.45, kExact);
  EXPECT_NEAR(basic.upper, 10.55, kExact);
}

TEST(StandardNormal, QuantileAgainstKnownValues) {
  // Reference values: Python's statistics.NormalDist().inv_cdf (Wichura's
  // algorithm AS 241, a different method); within 2e-15 relative.
  struct Row {
    double p, z;
  };
  const std::vector<Row> rows = {
      {0.5, 0.0},
      {0.95, 1.6448536269514715},
      {0.975, 1.9599639845400536},
      {0.3, -0.5244005127080407},   // central region
      {0.01, -2.3263478740408408},  // lower tail
      {1e-10, -6.361340902404056},
  };
  for (const Row& row : rows) {
    EXPECT_NEAR(StandardNormalQuantile(row.p), row.z, 2e-15 * std::max(1.0, std::abs(row.z)))
        << "p = " << row.p;
    if (row.p >= 0.01) {  // 1 − p is rounded near 1: mirror only where that is harmless
      EXPECT_NEAR(StandardNormalQuantile(1.0 - row.p), -row.z, 1e-13) << "1 - p = " << 1.0 - row.p;
    }
    EXPECT_NEAR(StandardNormalCdf(row.z), row.p, 2e-15 * std::max(row.p, 1e-300) + 1e-16);
  }
  EXPECT_EQ(StandardNormalQuantile(0.0), -kInf);
  EXPECT_EQ(StandardNormalQuantile(1.0), kInf);
  EXPECT_TRUE(std::isnan(StandardNormalQuantile(1.5)));
}

}  // namespace
}  // namespace quilmor::engine
