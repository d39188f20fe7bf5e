#include "platform/ui/help_compile.h"

#include <cstdio>
#include <memory>
#include <sstream>

#include "platform/ui/help_file.h"

namespace {

bool ReadAll(const std::string& path, std::vector<std::uint8_t>& out) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!in) return false;
  out.clear();
  std::uint8_t chunk[4096];
  for (;;) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, in.get());
    out.insert(out.end(), chunk, chunk + got);
    if (got < sizeof chunk) return std::ferror(in.get()) == 0;
  }
}

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> FileNames(const std::string& text) {
  std::vector<std::string> names;
  std::istringstream lines(text);
  std::string line;
  bool inFiles = false;
  while (std::getline(lines, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      inFiles = line == "[FILES]";
      continue;
    }
    if (inFiles) names.push_back(line);
  }
  return names;
}

std::string WithoutAnchor(const std::string& topic) { return topic.substr(0, topic.find('#')); }

}  // namespace

Expected<std::vector<std::uint8_t>> CompileHelpProject(const std::string& projectPath) {
  std::vector<std::uint8_t> projectBytes;
  if (!ReadAll(projectPath, projectBytes)) return Fail("cannot read " + projectPath);
  const std::string text(projectBytes.begin(), projectBytes.end());
  const auto project = ParseHelpProject(text);
  if (!project) return project.error();

  const std::size_t slash = projectPath.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : projectPath.substr(0, slash + 1);
  std::vector<HelpEntry> entries{{std::string(kHelpProjectEntry), projectBytes}};
  for (const std::string& name : FileNames(text)) {
    HelpEntry entry{name, {}};
    if (!ReadAll(folder + "topics/" + name, entry.data)) return Fail("cannot read topic " + name);
    entries.push_back(std::move(entry));
  }

  std::vector<std::uint8_t> bytes = BuildHelpFile(entries);
  const auto parsed = ParseHelpFile(ByteReader(bytes));
  if (!parsed) return parsed.error();
  const auto missing = [&](const std::string& topic) { return !parsed->Topic(WithoutAnchor(topic)); };
  if (missing(project->defaultTopic)) return Fail("the default topic '" + project->defaultTopic + "' is not a file");
  for (const auto& [name, type] : project->windowTypes) {
    if (!type.defaultTopic.empty() && missing(type.defaultTopic)) {
      return Fail("window type " + name + " shows the missing topic " + type.defaultTopic);
    }
  }
  for (const auto& [context, topic] : project->contexts) {
    if (missing(topic)) return Fail("context " + std::to_string(context) + " maps to the missing topic " + topic);
  }
  return bytes;
}
