#!/usr/bin/env python3
"""Writes the golden binary block records of tests/data/streams/, byte by byte.

Each record is built here from the record layout alone (Python struct, little-endian,
packed), independently of the C++ writer; the stream tests build the same blocks in C++,
compare the writer's bytes with these files and read the files back.

Run: python3 tools/gen_stream_golden.py tests/data/streams
"""
import os
import struct
import sys

INT, DOUBLE, STRING, POINTER, BLOCK = 1, 2, 3, 4, 5


def i32(v):
    return struct.pack('<i', v)


def text(b):
    return i32(len(b)) + b


def record(body):
    return i32(len(body)) + body


def unit(factor=1.0, exps=(0,) * 7):
    return struct.pack('<d7b', factor, *exps)


def type_info(ts, sr, u, lo, hi, name, state):
    rest = struct.pack('<dd', ts, sr) + u + struct.pack('<dd', lo, hi) + text(name) + i32(state)
    return record(rest)


def segment(name, dtype, dims, data):
    return record(text(name) + b'\x01' + i32(dtype) + i32(len(dims)) +
                  b''.join(i32(d) for d in dims) + data)


def block(segments, ti=None):
    flag = b'\x01' + ti if ti is not None else b'\x00'
    return record(flag + i32(len(segments)) + b''.join(segments))


def golden():
    ti = type_info(1.5e12, 1000.0, unit(1e-3, (1, 0, -2, 0, 0, 0, 0)), -10.0, 10.0, b'Volt\x00age', 0)
    yield 'int_vec_no_ti.bin', block([segment(b'', INT, [2], struct.pack('<2i', 1, 2))])
    yield 'dbl_mat_ti.bin', block(
        [segment(b'', DOUBLE, [2, 3], struct.pack('<6d', 0.5, -1.0, 1e300, -0.0, 2.25, 3.0))], ti)
    yield 'strings.bin', block(
        [segment(b'', STRING, [3], text(b'') + text(b'a\x00b') + text(b'\xc3\xa4'))])
    yield 'pointer.bin', block([segment(b'', POINTER, [7], struct.pack('<I', 0x12345678))])
    channel = block([segment(b'', INT, [1], i32(-1))], ti)
    yield 'nested.bin', block([segment(b'bus', BLOCK, [1], channel)])


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else 'tests/data/streams'
    os.makedirs(out, exist_ok=True)
    for name, data in golden():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
