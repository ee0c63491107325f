// The Input page: titles, the data grid, the checks of its fields, the
// distribution preference, opening an input file and Save-Run.
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QInputDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "report/input_rules.hpp"
#include "textio/number_format.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"
#include "textio/value_file.hpp"
#include "ui/calc_form.hpp"
#include "ui/cartoon.hpp"
#include "ui/focus_watch.hpp"
#include "ui/graph_view.hpp"
#include "ui/help_texts.hpp"
#include "ui/main_form.hpp"
#include "ui/paste.hpp"
#include "ui/qt_interaction.hpp"
#include "ui/string_grid.hpp"

namespace quilmor::ui {

namespace {

constexpr const char* kInputStatus =
    "Enter data or use \"Open\" to see examples under \"Data\" or to edit existing files. "
    "Thereafter use \"Save-Run\".";
constexpr const char* kTooManyRowsMessage =
    "The number of data is too large: the grid holds at most 100000 rows";

QString GeneralText(double value) { return QString::fromStdString(textio::FormatGeneral(value)); }

}  // namespace

QWidget* TMainForm::BuildInputPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("InputTabSheet"));

  FileNameLabel = new QLabel(QStringLiteral("File"), page);
  FileNameLabel->setObjectName(QStringLiteral("FileNameLabel"));
  FileNameEdit = new QLineEdit(page);
  FileNameEdit->setObjectName(QStringLiteral("FileNameEdit"));
  FileNameEdit->setReadOnly(true);
  Title1Label = new QLabel(QStringLiteral("Title1"), page);
  Title1Label->setObjectName(QStringLiteral("Title1Label"));
  Title1Edit = new QLineEdit(page);
  Title1Edit->setObjectName(QStringLiteral("Title1Edit"));
  Title2Label = new QLabel(QStringLiteral("Title2"), page);
  Title2Label->setObjectName(QStringLiteral("Title2Label"));
  Title2Edit = new QLineEdit(page);
  Title2Edit->setObjectName(QStringLiteral("Title2Edit"));
  Title2Edit->setToolTip(QStringLiteral("Details about the variable and units"));
  OptionLabel = new QLabel(QStringLiteral("Option"), page);
  OptionLabel->setObjectName(QStringLiteral("OptionLabel"));
  OptionComboBox = new QComboBox(page);
  OptionComboBox->setObjectName(QStringLiteral("OptionComboBox"));
  OptionComboBox->addItem(QStringLiteral("No breakpoint allowed, even if detected"));
  OptionComboBox->addItem(QStringLiteral("Allow a breakpoint, if it can be detected"));
  OptionComboBox->setCurrentIndex(0);
  PlottingLabel = new QLabel(QStringLiteral("Plotting position"), page);
  PlottingLabel->setObjectName(QStringLiteral("PlottingLabel"));
  PlottingComboBox = new QComboBox(page);
  PlottingComboBox->setObjectName(QStringLiteral("PlottingComboBox"));
  PlottingComboBox->setToolTip(
      QStringLiteral("The observed frequency of rank i of N; the method's own is i/(N+1)"));
  for (const engine::NamedPlottingPosition& named : engine::PlottingPositions()) {
    const engine::PlottingPosition position{named.alpha, named.name};
    const std::string text = position.IsDefault()
                                 ? std::string(named.name) + " i/(N+1)"
                                 : engine::PlottingPositionLine(position).substr(
                                       engine::kPlottingPositionLabel.size());
    PlottingComboBox->addItem(QString::fromStdString(text),
                              QString::fromUtf8(named.option.data(),
                                                static_cast<qsizetype>(named.option.size())));
  }
  // The choice is an option of the run that the window remembers.
  const int remembered = PlottingComboBox->findData(
      QSettings().value(QStringLiteral("plottingPosition"), QStringLiteral("weibull")));
  PlottingComboBox->setCurrentIndex(std::max(remembered, 0));
  connect(PlottingComboBox, &QComboBox::activated, this, [this](int) {
    QSettings().setValue(QStringLiteral("plottingPosition"), PlottingComboBox->currentData());
  });

  auto* top = new QGridLayout;
  top->addWidget(FileNameLabel, 0, 0);
  top->addWidget(FileNameEdit, 0, 1);
  top->addWidget(Title1Label, 1, 0);
  top->addWidget(Title1Edit, 1, 1);
  top->addWidget(Title2Label, 2, 0);
  top->addWidget(Title2Edit, 2, 1);
  top->addWidget(OptionLabel, 3, 0);
  top->addWidget(OptionComboBox, 3, 1, Qt::AlignLeft);
  top->addWidget(PlottingLabel, 4, 0);
  top->addWidget(PlottingComboBox, 4, 1, Qt::AlignLeft);
  top->setColumnStretch(1, 1);

  // Left column: counts, threshold and the grid.
  NrOfDataLabel = new QLabel(QStringLiteral("Nr. of Data"), page);
  NrOfDataLabel->setObjectName(QStringLiteral("NrOfDataLabel"));
  NrOfDataEdit = new QLineEdit(page);
  NrOfDataEdit->setObjectName(QStringLiteral("NrOfDataEdit"));
  NrOfDataEdit->setToolTip(QStringLiteral("Between 6 and 2500"));
  NrOfClassesLabel = new QLabel(QStringLiteral("Nr of Intervals"), page);
  NrOfClassesLabel->setObjectName(QStringLiteral("NrOfClassesLabel"));
  NrOfClassesEdit = new QLineEdit(QStringLiteral("5"), page);
  NrOfClassesEdit->setObjectName(QStringLiteral("NrOfClassesEdit"));
  NrOfClassesEdit->setToolTip(QStringLiteral("Between 2 and 20"));
  ThresholdLabel = new QLabel(QStringLiteral("Threshold  (cut-off value)"), page);
  ThresholdLabel->setObjectName(QStringLiteral("ThresholdLabel"));
  ThresholdEdit = new QLineEdit(QStringLiteral("0"), page);
  ThresholdEdit->setObjectName(QStringLiteral("ThresholdEdit"));
  const QString thresholdHint = QStringLiteral("All values below threshold are not used");
  ThresholdLabel->setToolTip(thresholdHint);
  ThresholdEdit->setToolTip(thresholdHint);
  for (QLineEdit* edit : {NrOfDataEdit, NrOfClassesEdit, ThresholdEdit}) edit->setFixedWidth(80);

  SerialLabel = new QLabel(QStringLiteral("Serial Nr."), page);
  SerialLabel->setObjectName(QStringLiteral("SerialLabel"));
  ValueLabel = new QLabel(QStringLiteral("Data value"), page);
  ValueLabel->setObjectName(QStringLiteral("ValueLabel"));
  SerialLabel->setFixedWidth(62);
  StringGrid1 = new StringGrid(page);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->setColumnWidth(0, 62);
  StringGrid1->setColumnWidth(1, 85);
  StringGrid1->setFixedWidth(62 + 85 + 22);
  PasteHelpMemo = new QPlainTextEdit(page);
  PasteHelpMemo->setObjectName(QStringLiteral("PasteHelpMemo"));
  PasteHelpMemo->setReadOnly(true);
  PasteHelpMemo->setPlainText(help::PasteHelp());
  PasteHelpMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  {
    QPalette palette = PasteHelpMemo->palette();
    palette.setColor(QPalette::Base, QColor(255, 255, 225));
    PasteHelpMemo->setPalette(palette);
  }
  PasteHelpMemo->hide();

  auto* counts = new QGridLayout;
  counts->addWidget(NrOfDataLabel, 0, 0);
  counts->addWidget(NrOfDataEdit, 0, 1);
  counts->addWidget(NrOfClassesLabel, 1, 0);
  counts->addWidget(NrOfClassesEdit, 1, 1);
  counts->addWidget(ThresholdLabel, 2, 0);
  counts->addWidget(ThresholdEdit, 2, 1);
  auto* gridLabels = new QHBoxLayout;
  gridLabels->setSpacing(0);
  gridLabels->addWidget(SerialLabel);
  gridLabels->addWidget(ValueLabel);
  gridLabels->addStretch(1);
  auto* left = new QVBoxLayout;
  left->addLayout(counts);
  left->addSpacing(6);
  left->addLayout(gridLabels);
  left->addWidget(StringGrid1, 1);
  left->addWidget(PasteHelpMemo, 1);

  // Middle: the distribution preference.
  PreferenceRadioGroup = new QGroupBox(QStringLiteral("Distribution preference"), page);
  PreferenceRadioGroup->setObjectName(QStringLiteral("PreferenceRadioGroup"));
  PreferenceButtons = new QButtonGroup(this);
  PreferenceButtons->setExclusive(true);
  auto* preferences = new QGridLayout(PreferenceRadioGroup);
  preferences->setVerticalSpacing(1);
  int row = 0;
  for (const report::rules::PreferenceButton& info : report::rules::PreferenceButtons()) {
    auto* button = new QRadioButton(QString::fromLatin1(info.caption), PreferenceRadioGroup);
    button->setObjectName(QLatin1String(info.name));
    PreferenceButtons->addButton(button, row);
    PreferenceRadioButtons.push_back(button);
    preferences->addWidget(button, row, 0);
    if (info.note == report::rules::PreferenceNote::None) {
      AllRadioButton = button;
      QFont bold = button->font();
      bold.setBold(true);
      button->setFont(bold);
      connect(button, &QRadioButton::clicked, this, &TMainForm::AllRadioButtonClick);
    } else if (info.note == report::rules::PreferenceNote::GeneralizedNormal) {
      ExpNormRadioButton = button;
      connect(button, &QRadioButton::clicked, this, &TMainForm::ExpNormRadioButtonClick);
      HintButton = new QPushButton(QStringLiteral("Hint"), PreferenceRadioGroup);
      HintButton->setObjectName(QStringLiteral("HintButton"));
      HintButton->setAutoDefault(false);
      HintButton->setToolTip(
          QStringLiteral("Not included in \"Best of all\" but often quite effective"));
      HintButton->setFixedWidth(44);
      preferences->addWidget(HintButton, row, 1);
      connect(HintButton, &QPushButton::clicked, this, &TMainForm::HintButtonClick);
    } else {
      const char* stored = info.code;
      connect(button, &QRadioButton::clicked, this,
              [this, stored] { PreferenceRadioButtonClick(stored); });
    }
    ++row;
  }
  AllRadioButton->setChecked(true);
  preferences->setRowStretch(row, 1);

  // Right: commands, progress memo and the picture.
  InputOpenButton = new QPushButton(QStringLiteral(" Open input "), page);
  InputOpenButton->setObjectName(QStringLiteral("InputOpenButton"));
  InputSaveButton = new QPushButton(QStringLiteral(" Save-Run "), page);
  InputSaveButton->setObjectName(QStringLiteral("InputSaveButton"));
  {
    QFont bold = InputSaveButton->font();
    bold.setBold(true);
    InputSaveButton->setFont(bold);
  }
  ClearButton = new QPushButton(QStringLiteral("Clear data"), page);
  ClearButton->setObjectName(QStringLiteral("ClearButton"));
  PasteHelpButton = new QPushButton(QStringLiteral("Paste help"), page);
  PasteHelpButton->setObjectName(QStringLiteral("PasteHelpButton"));
  for (QPushButton* b : {InputOpenButton, InputSaveButton, ClearButton, PasteHelpButton}) {
    b->setAutoDefault(false);
  }
  connect(InputOpenButton, &QPushButton::clicked, InputOpenAction, &QAction::trigger);
  connect(InputSaveButton, &QPushButton::clicked, InputSaveAction, &QAction::trigger);
  connect(InputSaveAction, &QAction::changed, InputSaveButton,
          [this] { InputSaveButton->setEnabled(InputSaveAction->isEnabled()); });
  connect(ClearButton, &QPushButton::clicked, this, &TMainForm::ClearButtonClick);
  connect(PasteHelpButton, &QPushButton::clicked, this, &TMainForm::PasteHelpButtonClick);

  WaitMemo = new QPlainTextEdit(page);
  WaitMemo->setObjectName(QStringLiteral("WaitMemo"));
  WaitMemo->setReadOnly(true);
  WaitMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  WaitMemo->setFocusPolicy(Qt::NoFocus);
  WaitMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  {
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setStyleHint(QFont::SansSerif);
    tahoma.setPointSize(10);
    WaitMemo->setFont(tahoma);
    QPalette palette = WaitMemo->palette();
    palette.setColor(QPalette::Base, QColor(255, 255, 225));  // the tooltip colour
    palette.setColor(QPalette::Text, QColor(128, 128, 128));
    WaitMemo->setPalette(palette);
  }
  WaitMemo->setPlainText(help::WaitNote());

  CartoonImage = new QLabel(page);
  CartoonImage->setObjectName(QStringLiteral("CartoonImage"));
  CartoonImage->setPixmap(MakeCartoon(120, 90));
  CartoonImage->setFixedSize(120, 90);

  // The commands keep their size when the window grows; the memo takes the
  // room.
  auto* right = new QVBoxLayout;
  for (QPushButton* b : {InputOpenButton, InputSaveButton, ClearButton, PasteHelpButton}) {
    b->setMinimumWidth(110);
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  }
  right->addWidget(InputOpenButton, 0, Qt::AlignLeft);
  right->addWidget(InputSaveButton, 0, Qt::AlignLeft);
  right->addSpacing(12);
  right->addWidget(ClearButton, 0, Qt::AlignLeft);
  right->addWidget(PasteHelpButton, 0, Qt::AlignLeft);
  right->addSpacing(12);
  right->addWidget(WaitMemo, 1);
  right->addWidget(CartoonImage, 0, Qt::AlignRight | Qt::AlignBottom);

  auto* columns = new QHBoxLayout;
  columns->addLayout(left, 0);
  columns->addWidget(PreferenceRadioGroup, 0);
  columns->addLayout(right, 1);

  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top);
  layout->addLayout(columns, 1);

  // Events of the page.
  StringGrid1->SetNumberTest([](const QString& text) { return StringToFloat(text).has_value(); });
  connect(StringGrid1, &StringGrid::cellTextEdited, this, &TMainForm::GridTextEdited);
  connect(StringGrid1, &StringGrid::cellCommitted, this, &TMainForm::GridCellCommitted);
  connect(StringGrid1, &StringGrid::pasteRequested, this, &TMainForm::GridPasteRequested);
  connect(StringGrid1, &StringGrid::columnChanged, this, &TMainForm::GridColumnChanged);
  for (QLineEdit* edit : {Title1Edit, Title2Edit, ThresholdEdit}) {
    connect(edit, &QLineEdit::textEdited, this, [this] { SetModified(true); });
  }
  FocusWatch::Install(NrOfDataEdit, nullptr, [this] { NrOfDataEditExit(); });
  FocusWatch::Install(ThresholdEdit, nullptr, [this] { ThresholdEditExit(); });
  FocusWatch::Install(
      NrOfClassesEdit, [this] { NrOfClassesEditEnter(); }, [this] { NrOfClassesEditExit(); });
  connect(OptionComboBox, &QComboBox::activated, this, [this](int) { OptionComboBoxChange(); });
  return page;
}

