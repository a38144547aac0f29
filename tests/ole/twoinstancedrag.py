#!/usr/bin/env python3
"""Two running instances on one X display: the items of one window dragged into the other arrive
with their texts, thumbnails and attached sound, and the item the target already holds is
skipped. The drag is real: the pointer is driven through the X test extension, so the data goes
through the X drag-and-drop protocol between the two processes. Run under xvfb-run; every wait
is bounded. Usage: twoinstancedrag.py BUILD_DIR"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import wave

BIN = os.path.join(sys.argv[1], "bin")
WORK = tempfile.mkdtemp(prefix="glimmerix-drag-")
ENV = dict(os.environ, HOME=WORK, GLIMMERIX_HOME=WORK + "/home",
           XDG_CONFIG_HOME=WORK + "/config", XDG_RUNTIME_DIR=WORK + "/run")
ENV.pop("QT_QPA_PLATFORM", None)
os.makedirs(ENV["XDG_RUNTIME_DIR"], mode=0o700)
MEDIA = WORK + "/media"
os.makedirs(MEDIA)
# The first cell's middle, in window coordinates: the grid starts 9 pixels into the view, below
# the menu and album bars, and a cell is 90 x 108.
CELL = (53, 117)
PITCH = 93  # from one cell to the next


def cli(*args):
    return subprocess.run([BIN + "/glimix-cli", *args], env=ENV, check=True, text=True,
                          capture_output=True, timeout=60).stdout


def xdo(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True,
                          timeout=10).stdout.strip()


def wait_for(what, predicate, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    sys.exit(f"FAILED: no {what} within {seconds} s")


def picture(name, colour):
    path = f"{MEDIA}/{name}"
    subprocess.run(["convert", "-size", "160x120", f"xc:{colour}", path], check=True)
    return path


def album(name):
    return json.loads(cli("album", "list", name, "--json"))["items"]


def window(name):
    return wait_for(f"window for {name}",
                    lambda: xdo("search", "--name", f"^Glimmerix - {name}").split("\n")[0])


def main():
    pictures = [picture(n, c) for n, c in
                [("anchor.png", "red"), ("buoy.png", "green"), ("cove.png", "blue"),
                 ("dune.png", "orange"), ("eddy.png", "purple")]]
    anchor, buoy, cove, dune, eddy = pictures
    with wave.open(f"{MEDIA}/gulls.wav", "wb") as sound:
        sound.setnchannels(1)
        sound.setsampwidth(1)
        sound.setframerate(8000)
        sound.writeframes(bytes([128]) * 800)
    cli("album", "new", "Source")
    cli("album", "add", "Source", anchor, buoy, cove, dune)
    cli("album", "set-text", "Source", "0", "caption", "Anchor at noon")
    cli("album", "set-text", "Source", "1", "keywords", "sea, buoy")
    cli("album", "set-text", "Source", "2", "description", "The cove in the evening")
    cli("album", "attach", "Source", "1", f"{MEDIA}/gulls.wav", "gulls")
    cli("album", "new", "Target")
    cli("album", "add", "Target", dune, eddy)
    albums = ENV["GLIMMERIX_HOME"] + "/ALBUMS"
    target_file = albums + "/Target.gmx"

    # The X server must answer before the programs start: a program that cannot reach it ends at
    # once, and the failure would only show later as a missing window.
    wait_for("X display answering", lambda: subprocess.run(
        ["xdotool", "getdisplaygeometry"], capture_output=True, timeout=10).returncode == 0)
    processes = []
    try:
        for name in ("Source", "Target"):
            processes.append(subprocess.Popen([BIN + "/glimix", f"{albums}/{name}.gmx"], env=ENV,
                                              stdout=subprocess.DEVNULL))
            window(name)
        source, target = window("Source"), window("Target")
        for win, x in ((source, 0), (target, 960)):
            xdo("windowsize", win, "900", "700")
            xdo("windowmove", win, str(x), "0")
        wait_for("windows side by side", lambda: "960,0" in xdo("getwindowgeometry", target))
        time.sleep(0.5)

        # Select the source's four items (a click on the first, Shift and a click on the fourth
        # cell), then drag them from the first cell onto the target's first cell.
        xdo("mousemove", "--window", source, *map(str, CELL))
        xdo("click", "1")
        xdo("mousemove", "--window", source, str(CELL[0] + 3 * PITCH), str(CELL[1]))
        xdo("keydown", "shift")
        xdo("click", "1")
        xdo("keyup", "shift")
        time.sleep(0.3)
        xdo("mousemove", "--window", source, *map(str, CELL))
        time.sleep(0.3)
        xdo("mousedown", "1")
        for step in range(1, 8):
            xdo("mousemove", "--window", source, str(CELL[0] + 4 * step), str(CELL[1]))
            time.sleep(0.05)
        for step in range(1, 11):
            xdo("mousemove", "--window", source, str(CELL[0] + 100 * step), str(CELL[1]))
            time.sleep(0.05)
        xdo("mousemove", "--window", target, str(CELL[0] + 3), str(CELL[1]))
        time.sleep(0.3)
        xdo("mousemove", "--window", target, *map(str, CELL))
        time.sleep(0.5)
        xdo("mouseup", "1")
        time.sleep(0.5)

        # Save the target so the result can be read from its file.
        before = os.stat(target_file).st_mtime_ns
        xdo("windowfocus", "--sync", target)
        xdo("key", "ctrl+s")
        wait_for("saved target album", lambda: os.stat(target_file).st_mtime_ns != before)
    finally:
        for process in processes:
            process.terminate()
            process.wait(timeout=10)

    items = album("Target")
    paths = [os.path.basename(item["path"]) for item in items]
    expected = ["anchor.png", "buoy.png", "cove.png", "dune.png", "eddy.png"]
    failures = []
    if paths != expected:
        failures.append(f"target holds {paths}, expected {expected}")
    else:
        source_items = album("Source")
        for index in range(3):
            for field in ("caption", "keywords", "description", "attachmentName",
                          "attachmentPath", "thumbWidth", "thumbHeight", "dataSize"):
                if items[index][field] != source_items[index][field]:
                    failures.append(f"item {index} {field}: {items[index][field]!r} "
                                    f"!= {source_items[index][field]!r}")
            mine, theirs = f"{WORK}/s{index}.bmp", f"{WORK}/t{index}.bmp"
            cli("album", "thumbnail", "Source", str(index), mine)
            cli("album", "thumbnail", "Target", str(index), theirs)
            with open(mine, "rb") as a, open(theirs, "rb") as b:
                if a.read() != b.read():
                    failures.append(f"item {index}: thumbnail differs")
        if items[1]["attachmentName"] != "gulls":
            failures.append("the attached sound did not arrive")
    shutil.rmtree(WORK, ignore_errors=True)
    if failures:
        sys.exit("FAILED: " + "; ".join(failures))
    print("three items arrived with texts, thumbnails and sound; the duplicate was skipped")


if __name__ == "__main__":
    main()
