#include "app/DesktopShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QString>
#include <QUrl>

bool TDesktopShell::Open(const std::string& target) {
  const QString text = QString::fromLocal8Bit(target);
  const bool address = text.contains(QLatin1String("://")) ||
                       text.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive);
  const QUrl url = address ? QUrl(text) : QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
  return QDesktopServices::openUrl(url);
}
