#!/usr/bin/env python3
"""Two running instances on one X display: the items of one window dragged into the other arrive
with their texts, thumbnails and attached sound, and the item the target already holds is
skipped. The drag is real: the pointer is driven through the X test extension, so the data goes
through the X drag-and-drop protocol between the two processes. The test starts its own X server
(Xvfb) on a display of its own and waits until it takes connections (xvfb-run -a guesses a
display and waits a fixed time; two tests started at once could share a display or lose it).
Every step waits for what the previous one must have shown (a window on screen, its cells
painted, a cell drawn selected, the dragged thumbnail, the pointer showing the drop is taken,
the title marking the album changed, the file written), never for a fixed time, and every wait
is bounded. Usage: twoinstancedrag.py BUILD_DIR"""

import ctypes
import json
import os
import random
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


class CursorImage(ctypes.Structure):
    """XFixesCursorImage: the pointer's look as the X server shows it."""
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


X11 = ctypes.CDLL("libX11.so.6")
XFIXES = ctypes.CDLL("libXfixes.so.3")
X11.XOpenDisplay.restype = ctypes.c_void_p
X11.XOpenDisplay.argtypes = [ctypes.c_char_p]
X11.XFree.argtypes = [ctypes.c_void_p]
XFIXES.XFixesQueryVersion.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                      ctypes.POINTER(ctypes.c_int)]
XFIXES.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
XFIXES.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
DISPLAY = []


def pointer_look():
    """The name of the pointer's current image in the cursor theme. A drag shows in it whether
    the window under the pointer takes the drop, the only sign of the target's answer."""
    if not DISPLAY:
        DISPLAY.append(X11.XOpenDisplay(None))
        XFIXES.XFixesQueryVersion(DISPLAY[0], ctypes.byref(ctypes.c_int(5)),
                                  ctypes.byref(ctypes.c_int(0)))
    image = XFIXES.XFixesGetCursorImage(DISPLAY[0])
    name = image.contents.name or b""
    X11.XFree(image)
    return name


# Qt's pointer for a drag that copies, by the names it asks the theme for.
COPYING = (b"dnd-copy", b"copy")

def wait_for(what, predicate, seconds=30):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.05)
    sys.exit(f"FAILED: no {what} within {seconds} s")


def pixels(win, x, y, width, height):
    """The RGB bytes the X server shows of a rectangle of the window."""
    return subprocess.run(["import", "-silent", "-window", win, "-crop",
                           f"{width}x{height}+{x}+{y}", "-depth", "8", "rgb:-"],
                          capture_output=True, timeout=20).stdout


def cell_pixels(win, index):
    """The whole of one cell of the first row: thumbnail, frame, name and number."""
    return pixels(win, CELL[0] - 45 + index * PITCH, CELL[1] - 54, 90, 108)


def painted(win):
    """Whether the first cell shows its item (its icon, number and name: many colours, where an
    empty cell has a few) and nothing is being painted there any more."""
    data = settled(win, 0)
    return data is not None and len({data[i:i + 3] for i in range(0, len(data), 3)}) >= 16


def settled(win, index):
    """The cell's pixels once two looks in a row agree (nothing is being painted there)."""
    first, second = cell_pixels(win, index), cell_pixels(win, index)
    return first if first == second and len(first) == 90 * 108 * 3 else None


def windows_of(process):
    """The visible windows of a process: its main window, and the dragged thumbnail in a drag."""
    return xdo("search", "--onlyvisible", "--pid", str(process.pid)).split()


def changed(win, index, before):
    data = cell_pixels(win, index)
    return len(data) == len(before) and data != before

def picture(name, colour):
    path = f"{MEDIA}/{name}"
    subprocess.run(["convert", "-size", "160x120", f"xc:{colour}", path], check=True)
    return path


def album(name):
    return json.loads(cli("album", "list", name, "--json"))["items"]


