#pragma once
// What the window controls need from the application as a whole: its general
// error report and its help system. The program installs both at start; the
// tests install recorders.
#include <QString>
#include <exception>
#include <functional>
#include <string>

class QWidget;

// The application's general error report: one message box with the error's
// text. Until the program installs its own, a plain critical box is shown.
using TErrorReporter = std::function<void(const std::string& message)>;
void SetErrorReporter(TErrorReporter reporter);
void ReportError(const std::string& message);

// Runs a user action (a click, a choice) and hands any error it raises to the
// error report, so that no error ever unwinds through the window system.
template <typename Action>
void RunGuarded(Action&& action) {
  try {
    action();
  } catch (const std::exception& e) {
    ReportError(e.what());
  }
}

// Help context numbers of controls (0: none), and the help system that shows
// a context.
void SetHelpContext(QWidget* control, int context);
int HelpContext(const QWidget* control);
using THelpSystem = std::function<void(int context)>;
void SetHelpSystem(THelpSystem system);
// False when no help system is installed.
bool ShowHelpContext(int context);

// The application's title (the task-bar text): the display name of the Qt
// application.
QString ApplicationTitle();
