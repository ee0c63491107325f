// The "Design values" page after a Save-Run of the Wabash series (Gumbel
// preferred, a quick fit): its tables come from the run in memory and agree
// with the calculator's parameter file, the design life adds the risk, the
// bootstrap runs on a worker thread while the window answers, Cancel stops
// it, and Copy and Save CSV give the tables.
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>
#include <cmath>
#include <fstream>

#include "textio/text_file.hpp"
#include "ui/design_values_page.hpp"
#include "ui_fixture.hpp"

using quilmor::testing::UiRig;

namespace {

std::vector<double> Wabash() {
  std::ifstream in(std::string(QUILMOR_SOURCE_DIR) + "/data/examples/wabash_annual_peak_flow.txt");
  std::vector<double> values;
  for (double v; in >> v;) values.push_back(v);
  return values;
}

// The number a cell shows.
double Cell(const QTableWidget* table, int row, int column) {
  const QTableWidgetItem* item = table->item(row, column);
  if (!item || item->text().isEmpty()) return std::nan("");
  return item->text().toDouble();
}

}  // namespace

class DesignPageTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<UiRig> rig;
  quilmor::ui::DesignValuesPage& Page() { return *rig->Main().DesignPage; }

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
    rig->Main().ShowPage(rig->Main().DesignTabSheet);
  }
  void cleanup() { rig.reset(); }

  void tablesComeFromTheRun() {
    auto& page = Page();
    QVERIFY(page.HasAnalysis());
    QCOMPARE(page.HeadingLabel->text(), QStringLiteral("Gumbel distribution (code 4), N = 116"));
    QCOMPARE(page.DesignTable->rowCount(), 10);  // the default return periods
    QCOMPARE(page.DesignTable->horizontalHeaderItem(2)->text(), QStringLiteral("X"));
    QCOMPARE(page.CandidatesTable->rowCount(), 1);  // the preferred function
    // X_100 by the parameter file's Gumbel: X = (-ln(-ln F) - B)/A + S.
    const auto aux = *quilmor::textio::ReadTextLines(rig->folder / "gumbel.aux");
    const double a = std::stod(aux[1]), b = std::stod(aux[2]), s = std::stod(aux[3]);
    const double x100 = (-std::log(-std::log(0.99)) - b) / a + s;
    QCOMPARE(page.DesignTable->item(6, 0)->text(), QStringLiteral("100"));
    QVERIFY(std::fabs(page.DesignRows()[6].x - x100) <= 1e-9 * x100);
    QVERIFY(std::isnan(Cell(page.DesignTable, 6, 10)));  // no risk without a design life
  }

  void designLifeAddsTheRisk() {
    auto& page = Page();
    page.DesignLifeEdit->setText(QStringLiteral("50"));
    page.DesignLifeEditExit();
    // T = 100: 1 - 0.99^50 = 0.394994 as shown with 6 digits.
    QCOMPARE(page.DesignTable->item(6, 10)->text(), QStringLiteral("0.394994"));
    page.DesignLifeEdit->setText(QStringLiteral("0"));
    page.DesignLifeEditExit();
    QCOMPARE(rig->user.messages.size(), std::size_t{1});
  }

  void bootstrapRunsOnAWorkerAndFillsTheLimits() {
    auto& page = Page();
    page.ReplicatesEdit->setText(QStringLiteral("40"));
    QTest::mouseClick(page.BootstrapButton, Qt::LeftButton);
    QVERIFY(page.BootstrapRunning());
    QVERIFY(!page.BootstrapButton->isEnabled());
    QVERIFY(page.CancelButton->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!page.BootstrapRunning(), 60000);
    QVERIFY(page.Bootstrap().has_value());
    QCOMPARE(page.BootstrapProgress->value(), 40);
    const double lower = Cell(page.DesignTable, 6, 5), upper = Cell(page.DesignTable, 6, 6);
    QVERIFY(lower < upper);
    QVERIFY(!std::isnan(Cell(page.DesignTable, 6, 9)));  // the median
    QVERIFY(page.BootstrapLabel->text().contains(QStringLiteral("4: 100.0 %")));

    // The probability paper of this run shows the band, at the design points.
    auto& main = rig->Main();
    main.ShowPage(main.GraphicsTabSheet);
    main.PaperRadioButton->setChecked(true);
    main.GoButtonClick();
    QVERIFY(main.ShownPicture && main.ShownPicture->paper);
    QVERIFY(main.ShownPicture->paper->series.bootstrap.has_value());
    const auto& band = *main.ShownPicture->paper->series.bootstrap;
    QCOMPARE(band.lower.size(), std::size_t{10});
    QCOMPARE(band.lower[6].x, page.DesignRows()[6].chosenAnewLower);
  }

  void cancelStopsTheBootstrap() {
    auto& page = Page();
    page.ReplicatesEdit->setText(QStringLiteral("100000"));
    QTest::mouseClick(page.BootstrapButton, Qt::LeftButton);
    QTest::qWait(50);  // the window answers meanwhile
    QTest::mouseClick(page.CancelButton, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!page.BootstrapRunning(), 60000);
    QVERIFY(!page.Bootstrap().has_value());
    QVERIFY(page.BootstrapLabel->text().startsWith(QStringLiteral("Bootstrap cancelled")));
    QVERIFY(std::isnan(Cell(page.DesignTable, 6, 5)));
  }

  void copyAndSaveGiveTheTables() {
    auto& page = Page();
    QTest::mouseClick(page.CopyDesignButton, Qt::LeftButton);
    const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'));
    QCOMPARE(lines[0], QStringLiteral("T\tF\tX\tmethod_lower\tmethod_upper\tchosen_anew_lower\t"
                                      "chosen_anew_upper\tsame_function_lower\t"
                                      "same_function_upper\tbootstrap_median\trisk"));
    QVERIFY(lines[1].startsWith(QStringLiteral("2\t0.5\t")));
    const std::string csv = (rig->folder / "candidates.csv").string();
    rig->user.saveFileAnswers.push_back(csv);
    QTest::mouseClick(page.SaveCandidatesButton, Qt::LeftButton);
    const auto saved = quilmor::textio::ReadTextLines(csv);
    QVERIFY(saved.has_value());
    QCOMPARE(saved->size(), std::size_t{2});
    QCOMPARE(saved->at(0),
             std::string("code,name,k,sse,rmse,aicc,bic,ks_distance,anderson_darling,ppcc,"
                         "near_best,chosen"));
    QVERIFY(saved->at(1).rfind("4,Gumbel distribution,2,", 0) == 0);
  }

  void sortingByAColumn() {
    auto& page = Page();
    page.DesignTable->sortItems(0, Qt::DescendingOrder);
    QCOMPARE(page.DesignTable->item(0, 0)->text(), QStringLiteral("1000"));
    QCOMPARE(page.DesignTable->item(9, 0)->text(), QStringLiteral("2"));
  }
};

QTEST_MAIN(DesignPageTest)
#include "design_page_test.moc"
