// Cursors through glimra-extract: a module's cursor groups as .cur files
// with their hot spots, .cur files read directly, and PNGs of both.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/icon/rgba_image.h"
#include "tests/common/ico_builder.h"
#include "tests/common/pe_builder.h"
#include "tests/tools/run_tool.h"
#include "tests/tools/tool_corpus.h"

namespace {

using ico_test::ReadFile;
using ico_test::TempDir;
using tool_test::Lines;
using tool_test::RunTool;
namespace fs = std::filesystem;

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

struct CursorPart {
  int side;
  int bits;
  unsigned x, y;  // hot spot
  std::uint16_t id;
};

// A PE library with cursor group "ARROW" of the parts given, and one more
// group, 7, that names a cursor image the file does not hold.
std::string CursorModule(const TempDir& dir, const std::vector<CursorPart>& parts) {
  std::vector<std::uint8_t> group;
  Put16(group, 0);
  Put16(group, 2);
  Put16(group, static_cast<unsigned>(parts.size()));
  pe_test::PeBuilder pe;
  for (const CursorPart& part : parts) {
    const auto dib = ico_test::DibImage(part.side, part.side, part.bits, static_cast<std::uint8_t>(part.id));
    std::vector<std::uint8_t> resource;
    Put16(resource, part.x);
    Put16(resource, part.y);
    resource.insert(resource.end(), dib.begin(), dib.end());
    Put16(group, static_cast<unsigned>(part.side));
    Put16(group, static_cast<unsigned>(part.side * 2));
    Put16(group, 1);
    Put16(group, static_cast<unsigned>(part.bits));
    const auto size = static_cast<std::uint32_t>(resource.size());
    Put16(group, size & 0xFFFF);
    Put16(group, size >> 16);
    Put16(group, part.id);
    pe.AddResource(pe_test::ResId::Number(1), pe_test::ResId::Number(part.id), resource);
  }
  pe.AddResource(pe_test::ResId::Number(12), pe_test::ResId::Name("ARROW"), group);
  std::vector<std::uint8_t> hollow(group.begin(), group.begin() + 6 + 14);
  hollow[4] = 1;
  hollow[6 + 12] = 99;
  pe.AddResource(pe_test::ResId::Number(12), pe_test::ResId::Number(7), hollow);
  std::string path = dir.File("cursors.dll");
  EXPECT_TRUE(pe.Build().WriteTo(path));
  return path;
}

TEST(GlimraExtractCursors, ModuleCursorGroupsBecomeCurFilesWithTheirHotSpots) {
  TempDir src, out, again;
  const std::string module = CursorModule(src, {{32, 1, 3, 5, 1}, {48, 32, 20, 30, 2}});
  const auto run = RunTool({"glimra-extract", "--cursors", module, "-o", out.path()});
  // Group 7 cannot be read: one failure, the good group still written.
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cursor id=7 cannot be read"), std::string::npos) << run.err;
  ASSERT_EQ(Lines(run.out), std::vector<std::string>{out.File("cursors.dll_ARROW.cur")});
  const auto cur = ReadFile(out.File("cursors.dll_ARROW.cur"));
  ASSERT_GT(cur.size(), 6u + 2 * 16);
  EXPECT_EQ(cur[2], 2);  // a cursor file
  EXPECT_EQ(cur[4], 2);
  EXPECT_EQ(cur[6 + 4] | cur[6 + 5] << 8, 3);
  EXPECT_EQ(cur[6 + 6] | cur[6 + 7] << 8, 5);
  EXPECT_EQ(cur[22 + 4] | cur[22 + 5] << 8, 20);
  EXPECT_EQ(cur[22 + 6] | cur[22 + 7] << 8, 30);
  if (tool_test::HaveProgram("icotool")) {
    EXPECT_EQ(std::system(("icotool -l '" + out.File("cursors.dll_ARROW.cur") + "' >/dev/null 2>&1").c_str()), 0);
  }
  // Read back directly (no --cursors needed), the file comes out the same.
  const auto back = RunTool({"glimra-extract", out.File("cursors.dll_ARROW.cur"), "-o", again.path()});
  EXPECT_EQ(back.status, 0) << back.err;
  EXPECT_EQ(ReadFile(again.File("cursors.dll_ARROW.cur_0.cur")), cur);
}

TEST(GlimraExtractCursors, CursorPngsAreIcotoolsImagesAndIconsAreLeftOut) {
  if (!tool_test::HaveProgram("icotool")) GTEST_SKIP() << "icotool (icoutils) is not installed";
  TempDir src, cur, ours, theirs;
  const std::string module = CursorModule(src, {{32, 4, 1, 1, 1}, {32, 32, 2, 2, 2}});
  ASSERT_EQ(RunTool({"glimra-extract", "--cursors", "--name", "arrow", module, "-o", cur.path()}).status, 0);
  const std::string file = cur.File("cursors.dll_ARROW.cur");
  const auto pngs = Lines(RunTool({"glimra-extract", "--png", file, "-o", ours.path()}).out);
  ASSERT_EQ(pngs.size(), 2u);
  ASSERT_EQ(std::system(("icotool -x -o '" + theirs.path() + "' '" + file + "' 2>/dev/null").c_str()), 0);
  const auto reference = tool_test::FilesIn(theirs.path());
  ASSERT_EQ(reference.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    const auto mine = DecodeImageToRgba(ReadFile(pngs[i]));
    const auto icotool = DecodeImageToRgba(ReadFile(theirs.File(reference[i])));
    ASSERT_TRUE(mine && icotool);
    EXPECT_EQ(mine->rgba, icotool->rgba) << pngs[i];
  }
  // --cursors reads modules' cursors only: a library's icons are not written.
  TempDir none;
  const auto icons =
      RunTool({"glimra-extract", "--cursors", std::string(GLIMRA_CORPUS_DIR) + "/pe64/shell32.dll", "-o", none.path()});
  EXPECT_EQ(icons.status, 0);
  EXPECT_TRUE(icons.out.empty());
}

TEST(GlimraExtractCursors, AnUnreadableCurFileFails) {
  TempDir src, out;
  ASSERT_TRUE(ico_test::WriteFile(src.File("bad.cur"), {0, 0, 2, 0, 1, 0, 32, 32}));
  ASSERT_TRUE(ico_test::WriteFile(src.File("icon.cur"), ico_test::IcoFile({ico_test::DibEntry(16, 16, 4)})));
  const auto run = RunTool({"glimra-extract", src.File("bad.cur"), src.File("icon.cur"), "-o", out.path()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Lines(run.err).size(), 2u) << run.err;
  EXPECT_TRUE(tool_test::FilesIn(out.path()).empty());
}

}  // namespace
