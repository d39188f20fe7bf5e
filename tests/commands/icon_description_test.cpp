// Each icon list item's tooltip and accessible name: the file name, the
// identifier as Icon Info shows it, the number of images.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "mainwnd/glimra_dlg.h"
#include "platform/ui/qt_bridge.h"
#include "tests/common/ico_builder.h"
#include "tests/common/pe_builder.h"
#include "tests/program_support/app_test_support.h"

namespace {

class IconDescription : public MainWindowTest {
 protected:
  QAbstractItemView* View() const { return dynamic_cast<QAbstractItemView*>(WidgetOfWindow(dlg->m_lvIcons)); }
  std::string Role(int row, int role) const {
    return View()->model()->index(row, 0).data(role).toString().toStdString();
  }
  std::vector<std::string> Tips() const {
    std::vector<std::string> tips;
    tips.reserve(static_cast<std::size_t>(dlg->m_lvIcons.GetItemCount()));
    for (int i = 0; i < dlg->m_lvIcons.GetItemCount(); ++i) tips.push_back(Role(i, Qt::ToolTipRole));
    std::sort(tips.begin(), tips.end());
    return tips;
  }
  ico_test::TempDir m_dir;
};

TEST_F(IconDescription, ItemsTellFileIdentifierAndImageCount) {
  const auto small = ico_test::DibImage(16, 16, 8, 4);
  const auto large = ico_test::DibImage(32, 32, 8, 4);
  pe_test::PeBuilder builder;
  builder.AddIcon(1, small);
  builder.AddIcon(2, large);
  builder.AddIconGroup(pe_test::ResId::Number(101),
                       pe_test::GroupIconBytes({{32, 32, 0, 1, 8, static_cast<std::uint32_t>(large.size()), 2}}));
  builder.AddIconGroup(pe_test::ResId::Name("LOGO"),
                       pe_test::GroupIconBytes({{16, 16, 0, 1, 8, static_cast<std::uint32_t>(small.size()), 1},
                                                {32, 32, 0, 1, 8, static_cast<std::uint32_t>(large.size()), 2}}));
  const std::string module = m_dir.File("m.dll");
  ASSERT_TRUE(builder.Build().WriteTo(module));
  const std::string ico = m_dir.File("three.ico");
  ASSERT_TRUE(ico_test::WriteFile(ico, ico_test::IcoFile({ico_test::DibEntry(16, 16, 8), ico_test::DibEntry(32, 32, 8),
                                                          ico_test::DibEntry(48, 48, 8)})));
  dlg->ListIconsFromFile(CString(module.c_str()));
  dlg->ListIconsFromFile(CString(ico.c_str()));
  ASSERT_EQ(dlg->m_lvIcons.GetItemCount(), 3);
  ASSERT_NE(View(), nullptr);

  EXPECT_EQ(Tips(), (std::vector<std::string>{"m.dll\nIdentifier: 101\nImages: 1", "m.dll\nIdentifier: LOGO\nImages: 2",
                                              "three.ico\nImages: 3"}));
  // The accessible name says the same.
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Role(i, Qt::AccessibleTextRole), Role(i, Qt::ToolTipRole));
  }
  // A screen reader reads the same as the items' names.
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(View());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->role(), QAccessible::List);
  ASSERT_EQ(list->childCount(), 3);
  std::vector<std::string> names;
  for (int i = 0; i < list->childCount(); ++i) {
    QAccessibleInterface* item = list->child(i);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->role(), QAccessible::ListItem);
    EXPECT_EQ(list->indexOfChild(item), i);
    names.push_back(item->text(QAccessible::Name).toStdString());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, Tips());

  // A source gone since the listing leaves the file name alone.
  ASSERT_EQ(std::remove(ico.c_str()), 0);
  EXPECT_EQ(Tips().back(), "three.ico");
}

}  // namespace
