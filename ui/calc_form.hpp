// The calculator window: the fitted function of the last report evaluated
// both ways, from the parameter file and the input file on disk.
#pragma once

#include <QLineEdit>
#include <QWidget>
#include <array>

#include "report/data_module.hpp"
#include "textio/interaction.hpp"

class QLabel;

namespace quilmor::ui {

class TMainForm;

inline constexpr int kCalcFormWidth = 425;
inline constexpr int kCalcFormHeight = 412;

// A number text of the calculator shortened to 7 significant digits in the
// same style ("0.1234568", "1.234568E-5"); a text that is no number stays.
std::string ShortNumber(const std::string& text);

// A field of the calculator that the program fills: it shows the number with
// 7 significant digits and keeps the whole text for its tooltip, for Copy and
// for the next evaluation (as long as the user leaves the text unchanged).
class NumberField : public QLineEdit {
  Q_OBJECT

 public:
  explicit NumberField(QWidget* parent);
  void SetNumber(const std::string& fullText);
  // The whole number when the field shows what the program put there, else
  // the text as typed.
  QString FullText() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QString m_full;
  QString m_shown;
};

class TCalcForm : public QWidget {
  Q_OBJECT

 public:
  TCalcForm(UserInteraction& ui, report::TDMQuilmor& dataModule, TMainForm& mainForm);

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* Label8 = nullptr;
  QLabel* Label9 = nullptr;
  QLabel* Label10 = nullptr;
  QLabel* Label11 = nullptr;
  QLabel* Label12 = nullptr;
  QLabel* Label13 = nullptr;
  QLabel* Label14 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QLineEdit* Edit3 = nullptr;
  QLineEdit* Edit4 = nullptr;
  QLineEdit* Edit5 = nullptr;
  QLineEdit* Edit6 = nullptr;
  QLineEdit* Edit7 = nullptr;
  QLineEdit* Edit8 = nullptr;
  QLineEdit* Edit9 = nullptr;
  QLineEdit* Edit10 = nullptr;
  QLineEdit* Edit11 = nullptr;
  QLineEdit* Edit12 = nullptr;

  void FormShow();
  void FormHide();
  void FormClose();
  void Edit7Click();
  void Edit4Exit();
  void Edit5Exit();
  // Empties every field; a new run or file makes the results stale.
  void ClearResults();
  // "Calculator - " and the input file the parameters belong to.
  void UpdateTitle();
  // Horizontal stretch of the stated layout that gives the number fields room
  // for their numbers in the window's font.
  double HorizontalScale() const { return m_scale; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ClearFields();
  // Shows the outcome's message, if any.
  void Tell(const std::string& message);

  UserInteraction& m_ui;
  report::TDMQuilmor& m_dm;
  TMainForm& m_mainForm;
  double m_scale = 1.0;
  bool m_shown = false;
};

}  // namespace quilmor::ui
