// Damaged resource trees, through the module interface: each damage must
// cost the resource it touches and nothing else, within bounded work.
#include "platform/core/resource_directory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "platform/core/byte_writer.h"
#include "platform/core/data_module.h"
#include "tests/common/module_names.h"
#include "tests/common/pe_builder.h"

namespace {

using pe_test::BuiltPe;
using pe_test::EnumerateNames;
using pe_test::GroupIconBytes;
using pe_test::PeBuilder;
using pe_test::ResId;

constexpr std::uint32_t kDir = 0x80000000u;
constexpr std::uint32_t kRsrcSection = 1;  // after .text

// Root: types 3 and 14. Type 14 lists NAMED, 1, 2; type 3 lists 1, 2.
BuiltPe Sample(PeFormat format) {
  return PeBuilder(format)
      .AddIconGroup(ResId::Name("NAMED"), GroupIconBytes({{32, 32, 0, 1, 32, 8, 1}}))
      .AddIconGroup(ResId::Number(1), GroupIconBytes({{32, 32, 0, 1, 32, 8, 1}}))
      .AddIconGroup(ResId::Number(2), GroupIconBytes({{16, 16, 0, 1, 32, 9, 2}}))
      .AddIcon(1, std::vector<std::uint8_t>(8, 1))
      .AddIcon(2, std::vector<std::uint8_t>(9, 2))
      .Build();
}

// Appends bytes at the end of the file, inside the resource section, and
// answers their offset from the tree's root.
std::uint32_t Append(BuiltPe& pe, const std::vector<std::uint8_t>& bytes) {
  while (pe.bytes.size() % 8 != 0) pe.bytes.push_back(0);
  const auto at = static_cast<std::uint32_t>(pe.bytes.size());
  pe.bytes.insert(pe.bytes.end(), bytes.begin(), bytes.end());
  pe.Put32(pe.SectionField(kRsrcSection, 16), static_cast<std::uint32_t>(pe.bytes.size()) - pe.resourceSection);
  return at - pe.resourceSection;
}

std::vector<std::uint8_t> NameString(std::uint16_t declared, std::size_t present) {
  std::vector<std::uint8_t> out{static_cast<std::uint8_t>(declared), static_cast<std::uint8_t>(declared >> 8)};
  for (std::size_t i = 0; i < present; ++i) {
    out.push_back('Q');
    out.push_back(0);
  }
  return out;
}

struct TreeCase {
  const char* what;
  std::function<void(BuiltPe&)> damage;
  std::vector<std::string> groups;  // what enumeration reports
  std::vector<int> icons;           // RT_ICON ids still found
};

const TreeCase kTreeCases[] = {
    {"intact", [](BuiltPe&) {}, {"name=NAMED", "id=1", "id=2"}, {1, 2}},
    {"type loops to the root", [](BuiltPe& pe) { pe.Put32(pe.EntryAt("", 1) + 4, kDir | 0); }, {}, {1, 2}},
    {"name loops to its own table",
     [](BuiltPe& pe) { pe.Put32(pe.EntryAt("14", 1) + 4, kDir | pe.tree.at("14")); },
     {"name=NAMED", "id=2"},
     {1, 2}},
    {"name loops to the root",
     [](BuiltPe& pe) { pe.Put32(pe.EntryAt("14", 1) + 4, kDir | 0); },
     {"name=NAMED", "id=2"},
     {1, 2}},
    {"language leads a fourth level down",
     [](BuiltPe& pe) { pe.Put32(pe.EntryAt("14/1", 0) + 4, kDir | pe.tree.at("14/2")); },
     {"name=NAMED", "id=2"},
     {1, 2}},
    {"type entry without the directory bit",
     [](BuiltPe& pe) { pe.Put32(pe.EntryAt("", 1) + 4, pe.tree.at("14")); },
     {},
     {1, 2}},
    {"name entry without the directory bit",
     [](BuiltPe& pe) { pe.Put32(pe.EntryAt("14", 2) + 4, pe.tree.at("14/2")); },
     {"name=NAMED", "id=1"},
     {1, 2}},
    {"type directory past the end",
     [](BuiltPe& pe) { pe.Put32(pe.EntryAt("", 0) + 4, kDir | 0x7FFFFFF0u); },
     {"name=NAMED", "id=1", "id=2"},
     {}},
    {"root declares 131070 entries",
     [](BuiltPe& pe) {
       pe.Put16(pe.At("") + 12, 0xFFFF);
       pe.Put16(pe.At("") + 14, 0xFFFF);
     },
     {"name=NAMED", "id=1", "id=2"},
     {1, 2}},
    {"name string offset out of range",
     [](BuiltPe& pe) { pe.Put32(pe.EntryAt("14", 0), kDir | 0x7FFFFFF0u); },
     {"id=1", "id=2"},
     {1, 2}},
    {"name string 0xFFFF long, cut off",
     [](BuiltPe& pe) { pe.Put16(pe.At("$14/NAMED"), 0xFFFF); },
     {"id=1", "id=2"},
     {1, 2}},
    {"name string 0xFFFF long, all present",
     [](BuiltPe& pe) { pe.Put32(pe.EntryAt("14", 0), kDir | Append(pe, NameString(0xFFFF, 0xFFFF))); },
     {"id=1", "id=2"},
     {1, 2}},
    {"name string at the length cap",
     [](BuiltPe& pe) {
       pe.Put32(pe.EntryAt("14", 0), kDir | Append(pe, NameString(kMaxResourceNameLength, kMaxResourceNameLength)));
     },
     {"name=" + std::string(kMaxResourceNameLength, 'Q'), "id=1", "id=2"},
     {1, 2}},
    {"number above 0xFFFF",
     [](BuiltPe& pe) { pe.Put32(pe.EntryAt("14", 1), 0x10001); },
     {"name=NAMED", "id=2"},
     {1, 2}},
    {"data entry past the end",
     [](BuiltPe& pe) { pe.Put32(pe.EntryAt("3/2", 0) + 4, 0x7FFFFFF0u); },
     {"name=NAMED", "id=1", "id=2"},
     {1}},
    {"data in no section",
     [](BuiltPe& pe) { pe.Put32(pe.At("14/2/1033"), 0x00F00000u); },
     {"name=NAMED", "id=1"},
     {1, 2}},
    {"data size near 4 GiB",
     [](BuiltPe& pe) { pe.Put32(pe.At("3/1/1033") + 4, 0xFFFFFFF0u); },
     {"name=NAMED", "id=1", "id=2"},
     {2}},
    {"data runs past its section",
     [](BuiltPe& pe) { pe.Put32(pe.At("3/2/1033") + 4, static_cast<std::uint32_t>(pe.bytes.size())); },
     {"name=NAMED", "id=1", "id=2"},
     {1}},
    {"section raw extent wraps 32 bits",
     [](BuiltPe& pe) { pe.Put32(pe.SectionField(kRsrcSection, 16), 0xFFFFFF00u); },
     {"name=NAMED", "id=1", "id=2"},
     {1, 2}},
    {"resource directory rva in no section",
     [](BuiltPe& pe) { pe.Put32(pe.dataDirectories + 16, 0x00F00000u); },
     {},
     {}},
    {"overlapping section in front hides the tree",
     [](BuiltPe& pe) {
       // .text claims the resource section's addresses with other bytes.
       pe.Put32(pe.SectionField(0, 16), 0x2000);
     },
     {},
     {}},
};

class ResourceTreeTest : public ::testing::TestWithParam<std::tuple<PeFormat, TreeCase>> {};

TEST_P(ResourceTreeTest, DamageCostsOnlyTheResourceItTouches) {
  const auto& [format, c] = GetParam();
  BuiltPe pe = Sample(format);
  c.damage(pe);
  const UniqueModule module(LoadDataModuleFromBytes(pe.bytes));
  ASSERT_TRUE(module) << c.what;
  const auto listed = EnumerateNames(module.get(), RT_GROUP_ICON);
  EXPECT_EQ(listed.names, c.groups) << c.what;
  EXPECT_EQ(listed.result, c.groups.empty() ? FALSE : TRUE) << c.what;
  for (const std::string& group : listed.names) {
    const std::string key = group.rfind("id=", 0) == 0 ? "#" + group.substr(3) : group.substr(5);
    EXPECT_TRUE(ResourceBytes(module.get(), FindResourceA(module.get(), key.c_str(), RT_GROUP_ICON)).has_value())
        << c.what << ": " << group;
  }
  std::vector<int> icons;
  for (int id : {1, 2}) {
    const HRSRC r = FindResourceA(module.get(), MAKEINTRESOURCEA(static_cast<std::uintptr_t>(id)), RT_ICON);
    if (r == nullptr) continue;
    const auto bytes = ResourceBytes(module.get(), r);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->bytes().data() + bytes->size() <= pe.bytes.data() + pe.bytes.size(), true);
    icons.push_back(id);
  }
  EXPECT_EQ(icons, c.icons) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Trees, ResourceTreeTest,
                         ::testing::Combine(::testing::Values(PeFormat::Pe32, PeFormat::Pe32Plus),
                                            ::testing::ValuesIn(kTreeCases)));

