#include "platform/core/dib_decoder.h"

#include <algorithm>
#include <bit>

#include "platform/core/fixed_record.h"
#include "platform/core/icon_image_limits.h"

namespace {

constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
// GDI never reads more than 256 colour-table entries, whatever biClrUsed says.
constexpr std::uint32_t kMaxPaletteEntries = 256;
constexpr std::uint32_t kOpaque = 0xFF000000u;

bool KnownHeaderSize(std::uint32_t size) {
  return size == kCoreHeaderSize || size == kInfoHeaderSize || size == 52 || size == 56 || size == 108 || size == 124;
}

bool KnownBitCount(std::uint16_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

std::uint64_t RowStride(std::uint64_t width, std::uint64_t bits) { return ((width * bits + 31) / 32) * 4; }

// One channel of a bit-field pixel, scaled to 8 bits.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint64_t max = 0;

  explicit Channel(std::uint32_t m) : mask(m) {
    if (m != 0) {
      shift = std::countr_zero(m);
      max = (std::uint64_t{1} << std::bit_width(m >> shift)) - 1;
    }
  }
  [[nodiscard]] std::uint32_t Get(std::uint32_t value) const {
    if (max == 0) return 0;
    const std::uint64_t v = (value & mask) >> shift;
    return static_cast<std::uint32_t>((std::min(v, max) * 255 + max / 2) / max);
  }
};

std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return kOpaque | r << 16 | g << 8 | b; }

// A monochrome icon keeps only black and white, as the platform's 1-bit
// bitmaps do; each palette colour goes to the nearer of the two.
std::uint32_t BlackOrWhite(std::uint32_t argb) {
  const std::uint32_t r = (argb >> 16) & 0xFF;
  const std::uint32_t g = (argb >> 8) & 0xFF;
  const std::uint32_t b = argb & 0xFF;
  return (r * 299 + g * 587 + b * 114) >= 128 * 1000 ? 0xFFFFFFFFu : kOpaque;
}

struct DecodeContext {
  const DibHeader& header;
  std::span<const std::uint8_t> colour;  // exactly stride * height bytes
  std::uint64_t stride;
  std::vector<std::uint32_t> palette;
};

void DecodeIndexed(const DecodeContext& ctx, IconObject& icon) {
  const int bits = ctx.header.bitCount;
  const unsigned perByte = 8u / static_cast<unsigned>(bits);
  const std::uint32_t valueMask = (1u << bits) - 1;
  const auto w = static_cast<std::size_t>(icon.width);
  const auto h = static_cast<std::size_t>(icon.height);
  for (std::size_t y = 0; y < h; ++y) {
    const std::uint8_t* row = ctx.colour.data() + (h - 1 - y) * ctx.stride;
    std::uint32_t* out = icon.pixels.data() + y * w;
    for (std::size_t x = 0; x < w; ++x) {
      const unsigned slot = static_cast<unsigned>(x % perByte);
      const unsigned shift = 8u - static_cast<unsigned>(bits) * (slot + 1);
      const std::uint32_t index = (std::uint32_t{row[x / perByte]} >> shift) & valueMask;
      // An index past the colour table is drawn opaque black.
      out[x] = index < ctx.palette.size() ? ctx.palette[index] : kOpaque;
    }
  }
}

// Nearly every 32-bit icon stores plain BGRA bytes: read those without the
// general per-channel scaling, which costs four divisions a pixel.
bool IsPlainBgra(const DibHeader& hd) {
  return hd.bitCount == 32 && hd.redMask == 0x00FF0000u && hd.greenMask == 0x0000FF00u && hd.blueMask == 0x000000FFu &&
         (hd.alphaMask == 0xFF000000u || hd.alphaMask == 0);
}

// Returns whether any pixel has a non-zero alpha.
bool DecodePlainBgra(const DecodeContext& ctx, IconObject& icon) {
  const auto w = static_cast<std::size_t>(icon.width);
  const auto h = static_cast<std::size_t>(icon.height);
  const std::uint32_t alphaMask = ctx.header.alphaMask;
  std::uint32_t alphaSeen = 0;
  for (std::size_t y = 0; y < h; ++y) {
    const std::uint8_t* row = ctx.colour.data() + (h - 1 - y) * ctx.stride;
    std::uint32_t* out = icon.pixels.data() + y * w;
    for (std::size_t x = 0; x < w; ++x) {
      const std::uint8_t* p = row + x * 4;
      const std::uint32_t v = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                              static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
      out[x] = v & (0x00FFFFFFu | alphaMask);
      alphaSeen |= v & alphaMask;
    }
  }
  return alphaSeen != 0;
}

