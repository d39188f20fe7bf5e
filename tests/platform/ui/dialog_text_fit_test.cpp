// Dialog units widened, within a bound, until the template's own texts fit
// the face that draws them, at whichever faces this machine has.

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>

#include <algorithm>

#include "platform/ui/dialog.h"
#include "platform/ui/qt_bridge.h"
#include "tests/platform/ui/ui_test_util.h"

namespace {

constexpr UINT kTightDialog = 610;
constexpr UINT kHopelessDialog = 611;

// Texts laid out as tightly as the program's templates lay them out for
// their designed face.
constexpr DialogItemTemplate kTightItems[] = {
    {0, 0, WS_VISIBLE | SS_CENTER, 47, 35, 88, 8, 1, "STATIC", "Would you like to access the "},
    {0, 0, WS_VISIBLE | SS_CENTER, 135, 35, 60, 8, 2, "STATIC", "on-line help system."},
    {0, 0, WS_VISIBLE | SS_LEFT, 10, 19, 54, 8, 3, "STATIC", "Number of Image:"},
    {0, 0, WS_VISIBLE | SS_RIGHT, 52, 45, 10, 8, 4, "STATIC", "ID:"},
    {0, 0, WS_VISIBLE | SS_RIGHT, 40, 63, 22, 8, 5, "STATIC", "Height:"},
    {0, 0, WS_VISIBLE | SS_LEFT, 47, 11, 143, 24, 6, "STATIC",
     "Glimra is using HTML Help as help system.This feature does not seem to be installed."},
    {0, 0, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 248, 64, 48, 10, 7, "BUTTON", "&Recursive"},
};
// One text no sensible unit fits.
constexpr DialogItemTemplate kHopelessItems[] = {
    {0, 0, WS_VISIBLE | SS_LEFT, 4, 4, 10, 8, 1, "STATIC", "A text far too long for a box this small"},
};

DialogTemplate WithFace(std::span<const DialogItemTemplate> items, const char* face) {
  return DialogTemplate{
      true, 0, 0, WS_POPUP | WS_CAPTION | DS_SETFONT, 0, 0, 212, 80, 0, nullptr, "Fit", 8, 400, 0, 0, face, items};
}

// The widest unit the widening may reach from the platform's.
int WidestUnit(int platform) { return platform + std::max(1, platform / 4); }

class DialogTextFitTest : public ::testing::TestWithParam<const char*> {};

TEST_P(DialogTextFitTest, TemplateTextsFitTheirControls) {
  const DialogTemplate tight = WithFace(kTightItems, GetParam());
  const ResourceEntry<DialogTemplate> dialogs[] = {{kTightDialog, &tight}};
  const ResourceTable table{{}, dialogs};
  ScopedResources resources{table};
  CDialog dlg;
  ASSERT_TRUE(dlg.Create(kTightDialog, nullptr));
  const SIZE platform = DialogBaseUnits(GetParam(), 8);
  const SIZE used = dlg.GetBaseUnits();
  EXPECT_EQ(used.cy, platform.cy);
  EXPECT_GE(used.cx, platform.cx);
  EXPECT_LE(used.cx, WidestUnit(platform.cx));
  for (const DialogItemTemplate& item : kTightItems) {
    auto* label = qobject_cast<QLabel*>(WidgetOfWindow(dlg.GetDlgItem(static_cast<int>(item.id))->m_hWnd));
    if (label == nullptr) continue;
    const QFontMetrics metrics(label->font());
    const QRect room = label->contentsRect();
    const QRect wrapped = metrics.boundingRect(QRect(0, 0, room.width(), 1 << 16), Qt::TextWordWrap, label->text());
    EXPECT_LE(wrapped.width(), room.width()) << item.text;
    EXPECT_LE(wrapped.height(), room.height()) << item.text;
  }
  dlg.DestroyWindow();
}

// The designed face and faces of several widths: the default sans, a serif,
// a condensed face and one with Helvetica's proportions (fontconfig stands
// the nearest face in for any that is missing).
INSTANTIATE_TEST_SUITE_P(Faces, DialogTextFitTest,
                         ::testing::Values("MS Sans Serif", "DejaVu Sans", "DejaVu Serif", "DejaVu Sans Condensed",
                                           "Nimbus Sans"));

class DialogUnitsWideningTest : public ::testing::Test {
 protected:
  ScopedResources resources{test_resources::kTable};
};

TEST_F(DialogUnitsWideningTest, RoomyTemplateKeepsThePlatformUnits) {
  CDialog dlg;
  ASSERT_TRUE(dlg.Create(test_resources::kMainDialog, nullptr));
  const SIZE platform = DialogBaseUnits("MS Sans Serif", 8);
  EXPECT_EQ(dlg.GetBaseUnits().cx, platform.cx);
  EXPECT_EQ(dlg.GetBaseUnits().cy, platform.cy);
  dlg.DestroyWindow();
}

TEST_F(DialogUnitsWideningTest, TextThatFitsNowhereStopsTheWideningAtItsBound) {
  const DialogTemplate hopeless = WithFace(kHopelessItems, "MS Sans Serif");
  const ResourceEntry<DialogTemplate> dialogs[] = {{kHopelessDialog, &hopeless}};
  const ResourceTable table{{}, dialogs};
  ScopedResources own{table};
  CDialog dlg;
  ASSERT_TRUE(dlg.Create(kHopelessDialog, nullptr));
  EXPECT_EQ(dlg.GetBaseUnits().cx, WidestUnit(DialogBaseUnits("MS Sans Serif", 8).cx));
  RECT client{};
  dlg.GetClientRect(&client);
  EXPECT_EQ(client.right - client.left, MulDiv(212, dlg.GetBaseUnits().cx, 4));
  dlg.DestroyWindow();
}

}  // namespace
