// Save-Run end to end in the window: the input file, the run with its
// progress lines and pauses, the report and parameter file, the Output page;
// the stop path, the 2500-value path and the time the window adds to a run.
#include "run/save_run.hpp"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>
#include <algorithm>
#include <fstream>

#include "textio/text_file.hpp"
#include "ui_fixture.hpp"

using quilmor::testing::ReadBytes;
using quilmor::testing::UiRig;
using Messages = std::vector<std::string>;

namespace {

std::vector<double> ExampleSeries(const char* file) {
  std::ifstream in(std::string(QUILMOR_SOURCE_DIR) + "/data/examples/" + file);
  std::vector<double> values;
  for (double v; in >> v;) values.push_back(v);
  return values;
}

// `count` distinct, spread values (a smooth skewed sample).
std::vector<double> Sample(int count) {
  std::vector<double> values;
  for (int i = 1; i <= count; ++i) {
    const double p = static_cast<double>(i) / (count + 1);
    values.push_back(100.0 - 20.0 * std::log(-std::log(p)) + (i % 7) * 0.01);
  }
  return values;
}

bool ContainsInOrder(const Messages& lines, const Messages& wanted) {
  auto at = lines.begin();
  for (const std::string& w : wanted) {
    at = std::find(at, lines.end(), w);
    if (at == lines.end()) return false;
    ++at;
  }
  return true;
}

std::string DoneMessage(const std::string& input, const std::string& report) {
  return "The input is saved in " + input +
         "   Calculations were done and the output is saved in  " + report;
}

}  // namespace

class SaveRunTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<UiRig> rig;
  quilmor::ui::TMainForm& Main() { return rig->Main(); }

 private slots:
  void init() {
    quilmor::testing::UseDecimalPoint('.');
    QStandardPaths::setTestModeEnabled(true);
    QSettings().remove(QStringLiteral("plottingPosition"));  // each test starts with the method's
    rig = std::make_unique<UiRig>();
    QVERIFY(rig->ShowMain());
    rig->ShowInputPage();
  }
  void cleanup() { rig.reset(); }

  void savesRunsAndShowsTheReport() {
    auto& main = Main();
    const std::vector<double> values = ExampleSeries("wabash_annual_peak_flow.txt");
    QCOMPARE(values.size(), std::size_t{116});
    main.Title1Edit->setText(QStringLiteral("Wabash River at Lafayette"));
    main.Title2Edit->setText(QStringLiteral("Annual peak flow, cfs"));
    rig->PasteValues(values);
    QVERIFY(rig->user.messages.empty());
    quilmor::testing::SaveScreenshot(main, QStringLiteral("page_input_with_data.png"));
    const std::string input = rig->SaveRun("wabash.inp");
    const std::string report = (rig->folder / "wabash.out").string();
    const std::string aux = (rig->folder / "wabash.aux").string();

    QCOMPARE(rig->user.messages, Messages{DoneMessage(input, report)});
    QVERIFY(ContainsInOrder(rig->user.progress,
                            {" Saving data .....", " Progress 25% ....", " Calculating .....",
                             " Progress 75% ....", " Filing results .."}));
    QCOMPARE(rig->user.pauses, (std::vector<int>{500, 500, 500, 500, 500}));

    // The input file: header, then the 116 values.
    const auto lines = *quilmor::textio::ReadTextLines(input);
    QCOMPARE(lines.size(), std::size_t{13 + 116});
    QCOMPARE(lines[3], std::string(" Wabash River at Lafayette"));
    QCOMPARE(lines[4], std::string(" Annual peak flow, cfs"));
    QCOMPARE(lines[7], std::string(" Number of data: 116"));
    QCOMPARE(lines[13], std::string("    1   30800.00"));
    // Report and parameter file beside it; no temporary file left there.
    QVERIFY(std::filesystem::exists(report));
    QVERIFY(std::filesystem::exists(aux));
    for (const auto& entry : std::filesystem::directory_iterator(rig->folder.Path())) {
      const std::string name = entry.path().filename().string();
      QVERIFY2(name == "wabash.inp" || name == "wabash.out" || name == "wabash.aux", name.c_str());
    }

    // The Output page shows the report as it is on disk.
    QCOMPARE(main.PageControl1->currentWidget(), main.OutputTabSheet);
    const auto reportLines = *quilmor::textio::ReadTextLines(report);
    QStringList expected;
    for (const std::string& line : reportLines) expected << QString::fromLatin1(line);
    QCOMPARE(main.OutputMemo->toPlainText(), expected.join(QLatin1Char('\n')));
    QVERIFY(!main.OutputMemo->isHidden());
    QVERIFY(main.OutputShown);
    QVERIFY(!main.ViewGraphButton->isHidden());
    QVERIFY(!main.CalcButton->isHidden());
    QVERIFY(main.GraphImage->isHidden());
    QVERIFY(main.WaitMemo->isHidden());
    QCOMPARE(main.WaitMemo->palette().color(QPalette::Base), QColor(0, 0, 255));
    QCOMPARE(main.InputName, input);
    QCOMPARE(rig->Dm().FileName, report);
    QVERIFY(rig->app->state.NameIsCurrent);
    quilmor::testing::SaveScreenshot(main, QStringLiteral("page_output_after_run.png"));
  }

  void aPlottingPositionIsAnOptionOfTheRunThatTheWindowRemembers() {
    auto& main = Main();
    QCOMPARE(main.PlottingComboBox->currentText(), QStringLiteral("Weibull i/(N+1)"));
    const int hazen = main.PlottingComboBox->findData(QStringLiteral("hazen"));
    QVERIFY(hazen > 0);
    main.PlottingComboBox->setCurrentIndex(hazen);
    emit main.PlottingComboBox->activated(hazen);
    rig->PasteValues(Sample(12));
    const std::string input = rig->SaveRun("hazen.inp");
    // The input file keeps its layout; the report names the choice.
    QCOMPARE(quilmor::textio::ReadTextLines(input)->size(), std::size_t{13 + 12});
    const auto report = *quilmor::textio::ReadTextLines(rig->folder / "hazen.out");
    QCOMPARE(report[6], std::string(" Number of data used: 12"));
    QCOMPARE(report[7], std::string(" Plotting position: Hazen (i-0.5)/N"));
    // A new window starts with the choice made.
    rig = std::make_unique<UiRig>();
    QCOMPARE(rig->Main().PlottingComboBox->currentIndex(), hazen);
  }

  void anEmptyCellIsLeftOutOfTheInputFile() {
    auto& main = Main();
    rig->PasteValues(Sample(12));
    rig->TypeIntoCell(4, QString());
    rig->user.messages.clear();
    const std::string input = rig->SaveRun("gap.inp");
    const auto lines = *quilmor::textio::ReadTextLines(input);
    QCOMPARE(lines[7], std::string(" Number of data: 11"));
    QCOMPARE(lines.size(), std::size_t{13 + 11});
    QCOMPARE(main.PageControl1->currentWidget(), main.OutputTabSheet);
    // Back on the Input page the empty cell is still empty.
    main.ShowPage(main.InputTabSheet);
    QCOMPARE(main.StringGrid1->CellText(1, 4), QString());
    QCOMPARE(main.StringGrid1->rowCount(), 12);
  }

  void aRefilledCellCountsAgain() {
    rig->PasteValues(Sample(10));
    rig->TypeIntoCell(2, QString());
    rig->TypeIntoCell(6, QStringLiteral("bad"));
    // Told at once, naming the row, and again before any file dialog.
    QCOMPARE(rig->user.messages, Messages{"Row 7: \"bad\" is not a valid real number"});
    QVERIFY(Main().StringGrid1->IsInvalid(6));
    rig->SaveRun("refill.inp");
    QCOMPARE(rig->user.messages, (Messages{"Row 7: \"bad\" is not a valid real number",
                                           "Not all data values in the inputfile are real"}));
    QVERIFY(rig->user.saveDialogs.empty());
    QCOMPARE(Main().StringGrid1->currentRow(), 6);
    rig->user.saveFileAnswers.clear();
    rig->TypeIntoCell(6, QStringLiteral("101.5"));
    rig->TypeIntoCell(2, QStringLiteral("99.5"));
    const std::string input = rig->SaveRun("refill.inp");
    const auto lines = *quilmor::textio::ReadTextLines(input);
    QCOMPARE(lines[7], std::string(" Number of data: 10"));
    QCOMPARE(lines[13 + 2], std::string("    3      99.50"));
    QCOMPARE(lines[13 + 6], std::string("    7     101.50"));
  }

  void noVariationStops() {
    auto& main = Main();
    rig->PasteValues(std::vector<double>(8, 5.0));
    const std::string input = rig->SaveRun("flat.inp");
    QCOMPARE(rig->user.messages,
             Messages{"No data below threshold, or no variation between data. Program stops "
                      "running"});
    // A run that stops writes nothing, the input file neither.
    QVERIFY(!std::filesystem::exists(input));
    QVERIFY(!std::filesystem::exists(rig->folder / "flat.out"));
    QVERIFY(main.WaitMemo->isHidden());
    QCOMPARE(main.PageControl1->currentWidget(), main.InputTabSheet);
    QVERIFY(!main.OutputShown);
    QVERIFY(main.ViewGraphButton->isHidden());
  }

  // Refused before anything is written: a title that is not one line of
  // printable text, an input named like the files the run writes.
  void refusalsBeforeTheRun() {
    struct Row {
      const char* title1;
      const char* name;
      Messages messages;
    };
    const std::string folder = rig->folder.Path().string();
    const std::vector<Row> rows = {
        {"tab\there", "t.inp",
         {"The first title holds a tab; a title must be one line of printable text"}},
        {"bell\x07", "t.inp",
         {"The first title holds the control character 0x07; a title must be one line of "
          "printable text"}},
        {"fine", "t.out",
         {"The file \"" + folder + "/t.out\" ends in \".out\", the name of a file the run "
          "writes; an input must have another name (\".inp\" or \".txt\" for example)",
          "The input data were not saved"}},
        {"fine", "t.AUX",
         {"The file \"" + folder + "/t.AUX\" ends in \".aux\", the name of a file the run "
          "writes; an input must have another name (\".inp\" or \".txt\" for example)",
          "The input data were not saved"}},
    };
    for (const Row& row : rows) {
      rig->PasteValues(Sample(10));
      Main().Title1Edit->setText(QString::fromLatin1(row.title1));
      rig->user.messages.clear();
      rig->user.saveFileAnswers.clear();
      rig->SaveRun(row.name);
      QCOMPARE(rig->user.messages, row.messages);
      QVERIFY(!std::filesystem::exists(rig->folder / "t.inp"));
      QVERIFY(!std::filesystem::exists(rig->folder / "t.out"));
      QVERIFY(!std::filesystem::exists(rig->folder / "t.AUX"));
    }
    Main().Title1Edit->clear();
  }

  void everythingBelowTheThresholdStops() {
    rig->PasteValues(Sample(10));
    Main().ThresholdEdit->setText(QStringLiteral("1e6"));
    rig->SaveRun("cut.inp");
    QCOMPARE(rig->user.messages,
             Messages{"No data below threshold, or no variation between data. Program stops "
                      "running"});
  }

  void moreThan2500ValuesAndTheTimeOfTheWindow() {
    auto& main = Main();
    rig->PasteValues(Sample(2600));
    QCOMPARE(main.StringGrid1->rowCount(), 2600);
    QCOMPARE(rig->user.messages,
             Messages{" The program uses the first 2500 data above the given threshold only"});
    rig->user.messages.clear();
    QElapsedTimer clock;
    clock.start();
    const std::string input = rig->SaveRun("long.inp");
    const qint64 windowMs = clock.elapsed();
    const std::string report = (rig->folder / "long.out").string();
    QCOMPARE(rig->user.messages,
             (Messages{"The analysis was limited to the first 2500 data greater than the "
                       "threshold",
                       DoneMessage(input, report)}));
    QCOMPARE(main.PageControl1->currentWidget(), main.OutputTabSheet);

    // The same run without the window, on the file the window wrote.
    quilmor::testing::ScriptedInteraction quiet;
    quilmor::report::TDMQuilmor dm(quiet);
    dm.FileName = input;
    QCOMPARE(dm.ReadInputFile(), quilmor::report::TDMQuilmor::ReadResult::Ok);
    dm.FileName = (rig->folder / "bare.inp").string();
    clock.restart();
    const auto bare = quilmor::run::SaveRun(dm);
    const qint64 bareMs = clock.elapsed();
    QCOMPARE(bare.status, quilmor::run::SaveRunStatus::Done);
    qInfo("Save-Run of 2600 rows: window %lld ms, the run alone %lld ms (pauses not waited)",
          windowMs, bareMs);
    // The window adds the grid and the report display: well under a second.
    QVERIFY2(windowMs - bareMs < 1000 + bareMs / 4, qPrintable(QString::number(windowMs - bareMs)));
  }
};

QTEST_MAIN(SaveRunTest)
#include "save_run_test.moc"
