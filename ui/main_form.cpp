#include "ui/main_form.hpp"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTabWidget>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"
#include "ui/calc_form.hpp"
#include "ui/cartoon.hpp"
#include "ui/design_values_page.hpp"
#include "ui/finish_form.hpp"
#include "ui/focus_watch.hpp"
#include "ui/graph_view.hpp"
#include "ui/help_texts.hpp"
#include "ui/qt_interaction.hpp"
#include "ui/string_grid.hpp"

namespace quilmor::ui {

WindowPlacement PlaceMainForm(int screenWidth, int windowWidth) {
  WindowPlacement placement{100, windowWidth};
  if (screenWidth > 860) {
    placement.width = 760;
  } else if (screenWidth < placement.left + windowWidth) {
    // The window does not fit beside its left edge: it moves to the screen's
    // edge and takes the screen's width.
    placement.left = 5;
    placement.width = screenWidth - 5;
  }
  return placement;
}

char SystemDecimalSeparator() {
  const QString point = QLocale().decimalPoint();
  return point == QLatin1String(",") ? ',' : '.';
}

std::optional<double> StringToFloat(const QString& text) {
  return textio::StringToFloat(text.toLatin1().toStdString(), SystemDecimalSeparator());
}

std::string InvalidCellMessage(int row, const QString& text) {
  return "Row " + std::to_string(row + 1) + ": \"" +
         textio::Excerpt(text.toLatin1().toStdString()) + "\" is not a valid real number";
}

namespace {

QPlainTextEdit* NewMemo(QWidget* parent, const char* name, const QColor& background,
                        const QString& text) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(QLatin1String(name));
  memo->setReadOnly(true);
  memo->setPlainText(text);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  QPalette palette = memo->palette();
  palette.setColor(QPalette::Base, background);
  palette.setColor(QPalette::Text, Qt::black);
  memo->setPalette(palette);
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSize(9);
  memo->setFont(font);
  return memo;
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QLatin1String(name));
  button->setAutoDefault(false);
  return button;
}

// A button bound to an action: it runs the action and follows its enabled
// state.
void BindButton(QPushButton* button, QAction* action) {
  QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
  QObject::connect(action, &QAction::changed, button,
                   [button, action] { button->setEnabled(action->isEnabled()); });
  button->setEnabled(action->isEnabled());
}

// The page in a scroll area that takes its name.
QWidget* Scrollable(QWidget* page) {
  auto* scroll = new QScrollArea;
  scroll->setObjectName(page->objectName());
  page->setObjectName(page->objectName() + QStringLiteral("Content"));
  scroll->setWidget(page);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  return scroll;
}

}  // namespace

QRect FitIntoScreen(const QRect& wanted, const QRect& available, const QMargins& frame) {
  QRect fitted = wanted;
  fitted.setWidth(std::min(wanted.width(), available.width() - frame.left() - frame.right()));
  fitted.setHeight(std::min(wanted.height(), available.height() - frame.top() - frame.bottom()));
  const int right = available.right() - frame.right();
  const int bottom = available.bottom() - frame.bottom();
  if (fitted.right() > right) fitted.moveRight(right);
  if (fitted.bottom() > bottom) fitted.moveBottom(bottom);
  if (fitted.left() < available.left() + frame.left())
    fitted.moveLeft(available.left() + frame.left());
  if (fitted.top() < available.top() + frame.top()) fitted.moveTop(available.top() + frame.top());
  return fitted;
}

