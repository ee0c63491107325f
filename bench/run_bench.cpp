// Timings of the complete run of Save-Run (input file, fit, report model,
// report body, inverse evaluation, parameter file, writing the report) for
// three 2500-value fixed-seed samples, with best of all and with the
// preferences 21, 22 and 25; and, separately, of everything after the fit in
// memory (report model, inverse evaluation, report and parameter-file texts).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench/samples.hpp"
#include "report/data_module.hpp"
#include "run/run_analysis.hpp"
#include "run/save_run.hpp"
#include "temp_folder.hpp"
#include "textio/text_file.hpp"

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
  testing::TempFolder folder;
  SilentInteraction ui;
  int code = 0;
  for (auto _ : bench) {
    report::TDMQuilmor dm(ui);
    FillDataModule(dm, values, folder / "bench.inp");
    dm.Preference = pref;
    const run::SaveRunResult result = run::SaveRun(dm);
    if (result.status != run::SaveRunStatus::Done) {
      bench.SkipWithError("the run did not complete");
      return;
    }
    code = result.analysis.model.Fit.Code;
  }
  bench.counters["code"] = code;
}

// Everything after the fit: the report model, the inverse evaluation and the
// texts of the report and the parameter file, all in memory.
void AfterFit(benchmark::State& bench, Sample kind, const std::string& pref) {
  const std::vector<double> values = MakeSample(kind, kSampleSize, kSeed);
  SilentInteraction ui;
  report::TDMQuilmor dm(ui);
  FillDataModule(dm, values, "bench.inp");
  const auto input = dm.InputFileText(dm.FileName);
  if (!input) {
    bench.SkipWithError("could not render the input file");
    return;
  }
  const textio::InputFileContent content = textio::ParseInputFile(textio::SplitLines(input->text));
  run::AnalysisRequest request;
  request.inputName = dm.FileName;
  request.preference = pref;
  const run::AnalysisResult fitted = run::RunAnalysis(content, request, ui);
  if (fitted.error || fitted.Stopped()) {
    bench.SkipWithError("the fit did not complete");
    return;
  }
  report::ReportSettings settings;
  settings.InputName = dm.FileName;
  settings.Preference = pref;
  settings.NrOfClasses = kNrOfClasses;
  std::size_t size = 0;
  for (auto _ : bench) {
    const report::ReportModel model = report::BuildReportModel(fitted.series, fitted.fit, settings);
    const run::FinishedReport finished = run::FinishReport(model);
    size = finished.reportText.size() + finished.parameterText.size();
    benchmark::DoNotOptimize(size);
  }
  bench.counters["code"] = fitted.fit.Code;
  bench.counters["bytes"] = static_cast<double>(size);
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
