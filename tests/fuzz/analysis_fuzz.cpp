// A whole Save-Run on a small series read from the fuzz input: input file,
// fit, report, parameter file, report loaded. Whatever the values, the run
// either stops with the program's message or writes a report that holds only
// finite numbers, whose parameter file the calculator reads, and whose every
// graph table the Graphics page reads back.
//
// Input: lines of values (anything that is not a number is left out), then
// three bytes at the end: the preference, the break-point option with the
// threshold choice, and the number of intervals.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "calculator/parameter_file.hpp"
#include "calculator/save_run.hpp"
#include "engine/analysis_state.hpp"
#include "fuzz_support.hpp"
#include "graphs/graph_data.hpp"
#include "non_finite_text.hpp"
#include "report/data_module.hpp"
#include "textio/interaction.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace {

using namespace quilmor;

// "1" (best fitting of all) and every code the Input page offers.
constexpr std::array<const char*, 20> kPreferences = {"1",  "21", "22", "23", "24", "25", "3",
                                                      "4",  "5",  "51", "52", "53", "54", "55",
                                                      "56", "57", "58", "59", "60", "62"};
// Long enough for every table and scan, short enough for many runs.
constexpr std::size_t kMaxValues = 60;
constexpr std::size_t kMinValues = 6;

void CheckReport(const std::string& reportName, int code) {
  const auto report = textio::ReadTextLines(reportName);
  QUILMOR_FUZZ_CHECK(report.has_value());
  for (const std::string& line : *report) {
    QUILMOR_FUZZ_CHECK(!testing::HasNonFiniteNumber(line));
  }
  const auto aux = textio::ReadTextLines(textio::ChangeFileExt(reportName, ".aux"));
  QUILMOR_FUZZ_CHECK(aux.has_value());
  std::string error;
  const auto parameters = calculator::ParseParameterFile(*aux, error);
  if (code == 0) return;
  QUILMOR_FUZZ_CHECK(parameters.has_value());
  QUILMOR_FUZZ_CHECK(parameters->Code == code);

  SilentInteraction ui;
  report::TDMQuilmor dm(ui);
  for (int type = 1; type <= 5; ++type) {
    dm.FileName = reportName;
    QUILMOR_FUZZ_CHECK(graphs::ReadGraphData(dm, type).ok());
    QUILMOR_FUZZ_CHECK(dm.NrOfData > 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const char* preference = kPreferences[provider.ConsumeIntegralInRange<std::size_t>(0, 19)];
  const std::uint8_t options = provider.ConsumeIntegral<std::uint8_t>();
  const int intervals = provider.ConsumeIntegralInRange(2, 20);
  const std::string text = provider.ConsumeRemainingBytesAsString();

  std::vector<double> values;
  for (const std::string& line : textio::SplitLines(text)) {
    if (const auto value = textio::StringToFloat(line)) values.push_back(*value);
    if (values.size() == kMaxValues) break;
  }
  if (values.size() < kMinValues) return 0;

  SilentInteraction ui;
  report::TDMQuilmor dm(ui);
  dm.FileName = (fuzz::Folder() / "series.inp").string();
  dm.Title1 = "Fuzzed series";
  dm.NrOfData = static_cast<int>(values.size());
  dm.RowValues = values;
  dm.RowSerials.resize(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) dm.RowSerials[i] = static_cast<int>(i + 1);
  dm.Skipped.assign(values.size(), false);
  // Threshold 0 leaves negative values out; a very low one keeps them and
  // makes the run shift the data.
  dm.InputThreshold = (options & 2) ? -1.0e12 : 0.0;
  dm.Preference = preference;
  dm.NrOfIntervals = std::to_string(intervals);

  engine::AnalysisState state;
  state.BreakPointAllowed = (options & 1) && dm.Preference == "1";
  calculator::SaveRunOptions run;
  run.scratchParent = fuzz::Folder();
  const calculator::SaveRunResult result = calculator::SaveRun(dm, state, run);
  QUILMOR_FUZZ_CHECK(result.status == calculator::SaveRunStatus::Done ||
                     result.status == calculator::SaveRunStatus::Stopped);
  if (result.status == calculator::SaveRunStatus::Done) CheckReport(result.ReportName, state.Code);
  return 0;
}
