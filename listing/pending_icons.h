#pragma once
// One file's icons on their way into the main window's icon view. Whoever
// reads the file (its icon file, a module's groups, the extraction) hands
// each icon to the batch that lists the file. On a listing worker the batch
// gathers them, scaled there to the image list's size, and the
// user-interface thread appends them in posted runs of up to kMaxPending
// icons, each run one step, so a file of many icons costs that thread one
// step per run instead of one per icon. On the user-interface thread (a
// double-clicked or opened file) nothing waits: each icon is appended as it
// comes, in one step of its own.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "model/icon_info.h"
#include "platform/ui/common_controls.h"

class CGlimraDlg;
class CListCtrl;

// An item showing image (or none, -1) appended to the icon view; answers
// its index.
int AppendIconItem(CListCtrl& view, int image);

class PendingIcons {
 public:
  // A run this long is appended at once, so one file's gathering costs
  // bounded memory (32x32 pixels each) and a single step of the
  // user-interface thread stays short.
  static constexpr std::size_t kMaxPending = 128;

  // file: the listing's number for the file (see ListingDisplay). Made on
  // the user-interface thread, the batch appends at once; made elsewhere,
  // it gathers.
  PendingIcons(CGlimraDlg& dlg, int file);
  // What was not appended is dropped: a worker killed inside a window call
  // unwinds through here.
  ~PendingIcons() = default;
  PendingIcons(const PendingIcons&) = delete;
  PendingIcons& operator=(const PendingIcons&) = delete;

  // Image, item and record of one icon, as one step of the user-interface
  // thread: now, or with its run. The caller keeps the icon.
  void Add(HICON icon, const CIconInfo& info);
  // Posts images, items and records of everything gathered as one step of
  // the user-interface thread, and then, in the same step, after (if any):
  // a file's last step rides along with its last icons. Returns without
  // waiting. The icons are dropped in that step when the listing display no
  // longer shows the file; after runs either way. With nothing gathered,
  // only after is posted, and on the user-interface thread, where nothing
  // is gathered, a post runs at once.
  void Flush(std::function<void()> after = {});

 private:
  struct Entry {
    std::vector<std::uint32_t> pixels;  // empty: no image could be stored
    CIconInfo info;
  };
  CGlimraDlg& m_dlg;
  int m_file = 0;
  bool m_gathers = false;
  int m_cx = 0;
  int m_cy = 0;
  bool m_sized = false;
  std::vector<Entry> m_entries;
};
