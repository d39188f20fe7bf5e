#pragma once
// What the program makes of its arguments. With none, nothing: the window
// starts as designed. "--help" and "--version" print and end the program
// before any window exists (the manual page is made from them). Every other
// argument is a file or folder to open, as "Open with" in a file manager
// hands them; "--" ends the options, so a file named "--help" can be opened.

#include <string>
#include <vector>

struct GlimraCommandLine {
  enum class Action { Run, Help, Version };
  Action action = Action::Run;
  std::vector<std::string> paths;  // in argument order, as given
};

[[nodiscard]] GlimraCommandLine ParseGlimraCommandLine(int argc, const char* const* argv);

// The texts "--help" and "--version" print.
[[nodiscard]] std::string GlimraUsage();
[[nodiscard]] std::string GlimraVersionText();

// The paths worth opening, absolute (relative ones are taken from folder,
// the current folder of the copy that was started): those that exist;
// the rest are dropped without a word, as a listing skips unreadable files.
[[nodiscard]] std::vector<std::string> ExistingAbsolutePaths(const std::vector<std::string>& paths,
                                                             const std::string& folder);
