#!/usr/bin/env python3
"""Measures trmsg against its floors and peers and prints a Markdown table.

Usage: bench.py BUILD_DIR [--instructions-only] (a Release build with the bench programs, the
compiled locales and the example catalogues). Each comparison runs its
commands alternately (A B A B ...) in one go and reports medians: wall time,
peak resident memory (the child's ru_maxrss) and, where asked, instructions
counted by valgrind's callgrind, which repeat exactly from run to run.

With --instructions-only it measures only the instructions of the requests
against their floors, times nothing, and exits with status 1 when a request
costs more than its target over its floor (the application object alone,
or Qt alone loading the same catalogue): a check of speed that a busy machine
cannot upset."""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ARGS = [a for a in sys.argv[1:] if not a.startswith("--")]
INSTRUCTIONS_ONLY = "--instructions-only" in sys.argv[1:]
BUILD = os.path.abspath(ARGS[0] if ARGS else "build-release")
HERE = os.path.dirname(os.path.abspath(__file__))
TRMSG = os.path.join(BUILD, "trmsg")
FLOOR = os.path.join(BUILD, "bench", "floor")
FLOOR_LISTING = os.path.join(BUILD, "bench", "floor_listing")
FLOOR_CATALOGUE = os.path.join(BUILD, "bench", "floor_catalogue")
REAL_CATALOGUES = os.path.join(BUILD, "real-catalogues", "usr", "share", "qt6", "translations")
PEAK_RSS = os.path.join(BUILD, "bench", "peak_rss")
PEER_LISTING = os.path.join(HERE, "peer_listing.py")
PYTHON = "/usr/bin/python3"  # Debian's, not a wrapper that starts it


def environment(locale="fr_FR.UTF-8", **extra):
    env = {"ZEZAVAVEV": os.path.join(BUILD, "examples"), "LANG": locale,
           "LOCPATH": os.path.join(BUILD, "locales"), "PATH": "/usr/bin:/bin"}
    env.update(extra)
    return env


def run_once(argv, env):
    """Runs argv with its output drained through a pipe; returns (seconds, output)."""
    start = time.perf_counter()
    child = subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL)
    chunks = []
    while True:
        chunk = child.stdout.read(1 << 16)
        if not chunk:
            break
        chunks.append(chunk)
    status = child.wait()
    elapsed = time.perf_counter() - start
    if status != 0:
        sys.exit("%s exited with %d" % (argv[0], status))
    return elapsed, b"".join(chunks)


def peak_kib(argv, env):
    result = subprocess.run([PEAK_RSS] + argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                            check=True)
    return int(re.search(rb"peak_rss_kib (\d+)", result.stderr).group(1))


def alternate(commands, runs):
    """commands: list of (argv, env). Returns the median wall time of each, in seconds."""
    times = [[] for _ in commands]
    for _ in range(runs):
        for i, (argv, env) in enumerate(commands):
            times[i].append(run_once(argv, env)[0])
    return [statistics.median(t) for t in times]


def alternate_memory(commands, runs):
    """The median peak resident memory of each command, in KiB, runs alternating."""
    memory = [[] for _ in commands]
    for _ in range(runs):
        for i, (argv, env) in enumerate(commands):
            memory[i].append(peak_kib(argv, env))
    return [statistics.median(m) for m in memory]


def instructions(argv, env):
    result = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null"] + argv,
                            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, check=True)
    match = re.search(rb"Collected : (\d+)", result.stderr)
    return int(match.group(1))


def same_output(label, commands):
    outputs = [run_once(argv, env)[1] for argv, env in commands]
    if any(output != outputs[0] for output in outputs[1:]):
        sys.exit("%s: the commands' outputs differ" % label)


ROWS = []
GUARDED = []  # rows whose target --instructions-only enforces


def row(what, measure, value, reference, unit, target=None):
    ratio = value / reference
    verdict = ""
    if target is not None:
        verdict = "%s %.3f" % ("met, ≤" if ratio <= target else "MISSED, target ≤", target)
    ROWS.append((what, measure, value, reference, unit, ratio, verdict))


def fmt(value, unit):
    if unit == "ms":
        return "%.2f ms" % (value * 1000)
    if unit == "MiB":
        return "%.1f MiB" % (value / 1024)
    return "{:,}".format(value)


def request_vs_floor(label, argv, env, runs, wall_target, memory_target=None, instruction_target=None, floor=None,
                     guarded=None):
    """trmsg against a floor (by default the application object alone, whose rows --instructions-only
    enforces unless guarded says otherwise) given the same arguments."""
    guarded = floor is None if guarded is None else guarded
    floor = floor or [FLOOR] + argv[1:]
    if INSTRUCTIONS_ONLY:
        if instruction_target is not None:
            row(label, "instructions", instructions(argv, env), instructions(floor, env), "", instruction_target)
            if guarded:
                GUARDED.append(ROWS[-1])
        return
    trmsg_time, floor_time = alternate([(argv, env), (floor, env)], runs)
    row(label, "wall time", trmsg_time, floor_time, "ms", wall_target)
    if memory_target is not None:
        trmsg_kib, floor_kib = alternate_memory([(argv, env), (floor, env)], 30)
        row(label, "peak memory", trmsg_kib, floor_kib, "MiB", memory_target)
    if instruction_target is not None:
        row(label, "instructions", instructions(argv, env), instructions(floor, env), "", instruction_target)


