// NE icon libraries of growing size listed as the program lists them (the
// engine's ListLikeTheProgram: one read of the file, then every index), best
// of RUNS. Prints each size's time and time per icon, and each size's time
// per icon over the smallest's: a listing linear in the file's size keeps
// that ratio near 1, where reading the file again for every icon made it
// grow with the size.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/engine_listing.h"
#include "bench/scratch_folder.h"
#include "tests/common/ne_builder.h"

namespace {

struct Figure {
  int icons = 0;
  std::size_t listed = 0;
  double seconds = 0;
};

Figure ListBest(const std::string& path, int icons, int runs) {
  Figure figure{icons, 0, 1e30};
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    figure.listed = ListLikeTheProgram({path}).icons;
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    figure.seconds = std::min(figure.seconds, took.count());
  }
  return figure;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  std::vector<int> sizes;
  for (int i = 2; i < argc; ++i) sizes.push_back(std::clamp(std::atoi(argv[i]), 1, 0x7FFF));
  if (sizes.empty()) sizes = {1000, 8000};
  const ScratchFolder scratch("ne-bench");
  if (scratch.path().empty()) {
    std::fprintf(stderr, "no temporary folder\n");
    return 1;
  }
  std::vector<Figure> figures;
  for (const int icons : sizes) {
    const std::string path = scratch.path() + "/library-" + std::to_string(icons) + ".icl";
    if (!ne_test::IconLibrary(static_cast<std::uint16_t>(icons)).WriteTo(path)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    figures.push_back(ListBest(path, icons, runs));
  }
  int status = 0;
  const Figure& first = figures.front();
  std::printf("NE icon libraries listed as the program lists them, best of %d runs\n", runs);
  for (const Figure& f : figures) {
    const double perIcon = f.seconds / f.icons;
    std::printf("%5d icons: %.3f s, %.1f us per icon, per icon x%.2f of %d icons%s\n", f.icons, f.seconds,
                perIcon * 1e6, perIcon / (first.seconds / first.icons), first.icons,
                f.listed == static_cast<std::size_t>(f.icons) ? "" : " (NOT ALL LISTED)");
    if (f.listed != static_cast<std::size_t>(f.icons)) status = 1;
  }
  return status;
}
