#pragma once
// The application object and the entry that runs it: one global CWinApp
// (derived by the program), InitApplication, InitInstance, the message loop,
// ExitInstance, in the class library's order.

#include "platform/ui/cmd_target.h"
#include "platform/ui/cstring.h"

class CWnd;
struct MSG;

// The class library's standard command ids.
inline constexpr UINT ID_SEPARATOR = 0;
inline constexpr UINT ID_INDICATOR_EXT = 0xE700;
inline constexpr UINT ID_INDICATOR_CAPS = 0xE701;
inline constexpr UINT ID_INDICATOR_NUM = 0xE702;
inline constexpr UINT ID_INDICATOR_SCRL = 0xE703;
inline constexpr UINT AFX_IDS_APP_TITLE = 0xE000;
inline constexpr UINT AFX_IDS_IDLEMESSAGE = 0xE001;
inline constexpr UINT ID_APP_ABOUT = 0xE140;
inline constexpr UINT ID_APP_EXIT = 0xE141;
inline constexpr UINT ID_HELP_INDEX = 0xE142;
inline constexpr UINT ID_HELP_FINDER = 0xE143;
inline constexpr UINT ID_HELP_USING = 0xE144;
inline constexpr UINT ID_CONTEXT_HELP = 0xE145;
inline constexpr UINT ID_HELP = 0xE146;
inline constexpr UINT ID_DEFAULT_HELP = 0xE147;
inline constexpr UINT AFX_IDW_CONTROLBAR_FIRST = 0xE800;
inline constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
inline constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
inline constexpr UINT AFX_IDW_CONTROLBAR_LAST = 0xE8FF;
inline constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;

class CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)

 public:
  CWinThread() = default;
  CWnd* m_pMainWnd = nullptr;
  virtual CWnd* GetMainWnd();
  virtual BOOL InitInstance();
  virtual int ExitInstance();
  virtual int Run();
  // lCount counts the idle passes since the last message; TRUE asks for more.
  virtual BOOL OnIdle(LONG lCount);
  // Offers a key message to the window chain from msg->hwnd up to its
  // top-level window, then to the main window's accelerators.
  virtual BOOL PreTranslateMessage(MSG* msg);
};

class CCommandLineInfo {
 public:
  CCommandLineInfo() = default;
  virtual ~CCommandLineInfo() = default;
  virtual void ParseParam(const char* param, BOOL flag, BOOL last);
  enum {
    FileNew,
    FileOpen,
    FilePrint,
    FilePrintTo,
    FileDDE,
    AppUnregister,
    FileNothing = -1
  } m_nShellCommand = FileNew;
  BOOL m_bShowSplash = TRUE;
  BOOL m_bRunEmbedded = FALSE;
  BOOL m_bRunAutomated = FALSE;
  CString m_strFileName;
};

class CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)

 public:
  explicit CWinApp(LPCTSTR appName = nullptr);
  ~CWinApp() override;

  LPCTSTR m_pszAppName = nullptr;  // when null at start-up: string AFX_IDS_APP_TITLE
  LPCTSTR m_pszExeName = nullptr;
  LPCTSTR m_pszHelpFilePath = nullptr;
  HINSTANCE m_hInstance = nullptr;
  int m_nCmdShow = 1;
  int m_argc = 0;
  char** m_argv = nullptr;

  virtual BOOL InitApplication();
  BOOL InitInstance() override;
  int ExitInstance() override;
  // The message loop; ends when the main window is destroyed.
  int Run() override;
  BOOL OnIdle(LONG lCount) override;
  virtual void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT);
  void ParseCommandLine(CCommandLineInfo& info);
  BOOL Enable3dControls() { return TRUE; }
  [[nodiscard]] HICON LoadIcon(UINT id) const;

 protected:
  afx_msg void OnAppExit();
  afx_msg void OnHelp();
  DECLARE_MESSAGE_MAP()

 private:
  CString m_strAppName;
};

[[nodiscard]] CWinApp* AfxGetApp();
// The current thread's object; on a worker thread the application object,
// so GetMainWnd works there too.
[[nodiscard]] CWinThread* AfxGetThread();
[[nodiscard]] CWnd* AfxGetMainWnd();
[[nodiscard]] HINSTANCE AfxGetInstanceHandle();
[[nodiscard]] HINSTANCE AfxGetResourceHandle();
[[nodiscard]] LPCTSTR AfxGetAppName();
void AfxEnableControlContainer(void* occManager = nullptr);
void AfxPostQuitMessage(int exitCode);
// Creates the QApplication and runs the application object.
int AfxWinMain(int argc, char** argv);
// One idle pass now (what the loop does when it runs out of events).
void AfxRunIdle();
