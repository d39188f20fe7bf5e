// The big icon is painted straight into the button's widget: an owner-drawn
// button whose drawing is the library's, one of its few places that reach Qt.
#include "support/framework/zu_big_icon.h"

#include <QEvent>
#include <QImage>
#include <QObject>
#include <QPainter>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <vector>

#include "platform/core/byte_reader.h"
#include "platform/core/icon_directory.h"
#include "platform/core/icon_object.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/resources.h"

IMPLEMENT_DYNAMIC(CZUBigIcon, CButton)

namespace {

// Paints the control's icon, centred, over the dialog's background.
class BigIconPainter final : public QObject {
 public:
  BigIconPainter(QObject* parent, HWND hWnd) : QObject(parent), m_hWnd(hWnd) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) {
      return QObject::eventFilter(watched, event);
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    auto* button = dynamic_cast<CZUBigIcon*>(CWnd::FromHandlePermanent(m_hWnd));
    if (widget == nullptr || button == nullptr) {
      return QObject::eventFilter(watched, event);
    }
    QPainter painter(widget);
    painter.fillRect(widget->rect(), widget->palette().window());
    const IconObject* icon = button->GetBigIcon();
    const int side = button->GetIconSide();
    if (icon != nullptr && side > 0) {
      std::vector<std::uint32_t> pixels = ScaleIconPixels(*icon, side, side);
      if (pixels.size() == static_cast<std::size_t>(side) * static_cast<std::size_t>(side)) {
        const QImage image(reinterpret_cast<const uchar*>(pixels.data()), side, side, qsizetype{side} * 4,
                           QImage::Format_ARGB32);
        painter.drawImage((widget->width() - side) / 2, (widget->height() - side) / 2, image);
      }
    }
    return true;
  }

 private:
  HWND m_hWnd;
};

}  // namespace

int BigIconSide(UINT iconId, int controlWidth, int controlHeight) {
  const IconResource* resource = FindIconResource(iconId);
  if (resource == nullptr) {
    return 0;
  }
  const auto images = ParseIcoFile(ByteReader(resource->icoFile));
  if (!images) {
    return 0;
  }
  const int room = std::min(controlWidth, controlHeight);
  int best = 0;
  for (const IconImageBytes& image : *images) {
    const int width = image.entry.width == 0 ? 256 : image.entry.width;
    const int height = image.entry.height == 0 ? 256 : image.entry.height;
    const int imageSide = std::min(width, height);
    if (imageSide <= room) {
      best = std::max(best, imageSide);
    }
  }
  return std::max(best, kDefaultIconSide);
}

CZUBigIcon::CZUBigIcon() = default;

CZUBigIcon::~CZUBigIcon() {
  if (m_hIcon != nullptr) {
    DestroyIcon(m_hIcon);
  }
}

BOOL CZUBigIcon::SizeToContent(UINT iconId) {
  if (m_hWnd == nullptr) {
    return FALSE;
  }
  RECT rect{};
  GetWindowRect(&rect);
  if (CWnd* parent = GetParent()) {
    parent->ScreenToClient(&rect);
  }
  const int side = BigIconSide(iconId, rect.right - rect.left, rect.bottom - rect.top);
  if (side == 0) {
    return FALSE;
  }
  HICON icon = LoadIconResource(iconId, side, side);
  if (icon == nullptr) {
    return FALSE;
  }
  if (m_hIcon != nullptr) {
    DestroyIcon(m_hIcon);
  }
  m_hIcon = icon;
  m_nSide = side;
  MoveWindow(rect.left, rect.top, side, side, TRUE);
  InstallPainter();
  Invalidate();
  return TRUE;
}

void CZUBigIcon::InstallPainter() {
  QWidget* widget = ClientWidgetOfWindow(m_hWnd);
  // Once per widget: SizeToContent may run again on the same control.
  static constexpr const char* kInstalled = "zuBigIconPainter";
  if (widget == nullptr || widget->property(kInstalled).toBool()) {
    return;
  }
  widget->setProperty(kInstalled, true);
  widget->installEventFilter(new BigIconPainter(widget, m_hWnd));
}
