#include "platform/ui/save_file_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/ui/qt_bridge.h"
#include "tests/common/ico_builder.h"
#include "tests/platform/ui/ui_test_util.h"

namespace {

constexpr UINT kPanelId = 900;
constexpr int kPanelLabel = 40;
constexpr int kRightOfPlaceholder = 41;

const DialogItemTemplate kPanelItems[] = {
    {0, 0, WS_VISIBLE | SS_LEFT, 36, 13, 41, 8, kPanelLabel, "STATIC", "Above"},
    {0, 0, WS_VISIBLE | SS_LEFT, 7, 39, 247, 22, static_cast<DWORD>(stc32), "STATIC", ""},
    {0, 0, WS_VISIBLE | SS_LEFT, 256, 39, 4, 8, kRightOfPlaceholder, "STATIC", "R"},
};
const DialogTemplate kPanel{false,      0,       0,   WS_CHILD | WS_VISIBLE | DS_CONTROL | DS_3DLOOK | DS_SETFONT,
                            0,          0,       261, 69,
                            0,          nullptr, "",  8,
                            0,          0,       0,   "MS Sans Serif",
                            kPanelItems};
const ResourceEntry<DialogTemplate> kDialogs[] = {{kPanelId, &kPanel}};
const ResourceTable kTable{.dialogs = kDialogs};

struct HookCall {
  UINT message;
  UINT code;  // WM_NOTIFY's code
  LPARAM lParam;
};
std::vector<HookCall> g_calls;

UINT_PTR RecordingHook(HWND, UINT message, WPARAM, LPARAM lParam) {
  const bool watched = message == WM_INITDIALOG || message == WM_NOTIFY || message >= 0xC000;
  if (!watched) return FALSE;
  const UINT code = message == WM_NOTIFY ? reinterpret_cast<const NMHDR*>(lParam)->code : 0;
  g_calls.push_back({message, code, lParam});
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

QFileDialog* FileDialogOf(HWND dialog) {
  QWidget* w = WidgetOfWindow(dialog);
  return w ? w->findChild<QFileDialog*>() : nullptr;
}

// Types name into the real dialog and presses its Save button.
void TypeAndSave(QFileDialog& files, const QString& name) {
  auto* edit = files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  auto* buttons = files.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(buttons, nullptr);
  edit->setText(name);
  for (QAbstractButton* b : buttons->buttons()) {
    if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole) b->click();
  }
}

void PressCancel(QFileDialog& files) {
  auto* buttons = files.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
  ASSERT_NE(buttons, nullptr);
  buttons->button(QDialogButtonBox::Cancel)->click();
}

// Answers the next Qt message box that shows with button; its text goes to text.
void AnswerNextBox(QMessageBox::StandardButton button, std::string* text) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, button, text] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    *text = box->text().toStdString();
    poll->stop();
    poll->deleteLater();
    box->button(button)->click();
  });
  poll->start(10);
}

class SaveFileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_calls.clear();
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.lpstrFilter = "Icon File (*.ico)\0*.ico\0";
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = sizeof buffer;
    ofn.lpstrInitialDir = dir.path().c_str();
    ofn.lpstrTitle = "ICO Files";
    ofn.Flags = OFN_EXPLORER | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_OVERWRITEPROMPT;
    ofn.lpstrDefExt = "ICO";
    ofn.lpfnHook = RecordingHook;
    ofn.lpTemplateName = MAKEINTRESOURCEA(kPanelId);
  }
  void TearDown() override { SetSaveFileHook({}); }

  // Runs the dialog; drive() acts on it once the event loop runs.
  BOOL Run(const std::function<void(const SaveFileRun&)>& drive) {
    SetSaveFileHook([&](const SaveFileRun& run) -> std::optional<std::string> {
      seen = run;
      QTimer::singleShot(0, [run, drive] { drive(run); });
      return std::nullopt;
    });
    return GetSaveFileNameA(&ofn);
  }

  ScopedResources resources{kTable};
  ico_test::TempDir dir;
  char buffer[260] = {};
  OPENFILENAMEA ofn{};
  SaveFileRun seen;
};

TEST_F(SaveFileDialogTest, RealDialogSavesATypedNameWithTheDefaultExtensionBelowThePanel) {
  QRect label, placeholderRight, files;
  const BOOL chosen = Run([&](const SaveFileRun& run) {
    QFileDialog* dialog = FileDialogOf(run.dialog);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WidgetOfWindow(run.dialog)->windowTitle().toStdString(), "ICO Files");
    EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("Icon File (*.ico)")});
    label = WidgetOfWindow(GetDlgItem(run.panel, kPanelLabel))->geometry();
    placeholderRight = WidgetOfWindow(GetDlgItem(run.panel, kRightOfPlaceholder))->geometry();
    files = dialog->geometry();
    TypeAndSave(*dialog, QStringLiteral("plain"));
  });
  ASSERT_TRUE(chosen);
  const std::string expected = dir.File("plain.ICO");
  EXPECT_EQ(std::string(buffer), expected);
  EXPECT_EQ(ofn.nFileOffset, dir.path().size() + 1);
  EXPECT_EQ(std::string(buffer + ofn.nFileExtension), "ICO");
  EXPECT_EQ(seen.folder, dir.path());
  EXPECT_EQ(CommDlgExtendedError(), 0u);

  // The panel's controls stay above; the file dialog takes the placeholder's
  // place and pushes what lies right of it further right.
  EXPECT_LE(label.bottom(), files.top());
  EXPECT_GE(placeholderRight.left(), files.right());

  ASSERT_EQ(g_calls.size(), 4u);
  EXPECT_EQ(g_calls[0].message, WM_INITDIALOG);
  EXPECT_EQ(g_calls[0].lParam, reinterpret_cast<LPARAM>(&ofn));
  EXPECT_EQ(g_calls[1].code, CDN_INITDONE);
  EXPECT_EQ(g_calls[2].message, RegisterWindowMessageA(FILEOKSTRINGA));
  EXPECT_EQ(g_calls[3].code, CDN_FILEOK);
}

