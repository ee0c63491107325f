#include "calculator/save_run.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/scratch_files.hpp"
#include "report_body.hpp"
#include "scripted_interaction.hpp"
#include "temp_folder.hpp"
#include "textio/text_file.hpp"

namespace quilmor::calculator {
namespace {

using engine::AnalysisState;

// Save-Run with an analysis step that stands in for the fit: it writes a
// Gumbel report body and fit summary for three values, or stops, as the test
// says, and records the scratch folder it was given.
class SaveRunTest : public ::testing::Test {
 protected:
  testing::TempFolder user;
  testing::TempFolder scratchParent;
  testing::ScriptedInteraction ui;
  report::TDMQuilmor dm{ui};
  AnalysisState state;
  bool stop = false;
  bool tooMany = false;
  std::filesystem::path seenScratch;

  void SetUp() override {
    dm.FileName = (user / "run.inp").string();
    dm.Title1 = "Three values";
    dm.NrOfData = 4;
    dm.RowSerials = {1, 2, 3, 4};
    dm.RowValues = {10.0, 20.0, 0.0, 30.0};
    dm.Skipped = {false, false, true, false};
  }

  SaveRunResult Run() {
    SaveRunOptions options;
    options.scratchParent = scratchParent.Path();
    options.analysis = [this](report::TDMQuilmor& module, AnalysisState& s,
                              const std::filesystem::path& scratch) {
      seenScratch = scratch;
      // The input file is on disk before the analysis reads it.
      EXPECT_TRUE(std::filesystem::exists(module.FileName));
      s.StopFlag = stop;
      if (stop) return std::optional<std::string>();
      if (tooMany) testing::WriteBytes(scratch / engine::kWarningFile, "Warning\r\n");
      s.N = 3;
      s.Code = 4;
      s.Values[1] = 10.0;
      s.Values[2] = 20.0;
      s.Values[3] = 30.0;
      s.DistributionName = "Gumbel distribution";
      module.NrOfData = 3;
      testing::WriteBytes(scratch / engine::kReportBodyFile,
                          testing::ReportBody({{10.0, 1, 25.0, 30.0, 26.46, 5.5, 50.1},
                                               {20.0, 2, 50.0, 60.0, 28.28, 40.7, 79.2},
                                               {30.0, 4, 75.0, 80.0, 23.09, 58.4, 95.0}},
                                              2));
      testing::WriteBytes(scratch / engine::kFitSummaryFile,
                          testing::FitSummaryText(3, 4, 0.0, {0.1, -2.0}));
      return std::optional<std::string>();
    };
    return SaveRun(dm, state, options);
  }
};

TEST_F(SaveRunTest, WritesTheInputRunsAndLoadsTheReport) {
  const SaveRunResult result = Run();
  ASSERT_EQ(result.status, SaveRunStatus::Done) << (ui.messages.empty() ? "" : ui.messages[0]);
  const std::string inp = (user / "run.inp").string();
  const std::string out = (user / "run.out").string();
  EXPECT_EQ(result.InputName, inp);
  EXPECT_EQ(result.ReportName, out);
  EXPECT_EQ(dm.FileName, out);
  EXPECT_EQ(ui.progress, (std::vector<std::string>{" Saving data .....", " Progress 25% ....",
                                                   " Calculating .....", " Progress 75% ....",
                                                   " Filing results .."}));
  EXPECT_EQ(ui.pauses, (std::vector<int>{500, 500, 500, 500, 500}));
  EXPECT_EQ(ui.messages, std::vector<std::string>{
                             "The input is saved in " + inp +
                             "   Calculations were done and the output is saved in  " + out});
  // The empty cell is left out of the input file.
  EXPECT_NE(testing::ReadBytes(user / "run.inp").find(" Number of data: 3\r\n"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(user / "run.aux"));
  EXPECT_EQ(dm.AuxCode, 4);
  EXPECT_EQ(dm.ReportLines.front(), " RESULTS OF Quilmor PROGRAM");
  EXPECT_EQ(dm.ReportLines.back(), "  4");
  EXPECT_TRUE(state.NameIsCurrent);
  EXPECT_FALSE(result.limitedTo2500);
  // The run's own scratch folder is gone afterwards.
  EXPECT_EQ(seenScratch.parent_path(), scratchParent.Path());
  EXPECT_FALSE(std::filesystem::exists(seenScratch));
}

TEST_F(SaveRunTest, AStoppedRunShowsTheStopMessageAndWritesNoReport) {
  testing::WriteBytes(user / "run.out", "earlier report");
  testing::WriteBytes(user / "run.aux", "earlier parameters");
  stop = true;
  const SaveRunResult result = Run();
  EXPECT_EQ(result.status, SaveRunStatus::Stopped);
  EXPECT_EQ(ui.messages, std::vector<std::string>{
                             "No data below threshold, or no variation between data. Program "
                             "stops running"});
  EXPECT_EQ(ui.progress, (std::vector<std::string>{" Saving data .....", " Progress 25% ....",
                                                   " Calculating ....."}));
  EXPECT_TRUE(std::filesystem::exists(user / "run.inp"));
  EXPECT_EQ(testing::ReadBytes(user / "run.out"), "earlier report");
  EXPECT_EQ(testing::ReadBytes(user / "run.aux"), "earlier parameters");
  EXPECT_EQ(dm.FileName, (user / "run.inp").string());
}

TEST_F(SaveRunTest, MoreThan2500ValuesAreToldAfterTheRun) {
  tooMany = true;
  const SaveRunResult result = Run();
  ASSERT_EQ(result.status, SaveRunStatus::Done);
  EXPECT_TRUE(result.limitedTo2500);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0],
            "The analysis was limited to the first 2500 data greater than the threshold");
  EXPECT_EQ(ui.messages[1].substr(0, 22), "The input is saved in ");
}

TEST_F(SaveRunTest, AFailingAnalysisIsReported) {
  SaveRunOptions options;
  options.scratchParent = scratchParent.Path();
  options.analysis = [](report::TDMQuilmor&, AnalysisState&, const std::filesystem::path&) {
    return std::optional<std::string>("the input could not be read");
  };
  const SaveRunResult result = SaveRun(dm, state, options);
  EXPECT_EQ(result.status, SaveRunStatus::Failed);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"the input could not be read"});
  EXPECT_FALSE(std::filesystem::exists(user / "run.out"));
}

TEST_F(SaveRunTest, AnInputThatCannotBeWrittenStopsEverything) {
  dm.FileName = (user / "missing" / "run.inp").string();
  const SaveRunResult result = Run();
  EXPECT_EQ(result.status, SaveRunStatus::InputNotWritten);
  EXPECT_TRUE(ui.progress.empty());
  EXPECT_TRUE(seenScratch.empty());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], report::TDMQuilmor::OpenFailedMessage(dm.FileName));
}

}  // namespace
}  // namespace quilmor::calculator
