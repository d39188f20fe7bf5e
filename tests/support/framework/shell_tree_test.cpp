#include "support/framework/shell_tree.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QKeyEvent>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ui/dialog.h"
#include "platform/ui/geometry.h"
#include "platform/ui/image_list.h"
#include "platform/ui/message_map.h"
#include "platform/ui/qt_bridge.h"
#include "support/framework/folder_reader.h"
#include "tests/common/ico_builder.h"

namespace fs = std::filesystem;

namespace {

constexpr UINT kTreeId = 1001;

// Runs the event loop until done holds; false after ms without it.
bool PumpUntil(const std::function<bool()>& done, int ms = 5000) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return true;
}

// Environment variables a test changes, put back after it.
class SavedEnv {
 public:
  explicit SavedEnv(const char* name) : m_name(name) {
    const char* value = std::getenv(name);
    m_had = value != nullptr;
    m_value = m_had ? value : "";
  }
  ~SavedEnv() {
    if (m_had) {
      ::setenv(m_name, m_value.c_str(), 1);
    } else {
      ::unsetenv(m_name);
    }
  }
  SavedEnv(const SavedEnv&) = delete;
  SavedEnv& operator=(const SavedEnv&) = delete;

 private:
  const char* m_name;
  bool m_had = false;
  std::string m_value;
};

// A file system that holds a read of one folder until the test lets it go,
// as a hung network mount would; other folders come from the disk.
struct BlockingFolder {
  std::string path;
  std::mutex mutex;
  std::condition_variable cv;
  bool released = false;
  int reads = 0;
  int returned = 0;

