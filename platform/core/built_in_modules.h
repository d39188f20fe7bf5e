#pragma once
// Modules a layer above provides itself instead of a file to map. A
// data-file load of such a module's bare name (no folder, any letter case,
// as the platform compares module names) answers an empty module exactly
// when the layer says it is installed, so the program can ask for it the
// way it asks the platform.

#include <string>
#include <string_view>

// present answers whether the module is installed; it is asked at every
// load. A later registration of the same name replaces the earlier one.
void RegisterBuiltInModule(std::string name, bool (*present)());

// Whether path is the bare name of a registered module; when it is,
// *present holds what that module's registration answers.
[[nodiscard]] bool IsBuiltInModule(std::string_view path, bool* present);
