// Writes the program icon for the desktop's icon theme:
// <folder>/<N>x<N>/apps/<name>.png for each size. Run by the build.
#include <QDir>
#include <QString>
#include <cstdio>

#include "controls/Artwork.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: kav_icon_export FOLDER NAME\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  const QString name = QString::fromLocal8Bit(argv[2]);
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const QString file = QStringLiteral("%1/%2x%2/apps/%3.png").arg(folder).arg(size).arg(name);
    const QString dir = file.left(file.lastIndexOf('/'));
    if (!QDir().mkpath(dir) || !KavProgramIconImage(size).save(file)) {
      std::fprintf(stderr, "kav_icon_export: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
