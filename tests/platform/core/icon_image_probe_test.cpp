#include "platform/core/icon_image_probe.h"

#include <gtest/gtest.h>

#include "platform/core/dib_decoder.h"
#include "tests/platform/core/icon_test_images.h"

namespace {

struct ProbeCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
  ImageHeader expected;
};

icon_test::Dib HeaderOnly(std::uint32_t headerSize, int w, int storedH, std::uint16_t bits) {
  icon_test::Dib d;
  d.headerSize = headerSize;
  d.width = w;
  d.storedHeight = storedH;
  d.bitCount = bits;
  d.pixelData = false;
  if (bits <= 8) d.palette.assign(std::size_t{1} << bits, 0);
  return d;
}

icon_test::Png PngOf(int colourType, int depth) {
  icon_test::Png p;
  p.width = 3;
  p.height = 5;
  p.colourType = colourType;
  p.bitDepth = depth;
  if (colourType == PNG_COLOR_TYPE_PALETTE) p.palette = {0xFF000000, 0xFFFFFFFF};
  return p;
}

std::vector<ProbeCase> Cases() {
  return {
      {"dib_info_4bit", HeaderOnly(40, 32, 64, 4).Bytes(), {32, 32, 4, false}},
      {"dib_core_1bit", HeaderOnly(12, 16, 32, 1).Bytes(), {16, 16, 1, false}},
      {"dib_v4_24bit", HeaderOnly(108, 48, 96, 24).Bytes(), {48, 48, 24, false}},
      {"dib_256_32bit", HeaderOnly(40, 256, 512, 32).Bytes(), {256, 256, 32, false}},
      {"png_rgba8", PngOf(PNG_COLOR_TYPE_RGBA, 8).Bytes(), {3, 5, 32, true}},
      {"png_rgb8", PngOf(PNG_COLOR_TYPE_RGB, 8).Bytes(), {3, 5, 24, true}},
      {"png_rgb16", PngOf(PNG_COLOR_TYPE_RGB, 16).Bytes(), {3, 5, 48, true}},
      {"png_palette8", PngOf(PNG_COLOR_TYPE_PALETTE, 8).Bytes(), {3, 5, 8, true}},
      {"png_palette2", PngOf(PNG_COLOR_TYPE_PALETTE, 2).Bytes(), {3, 5, 2, true}},
      {"png_grey_alpha8", PngOf(PNG_COLOR_TYPE_GRAY_ALPHA, 8).Bytes(), {3, 5, 16, true}},
      {"png_grey4", PngOf(PNG_COLOR_TYPE_GRAY, 4).Bytes(), {3, 5, 4, true}},
  };
}

class Probe : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(Probe, ReportsRealSizeAndDepth) {
  const auto header = ProbeIconImage(ByteReader(GetParam().bytes));
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, GetParam().expected.width);
  EXPECT_EQ(header->height, GetParam().expected.height);
  EXPECT_EQ(header->bitCount, GetParam().expected.bitCount);
  EXPECT_EQ(header->png, GetParam().expected.png);
}

INSTANTIATE_TEST_SUITE_P(Headers, Probe, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProbeLimits, HeaderOnlyAndRefusals) {
  // The probe reads no pixels: a header without its pixels still answers,
  // though the image cannot be decoded.
  const auto bare = HeaderOnly(40, 32, 64, 8).Bytes();
  EXPECT_TRUE(ProbeIconImage(ByteReader(bare)));
  EXPECT_FALSE(DecodeDibIcon(ByteReader(bare)).ok());

  EXPECT_FALSE(ProbeIconImage(ByteReader(HeaderOnly(40, 32, 63, 8).Bytes())));
  EXPECT_FALSE(ProbeIconImage(ByteReader(HeaderOnly(40, 32, 64, 7).Bytes())));
  EXPECT_FALSE(ProbeIconImage(ByteReader(HeaderOnly(20, 32, 64, 8).Bytes())));
  auto png = PngOf(PNG_COLOR_TYPE_RGBA, 8).Bytes();
  png.resize(20);
  EXPECT_FALSE(ProbeIconImage(ByteReader(png)));
  EXPECT_FALSE(ProbeIconImage(ByteReader()));
}

// The probe agrees with the full decode on every corpus image.
TEST(ProbeCorpus, AgreesWithTheDecoders) {
  for (const auto& path : icon_test::CorpusIconFiles()) {
    for (const auto& image : icon_test::IcoImages(icon_test::ReadFile(path))) {
      const auto header = ProbeIconImage(ByteReader(image.bytes));
      ASSERT_TRUE(header) << path;
      EXPECT_EQ(header->width, image.width) << path;
      EXPECT_EQ(header->height, image.height) << path;
      // The directories give the depth where they give one, except for
      // nsis3-install.ico's PNG, whose entry says 8 bits for an RGBA image.
      if (image.bitCount != 0 && !header->png) {
        EXPECT_EQ(header->bitCount, image.bitCount) << path;
      }
      if (image.bitCount == 0) {
        EXPECT_EQ(1 << header->bitCount, image.colours) << path;
      }
    }
  }
}

}  // namespace
