#!/usr/bin/env python3
"""Times the program's start-up from exec to the first scene frame, several times.

Usage: bench_startup.py HARNESS GAME_FOLDER RUNS  (prints JSON)
The harness runs the program's own start-up and prints CLOCK_MONOTONIC (ns) once the first frame
after loading is drawn and finished; the clock is read here just before the process is spawned, so
each figure covers fork, exec, dynamic loading and everything the program does until that frame.
"""
import json
import os
import subprocess
import sys
import time


def main():
    harness, folder, runs = sys.argv[1], os.path.abspath(sys.argv[2]), int(sys.argv[3])
    times, info = [], {}
    for _ in range(runs):
        start = time.monotonic_ns()
        done = subprocess.run([harness, folder], capture_output=True, text=True, check=True)
        times.append((int(done.stdout.split()[0]) - start) / 1e6)
        for line in done.stderr.splitlines():
            key, _, value = line.partition(": ")
            if key in ("renderer", "version"):
                info[key] = value
    times.sort()
    print(json.dumps({"runs_ms": times, "median_ms": times[len(times) // 2], "min_ms": times[0], **info}))


if __name__ == "__main__":
    main()
