#include "graphs/graph_data.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "report_fixture.hpp"
#include "scripted_interaction.hpp"
#include "temp_folder.hpp"

namespace quilmor::graphs {
namespace {

using quilmor::testing::ReportContent;
using quilmor::testing::ReportText;
using quilmor::testing::ScriptedInteraction;
using quilmor::testing::TempFolder;
using quilmor::testing::WriteBytes;

const std::string kSampleReport =
    std::string(QUILMOR_SOURCE_DIR) + "/tests/data/graphs/rainfall.out";

class GraphDataTest : public ::testing::Test {
 protected:
  ScriptedInteraction ui;
  report::TDMQuilmor dm{ui};
  TempFolder folder;

  GraphReadResult ReadText(const std::string& text, int type) {
    WriteBytes(folder / "r.out", text);
    return ReadGraphData(dm, (folder / "r.out").string(), type);
  }
  void ExpectRow(int i, std::vector<double> expected) {
    const std::vector<double>* series[5] = {&dm.SeriesA, &dm.SeriesB, &dm.SeriesC, &dm.SeriesD,
                                            &dm.SeriesE};
    for (std::size_t k = 0; k < expected.size(); ++k) {
      EXPECT_DOUBLE_EQ((*series[k])[i], expected[k]) << "row " << i << " series " << char('A' + k);
    }
  }
};

// Rows as printed in rainfall.out. Its titles are "Observed rainfall" and
// "data 1990": read as markers they would send every search to the heading.
struct SampleCase {
  const char* name;
  int type;
  int rows;
  std::vector<double> first;  // SeriesA..E of the first row (E left out for type 2)
  std::vector<double> last;
};
void PrintTo(const SampleCase& c, std::ostream* os) { *os << c.name; }

class SampleReport : public GraphDataTest, public ::testing::WithParamInterface<SampleCase> {};

TEST_P(SampleReport, ReadsTheTableOfTheType) {
  const SampleCase& c = GetParam();
  const GraphReadResult result = ReadGraphData(dm, kSampleReport, c.type);
  ASSERT_TRUE(result.ok()) << result.message;
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(dm.Title1, "Observed rainfall");
  EXPECT_EQ(dm.Title2, "data 1990");
  EXPECT_EQ(dm.FittedCode, 4);
  ASSERT_EQ(dm.NrOfData, c.rows);
  for (const auto* s : {&dm.SeriesA, &dm.SeriesB, &dm.SeriesC, &dm.SeriesD, &dm.SeriesE}) {
    EXPECT_EQ(s->size(), static_cast<std::size_t>(c.rows));
  }
  ExpectRow(0, c.first);
  ExpectRow(c.rows - 1, c.last);
}

INSTANTIATE_TEST_SUITE_P(
    Types, SampleReport,
    ::testing::Values(
        // "    28.3      1         3.2       5.2      4.05       4.5      18.2"
        SampleCase{
            "Cumulative", 1, 30, {28.3, 3.2, 5.2, 18.2, 4.5}, {120.4, 96.8, 97.1, 97.4, 86.9}},
        SampleCase{"CalcObs", 5, 30, {28.3, 3.2, 5.2, 18.2, 4.5}, {120.4, 96.8, 97.1, 97.4, 86.9}},
        // "      19        28       0.0       5.2": K = 5 classes give 7 rows
        SampleCase{"Interval", 2, 7, {19, 28, 0.0, 5.2}, {120, 148, 0.0, 2.9}},
        // "    28.3       1         25.3           11.3           32.0"
        SampleCase{
            "XConfidence", 3, 30, {28.3, 1, 25.3, 32.0, 11.3}, {120.4, 24, 118.4, 188.1, 98.3}},
        // "    28.3      1         1.03       1.05       1.00       1.22"
        SampleCase{"ReturnPeriods",
                   4,
                   30,
                   {28.3, 1.03, 1.05, 1.22, 1.00},
                   {120.4, 31.0, 34.3, 38.3, 7.7}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(GraphDataTest, ObservedFrequenciesRiseFromNearZeroToNearHundred) {
  ASSERT_TRUE(ReadGraphData(dm, kSampleReport, 1).ok());
  for (int i = 1; i < dm.NrOfData; ++i) EXPECT_GT(dm.SeriesB[i], dm.SeriesB[i - 1]);
  EXPECT_LT(dm.SeriesB.front(), 5.0);
  EXPECT_GT(dm.SeriesB.back(), 95.0);
}

TEST_F(GraphDataTest, NrOfDataIsTheRowCountOfTheTable) {
  ReportContent content;
  content.intervals = {{0, 1, 0, 10}, {1, 2, 50, 40}, {2, 3, 50, 50}};
  content.observed = {{1, 1, 25, 20, 5, 10, 30}, {2, 2, 50, 55, 5, 40, 70}};
  content.returns = {{1, 1, 1.33, 1.25, 1.1, 1.4}};
  dm.NrOfData = 2500;
  ASSERT_TRUE(ReadText(ReportText(content), 2).ok());
  EXPECT_EQ(dm.NrOfData, 3);
  ASSERT_TRUE(ReadText(ReportText(content), 1).ok());
  EXPECT_EQ(dm.NrOfData, 2);
  ASSERT_TRUE(ReadText(ReportText(content), 4).ok());
  EXPECT_EQ(dm.NrOfData, 1);
  ASSERT_TRUE(ReadText(ReportText(content), 3).ok());
  EXPECT_EQ(dm.NrOfData, 0);
  EXPECT_TRUE(dm.SeriesA.empty());
}

TEST_F(GraphDataTest, FileNameOfTheDataModuleStaysAsItIs) {
  WriteBytes(folder / "run.out", ReportText({}));
  dm.FileName = (folder / "run.inp").string();
  ASSERT_TRUE(ReadGraphData(dm, (folder / "run.out").string(), 1).ok());
  EXPECT_EQ(dm.FileName, (folder / "run.inp").string());
  EXPECT_EQ(dm.NrOfData, 0);
  EXPECT_EQ(dm.Title1, "Yearly totals");
}

struct CodeCase {
  const char* name;
  std::string codeLine;
  int code;
};
void PrintTo(const CodeCase& c, std::ostream* os) { *os << c.name; }

class CodeLine : public GraphDataTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(CodeLine, GivesTheCodeOrZero) {
  ReportContent content;
  content.codeLine = GetParam().codeLine;
  dm.FittedCode = 99;
  ReadText(ReportText(content), 1);
  EXPECT_EQ(dm.FittedCode, GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Rows, CodeLine,
                         ::testing::Values(CodeCase{"Weibull", " 57", 57},
                                           CodeCase{"GeneralizedGumbel", " 51", 51},
                                           CodeCase{"OneDigit", "  4", 4},
                                           CodeCase{"Text", "abc", 0}, CodeCase{"Empty", "", 0},
                                           CodeCase{"FifthCharacterIgnored", "  21x", 21},
                                           CodeCase{"TextWithinFour", " 5x7", 0}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(GraphDataTest, CodeIsZeroWhenTheReportEndsBeforeIt) {
  dm.FittedCode = 4;
  std::string text = ReportText({});
  text.erase(text.rfind("\r\n\r\n"));  // drop the empty line and the code line
  ReadText(text, 1);
  EXPECT_EQ(dm.FittedCode, 0);
}

TEST_F(GraphDataTest, TitleOfOnlyTheLeadingBlankIsEmpty) {
  ReportContent content;
  content.title1 = "";
  content.title2 = " two blanks";
  ReadText(ReportText(content), 1);
  EXPECT_EQ(dm.Title1, "");
  EXPECT_EQ(dm.Title2, " two blanks");
}

TEST_F(GraphDataTest, TitlesThatLookLikeMarkersAreOnlyTitles) {
  // Line 4 " Obs..." and line 5 " dat..." would match the markers; the table
  // itself is empty, so a reader that looked there would find rows.
  ReportContent content;
  content.title1 = "Observations 1990";
  content.title2 = "data of station A";
  content.codeLine = " 57";
  ASSERT_TRUE(ReadText(ReportText(content), 1).ok());
  EXPECT_EQ(dm.NrOfData, 0);
  EXPECT_EQ(dm.FittedCode, 57);
}

TEST_F(GraphDataTest, OpenFailureShowsTheMessageAndKeepsTheFields) {
  dm.Title1 = "kept";
  dm.FittedCode = 21;
  dm.NrOfData = 2;
  dm.SeriesA = {1, 2};
  const std::string name = (folder / "missing.out").string();
  const GraphReadResult result = ReadGraphData(dm, name, 1);
  EXPECT_EQ(result.outcome, GraphReadOutcome::OpenFailed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "The file \"" + name +
                                "\"could not be opened. It may be damaged,  not created due to "
                                "inadequate input data,  in use by another program,  or the "
                                "programmer should incorporate more time.");
  EXPECT_EQ(dm.Title1, "kept");
  EXPECT_EQ(dm.FittedCode, 21);
  EXPECT_EQ(dm.NrOfData, 2);
  EXPECT_EQ(dm.SeriesA, (std::vector<double>{1, 2}));
}

TEST_F(GraphDataTest, ReportOfOneLineHasNoTable) {
  dm.NrOfData = 5;
  dm.SeriesB = {1, 2, 3, 4, 5};
  const GraphReadResult result = ReadText(" RESULTS OF Quilmor PROGRAM\r\n", 1);
  EXPECT_EQ(result.outcome, GraphReadOutcome::TableMissing);
  EXPECT_EQ(dm.NrOfData, 0);
  EXPECT_TRUE(dm.SeriesB.empty());
  EXPECT_EQ(dm.Title1, "");
  EXPECT_EQ(dm.FittedCode, 0);
}

TEST_F(GraphDataTest, ReportWithoutMarkersStopsAtTheEnd) {
  // A report whose run found no distribution: the heading and one line.
  const std::string text =
      " RESULTS OF Quilmor PROGRAM\r\n Cumulative frequency analysis\r\n\r\n t1\r\n t2\r\n"
      " Name of input file used: x.inp\r\n Number of data used: 7\r\n\r\n"
      " The frequency distibution cannot be found :\r\n";
  for (int type = 1; type <= 5; ++type) {
    const GraphReadResult result = ReadText(text, type);
    EXPECT_EQ(result.outcome, GraphReadOutcome::TableMissing) << type;
    EXPECT_EQ(result.message, "The table that begins with \"" + TableMarker(type) +
                                  "\" was not found in the file \"" + (folder / "r.out").string() +
                                  "\"");
    EXPECT_EQ(dm.NrOfData, 0);
    EXPECT_EQ(dm.Title1, "t1");
  }
}

TEST_F(GraphDataTest, TableWithoutClosingLineKeepsTheRowsToTheEnd) {
  const std::string text =
      " h1\r\n h2\r\n\r\n t1\r\n t2\r\n Interval analysis\r\n -\r\n h\r\n h\r\n -\r\n"
      "  1.0  2.0  10.0  12.0\r\n  2.0  3.0  90.0  88.0\r\n";
  const GraphReadResult result = ReadText(text, 2);
  EXPECT_EQ(result.outcome, GraphReadOutcome::TableUnterminated);
  EXPECT_EQ(dm.NrOfData, 2);
  ExpectRow(1, {2.0, 3.0, 90.0, 88.0});
  // Cut in the middle of the skipped lines: no rows at all.
  EXPECT_EQ(ReadText(" h1\r\n h2\r\n\r\n t1\r\n t2\r\n Interval analysis\r\n -\r\n", 2).outcome,
            GraphReadOutcome::TableUnterminated);
  EXPECT_EQ(dm.NrOfData, 0);
}

TEST_F(GraphDataTest, UnreadableNumberStopsTheReadAtItsRow) {
  ReportContent content;
  content.intervals = {{0, 1, 0, 10}, {1, 2, 50, 40}, {2, 3, 50, 50}};
  std::string text = ReportText(content);
  const std::string second = "     1.0       2.0      50.0      40.0";
  ASSERT_NE(text.find(second), std::string::npos);
  text.replace(text.find(second), second.size(), "     1.0       2.0      5O.0      40.0");
  const GraphReadResult result = ReadText(text, 2);
  EXPECT_EQ(result.outcome, GraphReadOutcome::BadNumber);
  EXPECT_EQ(dm.NrOfData, 1);
  EXPECT_EQ(dm.SeriesD.size(), 1u);
  // Line 26: 19 heading lines, the table heading, 4 skipped lines, 1 row.
  EXPECT_EQ(result.message, "Line 26 of the file \"" + (folder / "r.out").string() +
                                "\" does not hold the 4 numbers of a table row: \"     1.0       "
                                "2.0      5O.0      40.0\"");
}

TEST_F(GraphDataTest, RowWithTooFewNumbersIsUnreadable) {
  const std::string text =
      " h1\r\n h2\r\n\r\n t1\r\n t2\r\n Interval analysis\r\n -\r\n h\r\n h\r\n -\r\n"
      "  1.0  2.0  10.0\r\n  2.0  3.0  90.0  88.0\r\n ---\r\n";
  EXPECT_EQ(ReadText(text, 2).outcome, GraphReadOutcome::BadNumber);
  EXPECT_EQ(dm.NrOfData, 0);
}

TEST_F(GraphDataTest, AnyRealFormIsRead) {
  // Scientific and sign forms, tabs between numbers, extra numbers ignored.
  const std::string text =
      " h1\r\n h2\r\n\r\n t1\r\n t2\r\n Interval analysis\r\n -\r\n h\r\n h\r\n -\r\n"
      "-1.5E+01\t+2  .5 4.0E-0001 99\r\n ---\n";
  ASSERT_TRUE(ReadText(text, 2).ok());
  ExpectRow(0, {-15.0, 2.0, 0.5, 0.4});
}

TEST_F(GraphDataTest, MarkersAreCaseSensitiveAndNeedAllFourCharacters) {
  // " interval" is no heading (case); " Int" alone is. " --" is too short to
  // close the table, so it is taken for a row and cannot be read.
  const std::string text =
      " h1\r\n h2\r\n\r\n t1\r\n t2\r\n interval\r\n Int\r\n -\r\n h\r\n h\r\n -\r\n"
      "  1 2 3 4\r\n --\r\n  5 6 7 8\r\n ---\r\n";
  EXPECT_EQ(ReadText(text, 2).outcome, GraphReadOutcome::BadNumber);
  EXPECT_EQ(dm.NrOfData, 1);
  ExpectRow(0, {1, 2, 3, 4});
}

// A table that cannot be drawn as it stands is refused at its row, the rows
// before it kept: numbers beyond +/-1E+0300, a first column out of order, and
// frequencies outside 0 .. 100 % or return periods below 1, which lie outside
// every graph's frame.
TEST_F(GraphDataTest, TablesThatCannotBeDrawnAreRefusedAtTheirRow) {
  struct Row {
    int type;
    const char* heading;
    const char* rows;
    int kept;
    const char* reason;
  };
  const Row rows[] = {
      {2, " Interval analysis", "  1.0  2.0  10.0  9.0\r\n  2.0  3.0  1e301  88.0\r\n", 1,
       "holds a number beyond"},
      {2, " Interval analysis", "  -1e305  2.0  10.0  9.0\r\n", 0, "holds a number beyond"},
      {2, " Interval analysis",
       "  1.0  2.0  10.0  9.0\r\n  3.0  4.0  20.0  19.0\r\n  2.0  5.0  90.0  88.0\r\n", 2,
       "is out of order"},
      {2, " Interval analysis", "  1.0  2.0  10.0  9.0\r\n  1.0  3.0  90.0  88.0\r\n", 2,
       nullptr},  // ties stay
      {2, " Interval", "  1 2 10.0 9.0\r\n  2 3 100.1 88.0\r\n", 1,
       "holds a frequency of 100.1 %, outside 0 to 100"},
      {2, " Interval", "  1 2 -0.1 9.0\r\n", 0, "holds a frequency of -0.1 %, outside 0 to 100"},
      {2, " Interval", "  1 2 0.0 100.0\r\n", 1, nullptr},  // the ends themselves stay
      // X, serial, rank %, calc %, st.dev, lower %, upper %; the spread is no frequency.
      {1, " Observed", "  3 1 7.7 29.1 13.1 16.1 60.7\r\n  5 2 15.4 29.6 13.2 16.3 161.1\r\n", 1,
       "holds a frequency of 161.1 %, outside 0 to 100"},
      {5, " Observed", "  3 1 107.7 29.1 13.1 16.1 60.7\r\n", 0,
       "holds a frequency of 107.7 %, outside 0 to 100"},
      {1, " Observed", "  3 1 7.7 29.1 250 16.1 60.7\r\n", 1, nullptr},
      // X, serial, rank period, calculated, lower, upper.
      {4, " Return", "  3 1 1.08 1.41 1.00 2.54\r\n  5 2 1.18 0.99 1.00 2.57\r\n", 1,
       "holds a return period of 0.99, below 1"},
      {4, " Return", "  3 1 -1.08 1.41 1.00 2.54\r\n", 0,
       "holds a return period of -1.08, below 1"},
  };
  for (const Row& row : rows) {
    const std::string text = " h1\r\n h2\r\n\r\n t1\r\n t2\r\n" + std::string(row.heading) +
                             "\r\n -\r\n h\r\n h\r\n -\r\n" + row.rows + " ---\r\n";
    const GraphReadResult result = ReadText(text, row.type);
    EXPECT_EQ(dm.NrOfData, row.kept) << row.rows;
    if (row.reason == nullptr) {
      EXPECT_TRUE(result.ok()) << result.message;
    } else {
      EXPECT_EQ(result.outcome, GraphReadOutcome::BadNumber) << row.rows;
      EXPECT_NE(result.message.find(row.reason), std::string::npos) << result.message;
    }
  }
}

}  // namespace
}  // namespace quilmor::graphs
