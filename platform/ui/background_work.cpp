#include "platform/ui/background_work.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <thread>
#include <utility>

#include "platform/ui/cwnd.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/ui_layer.h"

void RunOffUiThread(std::function<void()> work) { std::thread(std::move(work)).detach(); }

namespace {

const QEvent::Type kRunLaterEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// The operation travels in an event of ours rather than in a queued
// functor of Qt's, so the hand-over from the posting thread can be marked
// for the thread sanitizer on an address both sides know.
class RunLaterEvent final : public QEvent {
 public:
  explicit RunLaterEvent(std::function<void()> op) : QEvent(kRunLaterEvent), m_op(std::move(op)) {}
  RunLaterEvent(const RunLaterEvent&) = delete;
  RunLaterEvent& operator=(const RunLaterEvent&) = delete;
  // An event still queued when the application ends is destroyed without
  // being delivered; that is a hand-over too.
  ~RunLaterEvent() override { NotePostedEventReceived(this); }
  void Run() const { m_op(); }

 private:
  std::function<void()> m_op;
};

class LaterRunner final : public QObject {
 public:
  bool event(QEvent* e) override {
    NotePostedEventReceived(e);
    if (e->type() != kRunLaterEvent) return QObject::event(e);
    static_cast<const RunLaterEvent*>(e)->Run();
    return true;
  }
};

// Lives on the user-interface thread for the rest of the process, whichever
// thread asks first; never destroyed, since events may still arrive while
// the application ends.
QObject* Runner(QCoreApplication* app) {
  static QObject* const runner = [app] {
    auto* made = new LaterRunner;
    made->moveToThread(app->thread());
    return made;
  }();
  return runner;
}

}  // namespace

void UiLater(std::function<void()> op) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) {
    return;
  }
  auto* event = new RunLaterEvent(std::move(op));
  NotePostedEventSent(event);
  QCoreApplication::postEvent(Runner(app), event);
}

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
