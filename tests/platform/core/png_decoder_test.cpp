#include "platform/core/png_decoder.h"

#include <gtest/gtest.h>

#include "tests/platform/core/icon_test_images.h"

namespace {

using icon_test::Png;

Png Make(int colourType, int depth, std::vector<std::uint16_t> samples, std::uint32_t w = 2, std::uint32_t h = 1) {
  Png p;
  p.colourType = colourType;
  p.bitDepth = depth;
  p.width = w;
  p.height = h;
  p.samples = std::move(samples);
  return p;
}

struct GoodCase {
  const char* name;
  Png png;
  int bitCount;
  std::vector<std::uint32_t> expected;
};

std::vector<GoodCase> GoodCases() {
  std::vector<GoodCase> cases;
  cases.push_back({"rgba8", Make(PNG_COLOR_TYPE_RGBA, 8, {255, 0, 0, 128, 1, 2, 3, 0}), 32, {0x80FF0000, 0x00010203}});
  cases.push_back({"rgb8", Make(PNG_COLOR_TYPE_RGB, 8, {10, 20, 30, 40, 50, 60}), 24, {0xFF0A141E, 0xFF28323C}});
  cases.push_back({"rgba16",
                   Make(PNG_COLOR_TYPE_RGBA, 16, {0xFF00, 0x1234, 0, 0xFFFF, 0, 0, 0xAB00, 0x8000}),
                   64,
                   {0xFFFF1200, 0x800000AB}});
  cases.push_back({"grey8", Make(PNG_COLOR_TYPE_GRAY, 8, {0, 200}), 8, {0xFF000000, 0xFFC8C8C8}});
  cases.push_back({"grey1", Make(PNG_COLOR_TYPE_GRAY, 1, {1, 0}), 1, {0xFFFFFFFF, 0xFF000000}});
  cases.push_back(
      {"grey_alpha8", Make(PNG_COLOR_TYPE_GRAY_ALPHA, 8, {100, 50, 255, 255}), 16, {0x32646464, 0xFFFFFFFF}});
  {
    Png p = Make(PNG_COLOR_TYPE_PALETTE, 8, {1, 0});
    p.palette = {0xFF112233, 0x00445566};
    cases.push_back({"palette8_trns", p, 8, {0x00445566, 0xFF112233}});
  }
  {
    Png p = Make(PNG_COLOR_TYPE_PALETTE, 4, {2, 1});
    p.palette = {0xFF000000, 0xFFFFFFFF, 0x80FF0000};
    cases.push_back({"palette4", p, 4, {0x80FF0000, 0xFFFFFFFF}});
  }
  return cases;
}

class PngGood : public ::testing::TestWithParam<GoodCase> {};

TEST_P(PngGood, DecodesToStraightArgb) {
  const GoodCase& c = GetParam();
  const auto bytes = c.png.Bytes();
  const auto icon = DecodePngIcon(ByteReader(bytes));
  ASSERT_TRUE(icon.ok()) << icon.error().what;
  EXPECT_EQ(icon->width, static_cast<int>(c.png.width));
  EXPECT_EQ(icon->height, static_cast<int>(c.png.height));
  EXPECT_EQ(icon->bitCount, c.bitCount);
  EXPECT_TRUE(icon->alpha);
  EXPECT_FALSE(icon->monochrome);
  EXPECT_TRUE(icon->mask.empty());
  EXPECT_EQ(icon->pixels, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Types, PngGood, ::testing::ValuesIn(GoodCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PngInterlace, MatchesTheSequentialImage) {
  Png p = Make(PNG_COLOR_TYPE_RGB, 8, {}, 9, 7);
  for (int i = 0; i < 9 * 7 * 3; ++i) p.samples.push_back(static_cast<std::uint16_t>(i * 7 % 256));
  const auto plain = DecodePngIcon(ByteReader(p.Bytes()));
  p.interlaced = true;
  const auto adam7 = DecodePngIcon(ByteReader(p.Bytes()));
  ASSERT_TRUE(plain.ok() && adam7.ok());
  EXPECT_EQ(plain->pixels, adam7->pixels);
  EXPECT_EQ(plain->pixels[9 * 7 - 1],
            0xFF000000u | ((186u * 7 % 256) << 16) | ((187u * 7 % 256) << 8) | (188u * 7 % 256));
}

std::uint32_t Crc(const std::uint8_t* data, std::size_t n) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < n; ++i) {
    c ^= data[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
  }
  return ~c;
}

void PutBe(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

// A valid PNG whose IHDR is rewritten (CRC fixed) by change.
template <typename F>
std::vector<std::uint8_t> WithHeader(F change) {
  auto b = Make(PNG_COLOR_TYPE_RGBA, 8, {1, 2, 3, 4, 5, 6, 7, 8}).Bytes();
  change(b);
  PutBe(b, 29, Crc(b.data() + 12, 17));
  return b;
}

struct BadCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
};

std::vector<BadCase> BadCases() {
  const auto good = Make(PNG_COLOR_TYPE_RGBA, 8, {}, 16, 16).Bytes();
  std::vector<BadCase> cases;
  cases.push_back({"seven_bytes", {good.begin(), good.begin() + 7}});
  cases.push_back({"signature_only", {good.begin(), good.begin() + 8}});
  cases.push_back({"ihdr_cut", {good.begin(), good.begin() + 20}});
  cases.push_back({"truncated_in_idat", {good.begin(), good.end() - 20}});
  {
    auto b = good;
    b[41 + 4] ^= 0x55;  // inside the first IDAT's data: its CRC no longer matches
    cases.push_back({"corrupt_idat", b});
  }
  cases.push_back({"huge_width", WithHeader([](auto& b) { PutBe(b, 16, 100000); })});
  cases.push_back({"huge_both", WithHeader([](auto& b) {
                     PutBe(b, 16, 0x7FFFFFFF);
                     PutBe(b, 20, 0x7FFFFFFF);
                   })});
  cases.push_back({"width_zero", WithHeader([](auto& b) { PutBe(b, 16, 0); })});
  cases.push_back({"just_above_cap", WithHeader([](auto& b) { PutBe(b, 20, 1025); })});
  cases.push_back({"rgb_depth_4", WithHeader([](auto& b) {
                     b[24] = 4;
                     b[25] = 2;
                   })});
  cases.push_back({"colour_type_5", WithHeader([](auto& b) { b[25] = 5; })});
  cases.push_back({"ihdr_crc_wrong", [] {
                     auto b = Make(PNG_COLOR_TYPE_RGBA, 8, {}).Bytes();
                     b[29] ^= 1;
                     return b;
                   }()});
  {
    auto b = good;
    b[12] = 'X';  // first chunk no longer IHDR
    cases.push_back({"first_chunk_not_ihdr", b});
  }
  return cases;
}

class PngBad : public ::testing::TestWithParam<BadCase> {};

TEST_P(PngBad, Refused) {
  const auto icon = DecodePngIcon(ByteReader(GetParam().bytes));
  EXPECT_FALSE(icon.ok());
}

INSTANTIATE_TEST_SUITE_P(Inputs, PngBad, ::testing::ValuesIn(BadCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PngHeaderCap, HugeDimensionsRefusedFromTheHeader) {
  const auto b = WithHeader([](auto& bytes) { PutBe(bytes, 16, 100000); });
  EXPECT_FALSE(ParsePngHeader(ByteReader(b)).ok());
  const auto atCap = WithHeader([](auto& bytes) {
    PutBe(bytes, 16, 1024);
    PutBe(bytes, 20, 1024);
  });
  const auto header = ParsePngHeader(ByteReader(atCap));
  ASSERT_TRUE(header.ok());
  EXPECT_EQ(header->width, 1024u);
  // The data does not hold 1024 x 1024 pixels: refused while inflating.
  EXPECT_FALSE(DecodePngIcon(ByteReader(atCap)).ok());
}

TEST(PngCorpus, EveryPngImageDecodes) {
  int decoded = 0;
  for (const auto& path : icon_test::CorpusIconFiles()) {
    for (const auto& image : icon_test::IcoImages(icon_test::ReadFile(path))) {
      if (!HasPngSignature(ByteReader(image.bytes))) continue;
      const auto icon = DecodePngIcon(ByteReader(image.bytes));
      ASSERT_TRUE(icon.ok()) << path << ": " << icon.error().what;
      EXPECT_EQ(icon->width, image.width) << path;
      EXPECT_EQ(icon->height, image.height) << path;
      // All three are RGBA; nsis3-install.ico's directory claims 8 bits for
      // its PNG, which is why the depth is taken from the image itself.
      EXPECT_EQ(icon->bitCount, 32) << path;
      EXPECT_EQ(icon->pixels.size(), 256u * 256u) << path;
      ++decoded;
    }
  }
  EXPECT_EQ(decoded, 3);  // idle.ico, nsis-menu.ico, nsis3-install.ico
}

}  // namespace
