#pragma once
// List views ("SysListView32"): the icon view the program uses, items with
// an image from the normal image list and an optional label, multiple
// selection, automatic arrangement. NM_DBLCLK, NM_CLICK and NM_RCLICK reach
// the parent as WM_NOTIFY with NMITEMACTIVATE.

#include <functional>

#include "platform/ui/common_controls.h"
#include "platform/ui/cwnd.h"

class CImageList;

class CListCtrl : public CWnd {
  DECLARE_DYNAMIC(CListCtrl)

 public:
  CListCtrl() = default;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_LISTVIEW, "", style, rect, parent, id);
  }
  [[nodiscard]] int GetItemCount() const;
  int InsertItem(const LVITEM* item);
  int InsertItem(int index, LPCTSTR text);
  int InsertItem(int index, LPCTSTR text, int image);
  int InsertItem(UINT mask, int index, LPCTSTR text, UINT state, UINT stateMask, int image, LPARAM param);
  BOOL DeleteItem(int index);
  BOOL DeleteAllItems();
  BOOL GetItem(LVITEM* item) const;
  BOOL SetItem(const LVITEM* item);
  // The next item after start (-1: from the first) with all the LVNI_ flags; -1 when none.
  [[nodiscard]] int GetNextItem(int start, int flags) const;
  [[nodiscard]] UINT GetSelectedCount() const;
  [[nodiscard]] UINT GetItemState(int index, UINT mask) const;
  BOOL SetItemState(int index, UINT state, UINT mask);
  // pt in client coordinates; answers the item or -1, flags as LVHT_.
  int HitTest(LVHITTESTINFO* info) const;
  int HitTest(CPoint point, UINT* flags = nullptr) const;
  BOOL GetItemRect(int index, LPRECT rect, UINT code) const;
  // Answers the previous list of that kind.
  CImageList* SetImageList(CImageList* list, int kind);
  [[nodiscard]] CImageList* GetImageList(int kind) const;
  // Answers the previous spacing.
  CSize SetIconSpacing(int cx, int cy);
  BOOL EnsureVisible(int index, BOOL partialOK);
  BOOL Arrange(UINT code);

  // Beyond the platform: the text of an item's tooltip and accessible name,
  // asked of describe (on the user-interface thread) only when one is shown
  // or read; an empty text gives none. An empty function removes them.
  void SetItemDescriber(std::function<CString(int item)> describe);
  // Beyond the platform: the user dragging selected items runs start, which
  // starts the drag; an empty function turns dragging off.
  void SetDragStart(std::function<void()> start);
};
