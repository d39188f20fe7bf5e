// The Icon Info dialog: template 501, what it shows for .ico files and for
// module groups, the image list and choosing an image, the preview drawn
// centred or squeezed (checked on the pixels of a grab), "Unsupported", the
// tab stops, and ShowInfo's report when the group cannot be rebuilt.

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "commands/icon_info_dlg.h"
#include "model/icon_info.h"
#include "platform/core/byte_writer.h"
#include "platform/ui/message_box.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/resources.h"
#include "res/resource_ids.h"
#include "tests/common/ico_builder.h"
#include "tests/common/pe_builder.h"
#include "tests/program_support/app_test_support.h"

namespace {

using ico_test::TempDir;

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kBlue = 0xFF0000FF;

// The 40-byte header of a DIB icon image (its height doubled for the mask).
std::vector<std::uint8_t> DibHeader(int width, int height, int bitCount) {
  std::vector<std::uint8_t> out;
  ByteWriter(out)
      .u32(40)
      .u32(static_cast<std::uint32_t>(width))
      .u32(static_cast<std::uint32_t>(height * 2))
      .u16(1)
      .u16(static_cast<std::uint16_t>(bitCount))
      .zeros(24);
  return out;
}

// A 32-bit opaque DIB image: the left half one colour, the right half
// another (0xAARRGGBB), with an empty mask.
std::vector<std::uint8_t> HalvesDib(int width, int height, std::uint32_t left, std::uint32_t right) {
  std::vector<std::uint8_t> out = DibHeader(width, height, 32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) ByteWriter(out).u32(x < width / 2 ? left : right);
  }
  const int maskRow = ((width + 31) / 32) * 4;
  out.insert(out.end(), static_cast<std::size_t>(maskRow) * static_cast<std::size_t>(height), 0);
  return out;
}

// A 32x32 monochrome DIB image: black and white squares of 4 pixels on a
// transparent border of 4 pixels.
ico_test::IcoEntry MonochromeEntry() {
  constexpr int kSide = 32;
  std::vector<std::uint8_t> out = DibHeader(kSide, kSide, 1);
  ByteWriter(out).u32(0x000000).u32(0xFFFFFF);
  auto rows = [&](const std::function<bool(int, int)>& bit) {
    for (int y = 0; y < kSide; ++y) {
      for (int byte = 0; byte < kSide / 8; ++byte) {
        std::uint8_t value = 0;
        for (int b = 0; b < 8; ++b) {
          if (bit(byte * 8 + b, y)) value = static_cast<std::uint8_t>(value | (0x80 >> b));
        }
        out.push_back(value);
      }
    }
  };
  const auto border = [](int x, int y) { return x < 4 || y < 4 || x >= kSide - 4 || y >= kSide - 4; };
  // Transparent pixels are black in the colour rows (white there would
  // invert the screen).
  rows([&](int x, int y) { return !border(x, y) && ((x / 4) + (y / 4)) % 2 == 1; });
  rows(border);
  ico_test::IcoEntry entry;
  entry.width = kSide;
  entry.height = kSide;
  entry.colorCount = 2;
  entry.bitCount = 1;
  entry.bytes = out;
  return entry;
}

ico_test::IcoEntry HalvesEntry(int width, int height, std::uint32_t left, std::uint32_t right) {
  ico_test::IcoEntry entry;
  entry.width = static_cast<std::uint8_t>(width >= 256 ? 0 : width);
  entry.height = static_cast<std::uint8_t>(height >= 256 ? 0 : height);
  entry.bitCount = 32;
  entry.bytes = HalvesDib(width, height, left, right);
  return entry;
}

std::string Text(const CWnd& wnd) {
  CString text;
  wnd.GetWindowText(text);
  return text.str();
}

std::vector<std::string> ComboEntries(const CComboBox& combo) {
  std::vector<std::string> entries;
  for (int i = 0; i < combo.GetCount(); ++i) {
    CString text;
    combo.GetLBText(i, text);
    entries.push_back(text.str());
  }
  return entries;
}

