#include "platform/ui/dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include "platform/ui/button.h"
#include "platform/ui/menu.h"
#include "platform/ui/message_box.h"
#include "platform/ui/qt_bridge.h"
#include "tests/platform/ui/ui_test_util.h"

namespace {

using namespace test_resources;

class MainLikeDialog : public CDialog {
 public:
  MainLikeDialog() : CDialog(kMainDialog) {}
  CButton m_btnListIcon;
  CButton m_chkRecursive;
  int initCalls = 0;
  bool boundDuringInit = false;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 1017, m_chkRecursive);
    DDX_Control(pDX, 1000, m_btnListIcon);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    ++initCalls;
    boundDuringInit = m_btnListIcon.m_hWnd != nullptr;
    return TRUE;
  }
  void OnOK() override {}
  void OnCancel() override {}
};

class DialogTest : public ::testing::Test {
 protected:
  ScopedResources resources{kTable};
};

TEST(DialogUnitsTest, MapsEdgesWithQuarterAndEighthOfTheBaseUnits) {
  struct Case {
    SIZE base;
    RECT in;
    RECT out;
  } cases[] = {
      {{6, 13}, {7, 3, 300, 91}, {11, 5, 450, 148}},  // 7*6/4=10.5 -> 11, 3*13/8=4.875 -> 5
      {{8, 16}, {0, 0, 307, 190}, {0, 0, 614, 380}},
      {{7, 15}, {1, 1, 2, 3}, {2, 2, 4, 6}},  // 1.75 -> 2, 1.875 -> 2, 3.5 -> 4, 5.625 -> 6
  };
  for (const Case& c : cases) {
    RECT r = c.in;
    MapDialogUnits(c.base, r);
    EXPECT_EQ(r.left, c.out.left);
    EXPECT_EQ(r.top, c.out.top);
    EXPECT_EQ(r.right, c.out.right);
    EXPECT_EQ(r.bottom, c.out.bottom);
  }
  EXPECT_EQ(MulDiv(-7, 6, 4), -11);
  EXPECT_EQ(MulDiv(5, 1, 0), -1);
}

TEST(DialogUnitsTest, BaseUnitsFollowTheFontSize) {
  SIZE small = DialogBaseUnits("MS Sans Serif", 8);
  SIZE large = DialogBaseUnits("MS Sans Serif", 16);
  EXPECT_GT(small.cx, 0);
  EXPECT_GT(small.cy, 0);
  EXPECT_GT(large.cx, small.cx);
  EXPECT_GT(large.cy, small.cy);
}

TEST_F(DialogTest, TemplateBecomesWindowWithControlsInDialogUnits) {
  MainLikeDialog dlg;
  ASSERT_TRUE(dlg.Create(kMainDialog, nullptr));
  EXPECT_EQ(dlg.initCalls, 1);
  EXPECT_TRUE(dlg.boundDuringInit);
  const SIZE base = dlg.GetBaseUnits();

  CRect client;
  dlg.GetClientRect(&client);
  EXPECT_EQ(client.Width(), MulDiv(307, base.cx, 4));
  EXPECT_EQ(client.Height(), MulDiv(190, base.cy, 8));

  for (const DialogItemTemplate& item : kMainItems) {
    CWnd* control = dlg.GetDlgItem(static_cast<int>(item.id));
    ASSERT_NE(control, nullptr) << item.id;
    CRect r;
    control->GetWindowRect(&r);
    dlg.ScreenToClient(&r);
    EXPECT_EQ(r.left, MulDiv(item.x, base.cx, 4)) << item.id;
    EXPECT_EQ(r.top, MulDiv(item.y, base.cy, 8)) << item.id;
    EXPECT_EQ(r.Width(), MulDiv(item.cx, base.cx, 4)) << item.id;
    if (item.id != 1089) {
      EXPECT_EQ(r.Height(), MulDiv(item.cy, base.cy, 8)) << item.id;
    }
    CString text;
    control->GetWindowText(text);
    if (std::string(item.className) == "BUTTON") {
      EXPECT_EQ(text, item.text) << item.id;
    }
  }
  // A combo box's template height includes its drop-down list.
  CRect combo;
  dlg.GetDlgItem(1089)->GetWindowRect(&combo);
  EXPECT_LT(combo.Height(), MulDiv(52, base.cy, 8));

  CString caption;
  dlg.GetWindowText(caption);
  EXPECT_EQ(caption, "Glimra");
  ASSERT_NE(dlg.GetMenu(), nullptr);
  EXPECT_EQ(dlg.GetMenu()->GetMenuItemCount(), 3);
  EXPECT_EQ(dlg.GetMenu()->GetSubMenu(1)->GetMenuItemID(2), 32776u);
  EXPECT_FALSE(dlg.IsWindowVisible());  // the template has no WS_VISIBLE

  dlg.ShowWindow(SW_SHOW);
  Pump(20);
  QImage shot = WidgetOfWindow(dlg.m_hWnd)->window()->grab().toImage();
  EXPECT_FALSE(shot.isNull());
  shot.save(QStringLiteral("/tmp/glimra_ui_dialog500.png"));
  dlg.DestroyWindow();
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  EXPECT_EQ(dlg.m_btnListIcon.m_hWnd, nullptr);
}

