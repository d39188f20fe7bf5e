#include "mainwnd/glimra_dlg.h"
#include "support/framework/file_name.h"

void CGlimraDlg::OnDblclkFileList() {
  const int current = m_lstFiles.GetCurSel();
  if (current == -1) return;
  CString name;
  m_lstFiles.GetText(current, name);
  CString path = m_strFolder;
  if (path.IsEmpty() || path[path.GetLength() - 1] != kPathSeparator) path += kPathSeparator;
  path += name;
  // Runs here, on the user-interface thread, even while a listing worker
  // runs: every append is a step of this thread, so the two never interleave.
  ListIconsFromFile(path);
}
