// `quilmor-cli batch` and `quilmor-cli merge` against single runs: every
// series' files and numbers are those of `quilmor-cli run` on it alone,
// whatever the number of workers or shards.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_app.hpp"
#include "cli_runner.hpp"
#include "ended_process.hpp"
#include "temp_folder.hpp"
#include "textio/text_file.hpp"

namespace quilmor::cli {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;
namespace fs = std::filesystem;

const fs::path kExamples = fs::path(QUILMOR_SOURCE_DIR) / "data" / "examples";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::vector<nlohmann::json> JsonLines(const fs::path& path) {
  std::vector<nlohmann::json> rows;
  for (const std::string& line : textio::ReadTextLines(path).value_or(std::vector<std::string>{})) {
    rows.push_back(nlohmann::json::parse(line));
  }
  return rows;
}

// A series of `count` values of a skewed shape, different for each seed.
std::string Series(int count, int seed) {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    const double u = ((i * 37 + seed * 11) % count + 0.5) / count;
    text += std::to_string(10.0 + seed + 5.0 * std::pow(-std::log(u), 1.0 + 0.1 * seed)) + "\n";
  }
  return text;
}

class BatchCommandTest : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string Path(const std::string& name) { return (folder / name).string(); }
};

TEST_F(BatchCommandTest, EachSeriesAsARunOfItsOwn) {
  const std::vector<std::string> names = {"aircondit_failure_hours", "clearfork_porosity",
                                          "wabash_annual_peak_flow"};
  fs::create_directories(folder / "in");
  fs::create_directories(folder / "single");
  for (const std::string& name : names) {
    fs::copy_file(kExamples / (name + ".txt"), folder / "in" / (name + ".txt"));
    fs::copy_file(kExamples / (name + ".txt"), folder / "single" / (name + ".txt"));
  }
  const std::vector<std::string> options = {"--json", "--csv", "--periods", "10, 100"};
  std::vector<std::string> args = {"batch", Path("in"), "--out", Path("res"), "--reports", "-q",
                                   "--jobs", "2"};
  args.insert(args.end(), options.begin(), options.end());
  const CliResult batch = Cli(args);
  ASSERT_EQ(batch.code, kExitOk) << batch.err;

  const std::vector<nlohmann::json> rows = JsonLines(folder / "res" / "summary.jsonl");
  ASSERT_EQ(rows.size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(names[i]);
    std::vector<std::string> single = {"run", Path("single/" + names[i] + ".txt")};
    single.insert(single.end(), options.begin(), options.end());
    ASSERT_EQ(Cli(single).code, kExitOk);
    for (const char* ext : {".inp", ".out", ".aux", ".json", ".design.csv", ".candidates.csv"}) {
      const std::string alone = ReadBytes(folder / "single" / (names[i] + ext));
      const std::string inBatch = ReadBytes(folder / "res" / (names[i] + ext));
      ASSERT_FALSE(alone.empty()) << ext;
      // The reports name their own input file: the only difference allowed.
      EXPECT_EQ(Replaced(inBatch, Path("res"), Path("single")), alone) << ext;
    }
    const nlohmann::json run = nlohmann::json::parse(ReadBytes(folder / "single" / (names[i] + ".json")));
    const nlohmann::json& row = rows[i];
    EXPECT_EQ(row["index"], i);
    EXPECT_EQ(row["name"], names[i]);
    EXPECT_EQ(row["status"], "ok");
    EXPECT_EQ(row["N"], run["input"]["values_used"]);
    EXPECT_EQ(row["code"], run["chosen"]["code"]);
    EXPECT_EQ(row["parameters"], run["chosen"]["parameters"]);
    EXPECT_EQ(row["sse"], run["chosen"]["goodness_of_fit"]["sse"]);
    EXPECT_EQ(row["aicc"], run["chosen"]["goodness_of_fit"]["aicc"]);
    EXPECT_EQ(row["design_values"], run["design_values"]);
  }
  const auto csv = textio::ReadTextLines(folder / "res" / "summary.csv");
  ASSERT_TRUE(csv);
  ASSERT_EQ(csv->size(), names.size() + 1);
  EXPECT_EQ(csv->front().substr(0, 50), "index,name,source,file,N,code,distribution,A,B,E,C");
  EXPECT_NE(csv->front().find(",sse,r,aicc,X_10,method_lower_10,method_upper_10,X_100,"),
            std::string::npos);
  EXPECT_NE(csv->front().find(",method_upper_100,status,message"), std::string::npos);
  EXPECT_EQ((*csv)[3].substr(0, 26), "2,wabash_annual_peak_flow,");

  // An input file is run as it stands, as `run` runs it.
  const CliResult again =
      Cli({"batch", Path("single/wabash_annual_peak_flow.inp"), "--out", Path("res2"), "--reports"});
  ASSERT_EQ(again.code, kExitOk) << again.err;
  EXPECT_EQ(Replaced(ReadBytes(folder / "res2" / "wabash_annual_peak_flow.out"), Path("res2"),
                     Path("single")),
            ReadBytes(folder / "single" / "wabash_annual_peak_flow.out"));
}

