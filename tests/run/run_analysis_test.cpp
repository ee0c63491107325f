#include "run/run_analysis.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "report/report_writer.hpp"
#include "scripted_interaction.hpp"
#include "textio/input_file.hpp"
#include "textio/number_format.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::run {
namespace {

using Strings = std::vector<std::string>;

// Twelve values in file order; sorted: 2.2 (3), 2.8 (11), 3.1 (1), 3.9 (7),
// 4.4 (9), 4.7 (2), 5.0 (10), 5.5 (5), 6.1 (6), 6.6 (12), 7.3 (8), 8.9 (4).
const std::vector<double> kTwelve = {3.1, 4.7, 2.2, 8.9, 5.5, 6.1, 3.9, 7.3, 4.4, 5.0, 2.8, 6.6};

class RunAnalysisTest : public ::testing::Test {
 protected:
  quilmor::testing::ScriptedInteraction ui;
  AnalysisRequest request;
  textio::InputFileContent input;
  AnalysisResult result;
  const std::string inputName = "/data/series.inp";

  // The input as an input file with these values holds it.
  void WriteInput(const std::vector<double>& values, double threshold = -1000.0) {
    input = textio::ParseInputFile(textio::SplitLines(
        textio::RenderInputFile("Run test", "twelve values", inputName, threshold, values)));
    request.inputName = inputName;
  }

  void Run() { result = RunAnalysis(input, request, ui); }

  Strings Body() const { return textio::SplitLines(report::ReportBodyText(result.model)); }

  // Index of the first line equal to `text`, or lines.size().
  static std::size_t Find(const Strings& lines, const std::string& text) {
    std::size_t i = 0;
    while (i < lines.size() && lines[i] != text) ++i;
    return i;
  }

