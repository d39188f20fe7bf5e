#include "support/framework/fill_file_list_box.h"

#include <string>

#include "support/framework/file_list.h"
#include "support/framework/file_name.h"

int ZUFillFileListBox(LPCSTR searchPath, HWND listBox) {
  if (!IsWindow(listBox)) {
    return -1;
  }
  SendMessage(listBox, LB_RESETCONTENT, 0, 0);
  if (searchPath == nullptr) {
    return 0;
  }
  // The folder enumerator already applies the find-file rules and yields
  // only regular files when asked for no subfolders.
  CFileList root(searchPath, 0, 0, 0, nullptr);
  if (!root.FindFirst(0)) {
    return 0;
  }
  int added = 0;
  CFileList entry;
  while (root.FindNext(&entry)) {
    if (!entry.IsFile()) {
      continue;
    }
    const std::string& path = entry.m_strPath;
    const std::size_t cut = path.rfind(kPathSeparator);
    const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
    if (SendMessage(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str())) >= 0) {
      ++added;
    }
  }
  root.FindEnd();
  return added;
}
