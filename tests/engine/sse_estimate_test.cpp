// The bound scans on one worker settle most comparisons of trials by
// estimates of their SSE with a margin of error. These tests check the
// estimates against the exact forms (the margin must hold, and be small enough
// to be of use), the scan's decisions against the plain scan on exact values,
// and whole fits on one worker against those on two, which take every SSE
// exactly.
#include "engine/sse_estimate.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/bound_scans.hpp"
#include "engine/fit_series.hpp"
#include "engine/frequency_forms.hpp"
#include "engine/line_fit.hpp"
#include "engine/random_stream.hpp"
#include "engine/resample.hpp"
#include "engine/workers.hpp"
#include "engine_test_support.hpp"

namespace quilmor::engine {
namespace {

using testing::SameBits;

constexpr EstimateForm kForms[] = {EstimateForm::Widest, EstimateForm::Avx512, EstimateForm::Avx2,
                                   EstimateForm::Plain};

std::string FormName(EstimateForm form) {
  switch (form) {
    case EstimateForm::Widest:
      return "widest";
    case EstimateForm::Avx512:
      return "avx512";
    case EstimateForm::Avx2:
      return "avx2";
    default:
      return "plain";
  }
}

struct ExpRange {
  double from;
  double to;
};

TEST(ExpEstimates, StayWellWithinTheirStatedError) {
  std::mt19937_64 random(20261209);
  for (const EstimateForm form : kForms) {
    if (!RunsHere(form)) continue;
    SCOPED_TRACE(FormName(form));
    for (const ExpRange range : {ExpRange{-700.0, -100.0}, ExpRange{-100.0, -1.0},
                                 ExpRange{-1.0, 1.0}, ExpRange{-1e-6, 1e-6}, ExpRange{1.0, 100.0},
                                 ExpRange{100.0, 700.0}, ExpRange{-0.35, -0.34},
                                 ExpRange{0.34, 0.35}}) {
      std::uniform_real_distribution<double> draw(range.from, range.to);
      // An odd count, so that the last block is a partial one.
      std::vector<double> x(20003);
      for (double& v : x) v = draw(random);
      x.front() = range.from;
      x.back() = range.to;
      std::vector<double> estimate(x.size());
      ExpEstimates(x.data(), estimate.data(), static_cast<int>(x.size()), form);
      double worst = 0.0;
      for (std::size_t i = 0; i < x.size(); ++i) {
        worst = std::max(worst, std::fabs(estimate[i] / std::exp(x[i]) - 1.0));
      }
      EXPECT_LT(worst, kExpEstimateError / 20) << range.from << " … " << range.to;
    }
    // Beyond the range: the value at its end.
    const std::vector<double> outside = {800.0, 1e308, -800.0, -1e308};
    std::vector<double> clamped(outside.size());
    ExpEstimates(outside.data(), clamped.data(), static_cast<int>(outside.size()), form);
    EXPECT_NEAR(clamped[0] / std::exp(700.0), 1.0, kExpEstimateError);
    EXPECT_NEAR(clamped[1] / std::exp(700.0), 1.0, kExpEstimateError);
    EXPECT_NEAR(clamped[2] / std::exp(-700.0), 1.0, kExpEstimateError);
    EXPECT_NEAR(clamped[3] / std::exp(-700.0), 1.0, kExpEstimateError);
  }
}

std::vector<double> Wabash() {
  std::ifstream in(QUILMOR_SOURCE_DIR "/data/examples/wabash_annual_peak_flow.txt");
  std::vector<double> values;
  for (double v; in >> v;) values.push_back(v);
  return values;
}

std::vector<double> Sorted(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values;
}

// The plotting positions i/(n+1) and the Frechet ordinates ln(−ln Fr).
struct FrechetPoints {
  std::vector<double> fr;
  std::vector<double> y;
  double sumY = 0.0;
};

FrechetPoints PointsOf(int n) {
  FrechetPoints p;
  p.fr = testing::PlotPositions(n);
  for (double f : p.fr) {
    p.y.push_back(std::log(-std::log(f)));
    p.sumY += p.y.back();
  }
  return p;
}

// What a bound trial computes, estimated and exact, on a given line.
enum class Usable { kYes, kNo, kEither };
struct LineCase {
  const char* what;
  double intercept;  // NaN: the least-squares line of the trial
  double slope;
  Usable usable;
};

TEST(FrechetSseEstimates, HoldTheExactSseWithinTheirMargins) {
  const std::vector<double> values = Sorted(Wabash());
  ASSERT_GT(values.size(), 100u);
  const ValueRuns runs = FindRuns(values.data(), static_cast<int>(values.size()));
  const int count = runs.Count();
  const FrechetPoints p = PointsOf(static_cast<int>(values.size()));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const EstimateForm form : kForms) {
    if (!RunsHere(form)) continue;
    for (const int code : {58, 59}) {
      for (const int j : {1, 2, 10, 300, 5000, 90000}) {
        std::vector<double> xPrime(count);
        BoundAbscissae(code, runs, BoundTrial(code, values.front(), values.back(), j),
                       xPrime.data());
        const LineStats line = LeastSquaresLine(xPrime.data(), runs, p.y.data(), p.sumY);
        // One line per lane, on the same abscissae.
        const std::vector<LineCase> cases = {
            {"least squares", nan, nan, Usable::kYes},
            {"steep, Fc 0 at the top", 2.0, 20.0, Usable::kYes},
            {"far from 0, cancelling", 1e5, -1e5 / xPrime[0], Usable::kEither},
            {"out of range", 0.0, 1e4, Usable::kNo},
            {"flat", -0.5, 0.0, Usable::kYes},
            {"least squares, shifted", 0.1, nan, Usable::kYes},
            {"out of range below", -800.0, 0.0, Usable::kNo},
            {"gentle", 0.0, 0.01, Usable::kYes}};
        ASSERT_EQ(cases.size(), static_cast<std::size_t>(kEstimateLanes));
        std::vector<double> byRun(static_cast<std::size_t>(kEstimateLanes * count));
        std::vector<double> intercepts(kEstimateLanes), slopes(kEstimateLanes);
        for (int k = 0; k < kEstimateLanes; ++k) {
          const LineCase& c = cases[k];
          const double lsqIntercept = line.meanY - line.slope * line.meanX;
          intercepts[k] = std::isnan(c.intercept) ? lsqIntercept
                          : std::isnan(c.slope)   ? lsqIntercept + c.intercept
                                                  : c.intercept;
          slopes[k] = std::isnan(c.slope) ? line.slope : c.slope;
          for (int r = 0; r < count; ++r) byRun[r * kEstimateLanes + k] = xPrime[r];
        }
        std::vector<double> scratch(byRun.size());
        std::vector<SseEstimate> estimates(kEstimateLanes);
        FrechetSseEstimates(byRun.data(), runs, p.fr.data(), intercepts.data(), slopes.data(),
                            scratch.data(), estimates.data(), form);
        for (int k = 0; k < kEstimateLanes; ++k) {
          const LineCase& c = cases[k];
          SCOPED_TRACE(::testing::Message() << FormName(form) << " code " << code << " trial "
                                            << j << " " << c.what);
          const SseEstimate& estimate = estimates[k];
          if (c.usable != Usable::kEither) {
            ASSERT_EQ(estimate.usable, c.usable == Usable::kYes);
          }
          if (!estimate.usable) continue;
          const double exact = LineSSETwoPass<Transform::Frechet>(
              xPrime.data(), runs, p.fr.data(), intercepts[k], slopes[k], scratch.data());
          EXPECT_LE(std::fabs(estimate.value - exact), estimate.margin) << exact;
          // Small enough to settle what a scan compares: it grows with |I|
          // (what a Z rounded otherwise could differ by), nothing else.
          EXPECT_LT(estimate.margin,
                    1e-10 * (1.0 + std::fabs(intercepts[k])) * std::max(1.0, exact));
        }
      }
    }
  }
}

TEST(FrechetSseEstimates, GiveNoMarginWhereAnAbscissaIsNoNumber) {
  const std::vector<double> values = {1.0, 2.0, 3.0, 4.0, 5.0};
  const ValueRuns runs = FindRuns(values.data(), 5);
  const FrechetPoints p = PointsOf(5);
  // Lane 2 meets a NaN, lane 5 an infinity; the others are plain.
  std::vector<double> byRun(5 * kEstimateLanes);
  for (int r = 0; r < 5; ++r) {
    for (int k = 0; k < kEstimateLanes; ++k) byRun[r * kEstimateLanes + k] = 0.1 * (r + 1);
  }
  byRun[2 * kEstimateLanes + 2] = std::numeric_limits<double>::quiet_NaN();
  byRun[3 * kEstimateLanes + 5] = std::numeric_limits<double>::infinity();
  const std::vector<double> intercepts(kEstimateLanes, 0.1), slopes(kEstimateLanes, 1.0);
  std::vector<double> scratch(byRun.size());
  std::vector<SseEstimate> estimates(kEstimateLanes);
  FrechetSseEstimates(byRun.data(), runs, p.fr.data(), intercepts.data(), slopes.data(),
                      scratch.data(), estimates.data());
  for (int k = 0; k < kEstimateLanes; ++k) EXPECT_EQ(estimates[k].usable, k != 2 && k != 5) << k;
}

// A scan on exact SSEs, and the same SSEs as estimates: each value moved
// by `offset` within `margin`.
struct ScanRow {
  const char* what;
  std::vector<double> exact;
  std::vector<double> offset;
  std::vector<double> margin;
  int exactTrials;  // how many trials the estimates leave undecided, at most
};

TEST(ScanWithEstimates, StopsWhereTheExactScanStops) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<ScanRow> rows = {
      {"clear fall and rise", {5, 4, 3, 2, 2.5}, {0.1, -0.1, 0.1, 0, 0.1},
       {0.2, 0.2, 0.2, 0.2, 0.2}, 0},
      {"every trial improves", {9, 8, 7, 6, 5, 4}, {0, 0, 0, 0, 0, 0}, {0.1, 0.1, 0.1, 0.1, 0.1, 0.1},
       0},
      {"a tie ends the scan", {5, 4, 4, 3}, {0, 0.05, -0.05, 0}, {0.1, 0.1, 0.1, 0.1}, 2},
      {"estimates overlap, exact improves", {5, 4, 3.99, 3.5, 4}, {0, 0.02, -0.03, 0, 0},
       {0.1, 0.1, 0.1, 0.1, 0.1}, 2},
      {"estimates overlap, exact rises", {5, 4, 4.01, 3}, {0, 0.02, -0.03, 0},
       {0.1, 0.1, 0.1, 0.1}, 2},
      {"estimate below, exact rises", {5, 4, 4.05, 3}, {0, 0, -0.09, 0}, {0.1, 0.1, 0.1, 0.1}, 2},
      {"not a number", {5, 4, nan, 3}, {0, 0, 0, 0}, {0.1, 0.1, 0, 0.1}, 1},
      {"no spread", {5, inf, 3}, {0, 0, 0}, {0.1, 0, 0.1}, 0},
      {"first trial not below the start", {2e6, 1}, {0, 0}, {0.1, 0.1}, 0},
  };
  for (const ScanRow& row : rows) {
    SCOPED_TRACE(row.what);
    const int max = static_cast<int>(row.exact.size());
    std::vector<double> sse;
    const Workers::ScanOutcome plain = Workers(1).ScanWhileImproving(
        max, 1e6, [&](int j, int) { return row.exact[j - 1]; }, sse);
    int exactCalls = 0;
    const Workers::ScanOutcome estimated =
        ScanWithEstimates(max, 1e6, [&](int j, bool exact) -> EstimatedSSE {
          const std::size_t i = static_cast<std::size_t>(j - 1);
          if (exact || row.margin[i] == 0.0) {
            exactCalls += exact ? 1 : 0;
            return {row.exact[i], 0.0};
          }
          return {row.exact[i] + row.offset[i], row.margin[i]};
        });
    EXPECT_EQ(estimated.trials, plain.trials);
    EXPECT_EQ(estimated.lastBetter, plain.lastBetter);
    EXPECT_LE(exactCalls, row.exactTrials);
  }
}

