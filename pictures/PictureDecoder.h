#pragma once
// Decodes a catalogue picture: GIF, bitmap and icon with Qt's image readers,
// Windows metafiles with the metafile readers. Raises the decoders' own texts
// for files that are not valid pictures.
#include <QImage>
#include <functional>
#include <string>

// A decoded picture: a raster image, or a metafile kept as its drawing so that
// it is drawn afresh, sharp, at any size.
class TPicture {
 public:
  TPicture() = default;
  explicit TPicture(QImage raster) : raster_(std::move(raster)) {}
  explicit TPicture(std::function<QImage(QSize)> drawing) : drawing_(std::move(drawing)) {}

  bool IsNull() const { return raster_.isNull() && !drawing_; }
  // The picture stretched to `size`.
  QImage At(QSize size) const;
  // A raster picture as it is.
  const QImage& Raster() const { return raster_; }

 private:
  QImage raster_;
  std::function<QImage(QSize)> drawing_;
};

// Fails with EKavError: "Unknown GIF version", "GIF encoded data is corrupt",
// "Bitmap image is not valid", "Icon image is not valid", "Metafile is not
// valid", or "Unknown picture file extension (.<ext>)".
TPicture DecodePicture(const std::string& path);
