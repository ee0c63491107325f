#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <limits>
#include <string>
#include <vector>

#include "calculator/calculator.hpp"
#include "graphs/graph_file.hpp"
#include "graphs/graph_types.hpp"
#include "graphs/paper_graph.hpp"
#include "graphs/paper_scales.hpp"
#include "report_fixture.hpp"
#include "scripted_interaction.hpp"
#include "temp_folder.hpp"

namespace quilmor::graphs {
namespace {

// The options of one paper, X logarithmic or not.
PaperOptions PaperOf(ProbabilityPaper paper, bool logX) {
  PaperOptions options;
  options.paper = paper;
  options.logX = logX;
  return options;
}


using engine::ProbabilityPaper;
using PP = ProbabilityPaper;
using quilmor::testing::ScriptedInteraction;
using quilmor::testing::TempFolder;
using quilmor::testing::WriteBytes;

// The transforms are formulas of a few exp and log: full double precision
// but for the last digits.
constexpr double kTol = 1e-12;

// ---- Transforms ------------------------------------------------------------------

struct VariateCase {
  PP paper;
  double f;
  double u;  // by hand: see the comment of each row
};

TEST(Paper, ReducedVariatesByHand) {
  const std::vector<VariateCase> cases = {
      {PP::Normal, 0.5, 0.0},
      {PP::Normal, 0.975, 1.959963984540054},    // the two-sided 95 % quantile
      {PP::LogNormal, 0.9, 1.2815515655446004},  // the 90 % quantile
      {PP::Normal, 0.01, -2.326347874040841},
      {PP::Gumbel, 0.5, 0.36651292058166435},      // -ln(ln 2)
      {PP::Gumbel, 0.99, 4.600149226776579},       // -ln(-ln 0.99) = -ln 0.0100503
      {PP::Weibull, 0.5, -0.36651292058166435},    // ln(ln 2)
      {PP::Weibull, 1 - std::exp(-1.0), 0.0},      // ln(-ln e^-1) = ln 1
      {PP::Exponential, 0.5, 0.6931471805599453},  // ln 2
      {PP::Exponential, 0.99, 4.605170185988091},  // -ln 0.01
  };
  for (const VariateCase& c : cases) {
    SCOPED_TRACE(std::string(PaperName(c.paper)) + " F = " + std::to_string(c.f));
    EXPECT_NEAR(ReducedVariate(c.paper, c.f), c.u, kTol);
    EXPECT_NEAR(FrequencyOfVariate(c.paper, c.u), c.f, kTol);
  }
  for (PP paper : {PP::Normal, PP::Gumbel, PP::Weibull, PP::Exponential}) {
    for (double f : {0.0, 1.0, -0.1, 1.5, std::nan("")}) {
      EXPECT_TRUE(std::isnan(ReducedVariate(paper, f))) << f;
    }
  }
  // The normal tail keeps its precision: Phi(-8.5) = 9.48e-18 and 1 - that.
  EXPECT_NEAR(StandardNormalQuantile(StandardNormalFreq(-8.5)), -8.5, 1e-9);
  EXPECT_NEAR(StandardNormalQuantile(1e-10), -6.361340902404056, 1e-9);
}

TEST(Paper, NamesAndLogarithmicAxes) {
  for (PP paper : {PP::Normal, PP::LogNormal, PP::Gumbel, PP::Weibull, PP::Exponential}) {
    EXPECT_EQ(PaperNamed(PaperName(paper)), paper);
  }
  EXPECT_EQ(PaperNamed("lognormal"), PP::LogNormal);
  EXPECT_EQ(PaperNamed("Normal"), std::nullopt);
  EXPECT_EQ(PaperNamed(""), std::nullopt);
  EXPECT_EQ(PaperTitle(PP::Gumbel), "Gumbel paper");
  EXPECT_TRUE(PaperHasLogX(PP::LogNormal));
  EXPECT_TRUE(PaperHasLogX(PP::Weibull));
  EXPECT_FALSE(PaperHasLogX(PP::Gumbel));
}

// The paper of each family: the normal family on normal or log-normal paper,
// the extreme-value, Pareto and exponential forms (generalised and two-piece
// ones too) on a paper of a tail.
TEST(Paper, DefaultPaperFollowsTheFamily) {
  using F = engine::Family;
  for (const engine::CodeInfo& row : engine::Catalogue()) {
    SCOPED_TRACE(row.code);
    const PP paper = DefaultPaper(row.code);
    const bool normalPaper = paper == PP::Normal || paper == PP::LogNormal;
    switch (row.family) {
      case F::Normal:
      case F::Student:
        EXPECT_EQ(paper, PP::Normal);
        break;
      case F::LogNormal:
        EXPECT_EQ(paper, PP::LogNormal);
        break;
      case F::Gumbel:
      case F::MirroredGumbel:
      case F::Frechet:
      case F::FisherTippett3:
      case F::Weibull:
      case F::Pareto:
      case F::Exponential:
      case F::TwoPiece:
        EXPECT_FALSE(normalPaper);
        break;
      default:
        break;
    }
  }
  EXPECT_EQ(DefaultPaper(4), PP::Gumbel);
  EXPECT_EQ(DefaultPaper(57), PP::Weibull);
  // Outside the catalogue: the paper of row 0.
  EXPECT_EQ(DefaultPaper(99), DefaultPaper(0));
  EXPECT_EQ(DefaultPaper(-3), DefaultPaper(0));
}

// ---- Horizontal axis ---------------------------------------------------------------

TEST(Paper, GumbelAxisLabelsByHand) {
  // No observations: from 1 % (u = -1.5271796) to 99.5 % (u = 5.2958121),
  // widened by 3 % of the span 6.8229918: -1.7318694 .. 5.5005019.
  PaperScales scales;
  scales.paper = PP::Gumbel;
  scales.range = HorizontalRange(PP::Gumbel, {});
  EXPECT_NEAR(scales.range.uMin, -1.731869378858189, kTol);
  EXPECT_NEAR(scales.range.uMax, 5.500501895585313, kTol);
  // px = 70 + Near((u + 1.7318694) * 500 / 7.2323713).
  std::vector<std::string> texts;
  std::map<std::string, int> pixels;
  for (const PaperTick& t : FrequencyTicks(scales)) {
    texts.push_back(t.text);
    pixels[t.text + "%"] = t.pixel;
  }
  // 0.5 % lies at u = -1.667 inside, 0.1 % at -1.933 and 99.9 % at 6.907 outside.
  EXPECT_EQ(texts, (std::vector<std::string>{"0.5", "1", "5", "10", "20", "50", "80", "90", "95",
                                             "98", "99", "99.5"}));
  texts.clear();
  for (const PaperTick& t : ReturnPeriodTicks(scales)) {
    texts.push_back(t.text);
    pixels["T" + t.text] = t.pixel;
  }
  // T = 500 is F = 0.998, u = 6.214: outside.
  EXPECT_EQ(texts, (std::vector<std::string>{"1.01", "2", "5", "10", "25", "50", "100", "200"}));
  EXPECT_EQ(pixels["0.5%"], 74);  // u = -1.6673893
  EXPECT_EQ(pixels["50%"], 215);  // u = 0.3665129: 70 + Near(145.07)
  EXPECT_EQ(pixels["T2"], 215);   // T = 2 is F = 50 %
  EXPECT_EQ(pixels["99%"], 508);  // u = 4.6001492: 70 + Near(437.75)
  EXPECT_EQ(pixels["T100"], 508);
  EXPECT_EQ(pixels["99.5%"], 556);
  EXPECT_EQ(pixels["T200"], 556);
  EXPECT_EQ(pixels["T1.01"], 84);  // F = 1/101 = 0.0099, next to 1 %
}

TEST(Paper, RangeReachesTheObservations) {
  // 30 ranks: 1/31 = 3.2 % lies above 1 %, so the normal axis starts at 1 %;
  // 2500 ranks: 1/2501 = 0.04 % lies below it.
  std::vector<PaperPoint> few, many;
  for (int i = 1; i <= 30; ++i) few.push_back({i / 31.0, 1.0 * i});
  for (int i = 1; i <= 2500; ++i) many.push_back({i / 2501.0, 1.0 * i});
  const PaperRange a = HorizontalRange(PP::Normal, few);
  const double span = StandardNormalQuantile(0.995) - StandardNormalQuantile(0.01);
  EXPECT_NEAR(a.uMin, StandardNormalQuantile(0.01) - 0.03 * span, kTol);
  const PaperRange b = HorizontalRange(PP::Normal, many);
  EXPECT_LT(b.uMin, StandardNormalQuantile(1 / 2501.0));
  EXPECT_GT(b.uMax, StandardNormalQuantile(2500 / 2501.0));
}

TEST(Paper, LabelsThatDoNotFitAreLeftOut) {
  // By priority: 110 first ([100, 120)), then 100 ([90, 110)) overlaps it,
  // 200 is free, 5 would begin left of 0.
  const std::vector<PaperTick> ticks = {
      {0, 100, "a", 1}, {0, 110, "b", 0}, {0, 200, "c", 2}, {0, 5, "d", 0}, {0, 131, "e", 3}};
  EXPECT_EQ(PlaceLabels(ticks, {20, 20, 20, 20, 10}, 6, 0, 600),
            (std::vector<bool>{false, true, true, false, true}));
  // "e" ([126, 136)) keeps 6 pixels from "b" ([100, 120)), not 7.
  EXPECT_FALSE(PlaceLabels(ticks, {20, 20, 20, 20, 10}, 7, 0, 600)[4]);
}

// ---- Vertical axis -----------------------------------------------------------------

TEST(Paper, SequencesOfOneTwoFive) {
  EXPECT_EQ(LogSequence(10, 200, false), (std::vector<double>{10, 20, 50, 100, 200}));
  EXPECT_EQ(LogSequence(20, 50, true), (std::vector<double>{20, 30, 40, 50}));
  const std::vector<double> small = LogSequence(0.015, 0.3, false);
  ASSERT_EQ(small.size(), 4u);
  EXPECT_NEAR(small[0], 0.02, kTol);
  EXPECT_NEAR(small[3], 0.2, kTol);
  EXPECT_DOUBLE_EQ(LogFloor(37, false), 20);
  EXPECT_DOUBLE_EQ(LogCeil(37, false), 50);
  EXPECT_DOUBLE_EQ(LogCeil(50, false), 50);
  EXPECT_DOUBLE_EQ(LogFloor(50, false), 50);
  EXPECT_NEAR(LogFloor(0.037, false), 0.02, kTol);
  EXPECT_NEAR(LogCeil(0.037, true), 0.04, kTol);
  EXPECT_TRUE(LogSequence(0, 10, false).empty());
}

struct ValueAxisCase {
  const char* name;
  std::vector<double> observed;
  std::vector<double> fitted;  // X of the fitted function at F = 50 %
  bool askLog;                 // a logarithmic axis asked for
  bool logX;                   // and given
  double yMin, yMax, yStep;
  std::vector<std::string> labels;
  std::pair<double, int> pixel;  // a value and its pixel
};
void PrintTo(const ValueAxisCase& c, std::ostream* os) { *os << c.name; }

class ValueAxis : public ::testing::TestWithParam<ValueAxisCase> {};

TEST_P(ValueAxis, BoundsTicksAndLabels) {
  const ValueAxisCase& c = GetParam();
  PaperSeries series;
  for (std::size_t i = 0; i < c.observed.size(); ++i) {
    series.observed.push_back({(i + 1.0) / (c.observed.size() + 1.0), c.observed[i]});
  }
  for (double x : c.fitted) series.fitted.push_back({0.5, x});
  const PaperScales scales = ComputePaperScales(series, PP::Gumbel, c.askLog);
  EXPECT_EQ(scales.logX, c.logX);
  EXPECT_NEAR(scales.yMin, c.yMin, kTol);
  EXPECT_NEAR(scales.yMax, c.yMax, kTol);
  EXPECT_NEAR(scales.yStep, c.yStep, kTol);
  std::vector<std::string> labels;
  for (const PaperTick& t : ValueTicks(scales)) labels.push_back(t.text);
  EXPECT_EQ(labels, c.labels);
  EXPECT_EQ(PaperPixelY(scales, c.pixel.first), c.pixel.second);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ValueAxis,
    ::testing::Values(
        // Span 75 / 8 = 9.4 -> steps of 10: 10 .. 90; py(50) = 420 - Near(40 * 350 / 80).
        ValueAxisCase{"Linear",
                      {12, 40, 87},
                      {},
                      false,
                      false,
                      10,
                      90,
                      10,
                      {"10", "20", "30", "40", "50", "60", "70", "80", "90"},
                      {50, 245}},
        ValueAxisCase{"LinearSmall",
                      {0.02, 0.05, 0.08},
                      {},
                      false,
                      false,
                      0.02,
                      0.08,
                      0.01,
                      {"0.02", "0.03", "0.04", "0.05", "0.06", "0.07", "0.08"},
                      {0.05, 245}},
        // The fitted 1000 lies beyond one span (10) above 20: left out; 25 is
        // taken: 15 / 8 -> steps of 2: 10 .. 26.
        ValueAxisCase{"FittedWithinReach",
                      {10, 15, 20},
                      {25, 1000},
                      false,
                      false,
                      10,
                      26,
                      2,
                      {"10", "12", "14", "16", "18", "20", "22", "24", "26"},
                      {18, 245}},
        // 13100 .. 190000: 10000 .. 200000, ticks at 1, 2, 5 times a power
        // of ten; py(100000) = 420 - Near(ln 10 / ln 20 * 350) = 420 - 269.
        ValueAxisCase{"Logarithmic",
                      {13100, 50000, 190000},
                      {},
                      true,
                      true,
                      10000,
                      200000,
                      0,
                      {"10000", "20000", "50000", "100000", "200000"},
                      {100000, 151}},
        // 20 .. 30 holds only 20 and 50 of the 1-2-5 values: steps of 2.
        ValueAxisCase{"ShortLogarithmic",
                      {20, 25, 30},
                      {},
                      true,
                      true,
                      20,
                      30,
                      2,
                      {"20", "22", "24", "26", "28", "30"},
                      {30, 70}},
        // Values at or below 0 have no place on a logarithmic axis.
        ValueAxisCase{"LogarithmicWithoutPositiveValues",
                      {-3, -1, 0},
                      {},
                      true,
                      false,
                      -3,
                      0,
                      0.5,
                      {"-3.0", "-2.5", "-2.0", "-1.5", "-1.0", "-0.5", "0.0"},
                      {0, 70}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Paper, ValuesAtOrBelowZeroAreCountedOnALogarithmicAxis) {
  PaperSeries series;
  for (double x : {-1.0, 0.0, 10.0, 100.0}) series.observed.push_back({0.5, x});
  const PaperScales scales = ComputePaperScales(series, PP::Weibull, true);
  EXPECT_TRUE(scales.logX);
  EXPECT_EQ(scales.hiddenPoints, 2);
  EXPECT_DOUBLE_EQ(scales.yMin, 10);
  EXPECT_DOUBLE_EQ(scales.yMax, 100);
  // A linear request over the same data takes them all.
  const PaperScales linear = ComputePaperScales(series, PP::Gumbel, false);
  EXPECT_EQ(linear.hiddenPoints, 0);
  EXPECT_LE(linear.yMin, -1);
}

// ---- A sample drawn exactly on a Gumbel ----------------------------------------------

// F = exp(-exp(-(A x + B))) with A = 0.05, B = -2: the rank i of 30 at F =
// i/31 has x = (u_i - B)/A = 20 (u_i + 2), u_i = -ln(-ln(i/31)).
constexpr int kRanks = 30;
constexpr double kA = 0.05;
constexpr double kB = -2.0;

GraphSeries GumbelTable() {
  GraphSeries table;
  for (int i = 1; i <= kRanks; ++i) {
    const double f = i / (kRanks + 1.0);
    table.A.push_back((-std::log(-std::log(f)) - kB) / kA);
    table.B.push_back(100 * f);
    table.C.push_back(100 * f);
    table.D.push_back(std::min(100 * f + 8, 99.9));
    table.E.push_back(std::max(100 * f - 8, 0.0));
  }
  return table;
}

engine::Parameters GumbelParameters() {
  engine::Parameters p;
  p.Code = 4;
  p.A = kA;
  p.B = kB;
  return p;
}

// Distance in pixels of p from the line through a and b.
double FromLine(QPoint a, QPoint b, QPoint p) {
  const double dx = b.x() - a.x();
  const double dy = b.y() - a.y();
  return std::fabs(dy * (p.x() - a.x()) - dx * (p.y() - a.y())) / std::hypot(dx, dy);
}

QPoint PixelOf(const PaperScales& s, const PaperPoint& p) {
  return {PaperPixelX(s, ReducedVariate(s.paper, p.f)), PaperPixelY(s, p.x)};
}

TEST(PaperGumbel, SampleOnAGumbelIsAStraightLineOnGumbelPaper) {
  const PaperPicture paper = MakePaper(GumbelTable(), 4, GumbelParameters(), {});
  ASSERT_EQ(paper.scales.paper, PP::Gumbel);  // the paper of code 4
  ASSERT_FALSE(paper.scales.logX);
  const auto& fitted = paper.series.fitted;
  ASSERT_GT(fitted.size(), 200u);
  // The fitted function at 50 %: (0.3665129 + 2) / 0.05 = 47.33.
  for (const PaperPoint& p : fitted) {
    EXPECT_NEAR(p.x, (ReducedVariate(PP::Gumbel, p.f) - kB) / kA, 1e-9);
  }
  const QPoint first = PixelOf(paper.scales, fitted.front());
  const QPoint last = PixelOf(paper.scales, fitted.back());
  ASSERT_GT(last.x() - first.x(), 400);
  for (const PaperPoint& p : fitted)
    EXPECT_LE(FromLine(first, last, PixelOf(paper.scales, p)), 1.0);
  ASSERT_EQ(paper.series.observed.size(), static_cast<std::size_t>(kRanks));
  for (const PaperPoint& p : paper.series.observed) {
    EXPECT_LE(FromLine(first, last, PixelOf(paper.scales, p)), 1.0) << p.f;
  }
  // On normal paper the same sample bends: its middle lies off the chord.
  const PaperPicture normal = MakePaper(GumbelTable(), 4, GumbelParameters(), PaperOf(PP::Normal, false));
  const QPoint a = PixelOf(normal.scales, normal.series.observed.front());
  const QPoint b = PixelOf(normal.scales, normal.series.observed.back());
  EXPECT_GT(FromLine(a, b, PixelOf(normal.scales, normal.series.observed[kRanks / 2])), 5.0);
}

TEST(PaperGumbel, WithoutParametersTheCalculatedColumnStandsForTheFunction) {
  GraphSeries table = GumbelTable();
  table.C.front() = 0.0;  // printed as 0: not on the paper
  const PaperSeries series = PaperSeriesOf(table, std::nullopt, PP::Gumbel);
  ASSERT_EQ(series.fitted.size(), static_cast<std::size_t>(kRanks - 1));
  EXPECT_DOUBLE_EQ(series.fitted.front().x, table.A[1]);
  // The limits where they lie inside (0, 100) %: the first lower ones are 0.
  EXPECT_LT(series.limits.lower.size(), static_cast<std::size_t>(kRanks));
  EXPECT_EQ(series.limits.upper.size(), static_cast<std::size_t>(kRanks));
  EXPECT_FALSE(series.bootstrap.has_value());
}

TEST(PaperGumbel, ObservationsSitAtTheReportsPlottingPosition) {
  const std::vector<std::string> heading = {" RESULTS OF Quilmor PROGRAM", "", " Number of data used: 9",
                                            " Plotting position: Hazen (i-0.5)/N", ""};
  EXPECT_EQ(PlottingAlphaOfReport(heading), 0.5);
  EXPECT_EQ(PlottingAlphaOfReport({" Number of data used: 9", ""}), 0.0);
  const GraphSeries table = GumbelTable();
  const PaperSeries hazen = PaperSeriesOf(table, std::nullopt, PP::Gumbel, 0.5);
  const PaperSeries weibull = PaperSeriesOf(table, std::nullopt, PP::Gumbel);
  ASSERT_EQ(hazen.observed.size(), static_cast<std::size_t>(kRanks));
  EXPECT_DOUBLE_EQ(hazen.observed.front().f, 0.5 / kRanks);
  EXPECT_DOUBLE_EQ(hazen.observed.back().f, (kRanks - 0.5) / kRanks);
  EXPECT_DOUBLE_EQ(weibull.observed.front().f, 1.0 / (kRanks + 1));
}

// ---- Painted --------------------------------------------------------------------------

class PaperPainting : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureGuiApplication(); }
  static GraphPicture Picture(bool colour) {
    GraphPicture picture;
    picture.GraphType = kPaperGraph;
    picture.ColourGraph = colour;
    picture.paper = MakePaper(GumbelTable(), 4, GumbelParameters(), {});
    picture.Title1 = "Gumbel sample";
    picture.Title2 = "thirty ranks";
    picture.DistributionName = "Gumbel distribution";
    return picture;
  }
};

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }
int Count(const QImage& image, int left, int top, int right, int bottom, QRgb c) {
  int n = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) n += At(image, x, y) == c;
  }
  return n;
}

