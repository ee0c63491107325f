#include "ui/finish_form.hpp"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/help_texts.hpp"

namespace quilmor::ui {

TFinishForm::TFinishForm(UserInteraction& ui, QWidget* parent) : TBaseForm(parent), m_ui(ui) {
  setObjectName(QStringLiteral("FinishForm"));
  setWindowTitle(QStringLiteral("Quilmor finish"));
  setFixedSize(256, 225);
  auto* central = new QWidget(this);
  FinishMemo = new QPlainTextEdit(central);
  FinishMemo->setObjectName(QStringLiteral("FinishMemo"));
  FinishMemo->setReadOnly(true);
  FinishMemo->setFocusPolicy(Qt::NoFocus);
  FinishMemo->setPlainText(help::Finish());
  QPalette palette = FinishMemo->palette();
  palette.setColor(QPalette::Base, QColor(255, 253, 232));
  palette.setColor(QPalette::Text, Qt::black);
  FinishMemo->setPalette(palette);
  FinishButton = new QPushButton(QStringLiteral("Finish"), central);
  FinishButton->setObjectName(QStringLiteral("FinishButton"));
  FinishButton->setDefault(true);
  auto* layout = new QVBoxLayout(central);
  layout->addWidget(FinishMemo, 1);
  layout->addWidget(FinishButton, 0, Qt::AlignHCenter);
  setCentralWidget(central);
  connect(FinishButton, &QPushButton::clicked, this, &TFinishForm::FinishButtonClick);
}

void TFinishForm::FormShow() { ShowStatus(QStringLiteral("Click Finish to end the program")); }

void TFinishForm::FinishButtonClick() { m_ui.RequestQuit(); }

void TFinishForm::showEvent(QShowEvent* event) {
  TBaseForm::showEvent(event);
  FormShow();
}

void TFinishForm::closeEvent(QCloseEvent* event) {
  event->accept();
  m_ui.RequestQuit();
}

}  // namespace quilmor::ui