TEST_F(DialogTest, DataExchangeBindsEachMemberOnceToTheExistingControl) {
  MainLikeDialog dlg;
  ASSERT_TRUE(dlg.Create(kMainDialog, nullptr));
  HWND before = dlg.m_btnListIcon.m_hWnd;
  ASSERT_NE(before, nullptr);
  EXPECT_EQ(CWnd::FromHandle(before), &dlg.m_btnListIcon);
  EXPECT_EQ(dlg.GetDlgItem(1000), &dlg.m_btnListIcon);
  dlg.UpdateData(TRUE);
  EXPECT_EQ(dlg.m_btnListIcon.m_hWnd, before);
  dlg.CheckDlgButton(1017, BST_CHECKED);
  EXPECT_EQ(dlg.m_chkRecursive.GetCheck(), BST_CHECKED);
  dlg.m_chkRecursive.SetCheck(BST_UNCHECKED);
  EXPECT_EQ(dlg.IsDlgButtonChecked(1017), BST_UNCHECKED);
  dlg.DestroyWindow();
}

class ModalDialog : public CDialog {
 public:
  ModalDialog() : CDialog(kMainDialog) {}
};

TEST_F(DialogTest, ModalRunDisablesOwnerAndReturnsEndDialogValue) {
  MainLikeDialog owner;
  ASSERT_TRUE(owner.Create(kMainDialog, nullptr));
  owner.ShowWindow(SW_SHOW);
  bool ownerDisabledDuringRun = false;
  SetModalHook([&](const ModalRun& run) -> std::optional<int> {
    EXPECT_EQ(run.kind, ModalKind::Dialog);
    EXPECT_EQ(run.owner, owner.m_hWnd);
    ownerDisabledDuringRun = !owner.IsWindowEnabled();
    EXPECT_TRUE(run.dialog->IsWindowVisible());
    EXPECT_EQ(owner.GetLastActivePopup(), run.dialog);
    return 42;
  });
  ModalDialog modal;
  modal.m_pParentWnd = &owner;
  EXPECT_EQ(modal.DoModal(), 42);
  SetModalHook(nullptr);
  EXPECT_TRUE(ownerDisabledDuringRun);
  EXPECT_TRUE(owner.IsWindowEnabled());
  EXPECT_EQ(modal.m_hWnd, nullptr);
  EXPECT_EQ(owner.GetLastActivePopup(), &owner);
  owner.DestroyWindow();
}

TEST_F(DialogTest, RealModalRunEndsWhenTheUserCancels) {
  ModalDialog modal;
  // Driven as a user would: find the modal window, press Escape's command.
  QTimer::singleShot(50, [] {
    QWidget* active = QApplication::activeModalWidget();
    ASSERT_NE(active, nullptr);
    HWND h = WindowOfWidget(active);
    ASSERT_NE(h, nullptr);
    SendMessage(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  EXPECT_EQ(modal.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, CloseRequestBecomesCancel) {
  struct Counting : MainLikeDialog {
    int cancels = 0;
    void OnCancel() override { ++cancels; }
  } dlg;
  ASSERT_TRUE(dlg.Create(kMainDialog, nullptr));
  dlg.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(dlg.cancels, 1);
  EXPECT_NE(dlg.m_hWnd, nullptr);  // OnCancel of a modeless main window does not close it
  dlg.DestroyWindow();
}

TEST(DialogMissingTest, UnknownTemplateFails) {
  CDialog dlg(31999);
  EXPECT_EQ(dlg.DoModal(), -1);
  EXPECT_FALSE(dlg.Create(31999));
}

}  // namespace
