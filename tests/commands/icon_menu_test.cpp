// The icon list's popup menu from real right-clicks and from message
// 0xBE10: where it opens, where it does not, and which items it grays.

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/glimra_app.h"
#include "commands/icon_menu.h"
#include "mainwnd/glimra_dlg.h"
#include "platform/core/kernel_object.h"
#include "platform/ui/message_box.h"
#include "platform/ui/qt_bridge.h"
#include "res/resource_ids.h"
#include "tests/commands/window_input.h"
#include "tests/program_support/app_test_support.h"

namespace {

// Item text -> enabled, as the open popup shows it.
std::map<std::string, bool> ItemStates(QMenu& menu) {
  std::map<std::string, bool> states;
  for (QAction* action : menu.actions()) {
    if (!action->isSeparator()) states[action->text().toStdString()] = action->isEnabled();
  }
  return states;
}

class IconMenu : public MainWindowTest {
 protected:
  [[nodiscard]] HWND List() const { return dlg->m_lvIcons.GetSafeHwnd(); }
  [[nodiscard]] CRect ListClient() const {
    CRect client;
    dlg->m_lvIcons.GetClientRect(&client);
    return client;
  }
  // The list view's client origin in screen coordinates.
  [[nodiscard]] CPoint ListOrigin() const {
    CPoint origin(0, 0);
    dlg->m_lvIcons.ClientToScreen(&origin);
    return origin;
  }
  // Moves the main window so that the list view's client origin is at screen point to.
  void PlaceListAt(CPoint to) {
    // A window's rectangle and where a move puts it may differ by its frame;
    // a second move takes up the difference.
    for (int attempt = 0; attempt < 3 && ListOrigin() != to; ++attempt) {
      CRect frame;
      dlg->GetWindowRect(&frame);
      const CPoint from = ListOrigin();
      dlg->MoveWindow(frame.left + to.x - from.x, frame.top + to.y - from.y, frame.Width(), frame.Height());
      PumpUntil([&] { return ListOrigin() != from; }, 500);
    }
    ASSERT_EQ(ListOrigin(), to) << ListOrigin().x << "," << ListOrigin().y;
  }
  // The screen point each popup run opened at, counting runs; the runs end at once.
  void CountPopups() {
    SetModalHook([this](const ModalRun& run) -> std::optional<int> {
      if (run.kind != ModalKind::PopupMenu) return std::nullopt;
      ++popups;
      return 0;
    });
  }

