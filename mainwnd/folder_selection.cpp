// The folder tree's selection and the deferred refresh that follows it: the
// group caption, the file list and the pattern list catch up with the
// selected folder 500 ms after the last selection.

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "mainwnd/glimra_dlg.h"
#include "mainwnd/search_path.h"
#include "platform/core/wildcard.h"

namespace {

// The window's only timer. Walking the tree with the arrow keys selects
// folder after folder; re-arming replaces the pending timer, so only the
// folder the user stops at is read from the disk.
constexpr UINT_PTR kRefreshTimer = 2;
constexpr UINT kRefreshDelayMs = 500;

// "*" and the name's extension with its dot, or "*" and the whole name
// when it has none.
CString ExtensionItem(const CString& name) {
  const int dot = name.ReverseFind('.');
  return CString("*") + (dot < 0 ? name : name.Mid(dot));
}

// Letter case as the combo box's search ignores it: ASCII letters only.
std::string Folded(const CString& text) {
  std::string folded = text.str();
  for (char& c : folded) c = FoldNameCase(c);
  return folded;
}

// The items the pattern list gets after strPattern for these file names:
// "*" and each extension, in the names' order. The combo box's own prefix
// search from the start of its list, without regard to case, decides: "*.ico"
// is not added after "*.ICO", nor "*.ex" after a pattern "*.exe". It is asked
// of a sorted copy of the items instead, where the items beginning with a
// text follow it directly: a folder of numbered files ("frame.00001", ...)
// gives as many items, and searching the list for each would freeze the
// window for seconds.
std::vector<CString> PatternItemsFor(const CString& strPattern, const std::vector<std::string>& names) {
  std::vector<CString> items;
  std::set<std::string> folded{Folded(strPattern)};
  for (const std::string& name : names) {
    if (name.empty()) {
      continue;
    }
    const CString item = ExtensionItem(CString(name.c_str()));
    std::string key = Folded(item);
    const auto next = folded.lower_bound(key);
    if (next != folded.end() && next->compare(0, key.size(), key) == 0) {
      continue;
    }
    items.push_back(item);
    folded.insert(std::move(key));
  }
  return items;
}

void ShowPatternItems(CComboBox& combo, const CString& strPattern, const std::vector<CString>& items) {
  combo.ResetContent();
  combo.AddString(strPattern);
  combo.SetCurSel(0);
  for (const CString& item : items) {
    combo.AddString(item);
  }
}

}  // namespace

void CGlimraDlg::OnSelchangedFolderTree(NMHDR* pNMHDR, LRESULT* pResult) {
  if (m_treeFolders.OnFolderSelected(pNMHDR, pResult, m_strFolder)) {
    SetTimer(kRefreshTimer, kRefreshDelayMs, nullptr);
    UpdateListButton();
  } else {
    StopFileListFill(m_lstFiles);
    m_lstFiles.ResetContent();
    if (m_hWorkerThread == nullptr) {
      m_btnListIcon.EnableWindow(FALSE);
    }
    m_bCanList = FALSE;
    // A walk of the last folder may still be wanted: with "Recursive"
    // checked the button comes back.
    UpdateListButton();
  }
  *pResult = 0;
}

void CGlimraDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kRefreshTimer) {
    // Nobody sees a minimized or hidden window; the next selection
    // refreshes it.
    if (!IsIconic() && IsWindowVisible()) {
      static_cast<void>(RefreshFolder());
    }
    KillTimer(kRefreshTimer);
  }
  CSizingModelessMain::OnTimer(nIDEvent);
}

BOOL CGlimraDlg::RefreshFolder() {
  static_cast<void>(UpdateData(TRUE));
  CString pattern;
  m_cboFileType.GetWindowText(pattern);
  pattern.TrimRight();
  if (pattern.IsEmpty()) {
    pattern = kAllFilesPattern;
    m_cboFileType.SetWindowText(kAllFilesPattern);
  }
  const CString searchPath = JoinSearchPath(m_strFolder, pattern, SeparatorRule::kOmitWhenPresent);
  // The folder goes in as it is: an "&" in its name shows as a mnemonic.
  m_grpPathSelector.SetWindowText(CString("&Path selector: ") + m_strFolder);
  // The list is emptied now and filled off this thread; what is in it
  // always belongs to the new folder.
  m_strFileListFolder = m_strFolder;
  FillFileListInBackground(
      searchPath, m_lstFiles,
      [pattern](const std::vector<std::string>& names) { return PatternItemsFor(pattern, names); },
      [this, pattern](const std::vector<CString>& items) {
        ShowPatternItems(m_cboFileType, pattern, items);
        if (pattern != kAllFilesPattern) {
          m_cboFileType.AddString(kAllFilesPattern);
        }
      });
  return TRUE;
}

void CGlimraDlg::FillFileTypeCombo(const CString& strPattern) {
  std::vector<std::string> names;
  const int count = m_lstFiles.GetCount();
  names.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) {
    CString name;
    m_lstFiles.GetText(i, name);
    names.push_back(name.str());
  }
  ShowPatternItems(m_cboFileType, strPattern, PatternItemsFor(strPattern, names));
}
