// The scans compute what depends on a value alone once per run of equal
// values. Each piece that does so must give, bit for bit, what the plain
// rank-by-rank form gives: these tests compare the two on series with and
// without ties, all equal, a single value, and bounds that trip the guard.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/bound_scans.hpp"
#include "engine/break_point.hpp"
#include "engine/exponent_scan.hpp"
#include "engine/fit_data.hpp"
#include "engine/fit_series.hpp"
#include "engine/frequency_forms.hpp"
#include "engine/line_fit.hpp"
#include "engine/normal_family.hpp"
#include "engine/pareto_scan.hpp"
#include "engine/scan_choice.hpp"
#include "engine/value_tables.hpp"
#include "engine/workers.hpp"
#include "engine_test_support.hpp"

namespace quilmor::engine {
namespace {

using testing::PreparedState;

::testing::AssertionResult SameBits(double a, double b) {
  if (std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << a << " and " << b << " differ in their bits";
}

struct RunsRow {
  std::string name;
  std::vector<double> values;  // ascending, as the fit sees them
  int runs;                    // how many runs of equal values
};

class ValueRunsTest : public ::testing::TestWithParam<RunsRow> {
 protected:
  FitData Data() const { return FitData::FromState(PreparedState(GetParam().values)); }
  // The per-rank form of what a trial computed per run.
  static std::vector<double> Spread(const FitData& data, const std::vector<double>& perRun) {
    std::vector<double> perRank(data.n);
    SpreadRuns(perRun.data(), data.runs.end, perRank.data());
    return perRank;
  }
};

TEST_P(ValueRunsTest, RunsCoverEveryRankWithItsOwnValue) {
  const FitData data = Data();
  const ValueRuns& runs = data.runs;
  ASSERT_EQ(runs.Count(), GetParam().runs);
  ASSERT_EQ(runs.Ranks(), data.n);
  ASSERT_EQ(runs.value.size(), runs.end.size());
  EXPECT_EQ(runs.end.back(), data.n);
  for (int i = 0; i < data.n; ++i) {
    const int r = runs.of[i];
    ASSERT_GE(r, 0);
    ASSERT_LT(r, runs.Count());
    EXPECT_TRUE(SameBits(runs.value[r], data.x[i])) << "rank " << i;
    EXPECT_LT(i, runs.end[r]);
    EXPECT_GE(i, r == 0 ? 0 : runs.end[r - 1]);
    EXPECT_TRUE(SameBits(data.lnX[i], std::log(data.x[i]))) << "rank " << i;
  }
  // Neighbouring runs hold different values.
  for (int r = 1; r < runs.Count(); ++r) EXPECT_NE(runs.value[r], runs.value[r - 1]);
  for (int t = 0; t < kTransformCount; ++t) {
    double sum = 0.0;
    for (double y : data.ordinates[t]) sum += y;
    EXPECT_TRUE(SameBits(data.sumY[t], sum)) << "transform " << t;
  }
}

TEST_P(ValueRunsTest, BoundAbscissaeAsTheRankByRankForm) {
  const FitData data = Data();
  const double smallest = data.x.front();
  const double largest = data.x.back();
  // Trial bounds, and bounds inside the data that trip the guard.
  const std::vector<double> bounds58 = {BoundTrial(58, smallest, largest, 1),
                                        BoundTrial(58, smallest, largest, 40), smallest,
                                        0.5 * (smallest + largest), largest};
  const std::vector<double> bounds59 = {BoundTrial(59, smallest, largest, 1),
                                        BoundTrial(59, smallest, largest, 7000), largest,
                                        0.5 * (smallest + largest), smallest};
  for (int code : {58, 59}) {
    for (double bound : code == 58 ? bounds58 : bounds59) {
      std::vector<double> plain(data.n);
      std::vector<double> perRun(data.Runs());
      const double plainBound = BoundAbscissae(code, data, bound, plain.data());
      const double runBound = BoundAbscissae(code, data.runs, bound, perRun.data());
      EXPECT_TRUE(SameBits(runBound, plainBound)) << code << " at " << bound;
      const std::vector<double> spread = Spread(data, perRun);
      for (int i = 0; i < data.n; ++i) {
        EXPECT_TRUE(SameBits(spread[i], plain[i])) << code << " at " << bound << ", rank " << i;
      }
    }
  }
}

TEST_P(ValueRunsTest, LineFitsAndSSEAsTheRankByRankForm) {
  const FitData data = Data();
  // Abscissae of a trial: ln X per run, and a bound scan's.
  std::vector<double> bounded(data.Runs());
  BoundAbscissae(59, data.runs, BoundTrial(59, data.x.front(), data.x.back(), 3), bounded.data());
  const std::vector<const std::vector<double>*> abscissae = {&data.runLnX, &bounded};
  for (const std::vector<double>* perRun : abscissae) {
    const std::vector<double> x = Spread(data, *perRun);
    for (int t = 0; t < kTransformCount; ++t) {
      const auto type = static_cast<Transform>(t);
      const double* y = data.Y(type).data();
      const LineStats plain = LeastSquaresLine(x.data(), y, data.n);
      const LineStats runs = LeastSquaresLine(perRun->data(), data.runs, y, data.SumY(type));
      ASSERT_EQ(runs.noSpread, plain.noSpread) << t;
      EXPECT_TRUE(SameBits(runs.sxx, plain.sxx)) << t;
      if (!plain.noSpread) {
        EXPECT_TRUE(SameBits(runs.meanY, plain.meanY)) << t;
        EXPECT_TRUE(SameBits(runs.meanX, plain.meanX)) << t;
        EXPECT_TRUE(SameBits(runs.slope, plain.slope)) << t;
        EXPECT_TRUE(SameBits(runs.stdDevX, plain.stdDevX)) << t;
      }
      const LineStats first = FirstPointLine(x.data(), y, data.n);
      const LineStats firstRuns = FirstPointLine(perRun->data(), data.runs, y, data.SumY(type));
      EXPECT_TRUE(SameBits(firstRuns.meanY, first.meanY)) << t;
      EXPECT_TRUE(SameBits(firstRuns.meanX, first.meanX)) << t;
      EXPECT_TRUE(SameBits(firstRuns.slope, first.slope)) << t;
      // Lines that keep Z in range, and one that drives it past the caps.
      for (const auto& [intercept, slope] :
           {std::pair{0.3, 0.7}, std::pair{-2.0, 1.5}, std::pair{9.0, -4.0}}) {
        EXPECT_TRUE(
            SameBits(LineSSE(type, perRun->data(), data.runs, data.fr.data(), intercept, slope),
                     LineSSE(type, x.data(), data.fr.data(), data.n, intercept, slope)))
            << t << " with " << intercept << ", " << slope;
        if (type == Transform::Frechet) {
          std::vector<double> fc(data.Runs());
          EXPECT_TRUE(
              SameBits(LineSSETwoPass<Transform::Frechet>(perRun->data(), data.runs, data.fr.data(),
                                                          intercept, slope, fc.data()),
                       LineSSE(type, x.data(), data.fr.data(), data.n, intercept, slope)))
              << "two passes with " << intercept << ", " << slope;
        }
      }
    }
  }
}

TEST_P(ValueRunsTest, SigmaSearchAsTheRankByRankForm) {
  const FitData data = Data();
  std::vector<double> squares(data.Runs());
  for (int r = 0; r < data.Runs(); ++r) squares[r] = data.runs.value[r] * data.runs.value[r];
  const std::vector<const std::vector<double>*> abscissae = {&data.runs.value, &data.runLnX,
                                                             &squares};
  for (const std::vector<double>* perRun : abscissae) {
    const std::vector<double> x = Spread(data, *perRun);
    const SigmaSearchResult plain = SigmaSearch(x.data(), data.fr.data(), data.n);
    const SigmaSearchResult runs = SigmaSearch(perRun->data(), data.runs, data.fr.data());
    ASSERT_EQ(runs.searched, plain.searched);
    EXPECT_TRUE(SameBits(runs.mean, plain.mean));
    EXPECT_TRUE(SameBits(runs.sxx, plain.sxx));
    EXPECT_TRUE(SameBits(runs.s, plain.s));
    if (plain.searched) {
      EXPECT_TRUE(SameBits(runs.sigma, plain.sigma));
      EXPECT_TRUE(SameBits(runs.sse, plain.sse));
    }
    for (double sigma : {0.3, 1.0, 7.5}) {
      EXPECT_TRUE(SameBits(NormalSSE(perRun->data(), data.runs, data.fr.data(), plain.mean, sigma),
                           NormalSSE(x.data(), data.fr.data(), data.n, plain.mean, sigma)))
          << sigma;
    }
  }
}

TEST_P(ValueRunsTest, TwoPieceTrialAsTheRankByRankForm) {
  const FitData data = Data();
  const std::vector<double> grid = BreakGrid(data.x.front(), data.x.back());
  for (const CodeInfo& row : Catalogue()) {
    if (!IsTwoPieceCode(row.code)) continue;
    const PieceKinds kinds = TwoPieceKinds(row.code);
    for (int j = 1; j < kBreakSteps; j += 6) {
      const PieceTrial trial = TwoPieceTrial(row.code, data, grid[j]);
      if (!trial.used) continue;
      // Both pieces written out rank by rank.
      const int nb = trial.nBelow;
      const double* x = data.x.data();
      const LineStats low = LowerPieceLine(x, data.Y(kinds.lower).data(), nb);
      const LineStats high = UpperPieceLine(x, data.Y(kinds.upper).data(), nb, data.n - nb,
                                            x[nb - 1], data.Y(kinds.lower)[nb - 1]);
      double sseLow = 0.0;
      for (int i = 0; i < nb; ++i) {
        const double d = data.fr[i] - PieceFreq(kinds.lower, low.intercept + low.slope * x[i]);
        sseLow += d * d;
      }
      double sseHigh = 0.0;
      for (int i = nb; i < data.n; ++i) {
        const double d = data.fr[i] - PieceFreq(kinds.upper, high.intercept + high.slope * x[i]);
        sseHigh += d * d;
      }
      EXPECT_TRUE(SameBits(trial.sse, sseLow + sseHigh)) << row.code << " at trial " << j;
    }
  }
}

// A sum given up at a limit is the whole sum below it, and not below the
// limit when given up.
TEST_P(ValueRunsTest, LimitedSumsAsTheWholeSumBelowTheLimit) {
  const FitData data = Data();
  for (const auto& [intercept, slope] : {std::pair{0.3, 0.7}, std::pair{-2.0, 1.5}}) {
    const double whole = LineSSE<Transform::Frechet>(data.runLnX.data(), data.runs, data.fr.data(),
                                                     intercept, slope);
    for (double limit :
         {0.0, 0.5 * whole, whole, std::nextafter(whole, 10.0), 2.0 * whole, kNoFitSSE}) {
      const double sum = LineSSE<Transform::Frechet>(data.runLnX.data(), data.runs, data.fr.data(),
                                                     intercept, slope, limit);
      if (whole < limit) {
        EXPECT_TRUE(SameBits(sum, whole)) << limit;
      } else {
        EXPECT_GE(sum, limit);
        EXPECT_LE(sum, whole);
      }
    }
  }
  // The sigma search with partial trials keeps the same sigma and SSE.
  const SigmaSearchResult whole = SigmaSearch(data.runLnX.data(), data.runs, data.fr.data());
  const SigmaSearchResult partial =
      SigmaSearch(data.runLnX.data(), data.runs, data.fr.data(), nullptr, true);
  ASSERT_EQ(partial.searched, whole.searched);
  EXPECT_TRUE(SameBits(partial.sigma, whole.sigma));
  EXPECT_TRUE(SameBits(partial.sse, whole.sse));
}

INSTANTIATE_TEST_SUITE_P(
    Series, ValueRunsTest,
    ::testing::Values(
        RunsRow{"distinct", {1.5, 2.0, 3.25, 7.0, 11.0}, 5},
        RunsRow{"ties_inside", {1.0, 2.0, 2.0, 3.0, 3.0, 3.0, 5.0, 8.0}, 5},
        RunsRow{"ties_at_both_ends", {0.25, 0.25, 0.5, 4.0, 9.0, 9.0, 9.0}, 4},
        RunsRow{"all_equal", {4.0, 4.0, 4.0, 4.0}, 1}, RunsRow{"one_value", {2.0}, 1},
        RunsRow{"resample_like",
                {30800, 31000, 31000, 32000, 33200, 41100, 41100, 41100, 44000, 57000, 76000, 76000,
                 190000},
                9},
        RunsRow{"many_ties", {1, 1, 1, 2, 2, 3, 3, 3, 3, 4, 5, 5, 6, 6, 6, 7, 8, 8, 9, 9}, 9},
        // The guard's 0.001 is lost beside values this large.
        RunsRow{"large", {1e17, 1e17, 3e17, 3e17, 5e17}, 3}),
    [](const ::testing::TestParamInfo<RunsRow>& row) { return row.param.name; });

// --- Tables shared by the fits of a bootstrap -------------------------------

TEST(ValueTables, RowsHoldWhatTheScansComputeFromEachValue) {
  const std::vector<double> values = {0.37, 0.37, 2.0, 5.5, 5.5, 5.5, 12.0, 830.25};
  const ValueTables tables(values, Workers(2));
  ASSERT_EQ(tables.Count(), 5);
  const std::vector<double> grid = ExponentGrid();
  const double step = ParetoStep(830.25);
  EXPECT_EQ(tables.ParetoStep(), step);
  const std::vector<double> scales = ParetoGrid(step);
  for (int v = 0; v < tables.Count(); ++v) {
    const double x = tables.Values()[v];
    for (int k : {1, 2, 61, 280}) {
      const double power = std::exp(grid[k] * std::log(x));
      EXPECT_TRUE(SameBits(tables.Powers(k)[v], power)) << x << " at " << k;
      EXPECT_TRUE(SameBits(tables.LogPowers(k)[v], std::log(power))) << x << " at " << k;
    }
    for (int k : {1, 999, 2000}) {
      EXPECT_TRUE(SameBits(tables.ParetoAbscissae(k)[v], std::log(scales[k] / (x + scales[k]))))
          << x << " at " << k;
    }
  }
}

struct FindRow {
  std::string name;
  std::vector<double> fitted;  // ascending
  std::vector<int> expected;   // empty: not all are in the tables
};

class ValueTablesFind : public ::testing::TestWithParam<FindRow> {};

TEST_P(ValueTablesFind, FindsEveryRunOrNone) {
  const ValueTables tables({1.0, 2.0, 2.0, 3.5, 7.0}, Workers(1));
  const std::vector<double>& fitted = GetParam().fitted;
  EXPECT_EQ(tables.Find(FindRuns(fitted.data(), static_cast<int>(fitted.size()))),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Resamples, ValueTablesFind,
                         ::testing::Values(FindRow{"all", {1.0, 2.0, 3.5, 7.0}, {0, 1, 2, 3}},
                                           FindRow{"with_ties", {2.0, 2.0, 2.0, 7.0, 7.0}, {1, 3}},
                                           FindRow{"last_only", {7.0}, {3}},
                                           FindRow{"one_missing", {1.0, 2.5, 7.0}, {}},
                                           FindRow{"beyond_the_largest", {2.0, 8.0}, {}},
                                           FindRow{"below_the_smallest", {0.5, 1.0}, {}},
                                           // A shifted value is another number.
                                           FindRow{"one_ulp_away", {std::nextafter(2.0, 3.0)}, {}}),
                         [](const ::testing::TestParamInfo<FindRow>& row) {
                           return row.param.name;
                         });

void FitsAgree(const ValueTables& tables, const std::vector<double>& resample);

// A whole fit reading the tables gives what it computes without them: every
// candidate, the chosen code and its parameters, for each preference whose
// scans read the tables.
TEST(ValueTables, FitWithTablesIsTheFitWithout) {
  const std::vector<double> original = {30800, 31000, 32000, 33200, 37300, 41100, 41500,
                                        44000, 44400, 45900, 49000, 53600, 57000, 58400,
                                        59800, 61200, 70000, 76000, 190000};
  const ValueTables tables(original, Workers(1));
  // Resamples of it, ascending, as the fit takes them: with the smallest and
  // largest value, without the smallest, and without the largest (each with
  // its own bound rows).
  const std::vector<std::vector<double>> resamples = {
      {30800, 30800, 31000, 33200, 41100, 41100, 41100, 44000, 45900, 49000, 49000, 57000, 59800,
       61200, 70000, 76000, 76000, 76000, 190000},
      {31000, 31000, 32000, 33200, 41100, 41100, 44000, 44400, 45900, 49000, 49000, 53600, 57000,
       58400, 61200, 70000, 76000, 190000, 190000},
      {30800, 31000, 32000, 32000, 37300, 41100, 41500, 41500, 44000, 49000, 53600, 53600, 57000,
       58400, 59800, 61200, 61200, 70000, 76000}};
  for (const std::vector<double>& resample : resamples) {
    ASSERT_NE(tables.BoundScan(59, resample.front(), resample.back()), nullptr);
    ASSERT_NE(tables.BoundScan(58, resample.front(), resample.back()), nullptr);
    FitsAgree(tables, resample);
  }
  // No rows for a pair of values that is not kept.
  EXPECT_EQ(tables.BoundScan(59, 32000, 76000), nullptr);

  // Values of a Pareto form (C = 2, S = 3), whose scans find their minima
  // inside the grids, and a resample of them.
  const std::vector<double> pareto = {0.0345, 0.0715, 0.1113, 0.1544, 0.2013, 0.2525, 0.3088,
                                      0.3713, 0.441,  0.5198, 0.6099, 0.7144, 0.838,  0.9876,
                                      1.1748, 1.42,   1.7641, 2.3089, 3.4288};
  const ValueTables paretoTables(pareto, Workers(1));
  FitsAgree(paretoTables, pareto);
  FitsAgree(paretoTables,
            {0.0345, 0.0715, 0.0715, 0.1544, 0.2525, 0.2525, 0.2525, 0.3713, 0.441, 0.441, 0.6099,
             0.7144, 0.838, 0.838, 1.1748, 1.42, 2.3089, 2.3089, 3.4288});
}

void FitsAgree(const ValueTables& tables, const std::vector<double>& resample) {
  const PreparedSeries series = testing::PreparedSeriesOf(resample);
  // The tables, a fit for its result only (partial trials), and both.
  struct Variant {
    bool tabled;
    bool resultOnly;
  };
  for (const char* preference : {"1", "2", "21", "25", "56", "58", "59", "60"}) {
    for (const Variant variant :
         {Variant{true, false}, Variant{false, true}, Variant{true, true}}) {
      SCOPED_TRACE(::testing::Message() << preference << (variant.tabled ? " tabled" : "")
                                        << (variant.resultOnly ? " result only" : ""));
      FitRequest plain;
      plain.preference = preference;
      plain.options.threads = 1;
      FitRequest other = plain;
      if (variant.tabled) other.options.tables = &tables;
      other.options.resultOnly = variant.resultOnly;
      const FitResult a = FitSeries(series, plain);
      const FitResult b = FitSeries(series, other);
      ASSERT_EQ(b.Code, a.Code) << preference;
      ASSERT_EQ(b.Candidates.size(), a.Candidates.size()) << preference;
      for (std::size_t c = 0; c < a.Candidates.size(); ++c) {
        EXPECT_TRUE(SameBits(b.Candidates[c].sse, a.Candidates[c].sse)) << preference << " " << c;
        EXPECT_TRUE(SameBits(b.Candidates[c].slope, a.Candidates[c].slope))
            << preference << " " << c;
      }
      for (double Parameters::*field : {&Parameters::A, &Parameters::B, &Parameters::C,
                                        &Parameters::E, &Parameters::M, &Parameters::D}) {
        EXPECT_TRUE(SameBits(b.Fit.*field, a.Fit.*field)) << preference;
      }
      ASSERT_EQ(b.ScanCounts.size(), a.ScanCounts.size());
      for (std::size_t c = 0; c < a.ScanCounts.size(); ++c) {
        EXPECT_EQ(b.ScanCounts[c].trials, a.ScanCounts[c].trials) << preference;
      }
      EXPECT_TRUE(SameBits(b.NormStdDev, a.NormStdDev));
      EXPECT_TRUE(SameBits(b.FitStdDev, a.FitStdDev));
    }
  }
}

// A bound row holds what BoundAbscissae gives each value of a fit with the
// row's smallest and largest value. Where 1 % of the range is less than half
// a unit in the last place of the values, the first trials' bounds round onto
// the extreme values, the guard moves them, and those trials have no row.
struct BoundRowCase {
  int j;
  bool guarded;
};

TEST(ValueTables, BoundRowsAsTheDirectAbscissae) {
  const std::vector<double> values = {1e20, 1e20, 1e20 + 16384, 1e20 + 32768};
  const ValueTables tables(values, Workers(1));
  const ValueRuns runs = FindRuns(values.data(), static_cast<int>(values.size()));
  for (int code : {58, 59}) {
    const BoundRows* rows = tables.BoundScan(code, values.front(), values.back());
    ASSERT_NE(rows, nullptr);
    for (const BoundRowCase& c : {BoundRowCase{1, true}, BoundRowCase{2, true},
                                  BoundRowCase{100, false}, BoundRowCase{5000, false}}) {
      std::vector<double> direct(runs.value.size());
      const double bound = BoundTrial(code, values.front(), values.back(), c.j);
      const double moved = BoundAbscissae(code, runs, bound, direct.data());
      const double* row = rows->Row(c.j);
      EXPECT_EQ(row == nullptr, c.guarded) << code << " " << c.j;
      const bool trips = code == 58 ? values.front() - bound <= 0.0 : bound - values.back() <= 0.0;
      EXPECT_EQ(trips, c.guarded) << code << " " << c.j;
      if (!trips) {
        EXPECT_TRUE(SameBits(moved, bound)) << code << " " << c.j;
      }
      if (row == nullptr) continue;
      for (std::size_t v = 0; v < direct.size(); ++v) {
        EXPECT_TRUE(SameBits(row[v], direct[v])) << code << " " << c.j << " " << v;
      }
      EXPECT_EQ(rows->Row(c.j), row);  // made once, then read
    }
  }
}

}  // namespace
}  // namespace quilmor::engine
