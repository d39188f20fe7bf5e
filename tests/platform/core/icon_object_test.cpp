#include "platform/core/icon_object.h"

#include <gtest/gtest.h>

#include "platform/core/icon_image_probe.h"
#include "platform/core/shell_extract.h"
#include "tests/platform/core/icon_test_images.h"

namespace {

std::vector<std::uint8_t> MonoDib(int w, int h) {
  icon_test::Dib d;
  d.bitCount = 1;
  d.width = w;
  d.storedHeight = h * 2;
  d.palette = {0x000000, 0xFFFFFF};
  return d.Bytes();
}

std::vector<std::uint8_t> ColourDib(int w, int h, std::uint16_t bits = 8) {
  icon_test::Dib d;
  d.bitCount = bits;
  d.width = w;
  d.storedHeight = h * 2;
  if (bits <= 8) d.palette.assign(std::size_t{1} << bits, 0x808080);
  return d.Bytes();
}

BITMAP Describe(HBITMAP bitmap) {
  BITMAP bm{};
  EXPECT_EQ(GetObjectA(bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
  return bm;
}

TEST(IconInfo, MonochromeIconHasOnlyADoubleHeightMask) {
  HICON icon = CreateIconFromBytes(MonoDib(20, 12));
  ASSERT_NE(icon, nullptr);
  EXPECT_TRUE(icon->monochrome);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  EXPECT_EQ(info.fIcon, TRUE);
  EXPECT_EQ(info.hbmColor, nullptr);
  const BITMAP mask = Describe(info.hbmMask);
  EXPECT_EQ(mask.bmWidth, 20);
  EXPECT_EQ(mask.bmHeight, 24);
  EXPECT_EQ(mask.bmBitsPixel, 1);
  EXPECT_EQ(mask.bmWidthBytes, 4);  // 20 bits padded to 16-bit words
  EXPECT_TRUE(DeleteObject(info.hbmMask));
  EXPECT_FALSE(DeleteObject(info.hbmMask));
  EXPECT_TRUE(DestroyIcon(icon));
}

TEST(IconInfo, ColourIconHasColourAndMaskOfItsSize) {
  HICON icon = CreateIconFromBytes(ColourDib(24, 16, 4));
  ASSERT_NE(icon, nullptr);
  EXPECT_FALSE(icon->monochrome);
  EXPECT_EQ(icon->bitCount, 4);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  ASSERT_NE(info.hbmColor, nullptr);
  const BITMAP colour = Describe(info.hbmColor);
  EXPECT_EQ(colour.bmWidth, 24);
  EXPECT_EQ(colour.bmHeight, 16);
  EXPECT_EQ(colour.bmBitsPixel, 32);
  EXPECT_EQ(colour.bmWidthBytes, 96);
  const BITMAP mask = Describe(info.hbmMask);
  EXPECT_EQ(mask.bmHeight, 16);
  EXPECT_EQ(mask.bmBitsPixel, 1);

  // No buffer asks for the size; a short buffer gets what fits.
  EXPECT_EQ(GetObjectA(info.hbmColor, 0, nullptr), static_cast<int>(sizeof(BITMAP)));
  LONG firstTwo[2] = {-1, -1};
  EXPECT_EQ(GetObjectA(info.hbmColor, sizeof firstTwo, firstTwo), static_cast<int>(sizeof firstTwo));
  EXPECT_EQ(firstTwo[1], 24);
  // An icon handle is no bitmap.
  EXPECT_EQ(GetObjectA(icon, sizeof(BITMAP), firstTwo), 0);
  EXPECT_TRUE(DeleteObject(info.hbmColor));
  EXPECT_TRUE(DeleteObject(info.hbmMask));
  EXPECT_TRUE(DestroyIcon(icon));
}

TEST(IconHandles, StaleAndMarkerHandlesAreRefused) {
  EXPECT_FALSE(DestroyIcon(nullptr));
  EXPECT_FALSE(DestroyIcon(EXTRACT_NOT_AN_ICON_FILE));
  ICONINFO info{};
  EXPECT_FALSE(GetIconInfo(EXTRACT_NOT_AN_ICON_FILE, &info));
  EXPECT_EQ(CopyIcon(EXTRACT_NOT_AN_ICON_FILE), nullptr);
  HICON icon = CreateIconFromBytes(ColourDib(4, 4));
  ASSERT_NE(icon, nullptr);
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(DestroyIcon(icon));
  EXPECT_FALSE(DeleteObject(nullptr));
}

TEST(IconHandles, CopyIsIndependent) {
  HICON icon = CreateIconFromBytes(ColourDib(8, 8, 24));
  ASSERT_NE(icon, nullptr);
  HICON copy = CopyIcon(icon);
  ASSERT_NE(copy, nullptr);
  ASSERT_NE(copy, icon);
  EXPECT_EQ(copy->pixels, icon->pixels);
  EXPECT_EQ(copy->bitCount, 24);
  EXPECT_TRUE(DestroyIcon(icon));
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(copy, &info));
  EXPECT_TRUE(DeleteObject(info.hbmColor));
  EXPECT_TRUE(DeleteObject(info.hbmMask));
  EXPECT_TRUE(DestroyIcon(copy));
}

TEST(IconHandles, FromObjectChecksSizes) {
  IconObject object;
  object.width = 2;
  object.height = 2;
  object.pixels.assign(3, 0);
  EXPECT_EQ(CreateIconFromObject(object), nullptr);
  object.pixels.assign(4, 0);
  object.mask.assign(2, 0);
  EXPECT_EQ(CreateIconFromObject(object), nullptr);
  object.mask.clear();
  HICON icon = CreateIconFromObject(object);
  ASSERT_NE(icon, nullptr);
  EXPECT_TRUE(DestroyIcon(icon));
}

struct ResourceCase {
  const char* name;
  DWORD version;
  int cx;
  int cy;
  bool made;
  int width;
  int height;
};

class CreateFromResource : public ::testing::TestWithParam<ResourceCase> {};

TEST_P(CreateFromResource, VersionAndSize) {
  const auto& c = GetParam();
  const auto bytes = ColourDib(16, 16, 32);
  HICON icon = CreateIconFromResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), TRUE, c.version, c.cx, c.cy,
                                        LR_DEFAULTCOLOR);
  ASSERT_EQ(icon != nullptr, c.made);
  if (icon == nullptr) return;
  EXPECT_EQ(icon->width, c.width);
  EXPECT_EQ(icon->height, c.height);
  EXPECT_EQ(icon->bitCount, 32);
  EXPECT_EQ(icon->pixels.size(), static_cast<std::size_t>(c.width * c.height));
  EXPECT_TRUE(DestroyIcon(icon));
}

