#pragma once
// What the icon list's tooltip and accessible name say about a listed icon.

#include "model/icon_info.h"
#include "platform/ui/cstring.h"

// The source's file name, the identifier as the Icon Info dialog shows it
// (none for an .ico file) and the number of images, one to a line. The
// group is rebuilt from its source, as the dialog does; when that fails
// only the file name is left.
[[nodiscard]] CString DescribeListedIcon(const CIconInfo& info);
