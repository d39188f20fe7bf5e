#pragma once
// Resources the framework tests build windows from: a sizing main dialog
// with a menu, a toolbar with its bitmap and prompts, and a modal popup.

#include "platform/ui/resources.h"

namespace fw_test {

inline constexpr UINT kMainDialogId = 9500;
inline constexpr UINT kMainMenuId = 9501;
inline constexpr UINT kToolbarId = 9510;
inline constexpr UINT kPopupDialogId = 9520;

inline constexpr UINT kCmdClear = 32771;
inline constexpr UINT kCmdSave = 32772;

// Controls of the main dialog and their designed rectangles (dialog units).
inline constexpr UINT kButtonId = 1000;  // 150, 10, 40, 14
inline constexpr UINT kTreeId = 1001;    // 10, 10, 60, 60
inline constexpr UINT kListId = 1034;    // 80, 10, 60, 60
inline constexpr UINT kGroupId = 1090;   // 5, 75, 190, 20

[[nodiscard]] const ResourceTable& Resources();

}  // namespace fw_test
