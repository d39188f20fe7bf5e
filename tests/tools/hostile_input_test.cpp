// The tools over hostile files: every kept fuzz input, built files with
// lying directories, names that try to escape, links that loop. Never a
// crash, never a write outside the output folder, never a partial file.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "support/icon/rgba_image.h"
#include "tests/common/ico_builder.h"
#include "tests/common/ne_builder.h"
#include "tests/common/pe_builder.h"
#include "tests/tools/run_tool.h"

namespace {

using ico_test::TempDir;
using tool_test::Lines;
using tool_test::RunTool;
namespace fs = std::filesystem;

const std::string kFuzzCorpus = std::string(GLIMRA_SOURCE_DIR) + "/fuzz/corpus";

std::set<std::string> Everything(const std::string& root) {
  std::set<std::string> paths;
  for (const auto& e : fs::recursive_directory_iterator(root)) paths.insert(e.path().string());
  return paths;
}

// A tree of hostile inputs under root/in.
void BuildHostileTree(const TempDir& root) {
  const std::string in = root.File("in");
  for (const auto& target : fs::directory_iterator(kFuzzCorpus)) {
    for (const auto& input : fs::directory_iterator(target.path())) {
      fs::create_directories(in + "/" + target.path().filename().string());
      fs::copy_file(input.path(),
                    in + "/" + target.path().filename().string() + "/" + input.path().filename().string());
      // The same bytes under names that pick the other ways of reading.
      fs::copy_file(input.path(),
                    in + "/" + target.path().filename().string() + "/" + input.path().filename().string() + ".ico");
      fs::copy_file(input.path(),
                    in + "/" + target.path().filename().string() + "/" + input.path().filename().string() + ".cur");
    }
  }
  const auto image = ico_test::DibImage(16, 16, 8);
  const auto size = static_cast<std::uint32_t>(image.size());
  // Group entries that lie about sizes and ids; names that try to escape.
  pe_test::PeBuilder pe;
  pe.AddIconGroup(pe_test::ResId::Name("../../../ESCAPE"), pe_test::GroupIconBytes({{16, 16, 0, 1, 8, size, 1}}))
      .AddIconGroup(pe_test::ResId::Name("/TMP/ABS"), pe_test::GroupIconBytes({{0, 0, 0, 1, 32, 0xFFFFFFF0u, 1}}))
      .AddIconGroup(pe_test::ResId::Number(3), pe_test::GroupIconBytes({{16, 16, 0, 1, 8, size, 77}}))
      .AddIcon(1, image);
  ASSERT_TRUE(pe.Build().WriteTo(in + "/evil.dll"));
  const auto ne =
      ne_test::NeBuilder()
          .AddIconGroup(1, pe_test::GroupIconBytes({{16, 16, 0, 1, 8, 0xFFFF, 1}, {32, 32, 0, 1, 8, size, 5}}))
          .AddNamedIconGroup("../UP", pe_test::GroupIconBytes({{16, 16, 0, 1, 8, size, 1}}))
          .AddIcon(1, image)
          .Build();
  ASSERT_TRUE(ne.WriteTo(in + "/evil16.exe"));
  ASSERT_TRUE(ico_test::WriteFile(in + "/empty.ico", {}));
  fs::create_directories(in + "/loop");
  fs::create_directory_symlink("..", in + "/loop/up");
  fs::create_symlink("self", in + "/loop/self");
}

TEST(HostileInput, ExtractWritesOnlyWholeFilesInsideTheOutputFolder) {
  TempDir root;
  BuildHostileTree(root);
  const auto before = Everything(root.File("in"));
  struct Mode {
    std::vector<std::string> options;
    long escapes;  // files written for the group named "../../../ESCAPE"
  };
  for (const Mode& mode :
       {Mode{{}, 1}, Mode{{"--png"}, 1}, Mode{{"--cursors"}, 0}, Mode{{"--png", "--size", "48", "--cursors"}, 0}}) {
    const auto& options = mode.options;
    const std::string out = root.File("out");
    fs::remove_all(out);
    fs::create_directory(out);
    std::vector<std::string> arguments{"glimra-extract", "-r"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.insert(arguments.end(), {root.File("in"), "-o", out});
    const auto run = RunTool(arguments);
    ASSERT_TRUE(run.status == 0 || run.status == 1) << run.status << "\n" << run.err;
    // Every name on stdout is a regular file directly in the folder, and
    // nothing else is there: no temporary file, no folder, no partial file.
    std::vector<std::string> written = Lines(run.out);
    std::sort(written.begin(), written.end());
    std::vector<std::string> present;
    for (const auto& e : fs::directory_iterator(out)) {
      EXPECT_TRUE(e.is_regular_file() && !e.is_symlink()) << e.path();
      present.push_back(e.path().string());
    }
    std::sort(present.begin(), present.end());
    EXPECT_EQ(present, written);
    EXPECT_FALSE(written.empty());
    EXPECT_EQ(std::count_if(written.begin(), written.end(),
                            [](const std::string& p) { return p.find("ESCAPE") != std::string::npos; }),
              mode.escapes);
  }
  // The inputs and the rest of the tree are untouched.
  EXPECT_EQ(Everything(root.File("in")), before);
  std::vector<std::string> top;
  for (const auto& e : fs::directory_iterator(root.path())) top.push_back(e.path().filename().string());
  std::sort(top.begin(), top.end());
  EXPECT_EQ(top, (std::vector<std::string>{"in", "out"}));
}

TEST(HostileInput, TheThumbnailerWritesAFittingPngOrNothing) {
  TempDir root;
  BuildHostileTree(root);
  const std::string out = root.File("thumb.png");
  int written = 0, refused = 0;
  for (const auto& e : fs::recursive_directory_iterator(root.File("in"))) {
    if (e.is_symlink() || !e.is_regular_file()) continue;
    fs::remove(out);
    const auto run = RunTool({"glimra-thumbnailer", "-s", "24", e.path().string(), out});
    ASSERT_TRUE(run.status == 0 || run.status == 1) << e.path() << "\n" << run.err;
    if (run.status == 1) {
      ++refused;
      EXPECT_FALSE(fs::exists(out)) << e.path();
      EXPECT_EQ(Lines(run.err).size(), 1u) << e.path() << ": " << run.err;
      continue;
    }
    ++written;
    const auto thumb = DecodeImageToRgba(ico_test::ReadFile(out));
    ASSERT_TRUE(thumb) << e.path();
    EXPECT_LE(thumb->width, 24) << e.path();
    EXPECT_LE(thumb->height, 24) << e.path();
  }
  // A link to itself cannot be opened: refused like any unreadable file.
  fs::remove(out);
  const auto loop = RunTool({"glimra-thumbnailer", root.File("in/loop/self"), out});
  EXPECT_EQ(loop.status, 1);
  EXPECT_FALSE(fs::exists(out));
  EXPECT_GT(written, 5);
  EXPECT_GT(refused, 5);
  std::vector<std::string> top;
  for (const auto& e : fs::directory_iterator(root.path())) top.push_back(e.path().filename().string());
  EXPECT_EQ(top, std::vector<std::string>{"in"});
}

}  // namespace
