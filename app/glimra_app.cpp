#include "app/glimra_app.h"

#include <unistd.h>

#include <array>
#include <cstdlib>
#include <iterator>

#include "app/command_line.h"
#include "commands/icon_transfer.h"
#include "mainwnd/glimra_dlg.h"
#include "mainwnd/main_bars.h"
#include "platform/ui/cwnd.h"
#include "platform/ui/desktop_shell.h"
#include "platform/ui/instance_channel.h"
#include "res/resource_ids.h"
#include "support/framework/remote_wnd.h"
#include "support/framework/zu_about_dlg.h"
#include "support/framework/zu_libraries.h"

namespace {

// The class key a running copy's main window is found by: the atom of the
// dialog window class, which a dialog-template window has.
constexpr DWORD kDialogClassAtom = 32770;

// Brings a running copy's main window forward: restored when minimized, and
// a modal popup it shows (such as Icon Info) on top of it.
template <typename Wnd>
void ActivateRunningCopy(Wnd* found) {
  auto* popup = found->GetLastActivePopup();
  found->SetForegroundWindow();
  if (found->IsIconic()) {
    found->ShowWindow(SW_SHOWNORMAL);
  }
  if (popup != found) {
    popup->SetForegroundWindow();
  }
}

std::string CurrentFolder() {
  std::array<char, 4096> buffer{};
  return ::getcwd(buffer.data(), buffer.size()) != nullptr ? std::string(buffer.data()) : std::string("/");
}

}  // namespace

CGlimraApp theApp;

BEGIN_MESSAGE_MAP(CGlimraApp, CZUWinApp)
ON_COMMAND(ID_ICONS_CLEAR, OnIconsClear)
ON_COMMAND(ID_ICONS_SAVEAS, OnIconsSaveAs)
ON_UPDATE_COMMAND_UI(ID_ICONS_SAVEAS, OnUpdateIconsSelection)
ON_UPDATE_COMMAND_UI(ID_ICONS_CLEAR, OnUpdateIconsClear)
ON_COMMAND(ID_ICONS_INFO, OnIconsInfo)
ON_UPDATE_COMMAND_UI(ID_ICONS_INFO, OnUpdateIconsSelection)
ON_COMMAND(ID_ICONS_COPY, OnIconsCopy)
ON_UPDATE_COMMAND_UI(ID_ICONS_COPY, OnUpdateIconsSelection)
ON_COMMAND(ID_ICONS_EXPORT, OnIconsExport)
ON_UPDATE_COMMAND_UI(ID_ICONS_EXPORT, OnUpdateIconsSelection)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_UPDATE_COMMAND_UI(ID_APP_ABOUT, OnUpdateAlwaysEnabled)
ON_UPDATE_COMMAND_UI(ID_HELP_FINDER, OnUpdateAlwaysEnabled)
ON_COMMAND(ID_HELP_FINDER, OnHelpTopics)
ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CGlimraApp::CGlimraApp() {
  m_pMainWnd = nullptr;
  static_cast<void>(InitAppClassParam("GLIMRA_CLASSAPP", 0, 0));
}

CGlimraApp::~CGlimraApp() = default;

BOOL CGlimraApp::InitInstance() {
  // Before any window: the window manager matches windows to the desktop
  // entry by this name, and shows the entry's icon for them.
  SetDesktopEntryName(GLIMRA_APP_ID);
  InitZUWinObjDLL();
  InitZUUtilObjDLL();
  InitZUHtmlDLL();

  static_cast<void>(CZUWinApp::InitInstance());

  const GlimraCommandLine line = ParseGlimraCommandLine(m_argc, m_argv);
  const std::vector<std::string> paths = ExistingAbsolutePaths(line.paths, CurrentFolder());
  if (!CheckSingleInstance(paths)) {
    return FALSE;
  }

  AfxEnableControlContainer();
  Enable3dControls();

  auto* dlg = new CGlimraDlg(IDD_GLIMRA_DIALOG);
  m_pMainWnd = dlg;

  InitHtmlHelp();

  const BOOL created = dlg->Create(kMainIndicators, static_cast<int>(std::size(kMainIndicators)), kMainToolbarButtons,
                                   static_cast<int>(std::size(kMainToolbarButtons)), IDR_MAINFRAME);

  // There is no document: the class library's parse finds nothing to do.
  CCommandLineInfo cmdInfo;
  ParseCommandLine(cmdInfo);

  m_pMainWnd->ShowWindow(SW_SHOW);
  // Files and folders dropped from a file manager open as arguments do.
  AcceptDroppedPaths(dlg->GetSafeHwnd(), [](const std::vector<std::string>& dropped) {
    if (CGlimraDlg* target = MainDialog()) target->OpenPaths(dropped);
  });
  // After showing: the refresh a folder selection starts skips a hidden window.
  if (created) dlg->OpenPaths(paths);
  return created;
}

