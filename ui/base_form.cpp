#include "ui/base_form.hpp"

#include <QLabel>
#include <QStatusBar>

#include "ui/qt_interaction.hpp"

namespace quilmor::ui {

TBaseForm::TBaseForm(QWidget* parent) : QMainWindow(parent) {
  StatusBar1 = statusBar();
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  m_statusPanel = new QLabel(StatusBar1);
  m_statusPanel->setObjectName(QStringLiteral("StatusPanel"));
  m_statusPanel->setTextFormat(Qt::PlainText);
  m_statusPanel->setMinimumWidth(1);  // a long text never widens the window
  StatusBar1->addWidget(m_statusPanel, 1);
}

void TBaseForm::ShowStatus(const QString& text) {
  m_statusPanel->setText(text);
  m_statusPanel->setToolTip(text);  // the whole text when the panel is narrower
  repaint();
}

void TBaseForm::ShowStatus(const std::string& text) { ShowStatus(MessageText(text)); }

QString TBaseForm::StatusText() const { return m_statusPanel->text(); }

}  // namespace quilmor::ui
