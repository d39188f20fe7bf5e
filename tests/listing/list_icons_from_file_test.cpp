// The listing of one file into the main window: the three ways of reading a
// file and their order, the records against the reference listings, the
// status-bar message, the list view and image list kept index-parallel with
// the records (also while a worker lists beside a double-clicked file), and
// the clearing worker.

#include <QApplication>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/glimra_app.h"
#include "listing/enum_icon_group_proc.h"
#include "listing/pending_icons.h"
#include "mainwnd/glimra_dlg.h"
#include "mainwnd/main_bars.h"
#include "platform/core/byte_writer.h"
#include "platform/core/data_module.h"
#include "platform/core/icon_object.h"
#include "platform/core/kernel_object.h"
#include "platform/ui/qt_bridge.h"
#include "support/framework/zu_thread.h"
#include "support/icon/icon_library.h"
#include "tests/common/ico_builder.h"
#include "tests/common/ne_builder.h"
#include "tests/common/reference_listing.h"
#include "tests/listing/failing_allocation.h"
#include "tests/program_support/app_test_support.h"

namespace {

const std::string kCorpus = GLIMRA_CORPUS_DIR;

class Listing : public ::testing::Test {
 protected:
  void SetUp() override {
    dlg = CreateShownMainWindow(30);
    ASSERT_NE(dlg, nullptr);
  }
  void TearDown() override { DestroyMainWindow(); }

  [[nodiscard]] int Items() const { return dlg->m_lvIcons.GetItemCount(); }
  [[nodiscard]] int Images() const { return dlg->m_pImageList->GetImageCount(); }
  [[nodiscard]] int Records() const { return dlg->m_listIcons.GetCount(); }
  [[nodiscard]] const CIconInfo& Record(int index) const {
    return dlg->m_listIcons.GetAt(dlg->m_listIcons.FindIndex(index));
  }
  [[nodiscard]] std::vector<std::string> Labels(int from = 0) const {
    std::vector<std::string> labels;
    for (int i = from; i < Records(); ++i) {
      const CIconInfo& info = Record(i);
      labels.push_back(info.m_strName.IsEmpty() ? "id=" + std::to_string(info.m_nID) : "name=" + info.m_strName.str());
    }
    return labels;
  }
  [[nodiscard]] std::string Status() const {
    CString text;
    dlg->m_wndStatusBar.GetWindowText(text);
    return text.str();
  }
  // Every item shows the image of its own index, and the three counts agree.
  void ExpectParallel() const {
    ASSERT_EQ(Items(), Records());
    ASSERT_EQ(Images(), Records());
    for (int i = 0; i < Items(); ++i) {
      LVITEM item{};
      item.mask = LVIF_IMAGE | LVIF_TEXT;
      item.iItem = i;
      char text[8] = "x";
      item.pszText = text;
      item.cchTextMax = sizeof text;
      ASSERT_TRUE(dlg->m_lvIcons.GetItem(&item));
      EXPECT_EQ(item.iImage, i);
      EXPECT_STREQ(text, "");
    }
  }
  // The image list's picture n against record n's icon, rebuilt from its source.
  void ExpectImagesMatchRecords() const {
    for (int i = 0; i < Records(); ++i) {
      const CIconInfo& info = Record(i);
      UniqueIcon icon;
      if (info.m_wFlags & ICONINFO_ICOFILE || info.m_wFlags & ICONINFO_EXTRACT) {
        icon.reset(info.GetIcon());
      } else {
        HMODULE module = LoadLibraryExA(info.m_strSource, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr);
        icon.reset(
            CIconInfo(info.m_strSource,
                      info.m_strName.IsEmpty() ? MAKEINTRESOURCEA(info.m_nID) : static_cast<LPCTSTR>(info.m_strName),
                      module)
                .GetIcon());
        FreeLibrary(module);
      }
      ASSERT_NE(icon, nullptr) << i;
      EXPECT_EQ(ImageList_GetPixels(dlg->m_pImageList->GetSafeHandle(), i), ScaleIconPixels(*icon, 32, 32)) << i;
    }
  }
  void Clear() {
    HANDLE thread = nullptr;
    ASSERT_TRUE(ZU_ThreadCreate(&thread, &CGlimraDlg::ClearThreadProc, dlg, ZU_THREAD_LIBRARY_HANDLE));
    ZU_ThreadYield(ZU_ThreadSelf());
    ASSERT_EQ(WaitForSingleObject(dlg->m_hStartedEvent, 500), WAIT_OBJECT_0);
    dlg->m_hWorkerThread = thread;
    ASSERT_TRUE(PumpUntil([&] { return dlg->m_hWorkerThread == nullptr; }, 10000));
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  }

