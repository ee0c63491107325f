// Timings of a bootstrap of the whole analysis, B = 1000 replicates on every
// core: the Wabash series (N = 116) and a 2500-value log-normal sample. The
// replicate count is the first argument, so that a quick run can measure
// fewer and scale (the replicates are independent and equal in cost on
// average); the second is the number of threads (0: every core), so that one
// thread gives the CPU time of the replicates, which a shared machine's load
// does not change.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/samples.hpp"
#include "bench/analysed_series.hpp"
#include "bench/series.hpp"
#include "run/bootstrap.hpp"
#include "run/run_analysis.hpp"
#include "textio/input_file.hpp"
#include "textio/interaction.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::bench {
namespace {

constexpr std::uint32_t kSeed = 20240611;

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + 1e-6 * t.tv_usec; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}


void Bootstrap(benchmark::State& bench, const std::vector<double>& values) {
  if (values.empty()) {
    bench.SkipWithError("series missing or empty");
    return;
  }
  SilentInteraction ui;
  const run::AnalysisResult analysis = AnalyseSample(values, "bench.inp", ui);
  if (analysis.Stopped() || analysis.error) {
    bench.SkipWithError("the analysis stopped");
    return;
  }
  const std::vector<run::DesignRow> design =
      run::DesignTable(analysis.model, static_cast<int>(values.size()), {});
  run::BootstrapRequest boot;
  boot.replicates = static_cast<int>(bench.range(0));
  boot.threads = static_cast<int>(bench.range(1));
  int stopped = 0;
  const double cpuBefore = ProcessCpuSeconds();
  for (auto _ : bench) {
    const run::BootstrapResult result =
        run::RunBootstrap(analysis.series, analysis.fit, analysis.model, design, boot);
    stopped = result.stopped;
    benchmark::DoNotOptimize(result.points.data());
  }
  bench.counters["N"] = static_cast<double>(values.size());
  bench.counters["B"] = static_cast<double>(boot.replicates);
  // CPU seconds of every thread of the process, per run of B replicates and
  // per replicate.
  const double cpu = (ProcessCpuSeconds() - cpuBefore) / static_cast<double>(bench.iterations());
  bench.counters["cpu_s"] = cpu;
  bench.counters["cpu_ms_per_replicate"] = 1000.0 * cpu / boot.replicates;
  bench.counters["stopped"] = stopped;
}

void Wabash(benchmark::State& bench) {
  Bootstrap(bench, ReadSeries(QUILMOR_SOURCE_DIR "/data/examples/wabash_annual_peak_flow.txt"));
}

void LogNormal2500(benchmark::State& bench) {
  Bootstrap(bench, MakeSample(Sample::LogNormal, 2500, kSeed));
}

BENCHMARK(Wabash)
    ->ArgNames({"B", "threads"})
    ->Args({1000, 0})
    ->Args({50, 1})
    ->Args({8, 1})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK(LogNormal2500)
    ->ArgNames({"B", "threads"})
    ->Args({1000, 0})
    ->Args({20, 0})
    ->Args({4, 1})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
}  // namespace quilmor::bench

BENCHMARK_MAIN();
