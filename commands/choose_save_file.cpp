#include <string>

#include "commands/save_dialog.h"
#include "mainwnd/glimra_dlg.h"
#include "model/icon_info.h"
#include "platform/ui/win_app.h"
#include "res/resource_ids.h"
#include "support/framework/file_name.h"

BOOL ChooseSaveFile(CGlimraDlg& dlg, const CIconInfo& info, char (&fileName)[kSaveFileNameSize]) {
  OPENFILENAMEA ofn{};
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  ofn.hwndOwner = dlg.GetSafeHwnd();
  ofn.hInstance = AfxGetInstanceHandle();
  ofn.lpstrFilter = "Icon File (*.ico)\0*.ico\0";
  ofn.lpstrFile = fileName;
  ofn.nMaxFile = kSaveFileNameSize;
  ofn.lpstrTitle = "ICO Files";
  ofn.Flags = OFN_EXPLORER | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_OVERWRITEPROMPT;
  ofn.lpstrDefExt = "ICO";
  ofn.lCustData = reinterpret_cast<LPARAM>(&info);
  ofn.lpfnHook = SaveDialogHook;
  ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_SAVE_PANEL);

  if (dlg.m_strSaveFolder.IsEmpty()) {
    dlg.m_strSaveFolder = CFileName(info.m_strSource.str()).GetRoot().c_str();
  }
  // The folder string outlives the run: nothing changes it until it ends.
  ofn.lpstrInitialDir = dlg.m_strSaveFolder;

  fileName[0] = '\0';
  const BOOL chosen = GetSaveFileNameA(&ofn);
  if (!chosen) {
    // A failing dialog counts as a cancel; its reason is of no use here.
    static_cast<void>(CommDlgExtendedError());
  }
  dlg.m_strSaveFolder = CFileName(fileName).GetRoot().c_str();
  FreeSavePreviewIcon();
  return chosen;
}
