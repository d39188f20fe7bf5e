#include "support/icon/icon_library.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "platform/core/data_module.h"
#include "platform/core/icon_object.h"
#include "support/icon/icon_resource_builder.h"
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

using Group = UniqueIconResource;

std::vector<std::uint8_t> Bytes(const ICONRESOURCE* group, UINT i) {
  const auto span = IconImageData(IconImageAt(group, i));
  return {span.begin(), span.end()};
}

TEST(ReadIconFromICOFile, KeepsEveryImageOfEveryCorpusIconFile) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kCorpus + "/ico")) {
    const std::string path = entry.path().string();
    const auto raw = ico_test::ReadFile(path);
    const auto parsed = ParseIcoFile(ByteReader(raw));
    ASSERT_TRUE(parsed.ok()) << path;
    Group group(ReadIconFromICOFile(path.c_str()));
    ASSERT_NE(group, nullptr) << path;
    EXPECT_STREQ(group->szIconFile, path.c_str());
    EXPECT_STREQ(group->szModule, path.c_str());
    ASSERT_EQ(group->nImages, parsed->size()) << path;
    for (UINT i = 0; i < group->nImages; ++i) {
      const auto& source = (*parsed)[i].bytes.bytes();
      EXPECT_EQ(Bytes(group.get(), i), std::vector<std::uint8_t>(source.begin(), source.end())) << path << " " << i;
      HICON icon = MakeIconFromResource(IconImageAt(group.get(), i));
      ASSERT_NE(icon, nullptr) << path << " " << i;
      EXPECT_EQ(static_cast<UINT>(icon->width), IconImageAt(group.get(), i)->nWidth);
      EXPECT_TRUE(DestroyIcon(icon));
    }
    ++files;
  }
  EXPECT_GE(files, 8);
}

TEST(ReadIconFromICOFile, RealSizeAndDepthOverTheDirectorysClaim) {
  auto lying = DibEntry(48, 48, 32);
  lying.width = 16;
  lying.height = 16;
  lying.bitCount = 4;
  lying.colorCount = 16;
  TempDir dir;
  ASSERT_TRUE(ico_test::WriteFile(dir.File("a.ico"), IcoFile({lying})));
  Group group(ReadIconFromICOFile(dir.File("a.ico").c_str()));
  ASSERT_NE(group, nullptr);
  const ICONIMAGE* image = IconImageAt(group.get(), 0);
  EXPECT_EQ(image->nWidth, 48u);
  EXPECT_EQ(image->nHeight, 48u);
  EXPECT_EQ(image->nBitCount, 32u);
  EXPECT_EQ(image->bWidth, 16) << "the stored entry is kept for writing";
  EXPECT_EQ(image->wBitCount, 4);
}

TEST(ReadIconFromICOFile, OneAllocationWithSelfRelativeOffsets) {
  TempDir dir;
  ASSERT_TRUE(ico_test::WriteFile(dir.File("a.ico"), IcoFile({DibEntry(16, 16, 4), DibEntry(32, 32, 8, 9)})));
  Group group(ReadIconFromICOFile(dir.File("a.ico").c_str()));
  ASSERT_NE(group, nullptr);
  ASSERT_TRUE(IconResourceIsSound(group.get()));
  const auto* base = reinterpret_cast<const std::uint8_t*>(group.get());
  std::uint64_t end = offsetof(ICONRESOURCE, IconImages) + 2 * sizeof(ICONIMAGE);
  for (UINT i = 0; i < 2; ++i) {
    const auto data = IconImageData(IconImageAt(group.get(), i));
    EXPECT_EQ(static_cast<std::uint64_t>(data.data() - base), end);
    end += data.size();
  }
  EXPECT_EQ(group->dwBlockSize, end);
  EXPECT_EQ(IconImageAt(group.get(), 2), nullptr);
}

TEST(ReadIconFromICOFile, FailuresAreNull) {
  TempDir dir;
  ASSERT_TRUE(ico_test::WriteFile(dir.File("garbage.ico"), {1, 2, 3, 4, 5, 6, 7, 8}));
  auto notImage = DibEntry(16, 16, 4);
  std::fill(notImage.bytes.begin(), notImage.bytes.end(), 0xEE);
  ASSERT_TRUE(ico_test::WriteFile(dir.File("noimage.ico"), IcoFile({notImage})));
  EXPECT_EQ(ReadIconFromICOFile(dir.File("garbage.ico").c_str()), nullptr);
  EXPECT_EQ(ReadIconFromICOFile(dir.File("noimage.ico").c_str()), nullptr);
  EXPECT_EQ(ReadIconFromICOFile(dir.File("missing.ico").c_str()), nullptr);
  EXPECT_EQ(ReadIconFromICOFile(nullptr), nullptr);
  EXPECT_FALSE(ClearIconResource(nullptr));
  EXPECT_EQ(MakeIconFromResource(nullptr), nullptr);
}

