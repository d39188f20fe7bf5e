#include "platform/ui/export_folder_dialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <utility>

#include "platform/ui/qt_bridge.h"

namespace {

std::function<std::optional<ExportAnswer>(const std::string&)>& TestAnswer() {
  static std::function<std::optional<ExportAnswer>(const std::string&)> answer;
  return answer;
}

}  // namespace

std::optional<ExportAnswer> AskExportFolder(HWND owner, const std::string& startFolder) {
  if (const auto& answer = TestAnswer()) return answer(startFolder);
  // Qt's own dialog, so the choice of format can sit beside the folder.
  QFileDialog dialog(WidgetOfWindow(owner), "Export Icons To", QString::fromStdString(startFolder));
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setLabelText(QFileDialog::Accept, "&Export");
  auto* format = new QComboBox(&dialog);
  format->addItems({"Icon files (.ico)", "PNG, every image", "PNG, the best image for a size"});
  auto* size = new QSpinBox(&dialog);
  size->setRange(1, 1024);
  size->setValue(48);
  size->setSuffix(" px");
  size->setEnabled(false);
  QObject::connect(format, &QComboBox::currentIndexChanged, size, [size](int index) { size->setEnabled(index == 2); });
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    const int row = grid->rowCount();
    grid->addWidget(new QLabel("Write as:", &dialog), row, 0);
    grid->addWidget(format, row, 1);
    grid->addWidget(size, row, 2);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  ExportAnswer answer;
  answer.folder = dialog.selectedFiles().front().toStdString();
  answer.images = static_cast<ExportImages>(format->currentIndex());
  answer.size = static_cast<unsigned>(size->value());
  return answer;
}

void AnswerExportFolderForTests(std::function<std::optional<ExportAnswer>(const std::string&)> answer) {
  TestAnswer() = std::move(answer);
}
