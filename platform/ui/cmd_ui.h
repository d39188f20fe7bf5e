#pragma once
// An update request for one user-interface item (a menu item, a toolbar
// button or another window): handlers enable, check or retitle it.

#include "platform/ui/win_user.h"

class CCmdTarget;
class CMenu;
class CWnd;

class CCmdUI {
 public:
  CCmdUI() = default;
  CCmdUI(const CCmdUI&) = delete;
  CCmdUI& operator=(const CCmdUI&) = delete;
  virtual ~CCmdUI() = default;

  UINT m_nID = 0;
  UINT m_nIndex = 0;
  UINT m_nIndexMax = 0;
  CMenu* m_pMenu = nullptr;     // set when the item is a menu item
  CMenu* m_pSubMenu = nullptr;  // set when the item opens a popup
  CWnd* m_pOther = nullptr;     // set when the item is a window (toolbar, status bar pane host)
  BOOL m_bEnableChanged = FALSE;
  BOOL m_bContinueRouting = FALSE;

  virtual void Enable(BOOL on = TRUE);
  virtual void SetCheck(int check = 1);
  virtual void SetRadio(BOOL on = TRUE);
  virtual void SetText(LPCTSTR text);
  void ContinueRouting() { m_bContinueRouting = TRUE; }

  // Routes the request to target. When no handler changed the enabled state
  // and disableIfNoHandler is set, the item is enabled exactly when some
  // command handler for its id exists along the route.
  BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);
};
