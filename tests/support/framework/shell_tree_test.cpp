#include "support/framework/shell_tree.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/ui/dialog.h"
#include "platform/ui/geometry.h"
#include "platform/ui/image_list.h"
#include "platform/ui/message_map.h"
#include "tests/common/ico_builder.h"

namespace fs = std::filesystem;

namespace {

constexpr UINT kTreeId = 1001;

// A parent window that passes the tree's notifications to the operations,
// as the main window does, and records the selections.
class TreeHost : public CWnd {
 public:
  void OnExpanding(NMHDR* header, LRESULT* result) {
    m_tree.OnFolderExpanding(header, result);
    *result = 0;
  }
  void OnDelete(NMHDR* header, LRESULT* result) {
    m_tree.OnDeleteShellItem(header, result);
    ++m_deleted;
  }
  void OnSelChanged(NMHDR* header, LRESULT* result) {
    CString folder = "unchanged";
    m_selected.push_back(m_tree.OnFolderSelected(header, result, folder) ? folder : CString("<not a folder>"));
  }
  CShellTree m_tree;
  std::vector<CString> m_selected;
  int m_deleted = 0;

 protected:
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TreeHost, CWnd)
ON_NOTIFY(TVN_ITEMEXPANDING, kTreeId, OnExpanding)
ON_NOTIFY(TVN_DELETEITEM, kTreeId, OnDelete)
ON_NOTIFY(TVN_SELCHANGED, kTreeId, OnSelChanged)
END_MESSAGE_MAP()

class ShellTreeTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* home = std::getenv("HOME");
    m_savedHome = home != nullptr ? home : "";
    m_home = fs::path(m_temp.path()) / "home";
    fs::create_directories(m_home);
    ::setenv("HOME", m_home.c_str(), 1);
    ASSERT_TRUE(m_host.CreateEx(0, WC_GENERIC, "host", WS_POPUP | WS_CAPTION, CRect(0, 0, 300, 300), nullptr, 0));
    ASSERT_TRUE(m_host.m_tree.Create(WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES, CRect(0, 0, 280, 280), &m_host,
                                     kTreeId));
  }
  void TearDown() override {
    if (m_host.GetSafeHwnd() != nullptr) {
      m_host.DestroyWindow();
    }
    ::setenv("HOME", m_savedHome.c_str(), 1);
  }
  void Folder(const std::string& rel) { fs::create_directories(m_home / rel); }
  void File(const std::string& rel) { std::ofstream(m_home / rel) << "x"; }

  CShellTree& Tree() { return m_host.m_tree; }
  HTREEITEM HomeItem() { return Tree().FindFolderItem(m_home.c_str()); }
  std::vector<std::string> ChildNames(HTREEITEM item) {
    std::vector<std::string> names;
    for (HTREEITEM child = Tree().GetChildItem(item); child != nullptr; child = Tree().GetNextSiblingItem(child)) {
      names.push_back(Tree().GetItemText(child).str());
    }
    return names;
  }
  HTREEITEM Child(HTREEITEM item, const std::string& name) {
    for (HTREEITEM child = Tree().GetChildItem(item); child != nullptr; child = Tree().GetNextSiblingItem(child)) {
      if (Tree().GetItemText(child).str() == name) {
        return child;
      }
    }
    return nullptr;
  }

  ico_test::TempDir m_temp;
  fs::path m_home;
  std::string m_savedHome;
  TreeHost m_host;
};

