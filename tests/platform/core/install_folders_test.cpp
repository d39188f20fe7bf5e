#include "platform/core/install_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/common/ico_builder.h"

namespace {

using ico_test::TempDir;

// Points the lookup at a folder for the test's lifetime.
class ProgramDirOverride {
 public:
  explicit ProgramDirOverride(const std::string& folder) { setenv("GLIMRA_PROGRAM_DIR", folder.c_str(), 1); }
  ProgramDirOverride(const ProgramDirOverride&) = delete;
  ProgramDirOverride& operator=(const ProgramDirOverride&) = delete;
  ~ProgramDirOverride() { unsetenv("GLIMRA_PROGRAM_DIR"); }
};

void WriteMarker(const std::string& path) { ASSERT_TRUE(ico_test::WriteFile(path, {'x'})); }

TEST(InstallFolders, OverrideReplacesEveryFolder) {
  TempDir dir;
  ProgramDirOverride pin(dir.path());
  EXPECT_EQ(InstallFolders(), std::vector<std::string>{dir.path()});
}

TEST(InstallFolders, WithoutOverrideTheProgramFolderComesFirst) {
  unsetenv("GLIMRA_PROGRAM_DIR");
  const auto folders = InstallFolders();
  ASSERT_GE(folders.size(), 1u);
  char exe[4096] = {};
  ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
  EXPECT_EQ(std::string(exe).substr(0, folders[0].size() + 1), folders[0] + "/");
}

TEST(InstallFolders, ThenTheDataFolderBesideTheProgramsFolder) {
  unsetenv("GLIMRA_PROGRAM_DIR");
  const auto folders = InstallFolders();
  ASSERT_GE(folders.size(), 3u);
  // <prefix>/bin/../share/glimra, whatever prefix the copy was installed under.
  EXPECT_EQ(folders[1].rfind(folders[0] + "/", 0), 0u) << folders[1];
  EXPECT_EQ(folders[1].substr(folders[1].size() - 7), "/glimra");
  EXPECT_EQ(folders[2].substr(folders[2].size() - 7), "/glimra");
}

TEST(InstallFolders, FindsOnlyRegularFilesByBareName) {
  TempDir dir;
  ProgramDirOverride pin(dir.path());
  WriteMarker(dir.File("present.txt"));
  ASSERT_EQ(mkdir(dir.File("folder").c_str(), 0700), 0);
  EXPECT_EQ(FindInstalledFile("present.txt"), dir.File("present.txt"));
  EXPECT_FALSE(FindInstalledFile("missing.txt"));
  EXPECT_FALSE(FindInstalledFile("folder"));
  EXPECT_FALSE(FindInstalledFile(""));
  // A name with a folder part is not a name to look up.
  EXPECT_FALSE(FindInstalledFile("../" + dir.path().substr(dir.path().rfind('/') + 1) + "/present.txt"));
}

}  // namespace
