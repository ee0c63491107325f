#include <gtest/gtest.h>

#include <sstream>

#include <cmath>

#include "calculator/inverse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::calculator {
namespace {

TEST(XDecimals, FollowsTheLargestValue) {
  struct Row {
    double value;
    int decimals;
  };
  for (const Row& r : {Row{-5.0, 4}, Row{0.999, 4}, Row{1.0, 3}, Row{9.99, 3}, Row{10.0, 2},
                       Row{99.9, 2}, Row{100.0, 1}, Row{499.9, 1}, Row{500.0, 0}, Row{2500.0, 0}}) {
    EXPECT_EQ(XDecimals(r.value), r.decimals) << r.value;
  }
}

TEST(PrefillXArrays, TakesPrintedFractionsOrFallsBackToRankShares) {
  XConfidence state;
  state.CalcX.assign(5, 0.0);
  state.LowerX.assign(5, 0.0);
  state.UpperX.assign(5, 0.0);
  // Row 2 prints a standard deviation of 0: 0.4 i/N, 0.2 i/N, i/N with i = 2, N = 4.
  PrefillXArrays(state, {{1.0, 1, 20.0, 25.0, 5.0, 15.0, 40.0},
                         {2.0, 2, 40.0, 45.0, 0.0, 35.0, 60.0},
                         {3.0, 3, 60.0, 65.0, 5.0, 55.0, 80.0},
                         {4.0, 4, 80.0, 85.0, 5.0, 75.0, 95.0}});
  EXPECT_DOUBLE_EQ(state.CalcX[1], 0.25);
  EXPECT_DOUBLE_EQ(state.LowerX[1], 0.05);
  EXPECT_DOUBLE_EQ(state.UpperX[1], 0.15);
  EXPECT_DOUBLE_EQ(state.CalcX[2], 0.2);
  EXPECT_DOUBLE_EQ(state.LowerX[2], 0.1);
  EXPECT_DOUBLE_EQ(state.UpperX[2], 0.5);
}

// Three ranks 10, 20, 30 (two decimals), serials 3, 1, 2.
struct SectionFixture {
  report::ReportModel model;
  XConfidence state;
  std::vector<FrequencyRow>& rows = state.Rows;
  SectionFixture() {
    model.N = 3;
    model.Fit.Code = 4;
    model.Values = {0.0, 10.0, 20.0, 30.0};
    state.Rows = {{10.0, 3, 25.0, 25.0, 1.0, 20.0, 30.0},
                  {20.0, 1, 50.0, 50.0, 1.0, 45.0, 55.0},
                  {30.0, 2, 75.0, 75.0, 1.0, 70.0, 80.0}};
    state.CalcX.assign(4, 0.0);
    state.LowerX.assign(4, 0.0);
    state.UpperX.assign(4, 0.0);
  }
  void Set(int i, double calc, double lower, double upper) {
    state.CalcX[static_cast<std::size_t>(i)] = calc;
    state.LowerX[static_cast<std::size_t>(i)] = lower;
    state.UpperX[static_cast<std::size_t>(i)] = upper;
  }
  // The section as the report prints it.
  std::string Text() {
    FinishXConfidence(state, model);
    return XConfidenceText(model, state);
  }
};

TEST(XConfidenceText, LaysOutTheSectionLineByLine) {
  SectionFixture f;
  f.Set(1, 11.0, -1.0, 12.0);  // negative lower limit, no negative data: 0
  f.Set(2, 19.0, 15.0, 18.0);  // upper not above calc: 1.01 x 19 = 19.19
  f.Set(3, 31.0, 25.0, 35.0);
  const std::string dashes = " " + std::string(58, '-');
  // SSR = 1 + 1 + 1 = 3; mean 20; SST = 100 + 0 + 100 = 200;
  // R = sqrt(1 - 3/200) = 0.992471...
  const std::vector<std::string> expected = {
      "",
      "",
      " Confidence limits of calculated X-values",
      dashes,
      "   Observed            Calculated      90% confidence limit  ",
      "   X-value   Serial    X-Value         of calulated X-Value  ",
      "   Ranked     No.                      Lower        Upper    ",
      dashes,
      "   10.00       3        11.00           0.00          12.00",
      "   20.00       1        19.00          15.00          19.19",
      "   30.00       2        31.00          25.00          35.00",
      dashes,
      " Efficiency coefficient (R) of calculated and observed ",
      " data values :   0.99247",
      "",
      "  4",
  };
  const std::string text = f.Text();
  EXPECT_EQ(textio::SplitLines(text), expected);
  EXPECT_EQ(text.find('\n'), 1u);  // CR LF line ends
  EXPECT_EQ(f.state.LowerX[1], 0.0);
  EXPECT_DOUBLE_EQ(f.state.UpperX[2], 19.19);
}

TEST(XConfidenceText, NegativeDataKeepNegativeLimitsAndTheUpperRuleStaysAbove) {
  SectionFixture f;
  f.model.Values[1] = -10.0;
  f.model.Values[3] = 3.0;  // largest value 3: three decimals
  f.rows = {{-10.0, 1, 25.0, 25.0, 1.0, 20.0, 30.0},
            {1.0, 2, 50.0, 50.0, 1.0, 45.0, 55.0},
            {3.0, 3, 75.0, 75.0, 1.0, 70.0, 80.0}};
  f.Set(1, -10.0, -12.0, -11.0);  // upper not above calc: 1% above -10 is -9.9
  f.Set(2, 1.0, 0.5, 2.0);
  f.Set(3, 3.0, 2.5, 3.5);
  const auto lines = textio::SplitLines(f.Text());
  EXPECT_EQ(lines[8], " -10.000       1      -10.000        -12.000         -9.900");
  // A perfect fit prints 0.99999.
  EXPECT_EQ(lines[13], " data values :   0.99999");
}

// A fit so poor that its inverse leaves the data's sign or crosses its limits
// prints them ordered and, for data without negative values, not below 0.
TEST(XConfidenceText, PoorFitsKeepTheirLimitsOrderedAndWithinTheDataSign) {
  struct Row {
    double values0;  // the smallest data value
    double calc, lower, upper;
    double printedCalc, printedLower, printedUpper;
  };
  const Row rows[] = {
      {1.0, -145.0, 5332.0, -146.0, 0.0, 0.0, 0.0},
      {1.0, 20.0, 30.0, 25.0, 20.0, 20.0, 25.0},
      {1.0, 20.0, 30.0, 10.0, 20.0, 20.0, 20.2},
      {-10.0, -5.0, 3.0, -6.0, -5.0, -5.0, -4.95},
  };
  for (const Row& row : rows) {
    SectionFixture f;
    f.model.Values[1] = row.values0;
    f.model.Values[3] = 3.0;  // three decimals
    f.Set(1, row.calc, row.lower, row.upper);
    f.Set(2, 1.0, 0.5, 2.0);
    f.Set(3, 3.0, 2.5, 3.5);
    const auto lines = textio::SplitLines(f.Text());
    std::istringstream in(lines[8]);
    double observed = 0, calc = 0, lower = 0, upper = 0;
    int serial = 0;
    in >> observed >> serial >> calc >> lower >> upper;
    EXPECT_EQ(calc, row.printedCalc) << lines[8];
    EXPECT_EQ(lower, row.printedLower) << lines[8];
    EXPECT_EQ(upper, row.printedUpper) << lines[8];
  }
}

TEST(XConfidenceText, FitWorseThanTheMeanPrintsZero) {
  SectionFixture f;
  f.Set(1, 30.0, 0.0, 40.0);
  f.Set(2, 100.0, 0.0, 140.0);
  f.Set(3, 10.0, 0.0, 40.0);
  const auto lines = textio::SplitLines(f.Text());
  EXPECT_EQ(lines[13], " data values :   0.00000");
}

}  // namespace
}  // namespace quilmor::calculator
