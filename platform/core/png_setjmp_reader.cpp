#include "platform/core/png_setjmp_reader.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "platform/core/icon_image_limits.h"

namespace {

// Ancillary chunks kept in memory at most, and the largest single chunk
// libpng may allocate: enough for an embedded colour profile, not for a
// decompression bomb in a text chunk.
constexpr png_uint_32 kChunkCacheMax = 64;
constexpr png_alloc_size_t kChunkMallocMax = png_alloc_size_t{8} * 1024 * 1024;

struct MemorySource {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
};

struct ErrorSink {
  char* text;
  std::size_t capacity;
};

void OnError(png_structp png, png_const_charp message) {
  auto* sink = static_cast<ErrorSink*>(png_get_error_ptr(png));
  std::snprintf(sink->text, sink->capacity, "%s", message != nullptr ? message : "libpng error");
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Bounded: a read past the end is an error, never a short fill.
void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
  auto* src = static_cast<MemorySource*>(png_get_io_ptr(png));
  if (length > src->size - src->position) png_error(png, "PNG data truncated");
  std::memcpy(out, src->data + src->position, length);
  src->position += length;
}

// Everything after setjmp lives in this frame, which a longjmp simply
// abandons; it holds nothing that needs a destructor.
bool Decode(png_structp png, png_infop info, PngReadRequest* request, MemorySource* source) {
  png_set_read_fn(png, source, ReadFromMemory);
  png_set_user_limits(png, static_cast<png_uint_32>(kMaxIconImageSide), static_cast<png_uint_32>(kMaxIconImageSide));
  png_set_chunk_cache_max(png, kChunkCacheMax);
  png_set_chunk_malloc_max(png, kChunkMallocMax);
  png_read_info(png, info);

  if (png_get_image_width(png, info) != request->width || png_get_image_height(png, info) != request->height) {
    png_error(png, "IHDR changed between probe and decode");
  }
  const int colourType = png_get_color_type(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) png_set_tRNS_to_alpha(png);
  if (bitDepth == 16) png_set_strip_16(png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const std::size_t stride = std::size_t{request->width} * 4;
  if (png_get_rowbytes(png, info) != stride) png_error(png, "unexpected row size after transforms");

  // Interlaced images revisit every row once per pass, so rows are read
  // straight into their place in the output.
  for (int pass = 0; pass < passes; ++pass) {
    for (std::uint32_t y = 0; y < request->height; ++y) png_read_row(png, request->rgba + y * stride, nullptr);
  }
  // The trailing chunks are not needed for the pixels; a missing IEND is
  // tolerated as image viewers tolerate it.
  return true;
}

}  // namespace

bool ReadPngRgba8(PngReadRequest* request) {
  request->error[0] = '\0';
  ErrorSink sink{request->error, sizeof request->error};
  MemorySource source{request->data, request->size, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &sink, OnError, OnWarning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  const bool ok = Decode(png, info, request, &source);
  png_destroy_read_struct(&png, &info, nullptr);
  return ok;
}
