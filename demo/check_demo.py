#!/usr/bin/env python3
"""Checks that the demo catalogue written by make_demo.py hangs together.

    python3 demo/check_demo.py

Reads the files the way the program does (first line names the columns,
MWAnts.dat and M_LOM.dat drop line 2, comma lists match case-blind on trimmed
items) and reports every inconsistency; exits 1 if there is any.  The three
deliberate corner cases listed in make_demo.py must be present, and nothing
else may be out of place.  Every GIF is decoded with a small LZW decoder.
"""

import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)
import make_demo  # noqa: E402  (the corner-case model numbers)

DATA = os.path.join(HERE, "data")
COMMON = os.path.join(HERE, "common")
IMAGES = os.path.join(HERE, "Images")
COMMENT_CHARS = "#*;[^`{~"

problems = []


def problem(text):
    problems.append(text)


def read_lines(path):
    raw = open(path, "rb").read()
    try:
        text = raw.decode("ascii")
    except UnicodeDecodeError:
        problem("%s: not plain ASCII" % path)
        text = raw.decode("latin-1")
    if not text.endswith("\r\n"):
        problem("%s: last line does not end in CR LF" % path)
    lines = text[:-2].split("\r\n") if text.endswith("\r\n") else text.split("\r\n")
    for n, line in enumerate(lines, 1):
        if "\r" in line or "\n" in line:
            problem("%s:%d: bare CR or LF" % (path, n))
    return lines


def split(line):
    return [c.strip() for c in line.split("|")]


def items(cell):
    return [i.strip().lower() for i in cell.split(",")]


def table(folder, name, columns, skip_row=False):
    path = os.path.join(folder, name)
    lines = read_lines(path)
    header = split(lines[0])
    if header != columns:
        problem("%s: header %r, expected %r" % (name, header, columns))
    body = lines[2:] if skip_row else lines[1:]
    rows = []
    for n, line in enumerate(body, 3 if skip_row else 2):
        if line[:1] in COMMENT_CHARS and line:
            problem("%s:%d: data line starts with a comment character" % (name, n))
        cells = split(line)
        if len(cells) != len(columns):
            problem("%s:%d: %d cells, expected %d" % (name, n, len(cells), len(columns)))
            continue
        rows.append(dict(zip(columns, cells)))
    return rows


def is_price(text):
    if not text or text.count(".") > 1 or not text.replace(".", "").isdigit():
        return False
    return True


# --- Pictures ------------------------------------------------------------

