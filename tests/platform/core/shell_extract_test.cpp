#include "platform/core/shell_extract.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/core/data_module.h"
#include "platform/core/icon_object.h"
#include "platform/core/shell_icon_file.h"
#include "tests/common/ico_builder.h"
#include "tests/common/ne_builder.h"
#include "tests/common/pe_builder.h"

namespace {

using ico_test::DibEntry;
using ico_test::DibImage;
using ico_test::IcoFile;
using ico_test::TempDir;

const std::string kCorpus = GLIMRA_CORPUS_DIR;

std::uint32_t Size(const std::vector<std::uint8_t>& v) { return static_cast<std::uint32_t>(v.size()); }

// Frees an extracted icon; remembers its depth, as the only thing that tells
// which image of a group was picked.
struct Extracted {
  bool null = true;
  bool marker = false;
  int width = 0;
  int bitCount = 0;
};

Extracted Extract(const std::string& path, UINT index) {
  Extracted e;
  HICON icon = ExtractIconA(GetModuleHandleA(nullptr), path.c_str(), index);
  e.null = icon == nullptr;
  e.marker = icon == EXTRACT_NOT_AN_ICON_FILE;
  if (!e.null && !e.marker) {
    e.width = icon->width;
    e.bitCount = icon->bitCount;
    EXPECT_TRUE(DestroyIcon(icon));
  }
  return e;
}

// Two groups; the first holds 16, 32 (8-bit) and 48 pixel images, so only
// a real pick lands on the 8-bit one.
ne_test::BuiltNe ThreeImageNe() {
  const auto i16 = DibImage(16, 16, 4), i32 = DibImage(32, 32, 8), i48 = DibImage(48, 48, 4);
  return ne_test::NeBuilder()
      .AddIconGroup(
          1, pe_test::GroupIconBytes(
                 {{16, 16, 16, 1, 4, Size(i16), 1}, {32, 32, 0, 1, 8, Size(i32), 2}, {48, 48, 16, 1, 4, Size(i48), 3}}))
      .AddNamedIconGroup("SECOND", pe_test::GroupIconBytes({{16, 16, 16, 1, 4, Size(i16), 1}}))
      .AddIcon(1, i16)
      .AddIcon(2, i32)
      .AddIcon(3, i48)
      .Build();
}

TEST(ExtractIcon, ReachesEveryGroupOfAnNeFileThenNull) {
  TempDir dir;
  const std::string path = dir.File("lib.icl");
  ASSERT_TRUE(ThreeImageNe().WriteTo(path));
  const auto first = Extract(path, 0);
  ASSERT_FALSE(first.null);
  EXPECT_EQ(first.width, 32);
  EXPECT_EQ(first.bitCount, 8);
  const auto second = Extract(path, 1);
  ASSERT_FALSE(second.null);
  EXPECT_FALSE(second.marker);
  EXPECT_EQ(second.width, 32) << "extraction scales to the default icon size";
  EXPECT_TRUE(Extract(path, 2).null);
}

// A file opened once answers every index as extraction by path does: the
// same icon at each index, null past the last. 8,000 groups with an image
// each pass the old cap on NE resources.
TEST(ExtractIcon, AnNeLibraryOfEightThousandIconsOpenedOnceAnswersEveryIndex) {
  constexpr UINT kIcons = 8000;
  const TempDir dir;
  const std::string path = dir.File("library.icl");
  ASSERT_TRUE(ne_test::IconLibrary(kIcons).WriteTo(path));
  const auto file = ShellIconFile::Open(path.c_str());
  ASSERT_EQ(file->kind(), ShellFileKind::Ne);
  ASSERT_EQ(file->groupCount(), kIcons);
  for (UINT index = 0; index < kIcons; ++index) {
    HICON icon = ExtractIconFromFile(*file, index);
    ASSERT_NE(icon, nullptr) << index;
    ASSERT_NE(icon, EXTRACT_NOT_AN_ICON_FILE) << index;
    EXPECT_EQ(icon->bitCount, 4) << index;
    // Icon n's pixels follow n: the index reached icon index + 1, no other.
    if (index % 997 == 0 || index == kIcons - 1) {
      HICON byPath = ExtractIconA(GetModuleHandleA(nullptr), path.c_str(), index);
      ASSERT_NE(byPath, nullptr);
      HICON other = ExtractIconA(GetModuleHandleA(nullptr), path.c_str(), (index + 1) % kIcons);
      EXPECT_EQ(icon->pixels, byPath->pixels) << index;
      EXPECT_NE(icon->pixels, other->pixels) << index;
      EXPECT_TRUE(DestroyIcon(byPath));
      EXPECT_TRUE(DestroyIcon(other));
    }
    EXPECT_TRUE(DestroyIcon(icon));
  }
  EXPECT_EQ(ExtractIconFromFile(*file, kIcons), nullptr);
}

// An icon file opened, then cut inside its one large image: its directory
// still reads, the image's pixels past the cut read as zeros. The icon made
// from them is not the file's, so extraction answers none.
TEST(ExtractIcon, AFileCutInsideItsImageAfterOpeningGivesNoIcon) {
  const auto content = IcoFile({DibEntry(256, 256, 32)});
  const TempDir dir;
  const std::string path = dir.File("big.icon");
  ASSERT_TRUE(ico_test::WriteFile(path, content));
  const auto whole = ShellIconFile::Open(path.c_str());
  HICON icon = ExtractIconFromFile(*whole, 0);
  ASSERT_NE(icon, nullptr);
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(whole->damaged());

  const auto file = ShellIconFile::Open(path.c_str());
  ASSERT_EQ(file->kind(), ShellFileKind::IconFile);
  ASSERT_EQ(::truncate(path.c_str(), off_t{3} * 4096), 0);
  EXPECT_EQ(ExtractIconFromFile(*file, 0), nullptr);
  EXPECT_TRUE(file->damaged());
}

TEST(ExtractIcon, NeGroupWithMissingImagesStillYieldsTheOthers) {
  const auto image = DibImage(32, 32, 4);
  const auto ne = ne_test::NeBuilder()
                      .AddIconGroup(1, pe_test::GroupIconBytes({{32, 32, 0, 1, 32, 99, 5}, {32, 32, 16, 1, 4, 99, 1}}))
                      .AddIcon(1, image)
                      .Build();
  TempDir dir;
  ASSERT_TRUE(ne.WriteTo(dir.File("a.exe")));
  const auto e = Extract(dir.File("a.exe"), 0);
  ASSERT_FALSE(e.null);
  EXPECT_EQ(e.bitCount, 4);
}

TEST(ExtractIcon, BrokenNeTableIsNullNotTheMarker) {
  auto ne = ThreeImageNe();
  ne.Put16(ne.resourceTable, 20);
  TempDir dir;
  ASSERT_TRUE(ne.WriteTo(dir.File("bad.exe")));
  const auto e = Extract(dir.File("bad.exe"), 0);
  EXPECT_TRUE(e.null);
}

TEST(ExtractIcon, IconFileContentUnderAnyNamePicksLikeALoad) {
  TempDir dir;
  const std::string path = dir.File("no-extension");
  ASSERT_TRUE(ico_test::WriteFile(path, IcoFile({DibEntry(16, 16, 32), DibEntry(32, 32, 4), DibEntry(48, 48, 32)})));
  const auto e = Extract(path, 0);
  ASSERT_FALSE(e.null);
  EXPECT_EQ(e.bitCount, 4);
  EXPECT_TRUE(Extract(path, 1).null);
}

TEST(ExtractIcon, CorpusFileWithoutIcoExtension) {
  const auto e = Extract(kCorpus + "/misc/uninst", 0);
  ASSERT_FALSE(e.null);
  ASSERT_FALSE(e.marker);
  EXPECT_EQ(e.width, 32);
  EXPECT_EQ(e.bitCount, 4);
  EXPECT_TRUE(Extract(kCorpus + "/misc/uninst", 1).null);
}

TEST(ExtractIcon, PeGroupsInEnumerationOrder) {
  const std::string path = kCorpus + "/pe32/regedit.exe";
  for (UINT i = 0; i < 6; ++i) EXPECT_FALSE(Extract(path, i).null) << i;
  EXPECT_TRUE(Extract(path, 6).null);
  EXPECT_TRUE(Extract(kCorpus + "/pe32/progman.exe", 0).null) << "a module without icons has none, no marker";
}

TEST(ExtractIcon, FilesWithoutIconsGiveTheMarkerUnreadableOnesNull) {
  TempDir dir;
  ASSERT_TRUE(ico_test::WriteFile(dir.File("text.txt"), {'h', 'e', 'l', 'l', 'o'}));
  ASSERT_TRUE(ico_test::WriteFile(dir.File("empty"), {}));
  EXPECT_TRUE(Extract(dir.File("text.txt"), 0).marker);
  EXPECT_TRUE(Extract(dir.File("text.txt"), 3).marker);
  EXPECT_TRUE(Extract(dir.File("empty"), 0).marker);
  EXPECT_TRUE(Extract(kCorpus + "/README.md", 0).marker);
  EXPECT_TRUE(Extract(dir.File("missing"), 0).null);
  EXPECT_TRUE(Extract(dir.path(), 0).null);
  EXPECT_EQ(ExtractIconA(nullptr, nullptr, 0), nullptr);
}

}  // namespace
