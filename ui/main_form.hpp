// The main window: menu, the Intro, Input, Output and Graphics pages, and the
// handlers of their controls, named after control and event.
#pragma once

#include <QImage>
#include <QMargins>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/plotting_position.hpp"
#include "graphs/draw_graph.hpp"
#include "ui/run_state.hpp"
#include "report/data_module.hpp"
#include "textio/interaction.hpp"
#include "ui/base_form.hpp"
#include "ui/report_tables.hpp"

class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QCheckBox;
class QRadioButton;
class QButtonGroup;
class QTabWidget;

namespace quilmor::ui {

class DesignValuesPage;
class GraphView;
class StringGrid;
class TCalcForm;
class TFinishForm;

inline constexpr const char* kApplicationTitle = "Quilmor cumulative frequency analysis";

// Where the main window goes on a screen of the given width: 760 pixels wide
// at 100 on a screen wider than 860; at 5 with the screen's width less 5 when
// it would not fit at 100; otherwise as designed.
struct WindowPlacement {
  int left = 0;
  int width = 0;
};
inline constexpr int kMainFormDesignWidth = 757;
inline constexpr int kMainFormDesignHeight = 720;
WindowPlacement PlaceMainForm(int screenWidth, int windowWidth = kMainFormDesignWidth);

// The window's frame as window managers draw it, at most: title bar above,
// borders around.
inline const QMargins kFrameAllowance(8, 36, 8, 8);
// `wanted` (the window without its frame) made to fit, frame included, into
// `available`: smaller where it is too big, moved where it sticks out.
QRect FitIntoScreen(const QRect& wanted, const QRect& available, const QMargins& frame);

// The user's number conversion with the system's decimal separator (then the
// other one of "," and ".").
std::optional<double> StringToFloat(const QString& text);
// The system decimal separator: "," or ".".
char SystemDecimalSeparator();
// The message for a value cell (row counted from 0) that is no number.
std::string InvalidCellMessage(int row, const QString& text);
// The question before closing with data that have not been saved.
inline constexpr const char* kUnsavedQuestion = "The data have not been saved, close anyway?";

class TMainForm : public TBaseForm {
  Q_OBJECT

 public:
  // FormCreate runs here. The data module, the finish window and the
  // calculator window are created after this window and joined with Attach.
  TMainForm(UserInteraction& ui, RunState& state);
  ~TMainForm() override;
  void Attach(report::TDMQuilmor& dataModule, TFinishForm& finishForm, TCalcForm& calcForm);

  // --- Window state --------------------------------------------------------
  std::string StartDir;
  std::string InputName;
  bool DataPresent = false;
  bool PasteInProgress = false;
  bool SaveCancelled = false;
  int RowsShown = 0;
  int LastRow = 0;
  int TypedNrOfData = 0;
  bool OutputShown = false;
  bool GraphShown = false;
  bool OnOutputPage = false;
  bool ColourGraph = true;
  int PlotWidth = 500;
  int PlotHeight = 370;
  int GraphType = 1;
  // Initial folder of the input open, input save and report open dialogs.
  std::string DialogFolder;
  // The file the Input page shows (opened or saved), "" for new data.
  std::string InputFile;
  // The Input page holds changes that no input file holds yet.
  bool Modified = false;
  // A run is going on (Save-Run); closing waits for its end.
  bool Running = false;
  // The drawn graph (623 x 495), as it is saved.
  QImage GraphBitmap;

  // --- Menu and actions ------------------------------------------------------
  QMenuBar* MainMenu1 = nullptr;
  QMenu* FileMenu = nullptr;
  QMenu* EditMenu = nullptr;
  QAction* InputOpenAction = nullptr;
  QAction* InputSaveAction = nullptr;
  QAction* OutputOpenAction = nullptr;
  QAction* GraphOpenAction = nullptr;
  QAction* OpenGraphMenuItem = nullptr;
  QAction* ExitMenuItem = nullptr;
  QAction* CopyMenuItem = nullptr;
  QAction* CutMenuItem = nullptr;
  QAction* PasteMenuItem = nullptr;
  QAction* UndoMenuItem = nullptr;
  QAction* DeleteMenuItem = nullptr;
  QAction* InsertRowMenuItem = nullptr;
  QAction* DeleteRowsMenuItem = nullptr;
  QAction* IntroMenuItem = nullptr;
  QMenu* RecentMenu = nullptr;

  QTabWidget* PageControl1 = nullptr;
  QWidget* IntroTabSheet = nullptr;
  QWidget* InputTabSheet = nullptr;
  QWidget* OutputTabSheet = nullptr;
  QWidget* GraphicsTabSheet = nullptr;
  // After Output: the design values and goodness of fit of the last run.
  DesignValuesPage* DesignPage = nullptr;
  QWidget* DesignTabSheet = nullptr;