// Whole fits with the bound scans on one worker (estimates) and on two
// (every SSE exact) agree bit for bit.
void ExpectSameFits(const std::vector<double>& values, const std::string& what) {
  SCOPED_TRACE(what);
  const PreparedSeries series = testing::PreparedSeriesOf(Sorted(values));
  for (const char* preference : {"58", "59"}) {
    FitRequest one;
    one.preference = preference;
    one.options.threads = 1;
    one.options.resultOnly = true;
    FitRequest two = one;
    two.options.threads = 2;
    two.options.resultOnly = false;
    const FitResult a = FitSeries(series, one);
    const FitResult b = FitSeries(series, two);
    ASSERT_EQ(a.Stopped, b.Stopped) << preference;
    EXPECT_EQ(a.Code, b.Code) << preference;
    for (double Parameters::*field : {&Parameters::A, &Parameters::B, &Parameters::C}) {
      EXPECT_TRUE(SameBits(a.Fit.*field, b.Fit.*field)) << preference;
    }
    ASSERT_EQ(a.Candidates.size(), b.Candidates.size());
    for (std::size_t c = 0; c < a.Candidates.size(); ++c) {
      EXPECT_TRUE(SameBits(a.Candidates[c].sse, b.Candidates[c].sse)) << preference;
    }
    ASSERT_EQ(a.ScanCounts.size(), b.ScanCounts.size());
    for (std::size_t c = 0; c < a.ScanCounts.size(); ++c) {
      EXPECT_EQ(a.ScanCounts[c].trials, b.ScanCounts[c].trials) << preference;
    }
  }
}

TEST(BoundScans, OneWorkerWithEstimatesFitsAsTwoWorkersExactly) {
  const std::vector<double> wabash = Wabash();
  ExpectSameFits(wabash, "Wabash");
  for (std::uint64_t replicate = 0; replicate < 6; ++replicate) {
    ReplicateStream stream(5, replicate);
    ExpectSameFits(DrawResample(wabash, stream), "resample " + std::to_string(replicate));
  }
  // Two and three values: lines through the points, SSEs at rounding level,
  // so that the exact sums decide.
  ExpectSameFits({3.0, 7.0}, "two values");
  ExpectSameFits({3.0, 7.0, 7.5}, "three values");
  ExpectSameFits({-4.0, -4.0, -1.0, 0.0, 0.0, 2.0, 9.0}, "negative values and ties");
  ExpectSameFits({1e20, 1e20 + 16384, 1e20 + 32768, 1e20 + 98304}, "values far from 0");
  ExpectSameFits({1e-300, 2e-300, 5e-300, 9e-300}, "values near 0");
}

}  // namespace
}  // namespace quilmor::engine
