#!/usr/bin/env python3
"""Independent re-derivation of the record cipher's shifts with exact rationals.

Every step is rounded by hand: to a 64-bit mantissa where the arithmetic runs
in the x87 extended format, to a 53-bit mantissa where x is stored as a double.
Prints the shifts for the default key and alphabet, and the enciphered texts
that test_chiffre.cpp pins, so the values there need not be taken on trust from
the C++ code under test.
"""
from fractions import Fraction
import math
import sys

PI_EXT = Fraction(0xC90FDAA22168C235, 2**62)
ALPHABET = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"


def round_to_bits(value: Fraction, bits: int) -> Fraction:
    """Round to the nearest binary number with `bits` significant bits, ties to even."""
    if value == 0:
        return value
    sign = -1 if value < 0 else 1
    value = abs(value)
    exponent = math.floor(math.log2(value.numerator) - math.log2(value.denominator))
    # Correct the estimate so that 2**exponent <= value < 2**(exponent+1).
    while Fraction(2) ** exponent > value:
        exponent -= 1
    while Fraction(2) ** (exponent + 1) <= value:
        exponent += 1
    scale = Fraction(2) ** (bits - 1 - exponent)
    scaled = value * scale
    floor = scaled.numerator // scaled.denominator
    rest = scaled - floor
    if rest > Fraction(1, 2) or (rest == Fraction(1, 2) and floor % 2 == 1):
        floor += 1
    return sign * Fraction(floor) / scale


def ext(v):
    return round_to_bits(v, 64)


def dbl(v):
    return round_to_bits(v, 53)


def shifts(key: int, n: int, count: int):
    x = dbl(ext(abs(ext(Fraction(key) / PI_EXT))))
    out = []
    for _ in range(count):
        x = dbl(x - math.trunc(x))
        s = math.trunc(ext(n * x))
        out.append(-s if key < 0 else s)
        x = dbl(ext(ext(x * 997) + PI_EXT))
    return out


def transform(text: str, key: int, alphabet: str = ALPHABET) -> str:
    n = len(alphabet)
    result = []
    for ch, s in zip(text, shifts(key, n, len(text))):
        j = alphabet.find(ch)
        result.append(ch if j < 0 else alphabet[(j + s + n) % n])
    return "".join(result)


if __name__ == "__main__":
    print("shifts, key 58213:", shifts(58213, 62, 40))
    for text, key in [("A" * 40, 58213),
                      ("1234,Hans Müller", 58213),
                      ("0815,Zoë", 2147482863),
                      ("A" * 24, 1)]:
        print(repr(text), key, "->", repr(transform(text, key)))
    sys.exit(0)
