#include "platform/ui/help_viewer.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QPixmap>
#include <QTextBrowser>
#include <QWidget>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/core/byte_writer.h"
#include "platform/ui/cwnd.h"
#include "platform/ui/help_compile.h"
#include "platform/ui/help_file.h"
#include "platform/ui/qt_bridge.h"
#include "tests/common/ico_builder.h"

namespace {

using ico_test::TempDir;

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

const char* const kProject =
    "[OPTIONS]\n"
    "Title=Fixture Help\n"
    "Default topic=start.html\n"
    "[WINDOWS]\n"
    "MainType=Fixture Window,intro.html,30,40,500,300\n"
    "NoDefault=Plain,,10,10,200,100\n"
    "[MAP]\n"
    "0x201F4=main.html#part\n"
    "77=intro.html\n"
    "99=gone.html\n";

std::vector<HelpEntry> FixtureEntries() {
  return {{std::string(kHelpProjectEntry), Bytes(kProject)},
          {"start.html", Bytes("<html><body><h1>Start</h1><a href=\"intro.html\">intro</a></body></html>")},
          {"intro.html", Bytes("<html><body><h1>Intro</h1><a href=\"main.html#part\">main</a></body></html>")},
          {"main.html", Bytes("<html><body><h1>Main</h1><p><a name=\"part\"></a>Part</p></body></html>")}};
}

std::string WriteFixture(const TempDir& dir, const std::vector<HelpEntry>& entries, const std::string& name) {
  std::string path = dir.File(name);
  EXPECT_TRUE(ico_test::WriteFile(path, BuildHelpFile(entries)));
  return path;
}

class HelpViewerTest : public ::testing::Test {
 protected:
  void SetUp() override { m_file = WriteFixture(m_dir, FixtureEntries(), "fixture.help"); }
  void TearDown() override { static_cast<void>(HtmlHelpA(nullptr, nullptr, HH_CLOSE_ALL, 0)); }
  [[nodiscard]] std::string Target(const std::string& type) const { return m_file + ">" + type; }

