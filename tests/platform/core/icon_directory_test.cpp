#include "platform/core/icon_directory.h"

#include <gtest/gtest.h>

#include "tests/common/ico_builder.h"
#include "tests/common/pe_builder.h"

namespace {

using ico_test::DibEntry;
using ico_test::IcoEntry;
using ico_test::IcoFile;

std::vector<std::uint8_t> Group(std::size_t entries) {
  std::vector<pe_test::GroupIconEntry> rows;
  for (std::size_t i = 0; i < entries; ++i) rows.push_back({32, 32, 0, 1, 32, 100, static_cast<std::uint16_t>(i + 1)});
  return pe_test::GroupIconBytes(rows);
}

struct GroupCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
  bool ok;
  std::size_t entries;
};

class GroupDirectoryTest : public testing::TestWithParam<GroupCase> {};

TEST_P(GroupDirectoryTest, ReadsWhatIsThere) {
  const auto& c = GetParam();
  const auto parsed = ParseGroupDirectory(ByteReader(c.bytes));
  ASSERT_EQ(parsed.ok(), c.ok);
  if (c.ok) {
    EXPECT_EQ(parsed->size(), c.entries);
  }
}

std::vector<std::uint8_t> With(std::vector<std::uint8_t> bytes, std::size_t at, std::uint8_t value) {
  bytes[at] = value;
  return bytes;
}

std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> bytes, std::size_t size) {
  bytes.resize(size);
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(Cases, GroupDirectoryTest,
                         testing::Values(GroupCase{"three", Group(3), true, 3}, GroupCase{"empty", {}, false, 0},
                                         GroupCase{"five_bytes", Cut(Group(1), 5), false, 0},
                                         GroupCase{"header_only", Cut(Group(1), 6), true, 0},
                                         GroupCase{"count_past_end", With(Group(2), 4, 200), true, 2},
                                         GroupCase{"partial_last_entry", Cut(Group(2), 6 + 14 + 13), true, 1},
                                         GroupCase{"reserved_set", With(Group(1), 0, 1), false, 0},
                                         GroupCase{"cursor_type", With(Group(1), 2, 2), false, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GroupDirectory, HugeCountIsCappedByTheImagesPerGroupLimit) {
  auto bytes = Group(kMaxImagesPerGroup + 10);
  bytes[4] = 0xFF;
  bytes[5] = 0xFF;
  const auto parsed = ParseGroupDirectory(ByteReader(bytes));
  ASSERT_TRUE(parsed.ok());
  EXPECT_EQ(parsed->size(), kMaxImagesPerGroup);
}

TEST(GroupDirectory, ResolvingLeavesOutIdsWithNothingBehindThem) {
  const auto dir = Group(3);
  const std::vector<std::uint8_t> image(10, 0xAB);
  const auto images = ResolveGroupImages(ByteReader(dir), [&](const IconDirEntry& e) -> std::optional<ByteReader> {
    if (e.id == 2) return std::nullopt;
    return ByteReader(image);
  });
  ASSERT_TRUE(images.ok());
  ASSERT_EQ(images->size(), 2u);
  EXPECT_EQ((*images)[0].entry.id, 1);
  EXPECT_EQ((*images)[1].entry.id, 3);
  // The directory claimed 100 bytes; the view is what really exists.
  EXPECT_EQ((*images)[1].bytes.size(), 10u);
}

TEST(GroupDirectory, ResolvingFailsWhenNoImageExists) {
  const auto dir = Group(2);
  EXPECT_FALSE(ResolveGroupImages(ByteReader(dir), [](const IconDirEntry&) { return std::optional<ByteReader>(); }));
}

struct IcoCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
  bool ok;
  std::size_t images;
};

class IcoFileTest : public testing::TestWithParam<IcoCase> {};

TEST_P(IcoFileTest, KeepsOnlyEntriesInsideTheFile) {
  const auto& c = GetParam();
  const auto parsed = ParseIcoFile(ByteReader(c.bytes));
  ASSERT_EQ(parsed.ok(), c.ok);
  if (!c.ok) return;
  ASSERT_EQ(parsed->size(), c.images);
  for (const auto& image : *parsed) {
    EXPECT_TRUE(ByteReader(c.bytes).has(image.entry.offset, image.bytes.size()));
    EXPECT_EQ(image.bytes.size(), image.entry.bytesInRes);
  }
}

IcoEntry Sized(IcoEntry e, std::uint32_t size) {
  e.size = size;
  return e;
}

IcoEntry At(IcoEntry e, std::uint32_t offset) {
  e.offset = offset;
  return e;
}

std::vector<std::uint8_t> TwoSharing() {
  const auto first = DibEntry(16, 16, 4);
  return IcoFile({first, At(DibEntry(16, 16, 4), 6 + 32)});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IcoFileTest,
    testing::Values(
        IcoCase{"two_images", IcoFile({DibEntry(16, 16, 4), DibEntry(32, 32, 32)}), true, 2},
        IcoCase{"no_entries", IcoFile({}), false, 0},
        IcoCase{"count_larger_than_file", IcoFile({DibEntry(16, 16, 8)}, 60000), false, 0},
        IcoCase{"offset_plus_size_overflows", IcoFile({At(Sized(DibEntry(16, 16, 8), 0xFFFFFFF0u), 0x20)}), false, 0},
        IcoCase{"size_past_end", IcoFile({Sized(DibEntry(16, 16, 8), 100000), DibEntry(16, 16, 4)}), true, 1},
        IcoCase{"offset_past_end", IcoFile({At(DibEntry(16, 16, 8), 0x7FFFFFFF)}), false, 0},
        IcoCase{"zero_size", IcoFile({Sized(DibEntry(16, 16, 8), 0), DibEntry(16, 16, 4)}), true, 1},
        IcoCase{"inside_directory", IcoFile({At(DibEntry(16, 16, 8), 2)}), false, 0},
        IcoCase{"shared_bytes", TwoSharing(), true, 2},
        IcoCase{"overlapping", IcoFile({DibEntry(16, 16, 8), At(DibEntry(16, 16, 8), 6 + 32 + 40)}), true, 2},
        IcoCase{"wrong_type", With(IcoFile({DibEntry(16, 16, 8)}), 2, 2), false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IcoFile, EntriesKeepTheirStoredFields) {
  auto entry = DibEntry(48, 48, 8);
  entry.colorCount = 7;
  entry.planes = 3;
  const auto bytes = IcoFile({entry});
  const auto parsed = ParseIcoFile(ByteReader(bytes));
  ASSERT_TRUE(parsed.ok());
  const auto& e = (*parsed)[0].entry;
  EXPECT_EQ(e.width, 48);
  EXPECT_EQ(e.colorCount, 7);
  EXPECT_EQ(e.planes, 3);
  EXPECT_EQ(e.bitCount, 8);
  EXPECT_EQ(e.offset, 22u);
}

TEST(PickDefaultImage, PrefersTheThirtyTwoPixelImage) {
  const auto bytes = IcoFile({DibEntry(16, 16, 32), DibEntry(48, 48, 32), DibEntry(32, 32, 32), DibEntry(32, 32, 4)});
  const auto parsed = ParseIcoFile(ByteReader(bytes));
  ASSERT_TRUE(parsed.ok());
  const auto pick = PickDefaultImage(*parsed);
  ASSERT_TRUE(pick.has_value());
  EXPECT_EQ((*parsed)[*pick].entry.width, 32);
  EXPECT_EQ(PickDefaultImage({}), std::nullopt);
}

}  // namespace
