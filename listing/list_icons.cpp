#include <string>
#include <vector>

#include "listing/walk_steps.h"
#include "mainwnd/glimra_dlg.h"
#include "mainwnd/list_launch.h"
#include "platform/ui/ui_call.h"

namespace {

// What one listing works on, read from the window in a single step of the
// user-interface thread as the worker starts. The tree moves m_strFolder
// (and the selection handlers refill the file list) while a listing runs;
// working from this copy, the listing never reads a string that thread is
// replacing, never asks for a list entry that is gone, and never joins the
// names of one folder to another folder.
struct ListingChoice {
  enum class Mode { SelectedFiles, Recursive };
  Mode mode = Mode::SelectedFiles;
  // Recursive: the folder joined with the pattern, taken as typed (blanks
  // are part of it).
  std::string searchSpec;
  // Selected files: full paths, in list order.
  std::vector<std::string> paths;
};

}  // namespace

DWORD CGlimraDlg::ListingThreadProc(LPVOID pParam) {
  static_cast<CGlimraDlg*>(pParam)->ListIcons();
  return 0;
}

void CGlimraDlg::ListIcons() {
  // The acknowledgement comes before any window call: the launcher waits
  // for it without handling messages.
  AcknowledgeLaunch(m_hStartedEvent);
  m_btnListIcon.SetWindowText("Stop &Listing");

  const ListingChoice choice = UiCall([this] {
    m_listingDisplay.Begin();
    ListingChoice taken;
    if (m_chkRecursive.GetCheck() == BST_CHECKED) {
      taken.mode = ListingChoice::Mode::Recursive;
      CString pattern;
      m_cboFileType.GetWindowText(pattern);
      taken.searchSpec = JoinToFolder(m_strFolder.str(), pattern.str());
      return taken;
    }
    // The file list shows the files of m_strFileListFolder, not necessarily
    // of m_strFolder. No cap on the count: the list holds what it holds.
    const int count = m_lstFiles.GetSelCount();
    if (count <= 0) return taken;
    std::vector<int> indices(static_cast<std::size_t>(count));
    const int got = m_lstFiles.GetSelItems(count, indices.data());
    indices.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    taken.paths.reserve(indices.size());
    for (const int index : indices) {
      CString name;
      m_lstFiles.GetText(index, name);
      taken.paths.push_back(JoinToFolder(m_strFileListFolder.str(), name.str()));
    }
    return taken;
  });

  if (choice.mode == ListingChoice::Mode::Recursive) {
    CFileList root(choice.searchSpec, 1, 0, 0, nullptr);
    static_cast<void>(ListFolderEntry(root));
  } else {
    for (const std::string& path : choice.paths) {
      // A file once started is listed completely; the stop is looked at
      // after it.
      ListIconsFromFile(CString(path));
      if (StopRequested(m_hStopEvent)) break;
    }
  }

  // The whole notification of the end, in one step of the user-interface
  // thread, which reads all three: the marker is cleared before the caption
  // and the button change. A killed worker never gets here: its window
  // calls throw, and it leaves without touching the window again.
  UiCall([this] {
    // A stop pressed while the last file was on its way to the screen came
    // after the worker's last poll; it belongs to this listing all the same.
    ResetEvent(m_hStopEvent);
    m_hWorkerThread = nullptr;
    m_btnListIcon.SetWindowText("&List Icon");
    m_btnListIcon.EnableWindow(m_bCanList);
  });
}
