// quilmor-cli graph REPORT.out --type paper|cumulative|qq|interval|return|xconf [--bw]
//                  [--log-period] [--paper NAME] [--log-x] [--band RUN.json]
//                  --output FILE.png|.svg|.pdf|.bmp [--dpi N]
// Draws one graph of a results report as the Graphics page draws it and writes
// it as a picture (bitmap, PNG) or a drawing (SVG, PDF).
#include <CLI/CLI.hpp>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "cli/cli_app.hpp"
#include "graphs/draw_graph.hpp"
#include "graphs/graph_file.hpp"
#include "graphs/graph_scales.hpp"
#include "graphs/graph_types.hpp"
#include "graphs/paper_graph.hpp"
#include "report/data_module.hpp"

namespace quilmor::cli {
namespace {

struct GraphOptions {
  std::string report;
  std::string type;
  bool blackWhite = false;
  bool logPeriod = false;
  std::string paper;  // empty: the paper of the fitted function
  bool logX = false;
  std::string output;
  int dpi = graphs::kScreenDpi;
  std::string band;  // the JSON of a run with a bootstrap: its limits chosen anew
};

// The bootstrap band of a run's JSON (quilmor-cli run --json --bootstrap B):
// the limits with the function chosen anew at each design point. Nullopt
// after telling why the file cannot serve: unreadable, no JSON, no bootstrap
// limits, or the fit of another code than the report's.
std::optional<graphs::PaperBand> ReadBand(const std::string& path, int reportCode,
                                          std::ostream& err) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    err << "quilmor-cli graph: the band file " << path << " cannot be read\n";
    return std::nullopt;
  }
  const nlohmann::json json = nlohmann::json::parse(in, nullptr, false);
  if (json.is_discarded() || !json.is_object()) {
    err << "quilmor-cli graph: the band file " << path << " is not a run's JSON\n";
    return std::nullopt;
  }
  const auto code = json.find("chosen");
  if (code == json.end() || !code->is_object() || !code->contains("code") ||
      !(*code)["code"].is_number_integer() || (*code)["code"].get<int>() != reportCode) {
    err << "quilmor-cli graph: the band file " << path
        << " does not hold the fit of the report's distribution\n";
    return std::nullopt;
  }
  graphs::PaperBand band;
  const auto rows = json.find("design_values");
  if (rows != json.end() && rows->is_array()) {
    for (const nlohmann::json& row : *rows) {
      const auto number = [&row](const char* key) -> std::optional<double> {
        const auto it = row.find(key);
        if (it == row.end() || !it->is_number()) return std::nullopt;
        const double value = it->get<double>();
        return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
      };
      const auto f = number("F");
      if (!f) continue;
      if (const auto lower = number("chosen_anew_lower")) band.lower.push_back({*f, *lower});
      if (const auto upper = number("chosen_anew_upper")) band.upper.push_back({*f, *upper});
    }
  }
  if (band.lower.empty() && band.upper.empty()) {
    err << "quilmor-cli graph: the band file " << path
        << " holds no bootstrap limits (run with --json --bootstrap B)\n";
    return std::nullopt;
  }
  return band;
}

// The command-line names of the graph types.
const std::map<std::string, int> kGraphTypes = {{"cumulative", 1}, {"interval", 2},
                                                {"xconf", 3},      {"return", 4},
                                                {"qq", 5},         {"paper", graphs::kPaperGraph}};

