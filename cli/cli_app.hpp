// The command-line program: subcommands for fitting, the complete run, graphs
// and the calculator, batches over many series. Exit status: 0 done, 1 the
// analysis stopped, 2 bad usage or an input that cannot be used, 3 (a batch)
// some series were refused or stopped.
#pragma once

#include <iosfwd>
#include <string>

#include "textio/interaction.hpp"

namespace CLI {
class App;
}

namespace quilmor::cli {

// A batch: 3 when some of its series were refused or stopped.
enum ExitCode : int { kExitOk = 0, kExitStopped = 1, kExitUsage = 2, kExitSomeNotRun = 3 };

// Messages and progress lines go to the error stream; questions are answered
// No and file dialogs cancelled (the command line says everything up front).
class StreamInteraction : public UserInteraction {
 public:
  StreamInteraction(std::ostream& err, bool showProgress) : m_err(err), m_showProgress(showProgress) {}
  void ShowMessage(const std::string& text) override;
  bool ConfirmYesNo(const std::string& text) override;
  void AppendProgress(const std::string& line) override;
  void Pause(int) override {}
  std::optional<std::string> ChooseOpenFile(const FileDialogRequest&) override { return {}; }
  std::optional<std::string> ChooseSaveFile(const FileDialogRequest&) override { return {}; }
  void RequestQuit() override { quitRequested = true; }
  bool quitRequested = false;

 private:
  std::ostream& m_err;
  bool m_showProgress;
};

// What a subcommand needs from the program around it.
struct CommandContext {
  std::ostream& out;
  std::ostream& err;
  int exitCode = kExitOk;
  bool verbose = false;
};

// Each subcommand registers itself on the application (one file each).
void AddFitCommand(CLI::App& app, CommandContext& context);    // fit_command.cpp
void AddRunCommand(CLI::App& app, CommandContext& context);    // run_command.cpp
void AddCalcCommand(CLI::App& app, CommandContext& context);   // calc_command.cpp
void AddGraphCommand(CLI::App& app, CommandContext& context);  // graph_command.cpp
void AddDesignCommand(CLI::App& app, CommandContext& context);  // design_command.cpp
// batch and merge: batch_command.cpp
void AddBatchCommand(CLI::App& app, CommandContext& context);

// Runs the program with these arguments; returns the exit status.
int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace quilmor::cli
