// The Input page: titles, the data grid, the checks of its fields, the
// distribution preference, opening an input file and Save-Run.
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "textio/number_format.hpp"
#include "textio/number_parse.hpp"
#include "ui/cartoon.hpp"
#include "ui/focus_watch.hpp"
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
constexpr const char* kPasteFailedMessage =
    "There are no data to be pasted or the data are incompatible";
constexpr const char* kExpNormMessage =
    "Please note that the normal distribution with exponentially transformed data is the only "
    "one not included in the group used to determine the \"Best of all\". Therefore, in some "
    "cases, it may be even better fitting than the \"Best of all\", but it may also be "
    "unsuitable. Compare the efficiency (correlation) coefficient in the output file below the "
    "table.";
constexpr const char* kDistrWarningMessage =
    "Please be aware that in some cases this distribution may not be suitable. Compare the "
    "efficiency (correlation) coefficients in the output files below the table.";
constexpr const char* kHintMessage =
    " The generalized normal distribution is the only one not in included in \"Best of fitting "
    "of all\". Yet is widely applicable.";
constexpr const char* kIntervalsEnterMessage =
    "For interval analysis (histogram) a number of interval classes is needed.  It is "
    "recommended to use 2, 5, 10 or 20 classes.  Use 10 or 20 only when there are more than 50 "
    "resp. 100 data";
constexpr const char* kTooManyRowsMessage =
    "The number of data is too large: the grid holds at most 100000 rows";

