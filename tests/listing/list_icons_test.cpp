// The listing worker driven through the real "&List Icon" button: which
// files each mode lists and in what order, how a stop request ends it, what
// it does with choices that change while it runs, hostile trees, and a
// window destroyed in the middle of a listing.

#include <QEvent>
#include <QObject>
#include <QWidget>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "mainwnd/glimra_dlg.h"
#include "platform/core/kernel_object.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/ui_call.h"
#include "tests/common/ico_builder.h"
#include "tests/program_support/app_test_support.h"

namespace {

namespace fs = std::filesystem;

const std::string kCorpus = GLIMRA_CORPUS_DIR;
const std::string kFuzzCorpus = std::string(GLIMRA_SOURCE_DIR) + "/fuzz/corpus";
// A module with six icon groups, every one of which loads.
const std::string kSixGroups = kCorpus + "/pe32/regedit.exe";
constexpr int kFinishMs = 60000;

class ListingWalk : public ::testing::Test {
 protected:
  void SetUp() override {
    dlg = CreateShownMainWindow(30);
    ASSERT_NE(dlg, nullptr);
  }
  void TearDown() override { DestroyMainWindow(); }

  [[nodiscard]] int Records() const { return dlg->m_listIcons.GetCount(); }
  [[nodiscard]] std::vector<std::string> Sources(int from = 0) const {
    std::vector<std::string> sources;
    for (int i = from; i < Records(); ++i)
      sources.push_back(dlg->m_listIcons.GetAt(dlg->m_listIcons.FindIndex(i)).m_strSource.str());
    return sources;
  }
  // The sources once each, in the order they first appear.
  [[nodiscard]] std::vector<std::string> Files(int from = 0) const {
    std::vector<std::string> files;
    for (const std::string& source : Sources(from)) {
      if (files.empty() || files.back() != source) files.push_back(source);
    }
    return files;
  }
  [[nodiscard]] std::string Caption() const {
    CString text;
    dlg->m_btnListIcon.GetWindowText(text);
    return text.str();
  }
  [[nodiscard]] bool StopPending() const { return WaitForSingleObject(dlg->m_hStopEvent, 0) == WAIT_OBJECT_0; }

  // An icon file of one image; seed tells the images apart.
  static void WriteIcon(const std::string& path, int seed = 1) {
    fs::create_directories(fs::path(path).parent_path());
    ASSERT_TRUE(ico_test::WriteFile(
        path, ico_test::IcoFile({ico_test::DibEntry(32, 32, 32, static_cast<std::uint8_t>(seed))})));
  }
  static void LinkSixGroups(const std::string& path) {
    fs::create_directories(fs::path(path).parent_path());
    fs::create_symlink(kSixGroups, path);
  }
  // How many icons one listing of the six-group module adds.
  int IconsOfSixGroups() {
    const int before = Records();
    dlg->ListIconsFromFile(kSixGroups.c_str());
    return Records() - before;
  }