TEST_F(SaveFileDialogTest, AnExistingFileIsQuestionedBeforeTheDialogCloses) {
  const std::string existing = dir.File("old.ico");
  std::ofstream(existing) << "x";
  std::string question;
  int step = 0;
  const BOOL chosen = Run([&](const SaveFileRun& run) {
    QFileDialog* dialog = FileDialogOf(run.dialog);
    ASSERT_NE(dialog, nullptr);
    // No keeps the dialog open; the user then cancels.
    AnswerNextBox(QMessageBox::No, &question);
    TypeAndSave(*dialog, QStringLiteral("old.ico"));
    step = 1;
    QTimer::singleShot(50, [dialog, &step] {
      step = 2;
      PressCancel(*dialog);
    });
  });
  EXPECT_FALSE(chosen);
  EXPECT_EQ(step, 2);
  EXPECT_NE(question.find("already exists"), std::string::npos) << question;
  EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(SaveFileDialogTest, WithoutTheOverwriteFlagAnExistingFileIsTakenAtOnce) {
  const std::string existing = dir.File("old.ico");
  std::ofstream(existing) << "x";
  ofn.Flags &= ~OFN_OVERWRITEPROMPT;
  const BOOL chosen = Run([](const SaveFileRun& run) { TypeAndSave(*FileDialogOf(run.dialog), "old.ico"); });
  EXPECT_TRUE(chosen);
  EXPECT_EQ(std::string(buffer), existing);
}

TEST_F(SaveFileDialogTest, TheReadOnlyBoxShowsUnlessHiddenAndItsStateComesBackInTheFlags) {
  const BOOL chosen = Run([](const SaveFileRun& run) {
    QFileDialog* dialog = FileDialogOf(run.dialog);
    auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("readOnlyBox"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisibleTo(dialog));
    box->setChecked(true);
    TypeAndSave(*dialog, QStringLiteral("ro"));
  });
  EXPECT_TRUE(chosen);
  EXPECT_TRUE(ofn.Flags & OFN_READONLY);

  ofn.Flags |= OFN_HIDEREADONLY;
  bool found = true;
  EXPECT_TRUE(Run([&found](const SaveFileRun& run) {
    QFileDialog* dialog = FileDialogOf(run.dialog);
    found = dialog->findChild<QCheckBox*>(QStringLiteral("readOnlyBox")) != nullptr;
    TypeAndSave(*dialog, QStringLiteral("ro2"));
  }));
  EXPECT_FALSE(found);
}

TEST_F(SaveFileDialogTest, OwnerIsDisabledWhileTheDialogRuns) {
  CWnd owner;
  ASSERT_TRUE(owner.CreateEx(0, WC_GENERIC, "owner", WS_POPUP | WS_CAPTION, RECT{0, 0, 100, 100}, nullptr, 0));
  owner.ShowWindow(SW_SHOW);
  ofn.hwndOwner = owner.m_hWnd;
  BOOL enabledInside = TRUE;
  SetSaveFileHook([&](const SaveFileRun&) -> std::optional<std::string> {
    enabledInside = IsWindowEnabled(owner.m_hWnd);
    return std::string();
  });
  EXPECT_FALSE(GetSaveFileNameA(&ofn));
  EXPECT_FALSE(enabledInside);
  EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
  owner.DestroyWindow();
}

struct FailureCase {
  const char* name;
  DWORD size;
  UINT templateId;
  std::string answer;
  DWORD error;
};

TEST_F(SaveFileDialogTest, FailuresAnswerZeroWithTheirReason) {
  const std::vector<FailureCase> cases = {
      {"cancel", OPENFILENAME_SIZE_VERSION_400A, kPanelId, "", 0},
      {"unknown structure size", 20, kPanelId, "/tmp/x.ico", CDERR_STRUCTSIZE},
      {"missing template", OPENFILENAME_SIZE_VERSION_400A, 901, "/tmp/x.ico", CDERR_FINDRESFAILURE},
      {"name longer than the buffer", OPENFILENAME_SIZE_VERSION_400A, kPanelId, "/" + std::string(300, 'a'),
       FNERR_BUFFERTOOSMALL},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    g_calls.clear();
    ofn.lStructSize = c.size;
    ofn.lpTemplateName = MAKEINTRESOURCEA(c.templateId);
    std::snprintf(buffer, sizeof buffer, "%s", "untouched");
    SetSaveFileHook([&](const SaveFileRun&) -> std::optional<std::string> { return c.answer; });
    EXPECT_FALSE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), c.error);
    if (c.error == FNERR_BUFFERTOOSMALL) {
      EXPECT_EQ(buffer[0], '\0');
    }
    // The hook hears of a chosen name only when the caller gets it.
    for (const HookCall& call : g_calls) EXPECT_NE(call.code, CDN_FILEOK);
  }
}

TEST(RegisterWindowMessageTest, OneNumberPerNameWhateverItsCase) {
  const UINT ok = RegisterWindowMessageA("commdlg_FileNameOK");
  EXPECT_GE(ok, 0xC000u);
  EXPECT_EQ(RegisterWindowMessageA("COMMDLG_FILENAMEOK"), ok);
  EXPECT_NE(RegisterWindowMessageA("commdlg_LBSelChangedNotify"), ok);
  EXPECT_EQ(RegisterWindowMessageA(""), 0u);
}

}  // namespace
