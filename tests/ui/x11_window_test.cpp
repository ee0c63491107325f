// The windows under a real X server with a window manager, at the scaling
// the script sets (QT_SCALE_FACTOR 1, 1.5, 2): the main window opens inside
// the free screen area, the graph is painted at the screen's pixel ratio,
// and the calculator stays above the main window when that is raised.
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QtTest>
#include <fstream>

#include "ui_fixture.hpp"

using quilmor::testing::UiRig;

namespace {

std::vector<double> Wabash() {
  std::ifstream in(std::string(QUILMOR_SOURCE_DIR) + "/data/examples/wabash_annual_peak_flow.txt");
  std::vector<double> values;
  for (double v; in >> v;) values.push_back(v);
  return values;
}

// The windows of the screen from the bottom to the top.
QList<WId> Stacking() {
  QProcess xprop;
  xprop.start(QStringLiteral("xprop"),
              {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
  xprop.waitForFinished(5000);
  QList<WId> ids;
  const QString out = QString::fromLatin1(xprop.readAllStandardOutput());
  for (const auto& match : QRegularExpression(QStringLiteral("0x[0-9a-f]+")).globalMatch(out)) {
    ids << match.captured().toULongLong(nullptr, 16);
  }
  return ids;
}

}  // namespace

class X11WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void mainWindowInsideTheScreenAndGraphSharp() {
    UiRig rig;
    auto& main = rig.Main();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QTest::qWait(300);  // the frame is drawn
    const QRect available = main.screen()->availableGeometry();
    QVERIFY2(available.contains(main.frameGeometry()),
             qPrintable(QStringLiteral("frame %1,%2 %3x%4 in %5x%6")
                            .arg(main.frameGeometry().x())
                            .arg(main.frameGeometry().y())
                            .arg(main.frameGeometry().width())
                            .arg(main.frameGeometry().height())
                            .arg(available.width())
                            .arg(available.height())));
    QVERIFY(main.StatusBar1->isVisible());
    // A run, its graph on the screen at the screen's pixels.
    rig.ShowInputPage();
    rig.PasteValues(Wabash());
    rig.SaveRun("wabash.inp");
    main.ViewGraphButtonClick();
    main.GoButtonClick();
    main.GraphImage->repaint();
    const QImage& screen = main.GraphImage->ScreenImage();
    QVERIFY(!screen.isNull());
    const double wanted = main.GraphImage->devicePixelRatioF() * main.GraphImage->width() / 623.0;
    // Painted at the screen's pixels (never below the graph's own).
    QVERIFY2(std::abs(screen.devicePixelRatio() - std::max(1.0, wanted)) < 0.05,
             qPrintable(QString::number(screen.devicePixelRatio())));
    QCOMPARE(main.GraphBitmap.size(), QSize(623, 495));
    // The calculator: above the main window, also after the main window was
    // raised and activated.
    main.ShowPage(main.OutputTabSheet);
    main.CalcButtonClick();
    auto& calc = rig.app->calcForm;
    QVERIFY(QTest::qWaitForWindowExposed(&calc));
    main.raise();
    main.activateWindow();
    QTest::qWait(500);
    const QList<WId> stacking = Stacking();
    QVERIFY(stacking.contains(main.winId()));
    QVERIFY(stacking.contains(calc.winId()));
    QVERIFY(stacking.indexOf(calc.winId()) > stacking.indexOf(main.winId()));
  }
};

QTEST_MAIN(X11WindowTest)
#include "x11_window_test.moc"
