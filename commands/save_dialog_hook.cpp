#include <string>

#include "commands/save_dialog.h"
#include "model/icon_info.h"
#include "platform/core/icon_object.h"
#include "platform/ui/dc.h"
#include "platform/ui/gdi_objects.h"
#include "res/resource_ids.h"
#include "support/framework/file_name.h"

namespace {

// The one save dialog that can be open at a time.
struct PreviewState {
  HICON icon = nullptr;
  HWND frame = nullptr;
  RECT frameRect{0, 0, 0, 0};
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
  UINT fileNameOkMessage = 0;
};
PreviewState g_preview;

void DropPreviewIcon() {
  if (g_preview.icon != nullptr) DestroyIcon(g_preview.icon);
  g_preview.icon = nullptr;
}

// The icon's drawn size from its bitmaps: the colour bitmap, or for a
// monochrome icon the mask, which holds both masks one above the other and
// so is twice as tall as the icon. False when the icon cannot be measured.
bool MeasureIcon(HICON icon, BITMAP& bitmap) {
  ICONINFO parts{};
  if (icon == nullptr || !GetIconInfo(icon, &parts)) return false;
  HBITMAP measured = parts.hbmColor != nullptr ? parts.hbmColor : parts.hbmMask;
  const bool described = GetObjectA(measured, static_cast<int>(sizeof(BITMAP)), &bitmap) != 0;
  // GetIconInfo hands out copies that the caller deletes.
  if (parts.hbmColor != nullptr) DeleteObject(parts.hbmColor);
  if (parts.hbmMask != nullptr) DeleteObject(parts.hbmMask);
  return described;
}

void InitPanel(HWND hDlg, const OPENFILENAMEA& ofn) {
  const auto* info = reinterpret_cast<const CIconInfo*>(ofn.lCustData);
  CFileName source;
  CString idText;
  DropPreviewIcon();
  if (info != nullptr) g_preview.icon = info->GetPreviewIcon(source, idText);

  CWnd* panel = CWnd::FromHandle(hDlg);
  if (CWnd* path = panel->GetDlgItem(IDC_SAVE_SOURCE); path != nullptr) {
    RECT rect;
    path->GetWindowRect(&rect);
    path->SetWindowText(source.Path2Rect(path, rect).c_str());
  }
  panel->SetDlgItemText(IDC_SAVE_ICON_ID, idText);

  CWnd* frame = panel->GetDlgItem(IDC_SAVE_ICON_FRAME);
  g_preview.frame = frame != nullptr ? frame->GetSafeHwnd() : nullptr;
  g_preview.frameRect = RECT{0, 0, 0, 0};
  if (frame != nullptr) {
    static_cast<void>(frame->ModifyStyle(0, SS_CENTERIMAGE));
    frame->GetClientRect(&g_preview.frameRect);
  }
  const RECT& r = g_preview.frameRect;
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;

  BITMAP bitmap{};
  if (!MeasureIcon(g_preview.icon, bitmap)) {
    DropPreviewIcon();
  } else {
    const int w = bitmap.bmWidth;
    const int h = bitmap.bmHeight;
    g_preview.x = width < w ? 0 : r.left + (width - w) / 2;
    g_preview.y = height < h ? 0 : r.top + (height - h) / 2;
    g_preview.cx = w < width ? w : width;
    g_preview.cy = h < height ? h : height;
  }
  g_preview.fileNameOkMessage = RegisterWindowMessageA(FILEOKSTRINGA);
}

void PaintPreview() {
  HDC dc = GetDC(g_preview.frame);
  HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
  FillRect(dc, &g_preview.frameRect, brush);
  if (g_preview.icon != nullptr) {
    DrawIconEx(dc, g_preview.x, g_preview.y, g_preview.icon, g_preview.cx, g_preview.cy, 0, nullptr, DI_NORMAL);
  }
  DeleteBrush(brush);
  ReleaseDC(g_preview.frame, dc);
}

}  // namespace

UINT_PTR SaveDialogHook(HWND hDlg, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    InitPanel(hDlg, *reinterpret_cast<const OPENFILENAMEA*>(lParam));
    return TRUE;
  }
  if (message == WM_PAINT) {
    PaintPreview();
    // The panel's own painting still runs.
    return FALSE;
  }
  // The chosen name is accepted: no message result refuses it.
  if (g_preview.fileNameOkMessage != 0 && message == g_preview.fileNameOkMessage) return TRUE;
  return FALSE;
}

void FreeSavePreviewIcon() {
  DropPreviewIcon();
  g_preview.frame = nullptr;
}
