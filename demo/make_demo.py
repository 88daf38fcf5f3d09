#!/usr/bin/env python3
"""Writes the bundled demo catalogue: an invented range of point-to-point
microwave dish antennas that belongs to no real maker.

    python3 demo/make_demo.py

Output (always the same bytes; nothing random, no time stamps):

    demo/data/     the files that live in the program's own data folder
                   MWFreq.dat, MWAntTypes.dat, flng_list.dat, radome_List.dat,
                   pack_list.dat, radome_img.dat, flng_img.dat
    demo/common/   the shared catalogue folder (registry value Path under
                   [Common Files]): MWAnts.dat, M_LOM.dat
    demo/Images/   GIF pictures: antennas (one per series and size), flanges,
                   radome options

All text files are pipe-delimited ASCII with CR LF after every line.
MWAnts.dat and M_LOM.dat carry a second line of "----" cells that the program
skips; every other table starts its data on line 2; flng_img.dat has no header.

Deliberate corner cases (everything else is kept consistent):
  * OHR2-38  has an empty RPE cell (its specification sheet has no RPE entry);
  * OSD3-11  has an empty Flange cell (the flange list offers one empty entry);
  * OSD12-6  is the only Standard 12 ft antenna and no radome_List.dat row
             covers Standard at 12 ft, so it has no radome options.

Standard library only; the GIF89a encoder (with LZW) is at the end of the file.
"""

import math
import os
import sys

sys.dont_write_bytecode = True
import metafiles  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
DATA_DIR = os.path.join(HERE, "data")
COMMON_DIR = os.path.join(HERE, "common")
IMAGE_DIR = os.path.join(HERE, "Images")

# Corner cases, by model number.
EMPTY_RPE_MODEL = "OHR2-38"
EMPTY_FLANGE_MODEL = "OSD3-11"
NO_RADOME_MODEL = "OSD12-6"

# ---------------------------------------------------------------------------
# Catalogue definition
# ---------------------------------------------------------------------------

# name, short code, band edges in GHz, sizes offered (ft), flanges (first is the default)
BANDS = [
    ("6 GHz", "6", 5.925, 6.425, [4, 6, 8, 10, 12], ["CPR137G", "PDR70", "UDR70"]),
    ("7 GHz", "7", 7.125, 7.9, [2, 3, 4, 6, 8, 10], ["CPR112G", "PDR84", "UDR84"]),
    ("11 GHz", "11", 10.7, 11.7, [2, 3, 4, 6, 8], ["PDR100", "UDR100", "PBR100"]),
    ("13 GHz", "13", 12.75, 13.25, [1, 2, 3, 4, 6], ["PBR120", "UBR120", "PDR120"]),
    ("15 GHz", "15", 14.4, 15.35, [1, 2, 3, 4, 6], ["PBR140", "UBR140", "PDR140"]),
    ("18 GHz", "18", 17.7, 19.7, [1, 2, 3, 4], ["PBR220", "UBR220", "PDR220"]),
    ("23 GHz", "23", 21.2, 23.6, [1, 2, 3, 4], ["PBR220", "UBR220"]),
    ("38 GHz", "38", 37.0, 39.5, [1, 2], ["PBR320", "UBR320"]),
]

STD, HP, UHP, SHD = "Standard", "High Performance", "Ultra High Performance", "Shielded"

# type -> series, picture colour, electrical figures
TYPES = {
    STD: dict(series="OSD", code=1, eff=0.55, xpd=28, fb0=49, fbmax=57, vswr=1.30, etsi=2,
              colour=6, nflanges=2, price=1.00),
    HP: dict(series="OHR", code=2, eff=0.57, xpd=30, fb0=56, fbmax=64, vswr=1.25, etsi=3,
             colour=8, nflanges=3, price=1.32),
    UHP: dict(series="OUR", code=3, eff=0.55, xpd=32, fb0=62, fbmax=70, vswr=1.20, etsi=4,
              colour=9, nflanges=3, price=1.78),
    SHD: dict(series="OSH", code=4, eff=0.52, xpd=30, fb0=58, fbmax=66, vswr=1.30, etsi=3,
              colour=10, nflanges=1, price=1.55),
}
TYPE_ORDER = [STD, HP, UHP, SHD]


def type_offers(atype, band_code, size):
    """Which (band, size) pairs each series is built for."""
    if atype == STD:
        # Standard dishes stop at 10 ft, except the single 12 ft 6 GHz model.
        return size <= 10 or (band_code == "6" and size == 12)
    if atype == HP:
        return size >= 2
    if atype == UHP:
        return 3 <= size <= 10 and band_code != "38"
    if atype == SHD:
        return size <= 3 and band_code in ("13", "15", "18", "23", "38")
    return False


def group_of(size):
    """Mount class: G1 1 ft, G2 2 ft, G3 3-4 ft, G4 6 ft, G5 8 ft, G6 10-12 ft."""
    return {1: "G1", 2: "G2", 3: "G3", 4: "G3", 6: "G4", 8: "G5", 10: "G6", 12: "G6"}[size]


