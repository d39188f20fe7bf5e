// Never built: tests/lint/check_config.sh runs clang-tidy with the root
// .clang-tidy over this file. The line after each "finding:" comment must
// draw exactly the check it names; every other line must draw nothing,
// which keeps the checks left out on purpose out.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace planted {

// finding: bugprone-incorrect-roundings
std::uint32_t Rounded(float v) { return static_cast<std::uint32_t>(v + 0.5f); }

// finding: bugprone-misplaced-widening-cast
std::uint64_t Area(int w, int h) { return static_cast<std::uint64_t>(w * h); }

// finding: bugprone-branch-clone
int Pick(bool c, int a, int b) { return c ? a + b : a + b; }

// finding: performance-unnecessary-value-param
std::size_t Length(std::string s) { return s.size(); }

// finding: readability-container-size-empty
bool Empty(const std::vector<int>& v) { return v.size() == 0; }

// finding: bugprone-unused-return-value
void Give(std::unique_ptr<int> p) { p.release(); }

// clang-format off
int Guarded(bool c, int a) {
  if (c)
    a = 1;
    // finding: readability-misleading-indentation
    a += 2;
  return a;
}
// clang-format on

// Left out on purpose: runs of int parameters, numbers carried in pointers,
// a + b + c in a loop.
int Left(int left, int top, int right, int bottom) { return left; }
char* ResourceId(std::uintptr_t id) { return reinterpret_cast<char*>(id); }
std::string Joined(const std::vector<std::string>& names) {
  std::string all;
  for (const std::string& name : names) all = all + "/" + name + ";";
  return all;
}

}  // namespace planted
