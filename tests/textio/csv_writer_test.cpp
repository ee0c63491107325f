#include "textio/csv_writer.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace quilmor::textio {
namespace {

TEST(CsvNumber, ShortestRoundTrip) {
  struct Row {
    double value;
    const char* text;
  };
  const std::vector<Row> rows = {
      {0.1, "0.1"},
      {366.25, "366.25"},
      {-2.5, "-2.5"},
      {1e-05, "1e-05"},
      {1000.0, "1000"},
      {1e21, "1e+21"},
      {0.1 + 0.2, "0.30000000000000004"},
      {0.0, "0"},
      {-0.0, "-0"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {std::numeric_limits<double>::quiet_NaN(), ""},
  };
  for (const Row& row : rows) EXPECT_EQ(CsvNumber(row.value), row.text);
  EXPECT_EQ(CsvNumber(std::optional<double>()), "");
  EXPECT_EQ(CsvNumber(std::optional<double>(2.0)), "2");
}

TEST(ShortNumber, SignificantDigits) {
  EXPECT_EQ(ShortNumber(366.2149), "366.215");
  EXPECT_EQ(ShortNumber(15000000.0), "1.5e+07");
  EXPECT_EQ(ShortNumber(std::numeric_limits<double>::quiet_NaN()), "");
}

TEST(CsvField, QuotesOnlyWhenNeeded) {
  struct Row {
    const char* in;
    const char* out;
  };
  const std::vector<Row> rows = {
      {"plain", "plain"},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\nlines", "\"two\nlines\""},
      {"", ""},
  };
  for (const Row& row : rows) EXPECT_EQ(CsvField(row.in), row.out) << row.in;
}

Table DesignTable() {
  return {{{"T"}, {"X"}, {"name", Align::kLeft}, {"risk"}},
          {{"2", "101.5", "Gumbel, mirrored", ""}, {"1000", "366.25", "Normal", "0.0488"}}};
}

TEST(FormatCsv, HeaderRowsAndCrLf) {
  EXPECT_EQ(FormatCsv(DesignTable()),
            "T,X,name,risk\r\n"
            "2,101.5,\"Gumbel, mirrored\",\r\n"
            "1000,366.25,Normal,0.0488\r\n");
  EXPECT_EQ(FormatCsv(Table{{{"only"}}, {}}), "only\r\n");
}

TEST(FormatAlignedTable, RightAlignedNumbersLeftAlignedTexts) {
  EXPECT_EQ(FormatAlignedTable(DesignTable()),
            "   T       X  name                risk\n"
            "   2   101.5  Gumbel, mirrored\n"
            "1000  366.25  Normal            0.0488\n");
}

TEST(FormatTabSeparated, OneLinePerRowTabsBetweenCells) {
  const Table table{{{"T"}, {"name", Align::kLeft}, {"X"}},
                    {{"10", "Gumbel", "42.5"}, {"100", "two\tparts\r\n", ""}}};
  EXPECT_EQ(FormatTabSeparated(table), "T\tname\tX\n10\tGumbel\t42.5\n100\ttwo parts  \t\n");
}

}  // namespace
}  // namespace quilmor::textio
