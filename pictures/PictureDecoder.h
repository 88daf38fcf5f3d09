#pragma once
// Decodes a catalogue picture: GIF, bitmap and icon with Qt's image readers,
// Windows metafiles with the metafile readers. Raises the decoders' own texts
// for files that are not valid pictures.
#include <QImage>
#include <functional>
#include <string>

// A decoded picture: a raster image, or a metafile kept as its drawing so that
// it is drawn afresh, sharp, at any size, together with the one rendering
// made when it was decoded.
class TPicture {
 public:
  TPicture() = default;
  explicit TPicture(QImage raster) : raster_(std::move(raster)) {}
  TPicture(std::function<QImage(QSize)> drawing, QSize size, QImage rendered)
      : drawing_(std::move(drawing)), renderedAt_(size), rendered_(std::move(rendered)) {}

  bool IsNull() const { return raster_.isNull() && !drawing_; }
  // The picture stretched to `size`: a metafile is played again unless it
  // was rendered at that size. Fails with EKavError "Metafile is not valid"
  // when playing it at `size` costs more than a picture may.
  QImage At(QSize size) const;
  // A raster picture as it is.
  const QImage& Raster() const { return raster_; }

 private:
  QImage raster_;
  std::function<QImage(QSize)> drawing_;
  QSize renderedAt_;
  QImage rendered_;
};

// Fails with EKavError: "Unknown GIF version", "GIF encoded data is corrupt",
// "Bitmap image is not valid", "Icon image is not valid", "Metafile is not
// valid", or "Unknown picture file extension (.<ext>)". A metafile is played
// here once, at `shownAt` (a small size when empty), so that a damaged one
// fails as the other pictures do and a box of that size shows it at once.
TPicture DecodePicture(const std::string& path, QSize shownAt = QSize());
