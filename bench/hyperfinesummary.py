#!/usr/bin/env python3
"""Prints one line per command of a hyperfine JSON export: median, range, rate, and the ratio to
the first command. Usage: hyperfinesummary.py JSON FILES-PER-RUN [UNIT]"""
import json
import statistics
import sys

results = json.load(open(sys.argv[1]))["results"]
files = int(sys.argv[2])
unit = sys.argv[3] if len(sys.argv) > 3 else "files"
base = None
for r in results:
    t = sorted(r["times"])
    med = statistics.median(t)
    base = base or med
    print(f'{r["command"]:<36} median {med*1000:8.0f} ms (min {t[0]*1000:.0f}, max {t[-1]*1000:.0f}),'
          f' {files/med:6.1f} {unit}/s, {med/base:6.2f}x the first row')
