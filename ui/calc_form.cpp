#include "ui/calc_form.hpp"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>

#include "calculator/calculator.hpp"
#include "textio/text_file.hpp"
#include "ui/focus_watch.hpp"
#include "ui/main_form.hpp"
#include "ui/qt_interaction.hpp"

namespace quilmor::ui {

namespace {

QLabel* PlaceLabel(QWidget* parent, const char* name, const char* caption, int left, int top,
                   int width, int height) {
  auto* label = new QLabel(QLatin1String(caption), parent);
  label->setObjectName(QLatin1String(name));
  // Labels size themselves to their caption; the stated width is the least.
  label->setGeometry(left, top, std::max(width, label->sizeHint().width()), height);
  return label;
}

QLineEdit* PlaceEdit(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QLatin1String(name));
  edit->setGeometry(left, top, width, height);
  return edit;
}

// An edit that serves as a button: "Go ->", read-only, in the button colour.
void MakeGoField(QLineEdit* edit) {
  edit->setText(QStringLiteral("Go ->"));
  edit->setReadOnly(true);
  edit->setAlignment(Qt::AlignCenter);
  edit->setCursor(Qt::PointingHandCursor);
  QFont font = edit->font();
  font.setPointSize(7);  // the caption fits the 33 pixels
  edit->setFont(font);
  edit->setStyleSheet(QStringLiteral(
      "QLineEdit { border: 1px solid palette(mid); padding: 0px; background: palette(button); "
      "color: palette(button-text); }"));
}

// A result: readable although disabled, its number shown from the start.
void ShowResult(QLineEdit* edit, const std::string& text) {
  const QString shown = QString::fromLatin1(text);
  edit->setText(shown);
  edit->setCursorPosition(0);
  edit->setToolTip(shown);
}

}  // namespace

TCalcForm::TCalcForm(UserInteraction& ui, report::TDMQuilmor& dataModule, TMainForm& mainForm)
    : QWidget(nullptr, Qt::Window), m_ui(ui), m_dm(dataModule), m_mainForm(mainForm) {
  setObjectName(QStringLiteral("CalcForm"));
  setWindowTitle(QStringLiteral("Calculator"));
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(8);
  setFont(font);
  setGeometry(724, 112, kCalcFormWidth, kCalcFormHeight);
  setFixedSize(kCalcFormWidth, kCalcFormHeight);

  Label7 =
      PlaceLabel(this, "Label7", "Enter X-value to obtain cumulative frequency and return period",
                 32, 16, 295, 13);
  Label1 = PlaceLabel(this, "Label1", "X-value", 40, 40, 36, 13);
  Label2 = PlaceLabel(this, "Label2", "Cum. Freq.", 184, 40, 51, 13);
  Label3 = PlaceLabel(this, "Label3", "Ret. Per.", 272, 40, 42, 13);
  Edit1 = PlaceEdit(this, "Edit1", 32, 64, 65, 21);
  Edit7 = PlaceEdit(this, "Edit7", 120, 64, 33, 21);
  Edit2 = PlaceEdit(this, "Edit2", 176, 64, 65, 21);
  Edit3 = PlaceEdit(this, "Edit3", 264, 64, 65, 21);
  Label9 = PlaceLabel(this, "Label9", "90% confidence limits of return period", 208, 104, 175, 13);
  Label10 = PlaceLabel(this, "Label10", "Lower   ", 240, 120, 38, 13);
  Label11 = PlaceLabel(this, "Label11", "Upper   ", 320, 120, 38, 13);
  Edit9 = PlaceEdit(this, "Edit9", 224, 136, 65, 21);
  Edit10 = PlaceEdit(this, "Edit10", 304, 136, 65, 21);
  Label8 =
      PlaceLabel(this, "Label8", "Enter cumulative frequency or return period to obtain X-value",
                 24, 216, 286, 13);
  Label4 = PlaceLabel(this, "Label4", "Cum. Freq.", 40, 240, 51, 13);
  Label5 = PlaceLabel(this, "Label5", "Ret. Per.", 128, 240, 42, 13);
  Label6 = PlaceLabel(this, "Label6", "X-value", 272, 240, 36, 13);
  Edit4 = PlaceEdit(this, "Edit4", 32, 264, 65, 21);
  Edit5 = PlaceEdit(this, "Edit5", 120, 264, 65, 21);
  Edit8 = PlaceEdit(this, "Edit8", 208, 264, 33, 21);
  Edit6 = PlaceEdit(this, "Edit6", 264, 264, 65, 21);
  Label12 = PlaceLabel(this, "Label12", "90% confidence limits of the X-Value", 208, 304, 171, 13);
  Label13 = PlaceLabel(this, "Label13", "Lower   ", 240, 320, 38, 13);
  Label14 = PlaceLabel(this, "Label14", "Upper   ", 320, 320, 38, 13);
  Edit11 = PlaceEdit(this, "Edit11", 224, 336, 65, 21);
  Edit12 = PlaceEdit(this, "Edit12", 304, 336, 65, 21);

  Edit5->setText(QStringLiteral("10"));
  MakeGoField(Edit7);
  MakeGoField(Edit8);
  for (QLineEdit* result : {Edit2, Edit3, Edit6, Edit9, Edit10, Edit11, Edit12}) {
    result->setEnabled(false);
    QPalette palette = result->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(48, 48, 48));
    result->setPalette(palette);
  }
  const std::array<QLineEdit*, 12> order = {Edit1, Edit2, Edit3, Edit4,  Edit5,  Edit6,
                                            Edit7, Edit8, Edit9, Edit10, Edit11, Edit12};
  for (std::size_t i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);

  Edit7->installEventFilter(this);
  FocusWatch::Install(Edit4, nullptr, [this] { Edit4Exit(); });
  FocusWatch::Install(Edit5, nullptr, [this] { Edit5Exit(); });
}

