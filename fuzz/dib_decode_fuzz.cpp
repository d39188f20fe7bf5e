// DIB icon images: probe, decode, icon handle (as an icon, and as a cursor
// stretched to 32x32), the list view's 32x32 scale, the handle queries.
// The same bytes also go through the group-directory pick.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/core/dib_decoder.h"
#include "platform/core/icon_image_probe.h"
#include "platform/core/icon_object.h"

namespace {

void Query(HICON icon) {
  if (icon == nullptr) return;
  (void)ScaleIconPixels(*icon, 32, 32);
  ICONINFO info{};
  if (GetIconInfo(icon, &info)) {
    BITMAP bm{};
    (void)GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
  HICON copy = CopyIcon(icon);
  DestroyIcon(copy);
  DestroyIcon(icon);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const ByteReader reader(bytes);
  (void)ProbeIconImage(reader);
  (void)DecodeDibIcon(reader);
  Query(CreateIconFromBytes(bytes));
  if (size > 0) Query(CreateIconFromResourceEx(data, static_cast<DWORD>(size), FALSE, 0x00030000, 32, 32, 0));
  (void)LookupIconIdFromDirectoryBytes(bytes, 32, 32);
  return 0;
}
