#!/usr/bin/env python3
"""Keeps the README's tour true to the interpreter.

Usage: readme_tour.py MOX SOURCE_DIR

Every ```mox block of README.md must be preceded by a line naming its file,
`examples/tour/NAME.mox`, and equal that file byte for byte; every file of
examples/tour/ must be shown that way and run by some ```console block.
Each ```console block is run as one shell script from SOURCE_DIR with the
folder of MOX first on PATH: its "$ " lines are the commands, its other
lines the expected standard output (colour escapes are dropped before the
comparison, since the banners colour their spaces).
"""
import os
import re
import subprocess
import sys

FENCE = re.compile(r"^```(\w*)$")
TOUR_PATH = re.compile(r"examples/tour/[\w-]+\.mox")
TOUR_FILE = re.compile(r"`(" + TOUR_PATH.pattern + r")`")
ESCAPE = re.compile(r"\x1b\[[0-9;]*m")


def blocks(lines):
    """Yields (language, first line number, body lines, line before the fence)."""
    i = 0
    while i < len(lines):
        m = FENCE.match(lines[i])
        if not m:
            i += 1
            continue
        start = i
        i += 1
        body = []
        while i < len(lines) and lines[i] != "```":
            body.append(lines[i])
            i += 1
        before = next((l for l in reversed(lines[:start]) if l.strip()), "")
        yield m.group(1), start + 1, body, before
        i += 1


def check_listing(source, line, body, before, shown, failures):
    m = TOUR_FILE.search(before)
    if not m:
        failures.append(f"README.md:{line}: a mox block must follow a line naming examples/tour/NAME.mox")
        return
    path = m.group(1)
    shown.add(path)
    try:
        with open(os.path.join(source, path), encoding="utf-8") as f:
            text = f.read()
    except OSError as e:
        failures.append(f"README.md:{line}: {e}")
        return
    if text != "\n".join(body) + "\n":
        failures.append(f"README.md:{line}: the block differs from {path}")


def check_session(source, mox, line, body, ran, failures):
    commands = [l[2:] for l in body if l.startswith("$ ")]
    expected = [l for l in body if not l.startswith("$ ")]
    for c in commands:
        ran.update(TOUR_PATH.findall(c))
    env = dict(os.environ, PATH=os.path.dirname(os.path.abspath(mox)) + os.pathsep + os.environ["PATH"])
    done = subprocess.run(["bash", "-c", "\n".join(commands)], cwd=source, env=env,
                          stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL)
    actual = ESCAPE.sub("", done.stdout.decode("utf-8", "replace")).split("\n")
    if actual and actual[-1] == "":
        actual.pop()
    if actual != expected:
        failures.append(f"README.md:{line}: output differs\n--- expected\n" + "\n".join(expected)
                        + "\n--- actual\n" + "\n".join(actual))


def main():
    mox, source = sys.argv[1], sys.argv[2]
    with open(os.path.join(source, "README.md"), encoding="utf-8") as f:
        lines = f.read().split("\n")
    failures, shown, ran = [], set(), set()
    for language, line, body, before in blocks(lines):
        if language == "mox":
            check_listing(source, line, body, before, shown, failures)
        elif language == "console":
            check_session(source, mox, line, body, ran, failures)
    tour = {f"examples/tour/{n}" for n in os.listdir(os.path.join(source, "examples/tour")) if n.endswith(".mox")}
    for path in sorted(tour - shown):
        failures.append(f"{path} is not shown in README.md")
    for path in sorted(tour - ran):
        failures.append(f"{path} is not run by a console block of README.md")
    for f in failures:
        print(f)
    print(f"{len(shown)} listings and {len(tour & ran)} programs checked, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