// --- Showing the page and filling the grid ---------------------------------------

void TMainForm::InputTabSheetShow() {
  ShowStatus(QString::fromLatin1(kInputStatus));
  PasteInProgress = false;
  InputSaveAction->setEnabled(true);
  if (!m_dm) return;
  if (DataPresent) {
    // The grid holds the data as the user left them.
    SyncRowCount();
  } else {
    // The default rows: empty, none holds a value yet.
    m_dm->NrOfIntervals = report::rules::kDefaultIntervals;
    NrOfClassesEdit->setText(QString::fromLatin1(report::rules::kDefaultIntervals));
    SelectBestFittingOfAll();
    FileNameLabel->hide();
    FileNameEdit->hide();
    OptionComboBox->setCurrentIndex(0);
    RowsShown = 20;
    m_dm->NrOfData = 20;
    LastRow = 19;
    StringGrid1->setColumnCount(2);
    m_dm->RowValues.resize(20);
    FillDataGrid(LastRow);
  }
  StringGrid1->setColumnWidth(0, 62);
  StringGrid1->setColumnWidth(1, 85);
  m_state.BreakPointAllowed = OptionComboBox->currentIndex() == 1;
  m_state.NameIsCurrent = false;
}

void TMainForm::ResizeRowArrays(int rows) {
  if (!m_dm) return;
  const auto size = static_cast<std::size_t>(std::max(rows, 0));
  if (m_dm->RowSerials.size() < size) m_dm->RowSerials.resize(size, 0);
  if (m_dm->RowValues.size() < size) m_dm->RowValues.resize(size, 0.0);
  if (m_dm->Skipped.size() < size) m_dm->Skipped.resize(size, false);
}

