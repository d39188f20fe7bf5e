#include <exception>

#include "listing/enum_icon_group_proc.h"
#include "listing/pending_icons.h"
#include "mainwnd/glimra_dlg.h"
#include "platform/core/data_module.h"
#include "platform/core/icon_object.h"
#include "platform/core/shell_extract.h"
#include "platform/ui/ui_call.h"
#include "platform/ui/win_app.h"
#include "support/framework/file_name.h"
#include "support/icon/icon_source.h"

namespace {

void AddIconFileIcon(LPCTSTR lpszPath, PendingIcons& icons) {
  const CIconInfo info(lpszPath);
  const UniqueIcon icon(info.GetIcon(-1));
  if (icon.get() != nullptr) icons.Add(icon.get(), info);
}

void AddModuleIcon(HINSTANCE hModule, LPCTSTR lpszName, LPCTSTR lpszPath, PendingIcons& icons) {
  // The record copies a group's name now: the string dies with the module.
  const CIconInfo info(lpszPath, lpszName, hModule);
  const UniqueIcon icon(info.GetIcon(-1));
  if (icon.get() != nullptr) icons.Add(icon.get(), info);
}

}  // namespace

void CGlimraDlg::ListIconsFromFile(const CString& strPath) {
  // What the engine could not turn into a value (memory exhausted on a
  // hostile file) costs that file: an exception leaving a worker, or a
  // handler of the user-interface thread (a double-click, an opened path),
  // would end the program. A kill is no std::exception and goes on up, so a
  // killed worker still leaves at once.
  try {
    ListFileIcons(strPath);
  } catch (const std::exception&) {
  }
}

void CGlimraDlg::ListFileIcons(const CString& strPath) {
  CString message;
  message.Format("Listing from %s", static_cast<LPCTSTR>(strPath));
  // Shortening measures the text many times; on a worker each measurement
  // would be a call of its own into the user-interface thread, so the whole
  // message is made and shown in one step, posted so that the worker goes
  // on meanwhile (see PendingIcons::Flush for why the window outlives it).
  // Steps of a file the display drops (see ListingDisplay) do nothing.
  const int file = IsUiThread() ? 0 : m_listingDisplay.NextFile();
  UiPost([this, file, text = message.str()] {
    if (!m_listingDisplay.Shows(file)) return;
    CRect rect;
    m_wndStatusBar.GetClientRect(&rect);
    const CFileName shown(text);
    m_wndStatusBar.SetWindowText(shown.Path2Rect(&m_wndStatusBar, rect).c_str());
  });
  PendingIcons icons(*this, file);
  // The tools decide by the same function; the module, when the file is
  // one, stays mapped until the source goes out of scope.
  const IconSource source(strPath);
  if (source.way() == ListingWay::IconFile) {
    // The message stays until the next file replaces it.
    AddIconFileIcon(strPath, icons);
    icons.Flush([this, file] { m_listingDisplay.Finished(file); });
    return;
  }
  if (source.way() == ListingWay::Module) {
    // A module without icon groups lists nothing: there is no fallback to
    // the extraction, whose answer would be the same groups anyway.
    IconGroupTarget target{&icons, strPath};
    static_cast<void>(
        EnumResourceNamesA(source.module(), RT_GROUP_ICON, EnumIconGroupProc, reinterpret_cast<LONG_PTR>(&target)));
  } else {
    for (UINT index = 0; index <= kMaxExtractIndex; ++index) {
      HICON extracted = ExtractIconFromFile(*source.shellFile(), index);
      // A readable file with no icons at all answers a marker, not an icon.
      if (extracted == nullptr || extracted == EXTRACT_NOT_AN_ICON_FILE) break;
      const UniqueIcon icon(extracted);
      icons.Add(icon.get(), CIconInfo(strPath, MAKEINTRESOURCEA(index)));
    }
  }
  icons.Flush([this, file] {
    if (m_listingDisplay.Shows(file)) m_wndStatusBar.SetWindowText("");
    m_listingDisplay.Finished(file);
  });
}

BOOL EnumIconGroupProc(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param) {
  if (!IS_INTRESOURCE(type) || (ResourceNumber(type) != RT_GROUP_ICON_ID && ResourceNumber(type) != RT_ICON_ID)) {
    return FALSE;
  }
  const auto* target = reinterpret_cast<const IconGroupTarget*>(param);
  if (target == nullptr || target->icons == nullptr) return FALSE;
  AddModuleIcon(module, name, target->path, *target->icons);
  return TRUE;
}
