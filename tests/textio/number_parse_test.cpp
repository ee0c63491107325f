#include "textio/number_parse.hpp"

#include <gtest/gtest.h>

#include <optional>

namespace quilmor::textio {
namespace {

struct RealRow {
  const char* text;
  std::optional<double> expected;
};

class ParseRealTest : public ::testing::TestWithParam<RealRow> {};

TEST_P(ParseRealTest, AcceptsOnlyWholeFiniteNumbers) {
  EXPECT_EQ(ParseReal(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ParseRealTest,
    ::testing::Values(RealRow{"1", 1.0}, RealRow{"-2.5", -2.5}, RealRow{"+3", 3.0},
                      RealRow{"1.5E+03", 1500.0}, RealRow{"5.0E-0001", 0.5},
                      RealRow{".5", 0.5}, RealRow{"7.", 7.0}, RealRow{"1e308", 1e308},
                      RealRow{"-1e308", -1e308}, RealRow{"1e309", std::nullopt},
                      RealRow{"nan", std::nullopt}, RealRow{"inf", std::nullopt},
                      RealRow{"1,5", std::nullopt}, RealRow{"1.5.5", std::nullopt},
                      RealRow{"", std::nullopt}, RealRow{"-", std::nullopt},
                      RealRow{"1e", std::nullopt}, RealRow{"0x10", std::nullopt},
                      RealRow{"12abc", std::nullopt}, RealRow{" 1", std::nullopt}));

TEST(ParseInt, RangeAndShape) {
  EXPECT_EQ(ParseInt("42"), 42);
  EXPECT_EQ(ParseInt("+7"), 7);
  EXPECT_EQ(ParseInt("-3"), -3);
  EXPECT_EQ(ParseInt("2147483648"), std::nullopt);
  EXPECT_EQ(ParseInt("4.0"), std::nullopt);
  EXPECT_EQ(ParseInt(""), std::nullopt);
}

struct ConversionRow {
  const char* text;
  char separator;
  std::optional<double> expected;
};

class StringToFloatTest : public ::testing::TestWithParam<ConversionRow> {};

TEST_P(StringToFloatTest, TriesSystemSeparatorThenTheOther) {
  const ConversionRow& row = GetParam();
  EXPECT_EQ(StringToFloat(row.text, row.separator), row.expected) << row.text;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StringToFloatTest,
    ::testing::Values(ConversionRow{"1.5", '.', 1.5}, ConversionRow{"1,5", '.', 1.5},
                      ConversionRow{"1,5", ',', 1.5}, ConversionRow{"1.5", ',', 1.5},
                      ConversionRow{" 2.5 ", '.', 2.5}, ConversionRow{"-0,25", '.', -0.25},
                      ConversionRow{"1.5E+03", '.', 1500.0},
                      ConversionRow{"1,234.5", '.', std::nullopt},  // no thousands separators
                      ConversionRow{"abc", '.', std::nullopt},
                      ConversionRow{"", '.', std::nullopt},
                      ConversionRow{"nan", '.', std::nullopt}));

TEST(LineScanner, ReadsTokensOfADataRow) {
  LineScanner scanner("    3  4.49000E-0002  rest");
  EXPECT_EQ(scanner.ReadInt(), 3);
  EXPECT_EQ(scanner.ReadReal(), 0.0449);
  EXPECT_FALSE(scanner.AtEnd());
  EXPECT_EQ(scanner.ReadReal(), std::nullopt);
  EXPECT_TRUE(scanner.AtEnd());
}

TEST(LineScanner, SkipsFixedPrefix) {
  LineScanner scanner(" Threshold:    10.00000");
  scanner.Skip(11);
  EXPECT_EQ(scanner.ReadReal(), 10.0);
  LineScanner shortLine("abc");
  shortLine.Skip(11);
  EXPECT_TRUE(shortLine.AtEnd());
  EXPECT_EQ(shortLine.ReadReal(), std::nullopt);
}

}  // namespace
}  // namespace quilmor::textio