void TMainForm::FillDataGrid(int lastRow) {
  if (!m_dm) return;
  report::TDMQuilmor& dm = *m_dm;
  ThresholdEdit->setText(GeneralText(dm.InputThreshold));
  const int rows = std::clamp(lastRow + 1, 0, kMaxGridRows);
  const auto size = static_cast<std::size_t>(rows);
  dm.Skipped.resize(size);
  dm.RowSerials.resize(size);
  dm.RowValues.resize(size);
  std::vector<QString> values(size);
  for (std::size_t i = 0; i < size; ++i) {
    dm.Skipped[i] = false;
    // Cells the user never filled are empty, not 0.
    if (DataPresent) values[i] = GeneralText(dm.RowValues[i]);
  }
  StringGrid1->SetValueColumn(values);
  StringGrid1->ForgetUndo();
  SyncRowCount();
}

void TMainForm::SyncRowCount() {
  const int rows = StringGrid1->rowCount();
  if (m_dm) m_dm->NrOfData = rows;
  NrOfDataEdit->setText(QString::number(rows));
  RowsShown = rows;
  LastRow = rows - 1;
  TypedNrOfData = rows;
}

// --- Cell edits and paste ---------------------------------------------------------------

void TMainForm::GridTextEdited(int column, int row, const QString& text) {
  StringGrid1SetEditText(column, row, text);
}

