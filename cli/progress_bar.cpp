#include "cli/progress_bar.hpp"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <ostream>

#include "textio/number_format.hpp"

namespace quilmor::cli {
namespace {

// "m:ss", or "h:mm:ss" from an hour on.
std::string Duration(double seconds) {
  const auto total = static_cast<long long>(std::llround(std::max(seconds, 0.0)));
  const long long h = total / 3600, m = total / 60 % 60, s = total % 60;
  const std::string ss = (s < 10 ? "0" : "") + std::to_string(s);
  if (h == 0) return std::to_string(m) + ":" + ss;
  return std::to_string(h) + ":" + (m < 10 ? "0" : "") + std::to_string(m) + ":" + ss;
}

}  // namespace

bool ProgressWanted(bool quiet) { return !quiet && isatty(STDERR_FILENO) == 1; }

std::string ProgressLine(std::size_t done, std::size_t total, double elapsedSeconds) {
  const std::string totalText = std::to_string(total);
  std::string line =
      textio::FormatI(static_cast<long long>(done), static_cast<int>(totalText.size()));
  line += "/" + totalText + " [";
  const std::size_t filled =
      total == 0 ? ProgressBar::kBarWidth
                 : std::min<std::size_t>(done, total) * ProgressBar::kBarWidth / total;
  line += std::string(filled, '#') + std::string(ProgressBar::kBarWidth - filled, '-') + "]  ";
  if (elapsedSeconds <= 0.0) return line + "-/s  - left";
  const double rate = static_cast<double>(done) / elapsedSeconds;
  line += textio::FormatF(rate, 0, 1) + "/s  ";
  if (done >= total) return line + "done in " + Duration(elapsedSeconds);
  if (done == 0) return line + "- left";
  return line + Duration(static_cast<double>(total - done) / rate) + " left";
}

ProgressBar::ProgressBar(std::ostream& err, std::size_t total, bool enabled, Clock clock)
    : m_err(err),
      m_total(total),
      m_enabled(enabled),
      m_clock(std::move(clock)),
      m_start(m_clock()) {}

ProgressBar::~ProgressBar() { Finish(); }

void ProgressBar::Advance(std::size_t count) {
  std::lock_guard lock(m_mutex);
  m_done += count;
  if (!m_enabled || m_finished) return;
  const auto now = m_clock();
  if (!m_drawn || now - m_lastDraw >= kRedrawInterval || m_done >= m_total) Draw(now);
}

void ProgressBar::Finish() {
  std::lock_guard lock(m_mutex);
  if (!m_enabled || m_finished) return;
  Draw(m_clock());
  m_err << '\n' << std::flush;
  m_finished = true;
}

std::size_t ProgressBar::Done() const {
  std::lock_guard lock(m_mutex);
  return m_done;
}

void ProgressBar::Draw(std::chrono::steady_clock::time_point now) {
  const double elapsed = std::chrono::duration<double>(now - m_start).count();
  std::string line = ProgressLine(m_done, m_total, elapsed);
  const std::size_t length = line.size();
  // Blank out what is left of a longer earlier line.
  if (length < m_lastLength) line += std::string(m_lastLength - length, ' ');
  m_err << '\r' << line << std::flush;
  m_lastLength = length;
  m_lastDraw = now;
  m_drawn = true;
}

}  // namespace quilmor::cli
