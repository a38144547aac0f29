#!/usr/bin/env python3
"""Runs tools/checks/layering.py over a copy of the sources with one made-up fault at a time:
the clean copy passes, and each fault fails the check with the file and the rule named.
Usage: layeringtest.py <source root>
"""
import pathlib
import shutil
import subprocess
import sys
import tempfile

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
check = root / "tools" / "checks" / "layering.py"

# (file to add, its text, words the failure must name; None: the check must pass)
cases = [
    ("src/view/ui/clean.cpp", "void f(Album &a) { Q_EMIT selectionChanged(); }\n", None),
    ("src/album/ui/inside.cpp", "void f(CAlbumDoc &d) { Q_EMIT d.itemsChanged(); }\n", None),
    ("src/app/ui/reads.cpp", "int f() { return appSettings().cdDrive().size(); }\n", None),
    ("src/app/ui/emits.cpp", "void f(CAlbumDoc &d) { Q_EMIT d.itemsChanged(); }\n",
     ["src/app/ui/emits.cpp:1", "itemsChanged"]),
    ("src/ole/ui/emits.cpp", "void f(CAlbumDoc *d) {\n    Q_EMIT d->itemChanged(3);\n}\n",
     ["src/ole/ui/emits.cpp:2", "itemChanged"]),
    ("tools/cli/emits.cpp", "void f(CAlbumDoc &d) { emit d.items().selectionChanged(); }\n",
     ["tools/cli/emits.cpp:1", "selectionChanged"]),
    ("src/publish/ui/reads.cpp", "QString f() { return appSettings().cdDrive(); }\n",
     ["src/publish/ui/reads.cpp:1", "appSettings()"]),
    ("src/album/reads.cpp", "QString f() { return appSettings().lastFile(); }\n",
     ["src/album/reads.cpp:1", "appSettings()"]),
]

failures = []
with tempfile.TemporaryDirectory() as temp:
    tree = pathlib.Path(temp) / "tree"
    for part in ("src", "tools"):
        shutil.copytree(root / part, tree / part,
                        ignore=shutil.ignore_patterns("*.png", "*.jpg", "*.wav", "*.gmx"))
    for name, text, named in cases:
        added = tree / name
        added.write_text(text)
        run = subprocess.run([sys.executable, str(check), str(tree)], capture_output=True, text=True)
        added.unlink()
        if named is None and run.returncode != 0:
            failures.append(f"{name}: refused but allowed:\n{run.stdout}")
        elif named is not None and (run.returncode == 0
                                    or not all(word in run.stdout for word in named)):
            failures.append(f"{name}: not refused as expected ({named}):\n{run.stdout}")

for failure in failures:
    print(failure)
print(f"{len(cases) - len(failures)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
