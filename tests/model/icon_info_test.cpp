// Icon records: the kinds and their bits, the identifier rule, copies, and
// rebuilding the icon or the group from the source file.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "model/icon_info.h"
#include "platform/core/data_module.h"
#include "platform/core/icon_object.h"
#include "support/framework/file_name.h"
#include "support/icon/icon_library.h"
#include "support/icon/icon_resource_builder.h"
#include "tests/common/file_rewriter.h"
#include "tests/common/ico_builder.h"
#include "tests/common/pe_builder.h"

namespace {

const std::string kCorpus = GLIMRA_CORPUS_DIR;

// An .ico file of three images whose widths tell them apart.
std::vector<std::uint8_t> ThreeImageIco() {
  return ico_test::IcoFile(
      {ico_test::DibEntry(16, 16, 32, 1), ico_test::DibEntry(32, 32, 8, 2), ico_test::DibEntry(48, 48, 4, 3)});
}

// A PE32 file with a numbered group 1 and a group named "LOGO", each of one 32x32 image.
pe_test::BuiltPe TwoGroupModule() {
  const auto one = ico_test::DibImage(32, 32, 32, 5);
  const auto two = ico_test::DibImage(24, 24, 8, 6);
  pe_test::PeBuilder builder;
  builder.AddIcon(1, one);
  builder.AddIcon(2, two);
  builder.AddIconGroup(pe_test::ResId::Number(1),
                       pe_test::GroupIconBytes({{32, 32, 0, 1, 32, static_cast<std::uint32_t>(one.size()), 1}}));
  builder.AddIconGroup(pe_test::ResId::Name("LOGO"),
                       pe_test::GroupIconBytes({{24, 24, 0, 1, 8, static_cast<std::uint32_t>(two.size()), 2}}));
  return builder.Build();
}

TEST(CIconInfo, EachConstructorSetsItsKindAndFields) {
  HMODULE fakeModule = reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x1234));
  const CIconInfo empty;
  const CIconInfo module("/m.dll", MAKEINTRESOURCEA(7), fakeModule);
  const CIconInfo extracted("/x.exe", MAKEINTRESOURCEA(3));
  const CIconInfo file("/f.ico");
  struct Row {
    const CIconInfo* info;
    const char* source;
    UINT id;
    HINSTANCE instance;
    WORD flags;
  };
  const Row rows[] = {
      {&empty, "", 0, nullptr, 0x0002},
      {&module, "/m.dll", 7, fakeModule, 0x0006},
      {&extracted, "/x.exe", 3, GetModuleHandleA(nullptr), 0x0005},
      {&file, "/f.ico", 0, nullptr, 0x000A},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.source);
    EXPECT_EQ(row.info->m_strSource, row.source);
    EXPECT_EQ(row.info->m_nID, row.id);
    EXPECT_EQ(row.info->m_nImage, 0);
    EXPECT_EQ(row.info->m_hInstance, row.instance);
    EXPECT_TRUE(row.info->m_strName.IsEmpty());
    EXPECT_EQ(row.info->m_wFlags, row.flags);
  }
  EXPECT_NE(extracted.m_hInstance, nullptr);
}

TEST(CIconInfo, IdentifierBelow0x10000IsANumberAnythingElseANameCopiedIn) {
  const CIconInfo top("/m.dll", MAKEINTRESOURCEA(0xFFFF), nullptr);
  EXPECT_EQ(top.m_nID, 65535u);
  EXPECT_TRUE(top.m_strName.IsEmpty());

  char name[] = "FOLDER";
  const CIconInfo named("/m.dll", name, nullptr);
  std::strcpy(name, "XXXXXX");  // the module's string goes away with it
  EXPECT_EQ(named.m_nID, 0u);
  EXPECT_EQ(named.m_strName, "FOLDER");
}

TEST(CIconInfo, RuntimeClassNotSerialisableAndCreatableAsADefaultRecord) {
  const CRuntimeClass* cls = RUNTIME_CLASS(CIconInfo);
  EXPECT_STREQ(cls->m_lpszClassName, "CIconInfo");
  EXPECT_EQ(cls->m_wSchema, 0xFFFFu);
  EXPECT_TRUE(cls->IsDerivedFrom(RUNTIME_CLASS(CObject)));
  std::unique_ptr<CObject> made(cls->CreateObject());
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->GetRuntimeClass(), cls);
  EXPECT_EQ(static_cast<CIconInfo*>(made.get())->m_wFlags, ICONINFO_RESOURCE);
}

