#include "platform/core/data_module.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/common/module_names.h"
#include "tests/common/pe_builder.h"
#include "tests/common/reference_listing.h"

namespace {

using pe_test::EnumerateNames;
using pe_test::GroupIconBytes;
using pe_test::PeBuilder;
using pe_test::ResId;

std::vector<std::uint8_t> Bytes(std::size_t n, std::uint8_t fill) { return std::vector<std::uint8_t>(n, fill); }

// Groups FOLDER, cdrom (named) and 7, 300 (numbered), with images 1..3.
PeBuilder SampleBuilder(PeFormat format) {
  PeBuilder b(format);
  b.AddIconGroup(ResId::Number(300), GroupIconBytes({{16, 16, 0, 1, 4, 40, 2}}))
      .AddIconGroup(ResId::Name("FOLDER"), GroupIconBytes({{32, 32, 0, 1, 32, 50, 1}}))
      .AddIconGroup(ResId::Number(7), GroupIconBytes({{48, 48, 0, 1, 8, 60, 3}}))
      .AddIconGroup(ResId::Name("cdrom"), GroupIconBytes({{32, 32, 0, 1, 32, 50, 1}}))
      .AddIcon(1, Bytes(50, 0x01))
      .AddIcon(2, Bytes(40, 0x02))
      .AddIcon(3, Bytes(60, 0x03));
  return b;
}

class TempDir {
 public:
  TempDir() {
    std::string pattern = ::testing::TempDir() + "pe_module_XXXXXX";
    m_path = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  [[nodiscard]] std::string File(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

class DataModuleFormats : public ::testing::TestWithParam<PeFormat> {};

TEST_P(DataModuleFormats, EnumeratesGroupsInStoredOrder) {
  const auto pe = SampleBuilder(GetParam()).Build();
  const UniqueModule module(LoadDataModuleFromBytes(pe.bytes));
  ASSERT_TRUE(module);
  const auto listed = EnumerateNames(module.get(), RT_GROUP_ICON);
  EXPECT_EQ(listed.result, TRUE);
  const std::vector<std::string> expected = {"name=cdrom", "name=FOLDER", "id=7", "id=300"};
  EXPECT_EQ(listed.names, expected);
  EXPECT_EQ(EnumerateNames(module.get(), RT_ICON).names, (std::vector<std::string>{"id=1", "id=2", "id=3"}));
  EXPECT_EQ(EnumerateNames(module.get(), "#14").names, expected);
}

TEST_P(DataModuleFormats, FindsIconsAndGroupsByIdAndName) {
  const auto pe = SampleBuilder(GetParam()).Build();
  const UniqueModule module(LoadDataModuleFromBytes(pe.bytes));
  ASSERT_TRUE(module);
  const HRSRC icon = FindResourceA(module.get(), MAKEINTRESOURCEA(3), RT_ICON);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(SizeofResource(module.get(), icon), 60u);
  const HGLOBAL loaded = LoadResource(module.get(), icon);
  const auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(bytes, pe.bytes.data() + pe.At("3/3/1033$"));
  EXPECT_EQ(bytes[59], 0x03);
  EXPECT_EQ(FindResourceA(module.get(), MAKEINTRESOURCEA(3), RT_ICON), icon) << "one handle per resource";

  for (const char* name : {"FOLDER", "folder", "FoLdEr", "CDROM", "#7", "#300"}) {
    const HRSRC group = FindResourceA(module.get(), name, RT_GROUP_ICON);
    EXPECT_NE(group, nullptr) << name;
    const auto reader = ResourceBytes(module.get(), group);
    ASSERT_TRUE(reader.has_value()) << name;
    EXPECT_EQ(reader->u16(2), 1) << name;
  }
  EXPECT_NE(FindResourceA(module.get(), MAKEINTRESOURCEA(300), RT_GROUP_ICON), nullptr);
  for (const char* name : {"FOLDE", "FOLDERS", "#8", "#", "#7x", "7"}) {
    EXPECT_EQ(FindResourceA(module.get(), name, RT_GROUP_ICON), nullptr) << name;
  }
  EXPECT_EQ(FindResourceA(module.get(), MAKEINTRESOURCEA(4), RT_ICON), nullptr);
  EXPECT_EQ(FindResourceA(module.get(), MAKEINTRESOURCEA(7), RT_ICON), nullptr) << "a group id is no icon id";
}

INSTANTIATE_TEST_SUITE_P(Formats, DataModuleFormats, ::testing::Values(PeFormat::Pe32, PeFormat::Pe32Plus));

TEST(DataModule, StopsWhenTheCallbackSaysSo) {
  const auto pe = SampleBuilder(PeFormat::Pe32).Build();
  const UniqueModule module(LoadDataModuleFromBytes(pe.bytes));
  const auto listed = EnumerateNames(module.get(), RT_GROUP_ICON, 2);
  EXPECT_EQ(listed.names, (std::vector<std::string>{"name=cdrom", "name=FOLDER"}));
  EXPECT_EQ(listed.result, FALSE);
}

TEST(DataModule, KeepsStoredOrderEvenWhenUnsorted) {
  const auto pe = PeBuilder()
                      .SetEntryOrder(pe_test::EntryOrder::AsAdded)
                      .AddIconGroup(ResId::Number(9), {1})
                      .AddIconGroup(ResId::Name("ZED"), {2})
                      .AddIconGroup(ResId::Number(2), {3})
                      .AddIconGroup(ResId::Name("ALPHA"), {4})
                      .AddIconGroup(ResId::Number(5), {5})
                      .Build();
  const UniqueModule module(LoadDataModuleFromBytes(pe.bytes));
  EXPECT_EQ(EnumerateNames(module.get(), RT_GROUP_ICON).names,
            (std::vector<std::string>{"name=ZED", "name=ALPHA", "id=9", "id=2", "id=5"}));
  // The binary search cannot find these in an unsorted table; the scan must.
  for (std::uintptr_t id : {9u, 2u, 5u}) {
    const HRSRC r = FindResourceA(module.get(), MAKEINTRESOURCEA(id), RT_GROUP_ICON);
    EXPECT_NE(r, nullptr) << id;
  }
}

TEST(DataModule, TakesTheFirstLanguage) {
  const auto pe = PeBuilder()
                      .SetEntryOrder(pe_test::EntryOrder::AsAdded)
                      .AddIcon(1, {0xBB, 0xBB}, 0x0409)
                      .AddIcon(1, {0xAA}, 0x0407)
                      .Build();
  const UniqueModule module(LoadDataModuleFromBytes(pe.bytes));
  const HRSRC r = FindResourceA(module.get(), MAKEINTRESOURCEA(1), RT_ICON);
  EXPECT_EQ(SizeofResource(module.get(), r), 2u);
}

TEST(DataModule, ConvertsUtf16NamesToUtf8) {
  const auto pe = PeBuilder()
                      .AddIconGroup(ResId::Name("\xC3\x84PFEL"), {1})            // Ä
                      .AddIconGroup(ResId::Name16({u'G', 0xD83D, 0xDE00}), {2})  // a pair
                      .AddIconGroup(ResId::Name16({u'L', 0xDC00, u'X'}), {3})    // lone low half
                      .AddIconGroup(ResId::Name16({u'N', 0x0000, u'Y'}), {4})    // NUL inside
                      .Build();
  const UniqueModule module(LoadDataModuleFromBytes(pe.bytes));
  const auto listed = EnumerateNames(module.get(), RT_GROUP_ICON);
  EXPECT_EQ(listed.names,
            (std::vector<std::string>{"name=G\xF0\x9F\x98\x80", "name=L\xEF\xBF\xBDX", "name=\xC3\x84PFEL"}));
  EXPECT_NE(FindResourceA(module.get(), "\xC3\x84pfel", RT_GROUP_ICON), nullptr) << "ASCII folds, Ä stays";
  EXPECT_EQ(FindResourceA(module.get(), "\xC3\xA4PFEL", RT_GROUP_ICON), nullptr) << "no folding beyond ASCII";
}

TEST(DataModule, HandlesAreCheckedAndTheProgramInstanceIsNoModule) {
  const HINSTANCE self = GetModuleHandleA(nullptr);
  ASSERT_NE(self, nullptr);
  EXPECT_EQ(GetModuleHandleA(nullptr), self);
  EXPECT_FALSE(IsDataModule(self));
  EXPECT_EQ(FreeLibrary(self), FALSE);
  EXPECT_EQ(EnumerateNames(self, RT_GROUP_ICON).result, FALSE);
  EXPECT_EQ(FindResourceA(self, MAKEINTRESOURCEA(1), RT_ICON), nullptr);
  EXPECT_EQ(FreeLibrary(nullptr), FALSE);

  const auto pe = SampleBuilder(PeFormat::Pe32).Build();
  HMODULE module = LoadDataModuleFromBytes(pe.bytes);
  ASSERT_TRUE(IsDataModule(module));
  HMODULE other = LoadDataModuleFromBytes(pe.bytes);
  const HRSRC foreign = FindResourceA(other, MAKEINTRESOURCEA(1), RT_ICON);
  EXPECT_EQ(LoadResource(module, foreign), nullptr);
  EXPECT_EQ(SizeofResource(module, foreign), 0u);
  EXPECT_FALSE(ResourceBytes(module, foreign).has_value());
  EXPECT_EQ(FreeLibrary(other), TRUE);
  EXPECT_EQ(FreeLibrary(module), TRUE);
  EXPECT_FALSE(IsDataModule(module));
}

TEST(DataModule, LoadsOnlyPeFilesAsDataFiles) {
  const TempDir dir;
  const auto pe32 = SampleBuilder(PeFormat::Pe32).Build();
  const auto pe64 = PeBuilder(PeFormat::Pe32Plus, 0xAA64).AddIcon(1, {1}).Build();
  ASSERT_TRUE(pe32.WriteTo(dir.File("a.dll")));
  ASSERT_TRUE(pe64.WriteTo(dir.File("b.exe")));
  auto ne = pe32;
  ne.Put32(ne.peHeader, 0x0000454E);
  ASSERT_TRUE(ne.WriteTo(dir.File("ne.exe")));
  auto mz = pe32;
  mz.bytes.resize(200);
  ASSERT_TRUE(mz.WriteTo(dir.File("mz.exe")));
  std::ofstream(dir.File("empty.exe")).flush();
  std::filesystem::create_directory(dir.File("folder.dll"));
  ASSERT_EQ(::mkfifo(dir.File("pipe.dll").c_str(), 0600), 0);
  ASSERT_TRUE(pe32.WriteTo(dir.File("locked.dll")));
  ::chmod(dir.File("locked.dll").c_str(), 0);
  const bool root = ::geteuid() == 0;

  struct Case {
    std::string file;
    DWORD flags;
    bool loads;
  };
  const Case cases[] = {
      {"a.dll", LOAD_LIBRARY_AS_DATAFILE, true},
      {"b.exe", LOAD_LIBRARY_AS_DATAFILE, true},
      {"a.dll", 0, false},
      {"ne.exe", LOAD_LIBRARY_AS_DATAFILE, false},
      {"mz.exe", LOAD_LIBRARY_AS_DATAFILE, false},
      {"empty.exe", LOAD_LIBRARY_AS_DATAFILE, false},
      {"folder.dll", LOAD_LIBRARY_AS_DATAFILE, false},
      {"pipe.dll", LOAD_LIBRARY_AS_DATAFILE, false},
      {"gone.dll", LOAD_LIBRARY_AS_DATAFILE, false},
      {"locked.dll", LOAD_LIBRARY_AS_DATAFILE, root},
  };
  for (const Case& c : cases) {
    const UniqueModule module(LoadLibraryExA(dir.File(c.file).c_str(), nullptr, c.flags));
    EXPECT_EQ(static_cast<bool>(module), c.loads) << c.file << " flags " << c.flags;
  }
  EXPECT_EQ(LoadLibraryExA(nullptr, nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
}

TEST(DataModule, ResourcesStayReadableUntilFreed) {
  const TempDir dir;
  const auto pe = SampleBuilder(PeFormat::Pe32Plus).Build();
  ASSERT_TRUE(pe.WriteTo(dir.File("m.dll")));
  HMODULE module = LoadLibraryExA(dir.File("m.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  // Removing the file does not take the mapping's pages away.
  std::filesystem::remove(dir.File("m.dll"));
  const HRSRC r = FindResourceA(module, MAKEINTRESOURCEA(2), RT_ICON);
  const auto bytes = ResourceBytes(module, r);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(bytes->size(), 40u);
  EXPECT_EQ(bytes->u8(39), 0x02);
  EXPECT_EQ(FreeLibrary(module), TRUE);
}

// The reference listing of the real files: every group, in the platform's
// enumeration order.
TEST(DataModuleCorpus, MatchesTheReferenceListings) {
  const auto reference = corpus_test::ReadReferenceListing();
  ASSERT_FALSE(reference.empty()) << "corpus listing missing";
  for (const auto& row : reference) {
    const std::string& file = row.file;
    const std::string& way = row.way;
    const auto expected = corpus_test::Labels(row);
    ASSERT_EQ(expected.size(), row.count) << file;
    const std::string path = std::string(GLIMRA_CORPUS_DIR) + "/" + file;
    const UniqueModule module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_EQ(static_cast<bool>(module), way == "module") << file;
    const auto listed = EnumerateNames(module.get(), RT_GROUP_ICON);
    EXPECT_EQ(listed.names, expected) << file;
    // Every group found can be read, and so can every image it names.
    for (const std::string& name : listed.names) {
      const std::string key = name.rfind("id=", 0) == 0 ? "#" + name.substr(3) : name.substr(5);
      const HRSRC group = FindResourceA(module.get(), key.c_str(), RT_GROUP_ICON);
      const auto dir = ResourceBytes(module.get(), group);
      ASSERT_TRUE(dir.has_value()) << file << " " << name;
      const std::uint16_t images = dir->u16(4).value_or(0);
      EXPECT_GT(images, 0) << file << " " << name;
      for (std::uint16_t i = 0; i < images; ++i) {
        const auto id = dir->u16(6 + 14u * i + 12);
        ASSERT_TRUE(id.has_value());
        const HRSRC image = FindResourceA(module.get(), MAKEINTRESOURCEA(*id), RT_ICON);
        EXPECT_EQ(SizeofResource(module.get(), image), dir->u32(6 + 14u * i + 8).value_or(0)) << file << " " << *id;
      }
    }
  }
  for (const char* other : {"/ico/idle.ico", "/misc/uninst"}) {
    const std::string path = std::string(GLIMRA_CORPUS_DIR) + other;
    EXPECT_EQ(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr) << other;
  }
}

}  // namespace
