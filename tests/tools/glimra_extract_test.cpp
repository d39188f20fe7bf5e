#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/core/data_module.h"
#include "support/icon/icon_source.h"
#include "support/icon/rgba_image.h"
#include "tests/common/ico_builder.h"
#include "tests/common/pe_builder.h"
#include "tests/tools/run_tool.h"
#include "tests/tools/tool_corpus.h"

namespace {

using ico_test::ReadFile;
using ico_test::TempDir;
using tool_test::FilesIn;
using tool_test::Lines;
using tool_test::RunTool;
namespace fs = std::filesystem;

const std::string kCorpus = GLIMRA_CORPUS_DIR;

std::vector<std::string> Extract(std::vector<std::string> options, const std::vector<std::string>& inputs,
                                 const std::string& folder, int status = 0) {
  std::vector<std::string> arguments{"glimra-extract"};
  arguments.insert(arguments.end(), options.begin(), options.end());
  arguments.insert(arguments.end(), inputs.begin(), inputs.end());
  arguments.insert(arguments.end(), {"-o", folder});
  const auto run = RunTool(arguments);
  EXPECT_EQ(run.status, status) << run.err;
  return Lines(run.out);
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// Where the two disagree, ours draws as the platform draws: a 32-bit image
// whose alpha is all zero predates alpha icons and is drawn through its AND
// mask, while icotool takes the zero alpha at its word (all transparent).
bool IsZeroAlpha32BitDib(const std::vector<std::uint8_t>& ico, std::size_t index) {
  const auto u32 = [&](std::size_t at) {
    return std::uint32_t{ico[at]} | std::uint32_t{ico[at + 1]} << 8 | std::uint32_t{ico[at + 2]} << 16 |
           std::uint32_t{ico[at + 3]} << 24;
  };
  const std::size_t entry = 6 + 16 * index;
  const std::size_t offset = u32(entry + 12);
  if (u32(offset) != 40 || (ico[offset + 14] | ico[offset + 15] << 8) != 32) return false;
  const std::size_t pixels = std::size_t{u32(offset + 4)} * (u32(offset + 8) / 2);
  for (std::size_t i = 0; i < pixels; ++i) {
    if (ico[offset + 40 + 4 * i + 3] != 0) return false;
  }
  return true;
}

TEST(GlimraExtract, EveryIcoPassesIcotoolAndEveryPngIsIcotoolsImagePixelForPixel) {
  if (!tool_test::HaveProgram("icotool")) GTEST_SKIP() << "icotool (icoutils) is not installed";
  TempDir icos;
  const auto written = Extract({}, tool_test::CorpusFiles(), icos.path());
  ASSERT_EQ(written.size(), FilesIn(icos.path()).size());
  ASSERT_GT(written.size(), 200u);
  std::size_t images = 0;
  std::vector<std::string> disagreements;
  for (const std::string& ico : written) {
    ASSERT_EQ(std::system(("icotool -l " + Quoted(ico) + " >/dev/null 2>&1").c_str()), 0) << ico;
    TempDir ours, theirs;
    const auto pngs = Extract({"--png"}, {ico}, ours.path());
    ASSERT_EQ(std::system(("icotool -x -o " + Quoted(theirs.path()) + " " + Quoted(ico) + " 2>/dev/null").c_str()), 0);
    const std::string base = fs::path(ico).stem().string();
    const auto bytes = ReadFile(ico);
    ASSERT_EQ(pngs.size(), static_cast<std::size_t>(bytes[4] | bytes[5] << 8)) << ico;
    for (std::size_t i = 0; i < pngs.size(); ++i) {
      std::string reference;
      for (const std::string& name : FilesIn(theirs.path())) {
        if (name.rfind(base + "_" + std::to_string(i + 1) + "_", 0) == 0) reference = theirs.File(name);
      }
      ASSERT_FALSE(reference.empty()) << ico << " image " << i;
      const auto mine = DecodeImageToRgba(ReadFile(pngs[i]));
      const auto icotool = DecodeImageToRgba(ReadFile(reference));
      ASSERT_TRUE(mine && icotool) << pngs[i];
      EXPECT_EQ(mine->width, icotool->width) << pngs[i];
      EXPECT_EQ(mine->height, icotool->height) << pngs[i];
      if (mine->rgba != icotool->rgba) {
        disagreements.push_back(pngs[i]);
        EXPECT_TRUE(IsZeroAlpha32BitDib(bytes, i)) << "differs from icotool: " << pngs[i];
      }
      ++images;
    }
  }
  EXPECT_GT(images, 2000u);
  for (const std::string& d : disagreements)
    std::printf("zero-alpha 32-bit image, drawn through its mask: %s\n", d.c_str());
}

// The one kind of image where our PNG and icotool's differ, on purpose: a
// 32-bit image whose alpha is all zero. The platform draws such an icon
// opaque through its AND mask (icons made before alpha existed), so ours
// does; icotool takes the zero alpha as it is and writes a blank image.
TEST(GlimraExtract, ZeroAlpha32BitImagesAreDrawnThroughTheirMaskUnlikeIcotool) {
  if (!tool_test::HaveProgram("icotool")) GTEST_SKIP() << "icotool (icoutils) is not installed";
  auto dib = ico_test::DibImage(4, 4, 32);
  for (std::size_t i = 40 + 3; i < 40 + 64; i += 4) dib[i] = 0;
  dib[40 + 64] = 0x80;  // the bottom row's first pixel is masked out
  ico_test::IcoEntry entry = ico_test::DibEntry(4, 4, 32);
  entry.bytes = dib;
  TempDir src, ours, theirs;
  ASSERT_TRUE(ico_test::WriteFile(src.File("old.ico"), ico_test::IcoFile({entry})));
  const auto pngs = Extract({"--png"}, {src.File("old.ico")}, ours.path());
  ASSERT_EQ(pngs.size(), 1u);
  ASSERT_EQ(std::system(("icotool -x -o " + Quoted(theirs.path()) + " " + Quoted(src.File("old.ico"))).c_str()), 0);
  const auto mine = DecodeImageToRgba(ReadFile(pngs[0]));
  const auto icotool = DecodeImageToRgba(ReadFile(theirs.File(FilesIn(theirs.path()).at(0))));
  ASSERT_TRUE(mine && icotool);
  for (std::size_t p = 0; p < 16; ++p) {
    const bool masked = p == 12;  // top-down, the bottom row starts at pixel 12
    EXPECT_EQ(mine->rgba[4 * p + 3], masked ? 0 : 255) << p;
    EXPECT_EQ(icotool->rgba[4 * p + 3], 0) << p;
  }
}

// A module whose group names try to leave the output folder.
std::string HostileModule(const TempDir& dir) {
  const auto image = ico_test::DibImage(16, 16, 8);
  const auto group = pe_test::GroupIconBytes({{16, 16, 0, 1, 8, static_cast<std::uint32_t>(image.size()), 1}});
  pe_test::PeBuilder pe;
  for (const char* name : {"../../X", "/ETC/PASSWD", "..", "A\\B", "TAB\tNL\n"}) {
    pe.AddIconGroup(pe_test::ResId::Name(name), group);
  }
  std::string path = dir.File("evil.dll");
  EXPECT_TRUE(pe.AddIcon(1, image).Build().WriteTo(path));
  return path;
}

TEST(GlimraExtract, ResourceNamesNeverLeaveTheOutputFolder) {
  TempDir src, root;
  const std::string module = HostileModule(src);
  const std::string out = root.File("out");
  fs::create_directory(out);
  for (const std::vector<std::string>& options : {std::vector<std::string>{}, std::vector<std::string>{"--png"}}) {
    const auto written = Extract(options, {module}, out);
    EXPECT_EQ(written.size(), 5u);
    for (const std::string& path : written) {
      EXPECT_EQ(fs::path(path).parent_path(), fs::path(out)) << path;
      EXPECT_TRUE(fs::is_regular_file(path)) << path;
    }
  }
  // Nothing was made anywhere else: the root holds only the output folder.
  EXPECT_EQ(FilesIn(root.path()), std::vector<std::string>{"out"});
  EXPECT_EQ(FilesIn(out),
            (std::vector<std::string>{"evil.dll_...ico", "evil.dll_.._.._X.ico", "evil.dll_.._.._X_16x16_8.png",
                                      "evil.dll_.._16x16_8.png", "evil.dll_A_B.ico", "evil.dll_A_B_16x16_8.png",
                                      "evil.dll_TAB_NL_.ico", "evil.dll_TAB_NL__16x16_8.png",
                                      "evil.dll__ETC_PASSWD.ico", "evil.dll__ETC_PASSWD_16x16_8.png"}));
}

TEST(GlimraExtract, KeepsExistingFilesUnlessForcedAndSameNamedSourcesDoNotCollide) {
  TempDir src, out;
  fs::create_directories(src.File("a"));
  fs::create_directories(src.File("b"));
  ASSERT_TRUE(ico_test::WriteFile(src.File("a/x.ico"), ico_test::IcoFile({ico_test::DibEntry(16, 16, 4, 1)})));
  ASSERT_TRUE(ico_test::WriteFile(src.File("b/x.ico"), ico_test::IcoFile({ico_test::DibEntry(32, 32, 8, 2)})));
  const auto first = Extract({}, {src.File("a/x.ico"), src.File("b/x.ico")}, out.path());
  EXPECT_EQ(first, (std::vector<std::string>{out.File("x.ico_0.ico"), out.File("x.ico_0-2.ico")}));
  EXPECT_EQ(ReadFile(out.File("x.ico_0.ico")), ReadFile(src.File("a/x.ico")));
  EXPECT_EQ(ReadFile(out.File("x.ico_0-2.ico")), ReadFile(src.File("b/x.ico")));

  // A second run finds the names taken: nothing replaced, nothing left over.
  const auto run = RunTool({"glimra-extract", src.File("b/x.ico"), "-o", out.path()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "glimra-extract: " + out.File("x.ico_0.ico") + ": file exists\n");
  EXPECT_EQ(ReadFile(out.File("x.ico_0.ico")), ReadFile(src.File("a/x.ico")));
  EXPECT_EQ(FilesIn(out.path()), (std::vector<std::string>{"x.ico_0-2.ico", "x.ico_0.ico"}));

  EXPECT_EQ(Extract({"--force"}, {src.File("b/x.ico")}, out.path()), std::vector<std::string>{out.File("x.ico_0.ico")});
  EXPECT_EQ(ReadFile(out.File("x.ico_0.ico")), ReadFile(src.File("b/x.ico")));
}

TEST(GlimraExtract, AFailedWriteLeavesNoFileBehind) {
  TempDir src, out;
  ASSERT_TRUE(ico_test::WriteFile(src.File("x.ico"), ico_test::IcoFile({ico_test::DibEntry(16, 16, 4)})));
  // A folder under the destination's name: the final rename fails after
  // the bytes were written, even for root.
  fs::create_directories(out.File("x.ico_0.ico/inside"));
  const auto run = RunTool({"glimra-extract", "--force", src.File("x.ico"), "-o", out.path()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(out.File("x.ico_0.ico") + ": "), std::string::npos) << run.err;
  EXPECT_TRUE(run.out.empty());
  EXPECT_EQ(FilesIn(out.path()), std::vector<std::string>{"x.ico_0.ico"});
  EXPECT_TRUE(fs::is_directory(out.File("x.ico_0.ico")));
}

TEST(GlimraExtract, SelectsByIdNameAndIndex) {
  const std::string shell32 = kCorpus + "/pe64/shell32.dll", comdlg32 = kCorpus + "/pe64/comdlg32.dll";
  TempDir out;
  const auto picked =
      Extract({"--index", "0", "--index=2", "--id", "4", "--name", "floppy"}, {shell32, comdlg32}, out.path());
  // The names and numbers shown come from the files' own listings.
  const auto listed = [](const std::string& file) {
    const IconSource source(file.c_str());
    return source.Icons();
  };
  const auto shellKeys = listed(shell32), comdlgKeys = listed(comdlg32);
  ASSERT_GT(shellKeys.size(), 3u);
  const auto text = [](const IconKey& key) {
    return key.kind == IconKey::Kind::Name ? key.name : std::to_string(key.number);
  };
  std::vector<std::string> expected;
  for (std::size_t i = 0; i < shellKeys.size(); ++i) {
    const bool id4 = shellKeys[i].kind == IconKey::Kind::Id && shellKeys[i].number == 4;
    if (i == 0 || i == 2 || id4) expected.push_back(out.File("shell32.dll_" + text(shellKeys[i]) + ".ico"));
  }
  for (std::size_t i = 0; i < comdlgKeys.size(); ++i) {
    if (i == 0 || i == 2 || comdlgKeys[i].name == "FLOPPY")
      expected.push_back(out.File("comdlg32.dll_" + text(comdlgKeys[i]) + ".ico"));
  }
  EXPECT_EQ(picked, expected);
  EXPECT_EQ(picked.size(), 6u);
}

TEST(GlimraExtract, SizeWritesTheOneBestImagePerGroupUnscaled) {
  const std::string regedit = kCorpus + "/pe32/regedit.exe";
  struct Case {
    const char* size;
    const char* suffix;
  };
  // regedit's first group: 256 PNG, 48 and 32 at 32, 8 and 4 bits, 16 likewise.
  for (const Case c : {Case{"256", "_256x256_32.png"}, Case{"40", "_48x48_32.png"}, Case{"32", "_32x32_32.png"},
                       Case{"512", "_256x256_32.png"}, Case{"1", "_16x16_32.png"}}) {
    TempDir out;
    const auto written = Extract({"--png", "--size", c.size, "--index", "0"}, {regedit}, out.path());
    ASSERT_EQ(written.size(), 1u) << c.size;
    EXPECT_EQ(fs::path(written[0]).filename().string(), std::string("regedit.exe_100") + c.suffix) << c.size;
  }
}

struct ExtractExit {
  const char* what;
  std::vector<std::string> arguments;  // "@" is the output folder, "@name" a file in it
  int status;
  const char* stderrHas;
};

class GlimraExtractExit : public testing::TestWithParam<ExtractExit> {};

TEST_P(GlimraExtractExit, StatusAndReason) {
  TempDir out;
  ASSERT_TRUE(ico_test::WriteFile(out.File("plain"), {'x'}));
  std::vector<std::string> arguments{"glimra-extract"};
  for (const std::string& a : GetParam().arguments)
    arguments.push_back(a == "@" ? out.path() : (a[0] == '@' ? out.File(a.substr(1)) : a));
  const auto run = RunTool(arguments);
  EXPECT_EQ(run.status, GetParam().status) << GetParam().what << "\n" << run.err;
  EXPECT_NE(run.err.find(GetParam().stderrHas), std::string::npos) << GetParam().what << ": " << run.err;
  EXPECT_EQ(FilesIn(out.path()), std::vector<std::string>{"plain"}) << GetParam().what;
}

const std::string kNotepad = kCorpus + "/pe32/notepad.exe";

INSTANTIATE_TEST_SUITE_P(
    Cases, GlimraExtractExit,
    testing::Values(ExtractExit{"missing file", {"@gone.exe", "-o", "@"}, 1, "gone.exe: cannot open"},
                    ExtractExit{"folder without -r", {kCorpus, "-o", "@"}, 1, "not a regular file"},
                    ExtractExit{"module without icons", {kCorpus + "/pe32/progman.exe", "-o", "@"}, 0, ""},
                    ExtractExit{"output is a file", {kNotepad, "-o", "@plain"}, 1, "not a folder"},
                    ExtractExit{"output missing", {kNotepad, "-o", "@nowhere"}, 1, "not a folder"},
                    ExtractExit{"no output", {kNotepad}, 2, "no output folder"},
                    ExtractExit{"no input", {"-o", "@"}, 2, "no file named"},
                    ExtractExit{"size without png", {"--size", "32", kNotepad, "-o", "@"}, 2, "--size needs --png"},
                    ExtractExit{"bad id", {"--id", "x", kNotepad, "-o", "@"}, 2, "bad --id"},
                    ExtractExit{"no match", {"--id", "9999", kNotepad, "-o", "@"}, 0, ""}));

}  // namespace
