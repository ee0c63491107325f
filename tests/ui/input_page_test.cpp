// The Input page driven as a user drives it: typing and pasting a series, the
// checks of Nr. of Data, the intervals and the threshold, the option list and
// the preference buttons, Clear data, Open input and the steps of Save-Run
// before the run.
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include "textio/text_file.hpp"
#include "ui/paste.hpp"
#include "ui_fixture.hpp"

using quilmor::testing::ReadBytes;
using quilmor::testing::UiRig;
using quilmor::testing::WriteBytes;
using Messages = std::vector<std::string>;

namespace {

constexpr const char* kDistrWarning =
    "Please be aware that in some cases this distribution may not be suitable. Compare the "
    "efficiency (correlation) coefficients in the output files below the table.";

QStringList Column(const quilmor::ui::StringGrid* grid, int column) {
  QStringList texts;
  for (int r = 0; r < grid->rowCount(); ++r) texts << grid->CellText(column, r);
  return texts;
}

QStringList Numbers(int from, int to) {
  QStringList texts;
  for (int i = from; i <= to; ++i) texts << QString::number(i);
  return texts;
}

}  // namespace

class InputPageTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<UiRig> rig;

  quilmor::ui::TMainForm& Main() { return rig->Main(); }

  // Pastes `text` into the value cell of `row` with Ctrl+V in its editor.
  void PasteIntoCell(int row, const QString& text) {
    QApplication::clipboard()->setText(text);
    auto* grid = Main().StringGrid1;
    grid->setFocus();
    grid->setCurrentCell(row, 1);
    grid->editItem(grid->item(row, 1));
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(editor && editor->objectName() == QLatin1String("StringGrid1Editor"));
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
  }

  // An input file written by the data module itself.
  std::string WriteInputFile(const std::string& name, const std::vector<double>& values,
                             double threshold = 0.0) {
    quilmor::testing::ScriptedInteraction quiet;
    quilmor::report::TDMQuilmor writer(quiet);
    writer.FileName = (rig->folder / name).string();
    writer.Title1 = "Wabash River";
    writer.Title2 = "Annual peak flow, cfs";
    writer.InputThreshold = threshold;
    writer.NrOfData = static_cast<int>(values.size());
    writer.RowValues = values;
    writer.Skipped.assign(values.size(), false);
    if (!writer.WriteInputFile()) qFatal("could not write the input file");
    return writer.FileName;
  }

 private slots:
  void initTestCase() {
    quilmor::testing::UseDecimalPoint('.');
    QStandardPaths::setTestModeEnabled(true);  // recent files in a test folder
    QSettings().clear();
  }
  void init() {
    quilmor::testing::UseDecimalPoint('.');
    rig = std::make_unique<UiRig>();
    QVERIFY(rig->ShowMain());
    rig->ShowInputPage();
  }
  void cleanup() { rig.reset(); }

  void defaultRowsAtStart() {
    auto& main = Main();
    QCOMPARE(main.StatusText(),
             QStringLiteral("Enter data or use \"Open\" to see examples under \"Data\" or to "
                            "edit existing files. Thereafter use \"Save-Run\"."));
    QVERIFY(main.InputSaveAction->isEnabled());
    QCOMPARE(Column(main.StringGrid1, 0), Numbers(1, 20));
    // Cells never filled are empty: rows without a value.
    QCOMPARE(Column(main.StringGrid1, 1), QStringList(20, QString()));
    QCOMPARE(main.StringGrid1->columnWidth(0), 62);
    QCOMPARE(main.StringGrid1->columnWidth(1), 85);
    QCOMPARE(main.NrOfDataEdit->text(), QStringLiteral("20"));
    QCOMPARE(main.ThresholdEdit->text(), QStringLiteral("0"));
    QCOMPARE(main.NrOfClassesEdit->text(), QStringLiteral("5"));
    QVERIFY(main.AllRadioButton->isChecked());
    QVERIFY(main.AllRadioButton->font().bold());
    QCOMPARE(main.OptionComboBox->currentIndex(), 0);
    QCOMPARE(main.OptionComboBox->itemText(0),
             QStringLiteral("No breakpoint allowed, even if detected"));
    QCOMPARE(main.OptionComboBox->itemText(1),
             QStringLiteral("Allow a breakpoint, if it can be detected"));
    QCOMPARE(rig->Dm().Preference, std::string("1"));
    QCOMPARE(rig->Dm().NrOfIntervals, std::string("5"));
    QCOMPARE(rig->Dm().NrOfData, 20);
    QVERIFY(!rig->app->state.BreakPointAllowed);
    QVERIFY(!main.DataPresent);
    QCOMPARE(main.NrOfDataEdit->toolTip(), QStringLiteral("Between 6 and 2500"));
    QCOMPARE(main.NrOfClassesEdit->toolTip(), QStringLiteral("Between 2 and 20"));
    QCOMPARE(main.ThresholdEdit->toolTip(),
             QStringLiteral("All values below threshold are not used"));
    QCOMPARE(main.Title2Edit->toolTip(), QStringLiteral("Details about the variable and units"));
  }

  void preferenceButtonsInPageOrder() {
    const QStringList captions = {"Best fitting of all",
                                  "Normal",
                                  "Logarithmic Normal",
                                  "Root Normal",
                                  "Square Normal",
                                  "Generalized Normal",
                                  "Logistic",
                                  "Logarithmic Logistic",
                                  "Generalized Logistic",
                                  "Gumbel (Fisher-Tippett I)",
                                  "Gumbel Generalized",
                                  "Gumbel Mirrored",
                                  "Generalized Gumbel Mirrored",
                                  "Frechet (Fisher-Tippett II)",
                                  "Pareto",
                                  "Exponential (Poisson type)",
                                  "Weibull",
                                  "Weibull generalized",
                                  "Fisher-Tippet III",
                                  "Student's t-distrib. "};
    QStringList shown;
    int lastTop = -1;
    for (QRadioButton* button : Main().PreferenceRadioButtons) {
      shown << button->text();
      QVERIFY(button->y() > lastTop);  // top to bottom
      lastTop = button->y();
    }
    QCOMPARE(shown, captions);
  }

  // --- Typing and pasting -----------------------------------------------------

  void typedValuesStayInTheGrid() {
    rig->TypeIntoCell(0, QStringLiteral("12.5"));
    rig->TypeIntoCell(1, QStringLiteral("3,25"));
    QVERIFY(Main().DataPresent);
    QCOMPARE(Main().StringGrid1->CellText(1, 0), QStringLiteral("12.5"));
    QCOMPARE(Main().StringGrid1->CellText(1, 1), QStringLiteral("3,25"));
    QVERIFY(rig->user.messages.empty());
    // Typed values survive a visit to another page.
    Main().ShowPage(Main().IntroTabSheet);
    Main().ShowPage(Main().InputTabSheet);
    QCOMPARE(Main().StringGrid1->CellText(1, 0), QStringLiteral("12.5"));
    QCOMPARE(Main().StringGrid1->CellText(1, 1), QStringLiteral("3,25"));
    QCOMPARE(Main().StringGrid1->rowCount(), 20);
  }

  void pastedColumnWithPointSeparator() {
    // A spreadsheet column as this system's clipboard holds it (LF ends).
    PasteIntoCell(0, QStringLiteral("1.5\n2,5\n"));
    auto& main = Main();
    QCOMPARE(Column(main.StringGrid1, 1), (QStringList{"1.5", "25"}));
    QCOMPARE(Column(main.StringGrid1, 0), (QStringList{"1", "2"}));
    QCOMPARE(rig->Dm().NrOfData, 2);
    QVERIFY(main.DataPresent);
    // Two values are below the minimum; the field shows the rows there are.
    QCOMPARE(rig->user.messages, Messages{" The minimum number of data is 6"});
    QCOMPARE(main.NrOfDataEdit->text(), QStringLiteral("2"));
  }

  void pastedColumnWithCommaSeparator() {
    quilmor::testing::UseDecimalPoint(',');
    PasteIntoCell(0, QStringLiteral("1,5\r\n2.5\r\n-3,75\r\n4\r\n5\r\n6\r\n7\r\n"));
    QCOMPARE(Column(Main().StringGrid1, 1),
             (QStringList{"1,5", "25", "-3,75", "4", "5", "6", "7"}));
    QCOMPARE(Main().NrOfDataEdit->text(), QStringLiteral("7"));
    QVERIFY(rig->user.messages.empty());
  }

  void threeLinesWithoutFinalLineEndGiveThreeRows() {
    PasteIntoCell(0, QStringLiteral("10\r\n20\r\n30"));
    QCOMPARE(Main().StringGrid1->rowCount(), 3);
    QCOMPARE(rig->Dm().NrOfData, 3);
    QCOMPARE(Column(Main().StringGrid1, 1), (QStringList{"10", "20", "30"}));
  }

  void pastedNumbersKeepTheirValueAndALetterStopsThePaste() {
    PasteIntoCell(0, QStringLiteral("1.5e3\n2E-4\n1 234.5\n4\n5\n6\n"));
    QCOMPARE(Column(Main().StringGrid1, 1),
             (QStringList{"1.5e3", "2E-4", "1234.5", "4", "5", "6"}));
    QVERIFY(rig->user.messages.empty());
    // A letter: nothing of the paste is applied.
    const QStringList before = Column(Main().StringGrid1, 1);
    PasteIntoCell(0, QStringLiteral("7\n12a\n9\n"));
    QCOMPARE(rig->user.messages,
             Messages{"Row 2 of the pasted text holds \"12a\", which is not a number; nothing was "
                      "pasted"});
    QCOMPARE(Column(Main().StringGrid1, 1), before);
    // Below the first row a column overwrites and adds rows; rows above stay.
    rig->user.messages.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    PasteIntoCell(4, QStringLiteral("50\n60\n70\n"));
    QCOMPARE(Column(Main().StringGrid1, 1),
             (QStringList{"1.5e3", "2E-4", "1234.5", "4", "50", "60", "70"}));
    QCOMPARE(Main().NrOfDataEdit->text(), QStringLiteral("7"));
    // Ctrl+Z takes the paste back.
    auto* grid = Main().StringGrid1;
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Column(grid, 1), before);
    QCOMPARE(Main().NrOfDataEdit->text(), QStringLiteral("6"));
  }

  void selectionCommandsAndRows() {
    auto* grid = Main().StringGrid1;
    PasteIntoCell(0, QStringLiteral("1\n2\n3\n4\n5\n6\n7\n8\n"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    grid->setFocus();
    grid->clearSelection();
    grid->setRangeSelected(QTableWidgetSelectionRange(1, 1, 3, 1), true);
    QTest::keyClick(grid, Qt::Key_Delete);  // every selected cell
    QCOMPARE(Column(grid, 1), (QStringList{"1", "", "", "", "5", "6", "7", "8"}));
    grid->clearSelection();
    grid->setRangeSelected(QTableWidgetSelectionRange(4, 1, 5, 1), true);
    QTest::keyClick(grid, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("5\n6\n"));
    QCOMPARE(Column(grid, 1), (QStringList{"1", "", "", "", "", "", "7", "8"}));
    // One value over a selection fills it.
    QApplication::clipboard()->setText(QStringLiteral("9\n"));
    grid->clearSelection();
    grid->setRangeSelected(QTableWidgetSelectionRange(1, 1, 2, 1), true);
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Column(grid, 1), (QStringList{"1", "9", "9", "", "", "", "7", "8"}));
    // Rows in and out; the serial numbers follow.
    grid->clearSelection();
    grid->setCurrentCell(0, 1);
    Main().InsertRowMenuItem->trigger();
    QCOMPARE(Column(grid, 1), (QStringList{"", "1", "9", "9", "", "", "", "7", "8"}));
    QCOMPARE(Column(grid, 0), Numbers(1, 9));
    grid->clearSelection();
    grid->setRangeSelected(QTableWidgetSelectionRange(3, 1, 6, 1), true);
    Main().DeleteRowsMenuItem->trigger();
    QCOMPARE(Column(grid, 1), (QStringList{"", "1", "9", "7", "8"}));
    QCOMPARE(Main().NrOfDataEdit->text(), QStringLiteral("5"));
    // Each step is undone in turn.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Column(grid, 1), (QStringList{"1", "9", "9", "", "", "", "7", "8"}));
    QVERIFY(Main().windowTitle().startsWith(QStringLiteral("New data* - ")));
  }

  void pasteWithAnEmptyLineGivesARowWithoutAValue() {
    PasteIntoCell(0, QStringLiteral("1\n\n3\n4\n5\n6\n7\n"));
    QVERIFY(rig->user.messages.empty());
    QCOMPARE(Main().StringGrid1->rowCount(), 7);
    QCOMPARE(Main().StringGrid1->CellText(1, 0), QStringLiteral("1"));
    QCOMPARE(Main().StringGrid1->CellText(1, 1), QString());
    QVERIFY(Main().DataPresent);
    // A text without any value is refused.
    PasteIntoCell(0, QStringLiteral("\n\n"));
    QCOMPARE(rig->user.messages,
             Messages{"There are no data to be pasted or the data are incompatible"});
    QCOMPARE(Main().StringGrid1->rowCount(), 7);
  }

  void pasteWithCtrlVOnTheGridAndThroughTheEditMenu() {
    QApplication::clipboard()->setText(QStringLiteral("5\n6\n7\n8\n9\n10\n"));
    auto* grid = Main().StringGrid1;
    grid->setFocus();
    grid->setCurrentCell(0, 1);
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Column(grid, 1), (QStringList{"5", "6", "7", "8", "9", "10"}));
    QApplication::clipboard()->setText(QStringLiteral("1\n2\n3\n4\n5\n6\n7\n8\n"));
    grid->setFocus();
    grid->setCurrentCell(0, 1);
    Main().PasteMenuItem->trigger();
    QCOMPARE(grid->rowCount(), 8);
    QVERIFY(rig->user.messages.empty());
  }

  void aSingleValuePastesIntoOneCell() {
    PasteIntoCell(3, QStringLiteral("42.5"));
    // The editor inserts it like typed text; nothing spreads.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(Main().StringGrid1->CellText(1, 3), QStringLiteral("42.5"));
    QCOMPARE(Main().StringGrid1->rowCount(), 20);
  }

  // --- Nr. of Data --------------------------------------------------------------

  void nrOfDataRules_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("fieldAfter");
    QTest::addColumn<int>("rowsAfter");
    QTest::addColumn<QStringList>("messages");
    // The field always ends showing the rows the grid has.
    QTest::newRow("not an integer")
        << "2O"
        << "20" << 20 << QStringList{"The number of data is not a valid integer"};
    QTest::newRow("below 6") << "5"
                             << "6" << 6 << QStringList{" The minimum number of data is 6"};
    QTest::newRow("6 empty rows go at once") << "6"
                                             << "6" << 6 << QStringList{};
    QTest::newRow("unchanged") << "20"
                               << "20" << 20 << QStringList{};
    QTest::newRow("above 2500")
        << "3000"
        << "3000" << 3000
        << QStringList{" The program uses the first 2500 data above the given threshold only",
                       " Add data in the last cells at the end of the column"};
    QTest::newRow("absurd") << "100000000"
                            << "20" << 20
                            << QStringList{
                                   " The program uses the first 2500 data above the given "
                                   "threshold only",
                                   "The number of data is too large: the grid holds at "
                                   "most 100000 rows"};
  }

  void nrOfDataRules() {
    QFETCH(QString, typed);
    QFETCH(QString, fieldAfter);
    QFETCH(int, rowsAfter);
    QFETCH(QStringList, messages);
    rig->TypeAndLeave(Main().NrOfDataEdit, typed);
    QStringList shown;
    for (const std::string& m : rig->user.messages) shown << QString::fromStdString(m);
    QCOMPARE(shown, messages);
    QCOMPARE(Main().NrOfDataEdit->text(), fieldAfter);
    QCOMPARE(Main().StringGrid1->rowCount(), rowsAfter);
  }

  void growingKeepsTheValuesAndAddsEmptyRows() {
    rig->TypeIntoCell(0, QStringLiteral("7.25"));
    rig->TypeIntoCell(19, QStringLiteral("99"));
    rig->TypeAndLeave(Main().NrOfDataEdit, QStringLiteral("25"));
    QCOMPARE(rig->user.messages, Messages{" Add data in the last cells at the end of the column"});
    auto* grid = Main().StringGrid1;
    QCOMPARE(grid->rowCount(), 25);
    QCOMPARE(Column(grid, 0), Numbers(1, 25));
    QCOMPARE(grid->CellText(1, 0), QStringLiteral("7.25"));
    QCOMPARE(grid->CellText(1, 19), QStringLiteral("99"));
    for (int r = 20; r < 25; ++r) QCOMPARE(grid->CellText(1, r), QString());
    QCOMPARE(rig->Dm().NrOfData, 25);
    QCOMPARE(Main().TypedNrOfData, 25);
  }

  void shrinkingRemovesEmptyRowsOnlyAndNeverValues() {
    rig->TypeIntoCell(0, QStringLiteral("4"));
    rig->TypeIntoCell(16, QStringLiteral("17"));
    rig->TypeAndLeave(Main().NrOfDataEdit, QStringLiteral("15"));
    QCOMPARE(rig->user.messages, Messages{" To remove data, empty the relevant data cells "});
    QCOMPARE(Main().StringGrid1->rowCount(), 20);
    QCOMPARE(Main().NrOfDataEdit->text(), QStringLiteral("20"));
    rig->user.messages.clear();
    rig->TypeAndLeave(Main().NrOfDataEdit, QStringLiteral("17"));
    QVERIFY(rig->user.messages.empty());
    QCOMPARE(Main().StringGrid1->rowCount(), 17);
    QCOMPARE(rig->Dm().NrOfData, 17);
    // What the page shows is what it holds when shown again.
    Main().ShowPage(Main().IntroTabSheet);
    Main().ShowPage(Main().InputTabSheet);
    QCOMPARE(Main().StringGrid1->rowCount(), 17);
    QCOMPARE(Main().StringGrid1->CellText(1, 16), QStringLiteral("17"));
  }

  void leavingTheThresholdRunsTheCheckToo() {
    rig->TypeAndLeave(Main().NrOfDataEdit, QStringLiteral("20"));
    Main().NrOfDataEdit->setText(QStringLiteral("4"));
    rig->TypeAndLeave(Main().ThresholdEdit, QStringLiteral("x1"));
    QCOMPARE(rig->user.messages,
             (Messages{"The threshold is not a valid real", " The minimum number of data is 6"}));
    QCOMPARE(Main().NrOfDataEdit->text(), QStringLiteral("6"));
    QCOMPARE(Main().StringGrid1->rowCount(), 6);
  }

  // --- Intervals ----------------------------------------------------------------

  void intervalRules_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("fieldAfter");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("message");
    QTest::newRow("10") << "10"
                        << "10"
                        << "10"
                        << "";
    QTest::newRow("2") << "2"
                       << "2"
                       << "2"
                       << "";
    QTest::newRow("20") << "20"
                        << "20"
                        << "20"
                        << "";
    QTest::newRow("25") << "25"
                        << "20"
                        << "5"
                        << "Do not use more than 20 classes and not less than 2";
    QTest::newRow("1") << "1"
                       << "2"
                       << "5"
                       << "Do not use more than 20 classes and not less than 2";
    QTest::newRow("text") << "ten"
                          << "ten"
                          << "5"
                          << "The number of classes is not a valid integer";
  }

  void intervalRules() {
    QFETCH(QString, typed);
    QFETCH(QString, fieldAfter);
    QFETCH(QString, stored);
    QFETCH(QString, message);
    rig->TypeAndLeave(Main().NrOfClassesEdit, typed);
    Messages expected = {
        "For interval analysis (histogram) a number of interval classes is needed.  It is "
        "recommended to use 2, 5, 10 or 20 classes.  Use 10 or 20 only when there are more "
        "than 50 resp. 100 data"};
    if (!message.isEmpty()) expected.push_back(message.toStdString());
    QCOMPARE(rig->user.messages, expected);
    QCOMPARE(Main().NrOfClassesEdit->text(), fieldAfter);
    QCOMPARE(QString::fromStdString(rig->Dm().NrOfIntervals), stored);
  }

  // --- Option list and preference ---------------------------------------------------

  void allowingABreakpointSelectsBestOfAll() {
    auto& main = Main();
    main.PreferenceRadioButtons[3]->click();  // Root Normal
    QVERIFY(!main.OptionComboBox->isEnabled());
    main.AllRadioButton->click();
    QVERIFY(main.OptionComboBox->isEnabled());
    main.OptionComboBox->setCurrentIndex(1);
    emit main.OptionComboBox->activated(1);  // the user's choice
    QVERIFY(main.AllRadioButton->isChecked());
    QCOMPARE(rig->Dm().Preference, std::string("1"));
    QVERIFY(rig->app->state.BreakPointAllowed);
    QCOMPARE(main.OptionComboBox->currentIndex(), 1);
    // A named distribution afterwards: list disabled and back at index 0,
    // but the break point stays allowed until the page is shown again.
    rig->user.messages.clear();
    main.PreferenceRadioButtons[16]->click();  // Weibull
    QCOMPARE(rig->Dm().Preference, std::string("57"));
    QVERIFY(!main.OptionComboBox->isEnabled());
    QCOMPARE(main.OptionComboBox->currentIndex(), 0);
    QCOMPARE(main.OptionComboBox->currentText(),
             QStringLiteral("No breakpoint allowed, even if detected"));
    QVERIFY(rig->app->state.BreakPointAllowed);
    QCOMPARE(rig->user.messages, Messages{kDistrWarning});
    main.ShowPage(main.IntroTabSheet);
    main.ShowPage(main.InputTabSheet);
    QVERIFY(!rig->app->state.BreakPointAllowed);
  }

  void choosingNoBreakpointClearsTheFlag() {
    auto& main = Main();
    main.OptionComboBox->setCurrentIndex(1);
    emit main.OptionComboBox->activated(1);
    main.OptionComboBox->setCurrentIndex(0);
    emit main.OptionComboBox->activated(0);
    QVERIFY(!rig->app->state.BreakPointAllowed);
    QCOMPARE(main.OptionComboBox->currentIndex(), 0);
  }

  void preferenceButtons_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("message");  // 0 none, 1 warning, 2 generalized normal
    const struct {
      const char* caption;
      const char* code;
      int message;
    } rows[] = {{"Best fitting of all", "1", 0},
                {"Normal", "21", 1},
                {"Logarithmic Normal", "22", 1},
                {"Root Normal", "24", 1},
                {"Square Normal", "23", 1},
                {"Generalized Normal", "25", 2},
                {"Logistic", "53", 1},
                {"Logarithmic Logistic", "54", 1},
                {"Generalized Logistic", "55", 1},
                {"Gumbel (Fisher-Tippett I)", "4", 1},
                {"Gumbel Generalized", "51", 1},
                {"Gumbel Mirrored", "5", 1},
                {"Generalized Gumbel Mirrored", "52", 1},
                {"Frechet (Fisher-Tippett II)", "58", 1},
                {"Pareto", "56", 1},
                {"Exponential (Poisson type)", "3", 1},
                {"Weibull", "57", 1},
                {"Weibull generalized", "60", 1},
                {"Fisher-Tippet III", "59", 1},
                {"Student's t-distrib. ", "62", 1}};
    int index = 0;
    for (const auto& row : rows) {
      QTest::newRow(row.caption) << index++ << row.code << row.message;
    }
  }

  void preferenceButtons() {
    QFETCH(int, index);
    QFETCH(QString, code);
    QFETCH(int, message);
    auto& main = Main();
    if (index == 0) main.PreferenceRadioButtons[1]->click();  // start elsewhere
    rig->user.messages.clear();
    QTest::mouseClick(main.PreferenceRadioButtons[static_cast<std::size_t>(index)], Qt::LeftButton,
                      {}, QPoint(6, 6));
    QVERIFY(main.PreferenceRadioButtons[static_cast<std::size_t>(index)]->isChecked());
    QCOMPARE(QString::fromStdString(rig->Dm().Preference), code);
    QCOMPARE(main.OptionComboBox->isEnabled(), message == 0);
    QCOMPARE(main.OptionComboBox->currentIndex(), 0);
    if (message == 0) QVERIFY(rig->user.messages.empty());
    if (message == 1) QCOMPARE(rig->user.messages, Messages{kDistrWarning});
    if (message == 2) {
      QCOMPARE(rig->user.messages.size(), std::size_t{1});
      QVERIFY(rig->user.messages[0].starts_with(
          "Please note that the normal distribution with exponentially transformed data is the "
          "only one not included in the group used to determine the \"Best of all\"."));
      QVERIFY(rig->user.messages[0].ends_with(
          "Compare the efficiency (correlation) coefficient in the output file below the "
          "table."));
    }
  }

  void hintAndPasteHelp() {
    auto& main = Main();
    QTest::mouseClick(main.HintButton, Qt::LeftButton);
    QCOMPARE(rig->user.messages,
             Messages{" The generalized normal distribution is the only one not in included in "
                      "\"Best of fitting of all\". Yet is widely applicable."});
    QCOMPARE(main.HintButton->toolTip(),
             QStringLiteral("Not included in \"Best of all\" but often quite effective"));
    QTest::mouseClick(main.PasteHelpButton, Qt::LeftButton);
    QVERIFY(!main.PasteHelpMemo->isHidden());
    QVERIFY(main.StringGrid1->isHidden());
    QVERIFY(main.SerialLabel->isHidden());
    QVERIFY(main.ValueLabel->isHidden());
    QCOMPARE(main.PasteHelpButton->text(), QStringLiteral("Close help"));
    QTest::mouseClick(main.PasteHelpButton, Qt::LeftButton);
    QVERIFY(main.PasteHelpMemo->isHidden());
    QVERIFY(!main.StringGrid1->isHidden());
    QCOMPARE(main.PasteHelpButton->text(), QStringLiteral(" Paste help "));
  }

  // --- Clear data -------------------------------------------------------------------

  void clearDataAsksFirst() {
    auto& main = Main();
    main.Title1Edit->setText(QStringLiteral("Rain"));
    rig->TypeIntoCell(0, QStringLiteral("3"));
    PasteIntoCell(0, QStringLiteral("1\n2\n3\n4\n5\n6\n7\n"));
    rig->user.yesNoAnswers = {false};
    QTest::mouseClick(main.ClearButton, Qt::LeftButton);
    QCOMPARE(rig->user.questions, Messages{"The data will be cleared, are you sure?"});
    QCOMPARE(main.StringGrid1->rowCount(), 7);
    rig->user.yesNoAnswers = {true};
    QTest::mouseClick(main.ClearButton, Qt::LeftButton);
    QCOMPARE(main.PageControl1->currentWidget(), main.InputTabSheet);
    QVERIFY(!main.DataPresent);
    QCOMPARE(main.Title1Edit->text(), QString());
    QCOMPARE(Column(main.StringGrid1, 0), Numbers(1, 20));
    QCOMPARE(Column(main.StringGrid1, 1), QStringList(20, QString()));
    QVERIFY(main.AllRadioButton->isChecked());
    QCOMPARE(main.NrOfDataEdit->text(), QStringLiteral("20"));
    QCOMPARE(main.windowTitle(), QStringLiteral("Quilmor cumulative frequency analysis"));
  }

  // --- Open input ---------------------------------------------------------------------

  void openInputFillsThePage() {
    auto& main = Main();
    main.NrOfClassesEdit->setText(QStringLiteral("10"));
    main.PreferenceRadioButtons[1]->click();
    rig->user.messages.clear();
    const std::string file = WriteInputFile("wabash.inp", {30800, 0.5, -250, 1.25, 7, 8, 9}, 2.5);
    rig->user.openFileAnswers.push_back(file);
    QTest::mouseClick(main.InputOpenButton, Qt::LeftButton);
    QCOMPARE(rig->user.openDialogs.back().filter, std::string("Input files (*.inp)|*.inp"));
    QCOMPARE(rig->user.openDialogs.back().defaultExtension, std::string("inp"));
    QVERIFY(rig->user.messages.empty());
    QCOMPARE(main.Title1Edit->text(), QStringLiteral("Wabash River"));
    QCOMPARE(main.Title2Edit->text(), QStringLiteral("Annual peak flow, cfs"));
    QCOMPARE(main.FileNameEdit->text(), QString::fromStdString(file));
    QVERIFY(!main.FileNameEdit->isHidden());
    QVERIFY(!main.FileNameLabel->isHidden());
    QCOMPARE(main.ThresholdEdit->text(), QStringLiteral("2.5"));
    QCOMPARE(main.NrOfDataEdit->text(), QStringLiteral("7"));
    // Values as the file holds them: E(10) keeps two digits for 0.5 and -250.
    QCOMPARE(Column(main.StringGrid1, 1),
             (QStringList{"30800", "0.5", "-250", "1.25", "7", "8", "9"}));
    QCOMPARE(Column(main.StringGrid1, 0), Numbers(1, 7));
    QVERIFY(main.DataPresent);
    QVERIFY(main.AllRadioButton->isChecked());
    QCOMPARE(main.OptionComboBox->currentIndex(), 0);
    QCOMPARE(main.NrOfClassesEdit->text(), QStringLiteral("10"));  // not in the file
    QCOMPARE(main.DialogFolder, rig->folder.Path().string());
    QVERIFY(main.OutputMemo->isHidden());
    QVERIFY(main.ChoicesPanel->isHidden());
    QCOMPARE(main.PageControl1->currentWidget(), main.InputTabSheet);
  }

  void openInputCancelledMissingOrCorrupt() {
    auto& main = Main();
    main.InputOpenAction->trigger();
    rig->user.openFileAnswers.push_back((rig->folder / "none.inp").string());
    main.InputOpenAction->trigger();
    QCOMPARE(rig->user.messages, (Messages{"No input file was selected",
                                           "File does not exist, please select another one,"}));
    QCOMPARE(rig->Dm().FileName, (rig->folder / "none.inp").string());
    // A data line that is no number: the program error, then the end.
    std::string text = ReadBytes(WriteInputFile("bad.inp", {1, 2, 3, 4, 5, 6}));
    text.replace(text.find("    3       3.00"), 16, "    3   three   ");
    WriteBytes(rig->folder / "bad.inp", text);
    rig->user.messages.clear();
    rig->user.openFileAnswers.push_back((rig->folder / "bad.inp").string());
    main.InputOpenAction->trigger();
    QCOMPARE(rig->user.messages.size(), std::size_t{1});
    QVERIFY(
        rig->user.messages[0].starts_with("A program error occurred.Real numbers in the "
                                          "inputfile \""));
    QCOMPARE(rig->user.quitRequests, 1);
    QVERIFY(!main.DataPresent);
  }

  // --- Save-Run before the run -----------------------------------------------------------

  void saveRunCancelledOrNotOverwritten() {
    auto& main = Main();
    rig->PasteValues({1, 2, 3, 4, 5, 6});
    QTest::mouseClick(main.InputSaveButton, Qt::LeftButton);  // dialog cancelled
    QCOMPARE(rig->user.saveDialogs.back().filter, std::string("Input files (*.inp)|*.inp"));
    QCOMPARE(rig->user.saveDialogs.back().defaultExtension, std::string("inp"));
    QVERIFY(main.SaveCancelled);
    const auto existing = rig->folder / "old.inp";
    WriteBytes(existing, "keep");
    rig->user.saveFileAnswers.push_back(existing.string());
    rig->user.yesNoAnswers = {false};
    rig->user.messages.clear();
    main.InputSaveAction->trigger();
    QCOMPARE(rig->user.questions, Messages{"The file already exists, overwrite?"});
    // "No" brings the dialog back for another name; cancelled there.
    QCOMPARE(rig->user.saveDialogs.size(), std::size_t{3});
    QCOMPARE(rig->user.messages, Messages{"The input data were not saved"});
    QCOMPARE(ReadBytes(existing), std::string("keep"));
  }

  void openAValueFileAndACsvColumn() {
    auto& main = Main();
    WriteBytes(rig->folder / "plain.txt", "12.5\n\n7\n8\n9\n10\n11\n");
    rig->user.openFileAnswers.push_back((rig->folder / "plain.txt").string());
    main.InputOpenAction->trigger();
    QVERIFY(rig->user.messages.empty());
    QCOMPARE(Column(main.StringGrid1, 1), (QStringList{"12.5", "", "7", "8", "9", "10", "11"}));
    QVERIFY(main.Modified);  // no input file holds them yet
    QCOMPARE(main.windowTitle(),
             QStringLiteral("plain.txt* - Quilmor cumulative frequency analysis"));
    WriteBytes(rig->folder / "flows.csv", "year;flow\n1990;30,5\n1991;41\n1992;\n");
    QStringList offered;
    main.ChooseCsvColumn = [&offered](const QStringList& headings) {
      offered = headings;
      return std::optional<int>(2);
    };
    rig->user.openFileAnswers.push_back((rig->folder / "flows.csv").string());
    main.InputOpenAction->trigger();
    QCOMPARE(offered, (QStringList{"year", "flow"}));
    QCOMPARE(Column(main.StringGrid1, 1), (QStringList{"30.5", "41", ""}));
    QCOMPARE(QFileInfo(main.RecentFiles().front()).fileName(), QStringLiteral("flows.csv"));
    QCOMPARE(QFileInfo(main.RecentFiles().at(1)).fileName(), QStringLiteral("plain.txt"));
    QCOMPARE(main.RecentMenu->actions().size(), main.RecentFiles().size());
  }

  // The column choice of a value file of several columns, for every
  // separator the command line's --column N reads: as many columns offered
  // as the reader counts, and the chosen one read.
  void valueFileColumnsAsTheReaderCountsThem() {
    auto& main = Main();
    const struct {
      const char* name;
      const char* content;
      QStringList offered;  // empty: no choice, the file is one column
      int choice;
      QStringList values;
    } rows[] = {
        {"comma.csv", "year,flow\n1990,30.5\n1991,41\n", {"year", "flow"}, 2, {"30.5", "41"}},
        {"semicolon.csv", "year;flow\n1990;30,5\n1991;\n", {"year", "flow"}, 2, {"30.5", ""}},
        {"tab.txt", "1990\t30.5\t7\n1991\t41\t8\n", {"Column 1", "Column 2", "Column 3"}, 3,
         {"7", "8"}},
        {"blanks.txt", "year  flow\n 1990   30.5\n1991 41\n", {"year", "flow"}, 2,
         {"30.5", "41"}},
        {"one.txt", "flow\n30,5\n41\n", {}, 0, {"30.5", "41"}},
    };
    for (const auto& row : rows) {
      rig->user.messages.clear();
      WriteBytes(rig->folder / row.name, row.content);
      QStringList offered;
      main.ChooseCsvColumn = [&offered, &row](const QStringList& headings) {
        offered = headings;
        return std::optional<int>(row.choice);
      };
      rig->user.openFileAnswers.push_back((rig->folder / row.name).string());
      main.InputOpenAction->trigger();
      QVERIFY2(rig->user.messages.empty(), row.name);
      QCOMPARE(offered, row.offered);
      QCOMPARE(Column(main.StringGrid1, 1), row.values);
    }
    // Without a test's chooser a list dialog asks, naming every column.
    main.ChooseCsvColumn = nullptr;
    QStringList items;
    QTimer::singleShot(0, [&items] {
      auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      items = dialog->comboBoxItems();
      dialog->setTextValue(items.value(1));
      dialog->accept();
    });
    rig->user.openFileAnswers.push_back((rig->folder / "tab.txt").string());
    main.InputOpenAction->trigger();
    QCOMPARE(items, (QStringList{"1: Column 1", "2: Column 2", "3: Column 3"}));
    QCOMPARE(Column(main.StringGrid1, 1), (QStringList{"30.5", "41"}));
  }

  void closingWithUnsavedDataAsksFirst() {
    auto& main = Main();
    main.close();  // nothing typed: the finish window at once
    QVERIFY(rig->user.questions.empty());
    QVERIFY(rig->app->finishForm.isVisible());
    rig->app->finishForm.hide();
    rig->TypeIntoCell(0, QStringLiteral("3"));
    QVERIFY(main.windowTitle().startsWith(QStringLiteral("New data*")));
    rig->user.yesNoAnswers = {false};
    main.close();
    QCOMPARE(rig->user.questions, Messages{"The data have not been saved, close anyway?"});
    QVERIFY(!rig->app->finishForm.isVisible());
    QVERIFY(main.isVisible());
    rig->user.yesNoAnswers = {true};
    main.close();
    QVERIFY(rig->app->finishForm.isVisible());
    QCOMPARE(rig->user.quitRequests, 0);  // only "Finish" ends the program
  }

  void saveRunRefusesValuesThatAreNoNumbers() {
    auto& main = Main();
    rig->PasteValues({1, 2, 3, 4, 5, 6});
    rig->TypeIntoCell(4, QStringLiteral("1.2.3"));
    QCOMPARE(rig->user.messages, Messages{"Row 5: \"1.2.3\" is not a valid real number"});
    rig->user.messages.clear();
    rig->user.saveFileAnswers.push_back((rig->folder / "new.inp").string());
    main.InputSaveAction->trigger();
    QCOMPARE(rig->user.messages, Messages{"Not all data values in the inputfile are real"});
    QVERIFY(rig->user.saveDialogs.empty());  // before the dialog
    rig->user.saveFileAnswers.clear();
    QVERIFY(!std::filesystem::exists(rig->folder / "new.inp"));
    rig->user.messages.clear();
    rig->TypeIntoCell(4, QStringLiteral("1.5"));
    main.ThresholdEdit->setText(QStringLiteral("low"));
    main.InputSaveAction->trigger();
    QCOMPARE(rig->user.messages, Messages{"The threshold is not a valid real"});
    QVERIFY(!std::filesystem::exists(rig->folder / "new.inp"));
    // Fewer than 6 values: refused before the dialog as well.
    rig->user.messages.clear();
    main.ThresholdEdit->setText(QStringLiteral("0"));
    rig->PasteValues({1, 2, 3});
    rig->user.messages.clear();
    main.InputSaveAction->trigger();
    QCOMPARE(rig->user.messages, Messages{" The minimum number of data is 6"});
    QVERIFY(rig->user.saveDialogs.empty());
  }
};

QTEST_MAIN(InputPageTest)
#include "input_page_test.moc"
