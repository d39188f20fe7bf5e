#include "support/icon/listing_probe.h"

#include <cctype>

#include "platform/core/data_module.h"
#include "platform/core/icon_image_probe.h"
#include "platform/core/icon_object.h"
#include "platform/core/module_icon_group.h"
#include "platform/core/shell_extract.h"
#include "platform/core/shell_icon_file.h"
#include "support/icon/icon_library.h"
#include "support/icon/icon_resource_builder.h"

namespace {

std::vector<ListedImage> ImagesOf(ICONRESOURCE* group) {
  std::vector<ListedImage> images;
  if (group == nullptr) return images;
  for (UINT i = 0; i < group->nImages; ++i) {
    const ICONIMAGE* image = IconImageAt(group, i);
    const auto header = ProbeIconImage(ByteReader(IconImageData(image)));
    images.push_back(ListedImage{image->nWidth, image->nHeight, image->nBitCount, header && header->png});
  }
  (void)ClearIconResource(group);
  return images;
}

// Takes ownership of the icon.
bool AddIcon(FileListing& listing, std::string label, HICON icon) {
  if (icon == nullptr) return false;
  listing.icons.push_back(ListedIcon{std::move(label), icon->width, icon->height, {}});
  (void)DestroyIcon(icon);
  return true;
}

void ListIconFile(FileListing& listing, LPCSTR path, ImageDetail detail) {
  ICONRESOURCE* group = ReadIconFromICOFile(path);
  if (group == nullptr) return;
  if (AddIcon(listing, "index=0", MakeIconFromResource(IconImageAt(group, 0))) &&
      detail == ImageDetail::AllImages) {
    listing.icons.back().images = ImagesOf(group);
    return;
  }
  (void)ClearIconResource(group);
}

void ListModule(FileListing& listing, HMODULE module, LPCSTR path, ImageDetail detail) {
  for (const ResourceName& name : ModuleIconGroupNames(module)) {
    std::string label = name.isNumber ? "id=" + std::to_string(name.number) : "name=" + name.text;
    if (AddIcon(listing, std::move(label), GetIconFromInstance(module, name.id())) &&
        detail == ImageDetail::AllImages) {
      listing.icons.back().images = ImagesOf(CreateIconFromInstance(module, name.id(), path));
    }
  }
}

void ListExtracted(FileListing& listing, LPCSTR path, ImageDetail detail) {
  const HINSTANCE self = GetModuleHandleA(nullptr);
  const auto source = ShellIconFile::Open(path);
  for (UINT index = 0;; ++index) {
    const HICON icon = ExtractIconFromFile(*source, index);
    if (icon == nullptr || icon == EXTRACT_NOT_AN_ICON_FILE) return;
    (void)AddIcon(listing, "index=" + std::to_string(index), icon);
    if (detail == ImageDetail::AllImages) listing.icons.back().images = ImagesOf(CreateIconFromHIcon(self, path, index));
  }
}

}  // namespace

bool HasIcoExtension(const std::string& path) {
  const auto slash = path.rfind('/');
  const auto dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  const std::string ext = path.substr(dot + 1);
  return ext.size() == 3 && std::tolower(static_cast<unsigned char>(ext[0])) == 'i' &&
         std::tolower(static_cast<unsigned char>(ext[1])) == 'c' &&
         std::tolower(static_cast<unsigned char>(ext[2])) == 'o';
}

FileListing ProbeListing(LPCSTR path, ImageDetail detail) {
  FileListing listing;
  if (path == nullptr) return listing;
  if (HasIcoExtension(path)) {
    listing.way = ListingWay::IconFile;
    ListIconFile(listing, path, detail);
  } else if (HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
    listing.way = ListingWay::Module;
    ListModule(listing, module, path, detail);
    (void)FreeLibrary(module);
  } else {
    listing.way = ListingWay::Extract;
    ListExtracted(listing, path, detail);
  }
  return listing;
}

std::string FormatListingLine(const std::string& shownName, const FileListing& listing) {
  static constexpr const char* kWays[] = {"ico", "module", "extract"};
  std::string line = shownName + "\t" + kWays[static_cast<int>(listing.way)];
  for (const ListedIcon& icon : listing.icons) {
    line += "\t" + icon.label + " " + std::to_string(icon.width) + "x" + std::to_string(icon.height);
  }
  if (listing.way == ListingWay::Module) line += "\tcount=" + std::to_string(listing.icons.size());
  return line;
}

std::vector<std::string> FormatImageLines(const FileListing& listing) {
  std::vector<std::string> lines;
  for (const ListedIcon& icon : listing.icons) {
    for (const ListedImage& image : icon.images) {
      lines.push_back("  " + icon.label + "\t" + std::to_string(image.width) + "x" + std::to_string(image.height) +
                      "\t" + std::to_string(image.bitCount) + "-bit\t" + (image.png ? "PNG" : "DIB"));
    }
  }
  return lines;
}