def window(name, process=None, modified=False):
    """The visible main window of `name` ("NAME *" while its album has unsaved changes)."""
    title = f"^Glimmerix - {name}" + (r" \*$" if modified else "$")

    def found():
        if process is not None and process.poll() is not None:
            sys.exit(f"FAILED: glimix for {name} ended with status {process.returncode}")
        return xdo("search", "--onlyvisible", "--name", title).split("\n")[0]
    return wait_for(f"window {title!r}", found)


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

    # A private X server on a display of its own: one taken at random from a range no other
    # program uses, so that a server another test starts at the same time, or one in another
    # file system view sharing the socket names, cannot be mistaken for it. Xvfb ends at once
    # when the display is in use, and writes the number once it takes connections; until then
    # nothing may start (a program that cannot reach the server ends at once).
    for attempt in range(20):
        reader, writer = os.pipe()
        number = str(random.randrange(1000, 30000))
        server = subprocess.Popen(["Xvfb", f":{number}", "-displayfd", str(writer), "-screen", "0",
                                   "1920x800x24", "-nolisten", "tcp"], pass_fds=[writer],
                                  stderr=subprocess.DEVNULL)
        os.close(writer)
        with os.fdopen(reader) as announced:
            if announced.readline().strip() == number:
                break
        server.wait()
    else:
        sys.exit("FAILED: Xvfb did not start on any of 20 displays")
    os.environ["DISPLAY"] = ENV["DISPLAY"] = f":{number}"
    processes = []
    try:
        for name in ("Source", "Target"):
            processes.append(subprocess.Popen([BIN + "/glimix", f"{albums}/{name}.gmx"], env=ENV,
                                              stdout=subprocess.DEVNULL))
            window(name, processes[-1])
        source, target = window("Source"), window("Target")
        for win, x in ((source, 0), (target, 960)):
            xdo("windowsize", "--sync", win, "900", "700")
            xdo("windowmove", "--sync", win, str(x), "0")
        wait_for("windows side by side", lambda: "960,0" in xdo("getwindowgeometry", target))
        wait_for("source's first item painted", lambda: painted(source))
        wait_for("target's first item painted", lambda: painted(target))

        # Select the source's four items: a click on the first cell, then Shift and a click on
        # the fourth, which is then drawn selected and current.
        fourth = wait_for("fourth cell painted", lambda: settled(source, 3))
        xdo("mousemove", "--sync", "--window", source, *map(str, CELL))
        xdo("click", "1")
        xdo("mousemove", "--sync", "--window", source, str(CELL[0] + 3 * PITCH), str(CELL[1]))
        xdo("keydown", "shift")
        xdo("click", "1")
        xdo("keyup", "shift")
        wait_for("fourth cell drawn selected", lambda: changed(source, 3, fourth))

        # Drag them from the first cell onto the target's first cell: the press, a move past the
        # drag distance, and once the dragged thumbnail shows, out between the two windows (the
        # pointer shows the drop is refused there) and into the target's first cell. The button
        # is let go once the pointer shows the target takes the drop, as over the source.
        xdo("mousemove", "--sync", "--window", source, *map(str, CELL))
        xdo("mousedown", "1")
        for step in range(1, 8):
            xdo("mousemove", "--sync", "--window", source, str(CELL[0] + 4 * step), str(CELL[1]))
        wait_for("dragged thumbnail", lambda: len(windows_of(processes[0])) > 1)
        wait_for("copying drag over the source", lambda: pointer_look() in COPYING)
        xdo("mousemove", "--sync", "930", str(CELL[1]))
        wait_for("drop refused between the windows", lambda: pointer_look() not in COPYING)
        # The target answers for an area; should it not take the drop at first, a move by one
        # pixel asks again.
        nudge = [0]

        def taken():
            if pointer_look() in COPYING:
                return True
            nudge[0] ^= 1
            xdo("mousemove", "--sync", "--window", target, str(CELL[0] + nudge[0]), str(CELL[1]))
            return False
        xdo("mousemove", "--sync", "--window", target, *map(str, CELL))
        wait_for("target taking the drop", taken)
        xdo("mouseup", "1")
        # The drop marks the target's album changed in its title.
        window("Target", processes[1], modified=True)

        # Save the target so the result can be read from its file.
        before = os.stat(target_file).st_mtime_ns
        xdo("windowfocus", "--sync", target)
        xdo("key", "ctrl+s")
        window("Target", processes[1])
        wait_for("saved target album", lambda: os.stat(target_file).st_mtime_ns != before)
    finally:
        for process in processes:
            process.terminate()
            process.wait(timeout=10)
        server.terminate()
        server.wait(timeout=10)

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
