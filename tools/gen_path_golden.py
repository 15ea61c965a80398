#!/usr/bin/env python3
"""Writes tests/data/path_golden.tsv: expected results of MakeAbsPath and MakeRelPath.

The expectations come from Python's ntpath, an independent implementation of the same
path rules: MakeAbsPath(base, path) is ntpath.normpath(ntpath.join(base, path)), and
MakeRelPath(base, path) follows ntpath.relpath for paths inside the base.

Where the two disagree by design, the cases are either left out or adjusted:

Left out (generated, then rejected):
  - ".." above the root of an absolute path: ntpath drops it, CoreKit80 keeps it.
    For UNC paths the share counts as part of the root here (ntpath's view); CoreKit80
    treats the share as the first component, so ".." may not climb to it.
  - a path rooted by a separator but without a drive, joined to a base: ntpath takes the
    base's drive, CoreKit80 keeps the path as it is.
  - drive-relative paths ("C:x") and placeholders ('%'): not ntpath notions.

Adjusted (applied to ntpath's answer):
  - an empty path gives "" (ntpath.join would give the base);
  - a relative result gets ".\\" in front unless it begins with '.';
  - a trailing separator is kept only on "X:\\" and "\\" (ntpath keeps "\\\\srv\\share\\");
  - MakeRelPath: relpath's "." stays "."; any other result inside the base gets ".\\" in
    front; a result outside the base ("..") or on another drive gives the canonical
    absolute path; a result that stays relative (relative base and path) gets ".\\" in
    front unless it is "." or already begins with ".\\".

Run: python3 tools/gen_path_golden.py > tests/data/path_golden.tsv
"""
import ntpath
import random
import sys

SEED = 80
CASES_PER_KIND = 400
MAX_LENGTH = 200  # well below the 259-character cut

COMPONENTS = ["a", "b", "Data", "data", "Sub", "x.txt", "f.tar.gz", "sub dir", "...",
              ".hidden", "Ab-C_1", "Gr\u00fc\u00dfe", "..", ".", "..", "."]
DRIVE_ROOTS = ["C:\\", "c:/", "D:\\", "z:\\"]
UNC_ROOTS = ["\\\\srv\\share\\", "//srv/share/", "\\\\Host\\Data\\"]
SEPARATORS = ["\\", "/", "\\", "\\\\", "//"]


def components(rng, lo, hi):
    return [rng.choice(COMPONENTS) for _ in range(rng.randint(lo, hi))]


def build(rng, root, comps):
    text = root
    for i, comp in enumerate(comps):
        text += comp
        if i + 1 < len(comps):
            text += rng.choice(SEPARATORS)
    if comps and rng.random() < 0.2:
        text += rng.choice(SEPARATORS[:2])
    return text


def random_absolute(rng):
    root = rng.choice(DRIVE_ROOTS + UNC_ROOTS)
    return build(rng, root, components(rng, 0, 5))


def random_relative(rng):
    comps = components(rng, 1, 5)
    return build(rng, "", comps)


def split_root(path):
    """ntpath's drive plus root separator, and the components after them."""
    drive, rest = ntpath.splitdrive(path)
    root = ""
    if rest[:1] in ("\\", "/"):
        root, rest = rest[0], rest[1:]
    return drive + root, [c for c in rest.replace("/", "\\").split("\\") if c]


def climbs_above_root(path):
    root, comps = split_root(path)
    if not root:
        return False
    depth = 0
    for comp in comps:
        if comp == "..":
            depth -= 1
            if depth < 0:
                return True
        elif comp != ".":
            depth += 1
    return False


def is_absolute(path):
    drive, rest = ntpath.splitdrive(path)
    return bool(drive) and (drive.startswith(("\\\\", "//")) or rest[:1] in ("\\", "/"))


def adjust(result):
    """ntpath's normal form turned into CoreKit80's canonical form."""
    if not is_absolute(result) and not result.startswith("\\"):
        return result if result.startswith(".") else ".\\" + result
    if result.endswith("\\") and len(result) > 3:
        result = result[:-1]
    return result


def abs_expected(base, path):
    if path == "":
        return ""
    if base == "" or is_absolute(path):
        return adjust(ntpath.normpath(path))
    return adjust(ntpath.normpath(ntpath.join(base, path)))


def rel_expected(base, path):
    if path == "" or base == "":
        return abs_expected(base, path)
    target = abs_expected(base, path)
    if not is_absolute(target):
        return target if target == "." or target.startswith(".\\") else ".\\" + target
    try:
        rel = ntpath.relpath(target, base)
    except ValueError:  # another drive
        return target
    if rel == ".":
        return "."
    if rel == ".." or rel.startswith("..\\"):
        return target
    return ".\\" + rel


def acceptable(base, path):
    texts = [t for t in (base, path) if t]
    if any(len(t) > MAX_LENGTH or "%" in t or "\t" in t for t in texts):
        return False
    if any(climbs_above_root(t) for t in texts):
        return False
    if path and not is_absolute(path) and path[:1] in ("\\", "/"):
        return False
    joined = ntpath.join(base, path) if base and path and not is_absolute(path) else path
    return not climbs_above_root(joined)


def random_case(rng, text):
    return "".join(c.swapcase() if c.isascii() and rng.random() < 0.3 else c for c in text)


def random_pair(rng, kind):
    base_kind = rng.random()
    if base_kind < 0.8:
        base = random_absolute(rng)
    elif base_kind < 0.9:
        base = random_relative(rng)
    else:
        base = ""
    choice = rng.random()
    if choice < 0.1:
        path = ""
    elif choice < 0.5:
        path = random_relative(rng)
    elif kind == "rel" and base and choice < 0.85:
        # Inside or at the base, spelled with other separators and (drives, UNC) case.
        prefix = base.replace("\\", "/") if rng.random() < 0.5 else base
        if is_absolute(base):
            prefix = random_case(rng, prefix)
        path = build(rng, prefix.rstrip("\\/") + "\\", components(rng, 0, 3))
    else:
        path = random_absolute(rng)
    return base, path


# Cases from the description of the path functions.
FIXED = [
    ("abs", "C:\\Data", "Sub/../f.txt"),
    ("abs", "C:\\Data", "D:\\x\\"),
    ("abs", "C:\\Data", ""),
    ("abs", "C:\\Data\\", "..\\x"),
    ("abs", "\\\\srv\\share\\\\a", "b"),
    ("rel", "C:\\Data", "C:\\data\\Sub\\f.txt"),
    ("rel", "C:\\Data", "C:\\Data"),
    ("rel", "C:\\Data", "C:\\Other\\f.txt"),
    ("rel", "C:\\Data", "sub\\..\\..\\x"),
    ("rel", "C:\\", "C:\\x\\y"),
    ("rel", "D:\\a", "C:\\a\\b"),
]


def main():
    rng = random.Random(SEED)
    assert all(acceptable(base, path) for _, base, path in FIXED)
    cases = list(FIXED)
    for kind in ("abs", "rel"):
        made = 0
        while made < CASES_PER_KIND:
            base, path = random_pair(rng, kind)
            if acceptable(base, path):
                cases.append((kind, base, path))
                made += 1
    out = sys.stdout
    out.write("# Generated by tools/gen_path_golden.py; do not edit.\n")
    out.write("# kind\tbase\tpath\texpected\n")
    for kind, base, path in cases:
        expected = abs_expected(base, path) if kind == "abs" else rel_expected(base, path)
        out.write(f"{kind}\t{base}\t{path}\t{expected}\n")


if __name__ == "__main__":
    main()
