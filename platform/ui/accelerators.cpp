#include "platform/ui/accelerators.h"

#include <atomic>
#include <vector>

#include "platform/ui/resources.h"
#include "platform/ui/status_bar.h"

struct AcceleratorRecord {
  std::vector<AccelEntryValue> entries;
};

namespace {
std::atomic<bool> g_control{false};
std::atomic<bool> g_shift{false};
std::atomic<bool> g_alt{false};
}  // namespace

HACCEL CreateAcceleratorTable(const AccelEntryValue* entries, int count) {
  if (!entries || count <= 0) return nullptr;
  auto* table = new AcceleratorRecord;
  table->entries.assign(entries, entries + count);
  return table;
}

HACCEL LoadAcceleratorTable(UINT resourceId) {
  const AcceleratorTable* resource = FindAcceleratorTable(resourceId);
  if (!resource || resource->entries.empty()) return nullptr;
  auto* table = new AcceleratorRecord;
  for (const AcceleratorEntry& e : resource->entries) table->entries.push_back({e.fVirt, e.key, e.cmd});
  return table;
}

BOOL DestroyAcceleratorTable(HACCEL table) {
  delete table;
  return table ? TRUE : FALSE;
}

void SetModifierState(bool control, bool shift, bool alt) {
  g_control = control;
  g_shift = shift;
  g_alt = alt;
}

SHORT GetKeyState(int virtualKey) {
  constexpr SHORT kDown = static_cast<SHORT>(0x8000);
  switch (virtualKey) {
    case VK_CONTROL:
      return g_control ? kDown : 0;
    case VK_SHIFT:
      return g_shift ? kDown : 0;
    case VK_MENU:
      return g_alt ? kDown : 0;
    case VK_CAPITAL:
      return GetLockKeyState(LockKey::Caps) ? 1 : 0;
    case VK_NUMLOCK:
      return GetLockKeyState(LockKey::Num) ? 1 : 0;
    case VK_SCROLL:
      return GetLockKeyState(LockKey::Scroll) ? 1 : 0;
    default:
      return 0;
  }
}

BOOL TranslateAccelerator(HWND hWnd, HACCEL table, MSG* msg) {
  if (!table || !msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  const bool control = g_control, shift = g_shift, alt = g_alt;
  for (const AccelEntryValue& e : table->entries) {
    if (!(e.fVirt & FVIRTKEY)) continue;  // character entries are for WM_CHAR, which we do not translate
    if (e.key != msg->wParam) continue;
    if (((e.fVirt & FCONTROL) != 0) != control || ((e.fVirt & FSHIFT) != 0) != shift ||
        ((e.fVirt & FALT) != 0) != alt) {
      continue;
    }
    SendMessage(hWnd, WM_COMMAND, MAKEWPARAM(e.cmd, 1), 0);
    return TRUE;
  }
  return FALSE;
}
