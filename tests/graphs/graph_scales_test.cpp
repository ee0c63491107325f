#include "graphs/graph_scales.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "textio/interaction.hpp"

namespace quilmor::graphs {
namespace {

// ---- Near: a half goes to the even neighbour --------------------------------

TEST(Near, HalvesGoToTheEvenNeighbour) {
  const std::vector<std::pair<double, int>> cases = {
      {0.5, 0}, {1.5, 2}, {2.5, 2},  {3.5, 4},  {-0.5, 0},   {-1.5, -2},  {-2.5, -2},
      {0.7, 1}, {9.2, 9}, {0.49, 0}, {0.51, 1}, {-0.51, -1}, {99.5, 100}, {0.0, 0}};
  for (const auto& [x, expected] : cases) EXPECT_EQ(Near(x), expected) << x;
}

TEST(Near, HostileValuesStayWithinIntegers) {
  EXPECT_EQ(Near(1e300), 1000000000);
  EXPECT_EQ(Near(-1e300), -1000000000);
  EXPECT_EQ(Near(std::numeric_limits<double>::infinity()), 1000000000);
  EXPECT_EQ(Near(std::numeric_limits<double>::quiet_NaN()), 0);
}

// ---- The step table at its boundaries ----------------------------------------

struct StepCase {
  double key;
  int step;
  int decimals;
};

class StepTable : public ::testing::TestWithParam<StepCase> {};

TEST_P(StepTable, StepAndDecimals) {
  const AxisStep s = StepForKey(GetParam().key);
  EXPECT_EQ(s.step, GetParam().step) << GetParam().key;
  EXPECT_EQ(s.decimals, GetParam().decimals) << GetParam().key;
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, StepTable,
    ::testing::Values(StepCase{1e9, 10000, 0}, StepCase{50000, 10000, 0},
                      StepCase{49999.99, 5000, 0}, StepCase{25000, 5000, 0},
                      StepCase{24999.9, 2500, 0}, StepCase{10000, 2500, 0},
                      StepCase{9999.9, 1000, 0}, StepCase{5000, 1000, 0}, StepCase{4999.9, 500, 0},
                      StepCase{2500, 500, 0}, StepCase{2499.9, 250, 0}, StepCase{1000, 250, 0},
                      StepCase{999.9, 100, 0}, StepCase{500, 100, 0}, StepCase{499.9, 50, 0},
                      StepCase{250, 50, 0}, StepCase{249.9, 25, 0}, StepCase{100, 25, 0},
                      StepCase{99.9, 10, 0}, StepCase{50, 10, 0}, StepCase{49.9, 5, 1},
                      StepCase{25, 5, 1}, StepCase{24.9, 4, 1}, StepCase{10, 4, 1},
                      StepCase{9.99, 1, 1}, StepCase{0, 1, 1}));

// ---- Axis bounds: worked examples --------------------------------------------

struct BoundsCase {
  const char* name;
  double minimum, maximum;
  int lower, upper, divisions, decimals;
};
void PrintTo(const BoundsCase& c, std::ostream* os) { *os << c.name; }

class Bounds : public ::testing::TestWithParam<BoundsCase> {};

TEST_P(Bounds, LowerUpperDivisionsDecimals) {
  const BoundsCase& c = GetParam();
  const AxisBounds b = ComputeAxisBounds(c.minimum, c.maximum);
  EXPECT_EQ(b.lower, c.lower);
  EXPECT_EQ(b.upper, c.upper);
  EXPECT_EQ(b.divisions, c.divisions);
  EXPECT_EQ(b.decimals, c.decimals);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, Bounds,
    ::testing::Values(
        // K = 87, S = 10: (12 - 5)/10 = 0.7 -> 1; (87 + 5)/10 = 9.2 -> 9.
        BoundsCase{"From12To87", 12, 87, 10, 90, 8, 0},
        // (10 - 5)/10 = 0.5 goes to 0: the axis starts at 0.
        BoundsCase{"MinimumTen", 10, 87, 0, 90, 9, 0},
        // (30 - 5)/10 = 2.5 goes to 2: the axis starts at 20.
        BoundsCase{"MinimumThirty", 30, 87, 20, 90, 7, 0},
        // |-40| < 87, so K = 87 and S = 10: -4.5 -> -4, 9.2 -> 9.
        BoundsCase{"NegativeMinimum", -40, 87, -40, 90, 13, 0},
        // Mostly negative: K = |-870| = 870, S = 100: -9.2 -> -9, (12 + 50)/100 = 0.62 -> 1.
        BoundsCase{"NegativeKey", -870, 12, -900, 100, 10, 0},
        // K = 8, S = 1: 1.5 -> 2, 8.5 -> 8.
        BoundsCase{"ScaledPercents", 2, 8, 2, 8, 6, 1},
        // K = 16.4, S = 4: (0 - 2)/4 = -0.5 -> 0; 18.4/4 = 4.6 -> 5.
        BoundsCase{"StepFour", 0, 16.4, 0, 20, 5, 1},
        // All values 0: both bounds round to 0; the axis spans one step.
        BoundsCase{"NoLength", 0, 0, 0, 1, 1, 1},
        // 2 -> (2 - .5) = 1.5 -> 2 and 2.5 -> 2: equal again.
        BoundsCase{"EqualEvenValues", 2, 2, 2, 3, 1, 1}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Bounds, HostileMagnitudesStayWithinIntegers) {
  const AxisBounds b = ComputeAxisBounds(-1e300, 1e300);
  EXPECT_EQ(b.lower, -1000000000);
  EXPECT_EQ(b.upper, 1000000000);
  EXPECT_EQ(b.divisions, 200000);
}

// ---- Scale factors -------------------------------------------------------------

struct FactorCase {
  double minimum, maximum;
  int factor;
};

class Factors : public ::testing::TestWithParam<FactorCase> {};

TEST_P(Factors, ByTheMagnitudeOfTheData) {
  EXPECT_EQ(ScaleFactor(GetParam().minimum, GetParam().maximum), GetParam().factor)
      << GetParam().minimum << " .. " << GetParam().maximum;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Factors,
    ::testing::Values(FactorCase{0.02, 0.08, 100}, FactorCase{0.001, 0.005, 1000},
                      FactorCase{0.2, 0.5, 10}, FactorCase{0.001, 0.01, 1},  // bound itself
                      FactorCase{0.001, 0.1, 1}, FactorCase{0.5, 1.0, 1}, FactorCase{2, 8, 1},
                      FactorCase{0.0, 0.05, 1},  // not all positive
                      FactorCase{-0.05, -0.02, 100}, FactorCase{-0.005, -0.001, 1000},
                      FactorCase{-0.5, -0.2, 10}, FactorCase{-0.01, -0.001, 1},
                      FactorCase{-0.5, 0.2, 1},      // mostly negative, but not all
                      FactorCase{-0.02, 0.05, 1}));  // mostly positive, not all positive

// ---- ComputeGraphScales --------------------------------------------------------

class Scales : public ::testing::Test {
 protected:
  SilentInteraction ui;
  report::TDMQuilmor dm{ui};
  GraphState g;

  void SetSeries(std::vector<double> a, std::vector<double> b, std::vector<double> c,
                 std::vector<double> d, std::vector<double> e) {
    dm.NrOfData = static_cast<int>(a.size());
    dm.SeriesA = std::move(a);
    dm.SeriesB = std::move(b);
    dm.SeriesC = std::move(c);
    dm.SeriesD = std::move(d);
    dm.SeriesE = std::move(e);
  }
  // Type 1 table over the given X values, frequencies rising evenly.
  void Cumulative(const std::vector<double>& xs) {
    std::vector<double> f;
    for (std::size_t i = 0; i < xs.size(); ++i) f.push_back(100.0 * (i + 1) / (xs.size() + 1));
    SetSeries(xs, f, f, f, f);
  }
  ScaledGraph scaled;
  void Compute(int type) {
    scaled = ComputeGraphScales(SeriesOf(dm), type);
    g = scaled.state;
    SetGraphTitles(g, type);
  }
};

TEST_F(Scales, SmallXGetFactorHundredAndItsTitle) {
  Cumulative({0.02, 0.05, 0.08});
  Compute(1);
  EXPECT_EQ(g.XFactor, 100);
  EXPECT_DOUBLE_EQ(g.DataMinX, 2.0);
  EXPECT_DOUBLE_EQ(g.DataMaxX, 8.0);
  // K = 8 -> S = 1, 1 decimal: 1.5 -> 2, 8.5 -> 8, 6 divisions.
  EXPECT_EQ(g.XMin, 2);
  EXPECT_EQ(g.XMax, 8);
  EXPECT_EQ(g.XDivisions, 6);
  EXPECT_EQ(g.XDecimals, 1);
  EXPECT_EQ(g.XTitle, "      X-data * 100");
}

TEST_F(Scales, CumulativeYAxisIsFixed) {
  Cumulative({12, 40, 87});
  Compute(1);
  EXPECT_EQ(g.XMin, 10);
  EXPECT_EQ(g.XMax, 90);
  EXPECT_EQ(g.XDivisions, 8);
  EXPECT_EQ(g.XDecimals, 0);
  EXPECT_EQ(g.XFactor, 1);
  EXPECT_EQ(g.XTitle, "         X-Data");
  // 0 .. 120 in 12 divisions: 12 >= 11 is not cut for a cumulative graph.
  EXPECT_EQ(g.YMin, 0);
  EXPECT_EQ(g.YMax, 120);
  EXPECT_EQ(g.YDivisions, 12);
  EXPECT_EQ(g.YDecimals, 0);
  EXPECT_EQ(g.YFactor, 1);
  EXPECT_DOUBLE_EQ(g.DataMinY, 0.0);
  EXPECT_EQ(g.YTitle, "Cumulative frequency (%)");
}

TEST_F(Scales, TickCountLimits) {
  // -40 .. 87: 13 divisions -> 10 and one decimal more; the bounds stay.
  Cumulative({-40, 0, 87});
  Compute(1);
  EXPECT_EQ(g.XMin, -40);
  EXPECT_EQ(g.XMax, 90);
  EXPECT_EQ(g.XDivisions, 10);
  EXPECT_EQ(g.XDecimals, 1);
  // 50 .. 60: K = 60, S = 10: 4.5 -> 4, 6.5 -> 6: 2 divisions -> 4, 1 decimal.
  Cumulative({50, 55, 60});
  Compute(1);
  EXPECT_EQ(g.XMin, 40);
  EXPECT_EQ(g.XMax, 60);
  EXPECT_EQ(g.XDivisions, 4);
  EXPECT_EQ(g.XDecimals, 1);
}

TEST_F(Scales, IntervalGraphRaisesTheLastLimitAndRestoresIt) {
  // Classes from 0, 10, 20, 30: the last limit counts as 30 + 10/2 = 35.
  // K = 35, S = 5: (0 - 2.5)/5 = -0.5 -> 0, (35 + 2.5)/5 = 7.5 -> 8 -> 40.
  // Without the raise the axis would end at 5*Near(6.5) = 30.
  SetSeries({0, 10, 20, 30}, {10, 20, 30, 40}, {5, 23.4, 30, 2}, {6, 31.8, 28, 3}, {0, 0, 0, 0});
  Compute(2);
  EXPECT_EQ(g.XMin, 0);
  EXPECT_EQ(g.XMax, 40);
  EXPECT_EQ(g.XDivisions, 8);
  EXPECT_EQ(g.XDecimals, 1);
  EXPECT_DOUBLE_EQ(dm.SeriesA[3], 30.0);
  // m = 31.8: 10*Near(4.68) = 50, 5 divisions, 1 decimal.
  EXPECT_EQ(g.YMin, 0);
  EXPECT_EQ(g.YMax, 50);
  EXPECT_EQ(g.YDivisions, 5);
  EXPECT_EQ(g.YDecimals, 1);
  EXPECT_EQ(g.YTitle, "Interval frequency (%)");
  EXPECT_EQ(g.ObservedLegend, "  #    observed");
  EXPECT_EQ(g.CalculatedLegend, "____calculated");
}

TEST_F(Scales, IntervalTopIsAtMostHundred) {
  // m = min(130, 100) = 100: 10*Near(11.5) = 120, 12 divisions -> 10, 2 decimals.
  SetSeries({0, 10, 20}, {10, 20, 30}, {130, 0, 0}, {90, 5, 5}, {0, 0, 0});
  Compute(2);
  EXPECT_EQ(g.YMax, 120);
  EXPECT_EQ(g.YDivisions, 10);
  EXPECT_EQ(g.YDecimals, 2);
  // m = 5: 10*Near(2.0) = 20, 2 divisions -> 4, 2 decimals.
  SetSeries({0, 10, 20}, {10, 20, 30}, {5, 0, 0}, {4, 1, 0}, {0, 0, 0});
  Compute(2);
  EXPECT_EQ(g.YMax, 20);
  EXPECT_EQ(g.YDivisions, 4);
  EXPECT_EQ(g.YDecimals, 2);
}

TEST_F(Scales, ConfidenceBeltWidensTheTopAndScalesY) {
  // Upper limits up to 0.05: 0.055 after * 1.1; lower down to 0.01.
  SetSeries({10, 20, 30}, {1, 2, 3}, {0.02, 0.03, 0.04}, {0.03, 0.04, 0.05}, {0.01, 0.02, 0.03});
  Compute(3);
  EXPECT_EQ(g.YFactor, 100);
  EXPECT_DOUBLE_EQ(g.DataMinY, 1.0);
  EXPECT_NEAR(g.DataMaxY, 5.5, 1e-12);
  // K = 5.5, S = 1: 0.5 -> 0, 6.0 -> 6.
  EXPECT_EQ(g.YMin, 0);
  EXPECT_EQ(g.YMax, 6);
  EXPECT_EQ(g.YDivisions, 6);
  EXPECT_EQ(g.YDecimals, 1);
  EXPECT_EQ(g.YTitle, "X-data * 100");
  EXPECT_EQ(g.ObservedLegend, "----- observed/calculated");
  // A negative top is brought nearer to zero: -20 * 0.9 = -18.
  SetSeries({1, 2}, {1, 2}, {-50, -30}, {-40, -20}, {-60, -45});
  Compute(3);
  EXPECT_DOUBLE_EQ(g.DataMaxY, -18.0);
  EXPECT_DOUBLE_EQ(g.DataMinY, -60.0);
}

TEST_F(Scales, YTitleOfTheBeltFollowsTheFactor) {
  const std::vector<std::pair<int, std::string>> cases = {
      {1, "X-data"}, {10, "X-data * 10"}, {100, "X-data * 100"}, {1000, "X-data * 1000"}};
  for (const auto& [factor, title] : cases) {
    g.YFactor = factor;
    SetGraphTitles(g, 3);
    EXPECT_EQ(g.YTitle, title);
  }
  const std::vector<std::pair<int, std::string>> xCases = {{1, "         X-Data"},
                                                           {10, "       X-data * 10"},
                                                           {100, "      X-data * 100"},
                                                           {1000, "     X-data * 1000"}};
  for (const auto& [factor, title] : xCases) {
    g.XFactor = factor;
    SetGraphTitles(g, 4);
    EXPECT_EQ(g.XTitle, title);
    EXPECT_EQ(g.YTitle, "Return period");
    EXPECT_EQ(g.ObservedLegend, "  o    observed");
    EXPECT_EQ(g.CalculatedLegend, "-----  calculated");
    EXPECT_EQ(g.LimitLegend, "- - -  90% conf. limit");
  }
}

TEST_F(Scales, ReturnPeriodsDropTheLastRowWhenBothCurvesStayBelowIt) {
  // Observed up to 31 in the last row; calculated and upper limits before it
  // reach 4.4 and 6.1 only: the last row is dropped and the extents retaken.
  SetSeries({28, 50, 80, 120}, {1.1, 2, 5, 31}, {1.05, 2.1, 4.4, 34}, {1.2, 2.5, 6.1, 38},
            {1, 1.5, 3, 8});
  Compute(4);
  EXPECT_TRUE(g.LastRowDropped);
  EXPECT_DOUBLE_EQ(g.DataMaxX, 80.0);
  EXPECT_DOUBLE_EQ(g.DataMaxY, 6.1);
  EXPECT_DOUBLE_EQ(g.DataMinY, 0.0);
  EXPECT_EQ(g.YFactor, 1);
  // K = 6.1, S = 1: -0.5 -> 0, 6.6 -> 7: 7 divisions, 1 decimal.
  EXPECT_EQ(g.YMin, 0);
  EXPECT_EQ(g.YMax, 7);
  EXPECT_EQ(g.YDivisions, 7);
  EXPECT_EQ(g.YDecimals, 1);
  // K = 80, S = 10: 2.3 -> 2, 8.5 -> 8: 20 .. 80.
  EXPECT_EQ(g.XMin, 20);
  EXPECT_EQ(g.XMax, 80);
}

TEST_F(Scales, ReturnPeriodsKeepTheLastRowWhenACurveReachesIt) {
  // The upper limit before the last row (40) is above the observed top (31).
  SetSeries({28, 50, 80, 120}, {1.1, 2, 5, 31}, {1.05, 2.1, 4.4, 34}, {1.2, 2.5, 40, 45},
            {1, 1.5, 3, 8});
  Compute(4);
  EXPECT_FALSE(g.LastRowDropped);
  EXPECT_DOUBLE_EQ(g.DataMaxX, 120.0);
  // The largest of observed (31), calculated (4.4) and upper (40) before the last row.
  EXPECT_DOUBLE_EQ(g.DataMaxY, 40.0);
  // K = 40, S = 5: (40 + 2.5)/5 = 8.5 goes to 8: the axis ends at 40.
  EXPECT_EQ(g.YMax, 40);
  EXPECT_EQ(g.YDivisions, 8);
}

TEST_F(Scales, CalcAgainstObservedSwapsTheSeries) {
  // B observed, C calculated: afterwards A = D = observed, B = calculated.
  SetSeries({5, 6, 7}, {10, 50, 90}, {12, 47, 93}, {0, 0, 0}, {0, 0, 0});
  Compute(5);
  EXPECT_EQ(scaled.series.A, (std::vector<double>{10, 50, 90}));
  EXPECT_EQ(scaled.series.D, (std::vector<double>{10, 50, 90}));
  EXPECT_EQ(scaled.series.B, (std::vector<double>{12, 47, 93}));
  // The data module's series stay as they were read.
  EXPECT_EQ(dm.SeriesA, (std::vector<double>{5, 6, 7}));
  EXPECT_EQ(dm.SeriesB, (std::vector<double>{10, 50, 90}));
  EXPECT_EQ(dm.SeriesD, (std::vector<double>{0, 0, 0}));
  // X: K = 90, S = 10: 0.5 -> 0, 9.5 -> 10: 0 .. 100, 10 divisions.
  EXPECT_EQ(g.XMin, 0);
  EXPECT_EQ(g.XMax, 100);
  EXPECT_EQ(g.XDivisions, 10);
  // Y: K = 93, S = 10: 0.7 -> 1, 9.8 -> 10: 10 .. 100, 9 divisions.
  EXPECT_EQ(g.YMin, 10);
  EXPECT_EQ(g.YMax, 100);
  EXPECT_EQ(g.YDivisions, 9);
  EXPECT_EQ(g.XTitle, "Cumulative frequency observed (%)");
  EXPECT_EQ(g.YTitle, "Cumulative frequency calculated (%)");
}

TEST_F(Scales, TablesWithoutRowsGetAnAxisAroundZero) {
  for (int type = 1; type <= 5; ++type) {
    SetSeries({}, {}, {}, {}, {});
    Compute(type);
    EXPECT_EQ(g.XMin, 0) << type;
    EXPECT_EQ(g.XMax, 1) << type;
    EXPECT_EQ(g.XDivisions, 4) << type;
    EXPECT_GT(g.YMax, g.YMin) << type;
    EXPECT_GE(g.YDivisions, 4) << type;
  }
}

TEST_F(Scales, OneRowTables) {
  for (int type = 1; type <= 5; ++type) {
    SetSeries({12}, {50}, {40}, {60}, {30});
    Compute(type);
    EXPECT_GT(g.XMax, g.XMin) << type;
    EXPECT_GT(g.YMax, g.YMin) << type;
    EXPECT_FALSE(g.LastRowDropped) << type;
  }
}

TEST_F(Scales, SeriesShorterThanNrOfDataAreNotReadPastTheirEnd) {
  SetSeries({1, 2, 3}, {10, 20, 30}, {1, 2, 3}, {1, 2, 3}, {1, 2, 3});
  dm.NrOfData = 50;
  dm.SeriesE.resize(1);
  Compute(1);
  EXPECT_DOUBLE_EQ(g.DataMaxX, 1.0);
}

// ---- Pixel mapping --------------------------------------------------------------

TEST(Pixels, MapScaledValuesOntoThePlot) {
  GraphState g;
  g.XMin = 10;
  g.XMax = 90;
  g.YMin = 0;
  g.YMax = 120;
  EXPECT_EQ(PixelX(g, 10), 70);
  EXPECT_EQ(PixelX(g, 90), 570);
  // (12 - 10) * 500 / 80 = 12.5 -> 12 (even).
  EXPECT_EQ(PixelX(g, 12), 82);
  // (13 - 10) * 500 / 80 = 18.75 -> 19.
  EXPECT_EQ(PixelX(g, 13), 89);
  EXPECT_EQ(PixelY(g, 0), 420);
  EXPECT_EQ(PixelY(g, 120), 50);
  // 50 * 370 / 120 = 154.17 -> 154.
  EXPECT_EQ(PixelY(g, 50), 266);
  EXPECT_EQ(PixelX(g, 1e300), 70 + 1000000);
}

}  // namespace
}  // namespace quilmor::graphs

// ---- Logarithmic return-period axis ---------------------------------------------

namespace quilmor::graphs {
namespace {

TEST(LogPeriod, TopIsTheNextOfTenTwentyFifty) {
  const std::vector<std::pair<double, int>> cases = {
      {0.5, 10},   {10, 10},     {10.5, 20},    {20, 20},           {21, 50},
      {544, 1000}, {1750, 2000}, {5001, 10000}, {1e300, 1000000000}};
  for (const auto& [maximum, top] : cases) EXPECT_EQ(LogPeriodTop(maximum), top) << maximum;
}

struct LogTickCase {
  int top;
  std::vector<double> values;
  std::vector<double> labelled;
  // py of some values: 420 - Near(log10(v) * 370 / log10(top)).
  std::vector<std::pair<double, int>> pixels;
};

class LogTicks : public ::testing::TestWithParam<LogTickCase> {};

TEST_P(LogTicks, PositionsAndLabels) {
  const LogTickCase& c = GetParam();
  GraphState g;
  g.YLog = true;
  g.YMin = 1;
  g.YMax = c.top;
  std::vector<double> values, labelled;
  for (const LogTick& t : LogPeriodTicks(g)) {
    values.push_back(t.value);
    if (t.labelled) labelled.push_back(t.value);
  }
  EXPECT_EQ(values, c.values);
  EXPECT_EQ(labelled, c.labelled);
  for (const auto& [v, py] : c.pixels) EXPECT_EQ(PixelY(g, v), py) << v;
}

INSTANTIATE_TEST_SUITE_P(
    Tops, LogTicks,
    ::testing::Values(
        // 3 decades of 123.3 pixels: 2 stands 37 pixels above 1, every tick labelled.
        // py(2) = 420 - Near(0.30103 * 123.33) = 420 - 37; py(50) = 420 - Near(1.69897 * 123.33).
        LogTickCase{1000,
                    {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000},
                    {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000},
                    {{1, 420}, {2, 383}, {10, 297}, {50, 210}, {1000, 50}}},
        // Top 2000: log10(2000) = 3.30103 decades of 112.1 pixels.
        LogTickCase{2000,
                    {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000},
                    {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000},
                    {{100, 420 - 224}, {2000, 50}}},
        // 9 decades of 41.1 pixels: 2 would stand 12.4 pixels above 1, so only
        // the powers of ten are labelled.
        LogTickCase{1000000000,
                    {1,   2,   5,   10,  20,  50,  1e2, 2e2, 5e2, 1e3, 2e3, 5e3, 1e4, 2e4,
                     5e4, 1e5, 2e5, 5e5, 1e6, 2e6, 5e6, 1e7, 2e7, 5e7, 1e8, 2e8, 5e8, 1e9},
                    {1, 10, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9},
                    {{1e3, 420 - 123}, {1e9, 50}, {0, 420 + 1000000}}}));

TEST_F(Scales, LogReturnPeriodsKeepEveryRowAndReachTheUpperLimit) {
  // The linear graph drops the last row here (see above); the logarithmic
  // one spans every row, up to the upper limit 38 of the last row -> 50.
  SetSeries({28, 50, 80, 120}, {1.1, 2, 5, 31}, {1.05, 2.1, 4.4, 34}, {1.2, 2.5, 6.1, 38},
            {1, 1.5, 3, 8});
  ScaleOptions options;
  options.logPeriod = true;
  const GraphState log = ComputeGraphScales(SeriesOf(dm), 4, options).state;
  EXPECT_TRUE(log.YLog);
  EXPECT_FALSE(log.LastRowDropped);
  EXPECT_DOUBLE_EQ(log.DataMaxX, 120.0);
  EXPECT_DOUBLE_EQ(log.DataMaxY, 38.0);
  EXPECT_EQ(log.YMin, 1);
  EXPECT_EQ(log.YMax, 50);
  EXPECT_EQ(log.YFactor, 1);
  // X as on a linear graph of 28 .. 120: K = 120, S = 25: 25 .. 125, 4 divisions.
  EXPECT_EQ(log.XMin, 25);
  EXPECT_EQ(log.XMax, 125);
  EXPECT_EQ(log.XDivisions, 4);
  // Other graph types take no notice of the option.
  for (int type : {1, 2, 3, 5}) {
    EXPECT_FALSE(ComputeGraphScales(SeriesOf(dm), type, options).state.YLog) << type;
  }
  // Without the option the graph is the linear one.
  EXPECT_FALSE(ComputeGraphScales(SeriesOf(dm), 4).state.YLog);
}

}  // namespace
}  // namespace quilmor::graphs
