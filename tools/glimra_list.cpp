// Prints what the listing finds in each file named, one line a file; with
// --images, every image of every icon on indented lines after it.

#include <cstdio>
#include <cstring>

#include "support/icon/listing_probe.h"

int main(int argc, char** argv) {
  ImageDetail detail = ImageDetail::PickedOnly;
  int first = 1;
  if (argc > 1 && std::strcmp(argv[1], "--images") == 0) {
    detail = ImageDetail::AllImages;
    first = 2;
  }
  if (first >= argc) {
    std::fprintf(stderr, "usage: glimra-list [--images] FILE...\n");
    return 2;
  }
  for (int i = first; i < argc; ++i) {
    const FileListing listing = ProbeListing(argv[i], detail);
    std::printf("%s\n", FormatListingLine(argv[i], listing).c_str());
    for (const std::string& line : FormatImageLines(listing)) std::printf("%s\n", line.c_str());
  }
  return 0;
}
