#include "support/framework/places.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <utility>

#include "support/framework/folder_reader.h"

namespace {

// Prefixes a front-end keeps in one folder, one subfolder each.
constexpr std::size_t kMaxPrefixesPerFolder = 200;
constexpr std::size_t kMaxMountInfoBytes = 4u << 20;

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec);
}

std::string ReadSmallFile(const std::string& path, std::size_t limit) {
  std::ifstream in(path, std::ios::binary);
  std::string text;
  std::array<char, 4096> buffer{};
  while (in && text.size() < limit) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    text.append(buffer.data(), static_cast<std::size_t>(in.gcount()));
  }
  return text;
}

std::string Getenv(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// "~/x" for a path inside home, as the user thinks of it.
std::string ShortPath(const std::string& path, const std::string& home) {
  if (!home.empty() && home != "/" && path.size() > home.size() && path.compare(0, home.size(), home) == 0 &&
      path[home.size()] == '/') {
    return "~" + path.substr(home.size());
  }
  return path;
}

bool IsWithin(const std::string& path, const std::string& folder) {
  return path == folder || (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                            (folder.back() == '/' || path[folder.size()] == '/'));
}

// Keeps the first place of each folder (a $WINEPREFIX that is ~/.wine,
// a Downloads folder that is a mount point).
class PlaceCollector {
 public:
  void Add(const std::string& path, std::string label, PlaceKind kind) {
    if (!IsFolder(path)) {
      return;
    }
    const FolderEntry entry = DescribeFolder(path, {});
    if (entry.known && !m_seen.insert({entry.dev, entry.ino}).second) {
      return;
    }
    m_places.push_back(Place{path, std::move(label), kind});
  }
  void AddPrefix(const std::string& prefix, const std::string& owner) {
    Add(JoinFolderPath(prefix, "drive_c"), owner + " (drive_c)", PlaceKind::kWinePrefix);
  }
  void AddPrefixesIn(const std::string& folder, const std::string& front, const char* inside = nullptr) {
    for (const FolderEntry& entry : ReadSubfoldersFromDisk(folder, HiddenFolders::kShow, kMaxPrefixesPerFolder)) {
      const std::string prefix = inside != nullptr ? JoinFolderPath(entry.path, inside) : entry.path;
      AddPrefix(prefix, front + ": " + entry.name);
    }
  }
  std::vector<Place> Take() { return std::move(m_places); }

 private:
  std::vector<Place> m_places;
  std::set<std::pair<dev_t, ino_t>> m_seen;
};

// The game's name from the store's manifest ("name" "Some Game"), or the
// numeric id the prefix folder is named by.
std::string SteamGameName(const std::string& steamapps, const std::string& id) {
  const std::string text = ReadSmallFile(JoinFolderPath(steamapps, "appmanifest_" + id + ".acf"), 1u << 16);
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t key = line.find("\"name\"");
    if (key == std::string::npos) {
      continue;
    }
    const std::size_t open = line.find('"', key + 6);
    const std::size_t close = open == std::string::npos ? open : line.find('"', open + 1);
    if (close != std::string::npos && close > open + 1) {
      return line.substr(open + 1, close - open - 1);
    }
  }
  return id;
}

void AddWinePrefixes(PlaceCollector& places, const PlaceSources& sources) {
  const std::string& home = sources.home;
  if (!sources.winePrefix.empty()) {
    places.AddPrefix(sources.winePrefix, "WINEPREFIX: " + ShortPath(sources.winePrefix, home));
  }
  if (home.empty()) {
    return;
  }
  places.AddPrefix(JoinFolderPath(home, ".wine"), "Wine: ~/.wine");
  const std::string data =
      !sources.dataHome.empty() ? sources.dataHome : JoinFolderPath(JoinFolderPath(home, ".local"), "share");
  places.AddPrefixesIn(JoinFolderPath(data, "wineprefixes"), "winetricks");
  places.AddPrefixesIn(JoinFolderPath(JoinFolderPath(data, "bottles"), "bottles"), "Bottles");
  const std::string steamapps = JoinFolderPath(JoinFolderPath(data, "Steam"), "steamapps");
  for (const FolderEntry& game :
       ReadSubfoldersFromDisk(JoinFolderPath(steamapps, "compatdata"), HiddenFolders::kShow, kMaxPrefixesPerFolder)) {
    places.AddPrefix(JoinFolderPath(game.path, "pfx"), "Steam: " + SteamGameName(steamapps, game.name));
  }
  places.AddPrefixesIn(JoinFolderPath(JoinFolderPath(home, ".PlayOnLinux"), "wineprefix"), "PlayOnLinux");
}

std::string Unescape(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const std::string_view digits = field.substr(i + 1, 3);
      if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; })) {
        out.push_back(static_cast<char>(((digits[0] - '0') << 6) | ((digits[1] - '0') << 3) | (digits[2] - '0')));
        i += 3;
        continue;
      }
    }
    out.push_back(field[i]);
  }
  return out;
}