TEST_F(PaperPainting, TheBootstrapBandIsDrawnWhenOneWasComputed) {
  // A band 5 % beside the fitted line, with points the paper cannot show.
  const GraphSeries table = GumbelTable();
  PaperBand band;
  for (const double f : {0.5, 0.1, 0.9, 0.99, 0.0, 1.0}) {
    const double x = calculator::CalcVal(GumbelParameters(), f, table.Rows()).CalcXValue;
    band.lower.push_back({f, 0.95 * x});
    band.upper.push_back({f, 1.05 * x});
  }
  band.upper.push_back({0.7, std::numeric_limits<double>::quiet_NaN()});
  PaperOptions options;
  options.bootstrapBand = band;
  for (bool colour : {true, false}) {
    SCOPED_TRACE(colour ? "colour" : "black and white");
    GraphPicture picture = Picture(colour);
    const int limeWithout = Count(RenderGraphImage(picture), 0, 0, 623, 495, 0x00FF00);
    picture.paper = MakePaper(table, 4, GumbelParameters(), options);
    ASSERT_TRUE(picture.paper->series.bootstrap);
    const PaperBand& drawn = *picture.paper->series.bootstrap;
    ASSERT_EQ(drawn.lower.size(), 4u);  // F = 0 and 1 are not on the paper
    ASSERT_EQ(drawn.upper.size(), 4u);  // nor is a NaN
    EXPECT_EQ(drawn.lower.front().f, 0.1);  // in ascending order of F
    const QImage image = RenderGraphImage(picture);
    const int lime = Count(image, 0, 0, 623, 495, 0x00FF00);
    EXPECT_EQ(limeWithout, 0);
    if (colour) {
      EXPECT_GT(lime, 100);  // two dashed curves and the legend
    } else {
      EXPECT_EQ(lime, 0);
    }
  }
}

