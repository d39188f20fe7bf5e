// The program's arguments: options only before "--", every other argument
// a path in order; paths made absolute from the starting copy's folder by
// name, and those that do not exist dropped.

#include "app/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/common/ico_builder.h"

namespace {

using Action = GlimraCommandLine::Action;

TEST(CommandLine, ParseTable) {
  struct Case {
    std::vector<const char*> args;
    Action action;
    std::vector<std::string> paths;
  };
  const Case cases[] = {
      {{}, Action::Run, {}},
      {{"a.exe", "folder"}, Action::Run, {"a.exe", "folder"}},
      {{"--help"}, Action::Help, {}},
      {{"a.exe", "-h"}, Action::Help, {}},
      {{"--version", "--help"}, Action::Version, {}},
      {{"-V"}, Action::Version, {}},
      {{"--", "--help", "-V"}, Action::Run, {"--help", "-V"}},
      // Anything else that looks like an option is a name like any other.
      {{"--recursive", "", "x"}, Action::Run, {"--recursive", "x"}},
  };
  for (const Case& c : cases) {
    std::vector<const char*> argv{"glimra"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const GlimraCommandLine line = ParseGlimraCommandLine(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(line.action, c.action) << (c.args.empty() ? "" : c.args.front());
    EXPECT_EQ(line.paths, c.paths);
  }
}

TEST(CommandLine, HelpAndVersionTexts) {
  EXPECT_EQ(GlimraVersionText(), "glimra 1.0.2.0\n");
  const std::string usage = GlimraUsage();
  EXPECT_EQ(usage.rfind("Usage: glimra [FILE|FOLDER]...\n", 0), 0u);
  for (const char* option : {"--help", "--version", "--"}) EXPECT_NE(usage.find(option), std::string::npos);
}

TEST(CommandLine, PathsBecomeAbsoluteAndMissingOnesAreDropped) {
  ico_test::TempDir dir;
  std::filesystem::create_directories(dir.File("sub/inner"));
  std::ofstream(dir.File("sub/a b.ico")) << "x";
  std::ofstream(dir.File("top.exe")) << "x";
  const std::vector<std::string> given{"sub/a b.ico", "missing.exe", dir.File("top.exe"), "./sub/inner/../../top.exe",
                                       "sub//inner/", "..",          "/no/such"};
  const std::vector<std::string> expected{dir.File("sub/a b.ico"), dir.File("top.exe"), dir.File("top.exe"),
                                          dir.File("sub/inner"),
                                          std::filesystem::path(dir.path()).parent_path().string()};
  EXPECT_EQ(ExistingAbsolutePaths(given, dir.path() + "/sub/.."), expected);
}

}  // namespace
