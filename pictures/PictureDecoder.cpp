#include "pictures/PictureDecoder.h"

#include <QBuffer>
#include <QImageReader>
#include <cerrno>
#include <cstring>

#include "pictures/EmfPicture.h"
#include "pictures/WmfPicture.h"
#include "platform/Error.h"
#include "platform/NativeFile.h"
#include "platform/PathResolver.h"
#include "platform/SafeFileWrite.h"
#include "platform/Text1252.h"

namespace {

// The file's bytes, opened through the core's own file calls: the name is
// the loader's bytes as they are (on Windows turned into UTF-16 the core's
// way), so a Windows-1252 name is never re-read through Qt's idea of the
// local 8-bit encoding and missed.
QByteArray ReadWhole(const std::string& path) {
  struct TOpenFile {
    int fd;
    ~TOpenFile() {
      if (fd >= 0) native::Close(fd);
    }
  } file{native::OpenForReading(path)};
  if (file.fd < 0) file_util::Fail("open", path, std::strerror(errno));
  QByteArray bytes;
  const long long size = native::RegularFileSize(file.fd);
  if (size > 0) bytes.reserve(static_cast<qsizetype>(size));
  char buffer[65536];
  for (;;) {
    const long long n = native::Read(file.fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) file_util::Fail("read", path, std::strerror(errno));
    if (n == 0) return bytes;
    bytes.append(buffer, static_cast<qsizetype>(n));
  }
}

QImage Read(QByteArray bytes, const char* format, const char* invalid) {
  QBuffer buffer(&bytes);
  QImageReader reader(&buffer, format);
  reader.setAutoDetectImageFormat(false);  // read as its name says, whatever its bytes look like
  QImage image = reader.read();
  if (image.isNull()) throw EKavError(invalid);
  return image;
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
    QByteArray bytes = ReadWhole(path);
    if (!bytes.startsWith("GIF87a") && !bytes.startsWith("GIF89a"))
      throw EKavError("Unknown GIF version");
    return TPicture(Read(std::move(bytes), "gif", "GIF encoded data is corrupt"));
  }
  if (ansi::SameText(extension, "bmp"))
    return TPicture(Read(ReadWhole(path), "bmp", "Bitmap image is not valid"));
  if (ansi::SameText(extension, "ico"))
    return TPicture(Read(ReadWhole(path), "ico", "Icon image is not valid"));
  if (ansi::SameText(extension, "wmf")) return DecodeWmf(path, shownAt);
  if (ansi::SameText(extension, "emf")) return DecodeEmf(path, shownAt);
  throw EKavError("Unknown picture file extension (." + extension + ")");
}