TEST_F(PaperPainting, ProbePixelsInColourAndBlackAndWhite) {
  for (bool colour : {true, false}) {
    SCOPED_TRACE(colour ? "colour" : "black and white");
    const GraphPicture picture = Picture(colour);
    const QImage image = RenderGraphImage(picture);
    ASSERT_EQ(image.size(), QSize(623, 495));
    const QRgb background = colour ? 0x0000FF : 0xFFFFFF;
    const QRgb ink = colour ? 0xFFFFFF : 0x000000;
    EXPECT_EQ(At(image, 5, 5), 0xC0C0C0u);
    EXPECT_EQ(At(image, 600, 300), background);
    // The X axis at x = 70 from y = 70 to 420, the frequency axis at y = 420
    // and the return-period axis at y = 70, from x = 70 to 570.
    for (int y : {70, 200, 420}) EXPECT_EQ(At(image, 70, y), ink) << y;
    for (int x : {70, 300, 570}) {
      EXPECT_EQ(At(image, x, 420), ink) << x;
      EXPECT_EQ(At(image, x, 70), ink) << x;
    }
    // Tick of 50 % (and T = 2) on the fitted line's paper.
    const int x50 = PaperPixelX(picture.paper->scales, ReducedVariate(PP::Gumbel, 0.5));
    EXPECT_EQ(At(image, x50, 423), ink);
    EXPECT_EQ(At(image, x50, 67), ink);
    // The fitted line between two observations (the marks cover it there).
    const auto& observed = picture.paper->series.observed;
    for (int i : {5, 15, 25}) {
      const QPoint a = PixelOf(picture.paper->scales, observed[i]);
      const QPoint b = PixelOf(picture.paper->scales, observed[i + 1]);
      if (b.x() - a.x() < 6) continue;
      const int mx = (a.x() + b.x()) / 2;
      const int my = (a.y() + b.y()) / 2;
      EXPECT_GT(Count(image, mx - 1, my - 2, mx + 2, my + 3, ink), 0) << i;
    }
    // Marks and band: cyan and yellow in colour, none in black and white.
    const int cyan = Count(image, 71, 130, 570, 420, 0x00FFFF);
    const int yellow = Count(image, 71, 130, 570, 420, 0xFFFF00);
    if (colour) {
      EXPECT_GT(cyan, 2 * kRanks);
      EXPECT_GT(yellow, 50);
    } else {
      EXPECT_EQ(cyan + yellow + Count(image, 0, 0, 623, 495, 0x0000FF), 0);
      std::set<QRgb> palette;
      for (int y = 0; y < 495; ++y) {
        for (int x = 0; x < 623; ++x) palette.insert(At(image, x, y));
      }
      EXPECT_EQ(palette, (std::set<QRgb>{0xC0C0C0, 0xFFFFFF, 0x000000}));
    }
  }
}

