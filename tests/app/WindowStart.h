#pragma once
// Starts the window as the program does, on a catalogue of the test's own: a
// new data module (its start-up errors go to the general error report, kept
// in `reported`), then the window, shown, with stand-ins for the clipboard,
// the print and save dialogs and the shell.
#include <QStringList>
#include <memory>

#include "FakeUi.h"
#include "app/MainWindow.h"
#include "catalog/CatalogFixture.h"
#include "catalog/DataModule.h"
#include "controls/ControlHooks.h"
#include "output/OutputTestSupport.h"

class WindowFixture : public CatalogFixture {
 protected:
  void SetUp() override {
    CatalogFixture::SetUp();
    SetErrorReporter([this](const std::string& message) { reported.push_back(message); });
  }
  void TearDown() override {
    window.reset();
    data.reset();
    SetErrorReporter(nullptr);
    CatalogFixture::TearDown();
  }

  TMainWindow& Start(const QStringList& arguments = {}) {
    window.reset();  // the window holds on to the data module until it goes
    data = std::make_unique<TDataModule>(dialogs);
    RunGuarded([&] { data->DataModuleCreate(); });
    window = std::make_unique<TMainWindow>(
        *data, TWindowServices{dialogs, clipboard, printDialog, saveDialog, shell}, arguments);
    window->show();
    return *window;
  }

  FakeClipboard clipboard;
  FakePrintDialog printDialog;
  FakeSaveDialog saveDialog;
  FakeShell shell;
  std::unique_ptr<TDataModule> data;
  std::unique_ptr<TMainWindow> window;
  std::vector<std::string> reported;
};
