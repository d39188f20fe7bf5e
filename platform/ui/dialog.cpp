#include "platform/ui/dialog.h"

#include <QApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QWidget>

#include "platform/ui/dialog_text_fit.h"
#include "platform/ui/gdi_internal.h"
#include "platform/ui/gdi_objects.h"
#include "platform/ui/menu.h"
#include "platform/ui/message_box.h"
#include "platform/ui/resources.h"
#include "platform/ui/ui_call.h"
#include "platform/ui/win_app.h"
#include "platform/ui/window_record.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

namespace {
// Templates without DS_SETFONT use the system's dialog font, 8 points.
constexpr int kDefaultPointSize = 8;
// A command id as opposed to a control id; system commands are not routed.
bool IsCommandId(UINT id) { return id >= 0x8000 && id < 0xF000; }
}  // namespace

SIZE DialogBaseUnits(LPCTSTR faceName, int pointSize) {
  return UiCall([&]() -> SIZE {
    FontRecord record;
    record.face = QString::fromUtf8(faceName ? faceName : "");
    record.pointSizeTenths = (pointSize > 0 ? pointSize : kDefaultPointSize) * 10;
    QFontMetrics metrics(FontToQt(&record));
    // The platform's average character width: the 52 letters' width over
    // 26, halved with rounding; the height is the font's full height.
    int width = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return SIZE{(width / 26 + 1) / 2, metrics.height()};
  });
}

void MapDialogUnits(SIZE baseUnits, RECT& rect) {
  rect.left = MulDiv(rect.left, baseUnits.cx, 4);
  rect.right = MulDiv(rect.right, baseUnits.cx, 4);
  rect.top = MulDiv(rect.top, baseUnits.cy, 8);
  rect.bottom = MulDiv(rect.bottom, baseUnits.cy, 8);
}

CDialog::CDialog() = default;
CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_nIDHelp(templateId), m_nIDTemplate(templateId), m_pParentWnd(parent) {}
CDialog::~CDialog() = default;

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  m_nIDTemplate = templateId;
  if (m_nIDHelp == 0) m_nIDHelp = templateId;
  const DialogTemplate* t = FindDialogTemplate(templateId);
  if (!t) return FALSE;
  m_pParentWnd = parent;
  return CreateFromTemplate(*t, parent);
}

BOOL CDialog::CreateIndirect(const DialogTemplate& dialogTemplate, CWnd* parent) {
  m_pParentWnd = parent;
  return CreateFromTemplate(dialogTemplate, parent);
}

BOOL CDialog::CreateFromTemplate(const DialogTemplate& t, CWnd* parent) {
  return UiCall([&]() -> BOOL {
    if (m_hWnd) return FALSE;
    const bool ownFont = (t.style & DS_SETFONT) && t.typeface;
    const char* face = ownFont ? t.typeface : "";
    const int points = ownFont && t.pointSize ? t.pointSize : kDefaultPointSize;
    m_baseUnits = DialogBaseUnits(face, points);
    HFONT font = CreatePointFont(points * 10, face, t.weight ? t.weight : 400, t.italic ? TRUE : FALSE);
    m_baseUnits.cx = FittedHorizontalUnit(t, m_baseUnits, FontToQt(font));

    CreateParams params;
    params.className = t.windowClass ? t.windowClass : WC_DIALOG;
    params.text = t.caption ? t.caption : "";
    params.style = t.style & ~WS_VISIBLE;
    params.exStyle = t.exStyle;
    params.parent = parent ? parent->m_hWnd : nullptr;
    const int width = MulDiv(t.cx, m_baseUnits.cx, 4), height = MulDiv(t.cy, m_baseUnits.cy, 8);
    POINT origin{MulDiv(t.x, m_baseUnits.cx, 4), MulDiv(t.y, m_baseUnits.cy, 8)};
    if (!(t.style & WS_CHILD) && params.parent && !(t.style & DS_ABSALIGN)) ::ClientToScreen(params.parent, &origin);
    params.rect = RECT{origin.x, origin.y, origin.x + width, origin.y + height};
    params.font = font;
    HWND h = CreateWindowRecord(params);
    if (!h) {
      DeleteFontRecord(font);
      return FALSE;
    }
    h->wnd = this;
    m_hWnd = h;
    // The dialog owns its template font for as long as it lives.
    h->ownedFont = font;

    if (t.menuId) {
      if (HMENU menu = LoadMenuResource(t.menuId)) {
        if (!SetMenu(CMenu::FromHandle(menu))) ::DestroyMenu(menu);
      }
    }
    if (t.style & DS_CENTER) CenterWindow();

    HWND firstTab = nullptr;
    for (const DialogItemTemplate& item : t.items) {
      CreateParams c;
      c.className = item.className ? item.className : WC_STATIC;
      c.text = item.text ? item.text : "";
      c.style = item.style | WS_CHILD;
      c.exStyle = item.exStyle;
      c.parent = h;
      c.id = item.id;
      c.font = font;
      // Position and size are converted separately, as the dialog manager does.
      const int x = MulDiv(item.x, m_baseUnits.cx, 4), y = MulDiv(item.y, m_baseUnits.cy, 8);
      c.rect = RECT{x, y, x + MulDiv(item.cx, m_baseUnits.cx, 4), y + MulDiv(item.cy, m_baseUnits.cy, 8)};
      HWND control = CreateWindowRecord(c);
      if (!control) continue;
      if (item.style & WS_VISIBLE) ::ShowWindow(control, SW_SHOW);
      if (!firstTab && (item.style & WS_TABSTOP)) firstTab = control;
    }
    HWND self = m_hWnd;
    LRESULT focusDefault = SendMessage(WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTab), 0);
    if (!LiveRecord(self)) return FALSE;
    if (focusDefault && firstTab && LiveRecord(firstTab) && firstTab->widget) firstTab->widget->setFocus();
    if ((t.style & WS_VISIBLE) && !m_bModal) ShowWindow(SW_SHOW);
    return TRUE;
  });
}

