#include "pictures/PictureDecoder.h"

#include <QFile>
#include <QImageReader>

#include "pictures/EmfPicture.h"
#include "pictures/WmfPicture.h"
#include "platform/AnsiText.h"
#include "platform/Error.h"
#include "platform/PathResolver.h"

namespace {

[[noreturn]] void CannotOpen(const std::string& path, const QString& reason) {
  throw EKavError("Cannot open file \"" + path + "\". " + reason.toLocal8Bit().toStdString());
}

QImage Read(const std::string& path, const char* format, const char* invalid) {
  QImageReader reader(QString::fromLocal8Bit(path.c_str()), format);
  reader.setDecideFormatFromContent(false);
  QImage image = reader.read();
  if (image.isNull()) {
    if (reader.error() == QImageReader::FileNotFoundError) CannotOpen(path, reader.errorString());
    throw EKavError(invalid);
  }
  return image;
}

QByteArray ReadWhole(const std::string& path) {
  QFile file(QString::fromLocal8Bit(path.c_str()));
  if (!file.open(QIODevice::ReadOnly)) CannotOpen(path, file.errorString());
  return file.readAll();
}

// A metafile is kept as its drawing, played once here at the size it is
// shown (small without one) so that a damaged one fails at loading as the
// other decoders do.
TPicture Drawing(std::function<QImage(QSize)> draw, QSize shownAt) {
  if (shownAt.isEmpty()) shownAt = QSize(32, 32);
  QImage rendered = draw(shownAt);
  return TPicture(std::move(draw), shownAt, std::move(rendered));
}

TPicture DecodeWmf(const std::string& path, QSize shownAt) {
  const std::string bytes = ReadWhole(path).toStdString();
  return Drawing([bytes](QSize size) { return RenderWindowsMetafile(bytes, size); }, shownAt);
}

TPicture DecodeEmf(const std::string& path, QSize shownAt) {
  const std::string bytes = ReadWhole(path).toStdString();
  return Drawing([bytes](QSize size) { return RenderEnhancedMetafile(bytes, size); }, shownAt);
}

}  // namespace

QImage TPicture::At(QSize size) const {
  if (drawing_) return size == renderedAt_ ? rendered_ : drawing_(size);
  return raster_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

TPicture DecodePicture(const std::string& path, QSize shownAt) {
  const std::string extension = FileExtension(path);
  if (ansi::SameText(extension, "gif")) {
    QFile file(QString::fromLocal8Bit(path.c_str()));
    if (!file.open(QIODevice::ReadOnly)) CannotOpen(path, file.errorString());
    const QByteArray signature = file.read(6);
    if (signature != "GIF87a" && signature != "GIF89a") throw EKavError("Unknown GIF version");
    return TPicture(Read(path, "gif", "GIF encoded data is corrupt"));
  }
  if (ansi::SameText(extension, "bmp"))
    return TPicture(Read(path, "bmp", "Bitmap image is not valid"));
  if (ansi::SameText(extension, "ico"))
    return TPicture(Read(path, "ico", "Icon image is not valid"));
  if (ansi::SameText(extension, "wmf")) return DecodeWmf(path, shownAt);
  if (ansi::SameText(extension, "emf")) return DecodeEmf(path, shownAt);
  throw EKavError("Unknown picture file extension (." + extension + ")");
}
