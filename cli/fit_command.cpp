// quilmor-cli fit INPUT [--pref CODE] [--breakpoint] [--column N]
// Fits the catalogue (or the preferred function) and prints the fit as JSON.
#include <CLI/CLI.hpp>
#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/cli_app.hpp"
#include "cli/value_file.hpp"
#include "engine/catalogue.hpp"
#include "engine/run_fit.hpp"
#include "engine/scratch_files.hpp"
#include "report/data_module.hpp"
#include "textio/number_parse.hpp"
#include "textio/scratch_dir.hpp"

namespace quilmor::cli {
namespace {

struct FitOptions {
  std::string input;
  std::string preference = "1";
  bool breakPoint = false;
  int column = 0;
};

constexpr const char* kStopMessage =
    "No data below threshold, or no variation between data. Program stops running";
constexpr const char* kLimitMessage =
    "The analysis was limited to the first 2500 data greater than the threshold";

nlohmann::ordered_json FitToJson(engine::AnalysisState& state, bool bestOfAll) {
  nlohmann::ordered_json json;
  json["stop"] = state.StopFlag;
  json["n"] = state.N;
  json["shift"] = state.Shift;
  json["negative_values"] = state.NegativeValues;
  if (state.StopFlag) return json;
  const int code = state.Code;
  engine::SetDistributionName(state, code);
  json["code"] = code;
  json["name"] = state.DistributionName;
  const engine::CodeInfo& row = engine::FindCode(code) ? engine::CodeRow(code) : engine::CodeRow(0);
  if (engine::HasLine(row)) {
    json["slope"] = state.Slope;
    json["intercept"] = state.Intercept;
  }
  // Code 1 is never fitted, so every code with an exponent here has a scanned one.
  if (row.hasExponent) json["exponent"] = state.ExpE[static_cast<std::size_t>(code)];
  if (row.bound == engine::Bound::Lower) json["lower_bound"] = state.LowerBoundC;
  if (row.bound == engine::Bound::Upper) json["upper_bound"] = state.UpperBoundC;
  if (engine::IsNormalFamilyCode(code)) {
    const auto c = static_cast<std::size_t>(code);
    json["normal"] = {
        {"mean", state.NormMean[c]}, {"sigma", state.NormSigma[c]}, {"sd", state.NormStdDev[c]}};
  }
  if (engine::IsStudentCode(code)) {
    json["student"] = {{"mean", state.MeanX}, {"sd", state.StdDevX}};
  }
  if (engine::IsTwoPieceCode(code)) {
    json["pieces"] = {{"slope_low", state.SlopeLow},     {"intercept_low", state.InterceptLow},
                      {"slope_high", state.SlopeHigh},   {"intercept_high", state.InterceptHigh},
                      {"break_value", state.BreakValue}, {"break_index", state.BreakIndex}};
  }
  json["breakpoint_found"] = state.BreakPointFound;
  if (bestOfAll) {
    nlohmann::ordered_json candidates = nlohmann::ordered_json::array();
    for (const engine::Candidate& candidate : state.Candidates) {
      candidates.push_back({{"code", candidate.code}, {"sse", candidate.sse}});
    }
    json["candidates"] = std::move(candidates);
  }
  return json;
}

int RunFitCommand(const FitOptions& options, CommandContext& context) {
  if (options.preference != "1") {
    auto code = textio::ParseInt(options.preference);
    if (!code || !engine::IsPreferenceCode(*code)) {
      context.err << "quilmor-cli fit: --pref must be 1 (best fitting of all) or a preference "
                     "code: 3, 4, 5, 21 to 25, 51 to 60, 62\n";
      return kExitUsage;
    }
  }
  StreamInteraction ui(context.err, context.verbose);
  std::unique_ptr<textio::ScratchDir> scratch;
  try {
    scratch = std::make_unique<textio::ScratchDir>();
  } catch (const std::exception& e) {
    context.err << "quilmor-cli fit: " << e.what() << "\n";
    return kExitUsage;
  }

  std::filesystem::path inputFile = options.input;
  if (!IsInputFile(inputFile)) {
    // The analysis works on the values as an input file stores them: write one
    // into the scratch folder first.
    const ValueFile values = ReadValueFile(inputFile, options.column);
    if (!values.error.empty()) {
      context.err << "quilmor-cli fit: " << values.error << "\n";
      return kExitUsage;
    }
    report::TDMQuilmor dm(ui);
    dm.FileName = (scratch->Path() / (inputFile.stem().string() + ".inp")).string();
    dm.Title1 = inputFile.filename().string();
    for (const ValueRow& row : values.rows) {
      dm.RowSerials.push_back(static_cast<int>(dm.RowValues.size()) + 1);
      dm.RowValues.push_back(row.value.value_or(0.0));
      dm.Skipped.push_back(!row.value.has_value());
    }
    dm.NrOfData = static_cast<int>(dm.RowValues.size());
    if (!dm.WriteInputFile()) return kExitUsage;
    inputFile = dm.FileName;
  }

  engine::AnalysisState state;
  state.BreakPointAllowed = options.breakPoint;
  engine::FitRequest request;
  request.inputFile = inputFile;
  request.preference = options.preference;
  request.scratchDir = scratch->Path();
  if (auto error = engine::RunFit(state, request, ui)) {
    context.err << "quilmor-cli fit: " << *error << "\n";
    return kExitUsage;
  }
  if (std::filesystem::exists(scratch->Path() / engine::kWarningFile)) {
    context.err << kLimitMessage << "\n";
  }
  context.out << FitToJson(state, options.preference == "1").dump(2) << "\n";
  if (state.StopFlag) {
    context.err << kStopMessage << "\n";
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
  fit->callback([&context, options] { context.exitCode = RunFitCommand(*options, context); });
}

}  // namespace quilmor::cli