void SendKey(QWidget* target, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(target, &release);
}

// The user picks the next entry of the image list with the keyboard.
void ChooseNextImage(CIconInfoDlg& dlg) {
  SendKey(WidgetOfWindow(dlg.m_cbImages.m_hWnd), Qt::Key_Down);
  PumpEvents(20);
}

QImage GrabClient(const CIconInfoDlg& dlg) { return ClientWidgetOfWindow(dlg.m_hWnd)->grab().toImage(); }

// With GLIMRA_SCREENSHOT_DIR set, the dialog is saved there as a PNG file.
void SaveScreenshot(const CIconInfoDlg& dlg, const char* name) {
  const char* dir = std::getenv("GLIMRA_SCREENSHOT_DIR");
  if (dir == nullptr) return;
  static_cast<void>(WidgetOfWindow(dlg.m_hWnd)->grab().save(QString::fromUtf8(dir) + "/" + name + ".png"));
}

// The bounding box of the pixels inside area that match.
std::optional<QRect> Box(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& match) {
  std::optional<QRect> box;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (!match(image.pixel(x, y))) continue;
      box = box ? box->united(QRect(x, y, 1, 1)) : QRect(x, y, 1, 1);
    }
  }
  return box;
}

bool IsRed(QRgb p) { return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60; }
bool IsBlue(QRgb p) { return qBlue(p) > 200 && qGreen(p) < 60 && qRed(p) < 60; }
bool IsWhite(QRgb p) { return qRed(p) == 255 && qGreen(p) == 255 && qBlue(p) == 255; }