TEST_F(BatchCommandTest, SameRowsWhateverTheWorkersAndShards) {
  std::string wide = "a,b,c,d,e,f\n";
  std::vector<std::vector<std::string>> columns;
  for (int seed = 0; seed < 6; ++seed) {
    columns.push_back(textio::SplitLines(Series(18 + 4 * seed, seed)));
  }
  for (std::size_t r = 0; r < columns.back().size(); ++r) {
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (c > 0) wide += ",";
      if (r < columns[c].size()) wide += columns[c][r];
    }
    wide += "\n";
  }
  WriteBytes(folder / "net.csv", wide);
  WriteBytes(folder / "more.jsonl",
             "{\"name\": \"g\", \"values\": [3, 1, 4, 1, 5, 9, 2, 6, 5, 3]}\n{\"name\": \"h\"}\n");
  const std::vector<std::string> inputs = {Path("net.csv"), Path("more.jsonl")};
  const auto batch = [&](const std::string& out, std::vector<std::string> extra) {
    std::vector<std::string> args = {"batch"};
    args.insert(args.end(), inputs.begin(), inputs.end());
    args.insert(args.end(), {"--out", Path(out), "-q", "--periods", "50"});
    args.insert(args.end(), extra.begin(), extra.end());
    return Cli(args).code;
  };
  ASSERT_EQ(batch("one", {"--jobs", "1"}), kExitSomeNotRun);
  ASSERT_EQ(batch("two", {"--jobs", "2"}), kExitSomeNotRun);
  std::vector<std::string> shards = {"merge"};
  for (const char* k : {"1/3", "2/3", "3/3"}) {
    const std::string out = std::string("shard") + k[0];
    EXPECT_NE(batch(out, {"--shard", k}), kExitUsage);
    shards.push_back(Path(out));
  }
  std::vector<std::string> merge = shards;
  merge.insert(merge.end(), {"--out", Path("merged")});
  EXPECT_EQ(Cli(merge).code, kExitSomeNotRun);
  for (const char* name : {"summary.csv", "summary.jsonl", "summary.shard.json"}) {
    const std::string one = ReadBytes(folder / "one" / name);
    EXPECT_EQ(ReadBytes(folder / "two" / name), one) << name;
    EXPECT_EQ(ReadBytes(folder / "merged" / name), one) << name;
  }
  const std::vector<nlohmann::json> rows = JsonLines(folder / "one" / "summary.jsonl");
  ASSERT_EQ(rows.size(), 8u);
  EXPECT_EQ(rows[6]["name"], "g");
  EXPECT_EQ(rows[7]["status"], "refused");

  // Shards that do not make up one batch are not merged.
  struct Row {
    std::vector<std::string> folders;
    const char* messagePart;
  };
  ASSERT_NE(batch("other", {"--shard", "2/2"}), kExitUsage);
  for (const Row& row : std::vector<Row>{
           {{shards[1], shards[3]}, "not the 3 shards"},
           {{shards[1], shards[2], shards[2]}, "not the 3 shards"},
           {{shards[1], Path("other")}, "not the 3 shards"},
           {{shards[1], shards[2], Path("net.csv")}, "holds no batch summary"},
       }) {
    std::vector<std::string> args = {"merge"};
    args.insert(args.end(), row.folders.begin(), row.folders.end());
    args.insert(args.end(), {"--out", Path("bad")});
    const CliResult r = Cli(args);
    EXPECT_EQ(r.code, kExitUsage);
    EXPECT_NE(r.err.find(row.messagePart), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(folder / "bad" / "summary.csv"));
}

TEST_F(BatchCommandTest, EverySourceAndEveryBadSeriesGetsItsRow) {
  fs::create_directories(folder / "net" / "sub");
  WriteBytes(folder / "net" / "a.txt", Series(20, 1));
  WriteBytes(folder / "net" / "flat.dat", "3\n3\n3\n3\n3\n3\n3\n");
  WriteBytes(folder / "net" / "few.txt", "1\n2\n3\n");
  WriteBytes(folder / "net" / "text.txt", "1\n2\nthree\n");
  WriteBytes(folder / "net" / ".hidden.txt", Series(20, 2));
  WriteBytes(folder / "net" / "notes.md", "not a series\n");
  WriteBytes(folder / "net" / "sub" / "c.txt", Series(20, 3));
  WriteBytes(folder / "long.csv", "station;flow\nX;1\nY;4\nX;2\nY;5\nX;3\nY;7\nX;5\nY;2\nX;8\n"
                                  "Y;9\nX;13\nX;21\n");
  struct Row {
    const char* name;
    const char* status;
    const char* messagePart;
  };
  const std::vector<Row> expected = {
      {"a", "ok", ""},
      {"few", "refused", "The minimum number of data is 6"},
      {"flat", "stopped", "no variation between data"},
      {"sub/c", "ok", ""},
      {"text", "refused", "line 3: \"three\" is not a number"},
      {"missing", "refused", "cannot read"},
      {"X", "ok", ""},
      {"Y", "refused", "The minimum number of data is 6"},
  };
  const CliResult r = Cli({"batch", Path("net"), Path("missing.txt"), Path("long.csv"), "--long",
                           "station,flow", "--recursive", "--out", Path("res")});
  EXPECT_EQ(r.code, kExitSomeNotRun) << r.err;
  const std::vector<nlohmann::json> rows = JsonLines(folder / "res" / "summary.jsonl");
  ASSERT_EQ(rows.size(), expected.size()) << r.err;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i]["name"], expected[i].name);
    EXPECT_EQ(rows[i]["status"], expected[i].status) << rows[i]["message"];
    EXPECT_NE(rows[i]["message"].get<std::string>().find(expected[i].messagePart),
              std::string::npos)
        << rows[i]["message"];
  }
  EXPECT_EQ(rows[3]["file"], "sub_c");
  // Without --recursive the folder inside is not read.
  ASSERT_EQ(Cli({"batch", Path("net"), "--out", Path("flat"), "-q"}).code, kExitSomeNotRun);
  EXPECT_EQ(JsonLines(folder / "flat" / "summary.jsonl").size(), 4u);
}

