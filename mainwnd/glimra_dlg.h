#pragma once
// The program's only top-level window: a resizable modeless dialog from
// template 500 with a menu bar, a toolbar and a status bar. It owns every
// control, the icon list's image list, the worker protocol's two events and
// the handle of the running worker.

#include <string>
#include <vector>

#include "listing/listing_display.h"
#include "model/icon_info_list.h"
#include "platform/ui/button.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/image_list.h"
#include "platform/ui/list_box.h"
#include "platform/ui/list_ctrl.h"
#include "platform/ui/static_text.h"
#include "support/framework/file_list.h"
#include "support/framework/shell_tree.h"
#include "support/framework/sizing_modeless_main.h"

class CGlimraDlg : public CSizingModelessMain {
 public:
  explicit CGlimraDlg(UINT templateId);
  ~CGlimraDlg() override;
  CGlimraDlg(const CGlimraDlg&) = delete;
  CGlimraDlg& operator=(const CGlimraDlg&) = delete;

  BOOL DestroyWindow() override;

  CButton m_chkRecursive;
  // Bound as a tree control and operated through the folder-tree
  // operations; CShellTree adds no data to CTreeCtrl.
  CShellTree m_treeFolders;
  CButton m_grpPathSelector;
  CButton m_grpIconList;
  CStatic m_lblFileType;
  CListBox m_lstFiles;
  CComboBox m_cboFileType;
  CButton m_btnListIcon;
  HANDLE m_hWorkerThread = nullptr;  // the running worker; null when none runs
  HANDLE m_hStartedEvent = nullptr;  // set by a worker as its first act
  HANDLE m_hStopEvent = nullptr;     // asks the listing worker to stop
  HICON m_hIcon = nullptr;           // drawn while minimized, the drag icon
  CString m_strFolder;
  // The folder whose files the file list shows. The tree's selection moves
  // m_strFolder at once but the list follows only at the refresh, so a
  // listing of selected files joins their names to this folder instead.
  CString m_strFileListFolder;
  CImageList* m_pImageList = nullptr;  // owned; the list view only uses it
  CIconInfoList m_listIcons;           // record n describes item n and image n
  CString m_strSaveFolder;
  BOOL m_bCanList = FALSE;
  CListCtrl m_lvIcons;
  ListingDisplay m_listingDisplay;  // what a stopped listing still shows

  // The listing engine (listing/). One file's icons, appended through the
  // file's own batch (listing/pending_icons.h), on a listing worker or on
  // the user-interface thread. A file that fails costs that file alone.
  void ListIconsFromFile(const CString& strPath);
  // The clearing worker's body and entry (the argument is the window).
  void EmptyIconList();
  static DWORD ClearThreadProc(LPVOID pParam);

  // Path and file-type selection (mainwnd/).
  void UpdateListButton();
  void ApplyFilePattern(const CString& strPattern);
  BOOL RefreshFolder();
  void FillFileTypeCombo(const CString& strPattern);

  // The worker launch protocol (mainwnd/) and the folder walk (listing/).
  void ClearAllIcons();
  void ListIcons();
  BOOL ListFolderEntry(CFileList& entry);
  static DWORD ListingThreadProc(LPVOID pParam);

  // Paths handed to the program (arguments, drops, another copy's
  // arguments; mainwnd/): a folder is selected in the folder tree as a user
  // selects it, a file's icons are listed as a double-click lists them. A
  // path that is neither is ignored; OpenPath then answers FALSE.
  BOOL OpenPath(const CString& path);
  void OpenPaths(const std::vector<std::string>& paths);

  // The icon commands (commands/).
  void ShowIconMenu(CPoint point);
  void ShowSelectedIconInfo();
  void SaveSelectedIcons();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // Enter and Escape never close the main window.
  void OnOK() override;
  void OnCancel() override;

  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg void OnPaint();
  afx_msg HCURSOR OnQueryDragIcon();
  afx_msg void OnItemexpandingFolderTree(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnDeleteitemFolderTree(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnDblclkFileList();
  afx_msg void OnSelchangedFolderTree(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnEditchangeFileType();
  afx_msg void OnSelchangeFileType();
  afx_msg void OnSelchangeFileList();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnListIcon();
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg LRESULT OnIconMenuNotify(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDblclkIconList(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  // ListIconsFromFile without its guard.
  void ListFileIcons(const CString& strPath);
};
