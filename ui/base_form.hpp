// A window with one status bar holding a single text panel.
#pragma once

#include <QMainWindow>
#include <QString>
#include <string>

class QLabel;
class QStatusBar;

namespace quilmor::ui {

class TBaseForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TBaseForm(QWidget* parent = nullptr);

  // Puts `text` into the status bar and repaints the window at once.
  void ShowStatus(const QString& text);
  void ShowStatus(const std::string& text);
  QString StatusText() const;

  QStatusBar* StatusBar1 = nullptr;

 private:
  QLabel* m_statusPanel = nullptr;
};

}  // namespace quilmor::ui
