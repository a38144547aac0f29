#!/usr/bin/env python3
"""How many planted faults the tests catch. Each fault of the list (tools/mutants.txt) is put
into a copy of the tree one at a time; the tests named for it are built and run there, and the
fault counts as caught when they fail, as survived when they pass. The tree itself is never
changed.

  tools/mutants.py [--list FILE] [--work DIR] [--keep-going] [WORD...]

WORDs pick the faults whose file or description contains one of them (default: all). The copy
and its build live in DIR (default ./build-mutants/tree and ./build-mutants/tree/build), brought
up to date with the tree each run; ccache keeps the first build short. Before the faults, the chosen
tests run once on the unchanged copy: a test that already fails would count every fault as
caught, so the run stops there. Exit status: 0 when every fault was caught, 1 when one survived
or a fault no longer applies (its text is not in the file), 2 for a broken list or baseline.
"""
import argparse
import os
import shlex
import shutil
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
KEYS = {"file", "from", "to", "sed", "tests", "build", "what"}


def read_list(path):
    """Blocks of `key: value` lines separated by blank lines; # starts a comment line."""
    faults, block = [], {}
    lines = path.read_text().splitlines() + [""]
    for number, line in enumerate(lines, 1):
        if line.startswith("#"):
            continue
        if not line.strip():
            if block:
                faults.append(block)
            block = {}
            continue
        key, sep, value = line.partition(": ")
        if not sep and line.endswith(":"):
            key, value = line[:-1], ""
        elif not sep or key not in KEYS:
            sys.exit(f"mutants: {path}:{number}: expected one of {sorted(KEYS)} and ': '")
        block[key] = value
        block.setdefault("line", number)
    for fault in faults:
        where = f"{path}:{fault['line']}"
        if not {"file", "tests", "build", "what"} <= fault.keys():
            sys.exit(f"mutants: {where}: a fault needs file, tests, build and what")
        if ("sed" in fault) == ("from" in fault) or ("from" in fault) != ("to" in fault):
            sys.exit(f"mutants: {where}: a fault has either from and to, or sed")
    return faults


def sync(source, copy):
    """Copies the files of the tree that differ from the copy's. Equal files keep their times,
    so only what changed (a fault put back included) is built again."""
    for folder, dirs, names in os.walk(source):
        here = Path(folder)
        dirs[:] = [d for d in dirs if d not in (".git", ".cache")
                   and not (here == source and d.startswith("build"))]
        target = copy / here.relative_to(source)
        target.mkdir(parents=True, exist_ok=True)
        for name in names:
            mine, theirs = here / name, target / name
            if theirs.is_symlink() or not theirs.exists() or mine.is_symlink() \
                    or mine.read_bytes() != theirs.read_bytes():
                theirs.unlink(missing_ok=True)
                shutil.copy(mine, theirs, follow_symlinks=False)


def run(args, cwd, log):
    with open(log, "a") as out:
        out.write(f"\n$ {shlex.join(args)}\n")
        out.flush()
        return subprocess.run(args, cwd=cwd, stdout=out, stderr=subprocess.STDOUT).returncode


def mutate(fault, tree):
    """Writes the fault into the copy; returns the original text, or None when it does not
    apply (the text to change is not there exactly once, or sed changed nothing)."""
    path = tree / fault["file"]
    original = path.read_text()
    if "from" in fault:
        if original.count(fault["from"]) != 1:
            return None
        path.write_text(original.replace(fault["from"], fault["to"]))
    else:
        changed = subprocess.run(["sed", "-E", "-e", fault["sed"], str(path)],
                                 capture_output=True, text=True)
        if changed.returncode != 0 or changed.stdout == original:
            return None
        path.write_text(changed.stdout)
    return original


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--list", type=Path, default=ROOT / "tools/mutants.txt")
    parser.add_argument("--work", type=Path, default=ROOT / "build-mutants")
    parser.add_argument("--keep-going", action="store_true",
                        help="go on when the unchanged copy fails its tests")
    parser.add_argument("words", nargs="*")
    options = parser.parse_args()
    faults = [f for f in read_list(options.list)
              if not options.words or any(w in f["file"] or w in f["what"] for w in options.words)]
    if not faults:
        sys.exit("mutants: no fault matches")

    tree, log = options.work / "tree", options.work / "mutants.log"
    build = tree / "build"
    options.work.mkdir(parents=True, exist_ok=True)
    log.write_text("")
    sync(ROOT, tree)
    # The options of tools/test.sh's build, so ccache has the unchanged files already.
    if run(["cmake", "-S", str(tree), "-B", str(build), "-G", "Ninja", "-DGLIMMERIX_WERROR=ON"],
           tree, log):
        sys.exit(f"mutants: configuring the copy failed, see {log}")
    jobs = str(os.cpu_count() or 2)

    def check(fault):
        """The fault's tests on the copy as it is now: 'built' and ctest's status, or None."""
        if run(["ninja", "-C", str(build), "-j", jobs, *fault["build"].split()], tree, log):
            return None
        return run(["ctest", "--test-dir", str(build), "--timeout", "300", "-j", jobs,
                    *shlex.split(fault["tests"])], tree, log)

    baseline = {}
    for fault in faults:
        key = (fault["build"], fault["tests"])
        if key not in baseline:
            baseline[key] = check(fault)
            if baseline[key] != 0 and not options.keep_going:
                sys.exit(f"mutants: the unchanged copy fails `ctest {fault['tests']}` (or does not "
                         f"build {fault['build']}); see {log}")

    caught = survived = stale = broken = 0
    for fault in faults:
        started = time.monotonic()
        original = mutate(fault, tree)
        if original is None:
            verdict = "NOT APPLIED"
            stale += 1
        else:
            try:
                status = check(fault)
            finally:
                (tree / fault["file"]).write_text(original)
            if status is None:
                verdict = "does not build"
                broken += 1
            elif status:
                verdict = "caught"
                caught += 1
            else:
                verdict = "SURVIVED"
                survived += 1
        print(f"{verdict:14} {time.monotonic() - started:6.0f} s  {fault['file']}: {fault['what']}",
              flush=True)
    counted = caught + survived
    share = f"{100 * caught / counted:.0f} %" if counted else "-"
    print(f"caught {caught} of {counted} ({share}); not applied {stale}; not building {broken}. "
          f"Log: {log}")
    return 0 if survived == 0 and stale == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
