#include "platform/core/pe_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/common/pe_builder.h"

namespace {

using pe_test::BuiltPe;
using pe_test::PeBuilder;

BuiltPe SmallImage(PeFormat format) {
  return PeBuilder(format).AddIcon(1, std::vector<std::uint8_t>(40, 0xAB)).Build();
}

struct HeaderCase {
  const char* what;
  std::function<void(BuiltPe&)> damage;
  bool loads;
};

void Truncate(BuiltPe& pe, std::size_t size) { pe.bytes.resize(size); }

const HeaderCase kHeaderCases[] = {
    {"intact", [](BuiltPe&) {}, true},
    {"no MZ", [](BuiltPe& pe) { pe.bytes[0] = 'X'; }, false},
    {"plain MZ file", [](BuiltPe& pe) { Truncate(pe, 64); }, false},
    {"MZ without e_lfanew", [](BuiltPe& pe) { Truncate(pe, 0x3E); }, false},
    {"e_lfanew past the end", [](BuiltPe& pe) { pe.Put32(0x3C, static_cast<std::uint32_t>(pe.bytes.size() + 16)); },
     false},
    {"e_lfanew negative", [](BuiltPe& pe) { pe.Put32(0x3C, 0x80000000u); }, false},
    {"e_lfanew huge", [](BuiltPe& pe) { pe.Put32(0x3C, 0x7FFFFFFFu); }, false},
    {"e_lfanew at the last bytes", [](BuiltPe& pe) { pe.Put32(0x3C, static_cast<std::uint32_t>(pe.bytes.size() - 2)); },
     false},
    {"NE header", [](BuiltPe& pe) { pe.Put32(pe.peHeader, 0x0000454E); }, false},
    {"truncated file header", [](BuiltPe& pe) { Truncate(pe, pe.fileHeader + 10); }, false},
    {"truncated optional header", [](BuiltPe& pe) { Truncate(pe, pe.optionalHeader + 50); }, false},
    {"unknown magic", [](BuiltPe& pe) { pe.Put16(pe.optionalHeader, 0x107); }, false},
    {"optional header shorter than its fields", [](BuiltPe& pe) { pe.Put16(pe.fileHeader + 16, 0x50); }, false},
    {"65535 sections past the end", [](BuiltPe& pe) { pe.Put16(pe.fileHeader + 2, 0xFFFF); }, false},
    {"section table cut off", [](BuiltPe& pe) { Truncate(pe, pe.sectionTable + 60); }, false},
    {"65535 sections inside the file",
     [](BuiltPe& pe) {
       pe.Put16(pe.fileHeader + 2, 0xFFFF);
       pe.bytes.resize(pe.sectionTable + 40u * 0xFFFF);
     },
     true},
    {"no data directories", [](BuiltPe& pe) { pe.Put32(pe.dataDirectories - 4, 0); }, true},
};

class PeHeaderTest : public ::testing::TestWithParam<std::tuple<PeFormat, HeaderCase>> {};

TEST_P(PeHeaderTest, AcceptsOnlySaneHeaders) {
  const auto& [format, c] = GetParam();
  BuiltPe pe = SmallImage(format);
  c.damage(pe);
  const auto image = PeImage::Parse(ByteReader(pe.bytes));
  EXPECT_EQ(image.ok(), c.loads) << c.what;
  if (image.ok()) {
    EXPECT_EQ(image->format(), format);
  }
}

INSTANTIATE_TEST_SUITE_P(Headers, PeHeaderTest,
                         ::testing::Combine(::testing::Values(PeFormat::Pe32, PeFormat::Pe32Plus),
                                            ::testing::ValuesIn(kHeaderCases)));

TEST(PeImage, ReportsMachineAndDirectoriesOfBothFormats) {
  for (const auto format : {PeFormat::Pe32, PeFormat::Pe32Plus}) {
    const BuiltPe pe = PeBuilder(format, 0xAA64).AddIcon(1, {1, 2, 3}).Build();
    const auto image = PeImage::Parse(ByteReader(pe.bytes));
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(image->machine(), 0xAA64);
    const auto dir = image->dataDirectory(kPeResourceDirectoryIndex);
    ASSERT_TRUE(dir.has_value());
    EXPECT_EQ(dir->rva, pe.resourceRva);
    EXPECT_FALSE(image->dataDirectory(16).has_value());
  }
}

// Section table rows written over a built image: (VirtualAddress,
// SizeOfRawData, PointerToRawData). The image's SizeOfHeaders is 0x200 and
// the file 0x800 bytes long.
struct Row {
  std::uint32_t va, rawSize, rawPointer;
};
struct RvaCase {
  const char* what;
  std::vector<Row> rows;
  std::uint32_t rva;
  std::optional<std::uint64_t> offset;  // file offset the rva maps to
  std::uint64_t length;                 // bytes from there to the end of its holder
};

const RvaCase kRvaCases[] = {
    {"inside a section", {{0x1000, 0x200, 0x200}}, 0x1010, 0x210, 0x1F0},
    {"first of two covering sections wins", {{0x1000, 0x200, 0x200}, {0x1000, 0x400, 0x400}}, 0x1010, 0x210, 0x1F0},
    {"overlap reaches past the first", {{0x1000, 0x100, 0x200}, {0x1000, 0x400, 0x400}}, 0x1150, 0x550, 0x2B0},
    {"below SizeOfHeaders maps directly", {{0x1000, 0x200, 0x200}}, 0x10, 0x10, 0x1F0},
    {"between headers and sections", {{0x1000, 0x200, 0x200}}, 0x800, std::nullopt, 0},
    {"past SizeOfRawData", {{0x1000, 0x200, 0x200}}, 0x1200, std::nullopt, 0},
    {"raw data past the end of the file", {{0x1000, 0x200, 0x900}}, 0x1000, std::nullopt, 0},
    {"raw extent clipped at the end of the file", {{0x1000, 0x1000, 0x400}}, 0x1100, 0x500, 0x300},
    {"PointerToRawData + SizeOfRawData wraps", {{0x1000, 0xFFFFFF00u, 0x400}}, 0x1010, 0x410, 0x3F0},
    {"VirtualAddress + SizeOfRawData wraps", {{0xFFFFF000u, 0x2000, 0x200}}, 0x0300, std::nullopt, 0},
    {"top of the address space", {{0xFFFFF000u, 0x2000, 0x200}}, 0xFFFFF010u, 0x210, 0x5F0},
    {"damaged first row still decides",
     {{0x1000, 0x200, 0xFFFFFFF0u}, {0x1000, 0x200, 0x200}},
     0x1010,
     std::nullopt,
     0},
};

class PeRvaTest : public ::testing::TestWithParam<RvaCase> {};

TEST_P(PeRvaTest, MapsAsTheDataFileLoaderDoes) {
  const RvaCase& c = GetParam();
  BuiltPe pe = PeBuilder().AddSection(".data", std::vector<std::uint8_t>(0x400, 0x11)).Build();
  ASSERT_EQ(pe.bytes.size(), 0x800u);
  pe.Put16(pe.fileHeader + 2, static_cast<std::uint16_t>(c.rows.size()));
  for (std::uint32_t i = 0; i < c.rows.size(); ++i) {
    pe.Put32(pe.SectionField(i, 12), c.rows[i].va);
    pe.Put32(pe.SectionField(i, 16), c.rows[i].rawSize);
    pe.Put32(pe.SectionField(i, 20), c.rows[i].rawPointer);
  }
  const auto image = PeImage::Parse(ByteReader(pe.bytes));
  ASSERT_TRUE(image.ok());
  const auto view = image->ViewAt(c.rva);
  ASSERT_EQ(view.has_value(), c.offset.has_value()) << c.what;
  if (!view) return;
  EXPECT_EQ(view->bytes().data() - pe.bytes.data(), static_cast<std::ptrdiff_t>(*c.offset)) << c.what;
  EXPECT_EQ(view->size(), c.length) << c.what;
  EXPECT_TRUE(image->BytesAt(c.rva, static_cast<std::uint32_t>(c.length)).has_value()) << c.what;
  EXPECT_FALSE(image->BytesAt(c.rva, static_cast<std::uint32_t>(c.length + 1)).has_value()) << c.what;
  EXPECT_FALSE(image->BytesAt(c.rva, 0xFFFFFFF0u).has_value()) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Rvas, PeRvaTest, ::testing::ValuesIn(kRvaCases));

}  // namespace

