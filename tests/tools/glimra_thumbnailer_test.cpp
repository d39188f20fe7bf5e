#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/icon/icon_resource_builder.h"
#include "support/icon/icon_source.h"
#include "support/icon/rgba_image.h"
#include "tests/common/ico_builder.h"
#include "tests/common/ne_builder.h"
#include "tests/common/pe_builder.h"
#include "tests/tools/run_tool.h"
#include "tests/tools/tool_corpus.h"

namespace {

using ico_test::ReadFile;
using ico_test::TempDir;
using tool_test::RunTool;
namespace fs = std::filesystem;

const std::string kCorpus = GLIMRA_CORPUS_DIR;

Expected<RgbaImage> Thumbnail(const std::string& input, const std::string& size, const TempDir& out) {
  const auto run = RunTool({"glimra-thumbnailer", "-s", size, input, out.File("thumb.png")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.err.empty()) << run.err;
  return DecodeImageToRgba(ReadFile(out.File("thumb.png")));
}

// The image of the file's first group that is w wide and bits deep, decoded.
RgbaImage FirstGroupImage(const std::string& file, unsigned width, unsigned bits, bool png) {
  const IconSource source(file.c_str());
  const UniqueIconResource group = source.Group(source.Icons(1).at(0));
  for (UINT i = 0; group != nullptr && i < group->nImages; ++i) {
    const ICONIMAGE* image = IconImageAt(group.get(), i);
    const auto bytes = IconImageData(image);
    const bool isPng = bytes.size() > 4 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G';
    if (image->nWidth == width && image->nBitCount == bits && isPng == png) {
      auto decoded = DecodeImageToRgba(bytes);
      if (decoded) return *decoded;
    }
  }
  ADD_FAILURE() << file << " has no " << width << "-wide " << bits << "-bit image";
  return {};
}

TEST(GlimraThumbnailer, Shell32GivesItsFirstGroups256PngAndA32BitImageAt32) {
  const std::string shell32 = kCorpus + "/pe64/shell32.dll";
  TempDir out;
  const auto large = Thumbnail(shell32, "256", out);
  ASSERT_TRUE(large);
  EXPECT_EQ(large->rgba, FirstGroupImage(shell32, 256, 32, true).rgba);
  const auto small = Thumbnail(shell32, "32", out);
  ASSERT_TRUE(small);
  EXPECT_EQ(small->width, 32);
  EXPECT_EQ(small->rgba, FirstGroupImage(shell32, 32, 32, false).rgba);
}

TEST(GlimraThumbnailer, ScalesDownToFitNeverUpAndAcceptsFileUris) {
  TempDir out, src;
  // 48 is what shell32's first group offers above 32: scaled to 40 by area averaging.
  const auto scaled = Thumbnail(kCorpus + "/pe64/shell32.dll", "40", out);
  ASSERT_TRUE(scaled);
  EXPECT_EQ(scaled->width, 40);
  EXPECT_EQ(scaled->height, 40);
  EXPECT_EQ(scaled->rgba, FitWithin(FirstGroupImage(kCorpus + "/pe64/shell32.dll", 48, 32, false), 40).rgba);
  // llama-blue.ico holds one 32x32 image: a 256 thumbnail stays 32x32.
  fs::copy_file(kCorpus + "/ico/llama-blue.ico", src.File("my icon%.ico"));
  const auto unscaled = Thumbnail("file://" + src.File("my%20icon%25.ico"), "256", out);
  ASSERT_TRUE(unscaled);
  EXPECT_EQ(unscaled->width, 32);
  EXPECT_EQ(unscaled->rgba, FirstGroupImage(src.File("my icon%.ico"), 32, 8, false).rgba);
}

TEST(GlimraThumbnailer, NeFilesAndIconFilesWithoutTheExtensionGiveThumbnails) {
  const auto i16 = ico_test::DibImage(16, 16, 4), i32 = ico_test::DibImage(32, 32, 8, 7);
  const auto s16 = static_cast<std::uint32_t>(i16.size()), s32 = static_cast<std::uint32_t>(i32.size());
  TempDir src, out;
  for (const std::uint16_t shift : {0, 4, 9}) {
    const auto ne =
        ne_test::NeBuilder()
            .SetAlignShift(shift)
            .AddIconGroup(1, pe_test::GroupIconBytes({{16, 16, 16, 1, 4, s16, 1}, {32, 32, 0, 1, 8, s32, 2}}))
            .AddIconGroup(2, pe_test::GroupIconBytes({{16, 16, 16, 1, 4, s16, 1}}))
            .AddIcon(1, i16)
            .AddIcon(2, i32)
            .Build();
    const std::string file = src.File("prog" + std::to_string(shift) + ".exe");
    ASSERT_TRUE(ne.WriteTo(file));
    const auto thumb = Thumbnail(file, "32", out);
    ASSERT_TRUE(thumb) << shift;
    EXPECT_EQ(thumb->rgba, DecodeImageToRgba(i32)->rgba) << shift;
  }
  const auto uninst = Thumbnail(kCorpus + "/misc/uninst", "48", out);
  ASSERT_TRUE(uninst);
  EXPECT_EQ(uninst->width, 32);
}

struct Failing {
  const char* what;
  std::vector<std::string> arguments;  // "@name" is a file in a temporary folder
  int status;
  const char* stderrHas;
};

class GlimraThumbnailerFails : public testing::TestWithParam<Failing> {};

TEST_P(GlimraThumbnailerFails, WritesNothingAndSaysWhyOnOneLine) {
  TempDir dir;
  ASSERT_TRUE(ico_test::WriteFile(dir.File("junk.exe"), std::vector<std::uint8_t>(4096, 0x4D)));
  ASSERT_TRUE(ico_test::WriteFile(dir.File("bad.ico"), {0, 0, 1, 0, 1, 0}));
  ASSERT_TRUE(ico_test::WriteFile(dir.File("empty.dll"), {}));
  // A module whose only group names an image that is not there.
  const auto group = pe_test::GroupIconBytes({{32, 32, 0, 1, 32, 100, 9}});
  ASSERT_TRUE(
      pe_test::PeBuilder().AddIconGroup(pe_test::ResId::Number(1), group).Build().WriteTo(dir.File("hollow.dll")));
  fs::create_directory(dir.File("folder"));
  std::vector<std::string> arguments{"glimra-thumbnailer"};
  for (const std::string& a : GetParam().arguments) arguments.push_back(a[0] == '@' ? dir.File(a.substr(1)) : a);
  const auto run = RunTool(arguments);
  EXPECT_EQ(run.status, GetParam().status) << GetParam().what << "\n" << run.err;
  EXPECT_NE(run.err.find(GetParam().stderrHas), std::string::npos) << GetParam().what << ": " << run.err;
  if (run.status == 1) {
    EXPECT_EQ(tool_test::Lines(run.err).size(), 1u) << run.err;
  }
  EXPECT_FALSE(fs::exists(dir.File("out.png"))) << GetParam().what;
  for (const auto& e : fs::directory_iterator(dir.path())) {
    EXPECT_EQ(e.path().filename().string().find(".glimra-save"), std::string::npos) << GetParam().what;
  }
}

const std::string kProgman = kCorpus + "/pe32/progman.exe";
const std::string kNotepad = kCorpus + "/pe32/notepad.exe";

INSTANTIATE_TEST_SUITE_P(
    Cases, GlimraThumbnailerFails,
    testing::Values(Failing{"missing file", {"@gone.exe", "@out.png"}, 1, "gone.exe: cannot open"},
                    Failing{"folder", {"@folder", "@out.png"}, 1, "not a regular file"},
                    Failing{"module without icons", {kProgman, "@out.png"}, 1, "no icon"},
                    Failing{"empty file", {"@empty.dll", "@out.png"}, 1, "no icon"},
                    Failing{"junk", {"@junk.exe", "@out.png"}, 1, "no icon"},
                    Failing{"unreadable icon file", {"@bad.ico", "@out.png"}, 1, "not an icon file"},
                    Failing{"group without images", {"@hollow.dll", "@out.png"}, 1, "cannot be read"},
                    Failing{"remote uri", {"sftp://host/x.exe", "@out.png"}, 1, "not a local file"},
                    Failing{"output folder missing", {kNotepad, "@no/out.png"}, 1, "No such file"},
                    Failing{"no output", {kNotepad}, 2, "needs INPUT and OUTPUT"},
                    Failing{"size zero", {"-s", "0", kNotepad, "@out.png"}, 2, "bad size"},
                    Failing{"size not a number", {"-s", "big", kNotepad, "@out.png"}, 2, "bad size"}));

TEST(GlimraThumbnailer, ThumbnailerFileListsTheExecutableTypes) {
  std::ifstream in(std::string(GLIMRA_SOURCE_DIR) + "/desktop/glimra.thumbnailer");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("Exec=glimra-thumbnailer -s %s %u %o"), std::string::npos);
  for (const char* type : {"application/x-ms-dos-executable", "application/x-dosexec", "application/x-msdownload",
                           "application/vnd.microsoft.portable-executable", "application/x-ms-ne-executable"}) {
    EXPECT_NE(text.find(std::string(type) + ";"), std::string::npos) << type;
  }
}

}  // namespace
