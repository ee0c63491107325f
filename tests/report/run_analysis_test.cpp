#include "report/run_analysis.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/scratch_files.hpp"
#include "scripted_interaction.hpp"
#include "series_fixture.hpp"
#include "temp_folder.hpp"
#include "textio/input_file.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::report {
namespace {

using engine::AnalysisState;
using Strings = std::vector<std::string>;

// Twelve values in file order; sorted: 2.2 (3), 2.8 (11), 3.1 (1), 3.9 (7),
// 4.4 (9), 4.7 (2), 5.0 (10), 5.5 (5), 6.1 (6), 6.6 (12), 7.3 (8), 8.9 (4).
const std::vector<double> kTwelve = {3.1, 4.7, 2.2, 8.9, 5.5, 6.1, 3.9, 7.3, 4.4, 5.0, 2.8, 6.6};

class RunAnalysisTest : public ::testing::Test {
 protected:
  quilmor::testing::ScriptedInteraction ui;
  TDMQuilmor dm{ui};
  AnalysisState state;
  quilmor::testing::TempFolder folder;   // the user's folder
  quilmor::testing::TempFolder scratch;  // the run's scratch folder

  void WriteInput(const std::vector<double>& values, double threshold = -1000.0) {
    const std::filesystem::path input = folder / "series.inp";
    quilmor::testing::WriteBytes(input, textio::RenderInputFile("Run test", "twelve values",
                                                                input.string(), threshold, values));
    dm.FileName = input.string();
  }

