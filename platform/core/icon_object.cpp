#include "platform/core/icon_object.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_set>

#include "platform/core/dib_decoder.h"
#include "platform/core/icon_image_limits.h"
#include "platform/core/png_decoder.h"

namespace {

// The versions the platform's call accepts; anything else is refused there.
constexpr DWORD kMinResourceVersion = 0x00020000;
constexpr DWORD kMaxResourceVersion = 0x00030000;
constexpr std::uint64_t kCursorHotspotSize = 4;

// Live icon and bitmap handles. Handles are plain pointers, and callers hold
// values that only look like handles (the shell's "no icons" marker, a
// handle already destroyed); the table lets every call refuse those instead
// of touching freed memory.
class HandleTable {
 public:
  void Add(const void* handle) {
    std::lock_guard lock(m_mutex);
    m_live.insert(handle);
  }
  [[nodiscard]] bool Remove(const void* handle) {
    std::lock_guard lock(m_mutex);
    return m_live.erase(handle) != 0;
  }
  [[nodiscard]] bool Has(const void* handle) const {
    std::lock_guard lock(m_mutex);
    return m_live.count(handle) != 0;
  }

 private:
  mutable std::mutex m_mutex;
  std::unordered_set<const void*> m_live;
};

HandleTable& Icons() {
  static HandleTable table;
  return table;
}
HandleTable& Bitmaps() {
  static HandleTable table;
  return table;
}

HBITMAP NewBitmap(int width, int height, int bitsPixel) {
  auto* bitmap = new BitmapObject{width, height, bitsPixel};
  Bitmaps().Add(bitmap);
  return bitmap;
}

// An icon asked for at another size is stored at that size, as the
// platform stretches it at creation. The mask is rebuilt from the scaled
// alpha so drawing and measuring agree.
IconObject Resized(const IconObject& source, int width, int height) {
  IconObject out;
  out.width = width;
  out.height = height;
  out.bitCount = source.bitCount;
  out.monochrome = source.monochrome;
  out.alpha = !source.monochrome;
  out.cursor = source.cursor;
  out.xHotspot = static_cast<DWORD>(std::uint64_t{source.xHotspot} * static_cast<std::uint64_t>(width) /
                                    static_cast<std::uint64_t>(source.width));
  out.yHotspot = static_cast<DWORD>(std::uint64_t{source.yHotspot} * static_cast<std::uint64_t>(height) /
                                    static_cast<std::uint64_t>(source.height));
  out.pixels = ScaleIconPixels(source, width, height);
  out.mask.resize(out.pixels.size());
  for (std::size_t i = 0; i < out.pixels.size(); ++i) {
    const bool clear = (out.pixels[i] >> 24) < 0x80;
    out.mask[i] = clear ? 1 : 0;
    if (out.monochrome) out.pixels[i] = clear ? 0xFF000000u : (out.pixels[i] | 0xFF000000u);
  }
  return out;
}

}  // namespace

HICON CreateIconFromObject(IconObject object) {
  if (!IconImageSizeAllowed(object.width, object.height)) return nullptr;
  const auto count = static_cast<std::size_t>(object.width) * static_cast<std::size_t>(object.height);
  if (object.pixels.size() != count || (!object.mask.empty() && object.mask.size() != count)) return nullptr;
  auto* icon = new IconObject(std::move(object));
  Icons().Add(icon);
  return icon;
}

