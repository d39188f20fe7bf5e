#include "platform/ui/desktop_shell.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QObject>
#include <QSocketNotifier>
#include <QUrl>
#include <QWidget>

#include <csignal>
#include <utility>

#include "platform/ui/cwnd.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/win_app.h"

namespace {

std::vector<std::string> LocalPaths(const QMimeData* data) {
  std::vector<std::string> paths;
  if (data == nullptr || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    // Names are bytes: the file system's encoding of the name, not its text.
    if (url.isLocalFile()) paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
  }
  return paths;
}

class DropFilter final : public QObject {
 public:
  DropFilter(QObject* parent, DroppedPathsFn onDrop) : QObject(parent), m_onDrop(std::move(onDrop)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (LocalPaths(drag->mimeData()).empty()) return false;
        drag->acceptProposedAction();
        return true;
      }
      case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const std::vector<std::string> paths = LocalPaths(drop->mimeData());
        if (paths.empty()) return false;
        drop->acceptProposedAction();
        m_onDrop(paths);
        return true;
      }
      default:
        return QObject::eventFilter(watched, event);
    }
  }

 private:
  DroppedPathsFn m_onDrop;
};

// The signal handler may only write; the notifier reads on the
// user-interface thread.
int g_terminatePipe[2] = {-1, -1};

void OnTerminateSignal(int /*signal*/) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(g_terminatePipe[1], &byte, 1);
}

void CloseOnTerminate() {
  char byte = 0;
  [[maybe_unused]] const ssize_t read = ::read(g_terminatePipe[0], &byte, 1);
  CWnd* main = AfxGetMainWnd();
  if (main != nullptr && main->GetSafeHwnd() != nullptr) {
    main->PostMessage(WM_SYSCOMMAND, SC_CLOSE);
  } else {
    QCoreApplication::quit();
  }
}

}  // namespace

void SetDesktopEntryName(const char* applicationId) {
  QGuiApplication::setDesktopFileName(QString::fromUtf8(applicationId != nullptr ? applicationId : ""));
}

std::string GetDesktopEntryName() { return QGuiApplication::desktopFileName().toStdString(); }

void AcceptDroppedPaths(HWND window, DroppedPathsFn onDrop) {
  QWidget* widget = WidgetOfWindow(window);
  if (widget == nullptr || !onDrop) return;
  widget->setAcceptDrops(true);
  widget->installEventFilter(new DropFilter(widget, std::move(onDrop)));
}

void CloseMainWindowOnTerminate() {
  if (g_terminatePipe[0] >= 0) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_terminatePipe) != 0) return;
  auto* notifier = new QSocketNotifier(g_terminatePipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { CloseOnTerminate(); });
  struct sigaction action {};
  action.sa_handler = OnTerminateSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, nullptr);
}
