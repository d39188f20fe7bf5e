#include "platform/ui/cwnd.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "platform/ui/accelerators.h"
#include "platform/ui/cmd_ui.h"
#include "platform/ui/dc.h"
#include "platform/ui/gdi_objects.h"
#include "platform/ui/live_call.h"
#include "platform/ui/menu.h"
#include "platform/ui/message_box.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/resources.h"
#include "platform/ui/win_app.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

namespace {
// The message being handled on this thread, for Default().
thread_local AfxMessageCall* t_currentMessage = nullptr;

// Answers enabled unless an update handler disabled it.
class CTestCmdUI final : public CCmdUI {
 public:
  void Enable(BOOL on) override {
    m_bEnabled = on;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(LPCTSTR) override {}
  BOOL m_bEnabled = TRUE;
};
}  // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (m_hWnd && !m_bTemporary) {
    HWND h = m_hWnd;
    // Destroying the window from its object's destructor: no more messages to us.
    WithWindow(h, [&](WindowRecord& rec) {
      if (rec.wnd == this) rec.wnd = nullptr;
    });
    m_hWnd = nullptr;
    ::DestroyWindow(h);
  }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
  return WithWindow(hWnd, nullptr, [&](WindowRecord& rec) -> CWnd* { return rec.wnd; });
}

CWnd* CWnd::FromHandle(HWND hWnd) {
  return WithWindow(hWnd, nullptr, [&](WindowRecord& rec) -> CWnd* {
    if (rec.wnd) return rec.wnd;
    if (!rec.temporary) {
      rec.temporary = std::make_unique<CWnd>();
      rec.temporary->m_hWnd = hWnd;
      rec.temporary->m_bTemporary = true;
    }
    return rec.temporary.get();
  });
}

BOOL CWnd::Attach(HWND hWnd) {
  return WithWindow(hWnd, FALSE, [&](WindowRecord& rec) -> BOOL {
    if (m_hWnd) return FALSE;
    rec.wnd = this;
    m_hWnd = hWnd;
    return TRUE;
  });
}

HWND CWnd::Detach() {
  return UiCall([&]() -> HWND {
    HWND h = m_hWnd;
    if (WindowRecord* rec = LiveRecord(h)) {
      if (rec->wnd == this) rec->wnd = nullptr;
    }
    m_hWnd = nullptr;
    return h;
  });
}

BOOL CWnd::SubclassWindow(HWND hWnd) { return Attach(hWnd); }

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  if (!parent) return FALSE;
  HWND item = ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
  return item ? SubclassWindow(item) : FALSE;
}

HWND CWnd::UnsubclassWindow() { return Detach(); }

BOOL CWnd::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                    UINT id) {
  return UiCall([&]() -> BOOL {
    if (m_hWnd) return FALSE;
    CreateParams params;
    params.className = className ? className : WC_GENERIC;
    params.text = windowName ? windowName : "";
    params.style = style;
    params.exStyle = exStyle;
    params.rect = rect;
    params.parent = parent ? parent->m_hWnd : nullptr;
    params.id = id;
    if (parent && (style & WS_CHILD)) params.font = reinterpret_cast<HFONT>(parent->SendMessage(WM_GETFONT));
    HWND h = CreateWindowRecord(params);
    if (!h) return FALSE;
    h->wnd = this;
    m_hWnd = h;
    CREATESTRUCT cs{nullptr,
                    nullptr,
                    nullptr,
                    params.parent,
                    rect.bottom - rect.top,
                    rect.right - rect.left,
                    rect.top,
                    rect.left,
                    static_cast<LONG>(style),
                    params.text.c_str(),
                    params.className.c_str(),
                    exStyle};
    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
      DestroyWindow();
      return FALSE;
    }
    if (style & WS_VISIBLE) ShowWindow(SW_SHOW);
    return TRUE;
  });
}

