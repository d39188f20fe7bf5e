#include "support/icon/ico_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/core/data_module.h"
#include "platform/core/module_icon_group.h"
#include "support/icon/icon_resource_builder.h"
#include "tests/common/ico_builder.h"

namespace {

using ico_test::DibEntry;
using ico_test::IcoFile;
using ico_test::ReadFile;
using ico_test::TempDir;

namespace fs = std::filesystem;
const std::string kCorpus = GLIMRA_CORPUS_DIR;

using Group = UniqueIconResource;

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  return names;
}

bool HaveWrestool() { return std::system("wrestool --version >/dev/null 2>&1") == 0; }

TEST(WriteIconToICOFile, EveryCorpusGroupMatchesWrestoolByteForByteUpToItsPadding) {
  if (!HaveWrestool()) GTEST_SKIP() << "wrestool (icoutils) is not installed";
  int groups = 0;
  for (const char* rel : {"pe32/notepad.exe", "pe32/regedit.exe", "pe32/progman.exe", "pe64/notepad.exe",
                          "pe64/comdlg32.dll", "pe64/attrib.exe", "pe64/shell32.dll"}) {
    const std::string path = kCorpus + "/" + rel;
    const std::string base = fs::path(path).filename().string();
    TempDir theirs, ours;
    const std::string command = "wrestool -x -t14 -o '" + theirs.path() + "' '" + path + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << rel;
    const auto names = ModuleIconGroupNames(module);
    for (const ResourceName& name : names) {
      Group group(CreateIconFromInstance(module, name.id(), path.c_str()));
      ASSERT_NE(group, nullptr) << rel;
      const std::string label = name.isNumber ? std::to_string(name.number) : name.text;
      // wrestool names its files FILE_TYPE_NAME_LANGUAGE.ico; every corpus
      // group has the one neutral language.
      const std::string file = base + "_14_" + label + "_0.ico";
      ASSERT_TRUE(WriteIconToICOFile(group.get(), (ours.path() + "/" + file).c_str())) << file;
      const auto mine = ReadFile(ours.path() + "/" + file), reference = ReadFile(theirs.path() + "/" + file);
      // wrestool sizes its output as if the group directory itself were
      // stored too and writes that many bytes of uninitialised memory after
      // the last image (zeros or heap leftovers, varying from run to run).
      // They belong to no image; a standard file ends without them.
      const HRSRC dirRes = FindResourceA(module, name.id(), RT_GROUP_ICON);
      const std::size_t padding = SizeofResource(module, dirRes);
      ASSERT_EQ(reference.size(), mine.size() + padding) << rel << " " << file;
      EXPECT_TRUE(std::equal(mine.begin(), mine.end(), reference.begin())) << rel << " " << file;
      ++groups;
    }
    EXPECT_EQ(FilesIn(theirs.path()).size(), names.size()) << rel;
    EXPECT_TRUE(FreeLibrary(module));
  }
  EXPECT_EQ(groups, 1 + 6 + 1 + 10 + 184);
}

TEST(WriteIconToICOFile, AnIcoReadAndWrittenKeepsEveryImage) {
  for (const auto& entry : fs::directory_iterator(kCorpus + "/ico")) {
    Group group(ReadIconFromICOFile(entry.path().c_str()));
    ASSERT_NE(group, nullptr);
    TempDir dir;
    ASSERT_TRUE(WriteIconToICOFile(group.get(), dir.File("out.ico").c_str()));
    const auto written = ReadFile(dir.File("out.ico"));
    const auto original = ReadFile(entry.path());
    const auto before = ParseIcoFile(ByteReader(original));
    const auto after = ParseIcoFile(ByteReader(written));
    ASSERT_TRUE(before.ok() && after.ok());
    ASSERT_EQ(before->size(), after->size());
    for (std::size_t i = 0; i < before->size(); ++i) {
      const auto a = (*before)[i].bytes.bytes(), b = (*after)[i].bytes.bytes();
      EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end())) << entry.path() << " " << i;
      EXPECT_EQ((*before)[i].entry.width, (*after)[i].entry.width);
      EXPECT_EQ((*before)[i].entry.bitCount, (*after)[i].entry.bitCount);
    }
    EXPECT_EQ(FilesIn(dir.path()).size(), 1u) << "no temporary file is left behind";
  }
}

TEST(WriteIconToICOFile, ReplacesAnExistingFileWholly) {
  TempDir dir;
  ASSERT_TRUE(ico_test::WriteFile(dir.File("src.ico"), IcoFile({DibEntry(16, 16, 4)})));
  ASSERT_TRUE(ico_test::WriteFile(dir.File("dst.ico"), std::vector<std::uint8_t>(100000, 0x55)));
  Group group(ReadIconFromICOFile(dir.File("src.ico").c_str()));
  ASSERT_NE(group, nullptr);
  ASSERT_TRUE(WriteIconToICOFile(group.get(), dir.File("dst.ico").c_str()));
  EXPECT_EQ(ReadFile(dir.File("dst.ico")), ReadFile(dir.File("src.ico")));
}

