// Enter and exit events of one control: focus moving into it or away from it
// inside its window. Focus that leaves with the whole window (another window
// or a message box becomes active, a menu opens) is neither.
#pragma once

#include <QObject>
#include <functional>

namespace quilmor::ui {

class FocusWatch : public QObject {
  Q_OBJECT

 public:
  // Watches `control`; the watch is owned by it.
  static FocusWatch* Install(QWidget* control, std::function<void()> onEnter,
                             std::function<void()> onExit);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  FocusWatch(QWidget* control, std::function<void()> onEnter, std::function<void()> onExit);
  std::function<void()> m_onEnter;
  std::function<void()> m_onExit;
};

}  // namespace quilmor::ui
