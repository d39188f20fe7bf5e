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
  [[nodiscard]] int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
  int AddString(LPCTSTR text) { return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
  int InsertString(int index, LPCTSTR text) {
    return static_cast<int>(SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
  }
  int DeleteString(UINT index) { return static_cast<int>(SendMessage(LB_DELETESTRING, index)); }
  void ResetContent() { SendMessage(LB_RESETCONTENT); }
  [[nodiscard]] int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
  int SetCurSel(int index) { return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index))); }
  [[nodiscard]] int GetSel(int index) const {
    return static_cast<int>(SendMessage(LB_GETSEL, static_cast<WPARAM>(index)));
  }
  int SetSel(int index, BOOL select = TRUE) {
    return static_cast<int>(SendMessage(LB_SETSEL, static_cast<WPARAM>(select), index));
  }
  [[nodiscard]] int GetSelCount() const { return static_cast<int>(SendMessage(LB_GETSELCOUNT)); }
  // Fills at most maxItems indexes of selected items, ascending; answers how many.
  int GetSelItems(int maxItems, LPINT items) const {
    return static_cast<int>(
        SendMessage(LB_GETSELITEMS, static_cast<WPARAM>(maxItems), reinterpret_cast<LPARAM>(items)));
  }
  int GetText(int index, LPTSTR buffer) const {
    return static_cast<int>(SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
  }
  void GetText(int index, CString& text) const;
  [[nodiscard]] int GetTextLen(int index) const {
    return static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index)));
  }
  [[nodiscard]] int FindString(int startAfter, LPCTSTR text) const {
    return static_cast<int>(
        SendMessage(LB_FINDSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
  }
  [[nodiscard]] int FindStringExact(int startAfter, LPCTSTR text) const {
    return static_cast<int>(
        SendMessage(LB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
  }
  [[nodiscard]] DWORD_PTR GetItemData(int index) const {
    return static_cast<DWORD_PTR>(SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index)));
  }
  int SetItemData(int index, DWORD_PTR data) {
    return static_cast<int>(SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
  }
  [[nodiscard]] int GetTopIndex() const { return static_cast<int>(SendMessage(LB_GETTOPINDEX)); }
};
