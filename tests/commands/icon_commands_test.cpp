// The icon commands as the user reaches them: the "&Icons" menu, the
// toolbar, Ctrl+I and the list view's popup all run the application's
// handlers on the main window; Info and Save As take the selected icons in
// list order, Clear empties the list; without a main window nothing runs;
// a Control double-click shows the first selected icon.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/glimra_app.h"
#include "commands/icon_info_dlg.h"
#include "mainwnd/glimra_dlg.h"
#include "platform/ui/message_box.h"
#include "platform/ui/save_file_dialog.h"
#include "platform/ui/tool_bar.h"
#include "res/resource_ids.h"
#include "tests/commands/window_input.h"
#include "tests/program_support/app_test_support.h"

namespace {

const std::string kRegedit = std::string(GLIMRA_CORPUS_DIR) + "/pe32/regedit.exe";

// Opens the menu bar's popup titled title with a click and presses key in it.
void ChooseFromMenuBar(HWND window, const char* title, int key) {
  QMenuBar* bar = MenuBarOf(window);
  ASSERT_NE(bar, nullptr);
  QAction* entry = nullptr;
  for (QAction* action : bar->actions()) {
    if (action->text() == title) entry = action;
  }
  ASSERT_NE(entry, nullptr) << title;
  ASSERT_NE(entry->menu(), nullptr);
  ClickWidget(bar, bar->actionGeometry(entry).center(), Qt::LeftButton);
  ASSERT_TRUE(PumpUntil([&] { return entry->menu()->isVisible(); }, 1000));
  PressKey(entry->menu(), key);
  QApplication::processEvents();
}

class IconCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    dlg = CreateShownMainWindow(30);
    ASSERT_NE(dlg, nullptr);
    dlg->ListIconsFromFile(kRegedit.c_str());
    ASSERT_EQ(dlg->m_listIcons.GetCount(), 6);
    SetModalHook([this](const ModalRun& run) -> std::optional<int> {
      if (run.kind == ModalKind::MessageBox) {
        boxes.push_back(run.text.str());
        return IDOK;
      }
      if (run.kind == ModalKind::Dialog) {
        if (dynamic_cast<CIconInfoDlg*>(run.dialog) != nullptr) {
          CString id;
          run.dialog->GetDlgItemText(IDC_INFO_ID, id);
          infoIds.push_back(id.str());
        }
        return IDOK;
      }
      return std::nullopt;
    });
    SetSaveFileHook([this](const SaveFileRun& run) -> std::optional<std::string> {
      CString id;
      if (CWnd* panel = CWnd::FromHandle(run.panel)) panel->GetDlgItemText(IDC_SAVE_ICON_ID, id);
      saveIds.push_back(id.str());
      return std::string();
    });
  }
  void TearDown() override {
    SetModalHook({});
    SetSaveFileHook({});
    DestroyMainWindow();
  }

  void Select(std::initializer_list<int> items) {
    for (int item : items) dlg->m_lvIcons.SetItemState(item, LVIS_SELECTED, LVIS_SELECTED);
  }
  [[nodiscard]] std::string RecordId(int item) const {
    return std::to_string(dlg->m_listIcons.GetAt(dlg->m_listIcons.FindIndex(item)).m_nID);
  }
  [[nodiscard]] QPoint ItemCentre(int item) const {
    CRect rect;
    EXPECT_TRUE(dlg->m_lvIcons.GetItemRect(item, &rect, LVIR_BOUNDS));
    return {rect.CenterPoint().x, rect.CenterPoint().y};
  }
  void ClickToolbar(UINT id) {
    AfxRunIdle();  // the buttons take their states from the update handlers
    dlg->m_wndToolBar.ClickButton(dlg->m_wndToolBar.CommandToIndex(id));
  }
  void ChooseFromPopup(int onItem, int key) {
    ASSERT_TRUE(
        WithNextPopupMenu([&] { ClickWindow(dlg->m_lvIcons.GetSafeHwnd(), ItemCentre(onItem), Qt::RightButton); },
                          [&](QMenu& menu) { PressKey(&menu, key); }));
  }

  CGlimraDlg* dlg = nullptr;
  std::vector<std::string> infoIds;
  std::vector<std::string> saveIds;
  std::vector<std::string> boxes;
};

