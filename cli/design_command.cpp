// `quilmor-cli design INPUT [options]`: the design-value table of one series
// on the terminal, aligned: X_T of each return period (and frequency) by the
// calculator's inverse, the method's 90 % limits, and with --bootstrap B the
// limits of B replicates of the whole analysis. Nothing is written to disk.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/cli_app.hpp"
#include "cli/design_output.hpp"
#include "cli/read_input.hpp"
#include "engine/catalogue.hpp"
#include "report/input_rules.hpp"
#include "textio/csv_writer.hpp"

namespace quilmor::cli {
namespace {

constexpr const char* kPrefix = "quilmor-cli design: ";

struct DesignSettings {
  std::string input;
  std::string preference = "1";
  bool breakPoint = false;
  int column = 0;
  std::shared_ptr<DesignOptionTexts> texts = std::make_shared<DesignOptionTexts>();
};

std::string Short(double value) { return textio::ShortNumber(value); }

int RunDesignCommand(const DesignSettings& settings, CommandContext& context) {
  report::DesignOptions options;
  if (auto message = ApplyDesignOptions(*settings.texts, options)) {
    context.err << kPrefix << *message << '\n';
    return kExitUsage;
  }
  const std::optional<int> preference = report::rules::CheckPreference(settings.preference);
  if (!preference) {
    context.err << kPrefix
                << "--pref must be 1 (best fitting of all) or a preference code: 3, "
                   "4, 5, 21 to 25, 51 to 60, 62\n";
    return kExitUsage;
  }
  StreamInteraction ui(context.err, context.verbose);
  const auto input = ReadAnalysisInput(settings.input, settings.column, ui, context.err, kPrefix);
  if (!input) return kExitUsage;

  run::AnalysisRequest request;
  request.inputName = settings.input;
  request.preference = std::to_string(*preference);
  request.breakPointAllowed = settings.breakPoint;
  const run::AnalysisResult analysis = run::RunAnalysis(*input, request, ui);
  if (analysis.error) {
    context.err << kPrefix << *analysis.error << '\n';
    return kExitUsage;
  }
  if (analysis.Stopped()) {
    context.err << "No data below threshold, or no variation between data. Program stops "
                   "running\n";
    return kExitStopped;
  }
  std::vector<run::DesignRow> rows =
      run::DesignTable(analysis.model, static_cast<int>(input->rows.size()), options);
  const auto bootstrap = BootstrapWithProgress(analysis, options, request.preference,
                                               request.breakPointAllowed, rows, context.err);

  std::ostream& out = context.out;
  out << analysis.model.DistributionName << " (code " << analysis.model.Fit.Code
      << "), N = " << analysis.series.N << "\n\n";
  out << textio::FormatAlignedTable(run::DesignValueTable(rows, Short));
  if (bootstrap) {
    out << '\n'
        << bootstrap->completed << " replicates ("
        << (bootstrap->kind == report::BootstrapKind::kParametric ? "parametric" : "nonparametric")
        << ", seed " << bootstrap->seed
        << "); stopped (no variation), left out: " << bootstrap->stopped << "\n\n";
    textio::Table shares;
    shares.columns = {{"code"}, {"name", textio::Align::kLeft}, {"count"}, {"share"}};
    for (const run::CodeShare& c : bootstrap->chosenCodes) {
      const char* name = engine::CatalogueName(c.code);
      shares.rows.push_back({std::to_string(c.code), name ? name : "", std::to_string(c.count),
                             textio::ShortNumber(c.share, 3)});
    }
    out << textio::FormatAlignedTable(shares);
  }
  return kExitOk;
}

}  // namespace

void AddDesignCommand(CLI::App& app, CommandContext& context) {
  auto settings = std::make_shared<DesignSettings>();
  CLI::App* design = app.add_subcommand(
      "design", "Print the design values (X of each return period) with their limits");
  design
      ->add_option("INPUT", settings->input,
                   "An input file (.inp) or a file with one value per line")
      ->required();
  design->add_option("--pref", settings->preference,
                     "1 = best fitting of all (default), or the code of one distribution");
  design->add_flag("--breakpoint", settings->breakPoint,
                   "Allow a break point (two-piece function) if one is detected");
  design->add_option("--column", settings->column, "Take the values from this column of a CSV file")
      ->check(CLI::PositiveNumber);
  AddDesignOptions(*design, settings->texts);
  design->callback(
      [&context, settings] { context.exitCode = RunDesignCommand(*settings, context); });
}

}  // namespace quilmor::cli
