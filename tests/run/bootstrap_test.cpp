#include "run/bootstrap.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <vector>

#include "engine/random_stream.hpp"
#include "engine/resample.hpp"
#include "run/run_analysis.hpp"
#include "scripted_interaction.hpp"
#include "textio/input_file.hpp"
#include "textio/text_file.hpp"

namespace quilmor::run {
namespace {

// Forty annual maxima drawn once from a Gumbel function (location 50, scale 12).
const std::vector<double> kForty = {61.2, 47.9, 55.0, 83.4, 44.1, 52.7, 70.3, 49.5, 58.8, 41.6,
                                    66.0, 53.9, 46.2, 91.7, 57.4, 50.8, 62.9, 45.3, 74.6, 48.7,
                                    54.4, 59.9, 43.8, 68.2, 51.5, 56.6, 79.1, 47.0, 64.4, 52.1,
                                    42.9, 60.5, 49.1, 72.8, 55.7, 46.8, 58.1, 87.0, 50.2, 63.6};

struct Original {
  AnalysisResult analysis;
  std::vector<DesignRow> design;
};

Original Analyse(const std::vector<double>& values, const std::string& preference) {
  testing::ScriptedInteraction ui;
  const textio::InputFileContent input = textio::ParseInputFile(textio::SplitLines(
      textio::RenderInputFile("Bootstrap test", "maxima", "/data/maxima.inp", 0.0, values)));
  AnalysisRequest request;
  request.inputName = "/data/maxima.inp";
  request.preference = preference;
  Original original;
  original.analysis = RunAnalysis(input, request, ui);
  report::DesignOptions options;
  options.returnPeriods = {10, 100};
  original.design = DesignTable(original.analysis.model, static_cast<int>(values.size()), options);
  return original;
}

BootstrapResult Bootstrap(const Original& o, BootstrapRequest request) {
  request.preference = o.analysis.model.Preference;
  return RunBootstrap(o.analysis.series, o.analysis.fit, o.analysis.model, o.design, request);
}

// Every number of two results, NaN equal to NaN.
void ExpectSameNumbers(const BootstrapResult& a, const BootstrapResult& b) {
  auto same = [](double x, double y) { return (std::isnan(x) && std::isnan(y)) || x == y; };
  ASSERT_EQ(a.points.size(), b.points.size());
  EXPECT_EQ(a.stopped, b.stopped);
  ASSERT_EQ(a.chosenCodes.size(), b.chosenCodes.size());
  for (std::size_t i = 0; i < a.chosenCodes.size(); ++i) {
    EXPECT_EQ(a.chosenCodes[i].code, b.chosenCodes[i].code);
    EXPECT_EQ(a.chosenCodes[i].count, b.chosenCodes[i].count);
  }
  for (std::size_t j = 0; j < a.points.size(); ++j) {
    for (auto kind : {&BootstrapPoint::chosenAnew, &BootstrapPoint::sameFunction}) {
      const ReplicateLimits& x = a.points[j].*kind;
      const ReplicateLimits& y = b.points[j].*kind;
      EXPECT_TRUE(same(x.percentile.lower, y.percentile.lower));
      EXPECT_TRUE(same(x.percentile.median, y.percentile.median));
      EXPECT_TRUE(same(x.percentile.upper, y.percentile.upper));
      EXPECT_TRUE(same(x.biasCorrected.lower, y.biasCorrected.lower));
      EXPECT_TRUE(same(x.basic.upper, y.basic.upper));
    }
  }
}

TEST(BootstrapTest, SameSeedSameNumbersOnOneOrTwoThreads) {
  const Original o = Analyse(kForty, "1");
  ASSERT_FALSE(o.analysis.Stopped());
  BootstrapRequest request;
  request.replicates = 24;
  request.seed = 7;
  request.threads = 1;
  const BootstrapResult one = Bootstrap(o, request);
  request.threads = 2;
  const BootstrapResult two = Bootstrap(o, request);
  ExpectSameNumbers(one, two);
  EXPECT_EQ(one.completed, 24);
  EXPECT_FALSE(one.cancelled);

  request.seed = 8;
  const BootstrapResult other = Bootstrap(o, request);
  EXPECT_NE(other.points[1].chosenAnew.percentile.median,
            one.points[1].chosenAnew.percentile.median);
}

TEST(BootstrapTest, LimitsSurroundTheMedianAndSharesAddUp) {
  const Original o = Analyse(kForty, "1");
  BootstrapRequest request;
  request.replicates = 40;
  const BootstrapResult r = Bootstrap(o, request);
  ASSERT_EQ(r.points.size(), 2u);
  int count = 0;
  double share = 0.0;
  for (const CodeShare& c : r.chosenCodes) {
    count += c.count;
    share += c.share;
  }
  EXPECT_EQ(count + r.stopped, 40);
  EXPECT_NEAR(share, 1.0, 1e-12);
  for (const BootstrapPoint& p : r.points) {
    for (const ReplicateLimits* l : {&p.chosenAnew, &p.sameFunction}) {
      EXPECT_LE(l->percentile.lower, l->percentile.median);
      EXPECT_LE(l->percentile.median, l->percentile.upper);
      EXPECT_LT(l->percentile.lower, l->percentile.upper);
    }
  }
  // The 100-year value lies above the 10-year value in the replicates too.
  EXPECT_LT(r.points[0].chosenAnew.percentile.median, r.points[1].chosenAnew.percentile.median);

  std::vector<DesignRow> design = o.design;
  AddBootstrapColumns(design, r);
  EXPECT_EQ(design[1].chosenAnewUpper, r.points[1].chosenAnew.percentile.upper);
  EXPECT_EQ(design[1].sameFunctionLower, r.points[1].sameFunction.percentile.lower);
  EXPECT_EQ(design[1].bootstrapMedian, r.points[1].chosenAnew.percentile.median);
}

// With a preferred function the choice is not repeated: both kinds agree and
// every replicate has the preferred code.
TEST(BootstrapTest, APreferredFunctionGivesEqualKinds) {
  const Original o = Analyse(kForty, "4");
  BootstrapRequest request;
  request.replicates = 20;
  const BootstrapResult r = Bootstrap(o, request);
  ASSERT_EQ(r.chosenCodes.size(), 1u);
  EXPECT_EQ(r.chosenCodes[0].code, 4);
  EXPECT_EQ(r.chosenCodes[0].count, 20);
  for (const BootstrapPoint& p : r.points) {
    EXPECT_EQ(p.chosenAnew.percentile.lower, p.sameFunction.percentile.lower);
    EXPECT_EQ(p.chosenAnew.percentile.upper, p.sameFunction.percentile.upper);
  }
}

TEST(BootstrapTest, ParametricReplicatesDrawFromTheFittedFunction) {
  const Original o = Analyse(kForty, "4");
  BootstrapRequest request;
  request.replicates = 30;
  request.kind = report::BootstrapKind::kParametric;
  const BootstrapResult r = Bootstrap(o, request);
  EXPECT_EQ(r.stopped, 0);
  const double x100 = o.design[1].x;
  const ReplicateLimits& l = r.points[1].chosenAnew;
  EXPECT_LT(l.percentile.lower, x100);
  EXPECT_GT(l.percentile.upper, x100);
  // A Gumbel sample of 40 values puts its 100-year median within 10 %.
  EXPECT_NEAR(l.percentile.median, x100, 0.1 * x100);
}

// Resamples without variation stop and are counted, not used.
TEST(BootstrapTest, StoppedReplicatesAreLeftOutAndCounted) {
  const Original o = Analyse({5, 5, 5, 5, 5, 9}, "4");
  ASSERT_FALSE(o.analysis.Stopped());
  BootstrapRequest request;
  request.replicates = 30;
  const BootstrapResult r = Bootstrap(o, request);
  EXPECT_GT(r.stopped, 0);
  EXPECT_EQ(r.chosenCodes.at(0).count + r.stopped, 30);
  EXPECT_EQ(r.points[0].chosenAnew.percentile.used, static_cast<std::size_t>(30 - r.stopped));
}

// A replicate is the analysis of its own resample, drawn from the stream of
// (seed, index): the same numbers by hand.
TEST(BootstrapTest, AReplicateIsTheAnalysisOfItsResample) {
  const Original o = Analyse(kForty, "1");
  BootstrapRequest request;
  request.seed = 5;
  const std::vector<double> values = ValuesInUse(o.analysis.series);
  ASSERT_EQ(values.size(), kForty.size());
  const engine::Parameters calculator = CalculatorParameters(o.analysis.model);
  const std::vector<report::DesignPoint> points = {{100.0, 0.99}};
  const ReplicateOutcome outcome =
      RunReplicate(values, 0.0, o.analysis.fit.Code, calculator, points, request, 3);
  ASSERT_FALSE(outcome.stopped);

  engine::ReplicateStream stream(5, 3);
  const std::vector<double> resample = engine::DrawResample(values, stream);
  const Original byHand = Analyse(resample, "1");
  EXPECT_EQ(outcome.code, byHand.analysis.fit.Code);
  EXPECT_EQ(outcome.chosenAnew[0], byHand.design[1].x);  // T = 100
}

TEST(BootstrapTest, CancelledBeforeStartRunsNothing) {
  const Original o = Analyse(kForty, "4");
  std::atomic<bool> cancel{true};
  BootstrapRequest request;
  request.replicates = 50;
  request.cancel = &cancel;
  const BootstrapResult r = Bootstrap(o, request);
  EXPECT_TRUE(r.cancelled);
  EXPECT_EQ(r.completed, 0);
}

}  // namespace
}  // namespace quilmor::run