BOOL CWnd::DestroyWindow() {
  HWND h = m_hWnd;
  return h ? ::DestroyWindow(h) : FALSE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::PostMessage(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  if (!t_currentMessage) return 0;
  return DefWindowProc(t_currentMessage->message, t_currentMessage->wParam, t_currentMessage->lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  AfxMessageCall call;
  call.message = message;
  call.wParam = wParam;
  call.lParam = lParam;
  AfxMessageCall* saved = t_currentMessage;
  t_currentMessage = &call;
  LRESULT result = 0;
  HWND self = m_hWnd;
  try {
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  } catch (...) {
    t_currentMessage = saved;
    throw;
  }
  t_currentMessage = saved;
  if (message == WM_NCDESTROY) {
    // The window is gone: the object lets go of it, the application forgets
    // it as its main window (which ends the message loop), then the object's
    // own last step runs (it may delete the object).
    if (WindowRecord* rec = LiveRecord(self)) {
      if (rec->wnd == this) rec->wnd = nullptr;
    }
    if (m_hWnd == self) m_hWnd = nullptr;
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) {
      app->m_pMainWnd = nullptr;
      AfxPostQuitMessage(0);
    }
    if (!m_bTemporary) PostNcDestroy();
  }
  return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_COMMAND) {
    if (OnCommand(wParam, lParam)) {
      *result = 1;
      return TRUE;
    }
    return FALSE;
  }
  if (message == WM_NOTIFY) {
    LRESULT r = 0;
    if (OnNotify(wParam, lParam, &r)) {
      *result = r;
      return TRUE;
    }
    return FALSE;
  }
  AfxMessageCall call;
  call.message = message;
  call.wParam = wParam;
  call.lParam = lParam;
  if (!DispatchToMap(message, 0, 0, call)) return FALSE;
  *result = call.result;
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT id = LOWORD(wParam);
  int code = HIWORD(wParam);
  if (lParam == 0) {
    // A menu item or accelerator: a command its update handler disabled is
    // not carried out.
    CTestCmdUI state;
    state.m_nID = id;
    OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &state, nullptr);
    if (!state.m_bEnabled) return TRUE;
    code = CN_COMMAND;
  }
  return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (!header) return FALSE;
  AfxMessageCall call;
  call.message = WM_NOTIFY;
  call.wParam = header->idFrom;
  call.lParam = lParam;
  if (!DispatchToMap(WM_NOTIFY, header->code, static_cast<UINT>(header->idFrom), call)) return FALSE;
  *result = call.result;
  return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }
void CWnd::PostNcDestroy() {}
void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

void CWnd::WinHelp(DWORD_PTR data, UINT command) {
  if (CWinApp* app = AfxGetApp()) app->WinHelp(data, command);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep) {
  UiCall([&] {
    std::vector<HWND> pending;
    if (WindowRecord* rec = LiveRecord(m_hWnd)) pending = rec->children;
    for (std::size_t i = 0; i < pending.size(); ++i) {
      HWND child = pending[i];
      if (!LiveRecord(child)) continue;
      DeliverMessage(child, message, wParam, lParam);
      if (deep && LiveRecord(child)) pending.insert(pending.end(), child->children.begin(), child->children.end());
    }
  });
}

void CWnd::SetWindowText(LPCTSTR text) { ::SetWindowText(m_hWnd, text); }

void CWnd::GetWindowText(CString& text) const {
  text = WithWindow(m_hWnd, CString(), [&](WindowRecord&) -> CString {
    int n = static_cast<int>(DeliverMessage(m_hWnd, WM_GETTEXTLENGTH, 0, 0));
    CString out;
    char* buffer = out.GetBuffer(n + 1);
    DeliverMessage(m_hWnd, WM_GETTEXT, static_cast<WPARAM>(n) + 1, reinterpret_cast<LPARAM>(buffer));
    out.ReleaseBuffer();
    return out;
  });
}

