#pragma once
// RGBA images as PNG files, compressed with libdeflate: 8 bits a channel, colour type
// RGBA, no interlace. Qt-free, shared by the tools and the window's copy and
// export.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/expected.h"
#include "support/icon/rgba_image.h"
#include "support/icon/whole_file_writer.h"

// The PNG file's bytes; fails for an empty or inconsistent image.
[[nodiscard]] Expected<std::vector<std::uint8_t>> EncodePng(const RgbaImage& image);

// An icon image's stored bytes as a PNG file's bytes: a PNG image as it is
// stored, a DIB decoded (see DecodeImageToRgba) and encoded.
[[nodiscard]] Expected<std::vector<std::uint8_t>> ImageAsPng(std::span<const std::uint8_t> stored);

// Whether the bytes are a PNG whose pixels are already 8-bit RGBA (what
// EncodePng writes), judged on its header alone.
[[nodiscard]] bool IsRgba8Png(std::span<const std::uint8_t> bytes);

// EncodePng's bytes written whole or not at all.
[[nodiscard]] Expected<std::uint64_t> WritePngFile(const RgbaImage& image, const std::string& path,
                                                   Overwrite overwrite);
