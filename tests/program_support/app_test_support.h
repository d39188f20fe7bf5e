#pragma once
// Helpers of the program suite: folders, the program's executable, event
// pumping, update requests that record what a handler decided, and closing
// the modal dialog a command opens.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/cmd_ui.h"
#include "platform/ui/cwnd.h"
#include "platform/ui/message_box.h"

// A new folder only this user may enter (as a runtime folder must be).
[[nodiscard]] std::string MakePrivateRuntimeFolder();
void RemoveFolderTree(const std::string& folder);

// The glimra executable of this build (beside the tests' folder).
[[nodiscard]] std::string GlimraExecutablePath();

// Runs the user-interface thread's pending events for about ms milliseconds.
void PumpEvents(int ms);
// Pumps until done() or ms have passed; answers done().
bool PumpUntil(const std::function<bool()>& done, int ms);

class CGlimraDlg;

// The program's main window as the application creates it: registered as
// the main window, created with its bars and shown; settleMs of events follow.
[[nodiscard]] CGlimraDlg* CreateShownMainWindow(int settleMs);
// Destroys the registered main window (its last step deletes the object)
// and lets the end of the message loop it posts go by here, rather than
// inside a later test's modal loop.
void DestroyMainWindow();

// A test with the shown main window; a modal hook the test set is removed
// before the window goes.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dlg = CreateShownMainWindow(30);
    ASSERT_NE(dlg, nullptr);
  }
  void TearDown() override {
    SetModalHook({});
    DestroyMainWindow();
  }
  CGlimraDlg* dlg = nullptr;
};

// An update request that only records the handler's decision.
class RecordingCmdUI : public CCmdUI {
 public:
  explicit RecordingCmdUI(UINT id) { m_nID = id; }
  void Enable(BOOL on = TRUE) override {
    m_bEnableChanged = TRUE;
    enabled = on != FALSE;
  }
  bool enabled = false;
};

// What a modal dialog opened by run() was: its runtime class name and its
// caption. The dialog is ended (IDCANCEL) as soon as it shows; empty
// strings when none showed.
struct ModalSeen {
  std::string className;
  std::string caption;
};
[[nodiscard]] ModalSeen RunAndCloseModal(const std::function<void()>& run);

// A control's rectangle in its parent's client coordinates.
[[nodiscard]] RECT ChildRect(const CWnd& parent, int id);

// Presses a push button as the user does: its widget is clicked, which
// notifies the parent with BN_CLICKED. A disabled button ignores it.
void ClickButton(const CWnd& button);

// Calls onChange with the item count each time the list view control gains
// items or is emptied, on the user-interface thread, inside the step that
// changes it (so a worker making the change waits until onChange has
// returned). Watching ends with the object.
class ItemCountWatch {
 public:
  ItemCountWatch(const CWnd& listView, std::function<void(int)> onChange);
  ItemCountWatch(const ItemCountWatch&) = delete;
  ItemCountWatch& operator=(const ItemCountWatch&) = delete;
  ~ItemCountWatch();

 private:
  struct Connections;
  Connections* m_connections;
};

// The main window set up for a listing of selected files: the file list
// holds names (sorted, as the list box keeps them) shown for folder, the
// entries at the given indices are selected and "&Recursive" is unchecked.
// The pending folder refresh is cancelled so it cannot refill the list.
void ChooseListedFiles(CGlimraDlg& dlg, const std::string& folder, const std::vector<std::string>& names,
                       const std::vector<int>& selected);
// The same for a recursive listing of folder with the pattern as typed.
void ChooseRecursiveListing(CGlimraDlg& dlg, const std::string& folder, const std::string& pattern);
// Presses "&List Icon" (enabling it first) and pumps until the worker it
// started has finished and left; false when no worker was recorded or it
// did not finish within ms.
[[nodiscard]] bool PressListAndWait(CGlimraDlg& dlg, int ms);

// An ItemCountWatch callback that acts once, the first time the count
// reaches atLeast: appends may arrive in runs, so a count can be skipped.
[[nodiscard]] std::function<void(int)> OnceCountReaches(int atLeast, std::function<void()> act);
