#include "calculator/finish_report.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "calculator/parameter_file.hpp"
#include "engine/scratch_files.hpp"
#include "report_body.hpp"
#include "scripted_interaction.hpp"
#include "temp_folder.hpp"
#include "textio/text_file.hpp"

namespace quilmor::calculator {
namespace {

using engine::AnalysisState;
using testing::BodyRow;

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
  AnalysisState state;
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
  AnalysisState state;
  std::vector<FrequencyRow> rows{{10.0, 3, 25.0, 25.0, 1.0, 20.0, 30.0},
                                 {20.0, 1, 50.0, 50.0, 1.0, 45.0, 55.0},
                                 {30.0, 2, 75.0, 75.0, 1.0, 70.0, 80.0}};
  SectionFixture() {
    state.N = 3;
    state.Code = 4;
    state.Values[1] = 10.0;
    state.Values[2] = 20.0;
    state.Values[3] = 30.0;
  }
  void Set(int i, double calc, double lower, double upper) {
    state.CalcX[static_cast<std::size_t>(i)] = calc;
    state.LowerX[static_cast<std::size_t>(i)] = lower;
    state.UpperX[static_cast<std::size_t>(i)] = upper;
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
  const std::string text = XConfidenceText(f.state, f.rows);
  EXPECT_EQ(textio::SplitLines(text), expected);
  EXPECT_EQ(text.find('\n'), 1u);  // CR LF line ends
  EXPECT_EQ(f.state.LowerX[1], 0.0);
  EXPECT_DOUBLE_EQ(f.state.UpperX[2], 19.19);
}

TEST(XConfidenceText, NegativeDataKeepNegativeLimitsAndTheUpperRuleMayGoBelow) {
  SectionFixture f;
  f.state.Values[1] = -10.0;
  f.state.Values[3] = 3.0;  // largest value 3: three decimals
  f.rows = {{-10.0, 1, 25.0, 25.0, 1.0, 20.0, 30.0},
            {1.0, 2, 50.0, 50.0, 1.0, 45.0, 55.0},
            {3.0, 3, 75.0, 75.0, 1.0, 70.0, 80.0}};
  f.Set(1, -10.0, -12.0, -11.0);  // upper not above calc: 1.01 x -10 = -10.1
  f.Set(2, 1.0, 0.5, 2.0);
  f.Set(3, 3.0, 2.5, 3.5);
  const auto lines = textio::SplitLines(XConfidenceText(f.state, f.rows));
  EXPECT_EQ(lines[8], " -10.000       1      -10.000        -12.000        -10.100");
  // A perfect fit prints 0.99999.
  EXPECT_EQ(lines[13], " data values :   0.99999");
}

TEST(XConfidenceText, FitWorseThanTheMeanPrintsZero) {
  SectionFixture f;
  f.Set(1, 30.0, 0.0, 40.0);
  f.Set(2, 100.0, 0.0, 140.0);
  f.Set(3, 10.0, 0.0, 40.0);
  const auto lines = textio::SplitLines(XConfidenceText(f.state, f.rows));
  EXPECT_EQ(lines[13], " data values :   0.00000");
}

// --- FinishReport --------------------------------------------------------------

class FinishReportTest : public ::testing::Test {
 protected:
  testing::TempFolder user;
  testing::TempFolder scratch;
  testing::ScriptedInteraction ui;
  report::TDMQuilmor dm{ui};
  AnalysisState state;
  std::string body;

