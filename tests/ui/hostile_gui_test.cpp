// The desktop program given files and clipboard texts that did not come from
// it: every one gets the program's message (or a clear one) and the window
// stays usable. Only a corrupt input file ends the program, through
// ProgramError. The files are those of tests/data/bad.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>
#include <filesystem>

#include "graphs/graph_data.hpp"
#include "run/save_run.hpp"
#include "textio/text_file.hpp"
#include "ui/paste.hpp"
#include "ui_fixture.hpp"

using quilmor::testing::ReadBytes;
using quilmor::testing::UiRig;
using quilmor::testing::WriteBytes;
using Messages = std::vector<std::string>;
Q_DECLARE_METATYPE(Messages)

namespace {

std::filesystem::path BadFile(const std::string& name) {
  return std::filesystem::path(QUILMOR_SOURCE_DIR) / "tests" / "data" / "bad" / name;
}

const std::string kInvalid = " The output file is invalid due to inadequate input data";
const std::string kNoCalculator =
    " If you wish to make use of the calculator, run the program again";

std::vector<double> Aircondit() { return {3, 5, 7, 18, 43, 85, 91, 98, 100, 130, 230, 487}; }

}  // namespace

class HostileGuiTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<UiRig> rig;
  quilmor::ui::TMainForm& Main() { return rig->Main(); }

  // A file of tests/data/bad copied into the rig's folder as `as`.
  std::string Copy(const QString& file, const std::string& as) {
    const std::filesystem::path copy = rig->folder / as;
    std::filesystem::copy_file(BadFile(file.toStdString()), copy,
                               std::filesystem::copy_options::overwrite_existing);
    return copy.string();
  }

  QStringList GridColumn(int column) {
    QStringList texts;
    for (int r = 0; r < Main().StringGrid1->rowCount(); ++r) {
      texts << Main().StringGrid1->CellText(column, r);
    }
    return texts;
  }

  void PasteIntoFirstCell(const QString& text) {
    QApplication::clipboard()->setText(text);
    auto* grid = Main().StringGrid1;
    grid->setFocus();
    grid->setCurrentCell(0, 1);
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
  }

 private slots:
  void init() {
    quilmor::testing::UseDecimalPoint('.');
    rig = std::make_unique<UiRig>();
    QVERIFY(rig->ShowMain());
    rig->ShowInputPage();
  }
  void cleanup() { rig.reset(); }

  // --- Open input ---------------------------------------------------------------

  void openInputFile_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("corrupt");
    QTest::addColumn<QStringList>("values");  // the value column afterwards
    const QStringList defaults(20, QString());
    const QStringList air = {"3",  "5",  "7",   "18",  "43",  "85",
                             "91", "98", "100", "130", "230", "487"};
    QTest::newRow("empty file") << "empty.inp" << false << QStringList();
    QTest::newRow("truncated header") << "truncated_header.inp" << false << QStringList();
    QTest::newRow("garbage after the header") << "garbage_after_header.inp" << true << defaults;
    // Text in the threshold line: told, and the program goes on.
    QTest::newRow("threshold with text") << "threshold_text.inp" << false << defaults;
    QTest::newRow("nan") << "value_nan.inp" << true << defaults;
    QTest::newRow("inf") << "value_inf.inp" << true << defaults;
    QTest::newRow("1,5") << "value_comma.inp" << true << defaults;
    QTest::newRow("1.5.5") << "value_two_points.inp" << true << defaults;
    QStringList huge = air;
    huge[2] = QStringLiteral("1E308");
    QTest::newRow("1e308") << "value_1e308.inp" << false << huge;
    QTest::newRow("LF only") << "lf_only.inp" << false << air;
    QTest::newRow("CR only") << "cr_only.inp" << false << air;
  }

  void openInputFile() {
    QFETCH(QString, file);
    QFETCH(bool, corrupt);
    QFETCH(QStringList, values);
    const std::string input = Copy(file, "series.inp");
    rig->user.openFileAnswers.push_back(input);
    Main().InputOpenAction->trigger();
    Messages expected;
    if (corrupt) {
      expected = {"A program error occurred.Real numbers in the inputfile \"" + input +
                  "\" are corrupt"};
    } else if (file == QLatin1String("threshold_text.inp")) {
      expected = {"The threshold in the inputfile \"" + input + "\" is not a real number"};
    } else if (values.isEmpty()) {
      expected = {"The input file \"" + input + "\" holds no data values"};
    }
    QCOMPARE(rig->user.messages, expected);
    // ProgramError asks the program to end; nothing else does.
    QCOMPARE(rig->user.quitRequests, corrupt ? 1 : 0);
    QCOMPARE(GridColumn(1), values);
    QVERIFY(Main().isVisible());
  }

  // --- Open output and draw every graph ----------------------------------------------

  void openReportAndDrawEveryGraph_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<Messages>("loadMessages");
    QTest::newRow("one line") << "one_line.out" << false << Messages{kInvalid, kNoCalculator};
    QTest::newRow("binary garbage") << "garbage.out" << true << Messages{kNoCalculator};
    QTest::newRow("markers missing") << "markers_missing.out" << true << Messages{kNoCalculator};
    QTest::newRow("markers repeated") << "markers_repeated.out" << true << Messages{kNoCalculator};
    QTest::newRow("numbers run together") << "fused_numbers.out" << true << Messages{kNoCalculator};
  }

  void openReportAndDrawEveryGraph() {
    QFETCH(QString, file);
    QFETCH(bool, usable);
    QFETCH(Messages, loadMessages);
    auto& main = Main();
    const std::string report = Copy(file, "report.out");
    main.ShowPage(main.OutputTabSheet);
    rig->user.openFileAnswers.push_back(report);
    main.OutputOpenAction->trigger();
    QCOMPARE(rig->user.messages, loadMessages);
    QCOMPARE(std::filesystem::exists(report), usable);
    // Every graph type: a message for what cannot be drawn, never an end.
    const char* buttons[] = {"CumulativeRadioButton", "IntervalRadioButton",
                             "X_ConfidenceRadioButton", "ReturnRadioButton", "QQRadioButton"};
    for (int type = 1; type <= 5; ++type) {
      rig->user.messages.clear();
      main.ShowPage(main.GraphicsTabSheet);
      main.SelectButtonClick();
      auto* radio = main.ChoicesPanel->findChild<QRadioButton*>(buttons[type - 1]);
      QVERIFY(radio);
      radio->setChecked(true);
      QTest::mouseClick(main.GoButton, Qt::LeftButton);
      QCOMPARE(main.GraphType, type);
      QCOMPARE(main.GraphBitmap.size(), QSize(623, 495));
      // What the reader says of this table, shown once.
      Messages expected;
      if (!usable) {
        expected = {quilmor::graphs::GraphOpenFailedMessage(rig->Dm().FileName)};
      } else {
        quilmor::testing::ScriptedInteraction quiet;
        quilmor::report::TDMQuilmor reader(quiet);
        const auto read = quilmor::graphs::ReadGraphData(reader, report, type);
        if (!read.message.empty()) expected = {read.message};
      }
      QCOMPARE(rig->user.messages, expected);
    }
    QCOMPARE(rig->user.quitRequests, 0);
    QVERIFY(main.isVisible());
  }

  // --- Open a graph -------------------------------------------------------------------------

  void openAGraphFileThatIsNoPicture_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("header of 100000 x 100000 pixels") << "huge_dimensions.bmp";
    QTest::newRow("garbage after BM") << "garbage.bmp";
    QTest::newRow("a report") << "markers_repeated.out";
  }

  void openAGraphFileThatIsNoPicture() {
    QFETCH(QString, file);
    const std::string picture = Copy(file, "graph.bmp");
    rig->user.openFileAnswers.push_back(picture);
    Main().GraphOpenAction->trigger();
    QCOMPARE(rig->user.messages,
             Messages{"The file \"" + picture + "\" is not a readable picture"});
    QCOMPARE(rig->user.quitRequests, 0);
    QVERIFY(Main().isVisible());
  }

  // --- The calculator with a damaged parameter file ---------------------------------------

  void calculatorWithADamagedParameterFile_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("why");
    QTest::newRow("unknown code") << "unknown_code.aux"
                                  << "its distribution code 99 is unknown";
    QTest::newRow("too few lines") << "too_few_lines.aux"
                                   << "it ends before the parameter B";
    QTest::newRow("NaN") << "nan_parameters.aux"
                         << "its parameter A is not a number";
    QTest::newRow("INF") << "inf_parameters.aux"
                         << "its parameter A is not a number";
    QTest::newRow("empty") << "empty.aux"
                           << "it is empty";
  }

  void calculatorWithADamagedParameterFile() {
    QFETCH(QString, file);
    QFETCH(QString, why);
    auto& main = Main();
    rig->PasteValues(Aircondit());
    rig->SaveRun("air.inp");
    QVERIFY(std::filesystem::exists(rig->folder / "air.aux"));
    const std::string aux = Copy(file, "air.aux");
    rig->user.messages.clear();
    QTest::mouseClick(main.CalcButton, Qt::LeftButton);
    auto& calc = rig->app->calcForm;
    QVERIFY(calc.isVisible());
    calc.Edit1->setText(QStringLiteral("100"));
    QTest::mouseClick(calc.Edit7, Qt::LeftButton);
    const std::string message =
        "The parameter file \"" + aux + "\" cannot be used: " + why.toStdString();
    QCOMPARE(rig->user.messages, Messages{message});
    QCOMPARE(calc.Edit2->text(), QString());
    QCOMPARE(rig->user.quitRequests, 0);
  }

  // --- Pasting what no spreadsheet gives ---------------------------------------------------

  void pasteOfHostileTexts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("refusedRow");  // 0: taken
    QTest::addColumn<int>("rows");
    // Lines ended by CR alone are lines as well.
    QTest::newRow("CR only") << "3\r5\r7\r18\r43\r85\r" << 0 << 6;
    // One value of a million digits is no number a double can hold: the
    // paste is refused whole and the grid stays as it was.
    QTest::newRow("1 MB line") << QString(1'000'000, QLatin1Char('9')) + "\r\n" +
                                      "5\r\n7\r\n18\r\n43\r\n85\r\n"
                               << 1 << 20;
    QTest::newRow("garbage") << QString::fromLatin1(
                                    "\x01\x02"
                                    "abc\xff\r\n\t\t\r\n5\r\n")
                             << 1 << 20;
    QTest::newRow("nan and inf") << "5\r\nnan\r\ninf\r\n5\r\n7\r\n18\r\n43\r\n" << 2 << 20;
  }

  void pasteOfHostileTexts() {
    QFETCH(QString, text);
    QFETCH(int, refusedRow);
    QFETCH(int, rows);
    PasteIntoFirstCell(text);
    if (refusedRow == 0) {
      QCOMPARE(rig->user.messages, Messages{});
    } else {
      QCOMPARE(rig->user.messages.size(), std::size_t{1});
      const std::string& message = rig->user.messages.front();
      QVERIFY2(message.starts_with("Row " + std::to_string(refusedRow) + " of the pasted text"),
               message.c_str());
      QVERIFY(message.ends_with(", which is not a number; nothing was pasted"));
      QVERIFY(message.size() < 200);
      QCOMPARE(GridColumn(1), QStringList(20, QString()));
    }
    QCOMPARE(Main().StringGrid1->rowCount(), rows);
    QCOMPARE(rig->user.quitRequests, 0);
  }

  void pasteOfMoreLinesThanTheGridHolds() {
    QString text;
    for (int i = 0; i <= quilmor::ui::kMaxGridRows; ++i) text += QStringLiteral("1\r\n");
    PasteIntoFirstCell(text);
    QCOMPARE(rig->user.messages,
             Messages{"The pasted text has more rows than the grid holds (100000); nothing was "
                      "pasted"});
    QCOMPARE(Main().StringGrid1->rowCount(), 20);
    QCOMPARE(rig->user.quitRequests, 0);
  }

  // --- Names with blanks and characters beyond ASCII -------------------------------------------

  void saveRunAndCalculatorInAFolderWithBlanksAndNonAscii() {
    auto& main = Main();
    const std::filesystem::path folder =
        rig->folder / "my data" / "Pegel \xc3\xa4\xc3\xb6\xc3\xbc \xe2\x82\xac";
    std::filesystem::create_directories(folder);
    const std::string input = (folder /
                               "Abfl\xc3\xbc\xc3\x9f"
                               "e 1990.inp")
                                  .string();
    const std::string report = (folder /
                                "Abfl\xc3\xbc\xc3\x9f"
                                "e 1990.out")
                                   .string();
    rig->PasteValues(Aircondit());
    rig->user.messages.clear();
    rig->user.saveFileAnswers.push_back(input);
    QTest::mouseClick(main.InputSaveButton, Qt::LeftButton);
    QCOMPARE(rig->user.messages, Messages{quilmor::run::DoneMessage(input, report)});
    QCOMPARE(main.PageControl1->currentWidget(), main.OutputTabSheet);
    QVERIFY(std::filesystem::exists(quilmor::textio::ChangeFileExt(report, ".aux")));
    // The calculator reads the files under these names.
    rig->user.messages.clear();
    QTest::mouseClick(main.CalcButton, Qt::LeftButton);
    auto& calc = rig->app->calcForm;
    calc.Edit1->setText(QStringLiteral("100"));
    QTest::mouseClick(calc.Edit7, Qt::LeftButton);
    QVERIFY(rig->user.messages.empty());
    bool number = false;
    calc.Edit2->text().toDouble(&number);
    QVERIFY(number);
    QCOMPARE(rig->user.quitRequests, 0);
  }

  // --- Save-Run where an output name is a folder -----------------------------------------------

  void saveRunWhereTheReportNameIsAFolder() {
    auto& main = Main();
    rig->PasteValues(Aircondit());
    WriteBytes(rig->folder / "air.aux", "earlier parameters");
    std::filesystem::create_directory(rig->folder / "air.out");
    rig->user.messages.clear();
    const std::string input = rig->SaveRun("air.inp");
    QCOMPARE(rig->user.messages,
             Messages{"The report and its parameter file could not be written: \"" +
                      (rig->folder / "air.out").string() + "\": a folder of that name exists (Is a directory)"});
    QCOMPARE(ReadBytes(rig->folder / "air.aux"), std::string("earlier parameters"));
    QVERIFY(std::filesystem::is_directory(rig->folder / "air.out"));
    QVERIFY(!main.OutputShown);
    QVERIFY(main.WaitMemo->isHidden());
    QCOMPARE(rig->user.quitRequests, 0);
  }
};

QTEST_MAIN(HostileGuiTest)
#include "hostile_gui_test.moc"