std::optional<int> IntegerOf(const QString& text) {
  return textio::ParseInt(text.trimmed().toLatin1().toStdString());
}

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

  auto* top = new QGridLayout;
  top->addWidget(FileNameLabel, 0, 0);
  top->addWidget(FileNameEdit, 0, 1);
  top->addWidget(Title1Label, 1, 0);
  top->addWidget(Title1Edit, 1, 1);
  top->addWidget(Title2Label, 2, 0);
  top->addWidget(Title2Edit, 2, 1);
  top->addWidget(OptionLabel, 3, 0);
  top->addWidget(OptionComboBox, 3, 1, Qt::AlignLeft);
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
  for (const PreferenceButtonInfo& info : kPreferenceButtons) {
    auto* button = new QRadioButton(QString::fromLatin1(info.caption), PreferenceRadioGroup);
    button->setObjectName(QLatin1String(info.name));
    PreferenceButtons->addButton(button, row);
    PreferenceRadioButtons.push_back(button);
    preferences->addWidget(button, row, 0);
    const std::string code = info.code;
    if (code == "1") {
      AllRadioButton = button;
      QFont bold = button->font();
      bold.setBold(true);
      button->setFont(bold);
      connect(button, &QRadioButton::clicked, this, &TMainForm::AllRadioButtonClick);
    } else if (code == "25") {
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

  auto* right = new QVBoxLayout;
  right->addWidget(InputOpenButton);
  right->addWidget(InputSaveButton);
  right->addSpacing(12);
  right->addWidget(ClearButton);
  right->addWidget(PasteHelpButton);
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
  connect(StringGrid1, &StringGrid::cellTextEdited, this, &TMainForm::GridTextEdited);
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
  std::optional<std::vector<QString>> typed = std::move(m_gridSnapshot);
  m_gridSnapshot.reset();
  if (DataPresent) {
    m_dm->NrOfData = TypedNrOfData;
    RowsShown = TypedNrOfData;
    LastRow = TypedNrOfData - 1;
  } else {
    // The default rows.
    m_dm->NrOfIntervals = "5";
    NrOfClassesEdit->setText(QStringLiteral("5"));
    SelectBestFittingOfAll();
    FileNameLabel->hide();
    FileNameEdit->hide();
    OptionComboBox->setCurrentIndex(0);
    RowsShown = 20;
    m_dm->NrOfData = 20;
    LastRow = 19;
    StringGrid1->setColumnCount(2);
    m_dm->RowValues.resize(20);
    typed.reset();
  }
  StringGrid1->setColumnWidth(0, 62);
  StringGrid1->setColumnWidth(1, 85);
  m_state.BreakPointAllowed = OptionComboBox->currentIndex() == 1;
  m_state.NameIsCurrent = false;
  FillDataGrid(LastRow);
  if (typed) {
    // What was typed before the page was left.
    const int rows = std::min(static_cast<int>(typed->size()), StringGrid1->rowCount());
    for (int r = 0; r < rows; ++r)
      StringGrid1->SetCellText(1, r, (*typed)[static_cast<std::size_t>(r)]);
  }
}

void TMainForm::ResizeRowArrays(int rows) {
  if (!m_dm) return;
  const auto size = static_cast<std::size_t>(std::max(rows, 0));
  if (m_dm->RowSerials.size() < size) m_dm->RowSerials.resize(size, 0);
  if (m_dm->RowValues.size() < size) m_dm->RowValues.resize(size, 0.0);
  if (m_dm->Skipped.size() < size) m_dm->Skipped.resize(size, false);
}

void TMainForm::FillDataGrid(int lastRow) {
  m_gridSnapshot.reset();
  if (!m_dm) return;
  report::TDMQuilmor& dm = *m_dm;
  NrOfDataEdit->setText(QString::number(dm.NrOfData));
  TypedNrOfData = dm.NrOfData;
  ThresholdEdit->setText(GeneralText(dm.InputThreshold));
  const int rows = std::clamp(lastRow + 1, 0, kMaxGridRows);
  StringGrid1->setUpdatesEnabled(false);
  StringGrid1->setRowCount(rows);
  const auto size = static_cast<std::size_t>(rows);
  dm.Skipped.resize(size);
  dm.RowSerials.resize(size);
  dm.RowValues.resize(size);
  for (int r = 0; r < rows; ++r) {
    const auto i = static_cast<std::size_t>(r);
    dm.Skipped[i] = false;
    if (DataPresent) {
      StringGrid1->SetCellText(0, r, QString::number(dm.RowSerials[i]));
      StringGrid1->SetCellText(1, r, GeneralText(dm.RowValues[i]));
    } else {
      StringGrid1->SetCellText(0, r, QString::number(r + 1));
      StringGrid1->SetCellText(1, r, QStringLiteral("0"));
    }
  }
  StringGrid1->setUpdatesEnabled(true);
  RowsShown = dm.NrOfData;
}

// --- Cell edits and paste ---------------------------------------------------------------

void TMainForm::GridTextEdited(int column, int row, const QString& text) {
  // The clipboard of this system separates lines by LF alone; the grid takes
  // every line end as CR LF.
  if (StringGrid::IsMultiCell(text)) {
    StringGrid1SetEditText(column, row,
                           QString::fromLatin1(NormaliseLineEnds(text.toLatin1().toStdString())));
  } else {
    StringGrid1SetEditText(column, row, text);
  }
}

void TMainForm::StringGrid1SetEditText(int column, int row, const QString& text) {
  if (!m_dm) return;
  if (text.contains(QLatin1Char('\t')) || text.contains(QLatin1Char('\r'))) {
    if (!HandlePasteMultiCell(*StringGrid1, column, text, row)) {
      Message(kPasteFailedMessage);
      ShowPage(InputTabSheet);
    }
  }
  RowsShown = m_dm->NrOfData;
  LastRow = m_dm->NrOfData - 1;
  PasteInProgress = true;
  NrOfDataEditExit();
  PasteInProgress = false;
  DataPresent = true;
}

bool TMainForm::HandlePasteMultiCell(StringGrid& grid, int column, const QString& text, int row) {
  if (!m_dm) return false;
  report::TDMQuilmor& dm = *m_dm;
  // 1. Spread the text over the cells.
  GridCells cells;
  cells.rowCount = grid.rowCount();
  cells.rows.resize(static_cast<std::size_t>(cells.rowCount));
  for (int r = 0; r < cells.rowCount; ++r) {
    for (int c = 0; c < GridCells::kColumns; ++c) {
      *cells.Cell(c, r) = grid.CellText(c, r).toLatin1().toStdString();
    }
  }
  const bool spread =
      SpreadPastedText(cells, column, row, text.toLatin1().toStdString(), SystemDecimalSeparator());
  // 2. The rows the grid now has, numbered in the fixed column.
  const int rows = std::min(cells.rowCount, kMaxGridRows);
  grid.setUpdatesEnabled(false);
  grid.setRowCount(rows);
  for (int r = 0; r < rows; ++r) {
    grid.SetCellText(0, r, QString::number(r + 1));
    grid.SetCellText(1, r, QString::fromLatin1(cells.Text(1, r)));
  }
  grid.setUpdatesEnabled(true);
  if (!spread) return false;
  // 3. The count and the values.
  NrOfDataEdit->setText(QString::number(rows));
  dm.NrOfData = rows;
  dm.RowValues.resize(static_cast<std::size_t>(rows));
  for (int r = 0; r < rows; ++r) {
    const std::optional<double> value =
        textio::StringToFloat(cells.Text(1, r), SystemDecimalSeparator());
    if (!value) return false;
    dm.RowValues[static_cast<std::size_t>(r)] = *value;
  }
  // 4.
  dm.Skipped.assign(static_cast<std::size_t>(rows), false);
  dm.RowSerials.resize(static_cast<std::size_t>(rows));
  for (int j = 0; j < rows; ++j) dm.RowSerials[static_cast<std::size_t>(j)] = j + 1;
  return true;
}

// --- Checks of the fields -----------------------------------------------------------

void TMainForm::NrOfDataEditExit() {
  if (!m_dm) return;
  report::TDMQuilmor& dm = *m_dm;
  const std::optional<int> typed = IntegerOf(NrOfDataEdit->text());
  if (!typed) {
    Message("The number of data is not a valid integer");
    return;
  }
  const int n = *typed;
  if (n < 6) {
    Message(" The minimum number of data is 6");
    NrOfDataEdit->setText(QStringLiteral("6"));
    return;
  }
  if (n > kMaxGridRows) {
    Message(kTooManyRowsMessage);
    return;
  }
  if (n > 2500) Message(" The program uses the first 2500 data above the given threshold only");
  if (!PasteInProgress && RowsShown < n) {
    // Growing: the rows shown keep their values, the new ones start at 0.
    Message(" Add data in the last cells at the end of the column");
    dm.NrOfData = n;
    ResizeRowArrays(n);
    for (int r = 1; r <= RowsShown; ++r) {
      const auto i = static_cast<std::size_t>(r - 1);
      dm.RowSerials[i] = IntegerOf(StringGrid1->CellText(0, r - 1)).value_or(r);
      const QString text = StringGrid1->CellText(1, r - 1);
      const std::optional<double> value = StringToFloat(text);
      if (!value) {
        Message(NotARealMessage(text));
        return;
      }
      dm.RowValues[i] = *value;
    }
    for (int r = RowsShown + 1; r <= n; ++r) {
      const auto i = static_cast<std::size_t>(r - 1);
      dm.RowSerials[i] = r;
      dm.RowValues[i] = 0.0;
    }
    LastRow = n - 1;
    RowsShown = n;
    FillDataGrid(LastRow);
  }
  if (!PasteInProgress && n < RowsShown) {
    // Shrinking takes effect when the page is shown again.
    RowsShown = n;
    Message(" To remove data, empty the relevant data cells ");
  }
  TypedNrOfData = n;
}

void TMainForm::ThresholdEditExit() {
  if (!StringToFloat(ThresholdEdit->text())) Message("The threshold is not a valid real");
  NrOfDataEditExit();
}

void TMainForm::NrOfClassesEditEnter() { Message(kIntervalsEnterMessage); }

void TMainForm::NrOfClassesEditExit() {
  if (!m_dm) return;
  const std::optional<int> classes = IntegerOf(NrOfClassesEdit->text());
  if (!classes) {
    Message("The number of classes is not a valid integer");
    return;
  }
  if (*classes < 2 || *classes > 20) {
    Message("Do not use more than 20 classes and not less than 2");
    NrOfClassesEdit->setText(*classes > 20 ? QStringLiteral("20") : QStringLiteral("2"));
    return;
  }
  m_dm->NrOfIntervals = NrOfClassesEdit->text().trimmed().toLatin1().toStdString();
}

// --- Option list and preference ---------------------------------------------------------

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
  Message(kExpNormMessage);
}

