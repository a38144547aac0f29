#!/usr/bin/env python3
"""The installed layout: `cmake --install` into a temporary prefix, the prefix moved elsewhere
(nothing may depend on where it was installed), then the installed programs run from there with
a private home and no path into the build tree: glimix-cli makes an album with a picture and a
clip, the thumbnailer draws it, glimix starts offscreen and takes a picture handed over by
glimix-cli, and the desktop files validate and name the album type.

Usage: installcheck.py BUILD_DIR SOURCE_DIR
"""
import gzip
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
from pathlib import Path

build = Path(sys.argv[1]).resolve()
source = Path(sys.argv[2]).resolve()
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print(f"FAILED: {what}")


def run(args, env, **kw):
    return subprocess.run([str(a) for a in args], env=env, capture_output=True, text=True,
                          timeout=60, **kw)


root = Path(tempfile.mkdtemp(prefix="glimmerix-install-"))
try:
    installed = root / "installed-here"
    subprocess.run(["cmake", "--install", str(build), "--prefix", str(installed)], check=True,
                   stdout=subprocess.DEVNULL)
    prefix = root / "moved" / "usr"
    prefix.parent.mkdir()
    shutil.move(installed, prefix)

    home = root / "home"
    runtime = root / "run"
    for folder in (home, runtime):
        folder.mkdir(mode=0o700)
    env = {k: v for k, v in os.environ.items() if not k.startswith("GLIMMERIX_")}
    env.update(HOME=str(home), GLIMMERIX_HOME=str(home / "Glimmerix"),
               XDG_CONFIG_HOME=str(home / ".config"), XDG_RUNTIME_DIR=str(runtime),
               XDG_DATA_HOME=str(home / ".local/share"),
               XDG_DATA_DIRS=f"{prefix / 'share'}:/usr/share", QT_QPA_PLATFORM="offscreen",
               PATH=f"{prefix / 'bin'}:/usr/bin:/bin", LANG="C.UTF-8")
    cli = prefix / "bin/glimix-cli"
    resources = prefix / "share/glimmerix"

    # The command-line tool: its module, the bundle and the resource folder from the prefix.
    out = run([cli, "--version"], env)
    check(out.returncode == 0 and out.stdout.startswith("Glimmerix "), "glimix-cli --version")
    out = run([cli, "settings", "show"], env)
    check(out.returncode == 0 and str(resources) in out.stdout,
          f"settings show names the installed resource folder:\n{out.stdout}{out.stderr}")
    check(any(resources.glob("help/*.html")), "help pages in the resource folder")
    check((resources / "Glimix.rcc").is_file(), "language bundle in the resource folder")
    out = run([cli, "strings", "316"], env)
    check(out.returncode == 0 and out.stdout.strip(), "a text from the installed bundle")

    # An album with a picture and a clip (the clip module is loaded from <prefix>/lib).
    album = home / "trip.gmx"
    picture = source / "tests/fixtures/imaging/colour.jpg"
    clip = source / "tests/fixtures/album/clip.avi"
    check(run([cli, "album", "new", album], env).returncode == 0, "album new")
    traced = dict(env, LD_DEBUG="files")
    out = run([cli, "album", "add", album, picture, clip], traced)
    check(out.returncode == 0, f"album add: {out.stderr[-2000:]}")
    check(str(build) not in out.stderr, "glimix-cli loads nothing from the build tree")
    check(any(str(prefix) in line and line.endswith("lib/glimmerix/glimix-clip.so [0]")
              for line in out.stderr.splitlines()), "the clip module comes from the prefix")
    out = run([cli, "album", "list", album], env)
    check(out.returncode == 0 and "colour.jpg" in out.stdout and "clip.avi" in out.stdout,
          f"album list: {out.stdout}{out.stderr}")

    # A slide show package carries the player installed in <prefix>/lib/glimmerix.
    show = root / "show"
    player = prefix / "lib/glimmerix/slide.bin"
    out = run([cli, "slideshow", album, show, "--items", "0"], env)
    copied = show / "slideshow.exe"
    check(out.returncode == 0 and player.is_file() and copied.is_file()
          and copied.read_bytes() == player.read_bytes(),
          f"slideshow copies the installed player: {out.stdout}{out.stderr}")

    # The thumbnailer draws the album's mosaic as a PNG of the asked size.
    png = root / "thumb.png"
    out = run([prefix / "bin/glimix-thumbnailer", "-s", "128", album, png], env)
    check(out.returncode == 0, f"thumbnailer: {out.stderr}")
    head = png.read_bytes()[:24] if png.exists() else b""
    check(head[:8] == b"\x89PNG\r\n\x1a\n" and struct.unpack(">II", head[16:24]) == (128, 128),
          "thumbnailer writes a 128 x 128 PNG")

    # Desktop files validate; the album type is known by name and by its signature.
    share = prefix / "share"
    desktop = share / "applications/org.glimmerix.Glimmerix.desktop"
    out = run(["desktop-file-validate", desktop], env)
    check(out.returncode == 0 and not out.stdout.strip(), f"desktop-file-validate: {out.stdout}")
    out = run(["appstreamcli", "validate", "--no-net",
               share / "metainfo/org.glimmerix.Glimmerix.metainfo.xml"], env)
    check(out.returncode == 0, f"appstreamcli validate: {out.stdout}")
    check(run(["update-mime-database", share / "mime"], env).returncode == 0,
          "update-mime-database")
    renamed = home / "album-without-extension"
    shutil.copy(album, renamed)
    for path in (album, renamed):
        out = run(["xdg-mime", "query", "filetype", path], env)
        check(out.stdout.strip().startswith("application/x-glimmerix-album"),
              f"xdg-mime query filetype {path.name}: {out.stdout}{out.stderr}")

    # Bash completion made from the command table; manual pages render without warnings.
    completion = share / "bash-completion/completions/glimix-cli"
    for words, expected in ((["glimix-cli", "conv"], "convert"),
                            (["glimix-cli", "album", "copy-f"], "copy-files"),
                            (["glimix-cli", "webalbum", "x", "--the"], "--theme")):
        script = (f"source '{completion}'; COMP_WORDS=({' '.join(words)}); "
                  f"COMP_CWORD={len(words) - 1}; _glimix_cli; echo \"${{COMPREPLY[*]}}\"")
        out = run(["bash", "-c", script], env)
        check(out.stdout.split() == [expected], f"completion of {words}: {out.stdout}{out.stderr}")
    # Every command of the table has its entry in the manual page.
    page_text = gzip.decompress((share / "man/man1/glimix-cli.1.gz").read_bytes()).decode()
    listed = re.search(r'compgen -W "([^"]*) --help --version"', completion.read_text())
    commands = listed.group(1).split() if listed else []
    check(commands, "the completion lists the commands")
    for command in commands:
        check(f"\n.B {command} " in page_text or f"\n.B {command}\n" in page_text,
              f"glimix-cli.1 describes the command {command}")
    for page in ("glimix", "glimix-cli", "glimix-thumbnailer", "glimix-service"):
        out = run(["man", "--warnings", "-l", share / f"man/man1/{page}.1.gz"],
                  dict(env, MANPAGER="cat", MANWIDTH="80"))
        check(out.returncode == 0 and not out.stderr.strip(), f"man page {page}: {out.stderr}")

    # glimix starts offscreen from the prefix: it gets past the bundle to its instance socket,
    # maps nothing from the build tree, and takes a picture glimix-cli hands over.
    window = subprocess.Popen([str(prefix / "bin/glimix")], env=env, stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, text=True)
    # The socket lies in the instance folder of its user folder: glimmerix/home-<key>/.
    def instance_socket():
        return next(iter(runtime.glob("glimmerix/home-*/glimix.socket")), None)
    deadline = time.monotonic() + 30
    while not instance_socket() and window.poll() is None and time.monotonic() < deadline:
        time.sleep(0.05)
    check(instance_socket(), "glimix started and opened its instance socket")
    if window.poll() is None:
        maps = Path(f"/proc/{window.pid}/maps").read_text()
        check(str(build) not in maps, "glimix maps nothing from the build tree")
        check(str(prefix / "bin/glimix") in maps, "glimix runs from the prefix")
        out = run([cli, "send-image", picture], env)
        check(out.returncode == 0, f"send-image to the installed glimix: {out.stderr}")
        window.send_signal(signal.SIGTERM)
    try:
        output, _ = window.communicate(timeout=30)
    except subprocess.TimeoutExpired:
        window.kill()
        output, _ = window.communicate()
    check("cannot" not in output.lower(), f"glimix output: {output}")
finally:
    shutil.rmtree(root, ignore_errors=True)

print(f"installcheck: {len(failures)} failure(s)" if failures else "installcheck: all passed")
sys.exit(1 if failures else 0)
