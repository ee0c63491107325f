// The cores a fit may use. The trials of a scan are independent of each
// other, so they are handed out to the workers one by one; every trial writes
// its result to its own slot and the choice is made afterwards, in trial
// order, by the caller. Which worker ran a trial, and when, never shows in a
// result.
#pragma once

#include <functional>
#include <vector>

namespace quilmor::engine {

class Workers {
 public:
  // `count` <= 0: one worker per hardware thread.
  explicit Workers(int count = 0);

  int Count() const { return m_count; }

  // Runs body(index, worker) once for every index in [0, count); `worker` is
  // in [0, Count()) and tells which scratch buffers the call may use. The
  // calling thread is worker 0. An exception thrown by a body is rethrown here
  // after all workers have stopped.
  void ForEach(int count, const std::function<void(int index, int worker)>& body) const;

  // A scan that goes on while it improves: trial j = 1, 2, … maxTrials gives
  // sse[j] = trial(j, worker), and the scan stops at the first trial whose SSE
  // is not strictly below the best before it (`start` before trial 1).
  // Workers may run a few trials beyond the stop; those are discarded. Fills
  // sse[1..trials].
  struct ScanOutcome {
    int trials = 0;      // trials the scan ran, the stopping trial included
    int lastBetter = 0;  // the last trial that improved (0: none did)
  };
  ScanOutcome ScanWhileImproving(int maxTrials, double start,
                                 const std::function<double(int trial, int worker)>& trial,
                                 std::vector<double>& sse) const;

 private:
  int m_count;
};

}  // namespace quilmor::engine
