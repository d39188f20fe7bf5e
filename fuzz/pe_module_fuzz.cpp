// Loads the input as a data module from memory, enumerates every icon group
// and every icon, finds each one by what enumeration reported (and each
// group's images by the ids its directory names), and reads every byte found.

#include <cstdint>
#include <cstring>
#include <span>

#include "platform/core/data_module.h"

namespace {

struct Walk {
  std::uint32_t sum = 0;
};

void Touch(HMODULE module, HRSRC resource, Walk& walk) {
  const auto bytes = ResourceBytes(module, resource);
  if (!bytes) return;
  for (std::uint8_t b : bytes->bytes()) walk.sum += b;
  const auto* locked = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, resource)));
  if (locked != nullptr && SizeofResource(module, resource) != 0)
    walk.sum += locked[SizeofResource(module, resource) - 1];
}

BOOL VisitIcon(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param) {
  auto& walk = *reinterpret_cast<Walk*>(param);
  Touch(module, FindResourceA(module, name, type), walk);
  return TRUE;
}

BOOL VisitGroup(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param) {
  auto& walk = *reinterpret_cast<Walk*>(param);
  if (!IS_INTRESOURCE(name)) walk.sum += static_cast<std::uint32_t>(std::strlen(name));
  const HRSRC group = FindResourceA(module, name, type);
  Touch(module, group, walk);
  const auto dir = ResourceBytes(module, group);
  if (!dir) return TRUE;
  const std::uint16_t count = dir->u16(4).value_or(0);
  for (std::uint32_t i = 0; i < count; ++i) {
    const auto id = dir->u16(6 + 14 * std::uint64_t{i} + 12);
    if (!id) break;
    Touch(module, FindResourceA(module, MAKEINTRESOURCEA(*id), RT_ICON), walk);
  }
  return TRUE;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  HMODULE module = LoadDataModuleFromBytes(std::span<const std::uint8_t>(data, size));
  if (module == nullptr) return 0;
  Walk walk;
  (void)EnumResourceNamesA(module, RT_GROUP_ICON, VisitGroup, reinterpret_cast<LONG_PTR>(&walk));
  (void)EnumResourceNamesA(module, RT_ICON, VisitIcon, reinterpret_cast<LONG_PTR>(&walk));
  (void)FindResourceA(module, "FOLDER", RT_GROUP_ICON);
  (void)FreeLibrary(module);
  volatile std::uint32_t sink = walk.sum;
  (void)sink;
  return 0;
}
