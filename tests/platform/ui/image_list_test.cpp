// Pixels scaled elsewhere are stored only when they are the list's size.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/ui/image_list.h"

namespace {

TEST(ImageListPixels, OnlyPixelsOfTheListsSizeAreAppended) {
  CImageList list;
  ASSERT_TRUE(list.Create(32, 32, 0, 4, 4));
  const std::vector<std::uint32_t> blue(32u * 32u, 0xFF0000FFu);
  EXPECT_EQ(ImageList_AddPixels(list, 32, 32, blue), 0);
  EXPECT_EQ(ImageList_AddPixels(list, 16, 16, std::vector<std::uint32_t>(16u * 16u, 1u)), -1);
  EXPECT_EQ(ImageList_AddPixels(list, 32, 32, std::vector<std::uint32_t>(31u * 32u, 1u)), -1);
  EXPECT_EQ(ImageList_AddPixels(list, 32, 32, {}), -1);
  EXPECT_EQ(ImageList_AddPixels(list, 0, 0, {}), -1);
  EXPECT_EQ(ImageList_AddPixels(list, 32, 32, blue), 1);
  EXPECT_EQ(list.GetImageCount(), 2);
  EXPECT_EQ(ImageList_GetPixels(list, 1), blue);
  EXPECT_EQ(ImageList_AddPixels(nullptr, 32, 32, blue), -1);
}

}  // namespace
