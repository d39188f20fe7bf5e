// The control behaviours the program relies on.

#include <gtest/gtest.h>

#include <QListWidget>
#include <QTreeWidget>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/icon_object.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/dialog.h"
#include "platform/ui/image_list.h"
#include "platform/ui/list_box.h"
#include "platform/ui/list_ctrl.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/tree_ctrl.h"
#include "tests/platform/ui/ui_test_util.h"

namespace {

using namespace test_resources;
std::vector<std::string> g_events;

class ControlsDlg : public CDialog {
 public:
  ControlsDlg() : CDialog(kMainDialog) {}
  CListBox m_lstFiles;
  CComboBox m_cboFileType;
  CListCtrl m_lvIcons;
  CTreeCtrl m_treeFolders;
  HTREEITEM addChildTo = nullptr;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 1001, m_treeFolders);
    DDX_Control(pDX, 1002, m_lvIcons);
    DDX_Control(pDX, 1034, m_lstFiles);
    DDX_Control(pDX, 1089, m_cboFileType);
  }
  afx_msg void OnSelchangeFileList() { g_events.push_back("LBN_SELCHANGE"); }
  afx_msg void OnEditchange() { g_events.push_back("CBN_EDITCHANGE"); }
  afx_msg void OnExpanding(NMHDR* h, LRESULT* result) {
    auto* nm = reinterpret_cast<NMTREEVIEW*>(h);
    g_events.push_back("expanding " + std::string(nm->itemNew.pszText));
    // Lazy children: added when the item first opens.
    if (nm->action == TVE_EXPAND && !m_treeFolders.GetChildItem(nm->itemNew.hItem)) {
      m_treeFolders.InsertItem("lazy", nm->itemNew.hItem);
    }
    *result = 0;
  }
  afx_msg void OnSelchanged(NMHDR* h, LRESULT* result) {
    auto* nm = reinterpret_cast<NMTREEVIEW*>(h);
    g_events.push_back("selchanged " + m_treeFolders.GetItemText(nm->itemNew.hItem).str());
    *result = 0;
  }
  afx_msg void OnDeleteItem(NMHDR* h, LRESULT* result) {
    auto* nm = reinterpret_cast<NMTREEVIEW*>(h);
    g_events.push_back("delete " + std::to_string(nm->itemOld.lParam));
    *result = 0;
  }
  void OnOK() override {}
  void OnCancel() override {}
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ControlsDlg, CDialog)
ON_LBN_SELCHANGE(1034, OnSelchangeFileList)
ON_CBN_EDITCHANGE(1089, OnEditchange)
ON_NOTIFY(TVN_ITEMEXPANDING, 1001, OnExpanding)
ON_NOTIFY(TVN_SELCHANGED, 1001, OnSelchanged)
ON_NOTIFY(TVN_DELETEITEM, 1001, OnDeleteItem)
END_MESSAGE_MAP()

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_events.clear();
    ASSERT_TRUE(dlg.Create(kMainDialog, nullptr));
    dlg.ShowWindow(SW_SHOW);
  }
  void TearDown() override {
    if (dlg.m_hWnd) dlg.DestroyWindow();
  }
  ScopedResources resources{kTable};
  ControlsDlg dlg;
};