  // The numbers of one table row.
  static std::vector<double> Numbers(const std::string& line) {
    std::vector<double> numbers;
    textio::LineScanner scanner(line);
    while (auto value = scanner.ReadReal()) numbers.push_back(*value);
    return numbers;
  }
};

// Control characters of an input file's titles never reach the report.
TEST_F(RunAnalysisTest, TitlesWithControlCharactersArePrintedWithQuestionMarks) {
  const struct {
    std::string title1, title2, shown1, shown2;
    bool told;
  } rows[] = {
      {std::string("a\0b", 3), "mm", " a?b", " mm", true},
      {"esc\x1b[2J", "tab\tx", " esc?[2J", " tab?x", true},
      {"plain", "text", " plain", " text", false},
  };
  for (const auto& row : rows) {
    WriteInput({3, 5, 7, 18, 43, 85, 91, 98, 100, 130, 230, 487});
    input.title1 = row.title1;
    input.title2 = row.title2;
    request.preference = "4";
    ui.messages.clear();
    Run();
    const Strings body = Body();
    ASSERT_GT(body.size(), 4u);
    EXPECT_EQ(body[3], row.shown1);
    EXPECT_EQ(body[4], row.shown2);
    EXPECT_EQ(!ui.messages.empty(), row.told);
  }
}

TEST_F(RunAnalysisTest, PreferredWeibullReport) {
  WriteInput(kTwelve);
  request.preference = "57";
  Run();
  ASSERT_FALSE(result.error);
  ASSERT_FALSE(result.Stopped());
  EXPECT_EQ(result.model.Fit.Code, 57);
  EXPECT_EQ(result.model.NrOfData, 12);

  const Strings lines = Body();
  ASSERT_GT(lines.size(), 20u);
  EXPECT_EQ(lines[3], " Run test");
  EXPECT_EQ(lines[5], " Name of input file used: " + inputName);
  EXPECT_EQ(lines[6], " Number of data used: 12");
  EXPECT_EQ(lines[7], " Frequency distribution preferred by user.");
  EXPECT_EQ(lines[9], " Cumulative frequency function of the Weibull type :");
  EXPECT_EQ(lines[11], "     Freq = 1-exp{-(X/C)^A)}");

  // Mean 60.5/12 = 5.0417 (less 0.0001), median at rank 6 = 4.70, sample
  // st.dev 1.9644; D = 2 (largest value 8.9).
  const std::size_t summary =
      Find(lines, " Average X:   5.04     Median X:   4.70     St.Dev. X:  1.964");
  ASSERT_LT(summary, lines.size());

  // Five classes of width (8.9 - 2.2)/5 = 1.34: 3, 3, 3, 2, 1 values.
  const std::size_t intervals = Find(lines, " Interval analysis");
  ASSERT_LT(intervals + 12, lines.size());
  const Strings classRows = Strings(lines.begin() + static_cast<std::ptrdiff_t>(intervals + 5),
                                    lines.begin() + static_cast<std::ptrdiff_t>(intervals + 12));
  const double observed[] = {0.0, 25.0, 25.0, 25.0, 16.7, 8.3, 0.0};
  double calculatedSum = 0.0;
  for (std::size_t j = 0; j < 7; ++j) {
    const std::vector<double> row = Numbers(classRows[j]);
    ASSERT_EQ(row.size(), 4u) << classRows[j];
    EXPECT_EQ(row[2], observed[j]) << classRows[j];
    calculatedSum += row[3];
  }
  // First row from 2.1998 - 0.5*1.3401, last to 8.9001 + 1.5*1.34.
  EXPECT_EQ(classRows[0].substr(0, 18), "    1.53      2.20");
  EXPECT_EQ(classRows[6].substr(0, 18), "    8.90     10.91");
  // The shares of a Weibull function add up to 100 (each printed to 0.1).
  EXPECT_NEAR(calculatedSum, 100.0, 0.35);
  EXPECT_EQ(lines[intervals + 12], " --------------------------------------");

  // Frequency table: ranked values with their serials, rank 100 i/13, and
  // the calculated column is the Weibull function of the fitted line,
  // 1 - exp(-(X/K)^A), K = exp(-B/A).
  const std::size_t table = Find(lines, " Observed and calculated cumulative frequencies");
  ASSERT_LT(table + 17, lines.size());
  const double sorted[] = {2.2, 2.8, 3.1, 3.9, 4.4, 4.7, 5.0, 5.5, 6.1, 6.6, 7.3, 8.9};
  const int serials[] = {3, 11, 1, 7, 9, 2, 10, 5, 6, 12, 8, 4};
  const double a = result.model.Fit.A;
  const double k = std::exp(-result.model.Fit.B / a);
  for (int i = 1; i <= 12; ++i) {
    const std::vector<double> row = Numbers(lines[table + 4 + static_cast<std::size_t>(i)]);
    ASSERT_EQ(row.size(), 7u);
    EXPECT_NEAR(row[0], sorted[i - 1], 1e-9);
    EXPECT_EQ(row[1], serials[i - 1]);
    EXPECT_NEAR(row[2], 100.0 * i / 13.0, 0.0005);
    const double fc = 1.0 - std::exp(-std::pow(sorted[i - 1] / k, a));
    EXPECT_NEAR(row[3], 100.0 * fc, 0.0006) << i;
  }
  EXPECT_EQ(lines[table + 17],
            " ------------------------------------------------------------------");

  // The return-period table closes the body.
  EXPECT_EQ(lines[lines.size() - 2], " Average of absolute differences between calculated and");
  EXPECT_EQ(lines.back().substr(0, 26), " observed return periods :");
  EXPECT_EQ(
      lines.size(),
      Find(lines, " Return period = 1/(1-Cum.Frq), time units as used for the data ") + 5 + 12 + 3);
}

TEST_F(RunAnalysisTest, ShiftedGumbelPrintsTheDataScale) {
  // Smallest value -2.5: shift -2.5, values held as X + 2.5001.
  WriteInput({1.5, -2.5, 0.75, 3.0, -1.25, 2.25, 0.0, 4.5});
  request.preference = "4";
  Run();
  ASSERT_EQ(result.model.Fit.Code, 4);
  const Strings lines = Body();
  EXPECT_EQ(lines[9], "The cumulative frequency function is double exponential (Gumbel):");
  EXPECT_EQ(lines[11], " An additional term C is used : C =    2.50");
  EXPECT_EQ(lines[12], "     Freq = exp[-exp{-(A*(X+C)+B)}]");
  EXPECT_NEAR(result.model.Values[1], -2.5, 1e-9);
  EXPECT_NEAR(result.model.Values[8], 4.5, 1e-9);
  // The series as fitted stays in the fitting scale.
  EXPECT_NEAR(result.series.Values[1], 0.0001, 1e-12);
  // Data mean 8.25/8 = 1.03125; median at rank 4 = 0.75.
  EXPECT_NEAR(result.model.MeanX, 1.03125, 1e-9);
  EXPECT_NEAR(result.model.MedianX, 0.75, 1e-9);
  const std::size_t table = Find(lines, " Observed and calculated cumulative frequencies");
  ASSERT_LT(table + 5, lines.size());
  EXPECT_EQ(lines[table + 5].substr(0, 17), "  -2.500      2  ");
}

TEST_F(RunAnalysisTest, NormalFitStoresTheMeanOfTheValues) {
  WriteInput(kTwelve);
  request.preference = "21";
  Run();
  ASSERT_EQ(result.model.Fit.Code, 21);
  EXPECT_NEAR(result.model.Fit.M, 60.5 / 12.0, 1e-12);
  const Strings lines = Body();
  EXPECT_EQ(lines[9], " The cumulative frequency function is normal.");
  EXPECT_EQ(lines[10], " The numerical method of Hastings is applied.");
  EXPECT_EQ(textio::FormatE23(result.model.Fit.M), " 5.04166666666667E+0000");
}

TEST_F(RunAnalysisTest, StudentSummaryCarriesOnes) {
  WriteInput(kTwelve);
  request.preference = "62";
  Run();
  const int code = result.model.Fit.Code;
  ASSERT_TRUE(code == 62 || code == 63);
  EXPECT_EQ(result.model.Fit.A, 1.0);
  EXPECT_EQ(result.model.Fit.B, 1.0);
  // The average printed and kept is the mean of the data, and the function
  // is written and inverted with it.
  EXPECT_NEAR(result.model.MeanX, 60.5 / 12.0 - 0.0001, 1e-12);
  EXPECT_EQ(result.model.Fit.M, result.model.MeanX);
}

TEST_F(RunAnalysisTest, BestOfAllGivesACompleteReport) {
  WriteInput(kTwelve);
  request.nrOfIntervals = "7";
  request.breakPointAllowed = true;
  Run();
  const Strings lines = Body();
  const std::size_t intervals = Find(lines, " Interval analysis");
  ASSERT_LT(intervals, lines.size());
  // Seven classes: 9 rows between the hyphen lines.
  EXPECT_EQ(lines[intervals + 4], " --------------------------------------");
  EXPECT_EQ(lines[intervals + 14], " --------------------------------------");
  const std::size_t table = Find(lines, " Observed and calculated cumulative frequencies");
  EXPECT_EQ(table, intervals + 17);
  EXPECT_FALSE(result.model.DistributionName.empty());
}

TEST_F(RunAnalysisTest, EqualValuesStopWithoutReport) {
  WriteInput({4, 4, 4, 4, 4, 4});
  Run();
  EXPECT_TRUE(result.Stopped());
  EXPECT_EQ(result.series.N, 6);
  EXPECT_EQ(result.model.N, 0);
}

TEST_F(RunAnalysisTest, ThresholdAboveEveryValueStops) {
  WriteInput({1, 2, 3, 4, 5, 6}, 10.0);
  Run();
  EXPECT_TRUE(result.Stopped());
  EXPECT_EQ(result.series.N, 0);
}

TEST_F(RunAnalysisTest, BadNumberOfIntervalsIsRefusedBeforeAnythingRuns) {
  WriteInput(kTwelve);
  request.nrOfIntervals = "abc";
  Run();
  ASSERT_TRUE(result.error.has_value());
  EXPECT_EQ(*result.error,
            "The number of intervals must be a whole number from 2 to 23, not \"abc\".");
  EXPECT_EQ(result.series.N, 0);
}

TEST_F(RunAnalysisTest, CorruptInputIsAMessage) {
  WriteInput(kTwelve);
  input.corrupt = true;
  input.badLine = 20;
  Run();
  ASSERT_TRUE(result.error.has_value());
  EXPECT_EQ(*result.error, "Real numbers in the inputfile \"" + inputName + "\" are corrupt");
}

TEST_F(RunAnalysisTest, TheZeroThresholdNoticeIsShownOnce) {
  WriteInput({-1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0}, 0.0);
  Run();
  EXPECT_EQ(ui.messages, Strings{"Please be aware that the threshold (cut-off) value is zero so "
                                 "that the negative values are not used."});
  EXPECT_EQ(result.series.N, 6);
}

}  // namespace
}  // namespace quilmor::run