bool TCalcForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Edit7 && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    Edit7Click();
  }
  return QWidget::eventFilter(watched, event);
}

void TCalcForm::ClearFields() {
  for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6}) edit->clear();
}

namespace {
std::string Typed(const QLineEdit* edit) { return edit->text().toLatin1().toStdString(); }
}  // namespace

void TCalcForm::Tell(const std::string& message) {
  if (!message.empty()) m_ui.ShowMessage(message);
}

void TCalcForm::Edit7Click() {
  const auto outcome =
      calculator::Edit7Click(m_dm, m_dm.FileName, Typed(Edit1), SystemDecimalSeparator());
  if (outcome.fields) {
    ShowResult(Edit2, outcome.fields->Edit2);
    ShowResult(Edit3, outcome.fields->Edit3);
    ShowResult(Edit9, outcome.fields->Edit9);
    ShowResult(Edit10, outcome.fields->Edit10);
  }
  Tell(outcome.message);
}

void TCalcForm::Edit4Exit() {
  const auto outcome =
      calculator::Edit4Exit(m_dm, m_dm.FileName, Typed(Edit4), SystemDecimalSeparator());
  if (outcome.fields) {
    ShowResult(Edit6, outcome.fields->Edit6);
    ShowResult(Edit5, outcome.fields->Edit5);
    ShowResult(Edit11, outcome.fields->Edit11);
    ShowResult(Edit12, outcome.fields->Edit12);
  }
  Tell(outcome.message);
}

void TCalcForm::Edit5Exit() {
  const auto outcome =
      calculator::Edit5Exit(m_dm, m_dm.FileName, Typed(Edit5), SystemDecimalSeparator());
  if (outcome.fields) {
    ShowResult(Edit6, outcome.fields->Edit6);
    ShowResult(Edit4, outcome.fields->Edit4);
    ShowResult(Edit11, outcome.fields->Edit11);
    ShowResult(Edit12, outcome.fields->Edit12);
  }
  Tell(outcome.message);
}

void TCalcForm::FormShow() { ClearFields(); }
void TCalcForm::FormClose() { ClearFields(); }

void TCalcForm::FormHide() {
  if (m_mainForm.DataPresent) {
    // The grid shows the input file of the report again.
    m_dm.FileName = textio::ChangeFileExt(m_dm.FileName, ".inp");
    if (m_dm.ReadInputFile() == report::TDMQuilmor::ReadResult::Ok) {
      m_mainForm.FillDataGrid(m_dm.NrOfData - 1);
    }
  }
  ClearFields();
}

void TCalcForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FormShow();
}

void TCalcForm::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  // Only a real hiding of the window, not its minimising.
  if (!event->spontaneous()) FormHide();
}

void TCalcForm::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

}  // namespace quilmor::ui
