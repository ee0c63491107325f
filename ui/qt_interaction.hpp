// The desktop program's answer to UserInteraction: message boxes, the Yes/No
// question, the file dialogs, the progress memo and the pause, all with Qt.
#pragma once

#include <QPointer>
#include <QString>
#include <string>

#include "textio/interaction.hpp"

class QPlainTextEdit;
class QWidget;

namespace quilmor::ui {

// "Input files (*.inp)|*.inp" -> "Input files (*.inp)": the descriptions of a
// "description|pattern|description|pattern" list, one per line, as a file
// dialog wants them. A description without a pattern in brackets gets it.
QString ConvertFilter(const std::string& filter);

// "inp", ".out" -> "inp", "out".
QString ConvertDefaultExtension(const std::string& extension);

// Text for the screen: the program's messages are ASCII or hold file names in
// the local 8-bit encoding.
QString MessageText(const std::string& text);

// How a message box presents a message: a note, or a fault that needs the
// user's attention (warning), or a program error (critical).
enum class MessageKind { Information, Warning, Critical };
MessageKind KindOfMessage(const std::string& text);

class QtInteraction : public UserInteraction {
 public:
  // Dialogs are owned by `window`; progress lines go to `progressMemo`.
  void Attach(QWidget* window, QPlainTextEdit* progressMemo);

  void ShowMessage(const std::string& text) override;
  bool ConfirmYesNo(const std::string& text) override;
  void AppendProgress(const std::string& line) override;
  void Pause(int milliseconds) override;
  std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) override;
  std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) override;
  void RequestQuit() override;

 private:
  std::optional<std::string> RunFileDialog(const FileDialogRequest& dialog, bool save);

  QPointer<QWidget> m_window;
  QPointer<QPlainTextEdit> m_progressMemo;
};

}  // namespace quilmor::ui
