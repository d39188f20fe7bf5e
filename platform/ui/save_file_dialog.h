#pragma once
// The common save-file dialog: the platform's own file dialog, extended by
// the caller's child panel (a dialog template) placed above the dialog's
// controls, with the caller's hook procedure as the panel's dialog
// procedure. Tests can answer a run through SetSaveFileHook.

#include <functional>
#include <optional>
#include <string>

#include "platform/ui/common_controls.h"
#include "platform/ui/cwnd.h"

// A hook answers TRUE for a message it handled, FALSE for default handling.
using LPOFNHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAMEA {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCSTR lpstrFilter;  // "text\0pattern\0" pairs, ended by an empty text
  LPSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;  // 1-based; 0 picks the first pair
  LPSTR lpstrFile;
  DWORD nMaxFile;
  LPSTR lpstrFileTitle;
  DWORD nMaxFileTitle;
  LPCSTR lpstrInitialDir;
  LPCSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;
  WORD nFileExtension;
  LPCSTR lpstrDefExt;
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;  // MAKEINTRESOURCEA(id): templates are found by number
};
using LPOPENFILENAMEA = OPENFILENAMEA*;

// Callers written for the 32-bit platform pass the size its older form had
// there, before the extension fields; this structure has no extension
// fields, so that size and sizeof(OPENFILENAMEA) are both accepted.
inline constexpr DWORD OPENFILENAME_SIZE_VERSION_400A = 76;

inline constexpr DWORD OFN_READONLY = 0x00000001;
inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWORD OFN_ENABLEHOOK = 0x00000020;
inline constexpr DWORD OFN_ENABLETEMPLATE = 0x00000040;
inline constexpr DWORD OFN_EXPLORER = 0x00080000;

// The notifications the panel's hook receives as WM_NOTIFY.
inline constexpr UINT CDN_FIRST = 0u - 601u;
inline constexpr UINT CDN_INITDONE = CDN_FIRST - 0u;
inline constexpr UINT CDN_FILEOK = CDN_FIRST - 5u;
struct OFNOTIFYA {
  NMHDR hdr;
  LPOPENFILENAMEA lpOFN;
  LPSTR pszFile;
};

// The control of a child template whose place the dialog's own controls take.
inline constexpr int stc32 = 0x045f;
// Registered message sent to the hook when the user has chosen a name.
inline constexpr const char* FILEOKSTRINGA = "commdlg_FileNameOK";

// CommDlgExtendedError codes.
inline constexpr DWORD CDERR_DIALOGFAILURE = 0xFFFF;
inline constexpr DWORD CDERR_STRUCTSIZE = 0x0001;
inline constexpr DWORD CDERR_FINDRESFAILURE = 0x0006;
inline constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;

// Nonzero when the user chose a name, which is then in lpstrFile (with
// nFileOffset and nFileExtension set); zero for a cancel or a failure.
[[nodiscard]] BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn);
// Why the calling thread's last GetSaveFileNameA answered zero: 0 for a
// cancel, else a CDERR_ or FNERR_ code.
[[nodiscard]] DWORD CommDlgExtendedError();

// A message number unique to the name (compared without regard to ASCII
// case), from 0xC000 up; 0 for an empty name.
[[nodiscard]] UINT RegisterWindowMessageA(LPCSTR name);

// What a test sees of a save dialog once it is shown and its panel is
// initialised.
struct SaveFileRun {
  HWND dialog = nullptr;  // the dialog's window; its widget holds the file dialog
  HWND panel = nullptr;   // the caller's panel, null without a template
  const OPENFILENAMEA* ofn = nullptr;
  std::string folder;  // the folder the dialog opened in
};
// Answering a path ends the run as if the user had chosen it (the hook sees
// the chosen name as usual); an empty string cancels; nullopt lets the real
// dialog run, which a test may drive through its widgets.
using SaveFileHook = std::function<std::optional<std::string>(const SaveFileRun& run)>;
void SetSaveFileHook(SaveFileHook hook);
