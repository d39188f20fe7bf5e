// Writes a folder tree of icon files whose pictures all differ, for the
// listing benchmark's memory figure where no two pictures can share
// storage: COUNT files of one 32x32 16-colour image each, 1,000 to a
// folder. The file's number is drawn into its first 24 pixels, so no two
// files show the same picture; the rest is a pattern common to all.
// Usage: bench_make_distinct_tree DEST COUNT

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 32;
constexpr int kPerFolder = 1000;
constexpr std::uint32_t kMaxCount = 1u << 24;  // the number fits in 24 pixels

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// An .ico file: header, one directory entry, a 4-bit DIB (header, 16
// colours, colour rows bottom-up, an all-opaque mask).
std::vector<std::uint8_t> IconFile(std::uint32_t number) {
  constexpr std::uint32_t kRowBytes = kSide / 2;
  constexpr std::uint32_t kMaskRowBytes = 4;
  constexpr std::uint32_t kImageBytes = 40 + 16 * 4 + kRowBytes * kSide + kMaskRowBytes * kSide;
  std::vector<std::uint8_t> out;
  out.reserve(6 + 16 + kImageBytes);
  Put16(out, 0);  // reserved
  Put16(out, 1);  // icon
  Put16(out, 1);  // one image
  out.insert(out.end(), {kSide, kSide, 16, 0});
  Put16(out, 1);  // planes
  Put16(out, 4);  // bits per pixel
  Put32(out, kImageBytes);
  Put32(out, 6 + 16);
  Put32(out, 40);
  Put32(out, kSide);
  Put32(out, kSide * 2);  // colour and mask
  Put16(out, 1);
  Put16(out, 4);
  for (int field = 0; field < 6; ++field) Put32(out, 0);  // no compression, sizes and colour counts implied
  for (std::uint32_t colour = 0; colour < 16; ++colour) {
    Put32(out, (colour * 0x10u) | ((colour * 0x0Fu) << 8) | ((255u - colour * 0x10u) << 16));
  }
  for (int row = kSide - 1; row >= 0; --row) {
    for (int x = 0; x < kSide; x += 2) {
      std::array<std::uint8_t, 2> nibbles{};
      for (int half = 0; half < 2; ++half) {
        const int pixel = row * kSide + x + half;
        nibbles[static_cast<std::size_t>(half)] =
            pixel < 24 ? static_cast<std::uint8_t>(((number >> pixel) & 1u) != 0 ? 15 : 0)
                       : static_cast<std::uint8_t>((x + half + row) % 14 + 1);
      }
      out.push_back(static_cast<std::uint8_t>((nibbles[0] << 4) | nibbles[1]));
    }
  }
  out.insert(out.end(), std::size_t{kMaskRowBytes} * kSide, 0);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_make_distinct_tree DEST COUNT\n");
    return 2;
  }
  const std::filesystem::path dest = argv[1];
  const long count = std::strtol(argv[2], nullptr, 10);
  if (count <= 0 || count > static_cast<long>(kMaxCount)) {
    std::fprintf(stderr, "COUNT must be 1 to %u\n", kMaxCount);
    return 2;
  }
  std::error_code error;
  std::filesystem::remove_all(dest, error);
  for (long n = 0; n < count; ++n) {
    char folder[32];
    char name[32];
    std::snprintf(folder, sizeof folder, "d%04ld", n / kPerFolder);
    std::snprintf(name, sizeof name, "i%07ld.ico", n);
    const std::filesystem::path dir = dest / folder;
    if (n % kPerFolder == 0) std::filesystem::create_directories(dir);
    const std::vector<std::uint8_t> bytes = IconFile(static_cast<std::uint32_t>(n));
    std::ofstream file(dir / name, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
      std::fprintf(stderr, "cannot write %s\n", (dir / name).c_str());
      return 1;
    }
  }
  std::printf("%s: %ld icon files, each a picture of its own\n", dest.c_str(), count);
  return 0;
}
