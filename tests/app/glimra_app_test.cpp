// The application object from start to end: InitInstance creates and shows
// the main window, File/Exit and Close end the message loop with the
// library's exit code, and a second copy of the program (a real process)
// brings a minimized first copy back and ends. Files and folders handed to
// the program (arguments, drops, a second copy's arguments) are opened: a
// folder selected in the tree, files listed in order.

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QProcess>
#include <QProcessEnvironment>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/glimra_app.h"
#include "mainwnd/glimra_dlg.h"
#include "mainwnd/search_path.h"
#include "platform/ui/desktop_shell.h"
#include "platform/ui/instance_channel.h"
#include "platform/ui/qt_bridge.h"
#include "tests/common/ico_builder.h"
#include "tests/program_support/app_test_support.h"

namespace {

// A folder to open and two icon files to list, of 16 and 48 pixels, so the
// order of their icons tells the order they were listed in.
struct HandedPaths {
  HandedPaths() {
    std::filesystem::create_directories(dir.File("pick me/inner"));
    EXPECT_TRUE(
        ico_test::WriteFile(dir.File("pick me/inside.ico"), ico_test::IcoFile({ico_test::DibEntry(32, 32, 8)})));
    EXPECT_TRUE(ico_test::WriteFile(small, ico_test::IcoFile({ico_test::DibEntry(16, 16, 4)})));
    EXPECT_TRUE(ico_test::WriteFile(large, ico_test::IcoFile({ico_test::DibEntry(48, 48, 32)})));
  }
  ico_test::TempDir dir;
  std::string folder = dir.File("pick me");
  std::string small = dir.File("small icon.ico");
  std::string large = dir.File("large.ico");
};

std::vector<std::string> ListedSources(const CGlimraDlg& dlg) {
  std::vector<std::string> sources;
  sources.reserve(static_cast<std::size_t>(dlg.m_listIcons.GetCount()));
  for (int i = 0; i < dlg.m_listIcons.GetCount(); ++i) {
    sources.push_back(dlg.m_listIcons.GetAt(dlg.m_listIcons.FindIndex(i)).m_strSource.str());
  }
  return sources;
}

// The folder selected in the tree, and the file list caught up with it.
// The folder is selected and its file list filled (the fill reads the
// folder off the user-interface thread).
bool ShowsFolder(CGlimraDlg& dlg, const std::string& folder) {
  return PumpUntil(
      [&] {
        return dlg.m_treeFolders.GetItemPath(dlg.m_treeFolders.GetSelectedItem()).str() == folder &&
               dlg.m_strFileListFolder.str() == folder && !FileListFillPending(dlg.m_lstFiles);
      },
      5000);
}

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
  // Started with these arguments after the program's name.
  CGlimraDlg* StartWith(std::vector<std::string> args) {
    args.insert(args.begin(), "glimra");
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    theApp.m_argc = static_cast<int>(args.size());
    theApp.m_argv = argv.data();
    CGlimraDlg* dlg = Start();
    theApp.m_argc = 0;
    theApp.m_argv = nullptr;
    return dlg;
  }

  // The real program, on the offscreen platform, in this test's runtime folder.
  void StartProgram(QProcess& process, const QStringList& args = {},
                    const QProcessEnvironment& extra = QProcessEnvironment()) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(m_runtime));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert(extra);
    process.setProcessEnvironment(env);
    process.start(QString::fromStdString(GlimraExecutablePath()), args);
  }

  std::string m_runtime;
  QByteArray m_savedRuntime;
};

TEST_F(Application, InitInstanceNamesTheDesktopEntryAndShowsTheApplicationIcon) {
  CGlimraDlg* dlg = Start();
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(GetDesktopEntryName(), GLIMRA_APP_ID);
  // Group 128 reaches the window manager as the window's icon.
  QWidget* frame = WidgetOfWindow(dlg->GetSafeHwnd());
  ASSERT_NE(frame, nullptr);
  EXPECT_FALSE(frame->windowIcon().isNull());
  EXPECT_TRUE(frame->windowIcon().availableSizes().contains(QSize(32, 32)));
}