void TMainForm::StringGrid1SetEditText(int column, int row, const QString& text) {
  if (!m_dm) return;
  if (StringGrid::IsMultiCell(text)) {
    if (!HandlePasteMultiCell(*StringGrid1, column, text, row)) ShowPage(InputTabSheet);
    return;
  }
  // A typed text: the cell is marked at once when it is no number (the grid
  // does that); the message follows when the cell is left.
  DataPresent = true;
  SetModified(true);
}

void TMainForm::GridCellCommitted(int row) {
  if (StringGrid1->IsInvalid(row)) Message(InvalidCellMessage(row, StringGrid1->CellText(1, row)));
}

void TMainForm::GridColumnChanged() {
  SyncRowCount();
  DataPresent = true;
  SetModified(true);
}

namespace {
// The clipboard text as the grid's 8-bit cells hold it; the narrow and thin
// blanks that some programs put between thousands become plain blanks.
std::string PastedText(const QString& text) {
  QString plain = text;
  plain.replace(QChar(0x202F), QLatin1Char(' '));
  plain.replace(QChar(0x2009), QLatin1Char(' '));
  return plain.toLatin1().toStdString();
}
}  // namespace

void TMainForm::GridPasteRequested(int firstRow, int lastRow, const QString& text) {
  if (!m_dm || firstRow < 0) return;
  if (!PasteColumn(firstRow, std::max(firstRow, lastRow), text)) ShowPage(InputTabSheet);
}

