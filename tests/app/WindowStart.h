#pragma once
// Starts the window as the program does: a new data module (its start-up
// errors go to the general error report), then the window, shown.
#include <QStringList>
#include <memory>

#include "app/ukavpnb.h"
#include "catalog/uDataMod.h"
#include "controls/ControlHooks.h"

inline TfrmKavPnbMain& StartWindow(std::unique_ptr<TfrmKavPnbMain>& window,
                                   std::unique_ptr<TDataMod>& data, TDialogs& dialogs,
                                   const TWindowServices& services, const QStringList& arguments) {
  window.reset();  // the window holds on to the data module until it goes
  data = std::make_unique<TDataMod>(dialogs);
  RunGuarded([&] { data->DataModuleCreate(); });
  window = std::make_unique<TfrmKavPnbMain>(*data, services, arguments);
  window->show();
  return *window;
}
