#!/usr/bin/env python3
"""Golden vectors for ftoa beyond what printf can check.

Follows the formatting steps of ftoa on its own: every double operation (the table of
powers of ten, each scaling product, the added 0.5) is carried out exactly with
fractions and rounded to the nearest double by hand, so the vectors do not depend on
the C library or the compiler.

Output lines: value bits (16 hex digits), format (0 fixed, 1 scientific, 2 significant,
3 auto), precision, width, comma (0/1), expected text; separated by tabs.

    tools/gen_ftoa_golden.py > tests/data/ftoa_golden.tsv
"""

import random
import struct
import sys
from fractions import Fraction

FIXED, SCIENTIFIC, SIGNIFICANT, AUTO = range(4)
MAX_DECIMALS = 340
MAX_WIDTH = 960
DIGITS = 17  # digits after the leading one


def round_to_double(q):
    """The double nearest to the fraction q (ties to even), as a fraction."""
    if q == 0:
        return Fraction(0)
    sign = -1 if q < 0 else 1
    q = abs(q)
    e = q.numerator.bit_length() - q.denominator.bit_length()
    if Fraction(2) ** e > q:
        e -= 1
    e = max(e, -1022)  # below that the spacing of subnormals stays 2^-1074
    ulp = Fraction(2) ** (e - 52)
    units = q / ulp
    whole = units.numerator // units.denominator
    rest = units - whole
    if rest > Fraction(1, 2) or (rest == Fraction(1, 2) and whole % 2 == 1):
        whole += 1
    result = whole * ulp
    if result >= Fraction(2) ** 1024:
        raise OverflowError("product beyond the range of doubles")
    return sign * result


POW10 = {e: round_to_double(Fraction(10) ** e) for e in range(-324, 309)}


def pow10(e):
    return POW10[min(max(e, -324), 308)]


def decimal_exponent(x):
    """Largest e with POW10[e] <= x, by bisection over the table; 0 for x = 0."""
    if x == 0:
        return 0
    lo, hi = -324, 308
    while lo < hi:
        mid = (lo + hi + 1) // 2
        if POW10[mid] <= x:
            lo = mid
        else:
            hi = mid - 1
    return lo


def exp_mul(v, e):
    while e < -307 and v != 0:
        v = round_to_double(v * POW10[-307])
        e += 307
    while e >= 308 and v != 0:
        v = round_to_double(v * POW10[308])
        e -= 308
    return round_to_double(v * pow10(e)) if v != 0 else v


def scaled_digits(x, s):
    q = round_to_double(exp_mul(x, s) + Fraction(1, 2))
    return q.numerator // q.denominator


def resolve(fmt, precision, e):
    if fmt == FIXED:
        return False, precision, False
    if fmt == SCIENTIFIC:
        return True, max(precision, 0), False
    if fmt == SIGNIFICANT:
        fixed = (precision == 0 and e == 0) or -4 <= e < precision
        decimals = max(precision, 1) - e - 1 if fixed else precision - 1
        return not fixed, min(max(decimals, 0), 16), True
    if -5 <= e <= 10:
        return False, 9 - min(max(e, 0), 9), True
    return True, 5, True


def ftoa(value, fmt, precision, width, comma):
    negative = value < 0
    x = abs(Fraction(value))
    e = decimal_exponent(x)
    scientific, d, strip = resolve(fmt, min(max(precision, -1000), 1000), e)
    d = min(max(d, -MAX_DECIMALS), MAX_DECIMALS)
    width = min(max(width, 0), MAX_WIDTH)
    if not scientific:
        n = min(d, DIGITS - e)
        N = scaled_digits(x, n)
        zeros = d - n if n >= 0 else d
    else:
        n = min(d, DIGITS)
        k = d - e - max(0, d - DIGITS)
        N = scaled_digits(x, k)
        if N >= 10 ** (n + 1):
            e += 1
            N = scaled_digits(x, k - 1)
        elif N != 0 and N < 10 ** n:
            e -= 1
            N = scaled_digits(x, k + 1)
        zeros = d - DIGITS
        width -= 5

    # Written with the most significant character first, unlike the library.
    fraction = str(N % 10 ** n).zfill(n) if n > 0 else ""
    if n > 0:
        N //= 10 ** n
    if strip:
        fraction = fraction.rstrip("0")
    elif zeros > 0:
        fraction += "0" * zeros
    if N == 0:
        integer = "0"
    else:
        integer = str(N) + "0" * max(-n, 0)
    text = ("-" if negative else "") + integer
    if fraction:
        text += ("," if comma else ".") + fraction
    text = text.rjust(width)
    if scientific:
        text += "e%s%03d" % ("-" if e < 0 else "+", abs(e))
    return text


def bits_of(v):
    return struct.unpack("<Q", struct.pack("<d", v))[0]


def double_of(bits):
    return struct.unpack("<d", struct.pack("<Q", bits))[0]


def values(rng):
    """Doubles that stress the steps: random bit patterns over the whole range, short
    decimals (near ties), powers of ten and their neighbours, subnormals, extremes."""
    out = []
    for _ in range(100):
        field = rng.randrange(0, 2047)
        out.append(double_of(field << 52 | rng.getrandbits(52) | rng.getrandbits(1) << 63))
    for _ in range(80):
        digits = rng.randrange(1, 19)
        m = rng.randrange(10 ** (digits - 1), 10 ** digits)
        q = Fraction(m, 10 ** rng.randrange(0, 25)) * Fraction(10) ** rng.randrange(-8, 8)
        out.append(float(round_to_double(q)) * rng.choice((1, -1)))
    for e in range(-324, 309, 13):
        p = POW10[e]
        for bits in (bits_of(float(p)) - 1, bits_of(float(p)), bits_of(float(p)) + 1):
            if 0 <= bits < 0x7FF0000000000000:
                out.append(double_of(bits))
    out += [0.0, -0.0, 5e-324, 1e-323, 2.2250738585072014e-308, 2.225073858507201e-308,
            1.7976931348623157e308, -1.7976931348623157e308, 0.5, 9.5, 99.5, 999999.5]
    return out


def main():
    rng = random.Random(80)
    lines = []
    for v in values(rng):
        cases = [
            (FIXED, rng.randrange(11, 21) - 1 - decimal_exponent(abs(Fraction(v)))),
            (FIXED, rng.randrange(-6, 31)),
            (SCIENTIFIC, rng.randrange(10, 23)),
            (SCIENTIFIC, rng.randrange(-2, 26)),
            (SIGNIFICANT, rng.randrange(11, 21)),
            (SIGNIFICANT, rng.randrange(-2, 21)),
            (AUTO, 0),
        ]
        for fmt, precision in cases:
            width = rng.choice((0, 0, 0, rng.randrange(1, 40)))
            comma = rng.randrange(8) == 0
            text = ftoa(v, fmt, precision, width, comma)
            lines.append("%016x\t%d\t%d\t%d\t%d\t%s" % (bits_of(v), fmt, precision, width,
                                                        comma, text))
    sys.stdout.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