QRect PreviewRect(const CIconInfoDlg& dlg) {
  const RECT r = ChildRect(dlg, IDC_INFO_PREVIEW);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// What the dialogs and message boxes opened by one run showed.
struct Shown {
  int dialogs = 0;
  std::vector<std::string> boxes;  // "text|type"
};

// Runs run(); each Icon Info dialog is handed to look() once it shows and is
// then closed with OK; each message box is recorded and answered OK.
Shown WithInfoDialogs(const std::function<void()>& run, const std::function<void(CIconInfoDlg&)>& look) {
  Shown shown;
  SetModalHook([&](const ModalRun& modal) -> std::optional<int> {
    if (modal.kind == ModalKind::MessageBox) {
      shown.boxes.push_back(modal.text.str() + "|" + std::to_string(modal.type));
      return IDOK;
    }
    auto* dlg = dynamic_cast<CIconInfoDlg*>(modal.dialog);
    if (dlg == nullptr) return std::nullopt;
    ++shown.dialogs;
    PumpEvents(20);
    if (look) look(*dlg);
    return IDOK;
  });
  run();
  SetModalHook({});
  return shown;
}

class IconInfoDialog : public ::testing::Test {
 protected:
  // An .ico file in the test's folder.
  std::string Ico(const std::string& name, const std::vector<ico_test::IcoEntry>& entries) const {
    std::string path = m_dir.File(name);
    EXPECT_TRUE(ico_test::WriteFile(path, ico_test::IcoFile(entries)));
    return path;
  }

  TempDir m_dir;
};

// ---- template 501

struct ItemRow {
  int id;
  const char* className;
  const char* text;
  short x, y, cx, cy;
  DWORD kindBits;  // the style bits that say what the control is
  bool tabStop;
};

TEST(IconInfoTemplate, CaptionFrameFontAndControlsInTabOrder) {
  const DialogTemplate* t = FindDialogTemplate(IDD_ICON_INFO);
  ASSERT_NE(t, nullptr);
  EXPECT_STREQ(t->caption, "Icon Info");
  EXPECT_EQ(t->cx, 235);
  EXPECT_EQ(t->cy, 93);
  EXPECT_EQ(t->style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME),
            WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
  EXPECT_EQ(t->style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
  EXPECT_EQ(t->pointSize, 8);
  EXPECT_STREQ(t->typeface, "MS Sans Serif");

  const int none = -1;
  const ItemRow rows[] = {
      {IDOK, "BUTTON", "OK", 178, 7, 50, 14, BS_DEFPUSHBUTTON, true},
      {none, "STATIC", "Source:", 31, 9, 31, 8, SS_RIGHT, false},
      {IDC_INFO_SOURCE, "STATIC", "", 66, 9, 108, 8, SS_LEFT, false},
      {none, "STATIC", "ID:", 52, 45, 10, 8, SS_RIGHT, false},
      {IDC_INFO_ID, "STATIC", "12345", 66, 45, 29, 8, SS_LEFT, false},
      {none, "STATIC", "Width:", 42, 54, 20, 8, SS_RIGHT, false},
      {IDC_INFO_WIDTH, "STATIC", "166", 66, 54, 22, 8, SS_LEFT, false},
      {none, "STATIC", "Height:", 40, 63, 22, 8, SS_RIGHT, false},
      {IDC_INFO_HEIGHT, "STATIC", "123", 66, 63, 22, 8, SS_LEFT, false},
      {none, "STATIC", "Bit/Pix:", 40, 73, 22, 8, SS_RIGHT, false},
      {IDC_INFO_BITS, "STATIC", "7", 66, 73, 22, 8, SS_LEFT, false},
      {none, "STATIC", "Number of Image:", 10, 19, 54, 8, SS_LEFT, false},
      {IDC_INFO_COUNT, "STATIC", "1", 68, 19, 22, 8, SS_LEFT, false},
      {IDC_INFO_IMAGES, "COMBOBOX", "", 10, 29, 93, 51, CBS_DROPDOWNLIST | CBS_AUTOHSCROLL | WS_VSCROLL, true},
      {IDC_INFO_PREVIEW, "STATIC", "", 108, 20, 60, 60, SS_ETCHEDFRAME | SS_SUNKEN, false},
  };
  ASSERT_EQ(t->items.size(), std::size(rows));
  for (std::size_t i = 0; i < t->items.size(); ++i) {
    const DialogItemTemplate& item = t->items[i];
    const ItemRow& row = rows[i];
    SCOPED_TRACE(row.text);
    EXPECT_EQ(static_cast<int>(item.id), row.id);
    EXPECT_STREQ(item.className, row.className);
    EXPECT_STREQ(item.text, row.text);
    EXPECT_EQ(item.x, row.x);
    EXPECT_EQ(item.y, row.y);
    EXPECT_EQ(item.cx, row.cx);
    EXPECT_EQ(item.cy, row.cy);
    const DWORD typeMask = std::string(row.className) == "STATIC" ? SS_TYPEMASK : 0xFu;
    EXPECT_EQ(item.style & typeMask, row.kindBits & typeMask);
    EXPECT_EQ(item.style & row.kindBits, row.kindBits);
    EXPECT_EQ((item.style & WS_TABSTOP) != 0, row.tabStop);
    EXPECT_NE(item.style & WS_VISIBLE, 0u);
    if (row.id == IDC_INFO_IMAGES) {
      constexpr DWORD kOwnerDrawn = 0x0030;  // CBS_OWNERDRAWFIXED, CBS_OWNERDRAWVARIABLE
      EXPECT_EQ(item.style & (CBS_SORT | kOwnerDrawn), 0u);
    }
  }
}

// ---- what the dialog shows

TEST_F(IconInfoDialog, IcoFileShowsItsPathNoIdAndEveryImageInOrder) {
  const std::string path = Ico("three.ico", {ico_test::DibEntry(16, 16, 4, 1), ico_test::DibEntry(32, 32, 8, 2),
                                             ico_test::DibEntry(48, 48, 32, 3)});
  const CIconInfo info(path.c_str());
  std::vector<std::string> entries;
  std::string source, id, count, width, height, bits;
  int selected = -2;
  const Shown shown = WithInfoDialogs([&] { info.ShowInfo(); },
                                      [&](CIconInfoDlg& dlg) {
                                        source = Text(dlg.m_stcSource);
                                        id = Text(dlg.m_stcID);
                                        count = Text(dlg.m_stcCount);
                                        width = Text(dlg.m_stcWidth);
                                        height = Text(dlg.m_stcHeight);
                                        bits = Text(dlg.m_stcBits);
                                        entries = ComboEntries(dlg.m_cbImages);
                                        selected = dlg.m_cbImages.GetCurSel();
                                      });
  EXPECT_EQ(shown.dialogs, 1);
  EXPECT_TRUE(shown.boxes.empty());
  // The temporary folder's path may be shortened to fit; the name stays.
  EXPECT_TRUE(source == path || source.ends_with("/three.ico")) << source;
  EXPECT_EQ(id, "");
  EXPECT_EQ(count, "3");
  EXPECT_EQ((std::vector<std::string>{width, height, bits}), (std::vector<std::string>{"16", "16", "4"}));
  EXPECT_EQ(entries, (std::vector<std::string>{"16x16, 4 Bit Color", "32x32, 8 Bit Color", "48x48, 32 Bit Color"}));
  EXPECT_EQ(selected, 0);
}

TEST_F(IconInfoDialog, ModuleGroupsShowTheModuleAndTheirNumberOrName) {
  const auto image = ico_test::DibImage(32, 32, 8, 4);
  const auto size = static_cast<std::uint32_t>(image.size());
  pe_test::PeBuilder builder;
  builder.AddIcon(1, image);
  builder.AddIconGroup(pe_test::ResId::Number(101), pe_test::GroupIconBytes({{32, 32, 0, 1, 8, size, 1}}));
  builder.AddIconGroup(pe_test::ResId::Name("LOGO"), pe_test::GroupIconBytes({{32, 32, 0, 1, 8, size, 1}}));
  const std::string path = m_dir.File("m.dll");
  ASSERT_TRUE(builder.Build().WriteTo(path));

  struct Row {
    CIconInfo info;
    const char* id;
  };
  const Row rows[] = {{CIconInfo(path.c_str(), MAKEINTRESOURCEA(101), nullptr), "101"},
                      {CIconInfo(path.c_str(), "LOGO", nullptr), "LOGO"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    std::string source, id, count;
    const Shown shown = WithInfoDialogs([&] { row.info.ShowInfo(); },
                                        [&](CIconInfoDlg& dlg) {
                                          source = Text(dlg.m_stcSource);
                                          id = Text(dlg.m_stcID);
                                          count = Text(dlg.m_stcCount);
                                        });
    EXPECT_EQ(shown.dialogs, 1);
    EXPECT_TRUE(source == path || source.ends_with("/m.dll")) << source;
    EXPECT_EQ(id, row.id);
    EXPECT_EQ(count, "1");
  }
}

TEST_F(IconInfoDialog, LongSourcePathIsShortenedKeepingTheFileName) {
  std::string folder = m_dir.path();
  for (int i = 0; i < 6; ++i) {
    folder += "/a-rather-long-folder-name-" + std::to_string(i);
    ASSERT_EQ(std::system(("mkdir -p '" + folder + "'").c_str()), 0);
  }
  const std::string path = folder + "/deep.ico";
  ASSERT_TRUE(ico_test::WriteFile(path, ico_test::IcoFile({ico_test::DibEntry(32, 32, 8)})));
  std::string source;
  static_cast<void>(WithInfoDialogs([&] { CIconInfo(path.c_str()).ShowInfo(); },
                                    [&](CIconInfoDlg& dlg) { source = Text(dlg.m_stcSource); }));
  EXPECT_LT(source.size(), path.size());
  EXPECT_NE(source.find("..."), std::string::npos) << source;
  EXPECT_TRUE(source.ends_with("/deep.ico")) << source;
}

TEST_F(IconInfoDialog, ChoosingTheSecondImageShowsItsFiguresAndRedraws) {
  const std::string path = Ico("pick.ico", {HalvesEntry(16, 16, kRed, kRed), HalvesEntry(32, 32, kBlue, kBlue),
                                            ico_test::DibEntry(48, 48, 8, 3)});
  std::vector<std::string> before, after, again;
  std::optional<QRect> redBefore, blueAfter, redAfter;
  HICON iconAfter = nullptr;
  bool sameIconAgain = false;
  static_cast<void>(WithInfoDialogs([&] { CIconInfo(path.c_str()).ShowInfo(); },
                                    [&](CIconInfoDlg& dlg) {
                                      const QRect frame = PreviewRect(dlg);
                                      before = {Text(dlg.m_stcWidth), Text(dlg.m_stcHeight), Text(dlg.m_stcBits)};
                                      redBefore = Box(GrabClient(dlg), frame, IsRed);
                                      ChooseNextImage(dlg);
                                      after = {Text(dlg.m_stcWidth), Text(dlg.m_stcHeight), Text(dlg.m_stcBits)};
                                      iconAfter = dlg.m_hCurIcon;
                                      const QImage image = GrabClient(dlg);
                                      blueAfter = Box(image, frame, IsBlue);
                                      redAfter = Box(image, frame, IsRed);
                                      // The entry already chosen, chosen again, changes nothing.
                                      dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_INFO_IMAGES, CBN_SELCHANGE),
                                                      reinterpret_cast<LPARAM>(dlg.m_cbImages.m_hWnd));
                                      again = {Text(dlg.m_stcWidth), Text(dlg.m_stcHeight), Text(dlg.m_stcBits)};
                                      sameIconAgain = dlg.m_hCurIcon == iconAfter && dlg.m_nCurImage == 1;
                                    }));
  EXPECT_EQ(before, (std::vector<std::string>{"16", "16", "32"}));
  EXPECT_EQ(after, (std::vector<std::string>{"32", "32", "32"}));
  ASSERT_TRUE(redBefore.has_value());
  EXPECT_EQ(redBefore->size(), QSize(16, 16));
  ASSERT_TRUE(blueAfter.has_value());
  EXPECT_EQ(blueAfter->size(), QSize(32, 32));
  EXPECT_FALSE(redAfter.has_value());
  EXPECT_NE(iconAfter, nullptr);
  EXPECT_EQ(again, after);
  EXPECT_TRUE(sameIconAgain);
}

TEST_F(IconInfoDialog, ASmallImageIsDrawnAtItsSizeCentredInTheFrame) {
  const std::string path = Ico("small.ico", {HalvesEntry(16, 16, kRed, kRed)});
  QRect frame;
  std::optional<QRect> red;
  static_cast<void>(WithInfoDialogs([&] { CIconInfo(path.c_str()).ShowInfo(); },
                                    [&](CIconInfoDlg& dlg) {
                                      frame = PreviewRect(dlg);
                                      red = Box(GrabClient(dlg), frame.adjusted(-20, -20, 20, 20), IsRed);
                                    }));
  ASSERT_TRUE(red.has_value());
  EXPECT_EQ(red->size(), QSize(16, 16));
  // Centred: the gaps either side differ by the odd pixel at most.
  EXPECT_LE(std::abs((red->left() - frame.left()) - (frame.right() - red->right())), 1);
  EXPECT_LE(std::abs((red->top() - frame.top()) - (frame.bottom() - red->bottom())), 1);
}

TEST_F(IconInfoDialog, ALargeImageIsSqueezedToTheFrame) {
  // Red left half, blue right half: squeezed, both halves show, meeting in
  // the frame's middle; clipped at its own size only red would show.
  const std::string path = Ico("large.ico", {HalvesEntry(256, 256, kRed, kBlue)});
  QRect frame;
  std::optional<QRect> red, blue, outside;
  static_cast<void>(WithInfoDialogs([&] { CIconInfo(path.c_str()).ShowInfo(); },
                                    [&](CIconInfoDlg& dlg) {
                                      frame = PreviewRect(dlg);
                                      const QImage image = GrabClient(dlg);
                                      red = Box(image, frame, IsRed);
                                      blue = Box(image, frame, IsBlue);
                                      const QRect below(frame.left(), frame.bottom() + 1, frame.width(), 10);
                                      outside = Box(image, below, [](QRgb p) { return IsRed(p) || IsBlue(p); });
                                    }));
  ASSERT_LT(frame.width(), 128);
  ASSERT_TRUE(red.has_value());
  ASSERT_TRUE(blue.has_value());
  EXPECT_FALSE(outside.has_value());
  // From the frame's edge to the other: only the frame's own border is left.
  EXPECT_LE(red->left() - frame.left(), 3);
  EXPECT_LE(frame.right() - blue->right(), 3);
  EXPECT_LE(red->top() - frame.top(), 3);
  EXPECT_LE(frame.bottom() - red->bottom(), 3);
  EXPECT_LE(std::abs(blue->left() - (frame.left() + frame.width() / 2)), 1);
}

TEST_F(IconInfoDialog, AnImageThatMakesNoIconShowsUnsupportedAndLeavesTheListEmpty) {
  // A PNG image whose header says 32x32 RGBA but which has no pixel data.
  ico_test::IcoEntry broken;
  broken.bytes = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44,
                  0x52, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x20, 0x08, 0x06, 0x00, 0x00, 0x00, 0x73,
                  0x7A, 0x7A, 0xF4, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
  const std::string path = Ico("broken.ico", {broken, ico_test::DibEntry(16, 16, 8)});
  std::vector<std::string> figures;
  int entries = -1;
  HICON icon = reinterpret_cast<HICON>(1);
  std::optional<QRect> white;
  QRect frame;
  BOOL showImage = TRUE;
  const Shown shown = WithInfoDialogs(
      [&] { CIconInfo(path.c_str()).ShowInfo(); },
      [&](CIconInfoDlg& dlg) {
        figures = {Text(dlg.m_stcCount), Text(dlg.m_stcWidth), Text(dlg.m_stcHeight), Text(dlg.m_stcBits)};
        entries = dlg.m_cbImages.GetCount();
        icon = dlg.m_hCurIcon;
        SaveScreenshot(dlg, "icon_info_unsupported");
        frame = PreviewRect(dlg);
        // Inside the frame's border, whose light edge is white too.
        white = Box(GrabClient(dlg), frame.adjusted(3, 3, -3, -3), IsWhite);
        showImage = dlg.ShowImage(ImageListFill::Fill);
      });
  ASSERT_EQ(shown.dialogs, 1);
  // Its figures still show; the second image is never listed to be chosen.
  EXPECT_EQ(figures, (std::vector<std::string>{"2", "32", "32", "32"}));
  EXPECT_EQ(entries, 0);
  EXPECT_EQ(icon, nullptr);
  EXPECT_FALSE(showImage);
  // The word sits above the frame's vertical middle.
  ASSERT_TRUE(white.has_value());
  EXPECT_LT(white->bottom(), frame.top() + frame.height() / 2 + 1);
  EXPECT_GT(white->width(), white->height());
}

TEST_F(IconInfoDialog, AGroupWithoutImagesShowsNoFiguresAndReadsNoEntry) {
  const std::string path = Ico("one.ico", {ico_test::DibEntry(32, 32, 8)});
  ICONRESOURCE* group = ReadIconFromICOFile(path.c_str());
  ASSERT_NE(group, nullptr);
  group->nImages = 0;
  std::vector<std::string> figures;
  int entries = -1;
  static_cast<void>(WithInfoDialogs(
      [&] {
        CIconInfoDlg dlg(group, nullptr);
        static_cast<void>(dlg.DoModal());
      },
      [&](CIconInfoDlg& dlg) {
        figures = {Text(dlg.m_stcCount), Text(dlg.m_stcWidth), Text(dlg.m_stcHeight), Text(dlg.m_stcBits)};
        entries = dlg.m_cbImages.GetCount();
        static_cast<void>(GrabClient(dlg));
      }));
  group->nImages = 1;
  static_cast<void>(ClearIconResource(group));
  EXPECT_EQ(figures, (std::vector<std::string>{"0", "", "", ""}));
  EXPECT_EQ(entries, 0);
}

TEST_F(IconInfoDialog, NoSelectionFallsBackToTheFirstImage) {
  const std::string path = Ico("two.ico", {ico_test::DibEntry(16, 16, 8, 1), ico_test::DibEntry(32, 32, 8, 2)});
  std::string width;
  WORD current = 7;
  static_cast<void>(WithInfoDialogs([&] { CIconInfo(path.c_str()).ShowInfo(); },
                                    [&](CIconInfoDlg& dlg) {
                                      ChooseNextImage(dlg);
                                      static_cast<void>(dlg.m_cbImages.SetCurSel(-1));
                                      dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_INFO_IMAGES, CBN_SELCHANGE),
                                                      reinterpret_cast<LPARAM>(dlg.m_cbImages.m_hWnd));
                                      width = Text(dlg.m_stcWidth);
                                      current = dlg.m_nCurImage;
                                    }));
  EXPECT_EQ(width, "16");
  EXPECT_EQ(current, 0);
}

