#include "tests/program_support/app_test_support.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <memory>

#include "app/glimra_app.h"
#include "mainwnd/glimra_dlg.h"
#include "mainwnd/main_bars.h"
#include "platform/core/kernel_object.h"
#include "platform/ui/dialog.h"
#include "platform/ui/message_box.h"
#include "platform/ui/qt_bridge.h"
#include "res/resource_ids.h"

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

void ClickButton(const CWnd& button) {
  if (auto* widget = qobject_cast<QAbstractButton*>(WidgetOfWindow(button.GetSafeHwnd()))) widget->click();
}

struct ItemCountWatch::Connections {
  QMetaObject::Connection inserted;
  QMetaObject::Connection reset;
};

ItemCountWatch::ItemCountWatch(const CWnd& listView, std::function<void(int)> onChange)
    : m_connections(new Connections) {
  QWidget* widget = WidgetOfWindow(listView.GetSafeHwnd());
  auto* list = qobject_cast<QAbstractItemView*>(widget);
  if (list == nullptr && widget != nullptr) list = widget->findChild<QAbstractItemView*>();
  if (list == nullptr || list->model() == nullptr) return;
  const auto report = [list, onChange = std::move(onChange)] { onChange(list->model()->rowCount()); };
  m_connections->inserted = QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, list, report);
  m_connections->reset = QObject::connect(list->model(), &QAbstractItemModel::modelReset, list, report);
}

ItemCountWatch::~ItemCountWatch() {
  QObject::disconnect(m_connections->inserted);
  QObject::disconnect(m_connections->reset);
  delete m_connections;
}

void ChooseListedFiles(CGlimraDlg& dlg, const std::string& folder, const std::vector<std::string>& names,
                       const std::vector<int>& selected) {
  dlg.KillTimer(2);
  dlg.m_chkRecursive.SetCheck(BST_UNCHECKED);
  dlg.m_strFileListFolder = folder;
  dlg.m_lstFiles.ResetContent();
  for (const std::string& name : names) dlg.m_lstFiles.AddString(name.c_str());
  for (const int index : selected) dlg.m_lstFiles.SetSel(index, TRUE);
}

void ChooseRecursiveListing(CGlimraDlg& dlg, const std::string& folder, const std::string& pattern) {
  dlg.KillTimer(2);
  dlg.m_lstFiles.ResetContent();
  dlg.m_strFolder = folder;
  dlg.m_cboFileType.SetWindowText(pattern.c_str());
  dlg.m_chkRecursive.SetCheck(BST_CHECKED);
}

bool PressListAndWait(CGlimraDlg& dlg, int ms) {
  dlg.m_btnListIcon.EnableWindow(TRUE);
  ClickButton(dlg.m_btnListIcon);
  HANDLE worker = dlg.m_hWorkerThread;
  if (worker == nullptr) return false;
  return PumpUntil([&] { return dlg.m_hWorkerThread == nullptr && WaitForSingleObject(worker, 0) == WAIT_OBJECT_0; },
                   ms);
}

std::function<void(int)> OnceCountReaches(int atLeast, std::function<void()> act) {
  auto done = std::make_shared<bool>(false);
  return [atLeast, act = std::move(act), done](int count) {
    if (*done || count < atLeast) return;
    *done = true;
    act();
  };
}
