// The icon commands while a listing worker appends: Clear is refused on the
// menu bar and the toolbar while Save As and Info follow the selection, and
// Info, Save As and a file double-click run beside the appends without
// breaking "item n, image n, record n".

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/glimra_app.h"
#include "commands/icon_info_dlg.h"
#include "mainwnd/glimra_dlg.h"
#include "platform/ui/image_list.h"
#include "platform/ui/message_box.h"
#include "platform/ui/save_file_dialog.h"
#include "platform/ui/tool_bar.h"
#include "res/resource_ids.h"
#include "tests/commands/window_input.h"
#include "tests/program_support/app_test_support.h"

namespace fs = std::filesystem;

namespace {

const fs::path kCorpus = GLIMRA_CORPUS_DIR;
// Links to the corpus's largest library: each file adds 184 icons, so the
// walk (184,000 icons, seconds even where listing is fastest) is still
// running long after the test's few hundred milliseconds; the test stops it.
constexpr int kLinkedLibraries = 1000;
// The folder tree's deferred refresh; it would refill the file list under the test.
constexpr UINT_PTR kRefreshTimer = 2;

class BesideListing : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = MakePrivateRuntimeFolder();
    for (int i = 0; i < kLinkedLibraries; ++i) {
      fs::create_symlink(kCorpus / "pe64/shell32.dll", fs::path(folder) / ("lib" + std::to_string(i) + ".dll"));
    }
    fs::create_symlink(kCorpus / "pe32/regedit.exe", fs::path(folder) / "regedit.exe");
    saved = MakePrivateRuntimeFolder();

    dlg = CreateShownMainWindow(30);
    ASSERT_NE(dlg, nullptr);
    dlg->KillTimer(kRefreshTimer);
    dlg->m_strFolder = folder.c_str();
    dlg->m_chkRecursive.SetCheck(BST_CHECKED);
    dlg->m_cboFileType.SetWindowText("*.dll");
    dlg->m_bCanList = TRUE;
    dlg->m_btnListIcon.EnableWindow(TRUE);
  }
  void TearDown() override {
    SetModalHook({});
    SetSaveFileHook({});
    if (dlg != nullptr && dlg->m_hWorkerThread != nullptr) {
      ClickWindow(dlg->m_btnListIcon.GetSafeHwnd(), QPoint(5, 5), Qt::LeftButton);
      EXPECT_TRUE(PumpUntil([&] { return dlg->m_hWorkerThread == nullptr; }, 20000));
    }
    DestroyMainWindow();
    RemoveFolderTree(folder);
    RemoveFolderTree(saved);
  }

  // A real click on "&List Icon"; answers once the worker has shown items.
  void StartListing(int items) {
    ClickWindow(dlg->m_btnListIcon.GetSafeHwnd(), QPoint(5, 5), Qt::LeftButton);
    ASSERT_TRUE(PumpUntil([&] { return dlg->m_lvIcons.GetItemCount() >= items; }, 10000));
    ASSERT_NE(dlg->m_hWorkerThread, nullptr);
  }
  // The "&Icons" menu's items as the user sees them on opening it.
  std::map<std::string, bool> IconsMenuStates() {
    std::map<std::string, bool> states;
    QMenuBar* bar = MenuBarOf(dlg->GetSafeHwnd());
    EXPECT_NE(bar, nullptr);
    if (bar == nullptr) return states;
    for (QAction* entry : bar->actions()) {
      if (entry->text() != "&Icons" || entry->menu() == nullptr) continue;
      ClickWidget(bar, bar->actionGeometry(entry).center(), Qt::LeftButton);
      EXPECT_TRUE(PumpUntil([&] { return entry->menu()->isVisible(); }, 1000));
      for (QAction* item : entry->menu()->actions()) states[item->text().toStdString()] = item->isEnabled();
      PressKey(entry->menu(), Qt::Key_Escape);
      QApplication::processEvents();
    }
    return states;
  }
  std::map<std::string, bool> ToolbarStates() {
    AfxRunIdle();
    std::map<std::string, bool> states;
    for (const auto& [name, id] : {std::pair{"&Clear", ID_ICONS_CLEAR}, std::pair{"Save &As...", ID_ICONS_SAVEAS},
                                   std::pair{"&Info", ID_ICONS_INFO}}) {
      const UINT style = dlg->m_wndToolBar.GetButtonStyle(dlg->m_wndToolBar.CommandToIndex(id));
      states[name] = (style & TBBS_DISABLED) == 0;
    }
    return states;
  }
  [[nodiscard]] const CIconInfo& Record(int item) const {
    return dlg->m_listIcons.GetAt(dlg->m_listIcons.FindIndex(item));
  }
  // What the Icon Info dialog shows as the record's identifier.
  [[nodiscard]] std::string RecordId(int item) const {
    const CIconInfo& record = Record(item);
    return record.m_strName.IsEmpty() ? std::to_string(record.m_nID) : record.m_strName.str();
  }

  std::string folder;
  std::string saved;
  CGlimraDlg* dlg = nullptr;
};

using States = std::map<std::string, bool>;

