#include "listing/pending_icons.h"
#include "mainwnd/glimra_dlg.h"
#include "platform/ui/ui_call.h"

int AppendIconItem(CListCtrl& view, int image) {
  LVITEM item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = view.GetItemCount();
  item.pszText = const_cast<LPSTR>("");
  item.iImage = image;
  return view.InsertItem(&item);
}

int CGlimraDlg::AddIconToList(HICON hIcon) {
  // The image list keeps its own 32x32 copy; -1 (nothing stored) still gets
  // an item, so that items and records stay index-parallel.
  const int image = ImageList_ReplaceIcon(m_pImageList != nullptr ? m_pImageList->GetSafeHandle() : nullptr, -1, hIcon);
  return AppendIconItem(m_lvIcons, image);
}

void CGlimraDlg::AppendIcon(HICON hIcon, const CIconInfo& info) {
  if (PendingIcons* pending = PendingIcons::Of(*this); pending != nullptr) {
    pending->Add(hIcon, info);
    return;
  }
  // Image, item and record in one step of the user-interface thread: item n,
  // image n and record n describe the same icon at every moment, and an
  // extraction on that thread (a double-clicked file) never interleaves
  // with a listing worker's.
  UiCall([&] {
    static_cast<void>(AddIconToList(hIcon));
    m_listIcons.AddTail(info);
  });
}
