#include "tests/program_support/app_test_support.h"

#include <QApplication>
#include <QElapsedTimer>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>

#include "app/glimra_app.h"
#include "mainwnd/glimra_dlg.h"
#include "mainwnd/main_bars.h"
#include "res/resource_ids.h"
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

CGlimraDlg* CreateShownMainWindow(int settleMs) {
  auto* dlg = new CGlimraDlg(IDD_GLIMRA_DIALOG);
  theApp.m_pMainWnd = dlg;
  if (!dlg->Create(kMainIndicators, static_cast<int>(std::size(kMainIndicators)), kMainToolbarButtons,
                   static_cast<int>(std::size(kMainToolbarButtons)), IDR_MAINFRAME)) {
    return nullptr;
  }
  dlg->ShowWindow(SW_SHOW);
  PumpEvents(settleMs);
  return dlg;
}

void DestroyMainWindow() {
  if (theApp.m_pMainWnd != nullptr) theApp.m_pMainWnd->DestroyWindow();
  theApp.m_pMainWnd = nullptr;
  PumpEvents(30);
}
