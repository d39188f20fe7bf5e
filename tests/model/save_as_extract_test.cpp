// Save As and glimra-extract write one icon the same way: for every icon of
// every corpus file and of a built NE library, the window's record saves
// exactly the bytes the tool writes.

#include <gtest/gtest.h>

#include "model/icon_info.h"
#include "support/icon/icon_source.h"
#include "tests/common/ico_builder.h"
#include "tests/common/ne_builder.h"
#include "tests/common/pe_builder.h"
#include "tests/tools/run_tool.h"
#include "tests/tools/tool_corpus.h"

namespace {

using ico_test::ReadFile;
using ico_test::TempDir;

// The record the window's listing makes for this icon of this file.
CIconInfo RecordFor(const IconSource& source, const IconKey& key) {
  const LPCTSTR path = source.path().c_str();
  switch (source.way()) {
    case ListingWay::IconFile:
      return CIconInfo(path);
    case ListingWay::Module:
      return CIconInfo(path, key.kind == IconKey::Kind::Name ? key.name.c_str() : MAKEINTRESOURCEA(key.number),
                       source.module());
    case ListingWay::Extract:
      break;
  }
  return CIconInfo(path, MAKEINTRESOURCEA(key.number));
}

TEST(SaveAsAndExtract, WriteTheSameBytesForEveryIcon) {
  TempDir built, saved, extracted;
  const auto i16 = ico_test::DibImage(16, 16, 4), i32 = ico_test::DibImage(32, 32, 8);
  const auto ne =
      ne_test::NeBuilder()
          .AddIconGroup(1, pe_test::GroupIconBytes({{16, 16, 16, 1, 4, static_cast<std::uint32_t>(i16.size()), 1},
                                                    {32, 32, 0, 1, 8, static_cast<std::uint32_t>(i32.size()), 2}}))
          .AddIcon(1, i16)
          .AddIcon(2, i32)
          .Build();
  ASSERT_TRUE(ne.WriteTo(built.File("moricons.dll")));
  auto files = tool_test::CorpusFiles();
  files.push_back(built.File("moricons.dll"));

  std::vector<std::string> arguments{"glimra-extract"};
  arguments.insert(arguments.end(), files.begin(), files.end());
  arguments.insert(arguments.end(), {"-o", extracted.path()});
  const auto run = tool_test::RunTool(arguments);
  ASSERT_EQ(run.status, 0) << run.err;
  const auto written = tool_test::Lines(run.out);

  std::size_t next = 0;
  for (const std::string& file : files) {
    const IconSource source(file.c_str());
    for (const IconKey& key : source.Icons()) {
      ASSERT_LT(next, written.size()) << file;
      const CIconInfo record = RecordFor(source, key);
      const std::string target = saved.File(std::to_string(next) + ".ico");
      ASSERT_TRUE(record.SaveIcon(target.c_str())) << file << " " << key.Label();
      EXPECT_EQ(ReadFile(target), ReadFile(written[next])) << file << " " << key.Label();
      ++next;
    }
  }
  EXPECT_EQ(next, written.size());
  EXPECT_GT(next, 200u);
}

}  // namespace