bool TMainForm::HandlePasteMultiCell(StringGrid&, int column, const QString& text, int row) {
  if (column < 1) return false;
  return PasteColumn(row, row, text);
}

bool TMainForm::PasteColumn(int firstRow, int lastRow, const QString& text) {
  if (!m_dm) return false;
  StringGrid& grid = *StringGrid1;
  // 1. The whole text is read before anything changes.
  const PastedColumn pasted =
      ReadPastedColumn(PastedText(text), firstRow, SystemDecimalSeparator());
  if (!pasted.error.empty()) {
    Message(pasted.error);
    return false;
  }
  grid.RecordUndo();
  if (pasted.cells.size() == 1) {
    // One value: it goes into the selected cells.
    for (int r = firstRow; r <= lastRow; ++r) {
      grid.SetCellText(1, r, QString::fromLatin1(pasted.cells.front()));
    }
  } else {
    // A column: from the first row it is the whole series, from a later row
    // it overwrites and adds rows. The serial numbers follow the rows.
    std::vector<std::string> column;
    for (const QString& cell : grid.ValueColumn()) column.push_back(cell.toLatin1().toStdString());
    std::vector<QString> values;
    for (const std::string& cell : ApplyPaste(column, firstRow, pasted.cells)) {
      values.push_back(QString::fromLatin1(cell));
    }
    grid.SetValueColumn(values);
  }
  // 2. The count and what it means.
  SyncRowCount();
  DataPresent = true;
  SetModified(true);
  if (pasted.cells.size() > 1) {
    const std::vector<QString> values = grid.ValueColumn();
    const auto filled = std::count_if(values.begin(), values.end(),
                                      [](const QString& cell) { return !cell.isEmpty(); });
    const report::rules::ValueCountCheck count = report::rules::CheckValueCount(filled);
    if (!count.message.empty()) Message(count.message);
  }
  return true;
}

// --- Checks of the fields -----------------------------------------------------------

