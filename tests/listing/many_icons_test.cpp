// A listing past 65,536 icons: every item keeps a picture, and it is the
// picture of its own record. The module is built here with many groups
// over a few hundred different images, so the listing is cheap to make and
// its pictures repeat as a real installation's do.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "mainwnd/glimra_dlg.h"
#include "platform/core/data_module.h"
#include "platform/core/icon_object.h"
#include "tests/common/ico_builder.h"
#include "tests/common/pe_builder.h"
#include "tests/program_support/app_test_support.h"

namespace {

constexpr int kGroups = 16000;
constexpr int kImages = 251;
constexpr int kCopies = 5;  // 80,000 icons
constexpr int kFinishMs = 10 * 60 * 1000;

struct IconDeleter {
  void operator()(IconObject* icon) const { DestroyIcon(icon); }
};
using IconPtr = std::unique_ptr<IconObject, IconDeleter>;

// Group g shows image g % kImages; each image has its own pattern.
bool WriteManyGroupModule(const std::string& path) {
  pe_test::PeBuilder builder;
  for (int image = 0; image < kImages; ++image) {
    builder.AddIcon(static_cast<std::uint16_t>(image + 1),
                    ico_test::DibImage(32, 32, 32, static_cast<std::uint8_t>(image)));
  }
  const auto imageBytes = static_cast<std::uint32_t>(ico_test::DibImage(32, 32, 32).size());
  for (int group = 0; group < kGroups; ++group) {
    pe_test::GroupIconEntry entry;
    entry.bytesInRes = imageBytes;
    entry.id = static_cast<std::uint16_t>(group % kImages + 1);
    builder.AddIconGroup(pe_test::ResId::Number(static_cast<std::uint16_t>(group + 1)),
                         pe_test::GroupIconBytes({entry}));
  }
  return builder.Build().WriteTo(path);
}

// Record n's icon, rebuilt from its module, as the list stores it.
std::vector<std::uint32_t> RebuiltPixels(const CIconInfo& info) {
  HMODULE module = LoadLibraryExA(info.m_strSource, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) return {};
  const IconPtr icon(CIconInfo(info.m_strSource, MAKEINTRESOURCEA(info.m_nID), module).GetIcon());
  FreeLibrary(module);
  return icon != nullptr ? ScaleIconPixels(*icon, 32, 32) : std::vector<std::uint32_t>{};
}

TEST_F(MainWindowTest, AListingPastSixtyFiveThousandIconsShowsEveryIconsOwnPicture) {
  const ico_test::TempDir dir;
  std::vector<std::string> names;
  std::vector<int> selected;
  for (int copy = 0; copy < kCopies; ++copy) {
    names.push_back("groups" + std::to_string(copy) + ".dll");
    selected.push_back(copy);
    ASSERT_TRUE(WriteManyGroupModule(dir.File(names.back())));
  }
  ChooseListedFiles(*dlg, dir.path(), names, selected);
  ASSERT_TRUE(PressListAndWait(*dlg, kFinishMs));

  constexpr int kIcons = kGroups * kCopies;
  ASSERT_EQ(dlg->m_listIcons.GetCount(), kIcons);
  ASSERT_EQ(dlg->m_lvIcons.GetItemCount(), kIcons);
  HIMAGELIST list = dlg->m_pImageList->GetSafeHandle();
  ASSERT_EQ(ImageList_GetImageCount(list), kIcons);
  // Memory follows the different pictures, not the icons.
  EXPECT_EQ(ImageList_GetPictureCount(list), kImages);
  // The last item, and the ones on either side of the old cap.
  for (const int n : {kIcons - 1, 65535, 65536, kIcons - kGroups}) {
    LVITEM item{};
    item.mask = LVIF_IMAGE;
    item.iItem = n;
    ASSERT_TRUE(dlg->m_lvIcons.GetItem(&item)) << n;
    ASSERT_EQ(item.iImage, n);
    const CIconInfo& record = dlg->m_listIcons.GetAt(dlg->m_listIcons.FindIndex(n));
    ASSERT_EQ(record.m_nID, static_cast<UINT>(n % kGroups + 1)) << n;
    const std::vector<std::uint32_t> rebuilt = RebuiltPixels(record);
    ASSERT_FALSE(rebuilt.empty()) << n;
    EXPECT_EQ(ImageList_GetPixels(list, item.iImage), rebuilt) << n;
  }
}

}  // namespace
