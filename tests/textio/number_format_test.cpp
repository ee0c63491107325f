#include "textio/number_format.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace quilmor::textio {
namespace {

struct FixedRow {
  double value;
  int width;
  int decimals;
  const char* expected;
};

class FormatFTest : public ::testing::TestWithParam<FixedRow> {};

TEST_P(FormatFTest, WritesFixedPoint) {
  const FixedRow& row = GetParam();
  EXPECT_EQ(FormatF(row.value, row.width, row.decimals), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormatFTest,
    ::testing::Values(
        FixedRow{1.0, 10, 2, "      1.00"},         // the input file's value column
        FixedRow{0.0, 12, 5, "     0.00000"},       // the threshold line
        FixedRow{-250.0, 10, 2, "   -250.00"},
        FixedRow{1.234, 10, 2, "      1.23"},       // the user's 1.234 is analysed as 1.23
        FixedRow{2.675, 7, 2, "   2.67"},           // 2.67499999... in binary: rounds down
        FixedRow{0.125, 5, 2, " 0.13"},             // exact halfway: away from zero
        FixedRow{-0.125, 6, 2, " -0.13"},
        FixedRow{0.375, 5, 2, " 0.38"},
        FixedRow{2.5, 3, 0, "  3"},
        FixedRow{-2.5, 3, 0, " -3"},
        FixedRow{0.5, 1, 0, "1"},
        FixedRow{-0.001, 6, 2, "  0.00"},           // rounds to zero: no minus sign
        FixedRow{-0.004, 1, 2, "0.00"},
        FixedRow{123456.789, 5, 1, "123456.8"},     // too wide: the field widens
        FixedRow{1.005, 7, 2, "   1.00"},           // 1.00499999... in binary
        FixedRow{99.995, 7, 2, " 100.00"},          // 99.99500000000000455 in binary
        FixedRow{99.996, 7, 2, " 100.00"},
        FixedRow{1e-7, 8, 3, "   0.000"}));

TEST(FormatF, NonFiniteIsNamedNotCrashed) {
  EXPECT_EQ(FormatF(std::numeric_limits<double>::quiet_NaN(), 5, 2), "  NaN");
  EXPECT_EQ(FormatF(std::numeric_limits<double>::infinity(), 5, 2), "  INF");
}

struct ScientificRow {
  double value;
  int width;
  const char* expected;
};

class FormatETest : public ::testing::TestWithParam<ScientificRow> {};

TEST_P(FormatETest, WritesScientific) {
  const ScientificRow& row = GetParam();
  EXPECT_EQ(FormatE(row.value, row.width), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormatETest,
    ::testing::Values(
        ScientificRow{0.5, 10, " 5.0E-0001"},
        ScientificRow{0.99, 10, " 9.9E-0001"},
        ScientificRow{-250.0, 10, "-2.5E+0002"},
        ScientificRow{0.0, 10, " 0.0E+0000"},
        ScientificRow{0.125, 10, " 1.3E-0001"},     // exact tie: away from zero
        ScientificRow{0.0449, 14, " 4.49000E-0002"},
        ScientificRow{-0.5, 14, "-5.00000E-0001"},
        ScientificRow{0.0, 14, " 0.00000E+0000"},
        ScientificRow{15.0, 23, " 1.50000000000000E+0001"},
        ScientificRow{-1.0 / 3.0, 23, "-3.33333333333333E-0001"},
        ScientificRow{1e-300, 23, " 1.00000000000000E-0300"},
        ScientificRow{9.96, 10, " 1.0E+0001"},      // rounding carries into the exponent
        ScientificRow{2.5, 9, " 2.5E+0000"},        // narrower than 10: still 2 digits
        ScientificRow{1.0, 30, "     1.00000000000000000E+0000"}));  // at most 18 digits

TEST(FormatE, TwentyThreeCharactersCarryFifteenDigits) {
  const std::string text = FormatE23(3.14159265358979);
  EXPECT_EQ(text.size(), 23u);
  EXPECT_EQ(text, " 3.14159265358979E+0000");
}

struct PatternRow {
  double value;
  const char* expected;
};

class FormatE3Test : public ::testing::TestWithParam<PatternRow> {};

TEST_P(FormatE3Test, WritesReportPattern) {
  EXPECT_EQ(FormatE3(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, FormatE3Test,
                         ::testing::Values(PatternRow{0.001234, " 1.23E-003"},
                                           PatternRow{-0.001234, "-1.23E-003"},
                                           PatternRow{0.005, " 5.00E-003"},
                                           PatternRow{-12345.0, "-1.23E+004"},
                                           PatternRow{0.0, " 0.00E+000"},
                                           PatternRow{1e-200, " 1.00E-200"}));

TEST(FormatI, RightAlignsOrWritesPlain) {
  EXPECT_EQ(FormatI(7, 5), "    7");
  EXPECT_EQ(FormatI(57, 3), " 57");
  EXPECT_EQ(FormatI(123456, 3), "123456");
  EXPECT_EQ(FormatI(-4), "-4");
  EXPECT_EQ(FormatI(2500), "2500");
}

TEST(FormatGeneral, ShortestFormUpToFifteenDigits) {
  EXPECT_EQ(FormatGeneral(0.0), "0");
  EXPECT_EQ(FormatGeneral(2.5), "2.5");
  EXPECT_EQ(FormatGeneral(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(FormatGeneral(30800.0), "30800");
  EXPECT_EQ(FormatGeneral(0.1 + 0.2), "0.3");
  EXPECT_EQ(FormatGeneral(-1e-5), "-1E-5");
}

struct FieldRow {
  const char* name;
  const char* row;
  const char* field;
  const char* expected;
};

void PrintTo(const FieldRow& row, std::ostream* os) { *os << row.name; }

class AppendFieldTest : public ::testing::TestWithParam<FieldRow> {};

TEST_P(AppendFieldTest, KeepsNumbersApart) {
  std::string row = GetParam().row;
  AppendField(row, GetParam().field);
  EXPECT_EQ(row, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, AppendFieldTest,
                         ::testing::Values(
                             // A field that fits its width brings its own blanks: nothing changes.
                             FieldRow{"FittingField", "       0", "      87.5",
                                      "       0      87.5"},
                             // F(15.0) of 2.15e23 has 24 digits: one blank keeps it from the 0.
                             FieldRow{"OutgrownField", "       0", "215395866587996203515904",
                                      "       0 215395866587996203515904"},
                             FieldRow{"NegativeOutgrownField", "12", "-125000000", "12 -125000000"},
                             FieldRow{"FirstFieldOfARow", "", "-125000000", "-125000000"},
                             FieldRow{"AfterABlank", "X ", "123", "X 123"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(AppendField, TheRowOfAnExtremeIntervalTableReadsAsFourNumbers) {
  // Class limits of a series from 3e-100 to 5e8: F(8.0) and F(10.0) overflow.
  std::string row = FormatF(250000000.0, 8, 0);
  AppendField(row, FormatF(500000000.0, 10, 0));
  AppendField(row, FormatF(12.5, 10, 1));
  AppendField(row, FormatF(0.1, 10, 1));
  EXPECT_EQ(row, "250000000 500000000      12.5       0.1");
}

}  // namespace
}  // namespace quilmor::textio