  std::vector<FolderEntry> Read(const std::string& folder, HiddenFolders hidden, std::size_t limit) {
    if (folder == path) {
      std::unique_lock lock(mutex);
      ++reads;
      // Bounded, so a read wrongly made on the user-interface thread
      // fails the test instead of hanging it.
      cv.wait_for(lock, std::chrono::seconds(10), [&] { return released; });
      ++returned;
    }
    return ReadSubfoldersFromDisk(folder, hidden, limit);
  }
  void Release() {
    {
      std::lock_guard lock(mutex);
      released = true;
    }
    cv.notify_all();
  }
  int Reads() {
    std::lock_guard lock(mutex);
    return reads;
  }
  int Returned() {
    std::lock_guard lock(mutex);
    return returned;
  }
};

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
    ::unsetenv("WINEPREFIX");
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_DATA_HOME");
    ASSERT_TRUE(m_host.CreateEx(0, WC_GENERIC, "host", WS_POPUP | WS_CAPTION, CRect(0, 0, 300, 300), nullptr, 0));
    ASSERT_TRUE(
        m_host.m_tree.Create(WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES, CRect(0, 0, 280, 280), &m_host, kTreeId));
    m_host.m_tree.EnableFolderKeys();
  }
  void TearDown() override {
    ReplaceSubfolderReader({});
    if (m_blocking) m_blocking->Release();
    if (m_host.GetSafeHwnd() != nullptr) {
      m_host.DestroyWindow();
    }
    ::setenv("HOME", m_savedHome.c_str(), 1);
  }
  void Folder(const std::string& rel) { fs::create_directories(m_home / rel); }
  void File(const std::string& rel) { std::ofstream(m_home / rel) << "x"; }

  CShellTree& Tree() { return m_host.m_tree; }
  QTreeWidget* Widget() { return qobject_cast<QTreeWidget*>(WidgetOfWindow(Tree().GetSafeHwnd())); }
  [[nodiscard]] bool ReadsDone() {
    return PumpUntil([&] { return !Tree().ReadsPending(); });
  }
  // Expands an item and waits for its children.
  void Open(HTREEITEM item) {
    Tree().Expand(item, TVE_EXPAND);
    ASSERT_TRUE(ReadsDone());
  }
  // Collapses and expands an item with the arrow keys, as a user does (the
  // platform notifies a program's own second expansion by no message).
  void UserReopen(HTREEITEM item) {
    Tree().SelectItem(item);
    PressKey(Qt::Key_Left, Qt::NoModifier);
    PressKey(Qt::Key_Right, Qt::NoModifier);
  }
  void PressKey(int key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(Widget(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(Widget(), &release);
  }
  // From now on a read of the folder waits until m_blocking->Release().
  void BlockReadsOf(const std::string& rel) {
    m_blocking = std::make_shared<BlockingFolder>();
    m_blocking->path = (m_home / rel).string();
    ReplaceSubfolderReader([blocking = m_blocking](const std::string& folder, HiddenFolders hidden, std::size_t limit) {
      return blocking->Read(folder, hidden, limit);
    });
  }
  // The places inside the fake home, as labelled; the machine's own
  // volumes may follow them.
  std::vector<std::string> PlaceNames() {
    std::vector<std::string> names;
    const std::string inside = m_home.string() + "/";
    for (HTREEITEM item = Tree().GetChildItem(Tree().GetRootItem()); item != nullptr;
         item = Tree().GetNextSiblingItem(item)) {
      if (Tree().GetItemPath(item).str().rfind(inside, 0) == 0) names.push_back(Tree().GetItemText(item).str());
    }
    return names;
  }
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
  std::shared_ptr<BlockingFolder> m_blocking;
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
  // "/" and home are there at once; the places follow their read.
  EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"/", m_home.string()}));
  EXPECT_EQ(Tree().GetItemPath(Tree().GetChildItem(root)), CString("/"));
  ASSERT_TRUE(ReadsDone());
  EXPECT_EQ(Tree().GetItemPath(Tree().GetNextSiblingItem(Tree().GetChildItem(root))), CString(m_home.c_str()));

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
  Open(home);
  EXPECT_EQ(ChildNames(home), (std::vector<std::string>{"Alpha", "alpha2", "beta", "delta", "gamma"}));

  // The program's own second expansion is not notified, so reads nothing.
  Folder("epsilon");
  Tree().Expand(home, TVE_COLLAPSE);
  Tree().Expand(home, TVE_EXPAND);
  EXPECT_FALSE(Tree().ReadsPending());
  EXPECT_EQ(ChildNames(home).size(), 5u);

  HTREEITEM gamma = Child(home, "gamma");
  ASSERT_NE(gamma, nullptr);
  Open(gamma);
  EXPECT_EQ(ChildNames(gamma), (std::vector<std::string>{"inner"}));
  HTREEITEM inner = Child(gamma, "inner");
  Open(inner);
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
  Open(home);
  HTREEITEM a = Child(home, "a");
  ASSERT_NE(a, nullptr);
  Open(a);
  EXPECT_EQ(ChildNames(a), (std::vector<std::string>{"b", "link"}));
  HTREEITEM b = Child(a, "b");
  Open(b);
  EXPECT_EQ(ChildNames(b), (std::vector<std::string>{"self", "up"}));

  for (const char* name : {"self", "up"}) {
    HTREEITEM loop = Child(b, name);
    ASSERT_NE(loop, nullptr);
    EXPECT_FALSE(Tree().ItemHasChildren(loop)) << name;
    Open(loop);
    EXPECT_EQ(Tree().GetChildItem(loop), nullptr) << name;
  }
  // A link elsewhere is followed like a folder.
  HTREEITEM link = Child(a, "link");
  Open(link);
  EXPECT_EQ(ChildNames(link), (std::vector<std::string>{"deep"}));
}

