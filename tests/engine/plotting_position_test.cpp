#include "engine/plotting_position.hpp"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/fit_series.hpp"

namespace quilmor::engine {
namespace {

struct ChoiceRow {
  const char* option;
  std::string line;                   // the report's heading line; empty: none
  std::array<double, 4> frequencies;  // ranks 1..4 of 4, worked by hand
};

TEST(PlottingPosition, EveryChoiceOnFourValues) {
  const std::vector<ChoiceRow> rows = {
      {"weibull", "", {0.2, 0.4, 0.6, 0.8}},
      {"Gringorten", " Plotting position: Gringorten (i-0.44)/(N+0.12)",
       {0.56 / 4.12, 1.56 / 4.12, 2.56 / 4.12, 3.56 / 4.12}},
      {"cunnane", " Plotting position: Cunnane (i-0.4)/(N+0.2)",
       {0.6 / 4.2, 1.6 / 4.2, 2.6 / 4.2, 3.6 / 4.2}},
      {"hazen", " Plotting position: Hazen (i-0.5)/N", {0.125, 0.375, 0.625, 0.875}},
      {"BLOM", " Plotting position: Blom (i-0.375)/(N+0.25)",
       {0.625 / 4.25, 1.625 / 4.25, 2.625 / 4.25, 3.625 / 4.25}},
      {"a=0.3", " Plotting position: a=0.3 (i-0.3)/(N+0.4)",
       {0.7 / 4.4, 1.7 / 4.4, 2.7 / 4.4, 3.7 / 4.4}},
      {"a=0.44", " Plotting position: Gringorten (i-0.44)/(N+0.12)",
       {0.56 / 4.12, 1.56 / 4.12, 2.56 / 4.12, 3.56 / 4.12}},
      {"a=0", "", {0.2, 0.4, 0.6, 0.8}},
  };
  // The values as a file lists them, out of order; ranks follow the sort.
  std::vector<textio::InputRow> input;
  for (const double value : {30.0, 10.0, 40.0, 20.0}) {
    input.push_back({static_cast<int>(input.size()) + 1, value});
  }
  for (const ChoiceRow& row : rows) {
    const std::optional<PlottingPosition> position = ParsePlottingPosition(row.option);
    ASSERT_TRUE(position) << row.option;
    EXPECT_EQ(PlottingPositionLine(*position), row.line) << row.option;
    const PreparedSeries series = PrepareData(input, 0.0, *position);
    ASSERT_EQ(series.N, 4);
    for (int i = 1; i <= 4; ++i) {
      EXPECT_NEAR(series.PlotFreq[i], row.frequencies[i - 1], 1e-15) << row.option << " rank " << i;
    }
    if (!row.line.empty()) {
      EXPECT_EQ(PlottingAlphaOfLine(row.line), position->alpha) << row.line;
    }
  }
}

TEST(PlottingPosition, TheDefaultIsTheMethodsOwnDivision) {
  // Bit for bit i/(N+1), so that every default output stays as it was.
  for (const int n : {1, 6, 116, 2500}) {
    for (int i = 1; i <= n; i += 7) {
      EXPECT_EQ(PlottingFrequency(i, n, 0.0), static_cast<double>(i) / (n + 1));
    }
  }
}

TEST(PlottingPosition, RefusedTexts) {
  for (const char* text : {"", "weibul", "a=", "a=-0.1", "a=0.51", "a=nan", "a=0.3x", "b=0.3",
                           "a=1e999", " hazen"}) {
    EXPECT_FALSE(ParsePlottingPosition(text)) << text;
  }
  EXPECT_NE(PlottingPositionMessage("a=2").find("\"a=2\""), std::string::npos);
  for (const char* line : {" Number of data used: 12", " Plotting position: Hazen", "",
                           " Plotting position: x (i-0.9)/(N-0.8)"}) {
    EXPECT_FALSE(PlottingAlphaOfLine(line)) << line;
  }
}

}  // namespace
}  // namespace quilmor::engine