TEST(CIconInfo, AssignmentCopiesAllSixFields) {
  CIconInfo from("/a/b.dll", "NAME", reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x99)));
  from.m_nID = 12;  // both set at once never comes from a constructor, so each field is seen
  from.m_nImage = 4;
  CIconInfo to;
  to = from;
  EXPECT_EQ(to.m_strSource, "/a/b.dll");
  EXPECT_EQ(to.m_nID, 12u);
  EXPECT_EQ(to.m_nImage, 4);
  EXPECT_EQ(to.m_hInstance, from.m_hInstance);
  EXPECT_EQ(to.m_strName, "NAME");
  EXPECT_EQ(to.m_wFlags, 0x0006);
  from.m_strName = "CHANGED";
  EXPECT_EQ(to.m_strName, "NAME");
}

TEST(CIconInfo, IcoRecordPicksTheAskedImageOrItsDefault) {
  ico_test::TempDir dir;
  const std::string path = dir.File("three.ico");
  ASSERT_TRUE(ico_test::WriteFile(path, ThreeImageIco()));
  CIconInfo info(path.c_str());
  struct Row {
    int asked;
    int width;  // 0: no icon
  };
  for (const Row row : {Row{-1, 16}, Row{0, 16}, Row{1, 32}, Row{2, 48}, Row{3, 0}, Row{5, 0}}) {
    SCOPED_TRACE(row.asked);
    UniqueIcon icon(info.GetIcon(row.asked));
    if (row.width == 0) {
      EXPECT_EQ(icon, nullptr);
    } else {
      ASSERT_NE(icon, nullptr);
      EXPECT_EQ(icon->width, row.width);
    }
  }
  info.m_nImage = 2;
  UniqueIcon byDefault(info.GetIcon());
  ASSERT_NE(byDefault, nullptr);
  EXPECT_EQ(byDefault->width, 48);
}

TEST(CIconInfo, IcoRecordWithoutTheExtensionNeverReadsTheFile) {
  ico_test::TempDir dir;
  const std::string path = dir.File("three.bin");  // a good icon file under another name
  ASSERT_TRUE(ico_test::WriteFile(path, ThreeImageIco()));
  const CIconInfo info(path.c_str());
  EXPECT_EQ(info.GetIcon(), nullptr);
  LPCTSTR id = "untouched";
  EXPECT_EQ(info.LoadIconResource(id), nullptr);
  EXPECT_FALSE(info.SaveIcon(dir.File("out.ico").c_str()));
  EXPECT_FALSE(std::fopen(dir.File("out.ico").c_str(), "rb"));

  // The same bytes under the extension load, so it was the name that refused.
  const std::string named = dir.File("THREE.ICO");
  ASSERT_TRUE(ico_test::WriteFile(named, ThreeImageIco()));
  UniqueIcon icon(CIconInfo(named.c_str()).GetIcon());
  EXPECT_NE(icon, nullptr);
}

TEST(CIconInfo, IcoRecordPreviewShowsTheFileAndNoIdentifier) {
  const std::string path = kCorpus + "/ico/nsis-menu.ico";
  const CIconInfo info(path.c_str());
  CFileName source("before");
  CString idText("before");
  UniqueIcon icon(info.GetPreviewIcon(source, idText));
  EXPECT_NE(icon, nullptr);
  EXPECT_EQ(source.GetPath(), path);
  EXPECT_TRUE(idText.IsEmpty());
}

TEST(CIconInfo, ModuleRecordLoadsWhileListedAndRebuildsLater) {
  ico_test::TempDir dir;
  const std::string path = dir.File("two.dll");
  ASSERT_TRUE(TwoGroupModule().WriteTo(path));
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  const CIconInfo numbered(path.c_str(), MAKEINTRESOURCEA(1), module);
  char name[] = "LOGO";
  const CIconInfo named(path.c_str(), name, module);
  {
    UniqueIcon a(numbered.GetIcon());
    UniqueIcon b(named.GetIcon());
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    // A load from a module is the platform's default size; the depth tells the groups apart.
    EXPECT_EQ(a->width, 32);
    EXPECT_EQ(b->width, 32);
    EXPECT_EQ(a->bitCount, 32);
    EXPECT_EQ(b->bitCount, 8);
  }
  FreeLibrary(module);

  struct Row {
    const CIconInfo* info;
    const char* idText;
    int width;
  };
  for (const Row row : {Row{&numbered, "1", 32}, Row{&named, "LOGO", 24}}) {
    SCOPED_TRACE(row.idText);
    LPCTSTR id = nullptr;
    UniqueIconResource group(row.info->LoadIconResource(id));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->nImages, 1u);
    EXPECT_STREQ(group->szModule, path.c_str());
    CFileName source;
    CString idText;
    UniqueIcon icon(row.info->GetPreviewIcon(source, idText));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->width, row.width);
    EXPECT_EQ(source.GetPath(), path);
    EXPECT_EQ(idText, row.idText);
  }
  LPCTSTR id = nullptr;
  UniqueIconResource group(named.LoadIconResource(id));
  EXPECT_FALSE(IS_INTRESOURCE(id));
  EXPECT_STREQ(id, "LOGO");
}