TEST_F(Application, ArgumentsSelectTheFolderAndListTheFilesInOrder) {
  HandedPaths paths;
  CGlimraDlg* dlg = StartWith({paths.large, paths.dir.File("missing.exe"), paths.folder, paths.small});
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(dlg->IsWindowVisible());
  EXPECT_EQ(ListedSources(*dlg), (std::vector<std::string>{paths.large, paths.small}));
  ASSERT_TRUE(ShowsFolder(*dlg, paths.folder));
  EXPECT_EQ(dlg->m_lstFiles.GetCount(), 1);  // inside.ico, the refresh of a user's selection
}

TEST_F(Application, DroppedFilesAndFoldersOpenLikeArguments) {
  HandedPaths paths;
  CGlimraDlg* dlg = Start();
  ASSERT_NE(dlg, nullptr);
  QWidget* frame = WidgetOfWindow(dlg->GetSafeHwnd());
  ASSERT_NE(frame, nullptr);

  QMimeData web;
  web.setUrls({QUrl("https://glimra.invalid/a.ico")});
  QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(frame, &refused);
  EXPECT_FALSE(refused.isAccepted());

  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(QString::fromStdString(paths.small)),
                 QUrl::fromLocalFile(QString::fromStdString(paths.dir.File("gone.ico"))),
                 QUrl::fromLocalFile(QString::fromStdString(paths.folder)),
                 QUrl::fromLocalFile(QString::fromStdString(paths.large))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(frame, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(frame, &drop);
  EXPECT_TRUE(drop.isAccepted());
  EXPECT_EQ(ListedSources(*dlg), (std::vector<std::string>{paths.small, paths.large}));
  EXPECT_TRUE(ShowsFolder(*dlg, paths.folder));
}

TEST_F(Application, ASecondCopyHandsItsArgumentsAndTokenToTheRunningOne) {
  ASSERT_TRUE(std::filesystem::exists(GlimraExecutablePath())) << "build the glimra target";
  HandedPaths paths;
  CGlimraDlg* dlg = Start();
  ASSERT_NE(dlg, nullptr);
  ASSERT_TRUE(theApp.StartInstanceServer());
  const QByteArray savedToken = qgetenv(kActivationTokenVariable);
  qunsetenv(kActivationTokenVariable);

  QProcess second;
  // Relative names, from the second copy's own folder.
  second.setWorkingDirectory(QString::fromStdString(paths.dir.path()));
  QProcessEnvironment token;
  token.insert(kActivationTokenVariable, "token-of-the-second-start");
  StartProgram(second, {"small icon.ico", "no such file", "pick me", paths.large.c_str()}, token);
  ASSERT_TRUE(second.waitForStarted(5000));
  ASSERT_TRUE(PumpUntil([&] { return second.state() == QProcess::NotRunning; }, 20000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);

  EXPECT_EQ(ListedSources(*dlg), (std::vector<std::string>{paths.small, paths.large}));
  EXPECT_TRUE(ShowsFolder(*dlg, paths.folder));
  EXPECT_EQ(qgetenv(kActivationTokenVariable), QByteArray("token-of-the-second-start"));
  qputenv(kActivationTokenVariable, savedToken);
}

TEST_F(Application, TheProgramEndsOnTheSessionsCloseRequest) {
  ASSERT_TRUE(std::filesystem::exists(GlimraExecutablePath())) << "build the glimra target";
  QProcess program;
  StartProgram(program);
  ASSERT_TRUE(program.waitForStarted(5000));
  const std::string channel = InstanceChannelPath("Glimra", 32770);
  ASSERT_TRUE(PumpUntil([&] { return std::filesystem::exists(channel); }, 10000)) << channel;
  // Its main window is up and answering.
  auto client = InstanceClient::Connect(channel, 5000);
  ASSERT_NE(client, nullptr);
  std::optional<std::string> state;
  ASSERT_TRUE(PumpUntil(
      [&] {
        state = client->Request("STATE main");
        return state && *state != "ERR";
      },
      10000));
  EXPECT_EQ(*state, "OK iconic=0 popup=0 visible=1");
  program.terminate();  // SIGTERM, as a session ending sends it
  ASSERT_TRUE(program.waitForFinished(15000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
  EXPECT_FALSE(std::filesystem::exists(channel));
}

TEST_F(Application, OptionsAndMissingPathsChangeNothing) {
  CGlimraDlg* dlg = StartWith({"--recursive", "/no/such/file.ico"});
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
