#include "graphs/draw_graph.hpp"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "graphs/bitmap.hpp"
#include "report_fixture.hpp"
#include "scripted_interaction.hpp"
#include "temp_folder.hpp"

namespace quilmor::graphs {
namespace {

using quilmor::testing::ScriptedInteraction;
using quilmor::testing::TempFolder;
using quilmor::testing::WriteBytes;

const std::string kSampleReport =
    std::string(QUILMOR_SOURCE_DIR) + "/tests/data/graphs/rainfall.out";

constexpr QRgb kSilver = 0xC0C0C0;
constexpr QRgb kBlue = 0x0000FF;
constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kBlack = 0x000000;
constexpr QRgb kCyan = 0x00FFFF;
constexpr QRgb kYellow = 0xFFFF00;

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

// Pixels of colour `c` in the rectangle [left, right) x [top, bottom).
int Count(const QImage& image, int left, int top, int right, int bottom, QRgb c) {
  int count = 0;
  for (int y = std::max(top, 0); y < std::min(bottom, image.height()); ++y) {
    for (int x = std::max(left, 0); x < std::min(right, image.width()); ++x) {
      if (At(image, x, y) == c) ++count;
    }
  }
  return count;
}

// The largest x of a pixel of colour `c` in the rectangle; -1 when none.
int RightmostOf(const QImage& image, int left, int top, int right, int bottom, QRgb c) {
  int rightmost = -1;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      if (At(image, x, y) == c) rightmost = std::max(rightmost, x);
    }
  }
  return rightmost;
}

int LeftmostOf(const QImage& image, int left, int top, int right, int bottom, QRgb c) {
  for (int x = left; x < right; ++x) {
    for (int y = top; y < bottom; ++y) {
      if (At(image, x, y) == c) return x;
    }
  }
  return -1;
}

class DrawTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureGuiApplication(); }

  ScriptedInteraction ui;
  report::TDMQuilmor dm{ui};
  // The name of the fitted function the next drawing is asked to show, and
  // the one the last drawing showed.
  DistributionTitle title{"", true};
  std::string shownName;
  GraphState graph;
  QImage image = NewGraphImage();
  TempFolder folder;

  void SetSeries(std::vector<double> a, std::vector<double> b, std::vector<double> c,
                 std::vector<double> d, std::vector<double> e) {
    dm.NrOfData = static_cast<int>(a.size());
    dm.SeriesA = std::move(a);
    dm.SeriesB = std::move(b);
    dm.SeriesC = std::move(c);
    dm.SeriesD = std::move(d);
    dm.SeriesE = std::move(e);
  }
  // Scales, titles and painting from the series as they are.
  void Paint(int type, bool colour = true) {
    GraphPicture picture;
    picture.GraphType = type;
    picture.ColourGraph = colour;
    picture.scaled = ComputeGraphScales(SeriesOf(dm), type);
    SetGraphTitles(picture.scaled.state, type);
    picture.DistributionName = "Test distribution";
    PaintGraph(picture, image);
    graph = picture.scaled.state;
  }
  GraphReadResult Draw(const std::string& report, int type, bool colour = true) {
    const DrawnGraph drawn = DrawGraph(dm, {report, type, colour, title, {}}, image);
    if (drawn.picture) {
      graph = drawn.picture->scaled.state;
      shownName = drawn.picture->DistributionName;
    }
    return drawn.read;
  }
  void DrawSample(int type, bool colour) {
    const GraphReadResult result = Draw(kSampleReport, type, colour);
    ASSERT_TRUE(result.ok()) << result.message;
  }
};

TEST_F(DrawTest, ArialResolvesToAMetricCompatibleFont) {
  const QString family = QFontInfo(QFont(QStringLiteral("Arial"))).family();
  EXPECT_TRUE(family == "Arial" || family == "Liberation Sans") << family.toStdString();
}

// ---- Frame, colours and axes in both modes ---------------------------------------