TEST_F(BesideListing, ClearIsRefusedWhileTheSelectionCommandsFollowTheSelection) {
  StartListing(1);
  EXPECT_EQ(IconsMenuStates(), (States{{"", true},
                                       {"&Clear", false},
                                       {"Save &As...", false},
                                       {"&Info", false},
                                       {"C&opy", false},
                                       {"&Export...", false}}));
  EXPECT_EQ(ToolbarStates(), (States{{"&Clear", false}, {"Save &As...", false}, {"&Info", false}}));

  dlg->m_lvIcons.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(IconsMenuStates(), (States{{"", true},
                                       {"&Clear", false},
                                       {"Save &As...", true},
                                       {"&Info", true},
                                       {"C&opy", true},
                                       {"&Export...", true}}));
  EXPECT_EQ(ToolbarStates(), (States{{"&Clear", false}, {"Save &As...", true}, {"&Info", true}}));
  // All of it was seen while the worker ran.
  ASSERT_NE(dlg->m_hWorkerThread, nullptr);

  ClickWindow(dlg->m_btnListIcon.GetSafeHwnd(), QPoint(5, 5), Qt::LeftButton);
  ASSERT_TRUE(PumpUntil([&] { return dlg->m_hWorkerThread == nullptr; }, 20000));
  EXPECT_EQ(IconsMenuStates(), (States{{"", true},
                                       {"&Clear", true},
                                       {"Save &As...", true},
                                       {"&Info", true},
                                       {"C&opy", true},
                                       {"&Export...", true}}));
  EXPECT_EQ(ToolbarStates(), (States{{"&Clear", true}, {"Save &As...", true}, {"&Info", true}}));
}

TEST_F(BesideListing, InfoSaveAsAndAFileDoubleClickRunWhileTheWorkerAppends) {
  StartListing(3);
  for (int item = 0; item < 3; ++item) dlg->m_lvIcons.SetItemState(item, LVIS_SELECTED, LVIS_SELECTED);

  // Each dialog stays open a while, so the worker appends under it.
  std::vector<std::string> infoIds;
  SetModalHook([&](const ModalRun& run) -> std::optional<int> {
    if (run.kind == ModalKind::MessageBox) {
      ADD_FAILURE() << run.text.str();
      return IDOK;
    }
    if (run.kind != ModalKind::Dialog || dynamic_cast<CIconInfoDlg*>(run.dialog) == nullptr) return std::nullopt;
    CString id;
    run.dialog->GetDlgItemText(IDC_INFO_ID, id);
    infoIds.push_back(id.str());
    PumpEvents(30);
    return IDOK;
  });
  int saveRuns = 0;
  SetSaveFileHook([&](const SaveFileRun&) -> std::optional<std::string> {
    PumpEvents(30);
    return (fs::path(saved) / ("saved" + std::to_string(saveRuns++) + ".ico")).string();
  });

  const int before = dlg->m_lvIcons.GetItemCount();
  PressKeyIn(dlg->m_lvIcons.GetSafeHwnd(), Qt::Key_I, Qt::ControlModifier);
  ASSERT_TRUE(PumpUntil([&] { return infoIds.size() == 3; }, 5000));
  AfxRunIdle();
  dlg->m_wndToolBar.ClickButton(dlg->m_wndToolBar.CommandToIndex(ID_ICONS_SAVEAS));
  ASSERT_TRUE(PumpUntil([&] { return saveRuns == 3; }, 5000));

  ASSERT_GE(dlg->m_lstFiles.AddString("regedit.exe"), 0);
  ClickWindow(dlg->m_lstFiles.GetSafeHwnd(), QPoint(10, 5), Qt::LeftButton, Clicks::Double);
  // The worker appended beside all three and has not finished.
  EXPECT_GT(dlg->m_lvIcons.GetItemCount(), before);
  ASSERT_NE(dlg->m_hWorkerThread, nullptr);

  ClickWindow(dlg->m_btnListIcon.GetSafeHwnd(), QPoint(5, 5), Qt::LeftButton);
  ASSERT_TRUE(PumpUntil([&] { return dlg->m_hWorkerThread == nullptr; }, 20000));

  const int items = dlg->m_lvIcons.GetItemCount();
  EXPECT_EQ(dlg->m_listIcons.GetCount(), items);
  EXPECT_EQ(dlg->m_pImageList->GetImageCount(), items);
  EXPECT_EQ(infoIds, (std::vector<std::string>{RecordId(0), RecordId(1), RecordId(2)}));
  for (int i = 0; i < 3; ++i) {
    const fs::path file = fs::path(saved) / ("saved" + std::to_string(i) + ".ico");
    EXPECT_TRUE(fs::exists(file) && fs::file_size(file) > 0) << file;
  }
  // The double-clicked file's six icons came in one piece between the worker's.
  std::vector<int> fromRegedit;
  for (int i = 0; i < items; ++i) {
    if (fs::path(Record(i).m_strSource.str()).filename() == "regedit.exe") fromRegedit.push_back(i);
  }
  ASSERT_EQ(fromRegedit.size(), 6u);
  EXPECT_EQ(fromRegedit.back() - fromRegedit.front(), 5);
  EXPECT_GT(fromRegedit.front(), 0);
  EXPECT_LT(fromRegedit.back(), items - 1);
}

}  // namespace
