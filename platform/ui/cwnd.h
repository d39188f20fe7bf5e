#pragma once
// The class library's window: a CWnd object attached to a window record
// (HWND) that wraps one widget. Every public operation is a synchronous call
// into the user-interface thread, so workers call windows as plainly as the
// user-interface thread does.

#include "platform/ui/cmd_target.h"
#include "platform/ui/cstring.h"

class CDC;
class CFont;
class CMenu;
class CDataExchange;

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};

struct MINMAXINFO {
  POINT ptReserved;
  POINT ptMaxSize;
  POINT ptMaxPosition;
  POINT ptMinTrackSize;
  POINT ptMaxTrackSize;
};

struct CREATESTRUCT {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
};
using LPCREATESTRUCT = CREATESTRUCT*;

using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

// Window classes the layer knows, by the names templates use.
inline constexpr const char* WC_BUTTON = "BUTTON";
inline constexpr const char* WC_STATIC = "STATIC";
inline constexpr const char* WC_LISTBOX = "LISTBOX";
inline constexpr const char* WC_COMBOBOX = "COMBOBOX";
inline constexpr const char* WC_EDIT = "EDIT";
inline constexpr const char* WC_TREEVIEW = "SysTreeView32";
inline constexpr const char* WC_LISTVIEW = "SysListView32";
inline constexpr const char* WC_STATUSBAR = "msctls_statusbar32";
inline constexpr const char* WC_TOOLBAR = "ToolbarWindow32";
// Plain windows with a client area: the class library's own window class
// and the dialog class (atom 32770).
inline constexpr const char* WC_GENERIC = "AfxWnd";
inline constexpr const char* WC_DIALOG = "#32770";

inline constexpr UINT GW_HWNDNEXT = 2;
inline constexpr UINT GW_OWNER = 4;
inline constexpr UINT GW_CHILD = 5;

class CWnd : public CCmdTarget {
  DECLARE_DYNCREATE(CWnd)

 public:
  CWnd();
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;
  operator HWND() const { return m_hWnd; }  // NOLINT: implicit as in the class library
  [[nodiscard]] HWND GetSafeHwnd() const { return m_hWnd; }

  // The object attached to the window, or a wrapper the layer keeps for it
  // until the window is destroyed; null for a null or dead handle.
  static CWnd* FromHandle(HWND hWnd);
  // Only an attached object; null otherwise.
  static CWnd* FromHandlePermanent(HWND hWnd);
  BOOL Attach(HWND hWnd);
  HWND Detach();
  // Attaches this object to an existing control so that its messages go
  // through this object's map first.
  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  HWND UnsubclassWindow();

  // ---- creation and destruction
  // className is one of the WC_ names above.
  BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);
  BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id);
  // Sends WM_DESTROY and WM_NCDESTROY (children too), then removes the
  // widget; PostNcDestroy runs last.
  virtual BOOL DestroyWindow();

  // ---- messages
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  // Default processing of the message being handled.
  LRESULT Default();
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
  // Key messages pass here (from the focus window up to its top-level
  // window) before the control sees them; TRUE eats the message.
  virtual BOOL PreTranslateMessage(MSG* msg);
  virtual void PostNcDestroy();
  virtual void DoDataExchange(CDataExchange* pDX);
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  virtual void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT);
  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE);

  // ---- text, state and relations
  void SetWindowText(LPCTSTR text);
  void GetWindowText(CString& text) const;
  int GetWindowText(LPTSTR buffer, int maxCount) const;
  [[nodiscard]] int GetWindowTextLength() const;
  BOOL EnableWindow(BOOL enable = TRUE);
  [[nodiscard]] BOOL IsWindowEnabled() const;
  BOOL ShowWindow(int command);
  [[nodiscard]] BOOL IsWindowVisible() const;
  [[nodiscard]] BOOL IsIconic() const;
  [[nodiscard]] BOOL IsZoomed() const;
  CWnd* SetFocus();
  static CWnd* GetFocus();
  BOOL SetForegroundWindow();
  void BringWindowToTop();
  // The topmost modal window owned by this one, else this window.
  [[nodiscard]] CWnd* GetLastActivePopup() const;
  [[nodiscard]] CWnd* GetParent() const;
  [[nodiscard]] CWnd* GetOwner() const;
  [[nodiscard]] CWnd* GetTopLevelParent() const;
  [[nodiscard]] CWnd* GetWindow(UINT relation) const;
  [[nodiscard]] BOOL IsChild(const CWnd* other) const;
  [[nodiscard]] CWnd* GetDlgItem(int id) const;
  [[nodiscard]] int GetDlgCtrlID() const;
  int SetDlgCtrlID(int id);
  void CheckDlgButton(int id, UINT check);
  [[nodiscard]] UINT IsDlgButtonChecked(int id) const;
  void SetDlgItemText(int id, LPCTSTR text);
  int GetDlgItemText(int id, CString& text) const;
  LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  [[nodiscard]] DWORD GetStyle() const;
  [[nodiscard]] DWORD GetExStyle() const;
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
  [[nodiscard]] CFont* GetFont() const;
  void SetFont(CFont* font, BOOL redraw = TRUE);
  HICON SetIcon(HICON icon, BOOL bigIcon);
  [[nodiscard]] HICON GetIcon(BOOL bigIcon) const;

  // ---- geometry (client coordinates of the parent for children)
  void GetClientRect(LPRECT rect) const;
  void GetWindowRect(LPRECT rect) const;
  void ScreenToClient(LPPOINT point) const;
  void ScreenToClient(LPRECT rect) const;
  void ClientToScreen(LPPOINT point) const;
  void ClientToScreen(LPRECT rect) const;
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
  void CenterWindow(CWnd* alternateOwner = nullptr);
  void Invalidate(BOOL erase = TRUE);
  void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
  void UpdateWindow();
  CDC* GetDC();
  int ReleaseDC(CDC* dc);

  // ---- menus, accelerators, timers, message boxes
  [[nodiscard]] CMenu* GetMenu() const;
  BOOL SetMenu(CMenu* menu);
  void DrawMenuBar();
  // The window's system menu: Restore, Move, Size, Minimize, Maximize, a
  // separator and Close. revert TRUE restores that default and answers null.
  CMenu* GetSystemMenu(BOOL revert) const;
  // Opens the system menu at the window's top-left corner (Alt+Space does
  // too); the chosen entry arrives as WM_SYSCOMMAND.
  void ShowSystemMenu();
  // Key presses in this top-level window and its children are translated
  // with the accelerator table (resource id) into WM_COMMAND.
  BOOL LoadAccelTable(UINT resourceId);
  // Replaces a pending timer of the same id; WM_TIMER goes to the map.
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc);
  BOOL KillTimer(UINT_PTR id);
  int MessageBox(LPCTSTR text, LPCTSTR caption = nullptr, UINT type = MB_OK);
  // Places control bars (toolbar at the top, status bar at the bottom)
  // among the children whose ids lie in [first, last]; the child idLeftOver,
  // if any, takes the rest.
  void RepositionBars(UINT first, UINT last, UINT idLeftOver);

 protected:
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg void OnPaint();
  afx_msg void OnSysCommand(UINT id, LPARAM lParam);
  afx_msg HCURSOR OnQueryDragIcon();
  afx_msg void OnContextMenu(CWnd* wnd, CPoint point);
  afx_msg void OnRButtonUp(UINT flags, CPoint point);
  afx_msg void OnRButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg void OnNcDestroy();
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnMove(int x, int y);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
  afx_msg int OnCreate(LPCREATESTRUCT create);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnKeyDown(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnShowWindow(BOOL show, UINT status);
  // Runs the update handlers of a popup's items before it opens (not for
  // the system menu): items without any handler are disabled.
  afx_msg void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
  afx_msg void OnSetFocus(CWnd* old);
  afx_msg void OnKillFocus(CWnd* next);

  DECLARE_MESSAGE_MAP()

 private:
  friend struct WindowRecord;
  friend class WindowManager;
  bool m_bTemporary = false;  // a wrapper the layer made in FromHandle
};

