// The program: start-up in its fixed order, then the window's message loop.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

#include "app/DesktopShell.h"
#include "app/MainWindow.h"
#include "app/QtClipboard.h"
#include "app/QtDialogs.h"
#include "app/QtPrintDialog.h"
#include "app/QtSaveDialog.h"
#include "app/WindowArguments.h"
#include "catalog/DataModule.h"
#include "controls/ControlHooks.h"
#include "platform/ProgramFolder.h"
#include "platform/QString1252.h"

int main(int argc, char** argv) {
  ProgramFolder();  // fixed before anything reads a file
  // The caller's words, read before Qt sees them: Qt would take "-style",
  // "-reverse" and its other options out of the command line, and a model
  // number may look like one. Qt gets the program's name alone.
  const QStringList arguments = CallerArguments(argc, argv);
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  ApplyProgramLook();

  // The general error report: one box with the error's text; the window stays usable.
  SetErrorReporter([](const std::string& message) {
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, FromAnsi(message), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
  });

  TQtDialogs dialogs;
  TQtClipboard clipboard;
  TQtPrintDialog printDialog(dialogs);
  TQtSaveDialog saveDialog;
  TDesktopShell shell;

  const TWindowArguments command = ReadWindowArguments(arguments);
  if (!command.usageError.isEmpty()) {
    dialogs.ShowMessage(ToAnsi(command.usageError + "\n\nkav_pnb [MODEL [--job-file PATH]]"));
    return kUsageSlip;
  }

  TDataModule DataMod(dialogs);
  if (command.jobFile) {
    // The caller's own job file, and nothing there but what this run hands
    // back: a run that ends without Finish leaves none.
    const QString path = QDir::toNativeSeparators(QFileInfo(*command.jobFile).absoluteFilePath());
    DataMod.SetJobFileName(path.toLocal8Bit().toStdString());
    DataMod.DeleteJobFile();
  }
  RunGuarded([&] { DataMod.DataModuleCreate(); });

  TMainWindow window(DataMod, {dialogs, clipboard, printDialog, saveDialog, shell},
                     command.arguments);
  dialogs.SetParent(&window);
  printDialog.SetParent(&window);
  saveDialog.SetParent(&window);
  window.show();
  const int status = QApplication::exec();
  if (!command.jobFile) return status;
  return window.HandedBack() ? kHandedBack : kNothingHandedBack;
}
