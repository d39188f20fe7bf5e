#include "listing/pending_icons.h"

#include <utility>

#include "mainwnd/glimra_dlg.h"
#include "platform/core/icon_object.h"
#include "platform/ui/image_list.h"
#include "platform/ui/ui_call.h"

namespace {
// The image list's size as this thread last asked it, so a listing asks
// once, not once per file. Should the list be replaced meanwhile, the
// append refuses an image of another size and the item shows none.
struct MeasuredList {
  const CGlimraDlg* dlg = nullptr;
  int cx = 0;
  int cy = 0;
};
thread_local MeasuredList t_measured;

HIMAGELIST IconImages(const CGlimraDlg& dlg) {
  return dlg.m_pImageList != nullptr ? dlg.m_pImageList->GetSafeHandle() : nullptr;
}
}  // namespace

int AppendIconItem(CListCtrl& view, int image) {
  LVITEM item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = view.GetItemCount();
  item.pszText = const_cast<LPSTR>("");
  item.iImage = image;
  return view.InsertItem(&item);
}

PendingIcons::PendingIcons(CGlimraDlg& dlg, int file) : m_dlg(dlg), m_file(file), m_gathers(!IsUiThread()) {}

void PendingIcons::Add(HICON icon, const CIconInfo& info) {
  if (!m_gathers) {
    // Already on the user-interface thread, between a worker's runs. The
    // image list keeps its own copy; -1 (nothing stored) still gets an
    // item, so that items and records stay index-parallel.
    const int image = ImageList_ReplaceIcon(IconImages(m_dlg), -1, icon);
    static_cast<void>(AppendIconItem(m_dlg.m_lvIcons, image));
    m_dlg.m_listIcons.AddTail(info);
    return;
  }
  if (!m_sized) {
    if (t_measured.dlg != &m_dlg) {
      int cx = 0, cy = 0;
      UiCall([&] {
        if (!ImageList_GetIconSize(IconImages(m_dlg), &cx, &cy)) cx = cy = 0;
      });
      // Stored here, on the worker: inside the call the thread is another.
      t_measured = MeasuredList{&m_dlg, cx, cy};
    }
    m_cx = t_measured.cx;
    m_cy = t_measured.cy;
    m_sized = true;
  }
  std::vector<std::uint32_t> pixels;
  if (m_cx > 0 && m_cy > 0) pixels = ScaleIconPixels(*icon, m_cx, m_cy);
  m_entries.push_back(Entry{std::move(pixels), info});
  if (m_entries.size() >= kMaxPending) Flush();
}

void PendingIcons::Flush(std::function<void()> after) {
  if (m_entries.empty()) {
    if (after) UiPost(std::move(after));
    return;
  }
  // Posted, not called: the worker goes on with the next file while the
  // user-interface thread stores this run. The post owns the run; the
  // window outlives it, because destroying the window kills the worker
  // first, and a killed worker's posts never run.
  UiPost([dlg = &m_dlg, file = m_file, cx = m_cx, cy = m_cy, entries = std::move(m_entries),
          after = std::move(after)]() mutable {
    if (dlg->m_listingDisplay.Shows(file)) {
      // The list may have been replaced since it was measured; then the
      // size check refuses an image of another size and the item shows none.
      HIMAGELIST list = IconImages(*dlg);
      for (Entry& entry : entries) {
        const int image = ImageList_AddPixels(list, cx, cy, std::move(entry.pixels));
        static_cast<void>(AppendIconItem(dlg->m_lvIcons, image));
        dlg->m_listIcons.AddTail(std::move(entry.info));
      }
    }
    if (after) after();
  });
  m_entries.clear();
}