TMainForm::TMainForm(UserInteraction& ui, RunState& state) : m_ui(ui), m_state(state) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QString::fromLatin1(kApplicationTitle));
  resize(kMainFormDesignWidth, kMainFormDesignHeight);

  BuildMenu();
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  // Each page scrolls when the window is smaller than its controls need.
  IntroTabSheet = Scrollable(BuildIntroPage());
  InputTabSheet = Scrollable(BuildInputPage());
  OutputTabSheet = Scrollable(BuildOutputPage());
  GraphicsTabSheet = Scrollable(BuildGraphicsPage());
  DesignPage = new DesignValuesPage(m_ui);
  DesignTabSheet = DesignPage;
  PageControl1->addTab(IntroTabSheet, QStringLiteral("  Intro  "));
  PageControl1->addTab(InputTabSheet, QStringLiteral("  Input  "));
  PageControl1->addTab(OutputTabSheet, QStringLiteral("  Output  "));
  PageControl1->addTab(DesignTabSheet, QString::fromLatin1(kDesignPageTitle));
  PageControl1->addTab(GraphicsTabSheet, QStringLiteral(" Graphics "));
  setCentralWidget(PageControl1);
  m_currentPage = PageControl1->currentIndex();
  connect(PageControl1, &QTabWidget::currentChanged, this, &TMainForm::PageChanged);

  FormCreate();
}

TMainForm::~TMainForm() {
  // The child widgets go after this window's own part: a signal they send
  // then (the grid's editor committing a cell) must not reach this window.
  for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
}

void TMainForm::Attach(report::TDMQuilmor& dataModule, TFinishForm& finishForm,
                       TCalcForm& calcForm) {
  m_dm = &dataModule;
  m_finishForm = &finishForm;
  m_calcForm = &calcForm;
}

void TMainForm::BuildMenu() {
  MainMenu1 = menuBar();
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  FileMenu = MainMenu1->addMenu(QStringLiteral("&File"));
  FileMenu->setObjectName(QStringLiteral("FileMenu"));
  EditMenu = MainMenu1->addMenu(QStringLiteral("&Edit"));
  EditMenu->setObjectName(QStringLiteral("EditMenu"));

  auto newAction = [this](const char* name, const QString& caption) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    return action;
  };
  InputOpenAction = newAction("InputOpenAction", QStringLiteral("Open input"));
  InputOpenAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  OutputOpenAction = newAction("OutputOpenAction", QStringLiteral("Open output"));
  OpenGraphMenuItem = newAction("OpenGraphMenuItem", QStringLiteral("Open &Graph"));
  InputSaveAction = newAction("InputSaveAction", QStringLiteral("Save input"));
  InputSaveAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  ExitMenuItem = newAction("ExitMenuItem", QStringLiteral("Program E&xit"));
  ExitMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  GraphOpenAction = newAction("GraphOpenAction", QStringLiteral("Open a graph"));
  IntroMenuItem = newAction("IntroMenuItem", QStringLiteral("&Intro"));
  IntroMenuItem->setShortcut(QKeySequence(Qt::Key_F1));
  addAction(IntroMenuItem);  // F1 anywhere in the window
  FileMenu->addAction(InputOpenAction);
  FileMenu->addAction(OutputOpenAction);
  FileMenu->addAction(OpenGraphMenuItem);  // an entry without a command of its own
  FileMenu->addAction(InputSaveAction);
  FileMenu->addSeparator();
  RecentMenu = FileMenu->addMenu(QStringLiteral("&Recent files"));
  RecentMenu->setObjectName(QStringLiteral("RecentMenu"));
  FileMenu->addSeparator();
  FileMenu->addAction(ExitMenuItem);

  CopyMenuItem = newAction("CopyMenuItem", QStringLiteral("&Copy"));
  CopyMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  CutMenuItem = newAction("CutMenuItem", QStringLiteral("Cu&t"));
  CutMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
  PasteMenuItem = newAction("PasteMenuItem", QStringLiteral("&Paste"));
  PasteMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
  UndoMenuItem = newAction("UndoMenuItem", QStringLiteral("&Undo"));
  UndoMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  DeleteMenuItem = newAction("DeleteMenuItem", QStringLiteral("&Delete"));
  DeleteMenuItem->setShortcut(QKeySequence(Qt::Key_Delete));
  InsertRowMenuItem = newAction("InsertRowMenuItem", QStringLiteral("&Insert row"));
  InsertRowMenuItem->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  DeleteRowsMenuItem = newAction("DeleteRowsMenuItem", QStringLiteral("Delete &rows"));
  DeleteRowsMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
  EditMenu->addAction(UndoMenuItem);
  EditMenu->addSeparator();
  EditMenu->addAction(CopyMenuItem);
  EditMenu->addAction(CutMenuItem);
  EditMenu->addAction(PasteMenuItem);
  EditMenu->addAction(DeleteMenuItem);
  EditMenu->addSeparator();
  EditMenu->addAction(InsertRowMenuItem);
  EditMenu->addAction(DeleteRowsMenuItem);
  QMenu* helpMenu = MainMenu1->addMenu(QStringLiteral("&Help"));
  helpMenu->setObjectName(QStringLiteral("HelpMenu"));
  helpMenu->addAction(IntroMenuItem);

  connect(InputOpenAction, &QAction::triggered, this, &TMainForm::InputOpenActionExecute);
  connect(InputSaveAction, &QAction::triggered, this, &TMainForm::InputSaveActionExecute);
  connect(OutputOpenAction, &QAction::triggered, this, &TMainForm::OutputOpenActionExecute);
  connect(GraphOpenAction, &QAction::triggered, this, &TMainForm::GraphOpenActionExecute);
  connect(ExitMenuItem, &QAction::triggered, this, &QWidget::close);
  connect(CopyMenuItem, &QAction::triggered, this, &TMainForm::EditCopy);
  connect(CutMenuItem, &QAction::triggered, this, &TMainForm::EditCut);
  connect(PasteMenuItem, &QAction::triggered, this, &TMainForm::EditPaste);
  connect(UndoMenuItem, &QAction::triggered, this, &TMainForm::EditUndo);
  connect(DeleteMenuItem, &QAction::triggered, this, &TMainForm::EditDelete);
  connect(InsertRowMenuItem, &QAction::triggered, this, [this] {
    ShowPage(InputTabSheet);
    StringGrid1->InsertRow();
  });
  connect(DeleteRowsMenuItem, &QAction::triggered, this, [this] {
    ShowPage(InputTabSheet);
    StringGrid1->DeleteSelectedRows();
  });
  connect(IntroMenuItem, &QAction::triggered, this, [this] { ShowPage(IntroTabSheet); });
  RebuildRecentMenu();
}