// Data exchange between a dialog's members and its controls.
class CDataExchange {
 public:
  CDataExchange(CWnd* dlg, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlg) {}
  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
  // The control's window; null when the dialog has no such control.
  HWND PrepareCtrl(int id) const;
};

// Binds a member control object to the dialog's control of that id, once.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDX_Text(CDataExchange* pDX, int id, CString& value);
void DDX_Check(CDataExchange* pDX, int id, int& value);
void DDX_CBIndex(CDataExchange* pDX, int id, int& index);
void DDX_LBIndex(CDataExchange* pDX, int id, int& index);

// ---- the platform's window functions, over window handles
// Plain names, not macros, so CWnd's members of the same name stay intact.
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
inline LRESULT SendMessageA(HWND h, UINT m, WPARAM w, LPARAM l) { return SendMessage(h, m, w, l); }
inline BOOL PostMessageA(HWND h, UINT m, WPARAM w, LPARAM l) { return PostMessage(h, m, w, l); }
[[nodiscard]] BOOL IsWindow(HWND hWnd);
BOOL DestroyWindow(HWND hWnd);
BOOL EnableWindow(HWND hWnd, BOOL enable);
[[nodiscard]] BOOL IsWindowEnabled(HWND hWnd);
BOOL ShowWindow(HWND hWnd, int command);
[[nodiscard]] BOOL IsWindowVisible(HWND hWnd);
[[nodiscard]] BOOL IsIconic(HWND hWnd);
BOOL SetWindowText(HWND hWnd, LPCSTR text);
int GetWindowText(HWND hWnd, LPSTR buffer, int maxCount);
[[nodiscard]] HWND GetDlgItem(HWND dialog, int id);
[[nodiscard]] HWND GetParent(HWND hWnd);
BOOL SetForegroundWindow(HWND hWnd);
[[nodiscard]] HWND GetLastActivePopup(HWND hWnd);
BOOL GetClientRect(HWND hWnd, LPRECT rect);
BOOL GetWindowRect(HWND hWnd, LPRECT rect);
BOOL ScreenToClient(HWND hWnd, LPPOINT point);
BOOL ClientToScreen(HWND hWnd, LPPOINT point);
BOOL MoveWindow(HWND hWnd, int x, int y, int width, int height, BOOL repaint);
BOOL InvalidateRect(HWND hWnd, LPCRECT rect, BOOL erase);
[[nodiscard]] DWORD GetWindowStyle(HWND hWnd);
UINT_PTR SetTimer(HWND hWnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND hWnd, UINT_PTR id);
[[nodiscard]] HWND GetActiveWindow();
[[nodiscard]] int GetSystemMetrics(int index);
[[nodiscard]] COLORREF GetSysColor(int index);
// The top-level windows of this program, for finding a running window by
// caption and class (the single-instance rule within one process).
[[nodiscard]] HWND FindWindowA(LPCSTR className, LPCSTR windowName);
