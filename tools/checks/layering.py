#!/usr/bin/env python3
"""Fails on an #include that the folder table does not allow.

The table is read from the build files, so it lives in one place: the folder order is the
foreach list in src/CMakeLists.txt, each folder's allowed edges are the USES of its
glimmerix_folder() call, and the command-line tool's are GLIMMERIX_CLI_USES in
tools/cli/CMakeLists.txt. Rules checked:
  - a file under src/<folder>/ includes only its own folder and the folders it USES;
  - a folder USES only folders before it in the order (so nothing includes app/);
  - only files in a ui/ folder (and src/app/main.cpp) include a ui/ header;
  - src/ never includes from tests/ or tools/; tools/ include only what they USE;
  - a signal of the album document or its model (the Q_SIGNALS of src/album/albumdoc.h and
    src/album/albumitems.h) is emitted only inside src/album/: the album tells of its own changes;
  - appSettings() is called only in src/app/ and tools/cli/: other folders are handed what they
    need of the settings.
Usage: layering.py <source root>
"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
src = root / "src"
errors = []

order_match = re.search(r"foreach\(folder ([^)]*)\)", (src / "CMakeLists.txt").read_text())
order = order_match.group(1).split()
uses = {}
for folder in order:
    text = (src / folder / "CMakeLists.txt").read_text()
    call = re.search(r"glimmerix_folder\(\s*" + folder + r"\b([^)]*)\)", text)
    if not call:
        errors.append(f"src/{folder}/CMakeLists.txt: no glimmerix_folder({folder} ...) call")
        continue
    words = call.group(1).split()
    listed = []
    if "USES" in words:
        for word in words[words.index("USES") + 1:]:
            if word.isupper():
                break
            listed.append(word)
    uses[folder] = set(listed)
    for used in listed:
        if used not in order or order.index(used) >= order.index(folder):
            errors.append(f"src/{folder}/CMakeLists.txt: {folder} USES {used}, not a lower folder")

cli_match = re.search(r"set\(GLIMMERIX_CLI_USES ([^)]*)\)", (root / "tools/cli/CMakeLists.txt").read_text())
tool_uses = set(cli_match.group(1).split()) if cli_match else set()

include_re = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def check(path, folder, allowed, in_ui, is_main):
    rel = path.relative_to(root)
    for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
        match = include_re.match(line)
        if not match:
            continue
        target = match.group(1)
        head = target.split("/")[0]
        if (path.parent / target).exists() and "/" not in target:
            continue  # same folder
        if head == "ui":
            target_folder, ui = folder, True  # own ui/ from the folder's logic
        elif head in order:
            target_folder, ui = head, "/ui/" in target
        elif head in ("support", "tests", "tools", "fuzz", "bench"):
            errors.append(f"{rel}:{number}: includes {target}: src/ and tools/ never include tests")
            continue
        else:
            continue  # a file next to this one, or not ours
        if target_folder != folder and target_folder not in allowed:
            errors.append(f"{rel}:{number}: includes {target}: {folder} may not use {target_folder}")
        if ui and not in_ui and not is_main:
            errors.append(f"{rel}:{number}: includes {target}: only ui/ files include ui/ headers")


for folder in order:
    for path in sorted((src / folder).rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        in_ui = "ui" in path.relative_to(src / folder).parts[:-1]
        check(path, folder, uses.get(folder, set()), in_ui, path == src / "app" / "main.cpp")
for path in sorted((root / "tools").rglob("*")):
    if path.suffix in (".h", ".cpp"):
        check(path, "tools", tool_uses, False, False)

def signals_of(header):
    """The signal names declared in the Q_SIGNALS section of `header`."""
    text = header.read_text(errors="replace")
    section = re.search(r"Q_SIGNALS:(.*?)(?:\n\s*(?:public|private|protected)\b|\n\};)", text, re.S)
    return set(re.findall(r"\bvoid\s+(\w+)\s*\(", section.group(1))) if section else set()


album_signals = signals_of(src / "album" / "albumdoc.h") | signals_of(src / "album" / "albumitems.h")
# An emit through another object: `Q_EMIT document.itemsChanged()`, `emit m_doc->itemChanged(1)`.
outside_emit_re = re.compile(r"\b(?:Q_EMIT|emit)\s+[\w.()>\[\]-]*(?:\.|->)(\w+)\s*\(")
settings_call_re = re.compile(r"\bappSettings\s*\(\s*\)")
code_files = [path for path in sorted(src.rglob("*")) + sorted((root / "tools").rglob("*"))
              if path.suffix in (".h", ".cpp")]
for path in code_files:
    rel = path.relative_to(root)
    parts = rel.parts
    in_album = parts[:2] == ("src", "album")
    may_read_settings = parts[:2] in (("src", "app"), ("tools", "cli"), ("src", "core"))
    for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
        code = line.split("//")[0]
        if not in_album:
            for signal in outside_emit_re.findall(code):
                if signal in album_signals:
                    errors.append(f"{rel}:{number}: emits {signal}: only the album emits its signals")
        if not may_read_settings and settings_call_re.search(code):
            errors.append(f"{rel}:{number}: calls appSettings(): only src/app and tools/cli read the settings")

for error in errors:
    print(error)
print(f"layering: {len(errors)} rule(s) broken" if errors else "layering: all includes, emits and settings calls allowed")
sys.exit(1 if errors else 0)
