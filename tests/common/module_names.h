#pragma once
// What EnumResourceNamesA reports for a module, spelled as the corpus's
// reference listings spell it: "id=N" for a number, "name=S" for a name.

#include <string>
#include <vector>

#include "platform/core/win_types.h"

namespace pe_test {

struct EnumeratedNames {
  BOOL result = FALSE;
  std::vector<std::string> names;
};

// stopAfter: proc answers FALSE on that call (1-based); 0 never stops.
[[nodiscard]] EnumeratedNames EnumerateNames(HMODULE module, LPCSTR type, std::size_t stopAfter = 0);

}  // namespace pe_test
