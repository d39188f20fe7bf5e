#include "support/framework/shell_tree.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "platform/core/icon_object.h"
#include "platform/core/wildcard.h"
#include "platform/ui/image_list.h"
#include "support/framework/file_name.h"
#include "platform/ui/standard_icons.h"

IMPLEMENT_DYNAMIC(CShellTree, CTreeCtrl)

namespace {

// What an item stands for. Owned by the item (its lParam) until
// TVN_DELETEITEM.
struct ShellItem {
  std::string path;  // empty for "Computer"
  bool filled = false;
  bool known = false;  // dev/ino valid
  dev_t dev = 0;
  ino_t ino = 0;
};

ShellItem* ItemOf(const CTreeCtrl& tree, HTREEITEM item) {
  return item != nullptr ? reinterpret_cast<ShellItem*>(tree.GetItemData(item)) : nullptr;
}

std::unique_ptr<ShellItem> MakeFolderItem(std::string path) {
  auto data = std::make_unique<ShellItem>();
  struct stat st {};
  // stat, not lstat: a link is judged by the folder it leads to.
  if (::stat(path.c_str(), &st) == 0) {
    data->known = true;
    data->dev = st.st_dev;
    data->ino = st.st_ino;
  }
  data->path = std::move(path);
  return data;
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  std::error_code ec;
  if (home != nullptr && *home != '\0' && std::filesystem::is_directory(home, ec)) {
    return home;
  }
  return "/";
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == kPathSeparator) {
    return folder + name;
  }
  return folder + kPathSeparator + name;
}

// Folded (ASCII) order first, bytes to break ties, as file lists sort.
bool NameLess(const std::string& a, const std::string& b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const auto fa = static_cast<unsigned char>(FoldNameCase(a[i]));
    const auto fb = static_cast<unsigned char>(FoldNameCase(b[i]));
    if (fa != fb) {
      return fa < fb;
    }
  }
  if (a.size() != b.size()) {
    return a.size() < b.size();
  }
  return a < b;
}

// The folder names directly inside path, sorted, at most kMaxChildren.
std::vector<std::string> ReadSubfolders(const std::string& path) {
  std::vector<std::string> names;
  std::error_code ec;
  std::filesystem::directory_iterator it(path, std::filesystem::directory_options::skip_permission_denied, ec);
  const std::filesystem::directory_iterator end;
  for (; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.empty() || name.front() == '.') {
      continue;
    }
    std::error_code typeError;
    if (!it->is_directory(typeError)) {  // follows links
      continue;
    }
    names.push_back(name);
    if (names.size() >= static_cast<std::size_t>(CShellTree::kMaxChildren)) {
      break;
    }
  }
  std::sort(names.begin(), names.end(), NameLess);
  return names;
}

HTREEITEM InsertShellItem(CTreeCtrl& tree, HTREEITEM parent, const char* text, int image, int selectedImage,
                          std::unique_ptr<ShellItem> data, bool mayHaveChildren, HTREEITEM after = TVI_LAST) {
  TVINSERTSTRUCT insert{};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
  std::string label = text;
  insert.item.pszText = label.data();
  insert.item.iImage = image;
  insert.item.iSelectedImage = selectedImage;
  insert.item.cChildren = mayHaveChildren ? 1 : 0;
  insert.item.lParam = reinterpret_cast<LPARAM>(data.get());
  HTREEITEM item = tree.InsertItem(&insert);
  if (item != nullptr) {
    data.release();  // the item owns it now
  }
  return item;
}

void SetHasChildren(CTreeCtrl& tree, HTREEITEM item, bool hasChildren) {
  TVITEM change{};
  change.mask = TVIF_HANDLE | TVIF_CHILDREN;
  change.hItem = item;
  change.cChildren = hasChildren ? 1 : 0;
  tree.SetItem(&change);
}

// True when the item's folder is also the folder of one of its ancestors,
// i.e. expanding it would walk into a loop.
bool LeadsToAncestor(const CTreeCtrl& tree, HTREEITEM item, const ShellItem& data) {
  if (!data.known) {
    return false;
  }
  for (HTREEITEM up = tree.GetParentItem(item); up != nullptr; up = tree.GetParentItem(up)) {
    const ShellItem* above = ItemOf(tree, up);
    if (above != nullptr && above->known && above->dev == data.dev && above->ino == data.ino) {
      return true;
    }
  }
  return false;
}