QWidget* TMainForm::BuildIntroPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("IntroTabSheet"));
  IntroMemo = NewMemo(page, "IntroMemo", QColor(255, 250, 221), help::Introduction());
  ContMemo = NewMemo(page, "ContMemo", QColor(241, 255, 230), help::Distributions());
  DisConMemo = NewMemo(page, "DisConMemo", QColor(253, 255, 213), help::Discontinuity());
  ConfMemo = NewMemo(page, "ConfMemo", QColor(255, 251, 254), help::Confidence());
  IntervalMemo = NewMemo(page, "IntervalMemo", QColor(230, 255, 248), help::Intervals());
  IntroMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  ContMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  HelpGroupBox = new QGroupBox(QStringLiteral("Help"), page);
  HelpGroupBox->setObjectName(QStringLiteral("HelpGroupBox"));
  ContButton = NewButton(HelpGroupBox, "ContButton", QStringLiteral("Distributions"));
  DisContButton = NewButton(HelpGroupBox, "DisContButton", QStringLiteral("Discontinuity"));
  ConfButton = NewButton(HelpGroupBox, "ConfButton", QStringLiteral("Confidence"));
  InterButton = NewButton(HelpGroupBox, "InterButton", QStringLiteral("Intervals"));
  BackButton = NewButton(HelpGroupBox, "BackButton", QStringLiteral("Introduction"));
  auto* helpLayout = new QVBoxLayout(HelpGroupBox);
  for (QPushButton* b : {BackButton, ContButton, DisContButton, ConfButton, InterButton}) {
    helpLayout->addWidget(b);
  }
  helpLayout->addStretch(1);
  connect(ContButton, &QPushButton::clicked, this, &TMainForm::ContButtonClick);
  connect(DisContButton, &QPushButton::clicked, this, &TMainForm::DisContButtonClick);
  connect(ConfButton, &QPushButton::clicked, this, &TMainForm::ConfButtonClick);
  connect(InterButton, &QPushButton::clicked, this, &TMainForm::InterButtonClick);
  connect(BackButton, &QPushButton::clicked, this, &TMainForm::BackButtonClick);

  auto* layout = new QGridLayout(page);
  for (QPlainTextEdit* memo : {IntroMemo, ContMemo, DisConMemo, ConfMemo, IntervalMemo}) {
    layout->addWidget(memo, 0, 0);
  }
  layout->addWidget(HelpGroupBox, 0, 1, Qt::AlignTop);
  layout->setColumnStretch(0, 1);
  return page;
}

