#include "support/framework/remote_wnd.h"

#include <string>

#include "platform/ui/geometry.h"

#include "platform/ui/instance_channel.h"

namespace {

const char* TargetWord(RemoteTarget target) { return target == RemoteTarget::MainWindow ? "main" : "popup"; }

// The value of key=0|1 in a state reply; false when absent.
bool StateBit(const std::string& reply, const std::string& key) {
  const std::string needle = " " + key + "=1";
  return reply.rfind("OK", 0) == 0 && reply.find(needle) != std::string::npos;
}

bool ReplyTrue(const std::optional<std::string>& reply) { return reply && *reply == "OK 1"; }

}  // namespace

CZURemoteWnd::CZURemoteWnd(std::shared_ptr<InstanceClient> client, RemoteTarget target)
    : m_client(std::move(client)), m_target(target) {
  // A hidden window of this process stands behind the proxy, so that the
  // class library's own operations on it (through a CWnd*) act on a real,
  // harmless window: it has no popups (GetLastActivePopup answers itself)
  // and is never minimized.
  CreateEx(0, WC_GENERIC, "", WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0);
}

CZURemoteWnd::~CZURemoteWnd() {
  m_pPopup.reset();
  if (m_hWnd != nullptr) {
    DestroyWindow();
  }
}

BOOL CZURemoteWnd::IsIconic() const {
  if (!m_client) {
    return FALSE;
  }
  const auto reply = m_client->Request(std::string("STATE ") + TargetWord(m_target));
  return reply && StateBit(*reply, "iconic") ? TRUE : FALSE;
}

BOOL CZURemoteWnd::ShowWindow(int command) {
  if (!m_client) {
    return FALSE;
  }
  return ReplyTrue(m_client->Request(std::string("SHOW ") + TargetWord(m_target) + " " + std::to_string(command)))
             ? TRUE
             : FALSE;
}

BOOL CZURemoteWnd::SetForegroundWindow() {
  if (!m_client) {
    return FALSE;
  }
  return ReplyTrue(m_client->Request(std::string("FOREGROUND ") + TargetWord(m_target))) ? TRUE : FALSE;
}

BOOL CZURemoteWnd::OpenRemote(const std::string& path) {
  if (!m_client) {
    return FALSE;
  }
  return ReplyTrue(m_client->Request("OPEN " + EscapeInstanceWord(path))) ? TRUE : FALSE;
}

BOOL CZURemoteWnd::PassActivationToken(const std::string& token) {
  if (!m_client || token.empty()) {
    return FALSE;
  }
  return ReplyTrue(m_client->Request("TOKEN " + EscapeInstanceWord(token))) ? TRUE : FALSE;
}

CZURemoteWnd* CZURemoteWnd::GetLastActivePopup() const {
  auto* self = const_cast<CZURemoteWnd*>(this);
  if (!m_client || m_target != RemoteTarget::MainWindow) {
    return self;
  }
  const auto reply = m_client->Request("STATE main");
  if (!reply || !StateBit(*reply, "popup")) {
    return self;
  }
  if (!m_pPopup) {
    m_pPopup = std::make_unique<CZURemoteWnd>(m_client, RemoteTarget::LastActivePopup);
  }
  return m_pPopup.get();
}

BOOL CZURemoteWnd::ActivateRemote() {
  CZURemoteWnd* popup = GetLastActivePopup();
  BOOL ok = SetForegroundWindow();
  if (IsIconic()) {
    ok = ShowWindow(SW_SHOWNORMAL) && ok;
  }
  if (popup != this) {
    ok = popup->SetForegroundWindow() && ok;
  }
  return ok ? TRUE : FALSE;
}
