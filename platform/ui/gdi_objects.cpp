#include "platform/ui/gdi_objects.h"

#include <QApplication>
#include <QPalette>
#include <unordered_map>

#include "platform/core/icon_object.h"
#include "platform/ui/gdi_internal.h"
#include "platform/ui/ui_call.h"

HFONT CreatePointFont(int pointSizeTenths, LPCTSTR faceName, int weight, BOOL italic) {
  auto* font = new FontRecord;
  font->face = QString::fromUtf8(faceName ? faceName : "");
  font->pointSizeTenths = pointSizeTenths > 0 ? pointSizeTenths : 80;
  font->weight = weight;
  font->italic = italic != FALSE;
  return font;
}

BOOL DeleteFontRecord(HFONT font) {
  delete font;
  return font ? TRUE : FALSE;
}

QFont FontToQt(HFONT font) {
  QFont f = QApplication::font();
  if (!font) return f;
  if (!font->face.isEmpty()) f.setFamily(font->face);
  f.setPointSizeF(font->pointSizeTenths / 10.0);
  f.setWeight(font->weight >= 700 ? QFont::Bold : QFont::Normal);
  f.setItalic(font->italic);
  return f;
}

QColor ColorToQt(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
COLORREF ColorFromQt(const QColor& c) {
  return RGB(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()), static_cast<unsigned>(c.blue()));
}

COLORREF GetSysColor(int index) {
  return UiCall([index]() -> COLORREF {
    QPalette p = QApplication::palette();
    switch (index) {
      case COLOR_BTNFACE:
      case COLOR_MENU:
        return ColorFromQt(p.color(QPalette::Button));
      case COLOR_WINDOW:
        return ColorFromQt(p.color(QPalette::Base));
      case COLOR_WINDOWTEXT:
      case COLOR_MENUTEXT:
      case COLOR_BTNTEXT:
        return ColorFromQt(p.color(QPalette::WindowText));
      case COLOR_HIGHLIGHT:
        return ColorFromQt(p.color(QPalette::Highlight));
      case COLOR_HIGHLIGHTTEXT:
        return ColorFromQt(p.color(QPalette::HighlightedText));
      case COLOR_GRAYTEXT:
        return ColorFromQt(p.color(QPalette::Disabled, QPalette::WindowText));
      case COLOR_BTNSHADOW:
        return ColorFromQt(p.color(QPalette::Dark));
      case COLOR_BTNHIGHLIGHT:
        return ColorFromQt(p.color(QPalette::Light));
      default:
        return ColorFromQt(p.color(QPalette::Window));
    }
  });
}

HBRUSH CreateSolidBrush(COLORREF color) { return new BrushRecord{color, false}; }

HBRUSH GetSysColorBrush(int index) {
  static std::unordered_map<int, BrushRecord*> stock;
  return UiCall([index]() -> HBRUSH {
    BrushRecord*& b = stock[index];
    if (!b) b = new BrushRecord{0, true};
    b->color = GetSysColor(index);
    return b;
  });
}

BOOL DeleteBrush(HBRUSH brush) {
  if (!brush || brush->stock) return FALSE;
  delete brush;
  return TRUE;
}

COLORREF BrushColor(HBRUSH brush) { return brush ? brush->color : 0; }

CFont::~CFont() { DeleteObject(); }

BOOL CFont::CreatePointFont(int pointSize, LPCTSTR faceName) {
  DeleteObject();
  m_hObject = ::CreatePointFont(pointSize, faceName);
  m_owned = true;
  return TRUE;
}

BOOL CFont::Attach(HFONT font) {
  DeleteObject();
  m_hObject = font;
  m_owned = true;
  return font ? TRUE : FALSE;
}

HFONT CFont::Detach() {
  HFONT f = m_hObject;
  m_hObject = nullptr;
  m_owned = false;
  return f;
}

BOOL CFont::DeleteObject() {
  if (!m_hObject) return FALSE;
  if (m_owned) DeleteFontRecord(m_hObject);
  m_hObject = nullptr;
  m_owned = false;
  return TRUE;
}

CFont* CFont::FromHandle(HFONT font) {
  if (!font) return nullptr;
  // One wrapper per handle; fonts are few and live as long as their windows.
  static std::unordered_map<HFONT, std::unique_ptr<CFont>> wrappers;
  return UiCall([font]() -> CFont* {
    auto& w = wrappers[font];
    if (!w) {
      w = std::make_unique<CFont>();
      w->m_hObject = font;
    }
    return w.get();
  });
}

CBrush::CBrush(COLORREF color) { CreateSolidBrush(color); }
CBrush::~CBrush() { DeleteObject(); }

BOOL CBrush::CreateSolidBrush(COLORREF color) {
  DeleteObject();
  m_hObject = ::CreateSolidBrush(color);
  return TRUE;
}

BOOL CBrush::DeleteObject() {
  if (!m_hObject) return FALSE;
  DeleteBrush(m_hObject);
  m_hObject = nullptr;
  return TRUE;
}