INSTANTIATE_TEST_SUITE_P(Calls, CreateFromResource,
                         ::testing::Values(ResourceCase{"own_size", 0x00030000, 0, 0, true, 16, 16},
                                           ResourceCase{"version_2", 0x00020000, 0, 0, true, 16, 16},
                                           ResourceCase{"version_0", 0, 0, 0, false, 0, 0},
                                           ResourceCase{"version_4", 0x00040000, 0, 0, false, 0, 0},
                                           ResourceCase{"stretched", 0x00030000, 32, 32, true, 32, 32},
                                           ResourceCase{"one_side", 0x00030000, 0, 8, true, 16, 8},
                                           ResourceCase{"negative", 0x00030000, -1, 32, false, 0, 0},
                                           ResourceCase{"above_cap", 0x00030000, 5000, 32, false, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CreateFromResourceCursor, HotSpotComesFirst) {
  auto bytes = ColourDib(8, 8);
  bytes.insert(bytes.begin(), {3, 0, 5, 0});
  HICON cursor = CreateIconFromResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), FALSE, 0x00030000, 0, 0, 0);
  ASSERT_NE(cursor, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(cursor, &info));
  EXPECT_EQ(info.fIcon, FALSE);
  EXPECT_EQ(info.xHotspot, 3u);
  EXPECT_EQ(info.yHotspot, 5u);
  EXPECT_TRUE(DeleteObject(info.hbmColor));
  EXPECT_TRUE(DeleteObject(info.hbmMask));
  EXPECT_TRUE(DestroyIcon(cursor));
  EXPECT_EQ(CreateIconFromResourceEx(bytes.data(), 3, FALSE, 0x00030000, 0, 0, 0), nullptr);
  EXPECT_EQ(CreateIconFromResourceEx(nullptr, 100, TRUE, 0x00030000, 0, 0, 0), nullptr);
}

TEST(IconCorpus, EveryImageMakesAnIconOfItsProbedSize) {
  int made = 0;
  for (const auto& path : icon_test::CorpusIconFiles()) {
    for (const auto& image : icon_test::IcoImages(icon_test::ReadFile(path))) {
      const auto header = ProbeIconImage(ByteReader(image.bytes));
      ASSERT_TRUE(header) << path;
      HICON icon = CreateIconFromBytes(image.bytes);
      ASSERT_NE(icon, nullptr) << path;
      EXPECT_EQ(icon->width, header->width);
      EXPECT_EQ(icon->height, header->height);
      EXPECT_EQ(icon->bitCount, header->bitCount);
      EXPECT_EQ(icon->alpha, header->png || header->bitCount == 32) << path;
      EXPECT_TRUE(DestroyIcon(icon));
      ++made;
    }
  }
  EXPECT_EQ(made, 41);
}

}  // namespace