  CGlimraDlg* dlg = nullptr;
  ico_test::TempDir dir;
};

// Both modes join with one separator whether or not the folder ends with one.
class ListingJoin : public ListingWalk, public ::testing::WithParamInterface<const char*> {};

TEST_P(ListingJoin, SelectedFilesComeInListOrderFromTheFileListsFolder) {
  for (const char* name : {"c.ico", "a.ico", "b.ico"}) WriteIcon(dir.File(name));
  // The list box sorts: a, b, c. The tree has already moved on elsewhere.
  ChooseListedFiles(*dlg, dir.path() + GetParam(), {"c.ico", "a.ico", "b.ico"}, {2, 0});
  dlg->m_strFolder = "/nonexistent-folder";
  ASSERT_TRUE(PressListAndWait(*dlg, kFinishMs));
  EXPECT_EQ(Sources(), (std::vector<std::string>{dir.File("a.ico"), dir.File("c.ico")}));
  EXPECT_EQ(Caption(), "&List Icon");
}

TEST_P(ListingJoin, ARecursiveWalkFinishesEachSubfolderBeforeItsParentsNextEntry) {
  for (const char* name : {"a.ico", "b/a.ico", "b/c/x.ico", "b/c/y/z.ico", "b/d.ico", "c.ico", "d/e.ico"}) {
    WriteIcon(dir.File(name));
  }
  ChooseRecursiveListing(*dlg, dir.path() + GetParam(), "*.ico");
  ASSERT_TRUE(PressListAndWait(*dlg, kFinishMs));
  std::vector<std::string> expected;
  for (const char* name : {"a.ico", "b/a.ico", "b/c/x.ico", "b/c/y/z.ico", "b/d.ico", "c.ico", "d/e.ico"}) {
    expected.push_back(dir.File(name));
  }
  EXPECT_EQ(Sources(), expected);
  EXPECT_EQ(Caption(), "&List Icon");
  EXPECT_EQ(dlg->m_hWorkerThread, nullptr);
}

INSTANTIATE_TEST_SUITE_P(FolderEnding, ListingJoin, ::testing::Values("", "/"));

TEST_F(ListingWalk, TheRecursivePatternIsTakenAsTypedBlanksIncluded) {
  WriteIcon(dir.File(" a.ico"));
  WriteIcon(dir.File("b.ico"));
  ChooseRecursiveListing(*dlg, dir.path(), " *.ico");
  ASSERT_TRUE(PressListAndWait(*dlg, kFinishMs));
  EXPECT_EQ(Sources(), (std::vector<std::string>{dir.File(" a.ico")}));
}

TEST_F(ListingWalk, StopDuringTheThirdOfTenSelectedFilesListsAllOfItAndNoFourth) {
  const int perFile = IconsOfSixGroups();
  ASSERT_GT(perFile, 1);
  std::vector<std::string> names;
  std::vector<int> all;
  for (int i = 0; i < 10; ++i) {
    names.push_back("f" + std::to_string(i) + ".exe");
    LinkSixGroups(dir.File(names.back()));
    all.push_back(i);
  }
  ChooseListedFiles(*dlg, dir.path(), names, all);
  const int base = Records();
  // Pressed inside the step that adds the third file's first icons.
  const ItemCountWatch watch(dlg->m_lvIcons,
                             OnceCountReaches(base + 2 * perFile + 1, [&] { ClickButton(dlg->m_btnListIcon); }));
  ASSERT_TRUE(PressListAndWait(*dlg, kFinishMs));
  EXPECT_EQ(Records(), base + 3 * perFile);
  EXPECT_EQ(Files(base), (std::vector<std::string>{dir.File("f0.exe"), dir.File("f1.exe"), dir.File("f2.exe")}));
  EXPECT_EQ(Caption(), "&List Icon");
  EXPECT_FALSE(StopPending());
}

TEST_F(ListingWalk, StopDuringTheLastSelectedFileIsConsumedByThePollAfterIt) {
  const int perFile = IconsOfSixGroups();
  for (const char* name : {"a.exe", "b.exe"}) LinkSixGroups(dir.File(name));
  ChooseListedFiles(*dlg, dir.path(), {"a.exe", "b.exe"}, {0, 1});
  const int base = Records();
  const ItemCountWatch watch(dlg->m_lvIcons,
                             OnceCountReaches(base + perFile + 1, [&] { ClickButton(dlg->m_btnListIcon); }));
  ASSERT_TRUE(PressListAndWait(*dlg, kFinishMs));
  EXPECT_EQ(Records(), base + 2 * perFile);
  EXPECT_FALSE(StopPending());
}

TEST_F(ListingWalk, StopInsideASubfolderEndsEveryLevelBeforeTheNextEntry) {
  const int perFile = IconsOfSixGroups();
  for (const char* name : {"a.exe", "b/c.exe", "b/d.exe", "b/e/f.exe", "g.exe"}) LinkSixGroups(dir.File(name));
  ChooseRecursiveListing(*dlg, dir.path(), "*.*");
  const int base = Records();
  const ItemCountWatch watch(dlg->m_lvIcons,
                             OnceCountReaches(base + perFile + 1, [&] { ClickButton(dlg->m_btnListIcon); }));
  ASSERT_TRUE(PressListAndWait(*dlg, kFinishMs));
  EXPECT_EQ(Files(base), (std::vector<std::string>{dir.File("a.exe"), dir.File("b/c.exe")}));
  EXPECT_EQ(Records(), base + 2 * perFile);
  EXPECT_FALSE(StopPending());
}

TEST_F(ListingWalk, AStopRequestLeftOverFromBeforeIsDiscarded) {
  for (const char* name : {"a.ico", "b.ico", "c.ico"}) WriteIcon(dir.File(name));
  for (const char* mode : {"selected", "recursive"}) {
    const int base = Records();
    if (std::string(mode) == "selected") {
      ChooseListedFiles(*dlg, dir.path(), {"a.ico", "b.ico", "c.ico"}, {0, 1, 2});
    } else {
      ChooseRecursiveListing(*dlg, dir.path(), "*.ico");
    }
    SetEvent(dlg->m_hStopEvent);
    ASSERT_TRUE(PressListAndWait(*dlg, kFinishMs)) << mode;
    EXPECT_EQ(Records(), base + 3) << mode;
  }
}

TEST_F(ListingWalk, ASelectionListingKeepsTheFolderAndNamesItStartedWith) {
  std::vector<std::string> names;
  std::vector<int> all;
  for (int i = 0; i < 6; ++i) {
    names.push_back("n" + std::to_string(i) + ".ico");
    WriteIcon(dir.File(names.back()), i + 1);
    all.push_back(i);
  }
  const ico_test::TempDir other;
  WriteIcon(other.File("n0.ico"), 9);
  ChooseListedFiles(*dlg, dir.path(), names, all);
  // While the first file is listed, another folder is chosen and the file
  // list refilled with one entry: later indices are gone, the new folder
  // has a file of the first's name.
  const ItemCountWatch watch(dlg->m_lvIcons, [&](int count) {
    if (count != 1) return;
    dlg->m_strFolder = other.path();
    dlg->m_strFileListFolder = other.path();
    dlg->m_lstFiles.ResetContent();
    dlg->m_lstFiles.AddString("n0.ico");
    dlg->m_lstFiles.SetSel(0, TRUE);
  });
  ASSERT_TRUE(PressListAndWait(*dlg, kFinishMs));
  std::vector<std::string> expected;
  expected.reserve(names.size());
  for (const std::string& name : names) expected.push_back(dir.File(name));
  EXPECT_EQ(Sources(), expected);
}

TEST_F(ListingWalk, ARecursiveListingKeepsTheFolderAndPatternItStartedWith) {
  for (const char* name : {"a.ico", "b.ico", "c/d.ico"}) WriteIcon(dir.File(name));
  const ico_test::TempDir other;
  WriteIcon(other.File("x.ico"));
  ChooseRecursiveListing(*dlg, dir.path(), "*.ico");
  const ItemCountWatch watch(dlg->m_lvIcons, [&](int count) {
    if (count != 1) return;
    dlg->m_strFolder = other.path();
    dlg->m_cboFileType.SetWindowText("x*");
    dlg->m_chkRecursive.SetCheck(BST_UNCHECKED);
  });
  ASSERT_TRUE(PressListAndWait(*dlg, kFinishMs));
  EXPECT_EQ(Sources(), (std::vector<std::string>{dir.File("a.ico"), dir.File("b.ico"), dir.File("c/d.ico")}));
}

TEST_F(ListingWalk, AHostileTreeIsWalkedOnWithNothingReported) {
  WriteIcon(dir.File("a.ico"), 1);
  // A folder that cannot be read (for a user without the right to read it).
  WriteIcon(dir.File("b-locked/inside.ico"), 2);
  ASSERT_EQ(::chmod(dir.File("b-locked").c_str(), 0), 0);
  // Removed once the walk has read the folder, before it gets there. The
  // worker posts its steps ahead of the display, but never more than
  // kMaxOutstandingPosts of them: with that many files of two steps
  // each in between, it cannot have reached this file when the window
  // shows the first icon.
  for (int i = 0; i < kMaxOutstandingPosts; ++i) WriteIcon(dir.File("b-step" + std::to_string(i) + ".ico"), 5);
  WriteIcon(dir.File("c-vanishing.ico"), 3);
  // Links that lead back up the tree.
  fs::create_directories(dir.File("d-loop"));
  fs::create_directory_symlink("..", dir.File("d-loop/up"));
  fs::create_directory_symlink(dir.path(), dir.File("d-loop/root"));
  fs::create_symlink("self", dir.File("d-loop/self"));
  // A large file without icons, sparse on disk.
  {
    const std::string big = dir.File("e-big.dll");
    ASSERT_TRUE(ico_test::WriteFile(big, {'M', 'Z'}));
    fs::resize_file(big, std::uintmax_t{400} << 20);
  }
  // Every kept fuzz input, anywhere in the tree.
  for (const auto& target : fs::directory_iterator(kFuzzCorpus)) {
    for (const auto& input : fs::directory_iterator(target.path())) {
      fs::create_directories(dir.File("f-fuzz/" + target.path().filename().string()));
      fs::copy_file(input.path(),
                    dir.File("f-fuzz/" + target.path().filename().string() + "/" + input.path().filename().string()));
    }
  }
  WriteIcon(dir.File("z.ico"), 4);

  ChooseRecursiveListing(*dlg, dir.path(), "*");
  const ItemCountWatch watch(dlg->m_lvIcons, [&](int count) {
    if (count == 1) fs::remove(dir.File("c-vanishing.ico"));
  });
  const ModalSeen seen = RunAndCloseModal([&] { ASSERT_TRUE(PressListAndWait(*dlg, 120000)); });
  ::chmod(dir.File("b-locked").c_str(), 0700);
  EXPECT_EQ(seen.className, "");
  const std::vector<std::string> files = Files();
  ASSERT_GE(files.size(), 2U);
  EXPECT_EQ(files.front(), dir.File("a.ico"));
  EXPECT_EQ(files.back(), dir.File("z.ico"));
  for (const std::string& file : files) {
    EXPECT_NE(file, dir.File("c-vanishing.ico"));
    EXPECT_NE(file, dir.File("e-big.dll"));
    EXPECT_EQ(file.find("/d-loop/"), std::string::npos) << file;
  }
  EXPECT_EQ(Caption(), "&List Icon");
}

// Notes, as the window's teardown starts (its frame is hidden first),
// whether the worker had left by then.
class TeardownProbe final : public QObject {
 public:
  explicit TeardownProbe(HANDLE worker) : m_worker(worker) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Hide && !seen) {
      seen = true;
      workerGone = WaitForSingleObject(m_worker, 0) == WAIT_OBJECT_0;
    }
    return QObject::eventFilter(watched, event);
  }
  bool seen = false;
  bool workerGone = false;

 private:
  HANDLE m_worker;
};

// Also the case the thread sanitizer run is for: the worker, inside a
// module's group enumeration, must not touch the window while the
// user-interface thread takes it apart.
TEST_F(ListingWalk, ClosingTheWindowMidListingEndsTheWorkerBeforeTheTeardown) {
  for (int i = 0; i < 1500; ++i) fs::create_symlink(kSixGroups, dir.File("m" + std::to_string(i) + ".exe"));
  ChooseRecursiveListing(*dlg, dir.path(), "*.exe");
  dlg->m_btnListIcon.EnableWindow(TRUE);
  ClickButton(dlg->m_btnListIcon);
  HANDLE worker = dlg->m_hWorkerThread;
  ASSERT_NE(worker, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return Records() >= 200; }, kFinishMs));
  ASSERT_EQ(WaitForSingleObject(worker, 0), WAIT_TIMEOUT);
  TeardownProbe probe(worker);
  WidgetOfWindow(dlg->GetSafeHwnd())->installEventFilter(&probe);
  DestroyMainWindow();
  dlg = nullptr;
  EXPECT_TRUE(probe.seen);
  EXPECT_TRUE(probe.workerGone);
  EXPECT_EQ(WaitForSingleObject(worker, 0), WAIT_OBJECT_0);
}

}  // namespace
