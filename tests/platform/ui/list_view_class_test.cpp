// The icon view's selection answers and its drawing from the image list.

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <vector>

#include "platform/core/icon_object.h"
#include "platform/ui/dialog.h"
#include "platform/ui/image_list.h"
#include "platform/ui/list_ctrl.h"
#include "platform/ui/qt_bridge.h"
#include "tests/platform/ui/ui_test_util.h"

namespace {

using namespace test_resources;

class IconViewDlg : public CDialog {
 public:
  IconViewDlg() : CDialog(kMainDialog) {}
  CListCtrl m_lvIcons;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 1002, m_lvIcons);
  }
  void OnOK() override {}
  void OnCancel() override {}
};

IconObject Solid(std::uint32_t argb) {
  IconObject icon;
  icon.width = 32;
  icon.height = 32;
  icon.bitCount = 32;
  icon.pixels.assign(std::size_t{32} * 32, argb);
  return icon;
}

class ListViewClassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dlg.Create(kMainDialog, nullptr));
    dlg.ShowWindow(SW_SHOW);
    ASSERT_TRUE(images.Create(32, 32, 0, 16, 16));
    dlg.m_lvIcons.SetImageList(&images, LVSIL_NORMAL);
  }
  void TearDown() override {
    dlg.m_lvIcons.SetImageList(nullptr, LVSIL_NORMAL);
    if (dlg.m_hWnd) dlg.DestroyWindow();
  }
  void Fill(int count, std::uint32_t argb) {
    IconObject icon = Solid(argb);
    for (int i = 0; i < count; ++i) ASSERT_EQ(dlg.m_lvIcons.InsertItem(i, "", images.Replace(-1, &icon)), i);
  }
  std::vector<int> Walk(int flags) const {
    std::vector<int> rows;
    for (int i = dlg.m_lvIcons.GetNextItem(-1, flags); i != -1; i = dlg.m_lvIcons.GetNextItem(i, flags)) {
      rows.push_back(i);
    }
    return rows;
  }
  std::vector<int> Selected() const {
    std::vector<int> rows;
    for (int i = 0; i < dlg.m_lvIcons.GetItemCount(); ++i) {
      if (dlg.m_lvIcons.GetItemState(i, LVIS_SELECTED) != 0) rows.push_back(i);
    }
    return rows;
  }
  ScopedResources resources{kTable};
  IconViewDlg dlg;
  CImageList images;
};

struct SelectionCase {
  const char* name;
  std::vector<std::pair<int, bool>> steps;  // item (-1: all), selected
  std::vector<int> expected;
};

