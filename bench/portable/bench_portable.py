#!/usr/bin/env python3
"""Measures the portable trmsg (scripts/build-portable, one static file) and prints Markdown table rows.

Usage: bench_portable.py BUILD_DIR PORTABLE_TRMSG, BUILD_DIR being the Release build that
bench/bench.py measures (its trmsg is the packaged build, on Debian's shared Qt).
The same translated request with two arguments, run alternately with GNU gettext on
the same catalogue made into a .mo, and with the packaged build: medians of wall
time (300 runs each), of peak resident memory (30), and instructions; against gettext
the targets are its wall time, fewer instructions, and 1.5 times its peak memory. The files the
three map leave the page cache first, so that each is read from disk whatever wrote it. Then the size
of the one file against the packaged trmsg with the shared libraries it loads, and the big-catalogue
requests of bench.py against Qt alone linked as the portable trmsg is."""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
if len(sys.argv) != 3:
    sys.exit("usage: bench_portable.py BUILD_DIR PORTABLE_TRMSG")
PORTABLE = os.path.abspath(sys.argv.pop())
import bench  # noqa: E402  (takes BUILD_DIR from sys.argv)


def loaded_files_size(program):
    """The bytes of the program and of every shared library ldd says it loads."""
    listing = subprocess.run(["ldd", program], stdout=subprocess.PIPE, check=True, text=True).stdout
    files = [program] + [part for line in listing.splitlines() for part in line.split() if part.startswith("/")]
    return sum(os.path.getsize(os.path.realpath(f)) for f in set(files))


def uncache(paths):
    """Drops the page cache of the files (what is mapped elsewhere stays), so that each command maps them as
    read from disk, whatever wrote them: a file written a moment ago (a fresh build, freshly compiled
    locales) sits in the cache in large pieces, which the kernel maps whole around a page touched, and
    they count in the peak memory."""
    for path in paths:
        descriptor = os.open(path, os.O_RDONLY)
        os.fsync(descriptor)
        os.posix_fadvise(descriptor, 0, 0, os.POSIX_FADV_DONTNEED)
        os.close(descriptor)


def mapped_files(domain_dir, env):
    """The programs and the files the three commands map: catalogues and the compiled locale."""
    locale = os.path.join(env["LOCPATH"], env["LANG"])
    catalogues = [os.path.join(root, name) for top in (domain_dir, env["ZEZAVAVEV"])
                  for root, _, names in os.walk(top) for name in names if name.endswith((".mo", ".qm"))]
    return ([PORTABLE, bench.TRMSG, shutil.which("gettext")] + catalogues
            + [os.path.join(root, name) for root, _, names in os.walk(locale) for name in names])


def main():
    request = ["demo", "Installer", "Installing %1 into %2", "", "Zeza Suite", "/opt/zeza"]
    portable = [PORTABLE] + request
    packaged = [bench.TRMSG] + request
    env = bench.environment()
    bench.same_output("portable request", [(portable, env), (packaged, env)])
    label = "portable trmsg request, 2 arguments"
    with tempfile.TemporaryDirectory() as domain_dir:
        gettext = bench.gettext_request(domain_dir)
        commands = [(portable, env), gettext, (packaged, env)]
        uncache(mapped_files(domain_dir, env))
        portable_time, gettext_time, packaged_time = bench.alternate(commands, 300)
        portable_kib, gettext_kib, packaged_kib = bench.alternate_memory(commands, 30)
        bench.row(label + " vs gettext -d -c", "wall time", portable_time, gettext_time, "ms", 1.0)
        bench.row(label + " vs gettext -d -c", "peak memory", portable_kib, gettext_kib, "MiB", 1.5)
        bench.row(label + " vs gettext -d -c", "instructions", bench.instructions(portable, env),
                  bench.instructions(*gettext), "", 1.0)
    bench.row(label + " vs packaged trmsg (shared Qt)", "wall time", portable_time, packaged_time, "ms")
    bench.row(label + " vs packaged trmsg (shared Qt)", "peak memory", portable_kib, packaged_kib, "MiB")
    bench.row(label + " vs packaged trmsg (shared Qt)", "instructions", bench.instructions(portable, env),
              bench.instructions(packaged, env), "")
    bench.row("portable trmsg, one file vs packaged trmsg and the libraries it loads", "size",
              os.path.getsize(PORTABLE), loaded_files_size(bench.TRMSG), "bytes")
    catalogue_requests()
    for what, measure, value, reference, unit, ratio, verdict in bench.ROWS:
        print("| %s | %s | %s | %s | %.3f | %s |" % (what, measure, fmt(value, unit), fmt(reference, unit), ratio,
                                                     verdict))


def catalogue_requests():
    """The big-catalogue requests of bench.py, asked of the portable trmsg against Qt alone linked the same
    way (build-portable/floor_catalogue): without the shared libraries' start-up, the check's share of a
    request is larger."""
    floor = os.path.join(os.path.dirname(PORTABLE), "floor_catalogue")
    if not os.access(floor, os.X_OK):
        print("No %s (scripts/build-portable): the portable catalogue rows are skipped" % floor, file=sys.stderr)
        return
    bench.TRMSG, bench.FLOOR_CATALOGUE = PORTABLE, floor
    uncache([PORTABLE, floor])
    first = len(bench.ROWS)
    bench.big_catalogue_request()
    bench.big_catalogue_requests()
    for index in range(first, len(bench.ROWS)):
        bench.ROWS[index] = ("portable " + bench.ROWS[index][0],) + bench.ROWS[index][1:]


def fmt(value, unit):
    if unit == "bytes":
        return "%.1f MiB" % (value / 1024 / 1024)
    return bench.fmt(value, unit)


main()
