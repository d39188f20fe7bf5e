#pragma once
// Runs a built tool as a user would, without a shell: its exit status and
// everything it wrote to stdout and stderr.

#include <string>
#include <vector>

namespace tool_test {

struct ToolRun {
  int status = -1;  // the exit status; -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// arguments[0] is the tool's name in the build's tools folder.
[[nodiscard]] ToolRun RunTool(const std::vector<std::string>& arguments);

// The lines of a text, without their line ends.
[[nodiscard]] std::vector<std::string> Lines(const std::string& text);

// Whether a program is on the PATH.
[[nodiscard]] bool HaveProgram(const std::string& name);

}  // namespace tool_test
