// One copy of an application for the single-instance tests, run as
//   <tests> --instance-helper serve TITLE [minimized|popup|opens]
//     becomes the first copy (prints "FOUND" and ends with 3 when another
//     copy already runs), shows a main window, prints "READY" once it
//     answers other copies, and runs until killed (at most a minute);
//     "opens" takes every path handed on and prints "OPEN <escaped path>";
//   <tests> --instance-helper probe TITLE
//     asks ISApplicationIsUp, brings a copy it finds forward as the
//     program does, prints "FOUND" or "NONE" and ends.

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "framework_test_resources.h"
#include "platform/ui/dialog.h"
#include "platform/ui/geometry.h"
#include "platform/ui/instance_channel.h"
#include "platform/ui/resources.h"
#include "support/framework/remote_wnd.h"
#include "support/framework/zu_win_app.h"

namespace {

constexpr DWORD kClassKey = 32770;

void Say(const char* word) {
  std::printf("%s\n", word);
  std::fflush(stdout);
}

class ReadyPopup : public CDialog {
 public:
  ReadyPopup(CWnd* owner) : CDialog(fw_test::kPopupDialogId, owner) {}
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    QTimer::singleShot(0, [] { Say("READY"); });
    return TRUE;
  }
};

// An application that takes the paths other copies hand on.
class OpeningApp : public CZUWinApp {
 public:
  BOOL OpenInstancePath(LPCTSTR path) override {
    Say(("OPEN " + EscapeInstanceWord(path)).c_str());
    return TRUE;
  }
};

int Serve(const std::string& title, const std::string& mode) {
  const std::unique_ptr<CZUWinApp> owned =
      mode == "opens" ? std::unique_ptr<CZUWinApp>(new OpeningApp) : std::make_unique<CZUWinApp>();
  CZUWinApp& app = *owned;
  if (app.ISApplicationIsUp(title.c_str(), kClassKey) != nullptr) {
    Say("FOUND");
    return 3;
  }
  CWnd main;
  if (!main.CreateEx(0, WC_GENERIC, title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                     CRect(10, 10, 210, 110), nullptr, 0)) {
    return 2;
  }
  app.m_pMainWnd = &main;
  main.ShowWindow(mode == "minimized" ? SW_SHOWMINIMIZED : SW_SHOW);
  if (!app.StartInstanceServer()) {
    return 2;
  }
  QTimer::singleShot(60000, [] { QCoreApplication::exit(4); });
  if (mode == "popup") {
    ReadyPopup popup(&main);
    QTimer::singleShot(0, [&popup] { popup.DoModal(); });
    const int code = QCoreApplication::exec();
    app.m_pMainWnd = nullptr;
    return code;
  }
  Say("READY");
  const int code = QCoreApplication::exec();
  app.m_pMainWnd = nullptr;
  return code;
}

int Probe(const std::string& title) {
  CZUWinApp app;
  CWnd* found = app.ISApplicationIsUp(title.c_str(), kClassKey);
  // What the program does with a running copy's window.
  if (auto* remote = dynamic_cast<CZURemoteWnd*>(found)) {
    CZURemoteWnd* popup = remote->GetLastActivePopup();
    remote->SetForegroundWindow();
    if (remote->IsIconic()) {
      remote->ShowWindow(SW_SHOWNORMAL);
    }
    if (popup != remote) {
      popup->SetForegroundWindow();
    }
  }
  Say(found != nullptr ? "FOUND" : "NONE");
  app.ExitInstance();
  return 0;
}

}  // namespace

int RunInstanceHelper(int argc, char** argv) {
  if (argc < 4) {
    return 1;
  }
  ScopedResources resources(fw_test::Resources());
  const std::string command = argv[2];
  const std::string title = argv[3];
  if (command == "serve") {
    return Serve(title, argc >= 5 ? argv[4] : "");
  }
  if (command == "probe") {
    return Probe(title);
  }
  return 1;
}
