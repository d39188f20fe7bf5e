#pragma once
// The resource-name callback through which a module's icon groups reach the
// main window while the module is loaded as data.

#include "platform/core/win_types.h"

class PendingIcons;

// The user value of the enumeration: the batch of the file being listed,
// which knows its window. The window travels with it rather than being
// looked up as the application's main window: the enumeration runs on the
// listing worker, and the user-interface thread forgets the main window as
// it destroys it.
struct IconGroupTarget {
  PendingIcons* icons = nullptr;
  LPCSTR path = nullptr;  // the module's path
};

// param points to an IconGroupTarget. FALSE for a type other than an icon
// group or an icon, or when the target names no batch, which ends the
// enumeration; TRUE otherwise, whether or not the group's icon loaded.
BOOL EnumIconGroupProc(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param);
