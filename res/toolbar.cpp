// Toolbar 128: 16 x 16 buttons, in the order of their images in bitmap 128
// (the separator takes no image). The bitmap itself is generated from
// toolbar.bmp.

#include "res/resource_data.h"
#include "res/resource_ids.h"

namespace {

constexpr WORD kItems[] = {
    static_cast<WORD>(ID_APP_EXIT),     static_cast<WORD>(ID_ICONS_CLEAR), static_cast<WORD>(ID_SEPARATOR),
    static_cast<WORD>(ID_ICONS_SAVEAS), static_cast<WORD>(ID_ICONS_INFO),  static_cast<WORD>(ID_APP_ABOUT),
};

}  // namespace

const ToolbarTemplate kMainToolbar = {16, 16, kItems};