// Every path the system accepts reads; a path longer than its field is
// kept there shortened for display: its first folder, "...", and the last
// components that fit, the file's name always among them.
TEST(IconLibraryPaths, ALongPathReadsAndItsFieldsHoldAShortenedForm) {
  TempDir dir;
  for (const std::size_t length : {std::size_t{MAX_PATH} - 1, std::size_t{MAX_PATH}, std::size_t{4000}}) {
    SCOPED_TRACE(length);
    const std::string folder = ico_test::MakeDeepFolder(dir.path(), length - 6);
    ASSERT_FALSE(folder.empty());
    const std::string path = folder + "/a.ico";
    ASSERT_EQ(path.size(), length);
    ASSERT_TRUE(ico_test::WriteFile(path, IcoFile({DibEntry(16, 16, 4)})));
    std::vector<Group> groups;
    groups.emplace_back(ReadIconFromICOFile(path.c_str()));
    groups.emplace_back(CreateIconFromHIcon(nullptr, path.c_str(), 0));
    for (const Group& group : groups) {
      ASSERT_NE(group, nullptr);
      EXPECT_EQ(group->nImages, 1u);
      const std::string shown = group->szModule;
      ASSERT_LT(shown.size(), std::size_t{MAX_PATH});
      if (length < MAX_PATH) {
        EXPECT_EQ(shown, path);
        continue;
      }
      const std::string first = path.substr(0, path.find('/', 1) + 1);
      EXPECT_EQ(shown.substr(0, first.size() + 4), first + ".../");
      const std::string tail = shown.substr(first.size() + 4);
      EXPECT_EQ(path.substr(path.size() - tail.size()), tail);
      EXPECT_EQ(path[path.size() - tail.size() - 1], '/') << "whole components only";
      EXPECT_GT(shown.size(), std::size_t{MAX_PATH} - 1 - 200) << "as many components as fit";
    }
  }
}

// What shortening leaves of paths no folder tree could hold: a first
// folder too long to keep, a last name longer than the system allows.
TEST(IconLibraryPaths, FieldsOfImpossiblePathsStayWithinTheFieldAndWholeCharacters) {
  const auto image = DibImage(16, 16, 4);
  const std::vector<IconImageBytes> one{{IconDirEntry{}, ByteReader(image)}};
  const std::string longFirst = "/" + std::string(300, 'f') + "/b/c.ico";
  Group firstGone(BuildIconResource(one, GroupOrigin::IconFile, longFirst.c_str()));
  ASSERT_NE(firstGone, nullptr);
  EXPECT_STREQ(firstGone->szModule, ".../b/c.ico");
  EXPECT_STREQ(firstGone->szIconFile, ".../b/c.ico");
  // 150 two-byte characters, then "x.ico": the cut must not land inside one.
  std::string name;
  for (int i = 0; i < 150; ++i) name += "\xC3\xA9";
  const std::string longName = "/tmp/" + name + "x.ico";
  Group cut(BuildIconResource(one, GroupOrigin::Module, longName.c_str()));
  ASSERT_NE(cut, nullptr);
  const std::string shown = cut->szModule;
  EXPECT_LE(shown.size(), std::size_t{MAX_PATH} - 1);
  EXPECT_GE(shown.size(), std::size_t{MAX_PATH} - 2);
  EXPECT_EQ(shown.substr(0, 3), "...");
  EXPECT_EQ(shown[3], '\xC3') << "starts on a whole character";
  EXPECT_EQ(longName.substr(longName.size() - (shown.size() - 3)), shown.substr(3));
  EXPECT_STREQ(cut->szIconFile, "") << "a module's group names no icon file";
  const std::vector<IconImageBytes> none;
  EXPECT_EQ(BuildIconResource(none, GroupOrigin::Module, "x"), nullptr);
}

// A PE whose group names images 1 (present), 2 (absent) and 3 (present, its
// directory size wrong).
pe_test::BuiltPe MixedPe() {
  const auto i16 = DibImage(16, 16, 4), i32 = DibImage(32, 32, 8);
  return pe_test::PeBuilder()
      .AddIconGroup(pe_test::ResId::Number(5),
                    pe_test::GroupIconBytes(
                        {{16, 16, 16, 1, 4, Size(i16), 1}, {32, 32, 0, 1, 32, 4000, 2}, {32, 32, 0, 1, 8, 7, 3}}))
      .AddIcon(1, i16)
      .AddIcon(3, i32)
      .Build();
}

TEST(CreateIconFromInstance, LeavesOutMissingImagesAndTrustsTheRealSize) {
  const auto pe = MixedPe();
  HMODULE module = LoadDataModuleFromBytes(pe.bytes);
  ASSERT_NE(module, nullptr);
  Group group(CreateIconFromInstance(module, MAKEINTRESOURCEA(5), "/some/module.dll"));
  ASSERT_NE(group, nullptr);
  EXPECT_STREQ(group->szIconFile, "");
  EXPECT_STREQ(group->szModule, "/some/module.dll");
  ASSERT_EQ(group->nImages, 2u);
  EXPECT_EQ(IconImageAt(group.get(), 1)->nId, 3);
  EXPECT_EQ(Bytes(group.get(), 1), DibImage(32, 32, 8));
  EXPECT_EQ(CreateIconFromInstance(module, MAKEINTRESOURCEA(6), "x"), nullptr);

  HICON icon = GetIconFromInstance(module, MAKEINTRESOURCEA(5));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->width, 32);
  EXPECT_EQ(icon->bitCount, 8) << "the missing 32-bit image cannot be the pick";
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_EQ(GetIconFromInstance(nullptr, MAKEINTRESOURCEA(5)), nullptr);
}

