#include <gtest/gtest.h>

#include "platform/core/icon_object.h"

namespace {

IconObject Make(int w, int h, std::vector<std::uint32_t> pixels, std::vector<std::uint8_t> mask = {},
                bool alpha = false) {
  IconObject icon;
  icon.width = w;
  icon.height = h;
  icon.pixels = std::move(pixels);
  icon.mask = std::move(mask);
  icon.alpha = alpha;
  return icon;
}

std::uint32_t Grey(std::uint32_t v, std::uint32_t a = 0xFF) { return a << 24 | v << 16 | v << 8 | v; }

struct ScaleCase {
  const char* name;
  IconObject icon;
  int width;
  int height;
  std::vector<std::uint32_t> expected;
};

std::vector<ScaleCase> Cases() {
  return {
      // Same size: only the mask is folded. Set over black is transparent;
      // set over a colour cannot invert in an image list and stays opaque.
      {"fold_mask_same_size",
       Make(2, 2, {0x00000000, 0x00FFFFFF, 0x00FF0000, 0x00000000}, {1, 1, 0, 0}),
       2,
       2,
       {0x00000000, 0xFFFFFFFF, 0xFFFF0000, 0xFF000000}},
      {"alpha_ignores_mask", Make(2, 1, {0x80102030, 0xFF000000}, {1, 1}, true), 2, 1, {0x80102030, 0xFF000000}},
      {"no_mask_is_opaque", Make(1, 1, {0x00000000}), 1, 1, {0xFF000000}},
      {"box_average", Make(2, 2, {Grey(0), Grey(0), Grey(255), Grey(255)}), 1, 1, {Grey(128)}},
      // Averaged premultiplied: half coverage keeps pure red, no dark fringe.
      {"premultiplied_edge", Make(2, 1, {0xFFFF0000, 0x00000000}, {}, true), 1, 1, {0x80FF0000}},
      {"masked_edge", Make(2, 1, {0xFF0000FF, 0x00000000}, {0, 1}), 1, 1, {0x800000FF}},
      // 3 -> 2: each output covers one and a half source pixels.
      {"fractional_coverage", Make(3, 1, {Grey(0), Grey(90), Grey(180)}), 2, 1, {Grey(30), Grey(150)}},
      {"upscale_box",
       Make(2, 1, {Grey(0), Grey(200)}),
       4,
       2,
       {Grey(0), Grey(0), Grey(200), Grey(200), Grey(0), Grey(0), Grey(200), Grey(200)}},
      {"upscale_fractional", Make(2, 1, {Grey(0), Grey(200)}), 3, 1, {Grey(0), Grey(100), Grey(200)}},
      {"all_transparent", Make(2, 2, {0, 0, 0, 0}, {}, true), 1, 1, {0}},
      // Red averages to exactly half a level (2 * 22 / 88), which float
      // arithmetic lands one step below; it still rounds up.
      {"exact_half_rounds_up", Make(3, 1, {0x16020000, 0x21000000, 0x21000000}, {}, true), 1, 1, {0x1D010000}},
  };
}

class Scale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(Scale, AreaAverages) {
  const auto& c = GetParam();
  EXPECT_EQ(ScaleIconPixels(c.icon, c.width, c.height), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Scale, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScaleLarge, UniformImageStaysUniform) {
  const std::uint32_t colour = 0xC0336699;
  const IconObject big = Make(256, 256, std::vector<std::uint32_t>(std::size_t{256} * 256, colour), {}, true);
  const auto small = ScaleIconPixels(big, 32, 32);
  ASSERT_EQ(small.size(), 32u * 32u);
  for (std::uint32_t px : small) ASSERT_EQ(px, colour);
  const IconObject odd = Make(48, 48, std::vector<std::uint32_t>(std::size_t{48} * 48, colour), {}, true);
  for (std::uint32_t px : ScaleIconPixels(odd, 32, 32)) ASSERT_EQ(px, colour);
  for (std::uint32_t px : ScaleIconPixels(odd, 50, 20)) ASSERT_EQ(px, colour);
}

TEST(ScaleLarge, HalvesAQuarteredImage) {
  // 64x64 in four solid quadrants comes out as four 16x16 quadrants.
  std::vector<std::uint32_t> pixels(std::size_t{64} * 64);
  const std::uint32_t quad[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x00000000};
  for (std::size_t y = 0; y < 64; ++y)
    for (std::size_t x = 0; x < 64; ++x) pixels[y * 64 + x] = quad[(y / 32) * 2 + x / 32];
  const auto out = ScaleIconPixels(Make(64, 64, pixels, {}, true), 32, 32);
  ASSERT_EQ(out.size(), 1024u);
  for (std::size_t y = 0; y < 32; ++y)
    for (std::size_t x = 0; x < 32; ++x) ASSERT_EQ(out[y * 32 + x], quad[(y / 16) * 2 + x / 16]);
}

TEST(ScaleLimits, BadSizesGiveNothing) {
  const IconObject icon = Make(2, 2, {1, 2, 3, 4});
  EXPECT_TRUE(ScaleIconPixels(icon, 0, 32).empty());
  EXPECT_TRUE(ScaleIconPixels(icon, 32, -1).empty());
  EXPECT_TRUE(ScaleIconPixels(icon, 5000, 32).empty());
  EXPECT_TRUE(ScaleIconPixels(Make(2, 2, {1, 2, 3}), 32, 32).empty());
  EXPECT_TRUE(ScaleIconPixels(Make(2, 2, {1, 2, 3, 4}, {1}), 32, 32).empty());
  EXPECT_TRUE(ScaleIconPixels(Make(0, 0, {}), 32, 32).empty());
}

}  // namespace
