#include "commands/icon_info_dlg.h"
#include "mainwnd/glimra_dlg.h"
#include "platform/ui/message_box.h"

void CGlimraDlg::ShowSelectedIconInfo() {
  int index = -1;
  while ((index = m_lvIcons.GetNextItem(index, LVNI_SELECTED)) != -1) {
    const POSITION position = m_listIcons.FindIndex(index);
    if (position == nullptr) {
      // An item without its record: the lists are out of step, so the
      // items after it cannot be trusted either.
      static_cast<void>(AfxMessageBox(kCantGetIconInfo, MB_OK | MB_ICONSTOP));
      return;
    }
    // A copy: the dialog's event loop may let a listing append meanwhile,
    // and the identifier the dialog shows points into this record's name.
    CIconInfo info;
    info = m_listIcons.GetAt(position);
    info.ShowInfo();
  }
}
