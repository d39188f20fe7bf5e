// The string table. A command's string holds its status-bar prompt and its
// tooltip, separated by a newline.

#include "res/resource_data.h"
#include "res/resource_ids.h"

namespace {

constexpr StringResource kStrings[] = {
    {IDS_ABOUTBOX, "&About Glimra..."},
    {ID_ICONS_CLEAR, "Clear Icon list\nClear list"},
    {ID_ICONS_SAVEAS, "Save selected icons\nSave icons"},
    {ID_ICONS_INFO, "Display Icon info\nDisplay Icon Info"},
    {ID_APP_ABOUT, "Display information about application\nAbout"},
    {ID_APP_EXIT, "Exit Glimra\nExit"},
    {ID_HELP_FINDER, "List Help topics\nHelp Topics"},
    {IDS_APP_TITLE, "Glimra"},
    // The host is the project's own placeholder; the page lives under this path.
    {IDS_HELP_URL, "https://glimra.invalid/vantrel/Glimra/index.html"},
};

}  // namespace

const std::span<const StringResource> kStringTable = kStrings;
