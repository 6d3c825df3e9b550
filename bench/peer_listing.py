#!/usr/bin/env python3
"""A peer of `trmsg MIN..MAX` in a UTF-8 locale, as a developer might write it in
Python: the same report line and listing bytes, one write (a flush) per line.
Usage: peer_listing.py MIN MAX (hexadecimal)."""
import os
import sys


def character_bytes(position):
    if 0xD800 <= position <= 0xDFFF:
        return b"\xef\xbf\xbd"  # a lone surrogate, as the UTF-8 codec converts it
    if position > 0x10FFFF:
        position &= 0xFFFF
    return chr(position).encode("utf-8").split(b"\0", 1)[0]


def main():
    first, last = (int(bound, 16) for bound in sys.argv[1:3])
    report = b'Mib:106\tmimeName:"UTF-8"\tlocale:"C"\n'
    for position in range(first, last + 1):
        line = b"%x:%s\n" % (position, character_bytes(position))
        os.write(1, report + line)
        report = b""


main()
