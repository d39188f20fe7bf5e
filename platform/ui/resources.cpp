#include "platform/ui/resources.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/core/byte_reader.h"
#include "platform/core/icon_object.h"

namespace {

std::mutex g_mutex;
std::vector<const ResourceTable*>& Tables() {
  static std::vector<const ResourceTable*> tables;
  return tables;
}

template <typename T, typename Pick>
const T* FindIn(Pick pick, UINT id) {
  std::lock_guard lock(g_mutex);
  auto& tables = Tables();
  for (auto it = tables.rbegin(); it != tables.rend(); ++it) {
    for (const auto& entry : pick(**it)) {
      if (entry.id == id) return entry.resource;
    }
  }
  return nullptr;
}

// An .ico file's directory entry (16 bytes, after the 6-byte header).
constexpr std::uint64_t kIcoHeaderSize = 6;
constexpr std::uint64_t kIcoEntrySize = 16;
// A directory larger than this is not an icon we made.
constexpr std::uint16_t kMaxIcoEntries = 256;

}  // namespace

void RegisterResources(const ResourceTable* table) {
  if (!table) return;
  std::lock_guard lock(g_mutex);
  Tables().push_back(table);
}

void UnregisterResources(const ResourceTable* table) {
  std::lock_guard lock(g_mutex);
  auto& tables = Tables();
  auto it = std::find(tables.rbegin(), tables.rend(), table);
  if (it != tables.rend()) tables.erase(std::next(it).base());
}

const char* FindStringResource(UINT id) {
  std::lock_guard lock(g_mutex);
  auto& tables = Tables();
  for (auto it = tables.rbegin(); it != tables.rend(); ++it) {
    for (const StringResource& s : (*it)->strings) {
      if (s.id == id) return s.text;
    }
  }
  return nullptr;
}

const DialogTemplate* FindDialogTemplate(UINT id) {
  return FindIn<DialogTemplate>([](const ResourceTable& t) { return t.dialogs; }, id);
}
const MenuTemplate* FindMenuTemplate(UINT id) {
  return FindIn<MenuTemplate>([](const ResourceTable& t) { return t.menus; }, id);
}
const AcceleratorTable* FindAcceleratorTable(UINT id) {
  return FindIn<AcceleratorTable>([](const ResourceTable& t) { return t.accelerators; }, id);
}
const ToolbarTemplate* FindToolbarTemplate(UINT id) {
  return FindIn<ToolbarTemplate>([](const ResourceTable& t) { return t.toolbars; }, id);
}
const BitmapResource* FindBitmapResource(UINT id) {
  return FindIn<BitmapResource>([](const ResourceTable& t) { return t.bitmaps; }, id);
}
const IconResource* FindIconResource(UINT id) {
  return FindIn<IconResource>([](const ResourceTable& t) { return t.icons; }, id);
}

int LoadString(HINSTANCE, UINT id, LPSTR buffer, int bufferMax) {
  if (!buffer || bufferMax <= 0) return 0;
  const char* text = FindStringResource(id);
  if (!text) {
    buffer[0] = '\0';
    return 0;
  }
  std::size_t n = std::min(std::strlen(text), static_cast<std::size_t>(bufferMax - 1));
  std::memcpy(buffer, text, n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

HICON LoadIconResource(UINT id, int cx, int cy) {
  const IconResource* icon = FindIconResource(id);
  if (!icon) return nullptr;
  if (cx <= 0) cx = 32;
  if (cy <= 0) cy = 32;
  ByteReader file(icon->icoFile);
  auto reserved = file.u16(0), type = file.u16(2), count = file.u16(4);
  if (!reserved || !type || !count || *reserved != 0 || *type != 1 || *count == 0 || *count > kMaxIcoEntries) {
    return nullptr;
  }
  // The exact size with the deepest colour, else the first image.
  std::optional<ByteReader> best;
  int bestDepth = -1;
  std::optional<ByteReader> first;
  for (std::uint16_t i = 0; i < *count; ++i) {
    std::uint64_t at = kIcoHeaderSize + kIcoEntrySize * i;
    auto w = file.u8(at), h = file.u8(at + 1);
    auto bits = file.u16(at + 6);
    auto size = file.u32(at + 8), offset = file.u32(at + 12);
    if (!w || !h || !bits || !size || !offset) return nullptr;
    auto image = file.sub(*offset, *size);
    if (!image) continue;
    if (!first) first = image;
    int width = *w == 0 ? 256 : *w, height = *h == 0 ? 256 : *h;
    if (width == cx && height == cy && static_cast<int>(*bits) > bestDepth) {
      best = image;
      bestDepth = static_cast<int>(*bits);
    }
  }
  std::optional<ByteReader> chosen = best ? best : first;
  if (!chosen) return nullptr;
  return CreateIconFromBytes(chosen->bytes());
}

std::vector<std::uint32_t> DecodeBitmapResource(const BitmapResource& bitmap) {
  if (bitmap.width <= 0 || bitmap.height <= 0 || bitmap.width > 4096 || bitmap.height > 4096) return {};
  const std::size_t count = static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height);
  if (!bitmap.pixels.empty()) {
    if (bitmap.pixels.size() != count) return {};
    return {bitmap.pixels.begin(), bitmap.pixels.end()};
  }
  if (!bitmap.indices || std::strlen(bitmap.indices) != count) return {};
  std::vector<std::uint32_t> out;
  out.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    char c = bitmap.indices[i];
    int v = (c >= '0' && c <= '9')   ? c - '0'
            : (c >= 'a' && c <= 'f') ? c - 'a' + 10
            : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                     : -1;
    if (v < 0 || static_cast<std::size_t>(v) >= bitmap.palette.size()) return {};
    out.push_back(bitmap.palette[static_cast<std::size_t>(v)]);
  }
  return out;
}