CImageList* SharedImageList() {
  // One list serves every tree of the process; it lives as long as the
  // process, like the system image list it stands in for.
  static CImageList* list = [] {
    auto* created = new CImageList;
    if (!created->Create(16, 16, ILC_COLOR32, 4, 0)) {
      delete created;
      return static_cast<CImageList*>(nullptr);
    }
    for (StandardIcon which :
         {StandardIcon::Computer, StandardIcon::Drive, StandardIcon::Folder, StandardIcon::FolderOpen}) {
      HICON icon = CreateStandardIcon(which, 16);
      if (icon == nullptr) {
        // Keep the indexes of the images that follow.
        IconObject blank;
        blank.width = 16;
        blank.height = 16;
        blank.bitCount = 32;
        blank.alpha = true;
        blank.pixels.assign(256, 0);
        blank.mask.assign(256, 1);
        icon = CreateIconFromObject(std::move(blank));
      }
      created->Add(icon);
      DestroyIcon(icon);
    }
    return created;
  }();
  return list;
}

}  // namespace

void CShellTree::EnableImages() {
  if (CImageList* list = SharedImageList()) {
    SetImageList(list, TVSIL_NORMAL);
  }
}

void CShellTree::PopulateTree() {
  DeleteAllItems();
  auto computer = std::make_unique<ShellItem>();
  computer->filled = true;
  HTREEITEM root = InsertShellItem(*this, TVI_ROOT, "Computer", imgComputer, imgComputer, std::move(computer), true);
  if (root == nullptr) {
    return;
  }
  InsertShellItem(*this, root, "/", imgDrive, imgDrive, MakeFolderItem("/"), true);
  const std::string home = HomeFolder();
  HTREEITEM homeItem = nullptr;
  if (home != "/") {
    homeItem = InsertShellItem(*this, root, home.c_str(), imgFolder, imgFolderOpen, MakeFolderItem(home), true);
  }
  Expand(root, TVE_EXPAND);
  HTREEITEM start = homeItem != nullptr ? homeItem : GetChildItem(root);
  if (start != nullptr) {
    SelectItem(start);
    EnsureVisible(start);
  }
}

void CShellTree::OnFolderExpanding(NMHDR* pNMHDR, LRESULT* pResult) {
  if (pResult != nullptr) {
    *pResult = 0;
  }
  if (pNMHDR == nullptr) {
    return;
  }
  const auto* notify = reinterpret_cast<const NMTREEVIEW*>(pNMHDR);
  if ((notify->action & TVE_EXPAND) == 0) {
    return;
  }
  HTREEITEM item = notify->itemNew.hItem;
  ShellItem* data = ItemOf(*this, item);
  if (data == nullptr || data->filled) {
    return;
  }
  data->filled = true;
  if (data->path.empty() || LeadsToAncestor(*this, item, *data)) {
    SetHasChildren(*this, item, false);
    return;
  }
  const std::vector<std::string> names = ReadSubfolders(data->path);
  for (const std::string& name : names) {
    auto child = MakeFolderItem(JoinPath(data->path, name));
    bool loops = false;
    if (child->known) {
      loops = (data->known && child->dev == data->dev && child->ino == data->ino);
      loops = loops || LeadsToAncestor(*this, item, *child);
    }
    InsertShellItem(*this, item, name.c_str(), imgFolder, imgFolderOpen, std::move(child), !loops);
  }
  if (names.empty()) {
    SetHasChildren(*this, item, false);
  }
}

void CShellTree::OnDeleteShellItem(NMHDR* pNMHDR, LRESULT* pResult) {
  if (pResult != nullptr) {
    *pResult = 0;
  }
  if (pNMHDR == nullptr) {
    return;
  }
  const auto* notify = reinterpret_cast<const NMTREEVIEW*>(pNMHDR);
  delete reinterpret_cast<ShellItem*>(notify->itemOld.lParam);
}

