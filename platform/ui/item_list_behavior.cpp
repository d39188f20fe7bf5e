#include "platform/ui/item_list_behavior.h"

int FindItemText(HWND control, int startAfter, LPCTSTR text, TextMatch match) {
  return QuietControlCall<ItemListBehavior>(
      control, 0, [&](ItemListBehavior& items) { return items.Texts().Find(startAfter, TextOf(text), match); });
}

int ItemTextLength(HWND control, int index) {
  return QuietControlCall<ItemListBehavior>(control, 0,
                                            [&](ItemListBehavior& items) { return items.Texts().Length(index); });
}

int CopyItemText(HWND control, int index, LPTSTR buffer) {
  return QuietControlCall<ItemListBehavior>(
      control, 0, [&](ItemListBehavior& items) { return items.Texts().CopyOut(index, buffer); });
}

CString ItemText(HWND control, int index) {
  return QuietControlCall<ItemListBehavior>(
      control, CString(), [&](ItemListBehavior& items) { return CString(items.Texts().Text(index)); });
}
