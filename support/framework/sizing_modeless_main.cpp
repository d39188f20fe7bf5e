#include "support/framework/sizing_modeless_main.h"

#include <algorithm>
#include <string>

#include "platform/ui/dc.h"
#include "platform/ui/resources.h"
#include "platform/ui/win_app.h"
#include "support/framework/pending_layout.h"

IMPLEMENT_DYNAMIC(CSizingModelessMain, cdxCSizingDialog)

BEGIN_MESSAGE_MAP(CSizingModelessMain, cdxCSizingDialog)
ON_WM_PAINT()
ON_WM_CLOSE()
ON_WM_SIZE()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
END_MESSAGE_MAP()

CSizingModelessMain::CSizingModelessMain(UINT templateId) : cdxCSizingDialog(templateId, nullptr) {}

CSizingModelessMain::~CSizingModelessMain() = default;

BOOL CSizingModelessMain::Create(const UINT* indicators, int nIndicators, const UINT* buttons, int nButtons,
                                 UINT toolbarId) {
  m_indicators.assign(indicators, indicators + (indicators != nullptr ? std::max(nIndicators, 0) : 0));
  m_buttons.assign(buttons, buttons + (buttons != nullptr ? std::max(nButtons, 0) : 0));
  m_nToolbarId = toolbarId;
  // The bars are made in OnInitDialog, before the program's override
  // registers its controls for sizing, so the rectangles it registers are
  // the final ones.
  return CDialog::Create(m_nIDTemplate, nullptr);
}

BOOL CSizingModelessMain::OnInitDialog() {
  cdxCSizingDialog::OnInitDialog();
  if (!CreateBars()) {
    return TRUE;
  }
  const int toolHeight = m_wndToolBar.GetBarHeight();
  const int statusHeight = m_wndStatusBar.GetBarHeight();
  // The template's controls move below the toolbar, and the window grows by
  // both bars, so every control keeps its designed rectangle.
  for (CWnd* child = GetWindow(GW_CHILD); child != nullptr; child = child->GetWindow(GW_HWNDNEXT)) {
    if (child == &m_wndToolBar || child == &m_wndStatusBar) {
      continue;
    }
    RECT rect{};
    child->GetWindowRect(&rect);
    ScreenToClient(&rect);
    child->MoveWindow(rect.left, rect.top + toolHeight, rect.right - rect.left, rect.bottom - rect.top, FALSE);
  }
  RECT window{};
  GetWindowRect(&window);
  SetWindowPos(nullptr, 0, 0, window.right - window.left, window.bottom - window.top + toolHeight + statusHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  FlushPendingLayout(m_hWnd);
  PlaceBars();
  return TRUE;
}

BOOL CSizingModelessMain::CreateBars() {
  if (!m_wndToolBar.Create(this) || !m_wndToolBar.LoadToolBar(m_nToolbarId) ||
      !m_wndToolBar.SetButtons(m_buttons.data(), static_cast<int>(m_buttons.size()))) {
    return FALSE;
  }
  if (!m_wndStatusBar.Create(this) ||
      !m_wndStatusBar.SetIndicators(m_indicators.data(), static_cast<int>(m_indicators.size()))) {
    return FALSE;
  }
  return TRUE;
}

void CSizingModelessMain::PlaceBars() {
  if (m_wndToolBar.GetSafeHwnd() != nullptr || m_wndStatusBar.GetSafeHwnd() != nullptr) {
    RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, 0);
  }
}

SIZE CSizingModelessMain::GetLayoutClientSize() const {
  SIZE size = cdxCSizingDialog::GetLayoutClientSize();
  if (m_wndToolBar.GetSafeHwnd() != nullptr) {
    size.cy -= m_wndToolBar.GetBarHeight();
  }
  if (m_wndStatusBar.GetSafeHwnd() != nullptr) {
    size.cy -= m_wndStatusBar.GetBarHeight();
  }
  return size;
}

void CSizingModelessMain::DoDataExchange(CDataExchange* pDX) { cdxCSizingDialog::DoDataExchange(pDX); }

void CSizingModelessMain::OnOK() {}

void CSizingModelessMain::OnCancel() {}

void CSizingModelessMain::OnPaint() { CWnd::OnPaint(); }

void CSizingModelessMain::OnClose() {
  // Through the virtual DestroyWindow, so the program's override (which
  // empties the sizing list) runs as for any other close.
  DestroyWindow();
}

void CSizingModelessMain::OnSize(UINT type, int cx, int cy) {
  cdxCSizingDialog::OnSize(type, cx, cy);
  if (type != SIZE_MINIMIZED) {
    PlaceBars();
  }
}

void CSizingModelessMain::PostNcDestroy() {
  if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pMainWnd == this) {
    app->m_pMainWnd = nullptr;
  }
  delete this;
}

LRESULT CSizingModelessMain::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  if (m_wndToolBar.GetSafeHwnd() != nullptr) {
    m_wndToolBar.OnUpdateCmdUI(this, TRUE);
  }
  return 0;
}

LRESULT CSizingModelessMain::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
  if (m_wndStatusBar.GetSafeHwnd() == nullptr) {
    return 0;
  }
  std::string text;
  if (wParam != 0) {
    const char* prompt = FindStringResource(static_cast<UINT>(wParam));
    text = prompt != nullptr ? prompt : "";
    text = text.substr(0, text.find('\n'));  // the prompt, without the tooltip
  } else if (lParam != 0) {
    text = reinterpret_cast<const char*>(lParam);
  }
  m_wndStatusBar.SetWindowText(text.c_str());
  return 0;
}
