#pragma once
// What the listing finds in one file, read the way IconSource decides (see
// icon_source.h), in the listing's words: each icon with the size a 32x32
// load picks and, on request, every image of its group.

#include <string>
#include <vector>

#include "platform/core/win_types.h"
#include "support/icon/icon_source.h"

struct ListedImage {
  unsigned width = 0;
  unsigned height = 0;
  unsigned bitCount = 0;         // real depth, from the image's own header
  unsigned claimedBitCount = 0;  // what the directory entry says
  unsigned byteSize = 0;
  bool png = false;
};

struct ListedIcon {
  IconKey key;
  int width = 0;  // of the image a 32x32 load picks
  int height = 0;
  std::vector<ListedImage> images;  // filled with ImageDetail::AllImages
};

struct FileListing {
  ListingWay way = ListingWay::IconFile;
  std::vector<ListedIcon> icons;
  // Why the file could not be read; empty when it was (a readable file
  // without icons is no error).
  std::string error;
};

enum class ImageDetail { PickedOnly, AllImages };

[[nodiscard]] FileListing ProbeListing(LPCSTR path, ImageDetail detail);

// "ico", "module" or "extract".
[[nodiscard]] const char* ListingWayName(ListingWay way);

// One line: the name as shown, the way, each icon, and for modules the count.
[[nodiscard]] std::string FormatListingLine(const std::string& shownName, const FileListing& listing);
// The indented lines describing every image of every icon.
[[nodiscard]] std::vector<std::string> FormatImageLines(const FileListing& listing);
