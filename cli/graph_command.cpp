// quilmor-cli graph REPORT.out --type cumulative|qq|interval|return|xconf [--bw] [--log-period]
//                  --output FILE(.bmp|.png)
// Draws one graph of a results report into a bitmap (or PNG) file, exactly as
// the Graphics page draws and saves it.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "cli/cli_app.hpp"
#include "graphs/bitmap.hpp"
#include "graphs/draw_graph.hpp"
#include "report/data_module.hpp"

namespace quilmor::cli {
namespace {

struct GraphOptions {
  std::string report;
  std::string type;
  bool blackWhite = false;
  bool logPeriod = false;
  std::string output;
};

// The command-line names of the graph types.
const std::map<std::string, int> kGraphTypes = {
    {"cumulative", 1}, {"interval", 2}, {"xconf", 3}, {"return", 4}, {"qq", 5}};

std::string LowerExtension(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

int RunGraph(const GraphOptions& options, CommandContext& context) {
  if (std::filesystem::path(options.report).extension() != ".out") {
    context.err << "quilmor-cli graph: " << options.report
                << " is not a results report (its name must end in \".out\")\n";
    return kExitUsage;
  }
  const std::string extension = LowerExtension(options.output);
  if (extension != ".bmp" && extension != ".png") {
    context.err << "quilmor-cli graph: the output file " << options.output
                << " must end in \".bmp\" or \".png\"\n";
    return kExitUsage;
  }

  if (options.logPeriod && options.type != "return") {
    context.err << "quilmor-cli graph: --log-period applies to the return-period graph "
                   "(--type return) only\n";
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
  QImage image = graphs::NewGraphImage();
  const graphs::DrawnGraph drawn = graphs::DrawGraph(dm, request, image);
  if (!drawn.read.ok()) {
    context.err << "quilmor-cli graph: no graph was written\n";
    return kExitUsage;
  }
  std::string error;
  if (!graphs::SaveGraphImage(image, options.output, &error)) {
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
  CLI::App* command =
      app.add_subcommand("graph", "Draw one graph of a results report into a bitmap file");
  command->add_option("REPORT", options->report, "Results report (.out)")->required();
  command
      ->add_option("--type", options->type,
                   "cumulative, qq (calculated against observed), interval, return or xconf "
                   "(confidence belt of X)")
      ->required()
      ->check(CLI::IsMember({"cumulative", "qq", "interval", "return", "xconf"}));
  command->add_flag("--bw", options->blackWhite, "Black and white instead of colour");
  command->add_flag("--log-period", options->logPeriod,
                    "Return periods on a logarithmic axis (--type return)");
  command->add_option("--output", options->output, "Graph file: .bmp (Windows bitmap) or .png")
      ->required();
  command->callback([options, &context] { context.exitCode = RunGraph(*options, context); });
}

}  // namespace quilmor::cli
