#!/usr/bin/env python3
"""Mutants of the display-free core, run by scripts/mutate.sh on its built scratch copy.

A mutant changes one token in ini/, platform/, settings/, flatfile/, pictures/ or catalog/ (outside
comments, string literals, preprocessor lines and code the build leaves out). It is killed
when a test fails or times out, survives when every test passes, and is left out of the
score when it does not compile. A mutant that compiles to the very same object files is
reported as surviving with "same machine code", and the tests are skipped.

Code only the Windows build compiles (the Windows*.cpp files, the _WIN32 side of a
condition) belongs to the Windows run (--windows: the MinGW build, its test programs run
under Wine); the Linux run takes the rest. Mutants listed in mutate-equivalent.txt beside
this script cannot change any result: they are never drawn.
"""
import argparse
import hashlib
import itertools
import os
import random
import re
import resource
import subprocess
import sys
import time
from pathlib import Path
from xml.etree import ElementTree

FOLDERS = ("ini", "platform", "settings", "flatfile", "pictures", "catalog")
SWAPS = {"==": "!=", "!=": "==", "<": "<=", "<=": "<", ">": ">=", ">=": ">",
         "&&": "||", "||": "&&", "++": "--", "--": "++", "true": "false", "false": "true",
         "+ 1": "+ 2", "- 1": "- 2"}
# The macros each build decides (1 defined, 0 not); a condition on any other
# counts as compiled.
MACROS = {"linux": {"_WIN32": 0, "_MSC_VER": 0, "__SSE2__": 1},
          "windows": {"_WIN32": 1, "_MSC_VER": 0, "__SSE2__": 1}}
WINDOWS_FILE = re.compile(r"(^|/)Windows\w*\.(cpp|h)$")
EQUIVALENTS = Path(__file__).with_name("mutate-equivalent.txt")
LITERAL = re.compile(r'//[^\n]*|/\*.*?\*/|R"([^(\s]*)\(.*?\)\1"|"(?:\\.|[^"\\\n])*"'
                     r"|'(?:\\.|[^'\\\n])*'", re.S)
TOKEN = re.compile(r"[A-Za-z_]\w*|\d[\w.']*|<<=|>>=|<=>|->\*?|<<|>>|<=|>=|==|!=|&&|\|\||"
                     r"\+\+|--|::|\S")
DIRECTIVE = re.compile(r"#\s*(\w*)\s*(.*)")
DEFINED = re.compile(r"\bdefined\b\s*(?:\(\s*(\w+)\s*\)|(\w+))")


def blank(text):
    """Spaces for everything but newlines."""
    return re.sub(r"[^\n]", " ", text)


def evaluate(expression, macros):
    """An #if expression's value in a build, or None when the build does not decide it."""
    text = DEFINED.sub(lambda m: "defined_" + (m.group(1) or m.group(2)), expression)
    names = sorted(set(re.findall(r"[A-Za-z_]\w*", text)))
    known = {n: macros[n[8:] if n.startswith("defined_") else n] for n in names
             if (n[8:] if n.startswith("defined_") else n) in macros}
    unknown = [n for n in names if n not in known]
    code = re.sub(r"!(?!=)", " not ", text.replace("&&", " and ").replace("||", " or "))
    code = re.sub(r"\b(\d+)[uUlL]+\b", r"\1", code)
    if len(unknown) > 4:
        return None
    values = set()
    for bits in itertools.product((0, 1), repeat=len(unknown)):
        try:
            names = dict(known, **dict(zip(unknown, bits)))
            values.add(bool(eval(code, {"__builtins__": {}}, names)))
        except Exception:  # not an expression this reads: counts as compiled
            return None
    return values.pop() if len(values) == 1 else None


