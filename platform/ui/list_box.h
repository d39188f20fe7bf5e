#pragma once
// List boxes ("LISTBOX"): sorted or not, single, multiple or extended
// selection; LBN_SELCHANGE and LBN_DBLCLK reach the parent with LBS_NOTIFY.

#include "platform/ui/cwnd.h"

class CListBox : public CWnd {
  DECLARE_DYNAMIC(CListBox)

 public:
  CListBox() = default;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_LISTBOX, "", style, rect, parent, id);
  }
  [[nodiscard]] int GetCount() const;
  int AddString(LPCTSTR text);
  int InsertString(int index, LPCTSTR text);
  int DeleteString(UINT index);
  void ResetContent();
  [[nodiscard]] int GetCurSel() const;
  int SetCurSel(int index);
  [[nodiscard]] int GetSel(int index) const;
  int SetSel(int index, BOOL select = TRUE);
  [[nodiscard]] int GetSelCount() const;
  // Fills at most maxItems indexes of selected items, ascending; answers how many.
  int GetSelItems(int maxItems, LPINT items) const;
  int GetText(int index, LPTSTR buffer) const;
  void GetText(int index, CString& text) const;
  [[nodiscard]] int GetTextLen(int index) const;
  [[nodiscard]] int FindString(int startAfter, LPCTSTR text) const;
  [[nodiscard]] int FindStringExact(int startAfter, LPCTSTR text) const;
  [[nodiscard]] DWORD_PTR GetItemData(int index) const;
  int SetItemData(int index, DWORD_PTR data);
  [[nodiscard]] int GetTopIndex() const;
  // Moves the focus rectangle without changing the selection.
  int SetCaretIndex(int index);
};
