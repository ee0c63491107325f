#include "run/save_run.hpp"

#include <exception>

#include "textio/input_file.hpp"
#include "textio/text_file.hpp"

namespace quilmor::run {

namespace {

constexpr int kPauseMs = 500;
// Above this many data the progress display says the run is almost done.
constexpr int kAlmostDoneAbove = 1000;

}  // namespace

std::string DoneMessage(const std::string& inputName, const std::string& reportName) {
  return "The input is saved in " + inputName +
         "   Calculations were done and the output is saved in  " + reportName;
}

SaveRunResult SaveRun(report::TDMQuilmor& dm, const SaveRunOptions& options) {
  UserInteraction& ui = dm.Ui();
  SaveRunResult result;
  result.InputName = textio::ChangeFileExt(dm.FileName, ".inp");

  // The input as the analysis reads it: the text written, or the file as it stands.
  std::string inputText;
  if (options.writeInput) {
    const auto input = dm.InputFileText(dm.FileName);
    if (!input) {
      dm.ProgramError(report::TDMQuilmor::CorruptMessage(dm.FileName));
      result.status = SaveRunStatus::InputNotWritten;
      return result;
    }
    if (!textio::WriteFileAtomic(dm.FileName, input->text)) {
      ui.ShowMessage(report::TDMQuilmor::OpenFailedMessage(dm.FileName));
      result.status = SaveRunStatus::InputNotWritten;
      return result;
    }
    dm.NrOfData = input->rows;
    inputText = input->text;
  }

  // RunAndReport.
  ui.AppendProgress(" Saving data .....");
  ui.Pause(kPauseMs);
  ui.AppendProgress(" Progress 25% ....");
  ui.Pause(kPauseMs);
  ui.AppendProgress(" Calculating .....");
  textio::InputFileContent content;
  if (options.writeInput) {
    content = textio::ParseInputFile(textio::SplitLines(inputText));
  } else {
    const auto lines = textio::ReadTextLines(dm.FileName);
    if (!lines) {
      ui.ShowMessage(textio::InputOpenFailedMessage(dm.FileName));
      result.status = SaveRunStatus::Failed;
      return result;
    }
    content = textio::ParseInputFile(*lines);
  }
  AnalysisRequest request;
  request.inputName = result.InputName;
  request.preference = dm.Preference;
  request.breakPointAllowed = options.breakPointAllowed;
  request.nrOfIntervals = dm.NrOfIntervals;
  request.threads = options.threads;
  request.plotting = options.plotting;
  try {
    result.analysis = RunAnalysis(content, request, ui);
  } catch (const std::exception& e) {
    result.analysis.error = std::string("The analysis could not be completed: ") + e.what();
  }
  if (result.analysis.error) {
    ui.ShowMessage(*result.analysis.error);
    result.status = SaveRunStatus::Failed;
    return result;
  }
  dm.NrOfData = result.analysis.series.N;
  if (result.analysis.Stopped()) {
    ui.ShowMessage(kStopMessage);
    result.status = SaveRunStatus::Stopped;
    return result;
  }
  ui.Pause(kPauseMs);
  ui.AppendProgress(" Progress 75% ....");
  const report::ReportModel& model = result.analysis.model;
  try {
    result.finished = FinishReport(model);
  } catch (const std::exception& e) {
    ui.ShowMessage(std::string("The report could not be completed: ") + e.what());
    result.status = SaveRunStatus::Failed;
    return result;
  }
  if (dm.NrOfData > kAlmostDoneAbove) ui.AppendProgress(" Almost done ...");
  // The parameter file and the report replace the earlier pair together: a
  // failure leaves both as they were, never a new parameter file beside an
  // old report.
  const std::string reportName = textio::ChangeFileExt(dm.FileName, ".out");
  std::string error;
  if (!textio::WriteFilesAtomic({{textio::ChangeFileExt(reportName, ".aux"),
                                  result.finished.parameterText},
                                 {reportName, result.finished.reportText}},
                                &error)) {
    ui.ShowMessage("The report and its parameter file could not be written: " + error);
    result.status = SaveRunStatus::Failed;
    return result;
  }
  result.ReportName = reportName;
  result.DistributionName = model.DistributionName;
  ui.Pause(kPauseMs);

  // More than 2500 values passed the threshold: only the first 2500 were used.
  if (result.analysis.series.Truncated) {
    ui.ShowMessage(kLimitedMessage);
    result.limitedTo2500 = true;
  }
  ui.AppendProgress(" Filing results ..");
  ui.Pause(kPauseMs);
  dm.TakeReport(reportName, result.finished.reportText, model.Fit.Code);
  ui.ShowMessage(DoneMessage(result.InputName, reportName));
  result.status = SaveRunStatus::Done;
  return result;
}

}  // namespace quilmor::run
