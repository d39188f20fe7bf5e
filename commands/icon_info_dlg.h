#pragma once
// "Icon Info" (template 501): where one icon group came from, its identifier
// and image count, and for the image chosen in the combo box its width,
// height, depth and a drawing of it.

#include "platform/ui/combo_box.h"
#include "platform/ui/dialog.h"
#include "platform/ui/static_text.h"
#include "support/icon/icon_library.h"

// Told when an icon group cannot be rebuilt or a selected item has no
// record.
inline constexpr const char* kCantGetIconInfo = "Can't get Icon info";

// Whether ShowImage lists the group's images in the combo box.
enum class ImageListFill { Fill, Keep };

class CIconInfoDlg : public CDialog {
  DECLARE_DYNAMIC(CIconInfoDlg)

 public:
  // The group stays the caller's and must outlive the dialog. pszID is a
  // number below 0x10000 or points to a name.
  CIconInfoDlg(ICONRESOURCE* pResource, LPCTSTR pszID, CWnd* pParent = nullptr);
  ~CIconInfoDlg() override;
  CIconInfoDlg(const CIconInfoDlg&) = delete;
  CIconInfoDlg& operator=(const CIconInfoDlg&) = delete;

  // Shows image m_nCurImage (image 0 when out of range); TRUE when an icon
  // could be made of it. When none can be made it returns before the combo
  // box is filled or anything is redrawn.
  BOOL ShowImage(ImageListFill fill);

  CStatic m_stcWidth;
  CStatic m_stcCount;
  CStatic m_stcID;
  CStatic m_stcPreview;
  CStatic m_stcHeight;
  CStatic m_stcSource;
  CStatic m_stcBits;
  CComboBox m_cbImages;
  ICONRESOURCE* m_pResource;
  WORD m_nCurImage = 0;
  LPCTSTR m_pszID;
  HICON m_hCurIcon = nullptr;  // owned; null when the image makes no icon

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg void OnSelchangeImage();
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  // m_nCurImage, or 0 when it is not below the image count.
  [[nodiscard]] UINT CurrentImage() const;
  void ReplaceIcon(HICON icon);
};
