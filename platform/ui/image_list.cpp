#include "platform/ui/image_list.h"

#include <QPainter>
#include <algorithm>
#include <deque>
#include <limits>
#include <memory>
#include <span>
#include <unordered_set>

#include "platform/core/icon_object.h"
#include "platform/ui/gdi_internal.h"
#include "platform/ui/live_call.h"
#include "platform/ui/picture_store.h"

struct ImageListRecord {
  ImageListRecord(int width, int height) : cx(width), cy(height), pictures(PixelCount(width, height)) {}
  static std::size_t PixelCount(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  }
  int cx = 0;
  int cy = 0;
  UINT flags = 0;
  int grow = 0;
  // Image n is the picture it names, so item n, image n and record n keep
  // their numbers however many images share a picture. A deque, so that
  // removing the first image, as a clear does one image at a time, costs
  // the same however many follow it.
  std::deque<PictureStore::PictureId> images;
  PictureStore pictures;
  CImageList* wnd = nullptr;
  std::unique_ptr<CImageList> temporary;
};

namespace {
std::unordered_set<ImageListRecord*>& Lists() {
  static std::unordered_set<ImageListRecord*> lists;
  return lists;
}
ImageListRecord* Live(HIMAGELIST list) { return (list && Lists().count(list)) ? list : nullptr; }

// On the user-interface thread: op on the live list, or fallback when it is gone.
template <typename... FallbackAndOp>
auto WithList(const HIMAGELIST& list, FallbackAndOp&&... fallbackAndOp) {
  return UiCallOnLive([&] { return Live(list); }, std::forward<FallbackAndOp>(fallbackAndOp)...);
}
}  // namespace

// Image lists are changed and drawn on the user-interface thread only, so
// a worker's append never races the list view's painting.

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow) {
  if (cx <= 0 || cy <= 0 || cx > kMaxImageListSide || cy > kMaxImageListSide) return nullptr;
  return UiCall([&]() -> HIMAGELIST {
    auto* list = new ImageListRecord(cx, cy);
    list->flags = flags;
    list->grow = grow;
    // A deque grows by blocks, so there is nothing to reserve.
    static_cast<void>(initial);
    Lists().insert(list);
    return list;
  });
}

BOOL ImageList_Destroy(HIMAGELIST list) {
  return WithList(list, FALSE, [&](ImageListRecord& record) -> BOOL {
    Lists().erase(&record);
    if (record.wnd) record.wnd->m_hImageList = nullptr;
    if (record.temporary) record.temporary->m_hImageList = nullptr;
    delete &record;
    return TRUE;
  });
}

namespace {
int StorePixels(HIMAGELIST list, int index, int cx, int cy, std::vector<std::uint32_t>&& pixels) {
  if (pixels.size() != static_cast<std::size_t>(std::max(cx, 0)) * static_cast<std::size_t>(std::max(cy, 0))) return -1;
  // Hashed on the calling thread: the user-interface thread only looks the
  // picture up and compares.
  const std::uint64_t hash = PictureStore::Hash(pixels);
  return WithList(list, -1, [&](ImageListRecord& record) -> int {
    if (record.cx != cx || record.cy != cy) return -1;
    if (index == -1) {
      // Indices are ints; short of that the list takes every image.
      if (record.images.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max())) return -1;
      record.images.push_back(record.pictures.Acquire(pixels, hash));
      return static_cast<int>(record.images.size() - 1);
    }
    if (index < 0 || static_cast<std::size_t>(index) >= record.images.size()) return -1;
    PictureStore::PictureId& image = record.images[static_cast<std::size_t>(index)];
    // Acquired before the old one goes, so an equal picture is kept, not freed and stored again.
    const PictureStore::PictureId replaced = image;
    image = record.pictures.Acquire(pixels, hash);
    record.pictures.Release(replaced);
    return index;
  });
}
}  // namespace

int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon) {
  if (!icon) return -1;
  // Scaling runs on the calling thread; only storing takes the user-interface thread.
  int cx = 0, cy = 0;
  if (!ImageList_GetIconSize(list, &cx, &cy)) return -1;
  return StorePixels(list, index, cx, cy, ScaleIconPixels(*icon, cx, cy));
}

