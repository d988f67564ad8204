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
import struct
import subprocess
import sys


def sizes(path):
    """The filtered rows' and the IDAT data's sizes of a non-interlaced 8-bit PNG, from its chunks."""
    with open(path, "rb") as f:
        data = f.read()
    at, compressed, raw = 8, 0, 0
    while at + 8 <= len(data):
        length = struct.unpack(">I", data[at:at + 4])[0]
        kind = data[at + 4:at + 8]
        if kind == b"IHDR":
            width, height, depth, color = struct.unpack(">IIBB", data[at + 8:at + 18])
            channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}.get(color, 0)
            raw = height * (width * channels * depth // 8 + 1)
        elif kind == b"IDAT":
            compressed += length
        at += 12 + length
    return {"raw_bytes": raw, "compressed_bytes": compressed}


def run(program, *args):
    done = subprocess.run([program, *args], capture_output=True, text=True, check=True)
    return json.loads(done.stdout)


def main():
    program, runs = sys.argv[1], int(sys.argv[2])
    kinds = [("photograph-like", "generate"), ("noisy photograph", "generate-noisy")]
    images = []
    for path, (name, generate) in zip(sys.argv[3:], kinds):
        if not os.path.exists(path):
            run(program, generate, path, "4096", "4096")
        info = sizes(path)
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
