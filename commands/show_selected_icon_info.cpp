#include "commands/icon_info_dlg.h"
#include "commands/show_item_info.h"
#include "mainwnd/glimra_dlg.h"
#include "platform/ui/message_box.h"

bool ShowItemInfo(const CIconInfoList& records, int item) {
  const POSITION position = records.FindIndex(item);
  if (position == nullptr) {
    static_cast<void>(AfxMessageBox(kCantGetIconInfo, MB_OK | MB_ICONSTOP));
    return false;
  }
  // A copy: the dialog's event loop may let a listing append meanwhile,
  // and the identifier the dialog shows points into this record's name.
  CIconInfo info;
  info = records.GetAt(position);
  info.ShowInfo();
  return true;
}

void CGlimraDlg::ShowSelectedIconInfo() {
  int index = -1;
  while ((index = m_lvIcons.GetNextItem(index, LVNI_SELECTED)) != -1) {
    // An item without its record: the lists are out of step, so the items
    // after it cannot be trusted either.
    if (!ShowItemInfo(m_listIcons, index)) return;
  }
}
