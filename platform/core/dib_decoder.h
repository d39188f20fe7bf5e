#pragma once
// Device-independent bitmaps as icon resources store them: a header, an
// optional colour table, the colour (XOR) rows, then the AND mask rows, both
// bottom-up with rows padded to 4 bytes. The header's height counts both
// parts, so it is twice the image's height.

#include <cstdint>

#include "platform/core/byte_reader.h"
#include "platform/core/expected.h"
#include "platform/core/icon_object.h"

struct DibHeader {
  std::uint32_t headerSize = 0;  // 12 (core) or 40, 52, 56, 108, 124
  std::int32_t width = 0;
  std::int32_t height = 0;  // the image's own height: the stored height halved
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 0;  // BI_RGB or BI_BITFIELDS
  std::uint32_t paletteEntries = 0;
  std::uint32_t paletteEntrySize = 0;  // 3 for core headers, 4 otherwise
  std::uint32_t redMask = 0;
  std::uint32_t greenMask = 0;
  std::uint32_t blueMask = 0;
  std::uint32_t alphaMask = 0;
  std::uint64_t paletteOffset = 0;
  std::uint64_t colourOffset = 0;  // where the XOR rows start
};

// Header, masks and colour-table layout only; no pixel is read. Refuses what
// the decoder refuses on the header's evidence alone.
[[nodiscard]] Expected<DibHeader> ParseDibHeader(const ByteReader& bytes);

// The whole image as an icon object (pixels, mask, depth, monochrome flag).
[[nodiscard]] Expected<IconObject> DecodeDibIcon(const ByteReader& bytes);
