#include "ui/qt_interaction.hpp"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
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

void QtInteraction::ShowMessage(const std::string& text) {
  QMessageBox::information(m_window, QApplication::applicationName(), MessageText(text));
}

bool QtInteraction::ConfirmYesNo(const std::string& text) {
  return QMessageBox::question(m_window, QStringLiteral("Confirm"), MessageText(text),
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
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

std::optional<std::string> QtInteraction::RunFileDialog(const FileDialogRequest& request, bool save) {
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
  // Orderly: the current event is finished first.
  QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

}  // namespace quilmor::ui
