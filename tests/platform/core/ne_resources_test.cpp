#include "platform/core/ne_resources.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/common/ico_builder.h"
#include "tests/common/ne_builder.h"
#include "tests/common/pe_builder.h"

namespace {

using ne_test::BuiltNe;
using ne_test::NeBuilder;

std::vector<std::uint8_t> OneImageGroup(std::uint16_t id, std::uint32_t size) {
  return pe_test::GroupIconBytes({{32, 32, 0, 1, 32, size, id}});
}

BuiltNe TwoGroups(std::uint16_t shift = 4) {
  const auto image = ico_test::DibImage(32, 32, 4);
  return NeBuilder()
      .SetAlignShift(shift)
      .AddIconGroup(7, OneImageGroup(1, static_cast<std::uint32_t>(image.size())))
      .AddNamedIconGroup("APPICON", OneImageGroup(2, static_cast<std::uint32_t>(image.size())))
      .AddIcon(1, image)
      .AddIcon(2, image)
      .Build();
}

TEST(NeResources, ReadsGroupsAndIconsInTableOrder) {
  const BuiltNe ne = TwoGroups();
  const ByteReader file(ne.bytes);
  ASSERT_TRUE(IsNeFile(file));
  const auto table = ReadNeResources(file);
  ASSERT_TRUE(table.ok()) << table.error().what;
  EXPECT_EQ(table->alignUnit, 16u);
  const auto groups = NeIconGroups(*table);
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[0]->id, 0x8007);
  EXPECT_EQ(groups[1]->name, "APPICON");
  const auto icon = NeIconImage(*table, 2);
  ASSERT_TRUE(icon.has_value());
  // Stored lengths are whole alignment units.
  EXPECT_EQ(icon->size() % 16, 0u);
  EXPECT_GE(icon->size(), ico_test::DibImage(32, 32, 4).size());
  EXPECT_FALSE(NeIconImage(*table, 3).has_value());
}

TEST(NeResources, ShiftAppliesToOffsetAndLength) {
  for (std::uint16_t shift : {0, 1, 9}) {
    const BuiltNe ne = TwoGroups(shift);
    const auto table = ReadNeResources(ByteReader(ne.bytes));
    ASSERT_TRUE(table.ok()) << shift;
    const auto icon = NeIconImage(*table, 1);
    ASSERT_TRUE(icon.has_value()) << shift;
    EXPECT_EQ(icon->u32(0), 40u) << "a DIB header starts the image at shift " << shift;
  }
}

struct Corruption {
  const char* name;
  std::function<void(BuiltNe&)> apply;
  bool ok;  // whether the table is still read
};

class NeCorruptionTest : public testing::TestWithParam<Corruption> {};

TEST_P(NeCorruptionTest, FailsCleanlyOrKeepsTheRest) {
  BuiltNe ne = TwoGroups();
  GetParam().apply(ne);
  const auto table = ReadNeResources(ByteReader(ne.bytes));
  EXPECT_EQ(table.ok(), GetParam().ok) << (table.ok() ? "" : table.error().what);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NeCorruptionTest,
    testing::Values(Corruption{"table_outside_file", [](BuiltNe& ne) { ne.Put16(ne.neHeader + 0x24, 0xFFF0); }, false},
                    Corruption{"unterminated_type_list", [](BuiltNe& ne) { ne.bytes.resize(ne.terminator + 1); },
                               false},
                    Corruption{"huge_count", [](BuiltNe& ne) { ne.Put16(ne.typeInfo[0] + 2, 0xFFFF); }, false},
                    Corruption{"shift_16", [](BuiltNe& ne) { ne.Put16(ne.resourceTable, 16); }, false},
                    Corruption{"shift_huge", [](BuiltNe& ne) { ne.Put16(ne.resourceTable, 0xFFFF); }, false},
                    Corruption{"offset_past_end", [](BuiltNe& ne) { ne.Put16(ne.nameInfo[0], 0xFFFF); }, true},
                    Corruption{"length_past_end", [](BuiltNe& ne) { ne.Put16(ne.nameInfo[0] + 2, 0xFFFF); }, true},
                    Corruption{"name_out_of_range", [](BuiltNe& ne) { ne.Put16(ne.nameInfo[1] + 6, 0x7FFF); }, true},
                    Corruption{"new_header_past_end",
                               [](BuiltNe& ne) {
                                 ne.bytes[0x3C] = 0xFF;
                                 ne.bytes[0x3F] = 0x7F;
                               },
                               false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NeResources, ResourcePastTheEndIsKeptButMarked) {
  BuiltNe ne = TwoGroups();
  ne.Put16(ne.nameInfo[0], 0xFFFF);
  const auto table = ReadNeResources(ByteReader(ne.bytes));
  ASSERT_TRUE(table.ok());
  const auto groups = NeIconGroups(*table);
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_FALSE(groups[0]->inFile);
  EXPECT_TRUE(groups[1]->inFile);
}

TEST(NeResources, PlainMzAndPeAreNotNe) {
  std::vector<std::uint8_t> mz(128, 0);
  mz[0] = 'M';
  mz[1] = 'Z';
  EXPECT_FALSE(IsNeFile(ByteReader(mz)));
  const auto pe = pe_test::PeBuilder().Build();
  EXPECT_FALSE(IsNeFile(ByteReader(pe.bytes)));
  EXPECT_FALSE(ReadNeResources(ByteReader(pe.bytes)).ok());
}

}  // namespace
