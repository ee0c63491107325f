#include "engine/run_fit.hpp"

namespace quilmor::engine {

std::optional<std::string> RunFit(AnalysisState& state, const FitRequest& request,
                                  UserInteraction& ui) {
  state.PrefCode = request.preference.substr(0, kPrefCodeLength);
  if (auto message = PrepareData(state, request.inputFile, request.scratchDir, ui)) {
    state.StopFlag = true;
    return message;
  }
  state.StopFlag = false;
  if (state.NrOfData < 1) {
    state.StopFlag = true;
    return std::nullopt;
  }
  state.BusyNoticePending = true;
  FitDistributions(state, request.preference, ui, request.options);
  return std::nullopt;
}

}  // namespace quilmor::engine
