#pragma once
// What the listing finds in one file, decided the way the listing decides
// it: an "ico" extension reads the icon file, else a file that loads as a
// data module gives its icon groups, else shell extraction by index.

#include <string>
#include <vector>

#include "platform/core/win_types.h"

enum class ListingWay { IconFile, Module, Extract };

struct ListedImage {
  unsigned width = 0;
  unsigned height = 0;
  unsigned bitCount = 0;
  bool png = false;
};

struct ListedIcon {
  std::string label;  // "id=N", "name=S" or "index=N"
  int width = 0;      // of the image a 32x32 load picks
  int height = 0;
  std::vector<ListedImage> images;  // filled with ImageDetail::AllImages
};

struct FileListing {
  ListingWay way = ListingWay::IconFile;
  std::vector<ListedIcon> icons;
};

enum class ImageDetail { PickedOnly, AllImages };

// Whether the name's extension is "ico", in any letter case.
[[nodiscard]] bool HasIcoExtension(const std::string& path);

[[nodiscard]] FileListing ProbeListing(LPCSTR path, ImageDetail detail);

// One line: the name as shown, the way, each icon, and for modules the count.
[[nodiscard]] std::string FormatListingLine(const std::string& shownName, const FileListing& listing);
// The indented lines describing every image of every icon.
[[nodiscard]] std::vector<std::string> FormatImageLines(const FileListing& listing);
