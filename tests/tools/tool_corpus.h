#pragma once
// The corpus files the tool tests run over, and small readers of tool output.

#include <string>
#include <vector>

namespace tool_test {

// Every corpus file with icons or without, in a fixed order.
[[nodiscard]] std::vector<std::string> CorpusFiles();

// Every regular file directly in a folder, sorted by name.
[[nodiscard]] std::vector<std::string> FilesIn(const std::string& folder);

}  // namespace tool_test