  // --- Intro page -----------------------------------------------------------
  QPlainTextEdit* IntroMemo = nullptr;
  QPlainTextEdit* ContMemo = nullptr;
  QPlainTextEdit* DisConMemo = nullptr;
  QPlainTextEdit* ConfMemo = nullptr;
  QPlainTextEdit* IntervalMemo = nullptr;
  QGroupBox* HelpGroupBox = nullptr;
  QPushButton* ContButton = nullptr;
  QPushButton* DisContButton = nullptr;
  QPushButton* ConfButton = nullptr;
  QPushButton* InterButton = nullptr;
  QPushButton* BackButton = nullptr;

  // --- Input page -----------------------------------------------------------
  QLabel* FileNameLabel = nullptr;
  QLineEdit* FileNameEdit = nullptr;
  QLabel* Title1Label = nullptr;
  QLineEdit* Title1Edit = nullptr;
  QLabel* Title2Label = nullptr;
  QLineEdit* Title2Edit = nullptr;
  QLabel* OptionLabel = nullptr;
  QComboBox* OptionComboBox = nullptr;
  QLabel* PlottingLabel = nullptr;
  QComboBox* PlottingComboBox = nullptr;
  QLabel* NrOfDataLabel = nullptr;
  QLineEdit* NrOfDataEdit = nullptr;
  QLabel* NrOfClassesLabel = nullptr;
  QLineEdit* NrOfClassesEdit = nullptr;
  QLabel* ThresholdLabel = nullptr;
  QLineEdit* ThresholdEdit = nullptr;
  QLabel* SerialLabel = nullptr;
  QLabel* ValueLabel = nullptr;
  StringGrid* StringGrid1 = nullptr;
  QGroupBox* PreferenceRadioGroup = nullptr;
  QButtonGroup* PreferenceButtons = nullptr;
  std::vector<QRadioButton*> PreferenceRadioButtons;  // page order
  QRadioButton* AllRadioButton = nullptr;
  QRadioButton* ExpNormRadioButton = nullptr;
  QPushButton* HintButton = nullptr;
  QPlainTextEdit* WaitMemo = nullptr;
  QPlainTextEdit* PasteHelpMemo = nullptr;
  QPushButton* ClearButton = nullptr;
  QPushButton* PasteHelpButton = nullptr;
  QPushButton* InputSaveButton = nullptr;
  QPushButton* InputOpenButton = nullptr;
  QLabel* CartoonImage = nullptr;

  // --- Output page ----------------------------------------------------------
  QPlainTextEdit* OutputMemo = nullptr;
  // The headings of the table being read, kept above the report.
  QPlainTextEdit* OutputHeading = nullptr;
  QPushButton* SeeOutputButton = nullptr;
  QPushButton* ViewGraphButton = nullptr;
  QPushButton* CalcButton = nullptr;

  // --- Graphics page --------------------------------------------------------
  GraphView* GraphImage = nullptr;
  QLabel* PictureImage = nullptr;
  QPushButton* SeeGraphButton = nullptr;
  QPushButton* MakeGraphButton = nullptr;
  QPushButton* SelectButton = nullptr;
  QPushButton* SaveGraphButton = nullptr;
  QPushButton* SaveBlWhButton = nullptr;
  QFrame* ChoicesPanel = nullptr;
  QGroupBox* GraphicsRadioGroup = nullptr;
  QRadioButton* CumulativeRadioButton = nullptr;
  QRadioButton* QQRadioButton = nullptr;
  QRadioButton* IntervalRadioButton = nullptr;
  QRadioButton* ReturnRadioButton = nullptr;
  QRadioButton* X_ConfidenceRadioButton = nullptr;
  QRadioButton* PaperRadioButton = nullptr;
  QComboBox* PaperComboBox = nullptr;      // the paper; first: that of the fitted function
  QCheckBox* LogXCheckBox = nullptr;       // X logarithmic on the paper
  QCheckBox* LogPeriodCheckBox = nullptr;  // return periods on a logarithmic axis
  QPushButton* GoButton = nullptr;
  QPushButton* SaveAsButton = nullptr;  // PNG, SVG, PDF or bitmap
  // The picture on the page, as Save as writes it.
  std::shared_ptr<const graphs::GraphPicture> ShownPicture;

  // --- Handlers: frame ------------------------------------------------------
  void FormCreate();
  void ShowPage(QWidget* page);
  void IntroTabSheetShow();
  void ContButtonClick();
  void DisContButtonClick();
  void ConfButtonClick();
  void InterButtonClick();
  void BackButtonClick();

