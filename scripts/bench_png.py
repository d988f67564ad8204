#!/usr/bin/env python3
"""Times LoadBitmap against SOIL_load_image alone on a large photograph-like PNG, with peak memory.

Usage: bench_png.py PROGRAM IMAGE RUNS   (prints JSON)
PROGRAM is stagewalk_png_load. IMAGE is written first when it does not exist (4096 x 4096 RGB, the
same bytes every time). Each round runs SOIL alone, LoadBitmap and the check alone once each, in a
shuffled order, every load in a fresh process: its peak resident size (VmHWM) is that of the load,
and an idle process of the same program gives the base it starts from.
"""
import datetime
import json
import os
import random
import subprocess
import sys


def run(program, *args):
    done = subprocess.run([program, *args], capture_output=True, text=True, check=True)
    return json.loads(done.stdout)


def main():
    program, image, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
    info = {}
    if not os.path.exists(image):
        info = run(program, "generate", image, "4096", "4096")
    info["file_bytes"] = os.path.getsize(image)
    modes = {"soil": [], "load": [], "check": [], "none": []}
    load_before = os.getloadavg()
    shuffle = random.Random(16)
    for _ in range(runs):
        order = ["soil", "load", "check", "none"]
        shuffle.shuffle(order)
        for mode in order:
            modes[mode].append(run(program, mode, image))
    date = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    print(json.dumps({"image": info, "runs": modes, "load_avg": [load_before, os.getloadavg()], "date": date}))


if __name__ == "__main__":
    main()
