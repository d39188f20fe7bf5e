// Pixels scaled elsewhere are stored only when they are the list's size.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <vector>

#include "platform/core/icon_object.h"
#include "platform/ui/image_list.h"

namespace {

TEST(ImageListPixels, OnlyPixelsOfTheListsSizeAreAppended) {
  CImageList list;
  ASSERT_TRUE(list.Create(32, 32, 0, 4, 4));
  const std::vector<std::uint32_t> blue(std::size_t{32} * 32, 0xFF0000FFu);
  EXPECT_EQ(ImageList_AddPixels(list, 32, 32, blue), 0);
  EXPECT_EQ(ImageList_AddPixels(list, 16, 16, std::vector<std::uint32_t>(std::size_t{16} * 16, 1u)), -1);
  EXPECT_EQ(ImageList_AddPixels(list, 32, 32, std::vector<std::uint32_t>(std::size_t{31} * 32, 1u)), -1);
  EXPECT_EQ(ImageList_AddPixels(list, 32, 32, {}), -1);
  EXPECT_EQ(ImageList_AddPixels(list, 0, 0, {}), -1);
  EXPECT_EQ(ImageList_AddPixels(list, 32, 32, blue), 1);
  EXPECT_EQ(list.GetImageCount(), 2);
  EXPECT_EQ(ImageList_GetPixels(list, 1), blue);
  EXPECT_EQ(ImageList_AddPixels(nullptr, 32, 32, blue), -1);
}

}  // namespace

namespace {

// Icons told apart by one seed; a few seeds give the repeats a listing has.
class SeededIcons {
 public:
  HICON Icon(std::uint32_t seed) {
    auto& icon = m_icons[seed];
    if (icon == nullptr) {
      IconObject object;
      object.width = object.height = 32;
      object.bitCount = 32;
      object.alpha = true;
      object.pixels.resize(std::size_t{32} * 32);
      for (std::size_t i = 0; i < object.pixels.size(); ++i) {
        object.pixels[i] = 0xFF000000u | (seed * 2654435761u + static_cast<std::uint32_t>(i));
      }
      icon = CreateIconFromObject(std::move(object));
    }
    return icon;
  }
  // What the list stores for the seed's icon.
  std::vector<std::uint32_t> Stored(std::uint32_t seed) { return ScaleIconPixels(*Icon(seed), 32, 32); }
  SeededIcons() = default;
  SeededIcons(const SeededIcons&) = delete;
  SeededIcons& operator=(const SeededIcons&) = delete;
  ~SeededIcons() {
    for (auto& [seed, icon] : m_icons) DestroyIcon(icon);
  }

 private:
  std::map<std::uint32_t, HICON> m_icons;
};

// Appends, replacements and removals against a plain vector of what each
// image should show: image n keeps its own picture whatever happens to the
// images that share it, and the list holds each different picture once.
TEST(ImageListPictures, EveryImageKeepsItsPictureAndEqualPicturesAreStoredOnce) {
  CImageList list;
  ASSERT_TRUE(list.Create(32, 32, 0, 4, 4));
  SeededIcons icons;
  std::vector<std::uint32_t> expected;  // the seed image n shows
  std::mt19937 random(15);
  for (int step = 0; step < 3000; ++step) {
    const auto seed = static_cast<std::uint32_t>(random() % 7);
    const auto choice = random() % 10;
    if (choice < 6 || expected.empty()) {
      ASSERT_EQ(list.Add(icons.Icon(seed)), static_cast<int>(expected.size()));
      expected.push_back(seed);
    } else if (choice < 8) {
      const auto at = static_cast<std::size_t>(random() % expected.size());
      ASSERT_EQ(list.Replace(static_cast<int>(at), icons.Icon(seed)), static_cast<int>(at));
      expected[at] = seed;
    } else {
      const auto at = static_cast<std::size_t>(random() % expected.size());
      ASSERT_TRUE(list.Remove(static_cast<int>(at)));
      expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(at));
    }
    ASSERT_EQ(list.GetImageCount(), static_cast<int>(expected.size()));
    const std::set<std::uint32_t> distinct(expected.begin(), expected.end());
    ASSERT_EQ(ImageList_GetPictureCount(list), static_cast<int>(distinct.size())) << "step " << step;
  }
  for (std::size_t n = 0; n < expected.size(); ++n) {
    ASSERT_EQ(ImageList_GetPixels(list, static_cast<int>(n)), icons.Stored(expected[n])) << n;
  }
  ASSERT_TRUE(list.Remove(-1));
  EXPECT_EQ(list.GetImageCount(), 0);
  EXPECT_EQ(ImageList_GetPictureCount(list), 0);
  EXPECT_EQ(list.Add(icons.Icon(3)), 0);
  EXPECT_EQ(ImageList_GetPixels(list, 0), icons.Stored(3));
}

// Past 65,536 images every append is stored, and a clear one image at a
// time from the front (as Icons/Clear goes) frees every picture.
TEST(ImageListPictures, ThereIsNoCapOnTheNumberOfImages) {
  CImageList list;
  ASSERT_TRUE(list.Create(32, 32, 0, 4, 4));
  SeededIcons icons;
  constexpr int kImages = 70000;
  const auto seedOf = [](int n) { return static_cast<std::uint32_t>(n % 5 + n / 65536); };
  for (int n = 0; n < kImages; ++n) {
    ASSERT_EQ(ImageList_AddPixels(list, 32, 32, icons.Stored(seedOf(n))), n);
  }
  EXPECT_EQ(list.GetImageCount(), kImages);
  EXPECT_EQ(ImageList_GetPictureCount(list), 6);
  for (const int n : {0, 65535, 65536, kImages - 1})
    EXPECT_EQ(ImageList_GetPixels(list, n), icons.Stored(seedOf(n))) << n;
  for (int n = kImages; n > 0; --n) ASSERT_TRUE(list.Remove(0));
  EXPECT_EQ(ImageList_GetPictureCount(list), 0);
}

}  // namespace
