#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets from the demo catalogue.

    python3 tests/fuzz/make_corpus.py

Seeds are laid out the way each target takes its input apart, so that each one
starts as a meaningful case (a demo file opened with the program's own
settings, a demo line split, a typed part-number pattern, a job file). Inputs
named regression-* reproduce faults that were found and fixed: those made here
are rebuilt the same way, the others are kept as libFuzzer saved them.

The targets read settings with FuzzedDataProvider: numbers are taken from the
end of the input, one byte for a small range and the last byte first, and
texts from the front, a text ending at a backslash followed by another byte.
"""
import pathlib
import struct

ROOT = pathlib.Path(__file__).resolve().parents[2]
DEMO = ROOT / "demo"
CORPUS = ROOT / "tests" / "fuzz" / "corpus"


def demo(path, max_bytes=None, max_lines=None):
    data = (DEMO / path).read_bytes()
    if max_lines is not None:
        data = b"".join(data.splitlines(keepends=True)[:max_lines])
    if max_bytes is not None:
        data = data[:max_bytes]
    return data


def text(s):
    """A text as ConsumeRandomLengthString reads it back."""
    return s.replace(b"\\", b"\\\\") + b"\\x"


def tail(*numbers):
    """Numbers in the order the target takes them, each a tuple (value, bytes)."""
    out = b""
    for value, width in numbers:
        out += value.to_bytes(width, "big")  # the first byte taken is the last of the input
    return out[::-1]


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


DELIMITERS = {b"|": 0, b",": 3, b"||": 4, b"|x": 5, b"": 6}
OPTIONS = {"default": 0, "delimited": 1, "partial": 2}


def flatfile(name, data, filters=(), option="default", single=False, skip=0,
             default_names=False, delimiter=b"|", chunk=16, filtered=None):
    """fuzz_flatfile: settings, raw filter texts, the file, then how each filter is made."""
    if filtered is None:
        filtered = bool(filters)
    front = b"".join(text(n) + text(v) for n, v in filters) + data
    numbers = [(int(filtered), 1), (OPTIONS[option], 1), (int(single), 1),
               (0 if default_names else 1, 1), (skip + 1, 1), (DELIMITERS[delimiter], 1),
               (len(filters), 1), (chunk - 1, 1), (len(data), 2)]
    for _ in filters:
        numbers += [(0, 1), (0, 1), (1, 1)]  # raw name, raw value, set by name
    write("fuzz_flatfile", name, front + tail(*numbers))


def splittext(name, delimiter, line, order=b""):
    """fuzz_splittext: delimiter length and read order in one byte, then the texts."""
    write("fuzz_splittext", name, bytes([len(delimiter) + 4 * len(order)]) + delimiter + order + line)


def wildcard(name, pattern, text_):
    """fuzz_wildcard: pattern length, pattern, text."""
    write("fuzz_wildcard", name, bytes([len(pattern)]) + pattern + text_)


def ini(name, data, options=0, buffer_choice=0):
    """fuzz_ini: the file, then the buffer size choice, the loading options, no changes."""
    write("fuzz_ini", name, data + tail((len(data), 2), (buffer_choice, 1), (options, 1), (0, 1)))


def picture(name, data, filters=(), image_index=1, index_folder=0, index_file=0,
            picture_folder=0, picture_file=0):
    """fuzz_picture_index: where the files are, raw filter texts, the index file."""
    front = b"".join(text(n) + text(v) for n, v in filters) + data
    numbers = [(index_folder, 1), (index_file, 1), (picture_folder, 1), (picture_file, 1),
               (image_index + 1, 1), (len(filters), 1), (len(data), 2)]
    for _ in filters:
        numbers += [(0, 1), (1, 1)]  # the raw value, set by name
    write("fuzz_picture_index", name, front + tail(*numbers))


def main():
    # Tables as the program opens them.
    flatfile("freq", demo("data/MWFreq.dat"))
    flatfile("types-by-freq", demo("data/MWAntTypes.dat"), [(b"Freq", b"6 GHz")])
    flatfile("flange-suffix", demo("data/flng_list.dat"),
             [(b"AntennaGroup", b"G5"), (b"Flange", b"pdr70")], "delimited", single=True)
    flatfile("radomes", demo("data/radome_List.dat"),
             [(b"Antenna_Type", b"Standard"), (b"Antenna_Size", b"4")], "delimited")
    flatfile("packing", demo("data/pack_list.dat"),
             [(b"Antenna_Size", b"2"), (b"Antenna_Group", b"G1")], "delimited")
    flatfile("radome-picture", demo("data/radome_img.dat"),
             [(b"AntennaGroup", b"G2"), (b"Suffix", b"S")], "delimited", single=True)
    flatfile("pricing", demo("common/M_LOM.dat", max_lines=30), [(b"PartNo", b"OSD6-6")],
             single=True, skip=1)
    flatfile("antennas-prefix", demo("common/MWAnts.dat", max_bytes=3500), [(b"PartNum", b"OSD*")],
             "partial", skip=1)
    flatfile("antennas-freq-type", demo("common/MWAnts.dat", max_bytes=3000),
             [(b"Freq", b"6 GHz"), (b"Type", b"Standard")], skip=1)
    flatfile("flange-pictures-numbered", demo("data/flng_img.dat"), default_names=True)
    flatfile("odd-lines", b"A|B|C\r# comment\r\n one|two\n\n;x|y|z\r\r\n[a]|b|c\n  | |\x00tail|after|nul",
             [(b" B ", b" two ")])
    flatfile("duplicate-columns", b"Name|name|Other\r\nx|y|z\r\n")
    flatfile("double-delimiter", b"A||B||C\r\n1||2||3\r\n1|2||3\r\n", [(b"B", b"2")], delimiter=b"||")
    flatfile("short-line-filter", b"A|B\r\n1|2\r\n3\r\n", [(b"B", b"2")], skip=1)

    # Lines split into cells.
    splittext("antenna-line", b"|", demo("common/MWAnts.dat").splitlines()[2], b"\x1c\x03\x09")
    splittext("header", b"|", demo("common/MWAnts.dat").splitlines()[0])
    splittext("group-list", b",", b"G1, G2, G3, G4", b"\x02")
    splittext("flange-list", b",", b"CPR137G, PDR70 ,\tPDR84,", b"\x05\x01")
    splittext("blanks-and-controls", b"|", b" \t a \x01|\x1f b\x7f | |\xa0c\xa0|  ")
    splittext("long-cells", b"|", b"x" * 40 + b"|" + b"y" * 20 + b"||" + b"z" * 70, b"\x03\x00")
    splittext("two-byte-delimiter", b"||", b"a|||b||c|||", b"\x04")
    splittext("no-delimiter", b"", b" whole text | stays one ")

    # Patterns typed into the part-number query, and odd ones.
    wildcard("prefix", b"OSD*", b"OSD4-6")
    wildcard("prefix-other-case", b"osd*", b"OSD4-6")
    wildcard("question", b"OHR?-38", b"OHR2-38")
    wildcard("range-set", b"[A-C]1", b"B1")
    wildcard("negated-set", b"[^A-C]*", b"D1")
    wildcard("stars", b"O*D*-1?", b"OSD12-11")
    wildcard("long-text", b"*Standard*G3*", demo("common/MWAnts.dat").splitlines()[2][:200])
    wildcard("bracket-at-end", b"OSD[", b"OSD[")
    wildcard("range-to-bracket", b"[x-]]a", b"]a")
    wildcard("empty-pattern", b"", b"")
    wildcard("high-bytes", b"[\x80-\xff]*\xe9", b"\xc9t\xe9")

    # INI files: the job file, the registry stand-in, and the loading options.
    job = (b"[HEADER]\r\nCompany Name=\r\nAuthor=\r\nDate=\r\nJob Number=\r\nProposal Number=\r\n"
           b"File Name=\r\nFile Path=\r\n\r\n[SITE 001 LOM]\r\nSite Name=\r\nSite Number=1\r\n"
           b"Ship to City=\r\nShip to State/Province=\r\nShip to Country=\r\n"
           b"1=1|each|OSD4-6|OSD4-6-CS1|4 ft Standard Antenna, 6 GHz, CPR137G flange, "
           b"Standard white radome, Standard carton|1815|\r\n\r\n")
    ini("job-file", job)
    ini("registry", b"[Common Files]\r\nPath=/srv/catalogue/common\r\n\r\n[KAVRPE]\r\nPath=C:\\RPE\r\n")
    ini("duplicate-sections", b"[A]\nx=1\n[b]\ny=2\n[a]\nx=3\nz=4\n[B]\n", options=32 | 128)
    ini("trim-and-quotes", b"[S]\r\n k \t= \"v\" \r\nq='a'\r\nnoequals\r\n;comment=1\r\n\x1a\r\n",
        options=1 | 2 | 4 | 8 | 16)
    ini("header-after-trim", b"[S]\r\n[T] \r\n=\"[U]\"\r\nk=x= '\r\n", options=4 | 8 | 16, buffer_choice=2)
    ini("long-line", b"[S]\r\nk=" + b"v" * 300 + b"\r\n[" + b"n" * 260 + b"]\r\n", buffer_choice=3)
    ini("numbers", b"[N]\r\na=0x1A\r\nb=$ff\r\nc=-2147483648\r\nd=1.5e3\r\ne=2024-02-29 13:05\r\n")

    # Picture-index files as the flange pictures use them.
    picture("flange", demo("data/flng_img.dat"), [(b"Flange", b"PDR70")])
    picture("flange-found", b"PDR70 | a.gif\r\nUDR70|d.GIF\r\n", [(b"Flange", b"UDR70")])
    picture("two-filters", demo("data/radome_img.dat"), [(b"AntennaGroup", b"G1, G2, G3"),
                                                        (b"Suffix", b"S")], image_index=2)
    # A line too short for the filters fails even when its first cell differs.
    picture("regression-short-line-before-match", b"x\r\nPDR70|a.gif\r\n",
            [(b"A", b"PDR70"), (b"B", b"a.gif")])
    picture("no-filters", b"first|b.bmp|c.png\r\n", image_index=2)
    picture("no-index-file", b"", index_folder=4, picture_file=1)

    # Metafiles with each kind of record the player draws.
    emf_seeds()
    wmf_seeds()


def emr(kind, *words, data=b""):
    """A metafile record: 32-bit words, then bytes padded to whole words."""
    body = b"".join(struct.pack("<I", w & 0xFFFFFFFF) for w in words) + data
    body += b"\0" * (-len(body) % 4)
    return struct.pack("<II", kind, 8 + len(body)) + body


def rgb(r, g, b):
    return r | g << 8 | b << 16


def emf(name, width, height, *records):
    """fuzz_emf: a whole metafile, its bounds width x height pixels of a 96 dpi device."""
    body = b"".join(records) + emr(14, 0, 16, 20)  # EOF: no palette, its own size last
    header = struct.pack("<II4i4iIIIIHHIII2i2iIII2i", 1, 108, 0, 0, width - 1, height - 1,
                         0, 0, width * 2540 // 96, height * 2540 // 96, 0x464D4520, 0x10000,
                         108 + len(body), 2 + len(records), 8, 0, 0, 0, 0, 960, 960, 254, 254,
                         0, 0, 0, 254000, 254000)
    write("fuzz_emf", name, header + body)


def select(handle):
    return emr(37, handle)


def poly16(kind, points):
    return emr(kind, 0, 0, -1, -1, len(points),
               data=b"".join(struct.pack("<hh", x, y) for x, y in points))


def poly32(kind, points):
    return emr(kind, 0, 0, -1, -1, len(points), *[v for p in points for v in p])


def polypoly16(kind, runs):
    points = [p for run in runs for p in run]
    return emr(kind, 0, 0, -1, -1, len(runs), len(points), *[len(r) for r in runs],
               data=b"".join(struct.pack("<hh", x, y) for x, y in points))


def font(handle, height, face, escapement=0, weight=400, italic=0):
    name = face.encode("utf-16-le").ljust(64, b"\0")
    logfont = struct.pack("<5i8B", height, 0, escapement, escapement, weight, italic, 0, 0, 0,
                          0, 0, 0, 0) + name
    return emr(82, handle, data=logfont)


def text_w(x, y, text, options=0, rect=(0, 0, 0, 0)):
    string = text.encode("utf-16-le")
    n = len(string) // 2
    string += b"\0" * (-len(string) % 4)
    return emr(84, 0, 0, -1, -1, 1, 0, 0, x, y, n, 76, options, *rect, 76 + len(string),
               data=string + struct.pack("<%dI" % n, *([12] * n)))


def text_a(x, y, text):
    string = text + b"\0" * (-len(text) % 4)
    return emr(83, 0, 0, -1, -1, 1, 0, 0, x, y, len(text), 60, 0x100, 60 + len(string),
               data=string + struct.pack("<%dI" % len(text), *([12] * len(text))))


def dib(bits, width, height, palette, pixels):
    """BITMAPINFO and the bits of a bitmap, rows already padded."""
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 0, 0,
                       len(palette), 0) + b"".join(struct.pack("<I", c) for c in palette)
    return info, pixels


def stretch_dibits(x, y, w, h, bitmap, sw, sh):
    info, pixels = bitmap
    return emr(81, 0, 0, -1, -1, x, y, 0, 0, sw, sh, 80, len(info), 80 + len(info), len(pixels),
               0, 0x00CC0020, w, h, data=info + pixels)


def blt(kind, x, y, w, h, rop, bitmap=None, src=(0, 0)):
    info, pixels = bitmap if bitmap else (b"", b"")
    fixed = 100 if kind == 76 else 108
    words = [0, 0, -1, -1, x, y, w, h, rop, 0, 0, 0x3F800000, 0, 0, 0x3F800000, 0, 0,
             rgb(255, 255, 255), 0, fixed if info else 0, len(info),
             fixed + len(info) if info else 0, len(pixels)]
    if kind == 77:
        words += list(src)
    return emr(kind, *words, data=info + pixels)


def emf_seeds():
    pen, brush, hatch, wide = 1, 2, 3, 4
    emf("shapes", 120, 90,
        emr(38, pen, 0, 2, 0, rgb(0, 0, 255)), select(pen),
        emr(39, brush, 0, rgb(255, 0, 0), 0), select(brush),
        emr(43, 10, 10, 50, 40), emr(44, 60, 10, 110, 40, 12, 8), emr(42, 10, 45, 50, 85),
        emr(45, 60, 45, 110, 85, 110, 65, 60, 65), emr(46, 60, 45, 110, 85, 85, 45, 85, 85),
        emr(47, 60, 45, 110, 85, 60, 45, 110, 45),
        emr(27, 0, 0), emr(54, 119, 89),
        poly16(87, [(5, 5), (60, 80), (115, 5)]), poly32(3, [(20, 20), (40, 70), (70, 30)]),
        poly16(85, [(0, 0), (30, 90), (90, 0), (120, 90)]),
        polypoly16(91, [[(0, 0), (40, 0), (40, 40)], [(10, 5), (30, 5), (30, 30), (10, 30)]]),
        select(0x80000008), select(0x80000004), emr(43, 0, 0, 5, 5), emr(40, pen), emr(40, brush))
    emf("mapping", 100, 100,
        emr(17, 8), emr(10, -500, -500), emr(9, 1000, 1000), emr(12, 0, 0), emr(11, 100, 100),
        emr(39, brush, 0, rgb(0, 128, 0), 0), select(brush), emr(43, 0, 0, 500, 500),
        emr(33), emr(17, 3), emr(27, 100, -100), poly16(89, [(1000, -1000), (2000, -500)]),
        poly32(5, [(2500, -500), (2500, -2000), (500, -2500)]), emr(34, -1),
        emr(17, 7), emr(9, 200, 100), emr(43, -400, -400, -100, -100), emr(34, 1),
        emr(17, 1), emr(19, 2), polypoly16(91, [[(0, 0), (90, 0), (45, 90)], [(0, 60), (90, 60), (45, -30)]]))
    emf("text", 200, 60,
        font(1, -16, "Arial", weight=700), select(1), emr(24, rgb(0, 0, 128)), emr(25, rgb(255, 255, 0)),
        emr(18, 2), text_w(5, 5, "Part 4\u00e9\u20ac", options=2, rect=(4, 4, 120, 24)),
        emr(22, 0x18 | 0x06), emr(18, 1), font(2, 20, "Courier New", escapement=900, italic=1),
        select(2), text_w(150, 50, "Up"), emr(22, 0x01), emr(27, 10, 40), text_a(0, 0, b"ANSI \x80\xe9"),
        select(0x8000000D), text_w(100, 40, "\U0001F600"))
    one_bit = dib(1, 8, 2, [rgb(0, 0, 0), rgb(255, 255, 255)], b"\xA5\0\0\0\x5A\0\0\0")
    eight_bit = dib(8, 3, -2, [rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255)],
                    b"\0\1\2\0\2\1\0\0")
    rgb24 = dib(24, 2, 2, [], b"\0\0\xff\0\xff\0\0\0\xff\0\0\xff\xff\xff\0\0")
    rgb32 = dib(32, 2, 1, [], b"\x10\x20\x30\xff\x40\x50\x60\0")
    four_bit = dib(4, 3, 1, [rgb(9, 9, 9)] * 16, b"\x01\x23\0\0")
    sixteen = dib(16, 2, 1, [], b"\x1f\x00\xe0\x7f")
    emf("bitmaps", 100, 100,
        stretch_dibits(0, 0, 40, 20, one_bit, 8, 2), stretch_dibits(50, 0, 30, 20, eight_bit, 3, 2),
        stretch_dibits(0, 30, 20, 20, rgb24, 2, 2), stretch_dibits(30, 30, 20, 10, rgb32, 2, 1),
        stretch_dibits(60, 30, 30, 10, four_bit, 3, 1), stretch_dibits(60, 45, 20, 10, sixteen, 2, 1),
        emr(39, brush, 0, rgb(0, 0, 255), 0), select(brush),
        blt(76, 0, 60, 20, 20, 0x00F00021), blt(76, 25, 60, 20, 20, 0x42),
        blt(76, 50, 60, 2, 2, 0x00CC0020, rgb24), blt(77, 60, 60, 30, 30, 0x00CC0020, rgb24, (2, 2)))
    emf("pens-and-hatches", 100, 100,
        emr(95, wide, 0, 0, 0, 0, 0x00010000 | 0x200 | 0x1000, 6, 0, rgb(200, 0, 0), 0, 0), select(wide),
        emr(95, pen, 0, 0, 0, 0, 3, 1, 0, rgb(0, 0, 0), 0, 0),
        emr(39, hatch, 2, rgb(0, 0, 255), 5), select(hatch), emr(18, 2), emr(25, rgb(200, 255, 200)),
        emr(43, 10, 10, 90, 90), select(pen),
        emr(7, 0, 0, -1, -1, 2, 5, 2, 3, 0, 0, 99, 99, 0, 99, 99, 0, 50, 50),
        emr(39, brush, 2, rgb(0, 0, 0), 9), select(brush), emr(42, 30, 30, 70, 70),
        emr(38, 5, 1, 0, 0, rgb(0, 128, 0)), select(5), emr(8, 0, 0, -1, -1, 1, 3, 3, 5, 5, 95, 5, 50, 95))



def wmr(function, *words, data=b""):
    """A Windows metafile record: 16-bit words, then bytes padded to whole words."""
    body = b"".join(struct.pack("<H", w & 0xFFFF) for w in words) + data
    body += b"\0" * (len(body) % 2)
    return struct.pack("<IH", 3 + len(body) // 2, function) + body


def wmf(name, records, frame=None):
    """fuzz_wmf: a whole metafile, placeable with frame (l, t, r, b) at 1440 an inch."""
    body = b"".join(records) + wmr(0)
    header = struct.pack("<HHHIHIH", 1, 9, 0x0300, 9 + len(body) // 2, 4, 200, 0)
    placeable = b""
    if frame is not None:
        placeable = struct.pack("<IH4hHI", 0x9AC6CDD7, 0, *frame, 1440, 0)
        checksum = 0
        for (word,) in struct.iter_unpack("<H", placeable):
            checksum ^= word
        placeable += struct.pack("<H", checksum)
    write("fuzz_wmf", name, placeable + header + body)


def wmf_dib(width, height, palette, pixels):
    """A 4-bit bottom-up bitmap: its header, palette and rows."""
    stride = (width * 4 + 31) // 32 * 4
    rows = b""
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            row[x // 2] |= pixels[y * width + x] << (4 if x % 2 == 0 else 0)
        rows += bytes(row)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(rows), 0, 0, 16, 0)
    quads = b"".join(struct.pack("<BBBB", c & 0xFF, c >> 8 & 0xFF, c >> 16, 0) for c in palette)
    return header + quads.ljust(64, b"\0") + rows


def wmf_seeds():
    write("fuzz_wmf", "demo-flange", demo("Images/flg_cpr112g.wmf"))
    window = [wmr(0x0103, 8), wmr(0x020B, 0, 0), wmr(0x020C, 100, 100)]
    pens = [wmr(0x02FA, 1, 3, 0, 0x00FF, 0x0000), wmr(0x02FC, 2, 0x00FF, 0x0000, 3),
            wmr(0x012D, 0), wmr(0x012D, 1)]
    wmf("shapes", window + pens + [
        wmr(0x0106, 2),                                   # winding fill
        wmr(0x041B, 40, 40, 10, 10),                      # rectangle (b, r, t, l)
        wmr(0x061C, 10, 10, 90, 90, 50, 50),              # round rectangle
        wmr(0x0418, 95, 45, 60, 5),                       # ellipse
        wmr(0x0817, 60, 90, 60, 60, 95, 95, 60, 60),      # arc
        wmr(0x0830, 10, 90, 30, 60, 40, 95, 5, 60),       # chord
        wmr(0x081A, 70, 0, 70, 40, 95, 40, 60, 0),        # pie
        wmr(0x0324, 3, 0, 0, 20, 0, 10, 20),              # polygon
        wmr(0x0325, 3, 0, 99, 50, 70, 99, 99),            # polyline
        wmr(0x0538, 2, 4, 3, 0, 0, 30, 0, 30, 30, 0, 30, 5, 5, 25, 5, 15, 25),  # polypolygon
        wmr(0x0214, 5, 5), wmr(0x0213, 95, 95),           # move, line
        wmr(0x041F, 0x00FF, 0x0000, 50, 50),              # pixel
        wmr(0x061D, 0x0021, 0x00F0, 10, 10, 80, 80),      # pattern fill
    ], frame=(0, 0, 100, 100))
    face = b"Arial".ljust(32, b"\0")
    wmf("text", window + [
        wmr(0x02FB, -12, 0, 450, 0, 700, 1, 0, data=struct.pack("<6B", 0, 0, 0, 0, 0, 0) + face),
        wmr(0x012D, 0), wmr(0x0209, 0x00FF, 0x0000), wmr(0x0201, 0xFF00, 0x00FF),
        wmr(0x0102, 2), wmr(0x012E, 6),                   # opaque, centred on x
        wmr(0x0521, 5, data=b"Hello" + b"\0" + struct.pack("<hh", 50, 50)),
        wmr(0x0A32, 80, 10, 4, 0, data=b"\xe9t\xe9s"),  # cp1252 text
    ])
    bitmap = wmf_dib(4, 2, [0x000000, 0xFF0000, 0x00FF00, 0x0000FF], [0, 1, 2, 3, 3, 2, 1, 0])
    wmf("bitmap", window + [
        wmr(0x0F43, 0x0020, 0x00CC, 0, 2, 4, 0, 0, 50, 80, 20, 10, data=bitmap),
    ], frame=(0, 0, 100, 100))
    big = 32000
    wmf("huge-shapes-tiny-frame", [
        wmr(0x020B, 0, 0), wmr(0x020C, 1, 1), wmr(0x02FA, 0, 30000, 0, 0xFF, 0),
        wmr(0x02FC, 0, 0xFF00, 0, 0), wmr(0x012D, 0), wmr(0x012D, 1),
        wmr(0x0418, big, big, -big, -big), wmr(0x061C, big, big, big, big, -big, -big),
        wmr(0x081A, 0, big, big, 0, big, big, -big, -big),
        wmr(0x0817, -big, 0, 0, -big, big, big, -big, -big),
        wmr(0x0325, 3, -big, -big, big, 7, -big, big),
    ], frame=(0, 0, 1, 1))
    wmf("regression-rle-bitmaps-claiming-4096-squared", rle_bitmaps_claiming_4096_squared(),
        frame=(0, 0, 100, 100))


def rle_bitmaps_claiming_4096_squared():
    """200 stretched run-length bitmaps of a few bytes each, every one claiming
    4096 x 4096 pixels: 15 KB of file that asked for minutes of decoding."""
    side = 4096
    runs = bytes([255, 1, 0, 0, 0, 1])  # a run of 255, end of line, end of bitmap
    header = struct.pack("<IiiHHIIiiII", 40, side, side, 1, 8, 1, len(runs), 0, 0, 1, 0)
    bitmap = header + struct.pack("<BBBB", 0, 0, 255, 0) + runs
    # STRETCHDIB: copy, colours from the palette, the whole bitmap onto the frame.
    stretch = wmr(0x0F43, 0x0020, 0x00CC, 0, side, side, 0, 0, 100, 100, 0, 0, data=bitmap)
    return [stretch] * 200


if __name__ == "__main__":
    main()
