#include "tools/cli_support.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tools/json_text.h"

namespace {

struct NameCase {
  const char* stem;
  const char* suffix;
  const char* safe;
};

class SafeFileNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(SafeFileNameTest, StaysOneNameInTheFolder) {
  EXPECT_EQ(SafeFileName(GetParam().stem, GetParam().suffix), GetParam().safe);
}

INSTANTIATE_TEST_SUITE_P(Names, SafeFileNameTest,
                         testing::Values(NameCase{"shell32.dll_1", ".ico", "shell32.dll_1.ico"},
                                         NameCase{"x_../../x", ".ico", "x_.._.._x.ico"},
                                         NameCase{"/etc/passwd", "", "_etc_passwd"},
                                         NameCase{"a\\b", ".png", "a_b.png"},
                                         NameCase{"tab\there\nnl\x7f", ".ico", "tab_here_nl_.ico"},
                                         NameCase{"..", "", "_.."}, NameCase{".", "", "_."}, NameCase{"", "", "_"},
                                         NameCase{"caf\xc3\xa9", ".ico", "caf\xc3\xa9.ico"}));

TEST(SafeFileName, CutsLongStemsToTheFileSystemsLimitWithoutSplittingACharacter) {
  std::string wide;
  for (int i = 0; i < 200; ++i) wide += "\xc3\xa9";  // 400 bytes of two-byte characters
  const std::string safe = SafeFileName("x" + wide, ".ico");
  EXPECT_LE(safe.size(), 255u);
  EXPECT_EQ(safe.substr(safe.size() - 4), ".ico");
  // "x" then whole characters: an odd count of bytes before the suffix.
  EXPECT_EQ((safe.size() - 4) % 2, 1u);
  EXPECT_EQ(static_cast<unsigned char>(safe[safe.size() - 5]), 0xA9u);
}

TEST(OutputNames, SameNamesInOneRunGetNumberedAndEveryPathStaysInTheFolder) {
  OutputNames names("/out");
  EXPECT_EQ(names.Claim("a.exe_1", ".ico"), "/out/a.exe_1.ico");
  EXPECT_EQ(names.Claim("a.exe_1", ".ico"), "/out/a.exe_1-2.ico");
  EXPECT_EQ(names.Claim("a.exe_1", ".ico"), "/out/a.exe_1-3.ico");
  EXPECT_EQ(names.Claim("a.exe_1-2", ".ico"), "/out/a.exe_1-2-2.ico");
  EXPECT_EQ(names.Claim("a.exe_1", ".png"), "/out/a.exe_1.png");
  EXPECT_EQ(names.Claim("x_/etc/passwd", ".ico"), "/out/x__etc_passwd.ico");
}

struct UriCase {
  const char* argument;
  const char* path;
};

class PathFromArgumentTest : public testing::TestWithParam<UriCase> {};

TEST_P(PathFromArgumentTest, DecodesLocalFileUris) {
  EXPECT_EQ(PathFromArgument(GetParam().argument), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(Uris, PathFromArgumentTest,
                         testing::Values(UriCase{"/a/b c.exe", "/a/b c.exe"}, UriCase{"rel/x.dll", "rel/x.dll"},
                                         UriCase{"a:b/x.exe", "a:b/x.exe"},
                                         UriCase{"file:///a/b%20c.exe", "/a/b c.exe"},
                                         UriCase{"file://localhost/x%2fy", "/x/y"},
                                         UriCase{"file:///caf%C3%A9%zz", "/caf\xc3\xa9%zz"},
                                         UriCase{"file://server/x.exe", ""}, UriCase{"file:///a%00b", ""},
                                         UriCase{"file:x.exe", "file:x.exe"}, UriCase{"sftp://h/x.exe", ""}));

TEST(ParseNumber, AcceptsOnlyWholeDecimalsInRange) {
  long v = -1;
  EXPECT_TRUE(ParseNumber("256", 1, 1024, v));
  EXPECT_EQ(v, 256);
  for (const char* bad : {"", "0", "1025", "-3", "+3", "12x", " 12", "0x10", "99999999999999999999"}) {
    EXPECT_FALSE(ParseNumber(bad, 1, 1024, v)) << bad;
  }
}

struct JsonCase {
  const char* text;
  bool utf8;
};

class JsonTextTest : public testing::TestWithParam<JsonCase> {};

// Every text becomes a member a JSON parser reads back; valid UTF-8 comes
// back unchanged, anything else as U+FFFD plus its exact bytes in hex.
TEST_P(JsonTextTest, AlwaysValidJsonAndNothingLost) {
  const std::string text = GetParam().text;
  EXPECT_EQ(IsValidUtf8(text), GetParam().utf8);
  const auto parsed = nlohmann::json::parse("{" + JsonTextMember("path", text) + "}");
  if (GetParam().utf8) {
    EXPECT_EQ(parsed.at("path").get<std::string>(), text);
    EXPECT_FALSE(parsed.contains("path_hex"));
    return;
  }
  const std::string hex = parsed.at("path_hex").get<std::string>();
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  EXPECT_EQ(bytes, text);
  EXPECT_NE(parsed.at("path").get<std::string>().find("\xEF\xBF\xBD"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Texts, JsonTextTest,
                         testing::Values(JsonCase{"plain.exe", true}, JsonCase{"quote\" back\\slash", true},
                                         JsonCase{"ctl\x01\x1f\t\r\n", true},
                                         JsonCase{"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", true},
                                         JsonCase{"latin1 caf\xe9", false}, JsonCase{"overlong \xc0\xaf", false},
                                         JsonCase{"surrogate \xed\xa0\x80", false},
                                         JsonCase{"past max \xf4\x90\x80\x80", false}, JsonCase{"cut \xe2\x82", false},
                                         JsonCase{"lone \x80", false}));

}  // namespace
