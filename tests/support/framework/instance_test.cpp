#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStringList>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/geometry.h"
#include "platform/ui/instance_channel.h"
#include "support/framework/remote_wnd.h"
#include "support/framework/zu_win_app.h"

namespace {

constexpr DWORD kClassKey = 32770;

std::string UniqueTitle(const char* what) {
  return std::string("fw-instance-") + what + "-" + std::to_string(::getpid());
}

// A copy of the application in another process (instance_helper.cpp).
class Helper {
 public:
  Helper(const QStringList& args) {
    m_process.setProgram(QCoreApplication::applicationFilePath());
    m_process.setArguments(QStringList{"--instance-helper"} + args);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
  }
  ~Helper() {
    if (m_process.state() != QProcess::NotRunning) {
      m_process.kill();
      m_process.waitForFinished(5000);
    }
  }
  Helper(const Helper&) = delete;
  Helper& operator=(const Helper&) = delete;

  // The first line the helper prints, while this process keeps handling
  // its own events (it may be the copy the helper talks to).
  std::string LineServing() {
    QDeadlineTimer deadline(20000);
    while (!m_process.canReadLine() && !deadline.hasExpired()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      m_process.waitForReadyRead(10);
    }
    return m_process.canReadLine() ? m_process.readLine().trimmed().toStdString() : std::string();
  }
  // The first line the helper prints; empty when it prints none in time.
  std::string Line() {
    while (!m_process.canReadLine()) {
      if (!m_process.waitForReadyRead(20000)) {
        return {};
      }
    }
    return m_process.readLine().trimmed().toStdString();
  }
  int Finish() {
    m_process.waitForFinished(20000);
    return m_process.exitCode();
  }
  void Kill() {
    m_process.kill();
    m_process.waitForFinished(5000);
  }

 private:
  QProcess m_process;
};

std::unique_ptr<CZURemoteWnd> ConnectTo(const std::string& title) {
  auto client = InstanceClient::Connect(InstanceChannelPath(title, kClassKey), 2000);
  if (!client) {
    return nullptr;
  }
  return std::make_unique<CZURemoteWnd>(client, RemoteTarget::MainWindow);
}

// What a copy killed mid-run leaves: a socket file nobody listens on.
void LeaveStaleSocket(const std::string& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof address.sun_path);
  std::memcpy(address.sun_path, path.c_str(), path.size());
  ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
}

TEST(InstanceChannel, PathIsPerUserTitleAndKey) {
  const std::string a = InstanceChannelPath("Glimra", kClassKey);
  EXPECT_EQ(a, InstanceChannelPath("Glimra", kClassKey));
  EXPECT_NE(a, InstanceChannelPath("Glimra2", kClassKey));
  EXPECT_NE(a, InstanceChannelPath("Glimra", kClassKey + 1));
  EXPECT_NE(a.find(std::to_string(::getuid())), std::string::npos);
  EXPECT_LT(a.size(), sizeof(sockaddr_un{}.sun_path));
}

TEST(InstanceChannel, NoRunningCopyMeansNoneAndNoFileLeftBehind) {
  const std::string title = UniqueTitle("none");
  Helper probe({"probe", QString::fromStdString(title)});
  EXPECT_EQ(probe.Line(), "NONE");
  EXPECT_EQ(probe.Finish(), 0);
  EXPECT_FALSE(std::filesystem::exists(InstanceChannelPath(title, kClassKey)));
}

TEST(InstanceChannel, SecondCopyFindsTheFirstAndRestoresIt) {
  const std::string title = UniqueTitle("restore");
  Helper first({"serve", QString::fromStdString(title), "minimized"});
  ASSERT_EQ(first.Line(), "READY");

  auto remote = ConnectTo(title);
  ASSERT_NE(remote, nullptr);
  EXPECT_TRUE(remote->IsIconic());
  EXPECT_EQ(remote->GetLastActivePopup(), remote.get());
  // Held as a plain CWnd*, the proxy is a harmless window of this process.
  CWnd* asWnd = remote.get();
  EXPECT_EQ(asWnd->GetLastActivePopup(), asWnd);
  EXPECT_FALSE(asWnd->IsIconic());

  Helper second({"probe", QString::fromStdString(title)});
  EXPECT_EQ(second.Line(), "FOUND");
  EXPECT_EQ(second.Finish(), 0);
  // The second copy's look-up brought the first one back to its normal size.
  EXPECT_FALSE(remote->IsIconic());

  // And a copy that is still first refuses to be a second first.
  Helper third({"serve", QString::fromStdString(title)});
  EXPECT_EQ(third.Line(), "FOUND");
  EXPECT_EQ(third.Finish(), 3);
}

