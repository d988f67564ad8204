#!/usr/bin/env python3
"""Frame times of real play: the committed tower run replayed by the program's own timedemo.

Usage: bench_timedemo.py STAGEWALK GAME_FOLDER DEMO RUNS  (prints JSON; needs DISPLAY)
Each run plays GAME_FOLDER (its shipped config.tml: the player's window) with --timedemo DEMO, which
replays every recorded frame as fast as the machine draws and prints the frame count, the seconds,
the frames per second and the median and 99th-percentile frame times.
"""
import json
import os
import re
import subprocess
import sys
import time

LINE = re.compile(r"^Timedemo: (\d+) frames in ([0-9.]+) s \(([0-9.]+) frames per second\)$", re.M)
TIMES = re.compile(r"^Frame time: median ([0-9.]+) ms, 99th percentile ([0-9.]+) ms$", re.M)


def main():
    program, folder, demo, runs = sys.argv[1], sys.argv[2], os.path.abspath(sys.argv[3]), int(sys.argv[4])
    load_before = os.getloadavg()
    results = []
    for _ in range(runs):
        done = subprocess.run([os.path.abspath(program), "--timedemo", demo], cwd=folder, capture_output=True,
                              text=True, timeout=600)
        line, times = LINE.search(done.stdout), TIMES.search(done.stdout)
        if done.returncode != 0 or not line or not times:
            sys.exit(f"bench_timedemo: the timedemo failed (status {done.returncode}):\n{done.stdout}{done.stderr}")
        results.append({"frames": int(line.group(1)), "seconds": float(line.group(2)), "fps": float(line.group(3)),
                        "median_ms": float(times.group(1)), "p99_ms": float(times.group(2))})
    print(json.dumps({"demo": os.path.basename(demo), "runs": results, "load_avg": [load_before, os.getloadavg()],
                      "date": time.strftime("%Y-%m-%d %H:%M UTC", time.gmtime())}, indent=1))


if __name__ == "__main__":
    main()
