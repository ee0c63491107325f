#include "calculator/save_run.hpp"

#include <exception>
#include <system_error>

#include "calculator/finish_report.hpp"
#include "engine/scratch_files.hpp"
#include "report/run_analysis.hpp"
#include "textio/scratch_dir.hpp"
#include "textio/text_file.hpp"

namespace quilmor::calculator {

namespace {

constexpr int kPauseMs = 500;

}  // namespace

std::string DoneMessage(const std::string& inputName, const std::string& reportName) {
  return "The input is saved in " + inputName +
         "   Calculations were done and the output is saved in  " + reportName;
}

SaveRunResult SaveRun(report::TDMQuilmor& dm, engine::AnalysisState& state,
                      const SaveRunOptions& options) {
  UserInteraction& ui = dm.Ui();
  SaveRunResult result;
  result.InputName = textio::ChangeFileExt(dm.FileName, ".inp");

  if (options.writeInput && !dm.WriteInputFile()) {
    result.status = SaveRunStatus::InputNotWritten;
    return result;
  }

  // Each run has its own folder for "Temp.tmp", "TmpFile.Tmp", "Values.tmp"
  // and "Warning"; it goes when the run ends.
  std::optional<textio::ScratchDir> scratch;
  try {
    scratch.emplace(options.scratchParent);
  } catch (const std::filesystem::filesystem_error& e) {
    ui.ShowMessage(std::string("No folder for the temporary files of the run could be made: ") +
                   e.what());
    result.status = SaveRunStatus::Failed;
    return result;
  }
  const std::filesystem::path& scratchDir = scratch->Path();

  // RunAndReport.
  ui.AppendProgress(" Saving data .....");
  ui.Pause(kPauseMs);
  ui.AppendProgress(" Progress 25% ....");
  ui.Pause(kPauseMs);
  ui.AppendProgress(" Calculating .....");
  const AnalysisStep& analysis =
      options.analysis ? options.analysis : AnalysisStep(report::RunAnalysis);
  std::optional<std::string> failed;
  try {
    failed = analysis(dm, state, scratchDir);
  } catch (const std::exception& e) {
    failed = std::string("The analysis could not be completed: ") + e.what();
  }
  if (failed) {
    ui.ShowMessage(*failed);
    result.status = SaveRunStatus::Failed;
    return result;
  }
  if (state.StopFlag) {
    ui.ShowMessage(kStopMessage);
    result.status = SaveRunStatus::Stopped;
    return result;
  }
  ui.Pause(kPauseMs);
  ui.AppendProgress(" Progress 75% ....");
  try {
    failed = FinishReport(dm, state, scratchDir);
  } catch (const std::exception& e) {
    failed = std::string("The report could not be completed: ") + e.what();
  }
  if (failed) {
    ui.ShowMessage(*failed);
    result.status = SaveRunStatus::Failed;
    return result;
  }
  ui.Pause(kPauseMs);

  // More than 2500 values passed the threshold: only the first 2500 were used.
  const std::filesystem::path warning = scratchDir / engine::kWarningFile;
  std::error_code ec;
  if (std::filesystem::exists(warning, ec)) {
    ui.ShowMessage(kLimitedMessage);
    std::filesystem::remove(warning, ec);
    result.limitedTo2500 = true;
  }
  ui.AppendProgress(" Filing results ..");
  ui.Pause(kPauseMs);

  result.InputName = textio::ChangeFileExt(dm.FileName, ".inp");
  dm.FileName = textio::ChangeFileExt(dm.FileName, ".out");
  result.ReportName = dm.FileName;
  bool usable = false;
  dm.LoadReport(dm.FileName, usable);
  if (!usable) {
    result.status = SaveRunStatus::ReportUnusable;
    return result;
  }
  ui.ShowMessage(DoneMessage(result.InputName, dm.FileName));
  result.status = SaveRunStatus::Done;
  return result;
}

}  // namespace quilmor::calculator
