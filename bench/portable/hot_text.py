#!/usr/bin/env python3
"""Writes cmake/portable-hot-text.ld, which scripts/build-portable links the portable trmsg with: the
input sections of the code a request runs, placed first in the program's text, so that a request touches
a few dozen contiguous pages of the file rather than pages all over its 4.5 MB of code (the kernel maps a
file's cached pages around each one touched, and they count in the peak memory).

Usage: hot_text.py BUILD_DIR, BUILD_DIR being a normal build (its catalogues and compiled locales), after
scripts/build-portable, whose unstripped program build-portable/cmake/trmsg and link map trmsg.map it
reads. The code is what callgrind sees run in representative requests: translated requests in UTF-8 and
in 8-bit and multibyte locales, the report line, --utf8 and a listing. Sections are named by archive,
member and section, so the file serves both architectures; a name the link does not meet is ignored
there. Run it again when Qt, ICU or the C library change, then scripts/build-portable."""
import bisect
import os
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
PROGRAM = os.path.join(REPO, "build-portable", "cmake", "trmsg")
LAYOUT = os.path.join(REPO, "cmake", "portable-hot-text.ld")


def requests(build):
    """(locale, installation, operands) of the requests whose code is laid out first."""
    demo = os.path.join(build, "examples")
    tests = os.path.join(build, "tests", "installation")
    koi8 = "файл".encode("koi8-r")
    return [
        ("fr_FR.UTF-8", demo, [b"demo", b"Installer", b"Installing %1 into %2", b"", b"Zeza Suite", b"/opt/zeza"]),
        ("fr_FR.UTF-8", demo, []),
        ("fr_FR.UTF-8", demo, [b"--utf8", "Grüß".encode()]),
        ("ru_RU.KOI8-R", tests, [b"app", b"Main", b"Copy %1 to %2", b"", koi8, b"/tmp"]),
        ("ru_RU.KOI8-R", tests, []),
        ("ja_JP.EUC-JP", tests, [b"20..7f"]),
        ("zh_CN.GB18030", tests, [b"--utf8", b"\x94\x39\xfc\x36"]),
    ]


def executed_functions(build):
    """The names of the functions callgrind sees run in the requests."""
    names = set()
    with tempfile.TemporaryDirectory() as work:
        for number, (locale, installation, operands) in enumerate(requests(build)):
            out = os.path.join(work, "callgrind.%d" % number)
            env = {"LANG": locale, "ZEZAVAVEV": installation, "LOCPATH": os.path.join(build, "locales")}
            subprocess.run(["valgrind", "--tool=callgrind", "--compress-strings=no", "--callgrind-out-file=" + out,
                            PROGRAM] + operands, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           check=True)
            with open(out, encoding="utf-8", errors="replace") as profile:
                names.update(line[3:].rstrip("\n") for line in profile if line.startswith("fn="))
    return names


def function_addresses(names):
    listing = subprocess.run(["nm", "-C", "--defined-only", PROGRAM], stdout=subprocess.PIPE, text=True,
                             check=True).stdout
    return sorted(int(address, 16) for address, kind, name in
                  (line.split(None, 2) for line in listing.splitlines() if line.count(" ") >= 2)
                  if kind in "TtWw" and name in names)


def input_sections(link_map):
    """(address, size, section, file) of every code input section the link map places."""
    sections = []
    lines = open(link_map, encoding="utf-8", errors="replace").read().split("\n")
    whole = re.compile(r"^ (\.text\S*)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")
    name_alone = re.compile(r"^ (\.text\S*)$")
    placed = re.compile(r"^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")
    for index, line in enumerate(lines):
        match = whole.match(line)
        if match:
            sections.append((int(match[2], 16), int(match[3], 16), match[1], match[4]))
            continue
        match = name_alone.match(line)
        follow = placed.match(lines[index + 1]) if match and index + 1 < len(lines) else None
        if follow:
            sections.append((int(follow[1], 16), int(follow[2], 16), match[1], follow[3]))
    return sorted(sections)


def file_pattern(name):
    """The linker script's name for an input file: *archive:member, or *object."""
    member = re.match(r"^(.*)\((.*)\)$", name)
    if member:
        return "*%s:%s" % (os.path.basename(member[1]), member[2])
    return "*" + os.path.basename(name)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: hot_text.py BUILD_DIR")
    build = os.path.abspath(sys.argv[1])
    sections = input_sections(PROGRAM + ".map")
    starts = [section[0] for section in sections]
    hot = set()
    for address in function_addresses(executed_functions(build)):
        index = bisect.bisect_right(starts, address) - 1
        if index >= 0 and address < sections[index][0] + sections[index][1]:
            hot.add(sections[index])
    entries = sorted({(file_pattern(name), section) for _, _, section, name in hot})
    with open(LAYOUT, "w") as layout:
        layout.write("/* The code the portable trmsg runs for a request, first in its text: written by\n"
                     "   bench/portable/hot_text.py, %d input sections, %d bytes on x86-64. */\n"
                     % (len(entries), sum(size for _, size, _, _ in hot)))
        layout.write("SECTIONS\n{\n  .text.hot :\n  {\n")
        layout.writelines("    %s(%s)\n" % entry for entry in entries)
        layout.write("  }\n}\nINSERT BEFORE .text;\n")
    print("%s: %d input sections" % (LAYOUT, len(entries)))


main()
