#include "platform/ui/win_app.h"

#include <QApplication>

#include "platform/core/data_module.h"
#include "platform/ui/accelerators.h"
#include "platform/ui/cwnd.h"
#include "platform/ui/desktop_shell.h"
#include "platform/ui/dialog.h"
#include "platform/ui/help_viewer.h"
#include "platform/ui/resources.h"
#include "platform/ui/ui_call.h"
#include "platform/ui/window_record.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {
CWinApp* g_app = nullptr;
int g_messageLoops = 0;  // CWinThread::Run loops running; user-interface thread only
}  // namespace

CWnd* CWinThread::GetMainWnd() { return m_pMainWnd; }
BOOL CWinThread::InitInstance() { return FALSE; }
int CWinThread::ExitInstance() { return 0; }

int CWinThread::Run() {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return ExitInstance();
  // The loop ends when the main window goes; closing its last widget alone
  // does not end it.
  if (qobject_cast<QApplication*>(app)) QApplication::setQuitOnLastWindowClosed(false);
  if (!m_pMainWnd) return ExitInstance();
  ++g_messageLoops;
  QCoreApplication::exec();
  --g_messageLoops;
  return ExitInstance();
}

BOOL CWinThread::OnIdle(LONG lCount) {
  if (lCount > 0) return FALSE;
  // The update pass: every shown top-level window's control bars ask their
  // owners' update handlers.
  for (HWND top : TopLevelWindows()) {
    if (!LiveRecord(top) || !top->widget || !top->widget->isVisible()) continue;
    if (CWnd* w = CWnd::FromHandle(top)) {
      w->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
      w->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
    }
  }
  return FALSE;
}

BOOL CWinThread::PreTranslateMessage(MSG* msg) {
  if (!msg) return FALSE;
  // From the window the key went to up to its top-level window: each
  // object's PreTranslateMessage, then the window's accelerators.
  int depth = 0;
  HWND top = nullptr;
  for (HWND h = msg->hwnd; LiveRecord(h) && depth < 64; ++depth) {
    WindowRecord* rec = h;
    top = h;
    if (rec->wnd && rec->wnd->PreTranslateMessage(msg)) return TRUE;
    if (LiveRecord(h) && rec->accelerators && TranslateAccelerator(h, rec->accelerators, msg)) return TRUE;
    if (!LiveRecord(h) || !rec->isChild) break;
    h = rec->parent;
  }
  // F1 that no window took asks for help on the active window, by way of the
  // main window's ID_HELP, as the platform's help key reaches the program.
  // Only in the program's own windows: the help viewer's window is help
  // already.
  const WindowRecord* topRec = LiveRecord(top);
  if (topRec && topRec->wnd && msg->message == WM_KEYDOWN && msg->wParam == VK_F1 && GetKeyState(VK_SHIFT) >= 0 &&
      GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
    if (CWnd* mainWnd = GetMainWnd()) {
      mainWnd->SendMessage(WM_COMMAND, ID_HELP, 0);
      return TRUE;
    }
  }
  return FALSE;
}

void CCommandLineInfo::ParseParam(const char* param, BOOL flag, BOOL last) {
  (void)last;
  // The program takes no arguments; a plain one would name a document.
  if (!flag && param && m_strFileName.IsEmpty()) m_strFileName = param;
}

CWinApp::CWinApp(LPCTSTR appName) {
  if (appName) {
    m_strAppName = appName;
    m_pszAppName = m_strAppName;
  }
  g_app = this;
  RegisterHelpViewerModule();
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

BOOL CWinApp::InitApplication() { return TRUE; }
BOOL CWinApp::InitInstance() { return TRUE; }
int CWinApp::ExitInstance() { return 0; }
int CWinApp::Run() { return CWinThread::Run(); }
BOOL CWinApp::OnIdle(LONG lCount) { return CWinThread::OnIdle(lCount); }

void CWinApp::WinHelp(DWORD_PTR, UINT) {}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
  for (int i = 1; i < m_argc; ++i) {
    const char* arg = m_argv[i];
    if (!arg) continue;
    const bool flag = arg[0] == '-' || arg[0] == '/';
    info.ParseParam(flag ? arg + 1 : arg, flag ? TRUE : FALSE, i == m_argc - 1 ? TRUE : FALSE);
  }
}

HICON CWinApp::LoadIcon(UINT id) const { return LoadIconResource(id, 32, 32); }

void CWinApp::OnAppExit() {
  if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::OnHelp() {
  // The help context of the active window: a dialog's template id, as the
  // class library numbers dialog topics (0x20000 + id).
  CWnd* active = CWnd::FromHandle(GetActiveWindow());
  if (!active) active = m_pMainWnd;
  DWORD_PTR context = 0;
  if (active) {
    LRESULT fromWindow = active->SendMessage(WM_COMMANDHELP, 0, 0);
    if (fromWindow) return;
    const auto* dialog = dynamic_cast<const CDialog*>(active);
    context = 0x20000u + static_cast<DWORD_PTR>(dialog ? static_cast<int>(dialog->m_nIDHelp) : active->GetDlgCtrlID());
  }
  WinHelp(context, HELP_CONTEXT);
}

CWinApp* AfxGetApp() { return g_app; }
CWinThread* AfxGetThread() { return g_app; }

CWnd* AfxGetMainWnd() {
  CWinThread* thread = AfxGetThread();
  return thread ? thread->GetMainWnd() : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
  if (g_app && g_app->m_hInstance) return g_app->m_hInstance;
  return GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

LPCTSTR AfxGetAppName() {
  if (g_app && g_app->m_pszAppName) return g_app->m_pszAppName;
  const char* title = FindStringResource(AFX_IDS_APP_TITLE);
  return title ? title : "";
}

void AfxEnableControlContainer(void*) {}

void AfxPostQuitMessage(int exitCode) {
  // A quit that reaches no message loop is used up, as a pump that drains
  // the queue takes the platform's quit message. Qt's exit with no
  // application loop running would instead leave the thread marked as
  // quitting, and every later modal loop would end before it started.
  UiLater([exitCode] {
    if (g_messageLoops > 0) QCoreApplication::exit(exitCode);
  });
}

void AfxRunIdle() {
  UiCall([] {
    if (CWinThread* thread = AfxGetThread()) {
      // Bounded: a handler that keeps asking for more idle time gets ten passes.
      for (LONG n = 0; n < 10 && thread->OnIdle(n); ++n) {
      }
    } else {
      CWinThread fallback;
      fallback.OnIdle(0);
    }
  });
}

int AfxWinMain(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  SetUiThread();
  CloseMainWindowOnTerminate();
  CWinApp* app = AfxGetApp();
  if (!app) return -1;
  app->m_hInstance = GetModuleHandleA(nullptr);
  app->m_argc = argc;
  app->m_argv = argv;
  app->m_pszExeName = argc > 0 ? argv[0] : "";
  if (!app->m_pszAppName) app->m_pszAppName = AfxGetAppName();
  int result = -1;
  try {
    if (!app->InitApplication() || !app->InitInstance()) {
      if (app->m_pMainWnd) app->m_pMainWnd->DestroyWindow();
      result = app->ExitInstance();
    } else {
      result = app->Run();
    }
  } catch (const ThreadKilled&) {
    result = -1;
  }
  return result;
}
