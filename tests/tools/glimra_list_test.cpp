#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "tests/common/ico_builder.h"
#include "tests/tools/run_tool.h"
#include "tests/tools/tool_corpus.h"

namespace {

using nlohmann::json;
using tool_test::Lines;
using tool_test::RunTool;
namespace fs = std::filesystem;

// The tab-separated lines a JSON object stands for, rebuilt from the JSON
// alone: the file line, then one line per image.
std::vector<std::string> TsvFromJson(const json& file) {
  std::string line = file.at("path").get<std::string>() + "\t" + file.at("way").get<std::string>();
  std::vector<std::string> images;
  for (const json& icon : file.at("icons")) {
    std::string label;
    if (icon.contains("id")) label = "id=" + std::to_string(icon.at("id").get<int>());
    if (icon.contains("name")) label = "name=" + icon.at("name").get<std::string>();
    if (icon.contains("index")) label = "index=" + std::to_string(icon.at("index").get<int>());
    line += "\t" + label + " " + std::to_string(icon.at("width").get<int>()) + "x" +
            std::to_string(icon.at("height").get<int>());
    for (const json& image : icon.value("images", json::array())) {
      EXPECT_GT(image.at("bytes").get<int>(), 0);
      EXPECT_GT(image.at("claimed_bits").get<int>(), -1);
      images.push_back("  " + label + "\t" + std::to_string(image.at("width").get<int>()) + "x" +
                       std::to_string(image.at("height").get<int>()) + "\t" +
                       std::to_string(image.at("bits").get<int>()) + "-bit\t" +
                       (image.at("format") == "png" ? "PNG" : "DIB"));
    }
  }
  if (file.at("way") == "module") line += "\tcount=" + std::to_string(file.at("icons").size());
  std::vector<std::string> lines{line};
  lines.insert(lines.end(), images.begin(), images.end());
  return lines;
}

TEST(GlimraList, JsonParsesAndAgreesWithTheTabSeparatedOutputForEveryCorpusFile) {
  std::vector<std::string> arguments{"glimra-list", "--images"};
  const auto files = tool_test::CorpusFiles();
  arguments.insert(arguments.end(), files.begin(), files.end());
  const auto tsv = RunTool(arguments);
  arguments.insert(arguments.begin() + 1, "--json");
  const auto jsonl = RunTool(arguments);
  ASSERT_EQ(tsv.status, 0) << tsv.err;
  ASSERT_EQ(jsonl.status, 0) << jsonl.err;
  std::vector<std::string> rebuilt;
  std::size_t objects = 0;
  for (const std::string& line : Lines(jsonl.out)) {
    const json file = json::parse(line);
    EXPECT_FALSE(file.contains("error")) << line;
    for (const std::string& l : TsvFromJson(file)) rebuilt.push_back(l);
    ++objects;
  }
  EXPECT_EQ(objects, files.size());
  EXPECT_EQ(rebuilt, Lines(tsv.out));
}

TEST(GlimraList, TabSeparatedOutputIsTheReferenceListing) {
  const std::string corpus = GLIMRA_CORPUS_DIR;
  const auto run =
      RunTool({"glimra-list", corpus + "/pe64/shell32.dll", corpus + "/pe32/progman.exe", corpus + "/misc/uninst"});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], corpus + "/pe32/progman.exe\tmodule\tcount=0");
  EXPECT_EQ(lines[2], corpus + "/misc/uninst\textract\tindex=0 32x32");
  EXPECT_TRUE(run.err.empty());
}

TEST(GlimraList, NamesThatAreNotUtf8StillGiveValidJsonWithTheirExactBytes) {
  ico_test::TempDir dir;
  const std::string name = dir.File("caf\xe9.ico");
  ASSERT_TRUE(ico_test::WriteFile(name, ico_test::IcoFile({ico_test::DibEntry(16, 16, 8)})));
  const auto run = RunTool({"glimra-list", "--json", name});
  ASSERT_EQ(run.status, 0) << run.err;
  const json file = json::parse(run.out);
  std::string bytes;
  const std::string hex = file.at("path_hex").get<std::string>();
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  EXPECT_EQ(bytes, name);
  EXPECT_EQ(file.at("icons").size(), 1u);
}

TEST(GlimraList, JsonCarriesWhyAFileCouldNotBeRead) {
  ico_test::TempDir dir;
  ASSERT_TRUE(ico_test::WriteFile(dir.File("bad.ico"), {0, 0, 1, 0}));
  const auto run = RunTool({"glimra-list", "--json", dir.File("gone.dll"), dir.File("bad.ico"), dir.path()});
  EXPECT_EQ(run.status, 1);
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u);
  const json gone = json::parse(lines[0]), bad = json::parse(lines[1]), folder = json::parse(lines[2]);
  EXPECT_EQ(gone.at("error"), "cannot open: No such file or directory");
  EXPECT_EQ(gone.at("way"), "extract");
  EXPECT_TRUE(gone.at("icons").empty());
  EXPECT_EQ(bad.at("error"), "not an icon file");
  EXPECT_EQ(bad.at("way"), "ico");
  EXPECT_EQ(folder.at("error"), "not a regular file (a folder)");
  EXPECT_EQ(Lines(run.err).size(), 3u);
}

