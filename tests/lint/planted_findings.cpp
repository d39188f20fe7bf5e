// Never built: tests/lint/check_config.sh runs clang-tidy with the root
// .clang-tidy over this file. Each "finding:" line must draw exactly the
// check it names; every other line must draw nothing, which keeps the
// checks left out on purpose out.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace planted {

std::uint32_t Rounded(float v) { return static_cast<std::uint32_t>(v + 0.5f); }  // finding: bugprone-incorrect-roundings

std::uint64_t Area(int w, int h) { return static_cast<std::uint64_t>(w * h); }  // finding: bugprone-misplaced-widening-cast

int Pick(bool c, int a, int b) { return c ? a + b : a + b; }  // finding: bugprone-branch-clone

std::size_t Length(std::string s) { return s.size(); }  // finding: performance-unnecessary-value-param

bool Empty(const std::vector<int>& v) { return v.size() == 0; }  // finding: readability-container-size-empty

void Give(std::unique_ptr<int> p) { p.release(); }  // finding: bugprone-unused-return-value

// clang-format off
int Guarded(bool c, int a) {
  if (c)
    a = 1;
    a += 2;  // finding: readability-misleading-indentation
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