namespace {

TEST(PeImage, ConsultsOnlyTheFirstSectionsOfAHugeTable) {
  BuiltPe pe = PeBuilder().AddSection(".data", std::vector<std::uint8_t>(0x400, 0x11)).Build();
  const std::uint32_t rows = 2000;
  pe.Put16(pe.fileHeader + 2, static_cast<std::uint16_t>(rows));
  pe.bytes.resize(pe.sectionTable + 40u * rows);
  // Empty rows, but for one inside the cap and one past it.
  std::fill(pe.bytes.begin() + pe.sectionTable, pe.bytes.end(), std::uint8_t{0});
  const auto put = [&](std::uint32_t index, std::uint32_t va) {
    pe.Put32(pe.SectionField(index, 12), va);
    pe.Put32(pe.SectionField(index, 16), 0x200);
    pe.Put32(pe.SectionField(index, 20), 0x400);
  };
  put(kMaxPeSections - 1, 0x10000);
  put(kMaxPeSections, 0x20000);
  const auto image = PeImage::Parse(ByteReader(pe.bytes));
  ASSERT_TRUE(image.ok());
  EXPECT_TRUE(image->ViewAt(0x10010).has_value());
  EXPECT_FALSE(image->ViewAt(0x20010).has_value());
}

}  // namespace
