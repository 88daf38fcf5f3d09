#include "app/QtClipboard.h"

#include <QApplication>
#include <QClipboard>

#include "platform/QString1252.h"

void TQtClipboard::Clear() {
  QApplication::clipboard()->clear();
}

void TQtClipboard::SetText(const std::string& bytes) {
  QApplication::clipboard()->setText(FromAnsi(bytes));
}
