#!/usr/bin/env python3
"""Fails when a command, control, resource or message number is defined twice.

The numbers live in the id headers src/core/*ids.h, one namespace per kind (controls: one per
window). Fails when
  - one namespace of an id header gives the same number to two names;
  - a file elsewhere under src/ or tools/ defines a named constant or enum entry with a number
    that an id header defines (name it from core instead);
  - a call passes a message, string or bitmap number as a literal;
  - a message number is named but the English string table (lang/en/strings) lacks its text.
Usage: numbersdefinedonce.py <source root>
"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
errors = []
ids = {}  # number -> "header: Namespace::kName"

constant_re = re.compile(r"\b(k\w+)\s*=\s*(\d+)\s*[;,]")
namespace_re = re.compile(r"^namespace\s+([\w:]+)\s*$")
for header in sorted((root / "src/core").glob("*ids.h")):
    namespace = ""
    seen = {}
    for number, line in enumerate(header.read_text().splitlines(), 1):
        ns = namespace_re.match(line)
        if ns:
            namespace, seen = ns.group(1), {}
            continue
        for name, value in constant_re.findall(line):
            value = int(value)
            where = f"{header.relative_to(root)}:{number}: {namespace}::{name}"
            if value in seen:
                errors.append(f"{where} = {value}, already {seen[value]}")
            seen[value] = name
            ids.setdefault(value, where)

literal_call_re = re.compile(
    r"\b(showMessage|loadString|formatString|bundleBitmap|bundleIcon)\(\s*(\d+)\b")
for path in sorted(list((root / "src").rglob("*")) + list((root / "tools").rglob("*"))):
    if path.suffix not in (".h", ".cpp") or (path.parent.name == "core" and path.name.endswith("ids.h")):
        continue
    rel = path.relative_to(root)
    for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
        code = line.split("//")[0]
        for name, value in constant_re.findall(code):
            value = int(value)
            if value >= 100 and value in ids:
                errors.append(f"{rel}:{number}: {name} = {value} is defined in {ids[value]}")
        for call, value in literal_call_re.findall(code):
            errors.append(f"{rel}:{number}: {call}({value}) with a literal number")

# Every named message has its text in the English bundle, so a lookup never comes back empty.
table = set()
for source in (root / "lang/en/strings").glob("*.txt"):
    for line in source.read_text(errors="replace").splitlines():
        entry = re.match(r"(\d+)\s", line)
        if entry:
            table.add(int(entry.group(1)))
messages = root / "src/core/messageids.h"
for number, line in enumerate(messages.read_text().splitlines(), 1):
    for name, value in constant_re.findall(line.split("//")[0]):
        if int(value) not in table:
            errors.append(f"{messages.relative_to(root)}:{number}: {name} = {value} has no text in "
                          "lang/en/strings")

for error in errors:
    print(error)
print(f"numbers_defined_once: {len(errors)} problem(s)" if errors
      else f"numbers_defined_once: {len(ids)} numbers, each defined once")
sys.exit(1 if errors else 0)
