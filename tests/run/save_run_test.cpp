#include "run/save_run.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "scripted_interaction.hpp"
#include "ended_process.hpp"
#include "temp_folder.hpp"
#include "textio/file_lock.hpp"
#include "textio/text_file.hpp"

namespace quilmor::run {
namespace {

using Strings = std::vector<std::string>;

// The names in a folder.
std::set<std::string> Entries(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

// Save-Run of a real series: seven grid rows, one of them empty, fitted as a
// Gumbel function (a quick preferred fit).
class SaveRunTest : public ::testing::Test {
 protected:
  testing::TempFolder user;
  testing::ScriptedInteraction ui;
  report::TDMQuilmor dm{ui};

  void SetUp() override {
    dm.FileName = (user / "run.inp").string();
    dm.Title1 = "Seven values";
    dm.Preference = "4";
    Fill({12.0, 20.0, 0.0, 31.5, 18.25, 44.0, 27.0});
    dm.Skipped[2] = true;
  }

  void Fill(const std::vector<double>& values) {
    dm.NrOfData = static_cast<int>(values.size());
    dm.RowValues = values;
    dm.RowSerials.clear();
    for (std::size_t i = 0; i < values.size(); ++i) {
      dm.RowSerials.push_back(static_cast<int>(i) + 1);
    }
    dm.Skipped.assign(values.size(), false);
  }
};

TEST_F(SaveRunTest, WritesTheInputRunsAndShowsTheReport) {
  const SaveRunResult result = SaveRun(dm);
  ASSERT_EQ(result.status, SaveRunStatus::Done) << (ui.messages.empty() ? "" : ui.messages[0]);
  const std::string inp = (user / "run.inp").string();
  const std::string out = (user / "run.out").string();
  EXPECT_EQ(result.InputName, inp);
  EXPECT_EQ(result.ReportName, out);
  EXPECT_EQ(result.DistributionName, "Gumbel distribution");
  EXPECT_EQ(dm.FileName, out);
  EXPECT_EQ(ui.progress, (Strings{" Saving data .....", " Progress 25% ....", " Calculating .....",
                                  " Progress 75% ....", " Filing results .."}));
  EXPECT_EQ(ui.pauses, (std::vector<int>{500, 500, 500, 500, 500}));
  EXPECT_EQ(ui.messages, Strings{"The input is saved in " + inp +
                                 "   Calculations were done and the output is saved in  " + out});
  // The empty cell is left out of the input file.
  EXPECT_NE(testing::ReadBytes(user / "run.inp").find(" Number of data: 6\r\n"), std::string::npos);
  EXPECT_EQ(dm.NrOfData, 6);
  // The report shown is the report written; the run leaves nothing else.
  EXPECT_EQ(dm.ReportLines, textio::SplitLines(testing::ReadBytes(user / "run.out")));
  EXPECT_EQ(dm.ReportLines.front(), " RESULTS OF Quilmor PROGRAM");
  EXPECT_EQ(dm.ReportLines.back(), "  4");
  EXPECT_EQ(dm.AuxCode, 4);
  EXPECT_EQ(testing::ReadBytes(user / "run.aux"), result.finished.parameterText);
  EXPECT_EQ(Entries(user.Path()), (std::set<std::string>{"run.aux", "run.inp", "run.out"}));
  EXPECT_FALSE(result.limitedTo2500);
}

TEST_F(SaveRunTest, AStoppedRunShowsTheStopMessageAndWritesNoReport) {
  testing::WriteBytes(user / "run.out", "earlier report");
  testing::WriteBytes(user / "run.aux", "earlier parameters");
  Fill({4, 4, 4, 4, 4, 4});
  const SaveRunResult result = SaveRun(dm);
  EXPECT_EQ(result.status, SaveRunStatus::Stopped);
  EXPECT_EQ(ui.messages, Strings{kStopMessage});
  EXPECT_EQ(ui.progress,
            (Strings{" Saving data .....", " Progress 25% ....", " Calculating ....."}));
  // A run that stops changes nothing: no input file beside the earlier pair.
  EXPECT_FALSE(std::filesystem::exists(user / "run.inp"));
  EXPECT_FALSE(result.inputWritten);
  EXPECT_EQ(testing::ReadBytes(user / "run.out"), "earlier report");
  EXPECT_EQ(testing::ReadBytes(user / "run.aux"), "earlier parameters");
  EXPECT_EQ(dm.FileName, (user / "run.inp").string());
}

TEST_F(SaveRunTest, MoreThan2500ValuesAreToldAfterTheRunAndAlmostDoneBefore) {
  std::vector<double> values;
  for (int i = 0; i < 2600; ++i) values.push_back(100.0 + (i * 7919) % 1000);
  Fill(values);
  const SaveRunResult result = SaveRun(dm);
  ASSERT_EQ(result.status, SaveRunStatus::Done);
  EXPECT_TRUE(result.limitedTo2500);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0], kLimitedMessage);
  EXPECT_EQ(ui.messages[1].substr(0, 22), "The input is saved in ");
  EXPECT_EQ(ui.progress, (Strings{" Saving data .....", " Progress 25% ....", " Calculating .....",
                                  " Progress 75% ....", " Almost done ...", " Filing results .."}));
}

TEST_F(SaveRunTest, AFailingAnalysisIsReported) {
  dm.NrOfIntervals = "abc";
  const SaveRunResult result = SaveRun(dm);
  EXPECT_EQ(result.status, SaveRunStatus::Failed);
  EXPECT_EQ(ui.messages,
            Strings{"The number of intervals must be a whole number from 2 to 23, not \"abc\"."});
  EXPECT_FALSE(std::filesystem::exists(user / "run.out"));
}

TEST_F(SaveRunTest, AnInputThatCannotBeWrittenStopsEverything) {
  dm.FileName = (user / "missing" / "run.inp").string();
  const SaveRunResult result = SaveRun(dm);
  EXPECT_EQ(result.status, SaveRunStatus::InputNotWritten);
  EXPECT_TRUE(ui.progress.empty());
  EXPECT_EQ(ui.messages, Strings{report::TDMQuilmor::OpenFailedMessage(dm.FileName) +
                                 ": No such file or directory"});
}

TEST_F(SaveRunTest, AnInputFileRunsAsItStands) {
  ASSERT_EQ(SaveRun(dm).status, SaveRunStatus::Done);
  const std::string written = testing::ReadBytes(user / "run.inp");
  const std::string report = testing::ReadBytes(user / "run.out");
  std::filesystem::remove(user / "run.out");
  report::TDMQuilmor again(ui);
  again.FileName = (user / "run.inp").string();
  again.Preference = "4";
  SaveRunOptions options;
  options.writeInput = false;
  ASSERT_EQ(SaveRun(again, options).status, SaveRunStatus::Done);
  EXPECT_EQ(testing::ReadBytes(user / "run.inp"), written);
  EXPECT_EQ(testing::ReadBytes(user / "run.out"), report);

  again.FileName = (user / "absent.inp").string();
  ui.messages.clear();
  EXPECT_EQ(SaveRun(again, options).status, SaveRunStatus::Failed);
  EXPECT_EQ(ui.messages, Strings{textio::InputOpenFailedMessage(again.FileName)});
}

// The parameter file and the report go together: when either cannot be
// written, neither of the earlier pair is replaced and nothing is left beside
// them.
class SaveRunBlocked : public SaveRunTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SaveRunBlocked, LeavesTheEarlierPairWhole) {
  const std::string blocked = GetParam();
  for (const char* name : {"run.out", "run.aux"}) {
    if (name == blocked) {
      std::filesystem::create_directory(user / name);
    } else {
      testing::WriteBytes(user / name, std::string("earlier ") + name);
    }
  }
  EXPECT_EQ(SaveRun(dm).status, SaveRunStatus::Failed);
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_EQ(ui.messages.back(), "The report and its parameter file could not be written: \"" +
                                    (user / blocked).string() +
                                    "\": a folder of that name exists (Is a directory)");
  for (const char* name : {"run.out", "run.aux"}) {
    if (name == blocked) {
      EXPECT_TRUE(std::filesystem::is_directory(user / name));
    } else {
      EXPECT_EQ(testing::ReadBytes(user / name), std::string("earlier ") + name);
    }
  }
  // The input file goes with them: it is not written either.
  EXPECT_EQ(Entries(user.Path()), (std::set<std::string>{"run.aux", "run.out"}));
  EXPECT_EQ(dm.FileName, (user / "run.inp").string());
}

