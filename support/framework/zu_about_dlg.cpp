#include "support/framework/zu_about_dlg.h"

#include <array>

#include "platform/ui/resources.h"
#include "platform/ui/win_app.h"
#include "support/framework/version_info.h"

IMPLEMENT_DYNAMIC(CZUAboutDlg, CDialog)

namespace {

constexpr DWORD kStaticStyle = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;

constexpr std::array<DialogItemTemplate, 6> kAboutItems = {{
    {0, 0, WS_VISIBLE | WS_DISABLED | BS_OWNERDRAW, 11, 11, 32, 32, kAboutIconId, WC_BUTTON, ""},
    {0, 0, kStaticStyle, 52, 10, 172, 8, kAboutProductId, WC_STATIC, ""},
    {0, 0, kStaticStyle, 52, 21, 172, 8, kAboutVersionId, WC_STATIC, ""},
    {0, 0, kStaticStyle, 52, 32, 172, 8, kAboutCopyrightId, WC_STATIC, ""},
    {0, 0, kStaticStyle, 11, 50, 160, 26, kAboutNoticeId, WC_STATIC,
     "This program is provided as is, without warranty of any kind, to the extent permitted by law."},
    {0, 0, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 178, 60, 50, 14, static_cast<DWORD>(IDOK), WC_BUTTON, "OK"},
}};

constexpr DialogTemplate kAboutTemplate = {
    true,       0,       0,       WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER,
    0,          0,       235,     82,
    0,          nullptr, "About", 8,
    400,        0,       0,       "MS Sans Serif",
    kAboutItems};

constexpr std::array<ResourceEntry<DialogTemplate>, 1> kAboutDialogs = {{{kAboutDialogId, &kAboutTemplate}}};

const ResourceTable kLibraryResources = {{}, kAboutDialogs, {}, {}, {}, {}, {}};

// The library's own table joins the lookups the first time it is needed,
// after the program has registered its own (static start-up order would
// not be reliable).
void EnsureLibraryResources() {
  static const bool registered = [] {
    RegisterResources(&kLibraryResources);
    return true;
  }();
  (void)registered;
}

}  // namespace

CZUAboutDlg::CZUAboutDlg(UINT iconId, CWnd* parent) : CDialog(kAboutDialogId, parent), m_nIconId(iconId) {
  EnsureLibraryResources();
}

CZUAboutDlg::~CZUAboutDlg() = default;

INT_PTR CZUAboutDlg::DoModal() {
  EnsureLibraryResources();
  return CDialog::DoModal();
}

CString CZUAboutDlg::ProductText() {
  if (const char* name = QueryVersionString("ProductName")) {
    return name;
  }
  if (const char* name = QueryVersionString("InternalName")) {
    return name;
  }
  return AfxGetAppName();
}

CString CZUAboutDlg::VersionText() {
  const VersionInfo* info = GetVersionInfo();
  if (info == nullptr) {
    return {};
  }
  CString text;
  text.Format("Version %u.%u.%u.%u", static_cast<unsigned>(info->fileVersion[0]),
              static_cast<unsigned>(info->fileVersion[1]), static_cast<unsigned>(info->fileVersion[2]),
              static_cast<unsigned>(info->fileVersion[3]));
  return text;
}

BOOL CZUAboutDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  const CString product = ProductText();
  SetWindowText(CString("About ") + product);
  SetDlgItemText(static_cast<int>(kAboutProductId), product);
  SetDlgItemText(static_cast<int>(kAboutVersionId), VersionText());
  const char* copyright = QueryVersionString("LegalCopyright");
  SetDlgItemText(static_cast<int>(kAboutCopyrightId), copyright != nullptr ? copyright : "");
  if (m_bigIcon.SubclassDlgItem(kAboutIconId, this)) {
    m_bigIcon.SizeToContent(m_nIconId);
  }
  return TRUE;
}
