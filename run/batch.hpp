// The pieces of a batch over many series that do not depend on how the
// series are read or their results written: file names made safe from series
// names, the share of a network one process takes (a shard), and the worker
// pool that analyses series on every core and hands their results on in
// input order, with a bounded number of them in memory at any time.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace quilmor::run {

// File stems for the series of one batch: a stem holds no path separator,
// control character or other character that a file system may refuse, does
// not begin with a dot, and is not longer than kMaxStemLength bytes. Stems
// are unique regardless of case (a later series whose stem is taken gets
// "_2", "_3", ...), and none is "summary" or "summary.shard", whose files
// would be the batch's own.
class SafeNames {
 public:
  static constexpr std::size_t kMaxStemLength = 100;

  // The stem of the next series named `name`.
  std::string Take(std::string_view name);

  // The stem made from one name, before clashes are resolved.
  static std::string Stem(std::string_view name);

 private:
  std::set<std::string> m_taken;  // lower-case
};

// The share of a batch one of several processes takes: series i (0-based,
// in input order) belongs to shard K of N when i mod N = K - 1.
struct Shard {
  int index = 1;  // K, from 1
  int count = 1;  // N
  bool Keeps(std::size_t series) const {
    return series % static_cast<std::size_t>(count) == static_cast<std::size_t>(index - 1);
  }
};

// "K/N" with 1 <= K <= N; nullopt otherwise.
std::optional<Shard> ParseShard(std::string_view text);

// Runs work(job) for every job next() yields, on `workers` threads, and
// calls emit(result) for the results in the order of the jobs, one at a time.
// At most `window` jobs are taken before the oldest of them is emitted, so
// memory stays bounded however many jobs there are. next() and emit() are
// never called at once from two threads. An exception from any of the three
// ends the pool (jobs under way finish) and is thrown again here.
template <class Job, class Result>
void ProcessInOrder(int workers, std::size_t window, const std::function<std::optional<Job>()>& next,
                    const std::function<Result(Job&)>& work,
                    const std::function<void(Result&)>& emit) {
  workers = std::max(workers, 1);
  window = std::max<std::size_t>(window, static_cast<std::size_t>(workers));
  std::mutex mutex;
  std::condition_variable room;      // the window has room again
  std::mutex emitMutex;              // one emitter at a time, in order
  std::size_t taken = 0;             // jobs handed out
  std::size_t emitted = 0;           // results emitted
  bool exhausted = false;
  std::exception_ptr failure;
  std::map<std::size_t, Result> waiting;  // finished, not yet emitted

  const auto worker = [&] {
    for (;;) {
      std::optional<Job> job;
      std::size_t sequence = 0;
      {
        std::unique_lock lock(mutex);
        room.wait(lock, [&] { return exhausted || failure || taken - emitted < window; });
        if (exhausted || failure) return;
        try {
          job = next();
        } catch (...) {
          failure = std::current_exception();
        }
        if (!job) {
          exhausted = true;
          room.notify_all();
          return;
        }
        sequence = taken++;
      }
      std::optional<Result> result;
      try {
        result.emplace(work(*job));
      } catch (...) {
        std::lock_guard lock(mutex);
        if (!failure) failure = std::current_exception();
        room.notify_all();
        return;
      }
      // Emit this result and every one after it that is already done.
      std::lock_guard emitLock(emitMutex);
      std::unique_lock lock(mutex);
      waiting.emplace(sequence, std::move(*result));
      while (!waiting.empty() && waiting.begin()->first == emitted && !failure) {
        Result ready = std::move(waiting.begin()->second);
        waiting.erase(waiting.begin());
        lock.unlock();
        try {
          emit(ready);
        } catch (...) {
          lock.lock();
          failure = std::current_exception();
          break;
        }
        lock.lock();
        ++emitted;
      }
      room.notify_all();
    }
  };
  std::vector<std::thread> threads;
  for (int i = 1; i < workers; ++i) threads.emplace_back(worker);
  worker();
  for (std::thread& thread : threads) thread.join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace quilmor::run