  CGlimraDlg* dlg = nullptr;
};

TEST_F(Listing, EveryCorpusModuleGivesTheReferenceGroupsInOrder) {
  const auto reference = corpus_test::ReadReferenceListing();
  ASSERT_FALSE(reference.empty());
  for (const auto& module : reference) {
    const std::string& file = module.file;
    const auto groups = corpus_test::Labels(module);
    SCOPED_TRACE(file);
    const int before = Records();
    const std::string path = kCorpus + "/" + file;
    dlg->ListIconsFromFile(path.c_str());
    EXPECT_EQ(Labels(before), groups);
    for (int i = before; i < Records(); ++i) {
      EXPECT_EQ(Record(i).m_wFlags, ICONINFO_RESOURCE | ICONINFO_MODULE);
      EXPECT_EQ(Record(i).m_strSource, path.c_str());
    }
    EXPECT_EQ(Status(), "");
  }
  ExpectParallel();
  ExpectImagesMatchRecords();
}

TEST_F(Listing, AnIconFileListsItsFirstImageOnlyAndKeepsTheMessage) {
  ico_test::TempDir dir;
  // The first image is 48x48, so the 32x32 list shows it scaled down.
  const std::string path = dir.File("Three.ICO");
  ASSERT_TRUE(
      ico_test::WriteFile(path, ico_test::IcoFile({ico_test::DibEntry(48, 48, 32, 1), ico_test::DibEntry(32, 32, 8, 2),
                                                   ico_test::DibEntry(16, 16, 4, 3)})));
  dlg->ListIconsFromFile(path.c_str());
  ASSERT_EQ(Records(), 1);
  EXPECT_EQ(Record(0).m_wFlags, ICONINFO_ICOFILE | ICONINFO_RESOURCE);
  EXPECT_EQ(Record(0).m_strSource, path.c_str());
  ExpectParallel();
  ExpectImagesMatchRecords();
  UniqueIcon first(Record(0).GetIcon());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->width, 48);
  EXPECT_NE(Status().find("Listing from"), std::string::npos);
}

TEST_F(Listing, AnUnreadableIconFileListsNothingAndKeepsItsMessage) {
  ico_test::TempDir dir;
  const std::string path = dir.File("broken.ico");
  ASSERT_TRUE(ico_test::WriteFile(path, std::vector<std::uint8_t>(40, 0xEE)));
  dlg->ListIconsFromFile(path.c_str());
  EXPECT_EQ(Records(), 0);
  EXPECT_EQ(Items(), 0);
  EXPECT_EQ(Status(), "Listing from " + path);
  // A missing one likewise.
  const std::string missing = dir.File("gone.ico");
  dlg->ListIconsFromFile(missing.c_str());
  EXPECT_EQ(Records(), 0);
  EXPECT_EQ(Status(), "Listing from " + missing);
}

TEST_F(Listing, IconContentWithoutTheExtensionComesThroughTheExtraction) {
  const std::string path = kCorpus + "/misc/uninst";
  dlg->ListIconsFromFile(path.c_str());
  ASSERT_EQ(Records(), 1);
  EXPECT_EQ(Record(0).m_wFlags, ICONINFO_EXTRACT | ICONINFO_MODULE);
  EXPECT_EQ(Record(0).m_nID, 0u);
  EXPECT_EQ(Status(), "");
  ExpectParallel();
  ExpectImagesMatchRecords();
}

