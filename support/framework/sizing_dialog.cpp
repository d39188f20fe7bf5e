#include "support/framework/sizing_dialog.h"

#include <algorithm>
#include <cstdint>

IMPLEMENT_DYNAMIC(cdxCSizingDialog, CDialog)

BEGIN_MESSAGE_MAP(cdxCSizingDialog, CDialog)
ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

// An edge moved by percent of the size change. Widened so that a hostile
// size cannot overflow; rounded toward zero, which is symmetric for growing
// and shrinking, so a window resized back gets its controls back exactly.
LONG MoveEdge(LONG edge, LONG change, BYTE percent) {
  const std::int64_t moved = static_cast<std::int64_t>(edge) + static_cast<std::int64_t>(change) * percent / 100;
  return static_cast<LONG>(std::clamp<std::int64_t>(moved, INT32_MIN / 2, INT32_MAX / 2));
}

}  // namespace

// ---- ControlInfo

cdxCSizingDialog::ControlInfo::ControlInfo(ControlList& list, HWND control, const RECT& original, SIZE clientAtStart,
                                           BYTE left, BYTE right, BYTE top, BYTE bottom)
    : m_hControl(control),
      m_rcOriginal(original),
      m_szAtStart(clientAtStart),
      m_nLeft(left),
      m_nRight(right),
      m_nTop(top),
      m_nBottom(bottom),
      m_pList(&list) {
  list.Link(this);
}

cdxCSizingDialog::ControlInfo::~ControlInfo() {
  if (m_pList != nullptr) {
    m_pList->Unlink(this);
  }
}

RECT cdxCSizingDialog::ControlInfo::Place(SIZE client) const {
  const LONG dx = client.cx - m_szAtStart.cx;
  const LONG dy = client.cy - m_szAtStart.cy;
  RECT placed{MoveEdge(m_rcOriginal.left, dx, m_nLeft), MoveEdge(m_rcOriginal.top, dy, m_nTop),
              MoveEdge(m_rcOriginal.right, dx, m_nRight), MoveEdge(m_rcOriginal.bottom, dy, m_nBottom)};
  // Shrinking below the designed size would turn a control inside out.
  placed.right = std::max(placed.right, placed.left);
  placed.bottom = std::max(placed.bottom, placed.top);
  return placed;
}

// ---- ControlList

cdxCSizingDialog::ControlList::~ControlList() { RemoveAll(); }

void cdxCSizingDialog::ControlList::RemoveAll() {
  while (m_pHead != nullptr) {
    delete m_pHead;
  }
}

void cdxCSizingDialog::ControlList::Link(ControlInfo* entry) {
  entry->m_pPrev = m_pTail;
  entry->m_pNext = nullptr;
  if (m_pTail != nullptr) {
    m_pTail->m_pNext = entry;
  } else {
    m_pHead = entry;
  }
  m_pTail = entry;
  ++m_nCount;
}

void cdxCSizingDialog::ControlList::Unlink(ControlInfo* entry) {
  (entry->m_pPrev != nullptr ? entry->m_pPrev->m_pNext : m_pHead) = entry->m_pNext;
  (entry->m_pNext != nullptr ? entry->m_pNext->m_pPrev : m_pTail) = entry->m_pPrev;
  entry->m_pPrev = nullptr;
  entry->m_pNext = nullptr;
  entry->m_pList = nullptr;
  --m_nCount;
}

// ---- cdxCSizingDialog

cdxCSizingDialog::cdxCSizingDialog() = default;

cdxCSizingDialog::cdxCSizingDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

cdxCSizingDialog::~cdxCSizingDialog() = default;

namespace {

bool ModeToEdges(int mode, BYTE& nearEdge, BYTE& farEdge) {
  switch (mode) {
    case cdxCSizingDialog::mdNone:
      nearEdge = 0;
      farEdge = 0;
      return true;
    case cdxCSizingDialog::mdResize:
      nearEdge = 0;
      farEdge = 100;
      return true;
    case cdxCSizingDialog::mdRepos:
      nearEdge = 100;
      farEdge = 100;
      return true;
    default:
      return false;
  }
}

}  // namespace

BOOL cdxCSizingDialog::AddSzControl(CWnd& control, int modeX, int modeY) {
  BYTE left = 0, right = 0, top = 0, bottom = 0;
  if (!ModeToEdges(modeX, left, right) || !ModeToEdges(modeY, top, bottom)) {
    return FALSE;
  }
  return Register(control.GetSafeHwnd(), left, right, top, bottom);
}

BOOL cdxCSizingDialog::AddSzControl(UINT controlId, int modeX, int modeY) {
  CWnd* control = GetDlgItem(static_cast<int>(controlId));
  return control != nullptr ? AddSzControl(*control, modeX, modeY) : FALSE;
}

BOOL cdxCSizingDialog::AddSzControlEx(CWnd& control, BYTE left, BYTE right, BYTE top, BYTE bottom) {
  if (left > 100 || right > 100 || top > 100 || bottom > 100) {
    return FALSE;
  }
  return Register(control.GetSafeHwnd(), left, right, top, bottom);
}

BOOL cdxCSizingDialog::AddSzControlEx(UINT controlId, BYTE left, BYTE right, BYTE top, BYTE bottom) {
  CWnd* control = GetDlgItem(static_cast<int>(controlId));
  return control != nullptr ? AddSzControlEx(*control, left, right, top, bottom) : FALSE;
}

BOOL cdxCSizingDialog::Register(HWND control, BYTE left, BYTE right, BYTE top, BYTE bottom) {
  if (m_hWnd == nullptr || !IsWindow(control) || ::GetParent(control) != m_hWnd) {
    return FALSE;
  }
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ScreenToClient(&rect);
  new ControlInfo(Header, control, rect, GetLayoutClientSize(), left, right, top, bottom);
  return TRUE;
}

SIZE cdxCSizingDialog::GetLayoutClientSize() const {
  RECT client{};
  GetClientRect(&client);
  return SIZE{client.right - client.left, client.bottom - client.top};
}

void cdxCSizingDialog::LayoutControls() {
  if (m_hWnd == nullptr) {
    return;
  }
  const SIZE client = GetLayoutClientSize();
  for (ControlInfo* entry = Header.GetHead(); entry != nullptr; entry = ControlList::GetNext(entry)) {
    if (!IsWindow(entry->m_hControl)) {
      continue;
    }
    const RECT placed = entry->Place(client);
    ::MoveWindow(entry->m_hControl, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top,
                 TRUE);
  }
}

void cdxCSizingDialog::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  // A minimized window reports a zero client area; laying out for it would
  // squash every control, and restoring sends the real size again.
  if (type != SIZE_MINIMIZED) {
    LayoutControls();
  }
}
