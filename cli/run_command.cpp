// `quilmor-cli run INPUT... [options]`: the complete run of Save-Run on each
// input in turn. An input is an input file (".inp") or a plain file with one
// value per line (or one column of a CSV file); for the latter the input file
// is first written beside it. The report (".out") and the parameter file
// (".aux") are written beside the input file.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/cli_app.hpp"
#include "cli/design_output.hpp"
#include "engine/analysis_state.hpp"
#include "engine/plotting_position.hpp"
#include "report/data_module.hpp"
#include "report/input_rules.hpp"
#include "run/save_run.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"
#include "textio/value_file.hpp"

namespace quilmor::cli {

namespace {

// Texts of Save-Run's file step.
constexpr const char* kOverwrite = "The file already exists, overwrite?";
constexpr const char* kNotSaved = "The input data were not saved";

struct RunSettings {
  std::vector<std::string> inputs;
  std::string preference = "1";
  bool breakpoint = false;
  std::string intervals = "5";
  std::string threshold;  // empty: 0 for a value file, as stored for an input file
  std::string title1;
  std::string title2;
  bool title1Given = false;
  bool title2Given = false;
  int column = 0;
  bool overwrite = false;
  std::string plottingPosition = "weibull";
  engine::PlottingPosition plotting;
  // Beside the report: NAME.json, NAME.design.csv and NAME.candidates.csv.
  bool json = false;
  bool csv = false;
  std::shared_ptr<DesignOptionTexts> designTexts = std::make_shared<DesignOptionTexts>();
  report::DesignOptions design;
};

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

// The same file under two names: one path, or two names of one file (a
// link, a hard link).
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  if (std::filesystem::exists(a, ec) && std::filesystem::exists(b, ec)) {
    const bool same = std::filesystem::equivalent(a, b, ec);
    if (!ec) return same;
  }
  const std::filesystem::path ca = std::filesystem::weakly_canonical(a, ec);
  if (ec) return false;
  const std::filesystem::path cb = std::filesystem::weakly_canonical(b, ec);
  return !ec && ca == cb;
}

// A run must never write over what it reads: the input (after its links are
// resolved) may not be one of the files the run writes.
bool InputIsAnOutput(const std::string& input, const std::string& inputFile, bool writesInput,
                     std::ostream& err) {
  std::vector<std::string> outputs = {textio::ChangeFileExt(inputFile, ".out"),
                                      textio::ChangeFileExt(inputFile, ".aux")};
  if (writesInput) outputs.insert(outputs.begin(), inputFile);
  for (const std::string& output : outputs) {
    if (!SameFile(input, output)) continue;
    err << "quilmor-cli: \"" << input << "\" is the file \"" << output
        << "\" that this run would write; give the values another name (\".txt\" for example)\n";
    return true;
  }
  return false;
}

std::string AbsoluteName(const std::string& name) {
  std::error_code ec;
  const std::filesystem::path path = std::filesystem::absolute(name, ec);
  return ec ? name : path.lexically_normal().string();
}

// Save-Run asks before it overwrites an input file; the command line answers
// with --overwrite.
bool MayWrite(const std::string& inputFile, const RunSettings& settings, UserInteraction& ui,
              std::ostream& err) {
  std::error_code ec;
  if (!std::filesystem::exists(inputFile, ec) || settings.overwrite) return true;
  ui.ConfirmYesNo(kOverwrite);
  ui.ShowMessage(kNotSaved);
  err << "quilmor-cli: \"" << inputFile << "\" exists; use --overwrite to replace it\n";
  return false;
}

// Takes one input into the data module. Returns the exit status of a
// refusal, or kExitOk with `writeInput` telling whether Save-Run must write
// the input file.
int PrepareInput(const std::string& input, const RunSettings& settings, report::TDMQuilmor& dm,
                 bool& writeInput, std::ostream& err) {
  std::error_code ec;
  if (const auto refusal = report::rules::CheckFileName(input)) {
    err << "quilmor-cli: " << *refusal << '\n';
    return kExitUsage;
  }
  if (!std::filesystem::is_regular_file(input, ec)) {
    err << "quilmor-cli: cannot read \"" << input << "\"\n";
    return kExitUsage;
  }
  const bool changesTitlesOrThreshold =
      settings.title1Given || settings.title2Given || !settings.threshold.empty();
  if (textio::IsInputFile(input)) {
    dm.FileName = AbsoluteName(input);
    writeInput = changesTitlesOrThreshold;
    if (InputIsAnOutput(input, dm.FileName, false, err)) return kExitUsage;
    if (dm.ReadInputFile() != report::TDMQuilmor::ReadResult::Ok) return kExitUsage;
    if (writeInput && !MayWrite(dm.FileName, settings, dm.Ui(), err)) return kExitUsage;
  } else {
    const textio::ValueFile file = textio::ReadValueFile(input, settings.column);
    if (!file.error.empty()) {
      err << "quilmor-cli: " << file.error << '\n';
      return kExitUsage;
    }
    dm.FileName = textio::ChangeFileExt(AbsoluteName(input), ".inp");
    if (InputIsAnOutput(input, dm.FileName, true, err)) return kExitUsage;
    if (!MayWrite(dm.FileName, settings, dm.Ui(), err)) return kExitUsage;
    const std::size_t rows = file.rows.size();
    dm.Title1.clear();
    dm.Title2.clear();
    dm.InputThreshold = 0.0;
    dm.NrOfData = static_cast<int>(rows);
    dm.RowSerials.resize(rows);
    dm.RowValues.assign(rows, 0.0);
    dm.Skipped.assign(rows, false);
    for (std::size_t i = 0; i < rows; ++i) {
      dm.RowSerials[i] = static_cast<int>(i + 1);
      if (file.rows[i].value) {
        dm.RowValues[i] = *file.rows[i].value;
      } else {
        dm.Skipped[i] = true;
      }
    }
    writeInput = true;
  }
  if (settings.title1Given) dm.Title1 = settings.title1;
  if (settings.title2Given) dm.Title2 = settings.title2;
  if (!settings.threshold.empty()) dm.InputThreshold = *textio::StringToFloat(settings.threshold);

  const report::rules::ValueCountCheck count =
      report::rules::CheckValueCount(std::count(dm.Skipped.begin(), dm.Skipped.end(), false));
  if (count.refused) {
    err << count.message << '\n';
    return kExitUsage;
  }
  if (!count.message.empty()) dm.Ui().ShowMessage(count.message);
  return kExitOk;
}

int RunOne(const std::string& input, const RunSettings& settings, CommandContext& context) {
  StreamInteraction ui(context.err, context.verbose);
  report::TDMQuilmor dm(ui);
  dm.Preference = settings.preference;
  dm.NrOfIntervals = settings.intervals;
  bool writeInput = true;
  if (int refused = PrepareInput(input, settings, dm, writeInput, context.err)) return refused;

  run::SaveRunOptions options;
  options.writeInput = writeInput;
  options.breakPointAllowed = settings.breakpoint;
  options.plotting = settings.plotting;
  options.waitForLock = true;
  const run::SaveRunResult result = run::SaveRun(dm, options);
  RunOutputRequest outputs{settings.json, settings.csv, settings.preference, settings.breakpoint,
                           std::stoi(settings.intervals), settings.design};
  if (!WriteSaveRunOutputs(result, dm, outputs, context.err)) return kExitUsage;
  switch (result.status) {
    case run::SaveRunStatus::Done:
      context.out << input << ": " << result.DistributionName << " (code "
                  << result.analysis.model.Fit.Code << ")\n"
                  << "  input:      " << result.InputName << '\n'
                  << "  report:     " << result.ReportName << '\n'
                  << "  parameters: " << textio::ChangeFileExt(result.ReportName, ".aux") << '\n';
      return kExitOk;
    case run::SaveRunStatus::Stopped:
      return kExitStopped;
    default:
      return kExitUsage;
  }
}

}  // namespace