// Returns whether any pixel has a non-zero alpha.
bool DecodeMaskedChannels(const DecodeContext& ctx, IconObject& icon) {
  const DibHeader& hd = ctx.header;
  const Channel red(hd.redMask), green(hd.greenMask), blue(hd.blueMask), alpha(hd.alphaMask);
  const auto w = static_cast<std::size_t>(icon.width);
  const auto h = static_cast<std::size_t>(icon.height);
  const std::size_t bytesPerPixel = hd.bitCount / 8u;
  bool anyAlpha = false;
  for (std::size_t y = 0; y < h; ++y) {
    const std::uint8_t* row = ctx.colour.data() + (h - 1 - y) * ctx.stride;
    std::uint32_t* out = icon.pixels.data() + y * w;
    for (std::size_t x = 0; x < w; ++x) {
      const std::uint8_t* p = row + x * bytesPerPixel;
      if (hd.bitCount == 24) {
        out[x] = Rgb(p[2], p[1], p[0]);
        continue;
      }
      std::uint32_t v = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
      if (hd.bitCount == 32) v |= static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
      const std::uint32_t a = alpha.Get(v);
      anyAlpha = anyAlpha || a != 0;
      out[x] = a << 24 | red.Get(v) << 16 | green.Get(v) << 8 | blue.Get(v);
    }
  }
  return anyAlpha;
}

void DecodeBitfields(const DecodeContext& ctx, IconObject& icon) {
  const bool anyAlpha = IsPlainBgra(ctx.header) ? DecodePlainBgra(ctx, icon) : DecodeMaskedChannels(ctx, icon);
  // A 32-bit image whose alpha is all zero predates alpha icons: it is drawn
  // opaque through its AND mask.
  if (anyAlpha) {
    icon.alpha = true;
  } else {
    for (auto& px : icon.pixels) px |= kOpaque;
  }
}

void ReadMask(ByteReader mask, IconObject& icon) {
  const auto w = static_cast<std::size_t>(icon.width);
  const auto h = static_cast<std::size_t>(icon.height);
  const std::uint64_t stride = RowStride(w, 1);
  const std::span<const std::uint8_t> bytes = mask.bytes();
  icon.mask.assign(w * h, 0);
  for (std::size_t y = 0; y < h; ++y) {
    const std::uint8_t* row = bytes.data() + (h - 1 - y) * stride;
    std::uint8_t* out = icon.mask.data() + y * w;
    for (std::size_t x = 0; x < w; ++x)
      out[x] = static_cast<std::uint8_t>((std::uint32_t{row[x / 8]} >> (7 - x % 8)) & 1u);
  }
}

}  // namespace

