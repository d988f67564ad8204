#!/usr/bin/env python3
"""Start-up and real play with sound against without, the configurations taken in turn.

Usage: bench_sound.py HARNESS STAGEWALK GAME_FOLDER BARE_FOLDER SILENT_CONF DEMO STARTUPS TIMEDEMOS
(prints JSON; needs DISPLAY). Start-up as bench_startup.py takes it (exec to the first scene frame of
the real AppBase in HARNESS), STARTUPS times each of: with sound (OpenAL Soft's wave output written to
nowhere, SILENT_CONF), no device (ALSOFT_DRIVERS=none) and no sound at all (no device, BARE_FOLDER:
the game folder without its sounds). Then the timedemo of DEMO with sound and without a device,
TIMEDEMOS times each, with the CPU time the program took (all its threads). One run of every configuration after another, so a change in the machine's load
falls on all of them alike.
"""
import json
import os
import re
import resource
import subprocess
import sys
import time

LINE = re.compile(r"^Timedemo: (\d+) frames in ([0-9.]+) s \(([0-9.]+) frames per second\)$", re.M)
TIMES = re.compile(r"^Frame time: median ([0-9.]+) ms, 99th percentile ([0-9.]+) ms$", re.M)


def startup(harness, folder, env):
    start = time.monotonic_ns()
    done = subprocess.run([harness, folder], capture_output=True, text=True, check=True, env=env)
    return (int(done.stdout.split()[0]) - start) / 1e6


def timedemo(program, folder, demo, env):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    done = subprocess.run([program, "--timedemo", demo], cwd=folder, capture_output=True, text=True,
                          timeout=600, env=env)
    line, times = LINE.search(done.stdout), TIMES.search(done.stdout)
    if done.returncode != 0 or not line or not times:
        sys.exit(f"bench_sound: the timedemo failed (status {done.returncode}):\n{done.stdout}{done.stderr}")
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return {"fps": float(line.group(3)), "median_ms": float(times.group(1)), "p99_ms": float(times.group(2)),
            "cpu_s": cpu}


def summary(times):
    times = sorted(times)
    return {"runs_ms": times, "median_ms": times[len(times) // 2], "min_ms": times[0]}


def main():
    harness, program, game, bare, conf, demo = (os.path.abspath(a) for a in sys.argv[1:7])
    startups, timedemos = int(sys.argv[7]), int(sys.argv[8])
    sound = dict(os.environ, ALSOFT_DRIVERS="wave", ALSOFT_CONF=conf)
    none = dict(os.environ, ALSOFT_DRIVERS="none")
    load_before = os.getloadavg()
    starts = {"sound": [], "no_device": [], "no_sound": []}
    for _ in range(startups):
        starts["sound"].append(startup(harness, game, sound))
        starts["no_device"].append(startup(harness, game, none))
        starts["no_sound"].append(startup(harness, bare, none))
    plays = {"sound": [], "no_device": []}
    for _ in range(timedemos):
        plays["sound"].append(timedemo(program, game, demo, sound))
        plays["no_device"].append(timedemo(program, game, demo, none))
    # Each round's with-sound start-up less its no-sound one: the load of that moment falls on both.
    paired = sorted(a - b for a, b in zip(starts["sound"], starts["no_sound"]))
    print(json.dumps({"startup": {k: summary(v) for k, v in starts.items()}, "timedemo": plays,
                      "paired_more_ms": paired[len(paired) // 2],
                      "load_avg": [load_before, os.getloadavg()],
                      "date": time.strftime("%Y-%m-%d %H:%M UTC", time.gmtime())}, indent=1))


if __name__ == "__main__":
    main()
