#include "cli/run_options.hpp"

#include <CLI/CLI.hpp>
#include <ostream>

#include "report/input_rules.hpp"
#include "textio/number_format.hpp"
#include "textio/number_parse.hpp"

namespace quilmor::cli {

namespace {

// Checks the options as the Input page checks its fields. Returns false after
// telling what is wrong.
bool CheckSettings(RunSettings& settings, std::ostream& err) {
  const report::rules::IntervalsCheck intervals = report::rules::CheckIntervals(settings.intervals);
  if (!intervals.intervals) {
    err << intervals.message << '\n';
    return false;
  }
  settings.intervals = std::to_string(*intervals.intervals);

  const std::optional<int> preference = report::rules::CheckPreference(settings.preference);
  if (!preference) {
    err << "quilmor-cli: the distribution preference \"" << settings.preference
        << "\" is not one of 1 (best fitting of all), 3, 4, 5, 21, 22, 23, 24, 25, 51 to 60, "
           "62\n";
    return false;
  }
  settings.preference = std::to_string(*preference);
  if (settings.breakpoint && settings.preference != report::rules::kBestOfAll) {
    err << "quilmor-cli: a breakpoint can only be allowed with best fitting of all (--pref 1)\n";
    return false;
  }
  if (!settings.threshold.empty() && !report::rules::CheckThreshold(settings.threshold, '.')) {
    err << report::rules::kThresholdNotReal << '\n';
    return false;
  }
  if (settings.column < 0) {
    err << "quilmor-cli: the column number must be 1 or more\n";
    return false;
  }
  const auto plotting = engine::ParsePlottingPosition(settings.plottingPosition);
  if (!plotting) {
    err << "quilmor-cli: " << engine::PlottingPositionMessage(settings.plottingPosition) << '\n';
    return false;
  }
  settings.plotting = *plotting;
  for (const auto& refusal : {report::rules::CheckTitle(settings.title1, 1),
                              report::rules::CheckTitle(settings.title2, 2)}) {
    if (refusal) {
      err << "quilmor-cli: " << *refusal << '\n';
      return false;
    }
  }
  return true;
}

// Below this efficiency coefficient the chosen function hardly describes the
// data; the report is written all the same, the command line says so.
constexpr double kPoorEfficiency = 0.5;

}  // namespace

std::string PoorFitText(const run::SaveRunResult& result) {
  const double frequencies = result.analysis.model.Goodness.efficiency;
  const bool hasX = !result.finished.x.CalcX.empty();
  const double values = result.finished.x.Efficiency;
  if (!(frequencies < kPoorEfficiency) && !(hasX && values < kPoorEfficiency)) return {};
  std::string text =
      "the fitted function describes the data poorly: the efficiency coefficient (R) is " +
      textio::FormatF(frequencies, 0, 4) + " for the cumulative frequencies";
  if (hasX) text += " and " + textio::FormatF(values, 0, 5) + " for the data values";
  return text + " (below " + textio::FormatF(kPoorEfficiency, 0, 1) +
         "); its calculated X-values and limits are not reliable";
}

void AddRunOptions(CLI::App& command, RunSettings& settings) {
  command.add_option("--pref", settings.preference,
                  "Distribution preference: 1 best fitting of all (default), or a code: 3, 4, "
                  "5, 21..25, 51..60, 62");
  command.add_flag("--breakpoint", settings.breakpoint,
                "Allow a breakpoint, if it can be detected (best fitting of all only)");
  command.add_option("--intervals", settings.intervals,
                  "Number of intervals of the interval analysis, 2..20 (default 5)");
  command.add_option("--threshold", settings.threshold,
                  "Threshold (cut-off value): values below it are not used (default 0)");
  command.add_option("--title1", settings.title1, "First title line");
  command.add_option("--title2", settings.title2, "Second title line (variable and units)");
  command.add_option("--column", settings.column,
                  "For a CSV file: the column (1, 2, ...) that holds the values");
  command.add_option("--plotting-position", settings.plottingPosition,
                  "Plotting position of rank i: weibull i/(N+1) (default), gringorten, cunnane, "
                  "hazen, blom, or a=<alpha> for (i-alpha)/(N+1-2 alpha), alpha 0..0.5");
  command.add_flag("--json", settings.json, "Also write NAME.json: everything the run computed");
  command.add_flag("--csv", settings.csv,
                "Also write NAME.design.csv and NAME.candidates.csv (design values, candidates)");
  AddDesignOptions(command, settings.designTexts);
}

bool FinishRunSettings(const CLI::App& command, RunSettings& settings, std::ostream& err) {
  settings.title1Given = command.count("--title1") > 0;
  settings.title2Given = command.count("--title2") > 0;
  if (!CheckSettings(settings, err)) return false;
  if (auto message = ApplyDesignOptions(*settings.designTexts, settings.design)) {
    err << "quilmor-cli: " << *message << '\n';
    return false;
  }
  const std::string note = report::rules::PreferenceNoteText(std::stoi(settings.preference));
  if (!note.empty()) err << note << '\n';
  return true;
}

void ApplyTitlesAndThreshold(const RunSettings& settings, report::TDMQuilmor& dm) {
  if (settings.title1Given) dm.Title1 = settings.title1;
  if (settings.title2Given) dm.Title2 = settings.title2;
  if (!settings.threshold.empty()) dm.InputThreshold = *textio::StringToFloat(settings.threshold);
}

}  // namespace quilmor::cli
