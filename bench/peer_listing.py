#!/usr/bin/env python3
"""A peer of `trmsg MIN..MAX` in the C locale (UTF-8), as a developer might write
it in Python: the same report line and listing bytes, each line written to the
standard output stream and flushed, as trmsg does.
Usage: peer_listing.py MIN MAX (hexadecimal)."""
import sys


def character_bytes(position):
    if 0xD800 <= position <= 0xDFFF:
        return b"\xef\xbf\xbd"  # a lone surrogate, as the UTF-8 codec converts it
    if position > 0x10FFFF:
        position &= 0xFFFF
    return chr(position).encode("utf-8").split(b"\0", 1)[0]


def main():
    first, last = (int(bound, 16) for bound in sys.argv[1:3])
    out = sys.stdout.buffer
    out.write(b'Mib:106\tmimeName:"UTF-8"\tlocale:"C"\n')
    for position in range(first, last + 1):
        out.write(b"%x:%s\n" % (position, character_bytes(position)))
        out.flush()


main()
