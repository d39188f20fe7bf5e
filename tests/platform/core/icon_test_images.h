#pragma once
// Icon images built in memory for the decoder, probe, pick and scale tests:
// DIBs laid out field by field, PNGs written by libpng, and the images of the
// corpus's icon files reached through a few lines of directory parsing.

#include <png.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/core/byte_writer.h"

namespace icon_test {

inline std::size_t Stride(int width, int bits) {
  return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32 * 4;
}

struct Dib {
  std::uint32_t headerSize = 40;
  std::int32_t width = 2;
  std::int32_t storedHeight = 4;  // twice the image
  std::uint16_t bitCount = 8;
  std::uint32_t compression = 0;
  std::uint32_t clrUsed = 0;
  std::vector<std::uint32_t> masks;    // written after a 40-byte header, or inside a larger one
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB
  // Top-down pixel values: palette indices, or the raw little-endian pixel.
  std::vector<std::uint32_t> pixels;
  // Top-down, 1 = set; empty writes an all-clear mask; mask = false leaves it out.
  std::vector<std::uint8_t> andMask;
  bool mask = true;
  bool pixelData = true;  // false: header and palette only

  [[nodiscard]] std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> out;
    const int height = storedHeight / 2;
    ByteWriter(out).u32(headerSize);
    if (headerSize == 12) {
      ByteWriter(out).u16(static_cast<std::uint32_t>(width));
      ByteWriter(out).u16(static_cast<std::uint32_t>(storedHeight));
      ByteWriter(out).u16(1);
      ByteWriter(out).u16(bitCount);
    } else {
      ByteWriter(out).u32(static_cast<std::uint32_t>(width));
      ByteWriter(out).u32(static_cast<std::uint32_t>(storedHeight));
      ByteWriter(out).u16(1);
      ByteWriter(out).u16(bitCount);
      ByteWriter(out).u32(compression);
      for (int i = 0; i < 3; ++i) ByteWriter(out).u32(0);
      ByteWriter(out).u32(clrUsed);
      ByteWriter(out).u32(0);
      std::size_t at = out.size();
      out.resize(headerSize, 0);
      if (headerSize > 40) {
        for (std::uint32_t m : masks) {
          if (at + 4 <= out.size()) ByteWriter(out).u32At(at, m);
          at += 4;
        }
      } else {
        for (std::uint32_t m : masks) ByteWriter(out).u32(m);
      }
    }
    for (std::uint32_t c : palette) {
      out.push_back(static_cast<std::uint8_t>(c));
      out.push_back(static_cast<std::uint8_t>(c >> 8));
      out.push_back(static_cast<std::uint8_t>(c >> 16));
      if (headerSize != 12) out.push_back(0);
    }
    if (!pixelData || width <= 0 || height <= 0) return out;
    const std::size_t stride = Stride(width, bitCount);
    for (int y = height - 1; y >= 0; --y) {
      std::vector<std::uint8_t> row(stride, 0);
      for (int x = 0; x < width; ++x) {
        const std::size_t i =
            static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
        const std::uint32_t v = i < pixels.size() ? pixels[i] : 0;
        if (bitCount < 8) {
          const int perByte = 8 / bitCount;
          const int shift = 8 - bitCount * (x % perByte + 1);
          row[static_cast<std::size_t>(x / perByte)] |= static_cast<std::uint8_t>(v << shift);
        } else {
          for (int b = 0; b < bitCount / 8; ++b) {
            row[static_cast<std::size_t>(x) * (bitCount / 8u) + static_cast<std::size_t>(b)] =
                static_cast<std::uint8_t>(v >> (8 * b));
          }
        }
      }
      out.insert(out.end(), row.begin(), row.end());
    }
    if (!mask) return out;
    const std::size_t maskStride = Stride(width, 1);
    for (int y = height - 1; y >= 0; --y) {
      std::vector<std::uint8_t> row(maskStride, 0);
      for (int x = 0; x < width; ++x) {
        const std::size_t i =
            static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
        if (i < andMask.size() && andMask[i] != 0) {
          row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
      }
      out.insert(out.end(), row.begin(), row.end());
    }
    return out;
  }
};

struct Png {
  std::uint32_t width = 2;
  std::uint32_t height = 2;
  int bitDepth = 8;
  int colourType = PNG_COLOR_TYPE_RGBA;
  bool interlaced = false;
  std::vector<std::uint32_t> palette;  // 0xAARRGGBB; alpha below 0xFF goes to tRNS
  // Top-down samples, one value per channel (or a palette index), row by row.
  std::vector<std::uint16_t> samples;

