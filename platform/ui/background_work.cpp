#include "platform/ui/background_work.h"

#include <QPointer>
#include <QWidget>
#include <memory>
#include <thread>
#include <utility>

#include "platform/ui/cwnd.h"
#include "platform/ui/qt_bridge.h"

void RunOffUiThread(std::function<void()> work) { std::thread(std::move(work)).detach(); }

WindowSteps LaterStepsFor(HWND window) {
  // Shared, so copies on other threads only count references; the guard is
  // read on the user-interface thread alone.
  auto alive = std::make_shared<const QPointer<QWidget>>(WidgetOfWindow(window));
  return [alive, window](std::function<void()> op) {
    UiLater([alive, window, op = std::move(op)] {
      if (!alive->isNull() && IsWindow(window)) op();
    });
  };
}
