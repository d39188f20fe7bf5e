#include "platform/ui/message_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/ui/win_app.h"
#include "tests/platform/ui/ui_test_util.h"

namespace {

class MessageBoxTest : public ::testing::Test {
 protected:
  void TearDown() override { SetModalHook(nullptr); }
  ScopedResources resources{test_resources::kTable};
};

TEST_F(MessageBoxTest, HookSeesTitleTextAndTypeAndAnswers) {
  std::vector<ModalRun> runs;
  SetModalHook([&](const ModalRun& run) -> std::optional<int> {
    runs.push_back(run);
    return run.type & MB_YESNO ? IDNO : IDOK;
  });
  EXPECT_EQ(AfxMessageBox("Can't get Icon info", MB_OK | MB_ICONSTOP), IDOK);
  EXPECT_EQ(AfxMessageBox("Retry?", MB_YESNO | MB_ICONEXCLAMATION), IDNO);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].kind, ModalKind::MessageBox);
  EXPECT_EQ(runs[0].caption, "Glimra");  // the application title string, no application object here
  EXPECT_EQ(runs[0].text, "Can't get Icon info");
  EXPECT_EQ(runs[0].type & MB_ICONMASK, MB_ICONSTOP);
  EXPECT_EQ(runs[1].type & MB_TYPEMASK, MB_YESNO);
}

TEST_F(MessageBoxTest, RealBoxRunsAndTheClickedButtonIsTheAnswer) {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttons = 0;
  QTimer::singleShot(50, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttons = static_cast<int>(box->buttons().size());
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(AfxMessageBox("Save failed. Go on?", MB_YESNO | MB_ICONEXCLAMATION), IDNO);
  EXPECT_EQ(title, "Glimra");
  EXPECT_EQ(text, "Save failed. Go on?");
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_EQ(buttons, 2);
}

TEST_F(MessageBoxTest, AppNameComesFromTheApplicationObjectWhenSet) {
  CWinApp app("Other");
  ModalRun seen(ModalKind::Dialog);
  SetModalHook([&](const ModalRun& run) -> std::optional<int> {
    seen = run;
    return IDOK;
  });
  AfxMessageBox("x");
  EXPECT_EQ(seen.caption, "Other");
}

}  // namespace
