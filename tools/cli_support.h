#pragma once
// What the command-line tools share: exit codes, error reporting, the
// version and help texts, walking the inputs (-r, --pattern), and safe,
// unique output names. No Qt; the tools link only the engine.

#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// Exit statuses, as Debian's command-line tools use them.
enum ExitStatus : int {
  kExitOk = 0,       // every file was read (and written)
  kExitFailure = 1,  // some file could not be read or an output not written
  kExitUsage = 2,    // the command line was wrong
};

// Reports as "<program>: <subject>: <reason>" on stderr and remembers that
// something failed, which decides the exit status.
class Reporter {
 public:
  explicit Reporter(std::string program) : m_program(std::move(program)) {}

  void Failure(std::string_view subject, std::string_view reason);
  // A usage error: the message and a pointer to --help. Returns kExitUsage.
  [[nodiscard]] int Usage(std::string_view message) const;
  [[nodiscard]] int Status() const { return m_failed ? kExitFailure : kExitOk; }
  [[nodiscard]] const std::string& program() const { return m_program; }

 private:
  std::string m_program;
  bool m_failed = false;
};

// "<program> <version>", for --version.
void PrintVersion(const char* program);

// The end of every tool's option loop: -h and -V (help on stdout, the
// version), and getopt_long's complaints (':' a missing argument, '?' an
// unknown option, with opterr 0 and an optstring starting with ':').
// Returns the exit status to leave with.
[[nodiscard]] int FinishCommonOption(int option, char** argv, const Reporter& reporter, void (*printHelp)());

// Whether the path names a folder (links followed).
[[nodiscard]] bool IsFolder(const std::string& path);

// The pattern a walk uses when none is given: every file, with or without
// an extension.
inline constexpr const char* kDefaultPattern = "*.*";

struct WalkChoice {
  bool recursive = false;
  std::string pattern = kDefaultPattern;
};

// Calls visit once per file to read, in order: an argument that is not a
// folder (or any argument without -r) as given; with -r, a folder's files
// matching the pattern, walked as the window walks (depth first, names in
// the listing's order, subfolders whatever their names, link loops never
// followed).
void ForEachInput(const std::vector<std::string>& arguments, const WalkChoice& walk,
                  const std::function<void(const std::string& path)>& visit);

// The last component of a path ("dir/a.exe" gives "a.exe").
[[nodiscard]] std::string FileNameOf(std::string_view path);

// A name that is one file name on every common file system: separators and
// control characters become '_', a name that is empty, "." or ".." gains a
// leading '_', and the stem is cut (never inside a UTF-8 character) so that
// stem and suffix together fit 255 bytes.
[[nodiscard]] std::string SafeFileName(std::string_view stem, std::string_view suffix);

// Output names within one folder and one run: a name already handed out
// gets "-2", "-3", ... before its suffix, so two sources never write to the
// same file.
class OutputNames {
 public:
  explicit OutputNames(std::string folder) : m_folder(std::move(folder)) {}
  // The full path for stem and suffix, made safe and unique in this run.
  [[nodiscard]] std::string Claim(std::string_view stem, std::string_view suffix);

 private:
  std::string m_folder;
  std::set<std::string> m_used;
};

// A thumbnailer's input: a plain path, or a file:// URI (host empty or
// "localhost", %XX escapes decoded). Empty for any other URI.
[[nodiscard]] std::string PathFromArgument(std::string_view argument);

// Parses a whole decimal number in [minimum, maximum]; false otherwise.
[[nodiscard]] bool ParseNumber(const char* text, long minimum, long maximum, long& value);
