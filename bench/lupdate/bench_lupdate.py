#!/usr/bin/env python3
"""Measures trmsg-lupdate against its floor and prints Markdown table rows.

Usage: bench_lupdate.py [--before BUILD_DIR] BUILD_DIR (Release builds with
trmsg-lupdate; with --before both are measured in the same run, alternately).
The script is generated: N trmsg calls of mixed forms (plain, in $(...),
through a wrapper, $'...' with a line break, in a condition, in a pipeline,
numerus). The floor is shfmt --to-json alone on the same script, its syntax
tree drained from a pipe: trmsg-lupdate runs it and then reads that tree.
Commands run alternately (A B C A B C ...) and the medians are compared."""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

BEFORE = sys.argv.pop(sys.argv.index("--before") + 1) if "--before" in sys.argv[:-1] else None
sys.argv = [arg for arg in sys.argv if arg != "--before"]
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build-release")
LUPDATE = os.path.join(BUILD, "trmsg-lupdate")
SHFMT = shutil.which("shfmt") or sys.exit("shfmt is not installed")
FORMS = [
    "trmsg demo Installer 'Copying file {i}' '' \"$f\"",
    "msg=$(trmsg demo Installer \"Step {i} of %1\" '' \"$n\")",
    "say $'Line {i}\\x19next line'",
    "if trmsg demo Ctx{c} Open verb >/dev/null; then :; fi",
    "echo \"$(trmsg --count=\"$n\" demo Uninstaller '%n files removed ({i})')\" | cat",
]


def write_script(path, calls, first_line=""):
    with open(path, "w") as script:
        script.write("#!/bin/bash\n" + first_line + "say() { trmsg demo Installer \"$@\"; }\n")
        for i in range(calls):
            script.write(FORMS[i % len(FORMS)].format(i=i, c=i % 50) + "\n")


def run(argv, stdin_path=None, prepare=None):
    if prepare:
        prepare()
    stdin = open(stdin_path, "rb") if stdin_path else subprocess.DEVNULL
    start = time.perf_counter()
    subprocess.run(argv, stdin=stdin, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    elapsed = time.perf_counter() - start
    if stdin_path:
        stdin.close()
    return elapsed


def alternate(commands, runs):
    times = [[] for _ in commands]
    for _ in range(runs):
        for i, command in enumerate(commands):
            times[i].append(run(*command))
    return [statistics.median(t) for t in times]


def translated(ts_text):
    return ts_text.replace('<translation type="unfinished"></translation>', "<translation>traduit</translation>")


def measure(work, calls, runs):
    """(floor, new .ts, update[, before's new .ts, before's update]) medians for a script of `calls` calls."""
    script = os.path.join(work, "s%d.sh" % calls)
    moved = os.path.join(work, "m%d.sh" % calls)  # the same calls one line lower: every location changes
    write_script(script, calls)
    write_script(moved, calls, "# moved\n")
    new_ts = os.path.join(work, "new%d_fr.ts" % calls)
    old_ts = os.path.join(work, "old%d_fr.ts" % calls)
    subprocess.run([LUPDATE, "-silent", script, "-ts", old_ts], check=True)
    with open(old_ts, encoding="utf-8") as source:
        text = translated(source.read())
    messages = len(re.findall(r"<source>", text))  # one form in five repeats 50 messages
    if messages < calls * 4 // 5:
        sys.exit("only %d messages extracted from %d calls" % (messages, calls))

    def fresh():
        if os.path.exists(new_ts):
            os.remove(new_ts)

    def restore():
        with open(old_ts, "w", encoding="utf-8") as target:
            target.write(text)

    floor = ([SHFMT, "--to-json"], moved)
    create = ([LUPDATE, "-silent", moved, "-ts", new_ts], None, fresh)
    update = ([LUPDATE, "-silent", moved, "-ts", old_ts], None, restore)
    before = [([os.path.join(os.path.abspath(BEFORE), "trmsg-lupdate")] + argv[1:], stdin, prepare)
              for argv, stdin, prepare in (create, update)] if BEFORE else []
    floor_time, *before_times, create_time, update_time = alternate([floor] + before + [create, update], runs)
    with open(old_ts, encoding="utf-8") as updated:
        if updated.read().count("<translation>traduit</translation>") != text.count("<translation>traduit</translation>"):
            sys.exit("the update lost translations")
    return [floor_time, create_time, update_time] + before_times


def main():
    rows = []
    with tempfile.TemporaryDirectory() as work:
        floor, create, update, *before = measure(work, 10000, 5)
        floor_small, create_small, update_small, *before_small = measure(work, 1000, 11)
    builds = [("trmsg-lupdate before", before + before_small)] if BEFORE else []
    for name, (create, update, create_small, update_small) in builds + [
            ("trmsg-lupdate" + (" after" if BEFORE else ""), [create, update, create_small, update_small])]:
        label = name + ", 10,000 calls"
        rows.append((label + ", new .ts", "wall time vs shfmt --to-json", create, floor, 1.5))
        rows.append((label + ", updating a translated .ts", "wall time vs shfmt --to-json", update, floor, 1.5))
        rows.append((name + ", 10,000 vs 1,000 calls (linear: about 10)", "wall time, new .ts", create,
                     create_small, 11.0))
        rows.append((name + ", 10,000 vs 1,000 calls (linear: about 10)", "wall time, update", update,
                     update_small, 11.0))
    if BEFORE:
        for what, value, reference in (("10,000 calls, new .ts", create, before[0]),
                                       ("10,000 calls, updating a translated .ts", update, before[1]),
                                       ("1,000 calls, new .ts", create_small, before_small[0]),
                                       ("1,000 calls, updating a translated .ts", update_small, before_small[1])):
            rows.append(("trmsg-lupdate after vs before, " + what, "wall time", value, reference, None))
    for what, measure_name, value, reference, target in rows:
        ratio = value / reference
        verdict = "%s %.3f" % ("met, ≤" if ratio <= target else "MISSED, target ≤", target) if target else ""
        print("| %s | %s | %.2f ms | %.2f ms | %.3f | %s |" % (what, measure_name, value * 1000, reference * 1000,
                                                             ratio, verdict))


main()