TEST(InstanceChannel, ProxyOperationsAreCarriedOutRemotely) {
  const std::string title = UniqueTitle("ops");
  Helper first({"serve", QString::fromStdString(title), "minimized"});
  ASSERT_EQ(first.Line(), "READY");
  auto remote = ConnectTo(title);
  ASSERT_NE(remote, nullptr);
  ASSERT_TRUE(remote->IsIconic());
  EXPECT_TRUE(remote->ShowWindow(SW_SHOWNORMAL));
  EXPECT_FALSE(remote->IsIconic());
  EXPECT_TRUE(remote->SetForegroundWindow());
  // Another copy may bring the window forward, never hide it.
  EXPECT_FALSE(remote->ShowWindow(SW_HIDE));
  EXPECT_FALSE(remote->ShowWindow(SW_MINIMIZE));
  EXPECT_FALSE(remote->IsIconic());
}

TEST(InstanceChannel, OpenModalPopupIsReportedAndBroughtForward) {
  const std::string title = UniqueTitle("popup");
  Helper first({"serve", QString::fromStdString(title), "popup"});
  ASSERT_EQ(first.Line(), "READY");
  auto remote = ConnectTo(title);
  ASSERT_NE(remote, nullptr);
  CZURemoteWnd* popup = remote->GetLastActivePopup();
  ASSERT_NE(popup, nullptr);
  EXPECT_NE(popup, remote.get());
  EXPECT_EQ(popup->GetTarget(), RemoteTarget::LastActivePopup);
  EXPECT_TRUE(popup->SetForegroundWindow());
  EXPECT_TRUE(remote->ActivateRemote());
}

TEST(InstanceChannel, StaleSocketOfAKilledCopyDoesNotBlockANewFirstCopy) {
  const std::string title = UniqueTitle("stale");
  const std::string path = InstanceChannelPath(title, kClassKey);
  std::filesystem::remove(path);
  LeaveStaleSocket(path);
  ASSERT_TRUE(std::filesystem::exists(path));

  Helper first({"serve", QString::fromStdString(title)});
  ASSERT_EQ(first.Line(), "READY");
  EXPECT_NE(ConnectTo(title), nullptr);

  // Killed without any chance to clean up: the next copy is first again.
  first.Kill();
  Helper next({"serve", QString::fromStdString(title)});
  EXPECT_EQ(next.Line(), "READY");
}

TEST(InstanceChannel, GoneCopyAnswersNothing) {
  const std::string title = UniqueTitle("gone");
  auto first = std::make_unique<Helper>(QStringList{"serve", QString::fromStdString(title), "minimized"});
  ASSERT_EQ(first->Line(), "READY");
  auto remote = ConnectTo(title);
  ASSERT_NE(remote, nullptr);
  first.reset();
  EXPECT_FALSE(remote->IsIconic());
  EXPECT_FALSE(remote->SetForegroundWindow());
  EXPECT_EQ(remote->GetLastActivePopup(), remote.get());
}

TEST(InstanceChannel, FirstCopyAnswersOnceItsMainWindowExists) {
  const std::string title = UniqueTitle("idle");
  CZUWinApp app;
  ASSERT_EQ(app.ISApplicationIsUp(title.c_str(), kClassKey), nullptr);
  EXPECT_FALSE(app.StartInstanceServer());  // no main window yet

  CWnd main;
  ASSERT_TRUE(main.CreateEx(0, WC_GENERIC, title.c_str(), WS_POPUP | WS_CAPTION, CRect(0, 0, 100, 50), nullptr, 0));
  main.ShowWindow(SW_SHOWMINIMIZED);
  app.m_pMainWnd = &main;
  app.OnIdle(0);

  Helper second({"probe", QString::fromStdString(title)});
  EXPECT_EQ(second.LineServing(), "FOUND");
  EXPECT_FALSE(main.IsIconic());  // the second copy restored it
  app.m_pMainWnd = nullptr;
  app.ExitInstance();
  EXPECT_FALSE(std::filesystem::exists(InstanceChannelPath(title, kClassKey)));
}

class AnswerTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_window.CreateEx(0, WC_GENERIC, "answer", WS_POPUP | WS_CAPTION, CRect(0, 0, 100, 50), nullptr, 0));
    m_window.ShowWindow(SW_SHOW);
  }
  CWnd m_window;
};