  TempDir m_dir;
  std::string m_file;
};

TEST_F(HelpViewerTest, DisplayTopicOpensTheWindowTypesDefaultInItsGeometry) {
  HWND viewer = HtmlHelpA(nullptr, Target("MainType").c_str(), HH_DISPLAY_TOPIC, 0);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(HelpViewerTopic(viewer), "intro.html");
  char title[64] = {};
  GetWindowText(viewer, title, static_cast<int>(sizeof title));
  EXPECT_STREQ(title, "Fixture Window");
  RECT rect{};
  ASSERT_TRUE(GetWindowRect(viewer, &rect));
  EXPECT_EQ(rect.left, 30);
  EXPECT_EQ(rect.top, 40);
  EXPECT_EQ(rect.right - rect.left, 500);
  EXPECT_EQ(rect.bottom - rect.top, 300);
  EXPECT_TRUE(IsWindowVisible(viewer));
  auto* browser = WidgetOfWindow(viewer)->findChild<QTextBrowser*>();
  ASSERT_NE(browser, nullptr);
  EXPECT_TRUE(browser->toPlainText().contains("Intro"));
}

// With GLIMRA_SCREENSHOT_DIR set, the viewer on the program's own help is
// saved there as a PNG file, to look at.
TEST(HelpViewerLook, TheProgramsHelpInItsWindowType) {
  const char* dir = std::getenv("GLIMRA_SCREENSHOT_DIR");
  if (dir == nullptr) GTEST_SKIP() << "GLIMRA_SCREENSHOT_DIR is not set";
  TempDir help;
  const auto bytes = CompileHelpProject(GLIMRA_SOURCE_DIR "/help/glimra.hhp");
  ASSERT_TRUE(bytes);
  ASSERT_TRUE(ico_test::WriteFile(help.File("glimra.help"), *bytes));
  const std::string target = help.File("glimra.help") + ">GlimraWndType";
  HWND viewer = HtmlHelpA(nullptr, target.c_str(), HH_HELP_CONTEXT, 0x20000 + 500);
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(WidgetOfWindow(viewer)->grab().save(QString::fromUtf8(dir) + "/help_viewer.png"));
  static_cast<void>(HtmlHelpA(nullptr, nullptr, HH_CLOSE_ALL, 0));
}

TEST_F(HelpViewerTest, WindowTypeWithoutDefaultShowsTheFilesDefault) {
  HWND viewer = HtmlHelpA(nullptr, Target("NoDefault").c_str(), HH_DISPLAY_TOPIC, 0);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(HelpViewerTopic(viewer), "start.html");
}

TEST_F(HelpViewerTest, NamedTopicAndContextNumbers) {
  HWND named =
      HtmlHelpA(nullptr, Target("MainType").c_str(), HH_DISPLAY_TOPIC, reinterpret_cast<DWORD_PTR>("main.html"));
  ASSERT_NE(named, nullptr);
  EXPECT_EQ(HelpViewerTopic(named), "main.html");
  // Later requests reuse the window type's window.
  EXPECT_EQ(HtmlHelpA(nullptr, Target("MainType").c_str(), HH_HELP_CONTEXT, 0x201F4), named);
  EXPECT_EQ(HelpViewerTopic(named), "main.html#part");
  EXPECT_EQ(HtmlHelpA(nullptr, Target("MainType").c_str(), HH_HELP_CONTEXT, 77), named);
  EXPECT_EQ(HelpViewerTopic(named), "intro.html");
}

TEST_F(HelpViewerTest, AClosedViewerIsOpenedAfresh) {
  HWND first = HtmlHelpA(nullptr, Target("MainType").c_str(), HH_DISPLAY_TOPIC, 0);
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(DestroyWindow(first));
  HWND second = HtmlHelpA(nullptr, Target("MainType").c_str(), HH_HELP_CONTEXT, 77);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(IsWindow(second));
  EXPECT_EQ(HelpViewerTopic(second), "intro.html");
}

TEST_F(HelpViewerTest, FailuresAnswerNull) {
  const std::string missingFile = m_dir.File("absent.help") + ">MainType";
  const std::string notHelp = WriteFixture(m_dir, {}, "empty.help");
  ASSERT_TRUE(ico_test::WriteFile(m_dir.File("text.help"), Bytes("plain text, no help file")));
  const std::string text = m_dir.File("text.help") + ">MainType";
  struct Case {
    const char* what;
    std::string target;
    UINT command;
    DWORD_PTR data;
  };
  const Case cases[] = {
      {"no such file", missingFile, HH_DISPLAY_TOPIC, 0},
      {"not a help file", text, HH_DISPLAY_TOPIC, 0},
      {"no project entry", notHelp + ">MainType", HH_DISPLAY_TOPIC, 0},
      {"no such window type", Target("OtherType"), HH_DISPLAY_TOPIC, 0},
      {"unmapped context", Target("MainType"), HH_HELP_CONTEXT, 12345},
      {"context mapped to a missing topic", Target("MainType"), HH_HELP_CONTEXT, 99},
      {"named topic not in the file", Target("MainType"), HH_DISPLAY_TOPIC, reinterpret_cast<DWORD_PTR>("nope.html")},
      {"other command", Target("MainType"), 0x0001, 0},
      {"empty file name", ">MainType", HH_DISPLAY_TOPIC, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HtmlHelpA(nullptr, c.target.c_str(), c.command, c.data), nullptr) << c.what;
  }
}

TEST_F(HelpViewerTest, WithoutWindowTypeTheFilesTitleAndDefaultTopic) {
  HWND viewer = HtmlHelpA(nullptr, m_file.c_str(), HH_DISPLAY_TOPIC, 0);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(HelpViewerTopic(viewer), "start.html");
  char title[64] = {};
  GetWindowText(viewer, title, static_cast<int>(sizeof title));
  EXPECT_STREQ(title, "Fixture Help");
}

TEST_F(HelpViewerTest, LinksResolveInsideTheFile) {
  HWND viewer = HtmlHelpA(nullptr, Target("NoDefault").c_str(), HH_DISPLAY_TOPIC, 0);
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(HelpViewerFollowLink(viewer, "intro.html"));
  EXPECT_EQ(HelpViewerTopic(viewer), "intro.html");
  ASSERT_TRUE(HelpViewerFollowLink(viewer, "main.html#part"));
  EXPECT_EQ(HelpViewerTopic(viewer), "main.html#part");
  // A link to a topic the file lacks leaves the page shown.
  ASSERT_TRUE(HelpViewerFollowLink(viewer, "missing.html"));
  EXPECT_EQ(HelpViewerTopic(viewer), "main.html#part");
  EXPECT_FALSE(HelpViewerFollowLink(nullptr, "intro.html"));
}

// ---- the file format

TEST(HelpFileFormat, RoundTrip) {
  const auto parsed = ParseHelpFile(ByteReader(BuildHelpFile(FixtureEntries())));
  ASSERT_TRUE(parsed) << parsed.error().what;
  EXPECT_EQ(parsed->project.title, "Fixture Help");
  EXPECT_EQ(parsed->project.defaultTopic, "start.html");
  ASSERT_EQ(parsed->project.windowTypes.count("MainType"), 1u);
  const HelpWindowType& type = parsed->project.windowTypes.at("MainType");
  EXPECT_EQ(type.title, "Fixture Window");
  EXPECT_EQ(type.defaultTopic, "intro.html");
  EXPECT_EQ(type.left, 30);
  EXPECT_EQ(type.height, 300);
  EXPECT_EQ(parsed->project.contexts.at(0x201F4), "main.html#part");
  EXPECT_EQ(parsed->project.contexts.at(77), "intro.html");
  EXPECT_EQ(parsed->topics.size(), 3u);
  ASSERT_NE(parsed->Topic("main.html"), nullptr);
  EXPECT_EQ(parsed->Topic(std::string(kHelpProjectEntry)), nullptr);
}

std::vector<std::uint8_t> Le32(std::uint32_t v) {
  std::vector<std::uint8_t> out;
  ByteWriter(out).u32(v);
  return out;
}

std::vector<std::uint8_t> Cat(std::initializer_list<std::vector<std::uint8_t>> parts) {
  std::vector<std::uint8_t> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST(HelpFileFormat, DamagedFilesFail) {
  const auto magic = Bytes(std::string(kHelpFileMagic));
  const auto good = BuildHelpFile(FixtureEntries());
  std::vector<std::uint8_t> truncated(good.begin(), good.end() - 5);
  std::vector<std::uint8_t> badMagic = good;
  badMagic[0] = 'X';
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"magic only", magic},
      {"bad magic", badMagic},
      {"count over the cap", Cat({magic, Le32(kMaxHelpEntries + 1)})},
      {"count beyond the entries", Cat({magic, Le32(2), Le32(1), Bytes("a"), Le32(0)})},
      {"zero-length name", Cat({magic, Le32(1), Le32(0), Le32(0)})},
      {"name over the cap", Cat({magic, Le32(1), Le32(kMaxHelpNameLength + 1)})},
      {"name out of the file", Cat({magic, Le32(1), Le32(10), Bytes("abc")})},
      {"data over the cap", Cat({magic, Le32(1), Le32(1), Bytes("a"), Le32(kMaxHelpEntryBytes + 1)})},
      {"data out of the file", Cat({magic, Le32(1), Le32(1), Bytes("a"), Le32(0xFFFFFFFFu)})},
      {"truncated", truncated},
      {"no project entry", Cat({magic, Le32(1), Le32(1), Bytes("a"), Le32(1), Bytes("b")})},
      {"malformed project",
       BuildHelpFile(std::vector<HelpEntry>{{std::string(kHelpProjectEntry), Bytes("[MAP]\nx=y\n")}})},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(ParseHelpFile(ByteReader(c.bytes))) << c.what;
  }
}

