// Help from the application object: without the viewer, or when the viewer
// cannot show the request, "Glimra Help" with the icon and the link; with
// the viewer and the program's help file, Help Topics and F1 open it. The
// wait cursor is gone after every request.

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPixmap>
#include <QTextBrowser>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/glimra_app.h"
#include "app/help_missing_dlg.h"
#include "mainwnd/glimra_dlg.h"
#include "platform/ui/help_compile.h"
#include "platform/ui/help_file.h"
#include "platform/ui/help_viewer.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/wait_cursor.h"
#include "res/resource_ids.h"
#include "tests/common/ico_builder.h"
#include "tests/program_support/app_test_support.h"

namespace {

using ico_test::TempDir;

constexpr const char* kHelpUrl = "https://glimra.invalid/vantrel/Glimra/index.html";

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

// With GLIMRA_SCREENSHOT_DIR set, the windows these tests open are saved
// there as PNG files, to look at.
void SaveScreenshot(HWND window, const char* name) {
  const char* dir = std::getenv("GLIMRA_SCREENSHOT_DIR");
  QWidget* widget = WidgetOfWindow(window);
  if (dir == nullptr || widget == nullptr) return;
  static_cast<void>(widget->grab().save(QString::fromUtf8(dir) + "/" + name + ".png"));
}

// What the "Glimra Help" dialog showed when it opened.
struct HelpMissingSeen {
  bool shown = false;
  std::string caption;
  std::vector<std::string> texts;  // the statics, in template order
  std::string linkUrl;
  bool hasIcon = false;
  int iconSide = 0;
  bool waitCursor = true;
};

// Runs run(); when a CHelpMissingDlg shows, records it and ends it.
// act, when given, runs on the open dialog first.
HelpMissingSeen RunAndInspect(const std::function<void()>& run, const std::function<void(CHelpMissingDlg&)>& act = {}) {
  HelpMissingSeen seen;
  QTimer poll;
  poll.setInterval(20);
  QElapsedTimer waited;
  waited.start();
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dlg = dynamic_cast<CHelpMissingDlg*>(CWnd::FromHandlePermanent(
        QApplication::activeModalWidget() ? WindowOfWidget(QApplication::activeModalWidget()) : nullptr));
    if (dlg == nullptr) {
      if (waited.elapsed() > 3000) poll.stop();
      return;
    }
    poll.stop();
    seen.shown = true;
    CString text;
    dlg->GetWindowText(text);
    seen.caption = text.str();
    for (QObject* child : ClientWidgetOfWindow(dlg->m_hWnd)->children()) {
      auto* widget = qobject_cast<QWidget*>(child);
      HWND control = widget != nullptr ? WindowOfWidget(widget) : nullptr;
      char buffer[200] = {};
      if (control == nullptr || control == dlg->m_hWnd) continue;
      GetWindowText(control, buffer, static_cast<int>(sizeof buffer));
      if (buffer[0] != '\0') seen.texts.emplace_back(buffer);
    }
    seen.linkUrl = dlg->m_link.GetURL().str();
    seen.hasIcon = dlg->m_bigIcon.GetBigIcon() != nullptr;
    seen.iconSide = dlg->m_bigIcon.GetIconSide();
    seen.waitCursor = IsWaitCursorShown();
    SaveScreenshot(dlg->m_hWnd, "glimra_help_dialog");
    if (act) act(*dlg);
    dlg->EndDialog(IDCANCEL);
  });
  poll.start();
  run();
  poll.stop();
  return seen;
}

void ExpectHelpMissing(const HelpMissingSeen& seen) {
  ASSERT_TRUE(seen.shown);
  EXPECT_EQ(seen.caption, "Glimra Help");
  const std::vector<std::string> texts = {
      "Glimra is using HTML Help as help system.This feature does not seem to be installed.",
      "Would you like to access the ", "on-line help system."};
  EXPECT_EQ(seen.texts, texts);
  EXPECT_EQ(seen.linkUrl, kHelpUrl);
  EXPECT_TRUE(seen.hasIcon);
  EXPECT_GE(seen.iconSide, 32);
  EXPECT_FALSE(seen.waitCursor);
}

