#pragma once
// The help viewer: the platform's HTML Help entry over the program's
// compiled help file (platform/ui/help_file.h), shown in a window of its
// own with the title, size and position of the window type the caller
// names after ">" in the file argument.

#include <string>
#include <string_view>

#include "platform/ui/win_user.h"

// The viewer's module name as the program asks for it. The viewer is built
// into this layer; installing it with the program means installing a marker
// file of this name, which is what a data-file load of the name finds.
inline constexpr std::string_view kHelpViewerModuleName = "hhctrl.ocx";
// Makes a data-file load of kHelpViewerModuleName answer whether the
// marker was installed. The application object does this when it is made.
void RegisterHelpViewerModule();

inline constexpr UINT HH_DISPLAY_TOPIC = 0x0000;  // data: a topic name, or 0 for the window type's default
inline constexpr UINT HH_HELP_CONTEXT = 0x000F;   // data: a context number of the file's map
inline constexpr UINT HH_CLOSE_ALL = 0x0012;      // closes every viewer window; answers null

// fileAndWindowType is "file>window type" (or just the file, which then
// shows in a window titled and placed by the file's defaults). Answers the
// viewer window, reused while it is open, or null when the file cannot be
// read, the window type or the topic is not in it, or the command is not
// one of the above.
HWND HtmlHelpA(HWND caller, LPCSTR fileAndWindowType, UINT command, DWORD_PTR data);

// The entry name of the topic a viewer window shows, with any "#anchor";
// empty for a window that is no viewer.
[[nodiscard]] std::string HelpViewerTopic(HWND viewer);
// Follows href from the topic shown, as a click on a link with that address
// does: a topic of the file opens in the viewer (one the file lacks leaves
// it as it is), any other address goes to the desktop's browser. FALSE for
// a window that is no viewer.
BOOL HelpViewerFollowLink(HWND viewer, const std::string& href);
