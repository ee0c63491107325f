// Save-Run's run: the progress memo, the analysis and the report.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>

#include "run/save_run.hpp"
#include "ui/calc_form.hpp"
#include "ui/design_values_page.hpp"
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
  // about the 2500-value limit and shows the report.
  run::SaveRunOptions options;
  options.breakPointAllowed = m_state.BreakPointAllowed;
  options.plotting = SelectedPlottingPosition();
  const run::SaveRunResult result = run::SaveRun(*m_dm, options);
  WaitMemo->hide();
  if (result.inputWritten) {
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
  // The design values come from this run's analysis in memory.
  if (DesignPage) {
    if (result.status == run::SaveRunStatus::Done) {
      DesignPage->SetAnalysis(result.analysis, m_dm->NrOfData, m_dm->Preference,
                              options.breakPointAllowed);
      DesignReportName = result.ReportName;
    } else {
      DesignPage->Clear();
    }
  }
  if (result.status != run::SaveRunStatus::Done) return false;
  // Graph titles name the function of this run.
  if (!result.DistributionName.empty()) m_state.DistributionName = result.DistributionName;
  m_state.NameIsCurrent = true;
  InputName = result.InputName;
  return true;
}

}  // namespace quilmor::ui
