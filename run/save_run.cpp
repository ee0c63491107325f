#include "run/save_run.hpp"

#include <exception>

#include "report/input_rules.hpp"
#include "textio/file_lock.hpp"
#include "textio/input_file.hpp"
#include "textio/text_file.hpp"

namespace quilmor::run {

namespace {

constexpr int kPauseMs = 500;
// Above this many data the progress display says the run is almost done.
constexpr int kAlmostDoneAbove = 1000;

}  // namespace

std::string BusyMessage(const std::string& fileName) {
  return "Another run is writing the input, report and parameter file of \"" + fileName +
         "\"; try again when it has finished";
}

std::string WaitingMessage(const std::string& fileName) {
  return "Another run is writing the input, report and parameter file of \"" + fileName +
         "\"; waiting for it to finish";
}

std::string DoneMessage(const std::string& inputName, const std::string& reportName) {
  return "The input is saved in " + inputName +
         "   Calculations were done and the output is saved in  " + reportName;
}

namespace {

// The reason of a write of several files, without the name WriteFilesAtomic
// puts before it.
std::string ReasonOnly(const std::string& error, const std::string& path) {
  const std::string prefix = "\"" + path + "\": ";
  return error.rfind(prefix, 0) == 0 ? error.substr(prefix.size()) : error;
}

}  // namespace

SaveRunResult SaveRun(report::TDMQuilmor& dm, const SaveRunOptions& options) {
  UserInteraction& ui = dm.Ui();
  SaveRunResult result;
  result.InputName = textio::ChangeFileExt(dm.FileName, ".inp");
  const std::string reportName = textio::ChangeFileExt(dm.FileName, ".out");
  const std::string parameterName = textio::ChangeFileExt(reportName, ".aux");

  // A title or a name that is not one line of text would come back from the
  // input file as something else.
  if (options.writeInput) {
    for (const auto& refusal : {report::rules::CheckFileName(dm.FileName),
                                report::rules::CheckTitle(dm.Title1, 1),
                                report::rules::CheckTitle(dm.Title2, 2)}) {
      if (refusal) {
        ui.ShowMessage(*refusal);
        result.status = SaveRunStatus::InputNotWritten;
        return result;
      }
    }
  }

  // One run at a time on these names, from reading the input to the last
  // rename. A folder where the lock cannot be made (missing, not writable)
  // takes no outputs either: that is told before the analysis.
  textio::FileLock lock;
  if (options.writeFiles) {
    bool busy = false;
    std::string lockError;
    if (!lock.Acquire(dm.FileName, textio::FileLock::Wait::No, busy, lockError) && busy) {
      if (!options.waitForLock) {
        ui.ShowMessage(BusyMessage(dm.FileName));
        result.status = SaveRunStatus::Busy;
        return result;
      }
      ui.ShowMessage(WaitingMessage(dm.FileName));
      lock.Acquire(dm.FileName, textio::FileLock::Wait::Yes, busy, lockError);
    }
    if (!lock.Held() && !busy) {
      if (options.writeInput) {
        ui.ShowMessage(report::TDMQuilmor::OpenFailedMessage(dm.FileName) + ": " + lockError);
        result.status = SaveRunStatus::InputNotWritten;
      } else {
        ui.ShowMessage("The report and its parameter file could not be written: \"" +
                       parameterName + "\": " + lockError);
        result.status = SaveRunStatus::Failed;
      }
      return result;
    }
  }
  // What a killed run of the same names left behind.
  if (options.writeFiles) {
    for (const std::string& name : {dm.FileName, reportName, parameterName}) {
      textio::RemoveStaleTemporaries(name);
    }
  }

  // The input as the analysis reads it: the text to be written at the end, or
  // the file as it stands.
  std::string inputText;
  if (options.writeInput) {
    const auto input = dm.InputFileText(dm.FileName);
    if (!input) {
      dm.ProgramError(report::TDMQuilmor::CorruptMessage(dm.FileName));
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
    result.inputText = inputText;
  } else if (options.inputLines) {
    content = textio::ParseInputFile(*options.inputLines);
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
    // Data whose spread the arithmetic cannot hold stop as well: say so.
    const std::string why = engine::SpreadOutOfRangeText(result.analysis.series);
    ui.ShowMessage(why.empty() ? std::string(kStopMessage) : std::string(kStopMessage) + "\n" + why);
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
  // Every check has passed: the input file, the parameter file and the
  // report replace the earlier ones together. A failure (a full disk, a file
  // too large, no permission) leaves all three as they were.
  if (!options.writeFiles) {
    result.ReportName = reportName;
    result.DistributionName = model.DistributionName;
    if (result.analysis.series.Truncated) {
      ui.ShowMessage(kLimitedMessage);
      result.limitedTo2500 = true;
    }
    result.status = SaveRunStatus::Done;
    return result;
  }
  std::vector<textio::FileContent> files;
  if (options.writeInput) files.push_back({dm.FileName, inputText});
  files.push_back({parameterName, result.finished.parameterText});
  files.push_back({reportName, result.finished.reportText});
  std::string error;
  std::size_t failed = 0;
  if (!textio::WriteFilesAtomic(files, &error, &failed)) {
    if (options.writeInput && failed == 0) {
      ui.ShowMessage(report::TDMQuilmor::OpenFailedMessage(dm.FileName) + ": " +
                     ReasonOnly(error, dm.FileName));
      result.status = SaveRunStatus::InputNotWritten;
    } else {
      ui.ShowMessage("The report and its parameter file could not be written: " + error);
      result.status = SaveRunStatus::Failed;
    }
    return result;
  }
  result.inputWritten = options.writeInput;
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
