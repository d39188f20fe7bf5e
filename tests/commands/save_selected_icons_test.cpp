// Save As on the main window's selection: one save dialog per selected item
// in list order with its preview panel, the remembered folder, the failure
// question, and files that other programs read.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "commands/save_dialog.h"
#include "mainwnd/glimra_dlg.h"
#include "platform/ui/message_box.h"
#include "platform/ui/qt_bridge.h"
#include "res/resource_ids.h"
#include "tests/common/ico_builder.h"
#include "tests/common/pe_builder.h"
#include "tests/program_support/app_test_support.h"

namespace {

using ico_test::TempDir;

struct PanelSeen {
  std::string folder;
  std::string source;
  std::string id;
  bool iconDrawn = false;  // some pixel of the frame is not the button face
};

std::string ItemText(HWND panel, int id) {
  CString text;
  static_cast<void>(CWnd::FromHandle(panel)->GetDlgItemText(id, text));
  return text.str();
}

// Where the preview drew inside its frame's border: the box of pixels that
// are not the button face, in frame coordinates; empty when none.
QRect DrawnBox(HWND panel) {
  QWidget* frame = WidgetOfWindow(GetDlgItem(panel, IDC_SAVE_ICON_FRAME));
  QWidget* panelWidget = ClientWidgetOfWindow(panel);
  if (!frame || !panelWidget) return {};
  const QImage shot = panelWidget->grab().toImage();
  const COLORREF faceRef = GetSysColor(COLOR_BTNFACE);
  const QColor face(GetRValue(faceRef), GetGValue(faceRef), GetBValue(faceRef));
  const QRect inside = frame->geometry().adjusted(2, 2, -2, -2);
  QRect box;
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) {
      if (shot.pixelColor(x, y) != face) box |= QRect(x, y, 1, 1);
    }
  }
  return box.translated(-frame->geometry().topLeft());
}

bool FrameShowsAnIcon(HWND panel) { return !DrawnBox(panel).isEmpty(); }

// With GLIMRA_SHOTS_DIR set, the whole save dialog is kept there as name.png.
void KeepScreenshot(HWND dialog, const char* name) {
  const QString folder = qEnvironmentVariable("GLIMRA_SHOTS_DIR");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  PumpEvents(300);  // the file list fills in the background
  static_cast<void>(WidgetOfWindow(dialog)->grab().save(folder + "/" + QString::fromUtf8(name) + ".png"));
}

// Types name into the real save dialog and presses its Save button.
void TypeAndSave(HWND dialog, const QString& name) {
  auto* files = WidgetOfWindow(dialog)->findChild<QFileDialog*>();
  ASSERT_NE(files, nullptr);
  files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
  auto* buttons = files->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
  for (QAbstractButton* b : buttons->buttons()) {
    if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole) b->click();
  }
}

std::string RunCommand(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, pipe)) out += chunk;
    pclose(pipe);
  }
  return out;
}

class SaveSelectedIcons : public ::testing::Test {
 protected:
  void SetUp() override {
    dlg = CreateShownMainWindow(30);
    ASSERT_NE(dlg, nullptr);
  }
  void TearDown() override {
    SetSaveFileHook({});
    SetModalHook({});
    DestroyMainWindow();
  }

  std::string AddIco(const TempDir& where, const std::string& name, int width) {
    std::string path = where.File(name);
    EXPECT_TRUE(ico_test::WriteFile(path, ico_test::IcoFile({ico_test::DibEntry(width, width, 8)})));
    dlg->ListIconsFromFile(CString(path.c_str()));
    return path;
  }
  // A module with icon group 7 of one 32x32 image.
  std::string AddModule(const std::string& name) {
    std::string path = m_dir.File(name);
    EXPECT_TRUE(pe_test::ModuleWithOneGroup(7).WriteTo(path));
    dlg->ListIconsFromFile(CString(path.c_str()));
    return path;
  }
  void Select(const std::vector<int>& items) const {
    for (int item : items) static_cast<void>(dlg->m_lvIcons.SetItemState(item, LVIS_SELECTED, LVIS_SELECTED));
  }