TEST_F(IconInfoDialog, TabMovesBetweenOkAndTheImageListOnly) {
  const std::string path = Ico("tab.ico", {ico_test::DibEntry(32, 32, 8)});
  std::vector<int> focus;
  static_cast<void>(WithInfoDialogs([&] { CIconInfo(path.c_str()).ShowInfo(); },
                                    [&](CIconInfoDlg& dlg) {
                                      QWidget* ok = WidgetOfWindow(dlg.GetDlgItem(IDOK)->m_hWnd);
                                      ok->setFocus();
                                      PumpEvents(10);
                                      for (int i = 0; i < 3; ++i) {
                                        QWidget* now = QApplication::focusWidget();
                                        focus.push_back(
                                            now != nullptr ? CWnd::FromHandle(WindowOfWidget(now))->GetDlgCtrlID() : 0);
                                        SendKey(now != nullptr ? now : ok, Qt::Key_Tab);
                                        PumpEvents(10);
                                      }
                                    }));
  EXPECT_EQ(focus, (std::vector<int>{IDOK, IDC_INFO_IMAGES, IDOK}));
}

TEST_F(IconInfoDialog, AGroupThatCannotBeRebuiltIsReportedWithoutADialog) {
  const std::string path = m_dir.File("gone.ico");
  const Shown shown = WithInfoDialogs([&] { CIconInfo(path.c_str()).ShowInfo(); }, {});
  EXPECT_EQ(shown.dialogs, 0);
  EXPECT_EQ(shown.boxes, (std::vector<std::string>{"Can't get Icon info|" + std::to_string(MB_OK | MB_ICONSTOP)}));
}

