#pragma once
// Menus: menu bars, popups and the system menu, loaded from menu resources
// or built item by item. A popup opened with TrackPopupMenu runs its owner's
// update handlers first and delivers the chosen command to the owner.

#include "platform/ui/cobject.h"
#include "platform/ui/cstring.h"

class CWnd;

[[nodiscard]] HMENU CreateMenu();
[[nodiscard]] HMENU CreatePopupMenu();
[[nodiscard]] HMENU LoadMenuResource(UINT id);  // null when absent
BOOL DestroyMenu(HMENU menu);
[[nodiscard]] BOOL IsMenu(HMENU menu);

class CMenu : public CObject {
 public:
  CMenu() = default;
  ~CMenu() override;  // destroys the attached menu, as the class library does
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  HMENU m_hMenu = nullptr;
  operator HMENU() const { return m_hMenu; }  // NOLINT
  [[nodiscard]] HMENU GetSafeHmenu() const { return m_hMenu; }
  // The attached object, or a wrapper the layer keeps while the menu lives.
  static CMenu* FromHandle(HMENU menu);

  BOOL CreateMenu();
  BOOL CreatePopupMenu();
  BOOL LoadMenu(UINT id);
  BOOL Attach(HMENU menu);
  HMENU Detach();
  BOOL DestroyMenu();

  BOOL AppendMenu(UINT flags, UINT_PTR idOrPopup = 0, LPCTSTR text = nullptr);
  BOOL InsertMenu(UINT position, UINT flags, UINT_PTR idOrPopup = 0, LPCTSTR text = nullptr);
  BOOL DeleteMenu(UINT position, UINT flags);
  BOOL RemoveMenu(UINT position, UINT flags);
  BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR idOrPopup = 0, LPCTSTR text = nullptr);
  // The previous state (MF_ENABLED, MF_GRAYED, MF_DISABLED), or -1 when no such item.
  UINT EnableMenuItem(UINT idOrPosition, UINT flags);
  UINT CheckMenuItem(UINT idOrPosition, UINT flags);
  [[nodiscard]] UINT GetMenuState(UINT idOrPosition, UINT flags) const;
  [[nodiscard]] int GetMenuItemCount() const;
  [[nodiscard]] UINT GetMenuItemID(int position) const;  // 0 for a separator, -1 for a popup
  int GetMenuString(UINT idOrPosition, CString& text, UINT flags) const;
  [[nodiscard]] CMenu* GetSubMenu(int position) const;
  // Opens the popup at (x, y) in screen coordinates and blocks until it
  // closes. With TPM_RETURNCMD answers the chosen id (0 for none) and sends
  // nothing; otherwise the choice goes to owner as WM_COMMAND (WM_SYSCOMMAND
  // for the system menu) after the popup closed, and it answers nonzero.
  BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT exclude = nullptr);
};

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCSTR text);
UINT EnableMenuItem(HMENU menu, UINT idOrPosition, UINT flags);
[[nodiscard]] HMENU GetSubMenu(HMENU menu, int position);
[[nodiscard]] int GetMenuItemCount(HMENU menu);
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, LPCRECT exclude);
