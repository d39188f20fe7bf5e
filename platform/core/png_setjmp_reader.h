#pragma once
// The one place libpng's error longjmp can land. Plain C style on purpose:
// nothing with a destructor lives in the frame that calls setjmp, and the
// caller owns every buffer.

#include <cstddef>
#include <cstdint>

struct PngReadRequest {
  const std::uint8_t* data;
  std::size_t size;
  std::uint32_t width;  // what IHDR says, already checked against the cap
  std::uint32_t height;
  std::uint8_t* rgba;  // width * height * 4 bytes, filled top-down as R, G, B, A
  char error[96];      // libpng's message when the read fails
};

// True when the whole image was decoded into request->rgba.
[[nodiscard]] bool ReadPngRgba8(PngReadRequest* request);