Expected<DibHeader> ParseDibHeader(const ByteReader& bytes) {
  DibHeader hd;
  const auto size = bytes.u32(0);
  if (!size) return Fail("DIB shorter than its header size field");
  hd.headerSize = *size;
  if (!KnownHeaderSize(hd.headerSize)) return Fail("unknown DIB header size");
  if (!bytes.has(0, hd.headerSize)) return Fail("DIB header larger than the image");

  std::int64_t storedHeight = 0;
  std::uint32_t clrUsed = 0;
  if (hd.headerSize == kCoreHeaderSize) {
    const auto core = FixedRecord<kCoreHeaderSize>::At(bytes, 0);
    if (!core) return Fail("DIB header larger than the image");
    hd.width = core->u16<4>();
    storedHeight = core->u16<6>();
    hd.bitCount = core->u16<10>();
    hd.paletteEntrySize = 3;
  } else {
    // Every later header begins with the info header's fields.
    const auto info = FixedRecord<kInfoHeaderSize>::At(bytes, 0);
    if (!info) return Fail("DIB header larger than the image");
    hd.width = info->i32<4>();
    storedHeight = info->i32<8>();
    hd.bitCount = info->u16<14>();
    hd.compression = info->u32<16>();
    clrUsed = info->u32<32>();
    hd.paletteEntrySize = 4;
  }
  // Icon DIBs are bottom-up and stack the mask under the colour rows, so
  // the stored height is a positive even number.
  if (hd.width <= 0) return Fail("DIB width not positive");
  if (storedHeight <= 0 || storedHeight % 2 != 0) return Fail("DIB height not a positive even number");
  hd.height = static_cast<std::int32_t>(storedHeight / 2);
  if (!IconImageSizeAllowed(hd.width, hd.height)) return Fail("DIB dimensions above the icon cap");
  if (!KnownBitCount(hd.bitCount)) return Fail("unsupported DIB bit count");

  hd.paletteOffset = hd.headerSize;
  if (hd.compression == kBiBitfields) {
    if (hd.bitCount != 16 && hd.bitCount != 32) return Fail("bit fields need 16 or 32 bits per pixel");
    // The masks sit at offset 40 either way: right after a plain info
    // header, or inside the later header versions.
    const auto masks = FixedRecord<12>::At(bytes, 40);
    if (!masks) return Fail("DIB bit-field masks truncated");
    hd.redMask = masks->u32<0>();
    hd.greenMask = masks->u32<4>();
    hd.blueMask = masks->u32<8>();
    if (hd.headerSize >= 56) {
      const auto alpha = FixedRecord<4>::At(bytes, 52);
      if (!alpha) return Fail("DIB header larger than the image");
      hd.alphaMask = alpha->u32<0>();
    }
    if (hd.headerSize == kInfoHeaderSize) hd.paletteOffset += 12;
  } else if (hd.compression == kBiRgb) {
    if (hd.bitCount == 16) {
      hd.redMask = 0x7C00;
      hd.greenMask = 0x03E0;
      hd.blueMask = 0x001F;
    } else if (hd.bitCount == 32) {
      hd.redMask = 0x00FF0000;
      hd.greenMask = 0x0000FF00;
      hd.blueMask = 0x000000FF;
      hd.alphaMask = 0xFF000000;
    }
  } else {
    return Fail("compressed DIBs (RLE and others) are not supported in icons");
  }

  // GDI's colour-table rule: biClrUsed entries when set (at most 256, and
  // present even for direct-colour images, which skip them), else the full
  // table for indexed images.
  if (clrUsed != 0) {
    hd.paletteEntries = std::min(clrUsed, kMaxPaletteEntries);
  } else if (hd.bitCount <= 8) {
    hd.paletteEntries = 1u << hd.bitCount;
  }
  const std::uint64_t paletteBytes = std::uint64_t{hd.paletteEntries} * hd.paletteEntrySize;
  if (!bytes.sub(hd.paletteOffset, paletteBytes)) return Fail("DIB colour table truncated");
  hd.colourOffset = hd.paletteOffset + paletteBytes;
  return hd;
}

Expected<IconObject> DecodeDibIcon(const ByteReader& bytes) {
  auto parsed = ParseDibHeader(bytes);
  if (!parsed) return parsed.error();
  const DibHeader& hd = *parsed;

  const auto w = static_cast<std::uint64_t>(hd.width);
  const auto h = static_cast<std::uint64_t>(hd.height);
  const std::uint64_t stride = RowStride(w, hd.bitCount);
  const auto colour = bytes.sub(hd.colourOffset, stride * h);
  if (!colour) return Fail("DIB colour data truncated");

  IconObject icon;
  icon.width = hd.width;
  icon.height = hd.height;
  icon.bitCount = hd.bitCount;
  icon.monochrome = hd.bitCount == 1;
  icon.pixels.resize(static_cast<std::size_t>(w * h));

  DecodeContext ctx{hd, colour->bytes(), stride, {}};
  if (hd.bitCount <= 8) {
    ctx.palette.resize(std::min<std::size_t>(hd.paletteEntries, std::size_t{1} << hd.bitCount));
    // The header's parse checked that the whole table lies inside.
    const auto table = bytes.sub(hd.paletteOffset, std::uint64_t{hd.paletteEntries} * hd.paletteEntrySize);
    if (!table) return Fail("DIB colour table truncated");
    const std::span<const std::uint8_t> entries = table->bytes();
    for (std::size_t i = 0; i < ctx.palette.size(); ++i) {
      const std::size_t at = i * hd.paletteEntrySize;
      ctx.palette[i] = Rgb(entries[at + 2], entries[at + 1], entries[at]);
      if (icon.monochrome) ctx.palette[i] = BlackOrWhite(ctx.palette[i]);
    }
    DecodeIndexed(ctx, icon);
  } else {
    DecodeBitfields(ctx, icon);
  }

  // A mask cut short by the end of the resource counts as no mask at all.
  if (const auto mask = bytes.sub(hd.colourOffset + stride * h, RowStride(w, 1) * h)) ReadMask(*mask, icon);
  return icon;
}
