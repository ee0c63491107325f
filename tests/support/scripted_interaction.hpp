// A user who answers from a script and remembers what the program told them:
// messages, progress lines, questions and file dialogs, in order. No window
// ever opens, so tests run anywhere and in parallel.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "textio/interaction.hpp"

namespace quilmor::testing {

class ScriptedInteraction : public UserInteraction {
 public:
  // Answers for the next questions / dialogs, used first in, first out. An
  // unscripted question is answered No; an unscripted dialog is cancelled.
  std::deque<bool> yesNoAnswers;
  std::deque<std::optional<std::string>> openFileAnswers;
  std::deque<std::optional<std::string>> saveFileAnswers;

  // What happened, in order.
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<std::string> progress;
  std::vector<FileDialogRequest> openDialogs;
  std::vector<FileDialogRequest> saveDialogs;
  std::vector<int> pauses;
  int quitRequests = 0;

  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool ConfirmYesNo(const std::string& text) override {
    questions.push_back(text);
    if (yesNoAnswers.empty()) return false;
    bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
  }
  void AppendProgress(const std::string& line) override { progress.push_back(line); }
  void Pause(int milliseconds) override { pauses.push_back(milliseconds); }
  std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) override {
    openDialogs.push_back(request);
    return Next(openFileAnswers);
  }
  std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) override {
    saveDialogs.push_back(request);
    return Next(saveFileAnswers);
  }
  void RequestQuit() override { ++quitRequests; }

 private:
  static std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace quilmor::testing