TEST_F(Listing, AModuleWithoutIconGroupsListsNothingAndDoesNotFallBack) {
  for (const char* file : {"pe64/attrib.exe", "pe32/progman.exe"}) {
    dlg->ListIconsFromFile((kCorpus + "/" + file).c_str());
    EXPECT_EQ(Records(), 0) << file;
    EXPECT_EQ(Status(), "") << file;
  }
  ico_test::TempDir dir;
  const std::string text = dir.File("notes.txt");
  ASSERT_TRUE(ico_test::WriteFile(text, std::vector<std::uint8_t>(100, 'n')));
  dlg->ListIconsFromFile(text.c_str());
  EXPECT_EQ(Records(), 0);
  EXPECT_EQ(Items(), 0);
}

TEST_F(Listing, AnNeLibraryOfEightThousandIconsListsEveryIconAtItsIndex) {
  constexpr int kIcons = 8000;
  ico_test::TempDir dir;
  const std::string path = dir.File("library.icl");
  ASSERT_TRUE(ne_test::IconLibrary(kIcons).WriteTo(path));
  dlg->ListIconsFromFile(path.c_str());
  ASSERT_EQ(Records(), kIcons);
  for (int i = 0; i < kIcons; ++i) {
    ASSERT_EQ(Record(i).m_nID, static_cast<UINT>(i));
    ASSERT_EQ(Record(i).m_wFlags, ICONINFO_EXTRACT | ICONINFO_MODULE);
  }
  ASSERT_EQ(Items(), kIcons);
  ASSERT_EQ(Images(), kIcons);
  // Icon n's pixels follow n (modulo 256): a sample of pictures against
  // their records' icons, rebuilt from the file.
  for (int i : {0, 1, 255, 256, 4321, kIcons - 1}) {
    const UniqueIcon icon(Record(i).GetIcon());
    ASSERT_NE(icon, nullptr) << i;
    EXPECT_EQ(ImageList_GetPixels(dlg->m_pImageList->GetSafeHandle(), i), ScaleIconPixels(*icon, 32, 32)) << i;
  }
  EXPECT_NE(ImageList_GetPixels(dlg->m_pImageList->GetSafeHandle(), 0),
            ImageList_GetPixels(dlg->m_pImageList->GetSafeHandle(), 1));
}

TEST_F(Listing, ASixteenBitFileListsByIndexUntilTheFirstIndexWithoutAnIcon) {
  ne_test::NeBuilder builder;
  const int sizes[] = {16, 32, 48};
  for (std::uint16_t i = 0; i < 3; ++i) {
    const auto image = ico_test::DibImage(sizes[i], sizes[i], 8, static_cast<std::uint8_t>(i + 1));
    builder.AddIcon(static_cast<std::uint16_t>(i + 1), image);
    std::vector<std::uint8_t> group = {0, 0, 1, 0, 1, 0};
    const auto side = static_cast<std::uint8_t>(sizes[i]);
    const auto bytes = static_cast<std::uint32_t>(image.size());
    ByteWriter(group).u8(side).u8(side).u16(0).u16(1).u16(8).u32(bytes).u16(static_cast<std::uint16_t>(i + 1));
    builder.AddIconGroup(static_cast<std::uint16_t>(10 + i), group);
  }
  ico_test::TempDir dir;
  const std::string path = dir.File("old.exe");
  ASSERT_TRUE(builder.Build().WriteTo(path));
  dlg->ListIconsFromFile(path.c_str());
  ASSERT_EQ(Records(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Record(i).m_nID, static_cast<UINT>(i));
    EXPECT_EQ(Record(i).m_wFlags, ICONINFO_EXTRACT | ICONINFO_MODULE);
  }
  EXPECT_EQ(Status(), "");
  ExpectParallel();
  ExpectImagesMatchRecords();
}

TEST_F(Listing, TheSameFileTwiceShowsItsIconsTwice) {
  const std::string path = kCorpus + "/pe32/regedit.exe";
  dlg->ListIconsFromFile(path.c_str());
  dlg->ListIconsFromFile(path.c_str());
  const std::vector<std::string> once = {"id=100", "id=132", "id=133", "id=134", "id=135", "id=136"};
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(Labels(), twice);
  ExpectParallel();
}

