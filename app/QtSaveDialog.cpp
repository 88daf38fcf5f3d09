#include "app/QtSaveDialog.h"

#include <QFileDialog>

bool TQtSaveDialog::Execute(const std::vector<TFileType>& fileTypes, std::string& fileName,
                            int& filterIndex) {
  QStringList filters;
  for (const TFileType& type : fileTypes)
    filters << QString::fromLocal8Bit(type.Description.c_str());
  QFileDialog dialog(parent_);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(filters);
  // The export replaces a chosen file without asking, and adds no suffix itself.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setDefaultSuffix(QString());
  if (!fileName.empty()) dialog.selectFile(QString::fromLocal8Bit(fileName.c_str()));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  fileName = dialog.selectedFiles().first().toLocal8Bit().toStdString();
  filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  return true;
}
