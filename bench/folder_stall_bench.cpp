// How long the user-interface thread stops while the folder tree expands a
// folder of 50,000 subfolders and while the file list fills from a folder
// of 100,000 files, read off that thread as the window does now, side by
// side with the same work done on it (as the design did). A 10 ms timer's
// worst lateness is the stall; the goal is none over 50 ms.
//
// usage: bench_folder_stall [DIR]  (default $TMPDIR or /tmp; the two
// folders are made there once, as DIR/glimra-stall-{folders,files})

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "bench/stall_meter.h"
#include "mainwnd/search_path.h"
#include "platform/ui/cwnd.h"
#include "platform/ui/geometry.h"
#include "platform/ui/list_box.h"
#include "platform/ui/message_map.h"
#include "platform/ui/ui_call.h"
#include "support/framework/folder_reader.h"
#include "support/framework/shell_tree.h"

namespace {

constexpr int kSubfolders = 50000;
constexpr int kFiles = 100000;
constexpr UINT kTreeId = 1001;
constexpr UINT kListId = 1002;

class Host : public CWnd {
 public:
  void OnExpanding(NMHDR* header, LRESULT* result) { tree.OnFolderExpanding(header, result); }
  void OnDelete(NMHDR* header, LRESULT* result) { tree.OnDeleteShellItem(header, result); }
  CShellTree tree;
  CListBox list;

 protected:
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Host, CWnd)
ON_NOTIFY(TVN_ITEMEXPANDING, kTreeId, OnExpanding)
ON_NOTIFY(TVN_DELETEITEM, kTreeId, OnDelete)
END_MESSAGE_MAP()

bool MakeFolderOf(const std::string& folder, int count, bool subfolders) {
  const std::string done = folder + ".complete";
  if (::access(done.c_str(), F_OK) == 0) return true;
  ::mkdir(folder.c_str(), 0700);
  for (int i = 0; i < count; ++i) {
    const std::string path = folder + "/entry" + std::to_string(i) + (subfolders ? "" : ".dll");
    if (subfolders) {
      if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    } else {
      const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0600);
      if (fd < 0) return false;
      ::close(fd);
    }
  }
  const int fd = ::open(done.c_str(), O_WRONLY | O_CREAT, 0600);
  if (fd >= 0) ::close(fd);
  return true;
}

void PumpUntil(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 120000) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct Figures {
  double worstMs = 0;
  double elapsedMs = 0;
};

// Runs start with the meter running and pumps until done; the work
// started from a timer, as a click's handler would start it.
Figures Measure(const std::function<void()>& start, const std::function<bool()>& done) {
  StallMeter meter({});
  meter.Start();
  QElapsedTimer clock;
  bool started = false;
  QTimer::singleShot(50, [&] {
    clock.start();
    start();
    started = true;
  });
  PumpUntil([&] { return started && done(); });
  Figures figures{0, static_cast<double>(clock.nsecsElapsed()) / 1e6};
  // A few more ticks, so a stall at the very end is counted.
  QElapsedTimer tail;
  tail.start();
  while (tail.elapsed() < 60) QApplication::processEvents(QEventLoop::AllEvents, 5);
  meter.Stop();
  figures.worstMs = meter.WorstLatenessMs();
  return figures;
}

HTREEITEM ChildNamed(CShellTree& tree, HTREEITEM parent, const char* name) {
  for (HTREEITEM child = tree.GetChildItem(parent); child != nullptr; child = tree.GetNextSiblingItem(child)) {
    if (tree.GetItemText(child) == CString(name)) return child;
  }
  return nullptr;
}

void Report(const char* what, const Figures& off, const Figures& on) {
  std::printf("%s\n  read off the UI thread: worst stall %.1f ms (done in %.0f ms)\n", what, off.worstMs,
              off.elapsedMs);
  std::printf("  read on the UI thread:  worst stall %.1f ms (done in %.0f ms)\n", on.worstMs, on.elapsedMs);
  std::printf("  stall ratio: %.1fx shorter; goal (no stall over 50 ms) %s\n", on.worstMs / std::max(off.worstMs, 0.1),
              off.worstMs <= 50.0 ? "met" : "NOT met");
}

}  // namespace

int main(int argc, char** argv) {
  const char* tmp = std::getenv("TMPDIR");
  const std::string dir = argc > 1 ? argv[1] : (tmp != nullptr ? tmp : "/tmp");
  const std::string folders = dir + "/glimra-stall-folders";
  const std::string files = dir + "/glimra-stall-files";
  std::printf("making %s and %s (once)...\n", folders.c_str(), files.c_str());
  std::fflush(stdout);
  if (!MakeFolderOf(folders, kSubfolders, true) || !MakeFolderOf(files, kFiles, false)) {
    std::fprintf(stderr, "cannot make the folders in %s\n", dir.c_str());
    return 1;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::setenv("HOME", dir.c_str(), 1);
  QApplication app(argc, argv);
  SetUiThread();
  Host host;
  if (!host.CreateEx(0, WC_GENERIC, "bench", WS_POPUP | WS_CAPTION, CRect(0, 0, 600, 400), nullptr, 0) ||
      !host.tree.Create(WS_VISIBLE | TVS_HASBUTTONS, CRect(0, 0, 300, 400), &host, kTreeId) ||
      !host.list.Create(WS_VISIBLE | LBS_SORT | LBS_EXTENDEDSEL, CRect(300, 0, 600, 400), &host, kListId)) {
    std::fprintf(stderr, "cannot create the windows\n");
    return 1;
  }
  host.ShowWindow(SW_SHOW);
  host.tree.EnableImages();
  host.tree.PopulateTree();
  HTREEITEM home = host.tree.FindFolderItem(dir.c_str());
  host.tree.Expand(home, TVE_EXPAND);
  PumpUntil([&] { return !host.tree.ReadsPending(); });
  HTREEITEM big = ChildNamed(host.tree, home, "glimra-stall-folders");
  if (big == nullptr) {
    std::fprintf(stderr, "the folder is not in the tree\n");
    return 1;
  }

  const Figures treeOff =
      Measure([&] { host.tree.Expand(big, TVE_EXPAND); }, [&] { return !host.tree.ReadsPending(); });
  unsigned shown = 0;
  for (HTREEITEM child = host.tree.GetChildItem(big); child != nullptr; child = host.tree.GetNextSiblingItem(child)) {
    ++shown;
  }
  // The design's way: read and insert in the expansion's handler.
  HTREEITEM target = host.tree.InsertItem("on the UI thread", TVI_ROOT);
  const Figures treeOn = Measure(
      [&] {
        for (const FolderEntry& entry : ReadSubfoldersFromDisk(folders, HiddenFolders::kLeaveOut,
                                                               static_cast<std::size_t>(CShellTree::kMaxChildren))) {
          host.tree.InsertItem(entry.name.c_str(), target);
        }
      },
      [] { return true; });
  std::printf("tree: %d subfolders, %u shown (the tree's cap is %d)\n", kSubfolders, shown, CShellTree::kMaxChildren);
  Report("tree expansion", treeOff, treeOn);

  const CString search = JoinSearchPath(files.c_str(), "*.*", SeparatorRule::kAlways);
  const Figures listOff = Measure([&] { FillFileListInBackground(search, host.list, {}, {}); },
                                  [&] { return !FileListFillPending(host.list); });
  const int filled = host.list.GetCount();
  const Figures listOn = Measure([&] { FillFileListFor(search, host.list); }, [] { return true; });
  std::printf("file list: %d files, %d listed\n", kFiles, filled);
  Report("file list fill", listOff, listOn);
  host.DestroyWindow();
  return 0;
}
