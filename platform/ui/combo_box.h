#pragma once
// Combo boxes ("COMBOBOX"): simple, drop-down (editable) or drop-down list.
// CBN_EDITCHANGE and CBN_SELCHANGE reach the parent for the user's changes.

#include "platform/ui/cwnd.h"

class CComboBox : public CWnd {
  DECLARE_DYNAMIC(CComboBox)

 public:
  CComboBox() = default;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_COMBOBOX, "", style, rect, parent, id);
  }
  [[nodiscard]] int GetCount() const;
  int AddString(LPCTSTR text);
  int InsertString(int index, LPCTSTR text);
  int DeleteString(UINT index);
  // Empties the list and the edit field.
  void ResetContent();
  [[nodiscard]] int GetCurSel() const;
  int SetCurSel(int index);
  int GetLBText(int index, LPTSTR buffer) const;
  void GetLBText(int index, CString& text) const;
  [[nodiscard]] int GetLBTextLen(int index) const;
  // The first item after startAfter (-1: from the start, wrapping round)
  // that begins with text, compared without regard to case; CB_ERR if none.
  [[nodiscard]] int FindString(int startAfter, LPCTSTR text) const;
  [[nodiscard]] int FindStringExact(int startAfter, LPCTSTR text) const;
  int SelectString(int startAfter, LPCTSTR text);
  [[nodiscard]] DWORD_PTR GetItemData(int index) const;
  int SetItemData(int index, DWORD_PTR data);
  void ShowDropDown(BOOL show = TRUE);
  [[nodiscard]] BOOL GetDroppedState() const;
};