// The viewer windows open now, found by their browser.
std::vector<HWND> Viewers() {
  std::vector<HWND> found;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->isVisible() && top->findChild<QTextBrowser*>() != nullptr) found.push_back(WindowOfWidget(top));
  }
  return found;
}

class Help : public ::testing::Test {
 protected:
  void SetUp() override {
    m_runtime = MakePrivateRuntimeFolder();
    m_savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", m_runtime.c_str());
    setenv("GLIMRA_PROGRAM_DIR", m_programDir.path().c_str(), 1);
  }
  void TearDown() override {
    static_cast<void>(HtmlHelpA(nullptr, nullptr, HH_CLOSE_ALL, 0));
    if (theApp.m_pMainWnd != nullptr) {
      theApp.m_pMainWnd->DestroyWindow();
      static_cast<void>(theApp.ExitInstance());
    }
    PumpEvents(30);
    unsetenv("GLIMRA_PROGRAM_DIR");
    qputenv("XDG_RUNTIME_DIR", m_savedRuntime);
    RemoveFolderTree(m_runtime);
  }
  void InstallViewer() const { ASSERT_TRUE(ico_test::WriteFile(m_programDir.File("hhctrl.ocx"), Bytes("marker"))); }
  void InstallHelp(const std::vector<std::uint8_t>& bytes) const {
    ASSERT_TRUE(ico_test::WriteFile(m_programDir.File("glimra.help"), bytes));
  }
  void InstallRealHelp() const {
    const auto bytes = CompileHelpProject(GLIMRA_SOURCE_DIR "/help/glimra.hhp");
    ASSERT_TRUE(bytes) << bytes.error().what;
    InstallHelp(*bytes);
  }
  CGlimraDlg* Start() {
    if (!theApp.InitInstance()) return nullptr;
    EXPECT_FALSE(IsWaitCursorShown());
    return dynamic_cast<CGlimraDlg*>(theApp.m_pMainWnd);
  }
  void ExpectViewerFailure(const std::string& project);
  static void HelpTopics(CGlimraDlg* dlg) { dlg->SendMessage(WM_COMMAND, ID_HELP_FINDER, 0); }
  // F1 as the keyboard gives it to the main window.
  static void PressF1(CGlimraDlg* dlg) {
    dlg->SetForegroundWindow();
    PumpEvents(20);
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr) target = WidgetOfWindow(dlg->m_hWnd);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    static_cast<void>(QApplication::sendEvent(target, &press));
  }

  TempDir m_programDir;
  std::string m_runtime;
  QByteArray m_savedRuntime;
};

TEST_F(Help, WithoutTheViewerHelpTopicsAndF1ShowGlimraHelp) {
  InstallRealHelp();
  CGlimraDlg* dlg = Start();
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(theApp.m_pszHtmlHelpFile, nullptr);
  ExpectHelpMissing(RunAndInspect([&] { HelpTopics(dlg); }));
  ExpectHelpMissing(RunAndInspect([&] { PressF1(dlg); }));
  ExpectHelpMissing(RunAndInspect([&] { theApp.WinHelp(0x20000 + IDD_GLIMRA_DIALOG, HELP_CONTEXT); }));
  EXPECT_TRUE(Viewers().empty());
  EXPECT_FALSE(IsWaitCursorShown());
}

TEST_F(Help, ViewerWithoutHelpFileShowsGlimraHelp) {
  InstallViewer();
  CGlimraDlg* dlg = Start();
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(theApp.m_strHtmlHelpFile.IsEmpty());
  EXPECT_EQ(theApp.m_pszHtmlHelpFile, nullptr);
  ExpectHelpMissing(RunAndInspect([&] { HelpTopics(dlg); }));
}

