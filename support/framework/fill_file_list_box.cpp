#include "support/framework/fill_file_list_box.h"

#include <string>

#include "support/framework/file_list.h"
#include "support/framework/file_name.h"

std::vector<std::string> ReadFileListNames(LPCSTR searchPath) {
  std::vector<std::string> names;
  if (searchPath == nullptr) {
    return names;
  }
  // The folder enumerator already applies the find-file rules and yields
  // only regular files when asked for no subfolders.
  CFileList root(searchPath, 0, 0, 0, nullptr);
  if (!root.FindFirst(0)) {
    return names;
  }
  CFileList entry;
  while (root.FindNext(&entry)) {
    if (!entry.IsFile()) {
      continue;
    }
    const std::string& path = entry.m_strPath;
    const std::size_t cut = path.rfind(kPathSeparator);
    names.push_back(cut == std::string::npos ? path : path.substr(cut + 1));
  }
  root.FindEnd();
  return names;
}

int ZUFillFileListBox(LPCSTR searchPath, HWND listBox) {
  if (!IsWindow(listBox)) {
    return -1;
  }
  SendMessage(listBox, LB_RESETCONTENT, 0, 0);
  int added = 0;
  for (const std::string& name : ReadFileListNames(searchPath)) {
    if (SendMessage(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str())) >= 0) {
      ++added;
    }
  }
  return added;
}
