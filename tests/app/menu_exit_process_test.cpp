// File/Exit chosen as the user chooses it: the real program on a real X
// server, the menu opened and the item taken by key presses. A command that
// reaches the window as a posted message misses the path that matters here:
// the command runs inside the popup's own key handler, and destroying the
// window destroys that popup's menu while the handler still uses it.

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/program_support/app_test_support.h"

namespace {

// Generous bounds for a loaded machine; only a failure waits them out.
constexpr int kStartMs = 30000;
constexpr int kFinishMs = 60000;

// A virtual X server on a display number of its own choosing, ended with the object.
class VirtualDisplay {
 public:
  VirtualDisplay() {
    // -displayfd writes the number once the server accepts connections.
    m_server.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"});
    if (!m_server.waitForStarted(kStartMs)) return;
    while (!m_server.canReadLine() && m_server.waitForReadyRead(kStartMs)) {
    }
    const QString number = QString::fromUtf8(m_server.readLine()).trimmed();
    if (!number.isEmpty()) m_name = ":" + number;
  }
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;
  ~VirtualDisplay() {
    m_server.terminate();
    if (!m_server.waitForFinished(kStartMs)) m_server.kill();
  }
  [[nodiscard]] const QString& Name() const { return m_name; }

 private:
  QProcess m_server;
  QString m_name;
};

// Runs xdotool on the display; answers whether it ended with status 0.
bool XdoTool(const QString& display, const QStringList& arguments) {
  QProcess tool;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("DISPLAY", display);
  tool.setProcessEnvironment(env);
  tool.start("xdotool", arguments);
  return tool.waitForFinished(kStartMs) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

TEST(MenuExitProcess, FileExitByKeysEndsTheRealProgramWithStatusZero) {
  const std::string exe = GlimraExecutablePath();
  ASSERT_TRUE(std::filesystem::exists(exe)) << exe << " (build the glimra target)";
  const VirtualDisplay display;
  ASSERT_FALSE(display.Name().isEmpty()) << "Xvfb did not start (scripts/deps.sh installs it)";
  const std::string runtime = MakePrivateRuntimeFolder();

  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("DISPLAY", display.Name());
  env.insert("QT_QPA_PLATFORM", "xcb");
  // Its own runtime folder, so no running copy answers in its place.
  env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime));
  program.setProcessEnvironment(env);
  program.setProcessChannelMode(QProcess::ForwardedChannels);
  program.start(QString::fromStdString(exe), {});
  ASSERT_TRUE(program.waitForStarted(kStartMs));

  // The keys go to the window that has the focus; Qt takes them in order,
  // so the second reaches the popup the first one opened.
  EXPECT_TRUE(XdoTool(display.Name(), {"search", "--sync", "--name", "^Glimra$", "windowfocus", "--sync"}))
      << "xdotool did not find the main window (scripts/deps.sh installs xdotool)";
  EXPECT_TRUE(XdoTool(display.Name(), {"key", "alt+f", "x"}));

  const bool finished = program.waitForFinished(kFinishMs);
  if (!finished) program.kill();
  EXPECT_TRUE(finished);
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
  RemoveFolderTree(runtime);
}

}  // namespace
