// The window overload of CFileName::Path2Rect: the pure shortening measured
// with the font the window draws its text in.
#include <string>
#include <string_view>

#include "platform/ui/cwnd.h"
#include "platform/ui/dc.h"
#include "platform/ui/gdi_objects.h"
#include "support/framework/file_name.h"

std::string CFileName::Path2Rect(CWnd* wnd, const RECT& rect) const {
  if (wnd == nullptr || !IsWindow(wnd->GetSafeHwnd())) {
    return {};
  }
  CClientDC dc(wnd);
  CFont* font = wnd->GetFont();
  CFont* previous = font != nullptr ? dc.SelectObject(font) : nullptr;
  const TextWidthFn measure = [&dc](std::string_view text) {
    const std::string copy(text);
    return dc.GetTextExtent(copy.c_str(), static_cast<int>(copy.size())).cx;
  };
  std::string shortened = ShortenPathToWidth(GetPath(), rect.right - rect.left, measure);
  if (previous != nullptr) {
    dc.SelectObject(previous);
  }
  return shortened;
}
