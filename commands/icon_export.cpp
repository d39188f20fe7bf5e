#include "commands/icon_export.h"

#include <climits>
#include <memory>

#include "mainwnd/glimra_dlg.h"
#include "support/icon/icon_resource_builder.h"
#include "support/icon/image_choice.h"
#include "support/icon/png_writer.h"
#include "tools/icon_outputs.h"

namespace {

UniqueIconResource LoadGroup(const CIconInfo& info) {
  LPCTSTR id = nullptr;
  return UniqueIconResource(info.LoadIconResource(id));
}

}  // namespace

IconKey ExtractKeyOf(const CIconInfo& info) {
  IconKey key;
  if ((info.m_wFlags & ICONINFO_ICOFILE) != 0) {
    return key;  // an icon file's one icon: index 0
  }
  if ((info.m_wFlags & ICONINFO_RESOURCE) != 0) {
    key.kind = info.m_strName.IsEmpty() ? IconKey::Kind::Id : IconKey::Kind::Name;
    key.name = info.m_strName.str();
  }
  key.number = info.m_strName.IsEmpty() ? info.m_nID : 0;
  return key;
}

ExportReport ExportIcons(const std::vector<CIconInfo>& icons, const std::string& folder, const ExportChoice& choice) {
  ExportReport report;
  OutputNames names(folder);
  const OutputDone done = [&report](const std::string& destination, const Expected<std::uint64_t>& result) {
    if (result) {
      report.written.push_back(destination);
    } else {
      report.failures.push_back(destination + ": " + result.error().what);
    }
  };
  TaskPool pool;
  ImageOutputBatch pngs(pool, done);
  for (const CIconInfo& info : icons) {
    const IconKey key = ExtractKeyOf(info);
    const UniqueIconResource group = LoadGroup(info);
    if (group == nullptr) {
      pngs.Flush();  // keeps the failures in the icons' order
      report.failures.push_back(info.m_strSource.str() + ": icon " + key.Label() + " cannot be read");
      continue;
    }
    const std::string stem = IconOutputStem(info.m_strSource.str(), key);
    if (choice.format == ExportFormat::kIco) {
      WriteIconOutput(group.get(), stem, Overwrite::Never, names, done);
    } else {
      WriteImageOutputs(ImagesOf(group.get()), stem, choice.size, Overwrite::Never, names, pngs);
    }
  }
  pngs.Flush();
  return report;
}

std::vector<std::uint8_t> LargestImagePng(const CIconInfo& info) {
  const UniqueIconResource group = LoadGroup(info);
  if (group == nullptr) return {};
  // No image is this wide, so the choice falls to the largest, deepest first.
  const auto largest = BestImageFor(group.get(), UINT_MAX);
  if (!largest) return {};
  auto png = ImageAsPng(IconImageData(IconImageAt(group.get(), *largest)));
  return png ? std::move(*png) : std::vector<std::uint8_t>{};
}

std::vector<CIconInfo> SelectedIconRecords(const CGlimraDlg& dlg) {
  std::vector<CIconInfo> records;
  int index = -1;
  while ((index = dlg.m_lvIcons.GetNextItem(index, LVNI_SELECTED)) != -1) {
    const POSITION position = dlg.m_listIcons.FindIndex(index);
    if (position == nullptr) break;
    records.push_back(dlg.m_listIcons.GetAt(position));
  }
  return records;
}
