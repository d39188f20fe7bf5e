#include "support/framework/file_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A fresh folder per test, removed afterwards (permissions restored first).
class FileListTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "glimra-file-list-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    m_root = tmpl;
  }
  void TearDown() override {
    std::error_code ec;
    for (const auto& p : m_locked) fs::permissions(p, fs::perms::owner_all, ec);
    fs::remove_all(m_root, ec);
  }

  void File(const std::string& rel) {
    fs::create_directories((m_root / rel).parent_path());
    std::ofstream(m_root / rel) << "x";
  }
  void Folder(const std::string& rel) { fs::create_directories(m_root / rel); }
  void Link(const std::string& rel, const std::string& target) { fs::create_symlink(target, m_root / rel); }
  std::string SearchPath(const std::string& pattern) const { return (m_root / pattern).string(); }

  // Walks like the listing does: depth first, one reused child per level.
  // Files are recorded by their path below the root, folders with a
  // trailing separator when they are yielded.
  void Walk(CFileList& entry, std::vector<std::string>& out) const {
    if (entry.IsFile()) {
      out.push_back(Relative(entry.m_strPath));
      return;
    }
    CFileList child;
    entry.FindFirst(0);
    while (entry.FindNext(&child)) {
      if (!child.IsFile()) out.push_back(Relative(child.m_strPath) + "/");
      Walk(child, out);
    }
    entry.FindEnd();
  }
  std::vector<std::string> WalkAll(const std::string& searchPath, int subfolders = 1, int depth = 0, int hidden = 0,
                                   const char* skip = nullptr) const {
    CFileList root(searchPath, subfolders, depth, hidden, skip);
    std::vector<std::string> out;
    Walk(root, out);
    return out;
  }
  std::string Relative(const std::string& path) const {
    const std::string base = m_root.string() + "/";
    return path.rfind(base, 0) == 0 ? path.substr(base.size()) : "OUTSIDE:" + path;
  }

  fs::path m_root;
  std::vector<fs::path> m_locked;
};

using Paths = std::vector<std::string>;

TEST_F(FileListTest, NameOrderDepthFirstWithFoldersInterleaved) {
  File("b.exe");
  File("A.exe");
  File("C.exe");
  File("c/inner.exe");
  File("c/Deep/x.exe");
  File("c/z.exe");
  File("a.txt");
  EXPECT_EQ(WalkAll(SearchPath("*.exe")),
            (Paths{"A.exe", "b.exe", "c/", "c/Deep/", "c/Deep/x.exe", "c/inner.exe", "c/z.exe", "C.exe"}));
}

TEST_F(FileListTest, CaseTiesAreBrokenBytewise) {
  File("ab.exe");
  File("AB.exe");
  File("Ab.exe");
  EXPECT_EQ(WalkAll(SearchPath("*.exe")), (Paths{"AB.exe", "Ab.exe", "ab.exe"}));
}

TEST_F(FileListTest, SubfoldersAreYieldedWhateverThePatternSays) {
  File("readme");
  File("icons.d/a.ico");
  File("noext/b");
  EXPECT_EQ(WalkAll(SearchPath("*.ico")), (Paths{"icons.d/", "icons.d/a.ico", "noext/"}));
  EXPECT_EQ(WalkAll(SearchPath("*.*")), (Paths{"icons.d/", "icons.d/a.ico", "noext/", "noext/b", "readme"}));
  EXPECT_EQ(WalkAll(SearchPath("*.")), (Paths{"icons.d/", "noext/", "noext/b", "readme"}));
}

TEST_F(FileListTest, BlanksInThePatternAreLiteral) {
  File("a.exe");
  File(" b.exe");
  File("sub/c.exe");
  EXPECT_EQ(WalkAll(SearchPath(" *.exe")), (Paths{" b.exe", "sub/"}));
}