TEST_F(BatchCommandTest, JsonLinesFromTheStandardInput) {
  std::istringstream in("{\"name\": \"s/1\", \"values\": [5, 3, 8, 1, 9, 2, null, 7]}\n\n"
                        "{\"name\": \"s/1\", \"values\": [1, 2, 3, 4, 5, 6, 7, 8, 10]}\n");
  std::streambuf* saved = std::cin.rdbuf(in.rdbuf());
  const CliResult r = Cli({"batch", "-", "--out", Path("res")});
  std::cin.rdbuf(saved);
  ASSERT_EQ(r.code, kExitOk) << r.err;
  const std::vector<nlohmann::json> rows = JsonLines(folder / "res" / "summary.jsonl");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0]["N"], 7);
  EXPECT_EQ(rows[0]["source"], "standard input line 1");
  EXPECT_EQ(rows[1]["source"], "standard input line 3");
  EXPECT_EQ(rows[0]["file"], "s_1");
  EXPECT_EQ(rows[1]["file"], "s_1_2");
}

TEST_F(BatchCommandTest, WhatAKilledBatchLeftIsRemovedByTheNext) {
  const pid_t child = testing::EndedProcessId();
  ASSERT_GT(child, 0);
  const std::string dead = std::to_string(child);
  const std::string alive = std::to_string(::getppid());
  fs::create_directories(folder / "res");
  const std::vector<std::string> left = {".summary.csv.part" + dead + "-0",
                                         ".station 1.out.part" + dead + "-7"};
  const std::vector<std::string> kept = {".summary.csv.part" + alive + "-0", ".notes.partial",
                                         "a.part" + dead + "-0"};
  for (const auto& name : left) WriteBytes(folder / "res" / name, "half");
  for (const auto& name : kept) WriteBytes(folder / "res" / name, "keep");
  WriteBytes(folder / "a.txt", Series(20, 1));
  ASSERT_EQ(Cli({"batch", Path("a.txt"), "--out", Path("res"), "--reports"}).code, kExitOk);
  for (const auto& name : left) EXPECT_FALSE(fs::exists(folder / "res" / name)) << name;
  for (const auto& name : kept) EXPECT_TRUE(fs::exists(folder / "res" / name)) << name;
  EXPECT_TRUE(fs::exists(folder / "res" / "a.out"));
  EXPECT_FALSE(fs::exists(folder / "res" / ".summary.lock"));
}

TEST_F(BatchCommandTest, BadUsageIsRefusedBeforeAnySeriesRuns) {
  WriteBytes(folder / "a.txt", Series(20, 1));
  fs::create_directories(folder / "res");
  WriteBytes(folder / "res" / "b.txt", Series(20, 1));
  struct Row {
    std::vector<std::string> args;
    const char* messagePart;
  };
  const std::vector<Row> rows = {
      {{Path("a.txt"), "--shard", "0/2"}, "--shard takes K/N"},
      {{Path("a.txt"), "--shard", "3/2"}, "--shard takes K/N"},
      {{Path("a.txt"), "--long", "station"}, "--long takes the name column"},
      {{Path("a.txt"), "--jobs", "-1"}, "--jobs must be"},
      {{"-", "-"}, "only once"},
      {{Path("res")}, "lies in the output folder"},
      {{Path("res/b.txt")}, "lies in the output folder"},
      {{Path("a.txt"), "--pref", "7"}, "distribution preference"},
      {{Path("a.txt"), "--bootstrap", "-5"}, "--bootstrap"},
  };
  for (const Row& row : rows) {
    std::vector<std::string> args = {"batch"};
    args.insert(args.end(), row.args.begin(), row.args.end());
    args.insert(args.end(), {"--out", Path("res")});
    const CliResult r = Cli(args);
    EXPECT_EQ(r.code, kExitUsage) << row.messagePart;
    EXPECT_NE(r.err.find(row.messagePart), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(folder / "res" / "summary.csv")) << row.messagePart;
  }
}

}  // namespace
}  // namespace quilmor::cli