  // --- Handlers: Input page -------------------------------------------------
  void InputTabSheetShow();
  void FillDataGrid(int lastRow);
  void StringGrid1SetEditText(int column, int row, const QString& text);
  // False (after telling why) when the pasted text cannot be taken; then
  // nothing has changed.
  bool HandlePasteMultiCell(StringGrid& grid, int column, const QString& text, int row);
  // Opens `fileName` as Open input does after its dialog: an input file, or
  // a plain value file or a CSV column.
  void OpenInputFile(const std::string& fileName);
  void NrOfDataEditExit();
  void ThresholdEditExit();
  void NrOfClassesEditEnter();
  void NrOfClassesEditExit();
  void OptionComboBoxChange();
  // The plotting position chosen on the Input page.
  engine::PlottingPosition SelectedPlottingPosition() const;
  void AllRadioButtonClick();
  void ExpNormRadioButtonClick();
  // Every other preference button: store its code, then DistrWarning.
  void PreferenceRadioButtonClick(const char* code);
  void DistrWarning();
  void HintButtonClick();
  void PasteHelpButtonClick();
  void ClearButtonClick();
  void InputOpenActionExecute();
  void InputSaveActionExecute();
  bool AskInputFileName();
  // Writes the input file, runs the analysis with its progress lines and
  // pauses, and loads the report. True when a usable report was loaded.
  bool RunAndReport();
  void HideGraphControls();

  // --- Handlers: Output page ------------------------------------------------
  void OutputTabSheetShow();
  void OutputTabSheetExit();
  void ViewGraphButtonClick();
  void CalcButtonClick();
  void OutputOpenActionExecute();

  // --- Handlers: Graphics page ----------------------------------------------
  void GraphicsTabSheetShow();
  void GraphOpenActionExecute();
  void SelectButtonClick();
  void GoButtonClick();
  void SaveGraphButtonClick();
  void SaveBlWhButtonClick();
  void SaveAsButtonClick();
  // The paper and axis options of the Graphics page enabled for the type chosen.
  void UpdateGraphOptions();
  // The 90% limits of the Design values page's bootstrap (function chosen
  // anew) for the probability paper, when it was run for the report drawn.
  std::optional<graphs::PaperBand> BootstrapBand() const;
  std::string DesignReportName;  // the report of the run the Design values page shows
  void DrawGraph();

  // --- Edit menu --------------------------------------------------------------
  void EditCopy();
  void EditCut();
  void EditPaste();
  void EditUndo();
  void EditDelete();

  // --- Desktop conventions ----------------------------------------------------
  // The files opened or saved last, newest first (QSettings).
  QStringList RecentFiles() const;
  void AddRecentFile(const std::string& fileName);
  void UpdateWindowTitle();
  void SetModified(bool modified);
  // Asks before the program ends with unsaved data; true to go on.
  bool MayClose();
  // Chooses the column of a value file with several (1, 2, ...); nullopt
  // when cancelled. Empty: a list dialog asks (AskForValueColumn). Tests
  // replace it.
  std::function<std::optional<int>(const QStringList& headings)> ChooseCsvColumn;
  std::optional<int> AskForValueColumn(const QStringList& columns);

  // The dialogs' settings.
  FileDialogRequest InputOpenDialog() const;
  FileDialogRequest InputSaveDialog() const;
  FileDialogRequest OutputOpenDialog() const;
  static FileDialogRequest GraphOpenDialog();
  static FileDialogRequest GraphSaveDialog();

  report::TDMQuilmor* DataModule() { return m_dm; }
  RunState& State() { return m_state; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenu();
  QWidget* BuildIntroPage();
  QWidget* BuildInputPage();
  QWidget* BuildOutputPage();
  QWidget* BuildGraphicsPage();
  void PageChanged(int index);
  void ShowMemo(QPlainTextEdit* memo);
  void SelectBestFittingOfAll();
  void GridTextEdited(int column, int row, const QString& text);
  void ShowReportLines();
  // Shows the headings of the table at the top of the report's view when
  // they have scrolled out of it.
  void UpdateOutputHeading();
  // Draws the graph again in the mode of ColourGraph and saves it.
  void SaveGraph();
  void Message(const std::string& text);
  // Open input and Open output, steps 1 and 2: the dialog, then FileName and
  // the check that the file exists. False after the message of a cancelled
  // dialog or a missing file.
  bool ChooseExistingFile(const FileDialogRequest& dialog, const std::string& noneSelected);
  void SetDialogFolderFromFile(const std::string& fileName);
  void ResizeRowArrays(int rows);
  // Nr. of Data, the data module's count and the page's counters follow the
  // grid's rows.
  void SyncRowCount();
  void GridPasteRequested(int firstRow, int lastRow, const QString& text);
  // Puts a clipboard text into the value column from `firstRow` (a single
  // value into the rows to `lastRow`); false after telling why not.
  bool PasteColumn(int firstRow, int lastRow, const QString& text);
  void GridCellCommitted(int row);
  void GridColumnChanged();
  // The checks of Save-Run before its file dialog; false after the message.
  bool CheckBeforeSaving();
  // Takes the grid into the data module: every row, an empty cell skipped.
  void GridToDataModule();
  void RebuildRecentMenu();
  void OpenRecentFile(const QString& fileName);

  UserInteraction& m_ui;
  RunState& m_state;
  report::TDMQuilmor* m_dm = nullptr;
  TFinishForm* m_finishForm = nullptr;
  TCalcForm* m_calcForm = nullptr;
  int m_currentPage = -1;
  bool m_placed = false;
  bool m_closeAfterRun = false;
  std::vector<ReportTable> m_reportTables;
};

}  // namespace quilmor::ui
