// The analysis run as far as the fit: read the input file, prepare the values
// and fit the catalogue (or the preferred function).
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "engine/analysis_state.hpp"
#include "textio/interaction.hpp"

namespace quilmor::engine {

struct FitRequest {
  std::filesystem::path inputFile;  // the ".inp" file
  std::string preference = "1";     // "1" best of all, else a code
  std::filesystem::path scratchDir;  // the run's private folder ("Warning" goes here)
};

// Reads the input file three times (count lines, count values at or above the
// threshold, store the first 2500 of them), ranks the values, sets the
// plotting positions and the shift. nullopt on success; otherwise the message
// for an input file that cannot be read or holds a value that is not a real
// number (the state then holds no usable data).
std::optional<std::string> PrepareData(AnalysisState& state, const std::filesystem::path& inputFile,
                                       const std::filesystem::path& scratchDir,
                                       UserInteraction& ui);

// Fits what the preference names, or every candidate and selects the best.
// Reads state.BreakPointAllowed; sets StopFlag when the data have no spread.
void FitDistributions(AnalysisState& state, const std::string& preference, UserInteraction& ui);

// Steps of the run up to the fit: PrefCode, PrepareData, the stop check
// (no value in use), the busy-notice flag and FitDistributions. The caller
// sets state.BreakPointAllowed first and reads StopFlag afterwards.
std::optional<std::string> RunFit(AnalysisState& state, const FitRequest& request,
                                  UserInteraction& ui);

}  // namespace quilmor::engine
