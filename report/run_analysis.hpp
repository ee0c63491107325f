// One analysis run: the fit, then the post-fit values, the fit summary file,
// the interval analysis and the report body, all in the run's scratch folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "engine/analysis_state.hpp"
#include "report/data_module.hpp"

namespace quilmor::report {

// Reads dm.FileName (the ".inp" file), dm.Preference and dm.NrOfIntervals;
// sets dm.NrOfData to the number of values in use. The caller sets
// state.BreakPointAllowed first. On return StopFlag tells whether the run
// stopped (no usable data or no variation: no report). nullopt on success or
// a stopped run; otherwise the message of an input file that could not be
// read, or of a scratch file that could not be written.
std::optional<std::string> RunAnalysis(TDMQuilmor& dm, engine::AnalysisState& state,
                                       const std::filesystem::path& scratchDir);

}  // namespace quilmor::report
