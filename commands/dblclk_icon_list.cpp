#include "commands/icon_info_dlg.h"
#include "mainwnd/glimra_dlg.h"
#include "platform/ui/message_box.h"

void CGlimraDlg::OnDblclkIconList(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
  *pResult = 0;
  // The first selected item, not the one clicked: with Control held the
  // click adds to an earlier selection.
  const int item = m_lvIcons.GetNextItem(-1, LVNI_SELECTED);
  if (item == -1) return;
  // A listing worker may have shown the item before its record is appended.
  const POSITION position = m_listIcons.FindIndex(item);
  if (position == nullptr) {
    static_cast<void>(AfxMessageBox(kCantGetIconInfo, MB_OK | MB_ICONSTOP));
    return;
  }
  CIconInfo info;
  info = m_listIcons.GetAt(position);
  info.ShowInfo();
}
