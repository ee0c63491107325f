// Series per second of `quilmor-cli batch` over a generated network: series
// of 30 to 150 values from log-normal, normal and Gumbel samples, in one JSON
// Lines file. InMemory is the reference: each series alone through the same
// in-memory analysis a batch makes of it (Save-Run writing nothing, the
// design values and the candidates), one after the other on one core. Batch
// runs the command with --jobs 1 and 2 and reports, beside its rate, the
// share it reaches of (workers / mean InMemory time per series): 1 means the
// batch adds nothing to the analyses but reading and writing.
//
//   bench/batch_bench                               every case (10,000 series: minutes)
//   bench/batch_bench --benchmark_filter='/1000/'   a quick look
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench/samples.hpp"
#include "cli/cli_app.hpp"
#include "cli/design_output.hpp"
#include "cli/read_input.hpp"
#include "report/data_module.hpp"
#include "run/save_run.hpp"
#include "textio/interaction.hpp"

namespace quilmor::bench {
namespace {

namespace fs = std::filesystem;

struct Network {
  fs::path file;
  std::vector<std::vector<double>> series;
};

std::vector<double> NetworkSeries(int index) {
  const int count = 30 + (index * 53) % 121;
  const Sample kind = index % 3 == 0 ? Sample::LogNormal : index % 3 == 1 ? Sample::Normal
                                                                           : Sample::Gumbel;
  std::vector<double> values = MakeSample(kind, count, static_cast<std::uint32_t>(index + 1));
  // As a file holds them: ten significant digits.
  for (double& v : values) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", v);
    v = std::stod(text);
  }
  return values;
}

const Network& NetworkOf(int count) {
  static std::map<int, Network> networks;
  auto [it, added] = networks.try_emplace(count);
  if (!added) return it->second;
  Network& network = it->second;
  const fs::path folder = fs::temp_directory_path() / ("quilmor-batch-bench-" + std::to_string(count));
  fs::create_directories(folder);
  network.file = folder / "network.jsonl";
  std::ofstream out(network.file, std::ios::binary);
  for (int i = 0; i < count; ++i) {
    network.series.push_back(NetworkSeries(i));
    out << "{\"name\": \"station " << i << "\", \"values\": [";
    for (std::size_t v = 0; v < network.series.back().size(); ++v) {
      char text[32];
      std::snprintf(text, sizeof text, "%.10g", network.series.back()[v]);
      out << (v ? ", " : "") << text;
    }
    out << "]}\n";
  }
  return network;
}

// Mean seconds per series of InMemory, by network size.
std::map<int, double>& MeanSeconds() {
  static std::map<int, double> means;
  return means;
}

void InMemory(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const Network& network = NetworkOf(count);
  SilentInteraction ui;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    for (const std::vector<double>& values : network.series) {
      report::TDMQuilmor dm(ui);
      textio::ValueFile file;
      for (double v : values) file.rows.push_back({v});
      dm.TakeValueRows(file);
      dm.FileName = "station.inp";
      run::SaveRunOptions options;
      options.threads = 1;
      options.writeFiles = false;
      const run::SaveRunResult result = run::SaveRun(dm, options);
      cli::RunRecord record = cli::SaveRunRecord(result, dm, {});
      std::ostringstream unused;
      cli::CompleteRecord(record, unused, 1, false);
      benchmark::DoNotOptimize(record.designRows.data());
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    MeanSeconds()[count] = elapsed.count() / count;
  }
  state.counters["series_per_second"] = 1.0 / MeanSeconds()[count];
  state.counters["ms_per_series"] = 1000.0 * MeanSeconds()[count];
}

void Batch(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const int jobs = static_cast<int>(state.range(1));
  const int bootstrap = static_cast<int>(state.range(2));
  const Network& network = NetworkOf(count);
  const fs::path out = network.file.parent_path() / ("out-" + std::to_string(jobs));
  std::vector<std::string> args = {"quilmor-cli", "batch", network.file.string(), "--out",
                                   out.string(), "--jobs", std::to_string(jobs), "-q"};
  if (bootstrap > 0) args.insert(args.end(), {"--bootstrap", std::to_string(bootstrap)});
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  double seconds = 0.0;
  for (auto _ : state) {
    std::ostringstream output, errors;
    const auto start = std::chrono::steady_clock::now();
    const int code = cli::RunCli(static_cast<int>(argv.size()), argv.data(), output, errors);
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (code != cli::kExitOk && code != cli::kExitSomeNotRun) {
      state.SkipWithError(("batch failed: " + errors.str()).c_str());
      return;
    }
  }
  const double rate = count / seconds;
  state.counters["series_per_second"] = rate;
  const auto mean = MeanSeconds().find(count);
  if (bootstrap == 0 && mean != MeanSeconds().end()) {
    state.counters["of_target"] = rate / (jobs / mean->second);
  }
}

BENCHMARK(InMemory)->Arg(1000)->Arg(10000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(Batch)
    ->Args({1000, 1, 0})
    ->Args({1000, 2, 0})
    ->Args({10000, 1, 0})
    ->Args({10000, 2, 0})
    ->Args({20, 1, 200})
    ->Args({20, 2, 200})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
}  // namespace quilmor::bench

BENCHMARK_MAIN();
