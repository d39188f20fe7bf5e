#pragma once
// PNG images inside icon resources and icon files, decoded by libpng. The
// header is read here through the checked reader, so sizes are judged before
// libpng inflates anything.

#include <cstdint>

#include "platform/core/byte_reader.h"
#include "platform/core/expected.h"
#include "platform/core/icon_object.h"

struct PngHeader {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint8_t bitDepth = 0;
  std::uint8_t colourType = 0;
  // Bits per pixel as stored: bit depth times the colour type's channels.
  [[nodiscard]] int StoredBitsPerPixel() const;
};

[[nodiscard]] bool HasPngSignature(const ByteReader& bytes);

// The IHDR chunk, which must come first; refuses invalid depth and colour
// type pairs and sizes above the icon cap.
[[nodiscard]] Expected<PngHeader> ParsePngHeader(const ByteReader& bytes);

// The image as straight (not premultiplied) ARGB with alpha.
[[nodiscard]] Expected<IconObject> DecodePngIcon(const ByteReader& bytes);
