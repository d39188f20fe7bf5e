// The file pattern typed or chosen in the combo box, the search paths the
// file list is filled from, the rule for "List Icon", and a running worker
// owning the button.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "mainwnd/glimra_dlg.h"
#include "mainwnd/search_path.h"
#include "platform/core/kernel_object.h"
#include "tests/mainwnd/selection_fixture.h"
#include "tests/program_support/app_test_support.h"

namespace {

using Names = std::vector<std::string>;

TEST(SearchPath, JoiningLeavesOutASecondSeparatorOnlyWhenAsked) {
  struct Row {
    const char* folder;
    SeparatorRule rule;
    const char* joined;
  };
  const Row rows[] = {
      {"/home/u", SeparatorRule::kOmitWhenPresent, "/home/u/*.ico"},
      {"/", SeparatorRule::kOmitWhenPresent, "/*.ico"},
      {"/mnt/", SeparatorRule::kOmitWhenPresent, "/mnt/*.ico"},
      {"", SeparatorRule::kOmitWhenPresent, "/*.ico"},
      {"/home/u", SeparatorRule::kAlways, "/home/u/*.ico"},
      {"/", SeparatorRule::kAlways, "//*.ico"},
      {"", SeparatorRule::kAlways, "/*.ico"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(JoinSearchPath(row.folder, "*.ico", row.rule).str(), row.joined) << row.folder;
  }
}

TEST_F(SelectionWindow, RefreshJoinsOnceButAnAppliedPatternAlwaysAddsTheSeparator) {
  const std::string folder = MakeFolder("plain", {"a.ico"});
  struct Row {
    std::string folder;
    std::string refreshed;
    std::string applied;
  };
  // "/" stands for any folder ending in the separator, as a root does.
  const Row rows[] = {{folder, folder + "/*.*", folder + "/*.*"}, {"/", "/*.*", "//*.*"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.folder);
    SelectFolder(row.folder);
    ASSERT_TRUE(WaitForRefreshOf(row.folder));
    ASSERT_FALSE(searchPaths.empty());
    EXPECT_EQ(searchPaths.back(), row.refreshed);
    EXPECT_EQ(dlg->m_strFileListFolder.str(), row.folder);
    ClearPattern();
    EXPECT_EQ(searchPaths.back(), row.applied);
    EXPECT_EQ(dlg->m_strFileListFolder.str(), row.folder);
    TypeIntoPattern("*.*");
  }
}

TEST_F(SelectionWindow, BlanksOnlyListEverythingButAllowNoListing) {
  const std::string folder = MakeFolder("blanks", {"a.ico", "b.exe"});
  SelectFolder(folder);
  ASSERT_TRUE(WaitForRefreshOf(folder));
  ClickRecursive();
  ASSERT_TRUE(ListButtonEnabled());
  ClearPattern();
  ASSERT_FALSE(dlg->m_chkRecursive.IsWindowEnabled());
  searchPaths.clear();

  TypeIntoPattern("   ");
  EXPECT_TRUE(dlg->m_chkRecursive.IsWindowEnabled());
  EXPECT_EQ(dlg->m_chkRecursive.GetCheck(), static_cast<int>(BST_CHECKED));
  EXPECT_EQ(searchPaths.back(), folder + "/*.*");
  EXPECT_EQ(FileListNames(), (Names{"a.ico", "b.exe"}));
  EXPECT_EQ(PatternText(), "   ");
  EXPECT_FALSE(dlg->m_bCanList);
  EXPECT_FALSE(ListButtonEnabled());
}

TEST_F(SelectionWindow, TypingAPatternRefillsTheListAfterEveryKeyButTheUnfinishedOne) {
  const std::string folder = MakeFolder("typing", {"a.ICO", "c.exe"});
  SelectFolder(folder);
  ASSERT_TRUE(WaitForRefreshOf(folder));
  ClearPattern();
  struct Step {
    char key;
    const char* marker;  // a file made just before the key; listed only if the list is refilled
    Names listed;
  };
  const Step steps[] = {
      {'*', "m1.txt", {"a.ICO", "c.exe", "m1.txt"}},
      {'.', "m2.txt", {"a.ICO", "c.exe", "m1.txt"}},
      {'e', "m3.e", {"m3.e"}},
      {'x', "m4.ex", {"m4.ex"}},
      {'e', "d.EXE", {"c.exe", "d.EXE"}},
  };
  std::string typed;
  for (const Step& step : steps) {
    typed += step.key;
    SCOPED_TRACE(typed);
    Touch(folder + "/" + step.marker);
    const std::size_t before = searchPaths.size();
    TypeIntoPattern(std::string(1, step.key));
    EXPECT_EQ(PatternText(), typed);
    EXPECT_EQ(FileListNames(), step.listed);
    if (typed == "*.") {
      EXPECT_EQ(searchPaths.size(), before);
    } else {
      ASSERT_EQ(searchPaths.size(), before + 1);
      EXPECT_EQ(searchPaths.back(), folder + "/" + typed);
    }
  }
  // The pattern list is the refresh's; typing leaves it alone.
  EXPECT_EQ(PatternItems(), (Names{"*.*", "*.ICO", "*.exe"}));
}

TEST_F(SelectionWindow, ClearingThePatternDisablesRecursiveAndListsEverything) {
  const std::string folder = MakeFolder("clearing", {"a.ico", "b.exe"});
  SelectFolder(folder);
  ASSERT_TRUE(WaitForRefreshOf(folder));
  ClearPattern();
  TypeIntoPattern("*.exe");
  ClickRecursive();
  ASSERT_EQ(FileListNames(), Names{"b.exe"});
  ASSERT_TRUE(ListButtonEnabled());

  ClearPattern();
  EXPECT_EQ(PatternText(), "");
  EXPECT_FALSE(dlg->m_chkRecursive.IsWindowEnabled());
  EXPECT_EQ(FileListNames(), (Names{"a.ico", "b.exe"}));
  EXPECT_FALSE(dlg->m_bCanList);
  EXPECT_FALSE(ListButtonEnabled());

  // Still checked: the first character brings the walk back.
  TypeIntoPattern("*");
  EXPECT_TRUE(dlg->m_chkRecursive.IsWindowEnabled());
  EXPECT_TRUE(ListButtonEnabled());
}

TEST_F(SelectionWindow, ChoosingAPatternFromTheListAppliesTheItem) {
  // "a." gives the extension item "*.", which is chosen but not applied.
  // Under "*.*" that item would not be added: "*.*" begins with "*.".
  const std::string folder = MakeFolder("choosing", {"a.", "b.txt", "c.ico"});
  ClearPattern();
  TypeIntoPattern("*");
  SelectFolder(folder);
  ASSERT_TRUE(WaitForRefreshOf(folder));
  ASSERT_EQ(PatternItems(), (Names{"*", "*.", "*.txt", "*.ico", "*.*"}));
  const Names all{"a.", "b.txt", "c.ico"};
  ASSERT_EQ(FileListNames(), all);
  struct Step {
    const char* chosen;
    Names listed;
    bool refilled;
  };
  const Step steps[] = {
      {"*.", all, false},
      {"*.txt", {"b.txt"}, true},
      {"*.ico", {"c.ico"}, true},
      {"*.*", all, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.chosen);
    const std::size_t before = searchPaths.size();
    ChooseNextPattern();
    EXPECT_EQ(PatternText(), step.chosen);
    EXPECT_EQ(FileListNames(), step.listed);
    ASSERT_EQ(searchPaths.size(), before + (step.refilled ? 1 : 0));
    if (step.refilled) {
      EXPECT_EQ(searchPaths.back(), folder + "/" + step.chosen);
    }
  }
}

TEST_F(SelectionWindow, ListButtonFollowsThePatternRecursiveAndTheSelectedFiles) {
  const std::string folder = MakeFolder("rule", {"a.ico", "b.ico"});
  SelectFolder(folder);
  ASSERT_TRUE(WaitForRefreshOf(folder));
  struct Row {
    const char* pattern;
    bool recursive;
    int filesClicked;  // -1: none
    bool canList;
  };
  // clang-format off
  const Row rows[] = {
      {"*.*", false, -1, false},
      {"*.*", false, 0, true},
      {"*.*", true, -1, true},
      {" *.ico", true, -1, true},
      {"   ", true, -1, false},
      {"   ", false, -1, false},
      {"*.ico", false, 1, true},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string("'") + row.pattern + "' recursive " + (row.recursive ? "on" : "off"));
    ClearPattern();
    TypeIntoPattern(row.pattern);
    if (row.recursive != (dlg->m_chkRecursive.GetCheck() == BST_CHECKED)) ClickRecursive();
    if (row.filesClicked >= 0) ClickFileListItem(row.filesClicked);
    EXPECT_EQ(dlg->m_bCanList != FALSE, row.canList);
    EXPECT_EQ(ListButtonEnabled(), row.canList);
  }
}

TEST_F(SelectionWindow, WhileAWorkerRunsOnlyItsFinishChangesTheButton) {
  const std::string first = MakeFolder("first", {"a.ico", "b.ico"});
  const std::string second = MakeFolder("second", {"c.ico"});
  SelectFolder(first);
  ASSERT_TRUE(WaitForRefreshOf(first));
  // A marker the handlers only compare with null; it is never waited on.
  HANDLE dummy = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  ASSERT_NE(dummy, nullptr);
  struct Action {
    const char* name;
    std::function<void()> run;
    bool canListAfter;
  };
  const Action actions[] = {
      {"click a file", [&] { ClickFileListItem(0); }, true},
      {"check recursive", [&] { ClickRecursive(); }, true},
      {"clear the pattern", [&] { ClearPattern(); }, false},
      {"type a pattern", [&] { TypeIntoPattern("*.ico"); }, true},
      {"uncheck recursive", [&] { ClickRecursive(); }, false},
      {"select no folder", [&] { SelectComputer(); }, false},
      {"check recursive again", [&] { ClickRecursive(); }, true},
      {"select a folder",
       [&] {
         SelectFolder(second);
         ASSERT_TRUE(WaitForRefreshOf(second));
       },
       true},
      {"choose a pattern", [&] { ChooseNextPattern(); }, true},
  };
  for (const BOOL held : {FALSE, TRUE}) {
    dlg->m_btnListIcon.EnableWindow(held);
    dlg->m_hWorkerThread = dummy;
    for (const Action& action : actions) {
      SCOPED_TRACE(std::string(action.name) + (held ? ", button enabled" : ", button disabled"));
      action.run();
      EXPECT_EQ(ListButtonEnabled(), held != FALSE);
      EXPECT_EQ(dlg->m_bCanList != FALSE, action.canListAfter);
    }
    dlg->m_hWorkerThread = nullptr;
    // Put the first state back for the second round.
    ClickRecursive();
    SelectFolder(first);
    ASSERT_TRUE(WaitForRefreshOf(first));
  }
  dlg->m_hWorkerThread = nullptr;
  CloseHandle(dummy);
}

}  // namespace