// A type directory of entries beyond the cap that all share one language
// directory, or one long name: work stays bounded by the cap.
struct FanOutCase {
  const char* what;
  bool named;
};

class ResourceFanOutTest : public ::testing::TestWithParam<FanOutCase> {};

TEST_P(ResourceFanOutTest, StaysWithinTheEntryCap) {
  BuiltPe pe = Sample(PeFormat::Pe32);
  const std::uint32_t entries = 0xFFFF;
  const std::uint32_t shared = pe.tree.at("14/1");
  const std::uint32_t name =
      GetParam().named ? Append(pe, NameString(kMaxResourceNameLength, kMaxResourceNameLength)) : 0;
  std::vector<std::uint8_t> table(16 + 8 * entries);
  ByteWriter put(table);
  table[GetParam().named ? 12 : 14] = 0xFF;
  table[GetParam().named ? 13 : 15] = 0xFF;
  for (std::uint32_t i = 0; i < entries; ++i) {
    put.u32At(16 + 8 * i, GetParam().named ? (kDir | name) : i + 1);
    put.u32At(16 + 8 * i + 4, kDir | shared);
  }
  pe.Put32(pe.EntryAt("", 1) + 4, kDir | Append(pe, table));

  const UniqueModule module(LoadDataModuleFromBytes(pe.bytes));
  ASSERT_TRUE(module);
  // The cap bounds the work: exactly the capped number of entries is
  // listed, and a failed search ends (its cost is the benchmark's business,
  // not a timed test's).
  const auto listed = EnumerateNames(module.get(), RT_GROUP_ICON);
  const HRSRC missing = FindResourceA(module.get(), "NO_SUCH_GROUP_QQQQ", RT_GROUP_ICON);
  EXPECT_EQ(listed.names.size(), kMaxResourceDirectoryEntries);
  EXPECT_EQ(missing, nullptr);
  if (!GetParam().named) {
    EXPECT_NE(FindResourceA(module.get(), MAKEINTRESOURCEA(kMaxResourceDirectoryEntries), RT_GROUP_ICON), nullptr);
    EXPECT_EQ(FindResourceA(module.get(), MAKEINTRESOURCEA(kMaxResourceDirectoryEntries + 1), RT_GROUP_ICON), nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(FanOut, ResourceFanOutTest,
                         ::testing::Values(FanOutCase{"numbered", false}, FanOutCase{"named", true}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(ResourceKey, ReadsNumbersNamesAndHashForms) {
  struct Case {
    const char* id;
    bool isName;
    std::uint16_t number;
  };
  const Case cases[] = {{"#14", false, 14}, {"#0", false, 0}, {"#65535", false, 65535}, {"#65536", true, 0},
                        {"#", true, 0},     {"#1a", true, 0}, {"14", true, 0},          {"#-1", true, 0}};
  for (const Case& c : cases) {
    const auto key = ResourceKey::FromId(c.id);
    EXPECT_EQ(key.isName, c.isName) << c.id;
    if (!c.isName) {
      EXPECT_EQ(key.number, c.number) << c.id;
    }
  }
  EXPECT_EQ(ResourceKey::FromId(MAKEINTRESOURCEA(7)).number, 7);
}

}  // namespace
