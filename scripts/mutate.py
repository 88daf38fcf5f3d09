#!/usr/bin/env python3
"""Mutants of the display-free core, run by scripts/mutate.sh on its built scratch copy.

A mutant changes one token in ini/, platform/, flatfile/, pictures/ or catalog/ (outside
comments, string literals, preprocessor lines and code the build leaves out). It is killed
when a test fails or times out, survives when every test passes, and is left out of the
score when it does not compile. A mutant that compiles to the very same object files is
reported as surviving with "same machine code": it is equivalent, and the tests are skipped.
"""
import argparse
import hashlib
import random
import re
import resource
import subprocess
import sys
import time
from pathlib import Path

FOLDERS = ("ini", "platform", "flatfile", "pictures", "catalog")
SWAPS = {"==": "!=", "!=": "==", "<": "<=", "<=": "<", ">": ">=", ">=": ">",
         "&&": "||", "||": "&&", "++": "--", "--": "++", "true": "false", "false": "true",
         "+ 1": "+ 2", "- 1": "- 2"}
# Conditions whose value is known in this build; any other #if counts as compiled.
KNOWN_MACROS = {"_WIN32": False, "_MSC_VER": False, "__SSE2__": True}
LITERAL = re.compile(r'//[^\n]*|/\*.*?\*/|R"([^(\s]*)\(.*?\)\1"|"(?:\\.|[^"\\\n])*"'
                     r"|'(?:\\.|[^'\\\n])*'", re.S)
TOKEN = re.compile(r"[A-Za-z_]\w*|\d[\w.']*|<<=|>>=|<=>|->\*?|<<|>>|<=|>=|==|!=|&&|\|\||"
                     r"\+\+|--|::|\S")
CONDITION = re.compile(r"#\s*(ifdef|ifndef|elif|if)\b\s*(!?)\s*(?:defined\b\s*\(?\s*)?(\w+)")


def blank(text):
    """Spaces for everything but newlines."""
    return re.sub(r"[^\n]", " ", text)


def code_only(text):
    """The text with comments, literals, preprocessor lines and left-out branches blanked."""
    text = LITERAL.sub(lambda m: blank(m.group(0)), text)
    lines, stack, continued = text.split("\n"), [], False
    for i, line in enumerate(lines):
        directive = continued or line.lstrip().startswith("#")
        if directive and not continued:
            m = CONDITION.match(line.lstrip())
            word = line.lstrip()[1:].split()[0] if len(line.strip()) > 1 else ""
            if m and m.group(1) != "elif":
                value = KNOWN_MACROS.get(m.group(3))
                if value is not None and (m.group(1) == "ifndef" or m.group(2)):
                    value = not value
                stack.append(value)
            elif word in ("else", "elif") and stack and stack[-1] is not None:
                stack[-1] = not stack[-1]
            elif word == "endif" and stack:
                stack.pop()
        continued = directive and line.rstrip().endswith("\\")
        if directive or False in stack:
            lines[i] = blank(line)
    return "\n".join(lines)


def sites_in(root, name):
    """Every (file, offset, original, mutated) of one source file."""
    code = code_only((root / name).read_text(encoding="latin-1"))
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


def compiled_files(build):
    """The sources and headers the build compiles, from ninja's dependency log."""
    deps = subprocess.run(["ninja", "-C", str(build), "-t", "deps"], capture_output=True,
                          text=True, check=True).stdout
    return {(build / line.strip()).resolve() for line in deps.splitlines()
            if line.startswith("    ")}


def object_hashes(build):
    return {str(o): hashlib.md5(o.read_bytes()).digest() for o in build.rglob("*.o")}


def limit_memory():
    # A mutant that loops while growing a container stops at 4 GiB instead of the machine.
    resource.setrlimit(resource.RLIMIT_AS, (4 << 30, 4 << 30))


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
            return "no-compile" if any(f.endswith((".o", ".a")) for f in failed) else "killed"
        if object_hashes(args.build) == baseline:
            return "survived (same machine code)"
        tests = subprocess.run(["ctest", "-j", "2", "--timeout", str(args.timeout),
                                "--stop-on-failure"], cwd=args.build, capture_output=True,
                               preexec_fn=limit_memory)
        return "killed" if tests.returncode != 0 else "survived"
    finally:
        path.write_bytes(saved)  # rebuilt along with the next mutant


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--src", type=Path, required=True)
    parser.add_argument("--build", type=Path, required=True)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--count", type=int, default=100)
    parser.add_argument("--only", action="append", metavar="FILE:LINE:COL",
                        help="run only this mutant (repeatable)")
    parser.add_argument("--list", action="store_true", help="list every candidate and stop")
    parser.add_argument("--timeout", type=int, default=60, help="seconds per test")
    args = parser.parse_args()

    compiled = compiled_files(args.build)
    names = sorted(str(p.relative_to(args.src)) for folder in FOLDERS
                   for p in (args.src / folder).rglob("*")
                   if p.suffix in (".cpp", ".h") and p.resolve() in compiled)
    sites = [s for name in names for s in sites_in(args.src, name)]
    where = {s: "%s:%d:%d" % ((s[0],) + position(args.src, s[0], s[1])) for s in sites}
    if args.list:
        for s in sites:
            print("%s: %s -> %s" % (where[s], s[2], s[3]))
        print("%d candidates in %d files" % (len(sites), len(names)))
        return 0
    if args.only:
        chosen = [s for s in sites if where[s] in args.only]
        missing = set(args.only) - {where[s] for s in chosen}
        if missing:
            sys.exit("mutate: no candidate at " + ", ".join(sorted(missing)))
    else:
        chosen = sorted(random.Random(args.seed).sample(sites, min(args.count, len(sites))))
    print("mutate: %d of %d candidates, seed %d" % (len(chosen), len(sites), args.seed))

    baseline = object_hashes(args.build)
    fates = {"killed": 0, "survived": 0, "no-compile": 0}
    survivors = []
    started = time.monotonic()
    for s in chosen:
        fate = run_mutant(args, s, baseline)
        fates[fate.split()[0]] += 1
        file_line = where[s].rsplit(":", 1)[0]
        print("%s: %s -> %s: %s" % (file_line, s[2], s[3], fate), flush=True)
        if fate.startswith("survived"):
            survivors.append("%s: %s -> %s%s" % (where[s], s[2], s[3], fate[8:]))
    subprocess.run(["ninja", "-C", str(args.build), "-j", "2"], capture_output=True)

    out = args.build.parent / "survivors.txt"
    out.write_text("".join(line + "\n" for line in survivors))
    scored = fates["killed"] + fates["survived"]
    print("killed %d, survived %d, no-compile %d; %.0f s; survivors in %s" % (
        fates["killed"], fates["survived"], fates["no-compile"],
        time.monotonic() - started, out))
    if scored:
        print("score: %d/%d = %.1f%%" % (fates["killed"], scored, 100.0 * fates["killed"] / scored))
    return 0


if __name__ == "__main__":
    sys.exit(main())