int CWnd::GetWindowText(LPTSTR buffer, int maxCount) const { return ::GetWindowText(m_hWnd, buffer, maxCount); }
int CWnd::GetWindowTextLength() const { return static_cast<int>(SendMessage(WM_GETTEXTLENGTH)); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }

BOOL CWnd::IsZoomed() const {
  return WithWindow(m_hWnd, FALSE,
                    [&](WindowRecord& rec) -> BOOL { return rec.widget && rec.widget->isMaximized() ? TRUE : FALSE; });
}

CWnd* CWnd::SetFocus() {
  return UiCall([&]() -> CWnd* {
    CWnd* old = GetFocus();
    WithWindow(m_hWnd, [](WindowRecord& rec) {
      if (rec.widget) rec.widget->setFocus(Qt::OtherFocusReason);
    });
    return old;
  });
}

CWnd* CWnd::GetFocus() {
  return UiCall([]() -> CWnd* {
    QWidget* focus = QApplication::focusWidget();
    return focus ? FromHandle(WindowOfWidget(focus)) : nullptr;
  });
}

BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }

void CWnd::BringWindowToTop() {
  WithWindow(m_hWnd, [](WindowRecord& rec) {
    if (rec.widget) rec.widget->raise();
  });
}

CWnd* CWnd::GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
CWnd* CWnd::GetParent() const {
  return WithWindow(m_hWnd, nullptr,
                    [&](WindowRecord& rec) -> CWnd* { return rec.isChild ? FromHandle(rec.parent) : nullptr; });
}
CWnd* CWnd::GetOwner() const {
  return WithWindow(m_hWnd, nullptr, [&](WindowRecord& rec) -> CWnd* { return FromHandle(rec.parent); });
}

CWnd* CWnd::GetTopLevelParent() const {
  return UiCall([&]() -> CWnd* {
    WindowRecord* rec = LiveRecord(m_hWnd);
    while (rec && rec->isChild && LiveRecord(rec->parent)) rec = rec->parent;
    return rec ? FromHandle(rec) : nullptr;
  });
}

CWnd* CWnd::GetWindow(UINT relation) const {
  return WithWindow(m_hWnd, nullptr, [&](WindowRecord& rec) -> CWnd* {
    if (relation == GW_CHILD) return rec.children.empty() ? nullptr : FromHandle(rec.children.front());
    if (relation == GW_OWNER) return rec.isChild ? nullptr : FromHandle(rec.parent);
    if (relation == GW_HWNDNEXT && rec.isChild) {
      WindowRecord* parent = LiveRecord(rec.parent);
      if (!parent) return nullptr;
      auto it = std::find(parent->children.begin(), parent->children.end(), &rec);
      if (it != parent->children.end() && std::next(it) != parent->children.end()) return FromHandle(*std::next(it));
    }
    return nullptr;
  });
}

BOOL CWnd::IsChild(const CWnd* other) const {
  if (!other) return FALSE;
  return UiCall([&]() -> BOOL {
    WindowRecord* rec = LiveRecord(other->m_hWnd);
    while (rec && rec->isChild) {
      if (rec->parent == m_hWnd) return TRUE;
      rec = LiveRecord(rec->parent);
    }
    return FALSE;
  });
}

CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }

int CWnd::GetDlgCtrlID() const {
  return WithWindow(m_hWnd, 0, [&](WindowRecord& rec) -> int { return static_cast<int>(rec.id); });
}

int CWnd::SetDlgCtrlID(int id) {
  return WithWindow(m_hWnd, 0, [&](WindowRecord& rec) -> int {
    int old = static_cast<int>(rec.id);
    rec.id = static_cast<UINT>(id);
    return old;
  });
}