  // A Gumbel fit (A = 0.1, B = -2) of three values 10, 20, 30.
  void SetUp() override {
    dm.FileName = (user / "run.inp").string();
    dm.NrOfData = 3;
    state.N = 3;
    state.Code = 4;
    state.Values[1] = 10.0;
    state.Values[2] = 20.0;
    state.Values[3] = 30.0;
    body = testing::ReportBody({{10.0, 3, 25.0, 30.0, 26.46, 5.5, 50.1},
                                {20.0, 1, 50.0, 60.0, 28.28, 40.7, 79.2},
                                {30.0, 2, 75.0, 80.0, 23.09, 58.4, 95.0}},
                               2);
    testing::WriteBytes(scratch / engine::kReportBodyFile, body);
    testing::WriteBytes(scratch / engine::kFitSummaryFile,
                        testing::FitSummaryText(3, 4, 0.0, {0.1, -2.0}));
  }
};

TEST_F(FinishReportTest, JoinsBodyAndSectionAndRemovesTheTemporaryFiles) {
  testing::WriteBytes(user / "run.out.Tmp", "left over");
  ASSERT_FALSE(FinishReport(dm, state, scratch.Path()));

  EXPECT_EQ(dm.FileName, (user / "run.out").string());
  EXPECT_TRUE(state.NameIsCurrent);
  const std::string report = testing::ReadBytes(user / "run.out");
  ASSERT_EQ(report.substr(0, body.size()), body);
  const std::string section = report.substr(body.size());
  EXPECT_EQ(section.substr(0, 47), "\r\n\r\n Confidence limits of calculated X-values\r\n");
  // Gumbel X at 30%: -(ln(-ln 0.3) + (-2))/0.1 = 18.1437...
  EXPECT_NE(section.find("   10.00       3        18.14"), std::string::npos) << section;
  EXPECT_EQ(section.substr(section.size() - 7), "\r\n  4\r\n");
  EXPECT_EQ(testing::ReadBytes(user / "run.aux"), ParameterFileText(state));

  for (const char* name : {engine::kReportBodyFile, engine::kValuesFile, engine::kFitSummaryFile}) {
    EXPECT_FALSE(std::filesystem::exists(scratch / name)) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(user / "run.out.Tmp"));
  EXPECT_TRUE(ui.progress.empty());
}

TEST_F(FinishReportTest, TellsThatItIsAlmostDoneOnlyAboveAThousandData) {
  dm.NrOfData = 1000;
  ASSERT_FALSE(FinishReport(dm, state, scratch.Path()));
  EXPECT_TRUE(ui.progress.empty());

  SetUp();
  dm.NrOfData = 1001;
  ASSERT_FALSE(FinishReport(dm, state, scratch.Path()));
  EXPECT_EQ(ui.progress, std::vector<std::string>{" Almost done ..."});
}

TEST_F(FinishReportTest, ADamagedBodyLeavesEarlierFilesWhole) {
  testing::WriteBytes(user / "run.out", "earlier report");
  testing::WriteBytes(user / "run.aux", "earlier parameters");
  testing::WriteBytes(scratch / engine::kReportBodyFile, "just a few lines\r\n");
  const auto error = FinishReport(dm, state, scratch.Path());
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("TmpFile.Tmp"), std::string::npos);
  EXPECT_EQ(testing::ReadBytes(user / "run.out"), "earlier report");
  EXPECT_EQ(testing::ReadBytes(user / "run.aux"), "earlier parameters");
  EXPECT_FALSE(state.NameIsCurrent);
}

TEST_F(FinishReportTest, AMissingSummaryIsReported) {
  std::filesystem::remove(scratch / engine::kFitSummaryFile);
  const auto error = FinishReport(dm, state, scratch.Path());
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("Temp.tmp"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(user / "run.out"));
}

TEST_F(FinishReportTest, AReportWithoutDistributionHasNoSection) {
  const std::string noFit =
      " RESULTS OF Quilmor PROGRAM\r\n\r\n\r\n t\r\n t\r\n x\r\n x\r\n\r\n"
      " The frequency distibution cannot be found :\r\n";
  testing::WriteBytes(scratch / engine::kReportBodyFile, noFit);
  testing::WriteBytes(scratch / engine::kFitSummaryFile,
                      testing::FitSummaryText(3, 0, 0.0, {0.0, 0.0}));
  ASSERT_FALSE(FinishReport(dm, state, scratch.Path()));
  EXPECT_EQ(testing::ReadBytes(user / "run.out"), noFit);
  EXPECT_EQ(textio::SplitLines(testing::ReadBytes(user / "run.aux")).front(), "0");
}

}  // namespace
}  // namespace quilmor::calculator
