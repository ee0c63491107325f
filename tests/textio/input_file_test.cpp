#include "textio/input_file.hpp"

#include <gtest/gtest.h>

#include "textio/text_file.hpp"

namespace quilmor::textio {
namespace {

TEST(RenderInputFile, WritesTheLayoutByteForByte) {
  const std::string text =
      RenderInputFile("Rain", "mm/year", "/d/rain.inp", 0.0, {1.0, 0.99, -250.0, 0.0449});
  EXPECT_EQ(text,
            " Input data for Quilmor program\r\n"
            " Cumulative frequency analysis\r\n"
            "\r\n"
            " Rain\r\n"
            " mm/year\r\n"
            "\r\n"
            " Filename: /d/rain.inp\r\n"
            " Number of data: 4\r\n"
            " Threshold:     0.00000\r\n"
            "\r\n"
            " ------------------\r\n"
            " Serial    Variable\r\n"
            " ------------------\r\n"
            "    1       1.00\r\n"
            "    2  9.90000E-0001\r\n"
            "    3    -250.00\r\n"
            "    4  4.49000E-0002\r\n");
}

TEST(FormatInputRow, SmallValuesKeepSixDigits) {
  EXPECT_EQ(FormatInputRow(1, -1234.5), "    1   -1234.50");
  EXPECT_EQ(FormatInputRow(2, 0.0105), "    2  1.05000E-0002");
  EXPECT_EQ(FormatInputRow(3, -0.5), "    3 -5.00000E-0001");
  EXPECT_EQ(FormatInputRow(4, 0.0), "    4  0.00000E+0000");
  EXPECT_EQ(FormatInputRow(5, -1.0), "    5      -1.00");
  EXPECT_EQ(FormatInputRow(123456, 2.0), "123456       2.00");
}

TEST(ParseInputFile, RoundTripsWhatWasWritten) {
  const std::vector<double> values{30800.0, 0.0449, -3.25, 1.0};
  const auto lines = SplitLines(RenderInputFile("T1", "", "x.inp", 10.5, values));
  const InputFileContent content = ParseInputFile(lines);
  EXPECT_FALSE(content.corrupt);
  EXPECT_EQ(content.title1, "T1");
  EXPECT_EQ(content.title2, "");
  EXPECT_EQ(content.threshold, 10.5);
  ASSERT_EQ(content.rows.size(), values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(content.rows[i].serial, static_cast<int>(i + 1));
    EXPECT_EQ(content.rows[i].value, values[i]);
  }
}

TEST(ParseInputFile, FileWithoutThresholdLineHasTwelveHeaderLines) {
  std::vector<std::string> lines{" Input data for Quilmor program", " Cumulative frequency analysis",
                                 "", " A", " B", "", " Filename: x", " Number of data: 2", "",
                                 " ------------------", " Serial    Variable",
                                 " ------------------", "    1       5.00", "    2       6.00"};
  const InputFileContent content = ParseInputFile(lines);
  EXPECT_FALSE(content.hasThresholdLine);
  EXPECT_EQ(content.threshold, 0.0);
  ASSERT_EQ(content.rows.size(), 2u);
  EXPECT_EQ(content.rows[0].value, 5.0);
}

TEST(ParseInputFile, DataEndAtTheFirstEmptyLine) {
  auto lines = SplitLines(RenderInputFile("", "", "x", 0.0, {1.0, 2.0, 3.0}));
  lines.insert(lines.begin() + 15, "");
  EXPECT_EQ(ParseInputFile(lines).rows.size(), 2u);
}

struct CorruptRow {
  const char* name;
  std::size_t line;  // 1-based line to replace
  const char* text;
  std::size_t rowsKept;
};

class ParseInputFileCorrupt : public ::testing::TestWithParam<CorruptRow> {};

TEST_P(ParseInputFileCorrupt, StopsAtTheBadLine) {
  const CorruptRow& row = GetParam();
  auto lines = SplitLines(RenderInputFile("", "", "x", 0.0, {1.0, 2.0, 3.0}));
  lines[row.line - 1] = row.text;
  const InputFileContent content = ParseInputFile(lines);
  EXPECT_TRUE(content.corrupt);
  EXPECT_EQ(content.badLine, static_cast<int>(row.line));
  EXPECT_EQ(content.rows.size(), row.rowsKept);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ParseInputFileCorrupt,
    ::testing::Values(CorruptRow{"ThresholdText", 9, " Threshold: abc", 0},
                      CorruptRow{"ThresholdComma", 9, " Threshold:     1,5", 0},
                      CorruptRow{"ValueComma", 15, "    2       1,5", 1},
                      CorruptRow{"ValueTwoPoints", 15, "    2     1.5.5", 1},
                      CorruptRow{"ValueNan", 16, "    3        nan", 2},
                      CorruptRow{"ValueMissing", 14, "    1", 0},
                      CorruptRow{"SerialText", 14, "  one       1.00", 0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ParseInputFile, ShortOrEmptyFileHasNoRows) {
  EXPECT_TRUE(ParseInputFile({}).rows.empty());
  EXPECT_FALSE(ParseInputFile({}).corrupt);
  EXPECT_TRUE(ParseInputFile({" Input data for Quilmor program"}).rows.empty());
}

// A file the program did not write as it stands is read with a word for
// every line read otherwise than it seems to mean.
TEST(ParseInputFile, WarnsOfWhatItReadsOtherwise) {
  const std::vector<double> values = {1, 2, 3, 4, 5, 6, 7, 8};
  const std::vector<std::string> written =
      SplitLines(RenderInputFile("T", "U", "/d/x.inp", 0.0, values));
  struct Row {
    const char* name;
    std::vector<std::string> (*edit)(std::vector<std::string>);
    std::size_t rows;
    const char* warning;  // nullptr: none
  };
  const Row rows[] = {
      {"AsWritten", [](std::vector<std::string> l) { return l; }, 8, nullptr},
      {"CountDisagrees",
       [](std::vector<std::string> l) {
         l[7] = " Number of data: 116";
         return l;
       },
       8, "line 8 gives 116 data, but 8 rows are read"},
      {"BlankLineBeforeTheEnd",
       [](std::vector<std::string> l) {
         l.insert(l.begin() + 16, "");
         return l;
       },
       3, "line 17 is empty and ends the data: 3 rows are used, 5 lines after it are not"},
      {"ExtraColumn",
       [](std::vector<std::string> l) {
         l[14] += "   99";
         return l;
       },
       8, "line 15 holds more than a running number and a value"},
      {"OtherThresholdLabel",
       [](std::vector<std::string> l) {
         l[8] = " Cut-off  :     0.00000";
         return l;
       },
       8, "line 9 reads \" Cut-off  :     0.00000\" where \" Threshold:\" is written"},
  };
  for (const Row& row : rows) {
    const InputFileContent content = ParseInputFile(row.edit(written));
    EXPECT_FALSE(content.corrupt) << row.name;
    EXPECT_EQ(content.rows.size(), row.rows) << row.name;
    if (row.warning == nullptr) {
      EXPECT_TRUE(content.warnings.empty()) << row.name << ": " << content.warnings.front();
    } else {
      ASSERT_FALSE(content.warnings.empty()) << row.name;
      EXPECT_NE(content.warnings.front().find(row.warning), std::string::npos)
          << row.name << ": " << content.warnings.front();
    }
  }
}

}  // namespace
}  // namespace quilmor::textio
