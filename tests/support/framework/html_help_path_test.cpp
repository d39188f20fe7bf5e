#include "support/framework/html_help_path.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "tests/common/ico_builder.h"

namespace {

using ico_test::TempDir;

class HtmlHelpPath : public ::testing::Test {
 protected:
  void TearDown() override { unsetenv("GLIMRA_PROGRAM_DIR"); }
  static void LookIn(const std::string& folder) { setenv("GLIMRA_PROGRAM_DIR", folder.c_str(), 1); }
};

TEST_F(HtmlHelpPath, FindsTheInstalledHelpFile) {
  TempDir dir;
  ASSERT_TRUE(ico_test::WriteFile(dir.File(kHtmlHelpFileName), {'x'}));
  LookIn(dir.path());
  char buffer[MAX_PATH];
  EXPECT_EQ(GetHTMLHelpPath(buffer), buffer);
  EXPECT_EQ(std::string(buffer), dir.File(kHtmlHelpFileName));
}

TEST_F(HtmlHelpPath, EmptyWhenNotInstalled) {
  TempDir dir;
  ASSERT_EQ(mkdir(dir.File(kHtmlHelpFileName).c_str(), 0700), 0);  // a folder is no help file
  LookIn(dir.path());
  char buffer[MAX_PATH] = "stale";
  EXPECT_STREQ(GetHTMLHelpPath(buffer), "");
}

TEST_F(HtmlHelpPath, EmptyWhenThePathWouldNotFit) {
  TempDir dir;
  std::string folder = dir.path();
  while (folder.size() + 1 + std::string(kHtmlHelpFileName).size() < MAX_PATH) {
    folder += "/deep-folder-name";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
  }
  ASSERT_TRUE(ico_test::WriteFile(folder + "/" + kHtmlHelpFileName, {'x'}));
  LookIn(folder);
  char buffer[MAX_PATH] = "stale";
  EXPECT_STREQ(GetHTMLHelpPath(buffer), "");
}

}  // namespace