int ImageList_AddPixels(HIMAGELIST list, int cx, int cy, std::vector<std::uint32_t> pixels) {
  if (cx <= 0 || cy <= 0) return -1;
  return StorePixels(list, -1, cx, cy, std::move(pixels));
}

int ImageList_AddIcon(HIMAGELIST list, HICON icon) { return ImageList_ReplaceIcon(list, -1, icon); }

BOOL ImageList_Remove(HIMAGELIST list, int index) {
  return WithList(list, FALSE, [&](ImageListRecord& record) -> BOOL {
    if (index == -1) {
      record.images = {};
      record.pictures.Clear();
      return TRUE;
    }
    if (index < 0 || static_cast<std::size_t>(index) >= record.images.size()) return FALSE;
    record.pictures.Release(record.images[static_cast<std::size_t>(index)]);
    record.images.erase(record.images.begin() + index);
    if (record.images.empty()) {
      // The last image gone one at a time (as a clear goes) gives the memory back too.
      record.images = {};
      record.pictures.Clear();
    }
    return TRUE;
  });
}

int ImageList_GetImageCount(HIMAGELIST list) {
  return WithList(list, 0, [](ImageListRecord& record) -> int { return static_cast<int>(record.images.size()); });
}

int ImageList_GetPictureCount(HIMAGELIST list) {
  return WithList(list, 0, [](ImageListRecord& record) -> int { return static_cast<int>(record.pictures.Count()); });
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
  return WithList(list, FALSE, [&](ImageListRecord& record) -> BOOL {
    if (!cx || !cy) return FALSE;
    *cx = record.cx;
    *cy = record.cy;
    return TRUE;
  });
}

std::vector<std::uint32_t> ImageList_GetPixels(HIMAGELIST list, int index) {
  return WithList(list, std::vector<std::uint32_t>(), [&](ImageListRecord& record) -> std::vector<std::uint32_t> {
    if (index < 0 || static_cast<std::size_t>(index) >= record.images.size()) return {};
    const std::span<const std::uint32_t> pixels =
        record.pictures.Pixels(record.images[static_cast<std::size_t>(index)]);
    return std::vector<std::uint32_t>(pixels.begin(), pixels.end());
  });
}

CImageList::~CImageList() { DeleteImageList(); }

CImageList* CImageList::FromHandle(HIMAGELIST list) {
  return WithList(list, nullptr, [&](ImageListRecord& record) -> CImageList* {
    if (record.wnd) return record.wnd;
    if (!record.temporary) {
      record.temporary = std::make_unique<CImageList>();
      record.temporary->m_hImageList = &record;
    }
    return record.temporary.get();
  });
}

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
  return Attach(ImageList_Create(cx, cy, flags, initial, grow));
}

BOOL CImageList::DeleteImageList() {
  HIMAGELIST list = Detach();
  return list ? ImageList_Destroy(list) : FALSE;
}

BOOL CImageList::Attach(HIMAGELIST list) {
  return WithList(list, FALSE, [&](ImageListRecord& record) -> BOOL {
    if (m_hImageList) return FALSE;
    record.wnd = this;
    m_hImageList = &record;
    return TRUE;
  });
}

HIMAGELIST CImageList::Detach() {
  return UiCall([&]() -> HIMAGELIST {
    HIMAGELIST list = m_hImageList;
    if (Live(list) && list->wnd == this) list->wnd = nullptr;
    m_hImageList = nullptr;
    return list;
  });
}

bool DrawImageListImage(QPainter& painter, HIMAGELIST list, int index, const QPoint& at) {
  if (!Live(list) || index < 0 || static_cast<std::size_t>(index) >= list->images.size()) return false;
  const std::span<const std::uint32_t> pixels = list->pictures.Pixels(list->images[static_cast<std::size_t>(index)]);
  // Drawn from the stored pixels in place: a view of thousands of items
  // keeps one copy of each picture.
  const QImage image(reinterpret_cast<const uchar*>(pixels.data()), list->cx, list->cy, qsizetype{list->cx} * 4,
                     QImage::Format_ARGB32);
  painter.drawImage(at, image);
  return true;
}
