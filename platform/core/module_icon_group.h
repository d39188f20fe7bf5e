#pragma once
// Icon groups of a module loaded as data: their names in enumeration order,
// and a group's images with their bytes, read from the mapping.

#include <string>
#include <vector>

#include "platform/core/icon_directory.h"
#include "platform/core/win_types.h"

// A resource name kept beyond the enumeration callback that handed it out.
struct ResourceName {
  WORD number = 0;   // when the name is a number
  std::string text;  // when it is a string
  bool isNumber = true;

  // The pointer-sized identifier form, valid while this object lives.
  [[nodiscard]] LPCSTR id() const { return isNumber ? MAKEINTRESOURCEA(number) : text.c_str(); }
};

[[nodiscard]] ResourceName ResourceNameFrom(LPCSTR id);

// Every name of one resource type in the module, in enumeration order.
[[nodiscard]] std::vector<ResourceName> ModuleResourceNames(HMODULE module, LPCSTR type);

// Every RT_GROUP_ICON name of the module, in enumeration order.
[[nodiscard]] std::vector<ResourceName> ModuleIconGroupNames(HMODULE module);

// The group's images that have an RT_ICON resource behind them.
[[nodiscard]] Expected<std::vector<IconImageBytes>> ModuleIconGroup(HMODULE module, LPCSTR id);
