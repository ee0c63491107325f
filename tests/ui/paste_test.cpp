// The window-free parts of the desktop program: reading a pasted column,
// clipboard line ends, dialog filters and the window placement.
#include "ui/paste.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/calc_form.hpp"
#include "ui/graph_view.hpp"
#include "ui/main_form.hpp"
#include "ui/qt_interaction.hpp"
#include "ui/report_tables.hpp"

namespace quilmor::ui {
namespace {

struct PasteCase {
  const char* name;
  std::string text;
  char separator;
  std::vector<std::string> cells;  // the value cells read, empty when refused
  std::string error;
};

class ReadPastedColumnTest : public ::testing::TestWithParam<PasteCase> {};

TEST_P(ReadPastedColumnTest, CellsOrRefusal) {
  const PasteCase& c = GetParam();
  const PastedColumn column = ReadPastedColumn(c.text, 4, c.separator);
  EXPECT_EQ(column.cells, c.cells);
  EXPECT_EQ(column.error, c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Paste, ReadPastedColumnTest,
    ::testing::Values(
        // The separator that is not the decimal one is a thousands separator.
        PasteCase{"PointSystem", "1.5\r\n2,5\r\n", '.', {"1.5", "25"}, ""},
        PasteCase{"CommaSystem", "1,5\n2.5\n", ',', {"1,5", "25"}, ""},
        PasteCase{"Exponent", "1.5E+03\n2e-4\n-3E2\n", '.', {"1.5E+03", "2e-4", "-3E2"}, ""},
        PasteCase{"ThousandsAndBlanks",
                  " 1 234.5 \n12\xA0"
                  "000\n",
                  '.',
                  {"1234.5", "12000"},
                  ""},
        // The last line counts without a line end too; a final CR alone ends a line.
        PasteCase{"NoFinalLineEnd", "1\r\n2\r\n3", '.', {"1", "2", "3"}, ""},
        PasteCase{"OldMacLineEnds", "1\r2\r", '.', {"1", "2"}, ""},
        // Cells after the first of a line have no column in the grid.
        PasteCase{"TwoColumns", "7\t8\r\n9\tx\r\n", '.', {"7", "9"}, ""},
        // An empty line is a row without a value.
        PasteCase{"EmptyLine", "1\n\n3\n", '.', {"1", "", "3"}, ""},
        // A letter that is no exponent stops the paste, naming the grid row
        // (the text goes in from row 5).
        PasteCase{"Letter",
                  "1\n12a\n3\n",
                  '.',
                  {},
                  "Row 6 of the pasted text holds \"12a\", which is not a number; nothing was "
                  "pasted"},
        PasteCase{"ExponentWithoutDigits",
                  "1.5e\n",
                  '.',
                  {},
                  "Row 5 of the pasted text holds \"1.5e\", which is not a number; nothing was "
                  "pasted"},
        PasteCase{"NothingToPaste", "\n \n", '.', {}, kPasteFailedMessage},
        PasteCase{"Empty", "", '.', {}, kPasteFailedMessage}),
    [](const ::testing::TestParamInfo<PasteCase>& row) { return std::string(row.param.name); });

TEST(ReadPastedColumnTest, RefusesMoreRowsThanTheGridHolds) {
  std::string text;
  for (int i = 0; i < kMaxGridRows; ++i) text += "1\n";
  EXPECT_TRUE(ReadPastedColumn(text, 0, '.').error.empty());
  EXPECT_FALSE(ReadPastedColumn(text, 1, '.').error.empty());
}

TEST(ApplyPasteTest, FromTheFirstRowTheColumnIsReplacedElseOverwrittenAndGrown) {
  const std::vector<std::string> column = {"1", "2", "3", "4"};
  EXPECT_EQ(ApplyPaste(column, 0, {"9", "8"}), (std::vector<std::string>{"9", "8"}));
  EXPECT_EQ(ApplyPaste(column, 1, {"9", "8"}), (std::vector<std::string>{"1", "9", "8", "4"}));
  EXPECT_EQ(ApplyPaste(column, 3, {"9", "8"}), (std::vector<std::string>{"1", "2", "3", "9", "8"}));
}

TEST(ShortNumberTest, SevenSignificantDigitsInTheCalculatorsStyle) {
  EXPECT_EQ(ShortNumber("0.675212941723408"), "0.6752129");
  EXPECT_EQ(ShortNumber("86069.4872035511"), "86069.49");
  EXPECT_EQ(ShortNumber("1.23456789012345E-5"), "1.234568E-5");
  EXPECT_EQ(ShortNumber("10"), "10");
  EXPECT_EQ(ShortNumber("0"), "0");
  EXPECT_EQ(ShortNumber("no value"), "no value");
}

TEST(MessageKindTest, NotesErrorsAndProgramErrors) {
  EXPECT_EQ(KindOfMessage("The graph was saved in  x.bmp"), MessageKind::Information);
  EXPECT_EQ(KindOfMessage(" The minimum number of data is 6"), MessageKind::Warning);
  EXPECT_EQ(KindOfMessage("Not all data values in the inputfile are real"), MessageKind::Warning);
  EXPECT_EQ(KindOfMessage("A program error occurred.Real numbers"), MessageKind::Critical);
}

TEST(FitIntoScreenTest, SmallerAndMovedInsideTheFreeArea) {
  const QMargins frame(8, 36, 8, 8);
  // 100 %: as wanted.
  EXPECT_EQ(FitIntoScreen(QRect(100, 20, 760, 720), QRect(0, 0, 1280, 1024), frame),
            QRect(100, 36, 760, 720));
  // 150 % of 1280 x 1024: 853 x 683 units.
  EXPECT_EQ(FitIntoScreen(QRect(5, 20, 848, 720), QRect(0, 0, 853, 683), frame),
            QRect(8, 36, 837, 639));
  // A panel at the top of the screen.
  EXPECT_EQ(FitIntoScreen(QRect(100, 20, 760, 720), QRect(0, 40, 1280, 984), frame).top(), 76);
}

TEST(ReportTablesTest, HeadingsOfTheTableALineBelongsTo) {
  const std::vector<std::string> report = {
      " Interval analysis",         // 0
      " ------------------------",  // 1
      "   Lower    Upper   Obs.",   // 2
      " ------------------------",  // 3
      "   1        2       3",      // 4
      "   2        3       4",      // 5
      " ------------------------",  // 6
      "",                           // 7
      " Return period",             // 8
      " ------------------------",  // 9
      "   X-value  Serial",         // 10
      "   Ranked   No.",            // 11
      " ------------------------",  // 12
      "   13100    28",             // 13
      " ------------------------",  // 14
  };
  const std::vector<ReportTable> tables = FindReportTables(report);
  ASSERT_EQ(tables.size(), 2u);
  for (const auto& [line, first] :
       std::vector<std::pair<int, int>>{{4, 1}, {5, 1}, {6, -1}, {3, -1}, {13, 9}, {0, -1}}) {
    const ReportTable* table = TableOfLine(tables, line);
    EXPECT_EQ(table ? table->headingFirst : -1, first) << "line " << line;
  }
  EXPECT_EQ(tables[1].headingLast, 12);
}

TEST(FitGraphTest, ProportionsKeptAndPixelsOfTheScreen) {
  const GraphFit wide = FitGraph(1246, 495, 1.0);  // twice as wide as needed
  EXPECT_EQ(wide.width, 623);
  EXPECT_EQ(wide.height, 495);
  EXPECT_DOUBLE_EQ(wide.imageRatio, 1.0);
  const GraphFit sharp = FitGraph(623, 495, 1.5);  // at 150 %
  EXPECT_DOUBLE_EQ(sharp.imageRatio, 1.5);
  const GraphFit large = FitGraph(1000, 2000, 1.0);
  EXPECT_EQ(large.width, 1000);
  EXPECT_EQ(large.height, 794);
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
