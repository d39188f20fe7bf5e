// Times the icon engine against icoutils' wrestool over every file under a
// folder. list: what the listing does per file (an icon file's first image,
// each icon group's 32x32 icon of a data module, or the icons extraction
// finds), each scaled to the 32x32 image the list stores. extract: build every group and write it as an .ico file.
// wrestool runs once for all files (it takes several), which is its fastest use.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/engine_listing.h"
#include "bench/scratch_folder.h"
#include "platform/core/data_module.h"
#include "platform/core/module_icon_group.h"
#include "support/icon/icon_library.h"

namespace {

namespace fs = std::filesystem;

struct Counts {
  std::size_t modules = 0;
  std::size_t icons = 0;
};

template <typename PerGroup>
Counts ForEachGroup(const std::vector<std::string>& files, PerGroup&& perGroup) {
  Counts counts;
  for (const std::string& file : files) {
    HMODULE module = LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) continue;
    ++counts.modules;
    for (const ResourceName& name : ModuleIconGroupNames(module)) {
      if (perGroup(module, file, name)) ++counts.icons;
    }
    (void)FreeLibrary(module);
  }
  return counts;
}

Counts ExtractAll(const std::vector<std::string>& files, const std::string& out) {
  return ForEachGroup(files, [&out](HMODULE module, const std::string& file, const ResourceName& name) {
    ICONRESOURCE* group = CreateIconFromInstance(module, name.id(), file.c_str());
    if (group == nullptr) return false;
    // Named as wrestool names its files, so both write the same set.
    const std::string label = name.isNumber ? std::to_string(name.number) : name.text;
    const std::string path = out + "/" + fs::path(file).filename().string() + "_14_" + label + "_0.ico";
    const BOOL written = WriteIconToICOFile(group, path.c_str());
    (void)ClearIconResource(group);
    return written != FALSE;
  });
}

bool RunWrestool(const std::vector<std::string>& options, const std::vector<std::string>& files) {
  std::vector<std::string> args{"wrestool"};
  args.insert(args.end(), options.begin(), options.end());
  args.insert(args.end(), files.begin(), files.end());
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, "wrestool", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return false;
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status);
}

// The best of several runs: the figure least disturbed by other work on a
// shared machine.
double BestSeconds(int runs, const std::function<void()>& work) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

void Report(const char* mode, double ours, double theirs) {
  std::printf("%s: glimra %.3f s, wrestool %.3f s, %.1fx %s\n", mode, ours, theirs,
              ours > 0 ? (ours < theirs ? theirs / ours : ours / theirs) : 0.0, ours < theirs ? "faster" : "slower");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_engine FOLDER [list|extract|both] [RUNS]\n");
    return 2;
  }
  const std::string root = argv[1];
  const std::string mode = argc > 2 ? argv[2] : "both";
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
  const auto files = FilesUnder(root);
  std::printf("%zu files under %s; best of %d runs; wrestool: one process with all files as arguments\n", files.size(),
              root.c_str(), runs);
  const bool haveWrestool = RunWrestool({"--version"}, {});

  if (mode == "list" || mode == "both") {
    ListingCounts counts;
    const double ours = BestSeconds(runs, [&] { counts = ListLikeTheProgram(files); });
    std::printf("list: %zu modules, %zu icons\n", counts.modules, counts.icons);
    const double theirs = haveWrestool ? BestSeconds(runs, [&] { (void)RunWrestool({"-l", "-t14"}, files); }) : 0;
    Report("list", ours, theirs);
  }
  if (mode == "extract" || mode == "both") {
    // Every run writes into a folder of its own inside this one, which goes
    // even when the run does not end.
    const ScratchFolder scratch("engine-bench");
    Counts counts;
    const double ours = BestSeconds(runs, [&] { counts = ExtractAll(files, scratch.MakeFolder("glimra")); });
    std::printf("extract: %zu modules, %zu groups written\n", counts.modules, counts.icons);
    const double theirs = haveWrestool ? BestSeconds(runs,
                                                     [&] {
                                                       const std::string out = scratch.MakeFolder("wrestool");
                                                       (void)RunWrestool({"-x", "-t14", "-o", out}, files);
                                                     })
                                       : 0;
    Report("extract", ours, theirs);
  }
  if (!haveWrestool) std::printf("wrestool not found: install icoutils to compare\n");
  return 0;
}