QWidget* TMainForm::BuildOutputPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("OutputTabSheet"));
  // A regular fixed-pitch font: the report's columns line up.
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSize(10);
  OutputMemo = new QPlainTextEdit(page);
  OutputMemo->setObjectName(QStringLiteral("OutputMemo"));
  OutputMemo->setReadOnly(true);
  OutputMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
  OutputMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  OutputMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  OutputMemo->setFont(font);
  OutputHeading = new QPlainTextEdit(page);
  OutputHeading->setObjectName(QStringLiteral("OutputHeading"));
  OutputHeading->setReadOnly(true);
  OutputHeading->setLineWrapMode(QPlainTextEdit::NoWrap);
  OutputHeading->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  OutputHeading->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  OutputHeading->setFocusPolicy(Qt::NoFocus);
  OutputHeading->setFont(font);
  OutputHeading->setFrameShape(QFrame::NoFrame);
  {
    QPalette palette = OutputHeading->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::AlternateBase));
    OutputHeading->setPalette(palette);
  }
  OutputHeading->hide();
  connect(OutputMemo->verticalScrollBar(), &QScrollBar::valueChanged, this,
          &TMainForm::UpdateOutputHeading);
  connect(OutputMemo->horizontalScrollBar(), &QScrollBar::valueChanged,
          OutputHeading->horizontalScrollBar(), &QScrollBar::setValue);

  SeeOutputButton = NewButton(page, "SeeOutputButton", QStringLiteral("Open output"));
  ViewGraphButton = NewButton(page, "ViewGraphButton", QStringLiteral("Graphics"));
  CalcButton = NewButton(page, "CalcButton", QStringLiteral("Calculator"));
  ViewGraphButton->hide();
  CalcButton->hide();
  BindButton(SeeOutputButton, OutputOpenAction);
  connect(ViewGraphButton, &QPushButton::clicked, this, &TMainForm::ViewGraphButtonClick);
  connect(CalcButton, &QPushButton::clicked, this, &TMainForm::CalcButtonClick);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(SeeOutputButton);
  buttons->addWidget(ViewGraphButton);
  buttons->addWidget(CalcButton);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(page);
  layout->setSpacing(0);
  layout->addWidget(OutputHeading);
  layout->addWidget(OutputMemo, 1);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  return page;
}

// --- Frame ------------------------------------------------------------------

void TMainForm::FormCreate() {
  // 1. The first page.
  if (PageControl1->currentIndex() != 0) {
    ShowPage(IntroTabSheet);
  } else {
    IntroTabSheetShow();
  }
  // 2. The folder the program started in.
  std::error_code ec;
  StartDir = std::filesystem::current_path(ec).string();
  DialogFolder = StartDir;
  // 3.
  Title1Edit->clear();
  Title2Edit->clear();
  PasteHelpMemo->hide();
  PasteHelpButton->setText(QStringLiteral("Paste help"));
  // 4.
  DataPresent = false;
  OutputShown = false;
  GraphShown = false;
  FileNameLabel->hide();
  FileNameEdit->hide();
  m_state.NameIsCurrent = false;
  StringGrid1->show();
  InputFile.clear();
  SetModified(false);
  // 5.
  ColourGraph = true;
  PlotWidth = 500;
  PlotHeight = 370;
  // 6. Placement on the screen, once: clearing the data does not move the
  // window.
  if (!m_placed) {
    m_placed = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      const WindowPlacement placement = PlaceMainForm(screen->geometry().width(), width());
      // Inside the screen's free area, title bar and frame included, at any
      // scaling.
      setGeometry(FitIntoScreen(QRect(placement.left, 20, placement.width, height()),
                                screen->availableGeometry(), kFrameAllowance));
    }
  }
}