def big_catalogue_request():
    """A request on Qt's own qtbase_de.qm (213 KB) against Qt alone loading the same file."""
    if not os.path.exists(os.path.join(REAL_CATALOGUES, "qtbase_de.qm")):
        print("No real catalogues in %s (scripts/fetch-real-catalogues): big-catalogue row skipped" % BUILD,
              file=sys.stderr)
        return
    with tempfile.TemporaryDirectory() as installation:
        os.makedirs(os.path.join(installation, "lib"))
        os.symlink(REAL_CATALOGUES, os.path.join(installation, "lib", "locale"))
        env = environment("de_DE.UTF-8", ZEZAVAVEV=installation)
        request = [TRMSG, "qtbase", "QPlatformTheme", "&Yes"]
        floor = [FLOOR_CATALOGUE] + request[1:]
        same_output("big catalogue", [(request, env), (floor, env)])
        if run_once(request, env)[1] != b"&Ja":
            sys.exit("the big-catalogue request is not translated")
        request_vs_floor("request, qtbase_de.qm (213 KB) vs Qt alone loading it", request, env, 300, 1.05,
                         None, 1.05, floor, guarded=True)


def catalogue_request(label, catalogue, context, message, translation):
    """A request on catalogue, installed as big_fr.qm, against Qt alone loading the same file."""
    with tempfile.TemporaryDirectory() as installation:
        os.makedirs(os.path.join(installation, "lib", "locale"))
        os.symlink(catalogue, os.path.join(installation, "lib", "locale", "big_fr.qm"))
        env = environment("fr_FR.UTF-8", ZEZAVAVEV=installation)
        request = [TRMSG, "big", context, message]
        floor = [FLOOR_CATALOGUE] + request[1:]
        same_output(label, [(request, env), (floor, env)])
        if run_once(request, env)[1] != translation.encode():
            sys.exit("%s: the request is not translated" % label)
        request_vs_floor(label, request, env, 300, 1.05, 1.10, 1.05, floor, guarded=True)


