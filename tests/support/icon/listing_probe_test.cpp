#include "support/icon/listing_probe.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/common/ico_builder.h"
#include "tests/common/ne_builder.h"
#include "tests/common/pe_builder.h"
#include "tests/common/reference_listing.h"

namespace {

using ico_test::DibEntry;
using ico_test::DibImage;
using ico_test::IcoFile;
using ico_test::TempDir;

const std::string kCorpus = GLIMRA_CORPUS_DIR;

TEST(ListingProbe, MatchesTheReferenceListingOfEveryCorpusModule) {
  const auto reference = corpus_test::ReadReferenceListing();
  ASSERT_FALSE(reference.empty()) << "expected-modules.tsv";
  for (const auto& row : reference) {
    const auto listing = ProbeListing((kCorpus + "/" + row.file).c_str(), ImageDetail::PickedOnly);
    EXPECT_EQ(FormatListingLine(row.file, listing), row.line);
  }
}

TEST(ListingProbe, IcoExtensionInAnyCaseReadsTheFileAndListsItsFirstImage) {
  TempDir dir;
  const auto bytes = IcoFile({DibEntry(48, 48, 32), DibEntry(16, 16, 4)});
  ASSERT_TRUE(ico_test::WriteFile(dir.File("A.IcO"), bytes));
  const auto listing = ProbeListing(dir.File("A.IcO").c_str(), ImageDetail::AllImages);
  EXPECT_EQ(FormatListingLine("A.IcO", listing), "A.IcO\tico\tindex=0 48x48");
  EXPECT_EQ(FormatImageLines(listing),
            (std::vector<std::string>{"  index=0\t48x48\t32-bit\tDIB", "  index=0\t16x16\t4-bit\tDIB"}));
  // The same bytes under another name go through extraction, which picks
  // at 32x32 and scales.
  ASSERT_TRUE(ico_test::WriteFile(dir.File("A.icon"), bytes));
  EXPECT_EQ(FormatListingLine("x", ProbeListing(dir.File("A.icon").c_str(), ImageDetail::PickedOnly)),
            "x\textract\tindex=0 32x32");
  EXPECT_FALSE(HasIcoExtension("folder.ico/file"));
  EXPECT_FALSE(HasIcoExtension("file.icon"));
}

TEST(ListingProbe, UnreadableIcoAndPlainFilesListNothing) {
  TempDir dir;
  ASSERT_TRUE(ico_test::WriteFile(dir.File("bad.ico"), {0, 0, 1, 0}));
  ASSERT_TRUE(ico_test::WriteFile(dir.File("notes.txt"), {'x'}));
  EXPECT_EQ(FormatListingLine("b", ProbeListing(dir.File("bad.ico").c_str(), ImageDetail::PickedOnly)), "b\tico");
  EXPECT_EQ(FormatListingLine("n", ProbeListing(dir.File("notes.txt").c_str(), ImageDetail::PickedOnly)), "n\textract");
}

TEST(ListingProbe, NeFilesAreListedByIndexWithEveryImage) {
  const auto i16 = DibImage(16, 16, 4), i32 = DibImage(32, 32, 8);
  const auto s16 = static_cast<std::uint32_t>(i16.size()), s32 = static_cast<std::uint32_t>(i32.size());
  const auto ne = ne_test::NeBuilder()
                      .AddIconGroup(1, pe_test::GroupIconBytes({{16, 16, 16, 1, 4, s16, 1}, {32, 32, 0, 1, 8, s32, 2}}))
                      .AddNamedIconGroup("B", pe_test::GroupIconBytes({{16, 16, 16, 1, 4, s16, 1}}))
                      .AddIcon(1, i16)
                      .AddIcon(2, i32)
                      .Build();
  TempDir dir;
  ASSERT_TRUE(ne.WriteTo(dir.File("moricons.dll")));
  const auto listing = ProbeListing(dir.File("moricons.dll").c_str(), ImageDetail::AllImages);
  EXPECT_EQ(FormatListingLine("m", listing), "m\textract\tindex=0 32x32\tindex=1 32x32");
  EXPECT_EQ(FormatImageLines(listing),
            (std::vector<std::string>{"  index=0\t16x16\t4-bit\tDIB", "  index=0\t32x32\t8-bit\tDIB",
                                      "  index=1\t16x16\t4-bit\tDIB"}));
}

TEST(ListingProbe, CorpusModuleImagesCarryTheirRealDepthAndFormat) {
  const auto listing = ProbeListing((kCorpus + "/pe32/regedit.exe").c_str(), ImageDetail::AllImages);
  ASSERT_EQ(listing.icons.size(), 6u);
  bool png = false, fourBit = false;
  for (const auto& image : listing.icons[0].images) {
    png = png || (image.png && image.width == 256 && image.bitCount == 32);
    fourBit = fourBit || (!image.png && image.bitCount == 4);
  }
  EXPECT_TRUE(png);
  EXPECT_TRUE(fourBit);
}

}  // namespace