TEST_F(PaperPainting, SvgHoldsEveryObservationAsAMark) {
  const std::string svg = EncodeSvg(Picture(true));
  QXmlStreamReader xml(QByteArray::fromStdString(svg));
  int marks = 0;
  std::vector<std::string> texts;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement() && xml.name() == QStringLiteral("text")) {
      texts.push_back(xml.readElementText().toStdString());
      marks += texts.back() == "o";
    }
  }
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(marks, kRanks);
  for (const char* text : {"Gumbel sample", "thirty ranks", "Gumbel distribution", "Return period",
                           "50", "99", "Cumulative frequency (%) on Gumbel paper"}) {
    EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << text;
  }
}

// ---- From a report and its parameter file ------------------------------------------

class PaperFromReport : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureGuiApplication(); }
  ScriptedInteraction ui;
  report::TDMQuilmor dm{ui};
  TempFolder folder;

  std::string WriteReport(const std::string& aux) {
    quilmor::testing::ReportContent content;
    const GraphSeries t = GumbelTable();
    for (int i = 0; i < kRanks; ++i) {
      content.observed.push_back({t.A[i], i + 1, t.B[i], t.C[i], 1.0, t.E[i], t.D[i]});
    }
    WriteBytes(folder / "g.out", quilmor::testing::ReportText(content));
    if (!aux.empty()) WriteBytes(folder / "g.aux", aux);
    return (folder / "g.out").string();
  }
  std::optional<PaperPicture> Paper(const std::string& report, PaperOptions options = {}) {
    GraphRequest request{report, kPaperGraph, true, {"", true}, {}, options};
    const DrawnGraph drawn = MakeGraph(dm, request);
    EXPECT_TRUE(drawn.read.ok()) << drawn.read.message;
    if (!drawn.picture) return std::nullopt;
    EXPECT_EQ(drawn.picture->DistributionName, "Gumbel distribution");
    return drawn.picture->paper;
  }
};

