#include "support/framework/sizing_dialog.h"

#include <gtest/gtest.h>

#include "framework_test_resources.h"
#include "platform/ui/geometry.h"
#include "platform/ui/resources.h"

namespace {

using Info = cdxCSizingDialog::ControlInfo;
using List = cdxCSizingDialog::ControlList;

struct PlaceCase {
  const char* what;
  BYTE left, right, top, bottom;
  RECT expected;  // for the original {10, 20, 50, 40} after +100 wide, +60 high
};

TEST(SizingRules, EdgesMoveByTheirPercentageOfTheSizeChange) {
  const PlaceCase cases[] = {
      {"fixed", 0, 0, 0, 0, {10, 20, 50, 40}},
      {"moves right (mode 2, 0)", 100, 100, 0, 0, {110, 20, 150, 40}},
      {"stretches (mode 1, 1)", 0, 100, 0, 100, {10, 20, 150, 100}},
      {"half the width", 0, 50, 0, 0, {10, 20, 100, 40}},
      {"left half, right full", 50, 100, 0, 0, {60, 20, 150, 40}},
      {"moves down", 0, 0, 100, 100, {10, 80, 50, 100}},
      {"a third", 33, 33, 33, 33, {43, 39, 83, 59}},
  };
  List list;
  for (const PlaceCase& c : cases) {
    auto* info = new Info(list, nullptr, RECT{10, 20, 50, 40}, SIZE{300, 200}, c.left, c.right, c.top, c.bottom);
    const RECT placed = info->Place(SIZE{400, 260});
    EXPECT_EQ(CRect(placed), CRect(c.expected)) << c.what;
    delete info;
  }
  EXPECT_TRUE(list.IsEmpty());
}

TEST(SizingRules, NoDriftAndShrinkingBackRestoresTheOriginal) {
  List list;
  Info info(list, nullptr, RECT{7, 9, 31, 45}, SIZE{300, 200}, 33, 67, 50, 50);
  // Odd steps that each round differently; only the total change counts.
  const int steps[][2] = {{301, 201}, {317, 223}, {299, 199}, {451, 377}, {333, 211}};
  for (const auto& step : steps) {
    (void)info.Place(SIZE{step[0], step[1]});
  }
  EXPECT_EQ(CRect(info.Place(SIZE{333, 211})), CRect(info.Place(SIZE{333, 211})));
  EXPECT_EQ(CRect(info.Place(SIZE{300, 200})), CRect(7, 9, 31, 45));
}

TEST(SizingRules, ShrinkingNeverTurnsAControlInsideOut) {
  List list;
  Info info(list, nullptr, RECT{10, 10, 20, 20}, SIZE{100, 100}, 100, 0, 100, 0);
  const RECT placed = info.Place(SIZE{50, 50});
  EXPECT_GE(placed.right, placed.left);
  EXPECT_GE(placed.bottom, placed.top);
}

TEST(ControlList, EntriesUnlinkThemselvesInAnyOrder) {
  List list;
  auto* a = new Info(list, nullptr, RECT{}, SIZE{}, 0, 0, 0, 0);
  auto* b = new Info(list, nullptr, RECT{}, SIZE{}, 0, 0, 0, 0);
  auto* c = new Info(list, nullptr, RECT{}, SIZE{}, 0, 0, 0, 0);
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.GetHead(), a);
  EXPECT_EQ(List::GetNext(a), b);
  delete b;  // from the middle
  EXPECT_EQ(List::GetNext(a), c);
  EXPECT_EQ(list.GetCount(), 2);
  // The program's way to empty it.
  int deleted = 0;
  while (!list.IsEmpty()) {
    delete list.GetHead();
    ++deleted;
  }
  EXPECT_EQ(deleted, 2);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetHead(), nullptr);
  (void)c;
}

