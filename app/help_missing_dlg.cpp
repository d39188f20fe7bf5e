#include "app/help_missing_dlg.h"

#include "res/resource_ids.h"

IMPLEMENT_DYNAMIC(CHelpMissingDlg, CDialog)

// The map has no entries; the macros' class alias then goes unused.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-local-typedefs"
BEGIN_MESSAGE_MAP(CHelpMissingDlg, CDialog)
END_MESSAGE_MAP()
#pragma GCC diagnostic pop

CHelpMissingDlg::CHelpMissingDlg(CWnd* parent) : CDialog(IDD_HELP_MISSING, parent) {}

CHelpMissingDlg::~CHelpMissingDlg() = default;

void CHelpMissingDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_HELP_LINK, m_link);
}

BOOL CHelpMissingDlg::OnInitDialog() {
  static_cast<void>(CDialog::OnInitDialog());
  static_cast<void>(m_bigIcon.SubclassDlgItem(IDC_HELP_BIG_ICON, this));
  static_cast<void>(m_bigIcon.SizeToContent(IDR_MAINFRAME));
  CString url;
  static_cast<void>(url.LoadString(IDS_HELP_URL));
  m_link.SetURL(url);
  return TRUE;
}