// The replaced file's permission bits carry over, whatever the umask would
// give a new file; a new file gets what the umask gives.
TEST(WriteIconToICOFile, AReplacedFileKeepsItsMode) {
  TempDir dir;
  ASSERT_TRUE(ico_test::WriteFile(dir.File("src.ico"), IcoFile({DibEntry(16, 16, 4)})));
  Group group(ReadIconFromICOFile(dir.File("src.ico").c_str()));
  ASSERT_NE(group, nullptr);
  const mode_t umask = ::umask(022);
  for (const mode_t mode : {0600, 0640, 0444, 0755, 0604}) {
    SCOPED_TRACE(mode);
    const std::string path = dir.File("dst.ico");
    ASSERT_TRUE(ico_test::WriteFile(path, std::vector<std::uint8_t>(10, 0x55)));
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    ASSERT_TRUE(WriteIconToICOFile(group.get(), path.c_str()));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode);
    EXPECT_EQ(ReadFile(path), ReadFile(dir.File("src.ico")));
  }
  ASSERT_TRUE(WriteIconToICOFile(group.get(), dir.File("new.ico").c_str()));
  struct stat fresh {};
  ASSERT_EQ(::stat(dir.File("new.ico").c_str(), &fresh), 0);
  EXPECT_EQ(fresh.st_mode & 07777, 0644u);
  static_cast<void>(::umask(umask));
}

TEST(WriteIconToICOFile, UnwritableDestinationsFailAndLeaveNothing) {
  TempDir dir;
  ASSERT_TRUE(ico_test::WriteFile(dir.File("src.ico"), IcoFile({DibEntry(16, 16, 4)})));
  Group group(ReadIconFromICOFile(dir.File("src.ico").c_str()));
  ASSERT_NE(group, nullptr);
  EXPECT_FALSE(WriteIconToICOFile(group.get(), dir.File("no/such/folder/x.ico").c_str()));
  ASSERT_TRUE(fs::create_directory(dir.File("folder")));
  EXPECT_FALSE(WriteIconToICOFile(group.get(), dir.File("folder").c_str())) << "a folder is no file to replace";
  EXPECT_TRUE(fs::is_directory(dir.File("folder")));
  EXPECT_FALSE(WriteIconToICOFile(group.get(), ""));
  EXPECT_FALSE(WriteIconToICOFile(nullptr, dir.File("x.ico").c_str()));
  std::vector<std::string> expected{"folder", "src.ico"};
  if (::geteuid() != 0) {
    ASSERT_TRUE(fs::create_directory(dir.File("ro")));
    ::chmod(dir.File("ro").c_str(), 0555);
    EXPECT_FALSE(WriteIconToICOFile(group.get(), dir.File("ro/x.ico").c_str()));
    expected.insert(expected.begin() + 1, "ro");
  }
  std::vector<std::string> left = FilesIn(dir.path());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, expected);
}

// A group block made by hand, as a damaged or forged caller could pass it.
Group HandMadeGroup(UINT images, DWORD bytesEach) {
  const std::uint64_t size = offsetof(ICONRESOURCE, IconImages) + std::uint64_t{images} * sizeof(ICONIMAGE) + bytesEach;
  auto* group = static_cast<ICONRESOURCE*>(std::calloc(1, size));
  group->dwBlockSize = static_cast<DWORD>(size);
  group->nImages = images;
  for (UINT i = 0; i < images; ++i) {
    ICONIMAGE* image = IconImageAt(group, i);
    // Every entry shares the one run of bytes after the entries.
    image->dwDataOffset = static_cast<DWORD>((images - i) * sizeof(ICONIMAGE));
    image->dwNumBytes = bytesEach;
  }
  return Group(group);
}

TEST(WriteIconToICOFile, RefusesMoreImagesThanTheFormatCounts) {
  TempDir dir;
  const auto ok = HandMadeGroup(65535, 4);
  EXPECT_TRUE(IcoDirectoryFor(ok.get()).ok());
  const auto tooMany = HandMadeGroup(65536, 4);
  EXPECT_FALSE(WriteIconToICOFile(tooMany.get(), dir.File("x.ico").c_str()));
  EXPECT_FALSE(fs::exists(dir.File("x.ico")));
}

TEST(WriteIconToICOFile, RefusesOffsetsPastFourGigabytes) {
  // 1100 entries sharing 4 MiB would put the last offsets past 2^32.
  const auto big = HandMadeGroup(1100, 4u << 20);
  EXPECT_FALSE(IcoDirectoryFor(big.get()).ok());
}

TEST(WriteIconToICOFile, RefusesEntriesOutsideTheirBlock) {
  auto group = HandMadeGroup(2, 16);
  IconImageAt(group.get(), 1)->dwNumBytes = 1u << 30;
  EXPECT_FALSE(IcoDirectoryFor(group.get()).ok());
  group = HandMadeGroup(2, 16);
  group->nImages = 1000;
  EXPECT_FALSE(IcoDirectoryFor(group.get()).ok());
}

}  // namespace
