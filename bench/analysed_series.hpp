// The in-memory analysis of a sample (best of all, threshold 0), as the
// bootstrap benchmark and the coverage program start from it.
#pragma once

#include <string>
#include <vector>

#include "run/run_analysis.hpp"
#include "textio/input_file.hpp"
#include "textio/text_file.hpp"

namespace quilmor::bench {

inline run::AnalysisResult AnalyseSample(const std::vector<double>& values,
                                         const std::string& inputName, UserInteraction& ui) {
  const textio::InputFileContent input = textio::ParseInputFile(
      textio::SplitLines(textio::RenderInputFile("Sample", "", inputName, 0.0, values)));
  run::AnalysisRequest request;
  request.inputName = inputName;
  return run::RunAnalysis(input, request, ui);
}

}  // namespace quilmor::bench
