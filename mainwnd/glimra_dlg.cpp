#include "mainwnd/glimra_dlg.h"

#include "app/glimra_app.h"
#include "commands/icon_description.h"
#include "commands/icon_menu.h"
#include "commands/icon_transfer.h"
#include "mainwnd/minimized_icon.h"
#include "platform/core/icon_object.h"
#include "platform/core/kernel_object.h"
#include "platform/ui/control_keys.h"
#include "platform/ui/dc.h"
#include "platform/ui/menu.h"
#include "platform/ui/resources.h"
#include "res/resource_ids.h"
#include "support/framework/zu_thread.h"

BEGIN_MESSAGE_MAP(CGlimraDlg, CSizingModelessMain)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_NOTIFY(TVN_ITEMEXPANDING, IDC_FOLDER_TREE, OnItemexpandingFolderTree)
ON_NOTIFY(TVN_SELCHANGED, IDC_FOLDER_TREE, OnSelchangedFolderTree)
ON_NOTIFY(TVN_DELETEITEM, IDC_FOLDER_TREE, OnDeleteitemFolderTree)
ON_CBN_EDITCHANGE(IDC_FILE_TYPE, OnEditchangeFileType)
ON_CBN_SELCHANGE(IDC_FILE_TYPE, OnSelchangeFileType)
ON_LBN_SELCHANGE(IDC_FILE_LIST, OnSelchangeFileList)
ON_BN_CLICKED(IDC_LIST_ICON, OnListIcon)
ON_WM_CONTEXTMENU()
ON_WM_RBUTTONUP()
ON_MESSAGE(WM_ICON_MENU_NOTIFY, OnIconMenuNotify)
ON_LBN_DBLCLK(IDC_FILE_LIST, OnDblclkFileList)
ON_NOTIFY(NM_DBLCLK, IDC_ICON_LIST, OnDblclkIconList)
ON_BN_CLICKED(IDC_RECURSIVE, UpdateListButton)
ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {

// Ends a running worker and waits until it has left. It leaves at its next
// window call; the wait is short, and it must come before anything the
// worker uses goes: the controls, the image list, the records, the window.
void EndWorker(HANDLE& worker) {
  if (worker == nullptr) return;
  static_cast<void>(ZU_ThreadKill(worker));
  static_cast<void>(WaitForSingleObject(worker, INFINITE));
  worker = nullptr;
}

}  // namespace