struct ExitCase {
  const char* what;
  std::vector<std::string> arguments;  // after the program; "@" stands for a temporary folder
  int status;
  const char* stderrHas;
};

class GlimraListExit : public testing::TestWithParam<ExitCase> {};

TEST_P(GlimraListExit, StatusAndOneLineReasonOnStderr) {
  ico_test::TempDir dir;
  ASSERT_TRUE(ico_test::WriteFile(dir.File("bad.ico"), {0, 0, 1, 0}));
  ASSERT_TRUE(ico_test::WriteFile(dir.File("empty.exe"), {}));
  std::vector<std::string> arguments{"glimra-list"};
  for (const std::string& a : GetParam().arguments)
    arguments.push_back(a == "@" ? dir.path() : (a[0] == '@' ? dir.File(a.substr(1)) : a));
  const auto run = RunTool(arguments);
  EXPECT_EQ(run.status, GetParam().status) << GetParam().what << "\n" << run.err;
  EXPECT_NE(run.err.find(GetParam().stderrHas), std::string::npos) << GetParam().what << ": " << run.err;
  if (GetParam().status == 1) {
    EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
  }
}

const std::string kProgman = std::string(GLIMRA_CORPUS_DIR) + "/pe32/progman.exe";

INSTANTIATE_TEST_SUITE_P(
    Cases, GlimraListExit,
    testing::Values(ExitCase{"missing file", {"@missing.exe"}, 1, "missing.exe: cannot open: No such file"},
                    ExitCase{"folder", {"@"}, 1, "not a regular file"},
                    ExitCase{"module without icons", {kProgman}, 0, ""}, ExitCase{"empty file", {"@empty.exe"}, 0, ""},
                    ExitCase{"unreadable icon file", {"@bad.ico"}, 1, "not an icon file"},
                    ExitCase{"one bad among good", {kProgman, "@missing.exe", kProgman}, 1, "missing.exe"},
                    ExitCase{"no file", {}, 2, "no file named"},
                    ExitCase{"unknown option", {"--bogus", kProgman}, 2, "unknown option: --bogus"},
                    ExitCase{"pattern without its argument", {"-r", "--pattern"}, 2, "needs an argument"}));

TEST(GlimraList, HelpAndVersion) {
  const auto help = RunTool({"glimra-list", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: glimra-list [OPTION]... FILE|FOLDER...\n", 0), 0u) << help.out;
  const auto version = RunTool({"glimra-list", "-V"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "glimra-list 1.0.2.0\n");
}

// The walk is the window's: depth first, names in the listing's order
// (letters folded, files and folders interleaved), every subfolder whatever
// the pattern, and a link back up the tree is not followed.
TEST(GlimraList, RecursiveWalkFollowsTheWindowsOrderAndPatternAndEndsOnLinkLoops) {
  ico_test::TempDir dir;
  const auto ico = ico_test::IcoFile({ico_test::DibEntry(16, 16, 4)});
  fs::create_directories(dir.File("B/deep"));
  fs::create_directories(dir.File("c.d"));
  for (const char* name : {"a.ico", "B/z.ico", "B/deep/y.ICO", "b.ico", "c.d/x.ico", "notes.txt", "noext"}) {
    ASSERT_TRUE(ico_test::WriteFile(dir.File(name), ico));
  }
  fs::create_directory_symlink(dir.path(), dir.File("B/deep/loop"));
  const auto names = [&](const std::vector<std::string>& options) {
    std::vector<std::string> arguments{"glimra-list"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.push_back(dir.path());
    const auto run = RunTool(arguments);
    EXPECT_EQ(run.status, 0) << run.err;
    std::vector<std::string> shown;
    for (const std::string& line : Lines(run.out))
      shown.push_back(line.substr(dir.path().size() + 1, line.find('\t') - dir.path().size() - 1));
    return shown;
  };
  // "B" sorts before "b.ico": folded, it is a prefix of it.
  EXPECT_EQ(names({"-r"}),
            (std::vector<std::string>{"a.ico", "B/deep/y.ICO", "B/z.ico", "b.ico", "c.d/x.ico", "noext", "notes.txt"}));
  EXPECT_EQ(names({"--recursive", "--pattern", "*.ico"}),
            (std::vector<std::string>{"a.ico", "B/deep/y.ICO", "B/z.ico", "b.ico", "c.d/x.ico"}));
  EXPECT_EQ(names({"-r", "--pattern=*."}), (std::vector<std::string>{"noext"}));
}

}  // namespace
