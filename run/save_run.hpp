// Save-Run after the input has been taken into the data module: write the
// input file, run the analysis in memory with its progress lines and pauses,
// write the report and its parameter file, tell about the 2500-value limit,
// show the report. The desktop window and the command line call it alike and
// act on the status it returns; every message, progress line and pause goes
// through the data module's UserInteraction.
#pragma once

#include <string>
#include <vector>

#include "report/data_module.hpp"
#include "run/run_analysis.hpp"

namespace quilmor::run {

struct SaveRunOptions {
  // False when dm.FileName is an input file already on disk that is to be
  // run as it stands (read once and not changed).
  bool writeInput = true;
  bool breakPointAllowed = false;
  int threads = 0;  // cores for the fit; 0: every hardware thread
  engine::PlottingPosition plotting;  // the method's i/(N+1) unless chosen
  // Another run on the same names: wait for it (true) or refuse (Busy).
  bool waitForLock = false;
  // False: the run writes nothing and takes no lock; its input, report and
  // parameter file stay in memory (SaveRunResult::inputText, finished), for
  // a caller that writes them elsewhere or only reads the results.
  bool writeFiles = true;
  // With writeInput false: the lines of dm.FileName as already read, analysed
  // as they stand instead of reading the file a second time.
  const std::vector<std::string>* inputLines = nullptr;
};

enum class SaveRunStatus {
  Done,             // report written and shown
  InputNotWritten,  // the input file could not be written (message shown)
  Stopped,          // no usable data or no variation: no report
  Failed,           // the run or the report could not be completed
  Busy,             // another run is writing the same files (message shown)
};

struct SaveRunResult {
  SaveRunStatus status = SaveRunStatus::Failed;
  std::string InputName;       // the input file (".inp")
  std::string ReportName;      // the report (".out") when one was written
  bool inputWritten = false;   // the input file was written (with the report)
  std::string inputText;       // the input file's text when the run made it
  bool limitedTo2500 = false;  // more than 2500 values passed the threshold
  // The name of the fitted function for graph titles, once a report is written.
  std::string DistributionName;
  AnalysisResult analysis;  // every stage of the run, as values
  FinishedReport finished;  // the texts written (status Done)
};

inline constexpr const char* kStopMessage =
    "No data below threshold, or no variation between data. Program stops running";
inline constexpr const char* kLimitedMessage =
    "The analysis was limited to the first 2500 data greater than the threshold";

// Another run holds the lock of these names.
std::string BusyMessage(const std::string& fileName);
std::string WaitingMessage(const std::string& fileName);

// The text shown when everything is done.
std::string DoneMessage(const std::string& inputName, const std::string& reportName);

// dm holds FileName (the ".inp"), the titles, the threshold, the rows
// (NrOfData, RowSerials, RowValues, Skipped), NrOfIntervals and Preference.
// Refuses a title or file name holding a control character, takes the lock
// of the run's names (see waitForLock) and removes what a killed run of the
// same names left, then:
//   " Saving data ....."  pause 500 ms   " Progress 25% ...."  pause 500 ms
//   " Calculating ....."  the analysis; on a stop the stop message
//   pause 500 ms  " Progress 75% ...."  (" Almost done ..." above 1000 data)
//   the input file, the report and its parameter file, replacing the earlier
//   ones together at the very end (a run that fails or stops changes none)
//   pause 500 ms  the 2500-value message  " Filing results .."  pause 500 ms
// and the closing message. On Done, dm holds the report (ReportLines,
// AuxCode) and FileName names it.
SaveRunResult SaveRun(report::TDMQuilmor& dm, const SaveRunOptions& options = {});

}  // namespace quilmor::run
