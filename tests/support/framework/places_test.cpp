#include "support/framework/places.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/common/ico_builder.h"

namespace fs = std::filesystem;

namespace {

struct MountCase {
  const char* what;
  const char* line;
  std::vector<std::string> shown;
};

TEST(PlacesTest, VolumesAreRealFileSystemsOutsideTheSystemsTrees) {
  const std::string home = "/home/ann";
  const MountCase cases[] = {
      {"usb stick", "40 27 8:17 / /media/ann/STICK rw,nosuid shared:70 - vfat /dev/sdb1 rw", {"/media/ann/STICK"}},
      {"escaped space", "40 27 8:17 / /mnt/My\\040Disk rw - ntfs3 /dev/sdb1 rw", {"/mnt/My Disk"}},
      {"network share", "41 27 0:50 / /srv/share rw - cifs //nas/share rw", {"/srv/share"}},
      {"removable under /run/media", "42 27 8:33 / /run/media/ann/CAM rw - exfat /dev/sdc1 rw", {"/run/media/ann/CAM"}},
      {"root", "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw", {}},
      {"boot", "28 27 8:1 / /boot/efi rw - vfat /dev/sda1 rw", {}},
      {"proc", "22 27 0:21 / /proc rw - proc proc rw", {}},
      {"tmpfs elsewhere", "30 27 0:27 / /mnt/ram rw - tmpfs tmpfs rw", {}},
      {"other /run", "31 27 0:28 / /run/user/1000 rw - tmpfs tmpfs rw", {}},
      {"snap", "32 27 7:1 / /snap/core/1 ro - squashfs /dev/loop1 ro", {}},
      {"home partition", "33 27 8:2 / /home rw - ext4 /dev/sda2 rw", {}},
      {"bind of a subfolder", "34 27 254:0 /var/lib/x /mnt/bound rw - ext4 /dev/vda rw", {}},
      {"container file bind", "35 27 254:0 /docker/hosts /etc/hosts rw - ext4 /dev/vda rw", {}},
      {"no separator", "36 27 8:17 / /media/x rw vfat /dev/sdb1 rw", {}},
      {"truncated", "37 27 8:17 /", {}},
  };
  for (const MountCase& c : cases) {
    EXPECT_EQ(VolumesFromMountInfo(c.line, home), c.shown) << c.what;
  }
  // Order of mounting, and a later mount on the same point decides.
  const std::string many =
      "40 27 8:17 / /mnt/b rw - ext4 /dev/sdb1 rw\n"
      "41 27 8:18 / /mnt/a rw - ext4 /dev/sdb2 rw\n"
      "42 27 0:60 / /mnt/b rw - tmpfs tmpfs rw\n"
      "43 27 8:19 / /mnt/a rw - xfs /dev/sdb3 rw\n";
  EXPECT_EQ(VolumesFromMountInfo(many, home), (std::vector<std::string>{"/mnt/a"}));
}

TEST(PlacesTest, UserDirsTakeHomeRelativeAndAbsoluteValues) {
  const std::string home = "/home/ann";
  const struct {
    const char* text;
    const char* key;
    const char* want;
  } cases[] = {
      {"XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n", "XDG_DESKTOP_DIR", "/home/ann/Schreibtisch"},
      {"XDG_DOWNLOAD_DIR=\"/data/dl\"", "XDG_DOWNLOAD_DIR", "/data/dl"},
      {"# XDG_DESKTOP_DIR=\"$HOME/x\"\n", "XDG_DESKTOP_DIR", ""},
      {"XDG_DESKTOP_DIR=\"relative\"\n", "XDG_DESKTOP_DIR", ""},
      {"XDG_DESKTOP_DIRX=\"$HOME/x\"\n", "XDG_DESKTOP_DIR", ""},
      {"  XDG_DESKTOP_DIR=\"$HOME/a\"\nXDG_DESKTOP_DIR=\"$HOME/b\"\n", "XDG_DESKTOP_DIR", "/home/ann/b"},
      {"XDG_DESKTOP_DIR=\"$HOME/unclosed\n", "XDG_DESKTOP_DIR", ""},
      {"XDG_DOWNLOAD_DIR=\"$HOME/d\"", "XDG_DESKTOP_DIR", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UserDirFromText(c.text, c.key, home), c.want) << c.text;
  }
}

class FakeHome : public testing::Test {
 protected:
  void Folder(const std::string& rel) { fs::create_directories(m_home / rel); }
  void Write(const std::string& rel, const std::string& text) {
    fs::create_directories((m_home / rel).parent_path());
    std::ofstream(m_home / rel) << text;
  }
  std::string At(const std::string& rel) const { return (m_home / rel).string(); }
  PlaceSources Sources() const {
    PlaceSources sources;
    sources.home = m_home.string();
    sources.mountInfoPath = At("no-mountinfo");
    return sources;
  }
  ico_test::TempDir m_temp;
  fs::path m_home = fs::path(m_temp.path()) / "ann";
};

TEST_F(FakeHome, EveryPrefixIsShownOnceByItsDriveC) {
  Folder(".wine/drive_c");
  Folder(".local/share/wineprefixes/office/drive_c");
  Folder(".local/share/wineprefixes/broken");  // no drive_c: no prefix
  Folder(".local/share/bottles/bottles/Games/drive_c");
  Folder(".local/share/Steam/steamapps/compatdata/220/pfx/drive_c");
  Write(".local/share/Steam/steamapps/appmanifest_220.acf",
        "\"AppState\"\n{\n\t\"appid\"\t\t\"220\"\n\t\"name\"\t\t\"Half Life\"\n}\n");
  Folder(".local/share/Steam/steamapps/compatdata/400/pfx/drive_c");
  Folder(".PlayOnLinux/wineprefix/Paint/drive_c");
  Folder("Desktop");
  Folder("Fetched");
  Write(".config/user-dirs.dirs", "XDG_DOWNLOAD_DIR=\"$HOME/Fetched\"\n");

  PlaceSources sources = Sources();
  sources.winePrefix = At("games/pfx");
  Folder("games/pfx/drive_c");
  std::vector<std::string> labels;
  std::vector<std::string> paths;
  for (const Place& place : FindPlaces(sources)) {
    labels.push_back(place.label);
    paths.push_back(place.path);
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"Desktop", "Fetched", "WINEPREFIX: ~/games/pfx (drive_c)",
                                              "Wine: ~/.wine (drive_c)", "winetricks: office (drive_c)",
                                              "Bottles: Games (drive_c)", "Steam: Half Life (drive_c)",
                                              "Steam: 400 (drive_c)", "PlayOnLinux: Paint (drive_c)"}));
  ASSERT_EQ(paths.size(), 9u);
  EXPECT_EQ(paths[0], At("Desktop"));
  EXPECT_EQ(paths[3], At(".wine/drive_c"));
  EXPECT_EQ(paths[6], At(".local/share/Steam/steamapps/compatdata/220/pfx/drive_c"));

  // $WINEPREFIX naming ~/.wine shows that prefix once, under the first name.
  sources.winePrefix = At(".wine");
  const std::vector<Place> again = FindPlaces(sources);
  ASSERT_GE(again.size(), 4u);
  EXPECT_EQ(again[2].label, "WINEPREFIX: ~/.wine (drive_c)");
  EXPECT_EQ(again[3].label, "winetricks: office (drive_c)");
}

TEST_F(FakeHome, MissingFoldersAreNoPlaces) {
  Folder("Downloads");
  std::vector<std::string> labels;
  for (const Place& place : FindPlaces(Sources())) labels.push_back(place.label);
  EXPECT_EQ(labels, (std::vector<std::string>{"Downloads"}));
  EXPECT_TRUE(FindPlaces(PlaceSources{"", "", "", "", "/nonexistent"}).empty());
}

}  // namespace
