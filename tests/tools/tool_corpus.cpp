#include "tests/tools/tool_corpus.h"

#include <algorithm>
#include <filesystem>

namespace tool_test {

namespace fs = std::filesystem;

std::vector<std::string> CorpusFiles() {
  std::vector<std::string> files;
  for (const char* folder : {"pe32", "pe64", "ico", "misc"}) {
    for (const auto& e : fs::directory_iterator(std::string(GLIMRA_CORPUS_DIR) + "/" + folder)) {
      if (e.is_regular_file()) files.push_back(e.path().string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> files;
  for (const auto& e : fs::directory_iterator(folder)) files.push_back(e.path().filename().string());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace tool_test