void TMainForm::ShowPage(QWidget* page) {
  // Selecting the page that is already shown does not show it again.
  if (PageControl1->currentWidget() != page) PageControl1->setCurrentWidget(page);
}

void TMainForm::PageChanged(int index) {
  const int previous = m_currentPage;
  m_currentPage = index;
  if (previous == PageControl1->indexOf(OutputTabSheet)) OutputTabSheetExit();
  QWidget* page = PageControl1->widget(index);
  if (page == IntroTabSheet) IntroTabSheetShow();
  if (page == InputTabSheet) InputTabSheetShow();
  if (page == OutputTabSheet) OutputTabSheetShow();
  if (page == GraphicsTabSheet) GraphicsTabSheetShow();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // FormClose: the window stays; the finish window ends the program.
  event->ignore();
  if (Running) {
    // The run ends first; then the window closes.
    m_closeAfterRun = true;
    return;
  }
  if (!MayClose()) return;
  if (m_finishForm) {
    m_finishForm->show();
    m_finishForm->raise();
    m_finishForm->activateWindow();
  }
}

void TMainForm::Message(const std::string& text) { m_ui.ShowMessage(text); }

bool TMainForm::ChooseExistingFile(const FileDialogRequest& dialog,
                                   const std::string& noneSelected) {
  const std::optional<std::string> chosen = m_ui.ChooseOpenFile(dialog);
  if (!chosen) {
    Message(noneSelected);
    return false;
  }
  m_dm->FileName = *chosen;
  std::error_code ec;
  if (!std::filesystem::exists(m_dm->FileName, ec)) {
    Message("File does not exist, please select another one,");
    return false;
  }
  return true;
}

void TMainForm::SetDialogFolderFromFile(const std::string& fileName) {
  const std::filesystem::path folder = std::filesystem::path(fileName).parent_path();
  if (!folder.empty()) DialogFolder = folder.string();
}

FileDialogRequest TMainForm::InputOpenDialog() const {
  return {"Input files (*.inp)|*.inp", "inp", DialogFolder};
}
FileDialogRequest TMainForm::InputSaveDialog() const {
  return {"Input files (*.inp)|*.inp", "inp", DialogFolder};
}
FileDialogRequest TMainForm::OutputOpenDialog() const {
  return {"Output files (*.out)|*.out", ".out", DialogFolder};
}
FileDialogRequest TMainForm::GraphOpenDialog() { return {"Graph files (*.bmp)|*.bmp", "bmp", ""}; }
FileDialogRequest TMainForm::GraphSaveDialog() { return {"Image files (*.bmp)|*.bmp", "bmp", ""}; }

// --- Intro page -------------------------------------------------------------

void TMainForm::IntroTabSheetShow() {
  ShowStatus(QStringLiteral("Click on the Input tab to proceed."));
  InputSaveAction->setEnabled(false);
  ShowMemo(IntroMemo);
}

void TMainForm::ShowMemo(QPlainTextEdit* memo) {
  for (QPlainTextEdit* m : {IntroMemo, ContMemo, DisConMemo, ConfMemo, IntervalMemo}) {
    m->setVisible(m == memo);
  }
}

void TMainForm::ContButtonClick() { ShowMemo(ContMemo); }
void TMainForm::DisContButtonClick() { ShowMemo(DisConMemo); }
void TMainForm::ConfButtonClick() { ShowMemo(ConfMemo); }
void TMainForm::InterButtonClick() { ShowMemo(IntervalMemo); }
void TMainForm::BackButtonClick() { ShowMemo(IntroMemo); }

// --- Edit menu: the standard commands on the focused control ------------------

void TMainForm::EditCopy() {
  QWidget* focus = QApplication::focusWidget();
  if (focus == StringGrid1) StringGrid1->CopySelection();
  if (auto* edit = qobject_cast<QLineEdit*>(focus)) edit->copy();
  if (auto* memo = qobject_cast<QPlainTextEdit*>(focus)) memo->copy();
}