TEST_F(FileListTest, PatternWithoutWildcardNamesOneFile) {
  File("notepad.exe");
  File("other.exe");
  EXPECT_EQ(WalkAll(SearchPath("notepad.exe")), (Paths{"notepad.exe"}));
  EXPECT_EQ(WalkAll(SearchPath("NOTEPAD.EXE")), (Paths{"notepad.exe"}));
  EXPECT_EQ(WalkAll(SearchPath("missing.exe")), (Paths{}));
}

TEST_F(FileListTest, MissingFolderYieldsNothing) {
  CFileList root(SearchPath("nowhere/*.*"), 1, 0, 0, nullptr);
  EXPECT_FALSE(root.FindFirst(0));
  CFileList child;
  EXPECT_FALSE(root.FindNext(&child));
  root.FindEnd();
}

TEST_F(FileListTest, RootPathIsTheSearchPathAndIsNoFile) {
  File("a.exe");
  CFileList root(SearchPath("*.exe"), 1, 0, 0, nullptr);
  EXPECT_EQ(root.m_strPath, SearchPath("*.exe"));
  EXPECT_FALSE(root.IsFile());
  ASSERT_TRUE(root.FindFirst(0));
  CFileList child;
  ASSERT_TRUE(root.FindNext(&child));
  EXPECT_TRUE(child.IsFile());
  EXPECT_EQ(child.m_strPath, (m_root / "a.exe").string());
  // A file has no contents, and no flag but 0 is defined.
  EXPECT_FALSE(child.FindFirst(0));
  EXPECT_FALSE(root.FindFirst(1));
}

TEST_F(FileListTest, FolderEndingInSeparatorGetsNoSecondOne) {
  File("a.exe");
  CFileList root(m_root.string() + "//*.exe", 1, 0, 0, nullptr);
  ASSERT_TRUE(root.FindFirst(0));
  CFileList child;
  ASSERT_TRUE(root.FindNext(&child));
  EXPECT_EQ(child.m_strPath, m_root.string() + "//a.exe");
}

TEST_F(FileListTest, SymlinkLoopsAreNotDescended) {
  File("top/a.exe");
  Link("top/self", ".");
  Link("top/up", "..");
  Link("top/root", m_root.string());
  EXPECT_EQ(WalkAll(SearchPath("*.exe")), (Paths{"top/", "top/a.exe"}));
}

TEST_F(FileListTest, LinksOutOfTheTreeAndBackEnd) {
  File("tree/x.exe");
  File("outside/y.exe");
  Link("tree/out", (m_root / "outside").string());
  Link("outside/back", (m_root / "tree").string());
  EXPECT_EQ(WalkAll((m_root / "tree" / "*.exe").string()), (Paths{"tree/out/", "tree/out/y.exe", "tree/x.exe"}));
}

TEST_F(FileListTest, ALinkedFolderIsWalkedOnce) {
  // Two links to one folder on every level would make a naive walk take
  // 2^n steps; each linked folder is entered once.
  const int levels = 20;
  std::string rel = "d";
  for (int i = 0; i < levels; ++i) {
    Folder(rel);
    rel += "/d";
  }
  File("d/f.exe");
  rel = "d";
  for (int i = 0; i < levels - 1; ++i) {
    Link(rel + "/l1", "d");
    Link(rel + "/l2", "d");
    rel += "/d";
  }
  const Paths got = WalkAll(SearchPath("*.exe"));
  EXPECT_LT(got.size(), 200u);
  EXPECT_EQ(std::count(got.begin(), got.end(), "d/f.exe"), 1);
}

TEST_F(FileListTest, LinkedFilesAreFollowedDanglingLinksAndPipesAreNot) {
  File("real.exe");
  Link("linked.exe", "real.exe");
  Link("dangling.exe", "gone.exe");
  ASSERT_EQ(mkfifo((m_root / "pipe.exe").c_str(), 0600), 0);
  EXPECT_EQ(WalkAll(SearchPath("*.exe")), (Paths{"linked.exe", "real.exe"}));
}

