#pragma once
// Windows metafiles (WMF) drawn with QPainter, keeping their vector quality
// at any size.
#include <QImage>
#include <QSize>
#include <string>

// The metafile's frame (or, without a placeable header, what it draws) drawn
// antialiased on white into an RGB32 image of `size` pixels, or of its own
// size at 96 dots per inch when `size` is empty; never more than 4096 pixels
// a side, the shape kept. Fails with EKavError "Metafile is not valid".
QImage RenderWindowsMetafile(const std::string& bytes, QSize size);
