// The program's resources as registered: dialog 500, the menus, the
// accelerator, the toolbar and its bitmap, the icon, the strings and the
// version data.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/core/icon_object.h"
#include "platform/ui/common_controls.h"
#include "platform/ui/resources.h"
#include "res/resource_ids.h"
#include "res/version_data.h"

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b.at(at + static_cast<std::size_t>(i));
  return v;
}

// toolbar.bmp read directly, as 0xAARRGGBB pixels top-down: the reference
// the build-time conversion must reproduce.
std::vector<std::uint32_t> ToolbarBmpPixels(int& width, int& height) {
  const auto file = ReadFile(std::string(GLIMRA_SOURCE_DIR) + "/res/toolbar.bmp");
  const std::uint32_t pixelOffset = Le(file, 10, 4);
  const std::uint32_t headerSize = Le(file, 14, 4);
  width = static_cast<int>(Le(file, 18, 4));
  height = static_cast<int>(Le(file, 22, 4));
  EXPECT_EQ(Le(file, 28, 2), 4u);
  const std::size_t rowBytes = (static_cast<std::size_t>(width) * 4 + 31) / 32 * 4;
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < height; ++y) {
    const std::size_t row = pixelOffset + static_cast<std::size_t>(height - 1 - y) * rowBytes;
    for (int x = 0; x < width; ++x) {
      const std::uint8_t pair = file.at(row + static_cast<std::size_t>(x / 2));
      const unsigned index = (x % 2 == 0) ? (pair >> 4) : (pair & 0xFu);
      const std::size_t entry = 14 + headerSize + index * 4;
      pixels.push_back(0xFF000000u | (Le(file, entry + 2, 1) << 16) | (Le(file, entry + 1, 1) << 8) |
                       Le(file, entry, 1));
    }
  }
  return pixels;
}

struct ControlRow {
  int id;
  const char* className;
  const char* text;
  DWORD style;
  DWORD exStyle;
  short x, y, cx, cy;
};

// Dialog 500's controls in tab order, as designed.
const ControlRow kControls[] = {
    {1088, "BUTTON", "&Path selector", WS_VISIBLE | BS_GROUPBOX, 0, 7, 3, 293, 88},
    {1001, "SysTreeView32", "Tree1",
     WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
     WS_EX_CLIENTEDGE, 12, 12, 144, 73},
    {1034, "LISTBOX", "",
     WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL,
     0, 160, 12, 84, 73},
    {1000, "BUTTON", "&List Icon", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 248, 12, 39, 14},
    {1091, "STATIC", "File &type:", WS_VISIBLE | WS_GROUP | SS_CENTER, 0, 248, 33, 46, 8},
    {1089, "COMBOBOX", "", WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN, 0, 248, 44, 46, 52},
    {1017, "BUTTON", "&Recursive", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 248, 64, 48, 10},
    {1090, "BUTTON", "I&con List", WS_VISIBLE | BS_GROUPBOX, 0, 7, 95, 293, 88},
    {1002, "SysListView32", "List1", WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_ICON | LVS_AUTOARRANGE, 0, 12, 104, 281,
     72},
};

TEST(MainDialogTemplate, FrameMenuCaptionAndFont) {
  const DialogTemplate* t = FindDialogTemplate(IDD_GLIMRA_DIALOG);
  ASSERT_NE(t, nullptr);
  EXPECT_TRUE(t->extended);
  EXPECT_EQ(t->style,
            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_SETFONT);
  EXPECT_EQ(t->exStyle, WS_EX_APPWINDOW);
  EXPECT_EQ(t->x, 0);
  EXPECT_EQ(t->y, 0);
  EXPECT_EQ(t->cx, 307);
  EXPECT_EQ(t->cy, 190);
  EXPECT_EQ(t->menuId, 130u);
  EXPECT_STREQ(t->caption, "Glimra");
  EXPECT_STREQ(t->typeface, "MS Sans Serif");
  EXPECT_EQ(t->pointSize, 8);
  EXPECT_EQ(t->windowClass, nullptr);
}

TEST(MainDialogTemplate, ControlsInTabOrderWithStylesAndRectangles) {
  const DialogTemplate* t = FindDialogTemplate(IDD_GLIMRA_DIALOG);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->items.size(), std::size(kControls));
  for (std::size_t i = 0; i < std::size(kControls); ++i) {
    const DialogItemTemplate& item = t->items[i];
    const ControlRow& want = kControls[i];
    SCOPED_TRACE(want.id);
    EXPECT_EQ(item.id, static_cast<DWORD>(want.id));
    EXPECT_STREQ(item.className, want.className);
    EXPECT_STREQ(item.text, want.text);
    EXPECT_EQ(item.style, want.style);
    EXPECT_EQ(item.exStyle, want.exStyle);
    EXPECT_EQ(item.x, want.x);
    EXPECT_EQ(item.y, want.y);
    EXPECT_EQ(item.cx, want.cx);
    EXPECT_EQ(item.cy, want.cy);
  }
}

