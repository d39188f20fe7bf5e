// Info on the main window's selection: one Icon Info dialog per selected
// item in list order, "Can't get Icon info" for a source that is gone (and
// the loop goes on), and for an item without a record (and the loop stops).

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "commands/icon_info_dlg.h"
#include "mainwnd/glimra_dlg.h"
#include "platform/ui/message_box.h"
#include "tests/common/ico_builder.h"
#include "tests/program_support/app_test_support.h"

namespace {

using ico_test::TempDir;

class ShowSelectedInfo : public MainWindowTest {
 protected:
  // Lists an .ico file of one image whose width tells it apart.
  std::string AddIco(const std::string& name, int width) {
    std::string path = m_dir.File(name);
    EXPECT_TRUE(ico_test::WriteFile(path, ico_test::IcoFile({ico_test::DibEntry(width, width, 8)})));
    dlg->ListIconsFromFile(CString(path.c_str()));
    return path;
  }
  void Select(const std::vector<int>& items) const {
    for (int item : items) static_cast<void>(dlg->m_lvIcons.SetItemState(item, LVIS_SELECTED, LVIS_SELECTED));
  }

  // What Info opened, in order: "dialog WIDTH" or "box TEXT TYPE".
  std::vector<std::string> RunInfo() const {
    std::vector<std::string> events;
    SetModalHook([&, this](const ModalRun& modal) -> std::optional<int> {
      if (modal.kind == ModalKind::MessageBox) {
        events.push_back("box " + modal.text.str() + " " + std::to_string(modal.type));
        return IDOK;
      }
      if (auto* info = dynamic_cast<CIconInfoDlg*>(modal.dialog)) {
        CString width;
        info->m_stcWidth.GetWindowText(width);
        events.push_back("dialog " + width.str());
        // ShowInfo gives no parent: the main window owns the dialog.
        if (modal.owner != dlg->m_hWnd) events.push_back("owner is not the main window");
        return IDOK;
      }
      return std::nullopt;
    });
    dlg->ShowSelectedIconInfo();
    SetModalHook({});
    return events;
  }

  TempDir m_dir;
};

const std::string kStopBox = "box Can't get Icon info " + std::to_string(MB_OK | MB_ICONSTOP);

TEST_F(ShowSelectedInfo, EachSelectedItemGetsADialogInListOrder) {
  static_cast<void>(AddIco("a.ico", 16));
  static_cast<void>(AddIco("b.ico", 24));
  static_cast<void>(AddIco("c.ico", 32));
  static_cast<void>(AddIco("d.ico", 48));
  ASSERT_EQ(dlg->m_lvIcons.GetItemCount(), 4);
  Select({3, 0, 1});
  EXPECT_EQ(RunInfo(), (std::vector<std::string>{"dialog 16", "dialog 24", "dialog 48"}));
}

TEST_F(ShowSelectedInfo, NothingSelectedOpensNothing) {
  static_cast<void>(AddIco("a.ico", 16));
  EXPECT_TRUE(RunInfo().empty());
}

TEST_F(ShowSelectedInfo, ADeletedSourceIsReportedAndTheNextItemStillShows) {
  const std::string first = AddIco("first.ico", 16);
  static_cast<void>(AddIco("second.ico", 32));
  Select({0, 1});
  ASSERT_EQ(std::remove(first.c_str()), 0);
  EXPECT_EQ(RunInfo(), (std::vector<std::string>{kStopBox, "dialog 32"}));
}

TEST_F(ShowSelectedInfo, AnItemWithoutARecordIsReportedOnceAndEndsTheCommand) {
  static_cast<void>(AddIco("a.ico", 16));
  // Two items the collection has no records for, both selected.
  static_cast<void>(dlg->m_lvIcons.InsertItem(1, "", 0));
  static_cast<void>(dlg->m_lvIcons.InsertItem(2, "", 0));
  Select({0, 1, 2});
  EXPECT_EQ(RunInfo(), (std::vector<std::string>{"dialog 16", kStopBox}));
}

}  // namespace
