#pragma once
// The places the folder tree shows under "Computer" besides "/" and the
// home folder: Wine prefixes (each by its drive_c folder), the user's
// Desktop and Downloads folders, and mounted volumes. Found on any thread
// from a snapshot of the environment taken on the user-interface thread.

#include <string>
#include <string_view>
#include <vector>

enum class PlaceKind { kFolder, kWinePrefix, kVolume };

struct Place {
  std::string path;
  std::string label;
  PlaceKind kind = PlaceKind::kFolder;
};

// What the search reads besides the file system; empty means unset.
struct PlaceSources {
  std::string home;
  std::string winePrefix;  // $WINEPREFIX
  std::string configHome;  // $XDG_CONFIG_HOME
  std::string dataHome;    // $XDG_DATA_HOME
  std::string mountInfoPath = "/proc/self/mountinfo";
};

// The sources of this process (getenv is not safe beside setenv, so call
// it on the thread that may change the environment).
[[nodiscard]] PlaceSources CurrentPlaceSources();

// Every place that exists now, in the order shown: Desktop, Downloads,
// Wine prefixes, volumes. A place is listed once, under its first name.
[[nodiscard]] std::vector<Place> FindPlaces(const PlaceSources& sources);

// The user-dirs.dirs value of one key ("XDG_DESKTOP_DIR"), "$HOME"
// expanded; empty when the text does not set it.
[[nodiscard]] std::string UserDirFromText(std::string_view text, std::string_view key, const std::string& home);

// Mount points in mountinfo text worth showing as volumes: real file
// systems (not proc, sysfs, tmpfs, overlay and the like) mounted from
// their root, outside the system's own trees (/boot, /usr, /var, /run
// except /run/media, ...), and not "/" or the home folder or above it.
// Escaped characters (\040) are decoded; a later mount on the same point
// hides an earlier one.
[[nodiscard]] std::vector<std::string> VolumesFromMountInfo(std::string_view text, const std::string& home);
