#include "platform/ui/ui_call.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>

#include "platform/ui/ui_layer.h"

namespace {

enum class OpState { Queued, Running, Done, Cancelled };

// How a queued operation counts for the idle pass (see CrossThreadActivity):
// as another thread's call or post, or as a later step (UiLater, a posted
// window message), which earns the pass a posted message earns.
enum class Activity { AnotherThread, Later };

struct QueuedOp {
  std::function<void()> op;
  Activity activity = Activity::AnotherThread;
  std::mutex mutex;
  std::condition_variable cv;
  OpState state = OpState::Queued;
  std::exception_ptr error;
  // Posted: nobody waits; the poster's killed mark and its queued count.
  bool posted = false;
  std::shared_ptr<const std::atomic<bool>> killed;
  std::shared_ptr<std::atomic<int>> outstanding;
};

// Runs a queued operation; answers what it threw.
std::exception_ptr RunQueued(const QueuedOp& op) {
  try {
    if (op.activity == Activity::Later) {
      op.op();
    } else {
      const CrossThreadActivity fromAnotherThread;
      NoteUiActivity();
      op.op();
    }
  } catch (...) {
    return std::current_exception();
  }
  return nullptr;
}

// Runs a post unless its thread was killed; its count drops either way.
// A post has no caller to rethrow to.
void RunPosted(QueuedOp& op) {
  if (!op.killed || !op.killed->load()) static_cast<void>(RunQueued(op));
  if (op.outstanding) op.outstanding->fetch_sub(1);
}

const QEvent::Type kRunQueuedEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// Lives on the user-interface thread; each posted event runs the oldest
// queued operation, so nested event loops (modal dialogs) keep the queue
// moving and the order holds.
class Dispatcher final : public QObject {
 public:
  void Post(std::shared_ptr<QueuedOp> op) {
    {
      std::lock_guard lock(m_mutex);
      m_queue.push_back(std::move(op));
    }
    auto* event = new QEvent(kRunQueuedEvent);
    NotePostedEventSent(event);
    QCoreApplication::postEvent(this, event);
  }

  bool event(QEvent* e) override {
    NotePostedEventReceived(e);
    if (e->type() != kRunQueuedEvent) return QObject::event(e);
    std::shared_ptr<QueuedOp> op;
    {
      std::lock_guard lock(m_mutex);
      if (m_queue.empty()) return true;
      op = std::move(m_queue.front());
      m_queue.pop_front();
    }
    if (op->posted) {
      RunPosted(*op);
      return true;
    }
    {
      std::lock_guard lock(op->mutex);
      if (op->state == OpState::Cancelled) return true;
      op->state = OpState::Running;
    }
    const std::exception_ptr error = RunQueued(*op);
    {
      std::lock_guard lock(op->mutex);
      op->error = error;
      op->state = OpState::Done;
    }
    op->cv.notify_all();
    return true;
  }

 private:
  std::mutex m_mutex;
  std::deque<std::shared_ptr<QueuedOp>> m_queue;
};

std::atomic<QThread*> g_uiThread{nullptr};
std::mutex g_dispatcherMutex;
Dispatcher* g_dispatcher = nullptr;

QThread* UiThread() {
  QThread* t = g_uiThread.load();
  if (t) return t;
  QCoreApplication* app = QCoreApplication::instance();
  return app ? app->thread() : nullptr;
}

Dispatcher* GetDispatcher() {
  std::lock_guard lock(g_dispatcherMutex);
  if (!g_dispatcher) {
    g_dispatcher = new Dispatcher;  // lives as long as the process
    if (QThread* t = UiThread()) g_dispatcher->moveToThread(t);
  }
  return g_dispatcher;
}

}  // namespace

void SetUiThread() {
  g_uiThread.store(QThread::currentThread());
  GetDispatcher();
  InstallUiLayerHooks();
}

bool IsUiThread() {
  QThread* t = UiThread();
  return t == nullptr || t == QThread::currentThread();
}

namespace {

// Queues op from a thread other than the user-interface thread and waits for
// it, as UiCallVoid promises.
void CallAndWait(const std::function<void()>& op, Activity activity) {
  ThreadControl* control = ThreadControl::Current();
  if (control && control->IsKilled()) throw ThreadKilled{};

  auto queued = std::make_shared<QueuedOp>();
  queued->op = op;
  queued->activity = activity;
  std::weak_ptr<QueuedOp> weak = queued;
  bool waitRegistered = false;
  if (control) {
    // The release runs on the killing thread: a queued operation is marked so
    // it never runs, and the waiter wakes. One already running finishes
    // first (it uses the waiter's stack), which is as long as one message.
    waitRegistered = control->BeginWait([weak] {
      if (auto q = weak.lock()) {
        {
          std::lock_guard lock(q->mutex);
          if (q->state == OpState::Queued) q->state = OpState::Cancelled;
        }
        q->cv.notify_all();
      }
    });
    if (!waitRegistered) throw ThreadKilled{};
  }
  GetDispatcher()->Post(queued);

  std::unique_lock lock(queued->mutex);
  queued->cv.wait(lock, [&] { return queued->state == OpState::Done || queued->state == OpState::Cancelled; });
  OpState final = queued->state;
  std::exception_ptr error = queued->error;
  lock.unlock();
  if (control) control->EndWait();
  if (final == OpState::Cancelled) throw ThreadKilled{};
  if (error) std::rethrow_exception(error);
  if (control && control->IsKilled()) throw ThreadKilled{};
}

// Queues a post, as UiPost promises from another thread; also what a later
// step is on the user-interface thread, which has no thread control.
void QueuePost(std::function<void()> op, Activity activity) {
  ThreadControl* control = ThreadControl::Current();
  if (control && control->IsKilled()) throw ThreadKilled{};
  thread_local const auto t_outstanding = std::make_shared<std::atomic<int>>(0);
  if (control && t_outstanding->load() >= kMaxOutstandingPosts) {
    // Runs after every earlier post, so waiting for it drains them. It is
    // still a post to its maker: what it throws is dropped, and it runs
    // from here, not from a copy.
    CallAndWait(
        [&op] {
          try {
            op();
          } catch (...) {
          }
        },
        activity);
    return;
  }
  auto queued = std::make_shared<QueuedOp>();
  queued->op = std::move(op);
  queued->activity = activity;
  queued->posted = true;
  if (control) {
    queued->killed = control->KilledMark();
    queued->outstanding = t_outstanding;
    t_outstanding->fetch_add(1);
  }
  GetDispatcher()->Post(std::move(queued));
}

}  // namespace

void UiCallVoid(const std::function<void()>& op) {
  if (IsUiThread()) {
    op();
    return;
  }
  CallAndWait(op, Activity::AnotherThread);
}

void UiPost(std::function<void()> op) {
  if (IsUiThread()) {
    op();
    return;
  }
  QueuePost(std::move(op), Activity::AnotherThread);
}

void UiLater(std::function<void()> op) {
  if (QCoreApplication::instance() == nullptr) return;
  QueuePost(std::move(op), Activity::Later);
}
