// Timings of the complete run of Save-Run (input file, fit, post-fit values,
// interval analysis, report body, inverse evaluation, parameter file, report
// assembly, loading the report) for three 2500-value fixed-seed samples, with
// best of all and with the preferences 21, 22 and 25; and, separately, of
// everything after the fit, whose target is 50 ms for 2500 values.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench/samples.hpp"
#include "calculator/finish_report.hpp"
#include "calculator/save_run.hpp"
#include "engine/analysis_state.hpp"
#include "engine/run_fit.hpp"
#include "report/data_module.hpp"
#include "report/intervals.hpp"
#include "report/post_fit.hpp"
#include "report/report_writer.hpp"
#include "textio/scratch_dir.hpp"

namespace quilmor::bench {
namespace {

constexpr int kSampleSize = 2500;
constexpr std::uint32_t kSeed = 20240611;
constexpr int kNrOfClasses = 5;

// The data module as the Input page leaves it: every value a row, a threshold
// that lets every value in.
void FillDataModule(report::TDMQuilmor& dm, const std::vector<double>& values,
                    const std::filesystem::path& input) {
  dm.FileName = input.string();
  dm.Title1 = "Benchmark sample";
  dm.Title2 = "2500 values";
  double smallest = 0.0;
  for (double v : values) smallest = std::min(smallest, v);
  dm.InputThreshold = smallest < 0.0 ? std::floor(smallest) - 1.0 : 0.0;
  dm.NrOfData = static_cast<int>(values.size());
  dm.RowValues = values;
  dm.RowSerials.resize(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) dm.RowSerials[i] = static_cast<int>(i + 1);
  dm.Skipped.assign(values.size(), false);
}

// The whole Save-Run, pauses aside (the silent interaction does not wait).
void WholeRun(benchmark::State& bench, Sample kind, const std::string& pref) {
  const std::vector<double> values = MakeSample(kind, kSampleSize, kSeed);
  textio::ScratchDir folder;
  SilentInteraction ui;
  engine::AnalysisState state;
  int code = 0;
  for (auto _ : bench) {
    report::TDMQuilmor dm(ui);
    FillDataModule(dm, values, folder / "bench.inp");
    dm.Preference = pref;
    state = engine::AnalysisState();
    const calculator::SaveRunResult result = calculator::SaveRun(dm, state);
    if (result.status != calculator::SaveRunStatus::Done) {
      bench.SkipWithError("the run did not complete");
      return;
    }
    code = state.Code;
  }
  bench.counters["code"] = code;
}

// Everything after the fit: post-fit values, fit summary, intervals, report
// body, inverse evaluation, "Values.tmp", parameter file, assembly.
void AfterFit(benchmark::State& bench, Sample kind, const std::string& pref) {
  const std::vector<double> values = MakeSample(kind, kSampleSize, kSeed);
  textio::ScratchDir folder;
  SilentInteraction ui;
  report::TDMQuilmor dm(ui);
  FillDataModule(dm, values, folder / "bench.inp");
  if (!dm.WriteInputFile()) {
    bench.SkipWithError("could not write the input file");
    return;
  }
  engine::AnalysisState fitted;
  engine::FitRequest request;
  request.inputFile = dm.FileName;
  request.preference = pref;
  request.scratchDir = folder.Path();
  if (engine::RunFit(fitted, request, ui) || fitted.StopFlag) {
    bench.SkipWithError("the fit did not complete");
    return;
  }
  dm.NrOfData = fitted.NrOfData;
  dm.Preference = pref;
  const std::string inputName = dm.FileName;
  engine::AnalysisState state;
  for (auto _ : bench) {
    state = fitted;
    dm.FileName = inputName;
    report::ComputeCalcFreq(state);
    bool ok = !report::WriteFitSummary(state, folder.Path());
    report::AnalyseIntervals(state, kNrOfClasses);
    ok = ok && !report::WriteReport(state, dm, folder.Path());
    ok = ok && !calculator::FinishReport(dm, state, folder.Path());
    if (!ok) {
      bench.SkipWithError("the report could not be finished");
      return;
    }
  }
  bench.counters["code"] = state.Code;
}

void Register() {
  struct Kind {
    const char* name;
    Sample sample;
  };
  for (const Kind& kind : {Kind{"lognormal", Sample::LogNormal}, Kind{"normal", Sample::Normal},
                           Kind{"gumbel", Sample::Gumbel}}) {
    for (const char* pref : {"1", "21", "22", "25"}) {
      const std::string suffix = std::string(kind.name) + "_2500/pref:" + pref;
      benchmark::RegisterBenchmark(("WholeRun/" + suffix).c_str(), WholeRun, kind.sample,
                                   std::string(pref))
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
      benchmark::RegisterBenchmark(("AfterFit/" + suffix).c_str(), AfterFit, kind.sample,
                                   std::string(pref))
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    }
  }
}

const bool kRegistered = (Register(), true);

}  // namespace
}  // namespace quilmor::bench

BENCHMARK_MAIN();
