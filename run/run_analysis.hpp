// One analysis run in memory: the input file's content → the prepared series
// → the fit → the report model → the X-values and the texts of the report
// and of its parameter file. Nothing here touches the disk; each stage's
// result is handed const to the next, and the whole chain can be repeated
// cheaply (a bootstrap replicate, a series of a batch).
#pragma once

#include <optional>
#include <string>

#include "calculator/inverse.hpp"
#include "engine/fit_series.hpp"
#include "report/report_model.hpp"
#include "textio/input_file.hpp"
#include "textio/interaction.hpp"

namespace quilmor::run {

struct AnalysisRequest {
  std::string inputName;  // the input file, as the report names it
  std::string preference = "1";
  bool breakPointAllowed = false;
  std::string nrOfIntervals = "5";
  engine::PlottingPosition plotting;  // the method's i/(N+1) unless chosen
  int threads = 0;  // cores for the fit; 0: every hardware thread
};

struct AnalysisResult {
  // The analysis could not be made at all (the number of intervals or the
  // input is unusable): the message. Empty otherwise.
  std::optional<std::string> error;
  engine::PreparedSeries series;
  engine::FitResult fit;
  report::ReportModel model;  // built unless the fit stopped
  bool Stopped() const { return !error && fit.Stopped; }
};

// RunAnalysis: checks the number of intervals, prepares the series of the
// input file (the zero-threshold notice is shown through `ui`), fits it (the
// busy notices go to ui's progress display) and builds the report model.
AnalysisResult RunAnalysis(const textio::InputFileContent& input, const AnalysisRequest& request,
                           UserInteraction& ui);

// The finished report of an analysis that did not stop.
struct FinishedReport {
  calculator::XConfidence x;  // calculated X-values (code 0: none)
  std::string reportText;     // the body followed by the section of X-values
  std::string parameterText;  // the parameter file (".aux")
};

// FinishReport in memory: the calculated X-values and their section (a
// report without a distribution has neither), the report and the parameter
// file.
FinishedReport FinishReport(const report::ReportModel& model);

}  // namespace quilmor::run
