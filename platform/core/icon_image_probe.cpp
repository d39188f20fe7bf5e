#include "platform/core/icon_image_probe.h"

#include "platform/core/dib_decoder.h"
#include "platform/core/png_decoder.h"

std::optional<ImageHeader> ProbeIconImage(const ByteReader& bytes) {
  if (HasPngSignature(bytes)) {
    const auto png = ParsePngHeader(bytes);
    if (!png) return std::nullopt;
    return ImageHeader{static_cast<int>(png->width), static_cast<int>(png->height), png->StoredBitsPerPixel(), true};
  }
  const auto dib = ParseDibHeader(bytes);
  if (!dib) return std::nullopt;
  return ImageHeader{dib->width, dib->height, dib->bitCount, false};
}