def compiled_lines(text, macros):
    """For each line, whether the build compiles it (never a preprocessor line)."""
    flags, stack, continued = [], [], False  # stack: [this branch's value, an earlier one taken]
    for line in text.split("\n"):
        directive = continued or line.lstrip().startswith("#")
        m = DIRECTIVE.match(line.lstrip()) if directive and not continued else None
        word, rest = (m.group(1), m.group(2).strip()) if m else ("", "")
        if word in ("if", "ifdef", "ifndef"):
            value = evaluate(rest if word == "if" else "defined(%s)" % (rest.split() or [""])[0],
                             macros)
            if word == "ifndef" and value is not None:
                value = not value
            stack.append([value, value])
        elif word == "elif" and stack:
            taken = stack[-1][1]
            value = False if taken is True else evaluate(rest, macros)
            if taken is None and value is not False:
                value = None
            stack[-1] = [value, True if taken or value else (None if None in (taken, value)
                                                               else False)]
        elif word == "else" and stack:
            taken = stack[-1][1]
            stack[-1] = [None if taken is None else not taken, True]
        elif word == "endif" and stack:
            stack.pop()
        continued = directive and line.rstrip().endswith("\\")
        flags.append(not directive and all(value is not False for value, _ in stack))
    return flags


def code_only(text, name, build):
    """The text with comments, literals, preprocessor lines and code that is not this
    run's blanked: the Linux run takes what the Linux build compiles, the Windows run
    what only the Windows build compiles."""
    text = LITERAL.sub(lambda m: blank(m.group(0)), text)
    linux = compiled_lines(text, MACROS["linux"])
    if WINDOWS_FILE.search(name):
        linux = [False] * len(linux)
    if build == "windows":
        windows = compiled_lines(text, MACROS["windows"])
        keep = [w and not l for w, l in zip(windows, linux)]
    else:
        keep = linux
    return "\n".join(line if k else blank(line) for line, k in zip(text.split("\n"), keep))


def sites_in(root, name, build="linux"):
    """Every (file, offset, original, mutated) of one source file."""
    code = code_only((root / name).read_text(encoding="latin-1"), name, build)
    tokens = [(m.start(), m.group(0)) for m in TOKEN.finditer(code)]
    found = []
    for k, (at, tok) in enumerate(tokens):
        before = tokens[k - 1][1] if k else ""
        after = tokens[k + 1][1] if k + 1 < len(tokens) else ""
        spaced = code[at - 1:at] == " " and code[at + len(tok):at + len(tok) + 1] == " "
        if before == "operator" or tok not in SWAPS and tok not in ("+", "-"):
            continue
        if tok in ("+", "-"):  # a binary "x + 1" or "x - 1"
            if spaced and after == "1" and code[at:at + 3] == tok + " 1":
                found.append((name, at, tok + " 1", SWAPS[tok + " 1"]))
            continue
        # Comparisons and logical operators have spaces around them once formatted;
        # template brackets and "T&&" do not.
        if tok in ("<", ">", "&&", "||") and (not spaced or before == "template"):
            continue
        found.append((name, at, tok, SWAPS[tok]))
    return found


def position(root, name, offset):
    text = (root / name).read_text(encoding="latin-1")
    line = text.count("\n", 0, offset) + 1
    return line, offset - text.rfind("\n", 0, offset)


def mutated_line(root, site):
    """The line of a mutant as it reads mutated, without comments, blanks collapsed."""
    name, offset, original, mutated = site
    text = (root / name).read_text(encoding="latin-1")
    text = text[:offset] + mutated + text[offset + len(original):]
    start = text.rfind("\n", 0, offset) + 1
    end = text.find("\n", offset)
    line = text[start:end if end >= 0 else len(text)]
    line = LITERAL.sub(lambda m: blank(m.group(0)) if m.group(0)[0] == "/" else m.group(0), line)
    return " ".join(line.split())