bool IsPseudoFileSystem(const std::string& type) {
  static const std::set<std::string> kPseudo = {
      "autofs",   "binfmt_misc",     "bpf",         "cgroup",     "cgroup2",   "configfs", "debugfs", "devpts",
      "devtmpfs", "efivarfs",        "fusectl",     "hugetlbfs",  "mqueue",    "nsfs",     "overlay", "proc",
      "pstore",   "ramfs",           "rpc_pipefs",  "securityfs", "selinuxfs", "squashfs", "sysfs",   "tmpfs",
      "tracefs",  "fuse.gvfsd-fuse", "fuse.portal", "fuse.lxcfs", "nfsd",      "devfs"};
  return kPseudo.count(type) != 0;
}

bool IsSystemMountPoint(const std::string& point, const std::string& home) {
  if (point == "/run/media" || IsWithin(point, "/run/media/")) {
    return false;
  }
  static constexpr std::array<const char*, 12> kSystem = {"/boot", "/dev", "/efi", "/etc", "/proc", "/run",
                                                          "/snap", "/sys", "/tmp", "/usr", "/var",  "/lib"};
  for (const char* tree : kSystem) {
    if (IsWithin(point, tree)) {
      return true;
    }
  }
  // "/" and the folders holding home are shown already, or are the system.
  return point == "/" || (!home.empty() && IsWithin(home, point));
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t at = 0;
  while (at < line.size()) {
    const std::size_t start = line.find_first_not_of(' ', at);
    if (start == std::string_view::npos) {
      break;
    }
    const std::size_t stop = std::min(line.find(' ', start), line.size());
    fields.push_back(line.substr(start, stop - start));
    at = stop;
  }
  return fields;
}

}  // namespace

PlaceSources CurrentPlaceSources() {
  PlaceSources sources;
  sources.home = Getenv("HOME");
  sources.winePrefix = Getenv("WINEPREFIX");
  sources.configHome = Getenv("XDG_CONFIG_HOME");
  sources.dataHome = Getenv("XDG_DATA_HOME");
  return sources;
}

std::string UserDirFromText(std::string_view text, std::string_view key, const std::string& home) {
  std::string found;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos || line[start] == '#') {
      continue;
    }
    line.remove_prefix(start);
    if (line.substr(0, key.size()) != key || line.substr(key.size(), 2) != "=\"") {
      continue;
    }
    line.remove_prefix(key.size() + 2);
    const std::size_t close = line.rfind('"');
    if (close == std::string_view::npos) {
      continue;
    }
    std::string value(line.substr(0, close));
    if (value.compare(0, 5, "$HOME") == 0) {
      value = home + value.substr(5);
    } else if (value.empty() || value.front() != '/') {
      continue;  // the format allows only these two forms
    }
    found = value;  // the last assignment counts, as in a shell
  }
  return found;
}

std::vector<std::string> VolumesFromMountInfo(std::string_view text, const std::string& home) {
  std::vector<std::string> points;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    const std::vector<std::string_view> fields = SplitFields(text.substr(at, end - at));
    at = end + 1;
    // id parent major:minor root mount-point options [optional...] - type source super-options
    const auto dash = std::find(fields.begin(), fields.end(), std::string_view("-"));
    if (fields.size() < 6 || dash == fields.end() || std::distance(dash, fields.end()) < 2) {
      continue;
    }
    const std::string point = Unescape(fields[4]);
    points.erase(std::remove(points.begin(), points.end(), point), points.end());
    const std::string type(*(dash + 1));
    if (fields[3] != "/" || IsPseudoFileSystem(type) || point.empty() || point.front() != '/' ||
        IsSystemMountPoint(point, home)) {
      continue;
    }
    points.push_back(point);
  }
  return points;
}

std::vector<Place> FindPlaces(const PlaceSources& sources) {
  PlaceCollector places;
  const std::string& home = sources.home;
  if (!home.empty()) {
    const std::string config = !sources.configHome.empty() ? sources.configHome : JoinFolderPath(home, ".config");
    const std::string dirs = ReadSmallFile(JoinFolderPath(config, "user-dirs.dirs"), 1u << 16);
    for (const auto& [key, fallback] :
         {std::pair{"XDG_DESKTOP_DIR", "Desktop"}, std::pair{"XDG_DOWNLOAD_DIR", "Downloads"}}) {
      std::string path = UserDirFromText(dirs, key, home);
      if (path.empty()) {
        path = JoinFolderPath(home, fallback);
      }
      while (path.size() > 1 && path.back() == '/') path.pop_back();
      if (path != home) {
        places.Add(path, std::filesystem::path(path).filename().string(), PlaceKind::kFolder);
      }
    }
  }
  AddWinePrefixes(places, sources);
  for (const std::string& point :
       VolumesFromMountInfo(ReadSmallFile(sources.mountInfoPath, kMaxMountInfoBytes), home)) {
    places.Add(point, point, PlaceKind::kVolume);
  }
  return places.Take();
}
