// Icons out of the window: Copy and a drag carry the first selected icon's
// largest image as PNG and every selected icon as the .ico Save As writes;
// Export writes the names and bytes glimra-extract writes.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "commands/icon_export.h"
#include "mainwnd/glimra_dlg.h"
#include "platform/ui/export_folder_dialog.h"
#include "platform/ui/message_box.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/transfer_out.h"
#include "res/resource_ids.h"
#include "support/icon/rgba_image.h"
#include "tests/commands/window_input.h"
#include "tests/common/ico_builder.h"
#include "tests/common/pe_builder.h"
#include "tests/program_support/app_test_support.h"
#include "tests/tools/run_tool.h"

namespace fs = std::filesystem;

namespace {

using Files = std::map<std::string, std::vector<std::uint8_t>>;  // name -> bytes

std::vector<std::uint8_t> Bytes(const std::string& path) { return ico_test::ReadFile(path); }

Files FilesIn(const std::string& folder) {
  Files files;
  for (const auto& entry : fs::directory_iterator(folder))
    files[entry.path().filename().string()] = Bytes(entry.path());
  return files;
}

// What a transfer carried: the PNG and each file's name and bytes.
struct Carried {
  std::vector<std::uint8_t> png;
  Files files;
};

Carried Read(const QMimeData& mime) {
  Carried carried;
  const QByteArray png = mime.data("image/png");
  carried.png.assign(png.begin(), png.end());
  for (const QUrl& url : mime.urls()) {
    const fs::path path = url.toLocalFile().toStdString();
    carried.files[path.filename().string()] = Bytes(path);
  }
  return carried;
}

class IconTransfer : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    // A module whose group 101 holds 16, 48 and 32 pixel images (the
    // largest not last), a named group, and an icon file.
    m_small = ico_test::DibImage(16, 16, 8, 4);
    m_large = ico_test::DibImage(48, 48, 32, 5);
    m_middle = ico_test::DibImage(32, 32, 4, 6);
    pe_test::PeBuilder builder;
    builder.AddIcon(1, m_small);
    builder.AddIcon(2, m_large);
    builder.AddIcon(3, m_middle);
    builder.AddIconGroup(pe_test::ResId::Number(101), pe_test::GroupIconBytes({{16, 16, 0, 1, 8, Size(m_small), 1},
                                                                               {48, 48, 0, 1, 32, Size(m_large), 2},
                                                                               {32, 32, 16, 1, 4, Size(m_middle), 3}}));
    builder.AddIconGroup(pe_test::ResId::Name("LOGO"), pe_test::GroupIconBytes({{16, 16, 0, 1, 8, Size(m_small), 1}}));
    m_module = m_sources.File("m.dll");
    ASSERT_TRUE(builder.Build().WriteTo(m_module));
    m_ico = m_sources.File("two.ico");
    ASSERT_TRUE(
        ico_test::WriteFile(m_ico, ico_test::IcoFile({ico_test::DibEntry(16, 16, 8), ico_test::DibEntry(24, 24, 4)})));
    dlg->ListIconsFromFile(CString(m_module.c_str()));
    dlg->ListIconsFromFile(CString(m_ico.c_str()));
    ASSERT_EQ(dlg->m_lvIcons.GetItemCount(), 3);
  }
  void TearDown() override {
    WatchDragsForTests({});
    AnswerExportFolderForTests({});
    MainWindowTest::TearDown();
  }
  static std::uint32_t Size(const std::vector<std::uint8_t>& bytes) { return static_cast<std::uint32_t>(bytes.size()); }
  void SelectAll() const {
    for (int i = 0; i < dlg->m_lvIcons.GetItemCount(); ++i) {
      static_cast<void>(dlg->m_lvIcons.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED));
    }
  }
  // The item whose record is group 101, selected first.
  int Item101() const {
    for (int i = 0; i < dlg->m_lvIcons.GetItemCount(); ++i) {
      const CIconInfo& info = dlg->m_listIcons.GetAt(dlg->m_listIcons.FindIndex(i));
      if (info.m_strName.IsEmpty() && info.m_nID == 101) return i;
    }
    return -1;
  }
  // What Save As writes for every listed icon, by glimra-extract's name.
  Files SavedAs() const {
    Files files;
    const ico_test::TempDir out;
    for (int i = 0; i < dlg->m_lvIcons.GetItemCount(); ++i) {
      const CIconInfo& info = dlg->m_listIcons.GetAt(dlg->m_listIcons.FindIndex(i));
      const std::string path = out.File("saved.ico");
      EXPECT_TRUE(info.SaveIcon(path.c_str()));
      const std::string source = fs::path(info.m_strSource.str()).filename().string();
      const IconKey key = ExtractKeyOf(info);
      files[source + "_" + (key.kind == IconKey::Kind::Name ? key.name : std::to_string(key.number)) + ".ico"] =
          Bytes(path);
      fs::remove(path);
    }
    return files;
  }
  void ExpectLargestImage(const std::vector<std::uint8_t>& png) const {
    QImage image;
    ASSERT_TRUE(image.loadFromData(png.data(), static_cast<int>(png.size()), "PNG"));
    const auto want = DecodeImageToRgba(m_large);
    ASSERT_TRUE(want);
    image = image.convertToFormat(QImage::Format_RGBA8888);
    ASSERT_EQ(image.width(), want->width);
    ASSERT_EQ(image.height(), want->height);
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < image.height(); ++y) {
      const auto* line = image.constScanLine(y);
      pixels.insert(pixels.end(), line, line + std::ptrdiff_t{4} * image.width());
    }
    EXPECT_EQ(pixels, want->rgba);
  }

  ico_test::TempDir m_sources;
  std::string m_module;
  std::string m_ico;
  std::vector<std::uint8_t> m_small, m_large, m_middle;
};