class ModeTest : public DrawTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ModeTest, FrameBackgroundAndPalette) {
  const bool colour = GetParam();
  DrawSample(1, colour);
  ASSERT_EQ(image.width(), 623);
  ASSERT_EQ(image.height(), 495);
  const QRgb background = colour ? kBlue : kWhite;
  const QRgb white = colour ? kWhite : kBlack;
  // Silver margin around the plot background (20, 19) - (604, 474).
  for (auto [x, y] : std::vector<std::pair<int, int>>{
           {0, 0}, {622, 494}, {19, 200}, {605, 200}, {300, 18}, {300, 475}, {10, 10}}) {
    EXPECT_EQ(At(image, x, y), kSilver) << x << "," << y;
  }
  for (auto [x, y] : std::vector<std::pair<int, int>>{
           {20, 19}, {604, 19}, {20, 474}, {604, 474}, {600, 200}, {30, 300}}) {
    EXPECT_EQ(At(image, x, y), background) << x << "," << y;
  }
  // Every pixel has one of the colours of the mode.
  const std::set<QRgb> palette =
      colour ? std::set<QRgb>{kSilver, kBlue, kWhite, kBlack, kCyan, kYellow}
             : std::set<QRgb>{kSilver, kWhite, kBlack};
  int strays = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) strays += palette.count(At(image, x, y)) == 0;
  }
  EXPECT_EQ(strays, 0);
  // Axes: x = 70 from y = 50 to 420 and y = 420 from x = 70 to 570.
  for (int y = 50; y <= 420; ++y) EXPECT_EQ(At(image, 70, y), white) << y;
  for (int x = 70; x <= 570; ++x) EXPECT_EQ(At(image, x, 420), white) << x;
  EXPECT_EQ(At(image, 70, 49), background);
  EXPECT_EQ(At(image, 571, 420), background);
  EXPECT_EQ(At(image, 65, 420), background);
}

INSTANTIATE_TEST_SUITE_P(Modes, ModeTest, ::testing::Values(true, false),
                         [](const auto& row) { return row.param ? "Colour" : "BlackWhite"; });

TEST_F(DrawTest, TicksOfACumulativeGraph) {
  DrawSample(1, true);
  // Y: 12 divisions, ticks a = 2..12 at Near(a/12*370 + 50), 4 pixels long.
  for (int a = 0; a <= 12; ++a) {
    const int ty = Near(a / 12.0 * 370 + 50);
    const QRgb expected = a >= 2 ? kWhite : kBlue;
    EXPECT_EQ(At(image, 66, ty), expected) << "a = " << a;
    EXPECT_EQ(At(image, 69, ty), expected) << "a = " << a;
    EXPECT_EQ(At(image, 65, ty), kBlue) << "a = " << a;
  }
  // X: the sample spans 28.3 .. 120.4: K = 120.4, S = 25: 25 .. 125, 4 divisions,
  // ticks at 70, 195, 320, 445, 570 from y = 420 to 424.
  ASSERT_EQ(graph.XDivisions, 4);
  for (int tx : {70, 195, 320, 445, 570}) {
    EXPECT_EQ(At(image, tx, 424), kWhite) << tx;
    EXPECT_EQ(At(image, tx, 425), kBlue) << tx;
  }
  EXPECT_EQ(At(image, 132, 424), kBlue);
}

TEST_F(DrawTest, TickLabelsStandBesideTheirTicks) {
  DrawSample(1, true);
  // "100" at a = 2: ends 6 pixels left of the axis, centred on ty = 112.
  const int ty = 112;
  const int right = RightmostOf(image, 20, ty - 8, 66, ty + 8, kWhite);
  EXPECT_LE(right, 63);
  EXPECT_GE(right, 60);
  EXPECT_GT(Count(image, 20, ty - 6, 66, ty + 6, kWhite), 10);
  // Label "0" of y = 420 is there too; nothing is written for a = 0 and 1.
  EXPECT_GT(Count(image, 40, 410, 66, 430, kWhite), 5);
  EXPECT_EQ(Count(image, 20, 40, 66, 90, kWhite), 0);
  // X labels at (Near(b/4*500 + 62), 432): "25" begins at or after x = 62.
  EXPECT_GE(LeftmostOf(image, 55, 432, 100, 446, kWhite), 62);
  EXPECT_GT(Count(image, 62, 432, 80, 446, kWhite), 5);
  // "125" under the last tick: from 562 on.
  EXPECT_GE(LeftmostOf(image, 550, 432, 610, 446, kWhite), 562);
}

