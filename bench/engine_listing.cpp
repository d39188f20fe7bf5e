#include "bench/engine_listing.h"

#include <algorithm>
#include <filesystem>

#include "platform/core/data_module.h"
#include "platform/core/icon_object.h"
#include "platform/core/module_icon_group.h"
#include "platform/core/shell_extract.h"
#include "platform/core/shell_icon_file.h"
#include "support/icon/icon_library.h"
#include "support/icon/icon_source.h"

namespace {

// Scales as the image list does and releases the icon; whether it made an image.
bool StoreAndRelease(HICON icon) {
  if (icon == nullptr) return false;
  const bool made = ScaleIconPixels(*icon, 32, 32).size() == std::size_t{32} * 32;
  (void)DestroyIcon(icon);
  return made;
}

std::size_t ListIconFile(const std::string& file) {
  ICONRESOURCE* group = ReadIconFromICOFile(file.c_str());
  if (group == nullptr) return 0;
  const bool made = group->nImages > 0 && StoreAndRelease(MakeIconFromResource(IconImageAt(group, 0)));
  (void)ClearIconResource(group);
  return made ? 1 : 0;
}

std::size_t ListModule(HMODULE module) {
  std::size_t icons = 0;
  for (const ResourceName& name : ModuleIconGroupNames(module)) {
    if (StoreAndRelease(GetIconFromInstance(module, name.id()))) ++icons;
  }
  return icons;
}

std::size_t ListByExtraction(const std::string& file) {
  std::size_t icons = 0;
  const auto source = ShellIconFile::Open(file.c_str());
  for (unsigned index = 0; index <= kMaxExtractIndex; ++index) {
    HICON icon = ExtractIconFromFile(*source, index);
    if (icon == nullptr || icon == EXTRACT_NOT_AN_ICON_FILE) break;
    if (StoreAndRelease(icon)) ++icons;
  }
  return icons;
}

// A tree changes while it is walked and holds what a walk cannot enter:
// every step reports through an error code, and a folder that fails costs
// only what is below it. Links to folders are not followed (so a loop of
// them is never entered); a link that resolves to a file counts as the file.
void CollectFiles(const std::filesystem::path& folder, std::vector<std::string>& files) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
  for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
    std::error_code entryError;
    if (it->is_directory(entryError) && !it->is_symlink(entryError)) {
      CollectFiles(it->path(), files);
    } else if (it->is_regular_file(entryError)) {
      files.push_back(it->path().string());
    }
  }
}

}  // namespace

std::vector<std::string> FilesUnder(const std::string& root) {
  std::vector<std::string> files;
  CollectFiles(root, files);
  std::sort(files.begin(), files.end());
  return files;
}

ListingCounts ListLikeTheProgram(const std::vector<std::string>& files) {
  ListingCounts counts;
  for (const std::string& file : files) {
    ++counts.files;
    const IconSource source(file.c_str());
    if (source.way() == ListingWay::IconFile) {
      counts.icons += ListIconFile(file);
    } else if (source.way() == ListingWay::Module) {
      ++counts.modules;
      counts.icons += ListModule(source.module());
    } else {
      counts.icons += ListByExtraction(file);
    }
  }
  return counts;
}
