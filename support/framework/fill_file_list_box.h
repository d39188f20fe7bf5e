#pragma once
// Fills a list box with the names of the files in a folder that match a
// pattern.

#include <string>
#include <vector>

#include "platform/ui/cwnd.h"

// Empties listBox and adds the names (not paths) of the regular files in
// the folder of searchPath (a folder, a separator, a pattern; without a
// separator the current folder) whose names match the pattern with the
// find-file rules. Folders are not added; files whose names start with "."
// are, as a find-file search returns them. The list box sorts as its style
// says. Answers the number of names added, or -1 when listBox is not a
// window (the folder not being readable gives an empty box and 0).
int ZUFillFileListBox(LPCSTR searchPath, HWND listBox);

// The names ZUFillFileListBox adds, in the folder's order. Reads only the
// file system: runs on any thread.
[[nodiscard]] std::vector<std::string> ReadFileListNames(LPCSTR searchPath);
