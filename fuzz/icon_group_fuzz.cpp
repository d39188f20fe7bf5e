// Loads the input as a PE data module from memory, builds every icon group
// with the icon library, makes its 32x32 icon, and writes each group to a
// temporary .ico file.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>

#include "platform/core/data_module.h"
#include "platform/core/icon_object.h"
#include "platform/core/module_icon_group.h"
#include "support/icon/icon_library.h"

namespace {

constexpr std::size_t kGroupsVisited = 64;

const std::string& OutputPath() {
  static const std::string path = [] {
    std::string folder = (std::filesystem::temp_directory_path() / "icon-group-fuzz-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) std::abort();
    return folder + "/out.ico";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  HMODULE module = LoadDataModuleFromBytes(std::span<const std::uint8_t>(data, size));
  if (module == nullptr) return 0;
  const auto names = ModuleIconGroupNames(module);
  for (std::size_t i = 0; i < names.size() && i < kGroupsVisited; ++i) {
    if (HICON icon = GetIconFromInstance(module, names[i].id())) (void)DestroyIcon(icon);
    ICONRESOURCE* group = CreateIconFromInstance(module, names[i].id(), "fuzz.dll");
    if (group == nullptr) continue;
    if (!WriteIconToICOFile(group, OutputPath().c_str())) std::abort();
    (void)ClearIconResource(group);
  }
  (void)FreeLibrary(module);
  return 0;
}