TEST_F(ControlsTest, SortedListBoxKeepsCaseInsensitiveOrderAndReportsSelectionAscending) {
  for (const char* name : {"c.exe", "B.ico", "a.ICO", "b.dll"}) dlg.m_lstFiles.AddString(name);
  std::vector<std::string> order;
  for (int i = 0; i < dlg.m_lstFiles.GetCount(); ++i) {
    CString s;
    dlg.m_lstFiles.GetText(i, s);
    order.push_back(s.str());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"a.ICO", "b.dll", "B.ico", "c.exe"}));
  // Selected in the order 3, 0, 2: reported ascending. No notification for
  // the program's own changes.
  dlg.m_lstFiles.SetSel(3);
  dlg.m_lstFiles.SetSel(0);
  dlg.m_lstFiles.SetSel(2);
  EXPECT_TRUE(g_events.empty());
  ASSERT_EQ(dlg.m_lstFiles.GetSelCount(), 3);
  int items[8] = {};
  ASSERT_EQ(dlg.m_lstFiles.GetSelItems(8, items), 3);
  EXPECT_EQ((std::vector<int>(items, items + 3)), (std::vector<int>{0, 2, 3}));
  EXPECT_EQ(dlg.m_lstFiles.GetSelItems(2, items), 2);
  EXPECT_EQ(dlg.m_lstFiles.SetCurSel(1), LB_ERR);  // extended selection: no single "current selection"
  // The user's change is notified.
  auto* widget = static_cast<QListWidget*>(WidgetOfWindow(dlg.m_lstFiles.m_hWnd));
  widget->item(1)->setSelected(true);
  EXPECT_EQ(g_events, (std::vector<std::string>{"LBN_SELCHANGE"}));
  dlg.m_lstFiles.ResetContent();
  EXPECT_EQ(dlg.m_lstFiles.GetCount(), 0);
  EXPECT_EQ(dlg.m_lstFiles.GetSelCount(), 0);
}

