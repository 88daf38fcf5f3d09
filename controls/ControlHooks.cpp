#include "controls/ControlHooks.h"

#include <QApplication>
#include <QMessageBox>
#include <QVariant>
#include <QWidget>

#include "platform/QString1252.h"

namespace {

TErrorReporter& Reporter() {
  static TErrorReporter reporter;
  return reporter;
}

THelpSystem& HelpSystem() {
  static THelpSystem system;
  return system;
}

constexpr const char* kHelpContextProperty = "kavHelpContext";

}  // namespace

void SetErrorReporter(TErrorReporter reporter) {
  Reporter() = std::move(reporter);
}

void ReportError(const std::string& message) {
  if (Reporter()) {
    Reporter()(message);
    return;
  }
  QMessageBox box(QMessageBox::Critical, ApplicationTitle(), FromAnsi(message), QMessageBox::Ok);
  box.exec();
}

void SetHelpContext(QWidget* control, int context) {
  control->setProperty(kHelpContextProperty, context);
}

int HelpContext(const QWidget* control) {
  const QVariant value = control->property(kHelpContextProperty);
  return value.isValid() ? value.toInt() : 0;
}

void SetHelpSystem(THelpSystem system) {
  HelpSystem() = std::move(system);
}

bool ShowHelpContext(int context) {
  if (!HelpSystem()) return false;
  HelpSystem()(context);
  return true;
}

QString ApplicationTitle() {
  return QGuiApplication::applicationDisplayName();
}