TEST_F(DrawTest, TitlesAndCredit) {
  DrawSample(1, true);
  // Title 1 in black on silver at (105, 5); the credit line at (20, 480).
  EXPECT_GT(Count(image, 105, 5, 300, 19, kBlack), 20);
  EXPECT_GE(LeftmostOf(image, 90, 5, 300, 19, kBlack), 105);
  EXPECT_GT(Count(image, 20, 480, 300, 495, kBlack), 20);
  EXPECT_GE(LeftmostOf(image, 0, 476, 300, 495, kBlack), 20);
  // Title 2, the axis titles and the distribution name in white.
  EXPECT_GT(Count(image, 105, 20, 200, 34, kWhite), 10);
  EXPECT_GE(LeftmostOf(image, 90, 20, 200, 34, kWhite), 105);
  EXPECT_GE(LeftmostOf(image, 400, 445, 620, 458, kWhite), 470);
  EXPECT_GT(Count(image, 82, 50, 230, 63, kWhite), 20);
  EXPECT_GE(LeftmostOf(image, 255, 50, 400, 63, kWhite), 270);
  EXPECT_EQ(shownName, "Gumbel distribution");
  // Legend at x = 86: "  o    observed" in cyan at y = 65, "- - -" in yellow at 95.
  EXPECT_GT(Count(image, 86, 65, 200, 78, kCyan), 10);
  EXPECT_GT(Count(image, 86, 95, 200, 108, kYellow), 10);
}

TEST_F(DrawTest, CalcObsXTitleStartsFurtherLeft) {
  DrawSample(5, true);
  EXPECT_GT(Count(image, 405, 445, 470, 458, kWhite), 10);
  EXPECT_GE(LeftmostOf(image, 390, 445, 470, 458, kWhite), 405);
  // " - - - Obs = Calc" at (86, 70).
  EXPECT_GT(Count(image, 86, 70, 200, 83, kWhite), 10);
}

// ---- Observed points -------------------------------------------------------------

TEST_F(DrawTest, ObservedPointsAtTheirPixels) {
  // X 20..80: K = 80, S = 10: 20 .. 80, px = 70, 320, 570.
  // Y: 0..120, py(25) = 420 - Near(77.08) = 343, py(50) = 266, py(75) = 420 - Near(231.25) = 189.
  // The curves lie far below the image.
  SetSeries({20, 50, 80}, {25, 50, 75}, {-200, -200, -200}, {-200, -200, -200}, {-200, -200, -200});
  for (bool colour : {true, false}) {
    Paint(1, colour);
    ASSERT_EQ(graph.XMin, 20);
    ASSERT_EQ(graph.XMax, 80);
    const QRgb ink = colour ? kCyan : kBlack;
    int inCells = 0;
    for (auto [px, py] : std::vector<std::pair<int, int>>{{70, 343}, {320, 266}, {570, 189}}) {
      // "o" has the top-left corner of its cell at (px - 2, py).
      const int cell = Count(image, px - 2, py, px + 6, py + 10, ink);
      EXPECT_GT(cell, 2) << px << "," << py;
      EXPECT_EQ(Count(image, px - 12, py - 10, px - 2, py, ink), 0) << px << "," << py;
      inCells += cell;
    }
    if (colour) {
      // No other cyan in the plot than the three points (the legend is above y = 110).
      EXPECT_EQ(Count(image, 20, 110, 605, 475, kCyan), inCells);
    }
  }
}

TEST_F(DrawTest, PointsAboveTheTopAreNotDrawn) {
  SetSeries({20, 50, 80}, {25, 130, 75}, {-200, -200, -200}, {-200, -200, -200},
            {-200, -200, -200});
  Paint(1);
  // py(130) = 420 - Near(400.8) = 19.
  EXPECT_EQ(Count(image, 310, 10, 330, 40, kCyan), 0);
  EXPECT_GT(Count(image, 68, 343, 76, 353, kCyan), 0);
}

