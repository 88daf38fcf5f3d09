#pragma once
// Decodes a catalogue picture (GIF, bitmap, icon) with Qt's image readers,
// raising the decoders' own texts for files that are not valid pictures.
#include <QImage>
#include <string>

// Fails with EKavError: "Unknown GIF version", "GIF encoded data is corrupt",
// "Bitmap image is not valid", "Icon image is not valid", a clear message for
// Windows metafiles (which this system cannot show), or
// "Unknown picture file extension (.<ext>)".
QImage DecodePicture(const std::string& path);
