// Sources and destinations at 4,000-byte paths, where Linux allows up to
// 4,096: an icon file and a module are listed by a recursive walk, shown in
// Icon Info and in the save preview (their 260-character fields hold a
// shortened form), and saved to files at such paths.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "commands/icon_info_dlg.h"
#include "mainwnd/glimra_dlg.h"
#include "platform/ui/message_box.h"
#include "platform/ui/save_file_dialog.h"
#include "res/resource_ids.h"
#include "support/icon/icon_library.h"
#include "tests/common/ico_builder.h"
#include "tests/common/pe_builder.h"
#include "tests/program_support/app_test_support.h"

namespace {

constexpr std::size_t kLength = 4000;
constexpr int kFinishMs = 60000;

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string ItemText(HWND panel, int id) {
  CString text;
  static_cast<void>(CWnd::FromHandle(panel)->GetDlgItemText(id, text));
  return text.str();
}

class LongPaths : public MainWindowTest {
 protected:
  // A file named name at a path of exactly kLength bytes below base.
  static std::string DeepFile(const std::string& base, const std::string& name) {
    const std::string folder = ico_test::MakeDeepFolder(base, kLength - 1 - name.size());
    return folder.empty() ? std::string() : folder + "/" + name;
  }
  void Select(const std::vector<int>& items) const {
    for (int item : items) static_cast<void>(dlg->m_lvIcons.SetItemState(item, LVIS_SELECTED, LVIS_SELECTED));
  }

  ico_test::TempDir m_dir;
  ico_test::TempDir m_out;
};

TEST_F(LongPaths, AnIconFileAndAModuleAreListedShownPreviewedAndSaved) {
  const std::string ico = DeepFile(m_dir.path(), "a.ico");
  ASSERT_EQ(ico.size(), kLength);
  ASSERT_TRUE(ico_test::WriteFile(ico, ico_test::IcoFile({ico_test::DibEntry(16, 16, 8)})));
  const std::string module = ico.substr(0, ico.size() - 5) + "m.exe";
  ASSERT_TRUE(pe_test::ModuleWithOneGroup(7).WriteTo(module));

  // The listing walks down to them.
  ChooseRecursiveListing(*dlg, m_dir.path(), "*.*");
  ASSERT_TRUE(PressListAndWait(*dlg, kFinishMs));
  ASSERT_EQ(dlg->m_listIcons.GetCount(), 2);
  EXPECT_EQ(dlg->m_listIcons.GetAt(dlg->m_listIcons.FindIndex(0)).m_strSource.str(), ico);
  EXPECT_EQ(dlg->m_listIcons.GetAt(dlg->m_listIcons.FindIndex(1)).m_strSource.str(), module);
  Select({0, 1});

  // Icon Info: each dialog shows its icon and the end of its source.
  std::vector<std::string> info;
  std::vector<std::string> boxes;
  SetModalHook([&](const ModalRun& modal) -> std::optional<int> {
    if (modal.kind == ModalKind::MessageBox) {
      boxes.push_back(modal.text.str());
      return IDNO;
    }
    if (auto* shown = dynamic_cast<CIconInfoDlg*>(modal.dialog)) {
      CString width;
      CString source;
      shown->m_stcWidth.GetWindowText(width);
      shown->m_stcSource.GetWindowText(source);
      info.push_back(width.str() + " " + source.str());
      return IDOK;
    }
    return std::nullopt;
  });
  dlg->ShowSelectedIconInfo();
  ASSERT_EQ(info.size(), 2u);
  EXPECT_TRUE(info[0].starts_with("16 ") && EndsWith(info[0], "/a.ico")) << info[0];
  EXPECT_TRUE(info[1].starts_with("32 ") && EndsWith(info[1], "/m.exe")) << info[1];

  // Save As: the preview names each source, and both save at long paths.
  const std::vector<std::string> answers{DeepFile(m_out.path(), "x.ico"), DeepFile(m_out.path(), "y.ico")};
  ASSERT_EQ(answers[0].size(), kLength);
  std::vector<std::string> previews;
  SetSaveFileHook([&](const SaveFileRun& run) -> std::optional<std::string> {
    previews.push_back(ItemText(run.panel, IDC_SAVE_SOURCE) + " [" + ItemText(run.panel, IDC_SAVE_ICON_ID) + "]");
    return previews.size() <= answers.size() ? answers[previews.size() - 1] : std::string();
  });
  dlg->SaveSelectedIcons();
  SetSaveFileHook({});
  SetModalHook({});
  EXPECT_TRUE(boxes.empty()) << boxes.front();
  ASSERT_EQ(previews.size(), 2u);
  EXPECT_TRUE(EndsWith(previews[0], "/a.ico []")) << previews[0];
  EXPECT_TRUE(EndsWith(previews[1], "/m.exe [7]")) << previews[1];
  for (const auto& [saved, width] : {std::pair{answers[0], 16u}, std::pair{answers[1], 32u}}) {
    const UniqueIconResource group(ReadIconFromICOFile(saved.c_str()));
    ASSERT_NE(group, nullptr) << saved.size();
    ASSERT_EQ(group->nImages, 1u);
    EXPECT_EQ(IconImageAt(group.get(), 0)->nWidth, width);
  }
}

}  // namespace
