#pragma once
// Where the program's help file is: installed beside the program, or in the
// data folder of an installed copy (platform/core/install_folders.h).

#include "platform/core/win_types.h"

inline constexpr const char* kHtmlHelpFileName = "glimra.help";

// Writes the help file's full path into buffer (MAX_PATH characters) and
// answers buffer; the text is empty when no help file is installed or its
// path would not fit.
LPSTR GetHTMLHelpPath(LPSTR buffer);
