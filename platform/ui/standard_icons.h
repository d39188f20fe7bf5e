#pragma once
// The desktop style's own small pictures (computer, drive, folder), as icon
// handles for the library's image lists.

#include "platform/core/win_types.h"

enum class StandardIcon { Computer, Drive, Folder, FolderOpen };

// A new icon of side x side pixels; the caller destroys it. Null when the
// style has no such picture. User-interface thread only.
[[nodiscard]] HICON CreateStandardIcon(StandardIcon which, int side);
