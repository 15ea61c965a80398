#!/usr/bin/env python3
"""A second, independent reader of the binary archive form (files beginning "APVersion").

It parses the bytes from the layout alone, little-endian:
  "APVersion", double version, root section;
  section = uint32 count, then count records of uint32 id, uint32 type, payload;
  payload by type: 1 int32; 2 double; 3 length-prefixed bytes; 4 uint32 length + bytes;
  5 a nested section.
  String length prefix: one byte below 255; else FF and a uint16 below 0xFFFE; else
  FF FFFF and a uint32.

and prints the tree as a listing that the C++ tests print the same way from the tree
they wrote, one line per entry in file order:
  version <the version's 64 bits in hex>
  <ids from the root, joined by "/"> int <decimal>
  ...                                dbl <the double's 64 bits in hex>
  ...                                str|bin <length> <hex bytes, or "#" and FNV-1a 64 when longer than 32; none when empty>
  ...                                sub <entry count>

Usage:
  read_archive.py FILE           prints the listing of FILE
  read_archive.py --check DIR... every DIR/*.tc2 must give the listing in the .lst beside
                                 it; exits 1 on any difference or error
"""
import pathlib
import struct
import sys

TYPES = {1: "int", 2: "dbl", 3: "str", 4: "bin", 5: "sub"}
MAX_DEPTH = 256


class Reader:
    def __init__(self, data):
        self.data = data
        self.pos = 0

    def take(self, n):
        if self.pos + n > len(self.data):
            raise ValueError(f"{n} bytes wanted at offset {self.pos}, file ends at {len(self.data)}")
        chunk = self.data[self.pos:self.pos + n]
        self.pos += n
        return chunk

    def num(self, fmt):
        return struct.unpack("<" + fmt, self.take(struct.calcsize("<" + fmt)))[0]

    def text(self):
        n = self.num("B")
        if n == 0xFF:
            n = self.num("H")
            if n == 0xFFFE:
                raise ValueError(f"wide-string marker at offset {self.pos - 3}: never written")
            if n == 0xFFFF:
                n = self.num("I")
        return self.take(n)

    def section(self, depth):
        if depth > MAX_DEPTH:
            raise ValueError("sections nested too deep")
        entries = []
        for _ in range(self.num("I")):
            ident, kind = self.num("I"), self.num("I")
            if ident > 0xFFFF or kind not in TYPES:
                raise ValueError(f"bad record (id {ident}, type {kind}) before offset {self.pos}")
            if kind == 1:
                value = self.num("i")
            elif kind == 2:
                value = self.num("Q")
            elif kind == 3:
                value = self.text()
            elif kind == 4:
                value = self.take(self.num("I"))
            else:
                value = self.section(depth + 1)
            entries.append((ident, kind, value))
        return entries


def read(data):
    """(version bits, root entries) of an archive; entries are (id, type code, value)."""
    r = Reader(data)
    if r.take(9) != b"APVersion":
        raise ValueError("no APVersion signature")
    version = r.num("Q")
    root = r.section(0)
    if r.pos != len(data):
        raise ValueError(f"{len(data) - r.pos} bytes after the root section")
    return version, root


def fnv1a64(data):
    h = 0xCBF29CE484222325
    for b in data:
        h = ((h ^ b) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
    return h


def show_bytes(data):
    if not data:
        return "0"
    return f"{len(data)} " + (data.hex() if len(data) <= 32 else f"#{fnv1a64(data):016x}")


def listing(version, root):
    lines = [f"version {version:016x}"]

    def walk(entries, path):
        for ident, kind, value in entries:
            at = path + str(ident)
            if kind == 1:
                lines.append(f"{at} int {value}")
            elif kind == 2:
                lines.append(f"{at} dbl {value:016x}")
            elif kind == 5:
                lines.append(f"{at} sub {len(value)}")
                walk(value, at + "/")
            else:
                lines.append(f"{at} {TYPES[kind]} {show_bytes(value)}")

    walk(root, "")
    return "\n".join(lines) + "\n"


def check(dirs):
    checked, failed = 0, 0
    for d in dirs:
        for archive in sorted(pathlib.Path(d).glob("*.tc2")):
            expected = archive.with_suffix(".lst").read_text()
            try:
                got = listing(*read(archive.read_bytes()))
            except ValueError as e:
                got = f"error: {e}\n"
            checked += 1
            if got != expected:
                failed += 1
                first = next((a, b) for a, b in zip(got.splitlines() + [""], expected.splitlines() + [""]) if a != b)
                print(f"{archive}: read {first[0]!r}, expected {first[1]!r}")
    print(f"read_archive: {checked - failed} passed, {failed} failed")
    return 1 if failed or not checked else 0


if __name__ == "__main__":
    if len(sys.argv) >= 3 and sys.argv[1] == "--check":
        sys.exit(check(sys.argv[2:]))
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.stdout.write(listing(*read(pathlib.Path(sys.argv[1]).read_bytes())))
