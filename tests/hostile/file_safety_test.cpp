// The files a user keeps (".inp", ".out", ".aux", graphs) are written under a
// temporary name in their own folder and renamed into place: whatever stops
// a run (a folder it may not write to, a folder where a file should be, a
// run that stops, a process that is killed), the earlier files stay whole.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "calculator/parameter_file.hpp"
#include "cli/cli_app.hpp"
#include "engine/analysis_state.hpp"
#include "hostile_support.hpp"
#include "report/data_module.hpp"
#include "run/save_run.hpp"
#include "scripted_interaction.hpp"
#include "temp_folder.hpp"
#include "textio/input_file.hpp"
#include "textio/text_file.hpp"
#include "unprivileged.hpp"

namespace quilmor::testing {
namespace {

using cli::kExitStopped;
using cli::kExitUsage;
using run::SaveRunStatus;

// Failure hours of one air-conditioning unit.
const std::vector<double> kAircondit = {3, 5, 7, 18, 43, 85, 91, 98, 100, 130, 230, 487};

std::string ValueLines(const std::vector<double>& values) {
  std::string text;
  for (double v : values) text += std::to_string(v) + "\n";
  return text;
}

// A folder holding values.txt and an earlier run's values.inp, .out, .aux.
class EarlierRun : public ::testing::Test {
 protected:
  TempFolder base;
  std::filesystem::path dir;
  std::map<std::string, std::string> before;

  void SetUp() override {
    dir = base / "results";
    std::filesystem::create_directory(dir);
    WriteBytes(dir / "values.txt", ValueLines({5, 9, 12, 20, 31, 33, 47, 52}));
    ASSERT_EQ(Cli({"run", (dir / "values.txt").string()}).code, cli::kExitOk);
    WriteBytes(dir / "values.txt", ValueLines(kAircondit));
    before = FolderContents(dir);
    ASSERT_EQ(before.size(), 4u);
  }

