#pragma once
// The library's about box: the application icon large, the product name,
// the version from the program's version data, the copyright and a legal
// notice, and OK. Its template is the library's own (kAboutDialogId).

#include "platform/ui/dialog.h"
#include "support/framework/zu_big_icon.h"

// The about box's template and controls. The ids lie above the program's
// own resource ids so that the program's table never shadows them.
inline constexpr UINT kAboutDialogId = 30100;
inline constexpr UINT kAboutIconId = 30101;
inline constexpr UINT kAboutProductId = 30102;
inline constexpr UINT kAboutVersionId = 30103;
inline constexpr UINT kAboutCopyrightId = 30104;
inline constexpr UINT kAboutNoticeId = 30105;

class CZUAboutDlg : public CDialog {
  DECLARE_DYNAMIC(CZUAboutDlg)

 public:
  explicit CZUAboutDlg(UINT iconId, CWnd* parent = nullptr);
  ~CZUAboutDlg() override;

  INT_PTR DoModal() override;
  BOOL OnInitDialog() override;

  // What the box shows, from the version data ("Glimra", "Version 1.0.2.0").
  [[nodiscard]] static CString ProductText();
  [[nodiscard]] static CString VersionText();

 private:
  UINT m_nIconId;
  CZUBigIcon m_bigIcon;
};
