#include "support/framework/file_list.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <utility>

#include "platform/core/wildcard.h"
#include "support/framework/file_name.h"

struct CFileList::FolderId {
  dev_t dev = 0;
  ino_t ino = 0;
  auto operator<=>(const FolderId&) const = default;
};

// What every entry of one walk shares.
struct CFileList::Walk {
  std::string pattern;
  bool subfolders = true;
  int maxDepth = 0;
  bool skipHidden = false;
  bool hasSkipPattern = false;
  std::string skipPattern;
  // Every folder the walk has entered, so a link to one is not walked twice.
  std::set<FolderId> entered;
};

struct CFileList::PathNode {
  FolderId id;
  std::shared_ptr<const PathNode> parent;
};

struct CFileList::Entry {
  std::string name;
  bool isFolder = false;
  bool viaLink = false;
  FolderId id;
};

namespace {

bool NameBefore(const std::string& a, const std::string& b) {
  const auto foldedLess = [](char x, char y) { return FoldNameCase(x) < FoldNameCase(y); };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), foldedLess)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), foldedLess)) return false;
  return a < b;
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == kPathSeparator) return folder + name;
  return folder + kPathSeparator + name;
}

// Closes the folder on every way out of the read.
struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

CFileList::CFileList() = default;
CFileList::~CFileList() = default;

CFileList::CFileList(std::string_view searchSpec, int nSubfolders, int nMaxDepth, int nSkipHidden,
                     const char* pszSkipFolders)
    : m_strPath(searchSpec), m_kind(Kind::Root), m_walk(std::make_shared<Walk>()) {
  const std::size_t sep = searchSpec.rfind(kPathSeparator);
  if (sep == std::string_view::npos) {
    m_walk->pattern = std::string(searchSpec);
  } else {
    m_folder = std::string(searchSpec.substr(0, sep + 1));
    m_walk->pattern = std::string(searchSpec.substr(sep + 1));
  }
  m_walk->subfolders = nSubfolders != 0;
  m_walk->maxDepth = nMaxDepth > 0 ? nMaxDepth : 0;
  m_walk->skipHidden = nSkipHidden != 0;
  if (pszSkipFolders != nullptr) {
    m_walk->hasSkipPattern = true;
    m_walk->skipPattern = pszSkipFolders;
  }
}

BOOL CFileList::IsFile() const { return m_kind == Kind::File ? TRUE : FALSE; }

void CFileList::Clear() {
  m_strPath.clear();
  m_kind = Kind::Empty;
  m_depth = 0;
  m_folder.clear();
  m_walk.reset();
  m_parents.reset();
  m_self.reset();
  FindEnd();
}

BOOL CFileList::FindFirst(int nFlags) {
  FindEnd();
  if (nFlags != 0 || (m_kind != Kind::Root && m_kind != Kind::Folder)) return FALSE;
  return ReadFolder() ? TRUE : FALSE;
}

bool CFileList::ReadFolder() {
  std::unique_ptr<DIR, DirCloser> dir(opendir(m_folder.empty() ? "." : m_folder.c_str()));
  if (!dir) return false;
  const int fd = dirfd(dir.get());
  struct stat self {};
  if (fstat(fd, &self) != 0) return false;
  const FolderId selfId{self.st_dev, self.st_ino};
  for (const PathNode* p = m_parents.get(); p != nullptr; p = p->parent.get()) {
    if (p->id == selfId) return false;
  }
  m_walk->entered.insert(selfId);
  m_self = std::make_shared<const PathNode>(PathNode{selfId, m_parents});

  const Walk& walk = *m_walk;
  const bool wantFolders =
      walk.subfolders && m_depth < kMaxFolderDepth && (walk.maxDepth == 0 || m_depth < walk.maxDepth);
  while (const dirent* d = readdir(dir.get())) {
    const std::string name = d->d_name;
    if (name == "." || name == "..") continue;
    if (walk.skipHidden && name.front() == '.') continue;
    unsigned char type = d->d_type;
    if (type == DT_REG && !WildcardMatch(walk.pattern, name)) continue;
    if (type != DT_REG && type != DT_DIR && type != DT_LNK && type != DT_UNKNOWN) continue;

    Entry entry;
    entry.name = name;
    if (type != DT_REG) {
      struct stat st {};
      // Links are followed: what counts is what they lead to.
      if (fstatat(fd, name.c_str(), &st, 0) != 0) continue;
      entry.viaLink = type == DT_LNK;
      if (type == DT_UNKNOWN) {
        struct stat lst {};
        entry.viaLink = fstatat(fd, name.c_str(), &lst, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(lst.st_mode);
      }
      if (S_ISDIR(st.st_mode)) {
        if (!wantFolders) continue;
        if (walk.hasSkipPattern && WildcardMatch(walk.skipPattern, name)) continue;
        entry.isFolder = true;
        entry.id = FolderId{st.st_dev, st.st_ino};
      } else if (!S_ISREG(st.st_mode) || !WildcardMatch(walk.pattern, name)) {
        continue;
      }
    }
    m_entries.push_back(std::move(entry));
  }
  std::sort(m_entries.begin(), m_entries.end(),
            [](const Entry& a, const Entry& b) { return NameBefore(a.name, b.name); });
  return true;
}

bool CFileList::MayYieldFolder(const Entry& entry) const {
  for (const PathNode* p = m_self.get(); p != nullptr; p = p->parent.get()) {
    if (p->id == entry.id) return false;
  }
  // A linked folder this walk has entered (by its own path or another
  // link) is not walked again; a plain folder is walked where it stands.
  return !entry.viaLink || m_walk->entered.count(entry.id) == 0;
}

BOOL CFileList::FindNext(CFileList* child) {
  if (child == nullptr || child == this) return FALSE;
  while (m_next < m_entries.size()) {
    const Entry& entry = m_entries[m_next++];
    if (entry.isFolder && !MayYieldFolder(entry)) continue;
    child->Clear();
    child->m_kind = entry.isFolder ? Kind::Folder : Kind::File;
    child->m_strPath = Join(m_folder, entry.name);
    child->m_depth = m_depth + 1;
    child->m_walk = m_walk;
    child->m_parents = m_self;
    if (entry.isFolder) child->m_folder = child->m_strPath;
    return TRUE;
  }
  return FALSE;
}

void CFileList::FindEnd() {
  m_entries.clear();
  m_entries.shrink_to_fit();
  m_next = 0;
}
