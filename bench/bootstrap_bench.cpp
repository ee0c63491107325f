// Timings of a bootstrap of the whole analysis, B = 1000 replicates on every
// core: the Wabash series (N = 116) and a 2500-value log-normal sample. The
// replicate count of the large sample is an argument, so that a quick run
// can measure fewer and scale (the replicates are independent and equal in
// cost on average).
#include <benchmark/benchmark.h>

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
  int stopped = 0;
  for (auto _ : bench) {
    const run::BootstrapResult result =
        run::RunBootstrap(analysis.series, analysis.fit, analysis.model, design, boot);
    stopped = result.stopped;
    benchmark::DoNotOptimize(result.points.data());
  }
  bench.counters["N"] = static_cast<double>(values.size());
  bench.counters["B"] = static_cast<double>(boot.replicates);
  bench.counters["stopped"] = stopped;
}

void Wabash(benchmark::State& bench) {
  Bootstrap(bench, ReadSeries(QUILMOR_SOURCE_DIR "/data/examples/wabash_annual_peak_flow.txt"));
}

void LogNormal2500(benchmark::State& bench) {
  Bootstrap(bench, MakeSample(Sample::LogNormal, 2500, kSeed));
}

BENCHMARK(Wabash)->Arg(1000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(LogNormal2500)
    ->Arg(1000)
    ->Arg(20)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
}  // namespace quilmor::bench

BENCHMARK_MAIN();