TEST(HelpProjectText, MalformedLinesFailWithTheirNumber) {
  struct Case {
    const char* text;
    bool ok;
  };
  const Case cases[] = {
      {"; comment\n\n[OPTIONS]\nTitle=T\n", true},
      {"[FILES]\nanything at all\n", true},
      {"[MAP]\n0x10=a.html\n16=b.html\r\n", true},
      {"[MAP]\n0x=a.html\n", false},
      {"[MAP]\n12=\n", false},
      {"[MAP]\n-1=a.html\n", false},
      {"[MAP]\n99999999999=a.html\n", false},
      {"[WINDOWS]\nW=t,a.html,1,2,3\n", false},
      {"[WINDOWS]\nW=t,a.html,1,2,0,4\n", false},
      {"[WINDOWS]\nW=t,a.html,1,2,x,4\n", false},
      {"[OPTIONS\nTitle=T\n", false},
      {"[OPTIONS]\nno equals sign\n", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseHelpProject(c.text).ok(), c.ok) << c.text;
  }
  const auto project = ParseHelpProject("[MAP]\n0x10=a.html\n16=b.html\n");
  ASSERT_TRUE(project);
  EXPECT_EQ(project->contexts.at(16), "b.html");  // the later line wins
  const auto bad = ParseHelpProject("[OPTIONS]\nTitle=T\n[MAP]\nbad\n");
  ASSERT_FALSE(bad);
  EXPECT_NE(bad.error().what.find("line 4"), std::string::npos);
}

