// The window records behind HWND: creation, message delivery, the generic
// default processing, destruction, and the platform's window functions.

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "platform/ui/frame_widget.h"
#include "platform/ui/gdi_internal.h"
#include "platform/ui/gdi_objects.h"
#include "platform/ui/live_call.h"
#include "platform/ui/menu.h"
#include "platform/ui/ui_layer.h"

namespace {

// Both icons a window was given, each image at its own size.
QIcon WindowIconOf(HICON big, HICON small) {
  QIcon icon;
  for (HICON one : {big, small}) {
    const QImage image = IconToImage(one);
    if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

std::unordered_set<WindowRecord*>& Records() {
  static std::unordered_set<WindowRecord*> records;
  return records;
}
std::unordered_map<const QWidget*, HWND>& Widgets() {
  static std::unordered_map<const QWidget*, HWND> widgets;
  return widgets;
}
std::vector<HWND>& CreationOrder() {
  static std::vector<HWND> order;
  return order;
}
unsigned long long g_activation = 0;

// Windows with a client area of their own: frames for top-level windows,
// plain widgets for child windows of the generic and dialog classes.
class GenericBehavior final : public WindowBehavior {
 public:
  QWidget* Build(WindowRecord& rec, QWidget* parent) override {
    HWND self = &rec;
    if (rec.isChild) {
      auto* w = new ClientWidget(self, parent);
      rec.client = w;
      return w;
    }
    auto* frame = new FrameWidget(self, parent);
    rec.client = frame->Client();
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (rec.style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (rec.style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
    if (rec.style & WS_MAXIMIZEBOX) flags |= Qt::WindowMaximizeButtonHint;
    if (!(rec.style & WS_CAPTION)) flags |= Qt::FramelessWindowHint;
    frame->setWindowFlags(flags);
    return frame;
  }
};

void DestroyTree(HWND hWnd);

}  // namespace

std::string WindowBehavior::Text(const WindowRecord& record) const { return record.text; }

void WindowBehavior::SetText(WindowRecord& record, const std::string& text) {
  record.text = text;
  if (!record.isChild && record.widget) record.widget->setWindowTitle(ToQt(text));
}

QString ToQt(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
std::string FromQt(const QString& text) { return text.toUtf8().toStdString(); }

WindowRecord* LiveRecord(HWND hWnd) {
  if (!hWnd) return nullptr;
  return Records().count(hWnd) ? hWnd : nullptr;
}

void RegisterWidget(QWidget* widget, HWND hWnd) {
  if (widget) Widgets()[widget] = hWnd;
}

HWND WindowOfWidget(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    auto it = Widgets().find(w);
    if (it != Widgets().end() && LiveRecord(it->second)) return it->second;
  }
  return nullptr;
}

QWidget* WidgetOfWindow(HWND hWnd) {
  WindowRecord* rec = LiveRecord(hWnd);
  return rec ? rec->widget : nullptr;
}

QWidget* ClientWidgetOfWindow(HWND hWnd) {
  WindowRecord* rec = LiveRecord(hWnd);
  return rec ? rec->client : nullptr;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> out;
  for (HWND h : CreationOrder()) {
    if (LiveRecord(h) && !h->isChild) out.push_back(h);
  }
  return out;
}

std::unique_ptr<WindowBehavior> MakeGenericBehavior() { return std::make_unique<GenericBehavior>(); }

HWND CreateWindowRecord(const CreateParams& params) {
  InstallUiLayerHooks();
  auto* rec = new WindowRecord;
  rec->className = params.className;
  rec->style = params.style;
  rec->exStyle = params.exStyle;
  rec->id = params.id;
  rec->isChild = (params.style & WS_CHILD) != 0;
  rec->parent = params.parent;
  WindowRecord* parentRec = LiveRecord(params.parent);
  if (rec->isChild && !parentRec) {
    delete rec;
    return nullptr;
  }
  Records().insert(rec);
  CreationOrder().push_back(rec);
  rec->behavior = MakeBehavior(params.className, params.style);
  if (!rec->behavior) rec->behavior = MakeGenericBehavior();

  // Owned top-level windows get no Qt parent: disabling an owner during a
  // modal run must not disable the modal window with it.
  QWidget* parentWidget = rec->isChild ? parentRec->client : nullptr;
  QWidget* w = rec->behavior->Build(*rec, parentWidget);
  rec->widget = w;
  if (!rec->client) rec->client = w;
  RegisterWidget(w, rec);
  RegisterWidget(rec->client, rec);

  const RECT& r = params.rect;
  if (rec->isChild) {
    const int fixed = rec->behavior->FixedHeight();
    w->setGeometry(r.left, r.top, std::max(0, r.right - r.left), fixed > 0 ? fixed : std::max(0, r.bottom - r.top));
    parentRec->children.push_back(rec);
  } else if (auto* frame = dynamic_cast<FrameWidget*>(w)) {
    frame->move(r.left, r.top);
    frame->SetClientSize(std::max(0, r.right - r.left), std::max(0, r.bottom - r.top));
  } else {
    w->setGeometry(r.left, r.top, std::max(0, r.right - r.left), std::max(0, r.bottom - r.top));
  }
  if (params.style & WS_DISABLED) w->setEnabled(false);
  // A child created under a shown parent stays hidden until shown, and one
  // under a hidden parent would appear with it: say which explicitly.
  if (rec->isChild) w->setVisible(false);
  if (params.font) DefWindowProc(rec, WM_SETFONT, reinterpret_cast<WPARAM>(params.font), FALSE);
  rec->behavior->SetText(*rec, params.text);
  return rec;
}

LRESULT DeliverMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord* rec = LiveRecord(hWnd);
  if (!rec) return 0;
  NoteUiActivity();
  if (rec->wnd) return rec->wnd->WindowProc(message, wParam, lParam);
  return DefWindowProc(hWnd, message, wParam, lParam);
}

void NotifyParentCommand(WindowRecord& control, UINT code) {
  if (control.destroying || !control.parent) return;
  DeliverMessage(control.parent, WM_COMMAND, MAKEWPARAM(control.id, code), reinterpret_cast<LPARAM>(&control));
}

LRESULT NotifyParent(WindowRecord& control, UINT code, NMHDR* header) {
  if (!control.parent) return 0;
  header->hwndFrom = &control;
  header->idFrom = control.id;
  header->code = code;
  return DeliverMessage(control.parent, WM_NOTIFY, control.id, reinterpret_cast<LPARAM>(header));
}

LRESULT DefWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord* rec = LiveRecord(hWnd);
  if (!rec) return 0;
  if (auto handled = rec->behavior->Handle(*rec, message, wParam, lParam)) return *handled;
  switch (message) {
    case WM_SETTEXT:
      rec->behavior->SetText(*rec, lParam ? reinterpret_cast<const char*>(lParam) : "");
      return TRUE;
    case WM_GETTEXT: {
      std::string text = rec->behavior->Text(*rec);
      if (wParam == 0 || !lParam) return 0;
      std::size_t n = std::min<std::size_t>(text.size(), wParam - 1);
      std::memcpy(reinterpret_cast<char*>(lParam), text.data(), n);
      reinterpret_cast<char*>(lParam)[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(rec->behavior->Text(*rec).size());
    case WM_CLOSE:
      DestroyWindow(hWnd);
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0u) {
        case SC_CLOSE:
          DeliverMessage(hWnd, WM_CLOSE, 0, 0);
          break;
        case SC_MINIMIZE:
          ShowWindow(hWnd, SW_MINIMIZE);
          break;
        case SC_MAXIMIZE:
          ShowWindow(hWnd, SW_MAXIMIZE);
          break;
        case SC_RESTORE:
          ShowWindow(hWnd, SW_RESTORE);
          break;
        case SC_KEYMENU:
          if (CWnd* w = CWnd::FromHandle(hWnd)) w->ShowSystemMenu();
          break;
        default:
          break;
      }
      return 0;
    case WM_CONTEXTMENU:
      // Unhandled, it climbs to the parent, as the platform passes it on.
      if (rec->isChild && rec->parent) return DeliverMessage(rec->parent, message, wParam, lParam);
      return 0;
    case WM_SETFONT:
      rec->font = reinterpret_cast<HFONT>(wParam);
      if (rec->widget) rec->widget->setFont(FontToQt(rec->font));
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(rec->font);
    case WM_SETICON: {
      HICON old = wParam ? rec->bigIcon : rec->smallIcon;
      (wParam ? rec->bigIcon : rec->smallIcon) = reinterpret_cast<HICON>(lParam);
      // The window manager and the task bar show a top-level window's icons.
      if (!rec->isChild && rec->widget) rec->widget->setWindowIcon(WindowIconOf(rec->bigIcon, rec->smallIcon));
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_ERASEBKGND:
    case WM_ICONERASEBKGND:
      return 1;
    default:
      return 0;
  }
}

namespace {

void DestroyTree(HWND hWnd) {
  WindowRecord* rec = LiveRecord(hWnd);
  if (!rec) return;
  rec->destroying = true;
  DeliverMessage(hWnd, WM_DESTROY, 0, 0);
  std::vector<HWND> children = rec->children;
  for (HWND child : children) DestroyTree(child);
  rec->behavior->Destroying(*rec);
  for (auto& c : rec->connections) QObject::disconnect(c);
  rec->connections.clear();
  rec->timers.clear();
  DeliverMessage(hWnd, WM_NCDESTROY, 0, 0);
}

void FreeTree(HWND hWnd) {
  WindowRecord* rec = LiveRecord(hWnd);
  if (!rec) return;
  for (HWND child : rec->children) FreeTree(child);
  for (auto it = Widgets().begin(); it != Widgets().end();) {
    it = (it->second == hWnd) ? Widgets().erase(it) : std::next(it);
  }
  if (rec->menu) ::DestroyMenu(rec->menu);
  if (rec->systemMenu) ::DestroyMenu(rec->systemMenu);
  if (rec->ownedFont) DeleteFontRecord(rec->ownedFont);
  Records().erase(rec);
  auto& order = CreationOrder();
  order.erase(std::remove(order.begin(), order.end(), hWnd), order.end());
  delete rec;
}

}  // namespace

BOOL DestroyWindow(HWND hWnd) {
  return WithWindow(hWnd, FALSE, [&](WindowRecord& rec) -> BOOL {
    if (rec.destroying) return TRUE;
    // Owned top-level windows go first, as the platform destroys them.
    for (HWND other : TopLevelWindows()) {
      if (other != hWnd && other->parent == hWnd) DestroyWindow(other);
    }
    QWidget* widget = rec.widget;
    if (widget) widget->hide();
    DestroyTree(hWnd);
    if (WindowRecord* parentRec = rec.isChild ? LiveRecord(rec.parent) : nullptr) {
      auto& siblings = parentRec->children;
      siblings.erase(std::remove(siblings.begin(), siblings.end(), hWnd), siblings.end());
    }
    FreeTree(hWnd);
    // Later, not now: we may be inside one of the widget's own event handlers.
    if (widget) widget->deleteLater();
    return TRUE;
  });
}

BOOL IsWindow(HWND hWnd) {
  return UiCall([&]() -> BOOL { return LiveRecord(hWnd) ? TRUE : FALSE; });
}

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return UiCall([&]() -> LRESULT { return DeliverMessage(hWnd, message, wParam, lParam); });
}

BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (QCoreApplication::instance() == nullptr) return FALSE;
  // In the one queue: after everything queued before it, and under the kill
  // rule of its poster's other posts. A window gone by then gets nothing.
  UiLater([=] { DeliverMessage(hWnd, message, wParam, lParam); });
  return TRUE;
}

BOOL EnableWindow(HWND hWnd, BOOL enable) {
  return WithWindow(hWnd, FALSE, [&](WindowRecord& rec) -> BOOL {
    if (!rec.widget) return FALSE;
    BOOL wasDisabled = rec.widget->testAttribute(Qt::WA_ForceDisabled) ? TRUE : FALSE;
    rec.widget->setEnabled(enable != FALSE);
    if (enable)
      rec.style &= ~WS_DISABLED;
    else
      rec.style |= WS_DISABLED;
    if ((wasDisabled != FALSE) == (enable == FALSE)) return wasDisabled;
    DeliverMessage(hWnd, WM_ENABLE, static_cast<WPARAM>(enable), 0);
    return wasDisabled;
  });
}

BOOL IsWindowEnabled(HWND hWnd) {
  // The window's own state, as the platform answers, whatever its parent's.
  return WithWindow(hWnd, FALSE, [](WindowRecord& rec) -> BOOL {
    return rec.widget && !rec.widget->testAttribute(Qt::WA_ForceDisabled) ? TRUE : FALSE;
  });
}

BOOL ShowWindow(HWND hWnd, int command) {
  return WithWindow(hWnd, FALSE, [&](WindowRecord& rec) -> BOOL {
    if (!rec.widget) return FALSE;
    QWidget* w = rec.widget;
    BOOL wasVisible = w->isVisibleTo(w->parentWidget() ? w->parentWidget() : w) || w->isVisible() ? TRUE : FALSE;
    if (!rec.isChild && command != SW_HIDE) rec.activation = ++g_activation;
    switch (command) {
      case SW_HIDE:
        w->hide();
        rec.style &= ~WS_VISIBLE;
        return wasVisible;
      case SW_MINIMIZE:
      case SW_SHOWMINIMIZED:
      case SW_SHOWMINNOACTIVE:
        if (rec.isChild)
          w->show();
        else
          w->showMinimized();
        break;
      case SW_SHOWMAXIMIZED:
        if (rec.isChild)
          w->show();
        else
          w->showMaximized();
        break;
      case SW_SHOWNORMAL:
      case SW_RESTORE:
        if (rec.isChild)
          w->show();
        else
          w->showNormal();
        break;
      default:
        w->show();
        break;
    }
    rec.style |= WS_VISIBLE;
    return wasVisible;
  });
}

BOOL IsWindowVisible(HWND hWnd) {
  return WithWindow(hWnd, FALSE,
                    [&](WindowRecord& rec) -> BOOL { return rec.widget && rec.widget->isVisible() ? TRUE : FALSE; });
}

BOOL IsIconic(HWND hWnd) {
  return WithWindow(hWnd, FALSE, [&](WindowRecord& rec) -> BOOL {
    return rec.widget && !rec.isChild && rec.widget->isMinimized() ? TRUE : FALSE;
  });
}

BOOL SetWindowText(HWND hWnd, LPCSTR text) {
  return static_cast<BOOL>(SendMessage(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int GetWindowText(HWND hWnd, LPSTR buffer, int maxCount) {
  if (maxCount <= 0 || !buffer) return 0;
  return static_cast<int>(
      SendMessage(hWnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

HWND GetDlgItem(HWND dialog, int id) {
  return WithWindow(dialog, nullptr, [&](WindowRecord& rec) -> HWND {
    for (HWND child : rec.children) {
      if (static_cast<int>(child->id) == id) return child;
    }
    return nullptr;
  });
}

HWND GetParent(HWND hWnd) {
  return WithWindow(hWnd, nullptr, [&](WindowRecord& rec) -> HWND { return rec.parent; });
}

BOOL SetForegroundWindow(HWND hWnd) {
  return WithWindow(hWnd, FALSE, [&](WindowRecord& rec) -> BOOL {
    if (!rec.widget) return FALSE;
    QWidget* top = rec.widget->window();
    top->raise();
    top->activateWindow();
    if (HWND topHwnd = WindowOfWidget(top)) topHwnd->activation = ++g_activation;
    return TRUE;
  });
}

HWND GetLastActivePopup(HWND hWnd) {
  return WithWindow(hWnd, nullptr, [&](WindowRecord&) -> HWND {
    HWND best = hWnd;
    unsigned long long bestOrder = 0;
    for (HWND other : TopLevelWindows()) {
      if (other == hWnd || other->parent != hWnd || !other->widget || !other->widget->isVisible()) continue;
      if (other->activation >= bestOrder) {
        bestOrder = other->activation;
        best = other;
      }
    }
    return best;
  });
}

HWND GetActiveWindow() {
  return UiCall([]() -> HWND {
    QWidget* active = QApplication::activeWindow();
    return active ? WindowOfWidget(active) : nullptr;
  });
}

BOOL GetClientRect(HWND hWnd, LPRECT rect) {
  return WithWindow(hWnd, FALSE, [&](WindowRecord& rec) -> BOOL {
    if (!rect || !rec.client) return FALSE;
    *rect = RECT{0, 0, rec.client->width(), rec.client->height()};
    return TRUE;
  });
}

BOOL GetWindowRect(HWND hWnd, LPRECT rect) {
  return WithWindow(hWnd, FALSE, [&](WindowRecord& rec) -> BOOL {
    if (!rect || !rec.widget) return FALSE;
    QWidget* w = rec.widget;
    QPoint origin = rec.isChild ? w->mapToGlobal(QPoint(0, 0)) : w->frameGeometry().topLeft();
    QSize size = rec.isChild ? w->size() : w->frameGeometry().size();
    *rect = RECT{origin.x(), origin.y(), origin.x() + size.width(), origin.y() + size.height()};
    return TRUE;
  });
}

BOOL ScreenToClient(HWND hWnd, LPPOINT point) {
  return WithWindow(hWnd, FALSE, [&](WindowRecord& rec) -> BOOL {
    if (!point || !rec.client) return FALSE;
    QPoint p = rec.client->mapFromGlobal(QPoint(point->x, point->y));
    *point = POINT{p.x(), p.y()};
    return TRUE;
  });
}

BOOL ClientToScreen(HWND hWnd, LPPOINT point) {
  return WithWindow(hWnd, FALSE, [&](WindowRecord& rec) -> BOOL {
    if (!point || !rec.client) return FALSE;
    QPoint p = rec.client->mapToGlobal(QPoint(point->x, point->y));
    *point = POINT{p.x(), p.y()};
    return TRUE;
  });
}

BOOL MoveWindow(HWND hWnd, int x, int y, int width, int height, BOOL repaint) {
  (void)repaint;
  return WithWindow(hWnd, FALSE, [&](WindowRecord& rec) -> BOOL {
    if (!rec.widget) return FALSE;
    if (rec.isChild) {
      const int fixed = rec.behavior->FixedHeight();
      rec.widget->setGeometry(x, y, std::max(0, width), fixed > 0 ? fixed : std::max(0, height));
    } else {
      // Top-level: the frame's outer rectangle, as the platform places it.
      rec.widget->move(x, y);
      QRect frame = rec.widget->frameGeometry();
      QRect inner = rec.widget->geometry();
      rec.widget->resize(std::max(0, width - (frame.width() - inner.width())),
                         std::max(0, height - (frame.height() - inner.height())));
    }
    return TRUE;
  });
}

BOOL InvalidateRect(HWND hWnd, LPCRECT rect, BOOL erase) {
  (void)erase;
  return WithWindow(hWnd, FALSE, [&](WindowRecord& rec) -> BOOL {
    if (!rec.client) return FALSE;
    if (rect)
      rec.client->update(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    else
      rec.client->update();
    if (rec.client != rec.widget && rec.widget) rec.widget->update();
    return TRUE;
  });
}

DWORD GetWindowStyle(HWND hWnd) {
  return WithWindow(hWnd, 0, [&](WindowRecord& rec) -> DWORD {
    DWORD style = rec.style & ~(WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
    if (rec.widget) {
      if (rec.isChild ? !rec.widget->isHidden() : rec.widget->isVisible()) style |= WS_VISIBLE;
      if (rec.widget->testAttribute(Qt::WA_ForceDisabled)) style |= WS_DISABLED;
      if (!rec.isChild && rec.widget->isMinimized()) style |= WS_MINIMIZE;
      if (!rec.isChild && rec.widget->isMaximized()) style |= WS_MAXIMIZE;
    }
    return style;
  });
}

UINT_PTR SetTimer(HWND hWnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  return WithWindow(hWnd, 0, [&](WindowRecord& rec) -> UINT_PTR {
    // Re-arming an id replaces the pending timer, as on the platform.
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(static_cast<int>(std::min<UINT>(elapse, 0x7FFFFFFF)));
    QObject::connect(timer.get(), &QTimer::timeout, [hWnd, id, proc] {
      if (!LiveRecord(hWnd) || hWnd->destroying) return;
      if (proc)
        proc(hWnd, WM_TIMER, id, 0);
      else
        DeliverMessage(hWnd, WM_TIMER, id, 0);
    });
    timer->start();
    rec.timers[id] = std::move(timer);
    return id == 0 ? 1 : id;
  });
}

BOOL KillTimer(HWND hWnd, UINT_PTR id) {
  return WithWindow(hWnd, FALSE, [&](WindowRecord& rec) -> BOOL {
    auto it = rec.timers.find(id);
    if (it == rec.timers.end()) return FALSE;
    // Stopped now: a killed timer never fires again, also when the object's
    // deletion waits (a deferred delete runs only once control is back in
    // an event loop, which a plain pump of events is not). Deleted later:
    // it may be the timer whose timeout is running now.
    QTimer* timer = it->second.release();
    timer->stop();
    timer->deleteLater();
    rec.timers.erase(it);
    return TRUE;
  });
}

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXICON:
    case SM_CYICON:
      return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    case SM_CXSCREEN:
    case SM_CYSCREEN:
      return UiCall([index]() -> int {
        QScreen* screen = QGuiApplication::primaryScreen();
        if (!screen) return index == SM_CXSCREEN ? 1024 : 768;
        return index == SM_CXSCREEN ? screen->geometry().width() : screen->geometry().height();
      });
    default:
      return 0;
  }
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
  return UiCall([&]() -> HWND {
    for (HWND h : TopLevelWindows()) {
      if (className && h->className != className) continue;
      if (windowName && h->behavior->Text(*h) != windowName) continue;
      return h;
    }
    return nullptr;
  });
}

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  long long product = static_cast<long long>(number) * numerator;
  long long half = (denominator < 0 ? -static_cast<long long>(denominator) : denominator) / 2;
  bool negative = (product < 0) != (denominator < 0);
  long long magnitude = (product < 0 ? -product : product) + half;
  long long q = magnitude / (denominator < 0 ? -static_cast<long long>(denominator) : denominator);
  return static_cast<int>(negative ? -q : q);
}