TEST_F(PaperFromReport, FittedFunctionFromTheParameterFile) {
  const std::string report = WriteReport("4\r\n 5.0E-0002\r\n-2.0E+0000\r\n 0.0E+0000\r\n");
  const auto paper = Paper(report);
  ASSERT_TRUE(paper.has_value());
  EXPECT_EQ(paper->scales.paper, PP::Gumbel);
  EXPECT_GT(paper->series.fitted.size(), 200u);
  ASSERT_EQ(paper->series.observed.size(), static_cast<std::size_t>(kRanks));
  // The report prints X with two decimals.
  EXPECT_NEAR(paper->series.observed[0].x, GumbelTable().A[0], 0.005);
  EXPECT_DOUBLE_EQ(paper->series.observed[0].f, 1 / 31.0);
  // Another paper and a logarithmic X on request.
  const auto weibull = Paper(report, PaperOf(PP::Weibull, false));
  EXPECT_TRUE(weibull->scales.logX);
  EXPECT_EQ(weibull->XTitle, "Cumulative frequency (%) on Weibull paper");
  EXPECT_TRUE(Paper(report, PaperOf(PP::Normal, true))->scales.logX);
  EXPECT_FALSE(Paper(report, PaperOf(PP::Normal, false))->scales.logX);
}

TEST_F(PaperFromReport, ParameterFileMissingOrOfAnotherCode) {
  for (const std::string& aux : {std::string(), std::string("57\r\n 1.0\r\n 2.0\r\n 0.0\r\n"),
                                 std::string("4\r\n not a number\r\n")}) {
    const auto paper = Paper(WriteReport(aux));
    ASSERT_TRUE(paper.has_value());
    // The calculated column: one point per row.
    EXPECT_EQ(paper->series.fitted.size(), static_cast<std::size_t>(kRanks)) << aux;
    std::filesystem::remove(folder / "g.aux");
  }
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace quilmor::graphs
