#include "support/icon/icon_library.h"

#include <cstdlib>

#include "platform/core/data_module.h"
#include "platform/core/file_mapping.h"
#include "platform/core/icon_object.h"
#include "platform/core/module_icon_group.h"
#include "platform/core/shell_icon_file.h"
#include "support/icon/icon_resource_builder.h"

namespace {

// The common case costs one image lookup: pick on the stored directory and
// fetch only that image. Only when the picked id has nothing behind it are
// all images resolved and the pick made among those that exist.
HICON PickedIconOfGroup(HMODULE module, LPCSTR id) {
  const HRSRC dirRes = FindResourceA(module, id, RT_GROUP_ICON);
  const auto dir = dirRes != nullptr ? ResourceBytes(module, dirRes) : std::nullopt;
  if (!dir) return nullptr;
  if (!ParseGroupDirectory(*dir)) return nullptr;
  const int picked = LookupIconIdFromDirectoryBytes(dir->bytes(), kDefaultIconSide, kDefaultIconSide);
  if (picked > 0 && picked <= 0xFFFF) {
    const HRSRC imageRes = FindResourceA(module, MAKEINTRESOURCEA(static_cast<std::uintptr_t>(picked)), RT_ICON);
    const auto image = imageRes != nullptr ? ResourceBytes(module, imageRes) : std::nullopt;
    if (image && !image->empty()) return CreateDefaultSizeIcon(*image);
  }
  const auto images = ModuleIconGroup(module, id);
  if (!images) return nullptr;
  const auto pick = PickDefaultImage(*images);
  return pick ? CreateDefaultSizeIcon((*images)[*pick].bytes) : nullptr;
}

// A file cut short while it was read gave zeros for what vanished: what was
// built from it is dropped, so a save or a preview never passes those off as
// the file's icon. The question is asked only once the building, which
// reads the bytes, is over (hence a function to call, not a flag).
template <typename IsDamaged>
ICONRESOURCE* UnlessDamaged(ICONRESOURCE* group, IsDamaged&& damaged) {
  if (group == nullptr || !damaged()) return group;
  std::free(group);
  return nullptr;
}

template <typename IsDamaged>
HICON UnlessDamaged(HICON icon, IsDamaged&& damaged) {
  if (icon == nullptr || !damaged()) return icon;
  static_cast<void>(DestroyIcon(icon));
  return nullptr;
}

}  // namespace

ICONRESOURCE* ReadIconFromICOFile(LPCSTR path) {
  if (path == nullptr) return nullptr;
  const auto mapping = FileMapping::Open(path);
  if (!mapping) return nullptr;
  const auto images = ParseIcoFile(ByteReader(mapping->bytes()));
  if (!images) return nullptr;
  return UnlessDamaged(BuildIconResource(*images, GroupOrigin::IconFile, path), [&] { return mapping->damaged(); });
}

ICONRESOURCE* CreateIconFromInstance(HINSTANCE module, LPCSTR id, LPCSTR path) {
  if (!IsDataModule(module)) return nullptr;
  const auto images = ModuleIconGroup(module, id);
  if (!images) return nullptr;
  return UnlessDamaged(BuildIconResource(*images, GroupOrigin::Module, path != nullptr ? path : ""),
                       [module] { return IsDamagedModule(module); });
}

ICONRESOURCE* CreateIconFromHIcon(HINSTANCE, LPCSTR path, UINT index) {
  if (path == nullptr) return nullptr;
  const auto file = ShellIconFile::Open(path);
  const auto images = file->group(index);
  if (!images) return nullptr;
  return UnlessDamaged(BuildIconResource(*images, GroupOrigin::Module, path), [&] { return file->damaged(); });
}

HICON MakeIconFromResource(const ICONIMAGE* image) {
  if (image == nullptr) return nullptr;
  return CreateIconFromBytes(IconImageData(image));
}

HICON GetIconFromInstance(HINSTANCE module, LPCSTR id) {
  if (!IsDataModule(module) || id == nullptr) return nullptr;
  return UnlessDamaged(PickedIconOfGroup(module, id), [module] { return IsDamagedModule(module); });
}

BOOL ClearIconResource(ICONRESOURCE* group) {
  if (group == nullptr) return FALSE;
  std::free(group);
  return TRUE;
}
