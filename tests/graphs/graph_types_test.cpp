#include "graphs/graph_types.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace quilmor::graphs {
namespace {

// What the reader stores in which series, row by row of the table.
std::set<int> SeriesRead(const GraphTypeRow& row) {
  std::set<int> read;
  for (std::size_t k = 0; k < row.numbersPerRow; ++k) {
    if (row.target[k] != kNoSeries) read.insert(row.target[k]);
  }
  return read;
}

TEST(GraphTypes, EveryRowIsCompleteAndConsistent) {
  int expectedType = kFirstGraphType;
  for (const GraphTypeRow& row : GraphTypes()) {
    SCOPED_TRACE(std::string(row.name));
    EXPECT_EQ(row.type, expectedType++);
    EXPECT_EQ(GraphTypeOf(row.type), &row);
    // The reader: a marker of four characters, at most seven numbers a row,
    // each series filled at most once, the series beyond the row dropped.
    EXPECT_EQ(row.marker.size(), 4u);
    EXPECT_EQ(row.marker[0], ' ');
    ASSERT_LE(row.numbersPerRow, row.target.size());
    std::set<int> seen;
    for (std::size_t k = 0; k < row.numbersPerRow; ++k) {
      const int t = row.target[k];
      if (t == kNoSeries) continue;
      EXPECT_GE(t, 0);
      EXPECT_LE(t, static_cast<int>(Series::E));
      EXPECT_TRUE(seen.insert(t).second) << "series " << t << " filled twice";
    }
    // Every series the painter draws is one the reader fills.
    const std::set<int> read = SeriesRead(row);
    EXPECT_TRUE(read.count(static_cast<int>(Series::A)));
    for (const CurveRule& curve : row.curves) {
      if (curve.segments == Segments::None) continue;
      EXPECT_TRUE(read.count(static_cast<int>(curve.y)) || row.swapObservedCalculated)
          << "curve over series " << static_cast<int>(curve.y);
    }
    if (row.observedPoints) {
      EXPECT_TRUE(read.count(static_cast<int>(Series::B)));
    }
    // Legend: within the plot's top-left corner, lines apart.
    ASSERT_LE(row.legendLines, row.legend.size());
    ASSERT_GE(row.legendLines, 1u);
    for (std::size_t k = 0; k < row.legendLines; ++k) {
      EXPECT_GE(row.legend[k].y, 65);
      if (k > 0) {
        EXPECT_GE(row.legend[k].y - row.legend[k - 1].y, 15);
      }
    }
    // Something is drawn.
    EXPECT_TRUE(row.observedPoints || row.intervalBars || row.curves[0].segments != Segments::None);
  }
  EXPECT_EQ(expectedType, kLastGraphType + 1);
  EXPECT_EQ(GraphTypeOf(0), nullptr);
  EXPECT_EQ(GraphTypeOf(6), nullptr);
}

// The rows of the table that set one graph apart from the others, as the
// reader, the scales and the painter use them.
struct RowCase {
  int type;
  const char* marker;
  std::size_t linesAfterHeading;
  std::size_t numbers;
  ExtentRule extents;
  YAxisRule yAxis;
  bool capY;
  int xTitleLeft;
  std::size_t firstSegment;
};
void PrintTo(const RowCase& c, std::ostream* os) { *os << "type " << c.type; }

class GraphTypeRows : public ::testing::TestWithParam<RowCase> {};

TEST_P(GraphTypeRows, Columns) {
  const RowCase& c = GetParam();
  const GraphTypeRow* row = GraphTypeOf(c.type);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->marker, c.marker);
  EXPECT_EQ(row->linesAfterHeading, c.linesAfterHeading);
  EXPECT_EQ(row->numbersPerRow, c.numbers);
  EXPECT_EQ(row->extents, c.extents);
  EXPECT_EQ(row->yAxis, c.yAxis);
  EXPECT_EQ(row->capYDivisions, c.capY);
  EXPECT_EQ(row->xTitleLeft, c.xTitleLeft);
  EXPECT_EQ(row->firstSegment, c.firstSegment);
  // Only the return periods offer a logarithmic axis, only the calculated
  // against observed graph swaps its series.
  EXPECT_EQ(row->periodAxis, c.type == 4);
  EXPECT_EQ(row->swapObservedCalculated, c.type == 5);
}

INSTANTIATE_TEST_SUITE_P(
    Types, GraphTypeRows,
    ::testing::Values(
        RowCase{1, " Obs", 4, 7, ExtentRule::Points, YAxisRule::Percent, false, 470, 0},
        RowCase{2, " Int", 4, 4, ExtentRule::Classes, YAxisRule::IntervalPercent, true, 470, 0},
        RowCase{3, " Con", 5, 5, ExtentRule::Belt, YAxisRule::FromData, true, 470, 1},
        RowCase{4, " Ret", 4, 6, ExtentRule::ReturnPeriods, YAxisRule::FromData, true, 470, 0},
        RowCase{5, " Obs", 4, 7, ExtentRule::Points, YAxisRule::FromData, true, 405, 0}),
    [](const auto& row) { return "Type" + std::to_string(row.param.type); });

}  // namespace
}  // namespace quilmor::graphs
