// The Graphics page after a Save-Run: each graph type drawn and saved in
// colour and in black and white, opening a saved graph, and the messages of
// the page.
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>

#include "ui_fixture.hpp"

using quilmor::testing::UiRig;
using quilmor::testing::WriteBytes;
using Messages = std::vector<std::string>;

namespace {

// Probe points of a 623 x 495 graph: the outer margin is silver; the frame
// around the plot ((20, 19) to (605, 475)) is blue in colour and white in
// black and white; nothing is written at these points.
const QPoint kMargin(5, 490);
const QPoint kMarginRight(612, 10);
const QPoint kFrame(25, 470);
const QColor kSilver(192, 192, 192);

std::vector<double> Wabash() {
  std::ifstream in(std::string(QUILMOR_SOURCE_DIR) + "/data/examples/wabash_annual_peak_flow.txt");
  std::vector<double> values;
  for (double v; in >> v;) values.push_back(v);
  return values;
}

QImage Shown(const quilmor::ui::GraphView* view) { return view->Image(); }
QImage Shown(const QLabel* label) { return label->pixmap().toImage(); }

}  // namespace

class GraphicsPageTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<UiRig> rig;
  std::string report;
  quilmor::ui::TMainForm& Main() { return rig->Main(); }

  void OpenTheGraphicsPage() {
    QTest::mouseClick(Main().ViewGraphButton, Qt::LeftButton);
    QCOMPARE(Main().PageControl1->currentWidget(), Main().GraphicsTabSheet);
  }

 private slots:
  void init() {
    quilmor::testing::UseDecimalPoint('.');
    rig = std::make_unique<UiRig>();
    QVERIFY(rig->ShowMain());
    rig->ShowInputPage();
    Main().Title1Edit->setText(QStringLiteral("Wabash River at Lafayette"));
    Main().Title2Edit->setText(QStringLiteral("Annual peak flow, cfs"));
    rig->PasteValues(Wabash());
    rig->SaveRun("wabash.inp");
    report = (rig->folder / "wabash.out").string();
    QVERIFY(std::filesystem::exists(report));
    rig->user.messages.clear();
  }
  void cleanup() { rig.reset(); }

  void eachTypeDrawnAndSavedInBothModes_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("type");
    QTest::newRow("cumulative") << "CumulativeRadioButton" << 1;
    QTest::newRow("interval") << "IntervalRadioButton" << 2;
    QTest::newRow("confidence belt") << "X_ConfidenceRadioButton" << 3;
    QTest::newRow("return periods") << "ReturnRadioButton" << 4;
    QTest::newRow("calc-obs") << "QQRadioButton" << 5;
  }

  void eachTypeDrawnAndSavedInBothModes() {
    QFETCH(QString, button);
    QFETCH(int, type);
    auto& main = Main();
    OpenTheGraphicsPage();
    QVERIFY(!main.ChoicesPanel->isHidden());
    auto* radio = main.ChoicesPanel->findChild<QRadioButton*>(button);
    QVERIFY(radio);
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, 6));
    QTest::mouseClick(main.GoButton, Qt::LeftButton);
    QCOMPARE(main.GraphType, type);
    QVERIFY(rig->user.messages.empty());
    QCOMPARE(main.StatusText(),
             QStringLiteral("The graph can be saved, or another selection can be made, or "
                            "another output file can be opened using \"Make graph\""));
    QVERIFY(main.GraphShown);
    QVERIFY(!main.ChoicesPanel->isHidden());  // the five choices stay beside the graph
    QVERIFY(!main.GraphImage->isHidden());
    QVERIFY(!main.SaveGraphButton->isHidden());
    QVERIFY(!main.SaveBlWhButton->isHidden());
    QImage drawn = Shown(main.GraphImage);
    QCOMPARE(drawn.size(), QSize(623, 495));
    QCOMPARE(drawn.pixelColor(kMargin), kSilver);
    QCOMPARE(drawn.pixelColor(kMarginRight), kSilver);
    QCOMPARE(drawn.pixelColor(kFrame), QColor(0, 0, 255));
    quilmor::testing::SaveScreenshot(main, QStringLiteral("page_graphics_type%1.png").arg(type));
    QVERIFY(main.GraphBitmap.save(
        QStringLiteral(QUILMOR_SCREENSHOT_DIR "/graph_type%1.png").arg(type)));

    // Saved in colour.
    const std::string colour = (rig->folder / ("colour" + std::to_string(type) + ".bmp")).string();
    rig->user.saveFileAnswers.push_back(colour);
    QTest::mouseClick(main.SaveGraphButton, Qt::LeftButton);
    QCOMPARE(rig->user.saveDialogs.back().filter, std::string("Image files (*.bmp)|*.bmp"));
    QCOMPARE(rig->user.saveDialogs.back().defaultExtension, std::string("bmp"));
    QCOMPARE(rig->user.saveDialogs.back().initialFolder, std::string());
    QCOMPARE(rig->user.messages, Messages{"The graph was saved in  " + colour});
    QImage file(QString::fromStdString(colour));
    QCOMPARE(file.size(), QSize(623, 495));
    QCOMPARE(file.pixelColor(kFrame), QColor(0, 0, 255));
    QCOMPARE(quilmor::testing::ReadBytes(colour).substr(0, 2), std::string("BM"));  // a bitmap

    // Saved in black and white: the page shows it so until the next drawing.
    rig->user.messages.clear();
    const std::string plain = (rig->folder / ("plain" + std::to_string(type) + ".bmp")).string();
    rig->user.saveFileAnswers.push_back(plain);
    QTest::mouseClick(main.SaveBlWhButton, Qt::LeftButton);
    QCOMPARE(rig->user.messages, Messages{"The graph was saved in  " + plain});
    QImage bw(QString::fromStdString(plain));
    QCOMPARE(bw.size(), QSize(623, 495));
    QCOMPARE(bw.pixelColor(kFrame), QColor(255, 255, 255));
    QCOMPARE(bw.pixelColor(kMargin), kSilver);
    QCOMPARE(Shown(main.GraphImage).pixelColor(kFrame), QColor(255, 255, 255));
    QVERIFY(main.ColourGraph);
    main.GoButtonClick();  // the next drawing is in colour again
    QCOMPARE(Shown(main.GraphImage).pixelColor(kFrame), QColor(0, 0, 255));
  }

  void choosingAnotherTypeRedrawsWithoutHidingTheGraph() {
    auto& main = Main();
    OpenTheGraphicsPage();
    main.GoButtonClick();
    QCOMPARE(main.GraphType, 1);
    QVERIFY(main.SelectButton->isHidden());  // the choices never go away
    QTest::mouseClick(main.IntervalRadioButton, Qt::LeftButton, {}, QPoint(6, 6));
    QCOMPARE(main.GraphType, 2);
    QVERIFY(!main.GraphImage->isHidden());
    QVERIFY(!main.ChoicesPanel->isHidden());
    QVERIFY(!main.SaveGraphButton->isHidden());
    // The screen's graph follows the page: twice the room, twice the pixels.
    main.resize(1400, 1300);
    QTest::qWait(50);
    main.GraphImage->repaint();
    const QImage& screen = main.GraphImage->ScreenImage();
    QVERIFY2(screen.width() > 623, qPrintable(QString::number(screen.width())));
    QCOMPARE(screen.deviceIndependentSize().toSize(), QSize(623, 495));
    QCOMPARE(Shown(main.GraphImage).size(), QSize(623, 495));  // what is saved
  }

  void saveAsWritesTheFormatOfTheName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");  // the file name the program writes
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("png") << "g.png" << "g.png" << QByteArray("\x89PNG");
    QTest::newRow("svg") << "g.svg" << "g.svg" << QByteArray("<?xml");
    QTest::newRow("pdf") << "g.PDF" << "g.PDF" << QByteArray("%PDF");
    QTest::newRow("bitmap") << "g.bmp" << "g.bmp" << QByteArray("BM");
    QTest::newRow("no extension") << "graph" << "graph.png" << QByteArray("\x89PNG");
  }

  void saveAsWritesTheFormatOfTheName() {
    QFETCH(QString, name);
    QFETCH(QString, written);
    QFETCH(QByteArray, start);
    auto& main = Main();
    OpenTheGraphicsPage();
    QTest::mouseClick(main.PaperRadioButton, Qt::LeftButton, {}, QPoint(6, 6));
    main.GoButtonClick();
    QCOMPARE(main.GraphType, 6);
    QVERIFY(!main.SaveAsButton->isHidden());
    rig->user.saveFileAnswers.push_back((rig->folder / name.toStdString()).string());
    QTest::mouseClick(main.SaveAsButton, Qt::LeftButton);
    const std::string path = (rig->folder / written.toStdString()).string();
    QCOMPARE(rig->user.messages, Messages{"The graph was saved in  " + path});
    const std::string bytes = quilmor::testing::ReadBytes(path);
    QCOMPARE(QByteArray::fromStdString(bytes.substr(0, start.size())), start);
  }

  // A failed Save as keeps the program's text and adds the system's reason;
  // a device at the name stays a device.
  void saveAsTellsWhyAWriteFailed() {
    auto& main = Main();
    OpenTheGraphicsPage();
    main.GoButtonClick();
    const std::filesystem::path folder = rig->folder.Path();
    std::filesystem::create_directory(folder / "in_the_way.png");
    const bool device =
        ::mknod((folder / "full.svg").c_str(), S_IFCHR | 0666, ::makedev(1, 7)) == 0;
    const struct {
      std::string path;
      std::string reason;
    } rows[] = {
        {(folder / "missing" / "g.png").string(), "No such file or directory"},
        {(folder / "in_the_way.png").string(), "a folder of that name exists (Is a directory)"},
        {(folder / "full.svg").string(), "write failed: No space left on device"},
    };
    for (const auto& row : rows) {
      if (row.path.ends_with("full.svg") && !device) continue;
      rig->user.messages.clear();
      rig->user.saveFileAnswers.push_back(row.path);
      rig->user.yesNoAnswers = {true};  // overwrite what stands there
      QTest::mouseClick(main.SaveAsButton, Qt::LeftButton);
      QCOMPARE(rig->user.messages,
               Messages{"The graph could not be saved in  " + row.path + ": " + row.reason});
    }
    QVERIFY(std::filesystem::is_directory(folder / "in_the_way.png"));
    if (device) QVERIFY(std::filesystem::is_character_file(folder / "full.svg"));
  }

  void paperAndLogarithmicAxesAreOptionsOfTheirGraphs() {
    auto& main = Main();
    OpenTheGraphicsPage();
    main.GoButtonClick();
    QVERIFY(!main.LogPeriodCheckBox->isEnabled());
    QVERIFY(!main.PaperComboBox->isEnabled());
    QTest::mouseClick(main.ReturnRadioButton, Qt::LeftButton, {}, QPoint(6, 6));
    QVERIFY(main.LogPeriodCheckBox->isEnabled());
    const QImage linear = Shown(main.GraphImage);
    main.LogPeriodCheckBox->setChecked(true);  // redraws at once
    QCOMPARE(main.GraphType, 4);
    QVERIFY(Shown(main.GraphImage) != linear);
    QTest::mouseClick(main.PaperRadioButton, Qt::LeftButton, {}, QPoint(6, 6));
    QVERIFY(main.PaperComboBox->isEnabled() && main.LogXCheckBox->isEnabled());
    QVERIFY(!main.LogPeriodCheckBox->isEnabled());
    QVERIFY(main.ShownPicture && main.ShownPicture->paper);
    const std::string fitted = main.ShownPicture->paper->XTitle;
    const int gumbel = main.PaperComboBox->findData(QStringLiteral("gumbel"));
    QVERIFY(gumbel > 0);
    main.PaperComboBox->setCurrentIndex(gumbel);
    emit main.PaperComboBox->activated(gumbel);
    QCOMPARE(main.ShownPicture->paper->XTitle, std::string("Cumulative frequency (%) on Gumbel paper"));
    QVERIFY(fitted != main.ShownPicture->paper->XTitle);
    QVERIFY(!main.ShownPicture->paper->scales.logX);
    main.LogXCheckBox->setChecked(true);
    QVERIFY(main.ShownPicture->paper->scales.logX);
  }

  void saveCancelledOrNotOverwritten() {
    auto& main = Main();
    OpenTheGraphicsPage();
    main.GoButtonClick();
    QTest::mouseClick(main.SaveGraphButton, Qt::LeftButton);  // dialog cancelled
    QCOMPARE(rig->user.messages, Messages{"The graph was not saved"});
    const auto existing = rig->folder / "old.bmp";
    WriteBytes(existing, "keep");
    rig->user.saveFileAnswers.push_back(existing.string());
    rig->user.yesNoAnswers = {false};
    QTest::mouseClick(main.SaveBlWhButton, Qt::LeftButton);
    QCOMPARE(rig->user.questions, Messages{"The file already exists, overwrite?"});
    QCOMPARE(rig->user.messages, Messages{"The graph was not saved"});  // nothing new
    QCOMPARE(quilmor::testing::ReadBytes(existing), std::string("keep"));
    QVERIFY(main.ColourGraph);
    rig->user.saveFileAnswers.push_back(existing.string());
    rig->user.yesNoAnswers = {true};
    QTest::mouseClick(main.SaveGraphButton, Qt::LeftButton);
    QCOMPARE(QImage(QString::fromStdString(existing.string())).size(), QSize(623, 495));
  }

  void noTypeSelected() {
    auto& main = Main();
    OpenTheGraphicsPage();
    for (QRadioButton* r : main.ChoicesPanel->findChildren<QRadioButton*>()) {
      r->setAutoExclusive(false);
      r->setChecked(false);
      r->setAutoExclusive(true);
    }
    QTest::mouseClick(main.GoButton, Qt::LeftButton);
    QCOMPARE(rig->user.messages, Messages{" The desired type of graph could not be assessed"});
    QVERIFY(main.GraphImage->isHidden());
  }

  void aReportThatIsGoneLeavesTheSeriesOfBefore() {
    auto& main = Main();
    OpenTheGraphicsPage();
    main.GoButtonClick();
    const QImage before = Shown(main.GraphImage);
    std::filesystem::remove(report);
    main.GoButtonClick();
    QCOMPARE(rig->user.messages.size(), std::size_t{1});
    QVERIFY(rig->user.messages[0].starts_with("The file \"" + report + "\"could not be opened."));
    QCOMPARE(Shown(main.GraphImage), before);  // drawn from the series held
  }

  void openASavedGraph() {
    auto& main = Main();
    OpenTheGraphicsPage();
    main.GoButtonClick();
    const std::string saved = (rig->folder / "pictures" / "saved.bmp").string();
    std::filesystem::create_directories(rig->folder / "pictures");
    rig->user.saveFileAnswers.push_back(saved);
    main.SaveGraphButtonClick();
    rig->user.messages.clear();

    main.ShowPage(main.OutputTabSheet);
    rig->user.openFileAnswers.push_back(saved);
    QTest::mouseClick(main.SeeGraphButton, Qt::LeftButton);  // reached from any page
    QCOMPARE(rig->user.openDialogs.back().filter, std::string("Graph files (*.bmp)|*.bmp"));
    QCOMPARE(rig->user.openDialogs.back().defaultExtension, std::string("bmp"));
    QVERIFY(rig->user.messages.empty());
    QCOMPARE(main.PageControl1->currentWidget(), main.GraphicsTabSheet);
    QVERIFY(!main.PictureImage->isHidden());
    QCOMPARE(Shown(main.PictureImage).size(), QSize(623, 495));
    QCOMPARE(Shown(main.PictureImage).pixelColor(kFrame), QColor(0, 0, 255));
    QVERIFY(main.GraphShown);
    QVERIFY(main.ChoicesPanel->isHidden());
    QVERIFY(main.OutputMemo->isHidden());
    QVERIFY(main.ViewGraphButton->isHidden());
    QVERIFY(main.CalcButton->isHidden());
    QVERIFY(main.GraphImage->isHidden());
    QCOMPARE(main.DialogFolder, (rig->folder / "pictures").string());
    quilmor::testing::SaveScreenshot(main, QStringLiteral("page_graphics_picture.png"));
    // The Output page hides the picture and offers the choices again.
    main.ShowPage(main.OutputTabSheet);
    QVERIFY(main.PictureImage->isHidden());
  }

  void openAGraphCancelledMissingOrNoPicture() {
    auto& main = Main();
    main.GraphOpenAction->trigger();
    rig->user.openFileAnswers.push_back((rig->folder / "none.bmp").string());
    main.GraphOpenAction->trigger();
    const auto text = rig->folder / "text.bmp";
    WriteBytes(text, "not a picture");
    rig->user.openFileAnswers.push_back(text.string());
    main.GraphOpenAction->trigger();
    QCOMPARE(
        rig->user.messages,
        (Messages{"No graphics file was selected", "File does not exist, please select another one",
                  "The file \"" + text.string() + "\" is not a readable picture"}));
    QVERIFY(main.PictureImage->isHidden());
  }

  void reportOpenedLaterIsDrawnToo() {
    auto& main = Main();
    main.ShowPage(main.GraphicsTabSheet);
    rig->user.openFileAnswers.push_back(report);
    QTest::mouseClick(main.MakeGraphButton, Qt::LeftButton);
    QVERIFY(!rig->app->state.NameIsCurrent);
    QCOMPARE(main.StatusText(), QStringLiteral("Select type of graph"));
    QTest::mouseClick(main.GoButton, Qt::LeftButton);
    QVERIFY(rig->user.messages.empty());
    QVERIFY(!main.GraphImage->isHidden());
    // The name comes from the code in the report.
    QVERIFY(!rig->app->state.DistributionName.empty());
  }
};

QTEST_MAIN(GraphicsPageTest)
#include "graphics_page_test.moc"
