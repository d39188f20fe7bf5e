#pragma once
// Caps shared by every icon image decoder.

#include <cstdint>

// Widest and tallest icon image we decode. The icon formats top out at 256
// pixels a side; PNG images inside icon files are sometimes 512 or 1024.
// 1024 x 1024 ARGB is 4 MiB, which keeps a hostile file's cost bounded
// while a listing decodes tens of thousands of icons.
inline constexpr std::int32_t kMaxIconImageSide = 1024;

[[nodiscard]] constexpr bool IconImageSizeAllowed(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxIconImageSide && height <= kMaxIconImageSide;
}
