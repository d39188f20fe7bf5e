#pragma once
// The folder tree: a tree control showing "Computer" (a root that is no
// folder) above the file system's root "/", the user's home folder and the
// places of places.h (Wine prefixes, Desktop, Downloads, volumes).
// Folders are read when an item is expanded, on a thread of their own so a
// slow mount never holds up the window; the children appear when read,
// only folders, in name order (ASCII letters folded, ties bytewise, as file
// lists sort). An item being read is not read a second time; each later
// expansion reads again, keeping the children that are still there.
// Hidden folders (names starting with ".") are left out until Ctrl+H shows
// them: a home folder holds dozens and they rarely hold icons a user looks
// for, but a Wine prefix's is reached through its place.
//
// Symbolic links to folders are shown as folders, but an item whose folder
// is one of its ancestors' (a link back up the tree, or a bind mount) gets
// no children, so expanding never walks into a loop.
//
// The class adds no data members to CTreeCtrl: a control bound as a
// CTreeCtrl may be operated as a CShellTree. Each item's data is a record
// the tree allocates; OnDeleteShellItem frees it.

#include "platform/ui/common_controls.h"
#include "platform/ui/tree_ctrl.h"

class CShellTree : public CTreeCtrl {
  DECLARE_DYNAMIC(CShellTree)

 public:
  // Folders listed under one item at most, so a folder with a huge number
  // of subfolders costs bounded time and memory; the rest are not shown.
  static constexpr int kMaxChildren = 10000;

  // Images of the tree: indexes into the image list EnableImages attaches.
  enum Image : int { imgComputer = 0, imgDrive = 1, imgFolder = 2, imgFolderOpen = 3 };

  CShellTree() = default;

  // Attaches the tree's image list (computer, drive, folder, open folder).
  void EnableImages();
  // Ctrl+H (hidden folders shown or not) and F5 (RefreshFolders) while the
  // tree has the focus.
  void EnableFolderKeys();
  // Empties the tree, inserts the roots, opens "Computer" and selects the
  // home folder (which notifies TVN_SELCHANGED like any selection).
  void PopulateTree();
  // TVN_ITEMEXPANDING: starts reading the item's children unless a read
  // of them runs. *pResult is 0 (the item may open).
  void OnFolderExpanding(NMHDR* pNMHDR, LRESULT* pResult);
  // TVN_DELETEITEM: frees the item's data.
  void OnDeleteShellItem(NMHDR* pNMHDR, LRESULT* pResult);
  // TVN_SELCHANGED: nonzero, and folderPath set to the item's full path,
  // when the newly selected item is a file-system folder; zero (folderPath
  // unchanged) for "Computer" or no item.
  BOOL OnFolderSelected(NMHDR* pNMHDR, LRESULT* pResult, CString& folderPath);

  // Shows hidden folders if they were left out and the other way round,
  // reading every folder read so far again.
  void ToggleHiddenFolders();
  [[nodiscard]] BOOL ShowsHiddenFolders() const;
  // Reads the places and every folder read so far again: new folders
  // appear, vanished ones (an unmounted disk) go away without a word.
  void RefreshFolders();
  // Nonzero while a read has not placed all its children yet.
  [[nodiscard]] BOOL ReadsPending() const;

  // Selects the item of the folder at an absolute path, expanding the items
  // on the way as a user opens them, so the selection notifies
  // TVN_SELCHANGED like a user's. The path is followed by its names, below
  // the deepest top item (a place, the home folder or "/") it lies in. The
  // items on the way are placed at once, in name order, without waiting for
  // their folders' reads; one a read leaves out (hidden, or past
  // kMaxChildren) stays while its folder exists. Null, and the selection
  // unchanged, when the path names no folder or leads through a link back
  // up the tree.
  HTREEITEM SelectFolderPath(const CString& path);

  // The full path of an item's folder; empty for "Computer" or null.
  [[nodiscard]] CString GetItemPath(HTREEITEM item) const;
  // The item showing a folder, searched among the items already filled.
  [[nodiscard]] HTREEITEM FindFolderItem(const CString& path) const;
};
static_assert(sizeof(CShellTree) == sizeof(CTreeCtrl), "CShellTree operates a CTreeCtrl and must add no data");