TEST_F(ShellTreeTest, RootsAndTheHomeFolderSelectedAtStart) {
  Tree().EnableImages();
  ASSERT_NE(Tree().GetImageList(TVSIL_NORMAL), nullptr);
  EXPECT_EQ(Tree().GetImageList(TVSIL_NORMAL)->GetImageCount(), 4);
  Tree().PopulateTree();

  HTREEITEM root = Tree().GetRootItem();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Tree().GetItemText(root), CString("Computer"));
  EXPECT_EQ(Tree().GetItemPath(root), CString(""));
  EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"/", m_home.string()}));
  EXPECT_EQ(Tree().GetItemPath(Tree().GetChildItem(root)), CString("/"));

  EXPECT_EQ(Tree().GetSelectedItem(), HomeItem());
  ASSERT_FALSE(m_host.m_selected.empty());
  EXPECT_EQ(m_host.m_selected.back(), CString(m_home.c_str()));

  // The virtual root is no folder: zero, and the path is left alone.
  Tree().SelectItem(root);
  EXPECT_EQ(m_host.m_selected.back(), CString("<not a folder>"));
}

TEST_F(ShellTreeTest, ChildrenAreReadOnFirstExpansionFoldersOnlyInNameOrder) {
  Folder("beta");
  Folder("Alpha");
  Folder("alpha2");
  Folder("gamma/inner");
  Folder(".hidden");
  File("file.txt");
  Tree().PopulateTree();
  HTREEITEM home = HomeItem();
  ASSERT_NE(home, nullptr);
  EXPECT_EQ(Tree().GetChildItem(home), nullptr);  // nothing read yet
  EXPECT_TRUE(Tree().ItemHasChildren(home));

  // Created after populating but before the first expansion: still shown.
  Folder("delta");
  Tree().Expand(home, TVE_EXPAND);
  EXPECT_EQ(ChildNames(home), (std::vector<std::string>{"Alpha", "alpha2", "beta", "delta", "gamma"}));

  // A second expansion does not read again.
  Folder("epsilon");
  Tree().Expand(home, TVE_COLLAPSE);
  Tree().Expand(home, TVE_EXPAND);
  EXPECT_EQ(ChildNames(home).size(), 5u);

  HTREEITEM gamma = Child(home, "gamma");
  ASSERT_NE(gamma, nullptr);
  Tree().Expand(gamma, TVE_EXPAND);
  EXPECT_EQ(ChildNames(gamma), (std::vector<std::string>{"inner"}));
  HTREEITEM inner = Child(gamma, "inner");
  Tree().Expand(inner, TVE_EXPAND);
  EXPECT_FALSE(Tree().ItemHasChildren(inner));  // empty folder loses its button

  Tree().SelectItem(inner);
  EXPECT_EQ(m_host.m_selected.back(), CString((m_home / "gamma" / "inner").c_str()));
}

TEST_F(ShellTreeTest, LinkToAnAncestorIsShownButGetsNoChildren) {
  Folder("a/b");
  fs::create_directory_symlink(m_home, m_home / "a" / "b" / "up");
  fs::create_directory_symlink(m_home / "a" / "b", m_home / "a" / "b" / "self");
  Folder("target/deep");
  fs::create_directory_symlink(m_home / "target", m_home / "a" / "link");
  Tree().PopulateTree();
  HTREEITEM home = HomeItem();
  Tree().Expand(home, TVE_EXPAND);
  HTREEITEM a = Child(home, "a");
  ASSERT_NE(a, nullptr);
  Tree().Expand(a, TVE_EXPAND);
  EXPECT_EQ(ChildNames(a), (std::vector<std::string>{"b", "link"}));
  HTREEITEM b = Child(a, "b");
  Tree().Expand(b, TVE_EXPAND);
  EXPECT_EQ(ChildNames(b), (std::vector<std::string>{"self", "up"}));

  for (const char* name : {"self", "up"}) {
    HTREEITEM loop = Child(b, name);
    ASSERT_NE(loop, nullptr);
    EXPECT_FALSE(Tree().ItemHasChildren(loop)) << name;
    Tree().Expand(loop, TVE_EXPAND);
    EXPECT_EQ(Tree().GetChildItem(loop), nullptr) << name;
  }
  // A link elsewhere is followed like a folder.
  HTREEITEM link = Child(a, "link");
  Tree().Expand(link, TVE_EXPAND);
  EXPECT_EQ(ChildNames(link), (std::vector<std::string>{"deep"}));
}

