#include "ui/focus_watch.hpp"

#include <QFocusEvent>
#include <QWidget>

namespace quilmor::ui {

FocusWatch* FocusWatch::Install(QWidget* control, std::function<void()> onEnter,
                                std::function<void()> onExit) {
  auto* watch = new FocusWatch(control, std::move(onEnter), std::move(onExit));
  control->installEventFilter(watch);
  return watch;
}

FocusWatch::FocusWatch(QWidget* control, std::function<void()> onEnter,
                       std::function<void()> onExit)
    : QObject(control), m_onEnter(std::move(onEnter)), m_onExit(std::move(onExit)) {}

namespace {
bool MovesInsideWindow(const QFocusEvent* event) {
  return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}
}  // namespace

bool FocusWatch::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
    const auto* focus = static_cast<QFocusEvent*>(event);
    if (MovesInsideWindow(focus)) {
      const auto& handler = event->type() == QEvent::FocusIn ? m_onEnter : m_onExit;
      if (handler) handler();
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace quilmor::ui