TEST_F(ControlsTest, ComboPrefixSearchIgnoresCaseStartsAfterTheGivenItemAndWraps) {
  CComboBox& combo = dlg.m_cboFileType;
  for (const char* s : {"*.*", "*.ICO", "*.exe", "*.icons"}) combo.AddString(s);
  struct Case {
    int after;
    const char* text;
    int expect;
  } cases[] = {
      {-1, "*.ico", 1}, {1, "*.ico", 3}, {3, "*.ico", 1}, {-1, "*.E", 2}, {-1, "*.dll", CB_ERR}, {-1, "", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(combo.FindString(c.after, c.text), c.expect) << c.after << " " << c.text;
  EXPECT_EQ(combo.FindStringExact(-1, "*.ico"), 1);
  EXPECT_EQ(combo.FindStringExact(-1, "*.ic"), CB_ERR);
}

// List box and combo box answer searches and item texts by the same rules.
// The items are added in their case-insensitive order, so the sorted list
// box and the unsorted combo box number them alike.
TEST_F(ControlsTest, ListAndComboSearchWrapAroundAndCopyItemsAlike) {
  struct Control {
    const char* name;
    std::function<void(const char*)> add;
    std::function<int(int, const char*)> find;
    std::function<int(int, const char*)> findExact;
    std::function<CString(int)> text;
    std::function<int(int)> textLength;
  };
  CListBox& list = dlg.m_lstFiles;
  CComboBox& combo = dlg.m_cboFileType;
  const Control controls[] = {
      {"list box", [&](const char* s) { list.AddString(s); },
       [&](int after, const char* s) { return list.FindString(after, s); },
       [&](int after, const char* s) { return list.FindStringExact(after, s); },
       [&](int i) {
         CString s;
         list.GetText(i, s);
         return s;
       },
       [&](int i) { return list.GetTextLen(i); }},
      {"combo box", [&](const char* s) { combo.AddString(s); },
       [&](int after, const char* s) { return combo.FindString(after, s); },
       [&](int after, const char* s) { return combo.FindStringExact(after, s); },
       [&](int i) {
         CString s;
         combo.GetLBText(i, s);
         return s;
       },
       [&](int i) { return combo.GetLBTextLen(i); }},
  };
  struct Find {
    int after;
    const char* text;
    bool exact;
    int expect;
  };
  const Find finds[] = {
      {-1, "b.ico", false, 1},                          // prefix of "B.ico" and "b.icons", any case: the first
      {1, "b.ico", false, 2},                           // starts after the given item
      {2, "B.ICO", false, 1},                           // wraps round past the end
      {3, "a", false, 0},                               // after the last item: from the start
      {7, "c", false, 3},                               // past the end: from the start
      {-5, "c", false, 3},                              // below -1: from the start
      {-1, "", false, 0},                               // every item begins with nothing
      {-1, "dll", false, -1},                           // a prefix, not a substring
      {-1, "b.ico", true, 1},   {1, "B.ICO", true, 1},  // exact, wrapping round to the item itself
      {-1, "b.icon", true, -1},
  };
  for (const Control& c : controls) {
    for (const char* s : {"a.dll", "B.ico", "b.icons", "c.exe"}) c.add(s);
    for (const Find& f : finds) {
      EXPECT_EQ(f.exact ? c.findExact(f.after, f.text) : c.find(f.after, f.text), f.expect)
          << c.name << " after " << f.after << " \"" << f.text << "\"";
    }
    EXPECT_EQ(c.text(2), "b.icons") << c.name;
    EXPECT_EQ(c.textLength(2), 7) << c.name;
    for (int outside : {-1, 4}) {
      EXPECT_EQ(c.text(outside), "") << c.name;
      EXPECT_EQ(c.textLength(outside), -1) << c.name;
    }
  }
  EXPECT_EQ(list.FindString(-1, "x"), LB_ERR);
  EXPECT_EQ(combo.FindString(-1, "x"), CB_ERR);
}

TEST_F(ControlsTest, ComboResetEmptiesListAndEditAndAddingKeepsTheEditText) {
  CComboBox& combo = dlg.m_cboFileType;
  combo.SetWindowText("*.exe");
  combo.AddString("*.dll");
  CString text;
  combo.GetWindowText(text);
  EXPECT_EQ(text, "*.exe");
  EXPECT_EQ(combo.SetCurSel(0), 0);
  combo.GetWindowText(text);
  EXPECT_EQ(text, "*.dll");
  combo.ResetContent();
  combo.GetWindowText(text);
  EXPECT_EQ(text, "");
  EXPECT_EQ(combo.GetCount(), 0);
  EXPECT_TRUE(g_events.empty());  // the program's changes are not notified
}

IconObject SolidIcon(int size, std::uint32_t argb) {
  IconObject icon;
  icon.width = size;
  icon.height = size;
  icon.bitCount = 32;
  icon.pixels.assign(static_cast<std::size_t>(size) * static_cast<std::size_t>(size), argb);
  return icon;
}

TEST_F(ControlsTest, ImageListStoresScaledCopiesAndRemovesByIndex) {
  CImageList list;
  ASSERT_TRUE(list.Create(32, 32, 0, 25, 20));
  IconObject big = SolidIcon(48, 0xFFFF0000u), small = SolidIcon(16, 0xFF00FF00u);
  EXPECT_EQ(list.Replace(-1, &big), 0);
  EXPECT_EQ(list.Replace(-1, &small), 1);
  EXPECT_EQ(list.Replace(-1, nullptr), -1);
  EXPECT_EQ(list.GetImageCount(), 2);
  std::vector<std::uint32_t> first = ImageList_GetPixels(list, 0);
  ASSERT_EQ(first.size(), 32u * 32u);
  EXPECT_EQ(first[0] & 0x00FFFFFFu, 0x00FF0000u);
  EXPECT_TRUE(list.Remove(0));
  EXPECT_EQ(list.GetImageCount(), 1);
  EXPECT_EQ(ImageList_GetPixels(list, 0)[0] & 0x00FFFFFFu, 0x0000FF00u);
  EXPECT_FALSE(list.Remove(5));
  EXPECT_TRUE(list.Remove(0));
  EXPECT_EQ(list.GetImageCount(), 0);
  EXPECT_EQ(list.Replace(-1, &small), 0);
}

TEST_F(ControlsTest, ListViewReportsSelectedItemsInIndexOrderAndHitTests) {
  CListCtrl& lv = dlg.m_lvIcons;
  CImageList images;
  ASSERT_TRUE(images.Create(32, 32, 0, 25, 20));
  EXPECT_EQ(lv.SetImageList(&images, LVSIL_NORMAL), nullptr);
  lv.SetIconSpacing(48, 48);
  IconObject icon = SolidIcon(32, 0xFF0000FFu);
  for (int i = 0; i < 6; ++i) {
    int image = images.Replace(-1, &icon);
    LVITEM item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = lv.GetItemCount();
    item.pszText = const_cast<char*>("");
    item.iImage = image;
    EXPECT_EQ(lv.InsertItem(&item), i);
  }
  EXPECT_EQ(lv.GetItemCount(), 6);
  EXPECT_EQ(lv.GetNextItem(-1, LVNI_SELECTED), -1);
  lv.SetItemState(4, LVIS_SELECTED, LVIS_SELECTED);
  lv.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  std::vector<int> selected;
  for (int i = lv.GetNextItem(-1, LVNI_SELECTED); i != -1; i = lv.GetNextItem(i, LVNI_SELECTED)) selected.push_back(i);
  EXPECT_EQ(selected, (std::vector<int>{1, 4}));
  EXPECT_EQ(lv.GetSelectedCount(), 2u);

  Pump(20);
  CRect cell;
  ASSERT_TRUE(lv.GetItemRect(0, &cell, LVIR_ICON));
  UINT flags = 0;
  EXPECT_EQ(lv.HitTest(cell.CenterPoint(), &flags), 0);
  EXPECT_EQ(flags, LVHT_ONITEMICON);
  CRect client;
  lv.GetClientRect(&client);
  EXPECT_EQ(lv.HitTest(CPoint(client.right - 2, client.bottom - 2), &flags), -1);
  EXPECT_EQ(flags, LVHT_NOWHERE);
  EXPECT_EQ(lv.HitTest(CPoint(client.right + 5, 5), &flags), -1);
  EXPECT_EQ(flags & (LVHT_NOWHERE | LVHT_ONITEMICON), 0u);  // outside the client area
  EXPECT_EQ(lv.HitTest(CPoint(-3, -3), &flags), -1);
  EXPECT_EQ(flags, LVHT_ABOVE | LVHT_TOLEFT);

  EXPECT_TRUE(lv.DeleteAllItems());
  EXPECT_EQ(lv.GetItemCount(), 0);
  lv.SetImageList(nullptr, LVSIL_NORMAL);
}

TEST_F(ControlsTest, TreeNotifiesExpandingSelectionAndDeletionInOrder) {
  CTreeCtrl& tree = dlg.m_treeFolders;
  TVINSERTSTRUCT insert{};
  insert.hParent = TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>("root");
  insert.item.cChildren = 1;
  insert.item.lParam = 1;
  HTREEITEM root = tree.InsertItem(&insert);
  ASSERT_NE(root, nullptr);
  EXPECT_TRUE(tree.ItemHasChildren(root));
  EXPECT_EQ(tree.GetChildItem(root), nullptr);

  EXPECT_TRUE(tree.Expand(root, TVE_EXPAND));
  HTREEITEM lazy = tree.GetChildItem(root);
  ASSERT_NE(lazy, nullptr);
  EXPECT_EQ(tree.GetItemText(lazy), "lazy");
  EXPECT_TRUE(tree.GetItemState(root, TVIS_EXPANDED) & TVIS_EXPANDED);
  tree.SetItemData(lazy, 2);
  // A user's expansion is notified every time; the message's only the first time.
  tree.Expand(root, TVE_COLLAPSE);
  tree.Expand(root, TVE_EXPAND);
  auto* widget = static_cast<QTreeWidget*>(WidgetOfWindow(tree.m_hWnd));
  widget->collapseItem(widget->topLevelItem(0));
  widget->expandItem(widget->topLevelItem(0));

  tree.SelectItem(lazy);
  EXPECT_EQ(tree.GetSelectedItem(), lazy);
  tree.DeleteItem(root);
  EXPECT_EQ(tree.GetCount(), 0u);
  EXPECT_EQ(g_events, (std::vector<std::string>{"expanding root", "expanding root", "expanding root", "selchanged lazy",
                                                "delete 2", "delete 1"}));
}

TEST_F(ControlsTest, DestroyingTheTreeDeletesItsItemsWithNotifications) {
  dlg.m_treeFolders.InsertItem(TVIF_TEXT | TVIF_PARAM, "a", 0, 0, 0, 0, 10, TVI_ROOT, TVI_LAST);
  dlg.m_treeFolders.InsertItem(TVIF_TEXT | TVIF_PARAM, "b", 0, 0, 0, 0, 11, TVI_ROOT, TVI_LAST);
  dlg.DestroyWindow();
  EXPECT_EQ(g_events, (std::vector<std::string>{"delete 11", "delete 10"}));
}

}  // namespace
