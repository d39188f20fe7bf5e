// The folder tree's selection and the deferred refresh: the group caption,
// the file list, the pattern list with its extension items, the timer that
// only the last of quick selections reaches, refreshes dropped while the
// window cannot be seen, and items that are no folder.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <string>
#include <vector>

#include "mainwnd/glimra_dlg.h"
#include "mainwnd/search_path.h"
#include "tests/mainwnd/selection_fixture.h"
#include "tests/program_support/app_test_support.h"

namespace {

using Names = std::vector<std::string>;

TEST_F(SelectionWindow, RefreshShowsTheFolderFillsTheListAndRebuildsThePatterns) {
  struct Row {
    const char* folder;
    std::initializer_list<const char*> files;
    const char* typed;  // pattern in the edit field when the folder is selected
    Names listed;
    Names patterns;
    const char* editAfter;
  };
  const Row rows[] = {
      // ".ico" begins the ".ICO" item when case is ignored; no second "*.*".
      {"mixed", {"b.ico", "c.exe", "a.ICO"}, "", {"a.ICO", "b.ico", "c.exe"}, {"*.*", "*.ICO", "*.exe"}, "*.*"},
      {"nodot", {"README", "x.txt"}, "*.*", {"README", "x.txt"}, {"*.*", "*README", "*.txt"}, "*.*"},
      // Trailing blanks go; the pattern heads the list and "*.*" ends it.
      {"exes", {"c.exe", "d.EXE", "e.dll"}, "*.exe  ", {"c.exe", "d.EXE"}, {"*.exe", "*.*"}, "*.exe"},
      // An item is left out when one already there begins with it ("*.ex*"
      // with "*.ex"), not when it begins with one ("*.exe").
      {"prefix", {"a.ex", "b.exe"}, "*.ex*", {"a.ex", "b.exe"}, {"*.ex*", "*.exe", "*.*"}, "*.ex*"},
      {"cases", {"c.EX", "b.exe", "a.Ex"}, "", {"a.Ex", "b.exe", "c.EX"}, {"*.*", "*.Ex", "*.exe"}, "*.*"},
      {"none", {"a.txt"}, "*.png", {}, {"*.png", "*.*"}, "*.png"},
      // The caption takes the name as it is, "&" included.
      {"a&b", {"z.ico"}, "", {"z.ico"}, {"*.*", "*.ico"}, "*.*"},
  };
  std::vector<std::string> folders;
  for (const Row& row : rows) folders.push_back(MakeFolder(row.folder, row.files));

  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Row& row = rows[i];
    SCOPED_TRACE(row.folder);
    ClearPattern();
    TypeIntoPattern(row.typed);
    SelectFolder(folders[i]);
    EXPECT_EQ(dlg->m_strFolder.str(), folders[i]);
    ASSERT_TRUE(WaitForRefreshOf(folders[i]));
    EXPECT_EQ(FileListNames(), row.listed);
    EXPECT_EQ(PatternItems(), row.patterns);
    EXPECT_EQ(PatternText(), row.editAfter);
    EXPECT_EQ(dlg->m_strFileListFolder.str(), folders[i]);
  }
}

TEST_F(SelectionWindow, QuickSelectionsRefreshOnlyTheLastFolderOnce) {
  const std::string first = MakeFolder("one", {"1.ico"});
  const std::string second = MakeFolder("two", {"2.ico"});
  const std::string third = MakeFolder("three", {"3.ico"});
  QElapsedTimer clock;
  SelectFolder(first);
  PumpEvents(150);
  SelectFolder(second);
  PumpEvents(150);
  SelectFolder(third);
  clock.start();
  // The tree moves the folder at once; the list follows at the refresh.
  EXPECT_EQ(dlg->m_strFolder.str(), third);
  EXPECT_TRUE(searchPaths.empty());
  ASSERT_TRUE(WaitForRefreshOf(third));
  // Qt's coarse timers may fire up to 5 % early.
  EXPECT_GE(clock.elapsed(), 470);
  PumpEvents(700);
  EXPECT_EQ(searchPaths, Names{third + "/*.*"});
  EXPECT_EQ(FileListNames(), Names{"3.ico"});
}

