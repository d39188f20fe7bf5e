#pragma once
// Resource types and their lookup by id.
//
// Scheme: resources are plain constant data. res/ (or a test) defines one
// ResourceTable whose spans point at static arrays, and registers it once
// with RegisterResources(&table) before AfxWinMain runs InitInstance (the
// program's main does it). Lookups search the registered tables newest
// first, so a test's table can override or extend the program's; a test
// uses ScopedResources to register a table for its own duration.
//
// Dialog templates keep the extended template's fields and dialog-unit
// rectangles as designed; the layer converts units when it creates the
// dialog. Styles use the platform's constants (win_user.h,
// common_controls.h).

#include <cstdint>
#include <span>
#include <vector>

#include "platform/ui/win_user.h"

struct StringResource {
  UINT id;
  const char* text;  // a command prompt holds "prompt\ntooltip"
};

struct DialogItemTemplate {
  DWORD helpId;
  DWORD exStyle;
  DWORD style;  // WS_CHILD is implied
  short x;
  short y;
  short cx;
  short cy;
  DWORD id;
  const char* className;  // "BUTTON", "STATIC", "LISTBOX", "COMBOBOX", "EDIT", "SysTreeView32", "SysListView32"
  const char* text;
};

struct DialogTemplate {
  bool extended;  // DLGTEMPLATEEX (helpId and weight/italic/charset are kept only there)
  DWORD helpId;
  DWORD exStyle;
  DWORD style;
  short x;
  short y;
  short cx;
  short cy;
  UINT menuId;              // 0: no menu
  const char* windowClass;  // null: the dialog class
  const char* caption;
  WORD pointSize;  // with DS_SETFONT
  WORD weight;
  BYTE italic;
  BYTE charset;
  const char* typeface;
  std::span<const DialogItemTemplate> items;  // in tab order
};

// A menu: top-level items; MF_POPUP items carry their own items.
struct MenuItemTemplate {
  UINT flags;  // MF_POPUP, MF_SEPARATOR, MF_GRAYED, MF_CHECKED
  UINT id;
  const char* text;
  std::span<const MenuItemTemplate> popup;
};
struct MenuTemplate {
  std::span<const MenuItemTemplate> items;
};

struct AcceleratorEntry {
  BYTE fVirt;  // FVIRTKEY with FCONTROL, FSHIFT, FALT
  WORD key;    // a virtual key ('I' is 0x49) or, without FVIRTKEY, a character
  WORD cmd;
};
struct AcceleratorTable {
  std::span<const AcceleratorEntry> entries;
};

// A toolbar: button size and the command ids in bitmap order (0 is a
// separator, which takes no image). Its bitmap has the same id.
struct ToolbarTemplate {
  WORD width;
  WORD height;
  std::span<const WORD> items;
};

// A bitmap either as 0xAARRGGBB pixels, top-down, or as a palette with one
// hexadecimal digit per pixel ("0".."f", rows top-down, no separators).
struct BitmapResource {
  int width;
  int height;
  std::span<const std::uint32_t> pixels;
  std::span<const std::uint32_t> palette;
  const char* indices;
};

// An icon as the bytes of a whole .ico file; loads pick the image closest
// to the asked size.
struct IconResource {
  std::span<const std::uint8_t> icoFile;
};

template <typename T>
struct ResourceEntry {
  UINT id;
  const T* resource;
};

struct ResourceTable {
  std::span<const StringResource> strings{};
  std::span<const ResourceEntry<DialogTemplate>> dialogs{};
  std::span<const ResourceEntry<MenuTemplate>> menus{};
  std::span<const ResourceEntry<AcceleratorTable>> accelerators{};
  std::span<const ResourceEntry<ToolbarTemplate>> toolbars{};
  std::span<const ResourceEntry<BitmapResource>> bitmaps{};
  std::span<const ResourceEntry<IconResource>> icons{};
};

void RegisterResources(const ResourceTable* table);
void UnregisterResources(const ResourceTable* table);

class ScopedResources {
 public:
  explicit ScopedResources(const ResourceTable& table) : m_table(&table) { RegisterResources(m_table); }
  ~ScopedResources() { UnregisterResources(m_table); }
  ScopedResources(const ScopedResources&) = delete;
  ScopedResources& operator=(const ScopedResources&) = delete;

 private:
  const ResourceTable* m_table;
};

// Null when no registered table has the id.
[[nodiscard]] const char* FindStringResource(UINT id);
[[nodiscard]] const DialogTemplate* FindDialogTemplate(UINT id);
[[nodiscard]] const MenuTemplate* FindMenuTemplate(UINT id);
[[nodiscard]] const AcceleratorTable* FindAcceleratorTable(UINT id);
[[nodiscard]] const ToolbarTemplate* FindToolbarTemplate(UINT id);
[[nodiscard]] const BitmapResource* FindBitmapResource(UINT id);
[[nodiscard]] const IconResource* FindIconResource(UINT id);

// The platform's string load: copies at most bufferMax - 1 bytes and a NUL;
// answers the bytes copied, 0 when the string is absent.
int LoadString(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax);
inline int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax) {
  return LoadString(instance, id, buffer, bufferMax);
}
// A new icon from icon resource id at cx x cy (0 0: 32 x 32); null when absent.
[[nodiscard]] HICON LoadIconResource(UINT id, int cx = 0, int cy = 0);
// The 0xAARRGGBB pixels of a bitmap resource, top-down; empty when malformed
// (pixel count, a digit outside the palette).
[[nodiscard]] std::vector<std::uint32_t> DecodeBitmapResource(const BitmapResource& bitmap);
