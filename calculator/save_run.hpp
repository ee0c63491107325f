// Save-Run after the input has been taken into the data module: write the
// input file, run the analysis with its progress lines and pauses, finish the
// report, tell about the 2500-value limit, load the report. The desktop window
// and the command line call it alike and act on the status it returns; every
// message, progress line and pause goes through the data module's
// UserInteraction.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "engine/analysis_state.hpp"
#include "report/data_module.hpp"

namespace quilmor::calculator {

// The analysis run: reads dm.FileName, dm.Preference and dm.NrOfIntervals,
// writes the report body and the fit summary into the scratch folder, and
// sets StopFlag when it cannot go on. nullopt, or the message of a failure.
using AnalysisStep = std::function<std::optional<std::string>(
    report::TDMQuilmor&, engine::AnalysisState&, const std::filesystem::path&)>;

struct SaveRunOptions {
  // Where the run's private scratch folder is made (the system's temporary
  // folder when empty).
  std::filesystem::path scratchParent;
  // The analysis run; report::RunAnalysis when empty.
  AnalysisStep analysis;
  // False when dm.FileName is an input file already on disk that is to be
  // run as it stands (read with ReadInputFile and not changed).
  bool writeInput = true;
};

enum class SaveRunStatus {
  Done,             // report written and loaded
  InputNotWritten,  // the input file could not be written (message shown)
  Stopped,          // no usable data or no variation: no report
  Failed,           // the run or the report could not be completed
  ReportUnusable,   // LoadReport found the report unusable (message shown)
};

struct SaveRunResult {
  SaveRunStatus status = SaveRunStatus::Failed;
  std::string InputName;       // the input file (".inp")
  std::string ReportName;      // the report (".out") when one was written
  bool limitedTo2500 = false;  // more than 2500 values passed the threshold
};

inline constexpr const char* kStopMessage =
    "No data below threshold, or no variation between data. Program stops running";
inline constexpr const char* kLimitedMessage =
    "The analysis was limited to the first 2500 data greater than the threshold";

// The text shown when everything is done.
std::string DoneMessage(const std::string& inputName, const std::string& reportName);

// dm holds FileName (the ".inp" to write), the titles, the threshold, the rows
// (NrOfData, RowSerials, RowValues, Skipped), NrOfIntervals and Preference;
// state.BreakPointAllowed is set. Writes the input file, then RunAndReport:
//   " Saving data ....."  pause 500 ms   " Progress 25% ...."  pause 500 ms
//   " Calculating ....."  the analysis run; on StopFlag the stop message
//   pause 500 ms  " Progress 75% ...."  FinishReport  pause 500 ms
// then the "Warning" check, " Filing results ..", pause 500 ms, LoadReport
// and the closing message. On Done, dm.FileName names the report.
SaveRunResult SaveRun(report::TDMQuilmor& dm, engine::AnalysisState& state,
                      const SaveRunOptions& options = {});

}  // namespace quilmor::calculator
