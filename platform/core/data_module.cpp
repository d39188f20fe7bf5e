#include "platform/core/data_module.h"

#include <mutex>
#include <string>
#include <unordered_set>

#include "platform/core/built_in_modules.h"
#include "platform/core/data_module_object.h"

namespace {

// The program's own instance: a real object so the handle is a valid
// address, never registered as a data module.
DataModule g_programInstance;

// Handles handed out and not yet freed. Every entry point checks it, so a
// stale or foreign handle is refused instead of followed.
class ModuleRegistry {
 public:
  void Add(const DataModule* module) {
    const std::lock_guard lock(m_mutex);
    m_live.insert(module);
  }
  [[nodiscard]] bool Remove(const DataModule* module) {
    const std::lock_guard lock(m_mutex);
    return m_live.erase(module) != 0;
  }
  [[nodiscard]] bool Contains(const DataModule* module) {
    const std::lock_guard lock(m_mutex);
    return m_live.count(module) != 0;
  }

 private:
  std::mutex m_mutex;
  std::unordered_set<const DataModule*> m_live;
};

ModuleRegistry& Registry() {
  static ModuleRegistry registry;
  return registry;
}

std::unique_ptr<DataModule> Build(std::span<const std::uint8_t> bytes) {
  auto image = PeImage::Parse(ByteReader(bytes));
  if (!image) return nullptr;
  auto module = std::make_unique<DataModule>();
  module->image = *image;
  if (const auto dir = module->image.dataDirectory(kPeResourceDirectoryIndex); dir && dir->rva != 0) {
    // The tree's offsets are relative to its root; the rest of the section
    // holding the root is where they may point.
    if (const auto tree = module->image.ViewAt(dir->rva)) module->resources = ResourceDirectory(*tree);
  }
  return module;
}

HMODULE Publish(std::unique_ptr<DataModule> module) {
  DataModule* handle = module.release();
  Registry().Add(handle);
  return handle;
}

const ResourceInfo* Remember(DataModule& module, const ResourceDataEntry& entry) {
  const auto bytes = module.image.BytesAt(entry.rva, entry.size);
  if (!bytes) return nullptr;
  const std::lock_guard lock(module.foundMutex);
  auto& slot = module.found[entry.entryOffset];
  if (!slot) slot = std::make_unique<ResourceInfo>(ResourceInfo{&module, bytes->bytes()});
  return slot.get();
}

bool Owns(HMODULE module, HRSRC resource) {
  return resource != nullptr && IsDataModule(module) && resource->owner == module;
}

}  // namespace

HINSTANCE GetModuleHandleA(LPCSTR name) { return name == nullptr ? &g_programInstance : nullptr; }

HMODULE LoadDataModuleFromBytes(std::span<const std::uint8_t> bytes) {
  auto module = Build(bytes);
  return module ? Publish(std::move(module)) : nullptr;
}

HMODULE LoadLibraryExA(LPCSTR path, HANDLE /*file*/, DWORD flags) {
  // Only data files: this layer never runs a module's code.
  if ((flags & LOAD_LIBRARY_AS_DATAFILE) == 0 || path == nullptr) return nullptr;
  // A module a layer above provides (the help viewer) is no file to map.
  if (bool present = false; IsBuiltInModule(path, &present)) {
    return present ? Publish(std::make_unique<DataModule>()) : nullptr;
  }
  auto mapping = FileMapping::Open(path);
  if (!mapping) return nullptr;
  auto module = Build(mapping->bytes());
  if (!module) return nullptr;
  // The views in module point into the mapping's pages, which stay where
  // they are when the mapping object moves.
  module->mapping = std::move(*mapping);
  return Publish(std::move(module));
}

BOOL FreeLibrary(HMODULE module) {
  if (module == nullptr || !Registry().Remove(module)) return FALSE;
  delete module;
  return TRUE;
}

bool IsDataModule(HMODULE module) { return module != nullptr && Registry().Contains(module); }

bool IsDamagedModule(HMODULE module) {
  return IsDataModule(module) && module->mapping.has_value() && module->mapping->damaged();
}

BOOL EnumResourceNamesA(HMODULE module, LPCSTR type, ENUMRESNAMEPROCA proc, LONG_PTR param) {
  if (proc == nullptr || type == nullptr || !IsDataModule(module)) return FALSE;
  std::string name;
  const auto walk = module->resources.EnumerateNames(
      ResourceKey::FromId(type), [&](const ResourceName& found, const ResourceDataEntry& data) {
        // A name whose data lies outside the file could never be loaded. A file
        // cut short under the walk has nothing more worth reporting.
        if (!module->image.BytesAt(data.rva, data.size)) return true;
        if (module->mapping && module->mapping->damaged()) return false;
        if (!found.isName) return proc(module, type, MAKEINTRESOURCEA(found.number), param) != FALSE;
        // A copy the callback may scribble on; the platform passes a writable
        // buffer too.
        name.assign(found.name);
        return proc(module, type, name.data(), param) != FALSE;
      });
  // The platform answers FALSE both for a missing type and for a walk the
  // callback stopped.
  return walk == ResourceDirectory::NameWalk::Completed ? TRUE : FALSE;
}

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
  if (name == nullptr || type == nullptr || !IsDataModule(module)) return nullptr;
  const auto entry = module->resources.Find(ResourceKey::FromId(type), ResourceKey::FromId(name));
  return entry ? Remember(*module, *entry) : nullptr;
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) { return Owns(module, resource) ? resource : nullptr; }

DWORD SizeofResource(HMODULE module, HRSRC resource) {
  return Owns(module, resource) ? static_cast<DWORD>(resource->bytes.size()) : 0;
}

LPCVOID LockResource(HGLOBAL resource) {
  if (resource == nullptr || !IsDataModule(const_cast<HMODULE>(resource->owner))) return nullptr;
  return resource->bytes.data();
}

std::optional<ByteReader> ResourceBytes(HMODULE module, HRSRC resource) {
  if (!Owns(module, resource)) return std::nullopt;
  return ByteReader(resource->bytes);
}
