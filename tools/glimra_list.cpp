// Prints what the listing finds in each file named, one line a file; with
// --images, every image of every icon on indented lines after it; with
// --json, one JSON object a file instead.

#include <getopt.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/icon/listing_probe.h"
#include "tools/cli_support.h"
#include "tools/json_text.h"

namespace {

constexpr const char* kProgram = "glimra-list";

void PrintHelp() {
  std::printf(
      "Usage: %s [OPTION]... FILE|FOLDER...\n"
      "List the icons in Windows programs, libraries and icon files, one line a file,\n"
      "as the Glimra window lists them.\n"
      "\n"
      "Each line holds the file's name, how it was read (ico: an icon file by its\n"
      "name, module: a PE program or library, extract: the shell's extraction, for\n"
      "NE files and icon files under another name), then each icon with the size a\n"
      "32x32 load picks.\n"
      "\n"
      "  -r, --recursive        walk each FOLDER: depth first, names in order\n"
      "      --pattern=PATTERN  with -r, read only files matching PATTERN\n"
      "                         (wildcards * and ?; default *.*: every file)\n"
      "      --images           also list every image of every icon\n"
      "      --json             one JSON object a file (JSON Lines); names that are\n"
      "                         not UTF-8 get U+FFFD, their bytes in a *_hex member\n"
      "  -h, --help             display this help and exit\n"
      "  -V, --version          output version information and exit\n"
      "\n"
      "Exit status: 0 when every file was read (a file without icons is no error),\n"
      "1 when some file could not be read, 2 for a usage error.\n",
      kProgram);
}

std::string JsonOf(const std::string& path, const FileListing& listing) {
  std::string json =
      "{" + JsonTextMember("path", path) + ",\"way\":" + JsonString(ListingWayName(listing.way)) + ",\"icons\":[";
  for (std::size_t i = 0; i < listing.icons.size(); ++i) {
    const ListedIcon& icon = listing.icons[i];
    json += i == 0 ? "{" : ",{";
    switch (icon.key.kind) {
      case IconKey::Kind::Id:
        json += "\"id\":" + std::to_string(icon.key.number);
        break;
      case IconKey::Kind::Name:
        json += JsonTextMember("name", icon.key.name);
        break;
      case IconKey::Kind::Index:
        json += "\"index\":" + std::to_string(icon.key.number);
        break;
    }
    json += ",\"width\":" + std::to_string(icon.width) + ",\"height\":" + std::to_string(icon.height);
    if (!icon.images.empty()) {
      json += ",\"images\":[";
      for (std::size_t k = 0; k < icon.images.size(); ++k) {
        const ListedImage& image = icon.images[k];
        json += (k == 0 ? "{" : ",{");
        json += "\"width\":" + std::to_string(image.width) + ",\"height\":" + std::to_string(image.height) +
                ",\"bits\":" + std::to_string(image.bitCount) +
                ",\"claimed_bits\":" + std::to_string(image.claimedBitCount) +
                ",\"format\":" + (image.png ? "\"png\"" : "\"dib\"") + ",\"bytes\":" + std::to_string(image.byteSize) +
                "}";
      }
      json += "]";
    }
    json += "}";
  }
  json += "]";
  if (!listing.error.empty()) json += ",\"error\":" + JsonString(listing.error);
  json += "}";
  return json;
}

}  // namespace

int main(int argc, char** argv) {
  enum { kPattern = 256, kImages, kJson };
  static const option kOptions[] = {{"recursive", no_argument, nullptr, 'r'},
                                    {"pattern", required_argument, nullptr, kPattern},
                                    {"images", no_argument, nullptr, kImages},
                                    {"json", no_argument, nullptr, kJson},
                                    {"help", no_argument, nullptr, 'h'},
                                    {"version", no_argument, nullptr, 'V'},
                                    {nullptr, 0, nullptr, 0}};
  Reporter reporter(kProgram);
  WalkChoice walk;
  ImageDetail detail = ImageDetail::PickedOnly;
  bool json = false;
  opterr = 0;
  for (int c; (c = getopt_long(argc, argv, ":rhV", kOptions, nullptr)) != -1;) {
    switch (c) {
      case 'r':
        walk.recursive = true;
        break;
      case kPattern:
        walk.pattern = optarg;
        break;
      case kImages:
        detail = ImageDetail::AllImages;
        break;
      case kJson:
        json = true;
        break;
      default:
        return FinishCommonOption(c, argv, reporter, PrintHelp);
    }
  }
  if (optind >= argc) return reporter.Usage("no file named");
  ForEachInput(std::vector<std::string>(argv + optind, argv + argc), walk, [&](const std::string& path) {
    const FileListing listing = ProbeListing(path.c_str(), detail);
    if (json) {
      std::printf("%s\n", JsonOf(path, listing).c_str());
    } else {
      std::printf("%s\n", FormatListingLine(path, listing).c_str());
      for (const std::string& line : FormatImageLines(listing)) std::printf("%s\n", line.c_str());
    }
    if (!listing.error.empty()) reporter.Failure(path, listing.error);
  });
  return reporter.Status();
}