void TMainForm::PreferenceRadioButtonClick(const char* code) {
  if (m_dm) m_dm->Preference = code;
  DistrWarning();
}

void TMainForm::DistrWarning() {
  OptionComboBox->setEnabled(false);
  OptionComboBox->setCurrentIndex(0);
  Message(kDistrWarningMessage);
}

void TMainForm::HintButtonClick() { Message(kHintMessage); }

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
  report::TDMQuilmor& dm = *m_dm;
  if (!ChooseExistingFile(InputOpenDialog(), "No input file was selected")) return;
  // A file that cannot be read has been reported; a corrupt one ends the
  // program. Neither is shown as if it had been opened.
  if (dm.ReadInputFile() != report::TDMQuilmor::ReadResult::Ok) return;
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
  FillDataGrid(LastRow);
  ChoicesPanel->hide();
  OutputMemo->hide();
  HideGraphControls();
  ShowPage(InputTabSheet);
  // An empty file, or one cut off in its header, opens as an empty grid; say
  // why the grid is empty.
  if (dm.NrOfData == 0) Message("The input file \"" + dm.FileName + "\" holds no data values");
}

// --- Save-Run -----------------------------------------------------------------------

void TMainForm::InputSaveActionExecute() {
  if (!m_dm) return;
  report::TDMQuilmor& dm = *m_dm;
  // 1.-2. The file name.
  if (!AskInputFileName() || SaveCancelled) {
    Message("The input data were not saved");
    return;
  }
  // 3. Titles and threshold.
  dm.Title1 = Title1Edit->text().toLatin1().toStdString();
  dm.Title2 = Title2Edit->text().toLatin1().toStdString();
  const std::optional<double> threshold = StringToFloat(ThresholdEdit->text());
  if (!threshold) {
    Message("The threshold is not a valid real");
    return;
  }
  dm.InputThreshold = *threshold;
  // 4. The values of the grid; an empty cell leaves its row out.
  const int rows = std::max(dm.NrOfData, 0);
  ResizeRowArrays(rows);
  std::vector<double> values(static_cast<std::size_t>(rows), 0.0);
  std::vector<bool> skipped(static_cast<std::size_t>(rows), false);
  for (int i = 1; i <= rows; ++i) {
    const auto r = static_cast<std::size_t>(i - 1);
    const QString text = StringGrid1->CellText(1, i - 1);
    if (text.isEmpty()) {
      skipped[r] = true;
      continue;
    }
    const std::optional<double> value = StringToFloat(text);
    if (!value) {
      Message("Not all data values in the inputfile are real");
      return;
    }
    values[r] = *value;
  }
  for (int i = 1; i <= rows; ++i) {
    const auto r = static_cast<std::size_t>(i - 1);
    dm.RowSerials[r] = i;
    if (!skipped[r]) dm.RowValues[r] = values[r];
    // A cell filled again after an earlier Save-Run counts again.
    dm.Skipped[r] = skipped[r];
  }
  // 5.-13. Write, run, load the report.
  if (!RunAndReport()) return;
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
  const std::optional<std::string> chosen = m_ui.ChooseSaveFile(InputSaveDialog());
  if (!chosen) {
    SaveCancelled = true;
    return false;
  }
  m_dm->FileName = *chosen;
  std::error_code ec;
  if (std::filesystem::exists(m_dm->FileName, ec)) {
    return m_dm->ConfirmYesNo("The file already exists, overwrite?");
  }
  return true;
}

void TMainForm::HideGraphControls() {
  GraphImage->hide();
  SelectButton->hide();
  SaveGraphButton->hide();
  SaveBlWhButton->hide();
}

}  // namespace quilmor::ui
