// The icon list's popup menu: a right-click in the list view, the private
// notification 0xBE10, and the window's own right-button release.

#include "commands/icon_menu.h"

#include <cstdint>

#include "mainwnd/glimra_dlg.h"
#include "platform/ui/menu.h"
#include "res/resource_ids.h"

void CGlimraDlg::OnContextMenu(CWnd* /*pWnd*/, CPoint point) { ShowIconMenu(point); }

void CGlimraDlg::OnRButtonUp(UINT /*nFlags*/, CPoint point) {
  // The release carries client coordinates; taken as screen coordinates
  // they can land inside the list view when the window sits near the
  // screen's origin, and a click beside the list would open its menu.
  ClientToScreen(&point);
  ShowIconMenu(point);
}

LRESULT CGlimraDlg::OnIconMenuNotify(WPARAM wParam, LPARAM lParam) {
  if (wParam == WM_RBUTTONDOWN) {
    // Unsigned halves, unlike a mouse message's point.
    const auto packed = static_cast<std::uintptr_t>(lParam);
    ShowIconMenu(CPoint(LOWORD(packed), HIWORD(packed)));
  }
  return 0;
}

void CGlimraDlg::ShowIconMenu(CPoint point) {
  m_lvIcons.ScreenToClient(&point);
  UINT flags = 0;
  if (m_lvIcons.HitTest(point, &flags) == -1 && (flags & (LVHT_NOWHERE | LVHT_ONITEMICON)) == 0) {
    return;  // outside the list view's client area
  }
  m_lvIcons.ClientToScreen(&point);

  CMenu menu;
  if (!menu.LoadMenu(IDR_ICON_POPUP)) return;
  CMenu* popup = menu.GetSubMenu(0);
  if (popup == nullptr) return;
  if (m_lvIcons.GetItemCount() == 0) {
    popup->EnableMenuItem(ID_ICONS_CLEAR, MF_BYCOMMAND | MF_GRAYED);
  }
  if (m_lvIcons.GetNextItem(-1, LVNI_SELECTED) == -1) {
    popup->EnableMenuItem(ID_ICONS_SAVEAS, MF_BYCOMMAND | MF_GRAYED);
  }
  // As the popup opens, the update handlers of the menu bar run for its
  // items too, so it also grays Clear while a worker runs and Info without
  // a selection: the same command is never offered in one place and
  // refused in the other.
  popup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
  menu.DestroyMenu();
}