// A real dialog: registered controls follow the window's size.
class SizingDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dialog.Create(fw_test::kMainDialogId));
    m_dialog.ShowWindow(SW_SHOW);
  }
  void TearDown() override {
    if (m_dialog.GetSafeHwnd() != nullptr) {
      m_dialog.DestroyWindow();
    }
  }
  CRect ChildRect(UINT id) const {
    CRect rect;
    m_dialog.GetDlgItem(static_cast<int>(id))->GetWindowRect(&rect);
    m_dialog.ScreenToClient(&rect);
    return rect;
  }
  void Grow(int dx, int dy) {
    CRect window;
    m_dialog.GetWindowRect(&window);
    m_dialog.SetWindowPos(nullptr, 0, 0, window.Width() + dx, window.Height() + dy, SWP_NOMOVE | SWP_NOZORDER);
  }
  ScopedResources m_resources{fw_test::Resources()};
  cdxCSizingDialog m_dialog{fw_test::kMainDialogId};
};

TEST_F(SizingDialogTest, WiderBy100AndTallerBy60) {
  ASSERT_TRUE(m_dialog.AddSzControl(fw_test::kButtonId, cdxCSizingDialog::mdRepos, cdxCSizingDialog::mdNone));
  ASSERT_TRUE(m_dialog.AddSzControlEx(fw_test::kTreeId, 0, 50, 0, 0));
  ASSERT_TRUE(m_dialog.AddSzControlEx(fw_test::kListId, 50, 100, 0, 0));
  ASSERT_TRUE(m_dialog.AddSzControlEx(fw_test::kGroupId, 0, 100, 0, 100));
  const CRect button = ChildRect(fw_test::kButtonId), tree = ChildRect(fw_test::kTreeId),
              list = ChildRect(fw_test::kListId), group = ChildRect(fw_test::kGroupId);
  CRect client0;
  m_dialog.GetClientRect(&client0);

  Grow(100, 60);
  CRect client;
  m_dialog.GetClientRect(&client);
  ASSERT_EQ(client.Width() - client0.Width(), 100);
  ASSERT_EQ(client.Height() - client0.Height(), 60);
  EXPECT_EQ(ChildRect(fw_test::kButtonId), CRect(button.left + 100, button.top, button.right + 100, button.bottom));
  EXPECT_EQ(ChildRect(fw_test::kTreeId), CRect(tree.left, tree.top, tree.right + 50, tree.bottom));
  EXPECT_EQ(ChildRect(fw_test::kListId), CRect(list.left + 50, list.top, list.right + 100, list.bottom));
  EXPECT_EQ(ChildRect(fw_test::kGroupId), CRect(group.left, group.top, group.right + 100, group.bottom + 60));

  // Back and forth in odd steps: no accumulated rounding.
  for (int i = 0; i < 7; ++i) {
    Grow(13, -7);
  }
  Grow(-191, -11);
  EXPECT_EQ(ChildRect(fw_test::kTreeId), CRect(tree.left, tree.top, tree.right, tree.bottom));
  EXPECT_EQ(ChildRect(fw_test::kListId), list);
  EXPECT_EQ(ChildRect(fw_test::kGroupId), group);
  EXPECT_EQ(ChildRect(fw_test::kButtonId), button);
}

TEST_F(SizingDialogTest, RefusesUnknownControlsAndModes) {
  EXPECT_FALSE(m_dialog.AddSzControl(4242, 0, 0));
  EXPECT_FALSE(m_dialog.AddSzControl(fw_test::kButtonId, 3, 0));
  EXPECT_FALSE(m_dialog.AddSzControl(fw_test::kButtonId, 0, -1));
  EXPECT_FALSE(m_dialog.AddSzControlEx(fw_test::kButtonId, 0, 101, 0, 0));
  EXPECT_TRUE(m_dialog.Header.IsEmpty());
  EXPECT_TRUE(m_dialog.AddSzControl(fw_test::kButtonId, 1, 1));
  EXPECT_EQ(m_dialog.Header.GetCount(), 1);
}

}  // namespace
