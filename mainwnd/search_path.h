#pragma once
// Search paths of the main window's file list: a folder, the separator and
// a pattern, handed to the list filler.

#include <functional>
#include <string>

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

// Sees every search path FillFileListFor hands on, before the list is
// filled; an empty function stops watching. For tests of the joining,
// which the file names listed cannot show.
using SearchPathWatcher = std::function<void(const std::string& searchPath)>;
void WatchSearchPaths(SearchPathWatcher watcher);
