"""Vector drawings for the demo catalogue, written as Windows metafiles.

A Drawing records filled and outlined shapes and text in pixel coordinates
of its own size; wmf_bytes() and emf_bytes() write it as a placeable
Windows metafile and as an enhanced metafile. Coordinates are stored in
tenths of a pixel, so the pictures stay sharp when a picture box stretches
them.
"""

import struct

UNITS = 10          # logical units per pixel
NULL = None         # no pen or no fill


class Drawing:
    def __init__(self, width, height):
        self.w, self.h = width, height
        self.ops = []

    def rect(self, x0, y0, x1, y1, fill, line=NULL, width=1):
        self.ops.append(("rect", fill, line, width, (x0, y0, x1, y1)))

    def ellipse(self, cx, cy, rx, ry, fill, line=NULL, width=1):
        self.ops.append(("ellipse", fill, line, width, (cx - rx, cy - ry, cx + rx, cy + ry)))

    def polygon(self, points, fill, line=NULL, width=1):
        self.ops.append(("polygon", fill, line, width, points))

    def polyline(self, points, line, width=1):
        self.ops.append(("polyline", NULL, line, width, points))

    def text(self, cx, top, s, colour, size):
        self.ops.append(("text", colour, size, s, (cx, top)))


def _u(v):
    return int(round(v * UNITS))


def _colorref(rgb):
    r, g, b = rgb
    return r | (g << 8) | (b << 16)


def _box(ltrb):
    return [_u(v) for v in ltrb]


# ---------------------------------------------------------------------------
# Windows metafile (16-bit records, placeable header)
# ---------------------------------------------------------------------------

