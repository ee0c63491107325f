// The one road by which the program talks to its user: messages, the progress
// lines of a run, Yes/No questions, file dialogs and pauses. The desktop
// program answers with Qt dialogs, the command-line program with stderr and
// its options, tests with a scripted recorder.
#pragma once

#include <optional>
#include <string>

namespace quilmor {

struct FileDialogRequest {
  std::string filter;            // "Input files (*.inp)|*.inp"
  std::string defaultExtension;  // "inp"
  std::string initialFolder;     // empty: not set
};

class UserInteraction {
 public:
  virtual ~UserInteraction() = default;

  // A modal message with an OK button; returns when it was closed.
  virtual void ShowMessage(const std::string& text) = 0;
  // A Yes/No question; true for Yes.
  virtual bool ConfirmYesNo(const std::string& text) = 0;
  // One line appended to the progress display (the main window's WaitMemo).
  virtual void AppendProgress(const std::string& line) = 0;
  // A real wait; the display stays up to date meanwhile.
  virtual void Pause(int milliseconds) = 0;
  // File dialogs; nullopt when cancelled.
  virtual std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) = 0;
  // Asks the application to end once the current event has been handled.
  virtual void RequestQuit() = 0;
};

// Ignores everything and answers No / cancel; for callers that only compute.
class SilentInteraction : public UserInteraction {
 public:
  void ShowMessage(const std::string&) override {}
  bool ConfirmYesNo(const std::string&) override { return false; }
  void AppendProgress(const std::string&) override {}
  void Pause(int) override {}
  std::optional<std::string> ChooseOpenFile(const FileDialogRequest&) override { return {}; }
  std::optional<std::string> ChooseSaveFile(const FileDialogRequest&) override { return {}; }
  void RequestQuit() override {}
};

}  // namespace quilmor