void TMainForm::EditCut() {
  QWidget* focus = QApplication::focusWidget();
  if (focus == StringGrid1) StringGrid1->CutSelection();
  if (auto* edit = qobject_cast<QLineEdit*>(focus)) edit->cut();
  if (auto* memo = qobject_cast<QPlainTextEdit*>(focus)) memo->cut();
}

void TMainForm::EditUndo() {
  QWidget* focus = QApplication::focusWidget();
  if (auto* edit = qobject_cast<QLineEdit*>(focus)) {
    edit->undo();
  } else if (PageControl1->currentWidget() == InputTabSheet) {
    StringGrid1->Undo();
  }
}

void TMainForm::EditDelete() {
  QWidget* focus = QApplication::focusWidget();
  if (auto* edit = qobject_cast<QLineEdit*>(focus)) {
    edit->del();
  } else if (focus == StringGrid1) {
    StringGrid1->ClearSelectedCells();
  }
}

// --- Desktop conventions --------------------------------------------------------

namespace {
constexpr int kRecentFiles = 8;
const QString kRecentKey = QStringLiteral("recentFiles");
}  // namespace

QStringList TMainForm::RecentFiles() const { return QSettings().value(kRecentKey).toStringList(); }

void TMainForm::AddRecentFile(const std::string& fileName) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(fileName, ec);
  const QString name = QFile::decodeName(
      QByteArray::fromStdString(ec ? fileName : absolute.lexically_normal().string()));
  QStringList files = RecentFiles();
  files.removeAll(name);
  files.prepend(name);
  while (files.size() > kRecentFiles) files.removeLast();
  QSettings().setValue(kRecentKey, files);
  RebuildRecentMenu();
}

void TMainForm::RebuildRecentMenu() {
  RecentMenu->clear();
  const QStringList files = RecentFiles();
  for (qsizetype i = 0; i < files.size(); ++i) {
    QAction* action = RecentMenu->addAction(QStringLiteral("&%1  %2").arg(i + 1).arg(files[i]));
    const QString file = files[i];
    connect(action, &QAction::triggered, this, [this, file] { OpenRecentFile(file); });
  }
  RecentMenu->setEnabled(!files.isEmpty());
}

void TMainForm::OpenRecentFile(const QString& fileName) {
  if (!m_dm) return;
  const std::string name = QFile::encodeName(fileName).toStdString();
  m_dm->FileName = name;
  std::error_code ec;
  if (!std::filesystem::exists(name, ec)) {
    Message("File does not exist, please select another one,");
    return;
  }
  OpenInputFile(name);
}

void TMainForm::UpdateWindowTitle() {
  const QString application = QString::fromLatin1(kApplicationTitle);
  if (InputFile.empty() && !Modified) {
    setWindowTitle(application);
    return;
  }
  const QString name = InputFile.empty()
                           ? QStringLiteral("New data")
                           : QFile::decodeName(QByteArray::fromStdString(
                                 std::filesystem::path(InputFile).filename().string()));
  setWindowTitle(name + (Modified ? QStringLiteral("*") : QString()) + QStringLiteral(" - ") +
                 application);
}

void TMainForm::SetModified(bool modified) {
  Modified = modified;
  UpdateWindowTitle();
}

bool TMainForm::MayClose() { return !Modified || m_ui.ConfirmYesNo(kUnsavedQuestion); }

void TMainForm::EditPaste() {
  QWidget* focus = QApplication::focusWidget();
  if (qobject_cast<GridCellEditor*>(focus)) {
    // A cell editor: a copied column spreads over the grid.
    QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    QApplication::sendEvent(focus, &paste);
  } else if (auto* edit = qobject_cast<QLineEdit*>(focus)) {
    edit->paste();
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(focus)) {
    memo->paste();
  } else if (focus == StringGrid1) {
    QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    QApplication::sendEvent(StringGrid1, &paste);
  }
}

}  // namespace quilmor::ui
