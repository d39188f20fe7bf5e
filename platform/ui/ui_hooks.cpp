// The layer's process-wide hooks on the QApplication: key messages (the
// pre-translation chain with dialog keys and accelerators, Alt+Space for
// the system menu, the lock keys), and the idle pass when the event loop
// runs dry.

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include "platform/ui/accelerators.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/ui_layer.h"
#include "platform/ui/win_app.h"
#include "platform/ui/window_record.h"

namespace {

bool g_installed = false;
bool g_idlePending = false;
bool g_inIdle = false;
int g_crossThreadDepth = 0;
bool g_deferredPending = false;
bool g_deferredArmed = false;

WORD VirtualKey(const QKeyEvent* e) {
  const int key = e->key();
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<WORD>('A' + (key - Qt::Key_A));
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<WORD>('0' + (key - Qt::Key_0));
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<WORD>(VK_F1 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_Space:
      return VK_SPACE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return VK_TAB;
    case Qt::Key_Backspace:
      return VK_BACK;
    case Qt::Key_Delete:
      return VK_DELETE;
    case Qt::Key_Insert:
      return VK_INSERT;
    case Qt::Key_Left:
      return VK_LEFT;
    case Qt::Key_Right:
      return VK_RIGHT;
    case Qt::Key_Up:
      return VK_UP;
    case Qt::Key_Down:
      return VK_DOWN;
    case Qt::Key_Home:
      return VK_HOME;
    case Qt::Key_End:
      return VK_END;
    case Qt::Key_PageUp:
      return VK_PRIOR;
    case Qt::Key_PageDown:
      return VK_NEXT;
    default:
      return 0;
  }
}

class KeyFilter final : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Sees every event first, a worker's posted calls included.
    NotePostedEventReceived(event);
    if (event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    // A key event is offered to every widget from the focus widget up; take
    // it once, where it arrives first.
    QWidget* focus = QApplication::focusWidget();
    if (focus && widget != focus) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers();
    SetModifierState(mods & Qt::ControlModifier, mods & Qt::ShiftModifier, mods & Qt::AltModifier);
    switch (key->key()) {
      case Qt::Key_CapsLock:
        SetLockKeyState(LockKey::Caps, !GetLockKeyState(LockKey::Caps));
        NoteUiActivity();
        return false;
      case Qt::Key_NumLock:
        SetLockKeyState(LockKey::Num, !GetLockKeyState(LockKey::Num));
        NoteUiActivity();
        return false;
      case Qt::Key_ScrollLock:
        SetLockKeyState(LockKey::Scroll, !GetLockKeyState(LockKey::Scroll));
        NoteUiActivity();
        return false;
      default:
        break;
    }
    HWND target = WindowOfWidget(widget);
    if (!target) return false;
    const WORD vk = VirtualKey(key);
    if (!vk) return false;
    if (vk == VK_SPACE && (mods & Qt::AltModifier)) {
      HWND top = target;
      while (LiveRecord(top) && top->isChild && LiveRecord(top->parent)) top = top->parent;
      if (CWnd* w = CWnd::FromHandle(top)) w->ShowSystemMenu();
      return true;
    }
    MSG msg{target, (mods & Qt::AltModifier) ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 1, 0, {0, 0}};
    NoteUiActivity();
    if (CWinThread* thread = AfxGetThread()) return thread->PreTranslateMessage(&msg) != FALSE;
    CWinThread fallback;
    return fallback.PreTranslateMessage(&msg) != FALSE;
  }
};

void RunIdle() {
  g_inIdle = true;
  AfxRunIdle();
  g_inIdle = false;
}

void RunIdleSoon() {
  if (g_inIdle) return;
  if (g_idlePending) {
    // This pass also answers whatever the other threads changed.
    g_idlePending = false;
    g_deferredPending = false;
    QTimer::singleShot(0, [] { RunIdle(); });
    return;
  }
  if (!g_deferredPending || g_deferredArmed) return;
  g_deferredArmed = true;
  QTimer::singleShot(kCrossThreadIdleMs, [] {
    g_deferredArmed = false;
    if (!g_deferredPending) return;
    g_deferredPending = false;
    RunIdle();
  });
}

}  // namespace

void NoteUiActivity() {
  if (g_inIdle) return;
  (g_crossThreadDepth > 0 ? g_deferredPending : g_idlePending) = true;
}

CrossThreadActivity::CrossThreadActivity() { ++g_crossThreadDepth; }
CrossThreadActivity::~CrossThreadActivity() { --g_crossThreadDepth; }

void InstallUiLayerHooks() {
  if (g_installed) return;
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (!app) return;
  g_installed = true;
  app->installEventFilter(new KeyFilter);  // lives as long as the application
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(app->thread())) {
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [] { RunIdleSoon(); });
  }
}
