#pragma once
// Listed icons written as glimra-extract writes them, for the window's
// Export and for the files that Copy and a drag hand out. No Qt.

#include <cstdint>
#include <string>
#include <vector>

#include "model/icon_info.h"
#include "support/icon/icon_source.h"

class CGlimraDlg;

enum class ExportFormat { kIco, kPng };

struct ExportChoice {
  ExportFormat format = ExportFormat::kIco;
  unsigned size = 0;  // with kPng: 0 every image, else the one best for size
};

struct ExportReport {
  std::vector<std::string> written;   // paths, in order
  std::vector<std::string> failures;  // "<path>: <reason>", one to a failure
};

// The key glimra-extract names the record's icon by.
[[nodiscard]] IconKey ExtractKeyOf(const CIconInfo& info);

// Writes each icon into folder (never replacing a file), named as
// glimra-extract names it; a failure costs that output, never the rest.
[[nodiscard]] ExportReport ExportIcons(const std::vector<CIconInfo>& icons, const std::string& folder,
                                       const ExportChoice& choice);

// The icon's largest image (the deepest among equally large ones) as PNG
// bytes; empty when the group cannot be built.
[[nodiscard]] std::vector<std::uint8_t> LargestImagePng(const CIconInfo& info);

// Copies of the records of the list's selected items, in list order; an
// item without a record ends the list there.
[[nodiscard]] std::vector<CIconInfo> SelectedIconRecords(const CGlimraDlg& dlg);
