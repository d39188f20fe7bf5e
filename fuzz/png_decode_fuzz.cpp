// PNG icon images: header probe, libpng decode, icon handle, the list
// view's 32x32 scale and the handle queries.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/core/icon_image_probe.h"
#include "platform/core/icon_object.h"
#include "platform/core/png_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const ByteReader reader(bytes);
  (void)ProbeIconImage(reader);
  (void)DecodePngIcon(reader);
  HICON icon = CreateIconFromBytes(bytes);
  if (icon == nullptr) return 0;
  (void)ScaleIconPixels(*icon, 32, 32);
  ICONINFO info{};
  if (GetIconInfo(icon, &info)) {
    BITMAP bm{};
    (void)GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
  DestroyIcon(icon);
  return 0;
}
