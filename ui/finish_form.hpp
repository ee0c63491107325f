// The closing window: the only way out of the program.
#pragma once

#include "textio/interaction.hpp"
#include "ui/base_form.hpp"

class QPlainTextEdit;
class QPushButton;

namespace quilmor::ui {

class TFinishForm : public TBaseForm {
  Q_OBJECT

 public:
  explicit TFinishForm(UserInteraction& ui, QWidget* parent = nullptr);

  QPlainTextEdit* FinishMemo = nullptr;
  QPushButton* FinishButton = nullptr;

  void FormShow();
  void FinishButtonClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  UserInteraction& m_ui;
};

}  // namespace quilmor::ui
