#pragma once
// A window of another copy of this program, as ISApplicationIsUp answers
// it: the window operations the single-instance rule needs, each a request
// over the instance channel that the other copy carries out on its own
// window and answers. A request that gets no answer (the other copy is
// gone or hung) answers FALSE or null and changes nothing here.

#include <memory>
#include <string>

#include "platform/ui/cwnd.h"

class InstanceClient;

// Which window of the other copy a proxy stands for.
enum class RemoteTarget { MainWindow, LastActivePopup };

class CZURemoteWnd : public CWnd {
 public:
  CZURemoteWnd(std::shared_ptr<InstanceClient> client, RemoteTarget target);
  ~CZURemoteWnd() override;
  CZURemoteWnd(const CZURemoteWnd&) = delete;
  CZURemoteWnd& operator=(const CZURemoteWnd&) = delete;

  // The remote window's state; FALSE when the other copy does not answer.
  [[nodiscard]] BOOL IsIconic() const;
  BOOL ShowWindow(int command);
  BOOL SetForegroundWindow();
  // A proxy for the remote main window's topmost modal popup, or this
  // proxy when it has none (so "popup != main" reads as on one machine).
  [[nodiscard]] CZURemoteWnd* GetLastActivePopup() const;

  // Hands a path to the other copy to open as it opens its own arguments;
  // TRUE when it took the path.
  BOOL OpenRemote(const std::string& path);
  // Hands the other copy the desktop's activation token of this start, so
  // that its window may come to the front where the desktop asks for one.
  BOOL PassActivationToken(const std::string& token);

  // The single-instance steps in one go: the remote main window to the
  // front, restored when minimized, and its last active popup above it.
  // TRUE when the other copy answered every step.
  BOOL ActivateRemote();

  [[nodiscard]] RemoteTarget GetTarget() const { return m_target; }

 private:
  std::shared_ptr<InstanceClient> m_client;
  RemoteTarget m_target;
  mutable std::unique_ptr<CZURemoteWnd> m_pPopup;
};
