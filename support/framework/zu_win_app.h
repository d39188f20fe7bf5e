#pragma once
// The support library's application base: the program derives its one
// application object from it. Besides the class library's start-up and
// shutdown it keeps the single-instance rule: the first copy of the program
// serves requests from later copies of the same user, and a later copy finds
// the first one's main window (ISApplicationIsUp) and brings it forward.

#include <memory>
#include <string>

#include "platform/ui/win_app.h"

class CZURemoteWnd;
class InstanceServer;

class CZUWinApp : public CWinApp {
  DECLARE_DYNAMIC(CZUWinApp)

 public:
  explicit CZUWinApp(LPCTSTR appName = nullptr);
  ~CZUWinApp() override;
  CZUWinApp(const CZUWinApp&) = delete;
  CZUWinApp& operator=(const CZUWinApp&) = delete;

  BOOL InitApplication() override;
  BOOL InitInstance() override;
  // Stops serving other copies, then the class library's shutdown.
  int ExitInstance() override;
  // Starts serving other copies once the main window exists.
  BOOL OnIdle(LONG lCount) override;

  // The window class parameters the program registers with. Kept for the
  // library's windows; always TRUE.
  BOOL InitAppClassParam(LPCSTR className, WORD wParam, DWORD dwParam);
  [[nodiscard]] const std::string& GetAppClassName() const { return m_strClassName; }

  // The main window of a running copy of this program started by the same
  // user under the same title and class key, or null when there is none.
  // The answer stands for a window of another process: a proxy, owned by
  // this object, whose IsIconic, ShowWindow, SetForegroundWindow and
  // GetLastActivePopup are carried out by the running copy. The class
  // library's window operations are not virtual: a caller reaches the
  // proxy's through a CZURemoteWnd* (dynamic_cast); through a plain CWnd*
  // they act on a hidden window of this process and change nothing. When none runs,
  // this copy becomes the one that answers later copies: it claims the name
  // at once (so two copies started together cannot both be first) and
  // answers requests as soon as its main window exists.
  CWnd* ISApplicationIsUp(LPCSTR title, DWORD classKey);

  // Answers other copies from now on, if ISApplicationIsUp made this copy
  // the first one. OnIdle calls it once m_pMainWnd has a window; calling it
  // earlier or again does no harm. TRUE while serving.
  BOOL StartInstanceServer();

  // A path a later copy handed on (an argument it was started with): the
  // program opens it as it opens its own. TRUE when taken; the base takes
  // none.
  virtual BOOL OpenInstancePath(LPCTSTR path);

 private:
  std::string m_strClassName;
  std::unique_ptr<InstanceServer> m_pServer;
  std::unique_ptr<CZURemoteWnd> m_pRunningWnd;
};
