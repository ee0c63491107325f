#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_app.hpp"
#include "temp_folder.hpp"
#include "textio/input_file.hpp"

namespace quilmor::cli {
namespace {

using quilmor::testing::TempFolder;
using quilmor::testing::WriteBytes;

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

CliRun RunCliWith(std::vector<std::string> args) {
  args.insert(args.begin(), "quilmor-cli");
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  const int status = RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
  return {status, out.str(), err.str()};
}

// A series with a clear spread: 1..12 and a few larger values.
const char* kSeries = "3\n5\n7\n18\n43\n85\n91\n98\n100\n130\n230\n487\n";

TEST(FitCommand, BestOfAllListsEveryCandidateInSelectionOrder) {
  TempFolder folder;
  WriteBytes(folder / "v.txt", kSeries);
  const CliRun run = RunCliWith({"fit", (folder / "v.txt").string()});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto json = nlohmann::json::parse(run.out);
  EXPECT_FALSE(json["stop"].get<bool>());
  EXPECT_EQ(json["n"], 12);
  std::vector<int> codes;
  for (const auto& candidate : json["candidates"]) codes.push_back(candidate["code"]);
  const std::vector<int> expected{21, 22, 23, 24, 2,  3,  4,  5,  51, 52, 53, 54, 55, 56, 57, 58,
                                  59, 60, 62, 63, 7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18};
  EXPECT_EQ(codes, expected);
  // The chosen code is the candidate with the least SSE among the single
  // functions (with 12 values no two-piece function can qualify).
  const int code = json["code"];
  double best = 1e300;
  int bestCode = 0;
  for (const auto& candidate : json["candidates"]) {
    if (candidate["code"].get<int>() < 19 && candidate["code"].get<int>() > 6) continue;
    if (candidate["sse"].get<double>() < best) {
      best = candidate["sse"];
      bestCode = candidate["code"];
    }
  }
  EXPECT_EQ(code, bestCode);
}

struct KeyRow {
  const char* preference;
  std::vector<std::string> present;
  std::vector<std::string> absent;
};

class FitCommandKeys : public ::testing::TestWithParam<KeyRow> {};

TEST_P(FitCommandKeys, OnlyTheKeysOfTheChosenCode) {
  TempFolder folder;
  WriteBytes(folder / "v.txt", kSeries);
  const CliRun run = RunCliWith({"fit", (folder / "v.txt").string(), "--pref", GetParam().preference});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto json = nlohmann::json::parse(run.out);
  for (const auto& key : GetParam().present) EXPECT_TRUE(json.contains(key)) << key;
  for (const auto& key : GetParam().absent) EXPECT_FALSE(json.contains(key)) << key;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FitCommandKeys,
    ::testing::Values(
        KeyRow{"57", {"slope", "intercept"}, {"exponent", "normal", "pieces", "candidates"}},
        KeyRow{"51", {"slope", "intercept", "exponent"}, {"lower_bound", "normal"}},
        KeyRow{"58", {"slope", "lower_bound"}, {"upper_bound", "exponent"}},
        KeyRow{"59", {"slope", "upper_bound"}, {"lower_bound"}},
        KeyRow{"22", {"normal"}, {"slope", "intercept", "exponent"}},
        KeyRow{"25", {"normal", "exponent"}, {"slope"}},
        KeyRow{"62", {"student"}, {"slope", "normal"}}));

TEST(FitCommand, StoppedRunExitsOneWithItsMessage) {
  TempFolder folder;
  WriteBytes(folder / "v.txt", "2.5\n2.5\n2.5\n2.5\n2.5\n2.5\n");
  const CliRun run = RunCliWith({"fit", (folder / "v.txt").string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("No data below threshold, or no variation between data. Program stops "
                         "running"),
            std::string::npos);
  EXPECT_TRUE(nlohmann::json::parse(run.out)["stop"].get<bool>());
}

TEST(FitCommand, InputFileAboveThresholdOnly) {
  TempFolder folder;
  // Threshold above every value: nothing to fit.
  WriteBytes(folder / "t.inp", textio::RenderInputFile("", "", "t.inp", 1000.0,
                                                       {1.0, 2.0, 3.0, 4.0, 5.0, 6.0}));
  EXPECT_EQ(RunCliWith({"fit", (folder / "t.inp").string()}).status, 1);
}

TEST(FitCommand, MoreThan2500ValuesAreLimitedWithTheMessage) {
  TempFolder folder;
  std::string values;
  for (int i = 1; i <= 2600; ++i) values += std::to_string(i % 97 + 1) + "\n";
  WriteBytes(folder / "v.txt", values);
  const CliRun run = RunCliWith({"fit", (folder / "v.txt").string(), "--pref", "21"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(nlohmann::json::parse(run.out)["n"], 2500);
  EXPECT_NE(run.err.find("The analysis was limited to the first 2500 data greater than the "
                         "threshold"),
            std::string::npos);
}

struct UsageRow {
  const char* name;
  std::vector<std::string> args;
};

class FitCommandUsage : public ::testing::TestWithParam<UsageRow> {};

TEST_P(FitCommandUsage, ExitsTwo) {
  TempFolder folder;
  WriteBytes(folder / "v.txt", kSeries);
  WriteBytes(folder / "bad.txt", "1\nx\n");
  std::vector<std::string> args = GetParam().args;
  for (auto& arg : args) {
    if (arg == "@v") arg = (folder / "v.txt").string();
    if (arg == "@bad") arg = (folder / "bad.txt").string();
    if (arg == "@missing") arg = (folder / "missing.txt").string();
  }
  const CliRun run = RunCliWith(args);
  EXPECT_EQ(run.status, 2);
  EXPECT_FALSE(run.err.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FitCommandUsage,
    ::testing::Values(UsageRow{"NoInput", {"fit"}}, UsageRow{"UnknownPreference", {"fit", "@v", "--pref", "6"}},
                      UsageRow{"TextPreference", {"fit", "@v", "--pref", "x"}},
                      UsageRow{"Missing", {"fit", "@missing"}},
                      UsageRow{"NotANumber", {"fit", "@bad"}},
                      UsageRow{"NoCommand", {}},
                      UsageRow{"UnknownOption", {"fit", "@v", "--nonsense"}}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quilmor::cli
