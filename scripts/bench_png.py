#!/usr/bin/env python3
"""Times LoadBitmap against SOIL_load_image alone on large generated PNGs, with peak memory.

Usage: bench_png.py PROGRAM RUNS IMAGE [NOISY_IMAGE]   (prints JSON)
PROGRAM is stagewalk_png_load. Each image is written first when it does not exist (4096 x 4096 RGB,
the same bytes every time): IMAGE photograph-like, NOISY_IMAGE a noisy photograph whose stream is
almost all literals. Each round runs SOIL alone, LoadBitmap and the check alone once per image and an
idle process, in a shuffled order, every load in a fresh process: its peak resident size (VmHWM) is
that of the load, and the idle process gives the base it starts from.
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
    program, runs = sys.argv[1], int(sys.argv[2])
    kinds = [("photograph-like", "generate"), ("noisy photograph", "generate-noisy")]
    images = []
    for path, (name, generate) in zip(sys.argv[3:], kinds):
        info = {}
        if not os.path.exists(path):
            info = run(program, generate, path, "4096", "4096")
        info["file_bytes"] = os.path.getsize(path)
        images.append({"name": name, "path": path, "image": info, "runs": {"soil": [], "load": [], "check": []}})
    idle = []
    load_before = os.getloadavg()
    shuffle = random.Random(16)
    for _ in range(runs):
        order = [(image, mode) for image in images for mode in ("soil", "load", "check")] + [(None, "none")]
        shuffle.shuffle(order)
        for image, mode in order:
            if image is None:
                idle.append(run(program, "none", images[0]["path"]))
            else:
                image["runs"][mode].append(run(program, mode, image["path"]))
    for image in images:
        image["runs"]["none"] = idle
    date = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    print(json.dumps({"images": images, "load_avg": [load_before, os.getloadavg()], "date": date}))


if __name__ == "__main__":
    main()