struct ThinningCase {
  const char* name;
  int rows;
  int aboveTop;  // the first rows lie above the top and are not counted
  int every;
};
void PrintTo(const ThinningCase& c, std::ostream* os) { *os << c.name; }

class Thinning : public DrawTest, public ::testing::WithParamInterface<ThinningCase> {};

TEST_P(Thinning, EveryKthPointBelowTheTop) {
  const ThinningCase& c = GetParam();
  EXPECT_EQ(PointThinning(c.rows), c.every);
  // A grid of 25 columns 20 units apart; rows of the grid 2.75 % apart.
  std::vector<double> xs, ys, far;
  for (int i = 0; i < c.rows; ++i) {
    xs.push_back((i % 25) * 20.0);
    ys.push_back(i < c.aboveTop ? 130.0 : 2 + (i / 25) * 2.75);
    far.push_back(-200);
  }
  SetSeries(xs, ys, far, far, far);
  Paint(1);
  // X 0 .. 480: K = 480, S = 50: 0 .. 500, so px = 70 + x.
  ASSERT_EQ(graph.XMin, 0);
  ASSERT_EQ(graph.XMax, 500);
  int below = 0;
  for (int i = 0; i < c.rows; ++i) {
    if (i < c.aboveTop) continue;
    ++below;
    const bool drawn = below % c.every == 0;
    const int px = PixelX(graph, xs[i]);
    const int py = PixelY(graph, ys[i]);
    EXPECT_EQ(Count(image, px - 2, py, px + 4, py + 6, kCyan) > 0, drawn) << "row " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, Thinning,
                         ::testing::Values(ThinningCase{"All99", 99, 0, 1},
                                           ThinningCase{"Half100", 100, 0, 2},
                                           ThinningCase{"Third250", 250, 0, 3},
                                           ThinningCase{"Ninth899", 899, 0, 9},
                                           ThinningCase{"Tenth1000", 1000, 0, 10},
                                           ThinningCase{"CountBelowTopOnly", 120, 11, 2}),
                         [](const auto& row) { return std::string(row.param.name); });

// ---- Interval graph --------------------------------------------------------------

TEST_F(DrawTest, IntervalGraphMarksAndBars) {
  // Five classes from 25, 30, 40, 50, 60; the last raised to 65 for the axis:
  // K = 65, S = 10: 20 .. 70, px = 70 + 10*(x - 20). Y: m = 80: 0 .. 100,
  // py(80) = 124, py(5) = 420 - Near(18.5) = 402, py(3.75) = 420 - Near(13.875) = 406.
  SetSeries({25, 30, 40, 50, 60}, {30, 40, 50, 60, 70}, {80, 80, 80, 80, 80}, {5, 5, 0.1, 5, 8},
            {0, 0, 0, 0, 0});
  Paint(2);
  ASSERT_EQ(graph.XMin, 20);
  ASSERT_EQ(graph.XMax, 70);
  ASSERT_EQ(graph.YMax, 100);
  // "#" at (xm - 4, 124 - 6) for the second to the fourth class only.
  for (auto [xm, marked] : std::vector<std::pair<int, bool>>{
           {145, false}, {220, true}, {320, true}, {420, true}, {520, false}}) {
    EXPECT_EQ(Count(image, xm - 4, 118, xm + 4, 130, kWhite) > 0, marked) << xm;
  }
  EXPECT_EQ(Count(image, 100, 100, 600, 117, kWhite), 0);
  // First class (25..30): top at 402 and right edge, no left edge.
  EXPECT_EQ(At(image, 145, 402), kWhite);
  EXPECT_EQ(At(image, 170, 410), kWhite);
  EXPECT_EQ(At(image, 120, 410), kBlue);
  // Second class (30..40): left edge up from the axis.
  EXPECT_EQ(At(image, 220, 402), kWhite);
  // Third class 0.1 % is raised to 0.005 * 100 = 0.5 %: py = 420 - Near(1.85) = 418.
  EXPECT_EQ(At(image, 320, 418), kWhite);
  EXPECT_EQ(At(image, 320, 419), kBlue);
  // Last class: 8 > 5, so h = 0.75 * 5: up from 402 to 406 at x = 470, then
  // to x = 70 + Near(500 * 47.5 / 50) = 545; no edge down on the right.
  EXPECT_EQ(At(image, 470, 404), kWhite);
  EXPECT_EQ(At(image, 500, 406), kWhite);
  EXPECT_EQ(At(image, 545, 406), kWhite);
  EXPECT_EQ(At(image, 547, 406), kBlue);
  EXPECT_EQ(At(image, 545, 412), kBlue);
}

// ---- Curves ----------------------------------------------------------------------

TEST_F(DrawTest, ConfidenceBeltLeavesOutTheFirstSegment) {
  // Y: D max 105 * 1.1 = 115.5, E min 15: K = 115.5, S = 25: 0 .. 125.
  // X 10 .. 40: S = 5: 10 .. 40, px = 70 + 500*(x - 10)/30.
  SetSeries({10, 20, 30, 40}, {1, 2, 3, 4}, {100, 20, 30, 40}, {105, 25, 35, 45}, {95, 15, 25, 35});
  Paint(3);
  ASSERT_EQ(graph.YMax, 125);
  ASSERT_EQ(graph.XMin, 10);
  // Row 0 -> 1 would pass (153, 242); row 1 -> 2 passes (320, 346).
  EXPECT_EQ(Count(image, 150, 239, 157, 246, kWhite), 0);
  EXPECT_GT(Count(image, 318, 344, 323, 349, kWhite), 0);
  EXPECT_GT(Count(image, 240, 100, 570, 420, kYellow), 20);
  EXPECT_EQ(Count(image, 71, 100, 236, 410, kYellow), 0);
}

TEST_F(DrawTest, ReturnPeriodCurvesStopAboveTheLargestValue) {
  // Upper limit before the last row (12) reaches above the observed top (10):
  // nothing dropped, DataMaxY = 12: K = 12, S = 4: 0 .. 16. X 10 .. 40.
  // The last calculated (50) and upper (60) ends lie above 12: not drawn.
  // The lower limit ends at 30, above the plot: drawn and cut at the top.
  SetSeries({10, 20, 30, 40}, {1, 2, 3, 10}, {1, 2, 3, 50}, {1.5, 2.5, 12, 60}, {0.5, 1, 2, 30});
  Paint(4);
  ASSERT_FALSE(graph.LastRowDropped);
  ASSERT_EQ(graph.YMax, 16);
  const int x30 = PixelX(graph, 30);
  const int x40 = PixelX(graph, 40);
  EXPECT_EQ(Count(image, x30 + 2, 50, x40 - 1, PixelY(graph, 3) - 3, kWhite), 0);
  EXPECT_GT(Count(image, x30 + 2, 50, x40 - 1, 420, kYellow), 10);
  EXPECT_EQ(Count(image, 20, 19, 605, 50, kYellow), 0);
  // Calculated segments up to row 2 are drawn.
  EXPECT_GT(Count(image, PixelX(graph, 10), PixelY(graph, 3) - 2, x30 + 1, 420, kWhite), 0);
}

TEST_F(DrawTest, ReturnPeriodsWithoutTheLastRow) {
  // Calculated (3) and upper (4) before the last row stay below the observed
  // 31: the last row is dropped, X runs 10 .. 30 and the last segment of
  // every curve is left out (it would show right of the plot).
  SetSeries({10, 20, 30, 40}, {1, 2, 3, 31}, {1, 2, 3, 34}, {1.5, 2.5, 4, 38}, {0.5, 1, 2, 8});
  Paint(4);
  ASSERT_TRUE(graph.LastRowDropped);
  ASSERT_EQ(graph.XMax, 30);
  EXPECT_EQ(Count(image, 572, 50, 623, 419, kYellow), 0);
  EXPECT_EQ(Count(image, 572, 50, 623, 419, kWhite), 0);
}

TEST_F(DrawTest, LineOfEqualityIsDashed) {
  // Observed 10, 50, 90 against calculated 12, 47, 93: X 0 .. 100, Y 10 .. 100.
  // From (120, 420) to (520, 420 - Near(80*370/90)) = (520, 91).
  SetSeries({0, 0, 0}, {10, 50, 90}, {12, 47, 93}, {0, 0, 0}, {0, 0, 0});
  Paint(5);
  int covered = 0;
  int gaps = 0;
  for (int x = 125; x <= 515; ++x) {
    const double y = 420 + (x - 120) * (91.0 - 420.0) / 400.0;
    const int white =
        Count(image, x, static_cast<int>(y) - 1, x + 1, static_cast<int>(y) + 2, kWhite);
    covered += white > 0;
    gaps += white == 0;
  }
  EXPECT_GT(covered, 200);
  EXPECT_GT(gaps, 40);
}

// ---- Tables too short for the rules ------------------------------------------------

class ShortTables : public DrawTest, public ::testing::WithParamInterface<int> {};

TEST_P(ShortTables, DrawWhatCanBeDrawn) {
  const int rows = GetParam();
  for (int type = 1; type <= 5; ++type) {
    for (bool colour : {true, false}) {
      std::vector<double> a, b, c, d, e;
      for (int i = 0; i < rows; ++i) {
        a.push_back(10.0 * (i + 1));
        b.push_back(20.0 * (i + 1));
        c.push_back(21.0 * (i + 1));
        d.push_back(25.0 * (i + 1));
        e.push_back(15.0 * (i + 1));
      }
      SetSeries(a, b, c, d, e);
      Paint(type, colour);
      ASSERT_EQ(image.width(), 623);
      EXPECT_EQ(At(image, 0, 0), kSilver);
      EXPECT_EQ(At(image, 70, 200), colour ? kWhite : kBlack) << type;
      EXPECT_EQ(At(image, 300, 420), colour ? kWhite : kBlack) << type;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, ShortTables, ::testing::Values(0, 1, 2));

// ---- DrawGraph ---------------------------------------------------------------------

TEST_F(DrawTest, TitleShowsTheNameAskedForOrTheReportsName) {
  struct Case {
    DistributionTitle title;
    std::string codeLine;  // of the report, I(3)
    std::string shown;
  };
  const std::vector<Case> cases = {
      // Right after a run: the run's name, whatever the report says.
      {{"Generalized Gumbel distribution", false}, "  4", "Generalized Gumbel distribution"},
      // A report opened later: the name of its code.
      {{"Generalized Gumbel distribution", true}, " 57", "Weibull distribution"},
      // Code 0 (also for a code line that holds no integer) has the empty name.
      {{"Pareto distribution", true}, "  0", ""},
      {{"Pareto distribution", true}, "abc", ""},
      // A code outside the catalogue: the name held so far.
      {{"Pareto distribution", true}, " 99", "Pareto distribution"},
  };
  for (const Case& c : cases) {
    quilmor::testing::ReportContent content;
    content.observed = {{10, 1, 25, 20, 5, 10, 30}, {20, 2, 50, 55, 5, 40, 70}};
    content.codeLine = c.codeLine;
    WriteBytes(folder / "named.out", quilmor::testing::ReportText(content));
    title = c.title;
    ASSERT_TRUE(Draw((folder / "named.out").string(), 1).ok());
    EXPECT_EQ(shownName, c.shown) << c.codeLine;
  }
}

TEST_F(DrawTest, LogarithmicReturnPeriods) {
  // The sample's return periods reach 38.3 (upper limit of the last row): T
  // axis 1 .. 50, py(v) = 420 - Near(log10(v) * 370 / log10(50)).
  GraphRequest request{kSampleReport, 4, true, title, {}};
  request.scale.logPeriod = true;
  const DrawnGraph drawn = DrawGraph(dm, request, image);
  ASSERT_TRUE(drawn.read.ok());
  ASSERT_TRUE(drawn.picture->scaled.state.YLog);
  ASSERT_EQ(drawn.picture->scaled.state.YMax, 50);
  for (auto [value, ty] : std::vector<std::pair<int, int>>{
           {1, 420}, {2, 354}, {5, 268}, {10, 202}, {20, 137}, {50, 50}}) {
    EXPECT_EQ(At(image, 66, ty), kWhite) << value;
    EXPECT_EQ(At(image, 65, ty), kBlue) << value;
    // Its label ends 6 pixels left of the axis.
    EXPECT_GT(Count(image, 30, ty - 5, 64, ty + 5, kWhite), 3) << value;
  }
  // No tick between them (the linear axis would have one at 420 - 370 / 5 = 346).
  EXPECT_EQ(At(image, 66, 346), kBlue);
  // The calculated curve reaches the last row: X 25 .. 125 (S = 25), so
  // px(120.4) = 70 + Near(95.4 * 5) = 547, py(34.3) = 420 - Near(334.38) = 86.
  EXPECT_GT(Count(image, 544, 83, 550, 90, kWhite), 0);
  // The linear graph drops that row: nothing right of the point before it.
  DrawSample(4, true);
  ASSERT_TRUE(graph.LastRowDropped);
  EXPECT_EQ(Count(image, 540, 50, 570, 419, kWhite), 0);
}

TEST_F(DrawTest, UnreadableRowLeavesTheImageAlone) {
  std::string text = quilmor::testing::ReportText({});
  // The row goes right after the dash line under the column headings.
  const std::size_t headings = text.find("Obs. (%)  Calc.\r\n");
  text.insert(text.find("\r\n", text.find(" ---", headings)) + 2, "  1 2 x 4\r\n");
  WriteBytes(folder / "bad.out", text);
  image.fill(Qt::red);
  const GraphReadResult result = Draw((folder / "bad.out").string(), 2);
  EXPECT_EQ(result.outcome, GraphReadOutcome::BadNumber);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], result.message);
  EXPECT_EQ(At(image, 300, 300), 0xFF0000u);
}

TEST_F(DrawTest, UnopenableReportDrawsTheSeriesHeldFromBefore) {
  DrawSample(2, true);
  ASSERT_EQ(dm.NrOfData, 7);
  image.fill(Qt::red);
  const GraphReadResult result = Draw((folder / "gone.out").string(), 2);
  EXPECT_EQ(result.outcome, GraphReadOutcome::OpenFailed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].rfind("The file \"", 0), 0u);
  EXPECT_EQ(dm.NrOfData, 7);
  EXPECT_EQ(At(image, 600, 200), kBlue);
  EXPECT_EQ(At(image, 0, 0), kSilver);
  EXPECT_EQ(At(image, 70, 200), kWhite);
}