  // Save As with each dialog answered in turn ("" cancels); message boxes
  // are recorded and answered with boxAnswer.
  std::vector<PanelSeen> SaveAs(const std::vector<std::string>& answers, int boxAnswer = IDNO) {
    std::vector<PanelSeen> seen;
    SetSaveFileHook([&](const SaveFileRun& run) -> std::optional<std::string> {
      seen.push_back({run.folder, ItemText(run.panel, IDC_SAVE_SOURCE), ItemText(run.panel, IDC_SAVE_ICON_ID),
                      FrameShowsAnIcon(run.panel)});
      return seen.size() <= answers.size() ? answers[seen.size() - 1] : std::string();
    });
    SetModalHook([&](const ModalRun& modal) -> std::optional<int> {
      if (modal.kind != ModalKind::MessageBox) return std::nullopt;
      boxes.push_back(modal.text.str() + " " + std::to_string(modal.type));
      return boxAnswer;
    });
    dlg->SaveSelectedIcons();
    SetSaveFileHook({});
    SetModalHook({});
    return seen;
  }

  static bool Exists(const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); }

  CGlimraDlg* dlg = nullptr;
  TempDir m_dir;
  TempDir m_out;
  std::vector<std::string> boxes;
};

TEST_F(SaveSelectedIcons, EachSelectedIconGetsItsDialogAndACancelSkipsOnlyThatOne) {
  const std::string a = AddIco(m_dir, "a.ico", 16);
  const std::string b = AddIco(m_dir, "b.ico", 24);
  const std::string c = AddIco(m_dir, "c.ico", 32);
  static_cast<void>(AddIco(m_dir, "d.ico", 48));
  Select({2, 0, 1});
  const std::vector<PanelSeen> seen = SaveAs({m_out.File("1.ico"), "", m_out.File("3.ico")});
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].source, a);
  EXPECT_EQ(seen[1].source, b);
  EXPECT_EQ(seen[2].source, c);
  // An .ico source has no identifier; its preview is drawn.
  EXPECT_EQ(seen[0].id, "");
  EXPECT_TRUE(seen[0].iconDrawn);
  EXPECT_TRUE(Exists(m_out.File("1.ico")));
  EXPECT_TRUE(Exists(m_out.File("3.ico")));
  EXPECT_EQ(QDir(QString::fromStdString(m_out.path())).entryList(QDir::Files).size(), 2);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(SaveSelectedIcons, NothingSelectedOpensNothing) {
  static_cast<void>(AddIco(m_dir, "a.ico", 16));
  EXPECT_TRUE(SaveAs({}).empty());
}

TEST_F(SaveSelectedIcons, TheFolderFollowsTheLastSaveAndACancelForgetsIt) {
  TempDir other;
  static_cast<void>(AddIco(m_dir, "a.ico", 16));
  static_cast<void>(AddIco(other, "b.ico", 16));
  static_cast<void>(AddIco(m_dir, "c.ico", 16));
  Select({0, 1, 2});
  // Saved to m_out; the next dialog opens there and is cancelled, so the
  // third opens in its own icon's folder and saves elsewhere.
  const std::vector<PanelSeen> seen = SaveAs({m_out.File("x.ico"), "", other.File("z.ico")});
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].folder, m_dir.path());
  EXPECT_EQ(seen[1].folder, m_out.path());
  EXPECT_EQ(seen[2].folder, m_dir.path());
  EXPECT_EQ(dlg->m_strSaveFolder.str(), other.path() + "/");

  // The remembered folder lasts into the next Save As; a final cancel empties it.
  const std::vector<PanelSeen> again = SaveAs({""});
  ASSERT_EQ(again.size(), 3u);
  EXPECT_EQ(again[0].folder, other.path());
  EXPECT_EQ(again[1].folder, other.path());
  EXPECT_EQ(dlg->m_strSaveFolder.str(), "");
}

TEST_F(SaveSelectedIcons, AModuleGoneSinceListingShowsNothingAndItsFailureAsksToGoOn) {
  const std::string module = AddModule("gone.exe");
  static_cast<void>(AddModule("kept.exe"));
  Select({0, 1});
  ASSERT_EQ(std::remove(module.c_str()), 0);
  const std::string chosen = m_out.File("first.ico");
  // No ends the command: the second icon gets no dialog.
  const std::vector<PanelSeen> seen = SaveAs({chosen, m_out.File("second.ico")}, IDNO);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].source, "");
  EXPECT_EQ(seen[0].id, "");
  EXPECT_FALSE(seen[0].iconDrawn);
  EXPECT_EQ(boxes, (std::vector<std::string>{"Can't save Icon to " + chosen + "\nWould you like to continue ? " +
                                             std::to_string(MB_YESNO | MB_ICONEXCLAMATION)}));

  // Yes goes on with the next icon, whose module is still there.
  boxes.clear();
  const std::vector<PanelSeen> yes = SaveAs({chosen, m_out.File("second.ico")}, IDYES);
  ASSERT_EQ(yes.size(), 2u);
  EXPECT_EQ(yes[1].id, "7");
  EXPECT_TRUE(yes[1].iconDrawn);
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(Exists(m_out.File("second.ico")));
}

