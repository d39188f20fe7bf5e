#pragma once
// The one folder chooser of Export: a folder, and what to write there.

#include <functional>
#include <optional>
#include <string>

#include "platform/ui/win_user.h"

enum class ExportImages { kIcoFiles, kEveryImageAsPng, kBestImageAsPng };

struct ExportAnswer {
  std::string folder;
  ExportImages images = ExportImages::kIcoFiles;
  unsigned size = 48;  // for kBestImageAsPng
};

// Asks modally, starting in startFolder; nothing when the user cancels.
[[nodiscard]] std::optional<ExportAnswer> AskExportFolder(HWND owner, const std::string& startFolder);

// Tests answer instead of the user; an empty function puts the dialog back.
void AnswerExportFolderForTests(std::function<std::optional<ExportAnswer>(const std::string& startFolder)> answer);
