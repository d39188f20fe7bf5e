#pragma once
// Tree views ("SysTreeView32"): items with text, images, a child indicator
// and children added on demand. TVN_ITEMEXPANDING (before an item opens;
// a nonzero result keeps it closed), TVN_ITEMEXPANDED, TVN_SELCHANGING,
// TVN_SELCHANGED and TVN_DELETEITEM (children before their parent) reach
// the parent as WM_NOTIFY with NMTREEVIEW.

#include "platform/ui/common_controls.h"
#include "platform/ui/cwnd.h"

class CImageList;

class CTreeCtrl : public CWnd {
  DECLARE_DYNAMIC(CTreeCtrl)

 public:
  CTreeCtrl() = default;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_TREEVIEW, "", style, rect, parent, id);
  }
  HTREEITEM InsertItem(const TVINSERTSTRUCT* insert);
  HTREEITEM InsertItem(UINT mask, LPCTSTR text, int image, int selectedImage, UINT state, UINT stateMask, LPARAM param,
                       HTREEITEM parent, HTREEITEM insertAfter);
  HTREEITEM InsertItem(LPCTSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM insertAfter = TVI_LAST);
  HTREEITEM InsertItem(LPCTSTR text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                       HTREEITEM insertAfter = TVI_LAST);
  BOOL DeleteItem(HTREEITEM item);
  BOOL DeleteAllItems() { return DeleteItem(TVI_ROOT); }
  BOOL GetItem(TVITEM* item) const;
  BOOL SetItem(const TVITEM* item);
  [[nodiscard]] CString GetItemText(HTREEITEM item) const;
  BOOL SetItemText(HTREEITEM item, LPCTSTR text);
  [[nodiscard]] DWORD_PTR GetItemData(HTREEITEM item) const;
  BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
  BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
  [[nodiscard]] UINT GetItemState(HTREEITEM item, UINT mask) const;
  [[nodiscard]] HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
  [[nodiscard]] HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
  [[nodiscard]] HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
  [[nodiscard]] HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
  [[nodiscard]] HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
  [[nodiscard]] HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
  [[nodiscard]] HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
  [[nodiscard]] BOOL ItemHasChildren(HTREEITEM item) const;
  [[nodiscard]] UINT GetCount() const;
  BOOL Expand(HTREEITEM item, UINT code);
  BOOL SelectItem(HTREEITEM item);
  BOOL EnsureVisible(HTREEITEM item);
  BOOL SortChildren(HTREEITEM item);
  BOOL SortChildrenCB(const TVSORTCB* sort);
  HTREEITEM HitTest(TVHITTESTINFO* info) const;
  HTREEITEM HitTest(CPoint point, UINT* flags = nullptr) const;
  BOOL GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const;
  CImageList* SetImageList(CImageList* list, int kind);
  [[nodiscard]] CImageList* GetImageList(int kind) const;
};
