// A freedesktop thumbnailer: the first icon of a Windows program, library
// or icon file, its image best for the requested size, scaled down to fit
// and written as an RGBA PNG.

#include <getopt.h>

#include <cstdio>
#include <string>

#include "support/icon/icon_resource_builder.h"
#include "support/icon/icon_source.h"
#include "support/icon/image_choice.h"
#include "support/icon/png_writer.h"
#include "tools/cli_support.h"

namespace {

constexpr const char* kProgram = "glimra-thumbnailer";
constexpr long kDefaultSize = 128;
constexpr long kMaxSize = 1024;

void PrintHelp() {
  std::printf(
      "Usage: %s [-s SIZE] INPUT OUTPUT\n"
      "Write a thumbnail of a Windows program, library or icon file: its first icon\n"
      "as the Glimra window lists it, the image best for SIZE (the smallest at least\n"
      "SIZE wide, deepest first, else the largest), scaled down by area averaging to\n"
      "fit SIZE x SIZE (never up), as an RGBA PNG. INPUT may be a file:// URI.\n"
      "\n"
      "  -s, --size=SIZE  the largest side of the thumbnail, in pixels (default %ld)\n"
      "  -h, --help       display this help and exit\n"
      "  -V, --version    output version information and exit\n"
      "\n"
      "OUTPUT is written whole through a temporary file, or not at all.\n"
      "Exit status: 0 when a thumbnail was written, 1 when the file has no icon or\n"
      "cannot be read (nothing is written), 2 for a usage error.\n",
      kProgram, kDefaultSize);
}

// The thumbnail of the file's first icon, as PNG bytes.
Expected<std::vector<std::uint8_t>> Thumbnail(const std::string& path, int side) {
  if (auto problem = FileReadProblem(path.c_str())) return Fail(*problem);
  const IconSource source(path.c_str());
  const auto keys = source.Icons(1);
  if (keys.empty()) return Fail(source.way() == ListingWay::IconFile ? "not an icon file" : "no icon in the file");
  const UniqueIconResource group = source.Group(keys.front());
  const auto best = BestImageFor(group.get(), static_cast<unsigned>(side));
  if (!best) return Fail("the first icon cannot be read");
  const auto stored = IconImageData(IconImageAt(group.get(), *best));
  // Decoded in full even when its bytes are kept: a damaged image is refused.
  const auto image = DecodeImageToRgba(stored);
  if (!image) return Fail("the first icon's image cannot be read: " + image.error().what);
  // A stored RGBA PNG that fits is already the thumbnail (the large one of
  // most modern programs); re-encoding it would only cost time.
  if (image->width <= side && image->height <= side && IsRgba8Png(stored)) {
    return std::vector<std::uint8_t>(stored.begin(), stored.end());
  }
  const RgbaImage fitted = FitWithin(*image, side);
  if (fitted.rgba.empty()) return Fail("the image cannot be scaled");
  return EncodePng(fitted);
}

}  // namespace

// The throw the check sees is std::get's inside Expected, which main reaches
// only after ok() has said which side holds.
int main(int argc, char** argv) {  // NOLINT(bugprone-exception-escape)
  static const option kOptions[] = {{"size", required_argument, nullptr, 's'},
                                    {"help", no_argument, nullptr, 'h'},
                                    {"version", no_argument, nullptr, 'V'},
                                    {nullptr, 0, nullptr, 0}};
  Reporter reporter(kProgram);
  long side = kDefaultSize;
  opterr = 0;
  for (int c; (c = getopt_long(argc, argv, ":s:hV", kOptions, nullptr)) != -1;) {
    switch (c) {
      case 's':
        if (!ParseNumber(optarg, 1, kMaxSize, side)) return reporter.Usage(std::string("bad size: ") + optarg);
        break;
      default:
        return FinishCommonOption(c, argv, reporter, PrintHelp);
    }
  }
  if (argc - optind != 2) return reporter.Usage("needs INPUT and OUTPUT");
  const std::string input = PathFromArgument(argv[optind]);
  const std::string output = argv[optind + 1];
  if (input.empty()) {
    reporter.Failure(argv[optind], "not a local file");
    return reporter.Status();
  }
  const auto thumbnail = Thumbnail(input, static_cast<int>(side));
  if (!thumbnail) {
    reporter.Failure(input, thumbnail.error().what);
    return reporter.Status();
  }
  const auto written = WriteWholeFile(output, {std::span<const std::uint8_t>(*thumbnail)}, Overwrite::Replace);
  if (!written) reporter.Failure(output, written.error().what);
  return reporter.Status();
}