void TMainForm::NrOfDataEditExit() {
  if (!m_dm) return;
  const int rows = StringGrid1->rowCount();
  const report::rules::NrOfDataCheck check =
      report::rules::CheckNrOfData(NrOfDataEdit->text().toLatin1().toStdString());
  if (!check.message.empty()) Message(check.message);
  int n = 0;
  if (check.count) {
    n = *check.count;
  } else if (check.belowMinimum) {
    n = report::rules::kMinData;
  } else {
    // Not a number: the field shows the rows again.
    SyncRowCount();
    return;
  }
  if (n > kMaxGridRows) {
    Message(kTooManyRowsMessage);
    SyncRowCount();
    return;
  }
  if (n > rows) {
    // Growing: new rows are empty until the user fills them.
    Message(report::rules::kAddData);
    std::vector<QString> values = StringGrid1->ValueColumn();
    values.resize(static_cast<std::size_t>(n));
    StringGrid1->RecordUndo();
    StringGrid1->SetValueColumn(values);
    DataPresent = true;
    SetModified(true);
  } else if (n < rows) {
    // Shrinking removes rows without a value at once; rows that hold one
    // are removed by the user, not by the count.
    std::vector<QString> values = StringGrid1->ValueColumn();
    const bool empty = std::all_of(values.begin() + n, values.end(),
                                   [](const QString& v) { return v.trimmed().isEmpty(); });
    if (empty) {
      values.resize(static_cast<std::size_t>(n));
      StringGrid1->RecordUndo();
      StringGrid1->SetValueColumn(values);
      if (DataPresent) SetModified(true);
    } else {
      Message(report::rules::kRemoveData);
    }
  }
  SyncRowCount();
}

void TMainForm::ThresholdEditExit() {
  if (!report::rules::CheckThreshold(ThresholdEdit->text().toLatin1().toStdString(),
                                     SystemDecimalSeparator())) {
    Message(report::rules::kThresholdNotReal);
  }
  NrOfDataEditExit();
}

void TMainForm::NrOfClassesEditEnter() { Message(report::rules::kIntervalsAdvice); }

void TMainForm::NrOfClassesEditExit() {
  if (!m_dm) return;
  const report::rules::IntervalsCheck check =
      report::rules::CheckIntervals(NrOfClassesEdit->text().toLatin1().toStdString());
  if (!check.message.empty()) Message(check.message);
  if (check.fieldText) NrOfClassesEdit->setText(QString::number(*check.fieldText));
  if (check.intervals) m_dm->NrOfIntervals = std::to_string(*check.intervals);
}

// --- Option list and preference ---------------------------------------------------------

engine::PlottingPosition TMainForm::SelectedPlottingPosition() const {
  const std::string option = PlottingComboBox->currentData().toString().toStdString();
  return engine::ParsePlottingPosition(option).value_or(engine::PlottingPosition{});
}

void TMainForm::OptionComboBoxChange() {
  m_state.BreakPointAllowed = false;
  if (OptionComboBox->currentIndex() == 1) {
    m_state.BreakPointAllowed = true;
    SelectBestFittingOfAll();
  }
  if (!AllRadioButton->isChecked()) OptionComboBox->setCurrentIndex(0);
}

void TMainForm::SelectBestFittingOfAll() {
  AllRadioButton->setChecked(true);
  AllRadioButtonClick();
}

void TMainForm::AllRadioButtonClick() {
  if (m_dm) m_dm->Preference = "1";
  OptionComboBox->setEnabled(true);
}

void TMainForm::ExpNormRadioButtonClick() {
  if (m_dm) m_dm->Preference = "25";
  OptionComboBox->setEnabled(false);
  OptionComboBox->setCurrentIndex(0);
  Message(report::rules::kGeneralizedNormalNote);
}

void TMainForm::PreferenceRadioButtonClick(const char* code) {
  if (m_dm) m_dm->Preference = code;
  DistrWarning();
}

void TMainForm::DistrWarning() {
  OptionComboBox->setEnabled(false);
  OptionComboBox->setCurrentIndex(0);
  Message(report::rules::kDistrWarning);
}

void TMainForm::HintButtonClick() { Message(report::rules::kGeneralizedNormalHint); }

void TMainForm::PasteHelpButtonClick() {
  const bool show = PasteHelpMemo->isHidden();
  PasteHelpMemo->setVisible(show);
  PasteHelpButton->setText(show ? QStringLiteral("Close help") : QStringLiteral(" Paste help "));
  StringGrid1->setVisible(!show);
  SerialLabel->setVisible(!show);
  ValueLabel->setVisible(!show);
}

void TMainForm::ClearButtonClick() {
  if (!m_dm || !m_dm->ConfirmYesNo("The data will be cleared, are you sure?")) return;
  FormCreate();
  ShowPage(InputTabSheet);
}

// --- Open input ---------------------------------------------------------------------

void TMainForm::InputOpenActionExecute() {
  if (!m_dm) return;
  if (!ChooseExistingFile(InputOpenDialog(), "No input file was selected")) return;
  OpenInputFile(m_dm->FileName);
}

