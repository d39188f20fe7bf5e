#include "support/icon/icon_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "platform/core/data_module.h"
#include "platform/core/icon_object.h"
#include "platform/core/module_icon_group.h"
#include "platform/core/shell_extract.h"

namespace {

std::string ResourceIdText(const IconKey& key) { return key.kind == IconKey::Kind::Name ? key.name : std::string(); }

}  // namespace

std::string IconKey::Label() const {
  switch (kind) {
    case Kind::Id:
      return "id=" + std::to_string(number);
    case Kind::Name:
      return "name=" + name;
    case Kind::Index:
      break;
  }
  return "index=" + std::to_string(number);
}

IconKey IconKeyOf(const ResourceName& name) {
  return name.isNumber ? IconKey{IconKey::Kind::Id, name.number, {}} : IconKey{IconKey::Kind::Name, 0, name.text};
}

bool HasIcoExtension(const std::string& path) {
  const auto slash = path.rfind('/');
  const auto dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  const std::string ext = path.substr(dot + 1);
  return ext.size() == 3 && std::tolower(static_cast<unsigned char>(ext[0])) == 'i' &&
         std::tolower(static_cast<unsigned char>(ext[1])) == 'c' &&
         std::tolower(static_cast<unsigned char>(ext[2])) == 'o';
}

std::optional<std::string> FileReadProblem(const char* path) {
  if (path == nullptr || *path == '\0') return "cannot open: no file name";
  // O_NONBLOCK: opening a named pipe must not wait for a writer.
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return std::string("cannot open: ") + std::strerror(errno);
  struct stat st {};
  const bool stated = ::fstat(fd, &st) == 0;
  const int statErrno = errno;
  ::close(fd);
  if (!stated) return std::string("cannot stat: ") + std::strerror(statErrno);
  if (!S_ISREG(st.st_mode)) return S_ISDIR(st.st_mode) ? "not a regular file (a folder)" : "not a regular file";
  return std::nullopt;
}

IconSource::IconSource(LPCSTR path) : m_path(path != nullptr ? path : "") {
  if (path == nullptr) return;
  if (HasIcoExtension(m_path)) {
    m_way = ListingWay::IconFile;
  } else if (HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
    m_way = ListingWay::Module;
    m_module.reset(module);
  } else {
    m_shellFile = ShellIconFile::Open(path);
  }
}

IconSource::~IconSource() = default;

std::vector<IconKey> IconSource::Icons(std::size_t limit) const {
  std::vector<IconKey> keys;
  if (limit == 0) return keys;
  switch (m_way) {
    case ListingWay::IconFile:
      if (Group(IconKey{}) != nullptr) keys.push_back(IconKey{});
      break;
    case ListingWay::Module:
      for (const ResourceName& name : ModuleIconGroupNames(m_module.get())) {
        keys.push_back(IconKeyOf(name));
        if (keys.size() == limit) break;
      }
      break;
    case ListingWay::Extract: {
      for (UINT index = 0; index <= kMaxExtractIndex && keys.size() < limit; ++index) {
        const HICON extracted = ExtractIconFromFile(*m_shellFile, index);
        // A readable file with no icons at all answers a marker, not an icon.
        if (extracted == nullptr || extracted == EXTRACT_NOT_AN_ICON_FILE) break;
        const UniqueIcon icon(extracted);
        keys.push_back(IconKey{IconKey::Kind::Index, index, {}});
      }
      break;
    }
  }
  return keys;
}

UniqueIconResource IconSource::Group(const IconKey& key) const {
  switch (m_way) {
    case ListingWay::IconFile:
      return UniqueIconResource(
          key.kind == IconKey::Kind::Index && key.number == 0 ? ReadIconFromICOFile(m_path.c_str()) : nullptr);
    case ListingWay::Module: {
      if (key.kind == IconKey::Kind::Index) return nullptr;
      const std::string text = ResourceIdText(key);
      const LPCSTR id = key.kind == IconKey::Kind::Id ? MAKEINTRESOURCEA(key.number) : text.c_str();
      return UniqueIconResource(CreateIconFromInstance(m_module.get(), id, m_path.c_str()));
    }
    case ListingWay::Extract:
      if (key.kind != IconKey::Kind::Index) return nullptr;
      return UniqueIconResource(CreateIconFromHIcon(GetModuleHandleA(nullptr), m_path.c_str(), key.number));
  }
  return nullptr;
}

HICON IconSource::PickedIcon(const IconKey& key) const {
  switch (m_way) {
    case ListingWay::IconFile: {
      const UniqueIconResource group = Group(key);
      return group != nullptr ? MakeIconFromResource(IconImageAt(group.get(), 0)) : nullptr;
    }
    case ListingWay::Module: {
      if (key.kind == IconKey::Kind::Index) return nullptr;
      const std::string text = ResourceIdText(key);
      return GetIconFromInstance(m_module.get(),
                                 key.kind == IconKey::Kind::Id ? MAKEINTRESOURCEA(key.number) : text.c_str());
    }
    case ListingWay::Extract: {
      if (key.kind != IconKey::Kind::Index) return nullptr;
      const HICON icon = ExtractIconFromFile(*m_shellFile, key.number);
      return icon == EXTRACT_NOT_AN_ICON_FILE ? nullptr : icon;
    }
  }
  return nullptr;
}
