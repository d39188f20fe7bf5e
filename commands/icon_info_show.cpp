// ShowInfo is a record's operation, but it runs the Icon Info dialog, so it
// lives beside that dialog.
#include "commands/icon_info_dlg.h"
#include "model/icon_info.h"
#include "platform/ui/message_box.h"

void CIconInfo::ShowInfo() const {
  LPCTSTR id = nullptr;
  const UniqueIconResource group(LoadIconResource(id));
  if (group == nullptr) {
    static_cast<void>(AfxMessageBox(kCantGetIconInfo, MB_OK | MB_ICONSTOP));
    return;
  }
  // No parent: the dialog belongs to the application's main window.
  CIconInfoDlg dlg(group.get(), id);
  static_cast<void>(dlg.DoModal());
}
