#pragma once
// What one icon image is, from its header alone: the size and depth an icon
// group reports for it without decoding a pixel.

#include <optional>

#include "platform/core/byte_reader.h"

struct ImageHeader {
  int width = 0;
  int height = 0;    // the image's real height (a DIB header's height halved)
  int bitCount = 0;  // DIB bits per pixel, or PNG bit depth times channels
  bool png = false;
};

// Nothing when the bytes are neither a DIB nor a PNG this layer accepts.
[[nodiscard]] std::optional<ImageHeader> ProbeIconImage(const ByteReader& bytes);
