#include "platform/ui/transfer_out.h"

#include <QApplication>
#include <QByteArray>
#include <QClipboard>
#include <QDrag>
#include <QList>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>
#include <memory>
#include <utility>

#include "platform/ui/qt_bridge.h"

namespace {

// Removed recursively when the process ends, with whatever was copied.
QTemporaryDir& TransferRoot() {
  static QTemporaryDir root(QDir::tempPath() + "/glimra-transfer-XXXXXX");
  return root;
}

std::function<void(const QMimeData&)>& DragWatcher() {
  static std::function<void(const QMimeData&)> watcher;
  return watcher;
}

QMimeData* MimeOf(const TransferData& data) {
  auto* mime = new QMimeData;
  if (!data.png.empty()) {
    mime->setData("image/png",
                  QByteArray(reinterpret_cast<const char*>(data.png.data()), static_cast<qsizetype>(data.png.size())));
  }
  if (!data.files.empty()) {
    QList<QUrl> urls;
    for (const std::string& file : data.files) urls.append(QUrl::fromLocalFile(QString::fromStdString(file)));
    mime->setUrls(urls);
  }
  return mime;
}

}  // namespace

std::string NewTransferFolder() {
  QTemporaryDir& root = TransferRoot();
  if (!root.isValid()) return {};
  static int made = 0;
  const QString folder = root.filePath(QString::number(++made));
  if (!QDir().mkpath(folder)) return {};
  return folder.toStdString();
}

void PutOnClipboard(const TransferData& data) {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setMimeData(MimeOf(data));
}

void DragOut(HWND source, const TransferData& data) {
  std::unique_ptr<QMimeData> mime(MimeOf(data));
  if (const auto& watcher = DragWatcher()) {
    watcher(*mime);
    return;
  }
  QWidget* widget = WidgetOfWindow(source);
  if (widget == nullptr) return;
  auto* drag = new QDrag(widget);
  drag->setMimeData(mime.release());
  drag->exec(Qt::CopyAction);
}

void WatchDragsForTests(std::function<void(const QMimeData& carried)> watch) { DragWatcher() = std::move(watch); }