INSTANTIATE_TEST_SUITE_P(Names, SaveRunBlocked, ::testing::Values("run.out", "run.aux"),
                         [](const auto& row) {
                           return std::string(row.param) == "run.out" ? "ReportIsAFolder"
                                                                      : "ParameterFileIsAFolder";
                         });

// Whatever is refused or fails before the very end leaves the earlier three
// files as they were and no temporary or lock file beside them.
struct UnchangedRow {
  const char* name;
  void (*spoil)(report::TDMQuilmor& dm);
  const char* message;  // the first message ("{inp}": the input file)
  SaveRunStatus status;
};

void PrintTo(const UnchangedRow& row, std::ostream* os) { *os << row.name; }

class SaveRunChangesNothing : public SaveRunTest,
                              public ::testing::WithParamInterface<UnchangedRow> {};

TEST_P(SaveRunChangesNothing, TheEarlierFilesStay) {
  for (const char* name : {"run.inp", "run.out", "run.aux"}) {
    testing::WriteBytes(user / name, std::string("earlier ") + name);
  }
  GetParam().spoil(dm);
  const SaveRunResult result = SaveRun(dm);
  EXPECT_EQ(result.status, GetParam().status);
  EXPECT_FALSE(result.inputWritten);
  ASSERT_FALSE(ui.messages.empty());
  std::string expected = GetParam().message;
  if (const auto at = expected.find("{inp}"); at != std::string::npos) {
    expected.replace(at, 5, (user / "run.inp").string());
  }
  EXPECT_EQ(ui.messages.front(), expected);
  for (const char* name : {"run.inp", "run.out", "run.aux"}) {
    EXPECT_EQ(testing::ReadBytes(user / name), std::string("earlier ") + name) << name;
  }
  EXPECT_EQ(Entries(user.Path()), (std::set<std::string>{"run.aux", "run.inp", "run.out"}));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SaveRunChangesNothing,
    ::testing::Values(
        UnchangedRow{"LineFeedInTitle1", [](report::TDMQuilmor& dm) { dm.Title1 = "two\nlines"; },
                     "The first title holds a line feed; a title must be one line of printable "
                     "text",
                     SaveRunStatus::InputNotWritten},
        UnchangedRow{"CarriageReturnInTitle2",
                     [](report::TDMQuilmor& dm) { dm.Title2 = "mm\r"; },
                     "The second title holds a carriage return; a title must be one line of "
                     "printable text",
                     SaveRunStatus::InputNotWritten},
        UnchangedRow{"NulInTitle",
                     [](report::TDMQuilmor& dm) { dm.Title1 = std::string("a\0b", 3); },
                     "The first title holds a NUL character; a title must be one line of "
                     "printable text",
                     SaveRunStatus::InputNotWritten},
        UnchangedRow{"EscapeInTitle", [](report::TDMQuilmor& dm) { dm.Title2 = "\x1b[2J"; },
                     "The second title holds the control character 0x1B; a title must be one "
                     "line of printable text",
                     SaveRunStatus::InputNotWritten},
        UnchangedRow{"NoVariation",
                     [](report::TDMQuilmor& dm) {
                       dm.RowValues.assign(dm.RowValues.size(), 4.0);
                     },
                     kStopMessage, SaveRunStatus::Stopped},
        UnchangedRow{"BadIntervals", [](report::TDMQuilmor& dm) { dm.NrOfIntervals = "x"; },
                     "The number of intervals must be a whole number from 2 to 23, not \"x\".",
                     SaveRunStatus::Failed}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(SaveRunTest, TemporariesOfAKilledRunAreRemovedByTheNextRun) {
  // A process that has ended: what it left is stale.
  const pid_t child = testing::EndedProcessId();
  ASSERT_GT(child, 0);
  const std::string dead = std::to_string(child);
  const std::string alive = std::to_string(::getppid());
  const Strings left = {".run.inp.part" + dead + "-0", ".run.out.part" + dead + "-3",
                        ".run.aux.part" + dead + "-12"};
  // Not ours: a live process's temporary, another name's, a name that only
  // looks alike.
  const Strings kept = {".run.out.part" + alive + "-0", ".other.out.part" + dead + "-0",
                        ".run.out.partial", "run.out.part" + dead + "-0"};
  for (const std::string& name : left) testing::WriteBytes(user / name, "half");
  for (const std::string& name : kept) testing::WriteBytes(user / name, "keep");
  ASSERT_EQ(SaveRun(dm).status, SaveRunStatus::Done);
  std::set<std::string> expected = {"run.aux", "run.inp", "run.out"};
  expected.insert(kept.begin(), kept.end());
  EXPECT_EQ(Entries(user.Path()), expected);
}

TEST_F(SaveRunTest, ASecondRunOnTheSameNamesWaitsOrIsRefused) {
  textio::FileLock other;
  bool busy = false;
  std::string error;
  ASSERT_TRUE(other.Acquire(user / "run.aux", textio::FileLock::Wait::No, busy, error)) << error;
  EXPECT_TRUE(std::filesystem::exists(user / ".run.lock"));
  // The desktop program refuses at once.
  EXPECT_EQ(SaveRun(dm).status, SaveRunStatus::Busy);
  EXPECT_EQ(ui.messages, Strings{BusyMessage(dm.FileName)});
  EXPECT_FALSE(std::filesystem::exists(user / "run.out"));
  // The command line waits until the other has finished.
  ui.messages.clear();
  SaveRunOptions options;
  options.waitForLock = true;
  SaveRunResult waited;
  std::thread second([&] { waited = SaveRun(dm, options); });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(std::filesystem::exists(user / "run.out"));
  other.Release();
  second.join();
  EXPECT_EQ(waited.status, SaveRunStatus::Done);
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_EQ(ui.messages.front(), WaitingMessage(user / "run.inp"));
  // The lock file goes with the lock.
  EXPECT_EQ(Entries(user.Path()), (std::set<std::string>{"run.aux", "run.inp", "run.out"}));
}

TEST(FinishReport, AReportWithoutDistributionHasNoSection) {
  report::ReportModel model;
  model.InputName = "x.inp";
  const FinishedReport finished = FinishReport(model);
  EXPECT_EQ(textio::SplitLines(finished.reportText).back(),
            " The frequency distibution cannot be found :");
  EXPECT_EQ(textio::SplitLines(finished.parameterText).front(), "0");
}

}  // namespace
}  // namespace quilmor::run
