#pragma once
// The program's resource table: dialog 500, menus 129 and 130, accelerator
// table 137, toolbar and bitmap 128, icon group 128 and the string table.
// main registers it before the application object starts.

#include "platform/ui/resources.h"

[[nodiscard]] const ResourceTable& GlimraResources();