TEST_F(FileListTest, UnreadableFolderYieldsNothing) {
  File("open/a.exe");
  File("locked/b.exe");
  fs::permissions(m_root / "locked", fs::perms::none);
  m_locked.push_back(m_root / "locked");
  if (access((m_root / "locked").c_str(), R_OK) == 0) {
    GTEST_SKIP() << "running with privileges that read any folder (root)";
  }
  EXPECT_EQ(WalkAll(SearchPath("*.exe")), (Paths{"locked/", "open/", "open/a.exe"}));
}

TEST_F(FileListTest, ThousandsOfFiles) {
  const int count = 3000;
  for (int i = 0; i < count; ++i) File("many/f" + std::to_string(100000 + i) + ".exe");
  const Paths got = WalkAll(SearchPath("*.exe"));
  ASSERT_EQ(got.size(), static_cast<std::size_t>(count) + 1);
  EXPECT_EQ(got[1], "many/f100000.exe");
  EXPECT_EQ(got.back(), "many/f" + std::to_string(100000 + count - 1) + ".exe");
  EXPECT_TRUE(std::is_sorted(got.begin() + 1, got.end()));
}

TEST_F(FileListTest, DeepTreeAndTheDepthCap) {
  std::string rel;
  for (int i = 0; i < CFileList::kMaxFolderDepth + 5; ++i) rel += "d/";
  Folder(rel);
  File(rel + "bottom.exe");
  File("d/d/d/near.exe");
  const Paths got = WalkAll(SearchPath("*.exe"));
  EXPECT_EQ(std::count(got.begin(), got.end(), "d/d/d/near.exe"), 1);
  EXPECT_EQ(std::count(got.begin(), got.end(), rel + "bottom.exe"), 0);
  EXPECT_EQ(std::count_if(got.begin(), got.end(), [](const std::string& p) { return p.back() == '/'; }),
            CFileList::kMaxFolderDepth);
}

TEST_F(FileListTest, Options) {
  File("a.exe");
  File(".hidden.exe");
  File("sub/b.exe");
  File("sub/deeper/c.exe");
  File(".git/d.exe");
  File("skipme/e.exe");
  EXPECT_EQ(WalkAll(SearchPath("*.exe"), 0), (Paths{".hidden.exe", "a.exe"}));
  EXPECT_EQ(WalkAll(SearchPath("*.exe"), 1, 1),
            (Paths{".git/", ".git/d.exe", ".hidden.exe", "a.exe", "skipme/", "skipme/e.exe", "sub/", "sub/b.exe"}));
  EXPECT_EQ(WalkAll(SearchPath("*.exe"), 1, 0, 1),
            (Paths{"a.exe", "skipme/", "skipme/e.exe", "sub/", "sub/b.exe", "sub/deeper/", "sub/deeper/c.exe"}));
  EXPECT_EQ(WalkAll(SearchPath("*.exe"), 1, 0, 1, "SKIP*"),
            (Paths{"a.exe", "sub/", "sub/b.exe", "sub/deeper/", "sub/deeper/c.exe"}));
}

TEST_F(FileListTest, ChildIsRefilledAndForgetsItsOldEnumeration) {
  File("one/a.exe");
  File("two/b.exe");
  CFileList root(SearchPath("*.exe"), 1, 0, 0, nullptr);
  ASSERT_TRUE(root.FindFirst(0));
  CFileList child;
  ASSERT_TRUE(root.FindNext(&child));
  ASSERT_TRUE(child.FindFirst(0));
  // Refilling the child before its enumeration was ended drops it.
  ASSERT_TRUE(root.FindNext(&child));
  EXPECT_EQ(Relative(child.m_strPath), "two");
  CFileList grandchild;
  EXPECT_FALSE(child.FindNext(&grandchild));
  ASSERT_TRUE(child.FindFirst(0));
  ASSERT_TRUE(child.FindNext(&grandchild));
  EXPECT_EQ(Relative(grandchild.m_strPath), "two/b.exe");
  EXPECT_FALSE(root.FindNext(&child));
}

}  // namespace