namespace {

// The columns of a value file of several, as the value file reader counts and
// splits them for every separator (tab, semicolon, comma, blanks); empty for
// a file of one column.
QStringList ValueColumnNames(const std::string& fileName) {
  QStringList names;
  for (const std::string& name : textio::ValueFileColumns(fileName)) {
    names << QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
  }
  return names;
}

}  // namespace

std::optional<int> TMainForm::AskForValueColumn(const QStringList& columns) {
  // Numbered, so that two columns of the same name stay apart.
  QStringList items;
  for (qsizetype i = 0; i < columns.size(); ++i) {
    items << QStringLiteral("%1: %2").arg(i + 1).arg(columns[i]);
  }
  bool chosen = false;
  const QString item = QInputDialog::getItem(
      this, QStringLiteral("Column of values"),
      QStringLiteral("The file holds %1 columns. Which of them holds the values?")
          .arg(columns.size()),
      items, 0, false, &chosen);
  const qsizetype index = items.indexOf(item);
  if (!chosen || index < 0) return std::nullopt;
  return static_cast<int>(index) + 1;
}

void TMainForm::OpenInputFile(const std::string& fileName) {
  report::TDMQuilmor& dm = *m_dm;
  // A run on a file named like a report or a parameter file would write its
  // own report over it.
  if (const auto refusal = report::rules::CheckInputExtension(fileName)) {
    Message(*refusal);
    return;
  }
  dm.FileName = fileName;
  bool inputFile = true;
  std::string extension = std::filesystem::path(fileName).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".inp" || textio::IsInputFile(fileName)) {
    // A file that cannot be read has been reported; a corrupt one ends the
    // program. Neither is shown as if it had been opened.
    if (dm.ReadInputFile() != report::TDMQuilmor::ReadResult::Ok) return;
  } else {
    // A plain file of values, one per line, or one column of a CSV file.
    textio::ValueFile values = textio::ReadValueFile(fileName);
    if (!values.error.empty()) {
      const QStringList headings = ValueColumnNames(fileName);
      if (headings.size() >= 2) {
        const std::optional<int> column =
            ChooseCsvColumn ? ChooseCsvColumn(headings) : AskForValueColumn(headings);
        if (!column) return;
        values = textio::ReadValueFile(fileName, *column);
      }
    }
    if (!values.error.empty()) {
      Message("The file \"" + fileName + "\" is neither an input file nor a file of values (" +
              values.error + ")");
      return;
    }
    inputFile = false;
    dm.TakeValueRows(values);
    dm.Title1 = std::filesystem::path(fileName).filename().string();
  }
  Title1Edit->setText(QString::fromLatin1(dm.Title1));
  Title2Edit->setText(QString::fromLatin1(dm.Title2));
  FileNameEdit->setText(QFile::decodeName(QByteArray::fromStdString(dm.FileName)));
  FileNameEdit->show();
  FileNameLabel->show();
  LastRow = dm.NrOfData - 1;
  DataPresent = true;
  SetDialogFolderFromFile(dm.FileName);
  OptionComboBox->setCurrentIndex(0);
  SelectBestFittingOfAll();
  const std::vector<bool> skipped = dm.Skipped;
  FillDataGrid(LastRow);
  // Rows without a value stay empty.
  for (std::size_t i = 0; i < skipped.size(); ++i) {
    if (skipped[i]) StringGrid1->SetCellText(1, static_cast<int>(i), QString());
  }
  InputFile = dm.FileName;
  // Values taken from another kind of file are in no input file yet.
  SetModified(!inputFile);
  AddRecentFile(dm.FileName);
  if (m_calcForm) m_calcForm->ClearResults();
  ChoicesPanel->hide();
  OutputMemo->hide();
  HideGraphControls();
  ShowPage(InputTabSheet);
  // An empty file, or one cut off in its header, opens as an empty grid; say
  // why the grid is empty.
  if (dm.NrOfData == 0) Message("The input file \"" + dm.FileName + "\" holds no data values");
}

// --- Save-Run -----------------------------------------------------------------------