TEST_F(AnswerTest, RequestsTable) {
  struct Case {
    const char* request;
    const char* reply;
  };
  const Case cases[] = {
      {"STATE main", "OK iconic=0 popup=0 visible=1"},
      {"FOREGROUND main", "OK 1"},
      {"SHOW main 0", "ERR"},
      {"SHOW main 6", "ERR"},
      {"SHOW main x", "ERR"},
      {"SHOW main", "ERR"},
      {"STATE other", "ERR"},
      {"DESTROY main", "ERR"},
      {"", "ERR"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AnswerInstanceRequest(c.request, &m_window), c.reply) << c.request;
  }
  EXPECT_EQ(AnswerInstanceRequest("STATE main", nullptr), "ERR");
  m_window.ShowWindow(SW_SHOWMINIMIZED);
  EXPECT_EQ(AnswerInstanceRequest("STATE main", &m_window), "OK iconic=1 popup=0 visible=1");
  EXPECT_EQ(AnswerInstanceRequest("SHOW main 1", &m_window), "OK 1");
  EXPECT_EQ(AnswerInstanceRequest("STATE main", &m_window), "OK iconic=0 popup=0 visible=1");
}

TEST(InstanceWords, EscapingRoundTripsEveryByteAndKeepsOneWord) {
  std::string allBytes;
  for (int b = 0; b < 256; ++b) allBytes += static_cast<char>(b);
  const std::string cases[] = {"", "/home/u/setup.exe", "/a b/c%d", "line\nbreak\r", "\xff\xfe not UTF-8", allBytes};
  for (const std::string& bytes : cases) {
    const std::string word = EscapeInstanceWord(bytes);
    for (const char c : word) {
      EXPECT_TRUE(c > ' ' && c < 0x7F) << static_cast<int>(c);
    }
    EXPECT_EQ(UnescapeInstanceWord(word), bytes);
  }
  EXPECT_EQ(EscapeInstanceWord("a b%"), "a%20b%25");
  for (const char* bad : {"%", "%4", "%zz", "a%2"}) EXPECT_FALSE(UnescapeInstanceWord(bad)) << bad;
  EXPECT_EQ(UnescapeInstanceWord("%4a%4A"), "JJ");
}

TEST_F(AnswerTest, OpenAndTokenRequests) {
  std::vector<std::string> opened;
  const InstanceOpenFn open = [&](const std::string& path) {
    opened.push_back(path);
    return path != "/refused";
  };
  EXPECT_EQ(AnswerInstanceRequest("OPEN /a%20b/c.exe", &m_window, open), "OK 1");
  EXPECT_EQ(AnswerInstanceRequest("OPEN %2Frefused", &m_window, open), "OK 0");
  EXPECT_EQ(AnswerInstanceRequest("OPEN %zz", &m_window, open), "ERR");
  EXPECT_EQ(AnswerInstanceRequest("OPEN", &m_window, open), "ERR");
  EXPECT_EQ(AnswerInstanceRequest("OPEN /x", nullptr, open), "ERR");
  // A copy that takes no paths refuses them.
  EXPECT_EQ(AnswerInstanceRequest("OPEN /x", &m_window), "OK 0");
  EXPECT_EQ(opened, (std::vector<std::string>{"/a b/c.exe", "/refused"}));

  const QByteArray saved = qgetenv(kActivationTokenVariable);
  EXPECT_EQ(AnswerInstanceRequest("TOKEN abc%20123", &m_window), "OK 1");
  EXPECT_EQ(qgetenv(kActivationTokenVariable), QByteArray("abc 123"));
  qputenv(kActivationTokenVariable, saved);
}

TEST(InstanceChannel, PathsReachTheRunningCopyInOrder) {
  const std::string title = UniqueTitle("open");
  Helper first({"serve", QString::fromStdString(title), "opens"});
  ASSERT_EQ(first.Line(), "READY");
  auto remote = ConnectTo(title);
  ASSERT_NE(remote, nullptr);
  const std::string longName = "/" + std::string(4000, '\xe9');
  EXPECT_TRUE(remote->OpenRemote("/first folder/one.exe"));
  EXPECT_TRUE(remote->OpenRemote(longName));
  EXPECT_TRUE(remote->PassActivationToken("token-1"));
  EXPECT_EQ(first.Line(), "OPEN " + EscapeInstanceWord("/first folder/one.exe"));
  EXPECT_EQ(first.Line(), "OPEN " + EscapeInstanceWord(longName));
}

}  // namespace
