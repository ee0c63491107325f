#include "cli/cli_app.hpp"

#include <CLI/CLI.hpp>
#include <csignal>
#include <ostream>

namespace quilmor::cli {

void StreamInteraction::ShowMessage(const std::string& text) { m_err << text << '\n'; }

bool StreamInteraction::ConfirmYesNo(const std::string& text) {
  m_err << text << " (answered No)\n";
  return false;
}

void StreamInteraction::AppendProgress(const std::string& line) {
  if (m_showProgress) m_err << line << '\n';
}

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  // A write beyond the process's file-size limit fails with its reason (the
  // earlier files stay) instead of ending the program half way.
  std::signal(SIGXFSZ, SIG_IGN);
  CLI::App app{"Cumulative frequency analysis of one data series", "quilmor-cli"};
  app.require_subcommand(1);
  CommandContext context{out, err};
  app.add_flag("-v,--verbose", context.verbose, "Show the progress lines of a run");
  // Subcommands, one file each.
  AddFitCommand(app, context);
  AddRunCommand(app, context);
  AddCalcCommand(app, context);
  AddGraphCommand(app, context);
  AddDesignCommand(app, context);
  AddBatchCommand(app, context);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    out << app.help();
    return kExitOk;
  } catch (const CLI::CallForAllHelp& e) {
    out << app.help("", CLI::AppFormatMode::All);
    return kExitOk;
  } catch (const CLI::ParseError& e) {
    err << "quilmor-cli: " << e.what() << "\n";
    err << "Run with --help for usage.\n";
    return kExitUsage;
  }
  return context.exitCode;
}

}  // namespace quilmor::cli
