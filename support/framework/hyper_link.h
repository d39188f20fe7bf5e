#pragma once
// A static text shown as a link: blue and underlined, with the hand cursor;
// a click opens its address with the desktop's browser.

#include <functional>
#include <string>

#include "platform/ui/static_text.h"

// Opens an address with the desktop's handler; answers whether it could.
using UrlOpener = std::function<bool(const std::string& url)>;
// Replaces how links open addresses (tests record instead of starting a
// browser); an empty function restores the desktop's handler.
void SetUrlOpener(UrlOpener opener);
// Opens url the current way.
bool OpenUrl(const std::string& url);

class CHyperLink : public CStatic {
  DECLARE_DYNAMIC(CHyperLink)

 public:
  CHyperLink();
  ~CHyperLink() override;

  // The address a click opens; when empty, the text shown is used.
  void SetURL(CString url);
  [[nodiscard]] CString GetURL() const { return m_strURL; }
  // Opens the address as a click does; TRUE when it could.
  BOOL FollowLink();

 protected:
  // The link's look is set up on the first message after the object is
  // bound to its control (DDX_Control or SubclassDlgItem), and by SetURL.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void ApplyLinkLook();
  CString m_strURL;
  HWND m_hStyled = nullptr;
};
