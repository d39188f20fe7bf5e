// Menu bar 130, the icon list's popup menu 129 and accelerator table 137.

#include "res/resource_data.h"
#include "res/resource_ids.h"

namespace {

constexpr MenuItemTemplate kFileItems[] = {
    {MF_STRING, ID_APP_EXIT, "E&xit", {}},
};
// The popup menu offers the same items in the same order: the designed
// three, then the two that get icons out of the window.
// clang-format off
constexpr MenuItemTemplate kIconsItems[] = {
    {MF_STRING, ID_ICONS_CLEAR, "&Clear", {}},
    {MF_STRING, ID_ICONS_SAVEAS, "Save &As...", {}},
    {MF_STRING, ID_ICONS_INFO, "&Info", {}},
    {MF_SEPARATOR, 0, nullptr, {}},
    {MF_STRING, ID_ICONS_COPY, "C&opy", {}},
    {MF_STRING, ID_ICONS_EXPORT, "&Export...", {}},
};
// clang-format on
constexpr MenuItemTemplate kHelpItems[] = {
    {MF_STRING, ID_HELP_FINDER, "&Help Topics", {}},
    {MF_SEPARATOR, 0, nullptr, {}},
    {MF_STRING, ID_APP_ABOUT, "&About Glimra...", {}},
};
constexpr MenuItemTemplate kMainItems[] = {
    {MF_POPUP, 0, "&File", kFileItems},
    {MF_POPUP, 0, "&Icons", kIconsItems},
    {MF_POPUP, 0, "&Help", kHelpItems},
};
constexpr MenuItemTemplate kPopupItems[] = {
    {MF_POPUP, 0, "Pop", kIconsItems},
};

constexpr AcceleratorEntry kAccelerators[] = {
    {FVIRTKEY | FCONTROL, 'I', static_cast<WORD>(ID_ICONS_INFO)},
};

}  // namespace

const MenuTemplate kMainMenu = {kMainItems};
const MenuTemplate kIconPopupMenu = {kPopupItems};
const AcceleratorTable kMainAccelerators = {kAccelerators};
