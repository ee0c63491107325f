// The frame of the desktop program: start state, menu, the Intro page, the
// Output page with opening reports, the close path and the screenshots.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include "textio/text_file.hpp"
#include "ui/qt_interaction.hpp"
#include "ui_fixture.hpp"

using quilmor::testing::SaveScreenshot;
using quilmor::testing::UiRig;
using quilmor::testing::WriteBytes;

namespace {

// A small report as the report reader sees one: it only needs lines.
const char* const kReport =
    " Cumulative frequency analysis\r\n"
    "\r\n"
    "\r\n"
    " Wabash River\r\n"
    " Annual peak flow, cfs\r\n"
    " Obs  Serial  ...\r\n";

std::vector<QString> MemoLines(const QPlainTextEdit* memo) {
  std::vector<QString> lines;
  for (const QString& line : memo->toPlainText().split(QLatin1Char('\n'))) lines.push_back(line);
  return lines;
}

}  // namespace

class FrameTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<UiRig> rig;

  // A report "name.out" in the rig's folder, with or without its ".aux".
  std::string WriteReport(const std::string& name, bool withAux) {
    const std::string report = (rig->folder / (name + ".out")).string();
    WriteBytes(report, kReport);
    if (withAux) WriteBytes(rig->folder / (name + ".aux"), "  4\r\n 1.0E+0000\r\n");
    return report;
  }

 private slots:
  void initTestCase() { quilmor::testing::UseDecimalPoint('.'); }
  void init() { rig = std::make_unique<UiRig>(); }
  void cleanup() { rig.reset(); }

  void startsOnTheIntroPage() {
    auto& main = rig->Main();
    QCOMPARE(main.windowTitle(), QStringLiteral("Quilmor cumulative frequency analysis"));
    QCOMPARE(main.PageControl1->currentWidget(), main.IntroTabSheet);
    QCOMPARE(main.StatusText(), QStringLiteral("Click on the Input tab to proceed."));
    QVERIFY(!main.InputSaveAction->isEnabled());
    QVERIFY(!main.IntroMemo->isHidden());
    for (QPlainTextEdit* memo :
         {main.ContMemo, main.DisConMemo, main.ConfMemo, main.IntervalMemo}) {
      QVERIFY(memo->isHidden());
    }
    QVERIFY(!main.DataPresent);
    QVERIFY(!main.OutputShown);
    QVERIFY(!main.GraphShown);
    QVERIFY(main.ColourGraph);
    QCOMPARE(main.PlotWidth, 500);
    QCOMPARE(main.PlotHeight, 370);
    QVERIFY(main.FileNameLabel->isHidden());
    QVERIFY(main.FileNameEdit->isHidden());
    QVERIFY(main.ViewGraphButton->isHidden());
    QVERIFY(main.CalcButton->isHidden());
    QVERIFY(main.PasteHelpMemo->isHidden());
    QVERIFY(rig->user.messages.empty());
  }

  void pagesAndCaptionsInOrder() {
    const QTabWidget* pages = rig->Main().PageControl1;
    QCOMPARE(pages->count(), 5);
    QCOMPARE(pages->tabText(0), QStringLiteral("  Intro  "));
    QCOMPARE(pages->tabText(1), QStringLiteral("  Input  "));
    QCOMPARE(pages->tabText(2), QStringLiteral("  Output  "));
    QCOMPARE(pages->tabText(3), QStringLiteral(" Design values "));
    QCOMPARE(pages->tabText(4), QStringLiteral(" Graphics "));
  }

  void menuItemsAndShortcuts() {
    auto& main = rig->Main();
    QCOMPARE(main.FileMenu->title(), QStringLiteral("&File"));
    QCOMPARE(main.EditMenu->title(), QStringLiteral("&Edit"));
    QStringList file;
    for (QAction* a : main.FileMenu->actions()) {
      if (!a->isSeparator()) file << a->text();
    }
    QCOMPARE(file, (QStringList{"Open input", "Open output", "Open &Graph", "Save input",
                                "&Recent files", "Program E&xit"}));
    const struct {
      QAction* action;
      const char* keys;
    } shortcuts[] = {{main.InputOpenAction, "Ctrl+O"}, {main.InputSaveAction, "Ctrl+S"},
                     {main.ExitMenuItem, "Ctrl+Q"},    {main.IntroMenuItem, "F1"},
                     {main.UndoMenuItem, "Ctrl+Z"},    {main.DeleteRowsMenuItem, "Ctrl+-"}};
    for (const auto& row : shortcuts) {
      QCOMPARE(row.action->shortcut(), QKeySequence(QString::fromLatin1(row.keys)));
    }
    // F1 shows the Intro page from any page.
    main.ShowPage(main.OutputTabSheet);
    main.IntroMenuItem->trigger();
    QCOMPARE(main.PageControl1->currentWidget(), main.IntroTabSheet);
    QCOMPARE(main.CopyMenuItem->text(), QStringLiteral("&Copy"));
    QCOMPARE(main.CutMenuItem->text(), QStringLiteral("Cu&t"));
    QCOMPARE(main.PasteMenuItem->text(), QStringLiteral("&Paste"));
    QCOMPARE(main.CopyMenuItem->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
    QCOMPARE(main.CutMenuItem->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
    QCOMPARE(main.PasteMenuItem->shortcut(), QKeySequence(QStringLiteral("Ctrl+V")));
  }

  void saveRunOnlyOnTheInputPage() {
    auto& main = rig->Main();
    main.ShowPage(main.InputTabSheet);
    QVERIFY(main.InputSaveAction->isEnabled());
    QVERIFY(main.InputSaveButton->isEnabled());
    main.ShowPage(main.OutputTabSheet);
    QVERIFY(!main.InputSaveAction->isEnabled());
    main.ShowPage(main.GraphicsTabSheet);
    QVERIFY(!main.InputSaveAction->isEnabled());
    main.ShowPage(main.IntroTabSheet);
    QVERIFY(!main.InputSaveAction->isEnabled());
  }

  void helpButtonsShowOneMemo_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("memo");
    QTest::newRow("Distributions") << "ContButton"
                                   << "ContMemo";
    QTest::newRow("Discontinuity") << "DisContButton"
                                   << "DisConMemo";
    QTest::newRow("Confidence") << "ConfButton"
                                << "ConfMemo";
    QTest::newRow("Intervals") << "InterButton"
                               << "IntervalMemo";
    QTest::newRow("Introduction") << "BackButton"
                                  << "IntroMemo";
  }

  void helpButtonsShowOneMemo() {
    QFETCH(QString, button);
    QFETCH(QString, memo);
    auto& main = rig->Main();
    QVERIFY(rig->ShowMain());
    main.ContButtonClick();  // start from another memo than the introduction
    auto* pushButton = main.findChild<QPushButton*>(button);
    QVERIFY(pushButton);
    QTest::mouseClick(pushButton, Qt::LeftButton);
    for (auto* m : main.IntroTabSheet->findChildren<QPlainTextEdit*>()) {
      QCOMPARE(!m->isHidden(), m->objectName() == memo);
    }
  }

  void helpTextsHoldTheirContent() {
    auto& main = rig->Main();
    QVERIFY(main.ContMemo->toPlainText().contains(QStringLiteral("Fc = exp[-exp{-(A*X+B)}]")));
    QVERIFY(main.ContMemo->toPlainText().contains(QStringLiteral("-Ln{-Ln(Fr)} = A*X+B")));
    QVERIFY(main.ConfMemo->toPlainText().contains(QStringLiteral("Sd = sqrt{Fc(1-Fc)/N}")));
    QVERIFY(main.IntervalMemo->toPlainText().contains(QStringLiteral("Dr = Ni/Nt")));
    QVERIFY(main.IntroMemo->toPlainText().contains(QStringLiteral("Fr = R/(N+1)")));
    // Twelve two-piece combinations, one line each.
    QCOMPARE(main.DisConMemo->toPlainText().count(QStringLiteral(" + ")), 12);
    QCOMPARE(main.IntroMemo->palette().color(QPalette::Base), QColor(255, 250, 221));
    QCOMPARE(main.ContMemo->palette().color(QPalette::Base), QColor(241, 255, 230));
    QCOMPARE(main.DisConMemo->palette().color(QPalette::Base), QColor(253, 255, 213));
    QCOMPARE(main.ConfMemo->palette().color(QPalette::Base), QColor(255, 251, 254));
    QCOMPARE(main.IntervalMemo->palette().color(QPalette::Base), QColor(230, 255, 248));
  }

  // --- Output page ----------------------------------------------------------

  void outputPageStartsWithoutGraphicsAndCalculator() {
    auto& main = rig->Main();
    main.ShowPage(main.OutputTabSheet);
    QVERIFY(main.OnOutputPage);
    QCOMPARE(main.StatusText(),
             QStringLiteral("The output file can be inspected. Use \"Open output\" to see "
                            "examples under \"Data\" or to inspect any other output file."));
    QVERIFY(main.ViewGraphButton->isHidden());
    QVERIFY(main.CalcButton->isHidden());
    QVERIFY(main.PictureImage->isHidden());
    QVERIFY(!main.ChoicesPanel->isHidden());
    QVERIFY(!main.OutputMemo->font().bold());
    QVERIFY(QFontInfo(main.OutputMemo->font()).fixedPitch());
    QCOMPARE(main.OutputMemo->font().family(), QStringLiteral("Courier New"));
    QCOMPARE(main.OutputMemo->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
  }

  void openOutputWithParameterFile() {
    auto& main = rig->Main();
    const std::string report = WriteReport("wabash", true);
    main.ShowPage(main.OutputTabSheet);
    rig->user.openFileAnswers.push_back(report);
    QTest::mouseClick(main.SeeOutputButton, Qt::LeftButton);
    QCOMPARE(rig->user.openDialogs.size(), std::size_t{1});
    QCOMPARE(rig->user.openDialogs[0].filter, std::string("Output files (*.out)|*.out"));
    QCOMPARE(rig->user.openDialogs[0].defaultExtension, std::string(".out"));
    QCOMPARE(rig->user.openDialogs[0].initialFolder, main.StartDir);
    QVERIFY(rig->user.messages.empty());
    QCOMPARE(main.StatusText(),
             QStringLiteral("The output file can be imported into spreadsheets"));
    const std::vector<QString> expected = {" Cumulative frequency analysis",
                                           "",
                                           "",
                                           " Wabash River",
                                           " Annual peak flow, cfs",
                                           " Obs  Serial  ..."};
    QCOMPARE(MemoLines(main.OutputMemo), expected);
    QVERIFY(!main.OutputMemo->isHidden());
    QVERIFY(main.OutputShown);
    QVERIFY(!main.ViewGraphButton->isHidden());
    QVERIFY(!main.CalcButton->isHidden());
    QCOMPARE(main.PageControl1->currentWidget(), main.OutputTabSheet);
    QCOMPARE(rig->Dm().FileName, report);
    QCOMPARE(rig->Dm().AuxCode, 4);
    QCOMPARE(main.DialogFolder, rig->folder.Path().string());
    // The next dialogs start in the report's folder.
    QCOMPARE(main.InputOpenDialog().initialFolder, rig->folder.Path().string());
    QCOMPARE(main.InputSaveDialog().initialFolder, rig->folder.Path().string());
  }

  void openOutputWithoutParameterFileRightAfterStart() {
    auto& main = rig->Main();
    main.ShowPage(main.OutputTabSheet);
    rig->user.openFileAnswers.push_back(WriteReport("noaux", false));
    main.OutputOpenAction->trigger();
    QCOMPARE(rig->user.messages,
             (std::vector<std::string>{
                 " If you wish to make use of the calculator, run the program again"}));
    QCOMPARE(MemoLines(main.OutputMemo).size(), std::size_t{6});
    QVERIFY(!main.ViewGraphButton->isHidden());
    QVERIFY(main.CalcButton->isHidden());
  }

  void openOutputCancelledOrMissing() {
    auto& main = rig->Main();
    main.ShowPage(main.OutputTabSheet);
    main.OutputOpenAction->trigger();  // no answer: cancelled
    rig->user.openFileAnswers.push_back((rig->folder / "missing.out").string());
    main.OutputOpenAction->trigger();
    QCOMPARE(rig->user.messages,
             (std::vector<std::string>{"No output file was selected",
                                       "File does not exist, please select another one,"}));
    QVERIFY(!main.OutputShown);
    QVERIFY(main.ViewGraphButton->isHidden());
  }

  void makeGraphOpensAReportAndStaysOnTheGraphicsPage() {
    auto& main = rig->Main();
    main.ShowPage(main.GraphicsTabSheet);
    QVERIFY(!main.OnOutputPage);
    rig->user.openFileAnswers.push_back(WriteReport("graphs", true));
    QTest::mouseClick(main.MakeGraphButton, Qt::LeftButton);
    QCOMPARE(main.PageControl1->currentWidget(), main.GraphicsTabSheet);
    QCOMPARE(main.StatusText(), QStringLiteral("Select type of graph"));
    QVERIFY(!main.ChoicesPanel->isHidden());
    QVERIFY(main.OutputShown);
  }

  void graphicsButtonOpensTheChoices() {
    auto& main = rig->Main();
    main.ShowPage(main.OutputTabSheet);
    rig->user.openFileAnswers.push_back(WriteReport("choices", true));
    main.OutputOpenAction->trigger();
    QTest::mouseClick(main.ViewGraphButton, Qt::LeftButton);
    QCOMPARE(main.PageControl1->currentWidget(), main.GraphicsTabSheet);
    QVERIFY(!main.ChoicesPanel->isHidden());
    QVERIFY(!main.GraphShown);
    QVERIFY(main.SaveGraphButton->isHidden());
    QVERIFY(main.SaveBlWhButton->isHidden());
    QVERIFY(main.SelectButton->isHidden());
    QCOMPARE(main.StatusText(),
             QStringLiteral("Graphics presentations of output data can be seen and saved. Use "
                            "\"Make graph\" to open an output file and make the graphs."));
  }

  void calculatorHidesWhenTheOutputPageIsLeft() {
    auto& main = rig->Main();
    QVERIFY(rig->ShowMain());
    main.ShowPage(main.OutputTabSheet);
    rig->user.openFileAnswers.push_back(WriteReport("calc", true));
    main.OutputOpenAction->trigger();
    QTest::mouseClick(main.CalcButton, Qt::LeftButton);
    QVERIFY(rig->app->calcForm.isVisible());
    main.ShowPage(main.IntroTabSheet);
    QVERIFY(!rig->app->calcForm.isVisible());
  }

  // --- Closing --------------------------------------------------------------

  void closingShowsTheFinishWindow() {
    auto& main = rig->Main();
    QVERIFY(rig->ShowMain());
    QVERIFY(!main.close());  // refused
    QVERIFY(main.isVisible());
    auto& finish = rig->app->finishForm;
    QVERIFY(finish.isVisible());
    QCOMPARE(finish.windowTitle(), QStringLiteral("Quilmor finish"));
    QCOMPARE(finish.StatusText(), QStringLiteral("Click Finish to end the program"));
    QCOMPARE(finish.size(), QSize(256, 225));
    QVERIFY(finish.FinishMemo->toPlainText().startsWith(
        QStringLiteral("\n Thank you for using Quilmor\n\n")));
    QCOMPARE(finish.FinishMemo->palette().color(QPalette::Base), QColor(255, 253, 232));
    QCOMPARE(rig->user.quitRequests, 0);
    QTest::mouseClick(finish.FinishButton, Qt::LeftButton);
    QCOMPARE(rig->user.quitRequests, 1);
  }

  void programExitAndClosingTheFinishWindow() {
    auto& main = rig->Main();
    QVERIFY(rig->ShowMain());
    main.ExitMenuItem->trigger();
    QVERIFY(main.isVisible());
    QVERIFY(rig->app->finishForm.isVisible());
    rig->app->finishForm.close();
    QCOMPARE(rig->user.quitRequests, 1);
  }

  // --- Edit menu and the platform layer ------------------------------------

  void editMenuWorksOnTheFocusedField() {
    auto& main = rig->Main();
    QVERIFY(rig->ShowMain());
    main.ShowPage(main.InputTabSheet);
    main.Title1Edit->setText(QStringLiteral("Rainfall"));
    main.Title1Edit->setFocus();
    main.Title1Edit->selectAll();
    main.CutMenuItem->trigger();
    QCOMPARE(main.Title1Edit->text(), QString());
    main.Title2Edit->setFocus();
    main.PasteMenuItem->trigger();
    QCOMPARE(main.Title2Edit->text(), QStringLiteral("Rainfall"));
    main.Title2Edit->selectAll();
    QApplication::clipboard()->clear();
    main.CopyMenuItem->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Rainfall"));
  }

  void progressLinesGoToTheMemo() {
    quilmor::ui::QtInteraction qt;
    qt.AppendProgress(" lost");  // nothing attached: nothing happens
    QPlainTextEdit memo;
    qt.Attach(nullptr, &memo);
    qt.AppendProgress(" Saving data .....");
    qt.AppendProgress(" Progress 25% ....");
    QCOMPARE(memo.toPlainText(), QStringLiteral(" Saving data .....\n Progress 25% ...."));
  }

  void thePauseWaitsAndKeepsTheEventsGoing() {
    quilmor::ui::QtInteraction qt;
    bool timerRan = false;
    QTimer::singleShot(0, [&timerRan] { timerRan = true; });
    QElapsedTimer clock;
    clock.start();
    qt.Pause(120);
    QVERIFY(clock.elapsed() >= 115);  // timer granularity
    QVERIFY(timerRan);
  }

  // --- Pictures of the windows, for the eye ---------------------------------

  void screenshots() {
    auto& main = rig->Main();
    QVERIFY(rig->ShowMain());
    SaveScreenshot(main, QStringLiteral("page_intro.png"));
    main.ShowPage(main.OutputTabSheet);
    rig->user.openFileAnswers.push_back(WriteReport("shot", true));
    main.OutputOpenAction->trigger();
    SaveScreenshot(main, QStringLiteral("page_output.png"));
    main.ShowPage(main.GraphicsTabSheet);
    SaveScreenshot(main, QStringLiteral("page_graphics_choices.png"));
    main.ShowPage(main.InputTabSheet);
    SaveScreenshot(main, QStringLiteral("page_input.png"));
    main.close();
    QVERIFY(QTest::qWaitForWindowExposed(&rig->app->finishForm));
    SaveScreenshot(rig->app->finishForm, QStringLiteral("finish_window.png"));
    main.ShowPage(main.OutputTabSheet);
    main.CalcButtonClick();
    QVERIFY(QTest::qWaitForWindowExposed(&rig->app->calcForm));
    SaveScreenshot(rig->app->calcForm, QStringLiteral("calculator_window.png"));
  }
};

QTEST_MAIN(FrameTest)
#include "frame_test.moc"
