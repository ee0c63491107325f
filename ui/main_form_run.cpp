// Save-Run's run: the progress memo, the analysis and the report.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>

#include "calculator/save_run.hpp"
#include "ui/calc_form.hpp"
#include "ui/main_form.hpp"

namespace quilmor::ui {

bool TMainForm::RunAndReport() {
  if (!m_dm) return false;
  // The memo becomes the progress display: yellow on blue.
  WaitMemo->hide();
  WaitMemo->clear();
  QPalette palette = WaitMemo->palette();
  palette.setColor(QPalette::Base, QColor(0, 0, 255));
  palette.setColor(QPalette::Text, QColor(255, 255, 0));
  WaitMemo->setPalette(palette);
  WaitMemo->show();
  WaitMemo->repaint();

  // Writes the input file, runs with its progress lines and pauses, tells
  // about the 2500-value limit and loads the report. The run's temporary
  // files live in a folder of its own.
  const calculator::SaveRunResult result = calculator::SaveRun(*m_dm, m_state);
  WaitMemo->hide();
  if (result.status != calculator::SaveRunStatus::InputNotWritten && !result.InputName.empty()) {
    // The input file holds the page's data now.
    InputFile = result.InputName;
    SetModified(false);
    AddRecentFile(InputFile);
    FileNameEdit->setText(QFile::decodeName(QByteArray::fromStdString(InputFile)));
    FileNameEdit->show();
    FileNameLabel->show();
  }
  // What the calculator showed belongs to the earlier run.
  if (m_calcForm) m_calcForm->ClearResults();
  if (result.status != calculator::SaveRunStatus::Done) {
    if (result.status == calculator::SaveRunStatus::ReportUnusable) ShowPage(InputTabSheet);
    return false;
  }
  InputName = result.InputName;
  return true;
}

}  // namespace quilmor::ui
