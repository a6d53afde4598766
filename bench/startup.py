#!/usr/bin/env python3
"""Times the start-up of the program against a bare Qt window with an MDI area,
and against the same window with the least menu bar, toolbar and status bar.

Both programs run alternately, side by side in one run; each reports the moment
its main window is first shown and its peak memory then. Prints the medians and
their ratios, then the time to open each tool window."""
import statistics
import subprocess
import sys
import time

build = sys.argv[1]
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20


def start(program, *args):
    t0 = time.perf_counter()
    p = subprocess.Popen([f"{build}/bench/{program}", *args], stdout=subprocess.PIPE, text=True)
    line = p.stdout.readline()
    elapsed = (time.perf_counter() - t0) * 1000
    rest = p.stdout.read()
    p.wait()
    word, kb = line.split()
    assert word == "shown", line
    return elapsed, int(kb), rest


names = ("bare", "chrome", "tavrin")
results = {name: ([], []) for name in names}
for name in names:  # warm the caches
    start(f"bench_startup_{name}")
for _ in range(runs):
    for name in names:
        ms, kb, _ = start(f"bench_startup_{name}")
        results[name][0].append(ms)
        results[name][1].append(kb)

bare_ms, bare_kb = (statistics.median(v) for v in results["bare"])
chrome_ms, chrome_kb = (statistics.median(v) for v in results["chrome"])
app_ms, app_kb = (statistics.median(v) for v in results["tavrin"])
print(f"start-up, median of {runs} runs each, until the main window is shown:")
print(f"  bare QMainWindow + QMdiArea:           {bare_ms:7.1f} ms  {bare_kb / 1024:6.1f} MiB peak")
print(f"  the same with a menu, toolbar, status: {chrome_ms:7.1f} ms  {chrome_kb / 1024:6.1f} MiB peak")
print(f"  tavrin:                                {app_ms:7.1f} ms  {app_kb / 1024:6.1f} MiB peak")
print(f"  ratio to the bare window: time {app_ms / bare_ms:.2f}, memory {app_kb / bare_kb:.2f} (goal: at most 1.15 each)")
print(f"  ratio to the window with menu, toolbar and status bar: time {app_ms / chrome_ms:.2f}, memory {app_kb / chrome_kb:.2f}")

_, _, tools = start("bench_startup_tavrin", "--tools")
print("opening each tool window (first opening, ms):")
for line in tools.splitlines():
    _, name, ms, *note = line.split()
    print(f"  {name:16s} {float(ms):7.1f}{' ' + ' '.join(note) if note else ''}")
