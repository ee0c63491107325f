// The Output page: the report on screen, opening another report, and the way
// to the graphs and the calculator.
#include <QFile>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <QTextDocument>
#include <algorithm>
#include <filesystem>

#include "ui/calc_form.hpp"
#include "ui/graph_view.hpp"
#include "engine/catalogue.hpp"
#include "ui/main_form.hpp"
#include "ui/design_values_page.hpp"

namespace quilmor::ui {

void TMainForm::OutputTabSheetShow() {
  OnOutputPage = true;
  if (!OutputShown) {
    ViewGraphButton->hide();
    CalcButton->hide();
  }
  InputSaveAction->setEnabled(false);
  ShowStatus(QStringLiteral(
      "The output file can be inspected. Use \"Open output\" to see examples under \"Data\" or "
      "to inspect any other output file."));
  if (PictureImage->isHidden()) ChoicesPanel->show();
  PictureImage->hide();
  HideGraphControls();
}

void TMainForm::OutputTabSheetExit() {
  if (m_calcForm) m_calcForm->hide();
}

void TMainForm::ViewGraphButtonClick() {
  OutputShown = true;
  ChoicesPanel->show();
  GraphShown = false;
  PictureImage->hide();
  HideGraphControls();
  ShowPage(GraphicsTabSheet);
}

void TMainForm::CalcButtonClick() {
  if (!m_calcForm) return;
  m_calcForm->show();
  m_calcForm->raise();
  m_calcForm->activateWindow();
}

void TMainForm::ShowReportLines() {
  OutputMemo->hide();
  OutputMemo->clear();
  if (!m_dm) return;
  QStringList lines;
  const auto count = std::min<std::size_t>(
      static_cast<std::size_t>(std::max(m_dm->NrOfReportLines, 0)), m_dm->ReportLines.size());
  lines.reserve(static_cast<qsizetype>(count));
  for (std::size_t i = 0; i < count; ++i) lines << QString::fromLatin1(m_dm->ReportLines[i]);
  OutputMemo->setPlainText(lines.join(QLatin1Char('\n')));
  m_reportTables = FindReportTables(std::vector<std::string>(
      m_dm->ReportLines.begin(), m_dm->ReportLines.begin() + static_cast<std::ptrdiff_t>(count)));
  // Room for the longest headings.
  int most = 0;
  for (const ReportTable& table : m_reportTables) {
    most = std::max(most, table.headingLast - table.headingFirst + 1);
  }
  const QFontMetrics metrics(OutputHeading->font());
  OutputHeading->setFixedHeight(most * metrics.lineSpacing() +
                                2 * static_cast<int>(OutputHeading->document()->documentMargin()) +
                                2);
  UpdateOutputHeading();
}

void TMainForm::UpdateOutputHeading() {
  if (!m_dm) return;
  const int top = OutputMemo->cursorForPosition(QPoint(0, 0)).blockNumber();
  const ReportTable* table = TableOfLine(m_reportTables, top);
  // Shown once the table's own headings have gone out of view above.
  if (!table || top <= table->headingLast || OutputMemo->isHidden()) {
    OutputHeading->hide();
    return;
  }
  QStringList heading;
  for (int i = table->headingFirst; i <= table->headingLast; ++i) {
    heading << QString::fromLatin1(m_dm->ReportLines[static_cast<std::size_t>(i)]);
  }
  const QString text = heading.join(QLatin1Char('\n'));
  if (OutputHeading->toPlainText() != text) OutputHeading->setPlainText(text);
  OutputHeading->horizontalScrollBar()->setValue(OutputMemo->horizontalScrollBar()->value());
  OutputHeading->show();
}

void TMainForm::OutputOpenActionExecute() {
  if (!m_dm) return;
  report::TDMQuilmor& dm = *m_dm;
  if (!ChooseExistingFile(OutputOpenDialog(), "No output file was selected")) return;
  // A report from disk has no analysis in memory to take design values from.
  if (DesignPage) DesignPage->Clear();
  bool usable = false;
  dm.LoadReport(dm.FileName, usable);  // the lines are shown whatever it says
  ShowStatus(QStringLiteral("The output file can be imported into spreadsheets"));
  ShowReportLines();
  OutputShown = true;
  SetDialogFolderFromFile(dm.FileName);
  ViewGraphButton->show();
  if (engine::IsCatalogueCode(dm.AuxCode)) CalcButton->show();
  OutputMemo->show();
  ChoicesPanel->show();
  PictureImage->hide();
  m_state.NameIsCurrent = false;
  HideGraphControls();
  if (m_calcForm) {
    m_calcForm->hide();
    m_calcForm->ClearResults();
  }
  if (OnOutputPage) {
    ShowPage(OutputTabSheet);
  } else {
    ShowStatus(QStringLiteral("Select type of graph"));
    ShowPage(GraphicsTabSheet);
  }
}

}  // namespace quilmor::ui
