#!/usr/bin/env python3
"""Frame pacing of the real program: main-thread CPU per frame, frames per second, frame intervals.

Usage: bench_pacing.py STAGEWALK PROBE GAME_FOLDER RUNS SECONDS  (prints JSON; needs DISPLAY and xdotool)
Each run plays a copy of GAME_FOLDER (its data and shaders linked, its config.tml with the window set to
320 x 240) with PROBE preloaded, which notes the clock and the main thread's CPU time at every buffer
swap. Nothing is pressed: after WARM_UP seconds (loading done, the player landed and standing still)
SECONDS of swaps are measured, then the game is quit with left Ctrl + Q. PACING_LABEL, if set, is
recorded as the program's description for the report.
"""
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

WARM_UP = 4.0


def game_copy(folder, into):
    for name in ("data", "shaders"):
        os.symlink(os.path.join(folder, name), os.path.join(into, name))
    with open(os.path.join(folder, "config.tml")) as f:
        config = f.read()
    window = re.search(r"\{ window\n(.*?)\n\s*\}", config, re.S)
    sized = re.sub(r"! width \d+", "! width 320", window.group(0))
    sized = re.sub(r"! height \d+", "! height 240", sized)
    with open(os.path.join(into, "config.tml"), "w") as f:
        f.write(config.replace(window.group(0), sized))


def quit_game(game):
    """Left Ctrl + Q as a player presses it, Q again while the game runs on."""
    subprocess.run(["xdotool", "keydown", "Control_L"], check=True)
    time.sleep(0.2)
    for _ in range(20):
        subprocess.run(["xdotool", "key", "q"], check=True)
        try:
            game.wait(0.5)
            break
        except subprocess.TimeoutExpired:
            pass
    subprocess.run(["xdotool", "keyup", "Control_L"], check=True)
    if game.poll() is None:
        game.kill()
        raise RuntimeError("the game did not quit on left Ctrl + Q")


def percentile(sorted_values, fraction):
    return sorted_values[min(len(sorted_values) - 1, int(fraction * len(sorted_values)))]


def one_run(stagewalk, probe, folder, seconds):
    work = tempfile.mkdtemp(prefix="stagewalk-pacing-")
    try:
        game_copy(folder, work)
        log = os.path.join(work, "swaps.txt")
        env = dict(os.environ, LD_PRELOAD=probe, STAGEWALK_SWAP_LOG=log)
        game = subprocess.Popen([stagewalk], cwd=work, env=env, stdout=subprocess.DEVNULL)
        time.sleep(WARM_UP + seconds + 0.5)
        quit_game(game)
        with open(log) as f:
            swaps = [tuple(int(x) for x in line.split()) for line in f]
    finally:
        shutil.rmtree(work)
    start = swaps[0][0] + WARM_UP * 1e9
    measured = [s for s in swaps if start <= s[0] <= start + seconds * 1e9]
    intervals = sorted((b[0] - a[0]) / 1e6 for a, b in zip(measured, measured[1:]))
    frames = len(intervals)
    elapsed = (measured[-1][0] - measured[0][0]) / 1e9
    return {
        "frames": frames,
        "fps": frames / elapsed,
        "cpu_ms_per_frame": (measured[-1][1] - measured[0][1]) / 1e6 / frames,
        "interval_median_ms": statistics.median(intervals),
        "interval_p90_ms": percentile(intervals, 0.9),
        "interval_p99_ms": percentile(intervals, 0.99),
        "interval_max_ms": intervals[-1],
    }


def main():
    stagewalk, probe, folder = (os.path.abspath(p) for p in sys.argv[1:4])
    runs, seconds = int(sys.argv[4]), float(sys.argv[5])
    load_before = os.getloadavg()
    results = [one_run(stagewalk, probe, folder, seconds) for _ in range(runs)]
    print(json.dumps({"binary": sys.argv[1], "label": os.environ.get("PACING_LABEL", ""), "runs": results, "seconds": seconds, "load_avg": [load_before, os.getloadavg()],
                      "date": time.strftime("%Y-%m-%d %H:%M UTC", time.gmtime())}))


if __name__ == "__main__":
    main()
