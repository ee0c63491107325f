#include "ui/calc_form.hpp"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPalette>
#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>

#include "calculator/calculator.hpp"
#include "textio/number_format.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"
#include "ui/focus_watch.hpp"
#include "ui/main_form.hpp"
#include "ui/qt_interaction.hpp"

namespace quilmor::ui {

namespace {

int Scaled(int x, double scale) { return static_cast<int>(std::lround(x * scale)); }

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

// A result: its number shown from the start.
void ShowResult(QLineEdit* edit, const std::string& text) {
  if (auto* field = qobject_cast<NumberField*>(edit)) {
    field->SetNumber(text);
  } else {
    edit->setText(QString::fromLatin1(text));
  }
  edit->setCursorPosition(0);
}

}  // namespace

std::string ShortNumber(const std::string& text) {
  const std::optional<double> value = textio::ParseReal(text);
  if (!value || *value == 0.0) return text;
  std::array<char, 64> buffer{};
  auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), *value,
                              std::chars_format::scientific, 6);
  double rounded = 0.0;
  std::from_chars(buffer.data(), result.ptr, rounded);
  return textio::FormatGeneral(rounded);
}

NumberField::NumberField(QWidget* parent) : QLineEdit(parent) {}

void NumberField::SetNumber(const std::string& fullText) {
  m_full = QString::fromLatin1(fullText);
  m_shown = QString::fromLatin1(ShortNumber(fullText));
  setText(m_shown);
  setToolTip(m_full);
}

QString NumberField::FullText() const {
  return !m_full.isEmpty() && text() == m_shown ? m_full : text();
}

void NumberField::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy) && !hasSelectedText()) {
    QApplication::clipboard()->setText(FullText());
    return;
  }
  if (event->matches(QKeySequence::Copy) && selectedText() == text()) {
    QApplication::clipboard()->setText(FullText());
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void NumberField::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  QAction* copyAll = new QAction(tr("Copy the whole number"), menu);
  copyAll->setObjectName(QStringLiteral("copy-number"));
  connect(copyAll, &QAction::triggered, this,
          [this] { QApplication::clipboard()->setText(FullText()); });
  menu->insertAction(menu->actions().isEmpty() ? nullptr : menu->actions().front(), copyAll);
  menu->popup(event->globalPos());
}