def generated_catalogue(directory, messages=40000):
    """A catalogue of about 4 MB, as big as the biggest Debian ships (qgis_fr.qm, 4.4 MB), made by lrelease
    from a generated .ts: messages messages in contexts of 100. Returns its path."""
    ts = os.path.join(directory, "generated_fr.ts")
    with open(ts, "w", encoding="utf-8") as out:
        out.write('<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n<TS version="2.1" language="fr_FR">\n')
        for context in range(messages // 100):
            out.write("<context>\n<name>Dialog%d</name>\n" % context)
            for i in range(100):
                out.write("<message>\n<source>Message %d, dialog %d</source>\n"
                          "<translation>Message %d, dialogue %d é</translation>\n</message>\n"
                          % (i, context, i, context))
            out.write("</context>\n")
        out.write("</TS>\n")
    qm = os.path.join(directory, "generated_fr.qm")
    subprocess.run(["/usr/lib/qt6/bin/lrelease", "-silent", ts, "-qm", qm], check=True)
    return qm


def big_catalogue_requests():
    """Requests on the largest real catalogue and on a generated one of 4 MB."""
    if os.path.isdir(REAL_CATALOGUES):
        largest = max((os.path.join(REAL_CATALOGUES, name) for name in os.listdir(REAL_CATALOGUES)),
                      key=os.path.getsize)
        if os.path.basename(largest) == "qt_gl.qm":
            catalogue_request("request, qt_gl.qm (%d KB, the largest real one) vs Qt alone loading it"
                              % (os.path.getsize(largest) // 1000), largest, "QPrintDialog", "Print To File ...",
                              "Imprimir nun ficheiro...")
        else:
            print("The largest real catalogue is %s, not qt_gl.qm: its row is skipped" % largest, file=sys.stderr)
    with tempfile.TemporaryDirectory() as directory:
        qm = generated_catalogue(directory)
        catalogue_request("request, generated_fr.qm (%.1f MB, 40,000 messages) vs Qt alone loading it"
                          % (os.path.getsize(qm) / 1e6), qm, "Dialog200", "Message 50, dialog 200",
                          "Message 50, dialogue 200 é")


def gettext_request(domain_dir):
    """The benchmark request asked of GNU gettext, the demo's French catalogue made into
    domain_dir/fr/LC_MESSAGES/demo.mo: (argv, env)."""
    messages = os.path.join(domain_dir, "fr", "LC_MESSAGES")
    os.makedirs(messages)
    po = os.path.join(domain_dir, "demo.po")
    subprocess.run(["/usr/lib/qt6/bin/lconvert", "-i", os.path.join(HERE, "..", "examples", "demo_fr.ts"),
                    "-o", po], check=True)
    # lconvert writes Qt's "context|comment" as the gettext context.
    with open(po, encoding="utf-8") as source:
        text = re.sub(r'(?m)^msgctxt "([^"|]*)\|"$', r'msgctxt "\1"', source.read())
    with open(po, "w", encoding="utf-8") as target:
        target.write(text)
    subprocess.run(["msgfmt", "-o", os.path.join(messages, "demo.mo"), po], check=True)
    gettext = [shutil.which("gettext"), "-d", "demo", "-c", "Installer", "Installing %1 into %2"]
    gettext_env = environment(TEXTDOMAINDIR=domain_dir)
    translated = run_once(gettext, gettext_env)[1]
    if translated != "Installation de %1 dans %2".encode():
        sys.exit("gettext did not translate: %r" % translated)
    return gettext, gettext_env


def needed_libraries(program):
    dynamic = subprocess.run(["readelf", "-d", program], stdout=subprocess.PIPE, check=True).stdout
    return sorted(re.findall(rb"\(NEEDED\).*\[(.*)\]", dynamic))


def main():
    if needed_libraries(TRMSG) != needed_libraries(FLOOR):
        sys.exit("the floor does not load the same libraries as trmsg")
    request = [TRMSG, "demo", "Installer", "Installing %1 into %2", "", "Zeza Suite", "/opt/zeza"]
    if run_once(request, environment())[1] != "Installation de Zeza Suite dans /opt/zeza".encode():
        sys.exit("the benchmark request is not translated: is the build complete?")

    # 1. A translated request with two arguments against the floor.
    request_vs_floor("request, catalogue found, 2 arguments", request, environment(), 300, 1.05, 1.10, 1.05)

    big_catalogue_request()
    big_catalogue_requests()
    untranslated = [TRMSG, "demo", "Installer", "Installing %1 into %2", "", "a", "b"]
    if INSTRUCTIONS_ONLY:
        request_vs_floor("request, no catalogue", untranslated, environment("it_IT.UTF-8"), 0, None, None, 1.05)
        print_table()
        sys.exit(1 if any(verdict.startswith("MISSED") for *_, verdict in GUARDED) else 0)

    # 2. The same against GNU gettext on the same catalogue made into a .mo.
    with tempfile.TemporaryDirectory() as domain_dir:
        pair = [(request, environment()), gettext_request(domain_dir)]
        trmsg_time, gettext_time = alternate(pair, 300)
        trmsg_kib, gettext_kib = alternate_memory(pair, 30)
        row("request vs gettext -d -c (same catalogue as .mo)", "wall time", trmsg_time, gettext_time, "ms")
        row("request vs gettext -d -c (same catalogue as .mo)", "peak memory", trmsg_kib, gettext_kib, "MiB")

    # 3. An untranslated request: no catalogue for the locale.
    request_vs_floor("request, no catalogue", untranslated, environment("it_IT.UTF-8"), 300, 1.05, 1.10, 1.05)

    # 4. The listing 0..ffff into a pipe, against the C floor and the Python peer.
    c_locale = environment("C")
    listing = [TRMSG, "0..ffff"]
    floor_listing = [FLOOR_LISTING, "0", "ffff"]
    peer_listing = [PYTHON, PEER_LISTING, "0", "ffff"]
    same_output("listing 0..ffff", [(listing, c_locale), (floor_listing, c_locale), (peer_listing, c_locale)])
    listing_time, floor_time, peer_time = alternate(
        [(listing, c_locale), (floor_listing, c_locale), (peer_listing, c_locale)], 21)
    row("listing 0..ffff into a pipe", "wall time vs C floor (one write per line)", listing_time, floor_time,
        "ms", 1.15)
    row("listing 0..ffff into a pipe", "wall time vs Python peer", listing_time, peer_time, "ms", 1 / 3.5)
    row("listing 0..ffff into a pipe", "C floor vs Python peer (the best any lister can do)", floor_time,
        peer_time, "ms")

    # 5. Scaling: the whole of Unicode against the first plane, and a big request.
    whole = [TRMSG, "0..10ffff"]
    same_output("listing 0..10ffff", [(whole, c_locale), ([FLOOR_LISTING, "0", "10ffff"], c_locale)])
    whole_time, plane_time = alternate([(whole, c_locale), (listing, c_locale)], 5)
    row("listing 0..10ffff vs 0..ffff (linear: about 17)", "wall time", whole_time, plane_time, "ms", 20)
    message = "".join("%%%d %s " % (i % 100, "x" * 96) for i in range(1000))[: 100 * 1024]
    big = [TRMSG, "demo", "Installer", message, ""] + ["arg%d" % i for i in range(10000)]
    request_vs_floor("request, 100 KiB message, 1,000 markers, 10,000 arguments", big, environment(), 100, 1.5)

    print_table()


def print_table():
    print("| Benchmark | Measure | trmsg | Reference | Ratio | Target |")
    print("|---|---|---|---|---|---|")
    for what, measure, value, reference, unit, ratio, verdict in ROWS:
        print("| %s | %s | %s | %s | %.3f | %s |" % (what, measure, fmt(value, unit), fmt(reference, unit), ratio,
                                                     verdict))


if __name__ == "__main__":
    main()
