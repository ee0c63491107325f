// The main window: menu, the Intro, Input, Output and Graphics pages, and the
// handlers of their controls, named after control and event.
#pragma once

#include <QImage>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "engine/analysis_state.hpp"
#include "report/data_module.hpp"
#include "textio/interaction.hpp"
#include "ui/base_form.hpp"

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
class QRadioButton;
class QButtonGroup;
class QTabWidget;

namespace quilmor::ui {

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

// The user's number conversion with the system's decimal separator (then the
// other one of "," and ".").
std::optional<double> StringToFloat(const QString& text);
// The system decimal separator: "," or ".".
char SystemDecimalSeparator();
// The message for a text that is no number.
std::string NotARealMessage(const QString& text);

// One distribution preference button.
struct PreferenceButtonInfo {
  const char* name;  // object name
  const char* caption;
  const char* code;  // stored in Preference
};
// In their order on the page, top to bottom.
extern const PreferenceButtonInfo kPreferenceButtons[20];

class TMainForm : public TBaseForm {
  Q_OBJECT

 public:
  // FormCreate runs here. The data module, the finish window and the
  // calculator window are created after this window and joined with Attach.
  TMainForm(UserInteraction& ui, engine::AnalysisState& state);
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
  // The drawn graph (623 x 495).
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

  QTabWidget* PageControl1 = nullptr;
  QWidget* IntroTabSheet = nullptr;
  QWidget* InputTabSheet = nullptr;
  QWidget* OutputTabSheet = nullptr;
  QWidget* GraphicsTabSheet = nullptr;

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
  QPushButton* SeeOutputButton = nullptr;
  QPushButton* ViewGraphButton = nullptr;
  QPushButton* CalcButton = nullptr;

  // --- Graphics page --------------------------------------------------------
  QLabel* GraphImage = nullptr;
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
  QPushButton* GoButton = nullptr;

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
  // False when the pasted text cannot be taken (the caller reports it).
  bool HandlePasteMultiCell(StringGrid& grid, int column, const QString& text, int row);
  void NrOfDataEditExit();
  void ThresholdEditExit();
  void NrOfClassesEditEnter();
  void NrOfClassesEditExit();
  void OptionComboBoxChange();
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
  void DrawGraph();

  // --- Edit menu --------------------------------------------------------------
  void EditCopy();
  void EditCut();
  void EditPaste();

  // The dialogs' settings.
  FileDialogRequest InputOpenDialog() const;
  FileDialogRequest InputSaveDialog() const;
  FileDialogRequest OutputOpenDialog() const;
  static FileDialogRequest GraphOpenDialog();
  static FileDialogRequest GraphSaveDialog();

  report::TDMQuilmor* DataModule() { return m_dm; }
  engine::AnalysisState& State() { return m_state; }

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
  // Draws the graph again in the mode of ColourGraph and saves it.
  void SaveGraph();
  void Message(const std::string& text);
  // Open input and Open output, steps 1 and 2: the dialog, then FileName and
  // the check that the file exists. False after the message of a cancelled
  // dialog or a missing file.
  bool ChooseExistingFile(const FileDialogRequest& dialog, const std::string& noneSelected);
  void SetDialogFolderFromFile(const std::string& fileName);
  void ResizeRowArrays(int rows);

  UserInteraction& m_ui;
  engine::AnalysisState& m_state;
  report::TDMQuilmor* m_dm = nullptr;
  TFinishForm* m_finishForm = nullptr;
  TCalcForm* m_calcForm = nullptr;
  int m_currentPage = -1;
  bool m_placed = false;
  // The value texts of the grid when the Input page was left, put back when
  // it is shown again (typed texts reach the data module only at Save-Run).
  std::optional<std::vector<QString>> m_gridSnapshot;
};

}  // namespace quilmor::ui
