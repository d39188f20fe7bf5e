#include "model/icon_info.h"

#include <cstring>
#include <string_view>

#include "platform/core/data_module.h"
#include "platform/core/icon_object.h"
#include "platform/core/shell_extract.h"
#include "platform/ui/win_app.h"
#include "support/framework/file_name.h"

IMPLEMENT_DYNCREATE(CIconInfo, CObject)

namespace {

// The group's fixed path fields are NUL-terminated by the library; a
// missing terminator still never reads past the field.
std::string_view FixedField(const char (&field)[MAX_PATH]) { return {field, ::strnlen(field, MAX_PATH)}; }

}  // namespace

CIconInfo::CIconInfo() : m_wFlags(ICONINFO_RESOURCE) {}

CIconInfo::CIconInfo(LPCTSTR source, LPCTSTR id, HINSTANCE module)
    : m_strSource(source), m_hInstance(module), m_wFlags(ICONINFO_RESOURCE | ICONINFO_MODULE) {
  SetIdentifier(id);
}

CIconInfo::CIconInfo(LPCTSTR source, LPCTSTR id)
    : m_strSource(source), m_hInstance(AfxGetInstanceHandle()), m_wFlags(ICONINFO_EXTRACT | ICONINFO_MODULE) {
  SetIdentifier(id);
}

CIconInfo::CIconInfo(LPCTSTR source) : m_strSource(source), m_wFlags(ICONINFO_ICOFILE | ICONINFO_RESOURCE) {}

void CIconInfo::SetIdentifier(LPCTSTR id) {
  if (IS_INTRESOURCE(id)) {
    m_nID = ResourceNumber(id);
  } else {
    m_strName = id;
  }
}

bool CIconInfo::HasIcoExtension() const { return CFileName(m_strSource.str()).ISExtension("ico") != FALSE; }

HICON CIconInfo::GetIcon(int index) const {
  if (m_wFlags & ICONINFO_ICOFILE) {
    if (!HasIcoExtension()) return nullptr;
    const UniqueIconResource group(ReadIconFromICOFile(m_strSource));
    if (group.get() == nullptr) return nullptr;
    const int image = index >= 0 ? index : m_nImage;
    if (image < 0 || static_cast<UINT>(image) >= group.get()->nImages) return nullptr;
    return MakeIconFromResource(IconImageAt(group.get(), static_cast<UINT>(image)));
  }
  if ((m_wFlags & ICONINFO_RESOURCE) && m_hInstance != nullptr) {
    if (m_nID != 0) return GetIconFromInstance(m_hInstance, MAKEINTRESOURCEA(m_nID));
    if (!m_strName.IsEmpty()) return GetIconFromInstance(m_hInstance, m_strName);
  }
  if (m_wFlags & ICONINFO_EXTRACT) {
    // The extraction's answer for a file without icons is a marker, not an
    // icon a caller could draw or destroy.
    HICON icon = ExtractIconA(m_hInstance, m_strSource, m_nID);
    return icon == EXTRACT_NOT_AN_ICON_FILE ? nullptr : icon;
  }
  return nullptr;
}

ICONRESOURCE* CIconInfo::BuildGroup(LPCTSTR id) const {
  if (m_wFlags & ICONINFO_ICOFILE) {
    // Only the name decides: a file without the extension is never opened.
    return HasIcoExtension() ? ReadIconFromICOFile(m_strSource) : nullptr;
  }
  if (m_wFlags & ICONINFO_RESOURCE) {
    // The handle kept from the listing is long gone; map the file again.
    const UniqueModule module(LoadLibraryExA(m_strSource, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (module == nullptr) return nullptr;
    return CreateIconFromInstance(module.get(), id, m_strSource);
  }
  return CreateIconFromHIcon(m_hInstance, m_strSource, m_nID);
}

ICONRESOURCE* CIconInfo::LoadIconResource(LPCTSTR& id) const {
  id = m_strName.IsEmpty() ? MAKEINTRESOURCEA(m_nID) : static_cast<LPCTSTR>(m_strName);
  return BuildGroup(id);
}

HICON CIconInfo::GetPreviewIcon(CFileName& source, CString& idText) const {
  LPCTSTR id = nullptr;
  const UniqueIconResource group(LoadIconResource(id));
  if (group.get() == nullptr) return nullptr;
  HICON icon = group.get()->nImages > 0 ? MakeIconFromResource(IconImageAt(group.get(), 0)) : nullptr;
  const std::string_view iconFile = FixedField(group.get()->szIconFile);
  if (!iconFile.empty()) {
    source = iconFile;
    idText.Empty();
  } else {
    source = FixedField(group.get()->szModule);
    idText = IconIdentifierText(id);
  }
  return icon;
}

CString IconIdentifierText(LPCTSTR id) {
  CString text;
  if (IS_INTRESOURCE(id)) {
    text.Format("%d", static_cast<int>(ResourceNumber(id)));
  } else {
    text.Format("%s", id);
  }
  return text;
}

BOOL CIconInfo::SaveIcon(LPCTSTR path) const {
  LPCTSTR id = nullptr;
  const UniqueIconResource group(LoadIconResource(id));
  if (group.get() == nullptr) return FALSE;
  return WriteIconToICOFile(group.get(), path);
}
