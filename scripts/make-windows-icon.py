#!/usr/bin/env python3
"""Writes the Windows programs' icon, packaging/windows/kav_pnb.ico, from the
PNG icons the Linux build draws with the program's own artwork
(build/packaging/icons/NxN/apps/*.png): one PNG image per size, as Windows
reads them since Vista. Run it again when the artwork changes.

    scripts/make-windows-icon.py [Linux build folder, default build]
"""
import glob
import os
import struct
import sys

build = sys.argv[1] if len(sys.argv) > 1 else "build"
images = []
for size in (16, 24, 32, 48, 64, 128, 256):
    (png,) = glob.glob(f"{build}/packaging/icons/{size}x{size}/apps/*.png")
    with open(png, "rb") as f:
        images.append((size, f.read()))

header = struct.pack("<HHH", 0, 1, len(images))
offset = len(header) + 16 * len(images)
entries, data = b"", b""
for size, png in images:
    # A size of 256 is written as 0; 32 bits per pixel.
    entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(png), offset + len(data))
    data += png
out = os.path.join(os.path.dirname(__file__), "..", "packaging", "windows", "kav_pnb.ico")
with open(out, "wb") as f:
    f.write(header + entries + data)
print(os.path.normpath(out))
