#pragma once
// Search paths of the main window's file list: a folder, the separator and
// a pattern, handed to the list filler.

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/cstring.h"
#include "platform/ui/list_box.h"

// The pattern of an empty combo box.
inline constexpr const char* kAllFilesPattern = "*.*";

enum class SeparatorRule {
  // No second separator after a folder that already ends with one (a root);
  // an empty folder counts as not ending with one.
  kOmitWhenPresent,
  // The pattern typed or chosen in the combo box gets one even after a
  // root, as the program always did; the platform reads the doubled
  // separator as a single one.
  kAlways,
};

[[nodiscard]] CString JoinSearchPath(const CString& folder, const CString& pattern, SeparatorRule rule);

// Refills list with the names of the files that match searchPath.
void FillFileListFor(const CString& searchPath, CListBox& list);

// What a background fill hands its finish: computed from the names off the
// user-interface thread.
using FileListDigest = std::function<std::vector<CString>(const std::vector<std::string>& names)>;
using FileListFinish = std::function<void(std::vector<CString> digest)>;

// FillFileListFor with the folder read off the user-interface thread: the
// list is emptied now and gets the names when read, a slice at a time in
// the list's order, so a folder of 100,000 files or a slow mount never
// holds up the window; then finish runs on that thread with digest's
// result. A later fill of the same list, of either kind, supersedes this
// one: what it has not placed yet is dropped, and finish does not run.
void FillFileListInBackground(const CString& searchPath, CListBox& list, FileListDigest digest, FileListFinish finish);
// Drops what a background fill of the list has not placed yet, and its finish.
void StopFileListFill(const CListBox& list);
// Nonzero while a background fill of the list has not finished.
[[nodiscard]] bool FileListFillPending(const CListBox& list);

// Sees every search path FillFileListFor hands on, before the list is
// filled (a background fill: when the list is full, before its finish);
// an empty function stops watching. For tests of the joining, which the
// file names listed cannot show.
using SearchPathWatcher = std::function<void(const std::string& searchPath)>;
void WatchSearchPaths(SearchPathWatcher watcher);