// The real modal run: its own event loop, ended by a click on OK.
TEST_F(IconInfoDialog, TheRealDialogClosesOnAClickOnOk) {
  const std::string path = Ico("real.ico", {ico_test::DibEntry(32, 32, 8)});
  bool clicked = false;
  bool sawCaption = false;
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    auto* dlg =
        modal != nullptr ? dynamic_cast<CIconInfoDlg*>(CWnd::FromHandlePermanent(WindowOfWidget(modal))) : nullptr;
    if (dlg == nullptr) return;
    poll.stop();
    sawCaption = Text(*dlg) == "Icon Info";
    auto* ok = qobject_cast<QPushButton*>(WidgetOfWindow(dlg->GetDlgItem(IDOK)->m_hWnd));
    if (ok == nullptr) return;
    const QPointF centre(ok->width() / 2.0, ok->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, centre, ok->mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, ok->mapToGlobal(centre), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(ok, &press);
    QApplication::sendEvent(ok, &release);
    clicked = true;
  });
  QTimer guard;
  guard.setSingleShot(true);
  // Should the click not end it, the run still ends so the test reports it.
  QObject::connect(&guard, &QTimer::timeout, [] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* dlg =
            modal != nullptr ? dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(WindowOfWidget(modal))) : nullptr) {
      dlg->EndDialog(IDCANCEL);
    }
  });
  poll.start();
  guard.start(5000);
  INT_PTR result = 0;
  {
    const CIconInfo info(path.c_str());
    LPCTSTR id = nullptr;
    ICONRESOURCE* group = info.LoadIconResource(id);
    ASSERT_NE(group, nullptr);
    CIconInfoDlg dlg(group, id);
    result = dlg.DoModal();
    static_cast<void>(ClearIconResource(group));
  }
  EXPECT_TRUE(clicked);
  EXPECT_TRUE(sawCaption);
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// A corpus icon whose fifth image is a 256x256 PNG, and a monochrome one;
// both saved as screenshots when GLIMRA_SCREENSHOT_DIR is set.
TEST_F(IconInfoDialog, PngAndMonochromeImagesShowTheirFigures) {
  const std::string png = std::string(GLIMRA_CORPUS_DIR) + "/ico/nsis-menu.ico";
  std::vector<std::string> entries, pngFigures, monoFigures;
  bool pngIcon = false, monoIcon = false;
  static_cast<void>(WithInfoDialogs([&] { CIconInfo(png.c_str()).ShowInfo(); },
                                    [&](CIconInfoDlg& dlg) {
                                      entries = ComboEntries(dlg.m_cbImages);
                                      for (int i = 0; i < 4; ++i) ChooseNextImage(dlg);
                                      pngFigures = {Text(dlg.m_stcWidth), Text(dlg.m_stcHeight), Text(dlg.m_stcBits)};
                                      pngIcon = dlg.m_hCurIcon != nullptr;
                                      SaveScreenshot(dlg, "icon_info_png256");
                                    }));
  ASSERT_EQ(entries.size(), 7u);
  EXPECT_EQ(entries[4], "256x256, 32 Bit Color");
  EXPECT_EQ(pngFigures, (std::vector<std::string>{"256", "256", "32"}));
  EXPECT_TRUE(pngIcon);

  const std::string mono = Ico("mono.ico", {MonochromeEntry()});
  std::optional<QRect> black, white;
  static_cast<void>(WithInfoDialogs([&] { CIconInfo(mono.c_str()).ShowInfo(); },
                                    [&](CIconInfoDlg& dlg) {
                                      entries = ComboEntries(dlg.m_cbImages);
                                      monoFigures = {Text(dlg.m_stcWidth), Text(dlg.m_stcHeight), Text(dlg.m_stcBits)};
                                      monoIcon = dlg.m_hCurIcon != nullptr;
                                      const QImage image = GrabClient(dlg);
                                      const QRect inside = PreviewRect(dlg).adjusted(3, 3, -3, -3);
                                      black = Box(image, inside, [](QRgb p) {
                                        return qRed(p) < 30 && qGreen(p) < 30 && qBlue(p) < 30;
                                      });
                                      white = Box(image, inside, IsWhite);
                                      SaveScreenshot(dlg, "icon_info_mono");
                                    }));
  EXPECT_EQ(entries, (std::vector<std::string>{"32x32, 1 Bit Color"}));
  EXPECT_EQ(monoFigures, (std::vector<std::string>{"32", "32", "1"}));
  EXPECT_TRUE(monoIcon);
  // Both colours of the squares show, the transparent border does not.
  ASSERT_TRUE(black.has_value());
  ASSERT_TRUE(white.has_value());
  EXPECT_EQ(black->united(*white).size(), QSize(24, 24));
}

}  // namespace
