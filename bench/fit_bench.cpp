// Timings of the costliest fits: best of all on 2500 values of three samples
// and on the example series, and the generalised normal on 2500 values. The
// counters give the trials each scan ran.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/samples.hpp"
#include "bench/series.hpp"
#include "engine/fit_series.hpp"
#include "textio/input_file.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::bench {
namespace {

constexpr int kSampleSize = 2500;
constexpr std::uint32_t kSeed = 20240611;

// The values as the analysis sees them: as an input file holds them,
// prepared. The threshold lets every value in (negative ones included).
engine::PreparedSeries Prepare(const std::vector<double>& values) {
  double smallest = 0.0;
  for (double value : values) smallest = std::min(smallest, value);
  const double threshold = smallest < 0.0 ? std::floor(smallest) - 1.0 : 0.0;
  const textio::InputFileContent input = textio::ParseInputFile(
      textio::SplitLines(textio::RenderInputFile("bench", "", "bench.inp", threshold, values)));
  return engine::PrepareData(input.rows, input.threshold);
}

void Fit(benchmark::State& bench, const std::vector<double>& values, const std::string& pref,
         int threads = 0) {
  const engine::PreparedSeries prepared = Prepare(values);
  engine::FitRequest request;
  request.preference = pref;
  request.options.threads = threads;
  engine::FitResult fit;
  for (auto _ : bench) {
    fit = engine::FitSeries(prepared, request);
    benchmark::DoNotOptimize(fit.Code);
  }
  bench.counters["N"] = prepared.N;
  bench.counters["code"] = fit.Code;
  for (const engine::ScanCount& scan : fit.ScanCounts) {
    bench.counters["trials_" + std::to_string(scan.code)] = static_cast<double>(scan.trials);
  }
}

// Argument: the number of cores (0: all).
void BestOfAllSample(benchmark::State& bench, Sample kind) {
  Fit(bench, MakeSample(kind, kSampleSize, kSeed), "1", static_cast<int>(bench.range(0)));
}

void GeneralNormal(benchmark::State& bench, Sample kind) {
  Fit(bench, MakeSample(kind, kSampleSize, kSeed), "25", static_cast<int>(bench.range(0)));
}


void BestOfAllExample(benchmark::State& bench, const std::filesystem::path& path) {
  const std::vector<double> values = ReadSeries(path);
  if (values.empty()) {
    bench.SkipWithError("example series missing or empty");
    return;
  }
  Fit(bench, values, "1");
}

BENCHMARK_CAPTURE(BestOfAllSample, lognormal_2500, Sample::LogNormal)
    ->ArgName("threads")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BestOfAllSample, normal_2500, Sample::Normal)
    ->ArgName("threads")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BestOfAllSample, gumbel_2500, Sample::Gumbel)
    ->ArgName("threads")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(GeneralNormal, lognormal_2500, Sample::LogNormal)
    ->ArgName("threads")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The example series, one benchmark each.
const bool kExamplesRegistered = [] {
  const std::filesystem::path folder = std::filesystem::path(QUILMOR_SOURCE_DIR) / "data/examples";
  std::error_code error;
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.path().extension() == ".txt") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  for (const std::filesystem::path& file : files) {
    benchmark::RegisterBenchmark(("BestOfAllExample/" + file.stem().string()).c_str(),
                                 BestOfAllExample, file)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  return true;
}();

}  // namespace
}  // namespace quilmor::bench

BENCHMARK_MAIN();
