// One of the few places of the library that reach Qt: the desktop style is
// where the system's folder and drive pictures live.
#include "platform/ui/standard_icons.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QStyle>

#include "platform/core/icon_object.h"

HICON CreateStandardIcon(StandardIcon which, int side) {
  if (side <= 0 || side > 256 || QApplication::style() == nullptr) {
    return nullptr;
  }
  QStyle::StandardPixmap pixmap = QStyle::SP_DirIcon;
  QIcon::Mode mode = QIcon::Normal;
  QIcon::State state = QIcon::Off;
  switch (which) {
    case StandardIcon::Computer:
      pixmap = QStyle::SP_ComputerIcon;
      break;
    case StandardIcon::Drive:
      pixmap = QStyle::SP_DriveHDIcon;
      break;
    case StandardIcon::Folder:
      pixmap = QStyle::SP_DirClosedIcon;
      break;
    case StandardIcon::FolderOpen:
      pixmap = QStyle::SP_DirOpenIcon;
      state = QIcon::On;
      break;
  }
  const QIcon icon = QApplication::style()->standardIcon(pixmap);
  QImage image = icon.pixmap(side, side, mode, state).toImage();
  if (image.isNull()) {
    return nullptr;
  }
  image =
      image.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_ARGB32);
  IconObject object;
  object.width = side;
  object.height = side;
  object.bitCount = 32;
  object.alpha = true;
  object.pixels.reserve(static_cast<std::size_t>(side) * static_cast<std::size_t>(side));
  for (int y = 0; y < side; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    object.pixels.insert(object.pixels.end(), row, row + side);
  }
  object.mask.assign(object.pixels.size(), 0);
  return CreateIconFromObject(std::move(object));
}
