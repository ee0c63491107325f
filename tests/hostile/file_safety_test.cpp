// The files a user keeps (".inp", ".out", ".aux", graphs) are written under a
// temporary name in their own folder and renamed into place: whatever stops
// a run (a folder it may not write to, a folder where a file should be, a
// run that stops, a process that is killed), the earlier files stay whole.
#include <gtest/gtest.h>
#include <sys/resource.h>

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
                               "\"could not be opened. It may be in use by another program: "
                               "Permission denied\n");
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
                               "\"could not be opened. It may be in use by another program: "
                               "Permission denied\n");
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
  // The input file goes with the report: every file stays as it was.
  EXPECT_EQ(FolderContents(dir), before);
}

TEST_P(OutputNameIsAFolder, DesktopSaveRun) {
  ScriptedInteraction ui;
  const auto result = DesktopSaveRun(ui);
  EXPECT_EQ(result.status, GetParam().desktopStatus);
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_EQ(ui.messages.back(), InFolder(GetParam().cliMessage, dir));
  EXPECT_EQ(ui.quitRequests, 0);
  EXPECT_EQ(FolderContents(dir), before);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OutputNameIsAFolder,
    ::testing::Values(
        BlockedRow{"InputFile", "values.inp",
                   "The file \"{dir}/values.inp\"could not be opened. It may be in use by another "
                   "program: a folder of that name exists (Is a directory)",
                   SaveRunStatus::InputNotWritten},
        BlockedRow{"Report", "values.out",
                   "The report and its parameter file could not be written: "
                   "\"{dir}/values.out\": a folder of that name exists (Is a directory)",
                   SaveRunStatus::Failed},
        BlockedRow{"ParameterFile", "values.aux",
                   "The report and its parameter file could not be written: "
                   "\"{dir}/values.aux\": a folder of that name exists (Is a directory)",
                   SaveRunStatus::Failed}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(EarlierRun, GraphFileNameIsAFolder) {
  std::filesystem::create_directory(dir / "graph.bmp");
  const CliResult r = Cli({"graph", (dir / "values.out").string(), "--type", "cumulative",
                           "--output", (dir / "graph.bmp").string()});
  EXPECT_EQ(r.code, kExitUsage);
  EXPECT_EQ(r.err, "quilmor-cli graph: " + (dir / "graph.bmp").string() +
                       " could not be written: a folder of that name exists (Is a directory)\n");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "graph.bmp"));
}

// --- Refused before anything is read or written -----------------------------------------

struct RefusedRow {
  const char* name;
  // Makes the case in the folder of the earlier run; returns the input.
  std::string (*setup)(const std::filesystem::path& dir);
  std::vector<std::string> extra;  // more arguments
  const char* message;             // the error stream ("{dir}": the folder)
};

void PrintTo(const RefusedRow& row, std::ostream* os) { *os << row.name; }

class RefusedRun : public EarlierRun, public ::testing::WithParamInterface<RefusedRow> {};

TEST_P(RefusedRun, ExitsWithUsageAndChangesNothing) {
  const std::string input = GetParam().setup(dir);
  before = FolderContents(dir);
  std::vector<std::string> args = {"run", input, "--overwrite"};
  args.insert(args.end(), GetParam().extra.begin(), GetParam().extra.end());
  const CliResult r = Cli(args);
  EXPECT_EQ(r.code, kExitUsage);
  EXPECT_EQ(r.err, InFolder(GetParam().message, dir));
  EXPECT_EQ(FolderContents(dir), before);
}

