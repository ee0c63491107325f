// quilmor-cli fit INPUT [--pref CODE] [--breakpoint] [--column N]
// Fits the catalogue (or the preferred function) and prints the fit as JSON.
#include <CLI/CLI.hpp>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/cli_app.hpp"
#include "cli/design_output.hpp"
#include "cli/read_input.hpp"
#include "engine/catalogue.hpp"
#include "engine/fit_series.hpp"
#include "report/data_module.hpp"
#include "report/input_rules.hpp"
#include "textio/input_file.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"
#include "textio/value_file.hpp"

namespace quilmor::cli {
namespace {

struct FitOptions {
  std::string input;
  std::string preference = "1";
  bool breakPoint = false;
  int column = 0;
  std::string plottingPosition = "weibull";
};

constexpr const char* kStopMessage =
    "No data below threshold, or no variation between data. Program stops running";

nlohmann::ordered_json FitToJson(const engine::PreparedSeries& series, const engine::FitResult& fit,
                                 bool bestOfAll) {
  nlohmann::ordered_json json;
  json["stop"] = fit.Stopped;
  json["n"] = series.N;
  json["shift"] = series.Shift;
  json["negative_values"] = series.NegativeValues;
  if (fit.Stopped) return json;
  const int code = fit.Code;
  const engine::Parameters& p = fit.Fit;
  json["code"] = code;
  json["name"] = engine::CatalogueName(code) ? engine::CatalogueName(code) : "";
  const engine::CodeInfo& row = engine::FindCode(code) ? engine::CodeRow(code) : engine::CodeRow(0);
  if (engine::HasLine(row)) {
    json["slope"] = p.A;
    json["intercept"] = p.B;
  }
  // Code 1 is never fitted, so every code with an exponent here has a scanned one.
  if (row.hasExponent) json["exponent"] = p.E;
  if (row.bound == engine::Bound::Lower) json["lower_bound"] = p.C;
  if (row.bound == engine::Bound::Upper) json["upper_bound"] = p.C;
  if (engine::IsNormalFamilyCode(code)) {
    json["normal"] = {{"mean", p.M}, {"sigma", p.D}, {"sd", fit.NormStdDev}};
  }
  if (engine::IsStudentCode(code)) json["student"] = {{"mean", p.M}, {"sd", p.D}};
  if (engine::IsTwoPieceCode(code)) {
    json["pieces"] = {{"slope_low", p.As},  {"intercept_low", p.Bs},
                      {"slope_high", p.Ag}, {"intercept_high", p.Bg},
                      {"break_value", p.P}, {"break_index", fit.BreakIndex}};
  }
  json["breakpoint_found"] = fit.BreakPointFound;
  if (!series.Plotting.IsDefault()) json["plotting_position_alpha"] = series.Plotting.alpha;
  // Goodness of fit beside the SSE, by code (each code is one candidate).
  std::map<int, run::CandidateGoodness> goodness;
  for (const run::CandidateGoodness& g : run::RankCandidates(series, fit)) goodness[g.code] = g;
  if (const auto chosen = goodness.find(code); chosen != goodness.end()) {
    json["goodness_of_fit"] = GoodnessJson(chosen->second);
  }
  if (bestOfAll) {
    nlohmann::ordered_json candidates = nlohmann::ordered_json::array();
    for (const engine::Candidate& candidate : fit.Candidates) {
      nlohmann::ordered_json entry = {{"code", candidate.code}, {"sse", candidate.sse}};
      if (const auto g = goodness.find(candidate.code); g != goodness.end()) {
        nlohmann::ordered_json measures = GoodnessJson(g->second);
        measures.erase("sse");  // the selection's SSE stands above
        entry.update(measures);
        entry["near_best"] = g->second.nearBest;
        entry["chosen"] = g->second.chosen;
      }
      candidates.push_back(std::move(entry));
    }
    json["candidates"] = std::move(candidates);
  }
  return json;
}

constexpr const char* kZeroThresholdMessage =
    "Please be aware that the threshold (cut-off) value is zero so that the negative values are "
    "not used.";

int RunFitCommand(const FitOptions& options, CommandContext& context) {
  if (options.preference != "1") {
    auto code = textio::ParseInt(options.preference);
    if (!code || !engine::IsPreferenceCode(*code)) {
      context.err << "quilmor-cli fit: --pref must be 1 (best fitting of all) or a preference "
                     "code: 3, 4, 5, 21 to 25, 51 to 60, 62\n";
      return kExitUsage;
    }
  }
  const auto plotting = engine::ParsePlottingPosition(options.plottingPosition);
  if (!plotting) {
    context.err << "quilmor-cli fit: " << engine::PlottingPositionMessage(options.plottingPosition)
                << "\n";
    return kExitUsage;
  }
  StreamInteraction ui(context.err, context.verbose);
  const auto input =
      ReadAnalysisInput(options.input, options.column, ui, context.err, "quilmor-cli fit: ");
  if (!input) return kExitUsage;

  const engine::PreparedSeries series = engine::PrepareData(input->rows, input->threshold, *plotting);
  if (series.NegativesLeftOut) ui.ShowMessage(kZeroThresholdMessage);
  engine::FitRequest request;
  request.preference = options.preference;
  request.breakPointAllowed = options.breakPoint;
  request.options.notice = [&ui](const std::string& line) { ui.AppendProgress(line); };
  const engine::FitResult fit = engine::FitSeries(series, request);
  if (series.Truncated) context.err << report::rules::kLimitedTo2500 << "\n";
  context.out << FitToJson(series, fit, options.preference == "1").dump(2) << "\n";
  if (fit.Stopped) {
    context.err << kStopMessage << "\n";
    const std::string why = engine::SpreadOutOfRangeText(series);
    if (!why.empty()) context.err << why << "\n";
    return kExitStopped;
  }
  return kExitOk;
}

}  // namespace

void AddFitCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<FitOptions>();
  CLI::App* fit = app.add_subcommand(
      "fit", "Fit the catalogue of distributions to one series; print the fit as JSON");
  fit->add_option("INPUT", options->input, "An input file (.inp) or a file with one value per line")
      ->required();
  fit->add_option("--pref", options->preference,
                  "1 = best fitting of all (default), or the code of one distribution");
  fit->add_flag("--breakpoint", options->breakPoint,
                "Allow a break point (two-piece function) if one is detected");
  fit->add_option("--column", options->column, "Take the values from this column of a CSV file")
      ->check(CLI::PositiveNumber);
  fit->add_option("--plotting-position", options->plottingPosition,
                  "weibull i/(N+1) (default), gringorten, cunnane, hazen, blom, or a=<alpha>");
  fit->callback([&context, options] { context.exitCode = RunFitCommand(*options, context); });
}

}  // namespace quilmor::cli
