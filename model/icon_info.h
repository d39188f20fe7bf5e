#pragma once
// What the program keeps about one listed icon: where it came from and how
// to get it back. No image data: every use after the listing rebuilds the
// icon from its source file.

#include "platform/core/win_types.h"
#include "platform/ui/cobject.h"
#include "platform/ui/cstring.h"
#include "support/icon/icon_library.h"

class CFileName;

// Kind bits of m_wFlags. Operations test ICONINFO_ICOFILE first and
// ICONINFO_RESOURCE next, so a record with ICOFILE set is an .ico record
// whatever else is set.
inline constexpr WORD ICONINFO_EXTRACT = 0x0001;   // shell extraction, index m_nID
inline constexpr WORD ICONINFO_RESOURCE = 0x0002;  // a module's icon group, m_nID or m_strName
inline constexpr WORD ICONINFO_MODULE = 0x0004;    // the source is not an .ico file
inline constexpr WORD ICONINFO_ICOFILE = 0x0008;   // the source is an .ico file

class CIconInfo : public CObject {
  DECLARE_DYNCREATE(CIconInfo)

 public:
  CIconInfo();
  // An icon group of a module loaded as data. id is a number below 0x10000
  // or a name, which is copied here, while the module is still loaded.
  CIconInfo(LPCTSTR source, LPCTSTR id, HINSTANCE module);
  // An icon that only the shell's extraction reaches; id is its index, as a
  // number.
  CIconInfo(LPCTSTR source, LPCTSTR id);
  // An .ico file.
  explicit CIconInfo(LPCTSTR source);
  CIconInfo(const CIconInfo&) = default;
  CIconInfo& operator=(const CIconInfo&) = default;
  // Records gathered during a listing move into place instead of copying.
  CIconInfo(CIconInfo&&) noexcept = default;
  CIconInfo& operator=(CIconInfo&&) noexcept = default;
  ~CIconInfo() override = default;

  // A new icon handle the caller destroys, or null. For a module group it
  // needs m_hInstance still loaded, so it is for listing time only. index -1
  // means m_nImage; it counts only for .ico files.
  [[nodiscard]] HICON GetIcon(int index = -1) const;
  // The whole group, rebuilt from the source (a module is loaded again), or
  // null; the caller frees it with ClearIconResource. id receives the
  // identifier: m_strName's characters (valid while this record lives and is
  // not assigned to), else m_nID as a number.
  [[nodiscard]] ICONRESOURCE* LoadIconResource(LPCTSTR& id) const;
  // The first image's icon, or null. On success in building the group the
  // outputs get the source to show and the identifier text ("" for an .ico
  // file); when the group cannot be built they are left untouched.
  [[nodiscard]] HICON GetPreviewIcon(CFileName& source, CString& idText) const;
  // Writes the group as an .ico file at path; TRUE when written.
  [[nodiscard]] BOOL SaveIcon(LPCTSTR path) const;
  // The Icon Info dialog for this record.
  void ShowInfo() const;

  CString m_strSource;
  UINT m_nID = 0;
  int m_nImage = 0;
  HINSTANCE m_hInstance = nullptr;
  CString m_strName;
  WORD m_wFlags = 0;

 private:
  void SetIdentifier(LPCTSTR id);
  [[nodiscard]] bool HasIcoExtension() const;
  [[nodiscard]] ICONRESOURCE* BuildGroup(LPCTSTR id) const;
};

// A module group's identifier as the program shows it: the number in
// decimal, or the name.
[[nodiscard]] CString IconIdentifierText(LPCTSTR id);
