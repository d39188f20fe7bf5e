#include "platform/ui/background_work.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <thread>
#include <utility>

void RunOffUiThread(std::function<void()> work) { std::thread(std::move(work)).detach(); }

void UiLater(std::function<void()> op) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) {
    return;
  }
  QMetaObject::invokeMethod(app, std::move(op), Qt::QueuedConnection);
}
