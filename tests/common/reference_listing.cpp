#include "tests/common/reference_listing.h"

#include <fstream>
#include <sstream>

namespace corpus_test {

std::vector<ReferenceModule> ReadReferenceListing() {
  std::vector<ReferenceModule> rows;
  std::ifstream in(std::string(GLIMRA_CORPUS_DIR) + "/expected-modules.tsv");
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    ReferenceModule row;
    row.line = line;
    std::istringstream fields(line);
    std::getline(fields, row.file, '\t');
    std::getline(fields, row.way, '\t');
    std::string field;
    while (std::getline(fields, field, '\t')) {
      if (field.rfind("count=", 0) == 0) {
        row.count = std::stoul(field.substr(6));
        continue;
      }
      const std::size_t space = field.find(' ');
      row.groups.push_back({field.substr(0, space), space == std::string::npos ? "" : field.substr(space + 1)});
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<std::string> Labels(const ReferenceModule& module) {
  std::vector<std::string> labels;
  for (const ReferenceGroup& group : module.groups) labels.push_back(group.label);
  return labels;
}

}  // namespace corpus_test
