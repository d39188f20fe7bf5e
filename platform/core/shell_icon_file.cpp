#include "platform/core/shell_icon_file.h"

#include <sys/stat.h>

#include "platform/core/data_module.h"

namespace {

bool IsEmptyRegularFile(LPCSTR path) {
  struct stat st {};
  return ::stat(path, &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0;
}

// NE sizes are stored in alignment units, so the table's length is the real
// size rounded up. When the group's own count lies within that last unit it
// is the exact size; otherwise the table's length is all we can trust.
ByteReader TrimToClaim(const ByteReader& bytes, const IconDirEntry& entry, std::uint64_t unit) {
  const std::uint64_t claim = entry.bytesInRes;
  if (claim != 0 && claim <= bytes.size() && bytes.size() - claim < unit) {
    if (auto trimmed = bytes.sub(0, claim)) return *trimmed;
  }
  return bytes;
}

}  // namespace

ShellIconFile::~ShellIconFile() {
  if (m_module != nullptr) (void)FreeLibrary(m_module);
}

std::unique_ptr<ShellIconFile> ShellIconFile::Open(LPCSTR path) {
  std::unique_ptr<ShellIconFile> file(new ShellIconFile());
  if (path == nullptr) return file;
  if (HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
    file->m_module = module;
    file->m_kind = ShellFileKind::Module;
    file->m_moduleGroups = ModuleIconGroupNames(module);
    return file;
  }
  auto mapping = FileMapping::Open(path);
  if (!mapping) {
    // The mapping refuses empty files, which are readable and hold no icons.
    if (IsEmptyRegularFile(path)) file->m_kind = ShellFileKind::NoIcons;
    return file;
  }
  file->m_mapping.emplace(std::move(*mapping));
  file->m_bytes = ByteReader(file->m_mapping->bytes());
  file->m_kind = ShellFileKind::NoIcons;
  file->Classify();
  return file;
}

std::unique_ptr<ShellIconFile> ShellIconFile::FromBytes(std::vector<std::uint8_t> bytes) {
  std::unique_ptr<ShellIconFile> file(new ShellIconFile());
  file->m_owned = std::move(bytes);
  file->m_bytes = ByteReader(file->m_owned);
  file->m_kind = ShellFileKind::NoIcons;
  file->Classify();
  return file;
}

void ShellIconFile::Classify() {
  if (IsNeFile(m_bytes)) {
    auto table = ReadNeResources(m_bytes);
    if (table) {
      m_ne = std::move(*table);
      m_neGroups = NeIconGroups(m_ne);
    }
    // A broken NE table still makes the file an NE file: it just has no
    // icons, which extraction answers with null rather than the marker.
    m_kind = ShellFileKind::Ne;
    return;
  }
  if (ParseIcoFile(m_bytes)) m_kind = ShellFileKind::IconFile;
}

bool ShellIconFile::damaged() const {
  if (m_module != nullptr) return IsDamagedModule(m_module);
  return m_mapping && m_mapping->damaged();
}

std::size_t ShellIconFile::groupCount() const {
  switch (m_kind) {
    case ShellFileKind::Module:
      return m_moduleGroups.size();
    case ShellFileKind::Ne:
      return m_neGroups.size();
    case ShellFileKind::IconFile:
      return 1;
    case ShellFileKind::Unreadable:
    case ShellFileKind::NoIcons:
      break;
  }
  return 0;
}

Expected<std::vector<IconImageBytes>> ShellIconFile::group(std::size_t index) const {
  if (index >= groupCount()) return Fail("no icon at this index");
  switch (m_kind) {
    case ShellFileKind::Module:
      return ModuleIconGroup(m_module, m_moduleGroups[index].id());
    case ShellFileKind::Ne: {
      const NeResource& dir = *m_neGroups[index];
      if (!dir.inFile) return Fail("NE icon group outside the file");
      return ResolveGroupImages(dir.bytes, [this](const IconDirEntry& entry) -> std::optional<ByteReader> {
        const auto bytes = NeIconImage(m_ne, entry.id);
        if (!bytes) return std::nullopt;
        return TrimToClaim(*bytes, entry, m_ne.alignUnit);
      });
    }
    case ShellFileKind::IconFile:
      return ParseIcoFile(m_bytes);
    case ShellFileKind::Unreadable:
    case ShellFileKind::NoIcons:
      break;
  }
  return Fail("no icons");
}
