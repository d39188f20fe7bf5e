#include "support/framework/fill_file_list_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/ui/geometry.h"
#include "platform/ui/list_box.h"
#include "tests/common/ico_builder.h"

namespace fs = std::filesystem;

namespace {

class FillFileListBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_parent.CreateEx(0, WC_GENERIC, "host", WS_POPUP, CRect(0, 0, 200, 200), nullptr, 0));
    ASSERT_TRUE(m_list.Create(WS_VISIBLE | LBS_SORT | LBS_NOTIFY, CRect(0, 0, 100, 100), &m_parent, 1034));
    for (const char* name : {"b.ico", "a.ICO", "c.exe", "README", "noext.", "x.tar.gz"}) {
      std::ofstream(fs::path(m_dir.path()) / name) << "x";
    }
    fs::create_directory(fs::path(m_dir.path()) / "folder.ico");
    fs::create_directory(fs::path(m_dir.path()) / "sub");
  }
  void TearDown() override { m_parent.DestroyWindow(); }

  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (int i = 0; i < m_list.GetCount(); ++i) {
      CString text;
      m_list.GetText(i, text);
      names.push_back(text.str());
    }
    return names;
  }
  std::string Search(const std::string& pattern) const { return m_dir.path() + "/" + pattern; }

  ico_test::TempDir m_dir;
  CWnd m_parent;
  CListBox m_list;
};

struct PatternCase {
  const char* pattern;
  std::vector<std::string> names;  // as the sorted list box shows them
};

TEST_F(FillFileListBoxTest, PatternsTable) {
  const PatternCase cases[] = {
      {"*.*", {"a.ICO", "b.ico", "c.exe", "noext.", "README", "x.tar.gz"}},
      {"*", {"a.ICO", "b.ico", "c.exe", "noext.", "README", "x.tar.gz"}},
      {"*.ico", {"a.ICO", "b.ico"}},  // letter case folded; the folder is left out
      {"*.", {"noext.", "README"}},
      {"?.exe", {"c.exe"}},
      {"*.gz", {"x.tar.gz"}},
      {"readme", {"README"}},
      {"*.bmp", {}},
  };
  for (const PatternCase& c : cases) {
    const int added = ZUFillFileListBox(Search(c.pattern).c_str(), m_list.GetSafeHwnd());
    std::vector<std::string> sorted = Entries();
    // Compare as the box sorts, whatever its exact collation.
    std::vector<std::string> expected = c.names;
    std::sort(sorted.begin(), sorted.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sorted, expected) << c.pattern;
    EXPECT_EQ(added, static_cast<int>(c.names.size())) << c.pattern;
  }
}

TEST_F(FillFileListBoxTest, EmptiesTheBoxFirstAndCopesWithBadInput) {
  m_list.AddString("stale entry");
  EXPECT_EQ(ZUFillFileListBox(Search("*.exe").c_str(), m_list.GetSafeHwnd()), 1);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"c.exe"}));

  EXPECT_EQ(ZUFillFileListBox((m_dir.path() + "/missing/*.*").c_str(), m_list.GetSafeHwnd()), 0);
  EXPECT_EQ(m_list.GetCount(), 0);
  m_list.AddString("stale entry");
  EXPECT_EQ(ZUFillFileListBox(nullptr, m_list.GetSafeHwnd()), 0);
  EXPECT_EQ(m_list.GetCount(), 0);
  EXPECT_EQ(ZUFillFileListBox(Search("*.*").c_str(), nullptr), -1);
}

}  // namespace
