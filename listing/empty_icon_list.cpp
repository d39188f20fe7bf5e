#include "mainwnd/glimra_dlg.h"
#include "mainwnd/list_launch.h"
#include "platform/ui/ui_call.h"

DWORD CGlimraDlg::ClearThreadProc(LPVOID pParam) {
  static_cast<CGlimraDlg*>(pParam)->EmptyIconList();
  return 0;
}

void CGlimraDlg::EmptyIconList() {
  // The acknowledgement comes before any window call: the launcher waits
  // for it without handling messages.
  AcknowledgeLaunch(m_hStartedEvent);
  m_btnListIcon.EnableWindow(FALSE);
  UiCall([&] {
    // Items first, so no item on screen or in a selection refers to a record
    // or an image that is gone.
    m_lvIcons.DeleteAllItems();
    m_listIcons.RemoveAll();
    // Removing one at a time keeps the list's size, capacity and growth.
    if (m_pImageList != nullptr) {
      for (int count = m_pImageList->GetImageCount(); count > 0; --count) {
        static_cast<void>(m_pImageList->Remove(0));
      }
    }
  });
  // The marker and the button together on the user-interface thread, which
  // reads both: the marker is cleared before the button follows m_bCanList.
  UiCall([&] {
    m_hWorkerThread = nullptr;
    m_btnListIcon.EnableWindow(m_bCanList);
  });
}