TEST_F(SaveSelectedIcons, AnItemWithoutARecordEndsTheCommand) {
  static_cast<void>(AddIco(m_dir, "a.ico", 16));
  // Two items the collection has no records for.
  static_cast<void>(dlg->m_lvIcons.InsertItem(1, "", 0));
  static_cast<void>(dlg->m_lvIcons.InsertItem(2, "", 0));
  Select({0, 1, 2});
  const std::vector<PanelSeen> seen = SaveAs({"", "", ""});
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_EQ(boxes, (std::vector<std::string>{"Can't get Icon info " + std::to_string(MB_OK | MB_ICONSTOP)}));
}

// The real dialog: a typed name without an extension, pressing Save.
TEST_F(SaveSelectedIcons, ATypedNameGetsTheIcoExtensionAndTheFileIsAStandardIcon) {
  const std::string shell32 = std::string(GLIMRA_CORPUS_DIR) + "/pe64/shell32.dll";
  dlg->ListIconsFromFile(CString(shell32.c_str()));
  ASSERT_GT(dlg->m_lvIcons.GetItemCount(), 0);
  Select({0});
  dlg->m_strSaveFolder = (m_out.path() + "/").c_str();
  std::string panelSource;
  SetSaveFileHook([&](const SaveFileRun& run) -> std::optional<std::string> {
    panelSource = ItemText(run.panel, IDC_SAVE_SOURCE);
    QTimer::singleShot(0, [run] { TypeAndSave(run.dialog, QStringLiteral("typed")); });
    return std::nullopt;
  });
  dlg->SaveSelectedIcons();
  SetSaveFileHook({});
  const std::string saved = m_out.File("typed.ICO");
  ASSERT_TRUE(Exists(saved));
  EXPECT_EQ(dlg->m_strSaveFolder.str(), m_out.path() + "/");
  // The source is shortened to the field's width, keeping the file name.
  EXPECT_NE(panelSource.find("shell32.dll"), std::string::npos) << panelSource;
  const std::string listed = RunCommand("icotool -l '" + saved + "' 2>&1");
  EXPECT_NE(listed.find("--icon --index=1"), std::string::npos) << listed;
  EXPECT_EQ(listed.find("error"), std::string::npos) << listed;
}

TEST_F(SaveSelectedIcons, ALongSourcePathIsShortenedToItsFieldKeepingTheFileName) {
  const std::string deep = m_dir.path() + "/" + std::string(60, 'f') + "/" + std::string(60, 'g');
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(deep)));
  const std::string path = deep + "/long.ico";
  ASSERT_TRUE(ico_test::WriteFile(path, ico_test::IcoFile({ico_test::DibEntry(16, 16, 8)})));
  dlg->ListIconsFromFile(CString(path.c_str()));
  Select({0});
  const std::vector<PanelSeen> seen = SaveAs({""});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_LT(seen[0].source.size(), path.size());
  EXPECT_NE(seen[0].source.find("..."), std::string::npos) << seen[0].source;
  EXPECT_TRUE(seen[0].source.ends_with("/long.ico")) << seen[0].source;
}

// The real dialog: choosing an existing file asks before replacing it.
TEST_F(SaveSelectedIcons, ChoosingAnExistingFileAsksBeforeItIsReplaced) {
  static_cast<void>(AddIco(m_dir, "a.ico", 16));
  Select({0});
  const std::string existing = m_out.File("old.ico");
  ASSERT_TRUE(ico_test::WriteFile(existing, {'x'}));
  dlg->m_strSaveFolder = (m_out.path() + "/").c_str();
  std::string question;
  SetSaveFileHook([&](const SaveFileRun& run) -> std::optional<std::string> {
    QTimer::singleShot(0, [run, &question] {
      auto* poll = new QTimer;
      QObject::connect(poll, &QTimer::timeout, [poll, &question] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        question = box->text().toStdString();
        poll->deleteLater();
        poll->stop();
        box->button(QMessageBox::Yes)->click();
      });
      poll->start(10);
      TypeAndSave(run.dialog, QStringLiteral("old.ico"));
    });
    return std::nullopt;
  });
  dlg->SaveSelectedIcons();
  SetSaveFileHook({});
  EXPECT_NE(question.find("already exists"), std::string::npos) << question;
  EXPECT_GT(ico_test::ReadFile(existing).size(), 6u);
}

