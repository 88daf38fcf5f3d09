#pragma once
// The metafile canvas drawn with QPainter, into the image both kinds of
// metafile are rendered to.
#include <QImage>
#include <QSize>
#include <functional>

#include "pictures/EmfCanvas.h"

// `play` draws antialiased on white into an RGB32 image of `size` pixels, or
// of `naturalSize()` when `size` is empty; never more than 4096 pixels a
// side, the shape kept.
QImage RenderMetafile(QSize size, const std::function<TEmfBounds()>& naturalSize,
                      const std::function<void(int, int, TEmfCanvas&)>& play);
