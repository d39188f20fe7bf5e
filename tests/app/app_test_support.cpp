#include "tests/app/app_test_support.h"

#include <QApplication>
#include <QElapsedTimer>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/ui/dialog.h"
#include "platform/ui/message_box.h"

std::string MakePrivateRuntimeFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "glimra-app-tests-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    std::abort();
  }
  return pattern;
}

void RemoveFolderTree(const std::string& folder) {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

std::string GlimraExecutablePath() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return (self.parent_path().parent_path() / "app" / "glimra").string();
}

void PumpEvents(int ms) {
  QElapsedTimer timer;
  timer.start();
  do {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  } while (timer.elapsed() < ms);
}

bool PumpUntil(const std::function<bool()>& done, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < ms) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return done();
}

ModalSeen RunAndCloseModal(const std::function<void()>& run) {
  ModalSeen seen;
  SetModalHook([&](const ModalRun& modal) -> std::optional<int> {
    if (modal.kind != ModalKind::Dialog || modal.dialog == nullptr) {
      return std::nullopt;
    }
    seen.className = modal.dialog->GetRuntimeClass()->m_lpszClassName;
    CString caption;
    modal.dialog->GetWindowText(caption);
    seen.caption = caption.str();
    return IDCANCEL;
  });
  run();
  SetModalHook({});
  return seen;
}

RECT ChildRect(const CWnd& parent, int id) {
  RECT rect{0, 0, 0, 0};
  if (CWnd* child = parent.GetDlgItem(id)) {
    child->GetWindowRect(&rect);
    parent.ScreenToClient(&rect);
  }
  return rect;
}