TEST_F(Listing, AClearEmptiesAllThreeAndTheNextIconGetsIndexZero) {
  dlg->ListIconsFromFile((kCorpus + "/pe64/comdlg32.dll").c_str());
  dlg->ListIconsFromFile((kCorpus + "/ico/idle.ico").c_str());
  ASSERT_EQ(Records(), 11);
  for (const BOOL canList : {TRUE, FALSE}) {
    dlg->m_bCanList = canList;
    Clear();
    EXPECT_EQ(Items(), 0);
    EXPECT_EQ(Images(), 0);
    EXPECT_EQ(Records(), 0);
    EXPECT_EQ(dlg->m_btnListIcon.IsWindowEnabled(), canList);
  }
  dlg->ListIconsFromFile((kCorpus + "/pe64/notepad.exe").c_str());
  ASSERT_EQ(Records(), 1);
  ExpectParallel();
  ExpectImagesMatchRecords();
}

TEST_F(Listing, TheGroupProcedureRefusesOtherTypesAndATargetWithoutWindow) {
  const std::string path = kCorpus + "/pe32/notepad.exe";
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  PendingIcons icons(*dlg, 0);
  IconGroupTarget target{&icons, path.c_str()};
  const auto param = reinterpret_cast<LONG_PTR>(&target);
  EXPECT_FALSE(EnumIconGroupProc(module, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(768), param));
  EXPECT_EQ(Records(), 0);
  EXPECT_TRUE(EnumIconGroupProc(module, RT_GROUP_ICON, MAKEINTRESOURCEA(768), param));
  EXPECT_EQ(Records(), 1);
  // A group whose icon does not load adds nothing, and the walk goes on.
  EXPECT_TRUE(EnumIconGroupProc(module, RT_GROUP_ICON, MAKEINTRESOURCEA(9999), param));
  EXPECT_EQ(Records(), 1);
  // The window comes with the batch, not from the application, which
  // forgets its main window while destroying it.
  CWnd* mainWnd = theApp.m_pMainWnd;
  theApp.m_pMainWnd = nullptr;
  EXPECT_TRUE(EnumIconGroupProc(module, RT_GROUP_ICON, MAKEINTRESOURCEA(768), param));
  theApp.m_pMainWnd = mainWnd;
  EXPECT_EQ(Records(), 2);
  target.icons = nullptr;
  EXPECT_FALSE(EnumIconGroupProc(module, RT_GROUP_ICON, MAKEINTRESOURCEA(768), param));
  FreeLibrary(module);
  EXPECT_EQ(Records(), 2);
  EXPECT_EQ(Record(1).m_strSource, path.c_str());
}

void DoubleClickFile(CGlimraDlg* dlg, const std::string& folder, const char* name) {
  dlg->m_strFolder = folder.c_str();
  dlg->m_lstFiles.ResetContent();
  dlg->m_lstFiles.AddString("aaa-first");
  const int at = dlg->m_lstFiles.AddString(name);
  // An extended-selection box's current item is its caret.
  dlg->m_lstFiles.SetCaretIndex(at);
  dlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FILE_LIST, LBN_DBLCLK),
                   reinterpret_cast<LPARAM>(dlg->m_lstFiles.GetSafeHwnd()));
}

TEST_F(Listing, ADoubleClickedFileIsJoinedToTheFolderAndListed) {
  DoubleClickFile(dlg, kCorpus + "/pe32", "regedit.exe");
  EXPECT_EQ(Records(), 6);
  DoubleClickFile(dlg, kCorpus + "/pe32/", "notepad.exe");
  ASSERT_EQ(Records(), 7);
  EXPECT_EQ(Record(0).m_strSource, (kCorpus + "/pe32/regedit.exe").c_str());
  EXPECT_EQ(Record(6).m_strSource, (kCorpus + "/pe32/notepad.exe").c_str());
  dlg->m_lstFiles.ResetContent();  // no current item
  dlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FILE_LIST, LBN_DBLCLK),
                   reinterpret_cast<LPARAM>(dlg->m_lstFiles.GetSafeHwnd()));
  EXPECT_EQ(Records(), 7);
  ExpectParallel();
}

