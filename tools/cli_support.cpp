#include "tools/cli_support.h"

#include <getopt.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "platform/core/hex_digit.h"
#include "support/framework/file_list.h"
#include "support/framework/file_name.h"

namespace {

// NAME_MAX on Linux and the common file systems.
constexpr std::size_t kMaxNameBytes = 255;

// Depth first and pre-order, one child per level, as the window's listing
// walks (listing/list_folder_entry.cpp).
void WalkEntry(CFileList& entry, const std::function<void(const std::string&)>& visit) {
  if (entry.IsFile()) {
    visit(entry.m_strPath);
    return;
  }
  CFileList child;
  static_cast<void>(entry.FindFirst(0));
  while (entry.FindNext(&child)) WalkEntry(child, visit);
  entry.FindEnd();
}

// Drops the end of a UTF-8 text to at most limit bytes without leaving half
// a character.
std::string CutUtf8(std::string text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0u) == 0x80u) --end;
  text.resize(end);
  return text;
}

}  // namespace

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void Reporter::Failure(std::string_view subject, std::string_view reason) {
  m_failed = true;
  std::fprintf(stderr, "%s: %.*s: %.*s\n", m_program.c_str(), static_cast<int>(subject.size()), subject.data(),
               static_cast<int>(reason.size()), reason.data());
}

int Reporter::Usage(std::string_view message) const {
  std::fprintf(stderr, "%s: %.*s\nTry '%s --help' for more information.\n", m_program.c_str(),
               static_cast<int>(message.size()), message.data(), m_program.c_str());
  return kExitUsage;
}

void PrintVersion(const char* program) { std::printf("%s %s\n", program, GLIMRA_VERSION); }

int FinishCommonOption(int option, char** argv, const Reporter& reporter, void (*printHelp)()) {
  switch (option) {
    case 'h':
      printHelp();
      return kExitOk;
    case 'V':
      PrintVersion(reporter.program().c_str());
      return kExitOk;
    case ':':
      return reporter.Usage(std::string("option needs an argument: ") + argv[optind - 1]);
    default:
      break;
  }
  return reporter.Usage(std::string("unknown option: ") + argv[optind - 1]);
}

void ForEachInput(const std::vector<std::string>& arguments, const WalkChoice& walk,
                  const std::function<void(const std::string& path)>& visit) {
  for (const std::string& argument : arguments) {
    if (!walk.recursive || !IsFolder(argument)) {
      visit(argument);
      continue;
    }
    std::string searchPath = argument;
    if (searchPath.back() != kPathSeparator) searchPath += kPathSeparator;
    searchPath += walk.pattern;
    CFileList root(searchPath, 1, 0, 0, nullptr);
    WalkEntry(root, visit);
  }
}

std::string FileNameOf(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  const auto slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string SafeFileName(std::string_view stem, std::string_view suffix) {
  std::string safe;
  safe.reserve(stem.size());
  for (const char c : stem) {
    const auto u = static_cast<unsigned char>(c);
    safe += (c == '/' || c == '\\' || u < 0x20u || u == 0x7Fu) ? '_' : c;
  }
  if (safe.empty() || safe == "." || safe == "..") safe.insert(0, "_");
  const std::size_t room = suffix.size() < kMaxNameBytes ? kMaxNameBytes - suffix.size() : 0;
  return CutUtf8(std::move(safe), room) + std::string(suffix);
}

std::string OutputNames::Claim(std::string_view stem, std::string_view suffix) {
  std::string name = SafeFileName(stem, suffix);
  for (unsigned n = 2; m_used.count(name) != 0; ++n) {
    name = SafeFileName(std::string(stem) + "-" + std::to_string(n), suffix);
  }
  m_used.insert(name);
  if (m_folder.empty()) return name;
  return m_folder.back() == '/' ? m_folder + name : m_folder + "/" + name;
}

std::string PathFromArgument(std::string_view argument) {
  constexpr std::string_view kScheme = "file://";
  if (argument.substr(0, kScheme.size()) != kScheme) {
    // Any other scheme is a URI we cannot read; a plain path has none.
    const auto colon = argument.find(':');
    const auto slash = argument.find('/');
    if (colon != std::string_view::npos && (slash == std::string_view::npos || colon < slash) &&
        argument.substr(colon, 3) == "://") {
      return {};
    }
    return std::string(argument);
  }
  std::string_view rest = argument.substr(kScheme.size());
  const auto slash = rest.find('/');
  if (slash == std::string_view::npos) return {};
  const std::string_view host = rest.substr(0, slash);
  if (!host.empty() && host != "localhost") return {};
  rest.remove_prefix(slash);
  std::string path;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == '%' && i + 2 < rest.size() && HexDigitValue(rest[i + 1]) >= 0 && HexDigitValue(rest[i + 2]) >= 0) {
      path += static_cast<char>(HexDigitValue(rest[i + 1]) * 16 + HexDigitValue(rest[i + 2]));
      i += 2;
    } else {
      path += rest[i];
    }
  }
  // A decoded NUL would cut the path short of what the URI names.
  if (path.find('\0') != std::string::npos) return {};
  return path;
}

bool ParseNumber(const char* text, long minimum, long maximum, long& value) {
  if (text == nullptr || *text < '0' || *text > '9') return false;
  errno = 0;
  char* end = nullptr;
  const long parsed = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || parsed < minimum || parsed > maximum) return false;
  value = parsed;
  return true;
}