void CWnd::CheckDlgButton(int id, UINT check) { SendDlgItemMessage(id, BM_SETCHECK, check); }
UINT CWnd::IsDlgButtonChecked(int id) const { return static_cast<UINT>(SendDlgItemMessage(id, BM_GETCHECK)); }
void CWnd::SetDlgItemText(int id, LPCTSTR text) {
  SendDlgItemMessage(id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}
int CWnd::GetDlgItemText(int id, CString& text) const {
  CWnd* item = GetDlgItem(id);
  if (!item) {
    text.Empty();
    return 0;
  }
  item->GetWindowText(text);
  return text.GetLength();
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
  return UiCall([&]() -> LRESULT {
    HWND item = ::GetDlgItem(m_hWnd, id);
    return item ? DeliverMessage(item, message, wParam, lParam) : 0;
  });
}

DWORD CWnd::GetStyle() const { return GetWindowStyle(m_hWnd); }

DWORD CWnd::GetExStyle() const {
  return WithWindow(m_hWnd, 0, [&](WindowRecord& rec) -> DWORD { return rec.exStyle; });
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT) {
  return WithWindow(m_hWnd, FALSE, [&](WindowRecord& rec) -> BOOL {
    DWORD before = rec.style;
    rec.style = (rec.style & ~remove) | add;
    if (rec.style == before) return FALSE;
    rec.behavior->StyleChanged(rec);
    if (rec.widget) rec.widget->update();
    return TRUE;
  });
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT) {
  return WithWindow(m_hWnd, FALSE, [&](WindowRecord& rec) -> BOOL {
    DWORD before = rec.exStyle;
    rec.exStyle = (rec.exStyle & ~remove) | add;
    return rec.exStyle != before ? TRUE : FALSE;
  });
}

CFont* CWnd::GetFont() const { return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT))); }

void CWnd::SetFont(CFont* font, BOOL redraw) {
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), redraw);
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
  return reinterpret_cast<HICON>(SendMessage(WM_SETICON, static_cast<WPARAM>(bigIcon), reinterpret_cast<LPARAM>(icon)));
}

HICON CWnd::GetIcon(BOOL bigIcon) const {
  return WithWindow(m_hWnd, nullptr, [&](WindowRecord& rec) -> HICON { return bigIcon ? rec.bigIcon : rec.smallIcon; });
}

void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }
void CWnd::ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }

void CWnd::ScreenToClient(LPRECT rect) const {
  POINT a{rect->left, rect->top};
  POINT b{rect->right, rect->bottom};
  ::ScreenToClient(m_hWnd, &a);
  ::ScreenToClient(m_hWnd, &b);
  *rect = RECT{a.x, a.y, b.x, b.y};
}

void CWnd::ClientToScreen(LPRECT rect) const {
  POINT a{rect->left, rect->top};
  POINT b{rect->right, rect->bottom};
  ::ClientToScreen(m_hWnd, &a);
  ::ClientToScreen(m_hWnd, &b);
  *rect = RECT{a.x, a.y, b.x, b.y};
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}
void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
  ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
  (void)insertAfter;
  return WithWindow(m_hWnd, FALSE, [&](WindowRecord& rec) -> BOOL {
    if (!rec.widget) return FALSE;
    RECT r{};
    ::GetWindowRect(m_hWnd, &r);
    if (rec.isChild) ::ScreenToClient(rec.parent, reinterpret_cast<LPPOINT>(&r));
    int nx = (flags & SWP_NOMOVE) ? r.left : x;
    int ny = (flags & SWP_NOMOVE) ? r.top : y;
    int ncx = (flags & SWP_NOSIZE) ? rec.widget->frameGeometry().width() : cx;
    int ncy = (flags & SWP_NOSIZE) ? rec.widget->frameGeometry().height() : cy;
    if (!((flags & SWP_NOMOVE) && (flags & SWP_NOSIZE))) ::MoveWindow(m_hWnd, nx, ny, ncx, ncy, TRUE);
    if (flags & SWP_SHOWWINDOW) ::ShowWindow(m_hWnd, SW_SHOW);
    if (flags & SWP_HIDEWINDOW) ::ShowWindow(m_hWnd, SW_HIDE);
    return TRUE;
  });
}

