#include "tests/common/module_names.h"

#include "platform/core/data_module.h"

namespace pe_test {
namespace {

struct Collect {
  EnumeratedNames* out;
  std::size_t stopAfter;
};

BOOL CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
  auto* c = reinterpret_cast<Collect*>(param);
  if (IS_INTRESOURCE(name)) {
    c->out->names.push_back("id=" + std::to_string(ResourceNumber(name)));
  } else {
    c->out->names.push_back("name=" + std::string(name));
  }
  return (c->stopAfter != 0 && c->out->names.size() >= c->stopAfter) ? FALSE : TRUE;
}

}  // namespace

EnumeratedNames EnumerateNames(HMODULE module, LPCSTR type, std::size_t stopAfter) {
  EnumeratedNames out;
  Collect c{&out, stopAfter};
  out.result = EnumResourceNamesA(module, type, CollectName, reinterpret_cast<LONG_PTR>(&c));
  return out;
}

}  // namespace pe_test
