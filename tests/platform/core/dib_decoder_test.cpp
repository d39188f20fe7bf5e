#include "platform/core/dib_decoder.h"

#include <gtest/gtest.h>

#include "tests/platform/core/icon_test_images.h"

namespace {

using icon_test::Dib;

std::vector<std::uint32_t> Grey16() {
  std::vector<std::uint32_t> p;
  for (std::uint32_t i = 0; i < 16; ++i) p.push_back(i * 0x111111u);
  return p;
}

std::vector<std::uint32_t> Ramp256() {
  std::vector<std::uint32_t> p;
  for (std::uint32_t i = 0; i < 256; ++i) p.push_back(i << 16 | (255 - i));
  return p;
}

Dib Make(std::uint16_t bits, std::vector<std::uint32_t> pixels, int width = 2, int height = 2) {
  Dib d;
  d.bitCount = bits;
  d.width = width;
  d.storedHeight = height * 2;
  d.pixels = std::move(pixels);
  return d;
}

struct GoodCase {
  const char* name;
  Dib dib;
  std::vector<std::uint32_t> expected;  // top-down ARGB
  bool monochrome = false;
  bool alpha = false;
};

std::vector<GoodCase> GoodCases() {
  std::vector<GoodCase> cases;
  {
    Dib d = Make(1, {0, 1, 1, 0});
    d.palette = {0x000000, 0xFFFFFF};
    cases.push_back({"mono_black_white", d, {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000}, true});
  }
  {
    // Monochrome icons keep only black and white: yellow is light, navy dark.
    Dib d = Make(1, {0, 1, 0, 1});
    d.palette = {0xFFFF00, 0x000080};
    cases.push_back({"mono_palette_to_black_white", d, {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000}, true});
  }
  {
    // 33 pixels wide: a row needs two 32-bit words.
    Dib d = Make(1, {}, 33, 1);
    d.palette = {0x000000, 0xFFFFFF};
    d.pixels.assign(33, 0);
    d.pixels[32] = 1;
    std::vector<std::uint32_t> expected(33, 0xFF000000);
    expected[32] = 0xFFFFFFFF;
    cases.push_back({"mono_row_padding", d, expected, true});
  }
  {
    Dib d = Make(4, {0, 15, 7, 1});
    d.palette = Grey16();
    cases.push_back({"four_bit", d, {0xFF000000, 0xFFFFFFFF, 0xFF777777, 0xFF111111}});
  }
  {
    // biClrUsed above the bit count's table (but at most 256) still lays out that many entries.
    Dib d = Make(4, {3, 15, 0, 0});
    d.clrUsed = 20;
    d.palette = Grey16();
    d.palette.resize(20, 0x123456);
    cases.push_back({"four_bit_clr_used_20", d, {0xFF333333, 0xFFFFFFFF, 0xFF000000, 0xFF000000}});
  }
  {
    // A short table: indices past it are opaque black, and the pixels start after two entries.
    Dib d = Make(8, {1, 5, 0, 255});
    d.clrUsed = 2;
    d.palette = {0x0000FF, 0x00FF00};
    cases.push_back({"eight_bit_short_palette", d, {0xFF00FF00, 0xFF000000, 0xFF0000FF, 0xFF000000}});
  }
  {
    Dib d = Make(8, {255, 0, 128, 1});
    d.clrUsed = 300;  // clamped to 256
    d.palette = Ramp256();
    cases.push_back({"eight_bit_clr_used_clamped", d, {0xFFFF0000, 0xFF0000FF, 0xFF80007F, 0xFF0100FE}});
  }
  {
    Dib d = Make(8, {2, 1, 0, 2});
    d.headerSize = 12;
    d.palette = Ramp256();
    cases.push_back({"core_header_eight_bit", d, {0xFF0200FD, 0xFF0100FE, 0xFF0000FF, 0xFF0200FD}});
  }
  cases.push_back({"sixteen_bit_555",
                   Make(16, {0x7C00, 0x03E0, 0x001F, 0x4210}),
                   {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF848484}});
  {
    Dib d = Make(16, {0xF800, 0x07E0, 0x0400, 0x001F});
    d.compression = 3;
    d.masks = {0xF800, 0x07E0, 0x001F};
    cases.push_back({"sixteen_bit_565_bitfields", d, {0xFFFF0000, 0xFF00FF00, 0xFF008200, 0xFF0000FF}});
  }
  // Three pixels of 24 bits: 9 bytes padded to 12 per row.
  cases.push_back({"twenty_four_bit_padding",
                   Make(24, {0x112233, 0xFFFFFF, 0x000001, 0xABCDEF, 0, 0}, 3, 2),
                   {0xFF112233, 0xFFFFFFFF, 0xFF000001, 0xFFABCDEF, 0xFF000000, 0xFF000000}});
  {
    // A colour table on a direct-colour image is skipped.
    Dib d = Make(24, {0x010203, 0x040506, 0x070809, 0x0A0B0C});
    d.clrUsed = 3;
    d.palette = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    cases.push_back({"twenty_four_bit_skips_palette", d, {0xFF010203, 0xFF040506, 0xFF070809, 0xFF0A0B0C}});
  }
  cases.push_back({"thirty_two_bit_alpha",
                   Make(32, {0x80FF0000, 0x00000000, 0xFF00FF00, 0x40102030}),
                   {0x80FF0000, 0x00000000, 0xFF00FF00, 0x40102030},
                   false,
                   true});
  cases.push_back({"thirty_two_bit_zero_alpha_is_opaque",
                   Make(32, {0x00FF0000, 0x00000000, 0x0000FF00, 0x00102030}),
                   {0xFFFF0000, 0xFF000000, 0xFF00FF00, 0xFF102030}});
  {
    // Bit fields inside a version 5 header, alpha included; B and R swapped.
    Dib d = Make(32, {0xFF0000FF, 0x00FF0000});
    d.headerSize = 124;
    d.compression = 3;
    d.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
    d.width = 2;
    d.storedHeight = 2;
    cases.push_back({"v5_header_bitfields_alpha", d, {0xFFFF0000, 0x000000FF}, false, true});
  }
  return cases;
}

class DibGood : public ::testing::TestWithParam<GoodCase> {};

TEST_P(DibGood, DecodesPixels) {
  const GoodCase& c = GetParam();
  const auto bytes = c.dib.Bytes();
  const auto icon = DecodeDibIcon(ByteReader(bytes));
  ASSERT_TRUE(icon.ok()) << icon.error().what;
  EXPECT_EQ(icon->width, c.dib.width);
  EXPECT_EQ(icon->height, c.dib.storedHeight / 2);
  EXPECT_EQ(icon->bitCount, c.dib.bitCount);
  EXPECT_EQ(icon->monochrome, c.monochrome);
  EXPECT_EQ(icon->alpha, c.alpha);
  EXPECT_EQ(icon->pixels, c.expected);
  EXPECT_EQ(icon->mask, std::vector<std::uint8_t>(c.expected.size(), 0));
}

INSTANTIATE_TEST_SUITE_P(Depths, DibGood, ::testing::ValuesIn(GoodCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DibMask, ReadsAndMaskTopDown) {
  Dib d = Make(24, {1, 2, 3, 4, 5, 6}, 3, 2);
  d.andMask = {1, 0, 1, 0, 0, 1};
  const auto bytes = d.Bytes();
  const auto icon = DecodeDibIcon(ByteReader(bytes));
  ASSERT_TRUE(icon.ok());
  EXPECT_EQ(icon->mask, (std::vector<std::uint8_t>{1, 0, 1, 0, 0, 1}));
}

TEST(DibMask, TruncatedMaskMeansNoMask) {
  Dib d = Make(8, {1, 1, 1, 1});
  d.palette = Ramp256();
  d.andMask = {1, 1, 1, 1};
  auto bytes = d.Bytes();
  bytes.pop_back();
  const auto icon = DecodeDibIcon(ByteReader(bytes));
  ASSERT_TRUE(icon.ok());
  EXPECT_TRUE(icon->mask.empty());
  EXPECT_EQ(icon->pixels[0], 0xFF0100FEu);

  d.mask = false;
  const auto noMask = d.Bytes();
  const auto bare = DecodeDibIcon(ByteReader(noMask));
  ASSERT_TRUE(bare.ok());
  EXPECT_TRUE(bare->mask.empty());
}

struct BadCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
};

std::vector<BadCase> BadCases() {
  std::vector<BadCase> cases;
  auto with = [](auto change) {
    Dib d = Make(8, {0, 0, 0, 0});
    d.palette = Ramp256();
    change(d);
    return d.Bytes();
  };
  cases.push_back({"empty", {}});
  cases.push_back({"shorter_than_size_field", {40, 0, 0}});
  cases.push_back({"header_size_20", with([](Dib& d) { d.headerSize = 20; })});
  cases.push_back({"header_size_64", with([](Dib& d) { d.headerSize = 64; })});
  {
    auto b = with([](Dib&) {});
    b.resize(30);
    cases.push_back({"info_header_cut", b});
  }
  {
    auto b = with([](Dib& d) { d.headerSize = 124; });
    b.resize(100);
    cases.push_back({"v5_header_larger_than_image", b});
  }
  cases.push_back({"width_zero", with([](Dib& d) { d.width = 0; })});
  cases.push_back({"width_negative", with([](Dib& d) { d.width = -2; })});
  cases.push_back({"height_zero", with([](Dib& d) { d.storedHeight = 0; })});
  cases.push_back({"height_odd", with([](Dib& d) { d.storedHeight = 3; })});
  cases.push_back({"height_negative_top_down", with([](Dib& d) { d.storedHeight = -4; })});
  cases.push_back({"width_above_cap", with([](Dib& d) { d.width = 1025; })});
  cases.push_back({"height_above_cap", with([](Dib& d) { d.storedHeight = 2050; })});
  cases.push_back({"pixel_count_overflows", with([](Dib& d) {
                     d.width = 0x7FFFFFFF;
                     d.storedHeight = 0x7FFFFFFE;
                     d.pixelData = false;
                   })});
  for (std::uint16_t bits : {0, 2, 3, 5, 64}) {
    static const char* names[] = {"bits_0", "bits_2", "bits_3", "bits_5", "bits_64"};
    const std::size_t i = bits == 0 ? 0 : bits == 2 ? 1 : bits == 3 ? 2 : bits == 5 ? 3 : 4;
    cases.push_back({names[i], with([bits](Dib& d) {
                       d.bitCount = bits;
                       d.pixelData = false;
                     })});
  }
  cases.push_back({"rle8", with([](Dib& d) { d.compression = 1; })});
  cases.push_back({"rle4", with([](Dib& d) {
                     d.compression = 2;
                     d.bitCount = 4;
                   })});
  cases.push_back({"jpeg", with([](Dib& d) { d.compression = 4; })});
  cases.push_back({"png_compression", with([](Dib& d) { d.compression = 5; })});
  cases.push_back({"bitfields_on_24_bits", with([](Dib& d) {
                     d.bitCount = 24;
                     d.compression = 3;
                     d.palette.clear();
                     d.masks = {0xFF0000, 0xFF00, 0xFF};
                   })});
  {
    Dib d = Make(16, {});
    d.compression = 3;
    d.mask = false;
    d.masks = {0xF800};
    cases.push_back({"bitfield_masks_truncated", d.Bytes()});
  }
  {
    auto b = with([](Dib& d) {
      d.palette.clear();
      d.pixels.clear();
      d.mask = false;
    });
    b.resize(b.size() + 100);  // 100 of the 1024 colour-table bytes
    cases.push_back({"palette_truncated", b});
  }
  {
    auto b = with([](Dib& d) { d.mask = false; });
    b.pop_back();
    cases.push_back({"colour_data_truncated", b});
  }
  return cases;
}

class DibBad : public ::testing::TestWithParam<BadCase> {};

TEST_P(DibBad, Refused) {
  const auto icon = DecodeDibIcon(ByteReader(GetParam().bytes));
  EXPECT_FALSE(icon.ok());
}

INSTANTIATE_TEST_SUITE_P(Inputs, DibBad, ::testing::ValuesIn(BadCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Every DIB image of the corpus's icon files decodes at the size its
// directory entry claims.
TEST(DibCorpus, EveryDibImageDecodes) {
  int decoded = 0;
  for (const auto& path : icon_test::CorpusIconFiles()) {
    for (const auto& image : icon_test::IcoImages(icon_test::ReadFile(path))) {
      if (image.bytes.size() >= 4 && image.bytes[0] == 0x89) continue;
      const auto icon = DecodeDibIcon(ByteReader(image.bytes));
      ASSERT_TRUE(icon.ok()) << path << ": " << icon.error().what;
      EXPECT_EQ(icon->width, image.width) << path;
      EXPECT_EQ(icon->height, image.height) << path;
      EXPECT_EQ(icon->mask.size(), icon->pixels.size()) << path;
      ++decoded;
    }
  }
  EXPECT_EQ(decoded, 38);  // the DIB images of the nine files
}

}  // namespace