HICON CreateIconFromResourceEx(const BYTE* bits, DWORD size, BOOL icon, DWORD version, int cx, int cy, UINT /*flags*/) {
  if (bits == nullptr || size == 0) return nullptr;
  if (version < kMinResourceVersion || version > kMaxResourceVersion) return nullptr;
  if (cx < 0 || cy < 0) return nullptr;
  ByteReader bytes(std::span<const std::uint8_t>(bits, size));
  DWORD xHot = 0;
  DWORD yHot = 0;
  if (icon == FALSE) {
    // A cursor resource starts with its hot spot, then the image.
    const auto x = bytes.u16(0), y = bytes.u16(2);
    auto rest = bytes.from(kCursorHotspotSize);
    if (!x || !y || !rest) return nullptr;
    xHot = *x;
    yHot = *y;
    bytes = *rest;
  }
  auto decoded = HasPngSignature(bytes) ? DecodePngIcon(bytes) : DecodeDibIcon(bytes);
  if (!decoded) return nullptr;
  IconObject object = std::move(decoded).value();
  if (icon == FALSE) {
    object.cursor = true;
    object.xHotspot = xHot;
    object.yHotspot = yHot;
  } else {
    object.xHotspot = static_cast<DWORD>(object.width / 2);
    object.yHotspot = static_cast<DWORD>(object.height / 2);
  }
  const int width = cx != 0 ? cx : object.width;
  const int height = cy != 0 ? cy : object.height;
  if (width != object.width || height != object.height) {
    if (!IconImageSizeAllowed(width, height)) return nullptr;
    object = Resized(object, width, height);
  }
  return CreateIconFromObject(std::move(object));
}

HICON CreateIconFromBytes(std::span<const std::uint8_t> bytes) {
  if (bytes.size() > 0xFFFFFFFFu) return nullptr;
  return CreateIconFromResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), TRUE, kMaxResourceVersion, 0, 0,
                                  LR_DEFAULTCOLOR);
}

BOOL DestroyIcon(HICON icon) {
  if (icon == nullptr || !Icons().Remove(icon)) return FALSE;
  delete icon;
  return TRUE;
}

HICON CopyIcon(HICON icon) {
  if (icon == nullptr || !Icons().Has(icon)) return nullptr;
  return CreateIconFromObject(*icon);
}

// The bitmaps are new objects the caller deletes with DeleteObject, as on
// the platform. A colour icon has a 32-bit colour bitmap (what we hold: ARGB
// at the display's depth; the source image's depth is IconObject::bitCount)
// and a 1-bit mask of its own size. A monochrome icon has no colour bitmap;
// its mask bitmap holds the AND and XOR halves stacked, twice as tall.
BOOL GetIconInfo(HICON icon, ICONINFO* info) {
  if (icon == nullptr || info == nullptr || !Icons().Has(icon)) return FALSE;
  info->fIcon = icon->cursor ? FALSE : TRUE;
  info->xHotspot = icon->xHotspot;
  info->yHotspot = icon->yHotspot;
  if (icon->monochrome) {
    info->hbmColor = nullptr;
    info->hbmMask = NewBitmap(icon->width, icon->height * 2, 1);
  } else {
    info->hbmColor = NewBitmap(icon->width, icon->height, 32);
    info->hbmMask = NewBitmap(icon->width, icon->height, 1);
  }
  return TRUE;
}

// Fills as much of the description as the buffer takes and answers the
// bytes written; with no buffer, the size it needs.
int GetObjectA(HGDIOBJ object, int size, LPVOID out) {
  if (object == nullptr || !Bitmaps().Has(object)) return 0;
  if (out == nullptr) return static_cast<int>(sizeof(BITMAP));
  if (size <= 0) return 0;
  const auto* bitmap = static_cast<const BitmapObject*>(object);
  BITMAP description{};
  description.bmType = 0;
  description.bmWidth = bitmap->width;
  description.bmHeight = bitmap->height;
  // Device-dependent bitmaps pad their rows to 16 bits.
  description.bmWidthBytes = ((bitmap->width * bitmap->bitsPixel + 15) / 16) * 2;
  description.bmPlanes = 1;
  description.bmBitsPixel = static_cast<WORD>(bitmap->bitsPixel);
  description.bmBits = nullptr;
  const std::size_t copied = std::min(static_cast<std::size_t>(size), sizeof(BITMAP));
  std::memcpy(out, &description, copied);
  return static_cast<int>(copied);
}

BOOL DeleteObject(HGDIOBJ object) {
  if (object == nullptr || !Bitmaps().Remove(object)) return FALSE;
  delete static_cast<BitmapObject*>(object);
  return TRUE;
}