// Selections made of single items, all items and holes punched into them,
// so the view's selection holds adjacent and overlapping ranges.
const SelectionCase kSelections[] = {
    {"none", {}, {}},
    {"scattered", {{7, true}, {2, true}, {11, true}}, {2, 7, 11}},
    {"adjacent singles", {{3, true}, {4, true}, {5, true}, {9, true}}, {3, 4, 5, 9}},
    {"all", {{-1, true}}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
    {"all with holes", {{-1, true}, {0, false}, {6, false}, {11, false}}, {1, 2, 3, 4, 5, 7, 8, 9, 10}},
    {"reselected hole", {{-1, true}, {6, false}, {6, true}, {5, true}}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
    {"cleared", {{4, true}, {-1, false}, {10, true}}, {10}},
};

TEST_F(ListViewClassTest, SelectedItemsAnswerInIndexOrderWithTheirCount) {
  Fill(12, 0xFF0000FFu);
  for (const SelectionCase& c : kSelections) {
    SCOPED_TRACE(c.name);
    dlg.m_lvIcons.SetItemState(-1, 0, LVIS_SELECTED);
    for (const auto& [item, on] : c.steps) dlg.m_lvIcons.SetItemState(item, on ? LVIS_SELECTED : 0, LVIS_SELECTED);
    EXPECT_EQ(Selected(), c.expected);
    EXPECT_EQ(Walk(LVNI_SELECTED), c.expected);
    EXPECT_EQ(dlg.m_lvIcons.GetSelectedCount(), c.expected.size());
    const int afterLast = c.expected.empty() ? -1 : dlg.m_lvIcons.GetNextItem(c.expected.back(), LVNI_SELECTED);
    EXPECT_EQ(afterLast, -1);
  }
}

TEST_F(ListViewClassTest, FocusedItemCombinesWithTheSelection) {
  Fill(6, 0xFF0000FFu);
  dlg.m_lvIcons.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  dlg.m_lvIcons.SetItemState(4, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(dlg.m_lvIcons.GetNextItem(-1, LVNI_FOCUSED), 4);
  EXPECT_EQ(dlg.m_lvIcons.GetNextItem(4, LVNI_FOCUSED), -1);
  EXPECT_EQ(dlg.m_lvIcons.GetNextItem(-1, LVNI_SELECTED | LVNI_FOCUSED), 4);
  dlg.m_lvIcons.SetItemState(3, LVIS_FOCUSED, LVIS_FOCUSED);
  EXPECT_EQ(dlg.m_lvIcons.GetNextItem(-1, LVNI_SELECTED | LVNI_FOCUSED), -1);
  EXPECT_EQ(Walk(LVNI_ALL), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST_F(ListViewClassTest, ItemsShowTheImageListsPictureAsItIsNow) {
  Fill(2, 0xFF0000FFu);
  Pump(20);
  auto* view = qobject_cast<QAbstractScrollArea*>(WidgetOfWindow(dlg.m_lvIcons.m_hWnd));
  ASSERT_NE(view, nullptr);
  QWidget* viewport = view->viewport();
  CRect icon;
  ASSERT_TRUE(dlg.m_lvIcons.GetItemRect(1, &icon, LVIR_ICON));
  auto pixelAtIcon = [&] {
    const QImage shot = viewport->grab().toImage();
    return shot.pixelColor(icon.CenterPoint().x, icon.CenterPoint().y).rgb() & 0x00FFFFFFu;
  };
  EXPECT_EQ(pixelAtIcon(), 0x000000FFu);
  // Replacing the stored picture changes what the item shows: the item has
  // no picture of its own.
  IconObject red = Solid(0xFFFF0000u);
  ASSERT_EQ(images.Replace(1, &red), 1);
  viewport->update();
  Pump(20);
  EXPECT_EQ(pixelAtIcon(), 0x00FF0000u);
}

TEST_F(ListViewClassTest, ItemsFillRowsOfTheViewsWidthAndReflowWhenItChanges) {
  Fill(10, 0xFF0000FFu);
  CWnd& view = dlg.m_lvIcons;
  auto columnsAt = [&](int width) {
    view.SetWindowPos(nullptr, 0, 0, width, 300, SWP_NOZORDER | SWP_NOMOVE);
    Pump(20);
    CRect first, item;
    EXPECT_TRUE(dlg.m_lvIcons.GetItemRect(0, &first, LVIR_BOUNDS));
    int columns = 1;
    while (columns < 10 && dlg.m_lvIcons.GetItemRect(columns, &item, LVIR_BOUNDS) && item.top == first.top) ++columns;
    return columns;
  };
  const auto border = [&] {
    CRect outer, client;
    view.GetWindowRect(&outer);
    view.GetClientRect(&client);
    return outer.Width() - client.Width();
  };
  columnsAt(400);
  const int frame = border();
  // Cells of the default spacing, 75 wide; a vertical scroll bar may take
  // its width too, so the widths leave room for one.
  EXPECT_EQ(columnsAt(frame + 3 * 75 + 40), 3);
  EXPECT_EQ(columnsAt(frame + 5 * 75 + 40), 5);
  // Each item is found where it is drawn, and nothing past the last one.
  CRect cell;
  ASSERT_TRUE(dlg.m_lvIcons.GetItemRect(7, &cell, LVIR_BOUNDS));
  EXPECT_EQ(dlg.m_lvIcons.HitTest(cell.CenterPoint()), 7);
  CRect last;
  ASSERT_TRUE(dlg.m_lvIcons.GetItemRect(9, &last, LVIR_BOUNDS));
  EXPECT_EQ(dlg.m_lvIcons.HitTest(CPoint(last.right + 5, last.top + 5)), -1);
}

TEST_F(ListViewClassTest, AnItemAppendedOutOfSightCanBeScrolledTo) {
  dlg.m_lvIcons.SetWindowPos(nullptr, 0, 0, 200, 150, SWP_NOZORDER | SWP_NOMOVE);
  Pump(20);
  Fill(200, 0xFF0000FFu);
  // At once, before the view has brought its scroll range up to date.
  ASSERT_TRUE(dlg.m_lvIcons.EnsureVisible(199, FALSE));
  CRect client, cell;
  dlg.m_lvIcons.GetClientRect(&client);
  ASSERT_TRUE(dlg.m_lvIcons.GetItemRect(199, &cell, LVIR_BOUNDS));
  EXPECT_GE(cell.top, 0);
  EXPECT_LE(cell.bottom, client.bottom);
}

}  // namespace
