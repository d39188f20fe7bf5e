#include "commands/icon_info_dlg.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "model/icon_info.h"
#include "platform/core/icon_object.h"
#include "platform/ui/dc.h"
#include "res/resource_ids.h"
#include "support/framework/file_name.h"

IMPLEMENT_DYNAMIC(CIconInfoDlg, CDialog)

BEGIN_MESSAGE_MAP(CIconInfoDlg, CDialog)
ON_CBN_SELCHANGE(IDC_INFO_IMAGES, OnSelchangeImage)
ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

// The group's path fields are NUL-terminated by the library; a missing
// terminator still never reads past the field.
std::string FixedField(const char (&field)[MAX_PATH]) { return {field, ::strnlen(field, MAX_PATH)}; }

CString Number(UINT value) {
  CString text;
  text.Format("%d", static_cast<int>(value));
  return text;
}

}  // namespace

CIconInfoDlg::CIconInfoDlg(ICONRESOURCE* pResource, LPCTSTR pszID, CWnd* pParent)
    : CDialog(IDD_ICON_INFO, pParent), m_pResource(pResource), m_pszID(pszID) {}

CIconInfoDlg::~CIconInfoDlg() { ReplaceIcon(nullptr); }

void CIconInfoDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_INFO_WIDTH, m_stcWidth);
  DDX_Control(pDX, IDC_INFO_COUNT, m_stcCount);
  DDX_Control(pDX, IDC_INFO_ID, m_stcID);
  DDX_Control(pDX, IDC_INFO_PREVIEW, m_stcPreview);
  DDX_Control(pDX, IDC_INFO_HEIGHT, m_stcHeight);
  DDX_Control(pDX, IDC_INFO_SOURCE, m_stcSource);
  DDX_Control(pDX, IDC_INFO_BITS, m_stcBits);
  DDX_Control(pDX, IDC_INFO_IMAGES, m_cbImages);
}

BOOL CIconInfoDlg::OnInitDialog() {
  static_cast<void>(CDialog::OnInitDialog());
  static_cast<void>(m_stcPreview.ModifyStyle(0, SS_CENTERIMAGE));

  std::string source = FixedField(m_pResource->szIconFile);
  CString idText;
  if (source.empty()) {
    source = FixedField(m_pResource->szModule);
    idText = IconIdentifierText(m_pszID);
  }
  RECT sourceRect{0, 0, 0, 0};
  m_stcSource.GetWindowRect(&sourceRect);
  m_stcSource.SetWindowText(CFileName(source).Path2Rect(&m_stcSource, sourceRect).c_str());
  m_stcID.SetWindowText(idText);
  m_stcCount.SetWindowText(Number(m_pResource->nImages));
  // FALSE when no icon could be made: the framework then sets no focus.
  return ShowImage(ImageListFill::Fill);
}

UINT CIconInfoDlg::CurrentImage() const { return m_nCurImage < m_pResource->nImages ? m_nCurImage : 0; }

void CIconInfoDlg::ReplaceIcon(HICON icon) {
  if (m_hCurIcon != nullptr) static_cast<void>(DestroyIcon(m_hCurIcon));
  m_hCurIcon = icon;
}

BOOL CIconInfoDlg::ShowImage(ImageListFill fill) {
  m_nCurImage = static_cast<WORD>(CurrentImage());
  // A group without images has no entry 0 to read; it shows nothing and
  // previews as unsupported.
  if (m_pResource->nImages == 0) {
    m_stcWidth.SetWindowText("");
    m_stcHeight.SetWindowText("");
    m_stcBits.SetWindowText("");
    ReplaceIcon(nullptr);
    return FALSE;
  }
  const ICONIMAGE* image = IconImageAt(m_pResource, m_nCurImage);
  m_stcWidth.SetWindowText(Number(image->nWidth));
  m_stcHeight.SetWindowText(Number(image->nHeight));
  m_stcBits.SetWindowText(Number(image->nBitCount));

  ReplaceIcon(MakeIconFromResource(image));
  if (m_hCurIcon == nullptr) return FALSE;
  Invalidate(TRUE);

  if (fill == ImageListFill::Fill) {
    for (UINT i = 0; i < m_pResource->nImages; ++i) {
      const ICONIMAGE* entry = IconImageAt(m_pResource, i);
      char text[256];
      std::snprintf(text, sizeof text, "%dx%d, %d Bit Color", static_cast<int>(entry->nWidth),
                    static_cast<int>(entry->nHeight), static_cast<int>(entry->nBitCount));
      static_cast<void>(m_cbImages.AddString(text));
    }
    static_cast<void>(m_cbImages.SetCurSel(0));
  }
  return TRUE;
}

void CIconInfoDlg::OnSelchangeImage() {
  const int selection = m_cbImages.GetCurSel();
  if (selection == static_cast<int>(m_nCurImage)) return;
  // No selection (-1) keeps its low 16 bits, 0xFFFF, which ShowImage takes
  // back to image 0.
  m_nCurImage = static_cast<WORD>(static_cast<unsigned>(selection) & 0xFFFFu);
  static_cast<void>(ShowImage(ImageListFill::Keep));
}

void CIconInfoDlg::OnPaint() {
  CPaintDC dc(this);
  // The layer paints a window only inside its own paint message, so the
  // preview is drawn through the dialog's context at the frame's place; the
  // frame's border is drawn over it afterwards, as the frame control paints
  // after its parent.
  RECT frame{0, 0, 0, 0};
  m_stcPreview.GetWindowRect(&frame);
  ScreenToClient(&frame);
  CRect client;
  m_stcPreview.GetClientRect(&client);
  client.OffsetRect(frame.left, frame.top);
  const int width = client.Width();
  const int height = client.Height();

  if (m_hCurIcon == nullptr) {
    static_cast<void>(dc.SetTextColor(RGB(255, 255, 255)));
    static constexpr char kUnsupported[] = "Unsupported";
    SIZE extent{0, 0};
    static_cast<void>(GetTextExtentPointA(dc, kUnsupported, static_cast<int>(std::strlen(kUnsupported)), &extent));
    // Above the middle, not centred on it, as the dialog has always drawn it.
    static_cast<void>(dc.TextOut(client.left + (width - extent.cx) / 2, client.top + height / 2 - extent.cy,
                                 kUnsupported, static_cast<int>(std::strlen(kUnsupported))));
    return;
  }

  m_nCurImage = static_cast<WORD>(CurrentImage());
  const ICONIMAGE* image = IconImageAt(m_pResource, m_nCurImage);
  const UINT frameWidth = static_cast<UINT>(std::max(width, 0));
  const UINT frameHeight = static_cast<UINT>(std::max(height, 0));
  // An image that fits is centred at its own size; a larger one is squeezed
  // to the frame from the frame's edge.
  const int x = frameWidth < image->nWidth ? 0 : static_cast<int>((frameWidth - image->nWidth) / 2);
  const int y = frameHeight < image->nHeight ? 0 : static_cast<int>((frameHeight - image->nHeight) / 2);
  const int cx = static_cast<int>(std::min(image->nWidth, frameWidth));
  const int cy = static_cast<int>(std::min(image->nHeight, frameHeight));
  static_cast<void>(DrawIconEx(dc, client.left + x, client.top + y, m_hCurIcon, cx, cy, 0, nullptr, DI_NORMAL));
}
