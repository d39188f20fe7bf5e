#pragma once
// Getting icons out of the window, beyond the designed Save As: Copy (the
// menus' item and Ctrl+C in the icon list), dragging selected icons out,
// and Export into one folder. Copy and a drag carry the same data: the
// first selected icon's largest image as PNG, and every selected icon as an
// .ico file named and written as glimra-extract writes it.

class CGlimraDlg;

void CopySelectedIcons(CGlimraDlg& dlg);
void DragSelectedIcons(CGlimraDlg& dlg);
// Asks for one folder (and .ico or PNG), writes every selected icon there,
// tells in the status bar how many files were written and lists the
// failures, if any, in one message at the end.
void ExportSelectedIcons(CGlimraDlg& dlg);
