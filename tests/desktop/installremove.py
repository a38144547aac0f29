#!/usr/bin/env python3
"""tools/install.sh into two prefixes, then --remove of the first one: exactly the files of that
prefix's own list go, another program's files and the caches describing them stay (made again
without Glimmerix in them), and the second prefix is untouched. Removing the second then leaves
nothing behind at all, caches included, and a further --remove fails with a message naming the
missing list.

Usage: installremove.py BUILD_DIR SOURCE_DIR
"""
import os
import subprocess
import sys
import tempfile
from pathlib import Path

build = Path(sys.argv[1]).resolve()
source = Path(sys.argv[2]).resolve()
MANIFEST = "share/glimmerix/install-manifest.txt"
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print(f"FAILED: {what}")


def install(*args):
    return subprocess.run([str(source / "tools/install.sh"), *map(str, args)],
                          env=dict(os.environ, GLIMMERIX_BUILD_DIR=str(build)),
                          capture_output=True, text=True, timeout=600)


def files(prefix):
    return sorted(str(p.relative_to(prefix)) for p in prefix.rglob("*") if not p.is_dir())


def everything(prefix):
    return sorted(str(p.relative_to(prefix)) for p in prefix.rglob("*"))


# Another program's files in the first prefix: a menu entry, a file type, an icon and the icon
# theme's index. They and the caches made from them must survive Glimmerix's removal.
OTHER = {
    "bin/other": "#!/bin/sh\n",
    "share/applications/other.desktop":
        "[Desktop Entry]\nType=Application\nName=Other\nExec=other %f\nMimeType=text/x-other;\n",
    "share/mime/packages/other.xml":
        '<?xml version="1.0"?>\n<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">\n'
        '  <mime-type type="text/x-other"><comment>Other</comment><glob pattern="*.other"/></mime-type>\n'
        "</mime-info>\n",
    "share/icons/hicolor/index.theme":
        "[Icon Theme]\nName=Hicolor\nDirectories=48x48/apps\n\n[48x48/apps]\nSize=48\nType=Fixed\n",
    "share/icons/hicolor/48x48/apps/other.png": "",
}

with tempfile.TemporaryDirectory(prefix="glimmerix-remove-") as work:
    first, second = Path(work) / "first", Path(work) / "second"
    for name, text in OTHER.items():
        (first / name).parent.mkdir(parents=True, exist_ok=True)
        (first / name).write_text(text)
    (first / "bin/other").chmod(0o755)
    second.mkdir()

    for prefix in (first, second):
        out = install(prefix)
        check(out.returncode == 0, f"install into {prefix.name}: {out.stderr[-2000:]}")
    listed = (first / MANIFEST).read_text().split()
    check("bin/glimix" in listed and MANIFEST in listed and all(not f.startswith("/") for f in listed),
          f"the first prefix lists its own files relative to it: {listed[:5]}")
    # Everything else in the prefix is another program's or a cache made from the files.
    unlisted = [f for f in files(first) if f not in listed and f not in OTHER
                and not f.endswith(".cache")
                and not (f.startswith("share/mime/") and not f.startswith("share/mime/packages/"))]
    check(set(listed) <= set(files(first)) and not unlisted,
          f"the first prefix's list names every file the install put there: {unlisted[:5]}")
    check((first / "share/icons/hicolor/icon-theme.cache").is_file()
          and (first / "share/applications/mimeinfo.cache").is_file()
          and (first / "share/mime/mime.cache").is_file(), "the install made the desktop caches")
    second_before = files(second)

    # The build's last install went into the second prefix; removing the first still works.
    out = install("--remove", first)
    check(out.returncode == 0 and f"removed from {first}" in out.stdout,
          f"remove the first: {out.stdout}{out.stderr}")
    left = files(first)
    check(not set(listed) & set(left), f"the first prefix's files are gone: {set(listed) & set(left)}")
    check(set(OTHER) <= set(left), "another program's files stay")
    check(not (first / "share/glimmerix").exists() and not (first / "lib/glimmerix").exists(),
          "the program's own folders are gone")
    mimeinfo = first / "share/applications/mimeinfo.cache"
    check(mimeinfo.is_file() and "other.desktop" in mimeinfo.read_text()
          and "glimmerix" not in mimeinfo.read_text().lower(),
          "the desktop database is made again without Glimmerix")
    types = first / "share/mime/types"
    check(types.is_file() and "text/x-other" in types.read_text()
          and "glimmerix" not in types.read_text(), "the file types are made again without Glimmerix")
    check((first / "share/icons/hicolor/icon-theme.cache").is_file(), "the icon cache stays")
    check(files(second) == second_before, "the second prefix is untouched")

    # The second prefix held nothing else: nothing at all is left, not even an empty folder.
    out = install("--remove", second)
    check(out.returncode == 0, f"remove the second: {out.stderr}")
    check(everything(second) == [], f"left in the second prefix: {everything(second)[:10]}")

    out = install("--remove", second)
    check(out.returncode != 0 and str(second / MANIFEST) in out.stderr and not out.stdout,
          f"a prefix without a list is refused by name: {out.returncode} {out.stdout}{out.stderr}")

print(f"installremove: {len(failures)} failure(s)" if failures else "installremove: all passed")
sys.exit(1 if failures else 0)
