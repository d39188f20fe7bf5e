#include "platform/ui/dc.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <unordered_map>

#include "platform/core/icon_object.h"
#include "platform/ui/frame_widget.h"
#include "platform/ui/gdi_internal.h"
#include "platform/ui/gdi_objects.h"
#include "platform/ui/ui_call.h"
#include "platform/ui/window_record.h"

namespace {
std::unordered_map<HDC, std::unique_ptr<CDC>>& Wrappers() {
  static std::unordered_map<HDC, std::unique_ptr<CDC>> wrappers;
  return wrappers;
}

QFont CurrentFont(const DeviceContext* dc) {
  if (dc->font) return FontToQt(dc->font);
  return dc->widget ? dc->widget->font() : FontToQt(nullptr);
}
}  // namespace

QImage PixelsToImage(const std::uint32_t* pixels, int width, int height) {
  if (!pixels || width <= 0 || height <= 0) return {};
  QImage image(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
    for (int x = 0; x < width; ++x)
      row[x] = pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
  }
  return image;
}

QImage IconToImage(const IconObject* icon) {
  if (!icon || icon->width <= 0 || icon->height <= 0) return {};
  std::vector<std::uint32_t> pixels = ScaleIconPixels(*icon, icon->width, icon->height);
  if (pixels.size() != static_cast<std::size_t>(icon->width) * static_cast<std::size_t>(icon->height)) return {};
  return PixelsToImage(pixels.data(), icon->width, icon->height);
}

HDC BeginWindowDC(HWND hWnd, bool paint) {
  WindowRecord* rec = LiveRecord(hWnd);
  auto* dc = new DeviceContext;
  if (!rec || !rec->client) return dc;
  dc->widget = rec->client;
  dc->font = rec->font;
  // Qt paints only inside a paint event; elsewhere a context measures.
  auto* client = dynamic_cast<ClientWidget*>(rec->client);
  if (paint && client && client->InPaint()) {
    dc->owned = std::make_unique<QPainter>(client);
    dc->painter = dc->owned.get();
    dc->painter->setFont(CurrentFont(dc));
    return dc;
  }
  BeginChildOfPaintingDC(*dc);
  return dc;
}

void BeginChildOfPaintingDC(DeviceContext& dc) {
  // A window painted while an ancestor handles WM_PAINT (a dialog drawing
  // into one of its frames) draws on the ancestor, moved to the child's
  // place and clipped to it: Qt paints a widget only in its own paint event,
  // and a child without a background shows what its parent drew there.
  QWidget* child = dc.widget;
  if (!child || !child->isVisible()) return;
  ClientWidget* painting = nullptr;
  for (QWidget* w = child->parentWidget(); w && !painting; w = w->parentWidget()) {
    auto* c = dynamic_cast<ClientWidget*>(w);
    if (c && c->InPaint()) painting = c;
  }
  if (!painting) return;
  QPaintEngine* engine = painting->paintEngine();
  if (engine && engine->isActive() && engine->painter()) {
    // The ancestor's own context is open: share its painter.
    dc.painter = engine->painter();
    dc.painter->save();
    dc.borrowed = true;
  } else {
    dc.owned = std::make_unique<QPainter>(painting);
    dc.painter = dc.owned.get();
  }
  const QPoint at = child->mapTo(painting, QPoint(0, 0));
  dc.painter->translate(at);
  dc.painter->setClipRect(QRect(QPoint(0, 0), child->size()));
  dc.painter->setFont(CurrentFont(&dc));
}

void EndWindowDC(HDC dc) {
  if (!dc) return;
  Wrappers().erase(dc);
  if (dc->borrowed && dc->painter) dc->painter->restore();
  if (dc->owned) dc->owned->end();
  delete dc;
}

HDC GetDC(HWND hWnd) {
  return UiCall([&] { return BeginWindowDC(hWnd, false); });
}

int ReleaseDC(HWND, HDC dc) {
  UiCall([&] { EndWindowDC(dc); });
  return 1;
}

BOOL FillRect(HDC dc, LPCRECT rect, HBRUSH brush) {
  if (!dc || !rect) return FALSE;
  if (dc->painter) {
    dc->painter->fillRect(QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top),
                          ColorToQt(BrushColor(brush)));
  }
  return TRUE;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH, UINT flags) {
  if (!dc || !icon) return FALSE;
  if (cx <= 0) cx = (flags & DI_DEFAULTSIZE) ? 32 : icon->width;
  if (cy <= 0) cy = (flags & DI_DEFAULTSIZE) ? 32 : icon->height;
  if (cx <= 0 || cy <= 0) return FALSE;
  if (!dc->painter) return TRUE;
  std::vector<std::uint32_t> pixels = ScaleIconPixels(*icon, cx, cy);
  QImage image = PixelsToImage(pixels.data(), cx, cy);
  if (image.isNull()) return FALSE;
  dc->painter->drawImage(QPoint(x, y), image);
  return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
  return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}

BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int length) {
  if (!dc || !text || length < 0) return FALSE;
  if (!dc->painter) return TRUE;
  QString s = QString::fromUtf8(text, length);
  QFontMetrics metrics(dc->painter->font());
  QRect box(x, y, metrics.horizontalAdvance(s), metrics.height());
  if (dc->bkMode == OPAQUE) dc->painter->fillRect(box, ColorToQt(dc->bkColor));
  dc->painter->setPen(ColorToQt(dc->textColor));
  // The platform places text by its top-left corner, Qt by the baseline.
  dc->painter->drawText(QPoint(x, y + metrics.ascent()), s);
  return TRUE;
}

int DrawText(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format) {
  if (!dc || !text || !rect) return 0;
  QString s = length < 0 ? QString::fromUtf8(text) : QString::fromUtf8(text, length);
  QFont font = dc->painter ? dc->painter->font() : CurrentFont(dc);
  QFontMetrics metrics(font);
  QRect box(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
  if (format & (DT_PATH_ELLIPSIS | DT_END_ELLIPSIS)) {
    s = metrics.elidedText(s, (format & DT_PATH_ELLIPSIS) ? Qt::ElideMiddle : Qt::ElideRight, box.width());
  }
  int align = (format & DT_CENTER) ? Qt::AlignHCenter : (format & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
  align |= (format & DT_VCENTER) ? Qt::AlignVCenter : Qt::AlignTop;
  if (!(format & DT_NOPREFIX)) align |= Qt::TextShowMnemonic;
  if (dc->painter) {
    dc->painter->setPen(ColorToQt(dc->textColor));
    dc->painter->drawText(box, align, s);
  }
  return metrics.height();
}

BOOL GetTextExtentPointA(HDC dc, LPCSTR text, int length, SIZE* size) {
  if (!dc || !text || !size || length < 0) return FALSE;
  return UiCall([&]() -> BOOL {
    QFontMetrics metrics(dc->painter ? dc->painter->font() : CurrentFont(dc));
    QString s = QString::fromUtf8(text, length);
    *size = SIZE{metrics.horizontalAdvance(s), metrics.height()};
    return TRUE;
  });
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
  if (!dc) return 0;
  COLORREF old = dc->textColor;
  dc->textColor = color;
  return old;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
  if (!dc) return 0;
  COLORREF old = dc->bkColor;
  dc->bkColor = color;
  return old;
}

int SetBkMode(HDC dc, int mode) {
  if (!dc) return 0;
  int old = dc->bkMode;
  dc->bkMode = mode;
  return old;
}

HFONT SelectFont(HDC dc, HFONT font) {
  if (!dc) return nullptr;
  HFONT old = dc->font;
  dc->font = font;
  if (dc->painter) dc->painter->setFont(CurrentFont(dc));
  return old;
}

CDC::~CDC() = default;

CDC* CDC::FromHandle(HDC dc) {
  if (!dc) return nullptr;
  auto& w = Wrappers()[dc];
  if (!w) {
    w = std::make_unique<CDC>();
    w->m_hDC = dc;
  }
  return w.get();
}

void CDC::FillRect(LPCRECT rect, CBrush* brush) { ::FillRect(m_hDC, rect, brush ? brush->m_hObject : nullptr); }

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
  BrushRecord brush{color, false};
  ::FillRect(m_hDC, rect, &brush);
}

BOOL CDC::DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
BOOL CDC::TextOut(int x, int y, LPCTSTR text, int length) { return ::TextOut(m_hDC, x, y, text, length); }
int CDC::DrawText(LPCTSTR text, int length, LPRECT rect, UINT format) {
  return ::DrawText(m_hDC, text, length, rect, format);
}
COLORREF CDC::SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
COLORREF CDC::SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
int CDC::SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }

CFont* CDC::SelectObject(CFont* font) { return CFont::FromHandle(SelectFont(m_hDC, font ? font->m_hObject : nullptr)); }

CSize CDC::GetTextExtent(LPCTSTR text, int length) const {
  SIZE s{0, 0};
  GetTextExtentPointA(m_hDC, text, length, &s);
  return CSize(s);
}

LRESULT CDC::ReleaseHandle() {
  HDC dc = m_hDC;
  m_hDC = nullptr;
  return reinterpret_cast<LRESULT>(dc);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
  m_hDC = UiCall([&] { return BeginWindowDC(m_hWnd, true); });
}

CPaintDC::~CPaintDC() {
  HDC dc = m_hDC;
  m_hDC = nullptr;
  UiCall([&] { EndWindowDC(dc); });
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
  m_hDC = UiCall([&] { return BeginWindowDC(m_hWnd, true); });
}

CClientDC::~CClientDC() {
  HDC dc = m_hDC;
  m_hDC = nullptr;
  UiCall([&] { EndWindowDC(dc); });
}