METRES = {1: "0.3", 2: "0.6", 3: "0.9", 4: "1.2", 6: "1.8", 8: "2.4", 10: "3.0", 12: "3.7"}
MOUNTS = {"G1": "Pole 40-115 mm", "G2": "Pole 50-115 mm", "G3": "Pole 114 mm",
          "G4": "Pole 114 mm, side strut", "G5": "Pole 114 mm, two side struts",
          "G6": "Pole 168 mm, two side struts"}
BASE_PRICE = {1: 690, 2: 940, 3: 1310, 4: 1720, 6: 2870, 8: 4460, 10: 6950, 12: 9800}
BAND_PRICE = {"6": 1.00, "7": 0.98, "11": 1.00, "13": 1.03, "15": 1.05, "18": 1.08,
              "23": 1.10, "38": 1.25}

# FCC categories: which rule parts apply to which band.
FCC74_BANDS = ("7", "13")
FCC78_BANDS = ("13", "18")
FCC101_BANDS = ("6", "11", "18", "23", "38")

LIGHT_SPEED = 299792458.0
FT = 0.3048


def fmt(value, decimals=1):
    return "%.*f" % (decimals, value)


def fmt_price(half_units):
    """A price held as a count of half dollars, written as a plain decimal."""
    if half_units % 2 == 0:
        return str(half_units // 2)
    return "%d.5" % (half_units // 2)


def gain(size, ghz, eff):
    d_over_lambda = size * FT / (LIGHT_SPEED / (ghz * 1e9))
    return 10.0 * math.log10(eff * (math.pi * d_over_lambda) ** 2)


def polarization(atype, size):
    if atype == UHP or (atype == SHD and size >= 2):
        return "Dual"
    return "Single"


def picture_name(atype, size):
    return "%s_%dft" % (TYPES[atype]["series"].lower(), size)


def build_antennas():
    ants = []
    ident = 1000
    for band, code, lo, hi, sizes, flanges in BANDS:
        mid = (lo + hi) / 2.0
        for atype in TYPE_ORDER:
            t = TYPES[atype]
            for size in sizes:
                if not type_offers(atype, code, size):
                    continue
                ident += 1
                model = "%s%d-%s" % (t["series"], size, code)
                group = group_of(size)
                e = size * FT / (LIGHT_SPEED / (mid * 1e9))
                g_lo, g_mid, g_hi = (gain(size, f, t["eff"]) for f in (lo, mid, hi))
                bw = 70.0 / e
                if atype == SHD:
                    bw *= 1.04
                fb = t["fb0"] + 8.0 * (math.log10(e) - 1.0)
                fb = int(round(min(max(fb, t["fb0"] + 1), t["fbmax"])))
                vswr = t["vswr"]
                rl = -20.0 * math.log10((vswr - 1.0) / (vswr + 1.0))
                cat = "A" if (atype != STD and size >= 2) else "B"
                pol = polarization(atype, size)
                price = BASE_PRICE[size] * t["price"] * BAND_PRICE[code]
                if pol == "Dual":
                    price *= 1.12
                half = int(round(price / 5.0)) * 10          # whole multiple of 5 dollars
                if ident % 4 == 0:
                    half -= 1                                # ... less 50 cents
                desc = "%d ft %s%s Antenna, %s" % (
                    size, atype, " Dual Polarized" if pol == "Dual" else "", band)
                flange_cell = ", ".join(flanges[:t["nflanges"]])
                rpe = "RPE-%s-%02d%02d" % (code.zfill(2), size, t["code"])
                if model == EMPTY_FLANGE_MODEL:
                    flange_cell = ""
                if model == EMPTY_RPE_MODEL:
                    rpe = ""
                ants.append(dict(
                    Freq=band, Flange=flange_cell, ID=str(ident),
                    PSI_MAX="10" if atype != SHD else "5",
                    Misc=MOUNTS[group], Size_FT=str(size), BegFreq=fmt(lo, 3).rstrip("0").rstrip("."),
                    CURRENT="Y", OldPartNum="K%s-%02d%s" % (code, size, "SHUX"[t["code"] - 1]),
                    PartNum=model, RPE=rpe,
                    ETSI_GAIN=fmt(math.floor((g_mid - 0.5) * 10) / 10.0),
                    FCC74=cat if code in FCC74_BANDS else "N/A",
                    FCC78=cat if code in FCC78_BANDS else "N/A",
                    FCC101=cat if code in FCC101_BANDS else "N/A",
                    ETSI_CLASS="Class %d" % t["etsi"],
                    Gain_Low=fmt(g_lo), Gain_Med=fmt(g_mid), Gain_High=fmt(g_hi),
                    BW_H=fmt(bw), BW_V=fmt(bw), X_pol=str(t["xpd"]), F_B=str(fb),
                    VSWR=fmt(vswr, 2), Return_Loss=fmt(rl),
                    Type=atype, Group=group,
                    Diameter_Ft_M="%d ft (%s m)" % (size, METRES[size]),
                    Polarization=pol,
                    # pricing row
                    _lo=fmt(lo, 3).rstrip("0").rstrip("."), _hi=fmt(hi, 3).rstrip("0").rstrip("."),
                    _pic=picture_name(atype, size), _desc=desc, _price=fmt_price(half),
                ))
    return ants


ANT_COLUMNS = ["Freq", "Flange", "ID", "PSI_MAX", "Misc", "Size_FT", "BegFreq", "CURRENT",
               "OldPartNum", "PartNum", "RPE", "ETSI_GAIN", "FCC74", "FCC78", "FCC101",
               "ETSI_CLASS", "Gain_Low", "Gain_Med", "Gain_High", "BW_H", "BW_V", "X_pol",
               "F_B", "VSWR", "Return_Loss", "Type", "Group", "Diameter_Ft_M", "Polarization"]
LOM_COLUMNS = ["BegFreq", "EndingFreq", "PartNo", "GraphicFile", "Desc", "USPrice"]

ALL_GROUPS = "G1, G2, G3, G4, G5, G6"

# AntennaGroup | Flange | Suffix.  Each group/flange pair is covered by exactly one row.
FLANGE_SUFFIXES = [
    ("G1, G2, G3, G4", "CPR137G, CPR112G", "C"),
    ("G5, G6", "CPR137G, CPR112G", "CW"),
    ("G1, G2, G3, G4", "PDR70, PDR84, PDR100, PDR120, PDR140, PDR220", "D"),
    ("G5, G6", "PDR70, PDR84, PDR100, PDR120, PDR140, PDR220", "DW"),
    (ALL_GROUPS, "UDR70, UDR84, UDR100", "F"),
    (ALL_GROUPS, "PBR100, PBR120, PBR140, PBR220, PBR320", "B"),
    (ALL_GROUPS, "UBR120, UBR140, UBR220, UBR320", "U"),
]

# Antenna_Type | Antenna_Size | Radome_Suffix | Price_Upgrade | Radome_Desc
# The default option of an antenna is its first matching row.
RADOMES = [
    ("Standard, High Performance", "1, 2", "S", "95", "Standard white radome"),
    ("Standard, High Performance", "3, 4", "S", "180", "Standard white radome"),
    ("Standard, High Performance", "6, 8", "S", "465", "Standard white radome"),
    ("Standard, High Performance", "10", "S", "1040", "Standard white radome"),
    ("High Performance", "12", "S", "1385", "Standard white radome"),
    ("Ultra High Performance, Shielded", "1, 2, 3, 4", "P", "0", "Planar radome, white (fitted)"),
    ("Ultra High Performance", "6, 8, 10", "P", "0", "Planar radome, white (fitted)"),
    ("Standard, High Performance", "1, 2, 3, 4", "G", "140", "Grey radome"),
    ("Standard, High Performance", "6, 8, 10", "G", "620", "Grey radome"),
    ("High Performance", "12", "G", "1720.5", "Grey radome"),
    ("Ultra High Performance", "3, 4", "PG", "85", "Planar radome, grey"),
    ("Ultra High Performance", "6, 8, 10", "PG", "210", "Planar radome, grey"),
    ("High Performance, Ultra High Performance, Shielded", "1, 2, 3, 4", "H", "65.5",
     "Hydrophobic coated radome"),
    ("High Performance, Ultra High Performance", "6, 8, 10, 12", "H", "240",
     "Hydrophobic coated radome"),
]

# Antenna_Size | Antenna_Group | DefaultPackSuffix | Pack_Suffix | Price | Pack_Desc
PACKS = [
    ("1, 2", "G1, G2", "1", "1", "0", "Standard carton"),
    ("1, 2", "G1, G2", "1", "2", "38", "Export seaworthy crate"),
    ("1, 2", "G1, G2", "1", "3", "24.5", "Air-freight box"),
    ("3, 4", "G3", "1", "1", "0", "Standard wooden crate"),
    ("3, 4", "G3", "1", "2", "115", "Export seaworthy crate"),
    ("3, 4", "G3", "1", "3", "72", "Air-freight box"),
    ("6", "G4", "1", "1", "0", "Standard wooden crate"),
    ("6", "G4", "1", "2", "245", "Export seaworthy crate"),
    ("8", "G5", "1", "1", "0", "Standard wooden crate, mount packed separately"),
    ("8", "G5", "1", "2", "410", "Export seaworthy crate"),
    ("10, 12", "G6", "1", "1", "0", "Standard wooden crate, mount packed separately"),
    ("10, 12", "G6", "1", "2", "690", "Export seaworthy crate"),
    ("10, 12", "G6", "1", "3", "1150", "Export crate with reflector halves split"),
]

SMALL_GROUPS = "G1, G2, G3"
LARGE_GROUPS = "G4, G5, G6"
# radome suffix -> (picture stem, label, cover colour, planar?, droplets?)
RADOME_PICTURES = {
    "S": ("rad_white", "WHITE", 14, False, False),
    "G": ("rad_grey", "GREY", 3, False, False),
    "H": ("rad_hydro", "HYDROPHOBIC", 14, False, True),
    "P": ("rad_planar", "PLANAR", 14, True, False),
    "PG": ("rad_planar_grey", "PLANAR GREY", 3, True, False),
}


# Some option pictures are vector drawings, kept as Windows metafiles the way
# catalogues that grew up on Windows keep them: the CPR flange outlines (WMF)
# and the hydrophobic radome sketches (EMF).
WMF_FLANGE_KIND = "CPR"
EMF_RADOME = "H"


def radome_picture(suffix, large):
    extension = ".emf" if suffix == EMF_RADOME else ".gif"
    return RADOME_PICTURES[suffix][0] + ("_large" if large else "_small") + extension


def radome_img_rows():
    rows = []
    for suffix in ("S", "G", "H", "P", "PG"):
        rows.append((SMALL_GROUPS, suffix, radome_picture(suffix, False)))
        rows.append((LARGE_GROUPS, suffix, radome_picture(suffix, True)))
    return rows


def all_flanges():
    seen = []
    for band in BANDS:
        for f in band[5]:
            if f not in seen:
                seen.append(f)
    return seen


def flange_picture(flange):
    extension = ".wmf" if flange.startswith(WMF_FLANGE_KIND) else ".gif"
    return "flg_%s%s" % (flange.lower(), extension)


# ---------------------------------------------------------------------------
# Text files
# ---------------------------------------------------------------------------

def write_table(path, header, rows, separator=False):
    lines = []
    if header is not None:
        lines.append("|".join(header))
    if separator:
        lines.append("|".join("----" for _ in header))
    for row in rows:
        cells = [str(c) for c in row]
        for c in cells:
            if "|" in c or "\r" in c or "\n" in c:
                raise ValueError("bad cell %r in %s" % (c, path))
        if header is not None and len(cells) != len(header):
            raise ValueError("row %r has %d cells in %s" % (cells, len(cells), path))
        lines.append("|".join(cells))
    data = "".join(line + "\r\n" for line in lines).encode("ascii")
    with open(path, "wb") as f:
        f.write(data)


def write_text_files(ants):
    os.makedirs(DATA_DIR, exist_ok=True)
    os.makedirs(COMMON_DIR, exist_ok=True)

    write_table(os.path.join(DATA_DIR, "MWFreq.dat"), ["Freq"], [[b[0]] for b in BANDS])

    pairs = []
    for band in BANDS:
        for atype in TYPE_ORDER:
            if any(a["Freq"] == band[0] and a["Type"] == atype for a in ants):
                pairs.append([band[0], atype])
    write_table(os.path.join(DATA_DIR, "MWAntTypes.dat"), ["Freq", "Prefix"], pairs)

    write_table(os.path.join(COMMON_DIR, "MWAnts.dat"), ANT_COLUMNS,
                [[a[c] for c in ANT_COLUMNS] for a in ants], separator=True)
    write_table(os.path.join(COMMON_DIR, "M_LOM.dat"), LOM_COLUMNS,
                [[a["_lo"], a["_hi"], a["PartNum"], a["_pic"], a["_desc"], a["_price"]]
                 for a in ants], separator=True)

    write_table(os.path.join(DATA_DIR, "flng_list.dat"), ["AntennaGroup", "Flange", "Suffix"],
                FLANGE_SUFFIXES)
    write_table(os.path.join(DATA_DIR, "radome_List.dat"),
                ["Antenna_Type", "Antenna_Size", "Radome_Suffix", "Price_Upgrade", "Radome_Desc"],
                RADOMES)
    write_table(os.path.join(DATA_DIR, "pack_list.dat"),
                ["Antenna_Size", "Antenna_Group", "DefaultPackSuffix", "Pack_Suffix", "Price",
                 "Pack_Desc"], PACKS)
    write_table(os.path.join(DATA_DIR, "radome_img.dat"), ["AntennaGroup", "Suffix", "Image"],
                radome_img_rows())
    # The flange picture index has no header line: every line is a candidate.
    write_table(os.path.join(DATA_DIR, "flng_img.dat"), None,
                [[f, flange_picture(f)] for f in all_flanges()])


# ---------------------------------------------------------------------------
# Pictures
# ---------------------------------------------------------------------------

PALETTE = [
    (255, 255, 255),  # 0 white background
    (0, 0, 0),        # 1 black
    (64, 64, 64),     # 2 dark grey
    (128, 128, 128),  # 3 grey
    (192, 192, 192),  # 4 light grey
    (224, 224, 224),  # 5 very light grey
    (40, 90, 170),    # 6 blue
    (150, 190, 235),  # 7 light blue
    (40, 140, 70),    # 8 green
    (190, 40, 40),    # 9 red
    (230, 140, 30),   # 10 orange
    (200, 170, 80),   # 11 brass
    (20, 40, 90),     # 12 navy
    (160, 170, 180),  # 13 steel
    (245, 245, 232),  # 14 off-white (radome)
    (20, 80, 40),     # 15 dark green
]

# 5x7 pixel font: each glyph is seven rows of five characters.
FONT = {
    " ": ["     "] * 7,
    "-": ["     ", "     ", "     ", "#####", "     ", "     ", "     "],
    ".": ["     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "],
    "0": [" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "],
    "1": ["  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    "2": [" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"],
    "3": ["#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "],
    "4": ["   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "],
    "5": ["#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "],
    "6": ["  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "],
    "7": ["#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "],
    "8": [" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "],
    "9": [" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "],
    "A": [" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    "B": ["#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "],
    "C": [" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "],
    "D": ["#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "],
    "E": ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"],
    "F": ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "],
    "G": [" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"],
    "H": ["#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    "I": [" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    "J": ["  ###", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "],
    "K": ["#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"],
    "L": ["#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"],
    "M": ["#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"],
    "N": ["#   #", "#   #", "##  #", "# # #", "#  ##", "#   #", "#   #"],
    "O": [" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    "P": ["#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "],
    "Q": [" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"],
    "R": ["#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"],
    "S": [" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "],
    "T": ["#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "],
    "U": ["#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    "V": ["#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "],
    "W": ["#   #", "#   #", "#   #", "# # #", "# # #", "# # #", " # # "],
    "X": ["#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"],
    "Y": ["#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "],
    "Z": ["#####", "    #", "   # ", "  #  ", " #   ", "#    ", "#####"],
}


class Canvas:
    def __init__(self, width, height, background=0):
        self.w = width
        self.h = height
        self.px = bytearray([background]) * (width * height)

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = c

    def get(self, x, y):
        return self.px[y * self.w + x]

    def rect(self, x0, y0, x1, y1, c):
        """Filled rectangle, corners included."""
        for y in range(max(0, y0), min(self.h, y1 + 1)):
            for x in range(max(0, x0), min(self.w, x1 + 1)):
                self.px[y * self.w + x] = c

    def frame(self, x0, y0, x1, y1, c, width=1):
        for i in range(width):
            self.rect(x0 + i, y0 + i, x1 - i, y0 + i, c)
            self.rect(x0 + i, y1 - i, x1 - i, y1 - i, c)
            self.rect(x0 + i, y0 + i, x0 + i, y1 - i, c)
            self.rect(x1 - i, y0 + i, x1 - i, y1 - i, c)

    def line(self, x0, y0, x1, y1, c, width=1):
        x0, y0, x1, y1 = int(round(x0)), int(round(y0)), int(round(x1)), int(round(y1))
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx = 1 if x0 < x1 else -1
        sy = 1 if y0 < y1 else -1
        err = dx + dy
        lo = -(width // 2)
        hi = lo + width - 1
        while True:
            self.rect(x0 + lo, y0 + lo, x0 + hi, y0 + hi, c)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def fill_where(self, inside, c, box=None):
        x0, y0, x1, y1 = box or (0, 0, self.w - 1, self.h - 1)
        for y in range(max(0, y0), min(self.h, y1 + 1)):
            for x in range(max(0, x0), min(self.w, x1 + 1)):
                if inside(x, y):
                    self.px[y * self.w + x] = c

    def outline_where(self, inside, c, box=None):
        """Pixels inside the shape with a 4-neighbour outside it."""
        x0, y0, x1, y1 = box or (0, 0, self.w - 1, self.h - 1)
        for y in range(max(0, y0), min(self.h, y1 + 1)):
            for x in range(max(0, x0), min(self.w, x1 + 1)):
                if inside(x, y) and not (inside(x - 1, y) and inside(x + 1, y)
                                         and inside(x, y - 1) and inside(x, y + 1)):
                    self.px[y * self.w + x] = c

    def ellipse(self, cx, cy, rx, ry, c, outline=None):
        def inside(x, y):
            return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0
        box = (int(cx - rx) - 1, int(cy - ry) - 1, int(cx + rx) + 1, int(cy + ry) + 1)
        if c is not None:
            self.fill_where(inside, c, box)
        if outline is not None:
            self.outline_where(inside, outline, box)

    def text(self, x, y, s, c, scale=1):
        for ch in s.upper():
            glyph = FONT.get(ch, FONT[" "])
            for row, bits in enumerate(glyph):
                for col, bit in enumerate(bits):
                    if bit == "#":
                        self.rect(x + col * scale, y + row * scale,
                                  x + col * scale + scale - 1, y + row * scale + scale - 1, c)
            x += 6 * scale

    def text_width(self, s, scale=1):
        return (6 * len(s) - 1) * scale if s else 0


def draw_dish(cv, vx, cy, radius, accent, shroud=0.0, absorber=False, feed=True):
    """Side view of a parabolic reflector opening to the left.

    vx, cy: vertex of the reflector; radius: half the aperture in pixels;
    shroud: length of the cylindrical shield in front of the rim, as a
    fraction of the radius.  Returns the x of the front (rim or shroud) edge.
    """
    depth = 0.42 * radius
    rim_x = vx - depth

    def curve_x(y):
        u = (y - cy) / radius
        return vx - depth * u * u

    def bowl(x, y):
        return abs(y - cy) <= radius and rim_x <= x <= curve_x(y)

    def shell(x, y):
        return abs(y - cy) <= radius and curve_x(y) < x <= curve_x(y) + 3.0

    box = (int(rim_x) - 2, int(cy - radius) - 2, int(vx) + 5, int(cy + radius) + 2)
    cv.fill_where(bowl, 5, box)
    cv.fill_where(shell, 13, box)
    cv.outline_where(lambda x, y: bowl(x, y) or shell(x, y), 2, box)

    front = rim_x
    if shroud > 0:
        length = shroud * radius
        front = rim_x - length
        top, bottom = int(round(cy - radius)), int(round(cy + radius))
        if absorber:
            cv.rect(int(front), top + 3, int(rim_x), bottom - 3, 4)
        cv.rect(int(front), top - 1, int(rim_x) + 1, top + 2, accent)
        cv.rect(int(front), bottom - 2, int(rim_x) + 1, bottom + 1, accent)
    if feed:
        focus = vx - radius * radius / (4.0 * depth)
        cv.line(vx - 1, cy, focus, cy, 2, 2)
        cv.rect(int(focus) - 3, int(cy) - 2, int(focus), int(cy) + 2, 12)
    return front


def draw_mount(cv, vx, cy, radius, pole_x, top, bottom, struts=0):
    cv.rect(pole_x, top, pole_x + 4, bottom, 3)
    cv.frame(pole_x, top, pole_x + 4, bottom, 2)
    cv.rect(pole_x - 5, bottom - 1, pole_x + 9, bottom + 1, 2)
    cv.line(vx + 2, cy, pole_x, cy, 2, 3)
    cv.rect(pole_x - 1, int(cy) - 4, pole_x + 5, int(cy) + 4, 2)
    if struts >= 1:
        cv.line(vx - 0.3 * radius, cy - 0.75 * radius, pole_x, cy - 0.75 * radius - 6, 3, 1)
    if struts >= 2:
        cv.line(vx - 0.3 * radius, cy + 0.75 * radius, pole_x, cy + 0.75 * radius + 6, 3, 1)


def antenna_picture(atype, size):
    t = TYPES[atype]
    cv = Canvas(100, 100)
    radius = 12 + 24.0 * (size - 1) / 11.0
    vx, cy = 78, 52
    shroud = {STD: 0.0, HP: 0.25, UHP: 0.6, SHD: 0.45}[atype]
    front = draw_dish(cv, vx, cy, radius, t["colour"], shroud, absorber=atype in (UHP, SHD))
    if atype in (HP, UHP, SHD):
        # planar radome across the shroud front
        cv.rect(int(front) - 2, int(cy - radius) - 1, int(front), int(cy + radius) + 1, 14)
        cv.frame(int(front) - 2, int(cy - radius) - 1, int(front), int(cy + radius) + 1, 2)
    struts = 2 if size >= 8 else (1 if size >= 6 else 0)
    draw_mount(cv, vx, cy, radius, 86, 6, 94, struts)
    cv.rect(0, 0, 99, 10, t["colour"])
    cv.text(2, 2, t["series"], 0)
    label = "%d FT" % size
    cv.text(98 - cv.text_width(label), 2, label, 0)
    # size bar: one block per foot
    for i in range(size):
        cv.rect(2 + i * 4, 93, 4 + i * 4, 97, t["colour"])
    return cv


def flange_picture_canvas(flange):
    cv = Canvas(136, 96)
    cx, cy = 68, 38
    kind = flange[:3]          # CPR, PDR, UDR, PBR, UBR
    grooved = kind in ("CPR", "PDR", "PBR")
    if kind == "CPR":
        hw, hh, ow, oh = 50, 30, 26, 13
        holes = [(-44, -24), (-44, 24), (44, -24), (44, 24), (-15, -25), (15, -25),
                 (-15, 25), (15, 25), (-45, 0), (45, 0)]
    elif kind in ("PDR", "UDR"):
        hw, hh, ow, oh = 32, 32, 20, 10
        holes = [(-25, -25), (25, -25), (-25, 25), (25, 25), (0, -26), (0, 26),
                 (-26, 0), (26, 0)]
    else:                       # PBR, UBR: rectangular with six holes
        hw, hh, ow, oh = 40, 28, 16, 8
        holes = [(-33, -21), (33, -21), (-33, 21), (33, 21), (0, -22), (0, 22)]
    # a larger waveguide number means a smaller opening
    number = int("".join(ch for ch in flange if ch.isdigit()))
    shrink = max(0.55, min(1.0, 90.0 / number)) if number > 90 else 1.0
    ow, oh = int(ow * shrink), int(oh * shrink)
    cv.rect(cx - hw + 3, cy - hh + 3, cx + hw + 3, cy + hh + 3, 4)       # shadow
    cv.rect(cx - hw, cy - hh, cx + hw, cy + hh, 11 if kind == "CPR" else 13)
    cv.frame(cx - hw, cy - hh, cx + hw, cy + hh, 2)
    if grooved:
        g = 6
        cv.frame(cx - ow - g, cy - oh - g, cx + ow + g, cy + oh + g, 2, 2)
    cv.rect(cx - ow, cy - oh, cx + ow, cy + oh, 1)
    for dx, dy in holes:
        cv.ellipse(cx + dx, cy + dy, 3.2, 3.2, 0, outline=2)
    scale = 2
    w = cv.text_width(flange, scale)
    cv.text((136 - w) // 2, 78, flange, 12, scale)
    return cv


def radome_picture_canvas(suffix, large):
    stem, label, cover, planar, droplets = RADOME_PICTURES[suffix]
    cv = Canvas(121, 120)
    radius = 44 if large else 30
    vx, cy = 92, 54
    shroud = 0.35 if planar else 0.0
    front = draw_dish(cv, vx, cy, radius, 13, shroud, absorber=planar, feed=not planar)
    top, bottom = int(cy - radius), int(cy + radius)
    if planar:
        cv.rect(int(front) - 4, top - 2, int(front), bottom + 2, cover)
        cv.frame(int(front) - 4, top - 2, int(front), bottom + 2, 2)
        rim_x, bulge = front - 2, 0.0
    else:
        # domed cover over the aperture
        rim_x = vx - 0.42 * radius
        bulge = 0.45 * radius

        def dome(x, y):
            return x <= rim_x and ((x - rim_x) / bulge) ** 2 + ((y - cy) / (radius + 1)) ** 2 <= 1.0
        box = (int(rim_x - bulge) - 1, top - 2, int(rim_x) + 1, bottom + 2)
        cv.fill_where(dome, cover, box)
        cv.outline_where(dome, 2, box)
        cv.rect(int(rim_x) - 1, top - 1, int(rim_x) + 1, bottom + 1, 2)
    if droplets:
        for k in range(-3, 4):
            dy = k * radius * 0.27
            x = rim_x - bulge * math.sqrt(max(0.0, 1.0 - (dy / radius) ** 2)) * (0.55 + 0.2 * (k % 2))
            cv.ellipse(x, cy + dy, 1.8, 2.6, 6)
    draw_mount(cv, vx, cy, radius, 108, 4, 100, 2 if large else 0)
    w = cv.text_width(label)
    cv.text((121 - w) // 2, 108, label, 12)
    return cv


def rgb(index):
    return PALETTE[index]


def flange_drawing(flange):
    """The CPR flange outline as a vector drawing."""
    d = metafiles.Drawing(136, 96)
    cx, cy, hw, hh, ow, oh, g = 68, 38, 50, 30, 26, 13, 6
    d.rect(cx - hw + 3, cy - hh + 3, cx + hw + 3, cy + hh + 3, rgb(4))
    d.rect(cx - hw, cy - hh, cx + hw, cy + hh, rgb(11), rgb(2), 1.2)
    d.rect(cx - ow - g, cy - oh - g, cx + ow + g, cy + oh + g, metafiles.NULL, rgb(2), 1.5)
    d.rect(cx - ow, cy - oh, cx + ow, cy + oh, rgb(1))
    for dx, dy in [(-44, -24), (-44, 24), (44, -24), (44, 24), (-15, -25), (15, -25),
                   (-15, 25), (15, 25), (-45, 0), (45, 0)]:
        d.ellipse(cx + dx, cy + dy, 3.2, 3.2, rgb(0), rgb(2), 0.8)
    d.text(68, 72, flange, rgb(12), 14)
    return d


def radome_drawing(suffix, large):
    """A side view of a dish under a domed, water-shedding radome."""
    stem, label, cover, planar, droplets = RADOME_PICTURES[suffix]
    d = metafiles.Drawing(121, 120)
    radius = 44 if large else 30
    vx, cy = 92, 54
    depth = 0.42 * radius
    rim_x = vx - depth
    steps = [k / 12.0 for k in range(-12, 13)]
    curve = [(vx - depth * u * u, cy + u * radius) for u in steps]
    d.polyline([(108, cy), (vx + 2, cy)], rgb(3), 3)
    d.rect(108, 4, 112, 100, rgb(3), rgb(2), 1)
    d.rect(103, 99, 117, 101, rgb(2))
    d.polygon(curve + [(rim_x, cy + radius), (rim_x, cy - radius)], rgb(5), rgb(2), 1)
    d.polygon(curve + [(x + 3, y) for x, y in reversed(curve)], rgb(13), rgb(2), 1)
    bulge = 0.45 * radius
    dome = [(rim_x - bulge * math.cos(math.asin(u)), cy + u * (radius + 1)) for u in steps]
    d.polygon(dome, rgb(cover), rgb(2), 1.2)
    d.rect(rim_x - 1, cy - radius - 1, rim_x + 1, cy + radius + 1, rgb(2))
    for k in range(-3, 4):
        dy = k * radius * 0.27
        x = rim_x - bulge * math.sqrt(max(0.0, 1.0 - (dy / radius) ** 2)) * (0.55 + 0.2 * (k % 2))
        d.ellipse(x, cy + dy, 1.8, 2.6, rgb(6))
    d.text(60.5, 104, label, rgb(12), 11)
    return d


# ---------------------------------------------------------------------------
# GIF89a encoder
# ---------------------------------------------------------------------------

def lzw_encode(pixels, min_code_size):
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    acc = 0
    nbits = 0

    def emit(code, size):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    code_size = min_code_size + 1
    table = {}
    next_code = end + 1
    emit(clear, code_size)
    prefix = pixels[0]
    for p in pixels[1:]:
        key = (prefix << 8) | p
        hit = table.get(key)
        if hit is not None:
            prefix = hit
            continue
        emit(prefix, code_size)
        if next_code < 4096:
            table[key] = next_code
            next_code += 1
            if next_code > (1 << code_size) and code_size < 12:
                code_size += 1
        else:
            emit(clear, code_size)
            table = {}
            next_code = end + 1
            code_size = min_code_size + 1
        prefix = p
    emit(prefix, code_size)
    emit(end, code_size)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def gif_bytes(canvas, palette=PALETTE):
    bits = 1
    while (1 << bits) < len(palette):
        bits += 1
    colours = list(palette) + [(0, 0, 0)] * ((1 << bits) - len(palette))
    w, h = canvas.w, canvas.h
    data = bytearray(b"GIF89a")
    data += bytes([w & 0xFF, w >> 8, h & 0xFF, h >> 8, 0x80 | ((bits - 1) << 4) | (bits - 1), 0, 0])
    for r, g, b in colours:
        data += bytes([r, g, b])
    data += bytes([0x2C, 0, 0, 0, 0, w & 0xFF, w >> 8, h & 0xFF, h >> 8, 0])
    min_code_size = max(2, bits)
    data.append(min_code_size)
    stream = lzw_encode(canvas.px, min_code_size)
    for i in range(0, len(stream), 255):
        chunk = stream[i:i + 255]
        data.append(len(chunk))
        data += chunk
    data.append(0)
    data.append(0x3B)
    return bytes(data)


def write_file(name, data):
    with open(os.path.join(IMAGE_DIR, name), "wb") as f:
        f.write(data)


def write_gif(name, canvas):
    write_file(name, gif_bytes(canvas))


def write_pictures(ants):
    os.makedirs(IMAGE_DIR, exist_ok=True)
    wanted = set()
    for a in ants:
        wanted.add((a["Type"], int(a["Size_FT"])))
    names = []
    for atype, size in sorted(wanted, key=lambda k: (TYPE_ORDER.index(k[0]), k[1])):
        names.append(picture_name(atype, size) + ".gif")
        write_gif(names[-1], antenna_picture(atype, size))
    for flange in all_flanges():
        names.append(flange_picture(flange))
        if names[-1].endswith(".wmf"):
            write_file(names[-1], metafiles.wmf_bytes(flange_drawing(flange)))
        else:
            write_gif(names[-1], flange_picture_canvas(flange))
    for suffix in RADOME_PICTURES:
        for large in (False, True):
            names.append(radome_picture(suffix, large))
            if names[-1].endswith(".emf"):
                write_file(names[-1], metafiles.emf_bytes(radome_drawing(suffix, large)))
            else:
                write_gif(names[-1], radome_picture_canvas(suffix, large))
    # drop pictures left over from an earlier run
    for existing in os.listdir(IMAGE_DIR):
        if existing.lower().endswith((".gif", ".wmf", ".emf")) and existing not in names:
            os.remove(os.path.join(IMAGE_DIR, existing))
    return names


def main():
    ants = build_antennas()
    models = [a["PartNum"] for a in ants]
    if len(set(models)) != len(models):
        raise SystemExit("duplicate model numbers")
    for special in (EMPTY_RPE_MODEL, EMPTY_FLANGE_MODEL, NO_RADOME_MODEL):
        if special not in models:
            raise SystemExit("corner-case model %s is not in the catalogue" % special)
    write_text_files(ants)
    pictures = write_pictures(ants)
    print("%d antennas, %d bands, %d types, %d pictures" % (
        len(ants), len({a["Freq"] for a in ants}), len({a["Type"] for a in ants}), len(pictures)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
