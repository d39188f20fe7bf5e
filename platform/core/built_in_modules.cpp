#include "platform/core/built_in_modules.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/core/wildcard.h"

namespace {

struct BuiltIn {
  std::string name;
  bool (*present)();
};

struct Registry {
  std::mutex lock;
  std::vector<BuiltIn> modules;
};

Registry& Modules() {
  static Registry registry;
  return registry;
}

bool SameModuleName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return FoldNameCase(x) == FoldNameCase(y); });
}

}  // namespace

void RegisterBuiltInModule(std::string name, bool (*present)()) {
  Registry& registry = Modules();
  const std::lock_guard<std::mutex> hold(registry.lock);
  for (BuiltIn& module : registry.modules) {
    if (SameModuleName(module.name, name)) {
      module.present = present;
      return;
    }
  }
  registry.modules.push_back({std::move(name), present});
}

bool IsBuiltInModule(std::string_view path, bool* present) {
  if (path.empty() || path.find('/') != std::string_view::npos) return false;
  bool (*probe)() = nullptr;
  {
    Registry& registry = Modules();
    const std::lock_guard<std::mutex> hold(registry.lock);
    for (const BuiltIn& module : registry.modules) {
      if (SameModuleName(module.name, path)) probe = module.present;
    }
  }
  if (probe == nullptr) return false;
  // Asked outside the lock: a probe may look at the file system.
  if (present != nullptr) *present = probe();
  return true;
}
