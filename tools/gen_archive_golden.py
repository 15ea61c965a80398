#!/usr/bin/env python3
"""Writes the golden binary archives of tests/data/archive/: NAME.tc2 built byte by byte
from the layout of the binary form with struct, and NAME.lst, the listing the archive
must read as (format in read_archive.py).

The layout, little-endian:
  header   the 9 ASCII bytes "APVersion", then the version as an IEEE double
  section  uint32 entry count, then the entry records
  record   uint32 identifier, uint32 type code, payload:
           1 integer: int32         2 double: IEEE double
           3 string: length prefix, bytes without terminator
           4 binary: uint32 length, bytes
           5 subsection: a nested section
  length prefix: one byte below 255; else FF and a uint16 below 0xFFFE;
                 else FF, FFFF and a uint32

The listing is made from the model; each archive is also read back with read_archive.py,
which must give the model again.

Run: python3 tools/gen_archive_golden.py tests/data/archive
"""
import pathlib
import struct
import sys

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import read_archive  # noqa: E402

INT, DBL, STR, BIN, SUB = 1, 2, 3, 4, 5


def bits(x):
    return struct.unpack("<Q", struct.pack("<d", x))[0]


def length_prefix(n):
    if n < 255:
        return struct.pack("<B", n)
    if n < 0xFFFE:
        return struct.pack("<BH", 0xFF, n)
    return struct.pack("<BHI", 0xFF, 0xFFFF, n)


def section(entries):
    out = struct.pack("<I", len(entries))
    for ident, kind, value in entries:
        out += struct.pack("<II", ident, kind)
        if kind == INT:
            out += struct.pack("<i", value)
        elif kind == DBL:
            out += struct.pack("<Q", value)
        elif kind == STR:
            out += length_prefix(len(value)) + value
        elif kind == BIN:
            out += struct.pack("<I", len(value)) + value
        else:
            out += section(value)
    return out


def archive(version, entries):
    return b"APVersion" + struct.pack("<d", version) + section(entries)


def pattern(n, seed):
    return bytes((seed + 31 * i + (i >> 8)) & 0xFF for i in range(n))


def nested(depth):
    return [(depth, INT, -depth), (1, SUB, nested(depth - 1) if depth > 1 else [])]


GOLDEN = {
    # Header only: a version and an empty root section.
    "header": (2.5, []),
    # Each value type with its edge values; identifiers 0 and 65535.
    "values": (1.0, [
        (0, INT, 0), (1, INT, -7), (2, INT, -2**31), (3, INT, 2**31 - 1),
        (4, DBL, bits(-0.0)), (5, DBL, 1), (6, DBL, bits(1.7976931348623157e308)),
        (7, DBL, bits(float("inf"))), (8, DBL, 0x7FF8000000000001), (9, DBL, bits(0.1)),
        (10, STR, b""), (11, STR, b"a\tb\r\n<&>\"'"), (12, STR, b"\x00\x80\xff\xc3\xa4"),
        (13, BIN, b""), (14, BIN, b"\x00\x80\xff"), (15, BIN, pattern(33, 1)),
        (65535, STR, "Ä µ €".encode()),
    ]),
    # Strings on both sides of each change of the length prefix.
    "strings": (3.25, [
        (n & 0xFFFF, STR, pattern(n, n)) for n in (1, 254, 255, 0xFFFD, 0xFFFE, 0xFFFF)
    ]),
    # Sections: empty, deeply nested, siblings, values before and after them.
    "nested": (0.5, [
        (1, INT, 1),
        (2, SUB, []),
        (3, SUB, [(1, STR, b"in"), (2, SUB, [(7, DBL, bits(2.5))]), (3, BIN, b"\x01")]),
        (4, SUB, nested(40)),
        (5, STR, b"after"),
    ]),
}


def main(out_dir):
    out = pathlib.Path(out_dir)
    out.mkdir(parents=True, exist_ok=True)
    for name, (version, entries) in GOLDEN.items():
        data = archive(version, entries)
        # The listing comes from the model; the second reader must agree with it.
        assert read_archive.read(data) == (bits(version), entries), name
        (out / f"{name}.tc2").write_bytes(data)
        (out / f"{name}.lst").write_text(read_archive.listing(bits(version), entries))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