def read_equivalents(path):
    """{(file, mutated line): reason} from lines "file: mutated line  # reason"."""
    listed = {}
    if not path.exists():
        return listed
    for number, line in enumerate(path.read_text(encoding="latin-1").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        name, colon, rest = line.partition(": ")
        code, hash_, reason = rest.rpartition(" # ")
        if not colon or not hash_ or not reason.strip() or not code.strip():
            sys.exit("mutate: %s:%d: not \"file: mutated line  # reason\"" % (path, number))
        listed[(name.strip(), " ".join(code.split()))] = reason.strip()
    return listed


def compiled_files(build):
    """The sources and headers the build compiles, from ninja's dependency log."""
    deps = subprocess.run(["ninja", "-C", str(build), "-t", "deps"], capture_output=True,
                          text=True, check=True).stdout
    return {(build / line.strip()).resolve() for line in deps.splitlines()
            if line.startswith("    ")}


def object_hashes(build):
    return {str(o): hashlib.md5(o.read_bytes()).digest() for o in build.rglob("*.o*")
            if o.suffix in (".o", ".obj")}


def limit_memory():
    # A mutant that loops while growing a container stops at 4 GiB instead of the machine.
    resource.setrlimit(resource.RLIMIT_AS, (4 << 30, 4 << 30))


def failed_tests(args):
    """What failed ("" when every test passes): ctest, or each Windows test program under Wine."""
    if args.windows:
        for program in sorted(args.build.glob("tests/*/kav_*_tests.exe")):
            try:
                ran = subprocess.run(["wine", str(program), "--gtest_brief=1"],
                                     capture_output=True, text=True, errors="replace",
                                     timeout=args.timeout, preexec_fn=limit_memory)
            except subprocess.TimeoutExpired:
                return "%s: timed out" % program.name
            if ran.returncode != 0:
                return "%s: exit status %d\n%s" % (program.name, ran.returncode,
                                                    ran.stdout[-2000:])
        return ""
    report = (args.build / "mutate-ctest.xml").resolve()
    ran = subprocess.run(["ctest", "-j", "2", "--timeout", str(args.timeout), "--stop-on-failure",
                          "--output-junit", str(report), "--test-output-size-passed", "1000000"],
                         cwd=args.build, capture_output=True, text=True, errors="replace",
                         preexec_fn=limit_memory)
    if ran.returncode != 0:
        return "\n".join(line for line in ran.stdout.splitlines()
                         if "***" in line or "Failed" in line) or "ctest failed"
    # A test program that ends early with status 0 (a stray exit in the code under test) passes
    # in ctest's eyes; only its output tells: GoogleTest's start without its closing count, or a
    # failure that a process forked from it printed.
    outputs = {case.get("name"): case.findtext("system-out") or ""
               for case in ElementTree.parse(report).iter("testcase")}
    cut = [name for name, out in outputs.items() if "[==========] Running" in out and (
        "[  PASSED  ]" not in out or "[  FAILED  ]" in out)]
    return "passed by its status alone: " + ", ".join(cut) if cut else ""


def run_mutant(args, site, baseline):
    name, offset, original, mutated = site
    path = args.src / name
    saved = path.read_bytes()
    text = saved.decode("latin-1")
    path.write_bytes((text[:offset] + mutated + text[offset + len(original):]).encode("latin-1"))
    try:
        built = subprocess.run(["ninja", "-C", str(args.build), "-j", "2"],
                               capture_output=True, text=True)
        if built.returncode != 0:
            failed = re.findall(r"^FAILED: (\S+)", built.stdout, re.M)
            # A test program that crashes while listing its tests fails the build too.
            return ("no-compile" if any(f.endswith((".o", ".obj", ".a")) for f in failed)
                    else "killed")
        if object_hashes(args.build) == baseline:
            return "survived (same machine code)"
        return "killed" if failed_tests(args) else "survived"
    finally:
        path.write_bytes(saved)  # rebuilt along with the next mutant


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--src", type=Path, required=True)
    parser.add_argument("--build", type=Path, required=True)
    parser.add_argument("--windows", action="store_true",
                        help="the MinGW build in --build: mutate only the code it alone compiles")
    parser.add_argument("--seed", type=int, help="repeats a run (default: a fresh one)")
    parser.add_argument("--count", type=int, default=100)
    parser.add_argument("--only", action="append", metavar="FILE:LINE:COL",
                        help="run only this mutant (repeatable)")
    parser.add_argument("--list", action="store_true", help="list every candidate and stop")
    parser.add_argument("--timeout", type=int, default=60,
                        help="seconds per test (per test program under Wine)")
    args = parser.parse_args()
    if args.seed is None:
        args.seed = random.SystemRandom().randrange(1, 1000000)

    build = "windows" if args.windows else "linux"
    compiled = compiled_files(args.build)
    names = sorted(str(p.relative_to(args.src)) for folder in FOLDERS
                   for p in (args.src / folder).rglob("*")
                   if p.suffix in (".cpp", ".h") and p.resolve() in compiled)
    every = [s for name in names for s in sites_in(args.src, name, build)]
    where = {s: "%s:%d:%d" % ((s[0],) + position(args.src, s[0], s[1])) for s in every}
    listed = read_equivalents(EQUIVALENTS)
    equivalent = {s: listed[(s[0], mutated_line(args.src, s))] for s in every
                  if (s[0], mutated_line(args.src, s)) in listed}
    stale = set(listed) - {(s[0], mutated_line(args.src, s)) for s in equivalent}
    for name, line in sorted(stale):
        if build == "linux":  # the Windows run sees only part of the files
            print("mutate: listed as equivalent, but no mutant reads so: %s: %s" % (name, line))
    sites = [s for s in every if s not in equivalent]
    if args.list:
        for s in every:
            print("%s: %s -> %s%s" % (where[s], s[2], s[3],
                                      " (equivalent: %s)" % equivalent[s] if s in equivalent
                                      else ""))
        print("%d candidates in %d files, %d of them equivalent" % (
            len(every), len(names), len(equivalent)))
        return 0
    if args.only:
        chosen = [s for s in every if where[s] in args.only]
        missing = set(args.only) - {where[s] for s in chosen}
        if missing:
            sys.exit("mutate: no candidate at " + ", ".join(sorted(missing)))
    else:
        chosen = sorted(random.Random(args.seed).sample(sites, min(args.count, len(sites))))
    print("mutate: %d of %d candidates (%d equivalent left out)%s" % (
        len(chosen), len(sites), len(equivalent), "" if args.only else ", seed %d" % args.seed),
          flush=True)
    failed = failed_tests(args)
    if failed:
        sys.exit("mutate: the tests fail without any mutation:\n" + failed)

    baseline = object_hashes(args.build)
    fates = {}  # folder -> {fate: count}
    survivors = []
    started = time.monotonic()
    for s in chosen:
        fate = run_mutant(args, s, baseline)
        folder = fates.setdefault(s[0].split("/")[0], {"killed": 0, "survived": 0,
                                                        "no-compile": 0})
        folder[fate.split()[0]] += 1
        file_line = where[s].rsplit(":", 1)[0]
        print("%s: %s -> %s: %s" % (file_line, s[2], s[3], fate), flush=True)
        if fate.startswith("survived"):
            survivors.append("%s: %s -> %s%s" % (where[s], s[2], s[3], fate[8:]))
    subprocess.run(["ninja", "-C", str(args.build), "-j", "2"], capture_output=True)

    out = args.build.parent / ("survivors-windows.txt" if args.windows else "survivors.txt")
    out.write_text("".join(line + "\n" for line in survivors))
    total = {k: sum(f[k] for f in fates.values()) for k in ("killed", "survived", "no-compile")}
    print("%.0f s; survivors in %s" % (time.monotonic() - started, out))
    for name, f in sorted(fates.items()) + [("total", total)]:
        scored = f["killed"] + f["survived"]
        score = "%5.1f%%" % (100.0 * f["killed"] / scored) if scored else "    -"
        print("score %-9s %s  killed %d, survived %d, no-compile %d" % (
            name + ":", score, f["killed"], f["survived"], f["no-compile"]))
    if not args.only:
        print("seed %d" % args.seed)
    return 0


if __name__ == "__main__":
    sys.exit(main())