TEST_F(IconCommands, InfoAndSaveAsTakeTheSelectedIconsInListOrderFromEveryPlace) {
  Select({4, 1, 2});
  const std::vector<std::string> expected = {RecordId(1), RecordId(2), RecordId(4)};
  ASSERT_NE(expected[0], expected[1]);

  struct Command {
    const char* name;
    UINT id;
    int mnemonic;
    std::vector<std::string>* seen;  // one identifier per dialog shown
  };
  for (const Command& command : {Command{"Info", ID_ICONS_INFO, Qt::Key_I, &infoIds},
                                 Command{"Save As", ID_ICONS_SAVEAS, Qt::Key_A, &saveIds}}) {
    std::vector<std::pair<const char*, std::function<void()>>> routes = {
        {"menu bar", [&] { ChooseFromMenuBar(dlg->GetSafeHwnd(), "&Icons", command.mnemonic); }},
        {"toolbar", [&] { ClickToolbar(command.id); }},
        // A right-click on a selected item keeps the selection.
        {"popup", [&] { ChooseFromPopup(2, command.mnemonic); }},
    };
    if (command.id == ID_ICONS_INFO) {
      routes.emplace_back("Ctrl+I", [&] { PressKeyIn(dlg->m_lvIcons.GetSafeHwnd(), Qt::Key_I, Qt::ControlModifier); });
    }
    for (const auto& [route, run] : routes) {
      command.seen->clear();
      run();
      EXPECT_TRUE(PumpUntil([&] { return command.seen->size() >= expected.size(); }, 2000)) << command.name << route;
      PumpEvents(20);
      EXPECT_EQ(*command.seen, expected) << command.name << " from the " << route;
    }
  }
  EXPECT_TRUE(boxes.empty());
}

TEST_F(IconCommands, ClearFromThePopupAndTheMenuBarEmptiesTheList) {
  const std::vector<std::pair<const char*, std::function<void()>>> routes = {
      {"popup", [&] { ChooseFromPopup(0, Qt::Key_C); }},
      {"menu bar", [&] { ChooseFromMenuBar(dlg->GetSafeHwnd(), "&Icons", Qt::Key_C); }},
  };
  for (const auto& [route, run] : routes) {
    if (dlg->m_lvIcons.GetItemCount() == 0) dlg->ListIconsFromFile(kRegedit.c_str());
    run();
    EXPECT_TRUE(PumpUntil([&] { return dlg->m_lvIcons.GetItemCount() == 0 && dlg->m_hWorkerThread == nullptr; }, 5000))
        << route;
    EXPECT_EQ(dlg->m_listIcons.GetCount(), 0) << route;
  }
}

TEST_F(IconCommands, WithoutAMainWindowTheCommandsDoNothing) {
  Select({0, 1});
  theApp.m_pMainWnd = nullptr;
  for (const UINT id : {ID_ICONS_CLEAR, ID_ICONS_SAVEAS, ID_ICONS_INFO}) {
    EXPECT_TRUE(theApp.OnCmdMsg(id, CN_COMMAND, nullptr, nullptr)) << id;
  }
  PumpEvents(50);
  theApp.m_pMainWnd = dlg;
  EXPECT_TRUE(infoIds.empty());
  EXPECT_TRUE(saveIds.empty());
  EXPECT_EQ(dlg->m_hWorkerThread, nullptr);
  EXPECT_EQ(dlg->m_lvIcons.GetItemCount(), 6);
}

TEST_F(IconCommands, ControlDoubleClickShowsTheEarlierSelectedIcon) {
  const HWND list = dlg->m_lvIcons.GetSafeHwnd();
  ClickWindow(list, ItemCentre(1), Qt::LeftButton);
  ASSERT_EQ(dlg->m_lvIcons.GetNextItem(-1, LVNI_SELECTED), 1);
  ClickWindow(list, ItemCentre(3), Qt::LeftButton, Clicks::Double, Qt::ControlModifier);
  EXPECT_TRUE(PumpUntil([&] { return !infoIds.empty(); }, 2000));
  PumpEvents(20);
  EXPECT_EQ(infoIds, std::vector<std::string>{RecordId(1)});

  // Without Control the double-clicked item alone is selected, and shown.
  infoIds.clear();
  ClickWindow(list, ItemCentre(3), Qt::LeftButton, Clicks::Double);
  EXPECT_TRUE(PumpUntil([&] { return !infoIds.empty(); }, 2000));
  PumpEvents(20);
  EXPECT_EQ(infoIds, std::vector<std::string>{RecordId(3)});
}

}  // namespace
