#include "commands/icon_info_dlg.h"
#include "commands/save_dialog.h"
#include "mainwnd/glimra_dlg.h"
#include "platform/ui/message_box.h"

void CGlimraDlg::SaveSelectedIcons() {
  char fileName[kSaveFileNameSize];
  int index = -1;
  while ((index = m_lvIcons.GetNextItem(index, LVNI_SELECTED)) != -1) {
    const POSITION position = m_listIcons.FindIndex(index);
    if (position == nullptr) {
      static_cast<void>(AfxMessageBox(kCantGetIconInfo, MB_OK | MB_ICONSTOP));
      return;
    }
    // A copy: a listing may append to the collection while the dialog runs.
    CIconInfo info;
    info = m_listIcons.GetAt(position);
    if (!ChooseSaveFile(*this, info, fileName)) continue;
    if (info.SaveIcon(fileName)) continue;
    CString question;
    question.Format("Can't save Icon to %s\nWould you like to continue ?", fileName);
    if (AfxMessageBox(question, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return;
  }
}
