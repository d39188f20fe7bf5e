#pragma once
// The resource-name callback through which a module's icon groups reach the
// main window while the module is loaded as data.

#include "platform/core/win_types.h"

// param is the module's path (a const char*). FALSE for a type other than
// an icon group or an icon, or when there is no main window, which ends the
// enumeration; TRUE otherwise, whether or not the group's icon loaded.
BOOL EnumIconGroupProc(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param);
