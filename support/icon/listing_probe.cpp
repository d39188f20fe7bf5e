#include "support/icon/listing_probe.h"

#include "platform/core/icon_image_probe.h"
#include "platform/core/icon_object.h"
#include "support/icon/icon_resource_builder.h"

namespace {

std::vector<ListedImage> ImagesOf(const ICONRESOURCE* group) {
  std::vector<ListedImage> images;
  if (group == nullptr) return images;
  for (UINT i = 0; i < group->nImages; ++i) {
    const ICONIMAGE* image = IconImageAt(group, i);
    const auto header = ProbeIconImage(ByteReader(IconImageData(image)));
    images.push_back(ListedImage{image->nWidth, image->nHeight, image->nBitCount, image->wBitCount, image->dwNumBytes,
                                 header && header->png});
  }
  return images;
}

}  // namespace

FileListing ProbeListing(LPCSTR path, ImageDetail detail) {
  FileListing listing;
  if (path == nullptr) return listing;
  const IconSource source(path);
  listing.way = source.way();
  for (const IconKey& key : source.Icons()) {
    const UniqueIcon icon(source.PickedIcon(key));
    // The listing shows an icon only when it can be drawn.
    if (icon == nullptr) continue;
    listing.icons.push_back(ListedIcon{key, icon->width, icon->height, {}});
    if (detail == ImageDetail::AllImages) listing.icons.back().images = ImagesOf(source.Group(key).get());
  }
  if (auto problem = FileReadProblem(path)) {
    listing.error = std::move(*problem);
  } else if (listing.way == ListingWay::IconFile && listing.icons.empty()) {
    listing.error = "not an icon file";
  }
  return listing;
}

const char* ListingWayName(ListingWay way) {
  switch (way) {
    case ListingWay::IconFile:
      return "ico";
    case ListingWay::Module:
      return "module";
    case ListingWay::Extract:
      break;
  }
  return "extract";
}

std::string FormatListingLine(const std::string& shownName, const FileListing& listing) {
  std::string line = shownName + "\t" + ListingWayName(listing.way);
  for (const ListedIcon& icon : listing.icons) {
    line += "\t" + icon.key.Label() + " " + std::to_string(icon.width) + "x" + std::to_string(icon.height);
  }
  if (listing.way == ListingWay::Module) line += "\tcount=" + std::to_string(listing.icons.size());
  return line;
}

std::vector<std::string> FormatImageLines(const FileListing& listing) {
  std::vector<std::string> lines;
  for (const ListedIcon& icon : listing.icons) {
    const std::string label = icon.key.Label();
    for (const ListedImage& image : icon.images) {
      lines.push_back("  " + label + "\t" + std::to_string(image.width) + "x" + std::to_string(image.height) + "\t" +
                      std::to_string(image.bitCount) + "-bit\t" + (image.png ? "PNG" : "DIB"));
    }
  }
  return lines;
}
