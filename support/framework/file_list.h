#pragma once
// The folder enumerator of the folder walk. One object stands for one entry:
// the root search, a folder or a file. A folder (and the root) yields, in
// name order, the files whose names match the search pattern and every
// subfolder, whatever its name; subfolders enumerate alike with the same
// pattern. The walk itself (depth first, one child object per level) is the
// caller's.
//
// Order: names compared with ASCII letters folded to one case, ties broken
// bytewise, files and folders interleaved, as the platform's file system
// lists them.
//
// Only regular files are yielded: a pipe or a device in the tree would block
// or never end the reader that opens it. Symbolic links are followed, but a
// linked folder is not yielded when it leads back to a folder on the path
// from the root, or to a folder this walk has already entered; a folder on
// the path is refused however it was reached (bind mounts loop too). So a
// walk ends on every tree and enters each folder a bounded number of times.
//
// Memory: a folder's entries are read (and the folder closed again) when its
// enumeration starts and freed when it ends, so a walk holds the entries of
// the folders on its current path and no open descriptor.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/win_types.h"

class CFileList {
 public:
  // Levels of folders below the root a walk descends at most, so a tree
  // deeper than any real one (or a loop the identity checks miss) ends.
  // Deeper folders are not yielded.
  static constexpr int kMaxFolderDepth = 512;

  // An empty entry, to be filled by a parent's FindNext.
  CFileList();

  // The root of a walk. searchSpec is a folder, a separator and a pattern
  // (the folder's files are matched against the pattern; a pattern without
  // wildcards names one file); without a separator the pattern applies to
  // the current folder. The pattern is used exactly as given, blanks and all.
  //   nSubfolders     1: yield subfolders, which enumerate alike; 0: files only.
  //   nMaxDepth       0: no limit but kMaxFolderDepth; n: folders n levels
  //                   below the root yield their files but no subfolders.
  //   nSkipHidden     0: names starting with "." are listed like any other;
  //                   1: they are left out.
  //   pszSkipFolders  null: no folder is left out; otherwise a wildcard
  //                   pattern, and subfolders whose names match it are not
  //                   yielded.
  CFileList(std::string_view searchSpec, int nSubfolders, int nMaxDepth, int nSkipHidden, const char* pszSkipFolders);

  CFileList(const CFileList&) = delete;
  CFileList& operator=(const CFileList&) = delete;
  ~CFileList();

  // TRUE for a file; FALSE for the root, a folder and an empty entry.
  [[nodiscard]] BOOL IsFile() const;

  // Starts the enumeration of this entry's contents. nFlags must be 0 (no
  // flag is defined); FALSE when it is not, when the entry is a file or
  // empty, or when the folder cannot be read. In every such case FindNext
  // then yields nothing.
  BOOL FindFirst(int nFlags);

  // Fills child with the next entry and answers TRUE, or answers FALSE when
  // there is none. Whatever child held before is replaced.
  [[nodiscard]] BOOL FindNext(CFileList* child);

  // Ends the enumeration and frees its entries.
  void FindEnd();

  // The entry's full path: the folder joined with the name. For the root,
  // the search path as given.
  std::string m_strPath;

 private:
  struct Walk;
  struct FolderId;
  struct PathNode;
  struct Entry;
  enum class Kind { Empty, Root, Folder, File };

  void Clear();
  [[nodiscard]] bool ReadFolder();
  [[nodiscard]] bool MayYieldFolder(const Entry& entry) const;

  Kind m_kind = Kind::Empty;
  int m_depth = 0;
  // The folder whose contents FindFirst reads, ending with a separator for
  // the root ("" means the current folder).
  std::string m_folder;
  std::shared_ptr<Walk> m_walk;
  // This entry's parent folders, up to the root.
  std::shared_ptr<const PathNode> m_parents;
  // Set by FindFirst: this folder itself on top of m_parents.
  std::shared_ptr<const PathNode> m_self;
  std::vector<Entry> m_entries;
  std::size_t m_next = 0;
};
