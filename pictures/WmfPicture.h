#pragma once
// Windows metafiles (WMF) drawn with QPainter: libwmf plays the records, and
// a device layer of ours draws each shape, so the picture keeps its vector
// quality at any size.
#include <QByteArray>
#include <QRectF>
#include <QSize>

class QPainter;

// The picture's own size in pixels at 96 dots per inch. Both functions fail
// with EKavError "Metafile is not valid" for a damaged or truncated file.
QSize WindowsMetafileSize(const QByteArray& bytes);

// Draws the metafile's frame (or, without a placeable header, what it draws)
// stretched onto `target`.
void DrawWindowsMetafile(const QByteArray& bytes, QPainter& painter, const QRectF& target);