INT_PTR CDialog::DoModal() {
  return UiCall([&]() -> INT_PTR {
    const DialogTemplate* t = FindDialogTemplate(m_nIDTemplate);
    if (!t) return -1;
    CWnd* owner = m_pParentWnd ? m_pParentWnd->GetTopLevelParent() : AfxGetMainWnd();
    HWND ownerHwnd = owner && LiveRecord(owner->m_hWnd) ? owner->m_hWnd : nullptr;
    const bool disableOwner = ownerHwnd && ::IsWindowEnabled(ownerHwnd);
    if (disableOwner) ::EnableWindow(ownerHwnd, FALSE);
    m_bModal = true;
    m_bEnded = false;
    m_nResult = -1;
    if (!CreateFromTemplate(*t, owner)) {
      if (disableOwner) ::EnableWindow(ownerHwnd, TRUE);
      m_bModal = false;
      return -1;
    }
    if (!m_bEnded) {
      if (WindowRecord* rec = LiveRecord(m_hWnd); rec && rec->widget)
        rec->widget->setWindowModality(Qt::ApplicationModal);
      ShowWindow(SW_SHOW);
      ModalRun run{ModalKind::Dialog};
      run.dialog = this;
      run.owner = ownerHwnd;
      if (std::optional<int> answer = CallModalHook(run)) EndDialog(*answer);
    }
    if (!m_bEnded && LiveRecord(m_hWnd)) {
      QEventLoop loop;
      m_pLoop = &loop;
      loop.exec(QEventLoop::DialogExec);
      m_pLoop = nullptr;
    }
    // The owner comes back before the dialog goes, so activation returns to it.
    if (disableOwner && LiveRecord(ownerHwnd)) ::EnableWindow(ownerHwnd, TRUE);
    if (m_hWnd) DestroyWindow();
    if (disableOwner && LiveRecord(ownerHwnd)) ::SetForegroundWindow(ownerHwnd);
    m_bModal = false;
    return m_nResult;
  });
}

void CDialog::EndDialog(int result) {
  UiCall([&] {
    if (m_bModal) {
      m_nResult = result;
      m_bEnded = true;
      if (m_pLoop) static_cast<QEventLoop*>(m_pLoop)->quit();
    } else {
      ShowWindow(SW_HIDE);
    }
  });
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  UpdateData(TRUE);
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* msg) {
  if (!msg || msg->message != WM_KEYDOWN || QApplication::activePopupWidget()) return FALSE;
  const bool control = QApplication::keyboardModifiers() & (Qt::ControlModifier | Qt::AltModifier);
  if (control) return FALSE;
  if (msg->wParam == VK_ESCAPE) {
    SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return TRUE;
  }
  if (msg->wParam == VK_RETURN) {
    WindowRecord* focus = LiveRecord(msg->hwnd);
    if (focus && focus->className == WC_BUTTON && (focus->style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON) {
      ::SendMessage(msg->hwnd, BM_CLICK, 0, 0);
      return TRUE;
    }
    SendMessage(WM_COMMAND, MAKEWPARAM(m_nDefID, BN_CLICKED), 0);
    return TRUE;
  }
  return FALSE;
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if ((nCode != CN_COMMAND && nCode != CN_UPDATE_COMMAND_UI) || !IsCommandId(nID)) return FALSE;
  // The dialog's last chance goes to the application object.
  CWinThread* thread = AfxGetThread();
  return thread ? thread->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo) : FALSE;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      // The dialog manager turns a close request into Cancel.
      SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return 0;
    case WM_NCDESTROY:
      if (m_pLoop) static_cast<QEventLoop*>(m_pLoop)->quit();
      break;
    default:
      break;
  }
  return CWnd::DefWindowProc(message, wParam, lParam);
}

void CDialog::MapDialogRect(LPRECT rect) const {
  if (rect) MapDialogUnits(m_baseUnits, *rect);
}

SIZE CDialog::GetBaseUnits() const { return m_baseUnits; }

void CDialog::GotoDlgCtrl(CWnd* control) {
  if (control) control->SetFocus();
}

void CDialog::SetDefID(UINT id) { m_nDefID = id; }
DWORD CDialog::GetDefID() const { return 0x534B0000u | m_nDefID; }
