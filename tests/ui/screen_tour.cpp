// A tour of the desktop program for the screenshots of the README: started
// under a real X server with a window manager (scripts/screenshots.sh), it
// builds the program as main() does, opens an example, runs it, and saves a
// picture of every page, the calculator and the closing window, each with
// the window manager's frame, as the user sees it.
//
//   quilmor_screen_tour OUTPUT-FOLDER SUFFIX
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <cstdio>
#include <filesystem>

#include "scripted_interaction.hpp"
#include "ui/application.hpp"

namespace {

bool Shoot(QWidget& window, const QString& folder, const QString& name) {
  QTest::qWait(400);  // drawn, frame included
  const QRect frame = window.frameGeometry();
  const QPixmap shot =
      window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
  const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
  if (!shot.save(path)) {
    std::fprintf(stderr, "could not save %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s %dx%d\n", qPrintable(path), shot.width(), shot.height());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: quilmor_screen_tour OUTPUT-FOLDER SUFFIX\n");
    return 2;
  }
  QStandardPaths::setTestModeEnabled(true);
  QApplication::setApplicationName(QString::fromLatin1(quilmor::ui::kApplicationTitle));
  const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
  const QString suffix = QString::fromLocal8Bit(argv[2]);
  const std::filesystem::path work = std::filesystem::temp_directory_path() / "quilmor-tour";
  std::filesystem::remove_all(work);
  std::filesystem::create_directories(work);

  quilmor::testing::ScriptedInteraction user;
  quilmor::ui::Application program(user);
  auto& main = program.mainForm;
  main.show();
  if (!QTest::qWaitForWindowExposed(&main)) return 1;
  bool ok = Shoot(main, folder, QStringLiteral("intro") + suffix);

  // An example series, a plain file of values, opened and run.
  const std::string example =
      std::string(QUILMOR_SOURCE_DIR) + "/data/examples/wabash_annual_peak_flow.txt";
  user.openFileAnswers.push_back(example);
  main.InputOpenAction->trigger();
  main.Title1Edit->setText(QStringLiteral("Wabash River at Lafayette"));
  main.Title2Edit->setText(QStringLiteral("Annual peak flow, cfs"));
  ok = Shoot(main, folder, QStringLiteral("input_page") + suffix) && ok;
  user.saveFileAnswers.push_back((work / "wabash.inp").string());
  main.InputSaveAction->trigger();
  // The report, scrolled into its table of frequencies: the headings stay.
  QPlainTextEdit* report = main.OutputMemo;
  const QTextBlock block = report->document()->findBlockByNumber(60);
  report->verticalScrollBar()->setValue(block.isValid() ? 60 : 0);
  ok = Shoot(main, folder, QStringLiteral("output_page") + suffix) && ok;

  main.ViewGraphButtonClick();
  main.GoButtonClick();
  ok = Shoot(main, folder, QStringLiteral("graphics_page") + suffix) && ok;

  main.ShowPage(main.OutputTabSheet);
  main.CalcButtonClick();
  auto& calc = program.calcForm;
  if (!QTest::qWaitForWindowExposed(&calc)) return 1;
  calc.move(main.frameGeometry().right() - calc.width() / 2, main.y() + 120);
  calc.Edit1->setText(QStringLiteral("60000"));
  calc.Edit7Click();
  calc.Edit5->setText(QStringLiteral("100"));
  calc.Edit5Exit();
  ok = Shoot(calc, folder, QStringLiteral("calculator") + suffix) && ok;
  calc.hide();

  main.close();
  auto& finish = program.finishForm;
  if (!QTest::qWaitForWindowExposed(&finish)) return 1;
  ok = Shoot(finish, folder, QStringLiteral("closing_window") + suffix) && ok;
  for (const std::string& message : user.messages) std::printf("message: %s\n", message.c_str());
  std::filesystem::remove_all(work);
  return ok ? 0 : 1;
}
