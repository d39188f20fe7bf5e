// The application object from start to end: InitInstance creates and shows
// the main window, File/Exit and Close end the message loop with the
// library's exit code, and a second copy of the program (a real process)
// brings a minimized first copy back and ends.

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/glimra_app.h"
#include "mainwnd/glimra_dlg.h"
#include "platform/ui/instance_channel.h"
#include "tests/program_support/app_test_support.h"

namespace {

// Each test is the first copy in a runtime folder of its own, so no copy
// left by an earlier test (or a program the user runs) answers it.
class Application : public ::testing::Test {
 protected:
  void SetUp() override {
    m_runtime = MakePrivateRuntimeFolder();
    m_savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", m_runtime.c_str());
  }
  void TearDown() override {
    if (theApp.m_pMainWnd != nullptr) {
      theApp.m_pMainWnd->DestroyWindow();
      static_cast<void>(theApp.ExitInstance());
    }
    PumpEvents(30);
    qputenv("XDG_RUNTIME_DIR", m_savedRuntime);
    RemoveFolderTree(m_runtime);
  }
  CGlimraDlg* Start() {
    if (!theApp.InitInstance()) return nullptr;
    return dynamic_cast<CGlimraDlg*>(theApp.m_pMainWnd);
  }

  // The real program, on the offscreen platform, in this test's runtime folder.
  void StartProgram(QProcess& process) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(m_runtime));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.start(QString::fromStdString(GlimraExecutablePath()), {});
  }

  std::string m_runtime;
  QByteArray m_savedRuntime;
};

TEST_F(Application, InitInstanceShowsTheMainWindowAndIgnoresArguments) {
  char program[] = "glimra";
  char option[] = "--recursive";
  char file[] = "/no/such/file.ico";
  char* argv[] = {program, option, file, nullptr};
  theApp.m_argc = 3;
  theApp.m_argv = argv;
  CGlimraDlg* dlg = Start();
  theApp.m_argc = 0;
  theApp.m_argv = nullptr;
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(dlg->IsWindowVisible());
  EXPECT_FALSE(dlg->IsIconic());
  EXPECT_EQ(theApp.m_pszHtmlHelpFile, nullptr);
  EXPECT_EQ(dlg->m_lvIcons.GetItemCount(), 0);
}

TEST_F(Application, FileExitEndsTheProgramWithTheLibrarysExitCode) {
  CGlimraDlg* dlg = Start();
  ASSERT_NE(dlg, nullptr);
  dlg->PostMessage(WM_COMMAND, ID_APP_EXIT);
  EXPECT_EQ(theApp.Run(), 0);
  EXPECT_EQ(theApp.m_pMainWnd, nullptr);
}

TEST_F(Application, CloseEndsTheProgramWithTheLibrarysExitCode) {
  CGlimraDlg* dlg = Start();
  ASSERT_NE(dlg, nullptr);
  dlg->PostMessage(WM_SYSCOMMAND, SC_CLOSE);
  EXPECT_EQ(theApp.Run(), 0);
  EXPECT_EQ(theApp.m_pMainWnd, nullptr);
}

TEST_F(Application, SecondCopyRestoresTheMinimizedFirstAndEnds) {
  const std::string exe = GlimraExecutablePath();
  ASSERT_TRUE(std::filesystem::exists(exe)) << exe << " (build the glimra target)";
  CGlimraDlg* dlg = Start();
  ASSERT_NE(dlg, nullptr);
  dlg->ShowWindow(SW_MINIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return dlg->IsIconic() != FALSE; }, 1000));
  ASSERT_TRUE(theApp.StartInstanceServer());

  QProcess second;
  StartProgram(second);
  ASSERT_TRUE(second.waitForStarted(5000));
  // This copy answers the second one's requests from its own event loop.
  ASSERT_TRUE(PumpUntil([&] { return second.state() == QProcess::NotRunning; }, 20000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(PumpUntil([&] { return dlg->IsIconic() == FALSE; }, 1000));
  EXPECT_TRUE(dlg->IsWindowVisible());
}

TEST_F(Application, TheProgramRunsOnceAndASecondCopyEndsAtOnce) {
  ASSERT_TRUE(std::filesystem::exists(GlimraExecutablePath())) << "build the glimra target";
  QProcess first;
  StartProgram(first);
  ASSERT_TRUE(first.waitForStarted(5000));
  // The first copy owns the channel once its start-up has looked for another copy.
  const std::string channel = InstanceChannelPath("Glimra", 32770);
  ASSERT_TRUE(PumpUntil([&] { return std::filesystem::exists(channel); }, 10000)) << channel;

  QProcess second;
  StartProgram(second);
  ASSERT_TRUE(second.waitForFinished(15000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(first.state(), QProcess::Running);

  first.kill();
  first.waitForFinished(5000);
}

}  // namespace
