// The calculator window after a Save-Run: its layout, the three evaluations
// against the fitted Gumbel function written out by hand from the parameter
// file, the messages, and what showing and hiding the window does.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>
#include <cmath>
#include <fstream>

#include "textio/text_file.hpp"
#include "ui_fixture.hpp"

using quilmor::testing::UiRig;
using Messages = std::vector<std::string>;

namespace {

std::vector<double> Wabash() {
  std::ifstream in(std::string(QUILMOR_SOURCE_DIR) + "/data/examples/wabash_annual_peak_flow.txt");
  std::vector<double> values;
  for (double v; in >> v;) values.push_back(v);
  return values;
}

// The Gumbel function of a parameter file: code 4, then A, B and S.
struct Gumbel {
  double A = 0, B = 0, S = 0;
  // F = exp(-exp(-(A x + B))), x = X - S.
  double Freq(double X) const { return std::exp(-std::exp(-(A * (X - S) + B))); }
  // Its inverse: X = (-ln(-ln F) - B)/A + S.
  double Value(double F) const { return (-std::log(-std::log(F)) - B) / A + S; }
};

// 90% limits of a frequency from n data: sd = sqrt((1-F) F n)/n,
// lower = F - 3.4 sd F, upper = F + 3.4 sd (1-F).
void Limits(double F, int n, double& lower, double& upper) {
  const double sd = std::sqrt((1 - F) * F * n) / n;
  lower = F - 3.4 * sd * F;
  upper = F + 3.4 * sd * (1 - F);
}

// The whole number of a field (it shows 7 significant digits).
double Number(const QLineEdit* edit) {
  bool ok = false;
  const auto* field = qobject_cast<const quilmor::ui::NumberField*>(edit);
  const double value = (field ? field->FullText() : edit->text()).toDouble(&ok);
  if (!ok) qWarning("not a number: %s", qPrintable(edit->text()));
  return value;
}

// Texts hold 15 significant digits; the tolerance covers the last one and
// the different order of the same operations.
bool Near(double actual, double expected) {
  return std::fabs(actual - expected) <= 1e-11 * std::max(1.0, std::fabs(expected));
}

}  // namespace

class CalcWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<UiRig> rig;
  Gumbel gumbel;
  quilmor::ui::TCalcForm& Calc() { return rig->app->calcForm; }

  void OpenCalculator() {
    QTest::mouseClick(rig->Main().CalcButton, Qt::LeftButton);
    QVERIFY(Calc().isVisible());
    QApplication::setActiveWindow(&Calc());
    QVERIFY(QTest::qWaitForWindowActive(&Calc()));
  }

  // Types into a field and leaves it by clicking the "Go ->" field below.
  void TypeAndLeave(QLineEdit* edit, const QString& text) {
    edit->setFocus(Qt::MouseFocusReason);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
    QTest::mouseClick(Calc().Edit8, Qt::LeftButton);
  }

 private slots:
  void init() {
    quilmor::testing::UseDecimalPoint('.');
    rig = std::make_unique<UiRig>();
    QVERIFY(rig->ShowMain());
    rig->ShowInputPage();
    rig->PasteValues(Wabash());
    rig->Main().PreferenceRadioButtons[9]->click();  // Gumbel (Fisher-Tippett I)
    rig->SaveRun("gumbel.inp");
    rig->user.messages.clear();
    const auto aux = *quilmor::textio::ReadTextLines(rig->folder / "gumbel.aux");
    QCOMPARE(aux.size(), std::size_t{4});
    QCOMPARE(aux[0], std::string("4"));
    gumbel = Gumbel{std::stod(aux[1]), std::stod(aux[2]), std::stod(aux[3])};
    QVERIFY(gumbel.A > 0);
  }
  void cleanup() { rig.reset(); }

  void layoutAtTheStatedCoordinates_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");  // labels: width is the least width
    const struct {
      const char* name;
      int l, t, w, h;
    } rows[] = {{"Label7", 32, 16, 295, 13},   {"Label1", 40, 40, 36, 13},
                {"Label2", 184, 40, 51, 13},   {"Label3", 272, 40, 42, 13},
                {"Edit1", 32, 64, 65, 21},     {"Edit7", 120, 64, 33, 21},
                {"Edit2", 176, 64, 65, 21},    {"Edit3", 264, 64, 65, 21},
                {"Label9", 208, 104, 175, 13}, {"Label10", 240, 120, 38, 13},
                {"Label11", 320, 120, 38, 13}, {"Edit9", 224, 136, 65, 21},
                {"Edit10", 304, 136, 65, 21},  {"Label8", 24, 216, 286, 13},
                {"Label4", 40, 240, 51, 13},   {"Label5", 128, 240, 42, 13},
                {"Label6", 272, 240, 36, 13},  {"Edit4", 32, 264, 65, 21},
                {"Edit5", 120, 264, 65, 21},   {"Edit8", 208, 264, 33, 21},
                {"Edit6", 264, 264, 65, 21},   {"Label12", 208, 304, 171, 13},
                {"Label13", 240, 320, 38, 13}, {"Label14", 320, 320, 38, 13},
                {"Edit11", 224, 336, 65, 21},  {"Edit12", 304, 336, 65, 21}};
    for (const auto& row : rows) {
      QTest::newRow(row.name) << row.name << QRect(row.l, row.t, row.w, row.h);
    }
  }

  void layoutAtTheStatedCoordinates() {
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    auto& calc = Calc();
    // The stated layout, stretched sideways so that the fields hold their
    // numbers.
    const double scale = calc.HorizontalScale();
    QVERIFY(scale >= 1.0 && scale < 2.0);
    auto x = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
    QCOMPARE(calc.size(), QSize(x(425), 412));
    auto* control = calc.findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->pos(), QPoint(x(rect.left()), rect.top()));
    QCOMPARE(control->height(), rect.height());
    if (qobject_cast<QLabel*>(control)) {
      QVERIFY(control->width() >= x(rect.width()));
    } else {
      QCOMPARE(control->width(), x(rect.width()));
      auto* edit = qobject_cast<QLineEdit*>(control);
      if (rect.width() == 65)
        QVERIFY(edit->fontMetrics().horizontalAdvance(QStringLiteral("-0.0001234568")) <
                edit->width());
    }
  }

  void fieldsAndTheirStates() {
    auto& calc = Calc();
    QCOMPARE(calc.Edit5->text(), QStringLiteral("10"));  // until first shown
    QCOMPARE(calc.Edit7->text(), QStringLiteral("Go ->"));
    QCOMPARE(calc.Edit8->text(), QStringLiteral("Go ->"));
    QVERIFY(calc.Edit7->isReadOnly());
    QVERIFY(calc.Edit8->isReadOnly());
    for (QLineEdit* result :
         {calc.Edit2, calc.Edit3, calc.Edit6, calc.Edit9, calc.Edit10, calc.Edit11, calc.Edit12}) {
      QVERIFY(result->isReadOnly());  // readable and copyable
    }
    QCOMPARE(calc.parentWidget(), &rig->Main());  // kept above the main window
    QCOMPARE(calc.windowTitle(), QStringLiteral("Calculator - gumbel.inp"));
    QCOMPARE(calc.Label7->text(),
             QStringLiteral("Enter X-value to obtain cumulative frequency and return period"));
    QCOMPARE(calc.Label8->text(),
             QStringLiteral("Enter cumulative frequency or return period to obtain X-value"));
    QCOMPARE(calc.Label12->text(), QStringLiteral("90% confidence limits of the X-Value"));
    OpenCalculator();
    QCOMPARE(calc.Edit5->text(), QString());
  }

  void frequencyOfAnXValue() {
    OpenCalculator();
    auto& calc = Calc();
    QTest::keyClicks(calc.Edit1, QStringLiteral("60000"));
    QTest::mouseClick(calc.Edit7, Qt::LeftButton);
    QVERIFY(rig->user.messages.empty());
    const double F = gumbel.Freq(60000);
    double lower = 0, upper = 0;
    Limits(F, 116, lower, upper);
    QVERIFY2(Near(Number(calc.Edit2), F), qPrintable(calc.Edit2->text()));
    QVERIFY(Near(Number(calc.Edit3), 1 / (1 - F)));
    QVERIFY(Near(Number(calc.Edit9), 1 / (1 - lower)));
    QVERIFY(Near(Number(calc.Edit10), 1 / (1 - upper)));
    quilmor::testing::SaveScreenshot(calc, QStringLiteral("calculator_results.png"));
  }

  void resultsShowSevenDigitsKeepTheWholeNumberAndGoWithANewRun() {
    OpenCalculator();
    auto& calc = Calc();
    QTest::keyClicks(calc.Edit1, QStringLiteral("60000"));
    QTest::mouseClick(calc.Edit7, Qt::LeftButton);
    auto* field = qobject_cast<quilmor::ui::NumberField*>(calc.Edit2);
    QVERIFY(field);
    const QString whole = field->FullText();
    QVERIFY2(whole.size() > 10, qPrintable(whole));
    QCOMPARE(calc.Edit2->toolTip(), whole);
    QCOMPARE(calc.Edit2->text().toStdString(), quilmor::ui::ShortNumber(whole.toStdString()));
    QVERIFY(std::fabs(calc.Edit2->text().toDouble() - whole.toDouble()) < 1e-6);
    calc.Edit2->setFocus();
    QTest::keyClick(calc.Edit2, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), whole);
    // Another run: nothing of the earlier series stays on show.
    rig->ShowInputPage();
    rig->user.yesNoAnswers = {true};
    rig->SaveRun("gumbel.inp");
    for (QLineEdit* edit : {calc.Edit1, calc.Edit2, calc.Edit3, calc.Edit9, calc.Edit10}) {
      QCOMPARE(edit->text(), QString());
    }
  }

  void xValueOfAFrequency() {
    OpenCalculator();
    auto& calc = Calc();
    TypeAndLeave(calc.Edit4, QStringLiteral("0.9"));
    QVERIFY(rig->user.messages.empty());
    double lower = 0, upper = 0;
    Limits(0.9, 116, lower, upper);
    QVERIFY2(Near(Number(calc.Edit6), gumbel.Value(0.9)), qPrintable(calc.Edit6->text()));
    QCOMPARE(calc.Edit5->text(), QStringLiteral("10"));  // 1/(1 - 0.9)
    QVERIFY(Near(Number(calc.Edit11), gumbel.Value(lower)));
    QVERIFY(Near(Number(calc.Edit12), gumbel.Value(upper)));
  }

  void xValueOfAReturnPeriod() {
    OpenCalculator();
    auto& calc = Calc();
    TypeAndLeave(calc.Edit5, QStringLiteral("50"));
    QVERIFY(rig->user.messages.empty());
    QCOMPARE(calc.Edit4->text(), QStringLiteral("0.98"));  // 1 - 1/50
    QVERIFY(Near(Number(calc.Edit6), gumbel.Value(0.98)));
    double lower = 0, upper = 0;
    Limits(0.98, 116, lower, upper);
    QVERIFY(Near(Number(calc.Edit11), gumbel.Value(lower)));
    QVERIFY(Near(Number(calc.Edit12), gumbel.Value(upper)));
  }

  void messages_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("X not a number") << "Edit1"
                                    << "6e4x"
                                    << "The value is not a valid real";
    QTest::newRow("F not a number") << "Edit4"
                                    << "0,9x"
                                    << "The frequency is not a valid integer";
    QTest::newRow("F above 1") << "Edit4"
                               << "1.5"
                               << "The frequency must be >0 and <1";
    QTest::newRow("F 0.9999991") << "Edit4"
                                 << "0.9999991"
                                 << "The frequency must be >0 and <1";
    // 0.000001 as a double lies just below the bound.
    QTest::newRow("F 0.000001") << "Edit4"
                                << "0.000001"
                                << "The frequency must be >0 and <1";
    QTest::newRow("F 0.999999") << "Edit4"
                                << "0.999999"
                                << "";
    QTest::newRow("T not a number") << "Edit5"
                                    << "ten"
                                    << "The retrun period is not a valid real";
    QTest::newRow("T above 1000000") << "Edit5"
                                     << "1000001"
                                     << "The return period must be >0 and <1000000";
    QTest::newRow("T 1000000") << "Edit5"
                               << "1000000"
                               << "";
    QTest::newRow("comma decimal") << "Edit4"
                                   << "0,5"
                                   << "";
  }

  void messages() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    OpenCalculator();
    auto& calc = Calc();
    auto* edit = calc.findChild<QLineEdit*>(field);
    if (field == QLatin1String("Edit1")) {
      QTest::keyClicks(edit, typed);
      QTest::mouseClick(calc.Edit7, Qt::LeftButton);
    } else {
      TypeAndLeave(edit, typed);
    }
    const Messages expected = message.isEmpty() ? Messages{} : Messages{message.toStdString()};
    QCOMPARE(rig->user.messages, expected);
    if (!message.isEmpty()) QCOMPARE(calc.Edit6->text(), QString());  // nothing computed
  }

  void showingAndHidingClearsTheFieldsAndReloadsTheGrid() {
    auto& main = rig->Main();
    auto& calc = Calc();
    OpenCalculator();
    TypeAndLeave(calc.Edit5, QStringLiteral("20"));
    QVERIFY(!calc.Edit6->text().isEmpty());
    const QString limit = calc.Edit11->text();
    // The grid was changed after the run; hiding the calculator shows the
    // input file of the report again.
    main.StringGrid1->SetCellText(1, 0, QStringLiteral("1"));
    main.ShowPage(main.GraphicsTabSheet);  // leaving the Output page
    QVERIFY(!calc.isVisible());
    for (QLineEdit* e : {calc.Edit1, calc.Edit2, calc.Edit3, calc.Edit4, calc.Edit5, calc.Edit6}) {
      QCOMPARE(e->text(), QString());
    }
    QCOMPARE(calc.Edit11->text(), limit);  // the limits keep their texts
    QCOMPARE(main.StringGrid1->CellText(1, 0), QStringLiteral("30800"));
    QCOMPARE(main.StringGrid1->rowCount(), 116);
  }
};

QTEST_MAIN(CalcWindowTest)
#include "calc_window_test.moc"
