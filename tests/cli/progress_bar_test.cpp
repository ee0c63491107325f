#include "cli/progress_bar.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <thread>
#include <vector>

namespace quilmor::cli {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
using TimePoint = std::chrono::steady_clock::time_point;

TEST(ProgressLine, States) {
  struct Row {
    std::size_t done, total;
    double elapsed;
    const char* line;
  };
  const std::vector<Row> rows = {
      // 42 of 100 in 4.2 s: 10 per second, 58 left take 5.8 s, shown as 0:06.
      {42, 100, 4.2, " 42/100 [############------------------]  10.0/s  0:06 left"},
      {0, 100, 0.0, "  0/100 [------------------------------]  -/s  - left"},
      {100, 100, 8.0, "100/100 [##############################]  12.5/s  done in 0:08"},
      // 1 of 1000 after 5 s: 4995 s left = 1 h 23 min 15 s.
      {1, 1000, 5.0, "   1/1000 [------------------------------]  0.2/s  1:23:15 left"},
      {0, 0, 1.0, "0/0 [##############################]  0.0/s  done in 0:01"},
  };
  for (const Row& row : rows) EXPECT_EQ(ProgressLine(row.done, row.total, row.elapsed), row.line);
}

// A clock the test moves by hand.
struct ManualClock {
  TimePoint now{};
  ProgressBar::Clock Function() {
    return [this] { return now; };
  }
};

TEST(ProgressBar, RedrawsInPlaceAtMostEveryIntervalAndEndsTheLine) {
  ManualClock clock;
  std::ostringstream err;
  {
    ProgressBar bar(err, 4, true, clock.Function());
    clock.now += seconds(1);
    bar.Advance();  // first draw
    clock.now += milliseconds(50);
    bar.Advance();  // too soon: not drawn
    clock.now += milliseconds(950);
    bar.Advance();  // drawn
    clock.now += seconds(2);
    bar.Advance();  // the last item: drawn
    bar.Finish();   // the last state again and a newline
  }                 // the destructor's Finish writes nothing more
  EXPECT_EQ(err.str(),
            "\r1/4 [#######-----------------------]  1.0/s  0:03 left"
            "\r3/4 [######################--------]  1.5/s  0:01 left"
            "\r4/4 [##############################]  1.0/s  done in 0:04"
            "\r4/4 [##############################]  1.0/s  done in 0:04\n");
}

TEST(ProgressBar, DisabledWritesNothing) {
  std::ostringstream err;
  {
    ProgressBar bar(err, 10, false);
    for (int i = 0; i < 10; ++i) bar.Advance();
    EXPECT_EQ(bar.Done(), 10u);
  }
  EXPECT_EQ(err.str(), "");
}

TEST(ProgressBar, CountsEveryStepOfSeveralThreads) {
  constexpr std::size_t kPerThread = 2000;
  std::ostringstream err;
  ProgressBar bar(err, 2 * kPerThread, true);
  {
    std::vector<std::jthread> workers;
    for (int t = 0; t < 2; ++t) {
      workers.emplace_back([&] {
        for (std::size_t i = 0; i < kPerThread; ++i) bar.Advance();
      });
    }
  }
  EXPECT_EQ(bar.Done(), 2 * kPerThread);
  bar.Finish();
  const std::string out = err.str();
  // The last drawing shows everything done and the line is ended once.
  const std::string last = out.substr(out.rfind('\r') + 1);
  EXPECT_EQ(last.rfind("4000/4000 [##############################]", 0), 0u) << last;
  EXPECT_EQ(out.back(), '\n');
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1);
}

}  // namespace
}  // namespace quilmor::cli
