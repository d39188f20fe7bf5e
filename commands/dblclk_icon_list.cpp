#include "commands/show_item_info.h"
#include "mainwnd/glimra_dlg.h"

void CGlimraDlg::OnDblclkIconList(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
  *pResult = 0;
  // The first selected item, not the one clicked: with Control held the
  // click adds to an earlier selection.
  const int item = m_lvIcons.GetNextItem(-1, LVNI_SELECTED);
  if (item == -1) return;
  static_cast<void>(ShowItemInfo(m_listIcons, item));
}
