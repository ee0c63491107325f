#include "run/run_analysis.hpp"

#include "calculator/parameter_file.hpp"
#include "engine/catalogue.hpp"
#include "report/intervals.hpp"
#include "report/report_writer.hpp"

namespace quilmor::run {

namespace {

constexpr const char* kZeroThresholdMessage =
    "Please be aware that the threshold (cut-off) value is zero so that the negative values are "
    "not used.";

// A title of an input file as the report may hold it: a control character
// (a NUL, an escape, a tab) would change what the report is; each becomes
// "?". True when one was replaced.
bool PrintableTitle(std::string& title) {
  bool replaced = false;
  for (char& c : title) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
      c = '?';
      replaced = true;
    }
  }
  return replaced;
}

}  // namespace

AnalysisResult RunAnalysis(const textio::InputFileContent& input, const AnalysisRequest& request,
                           UserInteraction& ui) {
  AnalysisResult result;
  // Checked before anything is prepared or fitted: the input page allows
  // 2..20, other callers may hand in any text.
  const std::optional<int> nrOfClasses = report::ParseNrOfIntervals(request.nrOfIntervals);
  if (!nrOfClasses) {
    result.error = report::NrOfIntervalsMessage(request.nrOfIntervals);
    return result;
  }
  if (input.corrupt) {
    result.error = textio::InputFaultMessage(input, request.inputName);
    return result;
  }

  result.series = engine::PrepareData(input.rows, input.threshold, request.plotting);
  if (result.series.NegativesLeftOut) ui.ShowMessage(kZeroThresholdMessage);

  engine::FitRequest fitRequest;
  fitRequest.preference = request.preference;
  fitRequest.breakPointAllowed = request.breakPointAllowed;
  fitRequest.options.threads = request.threads;
  fitRequest.options.notice = [&ui](const std::string& line) { ui.AppendProgress(line); };
  result.fit = engine::FitSeries(result.series, fitRequest);
  if (result.fit.Stopped) return result;

  report::ReportSettings settings;
  settings.InputName = request.inputName;
  settings.ReportTitle1 = input.title1;
  settings.ReportTitle2 = input.title2;
  const bool replaced1 = PrintableTitle(settings.ReportTitle1);
  const bool replaced2 = PrintableTitle(settings.ReportTitle2);
  if (replaced1 || replaced2) {
    ui.ShowMessage("The titles of the input file \"" + request.inputName +
                   "\" hold control characters; the report shows each as \"?\"");
  }
  settings.Preference = request.preference;
  settings.NrOfClasses = *nrOfClasses;
  result.model = report::BuildReportModel(result.series, result.fit, settings);
  return result;
}

FinishedReport FinishReport(const report::ReportModel& model) {
  FinishedReport finished;
  finished.reportText = report::ReportBodyText(model);
  // A report without a distribution has no frequency table and so no section
  // of calculated X-values.
  if (engine::IsCatalogueCode(model.Fit.Code)) {
    finished.x = calculator::ComputeXConfidence(model);
    finished.reportText += calculator::XConfidenceText(model, finished.x);
  }
  finished.parameterText = calculator::ParameterFileText(model);
  return finished;
}

}  // namespace quilmor::run
