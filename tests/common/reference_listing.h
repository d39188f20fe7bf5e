#pragma once
// The corpus's reference listing (expected-modules.tsv): what the platform
// itself reports for each real module loaded as a data file.

#include <cstddef>
#include <string>
#include <vector>

namespace corpus_test {

struct ReferenceGroup {
  std::string label;   // "id=N" or "name=S"
  std::string picked;  // the size a 32x32 icon load picks, "WxH"
};

struct ReferenceModule {
  std::string file;  // relative to the corpus folder
  std::string way;   // "module", ...
  std::vector<ReferenceGroup> groups;
  std::size_t count = 0;  // the row's own count= field
  std::string line;       // the row as written
};

// Every row, in file order. Empty when the listing cannot be read, which
// callers treat as a failure rather than as nothing to check.
[[nodiscard]] std::vector<ReferenceModule> ReadReferenceListing();

// The labels of a row's groups, in enumeration order.
[[nodiscard]] std::vector<std::string> Labels(const ReferenceModule& module);

}  // namespace corpus_test
