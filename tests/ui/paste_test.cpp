// The window-free parts of the desktop program: spreading a pasted text over
// the grid, clipboard line ends, dialog filters and the window placement.
#include "ui/paste.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/main_form.hpp"
#include "ui/qt_interaction.hpp"

namespace quilmor::ui {
namespace {

// A grid of `rows` rows numbered 1.. with value "0", as at program start.
GridCells DefaultGrid(int rows) {
  GridCells cells;
  cells.rowCount = rows;
  for (int r = 0; r < rows; ++r) {
    *cells.Cell(0, r) = std::to_string(r + 1);
    *cells.Cell(1, r) = "0";
  }
  return cells;
}

std::vector<std::string> ShownValues(const GridCells& cells) {
  std::vector<std::string> values;
  for (int r = 0; r < cells.rowCount; ++r) values.push_back(cells.Text(1, r));
  return values;
}

struct SpreadCase {
  const char* name;
  std::string text;
  char separator;
  int startRow;
  int rowCount;                     // afterwards
  std::vector<std::string> values;  // column 1 of the rows shown
};

class SpreadTest : public ::testing::TestWithParam<SpreadCase> {};

TEST_P(SpreadTest, RowsAndCells) {
  const SpreadCase& c = GetParam();
  GridCells cells = DefaultGrid(20);
  ASSERT_TRUE(SpreadPastedText(cells, 1, c.startRow, c.text, c.separator));
  EXPECT_EQ(cells.rowCount, c.rowCount);
  EXPECT_EQ(ShownValues(cells), c.values);
}

INSTANTIATE_TEST_SUITE_P(
    Paste, SpreadTest,
    ::testing::Values(
        // The comma is no decimal separator here and is left out: 2,5 -> 25.
        SpreadCase{"PointSystem", "1.5\r\n2,5\r\n", '.', 0, 2, {"1.5", "25"}},
        SpreadCase{"CommaSystem", "1,5\r\n2.5\r\n", ',', 0, 2, {"1,5", "25"}},
        // "E" and "+" are not kept: 1.5E+03 becomes 1.503.
        SpreadCase{"Exponent", "1.5E+03\r\n", '.', 0, 1, {"1.503"}},
        SpreadCase{"Negative", "-2.5\r\n-0.75\r\n", '.', 0, 2, {"-2.5", "-0.75"}},
        SpreadCase{"ThousandsAndBlanks", " 1 234.5 \r\n", '.', 0, 1, {"1234.5"}},
        // Three lines, the last without a line end: two line ends, two rows.
        SpreadCase{"NoFinalLineEnd", "1\r\n2\r\n3", '.', 0, 2, {"1", "2"}},
        // A second column moves past the grid's two columns and is lost.
        SpreadCase{"TwoColumns", "7\t8\r\n9\t10\r\n", '.', 0, 2, {"7", "9"}},
        // An empty line leaves an empty cell (the conversion then fails).
        SpreadCase{"EmptyLine", "1\r\n\r\n3\r\n", '.', 0, 3, {"1", "", "3"}},
        // Pasting below row 0 counts only the pasted lines: the grid keeps
        // rows 0 and 1 (old values), the pasted rows 3 and 4 lie beyond it.
        SpreadCase{"StartBelowFirstRow", "4\r\n5\r\n", '.', 3, 2, {"0", "0"}}),
    [](const ::testing::TestParamInfo<SpreadCase>& row) { return std::string(row.param.name); });

TEST(SpreadTest, CellsBeyondTheRowCountKeepTheirText) {
  GridCells cells = DefaultGrid(20);
  ASSERT_TRUE(SpreadPastedText(cells, 1, 3, "4\r\n5\r\n", '.'));
  EXPECT_EQ(cells.Text(1, 3), "4");
  EXPECT_EQ(cells.Text(1, 4), "5");
}

TEST(SpreadTest, RefusesMoreRowsThanTheGridHolds) {
  GridCells cells = DefaultGrid(20);
  std::string text;
  for (int i = 0; i <= kMaxGridRows; ++i) text += "1\r\n";
  EXPECT_FALSE(SpreadPastedText(cells, 1, 0, text, '.'));
}

TEST(NormaliseLineEndsTest, EveryFormBecomesCrLf) {
  EXPECT_EQ(NormaliseLineEnds("1\n2\n"), "1\r\n2\r\n");
  EXPECT_EQ(NormaliseLineEnds("1\r\n2\r\n"), "1\r\n2\r\n");
  EXPECT_EQ(NormaliseLineEnds("1\r2"), "1\r\n2");
  EXPECT_EQ(NormaliseLineEnds("1\t2"), "1\t2");
}

TEST(DialogTest, FiltersAndExtensions) {
  EXPECT_EQ(ConvertFilter("Input files (*.inp)|*.inp").toStdString(), "Input files (*.inp)");
  EXPECT_EQ(ConvertFilter("Graph files (*.bmp)|*.bmp").toStdString(), "Graph files (*.bmp)");
  EXPECT_EQ(ConvertFilter("Texts|*.txt;*.csv").toStdString(), "Texts (*.txt *.csv)");
  EXPECT_EQ(ConvertFilter("A (*.a)|*.a|B (*.b)|*.b").toStdString(), "A (*.a);;B (*.b)");
  EXPECT_EQ(ConvertDefaultExtension(".out").toStdString(), "out");
  EXPECT_EQ(ConvertDefaultExtension("inp").toStdString(), "inp");
}

struct PlacementCase {
  int screenWidth;
  int left;
  int width;
};

class PlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementTest, LeftEdgeAndWidth) {
  const WindowPlacement placement = PlaceMainForm(GetParam().screenWidth);
  EXPECT_EQ(placement.left, GetParam().left);
  EXPECT_EQ(placement.width, GetParam().width);
}

// Wider than 860: 760 at 100. When the 757-pixel design does not fit at
// 100 (right edge 857): at 5 with the screen width less 5 (800 -> 795).
// Between 857 and 860 the design width stays.
INSTANTIATE_TEST_SUITE_P(
    Screens, PlacementTest,
    ::testing::Values(PlacementCase{800, 5, 795}, PlacementCase{1024, 100, 760},
                      PlacementCase{1280, 100, 760}, PlacementCase{861, 100, 760},
                      PlacementCase{860, 100, 757}, PlacementCase{857, 100, 757},
                      PlacementCase{856, 5, 851}, PlacementCase{640, 5, 635}));

}  // namespace
}  // namespace quilmor::ui