TEST_F(ShellTreeTest, EveryItemsDataIsFreedOnDeletion) {
  Folder("one");
  Folder("two");
  Tree().PopulateTree();
  Tree().Expand(HomeItem(), TVE_EXPAND);
  const int items = static_cast<int>(Tree().GetCount());
  ASSERT_EQ(items, 5);  // Computer, /, home, one, two
  m_host.m_deleted = 0;
  Tree().DeleteAllItems();
  EXPECT_EQ(m_host.m_deleted, items);
  EXPECT_EQ(Tree().GetCount(), 0u);
}

TEST_F(ShellTreeTest, NullNotificationsAreIgnored) {
  LRESULT result = 7;
  CString folder = "kept";
  EXPECT_FALSE(Tree().OnFolderSelected(nullptr, &result, folder));
  EXPECT_EQ(folder, CString("kept"));
  Tree().OnFolderExpanding(nullptr, &result);
  Tree().OnDeleteShellItem(nullptr, &result);
  EXPECT_EQ(result, 0);
}

}  // namespace

namespace {

TEST_F(ShellTreeTest, SelectFolderPathExpandsTheWayAndNotifiesTheSelection) {
  Folder("Downloads/setup files/disk1");
  Folder("Downloads/a");
  Folder(".wine/drive_c/Program Files");
  Folder("Zeta");
  File("Downloads/file.exe");
  Tree().PopulateTree();
  const std::string home = m_home.string();

  struct Case {
    std::string path;
    std::string selected;  // empty: refused, the selection stays
  };
  const Case cases[] = {
      {home + "/Downloads/setup files/disk1", home + "/Downloads/setup files/disk1"},
      {home + "//Downloads/a/", home + "/Downloads/a"},
      // Hidden folders are not listed, but a folder asked for by name is shown.
      {home + "/.wine/drive_c/Program Files", home + "/.wine/drive_c/Program Files"},
      {home, home},
      {home + "/Downloads/file.exe", ""},
      {home + "/no such folder", ""},
      {"relative/path", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    const std::size_t before = m_host.m_selected.size();
    HTREEITEM item = Tree().SelectFolderPath(c.path.c_str());
    if (c.selected.empty()) {
      EXPECT_EQ(item, nullptr) << c.path;
      EXPECT_EQ(m_host.m_selected.size(), before) << c.path;
      continue;
    }
    ASSERT_NE(item, nullptr) << c.path;
    EXPECT_EQ(Tree().GetSelectedItem(), item);
    EXPECT_EQ(Tree().GetItemPath(item), CString(c.selected.c_str()));
    // The parent's notification handler saw it as a user's selection.
    ASSERT_GT(m_host.m_selected.size(), before) << c.path;
    EXPECT_EQ(m_host.m_selected.back(), CString(c.selected.c_str()));
  }
  // The hidden folder took its place in name order; nothing was doubled.
  EXPECT_EQ(ChildNames(HomeItem()), (std::vector<std::string>{".wine", "Downloads", "Zeta"}));
  Tree().SelectFolderPath((home + "/.wine").c_str());
  EXPECT_EQ(ChildNames(HomeItem()), (std::vector<std::string>{".wine", "Downloads", "Zeta"}));
}

TEST_F(ShellTreeTest, SelectFolderPathOutsideHomeGoesThroughTheFileSystemRoot) {
  ico_test::TempDir outside;
  fs::create_directories(fs::path(outside.path()) / "x" / "y");
  Tree().PopulateTree();
  const std::string target = outside.path() + "/x/y";
  HTREEITEM item = Tree().SelectFolderPath(target.c_str());
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(Tree().GetItemPath(item), CString(target.c_str()));
  HTREEITEM top = item;
  while (Tree().GetParentItem(Tree().GetParentItem(top)) != nullptr) top = Tree().GetParentItem(top);
  EXPECT_EQ(Tree().GetItemPath(top), CString("/"));
}

}  // namespace
