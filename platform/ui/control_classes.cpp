// The window classes by name, as templates and Create name them.

#include <strings.h>
#include <cstring>

#include "platform/ui/cwnd.h"
#include "platform/ui/window_record.h"

std::unique_ptr<WindowBehavior> MakeButtonBehavior();
std::unique_ptr<WindowBehavior> MakeStaticBehavior();
std::unique_ptr<WindowBehavior> MakeListBoxBehavior();
std::unique_ptr<WindowBehavior> MakeComboBoxBehavior();
std::unique_ptr<WindowBehavior> MakeListViewBehavior();
std::unique_ptr<WindowBehavior> MakeTreeViewBehavior();
std::unique_ptr<WindowBehavior> MakeStatusBarBehavior();
std::unique_ptr<WindowBehavior> MakeToolBarBehavior();

std::unique_ptr<WindowBehavior> MakeBehavior(const std::string& className, DWORD style) {
  (void)style;
  // Class names compare without regard to case, as the platform registers them.
  auto is = [&](const char* name) { return strcasecmp(className.c_str(), name) == 0; };
  if (is(WC_BUTTON)) return MakeButtonBehavior();
  if (is(WC_STATIC)) return MakeStaticBehavior();
  if (is(WC_LISTBOX)) return MakeListBoxBehavior();
  if (is(WC_COMBOBOX)) return MakeComboBoxBehavior();
  if (is(WC_LISTVIEW)) return MakeListViewBehavior();
  if (is(WC_TREEVIEW)) return MakeTreeViewBehavior();
  if (is(WC_STATUSBAR)) return MakeStatusBarBehavior();
  if (is(WC_TOOLBAR)) return MakeToolBarBehavior();
  return nullptr;  // the generic window with a client area of its own
}