TEST(CIconInfo, SavedModuleGroupReadsBackAndFailsOnceTheModuleIsGone) {
  ico_test::TempDir dir;
  const std::string path = dir.File("two.dll");
  ASSERT_TRUE(TwoGroupModule().WriteTo(path));
  const CIconInfo info(path.c_str(), "LOGO", nullptr);
  const std::string out = dir.File("logo.ico");
  ASSERT_TRUE(info.SaveIcon(out.c_str()));
  UniqueIconResource back(ReadIconFromICOFile(out.c_str()));
  ASSERT_NE(back, nullptr);
  ASSERT_EQ(back->nImages, 1u);
  EXPECT_EQ(back->IconImages[0].nWidth, 24u);

  ASSERT_EQ(std::remove(path.c_str()), 0);
  EXPECT_FALSE(info.SaveIcon(dir.File("again.ico").c_str()));
  CFileName source("kept");
  CString idText("kept");
  EXPECT_EQ(info.GetPreviewIcon(source, idText), nullptr);
  EXPECT_EQ(source.GetPath(), "kept");
  EXPECT_EQ(idText, "kept");
}

TEST(CIconInfo, ExtractedRecordReachesAnIconFileUnderAnyName) {
  const std::string path = kCorpus + "/misc/uninst";
  const CIconInfo first(path.c_str(), MAKEINTRESOURCEA(0));
  UniqueIcon icon(first.GetIcon());
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->width, 32);
  EXPECT_EQ(CIconInfo(path.c_str(), MAKEINTRESOURCEA(1)).GetIcon(), nullptr);

  ico_test::TempDir dir;
  ASSERT_TRUE(first.SaveIcon(dir.File("uninst.ico").c_str()));
  CFileName source;
  CString idText;
  UniqueIcon preview(first.GetPreviewIcon(source, idText));
  EXPECT_NE(preview, nullptr);
  EXPECT_EQ(idText, "0");
}

TEST(CIconInfo, ExtractedRecordOfAFileWithoutIconsGivesNoIcon) {
  ico_test::TempDir dir;
  const std::string path = dir.File("plain.txt");
  ASSERT_TRUE(ico_test::WriteFile(path, std::vector<std::uint8_t>(64, 'a')));
  EXPECT_EQ(CIconInfo(path.c_str(), MAKEINTRESOURCEA(0)).GetIcon(), nullptr);
}

}  // namespace

namespace {

// What the user-interface thread does with a record (preview, Info, Save As
// rebuild the group; the list's own picture needs the icon) while another
// thread rewrites and cuts its source: each answer is a whole group or
// nothing, never a crash; once the file is whole again, all work.
TEST(CIconInfo, RecordsOfFilesRewrittenUnderTheReadRebuildOrFailCleanly) {
  const auto module = ico_test::ReadFile(kCorpus + "/pe64/shell32.dll");
  const auto icons = ico_test::ReadFile(kCorpus + "/ico/idle.ico");
  ASSERT_FALSE(module.empty());
  ASSERT_FALSE(icons.empty());
  ico_test::TempDir dir;
  const std::string dll = dir.File("shell.dll");
  const std::string ico = dir.File("idle.ico");
  const std::vector<CIconInfo> records{CIconInfo(dll.c_str(), MAKEINTRESOURCEA(1), nullptr),
                                       CIconInfo(dll.c_str(), MAKEINTRESOURCEA(3)), CIconInfo(ico.c_str())};
  {
    const file_test::FileRewriter moduleRewriter({dll}, module);
    const file_test::FileRewriter iconRewriter({ico}, icons);
    for (int round = 0; round < 300; ++round) {
      for (const CIconInfo& record : records) {
        LPCTSTR id = nullptr;
        const UniqueIconResource group(record.LoadIconResource(id));
        EXPECT_TRUE(group == nullptr || IconResourceIsSound(group.get()));
        const UniqueIcon icon(record.GetIcon());
        const std::string out = dir.File("out.ico");
        if (record.SaveIcon(out.c_str())) {
          EXPECT_NE(UniqueIconResource(ReadIconFromICOFile(out.c_str())), nullptr);
        }
      }
    }
  }
  for (const CIconInfo& record : records) {
    LPCTSTR id = nullptr;
    EXPECT_NE(UniqueIconResource(record.LoadIconResource(id)), nullptr);
    EXPECT_TRUE(record.SaveIcon(dir.File("out.ico").c_str()));
  }
}

}  // namespace