  // The desktop program's Save-Run on the values of values.txt.
  run::SaveRunResult DesktopSaveRun(ScriptedInteraction& ui) {
    report::TDMQuilmor dm(ui);
    dm.FileName = (dir / "values.inp").string();
    dm.NrOfData = static_cast<int>(kAircondit.size());
    dm.RowValues = kAircondit;
    dm.RowSerials.resize(kAircondit.size());
    for (std::size_t i = 0; i < kAircondit.size(); ++i) dm.RowSerials[i] = static_cast<int>(i + 1);
    dm.Skipped.assign(kAircondit.size(), false);
    engine::AnalysisState state;
    return run::SaveRun(dm);
  }
};

// --- A folder the user may not write to --------------------------------------------------

TEST_F(EarlierRun, ReadOnlyFolderCommandLine) {
  OpenForReading(base.Path());
  MakeReadOnly(dir);
  const auto child = RunUnprivileged([&](std::string& err) {
    const CliResult r = Cli({"run", (dir / "values.txt").string(), "--overwrite"});
    err = r.err;
    return r.code;
  });
  std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
  if (!child) GTEST_SKIP() << "no unprivileged child process could be made";
  EXPECT_EQ(child->status, kExitUsage);
  EXPECT_EQ(child->output, "The file \"" + (dir / "values.inp").string() +
                               "\"could not be opened. It may be in use by another program\n");
  EXPECT_EQ(FolderContents(dir), before);
}

TEST_F(EarlierRun, ReadOnlyFolderInputFileRunAsItStands) {
  // The input file is read, the report and the parameter file cannot be
  // written.
  OpenForReading(base.Path());
  MakeReadOnly(dir);
  const auto child = RunUnprivileged([&](std::string& err) {
    const CliResult r = Cli({"run", (dir / "values.inp").string()});
    err = r.err;
    return r.code;
  });
  std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
  if (!child) GTEST_SKIP() << "no unprivileged child process could be made";
  EXPECT_EQ(child->status, kExitUsage);
  EXPECT_EQ(child->output, "The report and its parameter file could not be written: \"" +
                               (dir / "values.aux").string() + "\": Permission denied\n");
  EXPECT_EQ(FolderContents(dir), before);
}

TEST_F(EarlierRun, ReadOnlyFolderDesktopSaveRun) {
  OpenForReading(base.Path());
  MakeReadOnly(dir);
  const auto child = RunUnprivileged([&](std::string& shown) {
    ScriptedInteraction ui;
    const auto result = DesktopSaveRun(ui);
    for (const std::string& m : ui.messages) shown += m + "\n";
    return static_cast<int>(result.status) + (ui.quitRequests > 0 ? 100 : 0);
  });
  std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
  if (!child) GTEST_SKIP() << "no unprivileged child process could be made";
  EXPECT_EQ(child->status, static_cast<int>(SaveRunStatus::InputNotWritten));
  EXPECT_EQ(child->output, "The file \"" + (dir / "values.inp").string() +
                               "\"could not be opened. It may be in use by another program\n");
  EXPECT_EQ(FolderContents(dir), before);
}

// --- A folder where an output file should be ---------------------------------------------

struct BlockedRow {
  const char* name;
  const char* folderName;  // this output name is a folder
  const char* cliMessage;  // "{dir}": the folder
  SaveRunStatus desktopStatus;
};

void PrintTo(const BlockedRow& row, std::ostream* os) { *os << row.name; }

class OutputNameIsAFolder : public EarlierRun, public ::testing::WithParamInterface<BlockedRow> {
 protected:
  void SetUp() override {
    EarlierRun::SetUp();
    std::filesystem::remove(dir / GetParam().folderName);
    std::filesystem::create_directory(dir / GetParam().folderName);
    before = FolderContents(dir);
  }
};

TEST_P(OutputNameIsAFolder, CommandLine) {
  const CliResult r = Cli({"run", (dir / "values.txt").string(), "--overwrite"});
  EXPECT_EQ(r.code, kExitUsage);
  EXPECT_NE(r.err.find(InFolder(GetParam().cliMessage, dir) + "\n"), std::string::npos) << r.err;
  // The input file is written before the run; everything else stays.
  std::map<std::string, std::string> after = FolderContents(dir);
  if (std::string(GetParam().folderName) != "values.inp") {
    EXPECT_EQ(after["values.inp"].rfind(" Input data for Quilmor program\r\n", 0), 0u);
    after["values.inp"] = before["values.inp"];
  }
  EXPECT_EQ(after, before);
}

TEST_P(OutputNameIsAFolder, DesktopSaveRun) {
  ScriptedInteraction ui;
  const auto result = DesktopSaveRun(ui);
  EXPECT_EQ(result.status, GetParam().desktopStatus);
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_EQ(ui.messages.back(), InFolder(GetParam().cliMessage, dir));
  EXPECT_EQ(ui.quitRequests, 0);
  std::map<std::string, std::string> after = FolderContents(dir);
  after["values.inp"] = before["values.inp"];
  EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OutputNameIsAFolder,
    ::testing::Values(
        BlockedRow{"InputFile", "values.inp",
                   "The file \"{dir}/values.inp\"could not be opened. It may be in use by another "
                   "program",
                   SaveRunStatus::InputNotWritten},
        BlockedRow{"Report", "values.out",
                   "The report and its parameter file could not be written: "
                   "\"{dir}/values.out\": a folder of that name exists",
                   SaveRunStatus::Failed},
        BlockedRow{"ParameterFile", "values.aux",
                   "The report and its parameter file could not be written: "
                   "\"{dir}/values.aux\": a folder of that name exists",
                   SaveRunStatus::Failed}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(EarlierRun, GraphFileNameIsAFolder) {
  std::filesystem::create_directory(dir / "graph.bmp");
  const CliResult r = Cli({"graph", (dir / "values.out").string(), "--type", "cumulative",
                           "--output", (dir / "graph.bmp").string()});
  EXPECT_EQ(r.code, kExitUsage);
  EXPECT_EQ(r.err, "quilmor-cli graph: " + (dir / "graph.bmp").string() +
                       " could not be written: a folder of that name exists\n");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "graph.bmp"));
}

// --- A run that stops --------------------------------------------------------------------

TEST_F(EarlierRun, AStoppedRunKeepsTheEarlierReport) {
  WriteBytes(dir / "values.txt", ValueLines({7, 7, 7, 7, 7, 7, 7}));
  const CliResult r = Cli({"run", (dir / "values.txt").string(), "--overwrite"});
  EXPECT_EQ(r.code, kExitStopped);
  std::map<std::string, std::string> after = FolderContents(dir);
  // The input file is written first, as on the Input page; the report and
  // the parameter file of the earlier run stay.
  EXPECT_NE(after["values.inp"], before["values.inp"]);
  EXPECT_EQ(after["values.out"], before["values.out"]);
  EXPECT_EQ(after["values.aux"], before["values.aux"]);
  EXPECT_EQ(after.size(), before.size());
}

// --- A run that is killed ------------------------------------------------------------------

// A complete report ends with the code line, two lines below " data values :".
bool IsCompleteReport(const std::string& text) {
  const std::vector<std::string> lines = textio::SplitLines(text);
  return lines.size() > 3 && lines[lines.size() - 3].rfind(" data values :", 0) == 0 &&
         lines.back().size() == 3 && text.size() >= 2 && text.substr(text.size() - 2) == "\r\n";
}

TEST(KilledRun, LeavesEachFileEitherAsItWasOrComplete) {
  TempFolder folder;
  const std::filesystem::path dir = folder.Path();
  // 2500 values, best of all with a break point: long enough to be killed
  // at many moments.
  std::vector<double> values;
  for (int i = 0; i < 2500; ++i) values.push_back(10.0 + (i * 7919) % 2500 * 0.37);
  const std::string input = ValueLines(values);
  WriteBytes(dir / "values.txt", input);

  // The earlier files, and how long a whole run takes.
  ASSERT_EQ(Cli({"run", (dir / "values.txt").string(), "--pref", "4"}).code, cli::kExitOk);
  const auto earlier = FolderContents(dir);
  const auto start = std::chrono::steady_clock::now();
  {
    CliProcess run({"run", (dir / "values.txt").string(), "--breakpoint", "--overwrite"}, dir,
                   "whole");
    ASSERT_TRUE(run.Started());
    ASSERT_EQ(run.Wait(), cli::kExitOk) << run.Err();
  }
  const auto whole = std::chrono::steady_clock::now() - start;
  const auto complete = FolderContents(dir);
  ASSERT_NE(complete.at("values.out"), earlier.at("values.out"));

  for (double share : {0.1, 0.4, 0.7, 0.9, 0.97, 0.995}) {
    for (const auto& [name, content] : earlier) WriteBytes(dir / name, content);
    CliProcess run({"run", (dir / "values.txt").string(), "--breakpoint", "--overwrite"}, dir,
                   "killed");
    ASSERT_TRUE(run.Started());
    std::this_thread::sleep_for(
        std::chrono::duration_cast<std::chrono::microseconds>(whole * share));
    run.Kill();
    run.Wait();
    for (const char* name : {"values.inp", "values.out", "values.aux"}) {
      const std::string now = ReadBytes(dir / name);
      EXPECT_TRUE(now == earlier.at(name) || now == complete.at(name))
          << name << " at " << share << " of a run";
    }
    EXPECT_TRUE(IsCompleteReport(ReadBytes(dir / "values.out")));
    // A killed process cannot tidy up: a temporary file of an unfinished
    // write may stay, under a hidden name that no run reads.
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      const std::string name = entry.path().filename().string();
      if (earlier.count(name) || name.rfind("whole.", 0) == 0 || name.rfind("killed.", 0) == 0) {
        continue;
      }
      EXPECT_EQ(name.front(), '.') << name;
      EXPECT_NE(name.find(".part"), std::string::npos) << name;
      std::filesystem::remove(entry.path());
    }
  }
}

}  // namespace
}  // namespace quilmor::testing