def _wmf_record(function, payload=b""):
    if len(payload) % 2:
        payload += b"\0"
    return struct.pack("<IH", 3 + len(payload) // 2, function) + payload


def _wmf_words(function, *words):
    return _wmf_record(function, struct.pack("<%dh" % len(words), *words))


def _wmf_pen(rgb, width):
    style, colour = (5, 0) if rgb is NULL else (0, _colorref(rgb))
    return _wmf_record(0x02FA, struct.pack("<HhhI", style, _u(width), 0, colour))


def _wmf_brush(rgb):
    style, colour = (1, 0) if rgb is NULL else (0, _colorref(rgb))
    return _wmf_record(0x02FC, struct.pack("<HIH", style, colour, 0))


def _wmf_font(size):
    face = b"Arial".ljust(32, b"\0")
    return _wmf_record(0x02FB, struct.pack("<5h8B", -_u(size), 0, 0, 0, 700,
                                           0, 0, 0, 0, 0, 0, 4, 0) + face)


def wmf_bytes(drawing):
    body = [_wmf_words(0x0103, 8),                          # anisotropic mapping
            _wmf_words(0x020B, 0, 0),                       # window origin (y, x)
            _wmf_words(0x020C, _u(drawing.h), _u(drawing.w)),  # window extent (y, x)
            _wmf_words(0x0102, 1)]                          # transparent text
    for op in drawing.ops:
        if op[0] == "text":
            _, colour, size, s, (cx, top) = op
            text = s.encode("cp1252")
            body += [_wmf_font(size), _wmf_words(0x012D, 0),
                     _wmf_record(0x0209, struct.pack("<I", _colorref(colour))),
                     _wmf_words(0x012E, 6),                 # centred on x, top at y
                     _wmf_record(0x0521, struct.pack("<h", len(text)) +
                                 text + b"\0" * (len(text) % 2) +
                                 struct.pack("<hh", _u(top), _u(cx))),
                     _wmf_words(0x01F0, 0)]
            continue
        kind, fill, line, width, shape = op
        body += [_wmf_pen(line, width), _wmf_brush(fill),
                 _wmf_words(0x012D, 0), _wmf_words(0x012D, 1)]
        if kind in ("rect", "ellipse"):
            l, t, r, b = _box(shape)
            body.append(_wmf_words(0x041B if kind == "rect" else 0x0418, b, r, t, l))
        else:
            points = [_u(v) for p in shape for v in p]
            body.append(_wmf_words(0x0324 if kind == "polygon" else 0x0325,
                                   len(shape), *points))
        body += [_wmf_words(0x01F0, 0), _wmf_words(0x01F0, 1)]
    body.append(_wmf_record(0x0000))
    records = b"".join(body)
    longest = max(len(r) for r in body) // 2
    header = struct.pack("<HHHIHIH", 1, 9, 0x0300, 9 + len(records) // 2, 2, longest, 0)
    placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, _u(drawing.w), _u(drawing.h),
                            96 * UNITS, 0)
    checksum = 0
    for (word,) in struct.iter_unpack("<H", placeable):
        checksum ^= word
    return placeable + struct.pack("<H", checksum) + header + records


# ---------------------------------------------------------------------------
# Enhanced metafile (32-bit records)
# ---------------------------------------------------------------------------

def _emf_record(kind, payload=b""):
    payload += b"\0" * (-len(payload) % 4)
    return struct.pack("<II", kind, 8 + len(payload)) + payload


def _emf_ints(kind, *values):
    return _emf_record(kind, struct.pack("<%di" % len(values), *values))


def _emf_font(size):
    face = "Arial".encode("utf-16-le").ljust(64, b"\0")
    return _emf_record(82, struct.pack("<I5i8B", 3, -_u(size), 0, 0, 0, 700,
                                       0, 0, 0, 0, 0, 0, 4, 0) + face)


def _emf_text(cx, top, s, size):
    text = s.encode("utf-16-le")
    advance = _u(size * 0.6)
    at = 8 + 16 + 4 + 8 + 8 + 4 + 4 + 4 + 16 + 4     # the fixed part of the record
    strings = text + b"\0" * (-len(text) % 4)
    bounds = struct.pack("<4i", 0, 0, -1, -1)
    emrtext = struct.pack("<iiIIIiiiiI", _u(cx), _u(top), len(s), at, 0, 0, 0, -1, -1,
                          at + len(strings))
    dx = struct.pack("<%di" % len(s), *([advance] * len(s)))
    return _emf_record(84, bounds + struct.pack("<Iff", 1, 1.0, 1.0) + emrtext + strings + dx)


def emf_bytes(drawing):
    body = [_emf_ints(17, 8),                                 # anisotropic mapping
            _emf_ints(9, _u(drawing.w), _u(drawing.h)),       # window extent
            _emf_ints(10, 0, 0),                              # window origin
            _emf_ints(11, drawing.w, drawing.h),              # viewport extent
            _emf_ints(12, 0, 0),                              # viewport origin
            _emf_ints(18, 1)]                                 # transparent text
    for op in drawing.ops:
        if op[0] == "text":
            _, colour, size, s, (cx, top) = op
            body += [_emf_font(size), _emf_ints(37, 3),
                     _emf_record(24, struct.pack("<I", _colorref(colour))),
                     _emf_ints(22, 6),                        # centred on x, top at y
                     _emf_text(cx, top, s, size), _emf_ints(40, 3)]
            continue
        kind, fill, line, width, shape = op
        pen = (5, 0) if line is NULL else (0, _colorref(line))
        brush = (1, 0) if fill is NULL else (0, _colorref(fill))
        body += [_emf_record(38, struct.pack("<IIiiI", 1, pen[0], _u(width), 0, pen[1])),
                 _emf_record(39, struct.pack("<IIII", 2, brush[0], brush[1], 0)),
                 _emf_ints(37, 1), _emf_ints(37, 2)]
        if kind in ("rect", "ellipse"):
            body.append(_emf_ints(43 if kind == "rect" else 42, *_box(shape)))
        else:
            points = [_u(v) for p in shape for v in p]
            xs, ys = points[0::2], points[1::2]
            body.append(_emf_record(86 if kind == "polygon" else 87,
                                    struct.pack("<4iI", min(xs), min(ys), max(xs), max(ys),
                                                len(shape)) +
                                    struct.pack("<%dh" % len(points), *points)))
        body += [_emf_ints(40, 1), _emf_ints(40, 2)]
    body.append(_emf_record(14, struct.pack("<III", 0, 0, 20)))
    records = b"".join(body)
    w, h = drawing.w, drawing.h
    size = 108
    mm = (w * 2540 // 96, h * 2540 // 96)                     # frame in 0.01 mm at 96 dpi
    header = struct.pack("<II4i4iIIIIHHIIIiiiiIIIII", 1, size, 0, 0, w - 1, h - 1,
                         0, 0, mm[0], mm[1], 0x464D4520, 0x10000,
                         size + len(records), len(body) + 1, 4, 0, 0, 0, 0,
                         1024, 768, 271, 203, 0, 0, 0, 271000, 203000)
    return header + records