TEST(CreateIconFromHIcon, BuildsTheWholeNeGroup) {
  const auto i16 = DibImage(16, 16, 4), i32 = DibImage(32, 32, 8), i48 = DibImage(48, 48, 4);
  const auto ne = ne_test::NeBuilder()
                      .SetAlignShift(5)
                      .AddIconGroup(1, pe_test::GroupIconBytes({{16, 16, 16, 1, 4, Size(i16), 1}}))
                      .AddIconGroup(2, pe_test::GroupIconBytes({{16, 16, 16, 1, 4, Size(i16), 1},
                                                                {32, 32, 0, 1, 8, Size(i32), 2},
                                                                {48, 48, 16, 1, 4, Size(i48), 3}}))
                      .AddIcon(1, i16)
                      .AddIcon(2, i32)
                      .AddIcon(3, i48)
                      .Build();
  TempDir dir;
  ASSERT_TRUE(ne.WriteTo(dir.File("lib.icl")));
  Group group(CreateIconFromHIcon(GetModuleHandleA(nullptr), dir.File("lib.icl").c_str(), 1));
  ASSERT_NE(group, nullptr);
  ASSERT_EQ(group->nImages, 3u);
  EXPECT_STREQ(group->szIconFile, "");
  EXPECT_EQ(IconImageAt(group.get(), 2)->nWidth, 48u);
  // The alignment padding is not part of the image.
  EXPECT_EQ(Bytes(group.get(), 1), i32);
  EXPECT_EQ(CreateIconFromHIcon(nullptr, dir.File("lib.icl").c_str(), 2), nullptr);
}

TEST(CreateIconFromHIcon, IconFileContentGivesAllItsImages) {
  Group group(CreateIconFromHIcon(nullptr, (kCorpus + "/misc/uninst").c_str(), 0));
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->nImages, 1u);
  EXPECT_EQ(IconImageAt(group.get(), 0)->nBitCount, 4u);
  Group module(CreateIconFromHIcon(nullptr, (kCorpus + "/pe32/regedit.exe").c_str(), 1));
  ASSERT_NE(module, nullptr);
  EXPECT_GT(module->nImages, 1u);
}

}  // namespace

namespace {

std::uint64_t OffsetOf(const std::vector<std::uint8_t>& file, const std::vector<std::uint8_t>& part) {
  return static_cast<std::uint64_t>(std::search(file.begin(), file.end(), part.begin(), part.end()) - file.begin());
}

BOOL CountName(HMODULE, LPCSTR, LPSTR, LONG_PTR param) {
  ++*reinterpret_cast<int*>(param);
  return TRUE;
}

// A module loaded whole whose file is then cut inside its one large image
// (which lies before the group's directory, as compilers lay data out):
// what is built from it is refused, the module says it is damaged, and a
// walk of its names stops at once.
TEST(IconLibraryCutShort, AModuleCutInsideAnImageGivesNoGroupNoIconAndNoNames) {
  const auto big = DibImage(256, 256, 32);
  pe_test::PeBuilder pe;
  pe.AddIcon(1, big);
  pe.AddIconGroup(pe_test::ResId::Number(7),
                  pe_test::GroupIconBytes({{0, 0, 0, 1, 32, static_cast<std::uint32_t>(big.size()), 1}}));
  const pe_test::BuiltPe built = pe.Build();
  const std::uint64_t image = OffsetOf(built.bytes, big);
  ASSERT_LT(image, built.bytes.size());
  // Past the image's first page: its header survives the cut.
  const std::uint64_t cut = (image / 4096 + 2) * 4096;
  ASSERT_LT(cut, image + big.size());
  TempDir dir;
  const std::string path = dir.File("cut.dll");
  ASSERT_TRUE(built.WriteTo(path));

  HMODULE whole = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(whole, nullptr);
  EXPECT_NE(Group(CreateIconFromInstance(whole, MAKEINTRESOURCEA(7), path.c_str())), nullptr);
  EXPECT_FALSE(IsDamagedModule(whole));
  FreeLibrary(whole);

  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(cut)), 0);
  EXPECT_EQ(Group(CreateIconFromInstance(module, MAKEINTRESOURCEA(7), path.c_str())), nullptr);
  EXPECT_TRUE(IsDamagedModule(module));
  EXPECT_EQ(GetIconFromInstance(module, MAKEINTRESOURCEA(7)), nullptr);
  int names = 0;
  EXPECT_FALSE(EnumResourceNamesA(module, RT_GROUP_ICON, CountName, reinterpret_cast<LONG_PTR>(&names)));
  EXPECT_EQ(names, 0);
  FreeLibrary(module);
}

}  // namespace
