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

}  // namespace
}  // namespace quilmor::graphs
