// The file pattern of the combo box and the rule that decides whether
// "List Icon" may start a listing.

#include "mainwnd/glimra_dlg.h"
#include "mainwnd/search_path.h"

namespace {

// Typed on the way to "*.exe" and the like; it would empty the list for a
// moment on every such keystroke, so the list keeps what it shows.
constexpr const char* kUnfinishedPattern = "*.";

// An empty pattern has nothing to walk: "Recursive" is greyed until the
// user types one again.
void TakeNewPattern(CGlimraDlg& dlg, const CString& text) {
  if (text.IsEmpty()) {
    dlg.m_chkRecursive.EnableWindow(FALSE);
  } else if (!dlg.m_chkRecursive.IsWindowEnabled()) {
    dlg.m_chkRecursive.EnableWindow(TRUE);
  }
  dlg.ApplyFilePattern(text);
  dlg.UpdateListButton();
}

}  // namespace

void CGlimraDlg::OnEditchangeFileType() {
  CString text;
  m_cboFileType.GetWindowText(text);
  TakeNewPattern(*this, text);
}

void CGlimraDlg::OnSelchangeFileType() {
  CString text;
  const int selected = m_cboFileType.GetCurSel();
  if (selected != CB_ERR) {
    m_cboFileType.GetLBText(selected, text);
  }
  // The item's text, not the edit field's, which may not show it yet.
  text.TrimLeft();
  TakeNewPattern(*this, text);
}

void CGlimraDlg::ApplyFilePattern(const CString& strPattern) {
  CString pattern = strPattern;
  pattern.TrimRight();
  pattern.TrimLeft();
  if (pattern.IsEmpty()) {
    pattern = kAllFilesPattern;
  }
  if (pattern == kUnfinishedPattern) {
    return;
  }
  FillFileListFor(JoinSearchPath(m_strFolder, pattern, SeparatorRule::kAlways), m_lstFiles);
  m_strFileListFolder = m_strFolder;
}

void CGlimraDlg::OnSelchangeFileList() {
  m_bCanList = m_lstFiles.GetSelCount() > 0 ? TRUE : FALSE;
  // A running worker owns the button (it is the stop button); its finish
  // applies m_bCanList.
  if (m_hWorkerThread == nullptr) {
    m_btnListIcon.EnableWindow(m_bCanList);
  }
}

void CGlimraDlg::UpdateListButton() {
  CString pattern;
  m_cboFileType.GetWindowText(pattern);
  pattern.TrimLeft();
  if (pattern.IsEmpty()) {
    m_bCanList = FALSE;
  } else if (m_chkRecursive.GetCheck() == BST_CHECKED && m_chkRecursive.IsWindowEnabled()) {
    m_bCanList = TRUE;
  } else {
    OnSelchangeFileList();
    return;
  }
  if (m_hWorkerThread == nullptr) {
    m_btnListIcon.EnableWindow(m_bCanList);
  }
}
