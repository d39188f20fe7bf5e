#include "commands/icon_description.h"

#include <cstring>
#include <string>

#include "support/framework/file_name.h"
#include "support/icon/icon_library.h"

CString DescribeListedIcon(const CIconInfo& info) {
  const std::string& source = info.m_strSource.str();
  const std::size_t cut = source.rfind(kPathSeparator);
  CString text(cut == std::string::npos ? source.c_str() : source.c_str() + cut + 1);
  LPCTSTR id = nullptr;
  const UniqueIconResource group(info.LoadIconResource(id));
  if (group == nullptr) {
    return text;
  }
  if (::strnlen(group->szIconFile, sizeof group->szIconFile) == 0) {
    text += CString("\nIdentifier: ") + IconIdentifierText(id);
  }
  CString images;
  images.Format("\nImages: %u", group->nImages);
  text += images;
  return text;
}
