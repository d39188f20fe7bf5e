#include "app/command_line.h"

#include <sys/stat.h>

#include <string_view>

#include "res/version_data.h"
#include "support/framework/file_name.h"

namespace {

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

// "." and ".." resolved by name, as a shell shows the path: a link is
// followed by the folder it stands in, not by where it leads.
std::string Normalised(const std::string& path) {
  std::vector<std::string_view> names;
  std::size_t at = 0;
  while (at <= path.size()) {
    std::size_t end = path.find(kPathSeparator, at);
    if (end == std::string::npos) end = path.size();
    const std::string_view name(path.data() + at, end - at);
    if (name == "..") {
      if (!names.empty()) names.pop_back();
    } else if (!name.empty() && name != ".") {
      names.push_back(name);
    }
    at = end + 1;
  }
  std::string joined;
  for (const std::string_view name : names) {
    joined += kPathSeparator;
    joined += name;
  }
  return joined.empty() ? std::string(1, kPathSeparator) : joined;
}

}  // namespace

GlimraCommandLine ParseGlimraCommandLine(int argc, const char* const* argv) {
  GlimraCommandLine line;
  bool options = true;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (options && argument == "--") {
      options = false;
    } else if (options && (argument == "--help" || argument == "-h")) {
      return GlimraCommandLine{GlimraCommandLine::Action::Help, {}};
    } else if (options && (argument == "--version" || argument == "-V")) {
      return GlimraCommandLine{GlimraCommandLine::Action::Version, {}};
    } else if (!argument.empty()) {
      line.paths.emplace_back(argument);
    }
  }
  return line;
}

std::string GlimraUsage() {
  return "Usage: glimra [FILE|FOLDER]...\n"
         "Find the icons stored in Windows programs and libraries (PE and NE), in\n"
         "icon libraries and in .ico files, list them and save them as .ico files.\n"
         "\n"
         "With no argument the window opens on the home folder. A FOLDER is selected\n"
         "in the folder tree and its files are shown; the icons of each FILE are\n"
         "listed, in the order given. A path that does not exist is ignored. When\n"
         "Glimra already runs, the files and folders go to the running copy, which\n"
         "comes to the front, and the new copy ends.\n"
         "\n"
         "  -h, --help     show this help and exit\n"
         "  -V, --version  show the version and exit\n"
         "  --             end of options: every following argument is a path\n";
}

std::string GlimraVersionText() {
  const VersionInfo& version = GlimraVersionInfo();
  std::string text = "glimra ";
  for (int i = 0; i < 4; ++i) {
    if (i > 0) text += '.';
    text += std::to_string(version.productVersion[i]);
  }
  return text + "\n";
}

std::vector<std::string> ExistingAbsolutePaths(const std::vector<std::string>& paths, const std::string& folder) {
  std::vector<std::string> found;
  for (const std::string& path : paths) {
    std::string absolute = !path.empty() && path.front() == kPathSeparator ? path : folder + kPathSeparator + path;
    absolute = Normalised(absolute);
    if (Exists(absolute)) found.push_back(std::move(absolute));
  }
  return found;
}
