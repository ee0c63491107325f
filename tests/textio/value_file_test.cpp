#include "textio/value_file.hpp"

#include <gtest/gtest.h>

#include "temp_folder.hpp"
#include "textio/text_file.hpp"

namespace quilmor::textio {
namespace {

using quilmor::testing::TempFolder;
using quilmor::testing::WriteBytes;

std::vector<std::optional<double>> Values(const ValueFile& file) {
  std::vector<std::optional<double>> values;
  for (const auto& row : file.rows) values.push_back(row.value);
  return values;
}

TEST(ReadValueFile, OneValuePerLineWithSkippedRows) {
  TempFolder folder;
  WriteBytes(folder / "v.txt", "3\r\n\r\n1.5\n2,5\n -4e2 \n");
  const ValueFile file = ReadValueFile(folder / "v.txt");
  EXPECT_TRUE(file.error.empty());
  EXPECT_EQ(Values(file),
            (std::vector<std::optional<double>>{3.0, std::nullopt, 1.5, 2.5, -400.0}));
}

TEST(ReadValueFile, HeaderLineIsSkipped) {
  TempFolder folder;
  WriteBytes(folder / "v.txt", "flow\n10\n20\n");
  EXPECT_EQ(Values(ReadValueFile(folder / "v.txt")),
            (std::vector<std::optional<double>>{10.0, 20.0}));
}

TEST(ReadValueFile, ColumnOfACsvFile) {
  TempFolder folder;
  WriteBytes(folder / "d.csv", "year,peak\n1901,30800\n1902,\n1904,\"70000\"\n");
  const ValueFile file = ReadValueFile(folder / "d.csv", 2);
  EXPECT_TRUE(file.error.empty()) << file.error;
  EXPECT_EQ(Values(file), (std::vector<std::optional<double>>{30800.0, std::nullopt, 70000.0}));
  WriteBytes(folder / "s.csv", "a;b\n1;2,5\n");
  EXPECT_EQ(Values(ReadValueFile(folder / "s.csv", 2)), (std::vector<std::optional<double>>{2.5}));
}

struct BadFileRow {
  const char* name;
  const char* content;
  int column;
  const char* errorPart;
};

class ReadValueFileBad : public ::testing::TestWithParam<BadFileRow> {};

TEST_P(ReadValueFileBad, SaysWhy) {
  TempFolder folder;
  WriteBytes(folder / "v.txt", GetParam().content);
  const ValueFile file = ReadValueFile(folder / "v.txt", GetParam().column);
  EXPECT_NE(file.error.find(GetParam().errorPart), std::string::npos) << file.error;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReadValueFileBad,
    ::testing::Values(BadFileRow{"Empty", "", 0, "holds no values"},
                      BadFileRow{"OnlyBlankLines", "\n\n", 0, "holds no values"},
                      BadFileRow{"TextValue", "1\nabc\n", 0, "line 2: \"abc\" is not a number"},
                      BadFileRow{"TwoPoints", "1\n1.5.5\n", 0, "line 2"},
                      BadFileRow{"Nan", "1\nnan\n", 0, "line 2"},
                      BadFileRow{"Inf", "1\ninf\n", 0, "line 2"},
                      BadFileRow{"MissingColumn", "1,2\n3\n", 2, "line 2 has no column 2"},
                      BadFileRow{"Binary",
                                 "\x01\x02\xff"
                                 "zz\x7f",
                                 0, "holds no values"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ReadValueFile, MissingFile) {
  TempFolder folder;
  EXPECT_NE(ReadValueFile(folder / "none.txt").error.find("cannot read"), std::string::npos);
}

// What is in the file is read, or the reader says what it could not read.
TEST(ReadValueFile, ReadsWhatIsThereOrSaysWhy) {
  using Values_ = std::vector<std::optional<double>>;
  struct Row {
    const char* name;
    std::string bytes;
    int column;
    Values_ values;     // when accepted
    const char* error;  // a piece of the refusal, nullptr when accepted
  };
  const std::string longLine = [] {
    std::string line;
    for (int i = 0; i < 200000; ++i) line += "12345 ";
    return line;
  }();
  const std::vector<Row> rows = {
      {"Utf8Mark", "\xEF\xBB\xBF" "3\n4\n", 0, {3.0, 4.0}, nullptr},
      {"Utf16LittleEndian", std::string("\xFF\xFE" "3\0\n\0", 6), 0, {}, "UTF-16 (little-endian)"},
      {"Utf16BigEndian", std::string("\xFE\xFF\0" "3\0\n", 6), 0, {}, "UTF-16 (big-endian)"},
      {"Utf16WithoutMark", std::string("3\0\n\0" "4\0\n\0", 8), 0, {}, "UTF-16"},
      {"HeaderOfWords", "peak flow (m/s)\n3\n", 0, {3.0}, nullptr},
      {"MalformedFirstNumber", "1e\n3\n", 0, {}, "line 1: \"1e\" is not a number"},
      {"OverflowingFirstNumber", "1e999\n3\n", 0, {}, "line 1: \"1e999\" is not a number"},
      {"HeaderWithADigit", "flow 2010\n3\n", 0, {}, "line 1 holds 2 columns"},
      {"LongLineOfNumbers", longLine + "\n3\n", 0, {}, "line 1 holds 200000 columns"},
      {"TabColumnsWithoutChoice", "1\t2\n3\t4\n", 0, {}, "line 1 holds 2 columns"},
      {"BlankColumnsWithoutChoice", "1  2\n3 4\n", 0, {}, "(--column N)"},
      {"CsvHeaderWithoutChoice", "year,peak\n1901,3\n", 0, {}, "line 1 holds 2 columns"},
      {"DecimalCommaIsOneValue", "1,5\n2,5\n", 0, {1.5, 2.5}, nullptr},
      {"BlankColumnChosen", "year peak\n1901   30\n1902 40\n", 2, {30.0, 40.0}, nullptr},
      {"TabColumnChosen", "1901\t30\n1902\t40\n", 2, {30.0, 40.0}, nullptr},
  };
  for (const Row& row : rows) {
    TempFolder folder;
    WriteBytes(folder / "v.txt", row.bytes);
    const ValueFile file = ReadValueFile(folder / "v.txt", row.column);
    if (row.error == nullptr) {
      EXPECT_TRUE(file.error.empty()) << row.name << ": " << file.error;
      EXPECT_EQ(Values(file), row.values) << row.name;
    } else {
      EXPECT_NE(file.error.find(row.error), std::string::npos) << row.name << ": " << file.error;
    }
  }
}

}  // namespace
}  // namespace quilmor::textio

namespace quilmor::textio {
namespace {

using Column = std::vector<std::optional<double>>;
constexpr std::nullopt_t kNone = std::nullopt;

struct TableRow {
  const char* what;
  const char* text;
  bool wide;  // false: a long table by columns "st" and "v"
  std::vector<std::string> names;
  std::vector<Column> values;
  std::vector<std::string> errors;  // per column; "" none
};

TEST(ReadTableColumns, EachSeriesOfAWideOrLongTable) {
  const std::vector<TableRow> rows = {
      {"columns of different lengths", "a,b\n1,2\n3\n4,5\n", true,
       {"a", "b"}, {{1.0, 3.0, 4.0}, {2.0, kNone, 5.0}}, {"", ""}},
      {"a bad cell refuses its column only", "a;b\n1;2,5\nx;3\n", true,
       {"a", "b"}, {{}, {2.5, 3.0}}, {"line 3: \"x\" is not a number", ""}},
      {"cells beyond the names make columns of their own", "q\n1\n2\t7\n", true,
       {"q", "t_2"}, {{1.0, 2.0}, {kNone, 7.0}}, {"", ""}},
      {"quoted names, blank line, empty column", "\"P 1\",\n1,\n\n2,\n", true,
       {"P 1", "t_2"}, {{1.0, kNone, 2.0}, {}}, {"", "holds no values"}},
      {"long table by header names, in order of appearance",
       "v,st\n1,B\n2,A\n3,B\n", false, {"B", "A"}, {{1.0, 3.0}, {2.0}}, {"", ""}},
      {"long table without a header", "B,1\nA,2\nB,x\n", false,
       {"B", "A"}, {{}, {2.0}}, {"line 3: \"x\" is not a number", ""}},
  };
  for (const TableRow& row : rows) {
    SCOPED_TRACE(row.what);
    std::string error;
    const std::vector<NamedColumn> columns =
        row.wide ? ReadWideColumns(SplitLines(row.text), "t.csv", error)
                 : ReadLongColumns(SplitLines(row.text), "t.csv",
                                   std::string(row.text).rfind("v,st", 0) == 0 ? "st" : "1",
                                   std::string(row.text).rfind("v,st", 0) == 0 ? "v" : "2", error);
    ASSERT_EQ(error, "");
    ASSERT_EQ(columns.size(), row.names.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
      EXPECT_EQ(columns[c].name, row.names[c]);
      EXPECT_NE(columns[c].values.error.find(row.errors[c]), std::string::npos)
          << columns[c].values.error;
      EXPECT_EQ(row.errors[c].empty(), columns[c].values.error.empty()) << columns[c].values.error;
      if (row.errors[c].empty()) {
        EXPECT_EQ(Values(columns[c].values), row.values[c]);
      }
    }
  }
}

TEST(ReadTableColumns, WholeFileRefusals) {
  std::string error;
  EXPECT_TRUE(ReadWideColumns({}, "e.csv", error).empty());
  EXPECT_NE(error.find("empty"), std::string::npos);
  EXPECT_TRUE(ReadWideColumns({std::string("\xFF\xFE" "a\0,\0", 6)}, "u.csv", error).empty());
  EXPECT_NE(error.find("UTF-16"), std::string::npos);
  EXPECT_TRUE(ReadLongColumns({"name,value", "A,1"}, "l.csv", "station", "value", error).empty());
  EXPECT_NE(error.find("no column \"station\""), std::string::npos);
  EXPECT_TRUE(ReadLongColumns({"name,value", "A,1", "B"}, "l.csv", "2", "1", error).empty());
  EXPECT_NE(error.find("line 3"), std::string::npos);
}

// The columns a file offers are the columns the reader takes with --column N:
// every offered column reads, the count agrees for every separator, and the
// last value of the last column is the one on the file's last line.
TEST(ValueFileColumns, OfferWhatTheReaderReads) {
  struct Row {
    const char* name;
    const char* content;
    std::vector<std::string> offered;
    std::vector<double> lastColumn;  // the values of the last offered column
  };
  const Row rows[] = {
      {"Comma", "year,flow\n1990,30.5\n1991,41\n", {"year", "flow"}, {30.5, 41}},
      {"Semicolon", "year;flow\n1990;30,5\n1991;41\n", {"year", "flow"}, {30.5, 41}},
      {"Tab", "a\tb\tc\n1\t2\t3\n4\t5\t6\n", {"a", "b", "c"}, {3, 6}},
      {"Blanks", "  1990   30.5\n1991 41\n", {"Column 1", "Column 2"}, {30.5, 41}},
      {"BlanksWithHeader", "year flow\n1990 30.5\n1991  41\n", {"year", "flow"}, {30.5, 41}},
      {"TabsAfterBlankHeader", "Peak flow\tYear\n30.5\t1990\n41\t1991\n",
       {"Peak flow", "Year"}, {1990, 1991}},
      // A header of another count names no column.
      {"HeaderOfOtherCount", "year;flow;note\n1990;30\n1991;41\n",
       {"Column 1", "Column 2"}, {30, 41}},
      {"ByteOrderMark", "\xEF\xBB\xBF" "1;2\n3;4\n", {"Column 1", "Column 2"}, {2, 4}},
      {"OneColumn", "flow\n30.5\n41\n", {}, {}},
      {"DecimalCommas", "30,5\n41,25\n", {}, {}},
      {"QuotedDecimalCommas", "\"30,5\"\n\"41,25\"\n", {}, {}},
  };
  TempFolder folder;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto path = folder / (std::string(row.name) + ".txt");
    WriteBytes(path, row.content);
    const std::vector<std::string> offered = ValueFileColumns(path);
    EXPECT_EQ(offered, row.offered);
    if (offered.empty()) {
      EXPECT_TRUE(ReadValueFile(path).error.empty()) << ReadValueFile(path).error;
      continue;
    }
    EXPECT_NE(ReadValueFile(path).error, "");  // several columns: --column is needed
    for (std::size_t n = 1; n <= offered.size(); ++n) {
      const ValueFile file = ReadValueFile(path, static_cast<int>(n));
      EXPECT_EQ(file.error, "") << "column " << n;
      if (n == offered.size()) {
        std::vector<double> values;
        for (const ValueRow& value : file.rows) values.push_back(value.value.value_or(-1));
        EXPECT_EQ(values, row.lastColumn);
      }
    }
    // One beyond the last is refused.
    EXPECT_NE(ReadValueFile(path, static_cast<int>(offered.size()) + 1).error, "");
  }
}

}  // namespace
}  // namespace quilmor::textio