TEST_F(IconTransfer, CtrlCPutsTheLargestImageAndEveryIconAsSaveAsWritesIt) {
  // Group 101 and the icon file; the named group, listed first, is left out.
  ASSERT_EQ(Item101(), 1);
  static_cast<void>(dlg->m_lvIcons.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED));
  static_cast<void>(dlg->m_lvIcons.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED));
  QGuiApplication::clipboard()->clear();
  PressKeyIn(dlg->m_lvIcons.GetSafeHwnd(), Qt::Key_C, Qt::ControlModifier);
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(mime, nullptr);
  ASSERT_TRUE(mime->hasFormat("image/png"));
  ASSERT_TRUE(mime->hasFormat("text/uri-list"));
  const Carried carried = Read(*mime);
  ExpectLargestImage(carried.png);
  Files want = SavedAs();
  ASSERT_EQ(want.erase("m.dll_LOGO.ico"), 1u);
  EXPECT_EQ(carried.files, want);
}

TEST_F(IconTransfer, CopyFromTheMenuAndADragCarryTheSame) {
  const int item = Item101();
  ASSERT_GE(item, 0);
  static_cast<void>(dlg->m_lvIcons.SetItemState(item, LVIS_SELECTED, LVIS_SELECTED));
  QGuiApplication::clipboard()->clear();
  dlg->SendMessage(WM_COMMAND, ID_ICONS_COPY, 0);
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(mime, nullptr);
  const Carried copied = Read(*mime);
  ExpectLargestImage(copied.png);
  ASSERT_EQ(copied.files.size(), 1u);
  EXPECT_EQ(copied.files.begin()->first, "m.dll_101.ico");

  // The user presses on the selected item and moves away with the button held.
  std::optional<Carried> dragged;
  WatchDragsForTests([&](const QMimeData& carried) { dragged = Read(carried); });
  auto* view = dynamic_cast<QAbstractItemView*>(WidgetOfWindow(dlg->m_lvIcons));
  ASSERT_NE(view, nullptr);
  const QPoint from = view->visualRect(view->model()->index(item, 0)).center();
  const QPoint to = from + QPoint(QApplication::startDragDistance() * 3, 0);
  QMouseEvent press(QEvent::MouseButtonPress, from, view->viewport()->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(view->viewport(), &press);
  // The view turns the first move into a drag and starts it past the distance.
  for (const QPoint at : {from + QPoint(1, 0), to}) {
    QMouseEvent move(QEvent::MouseMove, at, view->viewport()->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
  }
  QMouseEvent release(QEvent::MouseButtonRelease, to, view->viewport()->mapToGlobal(to), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(view->viewport(), &release);
  ASSERT_TRUE(dragged.has_value());
  EXPECT_EQ(dragged->png, copied.png);
  EXPECT_EQ(dragged->files, copied.files);
}

TEST_F(IconTransfer, ExportWritesWhatGlimraExtractWrites) {
  SelectAll();
  struct Row {
    const char* what;
    ExportImages images;
    unsigned size;
    std::vector<std::string> toolOptions;
    int files;
  };
  const Row rows[] = {
      {"ico", ExportImages::kIcoFiles, 48, {}, 3},
      {"every image", ExportImages::kEveryImageAsPng, 48, {"--png"}, 6},
      {"best for 24", ExportImages::kBestImageAsPng, 24, {"--png", "--size=24"}, 3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const ico_test::TempDir ours;
    const ico_test::TempDir tools;
    AnswerExportFolderForTests([&](const std::string&) { return ExportAnswer{ours.path(), row.images, row.size}; });
    dlg->SendMessage(WM_COMMAND, ID_ICONS_EXPORT, 0);
    std::vector<std::string> command{"glimra-extract", "-o", tools.path()};
    command.insert(command.end(), row.toolOptions.begin(), row.toolOptions.end());
    command.push_back(m_module);
    command.push_back(m_ico);
    const tool_test::ToolRun run = tool_test::RunTool(command);
    ASSERT_EQ(run.status, 0) << run.err;
    const Files written = FilesIn(ours.path());
    EXPECT_EQ(static_cast<int>(written.size()), row.files);
    EXPECT_EQ(written, FilesIn(tools.path()));
    EXPECT_EQ(dlg->m_wndStatusBar.GetPaneText(0).str(), std::to_string(row.files) + " files written to " + ours.path());
  }
}

TEST_F(IconTransfer, ExportFailuresAreListedOnceAtTheEnd) {
  SelectAll();
  const ico_test::TempDir out;
  AnswerExportFolderForTests([&](const std::string&) { return ExportAnswer{out.path(), ExportImages::kIcoFiles, 0}; });
  dlg->SendMessage(WM_COMMAND, ID_ICONS_EXPORT, 0);
  ASSERT_EQ(FilesIn(out.path()).size(), 3u);
  // Again into the same folder: nothing is replaced, and one box tells.
  std::vector<std::string> boxes;
  SetModalHook([&](const ModalRun& modal) -> std::optional<int> {
    if (modal.kind == ModalKind::MessageBox) boxes.push_back(modal.text.str());
    return IDOK;
  });
  dlg->SendMessage(WM_COMMAND, ID_ICONS_EXPORT, 0);
  SetModalHook({});
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(std::count(boxes[0].begin(), boxes[0].end(), '\n'), 4);  // a heading, a blank line, three failures
  EXPECT_NE(boxes[0].find("m.dll_101.ico"), std::string::npos);
  EXPECT_EQ(dlg->m_wndStatusBar.GetPaneText(0).str(), "0 files written to " + out.path());
  // Cancelled: nothing happens.
  AnswerExportFolderForTests([](const std::string&) { return std::nullopt; });
  dlg->SendMessage(WM_COMMAND, ID_ICONS_EXPORT, 0);
  EXPECT_EQ(FilesIn(out.path()).size(), 3u);
}

}  // namespace