// ---- compiling the sources

TEST(HelpCompile, TheProgramsHelpSourcesCompile) {
  const auto bytes = CompileHelpProject(GLIMRA_SOURCE_DIR "/help/glimra.hhp");
  ASSERT_TRUE(bytes) << bytes.error().what;
  const auto file = ParseHelpFile(ByteReader(*bytes));
  ASSERT_TRUE(file);
  ASSERT_EQ(file->project.windowTypes.count("GlimraWndType"), 1u);
  // The main window, the Icon Info dialog and "Glimra Help" have topics.
  for (const std::uint32_t context : {0x20000u + 500u, 0x20000u + 501u, 0x20000u + 503u}) {
    EXPECT_EQ(file->project.contexts.count(context), 1u) << std::hex << context;
  }
  for (const auto& [name, data] : file->topics) {
    if (name.ends_with(".html")) {
      EXPECT_NE(std::string(data.begin(), data.end()).find("<h1>"), std::string::npos) << name;
    }
  }
}

TEST(HelpCompile, BrokenReferencesFail) {
  struct Case {
    const char* what;
    std::string project;
  };
  const std::string options = "[OPTIONS]\nDefault topic=a.html\n";
  const Case cases[] = {
      {"missing topic file", options + "[FILES]\na.html\nb.html\n"},
      {"default topic not listed", "[OPTIONS]\nDefault topic=z.html\n[FILES]\na.html\n"},
      {"map to a missing topic", options + "[MAP]\n5=z.html#x\n[FILES]\na.html\n"},
      {"window type shows a missing topic", options + "[WINDOWS]\nW=t,z.html,0,0,9,9\n[FILES]\na.html\n"},
      {"malformed project", options + "[MAP]\nz\n[FILES]\na.html\n"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    ASSERT_EQ(mkdir(dir.File("topics").c_str(), 0700), 0);
    ASSERT_TRUE(ico_test::WriteFile(dir.File("topics/a.html"), Bytes("<h1>A</h1>")));
    ASSERT_TRUE(ico_test::WriteFile(dir.File("p.hhp"), Bytes(c.project)));
    EXPECT_FALSE(CompileHelpProject(dir.File("p.hhp"))) << c.what;
  }
  TempDir dir;
  ASSERT_EQ(mkdir(dir.File("topics").c_str(), 0700), 0);
  ASSERT_TRUE(ico_test::WriteFile(dir.File("topics/a.html"), Bytes("<h1>A</h1>")));
  ASSERT_TRUE(ico_test::WriteFile(dir.File("p.hhp"), Bytes(options + "[MAP]\n5=a.html#x\n[FILES]\na.html\n")));
  EXPECT_TRUE(CompileHelpProject(dir.File("p.hhp")));
}

}  // namespace
