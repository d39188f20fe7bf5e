#include "support/icon/rgba_image.h"

#include <algorithm>

#include "platform/core/byte_reader.h"
#include "platform/core/dib_decoder.h"
#include "platform/core/icon_object.h"
#include "platform/core/png_decoder.h"

namespace {

std::uint32_t ArgbOf(const IconObject& icon, std::size_t i) {
  const std::uint32_t px = icon.pixels[i];
  if (icon.alpha) return px;
  const bool clear = i < icon.mask.size() && icon.mask[i] != 0;
  return (px & 0x00FFFFFFu) | (clear ? 0u : 0xFF000000u);
}

// An image of count pixels, pixel i being argbOf(i); made in one pass, as
// the tools decode thousands of images.
template <typename ArgbAt>
RgbaImage FromArgb(int width, int height, std::size_t count, ArgbAt argbOf) {
  RgbaImage image{width, height, std::vector<std::uint8_t>(count * 4)};
  std::uint8_t* out = image.rgba.data();
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t px = argbOf(i);
    *out++ = static_cast<std::uint8_t>(px >> 16);
    *out++ = static_cast<std::uint8_t>(px >> 8);
    *out++ = static_cast<std::uint8_t>(px);
    *out++ = static_cast<std::uint8_t>(px >> 24);
  }
  return image;
}

}  // namespace

Expected<RgbaImage> DecodeImageToRgba(std::span<const std::uint8_t> bytes) {
  const ByteReader reader(bytes);
  auto decoded = HasPngSignature(reader) ? DecodePngIcon(reader) : DecodeDibIcon(reader);
  if (!decoded) return decoded.error();
  const IconObject& icon = *decoded;
  const auto count = static_cast<std::size_t>(icon.width) * static_cast<std::size_t>(icon.height);
  if (icon.width <= 0 || icon.height <= 0 || icon.pixels.size() != count) return Fail("image has no pixels");
  return FromArgb(icon.width, icon.height, count, [&icon](std::size_t i) { return ArgbOf(icon, i); });
}

RgbaImage FitWithin(const RgbaImage& image, int side) {
  if (side <= 0 || (image.width <= side && image.height <= side)) return image;
  // The longer edge becomes side; the shorter keeps the proportion, at least 1.
  const bool wide = image.width >= image.height;
  const int width =
      wide ? side
           : std::max(1,
                      static_cast<int>((static_cast<long long>(image.width) * side + image.height / 2) / image.height));
  const int height =
      wide
          ? std::max(1, static_cast<int>((static_cast<long long>(image.height) * side + image.width / 2) / image.width))
          : side;
  IconObject source;
  source.width = image.width;
  source.height = image.height;
  source.alpha = true;
  source.pixels.reserve(image.rgba.size() / 4);
  for (std::size_t i = 0; i + 3 < image.rgba.size(); i += 4) {
    source.pixels.push_back(std::uint32_t{image.rgba[i + 3]} << 24 | std::uint32_t{image.rgba[i]} << 16 |
                            std::uint32_t{image.rgba[i + 1]} << 8 | image.rgba[i + 2]);
  }
  const auto scaled = ScaleIconPixels(source, width, height);
  if (scaled.empty()) return RgbaImage{};
  return FromArgb(width, height, scaled.size(), [&scaled](std::size_t i) { return scaled[i]; });
}
