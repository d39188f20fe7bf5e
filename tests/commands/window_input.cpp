#include "tests/commands/window_input.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "platform/ui/qt_bridge.h"

namespace {

void SendMouse(QWidget* client, QPoint point, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers) {
  QWidget* top = client->window();
  QWindow* handle = top->windowHandle();
  if (handle == nullptr) return;
  const QPointF inWindow(client->mapTo(top, point));
  const QPointF global(client->mapToGlobal(point));
  QMouseEvent event(type, inWindow, inWindow, global, button, held, modifiers);
  QApplication::sendEvent(handle, &event);
}

}  // namespace

void ClickWindow(HWND window, QPoint point, Qt::MouseButton button, Clicks clicks, Qt::KeyboardModifiers modifiers) {
  ClickWidget(ClientWidgetOfWindow(window), point, button, clicks, modifiers);
}

void ClickWidget(QWidget* widget, QPoint point, Qt::MouseButton button, Clicks clicks,
                 Qt::KeyboardModifiers modifiers) {
  QPointer<QWidget> client = widget;
  if (client == nullptr) return;
  SendMouse(client, point, QEvent::MouseButtonPress, button, button, modifiers);
  if (client) SendMouse(client, point, QEvent::MouseButtonRelease, button, Qt::NoButton, modifiers);
  if (clicks == Clicks::Double && client) {
    // Qt's order for a second click in time: press, double-click, release.
    SendMouse(client, point, QEvent::MouseButtonPress, button, button, modifiers);
    if (client) SendMouse(client, point, QEvent::MouseButtonDblClick, button, button, modifiers);
    if (client) SendMouse(client, point, QEvent::MouseButtonRelease, button, Qt::NoButton, modifiers);
  }
  QApplication::processEvents();
}

QMenuBar* MenuBarOf(HWND window) {
  QWidget* frame = WidgetOfWindow(window);
  return frame != nullptr ? frame->findChild<QMenuBar*>() : nullptr;
}

bool WithNextPopupMenu(const std::function<void()>& run, const std::function<void(QMenu&)>& look) {
  bool shown = false;
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr || !menu->isVisible() || shown) return;
    shown = true;
    poll.stop();
    QPointer<QMenu> alive = menu;
    look(*menu);
    if (alive && alive->isVisible()) {
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(alive, &escape);
    }
  });
  poll.start();
  run();
  poll.stop();
  QApplication::processEvents();
  return shown;
}

void PressKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers) {
  if (widget == nullptr) return;
  QString text;
  if (key >= Qt::Key_A && key <= Qt::Key_Z && !(modifiers & Qt::ControlModifier)) {
    text = QChar('a' + (key - Qt::Key_A));
  }
  QPointer<QWidget> alive = widget;
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(widget, &press);
  if (alive == nullptr) return;
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(widget, &release);
}

void PressKeyIn(HWND window, int key, Qt::KeyboardModifiers modifiers) {
  QWidget* widget = WidgetOfWindow(window);
  if (widget == nullptr) return;
  widget->setFocus(Qt::OtherFocusReason);
  PressKey(widget, key, modifiers);
}