BOOL CShellTree::OnFolderSelected(NMHDR* pNMHDR, LRESULT* pResult, CString& folderPath) {
  if (pResult != nullptr) {
    *pResult = 0;
  }
  if (pNMHDR == nullptr) {
    return FALSE;
  }
  const auto* notify = reinterpret_cast<const NMTREEVIEW*>(pNMHDR);
  const ShellItem* data = ItemOf(*this, notify->itemNew.hItem);
  if (data == nullptr || data->path.empty()) {
    return FALSE;
  }
  folderPath = data->path.c_str();
  return TRUE;
}

namespace {

// True when path is folder or lies inside it.
bool IsAtOrBelow(const std::string& path, const std::string& folder) {
  if (folder.empty() || path.compare(0, folder.size(), folder) != 0) {
    return false;
  }
  return path.size() == folder.size() || folder.back() == kPathSeparator || path[folder.size()] == kPathSeparator;
}

// The names of path below folder, empty names (doubled separators) left out.
std::vector<std::string> NamesBelow(const std::string& path, const std::string& folder) {
  std::vector<std::string> names;
  std::size_t at = folder.size();
  while (at < path.size()) {
    const std::size_t end = path.find(kPathSeparator, at);
    const std::size_t stop = end == std::string::npos ? path.size() : end;
    if (stop > at) names.push_back(path.substr(at, stop - at));
    at = stop + 1;
  }
  return names;
}

}  // namespace

HTREEITEM CShellTree::SelectFolderPath(const CString& path) {
  const std::string target = path.str();
  std::error_code ec;
  if (target.empty() || target.front() != kPathSeparator || !std::filesystem::is_directory(target, ec)) {
    return nullptr;
  }
  // The deepest root holding the path: the home folder before "/".
  HTREEITEM item = nullptr;
  std::size_t rootLength = 0;
  for (HTREEITEM root = GetChildItem(GetRootItem()); root != nullptr; root = GetNextSiblingItem(root)) {
    const ShellItem* data = ItemOf(*this, root);
    if (data != nullptr && IsAtOrBelow(target, data->path) && (item == nullptr || data->path.size() > rootLength)) {
      item = root;
      rootLength = data->path.size();
    }
  }
  if (item == nullptr) {
    return nullptr;
  }
  for (const std::string& name : NamesBelow(target, ItemOf(*this, item)->path)) {
    Expand(item, TVE_EXPAND);
    HTREEITEM found = nullptr;
    HTREEITEM before = TVI_FIRST;
    for (HTREEITEM child = GetChildItem(item); child != nullptr && found == nullptr; child = GetNextSiblingItem(child)) {
      const std::string text = GetItemText(child).str();
      if (text == name) {
        found = child;
      } else if (NameLess(text, name)) {
        before = child;
      }
    }
    if (found == nullptr) {
      const ShellItem* parent = ItemOf(*this, item);
      if (parent == nullptr || LeadsToAncestor(*this, item, *parent)) {
        return nullptr;
      }
      found = InsertShellItem(*this, item, name.c_str(), imgFolder, imgFolderOpen,
                              MakeFolderItem(JoinPath(parent->path, name)), true, before);
      if (found == nullptr) {
        return nullptr;
      }
    }
    item = found;
  }
  SelectItem(item);
  EnsureVisible(item);
  return item;
}

CString CShellTree::GetItemPath(HTREEITEM item) const {
  const ShellItem* data = ItemOf(*this, item);
  return data != nullptr ? CString(data->path.c_str()) : CString();
}

HTREEITEM CShellTree::FindFolderItem(const CString& path) const {
  // Depth first over the items that exist; bounded by the tree's own size.
  std::vector<HTREEITEM> pending;
  for (HTREEITEM top = GetRootItem(); top != nullptr; top = GetNextSiblingItem(top)) {
    pending.push_back(top);
  }
  while (!pending.empty()) {
    HTREEITEM item = pending.back();
    pending.pop_back();
    const ShellItem* data = ItemOf(*this, item);
    if (data != nullptr && !data->path.empty() && data->path == path.str()) {
      return item;
    }
    for (HTREEITEM child = GetChildItem(item); child != nullptr; child = GetNextSiblingItem(child)) {
      pending.push_back(child);
    }
  }
  return nullptr;
}
