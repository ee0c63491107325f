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
#include "cli/read_input.hpp"
#include "cli/run_options.hpp"
#include "engine/analysis_state.hpp"
#include "engine/plotting_position.hpp"
#include "report/data_module.hpp"
#include "report/input_rules.hpp"
#include "run/save_run.hpp"
#include "textio/number_format.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"
#include "textio/value_file.hpp"

namespace quilmor::cli {

namespace {

// Texts of Save-Run's file step.
constexpr const char* kOverwrite = "The file already exists, overwrite?";
constexpr const char* kNotSaved = "The input data were not saved";

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
    dm.TakeValueRows(file);
    writeInput = true;
  }
  ApplyTitlesAndThreshold(settings, dm);

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
      if (const std::string note = PoorFitText(result); !note.empty()) {
        context.err << "quilmor-cli: " << note << '\n';
      }
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
  run->add_flag("--overwrite", settings->overwrite,
                "Replace an input file (.inp) that exists beside a value file");
  AddRunOptions(*run, *settings);
  run->callback([settings, run, &context]() {
    if (!FinishRunSettings(*run, *settings, context.err)) {
      context.exitCode = kExitUsage;
      return;
    }
    int worst = kExitOk;
    for (const std::string& input : settings->inputs) {
      worst = std::max(worst, RunOne(input, *settings, context));
    }
    context.exitCode = worst;
  });
}

}  // namespace quilmor::cli
