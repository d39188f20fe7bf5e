#include "support/framework/shell_tree.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/core/icon_object.h"
#include "platform/ui/background_work.h"
#include "platform/ui/control_keys.h"
#include "platform/ui/image_list.h"
#include "platform/ui/standard_icons.h"
#include "support/framework/file_name.h"
#include "support/framework/folder_reader.h"
#include "support/framework/places.h"

IMPLEMENT_DYNAMIC(CShellTree, CTreeCtrl)

namespace {

// Names an item while a read of its children runs. Owned by the item's
// data, so a read whose item is gone finds it expired and drops its result.
struct ReadTicket {
  CShellTree* tree = nullptr;
  HTREEITEM item = nullptr;
};

// What an item stands for. Owned by the item (its lParam) until
// TVN_DELETEITEM.
struct ShellItem {
  FolderEntry folder;  // path empty for "Computer"
  bool reading = false;
  bool everRead = false;
  // Placed by SelectFolderPath: kept by later reads of its parent that
  // leave it out (a hidden folder, or one past the cap) while it exists.
  bool pinned = false;
  HiddenFolders hidden = HiddenFolders::kLeaveOut;  // on "Computer": the whole tree's choice
  std::shared_ptr<ReadTicket> ticket;
};

// One child as a read found it.
struct ChildSpec {
  FolderEntry folder;
  std::string label;
  int image = CShellTree::imgFolder;
  int selectedImage = CShellTree::imgFolderOpen;
};

// Children are inserted a slice at a time, so a folder of thousands of
// subfolders lets input and timers through between slices.
constexpr std::chrono::milliseconds kInsertSlice{8};

using Identity = std::pair<dev_t, ino_t>;

constexpr UINT kRefreshKey = VK_F1 + 4;  // F5, as file managers refresh

ShellItem* ItemOf(const CTreeCtrl& tree, HTREEITEM item) {
  return item != nullptr ? reinterpret_cast<ShellItem*>(tree.GetItemData(item)) : nullptr;
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  std::error_code ec;
  if (home != nullptr && *home != '\0' && std::filesystem::is_directory(home, ec)) {
    return home;
  }
  return "/";
}

HTREEITEM InsertShellItem(CTreeCtrl& tree, HTREEITEM parent, HTREEITEM after, const ChildSpec& child,
                          bool mayHaveChildren) {
  auto data = std::make_unique<ShellItem>();
  data->folder = child.folder;
  TVINSERTSTRUCT insert{};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
  std::string label = child.label;
  insert.item.pszText = label.data();
  insert.item.iImage = child.image;
  insert.item.iSelectedImage = child.selectedImage;
  insert.item.cChildren = mayHaveChildren ? 1 : 0;
  insert.item.lParam = reinterpret_cast<LPARAM>(data.get());
  HTREEITEM item = tree.InsertItem(&insert);
  if (item != nullptr) {
    static_cast<void>(data.release());  // the item owns it now
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

HTREEITEM TopOf(const CTreeCtrl& tree, HTREEITEM item) {
  for (HTREEITEM up = tree.GetParentItem(item); up != nullptr; up = tree.GetParentItem(up)) {
    item = up;
  }
  return item;
}

// The folders of an item and of all its ancestors: a child that is one of
// them leads back up the tree.
std::set<Identity> LineOf(const CTreeCtrl& tree, HTREEITEM item) {
  std::set<Identity> line;
  for (HTREEITEM up = item; up != nullptr; up = tree.GetParentItem(up)) {
    const ShellItem* data = ItemOf(tree, up);
    if (data != nullptr && data->folder.known) {
      line.insert({data->folder.dev, data->folder.ino});
    }
  }
  return line;
}

bool LeadsToAncestor(const CTreeCtrl& tree, HTREEITEM item, const ShellItem& data) {
  return data.folder.known && LineOf(tree, tree.GetParentItem(item)).count({data.folder.dev, data.folder.ino}) != 0;
}

bool IsWithinItem(const CTreeCtrl& tree, HTREEITEM item, HTREEITEM ancestor) {
  for (HTREEITEM up = item; up != nullptr; up = tree.GetParentItem(up)) {
    if (up == ancestor) {
      return true;
    }
  }
  return false;
}

// What "Computer" holds: the designed two roots, then the places.
std::vector<ChildSpec> ReadComputer(const std::string& home, const PlaceSources& sources) {
  std::vector<ChildSpec> specs;
  specs.push_back({DescribeFolder("/", "/"), "/", CShellTree::imgDrive, CShellTree::imgDrive});
  if (home != "/") {
    specs.push_back({DescribeFolder(home, home), home, CShellTree::imgFolder, CShellTree::imgFolderOpen});
  }
  for (Place& place : FindPlaces(sources)) {
    const bool drive = place.kind != PlaceKind::kFolder;
    specs.push_back({DescribeFolder(std::move(place.path), place.label), std::move(place.label),
                     drive ? CShellTree::imgDrive : CShellTree::imgFolder,
                     drive ? CShellTree::imgDrive : CShellTree::imgFolderOpen});
  }
  return specs;
}

std::vector<ChildSpec> SpecsOfFolders(std::vector<FolderEntry> entries) {
  std::vector<ChildSpec> specs;
  specs.reserve(entries.size());
  for (FolderEntry& entry : entries) {
    std::string label = entry.name;
    specs.push_back({std::move(entry), std::move(label), CShellTree::imgFolder, CShellTree::imgFolderOpen});
  }
  return specs;
}

// A read's result being placed under its item, slice by slice. Children
// that are still there keep their place (and what is open below them),
// children that went away are deleted, new ones go in at their place in
// the read's order.
struct ChildPlacement {
  std::weak_ptr<ReadTicket> ticket;
  std::vector<ChildSpec> specs;
  std::size_t next = 0;
  HTREEITEM previous = nullptr;
  bool appendOnly = false;
  std::unordered_map<std::string, HTREEITEM> kept;
  std::set<Identity> line;
};

void PlaceSlice(const std::shared_ptr<ChildPlacement>& placement);

void BeginPlacement(const std::shared_ptr<ChildPlacement>& placement) {
  const std::shared_ptr<ReadTicket> ticket = placement->ticket.lock();
  if (!ticket) {
    return;
  }
  CShellTree& tree = *ticket->tree;
  HTREEITEM item = ticket->item;
  std::set<std::string> wanted;
  for (const ChildSpec& child : placement->specs) {
    wanted.insert(child.folder.path);
  }
  std::vector<HTREEITEM> gone;
  for (HTREEITEM child = tree.GetChildItem(item); child != nullptr; child = tree.GetNextSiblingItem(child)) {
    const ShellItem* data = ItemOf(tree, child);
    std::error_code ec;
    if (data != nullptr && wanted.count(data->folder.path) != 0) {
      placement->kept.emplace(data->folder.path, child);
    } else if (data != nullptr && data->pinned && std::filesystem::is_directory(data->folder.path, ec)) {
      continue;
    } else {
      gone.push_back(child);
    }
  }
  for (HTREEITEM child : gone) {
    // The selection leaves with its folder for the item above, and says so.
    if (IsWithinItem(tree, tree.GetSelectedItem(), child)) {
      tree.SelectItem(item);
    }
    tree.DeleteItem(child);
  }
  placement->appendOnly = placement->kept.empty();
  placement->line = LineOf(tree, item);
  PlaceSlice(placement);
}

void PlaceSlice(const std::shared_ptr<ChildPlacement>& placement) {
  const std::shared_ptr<ReadTicket> ticket = placement->ticket.lock();
  if (!ticket) {
    return;
  }
  CShellTree& tree = *ticket->tree;
  HTREEITEM item = ticket->item;
  const auto until = std::chrono::steady_clock::now() + kInsertSlice;
  while (placement->next < placement->specs.size()) {
    const ChildSpec& child = placement->specs[placement->next++];
    if (const auto kept = placement->kept.find(child.folder.path); kept != placement->kept.end()) {
      placement->previous = kept->second;
      continue;
    }
    const bool loops = child.folder.known && placement->line.count({child.folder.dev, child.folder.ino}) != 0;
    HTREEITEM after =
        placement->appendOnly ? TVI_LAST : (placement->previous != nullptr ? placement->previous : TVI_FIRST);
    if (HTREEITEM added = InsertShellItem(tree, item, after, child, !loops)) {
      placement->previous = added;
    }
    if (std::chrono::steady_clock::now() >= until) {
      UiLater([placement] { PlaceSlice(placement); });
      return;
    }
  }
  if (ShellItem* data = ItemOf(tree, item)) {
    data->reading = false;
  }
  if (tree.GetChildItem(item) == nullptr) {
    SetHasChildren(tree, item, false);  // an empty folder loses its button
  }
}

// Reads the item's children off the user-interface thread, then places
// them. One read per item at a time.
void StartRead(CShellTree& tree, HTREEITEM item, ShellItem& data) {
  if (data.reading) {
    return;
  }
  data.reading = true;
  data.everRead = true;
  if (!data.ticket) {
    data.ticket = std::make_shared<ReadTicket>(ReadTicket{&tree, item});
  }
  auto placement = std::make_shared<ChildPlacement>();
  placement->ticket = data.ticket;
  const ShellItem* top = ItemOf(tree, TopOf(tree, item));
  const HiddenFolders hidden = top != nullptr ? top->hidden : HiddenFolders::kLeaveOut;
  if (data.folder.path.empty()) {
    RunOffUiThread([placement, home = HomeFolder(), sources = CurrentPlaceSources()] {
      placement->specs = ReadComputer(home, sources);
      UiLater([placement] { BeginPlacement(placement); });
    });
    return;
  }
  RunOffUiThread([placement, reader = CurrentSubfolderReader(), path = data.folder.path, hidden] {
    placement->specs = SpecsOfFolders(reader(path, hidden, static_cast<std::size_t>(CShellTree::kMaxChildren)));
    UiLater([placement] { BeginPlacement(placement); });
  });
}

// The first item, depth first, whose data meets want; null when none does.
// Bounded by the tree's own size.
template <typename Want>
HTREEITEM FindItem(const CTreeCtrl& tree, Want want) {
  std::vector<HTREEITEM> pending;
  for (HTREEITEM top = tree.GetRootItem(); top != nullptr; top = tree.GetNextSiblingItem(top)) {
    pending.push_back(top);
  }
  while (!pending.empty()) {
    HTREEITEM item = pending.back();
    pending.pop_back();
    const ShellItem* data = ItemOf(tree, item);
    if (data != nullptr && want(item, *data)) {
      return item;
    }
    for (HTREEITEM child = tree.GetChildItem(item); child != nullptr; child = tree.GetNextSiblingItem(child)) {
      pending.push_back(child);
    }
  }
  return nullptr;
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

void CShellTree::EnableFolderKeys() {
  BindControlKey(GetSafeHwnd(), 'H', KeyModifiers::kControl, [this] { ToggleHiddenFolders(); });
  BindControlKey(GetSafeHwnd(), kRefreshKey, KeyModifiers::kNone, [this] { RefreshFolders(); });
}

void CShellTree::PopulateTree() {
  const ShellItem* before = ItemOf(*this, GetRootItem());
  const HiddenFolders hidden = before != nullptr ? before->hidden : HiddenFolders::kLeaveOut;
  DeleteAllItems();
  auto computer = std::make_unique<ShellItem>();
  computer->hidden = hidden;
  TVINSERTSTRUCT insert{};
  insert.hParent = TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
  std::string label = "Computer";
  insert.item.pszText = label.data();
  insert.item.iImage = imgComputer;
  insert.item.iSelectedImage = imgComputer;
  insert.item.cChildren = 1;
  insert.item.lParam = reinterpret_cast<LPARAM>(computer.get());
  HTREEITEM root = InsertItem(&insert);
  if (root == nullptr) {
    return;
  }
  ShellItem* rootData = computer.release();
  // "/" and home at once, as designed, so home can be selected now; the
  // places follow when their read is done.
  InsertShellItem(*this, root, TVI_LAST, {DescribeFolder("/", "/"), "/", imgDrive, imgDrive}, true);
  const std::string home = HomeFolder();
  HTREEITEM homeItem = nullptr;
  if (home != "/") {
    homeItem =
        InsertShellItem(*this, root, TVI_LAST, {DescribeFolder(home, home), home, imgFolder, imgFolderOpen}, true);
  }
  Expand(root, TVE_EXPAND);
  StartRead(*this, root, *rootData);
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
  if (data == nullptr || data->reading) {
    return;
  }
  if (!data->folder.path.empty() && LeadsToAncestor(*this, item, *data)) {
    data->everRead = true;
    SetHasChildren(*this, item, false);
    return;
  }
  // Every expansion reads again, so folders made meanwhile appear.
  StartRead(*this, item, *data);
}

void CShellTree::ToggleHiddenFolders() {
  ShellItem* top = ItemOf(*this, GetRootItem());
  if (top == nullptr) {
    return;
  }
  top->hidden = top->hidden == HiddenFolders::kShow ? HiddenFolders::kLeaveOut : HiddenFolders::kShow;
  RefreshFolders();
}

BOOL CShellTree::ShowsHiddenFolders() const {
  const ShellItem* top = ItemOf(*this, GetRootItem());
  return (top != nullptr && top->hidden == HiddenFolders::kShow) ? TRUE : FALSE;
}

void CShellTree::RefreshFolders() {
  std::vector<HTREEITEM> read;
  static_cast<void>(FindItem(*this, [&](HTREEITEM item, const ShellItem& data) {
    if (data.everRead) read.push_back(item);
    return false;
  }));
  for (HTREEITEM item : read) {
    ShellItem* data = ItemOf(*this, item);
    if (data != nullptr && (data->folder.path.empty() || !LeadsToAncestor(*this, item, *data))) {
      StartRead(*this, item, *data);
    }
  }
}

BOOL CShellTree::ReadsPending() const {
  return FindItem(*this, [](HTREEITEM, const ShellItem& data) { return data.reading; }) != nullptr ? TRUE : FALSE;
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
  if (data == nullptr || data->folder.path.empty()) {
    return FALSE;
  }
  folderPath = data->folder.path.c_str();
  return TRUE;
}

CString CShellTree::GetItemPath(HTREEITEM item) const {
  const ShellItem* data = ItemOf(*this, item);
  return data != nullptr ? CString(data->folder.path.c_str()) : CString();
}

HTREEITEM CShellTree::FindFolderItem(const CString& path) const {
  return FindItem(*this, [&](HTREEITEM, const ShellItem& data) {
    return !data.folder.path.empty() && data.folder.path == path.str();
  });
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
  const std::string& target = path.str();
  std::error_code ec;
  if (target.empty() || target.front() != kPathSeparator || !std::filesystem::is_directory(target, ec)) {
    return nullptr;
  }
  // The deepest top item holding the path: a place or the home folder
  // before "/".
  HTREEITEM item = nullptr;
  std::size_t rootLength = 0;
  for (HTREEITEM root = GetChildItem(GetRootItem()); root != nullptr; root = GetNextSiblingItem(root)) {
    const ShellItem* data = ItemOf(*this, root);
    if (data != nullptr && IsAtOrBelow(target, data->folder.path) &&
        (item == nullptr || data->folder.path.size() > rootLength)) {
      item = root;
      rootLength = data->folder.path.size();
    }
  }
  if (item == nullptr) {
    return nullptr;
  }
  for (const std::string& name : NamesBelow(target, ItemOf(*this, item)->folder.path)) {
    // Starts the folder's read as a user's expansion does; its result
    // joins the items placed here when it comes.
    Expand(item, TVE_EXPAND);
    HTREEITEM found = nullptr;
    HTREEITEM before = TVI_FIRST;
    for (HTREEITEM child = GetChildItem(item); child != nullptr && found == nullptr;
         child = GetNextSiblingItem(child)) {
      const std::string text = GetItemText(child).str();
      if (text == name) {
        found = child;
      } else if (FolderNameLess(text, name)) {
        before = child;
      }
    }
    if (found == nullptr) {
      const ShellItem* parent = ItemOf(*this, item);
      if (parent == nullptr || LeadsToAncestor(*this, item, *parent)) {
        return nullptr;
      }
      FolderEntry folder = DescribeFolder(JoinFolderPath(parent->folder.path, name), name);
      found = InsertShellItem(*this, item, before, {std::move(folder), name, imgFolder, imgFolderOpen}, true);
      if (found == nullptr) {
        return nullptr;
      }
      ItemOf(*this, found)->pinned = true;
    }
    item = found;
  }
  SelectItem(item);
  EnsureVisible(item);
  return item;
}
