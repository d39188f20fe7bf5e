#pragma once
// Internal to platform/ui (includes Qt): what a window handle points at, and
// the behaviour of each window class (the class procedure of a control).

#include <QMetaObject>
#include <QWidget>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/common_controls.h"
#include "platform/ui/cwnd.h"

class QTimer;
class QMenuBar;
struct WindowRecord;

struct CreateParams {
  std::string className;
  std::string text;
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect{0, 0, 0, 0};  // pixels; client coordinates of the parent for a child, screen otherwise
  HWND parent = nullptr;  // parent of a child, owner of a popup
  UINT id = 0;
  HFONT font = nullptr;
};

// The class procedure: builds the widget and answers the messages a window
// of this class understands by default.
class WindowBehavior {
 public:
  WindowBehavior() = default;
  WindowBehavior(const WindowBehavior&) = delete;
  WindowBehavior& operator=(const WindowBehavior&) = delete;
  virtual ~WindowBehavior() = default;

  // The control's widget inside parent (never null for a child).
  virtual QWidget* Build(WindowRecord& record, QWidget* parent) = 0;
  // Class-specific default processing; nullopt leaves it to the generic one.
  virtual std::optional<LRESULT> Handle(WindowRecord& record, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)record, (void)message, (void)wParam, (void)lParam;
    return std::nullopt;
  }
  virtual std::string Text(const WindowRecord& record) const;
  virtual void SetText(WindowRecord& record, const std::string& text);
  // A height the control keeps whatever its rectangle says (a combo box's
  // rectangle includes its drop-down list); 0 for none.
  virtual int FixedHeight() const { return 0; }
  // The style bits changed (ModifyStyle).
  virtual void StyleChanged(WindowRecord& record) { (void)record; }
  // Called when the window is being destroyed, before its widget goes.
  virtual void Destroying(WindowRecord& record) { (void)record; }
};

struct WindowRecord {
  std::string className;
  std::unique_ptr<WindowBehavior> behavior;
  QWidget* widget = nullptr;  // the outer widget (the frame of a top-level window)
  QWidget* client = nullptr;  // the client area: children, painting, mouse
  QMenuBar* menuBar = nullptr;
  HWND parent = nullptr;  // child: parent; top-level: owner
  bool isChild = false;
  std::vector<HWND> children;  // creation (tab) order
  CWnd* wnd = nullptr;         // the attached object
  std::unique_ptr<CWnd> temporary;
  UINT id = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  std::string text;
  std::map<UINT_PTR, std::unique_ptr<QTimer>> timers;
  HMENU menu = nullptr;
  HMENU systemMenu = nullptr;
  HACCEL accelerators = nullptr;
  HFONT font = nullptr;
  HFONT ownedFont = nullptr;  // deleted with the window
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  bool destroying = false;
  unsigned long long activation = 0;  // order of the last show, for GetLastActivePopup
  std::vector<QMetaObject::Connection> connections;
  std::unique_ptr<QObject> eventFilter;

  template <typename Sender, typename Signal, typename Fn>
  void Connect(Sender* sender, Signal signal, Fn fn) {
    connections.push_back(QObject::connect(sender, signal, fn));
  }
};

// ---- internal services of the window manager
[[nodiscard]] WindowRecord* LiveRecord(HWND hWnd);  // null for a dead or null handle
HWND CreateWindowRecord(const CreateParams& params);
// Delivers a message on the user-interface thread: to the attached object's
// WindowProc, else the class procedure.
LRESULT DeliverMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Sends WM_COMMAND with a control notification to the control's parent.
void NotifyParentCommand(WindowRecord& control, UINT code);
// Sends WM_NOTIFY to the control's parent; header's hwndFrom, idFrom and code are filled in.
LRESULT NotifyParent(WindowRecord& control, UINT code, NMHDR* header);
[[nodiscard]] std::vector<HWND> TopLevelWindows();
void RegisterWidget(QWidget* widget, HWND hWnd);
[[nodiscard]] QString ToQt(const std::string& text);
[[nodiscard]] std::string FromQt(const QString& text);
[[nodiscard]] std::unique_ptr<WindowBehavior> MakeBehavior(const std::string& className, DWORD style);