void CWnd::CenterWindow(CWnd* alternateOwner) {
  WithWindow(m_hWnd, [&](WindowRecord& rec) {
    if (!rec.widget || rec.isChild) return;
    QWidget* w = rec.widget;
    QRect area;
    HWND ownerHwnd = alternateOwner ? alternateOwner->m_hWnd : rec.parent;
    if (WindowRecord* owner = LiveRecord(ownerHwnd); owner && owner->widget) {
      area = owner->widget->window()->frameGeometry();
    } else if (w->screen()) {
      area = w->screen()->availableGeometry();
    }
    if (area.isValid())
      w->move(area.center() - QPoint(w->frameGeometry().width() / 2, w->frameGeometry().height() / 2));
  });
}

void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }

void CWnd::UpdateWindow() {
  WithWindow(m_hWnd, [](WindowRecord& rec) {
    if (rec.client) rec.client->repaint();
  });
}

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
int CWnd::ReleaseDC(CDC* dc) { return dc ? ::ReleaseDC(m_hWnd, dc->m_hDC) : 0; }

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) { return ::SetTimer(m_hWnd, id, elapse, proc); }
BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

int CWnd::MessageBox(LPCTSTR text, LPCTSTR caption, UINT type) {
  return MessageBoxA(m_hWnd, text, caption ? caption : AfxGetAppName(), type);
}

BOOL CWnd::LoadAccelTable(UINT resourceId) {
  HACCEL table = LoadAcceleratorTable(resourceId);
  if (!table) return FALSE;
  return UiCall([&]() -> BOOL {
    WindowRecord* rec = LiveRecord(m_hWnd);
    if (!rec) {
      DestroyAcceleratorTable(table);
      return FALSE;
    }
    if (rec->accelerators) DestroyAcceleratorTable(rec->accelerators);
    rec->accelerators = table;
    return TRUE;
  });
}

// ---- default handlers: the message's default processing

void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnPaint() {
  CPaintDC dc(this);
  (void)dc;
}
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
HCURSOR CWnd::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }

void CWnd::OnInitMenuPopup(CMenu* popup, UINT, BOOL sysMenu) {
  Default();
  if (sysMenu || !popup) return;
  int count = popup->GetMenuItemCount();
  for (int i = 0; i < count; ++i) {
    UINT id = popup->GetMenuItemID(i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;
    CCmdUI state;
    state.m_pMenu = popup;
    state.m_nID = id;
    state.m_nIndex = static_cast<UINT>(i);
    state.m_nIndexMax = static_cast<UINT>(count);
    state.DoUpdate(this, TRUE);
  }
}

// ---- data exchange

HWND CDataExchange::PrepareCtrl(int id) const { return m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, id) : nullptr; }

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (control.m_hWnd) return;
  if (HWND item = pDX->PrepareCtrl(id)) control.SubclassWindow(item);
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
  HWND item = pDX->PrepareCtrl(id);
  if (!item) return;
  if (pDX->m_bSaveAndValidate) {
    CWnd::FromHandle(item)->GetWindowText(value);
  } else {
    ::SetWindowText(item, value);
  }
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
  HWND item = pDX->PrepareCtrl(id);
  if (!item) return;
  if (pDX->m_bSaveAndValidate)
    value = static_cast<int>(::SendMessage(item, BM_GETCHECK, 0, 0));
  else
    ::SendMessage(item, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& index) {
  HWND item = pDX->PrepareCtrl(id);
  if (!item) return;
  if (pDX->m_bSaveAndValidate)
    index = static_cast<int>(::SendMessage(item, CB_GETCURSEL, 0, 0));
  else
    ::SendMessage(item, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_LBIndex(CDataExchange* pDX, int id, int& index) {
  HWND item = pDX->PrepareCtrl(id);
  if (!item) return;
  if (pDX->m_bSaveAndValidate)
    index = static_cast<int>(::SendMessage(item, LB_GETCURSEL, 0, 0));
  else
    ::SendMessage(item, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
