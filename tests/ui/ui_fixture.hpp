// The whole desktop program for one test: built as main() builds it, with a
// scripted user and a fresh folder for files.
#pragma once

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "scripted_interaction.hpp"
#include "temp_folder.hpp"
#include "ui/application.hpp"
#include "ui/graph_view.hpp"
#include "ui/string_grid.hpp"

namespace quilmor::testing {

struct UiRig {
  ScriptedInteraction user;
  TempFolder folder;
  std::unique_ptr<ui::Application> app;

  UiRig() {
    QStandardPaths::setTestModeEnabled(true);  // settings (recent files) of the tests only
    app = std::make_unique<ui::Application>(user);
  }
  ui::TMainForm& Main() { return app->mainForm; }
  report::TDMQuilmor& Dm() { return app->dataModule; }

  // Shows the main window and waits until it can take focus and keys.
  bool ShowMain() {
    Main().show();
    QApplication::setActiveWindow(&Main());
    return QTest::qWaitForWindowActive(&Main());
  }
  void ShowInputPage() { Main().ShowPage(Main().InputTabSheet); }

  // Types `text` into the value cell of `row` as a user does: the first key
  // opens the cell's editor, Return closes it.
  void TypeIntoCell(int row, const QString& text) {
    ui::StringGrid* grid = Main().StringGrid1;
    grid->setFocus();
    grid->setCurrentCell(row, 1);
    grid->editItem(grid->item(row, 1));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY2(editor != nullptr, "the cell editor did not open");
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the editor closes queued
  }

  // Types into an edit field and leaves it by clicking the first title
  // (which has no checks of its own).
  void TypeAndLeave(QLineEdit* edit, const QString& text) {
    edit->setFocus(Qt::MouseFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    Main().Title1Edit->setFocus(Qt::MouseFocusReason);
  }

  // Puts `values` into the grid as a column pasted into the first cell.
  void PasteValues(const std::vector<double>& values) {
    QString column;
    for (double v : values) column += QString::number(v, 'g', 15) + QLatin1Char('\n');
    QApplication::clipboard()->setText(column);
    ui::StringGrid* grid = Main().StringGrid1;
    grid->setFocus();
    grid->setCurrentCell(0, 1);
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
  }

  // Save-Run into `name` in the rig's folder; returns the input file's name.
  std::string SaveRun(const std::string& name) {
    const std::string input = (folder / name).string();
    user.saveFileAnswers.push_back(input);
    QTest::mouseClick(Main().InputSaveButton, Qt::LeftButton);
    return input;
  }

  std::vector<QString> ValueColumn() const {
    std::vector<QString> texts;
    for (int r = 0; r < app->mainForm.StringGrid1->rowCount(); ++r) {
      texts.push_back(app->mainForm.StringGrid1->CellText(1, r));
    }
    return texts;
  }
};

inline void UseDecimalPoint(char separator) {
  QLocale::setDefault(separator == ',' ? QLocale(QLocale::German, QLocale::Germany)
                                       : QLocale(QLocale::English, QLocale::UnitedStates));
}

inline void SaveScreenshot(QWidget& widget, const QString& name) {
  const QString path = QStringLiteral(QUILMOR_SCREENSHOT_DIR) + QLatin1Char('/') + name;
  QVERIFY2(widget.grab().save(path), qPrintable(path));
}

}  // namespace quilmor::testing
