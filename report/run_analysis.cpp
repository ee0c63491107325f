#include "report/run_analysis.hpp"

#include "engine/run_fit.hpp"
#include "report/intervals.hpp"
#include "report/post_fit.hpp"
#include "report/report_writer.hpp"

namespace quilmor::report {

std::optional<std::string> RunAnalysis(TDMQuilmor& dm, engine::AnalysisState& state,
                                       const std::filesystem::path& scratchDir) {
  // Checked before anything is read or fitted: the input page allows 2..20,
  // other callers may hand in any text.
  const std::optional<int> nrOfClasses = ParseNrOfIntervals(dm.NrOfIntervals);
  if (!nrOfClasses) return NrOfIntervalsMessage(dm.NrOfIntervals);

  engine::FitRequest request;
  request.inputFile = dm.FileName;
  request.preference = dm.Preference;
  request.scratchDir = scratchDir;
  if (auto error = engine::RunFit(state, request, dm.Ui())) return error;
  dm.NrOfData = state.NrOfData;
  if (state.StopFlag) return std::nullopt;

  ComputeCalcFreq(state);
  if (auto error = WriteFitSummary(state, scratchDir)) return error;
  AnalyseIntervals(state, *nrOfClasses);
  return WriteReport(state, dm, scratchDir);
}

}  // namespace quilmor::report