CGlimraDlg::CGlimraDlg(UINT templateId)
    : CSizingModelessMain(templateId),
      m_hStartedEvent(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      m_hStopEvent(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      m_hIcon(LoadIconResource(IDR_MAINFRAME)) {
  ResetEvent(m_hStartedEvent);
  ResetEvent(m_hStopEvent);
}

CGlimraDlg::~CGlimraDlg() {
  // Normally ended already, as the window was destroyed.
  EndWorker(m_hWorkerThread);
  if (m_pImageList != nullptr) {
    // A list view that outlives this point must not draw from a freed list.
    if (m_lvIcons.GetSafeHwnd() != nullptr) {
      static_cast<void>(m_lvIcons.SetImageList(nullptr, LVSIL_NORMAL));
    }
    delete m_pImageList;
    m_pImageList = nullptr;
  }
  CloseHandle(m_hStartedEvent);
  CloseHandle(m_hStopEvent);
  if (m_hIcon != nullptr) {
    DestroyIcon(m_hIcon);
  }
}

void CGlimraDlg::DoDataExchange(CDataExchange* pDX) {
  CSizingModelessMain::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_RECURSIVE, m_chkRecursive);
  DDX_Control(pDX, IDC_FOLDER_TREE, m_treeFolders);
  DDX_Control(pDX, IDC_PATH_SELECTOR, m_grpPathSelector);
  DDX_Control(pDX, IDC_ICON_LIST_GROUP, m_grpIconList);
  DDX_Control(pDX, IDC_FILE_TYPE_LABEL, m_lblFileType);
  DDX_Control(pDX, IDC_ICON_LIST, m_lvIcons);
  DDX_Control(pDX, IDC_FILE_LIST, m_lstFiles);
  DDX_Control(pDX, IDC_FILE_TYPE, m_cboFileType);
  DDX_Control(pDX, IDC_LIST_ICON, m_btnListIcon);
}

BOOL CGlimraDlg::OnInitDialog() {
  CSizingModelessMain::OnInitDialog();

  if (CMenu* sysMenu = GetSystemMenu(FALSE); sysMenu != nullptr) {
    CString aboutText;
    static_cast<void>(aboutText.LoadString(IDS_ABOUTBOX));
    if (!aboutText.IsEmpty()) {
      sysMenu->AppendMenu(MF_SEPARATOR);
      sysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutText);
    }
  }
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);

  // The upper area keeps its height; the tree and the file list share any
  // extra width equally, and the icon list takes all extra height.
  AddSzControl(m_btnListIcon, mdRepos, mdNone);
  AddSzControl(m_lblFileType, mdRepos, mdNone);
  AddSzControl(m_cboFileType, mdRepos, mdNone);
  AddSzControl(m_chkRecursive, mdRepos, mdNone);
  AddSzControlEx(m_grpPathSelector, 0, 100, 0, 0);
  AddSzControlEx(m_treeFolders, 0, 50, 0, 0);
  AddSzControlEx(m_lstFiles, 50, 100, 0, 0);
  AddSzControlEx(m_grpIconList, 0, 100, 0, 100);
  AddSzControlEx(m_lvIcons, 0, 100, 0, 100);

  m_treeFolders.EnableImages();
  m_treeFolders.EnableFolderKeys();
  m_treeFolders.PopulateTree();

  m_pImageList = new CImageList;
  m_pImageList->Create(32, 32, 0, 25, 20);
  m_lvIcons.SetImageList(m_pImageList, LVSIL_NORMAL);
  m_lvIcons.SetIconSpacing(48, 48);
  // Beyond the design: what an icon is, for a pointer resting on it and for
  // screen readers.
  m_lvIcons.SetItemDescriber([this](int item) {
    const POSITION at = m_listIcons.FindIndex(item);
    return at != nullptr ? DescribeListedIcon(m_listIcons.GetAt(at)) : CString();
  });
  // And a way for icons out of the window: Ctrl+C in the list, dragging.
  BindControlKey(m_lvIcons.GetSafeHwnd(), 'C', KeyModifiers::kControl, [this] { CopySelectedIcons(*this); });
  m_lvIcons.SetDragStart([this] { DragSelectedIcons(*this); });

  m_chkRecursive.SetCheck(BST_UNCHECKED);

  // Ctrl+I is translated for this window; nothing else loads the table.
  LoadAccelTable(IDR_ACCELERATOR);
  return TRUE;
}

void CGlimraDlg::OnOK() {}

void CGlimraDlg::OnCancel() {}

BOOL CGlimraDlg::DestroyWindow() {
  // Before the teardown, not at the object's end: a worker still running
  // would call into controls being destroyed.
  EndWorker(m_hWorkerThread);
  // Each entry unlinks itself from the list when deleted.
  while (!Header.IsEmpty()) {
    delete Header.GetHead();
  }
  return CSizingModelessMain::DestroyWindow();
}

void CGlimraDlg::OnSysCommand(UINT nID, LPARAM lParam) {
  if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
    theApp.OnAppAbout();
  } else {
    CSizingModelessMain::OnSysCommand(nID, lParam);
  }
}

void CGlimraDlg::OnPaint() {
  if (IsIconic()) {
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    CRect client;
    GetClientRect(&client);
    const CPoint at = MinimizedIconOrigin(client, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    dc.DrawIcon(at.x, at.y, m_hIcon);
  } else {
    CSizingModelessMain::OnPaint();
  }
}

HCURSOR CGlimraDlg::OnQueryDragIcon() { return m_hIcon; }

void CGlimraDlg::OnItemexpandingFolderTree(NMHDR* pNMHDR, LRESULT* pResult) {
  m_treeFolders.OnFolderExpanding(pNMHDR, pResult);
  // The item always opens, whatever the tree answered.
  *pResult = 0;
}

void CGlimraDlg::OnDeleteitemFolderTree(NMHDR* pNMHDR, LRESULT* pResult) {
  m_treeFolders.OnDeleteShellItem(pNMHDR, pResult);
  *pResult = 0;
}
