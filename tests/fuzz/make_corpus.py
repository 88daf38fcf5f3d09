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


if __name__ == "__main__":
    main()