BOOL CGlimraApp::OpenInstancePath(LPCTSTR path) {
  CGlimraDlg* dlg = MainDialog();
  return dlg != nullptr && path != nullptr ? dlg->OpenPath(path) : FALSE;
}

BOOL CGlimraApp::CheckSingleInstance(const std::vector<std::string>& paths) {
  CString title;
  static_cast<void>(title.LoadString(IDS_APP_TITLE));
  CWnd* found = ISApplicationIsUp(title, kDialogClassAtom);
  if (found == nullptr) {
    return TRUE;
  }
  // The window operations that matter are the proxy's own when the running
  // copy is another process; CWnd's are not virtual.
  if (auto* remote = dynamic_cast<CZURemoteWnd*>(found)) {
    // The token first: the running copy comes to the front with it.
    if (const char* token = std::getenv(kActivationTokenVariable); token != nullptr && *token != '\0') {
      static_cast<void>(remote->PassActivationToken(token));
    }
    for (const std::string& path : paths) {
      static_cast<void>(remote->OpenRemote(path));
    }
    ActivateRunningCopy(remote);
  } else {
    ActivateRunningCopy(found);
  }
  return FALSE;
}

int CGlimraApp::ExitInstance() {
  // Normally null already: destroying the main window clears it.
  if (m_pMainWnd != nullptr) {
    delete m_pMainWnd;
    m_pMainWnd = nullptr;
  }
  return CZUWinApp::ExitInstance();
}

// InitHtmlHelp, OnHelpTopics, WinHelp and ShowHelpMissing are in help.cpp.

void CGlimraApp::OnAppAbout() {
  CZUAboutDlg about(IDR_MAINFRAME, nullptr);
  static_cast<void>(about.DoModal());
}

CGlimraDlg* CGlimraApp::MainDialog() {
  CWinThread* thread = AfxGetThread();
  return thread != nullptr ? dynamic_cast<CGlimraDlg*>(thread->GetMainWnd()) : nullptr;
}

// The main window has no entries for the icon commands; the dialog's
// routing hands them here from the menu bar, the toolbar, the accelerator
// and the icon list's popup alike.
void CGlimraApp::OnIconsClear() {
  if (CGlimraDlg* dlg = MainDialog()) dlg->ClearAllIcons();
}

void CGlimraApp::OnIconsSaveAs() {
  if (CGlimraDlg* dlg = MainDialog()) dlg->SaveSelectedIcons();
}

void CGlimraApp::OnIconsInfo() {
  if (CGlimraDlg* dlg = MainDialog()) dlg->ShowSelectedIconInfo();
}

void CGlimraApp::OnIconsCopy() {
  if (CGlimraDlg* dlg = MainDialog()) CopySelectedIcons(*dlg);
}

void CGlimraApp::OnIconsExport() {
  if (CGlimraDlg* dlg = MainDialog()) ExportSelectedIcons(*dlg);
}

void CGlimraApp::OnUpdateIconsClear(CCmdUI* pCmdUI) {
  const CGlimraDlg* dlg = MainDialog();
  pCmdUI->Enable(dlg != nullptr && dlg->m_lvIcons.GetItemCount() > 0 && dlg->m_hWorkerThread == nullptr);
}

void CGlimraApp::OnUpdateIconsSelection(CCmdUI* pCmdUI) {
  const CGlimraDlg* dlg = MainDialog();
  pCmdUI->Enable(dlg != nullptr && dlg->m_lvIcons.GetNextItem(-1, LVNI_SELECTED) != -1);
}

void CGlimraApp::OnUpdateAlwaysEnabled(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