TEST_F(ShellTreeTest, EveryItemsDataIsFreedOnDeletion) {
  Folder("one");
  Folder("two");
  Tree().PopulateTree();
  Open(HomeItem());
  ASSERT_EQ(ChildNames(HomeItem()).size(), 2u);
  const int items = static_cast<int>(Tree().GetCount());
  ASSERT_GE(items, 5);  // Computer, /, home, one, two, and the machine's volumes
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

TEST_F(ShellTreeTest, WinePrefixesInTheHomeAreReachablePlaces) {
  Folder(".wine/drive_c/Program Files/App");
  Folder(".local/share/bottles/bottles/Games/drive_c");
  Folder("Desktop");
  Tree().PopulateTree();
  ASSERT_TRUE(ReadsDone());
  EXPECT_EQ(PlaceNames(), (std::vector<std::string>{"Desktop", "Wine: ~/.wine (drive_c)", "Bottles: Games (drive_c)"}));
  // Shown by its drive_c, opened without showing hidden folders.
  HTREEITEM wine = Tree().FindFolderItem((m_home / ".wine" / "drive_c").c_str());
  ASSERT_NE(wine, nullptr);
  EXPECT_EQ(Tree().GetParentItem(wine), Tree().GetRootItem());
  Open(wine);
  EXPECT_EQ(ChildNames(wine), (std::vector<std::string>{"Program Files"}));
  // The home folder is still selected: places do not move the selection.
  EXPECT_EQ(Tree().GetSelectedItem(), HomeItem());
}

TEST_F(ShellTreeTest, AVanishedPlaceGoesAwayAtTheNextRefresh) {
  Folder(".wine/drive_c");
  Folder("Downloads");
  Tree().PopulateTree();
  ASSERT_TRUE(ReadsDone());
  ASSERT_EQ(PlaceNames(), (std::vector<std::string>{"Downloads", "Wine: ~/.wine (drive_c)"}));
  const std::string driveC = (m_home / ".wine" / "drive_c").string();
  Tree().SelectItem(Tree().FindFolderItem(driveC.c_str()));
  ASSERT_EQ(m_host.m_selected.back(), CString(driveC.c_str()));

  fs::remove_all(m_home / ".wine");
  Folder("Desktop");
  PressKey(Qt::Key_F5, Qt::NoModifier);
  ASSERT_TRUE(ReadsDone());
  EXPECT_EQ(PlaceNames(), (std::vector<std::string>{"Desktop", "Downloads"}));
  EXPECT_EQ(Tree().FindFolderItem(driveC.c_str()), nullptr);
  // The selection went with it, to "Computer", and the owner was told.
  EXPECT_EQ(Tree().GetSelectedItem(), Tree().GetRootItem());
  EXPECT_EQ(m_host.m_selected.back(), CString("<not a folder>"));
}

TEST_F(ShellTreeTest, CtrlHShowsAndHidesDotFolders) {
  Folder(".config/inner");
  Folder("visible/.cache");
  Folder("visible/shown");
  Tree().PopulateTree();
  Open(HomeItem());
  HTREEITEM visible = Child(HomeItem(), "visible");
  ASSERT_NE(visible, nullptr);
  Open(visible);
  EXPECT_FALSE(Tree().ShowsHiddenFolders());
  EXPECT_EQ(ChildNames(HomeItem()), (std::vector<std::string>{"visible"}));

  PressKey(Qt::Key_H, Qt::ControlModifier);
  ASSERT_TRUE(ReadsDone());
  EXPECT_TRUE(Tree().ShowsHiddenFolders());
  EXPECT_EQ(ChildNames(HomeItem()), (std::vector<std::string>{".config", "visible"}));
  EXPECT_EQ(ChildNames(visible), (std::vector<std::string>{".cache", "shown"}));  // the open folder kept its item
  Open(Child(HomeItem(), ".config"));
  EXPECT_EQ(ChildNames(Child(HomeItem(), ".config")), (std::vector<std::string>{"inner"}));

  PressKey(Qt::Key_H, Qt::ControlModifier);
  ASSERT_TRUE(ReadsDone());
  EXPECT_FALSE(Tree().ShowsHiddenFolders());
  EXPECT_EQ(ChildNames(HomeItem()), (std::vector<std::string>{"visible"}));
  EXPECT_EQ(ChildNames(visible), (std::vector<std::string>{"shown"}));
  // H alone is the tree's own type-ahead, not the toggle.
  PressKey(Qt::Key_H, Qt::NoModifier);
  EXPECT_FALSE(Tree().ShowsHiddenFolders());
}

TEST_F(ShellTreeTest, AUserExpansionAfterACollapseReadsAgain) {
  Folder("one/inner");
  Folder("three");
  Tree().PopulateTree();
  Open(HomeItem());
  HTREEITEM one = Child(HomeItem(), "one");
  Open(one);
  Folder("two");
  fs::remove(m_home / "three");
  UserReopen(HomeItem());
  ASSERT_TRUE(ReadsDone());
  EXPECT_EQ(ChildNames(HomeItem()), (std::vector<std::string>{"one", "two"}));
  // A folder still there keeps its item and what was read below it.
  EXPECT_EQ(Child(HomeItem(), "one"), one);
  EXPECT_EQ(ChildNames(one), (std::vector<std::string>{"inner"}));
}

TEST_F(ShellTreeTest, ABlockedReadLeavesTheWindowRunningAndIsNotStartedTwice) {
  Folder("slow/zeta");
  Folder("slow/Alpha");
  Folder("slow/mid");
  BlockReadsOf("slow");
  Tree().PopulateTree();
  Open(HomeItem());
  HTREEITEM slow = Child(HomeItem(), "slow");
  ASSERT_NE(slow, nullptr);

  int ticks = 0;
  QTimer timer;
  timer.setInterval(10);
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start();
  Tree().Expand(slow, TVE_EXPAND);
  // The timer keeps running while the folder's read is held.
  EXPECT_TRUE(PumpUntil([&] { return m_blocking->Reads() == 1 && ticks >= 5; }));
  EXPECT_TRUE(Tree().ReadsPending());
  EXPECT_EQ(Tree().GetChildItem(slow), nullptr);
  // Collapsed and opened again meanwhile: still the one read.
  UserReopen(slow);
  const int before = ticks;
  EXPECT_TRUE(PumpUntil([&] { return ticks >= before + 5; }));
  EXPECT_EQ(m_blocking->Reads(), 1);
  EXPECT_TRUE(Tree().ReadsPending());

  m_blocking->Release();
  ASSERT_TRUE(ReadsDone());
  EXPECT_EQ(ChildNames(slow), (std::vector<std::string>{"Alpha", "mid", "zeta"}));
  EXPECT_EQ(m_blocking->Reads(), 1);
}

TEST_F(ShellTreeTest, AReadWhoseItemIsGoneIsDropped) {
  Folder("slow/child");
  BlockReadsOf("slow");
  Tree().PopulateTree();
  Open(HomeItem());
  Tree().Expand(Child(HomeItem(), "slow"), TVE_EXPAND);
  ASSERT_TRUE(PumpUntil([&] { return m_blocking->Reads() == 1; }));
  Tree().PopulateTree();  // deletes the item being read
  m_blocking->Release();
  ASSERT_TRUE(PumpUntil([&] { return m_blocking->Returned() == 1; }));
  ASSERT_TRUE(ReadsDone());
  // Give the dropped result's step its turn; it must touch nothing.
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
  static_cast<void>(PumpUntil([&] { return std::chrono::steady_clock::now() > until; }));
  EXPECT_EQ(Tree().GetChildItem(HomeItem()), nullptr);
  EXPECT_EQ(Tree().FindFolderItem((m_home / "slow" / "child").c_str()), nullptr);
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
  // Once the reads the way started are placed, the hidden folder kept its
  // place in name order beside what the read found; nothing was doubled.
  ASSERT_TRUE(ReadsDone());
  EXPECT_EQ(ChildNames(HomeItem()), (std::vector<std::string>{".wine", "Downloads", "Zeta"}));
  EXPECT_EQ(Tree().GetItemPath(Tree().GetSelectedItem()), CString(home.c_str()));
  Tree().SelectFolderPath((home + "/.wine").c_str());
  ASSERT_TRUE(ReadsDone());
  EXPECT_EQ(ChildNames(HomeItem()), (std::vector<std::string>{".wine", "Downloads", "Zeta"}));
  EXPECT_EQ(Tree().GetItemPath(Tree().GetSelectedItem()), CString((home + "/.wine").c_str()));
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
