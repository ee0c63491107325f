// The design values on the command line: `run --json/--csv`, `design`, the
// design options' checks and the goodness-of-fit columns of `fit`.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_app.hpp"
#include "cli_runner.hpp"
#include "temp_folder.hpp"
#include "textio/text_file.hpp"

namespace quilmor::cli {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// Failure times of one air-conditioning unit (hours), 12 values.
const std::string kAircondit = "3\n5\n7\n18\n43\n85\n91\n98\n100\n130\n230\n487\n";

class DesignOutputTest : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string Path(const std::string& name) { return (folder / name).string(); }
  void SetUp() override { WriteBytes(folder / "air.txt", kAircondit); }
};

TEST_F(DesignOutputTest, RunWritesTheDesignAndCandidateTablesAsCsv) {
  const CliResult r = Cli({"run", Path("air.txt"), "--csv", "--periods", "10, 100", "--design-life",
                           "20", "--bootstrap", "10", "--seed", "3"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  const auto design = textio::ReadTextLines(folder / "air.design.csv");
  const auto candidates = textio::ReadTextLines(folder / "air.candidates.csv");
  ASSERT_TRUE(design && candidates);
  ASSERT_EQ(design->size(), 3u);
  EXPECT_EQ(design->front(),
            "T,F,X,method_lower,method_upper,chosen_anew_lower,chosen_anew_upper,"
            "same_function_lower,same_function_upper,bootstrap_median,risk");
  EXPECT_EQ((*design)[1].substr(0, 7), "10,0.9,");
  EXPECT_EQ((*design)[2].substr(0, 9), "100,0.99,");
  // Every column filled: eleven cells, none empty.
  std::stringstream cells((*design)[2]);
  std::string cell;
  int count = 0;
  while (std::getline(cells, cell, ',')) {
    EXPECT_FALSE(cell.empty()) << count;
    ++count;
  }
  EXPECT_EQ(count, 11);
  EXPECT_EQ(candidates->front(),
            "code,name,k,sse,rmse,aicc,bic,ks_distance,anderson_darling,ppcc,near_best,chosen");
  EXPECT_EQ(candidates->size(), 33u);  // 32 candidates of a best-of-all run
  EXPECT_NE(ReadBytes(folder / "air.design.csv").find("risk\r\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(folder / "air.json"));
  // Nothing left under a temporary name.
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name.rfind("air.", 0) == 0) << name;
  }
}

TEST_F(DesignOutputTest, WithoutBootstrapItsCellsStayEmpty) {
  ASSERT_EQ(Cli({"run", Path("air.txt"), "--csv", "--periods", "50"}).code, kExitOk);
  const auto design = textio::ReadTextLines(folder / "air.design.csv");
  ASSERT_TRUE(design);
  ASSERT_EQ(design->size(), 2u);
  // Five bootstrap cells and the risk, all empty.
  const std::string& row = (*design)[1];
  EXPECT_EQ(row.substr(row.size() - 6), ",,,,,,");
  EXPECT_NE(row[row.size() - 7], ',');  // the method's upper limit
}

TEST_F(DesignOutputTest, JsonHoldsTheRunAndTheSeed) {
  const CliResult r =
      Cli({"run", Path("air.txt"), "--json", "--pref", "4", "--bootstrap", "8", "--seed", "11"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  const auto json = nlohmann::json::parse(ReadBytes(folder / "air.json"));
  EXPECT_EQ(json["seed"], 11);
  EXPECT_EQ(json["chosen"]["code"], 4);
  EXPECT_TRUE(json["chosen"]["preferred_by_user"].get<bool>());
  EXPECT_EQ(json["candidates"].size(), 1u);
  EXPECT_EQ(json["design_values"].size(), 10u);  // the default return periods
  EXPECT_EQ(json["bootstrap"]["replicates"], 8);
  EXPECT_EQ(json["tables"]["frequencies"].size(), 12u);
  EXPECT_EQ(json["input"]["values_used"], 12);
}

TEST_F(DesignOutputTest, AStoppedRunWritesItsJsonButNoTables) {
  WriteBytes(folder / "flat.txt", "5\n5\n5\n5\n5\n5\n5\n");
  const CliResult r = Cli({"run", Path("flat.txt"), "--json", "--csv"});
  EXPECT_EQ(r.code, kExitStopped);
  const auto json = nlohmann::json::parse(ReadBytes(folder / "flat.json"));
  EXPECT_TRUE(json["stop"].get<bool>());
  EXPECT_FALSE(json.contains("chosen"));
  EXPECT_FALSE(std::filesystem::exists(folder / "flat.design.csv"));
}

struct BadOption {
  const char* flag;
  const char* value;
};

class DesignOptionRefused : public ::testing::TestWithParam<BadOption> {};

TEST_P(DesignOptionRefused, ExitsTwoWithTheOptionNamed) {
  TempFolder folder;
  WriteBytes(folder / "air.txt", kAircondit);
  for (const char* command : {"run", "design"}) {
    const CliResult r =
        Cli({command, (folder / "air.txt").string(), GetParam().flag, GetParam().value});
    EXPECT_EQ(r.code, kExitUsage) << command;
    EXPECT_NE(r.err.find(GetParam().flag), std::string::npos) << r.err;
  }
  // The run refused its options before anything was written.
  EXPECT_FALSE(std::filesystem::exists(folder / "air.inp"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DesignOptionRefused,
    ::testing::Values(BadOption{"--bootstrap", "-1"}, BadOption{"--bootstrap", "100001"},
                      BadOption{"--bootstrap", "ten"}, BadOption{"--periods", "1"},
                      BadOption{"--periods", "10,0.5"}, BadOption{"--freqs", "0"},
                      BadOption{"--freqs", "1"}, BadOption{"--design-life", "0"},
                      BadOption{"--design-life", "-5"}, BadOption{"--bootstrap-kind", "jackknife"},
                      BadOption{"--seed", "-1"}));

TEST_F(DesignOutputTest, DesignPrintsAnAlignedTableAndWritesNothing) {
  const CliResult r = Cli({"design", Path("air.txt"), "--pref", "57", "--periods", "10,100",
                           "--freqs", "0.5", "--bootstrap", "5"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  const std::vector<std::string> lines = textio::SplitLines(r.out);
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[0], "Weibull distribution (code 57), N = 12");
  EXPECT_EQ(lines[2].substr(0, 7), "  T    ");
  EXPECT_EQ(lines[3].substr(0, 3), " 10");
  EXPECT_EQ(lines[5].substr(0, 3), "  2");  // F = 0.5
  // Right-aligned columns: the X-values end under the X of the header.
  const std::size_t x = lines[2].find(" X ") + 1;
  for (std::size_t row = 3; row <= 5; ++row) {
    EXPECT_NE(lines[row][x], ' ') << lines[row];
    EXPECT_EQ(lines[row][x + 1], ' ') << lines[row];
  }
  EXPECT_NE(r.out.find("5 replicates (nonparametric, seed 1)"), std::string::npos);
  // Not a terminal here: no progress bar.
  EXPECT_EQ(r.err.find('\r'), std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(DesignOutputTest, FitJsonCarriesTheGoodnessOfFit) {
  const CliResult r = Cli({"fit", Path("air.txt")});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  const auto json = nlohmann::json::parse(r.out);
  for (const char* key :
       {"k", "sse", "rmse", "aicc", "bic", "ks_distance", "anderson_darling", "ppcc"}) {
    EXPECT_TRUE(json["goodness_of_fit"].contains(key)) << key;
  }
  int chosen = 0;
  for (const auto& c : json["candidates"]) {
    EXPECT_TRUE(c.contains("anderson_darling"));
    EXPECT_TRUE(c.contains("near_best"));
    chosen += c["chosen"].get<bool>();
  }
  EXPECT_EQ(chosen, 1);
}

}  // namespace
}  // namespace quilmor::cli