int RunGraph(const GraphOptions& options, CommandContext& context) {
  if (std::filesystem::path(options.report).extension() != ".out") {
    context.err << "quilmor-cli graph: " << options.report
                << " is not a results report (its name must end in \".out\")\n";
    return kExitUsage;
  }
  if (!graphs::GraphFormatOf(options.output)) {
    context.err << "quilmor-cli graph: the output file " << options.output
                << " must end in \".png\", \".svg\", \".pdf\" or \".bmp\"\n";
    return kExitUsage;
  }
  if (options.logPeriod && options.type != "return") {
    context.err << "quilmor-cli graph: --log-period applies to the return-period graph "
                   "(--type return) only\n";
    return kExitUsage;
  }

  if ((!options.paper.empty() || options.logX || !options.band.empty()) &&
      options.type != "paper") {
    context.err << "quilmor-cli graph: --paper, --log-x and --band apply to the probability "
                   "paper (--type paper) only\n";
    return kExitUsage;
  }

  graphs::EnsureGuiApplication();
  StreamInteraction ui(context.err, context.verbose);
  report::TDMQuilmor dm(ui);
  graphs::GraphRequest request;
  request.reportPath = options.report;
  request.GraphType = kGraphTypes.at(options.type);
  request.ColourGraph = !options.blackWhite;
  request.title.fromReport = true;  // the name comes from the code in the report
  request.scale.logPeriod = options.logPeriod;
  if (!options.paper.empty()) request.paper.paper = graphs::PaperNamed(options.paper);
  request.paper.logX = options.logX;
  graphs::DrawnGraph drawn = graphs::MakeGraph(dm, request);
  if (!drawn.read.ok() || !drawn.picture) {
    context.err << "quilmor-cli graph: no graph was written\n";
    return kExitUsage;
  }
  if (!options.band.empty()) {
    // The paper again from the series read, with the band, which must belong
    // to the report's code.
    graphs::PaperOptions paper = request.paper;
    paper.bootstrapBand = ReadBand(options.band, dm.FittedCode, context.err);
    if (!paper.bootstrapBand) return kExitUsage;
    paper.plottingAlpha = graphs::PlottingAlphaOfReport(dm.ReportLines);
    drawn.picture->paper =
        graphs::MakePaper(graphs::SeriesOf(dm), dm.FittedCode,
                          graphs::FittedParameters(options.report, dm.FittedCode), paper);
  }
  std::string error;
  if (!graphs::SaveGraphFile(*drawn.picture, options.output, options.dpi, &error)) {
    context.err << "quilmor-cli graph: " << options.output << " could not be written: " << error
                << "\n";
    return kExitUsage;
  }
  context.out << "The graph was saved in  " << options.output << "\n";
  return kExitOk;
}

}  // namespace

void AddGraphCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<GraphOptions>();
  CLI::App* command = app.add_subcommand(
      "graph", "Draw one graph of a results report into a picture or drawing file");
  command->add_option("REPORT", options->report, "Results report (.out)")->required();
  command
      ->add_option("--type", options->type,
                   "paper (probability paper), cumulative, qq (calculated against observed), "
                   "interval, return or xconf (confidence belt of X)")
      ->required()
      ->check(CLI::IsMember({"paper", "cumulative", "qq", "interval", "return", "xconf"}));
  command->add_flag("--bw", options->blackWhite, "Black and white instead of colour");
  command->add_flag("--log-period", options->logPeriod,
                    "Return periods on a logarithmic axis (--type return)");
  command
      ->add_option("--paper", options->paper,
                   "Probability paper (--type paper): normal, lognormal, gumbel, weibull or "
                   "exponential; by default the paper of the fitted function")
      ->check(CLI::IsMember({"normal", "lognormal", "gumbel", "weibull", "exponential"}));
  command->add_flag("--log-x", options->logX,
                    "X on a logarithmic axis (--type paper; always on the lognormal and "
                    "weibull paper)");
  command->add_option("--band", options->band,
                      "The JSON of a run with a bootstrap (run --json --bootstrap B): its 90% "
                      "limits with the function chosen anew are drawn on the paper");
  command
      ->add_option("--output", options->output,
                   "Graph file: .png, .svg, .pdf or .bmp (Windows bitmap); the format follows "
                   "the name")
      ->required();
  command
      ->add_option("--dpi", options->dpi,
                   "Resolution in dots per inch (default 96: 623 x 495 pixels)")
      ->check(CLI::Range(graphs::kMinDpi, graphs::kMaxDpi));
  command->callback([options, &context] { context.exitCode = RunGraph(*options, context); });
}

}  // namespace quilmor::cli
