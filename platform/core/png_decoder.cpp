#include "platform/core/png_decoder.h"

#include <array>

#include "platform/core/icon_image_limits.h"
#include "platform/core/png_setjmp_reader.h"

namespace {

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::uint32_t kIhdrType = 0x49484452;  // "IHDR"
constexpr std::uint32_t kIhdrLength = 13;

int Channels(std::uint8_t colourType) {
  switch (colourType) {
    case 0:
      return 1;  // grey
    case 2:
      return 3;  // RGB
    case 3:
      return 1;  // palette index
    case 4:
      return 2;  // grey and alpha
    case 6:
      return 4;  // RGBA
    default:
      return 0;
  }
}

bool ValidDepth(std::uint8_t colourType, std::uint8_t depth) {
  switch (colourType) {
    case 0:
      return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3:
      return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6:
      return depth == 8 || depth == 16;
    default:
      return false;
  }
}

}  // namespace

int PngHeader::StoredBitsPerPixel() const { return bitDepth * Channels(colourType); }

bool HasPngSignature(const ByteReader& bytes) {
  for (std::size_t i = 0; i < kSignature.size(); ++i) {
    if (bytes.u8(i) != kSignature[i]) return false;
  }
  return true;
}

Expected<PngHeader> ParsePngHeader(const ByteReader& bytes) {
  if (!HasPngSignature(bytes)) return Fail("no PNG signature");
  const auto length = bytes.u32be(8);
  const auto type = bytes.u32be(12);
  const auto width = bytes.u32be(16);
  const auto height = bytes.u32be(20);
  const auto depth = bytes.u8(24);
  const auto colourType = bytes.u8(25);
  if (!length || !type || !width || !height || !depth || !colourType) return Fail("PNG header truncated");
  if (*length != kIhdrLength || *type != kIhdrType) return Fail("PNG does not start with IHDR");
  if (!IconImageSizeAllowed(*width, *height)) return Fail("PNG dimensions zero or above the icon cap");
  if (!ValidDepth(*colourType, *depth)) return Fail("invalid PNG bit depth and colour type");
  return PngHeader{*width, *height, *depth, *colourType};
}

Expected<IconObject> DecodePngIcon(const ByteReader& bytes) {
  auto header = ParsePngHeader(bytes);
  if (!header) return header.error();

  const std::size_t count = std::size_t{header->width} * header->height;
  std::vector<std::uint8_t> rgba(count * 4);
  PngReadRequest request{};
  request.data = bytes.bytes().data();
  request.size = bytes.bytes().size();
  request.width = header->width;
  request.height = header->height;
  request.rgba = rgba.data();
  if (!ReadPngRgba8(&request)) return Fail(std::string("PNG decode failed: ") + request.error);

  IconObject icon;
  icon.width = static_cast<int>(header->width);
  icon.height = static_cast<int>(header->height);
  icon.bitCount = header->StoredBitsPerPixel();
  icon.alpha = true;
  icon.pixels.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* p = rgba.data() + i * 4;
    icon.pixels[i] = static_cast<std::uint32_t>(p[3]) << 24 | static_cast<std::uint32_t>(p[0]) << 16 |
                     static_cast<std::uint32_t>(p[1]) << 8 | p[2];
  }
  return icon;
}
