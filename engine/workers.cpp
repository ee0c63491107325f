#include "engine/workers.hpp"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace quilmor::engine {
namespace {

// Runs work(worker) on up to `count` workers, the calling thread being worker
// 0, and rethrows the first exception once all have returned. The work is
// handed out dynamically, so when the system refuses a thread the workers
// that did start do it all.
void RunOnWorkers(int count,
                  const std::function<void(int worker, std::atomic<bool>& failed)>& work) {
  std::atomic<bool> failed{false};
  std::exception_ptr error;
  std::mutex errorMutex;
  auto guarded = [&](int worker) {
    try {
      work(worker, failed);
    } catch (...) {
      failed = true;
      std::lock_guard lock(errorMutex);
      if (!error) error = std::current_exception();
    }
  };
  std::vector<std::thread> threads;
  threads.reserve(count > 0 ? count - 1 : 0);
  for (int worker = 1; worker < count; ++worker) {
    try {
      threads.emplace_back(guarded, worker);
    } catch (const std::system_error&) {
      break;
    }
  }
  guarded(0);
  for (std::thread& thread : threads) thread.join();
  if (error) std::rethrow_exception(error);
}

}  // namespace

Workers::Workers(int count) {
  if (count <= 0) count = static_cast<int>(std::thread::hardware_concurrency());
  m_count = std::clamp(count, 1, 64);
}

void Workers::ForEach(int count, const std::function<void(int index, int worker)>& body) const {
  if (count <= 0) return;
  std::atomic<int> next{0};
  RunOnWorkers(std::min(m_count, count), [&](int worker, std::atomic<bool>& failed) {
    for (int index = next++; index < count && !failed; index = next++) body(index, worker);
  });
}

Workers::ScanOutcome Workers::ScanWhileImproving(
    int maxTrials, double start, const std::function<double(int trial, int worker)>& trial,
    std::vector<double>& sse) const {
  sse.assign(static_cast<std::size_t>(maxTrials) + 1, 0.0);
  if (maxTrials <= 0) return {};
  if (m_count == 1) {
    // One worker: the trials in order, with nothing to share.
    double best = start;
    for (int j = 1; j <= maxTrials; ++j) {
      sse[j] = trial(j, 0);
      if (!(sse[j] < best)) {
        sse.resize(static_cast<std::size_t>(j) + 1);
        return {j, j - 1};
      }
      best = sse[j];
    }
    return {maxTrials, maxTrials};
  }
  std::vector<char> done(static_cast<std::size_t>(maxTrials) + 2, 0);
  std::mutex mutex;
  int confirmed = 0;  // trials 1..confirmed all improved
  double best = start;
  std::atomic<int> stopAt{maxTrials + 1};  // the first trial that did not improve
  std::atomic<int> next{1};

  RunOnWorkers(m_count, [&](int worker, std::atomic<bool>& failed) {
    for (int j = next++; j <= maxTrials && j <= stopAt && !failed; j = next++) {
      const double value = trial(j, worker);
      std::lock_guard lock(mutex);
      sse[j] = value;
      done[j] = 1;
      // Walk the trials finished without a gap, in order, as the scan would.
      while (confirmed < maxTrials && done[confirmed + 1] && stopAt > maxTrials) {
        const int k = confirmed + 1;
        if (sse[k] < best) {
          best = sse[k];
          confirmed = k;
        } else {
          stopAt = k;
        }
      }
    }
  });
  const int trials = std::min(stopAt.load(), maxTrials);
  sse.resize(static_cast<std::size_t>(trials) + 1);
  return {trials, confirmed};
}

}  // namespace quilmor::engine
