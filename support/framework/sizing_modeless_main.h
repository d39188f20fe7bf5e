#pragma once
// The program's main window base: a resizable modeless dialog with a
// toolbar at the top and a status bar at the bottom. The template's controls
// sit between the bars at their designed size (the window grows by the
// bars' heights). A close request (the close box, WM_CLOSE, the
// application's Exit) destroys the window, and the object deletes itself
// after its window is gone.

#include <vector>

#include "platform/ui/status_bar.h"
#include "platform/ui/tool_bar.h"
#include "support/framework/sizing_dialog.h"

class CSizingModelessMain : public cdxCSizingDialog {
  DECLARE_DYNAMIC(CSizingModelessMain)

 public:
  explicit CSizingModelessMain(UINT templateId);
  ~CSizingModelessMain() override;

  // Creates the window from the template (with its menu), the toolbar from
  // toolbar resource toolbarId with buttons in the given order (0 is a
  // separator) and the status bar with the given panes (the first is the
  // message pane, the status bar's window text). OnInitDialog runs inside.
  // Nonzero once the window exists.
  BOOL Create(const UINT* indicators, int nIndicators, const UINT* buttons, int nButtons, UINT toolbarId);

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  // A modeless main window stays open on Enter and Escape; the program
  // overrides these as it likes.
  void OnOK() override;
  void OnCancel() override;

  CStatusBar m_wndStatusBar;
  CToolBar m_wndToolBar;

 protected:
  // Deletes the object once (its window is gone), first taking it out of
  // the application's main window so that shutdown does not delete it again.
  void PostNcDestroy() override;
  [[nodiscard]] SIZE GetLayoutClientSize() const override;

  afx_msg void OnPaint();
  afx_msg void OnClose();
  afx_msg void OnSize(UINT type, int cx, int cy);
  // The idle pass: toolbar buttons take their states from update handlers.
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  // A command's prompt ("prompt\ntooltip" string) shown in the message pane.
  afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  [[nodiscard]] BOOL CreateBars();
  void PlaceBars();

  std::vector<UINT> m_indicators;
  std::vector<UINT> m_buttons;
  UINT m_nToolbarId = 0;
};