// The preview of the save dialog: a 256x256 PNG image is clipped to the
// frame from its corner; a monochrome icon is measured by its mask, twice
// its height, and drawn that tall where the frame allows.
TEST_F(SaveSelectedIcons, ThePreviewIsCentredOrClippedToTheFrameAndAMonochromeIconIsDrawnByItsMask) {
  // An icon whose first image is the 256x256 PNG image of a real icon file.
  const std::vector<std::uint8_t> real = ico_test::ReadFile(std::string(GLIMRA_CORPUS_DIR) + "/ico/nsis3-install.ico");
  ASSERT_GT(real.size(), 6u + 16u * 3u);
  const auto field = [&](std::size_t at) {
    return static_cast<std::uint32_t>(real[at] | real[at + 1] << 8 | real[at + 2] << 16 | real[at + 3] << 24);
  };
  const std::size_t entry = 6 + 16 * 2;
  ASSERT_EQ(real[entry], 0u);  // width 256
  ico_test::IcoEntry big;
  big.width = 0;
  big.height = 0;
  const std::uint32_t size = field(entry + 8), offset = field(entry + 12);
  ASSERT_LE(static_cast<std::size_t>(offset) + size, real.size());
  big.bytes.assign(real.begin() + offset, real.begin() + offset + size);
  ASSERT_EQ(big.bytes[1], 'P');
  const std::string png = m_dir.File("png256.ico");
  ASSERT_TRUE(ico_test::WriteFile(png, ico_test::IcoFile({big})));
  dlg->ListIconsFromFile(CString(png.c_str()));
  const std::string mono = m_dir.File("mono.ico");
  ASSERT_TRUE(ico_test::WriteFile(mono, ico_test::IcoFile({ico_test::DibEntry(12, 12, 1)})));
  dlg->ListIconsFromFile(CString(mono.c_str()));
  const std::string colour = m_dir.File("colour.ico");
  ASSERT_TRUE(ico_test::WriteFile(colour, ico_test::IcoFile({ico_test::DibEntry(12, 12, 8)})));
  dlg->ListIconsFromFile(CString(colour.c_str()));
  ASSERT_EQ(dlg->m_lvIcons.GetItemCount(), 3);
  Select({0, 1, 2});

  std::vector<QRect> drawn;
  QSize frameSize;
  const char* names[] = {"save-dialog-png256", "save-dialog-monochrome", "save-dialog-colour12"};
  SetSaveFileHook([&](const SaveFileRun& run) -> std::optional<std::string> {
    QWidget* frame = WidgetOfWindow(GetDlgItem(run.panel, IDC_SAVE_ICON_FRAME));
    frameSize = frame->size();
    drawn.push_back(DrawnBox(run.panel));
    KeepScreenshot(run.dialog, names[std::min<std::size_t>(drawn.size() - 1, 2)]);
    return std::string();
  });
  dlg->SaveSelectedIcons();
  SetSaveFileHook({});
  ASSERT_EQ(drawn.size(), 3u);
  const int height = frameSize.height();
  const int width = frameSize.width();
  ASSERT_GT(width, 12);
  // Clipped: the image covers the whole frame inside its border.
  EXPECT_EQ(drawn[0], QRect(2, 2, width - 4, height - 4));
  // Monochrome: 12 wide, 24 tall (or the frame's height), centred.
  const int monoHeight = std::min(24, height);
  const QRect monoBox(width < 12 ? 0 : (width - 12) / 2, height < 24 ? 0 : (height - 24) / 2, 12, monoHeight);
  EXPECT_EQ(drawn[1], monoBox.intersected(QRect(2, 2, width - 4, height - 4)));
  // Colour: its own 12 by 12, centred.
  EXPECT_EQ(drawn[2], QRect((width - 12) / 2, (height - 12) / 2, 12, 12));
}

}  // namespace
