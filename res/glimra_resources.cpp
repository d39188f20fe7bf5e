#include "res/glimra_resources.h"

#include "res/resource_data.h"
#include "res/resource_ids.h"

namespace {

const ResourceEntry<DialogTemplate> kDialogs[] = {{IDD_SAVE_PANEL, &kSavePanelDialogTemplate},
                                                  {IDD_GLIMRA_DIALOG, &kMainDialogTemplate},
                                                  {IDD_ICON_INFO, &kIconInfoDialogTemplate},
                                                  {IDD_HELP_MISSING, &kHelpMissingDialogTemplate}};
const ResourceEntry<MenuTemplate> kMenus[] = {{IDR_ICON_POPUP, &kIconPopupMenu}, {IDR_MAIN_MENU, &kMainMenu}};
const ResourceEntry<AcceleratorTable> kAccelerators[] = {{IDR_ACCELERATOR, &kMainAccelerators}};
const ResourceEntry<ToolbarTemplate> kToolbars[] = {{IDR_MAINFRAME, &kMainToolbar}};
const ResourceEntry<BitmapResource> kBitmaps[] = {{IDR_MAINFRAME, &kMainToolbarBitmap}};
const ResourceEntry<IconResource> kIcons[] = {{IDR_MAINFRAME, &kApplicationIcon}};

}  // namespace

const ResourceTable& GlimraResources() {
  // Built on first use: kStringTable lives in another file, and a table
  // initialised at static time could be read before it.
  static const ResourceTable table = {kStringTable, kDialogs, kMenus, kAccelerators, kToolbars, kBitmaps, kIcons};
  return table;
}
