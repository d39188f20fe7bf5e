// The application's help: HTML Help in the window type the help file
// defines, or "Glimra Help" when it is not installed or cannot show the
// request.

#include "app/glimra_app.h"
#include "app/help_missing_dlg.h"
#include "platform/core/data_module.h"
#include "platform/ui/help_viewer.h"
#include "platform/ui/wait_cursor.h"
#include "support/framework/html_help_path.h"

namespace {

constexpr const char* kHelpViewerModule = "hhctrl.ocx";
constexpr const char* kHelpWindowSuffix = ">GlimraWndType";

HWND MainWindowHandle() {
  CWinThread* thread = AfxGetThread();
  CWnd* mainWnd = thread != nullptr ? thread->GetMainWnd() : nullptr;
  return mainWnd != nullptr ? mainWnd->GetSafeHwnd() : nullptr;
}

}  // namespace

void CGlimraApp::InitHtmlHelp() {
  const CWaitCursor wait;
  m_pszHtmlHelpFile = nullptr;
  HMODULE viewer = LoadLibraryExA(kHelpViewerModule, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (viewer == nullptr) return;
  static_cast<void>(FreeLibrary(viewer));
  char path[MAX_PATH];
  m_strHtmlHelpFile = GetHTMLHelpPath(path);
  if (!m_strHtmlHelpFile.IsEmpty()) m_pszHtmlHelpFile = m_strHtmlHelpFile;
}

void CGlimraApp::OnHelpTopics() { ShowHelp(HH_DISPLAY_TOPIC, 0); }

// Every request is a context request; the command value says nothing the
// help file needs.
void CGlimraApp::WinHelp(DWORD_PTR data, UINT /*command*/) { ShowHelp(HH_HELP_CONTEXT, data); }

void CGlimraApp::ShowHelp(UINT command, DWORD_PTR data) {
  if (m_pszHtmlHelpFile == nullptr) {
    ShowHelpMissing();
    return;
  }
  HWND shown = nullptr;
  {
    // Only around the viewer's work: a wait cursor over the dialog that
    // follows a failure would say the program is busy while it waits for
    // the user.
    const CWaitCursor wait;
    CString target = m_pszHtmlHelpFile;
    target += kHelpWindowSuffix;
    shown = HtmlHelpA(MainWindowHandle(), target, command, data);
  }
  if (shown == nullptr) ShowHelpMissing();
}

void CGlimraApp::ShowHelpMissing() {
  CHelpMissingDlg dlg;
  static_cast<void>(dlg.DoModal());
}
