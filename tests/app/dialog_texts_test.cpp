// Every dialog of the program, built from its template in the font this
// machine gives the template's face: each text a static, button, check box
// or group box shows fits the control's rectangle. With GLIMRA_SCREENSHOT_DIR
// set, each dialog is saved there as a PNG file, to look at.

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/help_missing_dlg.h"
#include "platform/ui/dialog.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/resources.h"
#include "res/glimra_resources.h"
#include "res/resource_ids.h"
#include "support/framework/zu_about_dlg.h"

namespace {

// A text that overflows its control, as "dialog id: text (needed > room)".
struct Overflow {
  std::string text;
  int needed;
  int room;
};

int ShownWidth(const QFontMetrics& metrics, const QString& text) {
  return metrics.size(Qt::TextShowMnemonic, text).width();
}

// Measures one control's widget; answers nothing when its text fits.
std::vector<Overflow> MeasureControl(QWidget* widget) {
  std::vector<Overflow> found;
  const QFontMetrics metrics(widget->font());
  auto check = [&](const QString& text, int needed, int room) {
    if (!text.isEmpty() && needed > room) found.push_back({text.toStdString(), needed, room});
  };
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    const QRect room = label->contentsRect();
    if (label->wordWrap()) {
      const QRect wrapped = metrics.boundingRect(QRect(0, 0, room.width(), 1 << 16), Qt::TextWordWrap, label->text());
      check(label->text(), wrapped.width(), room.width());
      check(label->text() + " (lines)", wrapped.height(), room.height());
    } else {
      check(label->text(), metrics.horizontalAdvance(label->text()), room.width());
    }
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<QCheckBox*>(button) != nullptr) contents = QStyle::SE_CheckBoxContents;
    if (qobject_cast<QRadioButton*>(button) != nullptr) contents = QStyle::SE_RadioButtonContents;
    const QRect room = button->style()->subElementRect(contents, &option, button);
    check(button->text(), ShownWidth(metrics, button->text()), room.width());
    check(button->text() + " (height)", metrics.height(), button->height());
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    check(group->title(), ShownWidth(metrics, group->title()), group->width() - 2 * metrics.averageCharWidth());
  }
  return found;
}

std::vector<Overflow> MeasureDialog(const CDialog& dlg) {
  std::vector<Overflow> found;
  for (QObject* child : ClientWidgetOfWindow(dlg.m_hWnd)->children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget == nullptr || !widget->isVisibleTo(widget->parentWidget())) continue;
    for (Overflow& o : MeasureControl(widget)) found.push_back(std::move(o));
  }
  return found;
}

void SaveScreenshot(const CDialog& dlg, const std::string& name) {
  const char* dir = std::getenv("GLIMRA_SCREENSHOT_DIR");
  QWidget* widget = WidgetOfWindow(dlg.m_hWnd);
  if (dir == nullptr || widget == nullptr) return;
  static_cast<void>(widget->grab().save(QString::fromStdString(std::string(dir) + "/" + name + ".png")));
}

void ExpectTextsFit(CDialog& dlg, UINT id, CWnd* parent = nullptr) {
  ASSERT_TRUE(dlg.Create(id, parent)) << "dialog " << id;
  dlg.ShowWindow(SW_SHOW);
  for (const Overflow& o : MeasureDialog(dlg)) {
    ADD_FAILURE() << "dialog " << id << ": \"" << o.text << "\" needs " << o.needed << " px, has " << o.room;
  }
  SaveScreenshot(dlg, "dialog_" + std::to_string(id));
  dlg.DestroyWindow();
}

// The program's own templates, as registered: the main window, the help
// dialog, and every template added beside them.
TEST(DialogTexts, EveryProgramTemplateHoldsItsTexts) {
  const ResourceTable& table = GlimraResources();
  ASSERT_FALSE(table.dialogs.empty());
  CDialog host;
  ASSERT_TRUE(host.Create(IDD_GLIMRA_DIALOG, nullptr));
  for (const ResourceEntry<DialogTemplate>& entry : table.dialogs) {
    // A child template is a panel that another window holds.
    const bool child = (entry.resource->style & WS_CHILD) != 0;
    CDialog dlg;
    ExpectTextsFit(dlg, entry.id, child ? &host : nullptr);
  }
  host.DestroyWindow();
}

// With the texts their dialogs set when they open: the link, the about box's
// product, version and copyright.
TEST(DialogTexts, HelpAndAboutHoldTheTextsTheySet) {
  CHelpMissingDlg help;
  ExpectTextsFit(help, IDD_HELP_MISSING);
  CZUAboutDlg about(IDR_MAINFRAME, nullptr);
  ExpectTextsFit(about, kAboutDialogId);
}

}  // namespace