std::string Copy(const std::filesystem::path& dir, const char* name) {
  std::filesystem::copy_file(dir / "values.txt", dir / name);
  return (dir / name).string();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RefusedRun,
    ::testing::Values(
        RefusedRow{"LineFeedInTitle", [](const auto& d) { return (d / "values.txt").string(); },
                   {"--title1", "two\nlines"},
                   "quilmor-cli: The first title holds a line feed; a title must be one line of "
                   "printable text\n"},
        RefusedRow{"CarriageReturnInTitle2",
                   [](const auto& d) { return (d / "values.txt").string(); },
                   {"--title2", "mm\r"},
                   "quilmor-cli: The second title holds a carriage return; a title must be one "
                   "line of printable text\n"},
        RefusedRow{"LineFeedInFileName", [](const auto& d) { return Copy(d, "va\nl.txt"); }, {},
                   "quilmor-cli: The file name \"{dir}/va?l.txt\" holds a line feed; choose a "
                   "name of printable characters\n"},
        RefusedRow{"ValuesNamedLikeTheReport", [](const auto& d) { return Copy(d, "v.out"); }, {},
                   "quilmor-cli: \"{dir}/v.out\" is the file \"{dir}/v.out\" that this run would "
                   "write; give the values another name (\".txt\" for example)\n"},
        RefusedRow{"ValuesNamedLikeTheParameterFile",
                   [](const auto& d) { return Copy(d, "v.aux"); }, {},
                   "quilmor-cli: \"{dir}/v.aux\" is the file \"{dir}/v.aux\" that this run would "
                   "write; give the values another name (\".txt\" for example)\n"},
        RefusedRow{"ValuesNamedLikeTheInputFile",
                   [](const auto& d) { return Copy(d, "v.inp"); }, {},
                   "quilmor-cli: \"{dir}/v.inp\" is the file \"{dir}/v.inp\" that this run would "
                   "write; give the values another name (\".txt\" for example)\n"},
        RefusedRow{"TheReportNameIsALinkToTheValues",
                   [](const auto& d) {
                     std::filesystem::remove(d / "values.out");
                     std::filesystem::create_symlink("values.txt", d / "values.out");
                     return (d / "values.txt").string();
                   },
                   {},
                   "quilmor-cli: \"{dir}/values.txt\" is the file \"{dir}/values.out\" that this "
                   "run would write; give the values another name (\".txt\" for example)\n"},
        RefusedRow{"TheParameterFileIsAHardLinkOfTheValues",
                   [](const auto& d) {
                     std::filesystem::remove(d / "values.aux");
                     std::filesystem::create_hard_link(d / "values.txt", d / "values.aux");
                     return (d / "values.txt").string();
                   },
                   {},
                   "quilmor-cli: \"{dir}/values.txt\" is the file \"{dir}/values.aux\" that this "
                   "run would write; give the values another name (\".txt\" for example)\n"},
        RefusedRow{"AnInputFileLinkedAsItsOwnReport",
                   [](const auto& d) {
                     std::filesystem::remove(d / "values.out");
                     std::filesystem::create_symlink("values.inp", d / "values.out");
                     return (d / "values.inp").string();
                   },
                   {},
                   "quilmor-cli: \"{dir}/values.inp\" is the file \"{dir}/values.out\" that this "
                   "run would write; give the values another name (\".txt\" for example)\n"}),
    [](const auto& row) { return std::string(row.param.name); });

// --- A write beyond the file-size limit --------------------------------------------------

TEST_F(EarlierRun, AFileTooLargeEndsInAMessageWithTheEarlierFilesWhole) {
  // A process of its own with a file-size limit below the report's size: the
  // write fails (the signal it would raise is ignored) and the run says why.
  std::fflush(nullptr);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const int err = ::open((dir / "limited.stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(err, 2);
    struct rlimit limit{2000, 2000};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const std::string input = (dir / "values.txt").string();
    ::execl(QUILMOR_CLI_PATH, QUILMOR_CLI_PATH, "run", input.c_str(), "--overwrite",
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int wstatus = 0;
  ASSERT_EQ(::waitpid(child, &wstatus, 0), child);
  ASSERT_TRUE(WIFEXITED(wstatus)) << "ended by signal " << WTERMSIG(wstatus);
  EXPECT_EQ(WEXITSTATUS(wstatus), kExitUsage);
  const std::string err = ReadBytes(dir / "limited.stderr");
  EXPECT_EQ(err, "The report and its parameter file could not be written: \"" +
                     (dir / "values.out").string() + "\": write failed: File too large\n");
  std::map<std::string, std::string> after = FolderContents(dir);
  after.erase("limited.stderr");
  EXPECT_EQ(after, before);
}

// --- A run that stops --------------------------------------------------------------------

TEST_F(EarlierRun, AStoppedRunKeepsTheEarlierReport) {
  WriteBytes(dir / "values.txt", ValueLines({7, 7, 7, 7, 7, 7, 7}));
  const CliResult r = Cli({"run", (dir / "values.txt").string(), "--overwrite"});
  EXPECT_EQ(r.code, kExitStopped);
  // Nothing of the earlier run changes, the input file neither: a new input
  // beside the earlier report would be a mismatched set.
  std::map<std::string, std::string> after = FolderContents(dir);
  after["values.txt"] = before["values.txt"];
  EXPECT_EQ(after, before);
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
    // write, or its lock file, may stay under a hidden name that no run reads.
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      const std::string name = entry.path().filename().string();
      if (earlier.count(name) || name.rfind("whole.", 0) == 0 || name.rfind("killed.", 0) == 0) {
        continue;
      }
      EXPECT_TRUE(name.rfind(".values.", 0) == 0 &&
                  (name.find(".part") != std::string::npos || name == ".values.lock"))
          << name;
    }
  }
  // The next run of the same name removes what the killed ones left.
  ASSERT_EQ(Cli({"run", (dir / "values.txt").string(), "--pref", "4", "--overwrite"}).code,
            cli::kExitOk);
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
  }
}

}  // namespace
}  // namespace quilmor::testing