bool TMainForm::CheckBeforeSaving() {
  // A title is one line of the input file and of the report.
  QLineEdit* const titles[] = {Title1Edit, Title2Edit};
  for (int which = 1; which <= 2; ++which) {
    QLineEdit* edit = titles[which - 1];
    if (const auto refusal =
            report::rules::CheckTitle(edit->text().toLatin1().toStdString(), which)) {
      Message(*refusal);
      ShowPage(InputTabSheet);
      edit->setFocus();
      return false;
    }
  }
  if (!report::rules::CheckThreshold(ThresholdEdit->text().toLatin1().toStdString(),
                                     SystemDecimalSeparator())) {
    Message(report::rules::kThresholdNotReal);
    ShowPage(InputTabSheet);
    ThresholdEdit->setFocus();
    return false;
  }
  const int bad = StringGrid1->FirstInvalidRow();
  if (bad >= 0) {
    Message(report::rules::kValuesNotReal);
    ShowPage(InputTabSheet);
    StringGrid1->setCurrentCell(bad, 1);
    StringGrid1->scrollToItem(StringGrid1->item(bad, 1));
    return false;
  }
  const std::vector<QString> values = StringGrid1->ValueColumn();
  const auto filled = std::count_if(values.begin(), values.end(),
                                    [](const QString& v) { return !v.trimmed().isEmpty(); });
  const report::rules::ValueCountCheck count = report::rules::CheckValueCount(filled);
  if (count.refused) {
    Message(count.message);
    return false;
  }
  return true;
}

void TMainForm::GridToDataModule() {
  report::TDMQuilmor& dm = *m_dm;
  const int rows = StringGrid1->rowCount();
  dm.NrOfData = rows;
  const auto size = static_cast<std::size_t>(rows);
  dm.RowSerials.resize(size);
  dm.RowValues.assign(size, 0.0);
  dm.Skipped.assign(size, false);
  for (int i = 0; i < rows; ++i) {
    const auto r = static_cast<std::size_t>(i);
    dm.RowSerials[r] = i + 1;
    const QString text = StringGrid1->CellText(1, i);
    if (text.trimmed().isEmpty()) {
      dm.Skipped[r] = true;  // a row without a value
    } else {
      dm.RowValues[r] = StringToFloat(text).value_or(0.0);
    }
  }
}

void TMainForm::InputSaveActionExecute() {
  if (!m_dm || Running) return;
  report::TDMQuilmor& dm = *m_dm;
  // The titles, the threshold and every cell are checked before the dialog.
  if (!CheckBeforeSaving()) return;
  // 1.-2. The file name.
  if (!AskInputFileName() || SaveCancelled) {
    Message("The input data were not saved");
    return;
  }
  // 3.-4. Titles, threshold and the rows the grid shows; an empty cell is a
  // row without a value.
  dm.Title1 = Title1Edit->text().toLatin1().toStdString();
  dm.Title2 = Title2Edit->text().toLatin1().toStdString();
  dm.InputThreshold = report::rules::CheckThreshold(ThresholdEdit->text().toLatin1().toStdString(),
                                                    SystemDecimalSeparator())
                          .value_or(0.0);
  GridToDataModule();
  // 5.-13. Write, run, load the report. A close asked for meanwhile waits.
  Running = true;
  const bool done = RunAndReport();
  Running = false;
  if (m_closeAfterRun) {
    m_closeAfterRun = false;
    close();
    return;
  }
  if (!done) return;
  // 14. The report on the Output page.
  ShowReportLines();
  OutputMemo->show();
  OutputShown = true;
  ViewGraphButton->show();
  CalcButton->show();
  GraphImage->hide();
  ShowPage(OutputTabSheet);
}

bool TMainForm::AskInputFileName() {
  SaveCancelled = false;
  for (;;) {
    const std::optional<std::string> chosen = m_ui.ChooseSaveFile(InputSaveDialog());
    if (!chosen) {
      SaveCancelled = true;
      return false;
    }
    // The report and the parameter file take the input's name with their own
    // extensions: an input named like one of them would be replaced by them.
    if (const auto refusal = report::rules::CheckInputExtension(*chosen)) {
      Message(*refusal);
      continue;
    }
    if (const auto refusal = report::rules::CheckFileName(*chosen)) {
      Message(*refusal);
      continue;
    }
    m_dm->FileName = *chosen;
    std::error_code ec;
    // "No" to the overwrite question: the dialog again, for another name.
    if (!std::filesystem::exists(m_dm->FileName, ec) ||
        m_dm->ConfirmYesNo("The file already exists, overwrite?")) {
      return true;
    }
  }
}

void TMainForm::HideGraphControls() {
  GraphImage->hide();
  SelectButton->hide();
  SaveGraphButton->hide();
  SaveBlWhButton->hide();
}

}  // namespace quilmor::ui
