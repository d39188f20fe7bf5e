#include "platform/core/icon_directory_pick.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/core/data_module.h"
#include "platform/core/icon_image_probe.h"
#include "platform/core/icon_object.h"
#include "tests/common/reference_listing.h"
#include "tests/platform/core/icon_test_images.h"

namespace {

struct Entry {
  int width;  // 256 is stored as 0
  int height;
  std::uint8_t colours;
  std::uint16_t bits;
  std::uint16_t id;
};

std::vector<std::uint8_t> GroupDir(const std::vector<Entry>& entries, int declared = -1) {
  std::vector<std::uint8_t> out;
  ByteWriter writer(out);
  writer.u16(0).u16(1).u16(static_cast<std::uint16_t>(declared < 0 ? static_cast<int>(entries.size()) : declared));
  for (const Entry& e : entries) {
    writer.u8(static_cast<std::uint8_t>(e.width & 0xFF)).u8(static_cast<std::uint8_t>(e.height & 0xFF));
    writer.u8(e.colours).u8(0).u16(1).u16(e.bits).u32(1000).u16(e.id);
  }
  return out;
}

struct PickCase {
  const char* name;
  std::vector<Entry> entries;
  int cx;
  int cy;
  int expected;
};

std::vector<PickCase> PickCases() {
  return {
      {"exact_size", {{16, 16, 0, 32, 1}, {32, 32, 0, 32, 2}, {48, 48, 0, 32, 3}}, 32, 32, 2},
      {"bigger_before_smaller", {{16, 16, 0, 32, 1}, {64, 64, 0, 32, 2}, {48, 48, 0, 32, 3}}, 32, 32, 3},
      {"nearest_smaller_when_none_bigger", {{16, 16, 0, 32, 1}, {24, 24, 0, 32, 2}}, 32, 32, 2},
      {"size_before_depth", {{48, 48, 0, 32, 1}, {32, 32, 0, 4, 2}}, 32, 32, 2},
      {"highest_depth", {{32, 32, 0, 4, 1}, {32, 32, 0, 32, 2}, {32, 32, 0, 8, 3}}, 32, 32, 2},
      {"depth_above_32_last", {{32, 32, 0, 64, 1}, {32, 32, 0, 8, 2}}, 32, 32, 2},
      {"depth_from_colour_count", {{32, 32, 2, 0, 1}, {32, 32, 16, 0, 2}, {32, 32, 8, 0, 3}}, 32, 32, 2},
      {"zero_colours_is_256", {{32, 32, 16, 0, 1}, {32, 32, 0, 0, 2}}, 32, 32, 2},
      {"zero_width_is_256", {{16, 16, 0, 32, 1}, {256, 256, 0, 32, 2}}, 256, 256, 2},
      {"256_scaled_down_before_16_up", {{16, 16, 0, 32, 1}, {256, 256, 0, 32, 2}}, 32, 32, 2},
      {"ties_go_to_first", {{32, 32, 0, 8, 7}, {32, 32, 0, 8, 5}}, 32, 32, 7},
      {"zero_size_means_32", {{16, 16, 0, 32, 1}, {32, 32, 0, 32, 2}}, 0, 0, 2},
      {"non_square_request", {{32, 32, 0, 32, 1}, {16, 32, 0, 32, 2}}, 16, 32, 2},
      {"empty", {}, 32, 32, 0},
  };
}

class DirectoryPick : public ::testing::TestWithParam<PickCase> {};

TEST_P(DirectoryPick, PicksAsThePlatform) {
  const PickCase& c = GetParam();
  const auto dir = GroupDir(c.entries);
  EXPECT_EQ(LookupIconIdFromDirectoryBytes(dir, c.cx, c.cy), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Groups, DirectoryPick, ::testing::ValuesIn(PickCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DirectoryPickBounds, UsesOnlyEntriesThatFit) {
  // Claims three entries; the exact match is the third and is cut off.
  auto dir = GroupDir({{16, 16, 0, 32, 1}, {48, 48, 0, 32, 2}, {32, 32, 0, 32, 3}}, 3);
  dir.resize(dir.size() - 1);
  EXPECT_EQ(LookupIconIdFromDirectoryBytes(dir, 32, 32), 2);
  const auto huge = GroupDir({{32, 32, 0, 32, 9}}, 0xFFFF);
  EXPECT_EQ(LookupIconIdFromDirectoryBytes(huge, 32, 32), 9);
  const std::vector<std::uint8_t> headerOnly = {0, 0, 1, 0, 1, 0};
  EXPECT_EQ(LookupIconIdFromDirectoryBytes(headerOnly, 32, 32), 0);
  EXPECT_EQ(LookupIconIdFromDirectoryBytes(std::vector<std::uint8_t>{0, 0, 1}, 32, 32), 0);
  EXPECT_EQ(LookupIconIdFromDirectoryBytes({}, 32, 32), 0);
}

TEST(DirectoryPickBounds, CursorDirectoriesCountTheMaskInTheHeight) {
  std::vector<std::uint8_t> dir = {0, 0, 2, 0, 2, 0};
  for (auto [w, h2, id] : {std::tuple{16, 32, 4}, std::tuple{32, 64, 5}}) {
    ByteWriter(dir).u16(w).u16(h2).u16(1).u16(1).u32(100).u16(id);
  }
  EXPECT_EQ(PickIdFromGroupDirectory(ByteReader(dir), DirectoryKind::Cursor, 32, 32), 5);
  EXPECT_EQ(PickIdFromGroupDirectory(ByteReader(dir), DirectoryKind::Cursor, 16, 16), 4);
}

// The corpus's icon files, their directories turned into group directories:
// a 32x32 load picks a 32x32 image, the deepest of them.
TEST(DirectoryPickCorpus, IconFilesPickTheDeepest32x32) {
  for (const auto& path : icon_test::CorpusIconFiles()) {
    const auto images = icon_test::IcoImages(icon_test::ReadFile(path));
    std::vector<Entry> entries;
    int deepest = 0;
    for (std::size_t i = 0; i < images.size(); ++i) {
      const auto& im = images[i];
      entries.push_back({im.width, im.height, im.colours, static_cast<std::uint16_t>(im.bitCount),
                         static_cast<std::uint16_t>(i + 1)});
      if (im.width == 32 && im.height == 32)
        deepest = std::max(deepest, ProbeIconImage(ByteReader(im.bytes))->bitCount);
    }
    const int id = LookupIconIdFromDirectoryBytes(GroupDir(entries), 32, 32);
    ASSERT_GT(id, 0) << path;
    const auto header = ProbeIconImage(ByteReader(images[static_cast<std::size_t>(id - 1)].bytes));
    ASSERT_TRUE(header) << path;
    EXPECT_EQ(header->width, 32) << path;
    EXPECT_EQ(header->height, 32) << path;
    EXPECT_EQ(header->bitCount, deepest) << path;
  }
}

// Collects group names as EnumResourceNamesA hands them out.
BOOL CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
  auto* names = reinterpret_cast<std::vector<std::string>*>(param);
  names->push_back(IS_INTRESOURCE(name) ? "#" + std::to_string(ResourceNumber(name)) : std::string(name));
  return TRUE;
}

// The size of the icon a 32x32 load makes from the picked image. A group
// without a 32x32 image (comdlg32's 76x24 ones) gets its picked image
// stretched, as the platform's load does; a group with one must pick it.
std::string LoadedSize(HMODULE module, const std::string& name) {
  const std::string key = name[0] == '#' ? std::string() : name;
  LPCSTR id = name[0] == '#' ? MAKEINTRESOURCEA(std::stoul(name.substr(1))) : key.c_str();
  const auto dir = ResourceBytes(module, FindResourceA(module, id, RT_GROUP_ICON));
  if (!dir) return "no group";
  const int picked = LookupIconIdFromDirectoryBytes(dir->bytes(), 32, 32);
  const auto image = ResourceBytes(module, FindResourceA(module, MAKEINTRESOURCEA(static_cast<WORD>(picked)), RT_ICON));
  if (!image) return "no image";
  const auto header = ProbeIconImage(*image);
  if (!header) return "bad image";
  bool has32 = false;
  for (std::uint64_t at = 6; at + 14 <= dir->size(); at += 14)
    has32 = has32 || (dir->u8(at) == 32 && dir->u8(at + 1) == 32);
  if (has32 && (header->width != 32 || header->height != 32)) return "missed the 32x32 image";
  const auto bytes = image->bytes();
  HICON icon = CreateIconFromResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), TRUE, 0x00030000, 32, 32, 0);
  if (icon == nullptr) return "no icon";
  std::string size = std::to_string(icon->width) + "x" + std::to_string(icon->height);
  DestroyIcon(icon);
  return size;
}

// Against the platform's own answers for the corpus modules.
TEST(DirectoryPickCorpus, ModulesPickWhatThePlatformPicks) {
  const auto reference = corpus_test::ReadReferenceListing();
  ASSERT_FALSE(reference.empty());
  std::size_t groups = 0, expectedGroups = 0;
  for (const auto& row : reference) {
    const std::string& file = row.file;
    std::vector<std::string> expected;
    for (const auto& group : row.groups) expected.push_back(group.picked);
    expectedGroups += row.count;
    const std::string path = std::string(GLIMRA_CORPUS_DIR) + "/" + file;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << path;
    std::vector<std::string> names;
    (void)EnumResourceNamesA(module, RT_GROUP_ICON, CollectName, reinterpret_cast<LONG_PTR>(&names));
    ASSERT_EQ(names.size(), expected.size()) << path;
    for (std::size_t i = 0; i < names.size(); ++i) {
      EXPECT_EQ(LoadedSize(module, names[i]), expected[i]) << path << " " << names[i];
      ++groups;
    }
    FreeLibrary(module);
  }
  EXPECT_EQ(groups, expectedGroups);
}

}  // namespace
