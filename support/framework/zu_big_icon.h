#pragma once
// An owner-drawn button that shows an icon resource large, as in the about
// and help dialogs.

#include "platform/ui/button.h"

class CZUBigIcon : public CButton {
  DECLARE_DYNAMIC(CZUBigIcon)

 public:
  CZUBigIcon();
  ~CZUBigIcon() override;
  CZUBigIcon(const CZUBigIcon&) = delete;
  CZUBigIcon& operator=(const CZUBigIcon&) = delete;

  // Loads icon resource iconId and sizes the control to it: the largest
  // square image the icon holds that fits the control's current size, at
  // least 32 x 32 (a control smaller than that grows to 32 x 32). The
  // control keeps its top-left corner. FALSE when the icon does not exist.
  BOOL SizeToContent(UINT iconId);
  [[nodiscard]] HICON GetBigIcon() const { return m_hIcon; }
  [[nodiscard]] int GetIconSide() const { return m_nSide; }

 private:
  void InstallPainter();
  HICON m_hIcon = nullptr;
  int m_nSide = 0;
};

// The side of the square image an icon resource would be shown at in a
// control of the given size: the largest image side of the icon that fits
// both dimensions, else 32. 0 when the icon does not exist.
[[nodiscard]] int BigIconSide(UINT iconId, int controlWidth, int controlHeight);
