// Names of the temporary files of one run. They live in the run's private
// scratch folder, never in the user's folders.
#pragma once

namespace quilmor::engine {

inline constexpr const char* kFitSummaryFile = "Temp.tmp";   // N, code, shift, parameters
inline constexpr const char* kReportBodyFile = "TmpFile.Tmp";  // report up to the return periods
inline constexpr const char* kValuesFile = "Values.tmp";      // section of calculated X-values
inline constexpr const char* kWarningFile = "Warning";        // more than 2500 values passed

}  // namespace quilmor::engine
