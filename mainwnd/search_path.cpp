#include "mainwnd/search_path.h"

#include <utility>

#include "support/framework/file_name.h"
#include "support/framework/fill_file_list_box.h"

namespace {

// Set and called on the user-interface thread only, where the list is filled.
SearchPathWatcher& Watcher() {
  static SearchPathWatcher watcher;
  return watcher;
}

}  // namespace

CString JoinSearchPath(const CString& folder, const CString& pattern, SeparatorRule rule) {
  const std::string& text = folder.str();
  if (rule == SeparatorRule::kOmitWhenPresent && !text.empty() && text.back() == kPathSeparator) {
    return folder + pattern;
  }
  return folder + kPathSeparator + pattern;
}

void FillFileListFor(const CString& searchPath, CListBox& list) {
  if (const SearchPathWatcher& watcher = Watcher()) {
    watcher(searchPath.str());
  }
  static_cast<void>(ZUFillFileListBox(searchPath, list.GetSafeHwnd()));
}

void WatchSearchPaths(SearchPathWatcher watcher) { Watcher() = std::move(watcher); }
