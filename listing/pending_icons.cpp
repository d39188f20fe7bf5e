#include "listing/pending_icons.h"

#include <utility>

#include "mainwnd/glimra_dlg.h"
#include "platform/core/icon_object.h"
#include "platform/ui/image_list.h"
#include "platform/ui/ui_call.h"

namespace {
// One gathering per worker at a time; nested ones (none today) chain.
thread_local PendingIcons* t_current = nullptr;

// The image list's size as this thread last asked it, so a listing asks
// once, not once per file. Should the list be replaced meanwhile, the
// append refuses an image of another size and the item shows none.
struct MeasuredList {
  const CGlimraDlg* dlg = nullptr;
  int cx = 0;
  int cy = 0;
};
thread_local MeasuredList t_measured;
}  // namespace

PendingIcons::PendingIcons(CGlimraDlg& dlg, int file) : m_dlg(dlg), m_file(file), m_outer(t_current) {
  // On the user-interface thread every append is a direct call already.
  if (IsUiThread()) return;
  t_current = this;
  m_registered = true;
}

PendingIcons::~PendingIcons() {
  if (m_registered) t_current = m_outer;
}

PendingIcons* PendingIcons::Of(const CGlimraDlg& dlg) {
  PendingIcons* pending = t_current;
  return pending != nullptr && &pending->m_dlg == &dlg ? pending : nullptr;
}

void PendingIcons::Add(HICON icon, const CIconInfo& info) {
  if (!m_sized) {
    if (t_measured.dlg != &m_dlg) {
      int cx = 0, cy = 0;
      UiCall([&] {
        HIMAGELIST list = m_dlg.m_pImageList != nullptr ? m_dlg.m_pImageList->GetSafeHandle() : nullptr;
        if (!ImageList_GetIconSize(list, &cx, &cy)) cx = cy = 0;
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
      HIMAGELIST list = dlg->m_pImageList != nullptr ? dlg->m_pImageList->GetSafeHandle() : nullptr;
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