  [[nodiscard]] std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t n) {
          auto* o = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(p));
          o->insert(o->end(), data, data + n);
        },
        nullptr);
    png_set_IHDR(png, info, width, height, bitDepth, colourType, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> colours;
    std::vector<png_byte> alphas;
    for (std::uint32_t c : palette) {
      colours.push_back(
          png_color{static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8), static_cast<png_byte>(c)});
      alphas.push_back(static_cast<png_byte>(c >> 24));
    }
    if (!colours.empty()) {
      png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
      png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), nullptr);
    }
    png_write_info(png, info);
    const int channels = png_get_channels(png, info);
    const std::size_t perRow = static_cast<std::size_t>(width) * static_cast<std::size_t>(channels);
    std::vector<std::vector<png_byte>> rows(height);
    for (std::uint32_t y = 0; y < height; ++y) {
      std::vector<png_byte>& row = rows[y];
      row.assign(png_get_rowbytes(png, info), 0);
      for (std::size_t s = 0; s < perRow; ++s) {
        const std::size_t i = y * perRow + s;
        const std::uint16_t v = i < samples.size() ? samples[i] : 0;
        if (bitDepth == 16) {
          row[s * 2] = static_cast<png_byte>(v >> 8);
          row[s * 2 + 1] = static_cast<png_byte>(v);
        } else if (bitDepth == 8) {
          row[s] = static_cast<png_byte>(v);
        } else {
          const std::size_t perByte = static_cast<std::size_t>(8 / bitDepth);
          const int shift = 8 - bitDepth * static_cast<int>(s % perByte + 1);
          row[s / perByte] |= static_cast<png_byte>(v << shift);
        }
      }
    }
    std::vector<png_bytep> pointers;
    pointers.reserve(rows.size());
    for (auto& row : rows) pointers.push_back(row.data());
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
  }
};

inline std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The images of an .ico file, in directory order, with the sizes the
// directory claims (0 meaning 256).
struct IcoImage {
  int width = 0;
  int height = 0;
  int bitCount = 0;
  std::uint8_t colours = 0;
  std::vector<std::uint8_t> bytes;
};

inline std::vector<IcoImage> IcoImages(const std::vector<std::uint8_t>& file) {
  auto u16 = [&](std::size_t at) { return static_cast<std::uint32_t>(file[at] | file[at + 1] << 8); };
  auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  std::vector<IcoImage> images;
  if (file.size() < 6) return images;
  for (std::size_t i = 0; i < u16(4) && 6 + 16 * (i + 1) <= file.size(); ++i) {
    const std::size_t e = 6 + 16 * i;
    IcoImage image;
    image.width = file[e] == 0 ? 256 : file[e];
    image.height = file[e + 1] == 0 ? 256 : file[e + 1];
    image.colours = file[e + 2];
    image.bitCount = static_cast<int>(u16(e + 6));
    const std::size_t size = u32(e + 8), offset = u32(e + 12);
    if (offset <= file.size() && size <= file.size() - offset) {
      image.bytes.assign(file.begin() + static_cast<std::ptrdiff_t>(offset),
                         file.begin() + static_cast<std::ptrdiff_t>(offset + size));
    }
    images.push_back(std::move(image));
  }
  return images;
}

inline std::vector<std::string> CorpusIconFiles() {
  const std::string dir = std::string(GLIMRA_CORPUS_DIR) + "/ico/";
  return {dir + "classic-install.ico",     dir + "idle.ico",          dir + "llama-blue.ico",
          dir + "modern-install-full.ico", dir + "nsis-menu.ico",     dir + "nsis3-install.ico",
          dir + "orange-install.ico",      dir + "pixel-install.ico", std::string(GLIMRA_CORPUS_DIR) + "/misc/uninst"};
}

}  // namespace icon_test
