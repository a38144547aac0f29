#!/usr/bin/env python3
"""Fails when QString::arg() calls are chained: text.arg(a).arg(b).

Each arg() scans the whole text again, so a value put in by an earlier call (a file name, a
caption, a percent-escaped link such as "what%3F.jpg") is itself filled by the next call. Fill
every placeholder in one pass instead: fillIn(pattern, a, b) from src/platform/fillin.h, or one
arg(a, b) with texts only.
Usage: onepassarg.py <source root> [files...]
"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
given = [pathlib.Path(name) for name in sys.argv[2:]]
folders = ("src", "tools/cli", "players", "service")
files = given or [path for folder in folders for path in sorted((root / folder).rglob("*"))
                  if path.suffix in (".cpp", ".h")]

arg_re = re.compile(r"\.arg\(")
chained_re = re.compile(r"\s*\.arg\(")


def call_end(text, start):
    """Index just past the parenthesis that closes the call opened before `start`."""
    depth, i = 1, start
    while depth and i < len(text):
        c = text[i]
        if c in "\"'":
            i += 1
            while i < len(text) and text[i] != c:
                i += 2 if text[i] == "\\" else 1
        elif c == "(":
            depth += 1
        elif c == ")":
            depth -= 1
        i += 1
    return i


errors = []
for path in files:
    text = path.read_text(errors="replace")
    for match in arg_re.finditer(text):
        end = call_end(text, match.end())
        if chained_re.match(text, end):
            line = text.count("\n", 0, match.start()) + 1
            errors.append(f"{path}:{line}: chained .arg(): fill the placeholders in one pass")

for error in errors:
    print(error)
sys.exit(1 if errors else 0)