  Strings Body() const {
    const auto lines = textio::ReadTextLines(scratch / engine::kReportBodyFile);
    return lines ? *lines : Strings{};
  }

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

TEST_F(RunAnalysisTest, PreferredWeibullReport) {
  WriteInput(kTwelve);
  dm.Preference = "57";
  ASSERT_EQ(RunAnalysis(dm, state, scratch.Path()), std::nullopt);
  ASSERT_FALSE(state.StopFlag);
  EXPECT_EQ(state.Code, 57);
  EXPECT_EQ(dm.NrOfData, 12);

  const Strings lines = Body();
  ASSERT_GT(lines.size(), 20u);
  EXPECT_EQ(lines[3], " Run test");
  EXPECT_EQ(lines[5], " Name of input file used: " + (folder / "series.inp").string());
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
  const Strings classRows = testing::Slice(lines, intervals + 5, intervals + 11);
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
  const double a = state.Slope;
  const double k = std::exp(-state.Intercept / a);
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

  // The fit summary: N, code, shift, A, B.
  const auto summaryFile = textio::ReadTextLines(scratch / engine::kFitSummaryFile);
  ASSERT_TRUE(summaryFile.has_value());
  ASSERT_EQ(summaryFile->size(), 5u);
  EXPECT_EQ((*summaryFile)[0], "  12");
  EXPECT_EQ((*summaryFile)[1], " 57");
  EXPECT_EQ((*summaryFile)[2], " 0.00000000000000E+0000");
  // A in E(23): 15 significant digits.
  const std::vector<double> slope = Numbers((*summaryFile)[3]);
  ASSERT_EQ(slope.size(), 1u);
  EXPECT_NEAR(slope[0], state.Slope, 1e-14 * std::fabs(state.Slope));
}

TEST_F(RunAnalysisTest, ShiftedGumbelPrintsTheDataScale) {
  // Smallest value -2.5: shift -2.5, values held as X + 2.5001.
  WriteInput({1.5, -2.5, 0.75, 3.0, -1.25, 2.25, 0.0, 4.5});
  dm.Preference = "4";
  ASSERT_EQ(RunAnalysis(dm, state, scratch.Path()), std::nullopt);
  ASSERT_EQ(state.Code, 4);
  const Strings lines = Body();
  EXPECT_EQ(lines[9], "The cumulative frequency function is double exponential (Gumbel):");
  EXPECT_EQ(lines[11], " An additional term C is used : C =    2.50");
  EXPECT_EQ(lines[12], "     Freq = exp[-exp{-(A*(X+C)+B)}]");
  EXPECT_NEAR(state.Values[1], -2.5, 1e-9);
  EXPECT_NEAR(state.Values[8], 4.5, 1e-9);
  // Data mean 8.25/8 = 1.03125; median at rank 4 = 0.75.
  EXPECT_NEAR(state.MeanX, 1.03125, 1e-9);
  EXPECT_NEAR(state.MedianX, 0.75, 1e-9);
  const std::size_t table = Find(lines, " Observed and calculated cumulative frequencies");
  ASSERT_LT(table + 5, lines.size());
  EXPECT_EQ(lines[table + 5].substr(0, 17), "  -2.500      2  ");
}

TEST_F(RunAnalysisTest, NormalFitStoresTheMeanOfTheValues) {
  WriteInput(kTwelve);
  dm.Preference = "21";
  ASSERT_EQ(RunAnalysis(dm, state, scratch.Path()), std::nullopt);
  ASSERT_EQ(state.Code, 21);
  EXPECT_NEAR(state.NormMean[21], 60.5 / 12.0, 1e-12);
  const Strings lines = Body();
  EXPECT_EQ(lines[9], " The cumulative frequency function is normal.");
  EXPECT_EQ(lines[10], " The numerical method of Hastings is applied.");
  const auto summaryFile = textio::ReadTextLines(scratch / engine::kFitSummaryFile);
  ASSERT_TRUE(summaryFile.has_value());
  ASSERT_EQ(summaryFile->size(), 5u);
  EXPECT_EQ((*summaryFile)[3], " 5.04166666666667E+0000");
}

TEST_F(RunAnalysisTest, StudentSummaryCarriesOnes) {
  WriteInput(kTwelve);
  dm.Preference = "62";
  ASSERT_EQ(RunAnalysis(dm, state, scratch.Path()), std::nullopt);
  ASSERT_TRUE(state.Code == 62 || state.Code == 63);
  const auto summaryFile = textio::ReadTextLines(scratch / engine::kFitSummaryFile);
  ASSERT_TRUE(summaryFile.has_value());
  ASSERT_EQ(summaryFile->size(), 5u);
  EXPECT_EQ((*summaryFile)[3], " 1.00000000000000E+0000");
  EXPECT_EQ((*summaryFile)[4], " 1.00000000000000E+0000");
  // The average printed and kept is the mean of the data.
  EXPECT_NEAR(state.MeanX, 60.5 / 12.0 - 0.0001, 1e-12);
}

TEST_F(RunAnalysisTest, BestOfAllGivesACompleteReport) {
  WriteInput(kTwelve);
  dm.Preference = "1";
  dm.NrOfIntervals = "7";
  state.BreakPointAllowed = true;
  ASSERT_EQ(RunAnalysis(dm, state, scratch.Path()), std::nullopt);
  const Strings lines = Body();
  const std::size_t intervals = Find(lines, " Interval analysis");
  ASSERT_LT(intervals, lines.size());
  // Seven classes: 9 rows between the hyphen lines.
  EXPECT_EQ(lines[intervals + 4], " --------------------------------------");
  EXPECT_EQ(lines[intervals + 14], " --------------------------------------");
  const std::size_t table = Find(lines, " Observed and calculated cumulative frequencies");
  EXPECT_EQ(table, intervals + 17);
  EXPECT_FALSE(state.DistributionName.empty());
}

TEST_F(RunAnalysisTest, EqualValuesStopWithoutReport) {
  WriteInput({4, 4, 4, 4, 4, 4});
  ASSERT_EQ(RunAnalysis(dm, state, scratch.Path()), std::nullopt);
  EXPECT_TRUE(state.StopFlag);
  EXPECT_EQ(dm.NrOfData, 6);
  EXPECT_FALSE(std::filesystem::exists(scratch / engine::kReportBodyFile));
  EXPECT_FALSE(std::filesystem::exists(scratch / engine::kFitSummaryFile));
}

TEST_F(RunAnalysisTest, ThresholdAboveEveryValueStops) {
  WriteInput({1, 2, 3, 4, 5, 6}, 10.0);
  ASSERT_EQ(RunAnalysis(dm, state, scratch.Path()), std::nullopt);
  EXPECT_TRUE(state.StopFlag);
  EXPECT_EQ(dm.NrOfData, 0);
  EXPECT_FALSE(std::filesystem::exists(scratch / engine::kReportBodyFile));
}

TEST_F(RunAnalysisTest, BadNumberOfIntervalsIsRefusedBeforeAnythingRuns) {
  WriteInput(kTwelve);
  dm.NrOfIntervals = "abc";
  const auto error = RunAnalysis(dm, state, scratch.Path());
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(*error, "The number of intervals must be a whole number from 2 to 23, not \"abc\".");
  EXPECT_EQ(state.N, 0);
  EXPECT_TRUE(std::filesystem::is_empty(scratch.Path()));
}

TEST_F(RunAnalysisTest, MissingInputFileIsAMessage) {
  dm.FileName = (folder / "missing.inp").string();
  const auto error = RunAnalysis(dm, state, scratch.Path());
  EXPECT_TRUE(error.has_value());
  EXPECT_FALSE(std::filesystem::exists(scratch / engine::kReportBodyFile));
}

}  // namespace
}  // namespace quilmor::report
