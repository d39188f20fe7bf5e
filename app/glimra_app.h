#pragma once
// The application object: brings the support libraries up, lets one copy of
// the program run, creates and shows the main window, and takes the
// application-level commands the main window hands on.

#include <string>
#include <vector>

#include "platform/ui/cmd_ui.h"
#include "platform/ui/cstring.h"
#include "support/framework/zu_win_app.h"

class CGlimraDlg;

class CGlimraApp : public CZUWinApp {
 public:
  CGlimraApp();
  ~CGlimraApp() override;
  CGlimraApp(const CGlimraApp&) = delete;
  CGlimraApp& operator=(const CGlimraApp&) = delete;

  BOOL InitInstance() override;
  int ExitInstance() override;
  void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT) override;

  // FALSE when another copy runs; that copy has then been handed the paths
  // (absolute, existing) to open and brought forward.
  BOOL CheckSingleInstance(const std::vector<std::string>& paths = {});
  // A path another copy handed on, opened as an argument of this copy.
  BOOL OpenInstancePath(LPCTSTR path) override;
  void InitHtmlHelp();
  // Shows "Glimra Help" modally: help cannot be displayed.
  void ShowHelpMissing();

  afx_msg void OnAppAbout();

  CString m_strHtmlHelpFile;
  // Null while HTML Help cannot be used; otherwise the text of m_strHtmlHelpFile.
  LPCTSTR m_pszHtmlHelpFile = nullptr;

 protected:
  afx_msg void OnIconsClear();
  afx_msg void OnIconsSaveAs();
  afx_msg void OnUpdateIconsSelection(CCmdUI* pCmdUI);
  afx_msg void OnUpdateIconsClear(CCmdUI* pCmdUI);
  afx_msg void OnIconsInfo();
  afx_msg void OnIconsCopy();
  afx_msg void OnIconsExport();
  afx_msg void OnUpdateAlwaysEnabled(CCmdUI* pCmdUI);
  afx_msg void OnHelpTopics();
  DECLARE_MESSAGE_MAP()

 private:
  // Help Topics and context help: the viewer with the command and its data,
  // or "Glimra Help" when help is off or the viewer fails.
  void ShowHelp(UINT command, DWORD_PTR data);
  // The current thread's main window when it is the program's dialog.
  [[nodiscard]] static CGlimraDlg* MainDialog();
};

extern CGlimraApp theApp;
