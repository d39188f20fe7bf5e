#include "support/framework/file_name.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Ten pixels a byte: simple to reason about and, like a real font, wider
// for a multi-byte character than for an ASCII one.
int TenPerByte(std::string_view s) { return static_cast<int>(s.size()) * 10; }

struct RootCase {
  const char* path;
  const char* root;
};

class FileNameRoot : public testing::TestWithParam<RootCase> {};

TEST_P(FileNameRoot, IsTheFolderPartWithItsSeparator) {
  EXPECT_EQ(CFileName(GetParam().path).GetRoot(), GetParam().root);
}

const RootCase kRoots[] = {
    {"/home/a/x.ico", "/home/a/"}, {"/x.ico", "/"}, {"/home/a/", "/home/a/"}, {"x.ico", ""}, {"", ""},
    {"rel/dir/x", "rel/dir/"},
};
INSTANTIATE_TEST_SUITE_P(Paths, FileNameRoot, testing::ValuesIn(kRoots));

struct ExtensionCase {
  const char* path;
  const char* ext;
  BOOL is;
};

class FileNameExtension : public testing::TestWithParam<ExtensionCase> {};

TEST_P(FileNameExtension, ComparesTheLastComponentsExtension) {
  EXPECT_EQ(CFileName(GetParam().path).ISExtension(GetParam().ext), GetParam().is) << GetParam().path;
}

const ExtensionCase kExtensions[] = {
    {"/a/b/file.ico", "ico", TRUE},
    {"/a/b/FILE.ICO", "ico", TRUE},
    {"/a/b/file.Ico", "ICO", TRUE},
    {"/a/b/file.ico.bak", "ico", FALSE},
    {"/a/b/file.tar.ico", "ico", TRUE},
    {"/a/b/fileico", "ico", FALSE},
    {"/a/dir.ico/file", "ico", FALSE},
    {"/a/dir.ico/", "ico", FALSE},
    {"/a/.ico", "ico", TRUE},
    {"/a/file.icon", "ico", FALSE},
    {"/a/file.", "ico", FALSE},
    {"file.ico", "ico", TRUE},
    {"", "ico", FALSE},
};
INSTANTIATE_TEST_SUITE_P(Paths, FileNameExtension, testing::ValuesIn(kExtensions));

TEST(FileName, AssignmentReplacesThePath) {
  CFileName name("/a/one.exe");
  name = std::string("/b/two.ico");
  EXPECT_EQ(name.GetPath(), "/b/two.ico");
  EXPECT_EQ(name.GetRoot(), "/b/");
  EXPECT_TRUE(name.ISExtension("ico"));
}

struct ShortenCase {
  const char* text;
  int width;
  const char* shortened;
};

class ShortenPath : public testing::TestWithParam<ShortenCase> {};

TEST_P(ShortenPath, FitsTheWidth) {
  const ShortenCase& c = GetParam();
  const std::string out = ShortenPathToWidth(c.text, c.width, TenPerByte);
  EXPECT_EQ(out, c.shortened);
  EXPECT_LE(TenPerByte(out), c.width);
}

// "/home/user/projects/glimra/res/app.ico" is 38 bytes wide.
const ShortenCase kShortenings[] = {
    {"/home/user/projects/glimra/res/app.ico", 380, "/home/user/projects/glimra/res/app.ico"},
    {"/home/user/projects/glimra/res/app.ico", 370, "/home/user/.../glimra/res/app.ico"},
    {"/home/user/projects/glimra/res/app.ico", 300, "/home/user/.../res/app.ico"},
    {"/home/user/projects/glimra/res/app.ico", 220, "/home/.../res/app.ico"},
    {"/home/user/projects/glimra/res/app.ico", 170, "/home/.../app.ico"},
    {"/home/user/projects/glimra/res/app.ico", 169, "/.../app.ico"},
    {"/home/user/projects/glimra/res/app.ico", 110, ".../app.ico"},
    {"/home/user/projects/glimra/res/app.ico", 100, "/home/u..."},
    {"/home/user/projects/glimra/res/app.ico", 30, "..."},
    {"/home/user/projects/glimra/res/app.ico", 29, ""},
    // The status bar's message: its first component is the prefix.
    {"Listing from /usr/share/icons/theme/app.ico", 350, "Listing from /usr/.../theme/app.ico"},
    {"Listing from /usr/share/icons/theme/app.ico", 280, "Listing from /.../app.ico"},
    {"no-separators-at-all.exe", 100, "no-sepa..."},
    {"directory/name.exe", 120, ".../name.exe"},
    {"directory/name.exe", 119, "director..."},
};
INSTANTIATE_TEST_SUITE_P(Widths, ShortenPath, testing::ValuesIn(kShortenings));

TEST(ShortenPath, NeverCutsInsideAUtf8Character) {
  // "é" is two bytes; a cut after 4 bytes would fall inside the third "é".
  const std::string text = "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9";
  const std::string out = ShortenPathToWidth(text, 80, TenPerByte);
  EXPECT_EQ(out, "\xC3\xA9\xC3\xA9...");
}

TEST(ShortenPath, ViaTheFileName) {
  const CFileName name("/var/lib/some/deep/folder/icon.ico");
  EXPECT_EQ(name.Path2Rect(170, TenPerByte), "/var/.../icon.ico");
}

}  // namespace
