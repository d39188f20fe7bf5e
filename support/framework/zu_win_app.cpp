#include "support/framework/zu_win_app.h"

#include "platform/ui/cwnd.h"
#include "platform/ui/instance_channel.h"
#include "support/framework/remote_wnd.h"

IMPLEMENT_DYNAMIC(CZUWinApp, CWinApp)

CZUWinApp::CZUWinApp(LPCTSTR appName) : CWinApp(appName) {}

CZUWinApp::~CZUWinApp() = default;

BOOL CZUWinApp::InitApplication() { return CWinApp::InitApplication(); }

BOOL CZUWinApp::InitInstance() { return CWinApp::InitInstance(); }

int CZUWinApp::ExitInstance() {
  m_pServer.reset();
  m_pRunningWnd.reset();
  return CWinApp::ExitInstance();
}

BOOL CZUWinApp::OnIdle(LONG lCount) {
  if (m_pServer && !m_pServer->IsServing()) {
    StartInstanceServer();
  }
  return CWinApp::OnIdle(lCount);
}

BOOL CZUWinApp::InitAppClassParam(LPCSTR className, WORD /*wParam*/, DWORD /*dwParam*/) {
  m_strClassName = className != nullptr ? className : "";
  return TRUE;
}

CWnd* CZUWinApp::ISApplicationIsUp(LPCSTR title, DWORD classKey) {
  if (m_pRunningWnd) {
    return m_pRunningWnd.get();
  }
  if (m_pServer) {
    return nullptr;  // this copy is already the first one
  }
  InstanceClaim claim = InstanceClaim::Make(InstanceChannelPath(title != nullptr ? title : "", classKey));
  if (claim.running) {
    m_pRunningWnd = std::make_unique<CZURemoteWnd>(std::move(claim.running), RemoteTarget::MainWindow);
    return m_pRunningWnd.get();
  }
  m_pServer = std::move(claim.server);
  return nullptr;
}

BOOL CZUWinApp::StartInstanceServer() {
  if (!m_pServer) {
    return FALSE;
  }
  if (m_pMainWnd == nullptr || m_pMainWnd->GetSafeHwnd() == nullptr) {
    return FALSE;
  }
  m_pServer->Serve([this] { return m_pMainWnd; },
                   [this](const std::string& path) { return OpenInstancePath(path.c_str()) != FALSE; });
  return TRUE;
}

BOOL CZUWinApp::OpenInstancePath(LPCTSTR /*path*/) { return FALSE; }
