#pragma once
// Starts the window as the program does: a new data module (its start-up
// errors go to the general error report), then the window, shown, with
// stand-ins for the clipboard, the print and save dialogs and the shell.
#include <QStringList>
#include <memory>

#include "FakeUi.h"
#include "app/ukavpnb.h"
#include "catalog/uDataMod.h"
#include "controls/ControlHooks.h"
#include "output/OutputTestSupport.h"

struct TWindowUnderTest {
  TfrmKavPnbMain& StartWindow(TDialogs& dialogs, const QStringList& arguments) {
    window.reset();  // the window holds on to the data module until it goes
    data = std::make_unique<TDataMod>(dialogs);
    RunGuarded([&] { data->DataModuleCreate(); });
    window = std::make_unique<TfrmKavPnbMain>(
        *data, TWindowServices{dialogs, clipboard, printDialog, saveDialog, shell}, arguments);
    window->show();
    return *window;
  }
  void CloseWindow() {
    window.reset();
    data.reset();
  }

  FakeClipboard clipboard;
  FakePrintDialog printDialog;
  FakeSaveDialog saveDialog;
  FakeShell shell;
  std::unique_ptr<TDataMod> data;
  std::unique_ptr<TfrmKavPnbMain> window;
};
