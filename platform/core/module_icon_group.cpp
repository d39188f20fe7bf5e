#include "platform/core/module_icon_group.h"

#include "platform/core/data_module.h"

namespace {

// Enumeration would go on for ever over a hostile directory only if the
// module walker had no caps of its own; this keeps the copy bounded anyway.
constexpr std::size_t kMaxGroupsPerModule = 65536;

BOOL CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
  auto* names = reinterpret_cast<std::vector<ResourceName>*>(param);
  if (names->size() >= kMaxGroupsPerModule) return FALSE;
  names->push_back(ResourceNameFrom(name));
  return TRUE;
}

std::optional<ByteReader> FindBytes(HMODULE module, LPCSTR id, LPCSTR type) {
  const HRSRC found = FindResourceA(module, id, type);
  if (found == nullptr) return std::nullopt;
  return ResourceBytes(module, found);
}

}  // namespace

ResourceName ResourceNameFrom(LPCSTR id) {
  ResourceName name;
  if (IS_INTRESOURCE(id)) {
    name.number = ResourceNumber(id);
  } else {
    name.isNumber = false;
    name.text = id;
  }
  return name;
}

std::vector<ResourceName> ModuleResourceNames(HMODULE module, LPCSTR type) {
  std::vector<ResourceName> names;
  if (module == nullptr) return names;
  (void)EnumResourceNamesA(module, type, CollectName, reinterpret_cast<LONG_PTR>(&names));
  return names;
}

std::vector<ResourceName> ModuleIconGroupNames(HMODULE module) { return ModuleResourceNames(module, RT_GROUP_ICON); }

Expected<std::vector<IconImageBytes>> ModuleIconGroup(HMODULE module, LPCSTR id) {
  if (module == nullptr || id == nullptr) return Fail("no module");
  const auto dir = FindBytes(module, id, RT_GROUP_ICON);
  if (!dir) return Fail("icon group not found");
  return ResolveGroupImages(
      *dir, [module](const IconDirEntry& entry) { return FindBytes(module, MAKEINTRESOURCEA(entry.id), RT_ICON); });
}
