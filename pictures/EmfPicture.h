#pragma once
// Windows enhanced metafiles drawn with QPainter.
#include <QImage>
#include <QSize>
#include <string>

// The metafile drawn antialiased on white into an RGB32 image of `size`
// pixels, or of its own size when `size` is empty; never more than 4096
// pixels a side, the shape kept. Fails with EKavError "Metafile is not valid".
QImage RenderEnhancedMetafile(const std::string& bytes, QSize size);