  int popups = 0;
};

TEST_F(IconMenu, RightClickOnEmptyListSpaceOpensThePopupAtTheClick) {
  const QPoint at(ListClient().Width() - 6, ListClient().Height() - 6);
  std::map<std::string, bool> empty;
  QPoint openedAt;
  ASSERT_TRUE(WithNextPopupMenu([&] { ClickWindow(List(), at, Qt::RightButton); },
                                [&](QMenu& menu) {
                                  empty = ItemStates(menu);
                                  openedAt = menu.pos();
                                }));
  const CPoint screen = ListOrigin();
  EXPECT_EQ(openedAt, QPoint(screen.x + at.x(), screen.y + at.y()));
  // The popup follows the menu bar: with nothing listed, nothing applies.
  EXPECT_EQ(empty,
            (std::map<std::string, bool>{
                {"&Clear", false}, {"Save &As...", false}, {"&Info", false}, {"C&opy", false}, {"&Export...", false}}));

  ASSERT_EQ(dlg->m_lvIcons.InsertItem(0, ""), 0);
  ASSERT_EQ(dlg->m_lvIcons.InsertItem(1, ""), 1);
  std::map<std::string, bool> unselected;
  ASSERT_TRUE(WithNextPopupMenu([&] { ClickWindow(List(), at, Qt::RightButton); },
                                [&](QMenu& menu) { unselected = ItemStates(menu); }));
  EXPECT_EQ(unselected,
            (std::map<std::string, bool>{
                {"&Clear", true}, {"Save &As...", false}, {"&Info", false}, {"C&opy", false}, {"&Export...", false}}));
}

TEST_F(IconMenu, RightClickOnAnItemSelectsItAndOffersEveryCommand) {
  ASSERT_EQ(dlg->m_lvIcons.InsertItem(0, ""), 0);
  CRect item;
  ASSERT_TRUE(dlg->m_lvIcons.GetItemRect(0, &item, LVIR_BOUNDS));
  std::map<std::string, bool> states;
  ASSERT_TRUE(WithNextPopupMenu(
      [&] { ClickWindow(List(), QPoint(item.CenterPoint().x, item.CenterPoint().y), Qt::RightButton); },
      [&](QMenu& menu) { states = ItemStates(menu); }));
  EXPECT_EQ(dlg->m_lvIcons.GetNextItem(-1, LVNI_SELECTED), 0);
  EXPECT_EQ(states,
            (std::map<std::string, bool>{
                {"&Clear", true}, {"Save &As...", true}, {"&Info", true}, {"C&opy", true}, {"&Export...", true}}));

  // While a worker runs Clear is refused on the menu bar, and so here.
  HANDLE running = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  dlg->m_hWorkerThread = running;
  ASSERT_TRUE(WithNextPopupMenu(
      [&] { ClickWindow(List(), QPoint(item.CenterPoint().x, item.CenterPoint().y), Qt::RightButton); },
      [&](QMenu& menu) { states = ItemStates(menu); }));
  dlg->m_hWorkerThread = nullptr;
  CloseHandle(running);
  EXPECT_EQ(states,
            (std::map<std::string, bool>{
                {"&Clear", false}, {"Save &As...", true}, {"&Info", true}, {"C&opy", true}, {"&Export...", true}}));
}

TEST_F(IconMenu, RightClickOutsideTheListViewOpensNothing) {
  CountPopups();
  for (const HWND control : {dlg->m_treeFolders.GetSafeHwnd(), dlg->m_lstFiles.GetSafeHwnd(),
                             dlg->m_btnListIcon.GetSafeHwnd(), dlg->m_grpPathSelector.GetSafeHwnd()}) {
    ClickWindow(control, QPoint(4, 4), Qt::RightButton);
  }
  PumpEvents(20);
  EXPECT_EQ(popups, 0);

  // The window's own surface just below the list view, with the window at
  // the screen's origin: its client point taken as a screen point would lie
  // inside the list view.
  CRect frame;
  dlg->GetWindowRect(&frame);
  dlg->MoveWindow(0, 0, frame.Width(), frame.Height());
  ASSERT_TRUE(PumpUntil(
      [&] {
        dlg->GetWindowRect(&frame);
        return frame.left == 0 && frame.top == 0;
      },
      1000));
  const RECT list = ChildRect(*dlg, IDC_ICON_LIST);
  const CPoint below((list.left + list.right) / 2, list.bottom + 3);
  CPoint misread = below;
  dlg->m_lvIcons.ScreenToClient(&misread);
  ASSERT_TRUE(ListClient().PtInRect(misread)) << misread.x << "," << misread.y;
  ClickWindow(dlg->GetSafeHwnd(), QPoint(below.x, below.y), Qt::RightButton);
  PumpEvents(20);
  EXPECT_EQ(popups, 0);

  // The same route opens it for a point in the list view.
  ClickWindow(List(), QPoint(3, 3), Qt::RightButton);
  EXPECT_EQ(popups, 1);
}

TEST_F(IconMenu, NotifyMessageOpensThePopupAtItsUnsignedPoint) {
  PlaceListAt(CPoint(40, 90));
  QPoint openedAt;
  ASSERT_TRUE(WithNextPopupMenu([&] { dlg->SendMessage(WM_ICON_MENU_NOTIFY, WM_RBUTTONDOWN, MAKELPARAM(50, 100)); },
                                [&](QMenu& menu) { openedAt = menu.pos(); }));
  EXPECT_EQ(openedAt, QPoint(50, 100));

  CountPopups();
  // Another first parameter, or a point beside the list view, opens nothing.
  dlg->SendMessage(WM_ICON_MENU_NOTIFY, WM_RBUTTONUP, MAKELPARAM(50, 100));
  dlg->SendMessage(WM_ICON_MENU_NOTIFY, WM_CONTEXTMENU, MAKELPARAM(50, 100));
  dlg->SendMessage(WM_ICON_MENU_NOTIFY, WM_RBUTTONDOWN, MAKELPARAM(30, 100));
  EXPECT_EQ(popups, 0);

  // 0xFFFF is 65535 here, not -1: with the list view over the screen's
  // origin the point is still outside it.
  PlaceListAt(CPoint(-20, -20));
  dlg->SendMessage(WM_ICON_MENU_NOTIFY, WM_RBUTTONDOWN, MAKELPARAM(0xFFFF, 0xFFFF));
  EXPECT_EQ(popups, 0);
  dlg->SendMessage(WM_ICON_MENU_NOTIFY, WM_RBUTTONDOWN, MAKELPARAM(0, 0));
  EXPECT_EQ(popups, 1);
}

}  // namespace
