#pragma once
// The save dialog of Save As: the runner that asks for one icon's file name
// and the hook procedure of its preview panel (template 136).

#include <climits>

#include "platform/ui/save_file_dialog.h"

class CGlimraDlg;
class CIconInfo;

// The file name buffer of a save loop: room for any path the system
// accepts, terminator included.
inline constexpr int kSaveFileNameSize = PATH_MAX;

// Asks for the file to save info to, opening in dlg.m_strSaveFolder (or in
// the folder of info's source when that is empty) and remembering the
// folder of the answer there, empty after a cancel. Nonzero when a name was
// chosen; it is then in fileName.
[[nodiscard]] BOOL ChooseSaveFile(CGlimraDlg& dlg, const CIconInfo& info, char (&fileName)[kSaveFileNameSize]);

// The panel's dialog procedure: previews the record in the structure's
// custom data (icon, source path, identifier).
UINT_PTR SaveDialogHook(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
// Releases the preview icon the hook made; the runner calls it once the
// dialog has closed.
void FreeSavePreviewIcon();
