// Two analyses at the same time, in two threads of one program or in two
// processes: a run holds everything in memory and shares nothing with the
// other, so each report is exactly what its run gives alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli_app.hpp"
#include "hostile_support.hpp"
#include "report/data_module.hpp"
#include "run/save_run.hpp"
#include "scripted_interaction.hpp"
#include "temp_folder.hpp"

namespace quilmor::testing {
namespace {

struct Series {
  std::string name;
  std::vector<double> values;
  std::string preference;
};

// 2600 values: more than 2500, so that its run is told of the limit and the
// other run must not be.
Series Many() {
  Series s{"many", {}, "1"};
  for (int i = 0; i < 2600; ++i) s.values.push_back(20.0 + (i * 7919) % 2600 * 0.11);
  return s;
}

Series Few() { return {"few", {3, 5, 7, 18, 43, 85, 91, 98, 100, 130, 230, 487}, "57"}; }

struct RunOutcome {
  run::SaveRunStatus status = run::SaveRunStatus::Failed;
  bool limited = false;
  std::string report;
  std::string parameters;
  std::vector<std::string> messages;
};

RunOutcome SaveRunOf(const Series& series, const std::filesystem::path& folder) {
  ScriptedInteraction ui;
  report::TDMQuilmor dm(ui);
  dm.FileName = (folder / (series.name + ".inp")).string();
  dm.Title1 = series.name;
  dm.NrOfData = static_cast<int>(series.values.size());
  dm.RowValues = series.values;
  dm.RowSerials.resize(series.values.size());
  for (std::size_t i = 0; i < series.values.size(); ++i) {
    dm.RowSerials[i] = static_cast<int>(i + 1);
  }
  dm.Skipped.assign(series.values.size(), false);
  dm.Preference = series.preference;
  engine::AnalysisState state;
  const auto result = run::SaveRun(dm);
  RunOutcome outcome;
  outcome.status = result.status;
  outcome.limited = result.limitedTo2500;
  outcome.report = ReadBytes(folder / (series.name + ".out"));
  outcome.parameters = ReadBytes(folder / (series.name + ".aux"));
  outcome.messages = ui.messages;
  return outcome;
}

void ExpectSame(const RunOutcome& together, const RunOutcome& alone, const std::string& name) {
  EXPECT_EQ(together.status, alone.status) << name;
  EXPECT_EQ(together.limited, alone.limited) << name;
  EXPECT_EQ(together.report, alone.report) << name;
  EXPECT_EQ(together.parameters, alone.parameters) << name;
  EXPECT_EQ(together.messages, alone.messages) << name;
}

TEST(ParallelRuns, TwoSaveRunsInTwoThreadsGiveTheirReportsAlone) {
  const Series many = Many();
  const Series few = Few();
  TempFolder folder;
  const RunOutcome manyAlone = SaveRunOf(many, folder.Path());
  const RunOutcome fewAlone = SaveRunOf(few, folder.Path());
  ASSERT_EQ(manyAlone.status, run::SaveRunStatus::Done);
  ASSERT_EQ(fewAlone.status, run::SaveRunStatus::Done);
  ASSERT_TRUE(manyAlone.limited);
  ASSERT_FALSE(fewAlone.limited);

  // Side by side, several times, so that the runs overlap at different steps.
  for (int round = 0; round < 3; ++round) {
    std::filesystem::remove(folder / "many.out");
    std::filesystem::remove(folder / "few.out");
    RunOutcome manyTogether, fewTogether;
    std::thread other([&] { manyTogether = SaveRunOf(many, folder.Path()); });
    for (int k = 0; k < 3; ++k) fewTogether = SaveRunOf(few, folder.Path());
    other.join();
    ExpectSame(manyTogether, manyAlone, "many, round " + std::to_string(round));
    ExpectSame(fewTogether, fewAlone, "few, round " + std::to_string(round));
  }
}

TEST(ParallelRuns, TwoCommandLineProcessesGiveTheirReportsAlone) {
  TempFolder folder;
  const std::filesystem::path dir = folder.Path();
  auto write = [&](const Series& s) {
    std::string text;
    for (double v : s.values) text += std::to_string(v) + "\n";
    WriteBytes(dir / (s.name + ".txt"), text);
  };
  const Series many = Many();
  const Series few = Few();
  write(many);
  write(few);
  auto args = [&](const Series& s) {
    return std::vector<std::string>{"run", (dir / (s.name + ".txt")).string(), "--pref",
                                    s.preference, "--overwrite"};
  };
  ASSERT_EQ(Cli(args(many)).code, cli::kExitOk);
  ASSERT_EQ(Cli(args(few)).code, cli::kExitOk);
  const std::string manyAlone = ReadBytes(dir / "many.out");
  const std::string fewAlone = ReadBytes(dir / "few.out");

  std::filesystem::remove(dir / "many.out");
  std::filesystem::remove(dir / "few.out");
  CliProcess first(args(many), dir, "many");
  CliProcess second(args(few), dir, "few");
  ASSERT_TRUE(first.Started() && second.Started());
  EXPECT_EQ(first.Wait(), cli::kExitOk) << first.Err();
  EXPECT_EQ(second.Wait(), cli::kExitOk) << second.Err();
  EXPECT_EQ(ReadBytes(dir / "many.out"), manyAlone);
  EXPECT_EQ(ReadBytes(dir / "few.out"), fewAlone);
  // Only the run of more than 2500 values tells about the limit.
  const std::string limited =
      "The analysis was limited to the first 2500 data greater than the threshold";
  EXPECT_NE(first.Err().find(limited), std::string::npos) << first.Err();
  EXPECT_EQ(second.Err().find(limited), std::string::npos) << second.Err();
}

// Two processes on the same names: one writes v.inp from v.txt, the other
// runs v.inp as it stands. They take turns, so the report always belongs to
// the input file beside it.
TEST(ParallelRuns, TwoRunsOnTheSameNamesTakeTurns) {
  TempFolder folder;
  const std::filesystem::path dir = folder.Path();
  const Series many = Many();
  std::string text;
  for (double v : many.values) text += std::to_string(v) + "\n";
  const std::string fromValues = (dir / "v.txt").string();
  const std::string asItStands = (dir / "v.inp").string();
  WriteBytes(dir / "v.txt", text);
  ASSERT_EQ(Cli({"run", fromValues}).code, cli::kExitOk);
  const std::string reportOfValues = ReadBytes(dir / "v.out");
  const std::string inputOfValues = ReadBytes(dir / "v.inp");
  // An earlier input file of other data.
  WriteBytes(dir / "few.txt", "3\n5\n7\n18\n43\n85\n91\n98\n100\n130\n230\n487\n");
  ASSERT_EQ(Cli({"run", (dir / "few.txt").string()}).code, cli::kExitOk);

  for (int round = 0; round < 4; ++round) {
    std::filesystem::copy_file(dir / "few.inp", dir / "v.inp",
                               std::filesystem::copy_options::overwrite_existing);
    CliProcess writer({"run", fromValues, "--overwrite"}, dir, "writer");
    CliProcess reader({"run", asItStands}, dir, "reader");
    ASSERT_TRUE(writer.Started() && reader.Started());
    EXPECT_EQ(writer.Wait(), cli::kExitOk) << writer.Err();
    EXPECT_EQ(reader.Wait(), cli::kExitOk) << reader.Err();
    // Whichever went first, the last one wrote the report of the input file
    // that is now beside it.
    EXPECT_EQ(ReadBytes(dir / "v.inp"), inputOfValues) << "round " << round;
    EXPECT_EQ(ReadBytes(dir / "v.out"), reportOfValues) << "round " << round;
    EXPECT_FALSE(std::filesystem::exists(dir / ".v.lock"));
  }
}

}  // namespace
}  // namespace quilmor::testing