def metafile_size(path):
    """The pixel size a metafile declares: a placeable WMF's box at 96 dpi, an
    EMF's bounds. Raises ValueError for a file without the expected header."""
    data = open(path, "rb").read()
    if path.endswith(".wmf"):
        key, _, left, top, right, bottom, inch = struct.unpack_from("<IHhhhhH", data)
        if key != 0x9AC6CDD7 or data[-6:] != b"\x03\0\0\0\0\0":
            raise ValueError("not a placeable metafile ending in an end record")
        return ((right - left) * 96 // inch, (bottom - top) * 96 // inch)
    kind, _, left, top, right, bottom = struct.unpack_from("<II4i", data)
    if kind != 1 or data[40:44] != b" EMF" or struct.unpack_from("<I", data, 48)[0] != len(data):
        raise ValueError("not an enhanced metafile of its declared length")
    return (right - left + 1, bottom - top + 1)


def gif_decode(path):
    """Returns (width, height, pixel count) or raises ValueError."""
    data = open(path, "rb").read()
    if data[:6] != b"GIF89a":
        raise ValueError("not GIF89a")
    w = data[6] | data[7] << 8
    h = data[8] | data[9] << 8
    flags = data[10]
    pos = 13
    if flags & 0x80:
        pos += 3 * (2 << (flags & 7))
    if data[pos] != 0x2C:
        raise ValueError("no image descriptor")
    iw = data[pos + 5] | data[pos + 6] << 8
    ih = data[pos + 7] | data[pos + 8] << 8
    if (iw, ih) != (w, h) or data[pos + 9] != 0:
        raise ValueError("unexpected image descriptor")
    pos += 10
    min_size = data[pos]
    pos += 1
    stream = bytearray()
    while data[pos]:
        stream += data[pos + 1:pos + 1 + data[pos]]
        pos += 1 + data[pos]
    if data[pos + 1:] != b"\x3b":
        raise ValueError("missing trailer")

    clear, end = 1 << min_size, (1 << min_size) + 1
    bitpos = 0
    size = min_size + 1
    table = None
    prev = None
    out = bytearray()

    def reset():
        return [bytes([i]) for i in range(clear)] + [b"", b""]

    while True:
        if bitpos + size > len(stream) * 8:
            raise ValueError("data ends without end code")
        code = 0
        for i in range(size):
            if stream[(bitpos + i) >> 3] >> ((bitpos + i) & 7) & 1:
                code |= 1 << i
        bitpos += size
        if code == clear:
            table, size, prev = reset(), min_size + 1, None
            continue
        if code == end:
            break
        if table is None:
            raise ValueError("no clear code first")
        if prev is None:
            entry = table[code]
        else:
            if code < len(table):
                entry = table[code]
                table.append(prev + entry[:1])
            elif code == len(table):
                entry = prev + prev[:1]
                table.append(entry)
            else:
                raise ValueError("code %d out of range" % code)
            if len(table) == (1 << size) and size < 12:
                size += 1
        out += entry
        prev = entry
    if len(out) != w * h:
        raise ValueError("%d pixels, expected %d" % (len(out), w * h))
    return w, h


def main():
    ants = table(COMMON, "MWAnts.dat", make_demo.ANT_COLUMNS, skip_row=True)
    lom = table(COMMON, "M_LOM.dat", make_demo.LOM_COLUMNS, skip_row=True)
    freqs = table(DATA, "MWFreq.dat", ["Freq"])
    types = table(DATA, "MWAntTypes.dat", ["Freq", "Prefix"])
    flng = table(DATA, "flng_list.dat", ["AntennaGroup", "Flange", "Suffix"])
    radomes = table(DATA, "radome_List.dat",
                    ["Antenna_Type", "Antenna_Size", "Radome_Suffix", "Price_Upgrade", "Radome_Desc"])
    packs = table(DATA, "pack_list.dat",
                  ["Antenna_Size", "Antenna_Group", "DefaultPackSuffix", "Pack_Suffix", "Price",
                   "Pack_Desc"])
    radome_img = table(DATA, "radome_img.dat", ["AntennaGroup", "Suffix", "Image"])
    flng_img = [split(l) for l in read_lines(os.path.join(DATA, "flng_img.dat"))]
    for n, cells in enumerate(flng_img, 1):
        if len(cells) != 2:
            problem("flng_img.dat:%d: %d cells, expected 2" % (n, len(cells)))

    pictures = {f.lower() for f in os.listdir(IMAGES)}

    def picture_exists(name):
        return name.lower() in pictures

    models = [a["PartNum"] for a in ants]
    if len(set(models)) != len(models):
        problem("MWAnts.dat: duplicate model numbers")

    band_names = [f["Freq"] for f in freqs]
    type_pairs = [(t["Freq"], t["Prefix"]) for t in types]
    ant_pairs = {(a["Freq"], a["Type"]) for a in ants}
    for pair in type_pairs:
        if pair not in ant_pairs:
            problem("MWAntTypes.dat: %s / %s has no antenna" % pair)
    for pair in sorted(ant_pairs):
        if pair not in type_pairs:
            problem("MWAnts.dat: %s / %s is not offered in MWAntTypes.dat" % pair)
        if pair[0] not in band_names:
            problem("MWFreq.dat: band %s missing" % pair[0])

    lom_by_model = {}
    for row in lom:
        if row["PartNo"] in lom_by_model:
            problem("M_LOM.dat: %s priced twice" % row["PartNo"])
        lom_by_model.setdefault(row["PartNo"], row)
        if not is_price(row["USPrice"]):
            problem("M_LOM.dat: %s price %r" % (row["PartNo"], row["USPrice"]))
        if not picture_exists(row["GraphicFile"] + ".gif"):
            problem("M_LOM.dat: %s picture %s.gif missing" % (row["PartNo"], row["GraphicFile"]))
    for m in models:
        if m not in lom_by_model:
            problem("M_LOM.dat: %s has no pricing row" % m)
    for m in lom_by_model:
        if m not in models:
            problem("M_LOM.dat: %s is not an antenna" % m)

    for row in radomes:
        if not is_price(row["Price_Upgrade"]) or not row["Radome_Suffix"]:
            problem("radome_List.dat: bad row %r" % row)
    for row in packs:
        if not is_price(row["Price"]) or not row["Pack_Suffix"]:
            problem("pack_list.dat: bad row %r" % row)

    flange_pictures = {}
    for cells in flng_img:
        flange_pictures.setdefault(cells[0], cells[1])
    for name in set(flange_pictures.values()):
        if not picture_exists(name):
            problem("flng_img.dat: picture %s missing" % name)
    for row in radome_img:
        if not picture_exists(row["Image"]):
            problem("radome_img.dat: picture %s missing" % row["Image"])

    empty_rpe = [a["PartNum"] for a in ants if not a["RPE"]]
    empty_flange = [a["PartNum"] for a in ants if not a["Flange"]]
    no_radome = []
    for a in ants:
        m, group = a["PartNum"], a["Group"].lower()
        if "," in a["Type"] or "," in a["Group"] or "," in a["Size_FT"]:
            problem("MWAnts.dat: %s has a comma in Type, Group or Size_FT" % m)
        flanges = [f.strip() for f in a["Flange"].split(",")] if a["Flange"] else []
        if len(flanges) > 3:
            problem("MWAnts.dat: %s lists %d flanges" % (m, len(flanges)))
        for f in flanges:
            if not any(group in items(r["AntennaGroup"]) and f.lower() in items(r["Flange"])
                       for r in flng):
                problem("flng_list.dat: no suffix for %s on %s (%s)" % (f, m, a["Group"]))
            if f not in flange_pictures:
                problem("flng_img.dat: no picture for flange %s" % f)
        opts = [r for r in radomes if a["Type"].lower() in items(r["Antenna_Type"])
                and a["Size_FT"].lower() in items(r["Antenna_Size"])]
        if not opts:
            no_radome.append(m)
        elif not 2 <= len(opts) <= 4:
            problem("radome_List.dat: %s has %d radome options" % (m, len(opts)))
        for r in opts:
            if not any(group in items(i["AntennaGroup"])
                       and r["Radome_Suffix"].lower() in items(i["Suffix"]) for i in radome_img):
                problem("radome_img.dat: no picture for %s radome %s" % (m, r["Radome_Suffix"]))
        npack = sum(1 for r in packs if a["Size_FT"].lower() in items(r["Antenna_Size"])
                    and group in items(r["Antenna_Group"]))
        if not 2 <= npack <= 3:
            problem("pack_list.dat: %s has %d packing options" % (m, npack))

    if empty_rpe != [make_demo.EMPTY_RPE_MODEL]:
        problem("empty RPE cells: %r" % empty_rpe)
    if empty_flange != [make_demo.EMPTY_FLANGE_MODEL]:
        problem("empty Flange cells: %r" % empty_flange)
    if no_radome != [make_demo.NO_RADOME_MODEL]:
        problem("antennas without radome options: %r" % no_radome)

    expected_size = {"flg": (136, 96), "rad": (121, 120)}
    total = 0
    for name in sorted(os.listdir(IMAGES)):
        path = os.path.join(IMAGES, name)
        total += os.path.getsize(path)
        try:
            size = metafile_size(path) if name.endswith(("wmf", "emf")) else gif_decode(path)
        except (ValueError, IndexError, struct.error) as e:
            problem("%s: %s" % (name, e))
            continue
        if size != expected_size.get(name[:3], (100, 100)):
            problem("%s: %dx%d" % ((name,) + size))
    if total > 1024 * 1024:
        problem("pictures take %d bytes" % total)

    print("%d antennas, %d bands, %d types, %d pictures (%d bytes)" % (
        len(ants), len(band_names), len({a["Type"] for a in ants}), len(pictures), total))
    print("corner cases: empty RPE %s, empty Flange %s, no radome %s" % (
        ",".join(empty_rpe), ",".join(empty_flange), ",".join(no_radome)))
    for p in problems:
        print("PROBLEM:", p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