void AddRunCommand(CLI::App& app, CommandContext& context) {
  auto settings = std::make_shared<RunSettings>();
  CLI::App* run = app.add_subcommand(
      "run", "Run the complete analysis: report (.out) and parameter file (.aux)");
  run->add_option("input", settings->inputs,
                  "Input files (.inp), or files with one value per line (or a CSV column)")
      ->required();
  run->add_option("--pref", settings->preference,
                  "Distribution preference: 1 best fitting of all (default), or a code: 3, 4, "
                  "5, 21..25, 51..60, 62");
  run->add_flag("--breakpoint", settings->breakpoint,
                "Allow a breakpoint, if it can be detected (best fitting of all only)");
  run->add_option("--intervals", settings->intervals,
                  "Number of intervals of the interval analysis, 2..20 (default 5)");
  run->add_option("--threshold", settings->threshold,
                  "Threshold (cut-off value): values below it are not used (default 0)");
  run->add_option("--title1", settings->title1, "First title line");
  run->add_option("--title2", settings->title2, "Second title line (variable and units)");
  run->add_option("--column", settings->column,
                  "For a CSV file: the column (1, 2, ...) that holds the values");
  run->add_option("--plotting-position", settings->plottingPosition,
                  "Plotting position of rank i: weibull i/(N+1) (default), gringorten, cunnane, "
                  "hazen, blom, or a=<alpha> for (i-alpha)/(N+1-2 alpha), alpha 0..0.5");
  run->add_flag("--overwrite", settings->overwrite,
                "Replace an input file (.inp) that exists beside a value file");
  run->add_flag("--json", settings->json, "Also write NAME.json: everything the run computed");
  run->add_flag("--csv", settings->csv,
                "Also write NAME.design.csv and NAME.candidates.csv (design values, candidates)");
  AddDesignOptions(*run, settings->designTexts);
  run->callback([settings, run, &context]() {
    settings->title1Given = run->count("--title1") > 0;
    settings->title2Given = run->count("--title2") > 0;
    if (!CheckSettings(*settings, context.err)) {
      context.exitCode = kExitUsage;
      return;
    }
    if (auto message = ApplyDesignOptions(*settings->designTexts, settings->design)) {
      context.err << "quilmor-cli: " << *message << '\n';
      context.exitCode = kExitUsage;
      return;
    }
    const std::string note = report::rules::PreferenceNoteText(std::stoi(settings->preference));
    if (!note.empty()) context.err << note << '\n';
    int worst = kExitOk;
    for (const std::string& input : settings->inputs) {
      worst = std::max(worst, RunOne(input, *settings, context));
    }
    context.exitCode = worst;
  });
}

}  // namespace quilmor::cli
