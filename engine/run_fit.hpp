// The analysis run as far as the fit: read the input file, prepare the values
// and fit the catalogue (or the preferred function).
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "engine/analysis_state.hpp"
#include "textio/interaction.hpp"

namespace quilmor::engine {

// PrefCode keeps this many characters of the preference.
inline constexpr std::size_t kPrefCodeLength = 4;

// How a fit may run. The results never depend on it.
struct FitOptions {
  int threads = 0;  // cores to use; 0: every hardware thread
};

struct FitRequest {
  std::filesystem::path inputFile;   // the ".inp" file
  std::string preference = "1";      // "1" best of all, else a code
  std::filesystem::path scratchDir;  // the run's private folder ("Warning" goes here)
  FitOptions options;
};

// Reads the input file three times (count lines, count values at or above the
// threshold, store the first 2500 of them), ranks the values, sets the
// plotting positions and the shift. When more than 2500 values pass the
// threshold, the marker file "Warning" is written into `scratchDir`. nullopt
// on success; otherwise the message for an input file that cannot be read or
// holds a value that is not a real number, or for a marker file that cannot
// be written (the state then holds no usable data: N = 0).
std::optional<std::string> PrepareData(AnalysisState& state, const std::filesystem::path& inputFile,
                                       const std::filesystem::path& scratchDir,
                                       UserInteraction& ui);

// Fits what the preference names, or every candidate and selects the best.
// Reads state.BreakPointAllowed; sets StopFlag when the data have no spread.
// Records every candidate of a best-of-all run in state.Candidates (in the
// order of the selection, with the SSE that enters it) and the trials of
// every scan in state.ScanCounts.
void FitDistributions(AnalysisState& state, const std::string& preference, UserInteraction& ui,
                      const FitOptions& options = {});

// Steps of the run up to the fit: PrefCode, PrepareData, the stop check
// (no value in use), the busy-notice flag and FitDistributions. The caller
// sets state.BreakPointAllowed first and reads StopFlag afterwards.
std::optional<std::string> RunFit(AnalysisState& state, const FitRequest& request,
                                  UserInteraction& ui);

}  // namespace quilmor::engine
