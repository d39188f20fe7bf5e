#pragma once
// Icon objects: what an icon handle owns. Colour pixels with alpha, the AND
// mask, the size, and the depth of the image it was made from.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/core/unique_handle.h"
#include "platform/core/win_types.h"

struct IconObject {
  int width = 0;
  int height = 0;
  int bitCount = 0;  // depth of the source image (1, 4, 8, 16, 24, 32)
  // Top-down rows, 0xAARRGGBB, not premultiplied. For a monochrome icon the
  // pixels still hold its black and white rendering, for drawing.
  std::vector<std::uint32_t> pixels;
  // Top-down, one byte per pixel, 1 where the AND mask is set (transparent
  // unless the colour says otherwise); empty when the image had no mask.
  std::vector<std::uint8_t> mask;
  bool monochrome = false;  // 1-bit image: no colour bitmap, mask twice as tall
  // The pixels carry their own alpha (a 32-bit DIB with some alpha set, or a
  // PNG); the mask is then kept but not used for drawing, as the platform
  // draws such icons.
  bool alpha = false;
  // Where a cursor's hot spot is; an icon's is its centre.
  bool cursor = false;
  DWORD xHotspot = 0;
  DWORD yHotspot = 0;
};

struct BitmapObject {
  int width = 0;
  int height = 0;
  int bitsPixel = 0;
};

struct ICONINFO {
  BOOL fIcon;
  DWORD xHotspot;
  DWORD yHotspot;
  HBITMAP hbmMask;
  HBITMAP hbmColor;
};

// The platform's bitmap description. GetObjectA fills it for a bitmap handle.
struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
};

inline constexpr UINT LR_DEFAULTCOLOR = 0x0000;

// One image's bytes (a DIB with XOR and AND parts, or a PNG) into an icon.
// Null when the bytes are not an image this layer decodes. The version and
// flags are accepted as the platform takes them; cx/cy 0 keep the image's size.
[[nodiscard]] HICON CreateIconFromResourceEx(const BYTE* bits, DWORD size, BOOL icon, DWORD version, int cx, int cy,
                                             UINT flags);
[[nodiscard]] HICON CreateIconFromBytes(std::span<const std::uint8_t> bytes);
// A handle for an icon object built in memory; null when its pixel and mask
// sizes do not match its width and height. Every HICON comes from one of
// these three functions (or CopyIcon), so DestroyIcon and the queries can
// tell a live handle from anything else.
[[nodiscard]] HICON CreateIconFromObject(IconObject object);

// From a group directory (the RT_GROUP_ICON bytes), the id of the image a
// load at cx x cy picks, as the platform picks it; 0 when none fits. The
// platform's own call takes no length; every caller here has one.
[[nodiscard]] int LookupIconIdFromDirectoryBytes(std::span<const std::uint8_t> dir, int cx, int cy);

BOOL DestroyIcon(HICON icon);
// An icon that is destroyed when its owner goes.
using UniqueIcon = UniqueHandle<HICON, DestroyIcon>;
[[nodiscard]] HICON CopyIcon(HICON icon);
BOOL GetIconInfo(HICON icon, ICONINFO* info);
int GetObjectA(HGDIOBJ object, int size, LPVOID out);
BOOL DeleteObject(HGDIOBJ object);

// The icon scaled to width x height by area averaging, alpha kept, mask
// folded into alpha: what the list view's image list stores.
[[nodiscard]] std::vector<std::uint32_t> ScaleIconPixels(const IconObject& icon, int width, int height);
