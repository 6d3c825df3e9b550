#!/usr/bin/env python3
"""Faults made mechanically, for scripts/mutate --generate.

Usage: mutants.py [--since REV] [--sample N] [--seed N] [FILE...]

Applies simple operators to lines of C++ and CMake sources: flips a
comparison, moves a bound by one, negates a condition (drops a '!'), swaps
&& and ||, true and false, two arguments, empties a string, drops a
statement; in CMake, swaps AND and OR, drops a NOT, deletes a command. The
lines are those changed since REV (git diff) in the FILEs named, or in every
file changed; without --since, every line of the FILEs named. Prints one
fault a line, as scripts/mutate lists its named faults:
NAME FILE SUITES SED-EXPRESSION, NAME being FILE:LINE:OPERATOR[:N]."""
import argparse
import os
import random
import re
import subprocess
import sys

CPP = (".cpp", ".h")
CMAKE = (".cmake", ".cmake.in", "CMakeLists.txt")

# operator name, pattern, replacement (Python re; group 1 kept where used)
CPP_OPERATORS = [
    ("eq-ne", r"==", "!="),
    ("ne-eq", r"!=", "=="),
    ("le-lt", r"<=", "<"),
    ("ge-gt", r">=", ">"),
    ("lt-le", r" < ", " <= "),
    ("gt-ge", r" > ", " >= "),
    ("and-or", r" && ", " || "),
    ("or-and", r" \|\| ", " && "),
    ("not-dropped", r"!(?=[A-Za-z_(*])", ""),
    ("plus-one-minus", r" \+ 1\b", " - 1"),
    ("minus-one-plus", r" - 1\b", " + 1"),
    ("true-false", r"\btrue\b", "false"),
    ("false-true", r"\bfalse\b", "true"),
    ("string-emptied", r'(QStringLiteral\(|u)"[^"\\]+"', r'\1""'),
    ("arguments-swapped", r"\(([A-Za-z_][\w.]*), ([A-Za-z_][\w.]*)\)", r"(\2, \1)"),
]
CMAKE_OPERATORS = [
    ("and-or", r" AND ", " OR "),
    ("or-and", r" OR ", " AND "),
    ("not-dropped", r"\bNOT ", ""),
]


def suites_for(path):
    if path.startswith("trmsg-lupdate/cmake/"):
        return "example_mixed_product"
    if path.startswith("trmsg-lupdate/"):
        return "tst_lupdate|example_mixed_product|lupdate_examples_current"
    return "."


def changed_lines(since, path):
    diff = subprocess.run(["git", "diff", "-U0", since, "--", path], capture_output=True, text=True,
                          check=True).stdout
    lines = set()
    for match in re.finditer(r"^@@ -\S+ \+(\d+)(?:,(\d+))? @@", diff, re.M):
        start, count = int(match.group(1)), int(match.group(2) or "1")
        lines.update(range(start, start + count))
    return lines


def changed_files(since):
    names = subprocess.run(["git", "diff", "--name-only", since], capture_output=True, text=True,
                           check=True).stdout.split()
    return [name for name in names if os.path.isfile(name) and name.endswith(CPP + CMAKE)]


def is_code(text):
    stripped = text.strip()
    return stripped and not stripped.startswith(("//", "#", "*", "/*"))


DECLARATION = re.compile(r"^(?:(?:const|static|constexpr)\s+)*[A-Za-z_][\w:]*(?:<[^;=]*>)?[\s*&]+[A-Za-z_]\w*\s*(?:=|;|\{|\()")


def is_statement(lines, index):
    """A whole statement on one line: what comes before it ends one."""
    text = lines[index].strip()
    if not text.endswith(";") or text.startswith(("return", "}", "case ", "default")):
        return False
    if DECLARATION.match(text):  # dropped, what uses the name no longer builds
        return False
    if text.count("(") != text.count(")") or text.count("{") != text.count("}"):
        return False
    previous = index - 1
    while previous >= 0 and not lines[previous].strip():
        previous -= 1
    return previous < 0 or lines[previous].rstrip().endswith((";", "{", "}"))


def is_command(text):
    return re.match(r"^\s*[A-Za-z_]+\(.*\)\s*$", text) is not None and not re.match(
        r"^\s*(if|elseif|else|endif|foreach|endforeach|function|endfunction|macro|endmacro|while|endwhile)\(",
        text)


def sed_escape(text):
    return re.sub(r"([\\/.*\[\]^$])", r"\\\1", text)


def sed_replacement(text):
    return re.sub(r"([\\/&])", r"\\\1", text)


def faults_in(path, wanted):
    with open(path, encoding="utf-8") as source:
        lines = source.read().split("\n")
    cpp = path.endswith(CPP)
    operators = CPP_OPERATORS if cpp else CMAKE_OPERATORS
    suites = suites_for(path)
    faults = []
    for index, text in enumerate(lines):
        number = index + 1
        if number not in wanted or not is_code(text):
            continue
        for name, pattern, replacement in operators:
            for index, match in enumerate(re.finditer(pattern, text), 1):
                new = match.expand(replacement)
                # sed counts the occurrences of this very text on the line
                occurrence = text[:match.start()].count(match.group(0)) + 1
                expression = "%ds/%s/%s/%d" % (number, sed_escape(match.group(0)), sed_replacement(new), occurrence)
                faults.append(("%s:%d:%s:%d" % (path, number, name, index), path, suites, expression))
        if (cpp and is_statement(lines, index)) or (not cpp and is_command(text)):
            faults.append(("%s:%d:%s" % (path, number, "statement-dropped" if cpp else "command-deleted"), path,
                           suites, "%dd" % number))
    return faults


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--since")
    parser.add_argument("--sample", type=int, default=0)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("files", nargs="*")
    arguments = parser.parse_args()
    if not arguments.since and not arguments.files:
        sys.exit("mutants.py: name files, or give --since REV")
    files = arguments.files or changed_files(arguments.since)
    faults = []
    for path in files:
        with open(path, encoding="utf-8") as source:
            count = source.read().count("\n") + 1
        wanted = changed_lines(arguments.since, path) if arguments.since else set(range(1, count + 1))
        faults += faults_in(path, wanted)
    if 0 < arguments.sample < len(faults):
        faults = sorted(random.Random(arguments.seed).sample(faults, arguments.sample),
                        key=lambda f: (f[1], int(f[0].split(":")[1])))
    for fault in faults:
        print(" ".join(fault))


if __name__ == "__main__":
    main()
