// Bootstrap limits of design values that repeat the whole analysis: every
// replicate is a resample of the values in use (or a sample drawn from the
// fitted function) run through the same fit as the original, with the
// choice among the candidates, the exponent, bound and break-point scans.
// Each replicate gives two X-values per design point: that of the function it
// chose anew, and that of the originally chosen code refitted to it.
//
// Replicates run on all cores, each from a random stream fixed by the seed
// and its index, so the numbers do not depend on the number of threads. A
// replicate never touches the disk.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/bootstrap_limits.hpp"
#include "engine/fit_series.hpp"
#include "report/design_values.hpp"
#include "report/report_model.hpp"
#include "run/design_table.hpp"

namespace quilmor::run {

struct BootstrapRequest {
  int replicates = 0;  // B
  std::uint64_t seed = report::kDefaultSeed;
  report::BootstrapKind kind = report::BootstrapKind::kNonparametric;
  std::string preference = "1";  // as the original run
  bool breakPointAllowed = false;
  int threads = 0;  // 0: every hardware thread
  // The plotting positions of the replicates: RunBootstrap takes those of
  // the original series.
  engine::PlottingPosition plotting;
  // Called once per finished replicate, from any thread.
  std::function<void()> progress;
  // Set from outside to stop early: replicates not yet begun are skipped
  // and the result says it was cancelled.
  const std::atomic<bool>* cancel = nullptr;
};

// What the replicates of one design point give, for one kind of limits.
struct ReplicateLimits {
  engine::ReplicateSummary percentile;  // 5th, 50th, 95th percentiles
  engine::Limits biasCorrected{kNotComputed, kNotComputed};
  engine::Limits basic{kNotComputed, kNotComputed};
};

struct BootstrapPoint {
  double returnPeriod = 0.0;
  double frequency = 0.0;
  ReplicateLimits chosenAnew;
  ReplicateLimits sameFunction;
};

struct CodeShare {
  int code = 0;
  int count = 0;
  double share = 0.0;  // of the replicates that did not stop
};

struct BootstrapResult {
  int replicates = 0;  // B asked for
  report::BootstrapKind kind = report::BootstrapKind::kNonparametric;
  std::uint64_t seed = 0;
  int stopped = 0;    // replicates whose analysis stopped (no variation): left out
  int completed = 0;  // replicates run (B unless cancelled)
  bool cancelled = false;
  std::vector<CodeShare> chosenCodes;  // in ascending order of code
  std::vector<BootstrapPoint> points;  // in the order of the design table
};

// The X-values of one replicate at the design points: chosen anew and by the
// original code refitted; NaN where there is none. `stopped` when the
// replicate's analysis stopped.
struct ReplicateOutcome {
  bool stopped = false;
  int code = 0;  // the code chosen anew
  std::vector<double> chosenAnew;
  std::vector<double> sameFunction;
};

// The data-scale values in use of a prepared series (the shift undone).
std::vector<double> ValuesInUse(const engine::PreparedSeries& series);

// One replicate `index` of the analysis of `values` (data scale). Public so
// that tests can compare a replicate with a fit of its own resample. `tables`
// (optional) hold what the fits share, made from the original series.
ReplicateOutcome RunReplicate(const std::vector<double>& values, double threshold, int originalCode,
                              const engine::Parameters& calculator,
                              const std::vector<report::DesignPoint>& points,
                              const BootstrapRequest& request, std::uint64_t index,
                              const engine::ValueTables* tables = nullptr);

// B replicates of the original analysis (series, fit, model) at the points
// of `design` (whose X-values are the estimates of the bias-corrected and
// basic limits).
BootstrapResult RunBootstrap(const engine::PreparedSeries& series, const engine::FitResult& fit,
                             const report::ReportModel& model, const std::vector<DesignRow>& design,
                             const BootstrapRequest& request);

// Fills the bootstrap columns of the design table (percentile limits of both
// kinds and the median of the replicates chosen anew).
void AddBootstrapColumns(std::vector<DesignRow>& design, const BootstrapResult& bootstrap);

}  // namespace quilmor::run
