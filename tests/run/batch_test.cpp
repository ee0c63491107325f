#include "run/batch.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace quilmor::run {
namespace {

TEST(SafeNames, StemsAreSafeAndUniqueWithoutRegardToCase) {
  struct Row {
    const char* name;
    const char* stem;
  };
  SafeNames names;
  const std::vector<Row> rows = {
      {"Wabash at Mt. Carmel", "Wabash_at_Mt._Carmel"},
      {"basin/../gauge", "basin_.._gauge"},
      {"..", "__"},
      {".hidden", "_hidden"},
      {"", "series"},
      {"line\r\nbreak\x01", "line__break_"},
      {"C:\\data\\x", "C__data_x"},
      {"summary", "summary_2"},
      {"Summary.Shard", "Summary.Shard_2"},
      {"summary.csv", "summary.csv"},
      {"station", "station"},
      {"Station", "Station_2"},
      {"station_2", "station_2_2"},
      {"Zürich", "Zürich"},
      {"ends.", "ends_"},
  };
  for (const Row& row : rows) EXPECT_EQ(names.Take(row.name), row.stem) << row.name;
  EXPECT_EQ(SafeNames::Stem(std::string(300, 'x')).size(), SafeNames::kMaxStemLength);
}

TEST(Shard, ParsedAndKept) {
  for (const char* bad : {"", "1", "0/3", "4/3", "-1/3", "1/0", "a/b", "1/3/4", " 1/3", "1/9999999999"}) {
    EXPECT_FALSE(ParseShard(bad)) << bad;
  }
  const auto shard = ParseShard("2/3");
  ASSERT_TRUE(shard);
  std::vector<std::size_t> kept;
  for (std::size_t i = 0; i < 10; ++i) {
    if (shard->Keeps(i)) kept.push_back(i);
  }
  EXPECT_EQ(kept, (std::vector<std::size_t>{1, 4, 7}));
}

// Jobs that take longer the earlier they come, so that they finish out of
// order: the results still come in order, and never more than the window
// are under way or waiting.
TEST(ProcessInOrder, EmitsInOrderWithinTheWindow) {
  for (int workers : {1, 2, 4}) {
    const int total = 40;
    int next = 0;
    std::atomic<int> open{0};
    int widest = 0;
    std::vector<int> emitted;
    ProcessInOrder<int, int>(
        workers, 6,
        [&]() -> std::optional<int> {
          if (next == total) return std::nullopt;
          widest = std::max(widest, ++open);
          return next++;
        },
        [&](int& job) {
          std::this_thread::sleep_for(std::chrono::microseconds(200 * (job % 5)));
          return job * 10;
        },
        [&](int& result) {
          --open;
          emitted.push_back(result);
        });
    ASSERT_EQ(emitted.size(), static_cast<std::size_t>(total));
    for (int i = 0; i < total; ++i) EXPECT_EQ(emitted[static_cast<std::size_t>(i)], i * 10);
    EXPECT_LE(widest, 6) << workers << " workers";
  }
}

TEST(ProcessInOrder, AFailureEndsThePoolAndIsThrown) {
  int next = 0;
  std::vector<int> emitted;
  EXPECT_THROW((ProcessInOrder<int, int>(
                   2, 4,
                   [&]() -> std::optional<int> {
                     if (next == 100) return std::nullopt;
                     return next++;
                   },
                   [](int& job) {
                     if (job == 7) throw std::runtime_error("bad series");
                     return job;
                   },
                   [&](int& result) { emitted.push_back(result); })),
               std::runtime_error);
  EXPECT_LT(next, 100);
  for (std::size_t i = 0; i < emitted.size(); ++i) EXPECT_EQ(emitted[i], static_cast<int>(i));
  EXPECT_LE(emitted.size(), 7u);
}

}  // namespace
}  // namespace quilmor::run
