#include "mainwnd/search_path.h"

#include <strings.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <utility>

#include "platform/ui/background_work.h"
#include "support/framework/file_name.h"
#include "support/framework/fill_file_list_box.h"

namespace {

// Set and called on the user-interface thread only, where the list is filled.
SearchPathWatcher& Watcher() {
  static SearchPathWatcher watcher;
  return watcher;
}

// The latest fill of each list; an older fill finding another number here
// was superseded. User-interface thread only.
std::map<HWND, unsigned long long>& Generations() {
  static std::map<HWND, unsigned long long> generations;
  return generations;
}

unsigned long long NextGeneration(HWND list) { return ++Generations()[list]; }

bool IsCurrent(HWND list, unsigned long long generation) {
  const auto found = Generations().find(list);
  return found != Generations().end() && found->second == generation;
}

// Names are placed a slice at a time, so input and timers get through.
constexpr std::chrono::milliseconds kFillSlice{8};

struct BackgroundFill {
  HWND list = nullptr;
  unsigned long long generation = 0;
  std::string searchPath;
  std::vector<std::string> names;
  std::vector<CString> digest;
  std::size_t next = 0;
  FileListFinish finish;
  WindowSteps later;
};

void PlaceNames(const std::shared_ptr<BackgroundFill>& fill) {
  if (!IsCurrent(fill->list, fill->generation)) {
    return;
  }
  const auto until = std::chrono::steady_clock::now() + kFillSlice;
  while (fill->next < fill->names.size()) {
    SendMessage(fill->list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(fill->names[fill->next++].c_str()));
    if (std::chrono::steady_clock::now() >= until && fill->next < fill->names.size()) {
      fill->later([fill] { PlaceNames(fill); });
      return;
    }
  }
  Generations().erase(fill->list);
  if (const SearchPathWatcher& watcher = Watcher()) {
    watcher(fill->searchPath);
  }
  if (fill->finish) {
    fill->finish(std::move(fill->digest));
  }
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
  StopFileListFill(list);
  if (const SearchPathWatcher& watcher = Watcher()) {
    watcher(searchPath.str());
  }
  static_cast<void>(ZUFillFileListBox(searchPath, list.GetSafeHwnd()));
}

void WatchSearchPaths(SearchPathWatcher watcher) { Watcher() = std::move(watcher); }

void FillFileListInBackground(const CString& searchPath, CListBox& list, FileListDigest digest, FileListFinish finish) {
  auto fill = std::make_shared<BackgroundFill>();
  fill->list = list.GetSafeHwnd();
  fill->generation = NextGeneration(fill->list);
  fill->searchPath = searchPath.str();
  fill->finish = std::move(finish);
  fill->later = LaterStepsFor(fill->list);
  list.ResetContent();
  RunOffUiThread([fill, digest = std::move(digest)] {
    fill->names = ReadFileListNames(fill->searchPath.c_str());
    // The list box's own order (it inserts after equal names), so each
    // name it is given goes at its end.
    std::stable_sort(fill->names.begin(), fill->names.end(),
                     [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; });
    if (digest) fill->digest = digest(fill->names);
    fill->later([fill] { PlaceNames(fill); });
  });
}

void StopFileListFill(const CListBox& list) { Generations().erase(list.GetSafeHwnd()); }

bool FileListFillPending(const CListBox& list) { return Generations().count(list.GetSafeHwnd()) != 0; }
