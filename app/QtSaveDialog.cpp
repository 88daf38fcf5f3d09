#include "app/QtSaveDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

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
  // The user's documents, which the user may write: never the program's
  // folder, which an installed program's user may not.
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  dialog.setDirectory(QDir(documents).exists() ? documents : QDir::homePath());
  if (!fileName.empty()) dialog.selectFile(QString::fromLocal8Bit(fileName.c_str()));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  // Qt names files with "/" everywhere; messages show the system's separators.
  fileName = QDir::toNativeSeparators(dialog.selectedFiles().first()).toLocal8Bit().toStdString();
  filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  return true;
}
