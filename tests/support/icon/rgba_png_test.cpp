// Icon images as RGBA and PNG: which alpha wins, what scaling keeps, what
// the PNG writer round-trips, and which image a size picks.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/icon/image_choice.h"
#include "support/icon/png_writer.h"
#include "support/icon/rgba_image.h"
#include "tests/common/ico_builder.h"

namespace {

using ico_test::ReadFile;
using ico_test::TempDir;
namespace fs = std::filesystem;

void Put(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A 2x2 DIB: pixels top-down as 0xAARRGGBB (8-bit: palette indices into
// the palette given), the AND mask top-down as one bit a pixel.
std::vector<std::uint8_t> Dib2x2(int bits, const std::vector<std::uint32_t>& pixels, const std::vector<int>& mask,
                                 const std::vector<std::uint32_t>& palette = {}) {
  std::vector<std::uint8_t> out;
  Put(out, 40, 4);
  Put(out, 2, 4);
  Put(out, 4, 4);
  Put(out, 1, 2);
  Put(out, static_cast<std::uint32_t>(bits), 2);
  for (int i = 0; i < 6; ++i) Put(out, i == 4 ? static_cast<std::uint32_t>(palette.size()) : 0, 4);
  for (const std::uint32_t c : palette) Put(out, c, 4);
  for (const std::size_t row : {std::size_t{1}, std::size_t{0}}) {  // bottom-up
    if (bits == 32) {
      Put(out, pixels[row * 2], 4);
      Put(out, pixels[row * 2 + 1], 4);
    } else {
      Put(out, pixels[row * 2] | pixels[row * 2 + 1] << 8, 4);
    }
  }
  for (const std::size_t row : {std::size_t{1}, std::size_t{0}}) {
    Put(out, static_cast<std::uint32_t>(mask[row * 2] << 7 | mask[row * 2 + 1] << 6), 4);
  }
  return out;
}

std::vector<std::uint8_t> Rgba(const std::vector<std::uint32_t>& argb) {
  std::vector<std::uint8_t> out;
  for (const std::uint32_t px : argb) {
    out.insert(out.end(), {static_cast<std::uint8_t>(px >> 16), static_cast<std::uint8_t>(px >> 8),
                           static_cast<std::uint8_t>(px), static_cast<std::uint8_t>(px >> 24)});
  }
  return out;
}

struct AlphaCase {
  const char* what;
  std::vector<std::uint8_t> dib;
  std::vector<std::uint32_t> expected;  // top-down ARGB
};

class DecodeImageToRgbaTest : public testing::TestWithParam<AlphaCase> {};

TEST_P(DecodeImageToRgbaTest, AlphaComesFromTheImageElseFromTheMask) {
  const auto image = DecodeImageToRgba(GetParam().dib);
  ASSERT_TRUE(image) << image.error().what;
  EXPECT_EQ(image->width, 2);
  EXPECT_EQ(image->height, 2);
  EXPECT_EQ(image->rgba, Rgba(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DecodeImageToRgbaTest,
    testing::Values(AlphaCase{"palette expanded, mask bit transparent",
                              Dib2x2(8, {0, 1, 2, 1}, {0, 0, 1, 0}, {0x00102030, 0x00405060, 0x00708090}),
                              {0xFF102030, 0xFF405060, 0x00708090, 0xFF405060}},
                    AlphaCase{"32-bit alpha wins over the mask",
                              Dib2x2(32, {0x80FF0000, 0x00000000, 0xFF00FF00, 0x400000FF}, {1, 1, 0, 0}),
                              {0x80FF0000, 0x00000000, 0xFF00FF00, 0x400000FF}},
                    // Drawn opaque through the mask, as the platform draws alpha-less
                    // 32-bit icons (icotool, taking the zero alpha as it is, makes the
                    // whole image transparent).
                    AlphaCase{"32-bit all-zero alpha uses the mask",
                              Dib2x2(32, {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00000000}, {0, 0, 0, 1}),
                              {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x00000000}}));

TEST(DecodeImageToRgba, RefusesWhatTheEngineRefuses) {
  EXPECT_FALSE(DecodeImageToRgba({}));
  auto truncated = Dib2x2(32, {0, 0, 0, 0}, {0, 0, 0, 0});
  truncated.resize(48);
  EXPECT_FALSE(DecodeImageToRgba(truncated));
}

TEST(FitWithin, AveragesWithAlphaKeepsProportionsAndNeverScalesUp) {
  // 4x2: opaque red next to transparent black, twice. Averaged as
  // premultiplied, the half-covered pixel stays red, not a darker red.
  const RgbaImage wide{
      4, 2, Rgba({0xFFFF0000, 0x00000000, 0xFFFF0000, 0x00000000, 0xFFFF0000, 0x00000000, 0xFFFF0000, 0x00000000})};
  const RgbaImage half = FitWithin(wide, 2);
  EXPECT_EQ(half.width, 2);
  EXPECT_EQ(half.height, 1);
  EXPECT_EQ(half.rgba, Rgba({0x80FF0000, 0x80FF0000}));
  const RgbaImage same = FitWithin(wide, 4);
  EXPECT_EQ(same.rgba, wide.rgba);
  EXPECT_EQ(FitWithin(wide, 64).width, 4);
  const RgbaImage tall{1, 3, Rgba({0xFF000000, 0xFF000000, 0xFF000000})};
  EXPECT_EQ(FitWithin(tall, 1).height, 1);
  EXPECT_EQ(FitWithin(tall, 1).width, 1);
}

TEST(EncodePng, RoundTripsThroughTheEnginesDecoderAndKeepsStoredPngs) {
  const RgbaImage image{2, 2, Rgba({0x80FF0000, 0x00000000, 0xFF00FF00, 0x400000FF})};
  const auto png = EncodePng(image);
  ASSERT_TRUE(png);
  const auto back = DecodeImageToRgba(*png);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->rgba, image.rgba);
  // A PNG image goes out as stored; a DIB becomes the PNG of its RGBA.
  EXPECT_EQ(*ImageAsPng(*png), *png);
  const auto dib = Dib2x2(8, {0, 1, 2, 1}, {0, 0, 1, 0}, {0x00102030, 0x00405060, 0x00708090});
  const auto fromDib = ImageAsPng(dib);
  ASSERT_TRUE(fromDib);
  EXPECT_EQ(DecodeImageToRgba(*fromDib)->rgba, DecodeImageToRgba(dib)->rgba);
  EXPECT_FALSE(EncodePng(RgbaImage{2, 2, std::vector<std::uint8_t>(15)}));
  EXPECT_FALSE(EncodePng(RgbaImage{}));
  EXPECT_FALSE(ImageAsPng(std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0}));
}

// Shapes that stress the row layout (one column, one row, widths that are
// not a multiple of anything) and content that compresses well or not at
// all, each read back by libpng through the engine's checks, checksums
// included.
TEST(EncodePng, EveryShapeAndContentReadsBackPixelForPixel) {
  struct Case {
    int width;
    int height;
    bool noise;
  };
  for (const Case c : {Case{1, 1, false}, Case{1, 300, true}, Case{300, 1, true}, Case{48, 48, false},
                       Case{33, 17, true}, Case{256, 256, true}, Case{256, 256, false}}) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + (c.noise ? " noise" : " flat"));
    RgbaImage image{c.width, c.height, std::vector<std::uint8_t>(static_cast<std::size_t>(c.width) * c.height * 4)};
    std::uint32_t state = 12345;
    for (std::size_t i = 0; i < image.rgba.size(); ++i) {
      state = state * 1664525u + 1013904223u;
      image.rgba[i] = c.noise ? static_cast<std::uint8_t>(state >> 24) : static_cast<std::uint8_t>(i / 4 % 7 * 30);
    }
    const auto png = EncodePng(image);
    ASSERT_TRUE(png);
    EXPECT_TRUE(IsRgba8Png(*png));
    const auto back = DecodeImageToRgba(*png);
    ASSERT_TRUE(back) << back.error().what;
    EXPECT_EQ(back->width, c.width);
    EXPECT_EQ(back->height, c.height);
    EXPECT_EQ(back->rgba, image.rgba);
  }
}

TEST(BestImageFor, SmallestAtLeastTheSizeDeepestFirstElseTheLargest) {
  TempDir dir;
  using ico_test::DibEntry;
  ASSERT_TRUE(ico_test::WriteFile(
      dir.File("g.ico"), ico_test::IcoFile({DibEntry(16, 16, 4), DibEntry(32, 32, 8), DibEntry(48, 48, 4),
                                            DibEntry(32, 32, 32), DibEntry(48, 48, 32), DibEntry(16, 16, 32)})));
  const UniqueIconResource group(ReadIconFromICOFile(dir.File("g.ico").c_str()));
  ASSERT_NE(group, nullptr);
  struct Case {
    unsigned side;
    UINT picked;
  };
  for (const Case c : {Case{1, 5}, Case{16, 5}, Case{17, 3}, Case{32, 3}, Case{33, 4}, Case{48, 4}, Case{256, 4}}) {
    EXPECT_EQ(BestImageFor(group.get(), c.side), std::optional<UINT>(c.picked)) << c.side;
  }
  EXPECT_EQ(BestImageFor(nullptr, 32), std::nullopt);
}

TEST(WriteWholeFile, NeverReplacesWhenToldAndLeavesNoTemporaryFile) {
  TempDir dir;
  const std::vector<std::uint8_t> old{1, 2, 3}, fresh{4, 5};
  ASSERT_TRUE(ico_test::WriteFile(dir.File("a"), old));
  fs::create_symlink(dir.File("a"), dir.File("link"));
  const auto refused = WriteWholeFile(dir.File("a"), {fresh}, Overwrite::Never);
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error().what, "file exists");
  // A link under the name is a name taken too: nothing is written through it.
  EXPECT_FALSE(WriteWholeFile(dir.File("link"), {fresh}, Overwrite::Never));
  EXPECT_EQ(ReadFile(dir.File("a")), old);
  EXPECT_EQ(*WriteWholeFile(dir.File("b"), {fresh, old}, Overwrite::Never), 5u);
  EXPECT_EQ(ReadFile(dir.File("b")), (std::vector<std::uint8_t>{4, 5, 1, 2, 3}));
  // Replacing swaps the link itself, never the file it points to.
  ASSERT_TRUE(WriteWholeFile(dir.File("link"), {fresh}, Overwrite::Replace));
  EXPECT_FALSE(fs::is_symlink(dir.File("link")));
  EXPECT_EQ(ReadFile(dir.File("a")), old);
  EXPECT_FALSE(WriteWholeFile(dir.File("missing/x"), {fresh}, Overwrite::Replace));
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir.path())) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "link"}));
}

}  // namespace
