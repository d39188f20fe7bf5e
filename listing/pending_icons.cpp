#include "listing/pending_icons.h"

#include <utility>

#include "mainwnd/glimra_dlg.h"
#include "platform/core/icon_object.h"
#include "platform/ui/image_list.h"
#include "platform/ui/ui_call.h"

namespace {
// One gathering per worker at a time; nested ones (none today) chain.
thread_local PendingIcons* t_current = nullptr;
}  // namespace

PendingIcons::PendingIcons(CGlimraDlg& dlg) : m_dlg(dlg), m_outer(t_current) {
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
    UiCall([&] {
      HIMAGELIST list = m_dlg.m_pImageList != nullptr ? m_dlg.m_pImageList->GetSafeHandle() : nullptr;
      if (!ImageList_GetIconSize(list, &m_cx, &m_cy)) m_cx = m_cy = 0;
    });
    m_sized = true;
  }
  std::vector<std::uint32_t> pixels;
  if (m_cx > 0 && m_cy > 0) pixels = ScaleIconPixels(*icon, m_cx, m_cy);
  m_entries.push_back(Entry{std::move(pixels), info});
  if (m_entries.size() >= kMaxPending) Flush();
}

void PendingIcons::Flush() {
  if (m_entries.empty()) return;
  UiCall([&] {
    // The list may have been replaced since it was measured; then the
    // size check refuses an image of another size and the item shows none.
    HIMAGELIST list = m_dlg.m_pImageList != nullptr ? m_dlg.m_pImageList->GetSafeHandle() : nullptr;
    for (Entry& entry : m_entries) {
      const int image = ImageList_AddPixels(list, m_cx, m_cy, std::move(entry.pixels));
      static_cast<void>(AppendIconItem(m_dlg.m_lvIcons, image));
      m_dlg.m_listIcons.AddTail(entry.info);
    }
  });
  m_entries.clear();
}