TEST_F(DrawTest, MissingTableGetsAMessageAndAnEmptyPlot) {
  WriteBytes(folder / "none.out", " RESULTS OF Quilmor PROGRAM\r\n");
  const GraphReadResult result = Draw((folder / "none.out").string(), 1);
  EXPECT_EQ(result.outcome, GraphReadOutcome::TableMissing);
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(At(image, 70, 200), kWhite);
  EXPECT_EQ(Count(image, 71, 110, 570, 419, kCyan), 0);  // below the legend
}

// Writes a PNG of every graph type, in colour and in black and white, into
// the build folder for a look by eye.
TEST_F(DrawTest, SampleGraphsForAVisualCheck) {
  const std::filesystem::path out = std::filesystem::current_path() / "graph_samples";
  std::filesystem::create_directories(out);
  const char* names[] = {"", "cumulative", "interval", "xconf", "return", "qq"};
  for (int type = 1; type <= 5; ++type) {
    for (bool colour : {true, false}) {
      DrawSample(type, colour);
      const std::string file =
          (out / (std::string(names[type]) + (colour ? "" : "_bw") + ".png")).string();
      std::string error;
      EXPECT_TRUE(SaveGraphImage(image, file, &error)) << error;
    }
  }
}

}  // namespace
}  // namespace quilmor::graphs
