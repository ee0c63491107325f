// A progress bar on the error stream for long runs (bootstrap replicates,
// batches): done / total, the rate and the time left, redrawn in place. It is
// drawn only when the error stream is a terminal and the user did not silence
// it, so that logs and pipes receive no control characters. Worker threads
// may advance it at once.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <mutex>
#include <string>

namespace quilmor::cli {

// True when a bar should be drawn: stderr is a terminal and `quiet` is false.
bool ProgressWanted(bool quiet);

class ProgressBar {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // `enabled` false: the bar writes nothing at all (use ProgressWanted). The
  // clock is read at construction and at each step; tests pass their own.
  ProgressBar(std::ostream& err, std::size_t total, bool enabled,
              Clock clock = std::chrono::steady_clock::now);
  ~ProgressBar();  // Finish()
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // Counts `count` more items done; redraws at most every kRedrawInterval and
  // always at the last item. Safe to call from several threads.
  void Advance(std::size_t count = 1);

  // Draws the final state and ends the line; later calls do nothing.
  void Finish();

  std::size_t Done() const;

  static constexpr std::chrono::milliseconds kRedrawInterval{100};
  static constexpr int kBarWidth = 30;

 private:
  void Draw(std::chrono::steady_clock::time_point now);  // m_mutex held

  std::ostream& m_err;
  const std::size_t m_total;
  const bool m_enabled;
  const Clock m_clock;
  const std::chrono::steady_clock::time_point m_start;
  mutable std::mutex m_mutex;
  std::size_t m_done = 0;
  bool m_drawn = false;
  bool m_finished = false;
  std::chrono::steady_clock::time_point m_lastDraw;
  std::size_t m_lastLength = 0;
};

// The text of one state of the bar (without the leading carriage return):
// "  42/100 [############------------------]  12.5/s  0:05 left", or, when all
// is done, "... done in 0:08". Rate and time left read "-" before any time
// has passed.
std::string ProgressLine(std::size_t done, std::size_t total, double elapsedSeconds);

}  // namespace quilmor::cli
