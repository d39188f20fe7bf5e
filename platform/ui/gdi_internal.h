#pragma once
// Internal to platform/ui (Qt): fonts, colours and device contexts as Qt
// sees them.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <memory>

#include "platform/ui/win_user.h"

class QPainter;
class QPoint;
class QWidget;
struct IconObject;

struct FontRecord {
  QString face;
  int pointSizeTenths = 80;
  int weight = 400;
  bool italic = false;
};

struct BrushRecord {
  COLORREF color = 0;
  bool stock = false;  // a system colour brush, never deleted
};

struct DeviceContext {
  QWidget* widget = nullptr;
  QPainter* painter = nullptr;  // null: a measuring-only context
  std::unique_ptr<QPainter> owned;
  bool borrowed = false;  // painter is an ancestor's, restored when released
  HFONT font = nullptr;
  COLORREF textColor = 0;
  COLORREF bkColor = 0xFFFFFF;
  int bkMode = OPAQUE;
};

[[nodiscard]] QFont FontToQt(HFONT font);
[[nodiscard]] QColor ColorToQt(COLORREF color);
[[nodiscard]] COLORREF ColorFromQt(const QColor& color);
// The icon's pixels as an image (mask folded into alpha); null image for a null icon.
[[nodiscard]] QImage IconToImage(const IconObject* icon);
[[nodiscard]] QImage PixelsToImage(const std::uint32_t* pixels, int width, int height);
// Draws image index of list with its top left at at; false when there is no
// such image. On the user-interface thread only (it reads the list directly).
bool DrawImageListImage(QPainter& painter, HIMAGELIST list, int index, const QPoint& at);
// Paint and client contexts of a window (a painter only inside WM_PAINT).
[[nodiscard]] HDC BeginWindowDC(HWND hWnd, bool paint);
void EndWindowDC(HDC dc);
// A painter for dc's widget when an ancestor is inside WM_PAINT; none otherwise.
void BeginChildOfPaintingDC(DeviceContext& dc);
