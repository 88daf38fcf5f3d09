#include "pictures/PictureDecoder.h"

#include <QFile>
#include <QImageReader>

#include "platform/AnsiText.h"
#include "platform/Error.h"
#include "platform/PathResolver.h"

namespace {

QImage Read(const std::string& path, const char* format, const char* invalid) {
  QImageReader reader(QString::fromLocal8Bit(path.c_str()), format);
  reader.setDecideFormatFromContent(false);
  QImage image = reader.read();
  if (image.isNull()) {
    if (reader.error() == QImageReader::FileNotFoundError)
      throw EKavError("Cannot open file \"" + path + "\". " +
                      reader.errorString().toLocal8Bit().toStdString());
    throw EKavError(invalid);
  }
  return image;
}

}  // namespace

QImage DecodePicture(const std::string& path) {
  const std::string extension = FileExtension(path);
  if (ansi::SameText(extension, "gif")) {
    QFile file(QString::fromLocal8Bit(path.c_str()));
    if (!file.open(QIODevice::ReadOnly))
      throw EKavError("Cannot open file \"" + path + "\". " +
                      file.errorString().toLocal8Bit().toStdString());
    const QByteArray signature = file.read(6);
    if (signature != "GIF87a" && signature != "GIF89a") throw EKavError("Unknown GIF version");
    return Read(path, "gif", "GIF encoded data is corrupt");
  }
  if (ansi::SameText(extension, "bmp")) return Read(path, "bmp", "Bitmap image is not valid");
  if (ansi::SameText(extension, "ico")) return Read(path, "ico", "Icon image is not valid");
  if (ansi::SameText(extension, "wmf") || ansi::SameText(extension, "emf"))
    throw EKavError("Cannot show the picture " + path +
                    ": Windows metafiles cannot be shown on this system");
  throw EKavError("Unknown picture file extension (." + extension + ")");
}
