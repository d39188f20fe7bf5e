#include "commands/icon_transfer.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "commands/icon_export.h"
#include "mainwnd/glimra_dlg.h"
#include "platform/ui/export_folder_dialog.h"
#include "platform/ui/message_box.h"
#include "platform/ui/transfer_out.h"

namespace {

// A message box lists this many failures and counts the rest.
constexpr std::size_t kFailuresShown = 15;

std::optional<TransferData> SelectionTransfer(const CGlimraDlg& dlg) {
  const std::vector<CIconInfo> records = SelectedIconRecords(dlg);
  if (records.empty()) return std::nullopt;
  TransferData data;
  data.png = LargestImagePng(records.front());
  const std::string folder = NewTransferFolder();
  if (!folder.empty()) data.files = ExportIcons(records, folder, ExportChoice{}).written;
  return data;
}

std::string& LastExportFolder() {
  static std::string folder;
  if (folder.empty()) {
    const char* home = std::getenv("HOME");
    folder = home != nullptr ? home : "/";
  }
  return folder;
}

}  // namespace

void CopySelectedIcons(CGlimraDlg& dlg) {
  if (const auto data = SelectionTransfer(dlg)) PutOnClipboard(*data);
}

void DragSelectedIcons(CGlimraDlg& dlg) {
  if (const auto data = SelectionTransfer(dlg)) DragOut(dlg.m_lvIcons.GetSafeHwnd(), *data);
}

void ExportSelectedIcons(CGlimraDlg& dlg) {
  const std::vector<CIconInfo> records = SelectedIconRecords(dlg);
  if (records.empty()) return;
  const std::optional<ExportAnswer> answer = AskExportFolder(dlg.GetSafeHwnd(), LastExportFolder());
  if (!answer) return;
  LastExportFolder() = answer->folder;
  ExportChoice choice;
  if (answer->images != ExportImages::kIcoFiles) {
    choice.format = ExportFormat::kPng;
    choice.size = answer->images == ExportImages::kBestImageAsPng ? answer->size : 0;
  }
  const ExportReport report = ExportIcons(records, answer->folder, choice);
  CString status;
  status.Format("%d file%s written to %s", static_cast<int>(report.written.size()),
                report.written.size() == 1 ? "" : "s", answer->folder.c_str());
  dlg.SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(status)));
  if (report.failures.empty()) return;
  std::string text = "Some icons could not be exported:\n";
  for (std::size_t i = 0; i < report.failures.size() && i < kFailuresShown; ++i) text += "\n" + report.failures[i];
  if (report.failures.size() > kFailuresShown) {
    text += "\n... and " + std::to_string(report.failures.size() - kFailuresShown) + " more";
  }
  static_cast<void>(AfxMessageBox(text.c_str(), MB_OK | MB_ICONEXCLAMATION));
}