// Memory exhausted part-way through a file the user opened costs that file
// alone: the program goes on with the items, images and records it kept in
// step, and the next file lists whole.
TEST_F(Listing, AFileThatFailsPartWayOnTheUserInterfaceThreadCostsThatFileAlone) {
  if (!failing_allocation::Available()) GTEST_SKIP() << "allocations cannot be made to fail in this build";
  const std::string folder = kCorpus + "/pe32";
  const struct {
    const char* way;
    std::function<void(const char* name)> list;
  } ways[] = {
      {"double-click", [&](const char* name) { DoubleClickFile(dlg, folder, name); }},
      {"open", [&](const char* name) { static_cast<void>(dlg->OpenPath((folder + "/" + name).c_str())); }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.way);
    const int before = Records();
    // The third 32x32 picture's pixels: the module's first icons are read.
    failing_allocation::FailOnThisThread(std::size_t{32} * 32 * sizeof(std::uint32_t), 3);
    way.list("regedit.exe");
    EXPECT_TRUE(failing_allocation::Disarm());
    const int kept = Records();
    EXPECT_LT(kept, before + 6);
    ExpectParallel();
    way.list("notepad.exe");
    ASSERT_EQ(Records(), kept + 1);
    EXPECT_EQ(Record(Records() - 1).m_strSource, (folder + "/notepad.exe").c_str());
    ExpectParallel();
  }
}

struct WorkerJob {
  CGlimraDlg* dlg;
  std::string path;
};

DWORD ListOnWorker(void* arg) {
  auto* job = static_cast<WorkerJob*>(arg);
  job->dlg->ListIconsFromFile(job->path.c_str());
  return 0;
}

// A worker lists a large library while the user double-clicks a file: the
// double-clicked file's icons come as one run between the worker's, and
// item, image and record n agree throughout.
TEST_F(Listing, AWorkerAndADoubleClickNeverInterleave) {
  WorkerJob job{dlg, kCorpus + "/pe64/shell32.dll"};
  HANDLE worker = nullptr;
  ASSERT_TRUE(ZU_ThreadCreate(&worker, &ListOnWorker, &job, ZU_THREAD_LIBRARY_HANDLE));
  ASSERT_TRUE(PumpUntil([&] { return Records() >= 20; }, 20000));
  DoubleClickFile(dlg, kCorpus + "/pe32", "regedit.exe");
  ASSERT_TRUE(PumpUntil([&] { return WaitForSingleObject(worker, 0) == WAIT_OBJECT_0; }, 60000));
  PumpEvents(20);

  const std::vector<std::string> labels = Labels();
  ASSERT_EQ(labels.size(), 184u + 6u);
  int firstRegedit = -1;
  for (int i = 0; i < Records(); ++i) {
    if (Record(i).m_strSource == (kCorpus + "/pe32/regedit.exe").c_str()) {
      if (firstRegedit < 0) firstRegedit = i;
      EXPECT_LT(i, firstRegedit + 6) << "regedit's icons are not one run";
    }
  }
  EXPECT_GE(firstRegedit, 20);
  std::vector<std::string> shell = labels;
  shell.erase(shell.begin() + firstRegedit, shell.begin() + firstRegedit + 6);
  for (const auto& module : corpus_test::ReadReferenceListing()) {
    if (module.file == "pe64/shell32.dll") {
      EXPECT_EQ(shell, corpus_test::Labels(module));
    }
  }
  ExpectParallel();
  ExpectImagesMatchRecords();

  // GLIMRA_GRAB=FILE.png keeps a picture of the window for a human to look at.
  if (const char* grab = std::getenv("GLIMRA_GRAB")) {
    QWidget* widget = WidgetOfWindow(dlg->GetSafeHwnd());
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->grab().save(grab));
  }
}

}  // namespace
