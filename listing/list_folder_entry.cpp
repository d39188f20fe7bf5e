#include "listing/walk_steps.h"
#include "mainwnd/glimra_dlg.h"

namespace {

// Ends an entry's enumeration on every way out of its loop, also when a
// killed worker unwinds through it.
class EnumerationEnd {
 public:
  explicit EnumerationEnd(CFileList& entry) : m_entry(entry) {}
  EnumerationEnd(const EnumerationEnd&) = delete;
  EnumerationEnd& operator=(const EnumerationEnd&) = delete;
  ~EnumerationEnd() { m_entry.FindEnd(); }

 private:
  CFileList& m_entry;
};

}  // namespace

BOOL CGlimraDlg::ListFolderEntry(CFileList& entry) {
  // Before every entry, the root included: a stop takes effect before the
  // next file or folder is even looked at.
  if (StopRequested(m_hStopEvent)) return FALSE;
  LeaveIfKilled();
  if (entry.IsFile()) {
    ListIconsFromFile(CString(entry.m_strPath));
    return TRUE;
  }
  // One child per level, refilled by each FindNext once the previous
  // child's own enumeration has ended: depth first and pre-order.
  CFileList child;
  // A folder that cannot be read yields nothing; that is not a failure here.
  static_cast<void>(entry.FindFirst(0));
  const EnumerationEnd end(entry);
  while (entry.FindNext(&child)) {
    // The stop was consumed by the poll that saw it; the levels above end
    // through this result, not through polls of their own.
    if (!ListFolderEntry(child)) return FALSE;
  }
  return TRUE;
}
