#include "ui/qt_interaction.hpp"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTimer>

namespace quilmor::ui {

QString ConvertFilter(const std::string& filter) {
  const QStringList parts = QString::fromLatin1(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    const QString pattern = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
    if (description.isEmpty() && pattern.isEmpty()) continue;
    if (!pattern.isEmpty() && !description.contains(QLatin1Char('('))) {
      description += QStringLiteral(" (") +
                     QString(pattern).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                     QLatin1Char(')');
    }
    filters << description;
  }
  return filters.join(QStringLiteral(";;"));
}

QString ConvertDefaultExtension(const std::string& extension) {
  QString suffix = QString::fromLatin1(extension);
  while (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
  return suffix;
}

QString MessageText(const std::string& text) {
  return QFile::decodeName(QByteArray::fromStdString(text));
}

void QtInteraction::Attach(QWidget* window, QPlainTextEdit* progressMemo) {
  m_window = window;
  m_progressMemo = progressMemo;
}

MessageKind KindOfMessage(const std::string& text) {
  // Notes and confirmations of what was done; everything else tells of
  // something the user has to put right.
  static constexpr const char* kNotes[] = {
      "The input is saved in ",
      "The graph was saved in ",
      "For interval analysis (histogram)",
      "Please note that the normal distribution",
      "Please be aware that in some cases",
      " The generalized normal distribution is the only one",
      " The program uses the first 2500 data",
      "The analysis was limited to the first 2500 data",
      " Add data in the last cells",
      " If you wish to make use of the calculator",
  };
  if (text.starts_with("A program error occurred.")) return MessageKind::Critical;
  for (const char* note : kNotes) {
    if (text.starts_with(note)) return MessageKind::Information;
  }
  return MessageKind::Warning;
}

namespace {

// The window a message belongs to: the one the user works in (the
// calculator, say), so that it is the one active again afterwards.
QWidget* MessageParent(QWidget* fallback) {
  QWidget* active = QApplication::activeWindow();
  return active ? active : fallback;
}

// Message boxes are at least as wide as their title, so that the window
// manager has no reason to cut it.
void FitTitle(QMessageBox& box) {
  const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
  const int width = metrics.horizontalAdvance(box.windowTitle()) + 160;
  if (auto* layout = qobject_cast<QGridLayout*>(box.layout())) {
    layout->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                    layout->rowCount(), 0, 1, layout->columnCount());
  }
}

}  // namespace

void QtInteraction::ShowMessage(const std::string& text) {
  const MessageKind kind = KindOfMessage(text);
  const QMessageBox::Icon icon = kind == MessageKind::Critical  ? QMessageBox::Critical
                                 : kind == MessageKind::Warning ? QMessageBox::Warning
                                                                : QMessageBox::Information;
  QMessageBox box(icon, QApplication::applicationName(), MessageText(text), QMessageBox::Ok,
                  MessageParent(m_window));
  box.setObjectName(QStringLiteral("MessageBox"));
  FitTitle(box);
  box.exec();
}

bool QtInteraction::ConfirmYesNo(const std::string& text) {
  QMessageBox box(QMessageBox::Question, QApplication::applicationName(), MessageText(text),
                  QMessageBox::Yes | QMessageBox::No, MessageParent(m_window));
  box.setObjectName(QStringLiteral("QuestionBox"));
  box.setDefaultButton(QMessageBox::No);
  FitTitle(box);
  return box.exec() == QMessageBox::Yes;
}

void QtInteraction::AppendProgress(const std::string& line) {
  if (!m_progressMemo) return;
  m_progressMemo->appendPlainText(QString::fromLatin1(line));
  // Shown at once: the run that follows keeps the event loop busy.
  m_progressMemo->repaint();
}

void QtInteraction::Pause(int milliseconds) {
  // A real wait during which the windows repaint; clicks and keys wait until
  // the step is over, so no second command starts in the middle of a run.
  QEventLoop loop;
  QTimer::singleShot(std::max(milliseconds, 0), &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

std::optional<std::string> QtInteraction::ChooseOpenFile(const FileDialogRequest& request) {
  return RunFileDialog(request, false);
}

std::optional<std::string> QtInteraction::ChooseSaveFile(const FileDialogRequest& request) {
  return RunFileDialog(request, true);
}

std::optional<std::string> QtInteraction::RunFileDialog(const FileDialogRequest& request,
                                                        bool save) {
  QFileDialog dialog(m_window);
  dialog.setNameFilter(ConvertFilter(request.filter));
  dialog.setDefaultSuffix(ConvertDefaultExtension(request.defaultExtension));
  if (!request.initialFolder.empty()) dialog.setDirectory(MessageText(request.initialFolder));
  if (save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The program asks its own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A missing name is reported by the program with its own message.
    dialog.setFileMode(QFileDialog::AnyFile);
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.front().isEmpty()) return std::nullopt;
  return QFile::encodeName(chosen.front()).toStdString();
}

void QtInteraction::RequestQuit() {
  // Orderly: the current event is finished first. The event loop is ended
  // directly: a quit request would first ask every window to close, and the
  // main window answers a close by showing the finish window again.
  QMetaObject::invokeMethod(
      qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

}  // namespace quilmor::ui
