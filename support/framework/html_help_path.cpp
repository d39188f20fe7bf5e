#include "support/framework/html_help_path.h"

#include <cstring>

#include "platform/core/install_folders.h"

LPSTR GetHTMLHelpPath(LPSTR buffer) {
  if (buffer == nullptr) return buffer;
  buffer[0] = '\0';
  const auto path = FindInstalledFile(kHtmlHelpFileName);
  // A shortened path would name another file; report none instead.
  if (path && path->size() < MAX_PATH) std::memcpy(buffer, path->c_str(), path->size() + 1);
  return buffer;
}
