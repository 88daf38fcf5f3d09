#include "app/QtClipboard.h"

#include <QApplication>
#include <QClipboard>

#include "platform/AnsiQString.h"

void TQtClipboard::Clear() {
  QApplication::clipboard()->clear();
}

void TQtClipboard::SetText(const std::string& bytes) {
  QApplication::clipboard()->setText(FromAnsi(bytes));
}
