// A whole Save-Run on a small series read from the fuzz input (its layout in
// analysis_input.hpp): input file, fit, report, parameter file, report
// loaded. Whatever the values, the run either stops with the program's
// message or writes a report that holds only finite numbers, whose parameter
// file the calculator reads, and whose every graph table the Graphics page
// reads back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "analysis_input.hpp"
#include "calculator/parameter_file.hpp"
#include "engine/analysis_state.hpp"
#include "fuzz_support.hpp"
#include "graphs/graph_data.hpp"
#include "non_finite_text.hpp"
#include "report/data_module.hpp"
#include "run/save_run.hpp"
#include "textio/interaction.hpp"
#include "textio/text_file.hpp"

namespace {

using namespace quilmor;

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
    QUILMOR_FUZZ_CHECK(graphs::ReadGraphData(dm, reportName, type).ok());
    QUILMOR_FUZZ_CHECK(dm.NrOfData > 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto input = fuzz::DecodeAnalysisInput(fuzz::AsText(data, size));
  if (!input) return 0;
  SilentInteraction ui;
  report::TDMQuilmor dm(ui);
  fuzz::FillDataModule(dm, *input, fuzz::Folder(), "series.inp");
  run::SaveRunOptions options;
  options.breakPointAllowed = input->breakPoint;
  const run::SaveRunResult result = run::SaveRun(dm, options);
  QUILMOR_FUZZ_CHECK(result.status == run::SaveRunStatus::Done ||
                     result.status == run::SaveRunStatus::Stopped);
  if (result.status == run::SaveRunStatus::Done)
    CheckReport(result.ReportName, result.analysis.model.Fit.Code);
  return 0;
}
