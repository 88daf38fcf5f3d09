// The program: start-up in its fixed order, then the window's message loop.
#include <QApplication>
#include <QMessageBox>

#include "app/DesktopShell.h"
#include "app/MainWindow.h"
#include "app/QtClipboard.h"
#include "app/QtDialogs.h"
#include "app/QtPrintDialog.h"
#include "app/QtSaveDialog.h"
#include "catalog/DataModule.h"
#include "controls/ControlHooks.h"
#include "platform/ProgramFolder.h"
#include "platform/QString1252.h"

int main(int argc, char** argv) {
  ProgramFolder();  // fixed before anything reads a file
  QApplication app(argc, argv);
  ApplyProgramLook();

  // The general error report: one box with the error's text; the window stays usable.
  SetErrorReporter([](const std::string& message) {
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, FromAnsi(message), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
  });

  TQtDialogs dialogs;
  TQtClipboard clipboard;
  TQtPrintDialog printDialog;
  TQtSaveDialog saveDialog;
  TDesktopShell shell;

  TDataModule DataMod(dialogs);
  RunGuarded([&] { DataMod.DataModuleCreate(); });

  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  TMainWindow window(DataMod, {dialogs, clipboard, printDialog, saveDialog, shell}, arguments);
  dialogs.SetParent(&window);
  printDialog.SetParent(&window);
  saveDialog.SetParent(&window);
  window.show();
  return QApplication::exec();
}