TCalcForm::TCalcForm(UserInteraction& ui, report::TDMQuilmor& dataModule, TMainForm& mainForm)
    : QWidget(&mainForm, Qt::Dialog), m_ui(ui), m_dm(dataModule), m_mainForm(mainForm) {
  // Owned by the main window, as a (modeless) dialog of it: the window
  // manager keeps it above the main window.
  setObjectName(QStringLiteral("CalcForm"));
  setWindowTitle(QStringLiteral("Calculator"));
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(8);
  setFont(font);
  // The stated layout, stretched sideways when its 65-pixel fields cannot
  // hold a number of 7 significant digits in this font.
  const QFontMetrics metrics(font);
  const int needed = metrics.horizontalAdvance(QStringLiteral("-0.0001234568")) + 10;
  m_scale = std::max(1.0, needed / 65.0);
  const double scale = m_scale;
  setGeometry(724, 112, Scaled(kCalcFormWidth, scale), kCalcFormHeight);
  setFixedSize(Scaled(kCalcFormWidth, scale), kCalcFormHeight);

  auto label = [this, scale](const char* name, const char* caption, int left, int top, int width,
                             int height) {
    auto* l = new QLabel(QLatin1String(caption), this);
    l->setObjectName(QLatin1String(name));
    // Labels size themselves to their caption; the stated width is the least.
    l->setGeometry(Scaled(left, scale), top, std::max(Scaled(width, scale), l->sizeHint().width()),
                   height);
    return l;
  };
  auto edit = [this, scale](const char* name, int left, int top, int width, int height,
                            bool number) {
    QLineEdit* e = number ? new NumberField(this) : new QLineEdit(this);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(Scaled(left, scale), top, Scaled(width, scale), height);
    return e;
  };
  Label7 = label("Label7", "Enter X-value to obtain cumulative frequency and return period", 32, 16,
                 295, 13);
  Label1 = label("Label1", "X-value", 40, 40, 36, 13);
  Label2 = label("Label2", "Cum. Freq.", 184, 40, 51, 13);
  Label3 = label("Label3", "Ret. Per.", 272, 40, 42, 13);
  Edit1 = edit("Edit1", 32, 64, 65, 21, false);
  Edit7 = edit("Edit7", 120, 64, 33, 21, false);
  Edit2 = edit("Edit2", 176, 64, 65, 21, true);
  Edit3 = edit("Edit3", 264, 64, 65, 21, true);
  Label9 = label("Label9", "90% confidence limits of return period", 208, 104, 175, 13);
  Label10 = label("Label10", "Lower   ", 240, 120, 38, 13);
  Label11 = label("Label11", "Upper   ", 320, 120, 38, 13);
  Edit9 = edit("Edit9", 224, 136, 65, 21, true);
  Edit10 = edit("Edit10", 304, 136, 65, 21, true);
  Label8 = label("Label8", "Enter cumulative frequency or return period to obtain X-value", 24, 216,
                 286, 13);
  Label4 = label("Label4", "Cum. Freq.", 40, 240, 51, 13);
  Label5 = label("Label5", "Ret. Per.", 128, 240, 42, 13);
  Label6 = label("Label6", "X-value", 272, 240, 36, 13);
  Edit4 = edit("Edit4", 32, 264, 65, 21, true);
  Edit5 = edit("Edit5", 120, 264, 65, 21, true);
  Edit8 = edit("Edit8", 208, 264, 33, 21, false);
  Edit6 = edit("Edit6", 264, 264, 65, 21, true);
  Label12 = label("Label12", "90% confidence limits of the X-Value", 208, 304, 171, 13);
  Label13 = label("Label13", "Lower   ", 240, 320, 38, 13);
  Label14 = label("Label14", "Upper   ", 320, 320, 38, 13);
  Edit11 = edit("Edit11", 224, 336, 65, 21, true);
  Edit12 = edit("Edit12", 304, 336, 65, 21, true);

  Edit5->setText(QStringLiteral("10"));
  MakeGoField(Edit7);
  MakeGoField(Edit8);
  for (QLineEdit* result : {Edit2, Edit3, Edit6, Edit9, Edit10, Edit11, Edit12}) {
    // Results take no typing but can be selected and copied.
    result->setReadOnly(true);
    QPalette palette = result->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
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
  for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6}) {
    edit->clear();
    edit->setToolTip(QString());
  }
}

namespace {
std::string Typed(const QLineEdit* edit) {
  const auto* field = qobject_cast<const NumberField*>(edit);
  return (field ? field->FullText() : edit->text()).toLatin1().toStdString();
}
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

void TCalcForm::FormShow() {
  m_shown = true;
  ClearFields();
  UpdateTitle();
}

void TCalcForm::ClearResults() {
  for (QLineEdit* edit :
       {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit9, Edit10, Edit11, Edit12}) {
    if (edit == Edit5 && !m_shown) continue;  // "10" until the window is first shown
    edit->clear();
    edit->setToolTip(QString());
  }
  UpdateTitle();
}

void TCalcForm::UpdateTitle() {
  const std::filesystem::path input = textio::ChangeFileExt(m_dm.FileName, ".inp");
  const std::string name = input.filename().string();
  setWindowTitle(name.empty() || name == ".inp"
                     ? QStringLiteral("Calculator")
                     : QStringLiteral("Calculator - ") +
                           QFile::decodeName(QByteArray::fromStdString(name)));
}
void TCalcForm::FormClose() { ClearFields(); }

void TCalcForm::FormHide() {
  // Changes on the Input page that no file holds yet are never replaced.
  if (m_mainForm.DataPresent && !m_mainForm.Modified) {
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