// A menu as lines: "text=id" for items, "-" for separators, nesting by
// indentation.
void Flatten(std::span<const MenuItemTemplate> items, const std::string& indent, std::vector<std::string>& out) {
  for (const MenuItemTemplate& item : items) {
    if (item.flags & MF_SEPARATOR) {
      out.push_back(indent + "-");
    } else if (item.flags & MF_POPUP) {
      out.push_back(indent + item.text);
      Flatten(item.popup, indent + "  ", out);
    } else {
      out.push_back(indent + item.text + "=" + std::to_string(item.id));
    }
  }
}

TEST(Menus, MenuBarAndIconPopup) {
  struct Case {
    UINT id;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {130,
       {"&File", "  E&xit=57665", "&Icons", "  &Clear=32771", "  Save &As...=32772", "  &Info=32776", "  -",
        "  C&opy=32777", "  &Export...=32778", "&Help", "  &Help Topics=57667", "  -", "  &About Glimra...=57664"}},
      {129,
       {"Pop", "  &Clear=32771", "  Save &As...=32772", "  &Info=32776", "  -", "  C&opy=32777", "  &Export...=32778"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const MenuTemplate* menu = FindMenuTemplate(c.id);
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> lines;
    Flatten(menu->items, "", lines);
    EXPECT_EQ(lines, c.lines);
  }
}

TEST(Accelerators, CtrlIGivesInfo) {
  const AcceleratorTable* table = FindAcceleratorTable(137);
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->entries.size(), 1u);
  EXPECT_EQ(table->entries[0].fVirt, FVIRTKEY | FCONTROL);
  EXPECT_EQ(table->entries[0].key, 'I');
  EXPECT_EQ(table->entries[0].cmd, 32776);
}

TEST(Toolbar, ButtonsAndBitmapHoldOneImageEach) {
  const ToolbarTemplate* toolbar = FindToolbarTemplate(128);
  ASSERT_NE(toolbar, nullptr);
  EXPECT_EQ(toolbar->width, 16);
  EXPECT_EQ(toolbar->height, 16);
  const std::vector<WORD> items(toolbar->items.begin(), toolbar->items.end());
  EXPECT_EQ(items, (std::vector<WORD>{57665, 32771, 0, 32772, 32776, 57664}));

  const BitmapResource* bitmap = FindBitmapResource(128);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->width, 80);
  EXPECT_EQ(bitmap->height, 16);
  EXPECT_EQ(bitmap->palette.size(), 16u);
}

TEST(Toolbar, BitmapMatchesTheArtworkPixelForPixel) {
  int width = 0;
  int height = 0;
  const std::vector<std::uint32_t> expected = ToolbarBmpPixels(width, height);
  const BitmapResource* bitmap = FindBitmapResource(128);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->width, width);
  EXPECT_EQ(bitmap->height, height);
  EXPECT_EQ(DecodeBitmapResource(*bitmap), expected);
}

TEST(ApplicationIcon, HoldsTheArtworkAndLoads) {
  const IconResource* icon = FindIconResource(128);
  ASSERT_NE(icon, nullptr);
  const auto file = ReadFile(std::string(GLIMRA_SOURCE_DIR) + "/res/glimra.ico");
  EXPECT_EQ(std::vector<std::uint8_t>(icon->icoFile.begin(), icon->icoFile.end()), file);

  HICON loaded = LoadIconResource(128);
  ASSERT_NE(loaded, nullptr);
  DestroyIcon(loaded);
}

TEST(StringTable, WindowStringsAndPrompts) {
  const std::pair<UINT, const char*> strings[] = {
      {101, "&About Glimra..."},
      {32771, "Clear Icon list\nClear list"},
      {32772, "Save selected icons\nSave icons"},
      {32776, "Display Icon info\nDisplay Icon Info"},
      {57664, "Display information about application\nAbout"},
      {57665, "Exit Glimra\nExit"},
      {57667, "List Help topics\nHelp Topics"},
      {57344, "Glimra"},
  };
  for (const auto& [id, text] : strings) {
    SCOPED_TRACE(id);
    const char* found = FindStringResource(id);
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found, text);
  }
}

TEST(VersionData, Version1020AsTheAboutBoxReadsIt) {
  const VersionInfo* info = GetVersionInfo();
  ASSERT_EQ(info, &GlimraVersionInfo());
  EXPECT_EQ(std::vector<WORD>(std::begin(info->fileVersion), std::end(info->fileVersion)),
            (std::vector<WORD>{1, 0, 2, 0}));
  EXPECT_EQ(std::vector<WORD>(std::begin(info->productVersion), std::end(info->productVersion)),
            (std::vector<WORD>{1, 0, 2, 0}));
  const std::pair<const char*, const char*> strings[] = {
      {"FileDescription", "Glimra Application"}, {"FileVersion", "1, 0, 2, 0"},    {"InternalName", "Glimra"},
      {"OriginalFilename", "Glimra.exe"},        {"ProductVersion", "1, 0, 2, 0"},
  };
  for (const auto& [name, text] : strings) {
    SCOPED_TRACE(name);
    const char* found = QueryVersionString(name);
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found, text);
  }
}

}  // namespace
