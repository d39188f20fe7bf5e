// The window listing files that another thread keeps rewriting and cutting
// short while the worker reads them: every listing must end normally, with
// items, images and records still side by side, and once the files are whole
// again they list in full.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mainwnd/glimra_dlg.h"
#include "tests/common/file_rewriter.h"
#include "tests/common/ico_builder.h"
#include "tests/program_support/app_test_support.h"

namespace {

const std::string kCorpus = GLIMRA_CORPUS_DIR;
constexpr int kFinishMs = 60000;
constexpr int kCopies = 10;
// comdlg32.dll's icon groups.
constexpr int kGroupsPerCopy = 10;

class ListingUnderRewrites : public MainWindowTest {
 protected:
  [[nodiscard]] int Items() const { return dlg->m_lvIcons.GetItemCount(); }
  [[nodiscard]] int Images() const { return dlg->m_pImageList->GetImageCount(); }
  [[nodiscard]] int Records() const { return dlg->m_listIcons.GetCount(); }
  void ListAll() {
    ChooseRecursiveListing(*dlg, dir.path(), "*.*");
    ASSERT_TRUE(PressListAndWait(*dlg, kFinishMs));
  }

  ico_test::TempDir dir;
};

TEST_F(ListingUnderRewrites, ThirtyListingsOfTenRewrittenModulesEndNormally) {
  const auto module = ico_test::ReadFile(kCorpus + "/pe64/comdlg32.dll");
  ASSERT_FALSE(module.empty());
  std::vector<std::string> copies;
  copies.reserve(kCopies);
  for (int i = 0; i < kCopies; ++i) copies.push_back(dir.File("copy" + std::to_string(i) + ".dll"));
  {
    const file_test::FileRewriter rewriter(copies, module);
    for (int run = 0; run < 30; ++run) {
      SCOPED_TRACE(run);
      ListAll();
      ASSERT_EQ(Items(), Records());
      ASSERT_EQ(Images(), Records());
    }
  }
  const int before = Records();
  ListAll();
  EXPECT_EQ(Records() - before, kCopies * kGroupsPerCopy);
  EXPECT_EQ(Items(), Records());
  EXPECT_EQ(Images(), Records());
}

}  // namespace