TEST_F(SelectionWindow, RefreshFallingDueWhileTheWindowCannotBeSeenIsDropped) {
  struct Row {
    const char* name;
    int hide;
    int show;
  };
  const Row rows[] = {{"minimized", SW_MINIMIZE, SW_RESTORE}, {"hidden", SW_HIDE, SW_SHOW}};
  std::vector<std::string> folders;
  for (const Row& row : rows) folders.push_back(MakeFolder(row.name, {"x.ico"}));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(rows[i].name);
    searchPaths.clear();
    SelectFolder(folders[i]);
    dlg->ShowWindow(rows[i].hide);
    PumpEvents(50);
    ASSERT_TRUE(rows[i].hide == SW_MINIMIZE ? dlg->IsIconic() : !dlg->IsWindowVisible());
    PumpEvents(800);
    dlg->ShowWindow(rows[i].show);
    PumpEvents(700);
    // The timer is gone with the dropped refresh: nothing catches up.
    EXPECT_TRUE(searchPaths.empty());
    EXPECT_EQ(Caption(), "&Path selector: " + home);
    EXPECT_EQ(dlg->m_strFolder.str(), folders[i]);
    // The next selection refreshes again.
    SelectFolder(home);
    ASSERT_TRUE(WaitForRefreshOf(home));
  }
}

TEST_F(SelectionWindow, ItemThatIsNoFolderEmptiesTheListAndKeepsTheFolder) {
  struct Row {
    const char* name;
    bool recursive;
    bool selectFile;
    bool buttonAfter;
  };
  // With "Recursive" a walk of the last folder may still start.
  const Row rows[] = {
      {"recursive", true, false, true},
      {"selected files", false, true, false},
      {"nothing", false, false, false},
  };
  const std::string folder = MakeFolder("kept", {"a.ico", "b.ico"});
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SelectFolder(folder);
    ASSERT_TRUE(WaitForRefreshOf(folder));
    if (row.recursive != (dlg->m_chkRecursive.GetCheck() == BST_CHECKED)) ClickRecursive();
    if (row.selectFile) ClickFileListItem(0);
    ASSERT_EQ(ListButtonEnabled(), row.recursive || row.selectFile);
    SelectComputer();
    EXPECT_EQ(dlg->m_lstFiles.GetCount(), 0);
    EXPECT_EQ(dlg->m_strFolder.str(), folder);
    EXPECT_EQ(ListButtonEnabled(), row.buttonAfter);
    EXPECT_EQ(dlg->m_bCanList != FALSE, row.buttonAfter);
    // No refresh follows; the caption keeps the last folder shown.
    PumpEvents(700);
    EXPECT_EQ(Caption(), "&Path selector: " + folder);
    EXPECT_EQ(dlg->m_lstFiles.GetCount(), 0);
  }
}

TEST_F(SelectionWindow, BackgroundFillGivesTheOrderOfTheDesignedFill) {
  // Enough names for many slices, in mixed case, with names equal but for case.
  std::vector<std::string> files{"same.ico", "SAME.ico", "Same.ico"};
  for (int i = 0; i < 3000; ++i) {
    files.push_back((i % 3 == 0 ? "F" : "f") + std::to_string((i * 7919) % 3000) + (i % 2 ? ".ico" : ".ICO"));
  }
  const std::string folder = MakeFolder("many", {});
  for (const std::string& file : files) Touch(folder + "/" + file);
  SelectFolder(folder);
  ASSERT_TRUE(WaitForRefreshOf(folder));
  EXPECT_FALSE(FileListFillPending(dlg->m_lstFiles));
  const Names filled = FileListNames();
  EXPECT_EQ(filled.size(), files.size());
  EXPECT_EQ(PatternItems(), (Names{"*.*", "*.ICO"}));
  FillFileListFor(JoinSearchPath(folder.c_str(), "*.*", SeparatorRule::kAlways), dlg->m_lstFiles);
  EXPECT_EQ(FileListNames(), filled);
}

TEST_F(SelectionWindow, ANewerRefreshSupersedesTheOlderFill) {
  const std::string older = MakeFolder("older", {"o1.exe", "o2.dll"});
  const std::string newer = MakeFolder("newer", {"n.ico"});
  searchPaths.clear();
  dlg->m_strFolder = older.c_str();
  ASSERT_TRUE(dlg->RefreshFolder());
  dlg->m_strFolder = newer.c_str();
  ASSERT_TRUE(dlg->RefreshFolder());
  // Whichever read ends first, only the newer fill shows and finishes.
  ASSERT_TRUE(PumpUntil([&] { return !FileListFillPending(dlg->m_lstFiles); }, 3000));
  PumpEvents(200);
  EXPECT_EQ(FileListNames(), Names{"n.ico"});
  EXPECT_EQ(PatternItems(), (Names{"*.*", "*.ico"}));
  EXPECT_EQ(searchPaths, Names{newer + "/*.*"});
  EXPECT_EQ(dlg->m_strFileListFolder.str(), newer);

  // A move to an item that is no folder stops a fill as well.
  dlg->m_strFolder = older.c_str();
  ASSERT_TRUE(dlg->RefreshFolder());
  SelectComputer();
  EXPECT_FALSE(FileListFillPending(dlg->m_lstFiles));
  PumpEvents(200);
  EXPECT_EQ(dlg->m_lstFiles.GetCount(), 0);
}

}  // namespace
