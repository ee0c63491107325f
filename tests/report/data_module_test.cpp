#include "report/data_module.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "scripted_interaction.hpp"
#include "temp_folder.hpp"
#include "textio/text_file.hpp"

namespace quilmor::report {
namespace {

using quilmor::testing::ReadBytes;
using quilmor::testing::ScriptedInteraction;
using quilmor::testing::TempFolder;
using quilmor::testing::WriteBytes;

class DataModuleTest : public ::testing::Test {
 protected:
  ScriptedInteraction ui;
  TDMQuilmor dm{ui};
  TempFolder folder;

  void FillRows(const std::vector<double>& values) {
    dm.NrOfData = static_cast<int>(values.size());
    dm.RowValues = values;
    dm.RowSerials.resize(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) dm.RowSerials[i] = static_cast<int>(i + 1);
    dm.Skipped.assign(values.size(), false);
  }
};

TEST_F(DataModuleTest, StartsInTheWorkingDirectory) {
  EXPECT_EQ(dm.FileName, std::filesystem::current_path().string());
  EXPECT_EQ(dm.NrOfIntervals, "5");
}

TEST_F(DataModuleTest, SkippedRowsAreLeftOutAndCountedDown) {
  FillRows({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  dm.Skipped[1] = dm.Skipped[4] = dm.Skipped[9] = true;
  dm.FileName = (folder / "ten.inp").string();
  ASSERT_TRUE(dm.WriteInputFile());
  EXPECT_EQ(dm.NrOfData, 7);
  const auto lines = *textio::ReadTextLines(dm.FileName);
  EXPECT_EQ(lines[7], " Number of data: 7");
  ASSERT_EQ(lines.size(), 13u + 7u);
  EXPECT_EQ(lines[13], "    1       1.00");
  EXPECT_EQ(lines[14], "    2       3.00");  // running numbers, not the rows' serials
  EXPECT_EQ(lines[19], "    7       9.00");
}

TEST_F(DataModuleTest, WriteThenReadGivesTheRowsBack) {
  FillRows({30800, 0.0449, -250, 1.234});
  dm.Title1 = "Wabash";
  dm.Title2 = "cfs";
  dm.InputThreshold = -1000;
  dm.FileName = (folder / "w.inp").string();
  ASSERT_TRUE(dm.WriteInputFile());

  ScriptedInteraction ui2;
  TDMQuilmor reader(ui2);
  reader.FileName = dm.FileName;
  EXPECT_EQ(reader.ReadInputFile(), TDMQuilmor::ReadResult::Ok);
  EXPECT_EQ(reader.Title1, "Wabash");
  EXPECT_EQ(reader.Title2, "cfs");
  EXPECT_EQ(reader.InputThreshold, -1000.0);
  EXPECT_EQ(reader.NrOfData, 4);
  EXPECT_EQ(reader.RowValues, (std::vector<double>{30800, 0.0449, -250, 1.23}));
  EXPECT_EQ(reader.RowSerials, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(reader.Skipped, std::vector<bool>(4, false));
  EXPECT_TRUE(ui2.messages.empty());
}

TEST_F(DataModuleTest, UnwritableFileKeepsThePreviousOne) {
  FillRows({1, 2, 3, 4, 5, 6});
  std::filesystem::create_directory(folder / "x.inp");
  dm.FileName = (folder / "x.inp").string();
  EXPECT_FALSE(dm.WriteInputFile());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "The file \"" + dm.FileName +
                                "\"could not be opened. It may be in use by another program: a "
                                "folder of that name exists (Is a directory)");
  EXPECT_EQ(dm.NrOfData, 6);
}

TEST_F(DataModuleTest, MissingInputFileLeavesTheModuleUnchanged) {
  dm.Title1 = "kept";
  dm.FileName = (folder / "none.inp").string();
  EXPECT_EQ(dm.ReadInputFile(), TDMQuilmor::ReadResult::OpenFailed);
  EXPECT_EQ(dm.Title1, "kept");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].find("\"could not be opened. It may be in use"), std::string::npos);
}

TEST_F(DataModuleTest, CorruptRowIsAProgramErrorAndKeepsEarlierRows) {
  dm.FileName = (folder / "bad.inp").string();
  FillRows({5, 6, 7});
  ASSERT_TRUE(dm.WriteInputFile());
  std::string text = ReadBytes(dm.FileName);
  text.replace(text.find("6.00"), 4, "6,00");
  WriteBytes(dm.FileName, text);
  EXPECT_EQ(dm.ReadInputFile(), TDMQuilmor::ReadResult::Corrupt);
  EXPECT_EQ(dm.NrOfData, 1);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "A program error occurred.Real numbers in the inputfile \"" +
                                dm.FileName + "\" are corrupt");
  EXPECT_EQ(ui.quitRequests, 1);
}

TEST_F(DataModuleTest, LoadReportReadsLinesAndTheParameterCode) {
  const auto report = folder / "r.out";
  WriteBytes(report, " RESULTS\r\n line two\r\n\r\n");
  WriteBytes(folder / "r.aux", "57\r\n 1.0E+0000\r\n");
  bool usable = false;
  dm.FileName = report.string();
  dm.LoadReport(report.string(), usable);
  EXPECT_TRUE(usable);
  EXPECT_EQ(dm.NrOfReportLines, 3);
  EXPECT_EQ(dm.ReportLines[1], " line two");
  EXPECT_EQ(dm.AuxCode, 57);
  EXPECT_EQ(dm.FileName, report.string());
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DataModuleTest, LoadReportWithoutParameterFileIsUsable) {
  const auto report = folder / "r.out";
  WriteBytes(report, "a\nb\n");
  bool usable = false;
  dm.LoadReport(report.string(), usable);
  EXPECT_TRUE(usable);
  EXPECT_EQ(dm.AuxCode, 0);
  EXPECT_EQ(ui.messages,
            std::vector<std::string>{" If you wish to make use of the calculator, run the program again"});
}

TEST_F(DataModuleTest, OneLineReportIsRejectedAndDeleted) {
  const auto report = folder / "r.out";
  WriteBytes(report, "only\r\n");
  WriteBytes(folder / "r.var", "x");
  WriteBytes(folder / "r.aux", "4\r\n");
  bool usable = true;
  dm.LoadReport(report.string(), usable);
  EXPECT_FALSE(usable);
  EXPECT_FALSE(std::filesystem::exists(report));
  EXPECT_FALSE(std::filesystem::exists(folder / "r.var"));
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_EQ(ui.messages[0], " The output file is invalid due to inadequate input data");
  EXPECT_EQ(dm.ReportLines.size(), 1u);
}

TEST_F(DataModuleTest, UnreadableReportMessage) {
  bool usable = true;
  const std::string name = (folder / "gone.out").string();
  dm.LoadReport(name, usable);
  EXPECT_FALSE(usable);
  EXPECT_EQ(ui.messages, std::vector<std::string>{
                             "The file \"" + name +
                             "\" could not be opened.  It may be damaged,  not created due to "
                             "inadequate input data,  or in use by another program"});
}

TEST_F(DataModuleTest, ConfirmAsksTheUser) {
  ui.yesNoAnswers = {true, false};
  EXPECT_TRUE(dm.ConfirmYesNo("The data will be cleared, are you sure?"));
  EXPECT_FALSE(dm.ConfirmYesNo("again?"));
  EXPECT_EQ(ui.questions.size(), 2u);
}

}  // namespace
}  // namespace quilmor::report
