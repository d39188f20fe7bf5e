// Opening what the program is handed. The folder tree's selection notifies
// the window as a user's does, so the refresh follows as it follows a
// click; a file goes the way of a double-click in the file list.

#include <sys/stat.h>

#include "mainwnd/glimra_dlg.h"

BOOL CGlimraDlg::OpenPath(const CString& path) {
  struct stat info {};
  if (path.IsEmpty() || ::stat(path, &info) != 0) return FALSE;
  if (S_ISDIR(info.st_mode)) return m_treeFolders.SelectFolderPath(path) != nullptr ? TRUE : FALSE;
  if (!S_ISREG(info.st_mode)) return FALSE;
  ListIconsFromFile(path);
  return TRUE;
}

void CGlimraDlg::OpenPaths(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) static_cast<void>(OpenPath(path.c_str()));
}
