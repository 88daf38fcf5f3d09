#include "app/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "controls/Artwork.h"
#include "controls/ProgramStyle.h"
#include "platform/QString1252.h"

const char* const kApplicationTitle = "KAV Antenna Part Number Builder";

namespace {

// The program's texts break lines with CR, CR LF or LF; a box wants LF.
QString DisplayText(const std::string& text) {
  QString shown = FromAnsi(text);
  shown.replace("\r\n", "\n");
  shown.replace('\r', '\n');
  return shown;
}

}  // namespace

void TQtDialogs::ShowMessage(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, DisplayText(text), QMessageBox::Ok,
                  parent_);
  box.exec();
}

bool TQtDialogs::Confirm(const std::string& text) {
  QMessageBox box(QMessageBox::Question, "Confirm", DisplayText(text), QMessageBox::NoButton,
                  parent_);
  QPushButton* yes = box.addButton("&Yes", QMessageBox::YesRole);
  QPushButton* no = box.addButton("&No", QMessageBox::NoRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes;  // closing the box counts as No
}

void TQtDialogs::ShowErrorBox(const std::string& text) {
  QMessageBox box(QMessageBox::Critical, "Error", DisplayText(text), QMessageBox::Ok, parent_);
  box.exec();
}

bool TQtDialogs::ChooseFolder(const std::string& caption, std::string& folder) {
  const QString chosen = QFileDialog::getExistingDirectory(parent_, FromAnsi(caption));
  if (chosen.isEmpty()) return false;
  folder = QDir::toNativeSeparators(chosen).toLocal8Bit().toStdString();
  return true;
}

void ApplyProgramLook() {
  // The application's name, not its display name: Qt would append a display
  // name to every window caption, and the main window's caption stands alone.
  QApplication::setApplicationName(kApplicationTitle);
  QApplication::setWindowIcon(KavProgramIcon());
  QApplication::setFont(WindowsFont("MS Sans Serif", 11));
  QApplication::setStyle(new TProgramStyle);
}
