#pragma once
// A main window whose home folder (the folder the tree starts at) is a
// temporary folder of the test's own, and the user's moves on the real
// selection controls: the tree, the pattern's edit field and list, the
// file list and the "Recursive" check box.

#include <gtest/gtest.h>

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

class CGlimraDlg;

class SelectionWindow : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A folder below home holding empty files of these names; made before
  // the first SelectFolder, since the tree reads a folder's children once.
  std::string MakeFolder(const std::string& name, std::initializer_list<const char*> files);
  static void Touch(const std::string& path);

  // Selects a folder item (home itself, "/" or a folder directly below home).
  void SelectFolder(const std::string& path);
  // Selects the tree's "Computer", which is no folder.
  void SelectComputer();
  // Pumps until the refresh after the last SelectFolder has filled the
  // list for folder and shown it in the group caption.
  [[nodiscard]] bool WaitForRefreshOf(const std::string& folder, int ms = 3000);

  void TypeIntoPattern(const std::string& text);
  // Selects the whole edit field and deletes it.
  void ClearPattern();
  // Moves the combo box's selection down by one item, as the arrow key does.
  void ChooseNextPattern();
  void ClickFileListItem(int index);
  void ClickRecursive();

  [[nodiscard]] std::vector<std::string> FileListNames() const;
  [[nodiscard]] std::vector<std::string> PatternItems() const;
  [[nodiscard]] std::string PatternText() const;
  [[nodiscard]] std::string Caption() const;
  [[nodiscard]] bool ListButtonEnabled() const;

  CGlimraDlg* dlg = nullptr;
  std::string home;
  // Every search path handed to the file list's filler since SetUp's
  // first refresh.
  std::vector<std::string> searchPaths;

 private:
  std::string m_savedHome;
  bool m_hadHome = false;
  std::size_t m_pathsAtSelection = 0;
};
