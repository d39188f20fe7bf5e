#pragma once
// One icon image as plain RGBA, 8 bits a channel: what the tools write as
// PNG and what the thumbnailer scales. Qt-free, for the tools and the
// window's copy and export alike.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/core/expected.h"

struct RgbaImage {
  int width = 0;
  int height = 0;
  // Top-down rows of R, G, B, A bytes; alpha is straight, not premultiplied.
  std::vector<std::uint8_t> rgba;
};

// An image's stored bytes (a DIB with its AND mask, or a PNG) as RGBA:
// palettes expanded; a 32-bit image's own alpha; where an image has no
// alpha (fewer bits, or a 32-bit image whose alpha is all zero, which the
// platform draws through its mask), a set AND-mask bit is transparent.
// Fails as the engine's decoders fail (caps included).
[[nodiscard]] Expected<RgbaImage> DecodeImageToRgba(std::span<const std::uint8_t> bytes);

// The image scaled down to fit side x side with its proportions kept, by
// area averaging with alpha; an image that already fits comes back as it is
// (never scaled up).
[[nodiscard]] RgbaImage FitWithin(const RgbaImage& image, int side);