// The viewer and a help file are there, but the file cannot show the request.
void Help::ExpectViewerFailure(const std::string& project) {
  InstallViewer();
  const HelpEntry entries[] = {{std::string(kHelpProjectEntry), Bytes(project)}, {"a.html", Bytes("<h1>A</h1>")}};
  InstallHelp(BuildHelpFile(entries));
  CGlimraDlg* dlg = Start();
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(theApp.m_strHtmlHelpFile.str(), m_programDir.File("glimra.help"));
  EXPECT_NE(theApp.m_pszHtmlHelpFile, nullptr);
  ExpectHelpMissing(RunAndInspect([&] { HelpTopics(dlg); }));
  ExpectHelpMissing(RunAndInspect([&] { PressF1(dlg); }));
  EXPECT_TRUE(Viewers().empty());
}

TEST_F(Help, HelpFileWithoutTheWindowTypeLeadsToGlimraHelp) {
  ExpectViewerFailure("[OPTIONS]\nDefault topic=a.html\n[MAP]\n0x201F4=a.html\n");
}

TEST_F(Help, HelpFileWithAnotherWindowTypeLeadsToGlimraHelp) {
  ExpectViewerFailure("[WINDOWS]\nOtherType=T,a.html,0,0,300,200\n[MAP]\n0x201F4=a.html\n");
}

TEST_F(Help, HelpFileWithoutTheTopicLeadsToGlimraHelp) {
  ExpectViewerFailure("[WINDOWS]\nGlimraWndType=T,gone.html,0,0,300,200\n[MAP]\n0x201F4=gone.html\n");
}

TEST_F(Help, WithTheViewerHelpTopicsAndF1OpenTheHelpFile) {
  InstallViewer();
  InstallRealHelp();
  CGlimraDlg* dlg = Start();
  ASSERT_NE(dlg, nullptr);
  ASSERT_NE(theApp.m_pszHtmlHelpFile, nullptr);

  EXPECT_FALSE(RunAndInspect([&] { HelpTopics(dlg); }).shown);
  EXPECT_FALSE(IsWaitCursorShown());
  auto viewers = Viewers();
  ASSERT_EQ(viewers.size(), 1u);
  EXPECT_EQ(HelpViewerTopic(viewers[0]), "index.html");
  char title[64] = {};
  GetWindowText(viewers[0], title, static_cast<int>(sizeof title));
  EXPECT_STREQ(title, "Glimra Help");
  RECT rect{};
  ASSERT_TRUE(GetWindowRect(viewers[0], &rect));
  EXPECT_EQ(rect.left, 60);
  EXPECT_EQ(rect.top, 40);
  EXPECT_EQ(rect.right - rect.left, 760);
  EXPECT_EQ(rect.bottom - rect.top, 560);

  EXPECT_FALSE(RunAndInspect([&] { PressF1(dlg); }).shown);
  EXPECT_FALSE(IsWaitCursorShown());
  viewers = Viewers();
  ASSERT_EQ(viewers.size(), 1u);
  EXPECT_EQ(HelpViewerTopic(viewers[0]), "main_window.html");
  PumpEvents(50);
  SaveScreenshot(viewers[0], "help_viewer_main_window");

  // The command value says nothing: the context alone picks the topic.
  EXPECT_FALSE(RunAndInspect([&] { theApp.WinHelp(0x20000 + 501, HELP_FINDER); }).shown);
  EXPECT_EQ(HelpViewerTopic(viewers[0]), "icon_info.html");
  // A context the file does not map is the viewer's failure.
  ExpectHelpMissing(RunAndInspect([&] { theApp.WinHelp(0x2FFFF, HELP_CONTEXT); }));
}

TEST_F(Help, TheLinkOpensTheOnlineHelpPage) {
  std::vector<std::string> opened;
  SetUrlOpener([&](const std::string& url) {
    opened.push_back(url);
    return true;
  });
  CGlimraDlg* dlg = Start();
  ASSERT_NE(dlg, nullptr);
  const HelpMissingSeen seen =
      RunAndInspect([&] { HelpTopics(dlg); }, [](CHelpMissingDlg& help) { EXPECT_TRUE(help.m_link.FollowLink()); });
  SetUrlOpener({});
  EXPECT_TRUE(seen.shown);
  EXPECT_EQ(opened, std::vector<std::string>{kHelpUrl});
}

}  // namespace
