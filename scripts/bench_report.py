#!/usr/bin/env python3
"""Writes docs/performance.md (to standard output) from one run of scripts/bench.

Usage: bench_report.py RESULTS_DIR   (reads bench.json, startup.json, png.json and pacing.json from it)
       bench_report.py --splice-png RESULTS_DIR DOC   (replaces only DOC's PNG section and goal rows)
       bench_report.py --splice-pacing RESULTS_DIR DOC   (the same for the frame pacing)
       bench_report.py --splice-timedemo RESULTS_DIR DOC   (the same for the timedemo of real play)
       bench_report.py --splice-audio RESULTS_DIR DOC   (the same for the sound's figures)
       bench_report.py --splice-collision RESULTS_DIR DOC   (the collision pass and the checker's walks)
       bench_report.py --splice-levels RESULTS_DIR DOC   (start-up with one level listed against ten)
CPU-bound figures use CPU time (less disturbed by other processes on a shared machine); GL figures
use wall time, since the software rasteriser works on threads of its own.
"""
import datetime
import json
import os
import platform
import re
import subprocess
import sys


def sh(command):
    try:
        return subprocess.run(command, shell=True, capture_output=True, text=True).stdout.strip()
    except OSError:
        return ""


def fastest(path):
    """The repetition with the least time of every benchmark in a google-benchmark JSON file."""
    with open(path) as f:
        bench = json.load(f)
    runs = {}
    for b in bench["benchmarks"]:
        if b.get("run_type") == "aggregate" or b.get("error_occurred"):
            continue
        name = b.get("run_name", b["name"])
        key = "real_time" if name.startswith(("Frame", "StartUp", "AudioOpen")) else "cpu_time"
        if name not in runs or b[key] < runs[name][key]:
            runs[name] = b
    return bench, runs


def load(results):
    bench, runs = fastest(os.path.join(results, "bench.json"))
    steady = {}
    path = os.path.join(results, "bench_steady.json")
    if os.path.exists(path):
        steady = fastest(path)[1]
    startup = {}
    path = os.path.join(results, "startup.json")
    if os.path.exists(path) and os.path.getsize(path) > 0:
        with open(path) as f:
            startup = json.load(f)
    png = None
    path = os.path.join(results, "png.json")
    if os.path.exists(path) and os.path.getsize(path) > 0:
        with open(path) as f:
            png = json.load(f)
    return bench, runs, steady, startup, png


SCALE = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def seconds(run, wall=False):
    return run["real_time" if wall else "cpu_time"] * SCALE[run["time_unit"]]


def fmt(value, digits=3):
    if value is None:
        return "n/a"
    return f"{value:.{digits}g}" if abs(value) < 1000 else f"{value:.0f}"


def mark(ok):
    return "met" if ok else "**not met**"


# The goal rows of earlier aims begin alike, so a spliced report replaces them too.
PNG_GOAL_START = "| LoadBitmap of a large photographic PNG within"
PNG_GOAL = PNG_GOAL_START + " 1.6x of SOIL alone"


DESCRIPTIONS = {
    "photograph-like": "smooth light and shapes, texture, sensor-like grain",
    "noisy photograph": "fractal colour clouds under strong per-pixel noise, written as ImageMagick writes "
                        "a noisy photograph: its stream is almost all literals",
}


def png_report(png):
    """The PNG loading section and its rows of the goals table, as lists of lines."""
    out = []
    w = out.append
    goals = []
    # A report of one image, from before there were two.
    images = png.get("images") or [{"name": "photograph-like", "image": png["image"], "runs": png["runs"]}]
    w("## PNG loading")
    w("")
    w("`Engine::LoadBitmap` (the image screening, PNG data inflated by zlib and thrown away, then "
      "`SOIL_load_image`) against `SOIL_load_image` alone on "
      "generated 4096 x 4096 RGB PNGs, both asked for RGBA. `scripts/bench_png.py` runs every load in a process "
      f"of its own, {len(images[0]['runs']['soil'])} rounds with the loads of each round in shuffled order; CPU "
      "time of the load, and the process's peak resident size (VmHWM) against an idle process of the same "
      "program.")
    w("")
    for entry in images:
        image, runs, name = entry["image"], entry["runs"], entry["name"]
        raw = image.get("raw_bytes")
        w(f"The {name} PNG ({DESCRIPTIONS.get(name, name)}; {fmt(image['file_bytes'] / 2**20)} MiB"
          + (f", {fmt(100 * image['compressed_bytes'] / raw)} % of its {fmt(raw / 2**20)} MiB of filtered rows"
             if raw else "") + "):")
        w("")
        w("| load | fastest CPU ms | median CPU ms | peak resident MiB | over an idle process MiB |")
        w("|---|---:|---:|---:|---:|")
        idle = sorted(r["peak_kib"] for r in runs["none"])[len(runs["none"]) // 2]
        cpu, peak = {}, {}
        for mode, label in (("soil", "`SOIL_load_image` alone"), ("load", "`LoadBitmap`"),
                            ("check", "the screening alone (`ImageCheck::ImageAcceptable`)")):
            times = sorted(r["cpu_s"] for r in runs[mode])
            peaks = sorted(r["peak_kib"] for r in runs[mode])
            cpu[mode], peak[mode] = times, peaks[len(peaks) // 2]
            w(f"| {label} | {fmt(times[0] * 1e3)} | {fmt(times[len(times) // 2] * 1e3)} | {fmt(peak[mode] / 1024)} | "
              f"{fmt((peak[mode] - idle) / 1024)} |")
        rounds = sorted(a["cpu_s"] / b["cpu_s"] for a, b in zip(runs["load"], runs["soil"]))
        time_ratio = cpu["load"][0] / cpu["soil"][0]
        memory_ratio = (peak["load"] - idle) / (peak["soil"] - idle)
        w("")
        w(f"`LoadBitmap` / SOIL alone: {fmt(time_ratio)} in CPU time (fastest runs; median of the rounds' ratios "
          f"{fmt(rounds[len(rounds) // 2])}), {fmt(memory_ratio, 4)} in peak memory over the idle process.")
        w("")
        goals += [f"{PNG_GOAL} ({name}): time | {fmt(time_ratio)}x | {mark(time_ratio <= 1.6)} |",
                  f"| the same: peak memory, within about 1.01x | {fmt(memory_ratio, 4)}x | "
                  f"{mark(memory_ratio <= 1.01)} |"]
    before, after = png["load_avg"]
    w(f"Load average {', '.join(fmt(x, 3) for x in before)} before these loads, "
      f"{', '.join(fmt(x, 3) for x in after)} after" + (f"; taken on {png['date']}" if png.get("date") else "") + ".")
    w("")
    return out, goals


PACING_GOALS = ("| main-thread CPU per frame", "| frames per second", "| frame interval")
TIMEDEMO_GOALS = ("| real play (timedemo",)


def timedemo_report(timedemo):
    """The section on real play, replayed by the timedemo, and its goal row, as lists of lines."""
    out = []
    w = out.append
    runs = timedemo["runs"]

    def median(key):
        return sorted(r[key] for r in runs)[len(runs) // 2]

    w("## Real play: timedemo")
    w("")
    w(f"The committed demo `game/demos/{timedemo['demo']}` (the run from the spawn to the finish on the tower top, "
      f"{runs[0]['frames']} frames) replayed by `stagewalk --timedemo` in the shipped game's 960 x 720 window: every "
      "recorded frame is updated and drawn as fast as the machine draws, no pacing, no swap interval. A frame's "
      "time runs from its start to the next frame's, so it holds the update, the draw and the swap. "
      f"`scripts/bench_timedemo.py` ran it {len(runs)} times.")
    w("")
    w("| run | frames per second | frame time, median ms | frame time, 99th percentile ms | seconds |")
    w("|---|---:|---:|---:|---:|")
    for i, r in enumerate(runs, 1):
        w(f"| {i} | {fmt(r['fps'])} | {fmt(r['median_ms'])} | {fmt(r['p99_ms'])} | {fmt(r['seconds'])} |")
    w("")
    w(f"Load average {', '.join(fmt(x, 3) for x in timedemo['load_avg'][0])} before the runs, "
      f"{', '.join(fmt(x, 3) for x in timedemo['load_avg'][1])} after; taken on {timedemo['date']}.")
    w("")
    p99 = median("p99_ms")
    goals = [f"| real play (timedemo of the tower run): 99th-percentile frame under 16.7 ms | {fmt(p99)} ms "
             f"(median {fmt(median('median_ms'))} ms) | {mark(p99 < 16.7)} |"]
    return out, goals


LEVELS_GOALS = ("| ten levels listed: start-up",)


def levels_report(levels):
    """The section on start-up with one level listed against ten, and its goal row, as lists of lines."""
    out = []
    w = out.append
    w("## Levels at start-up")
    w("")
    w("The real start-up (exec to the first scene frame, as above) in two copies of the shipped game folder: "
      "one that lists only its first level, and one that lists ten (the shipped ones and copies of the last, each "
      "in files of its own). The game loads what no level owns and the start level's room and data, and reads "
      "the other levels' files only after the first frame, so the list's length should cost next to nothing. "
      f"`scripts/bench_levels.py` took {levels['rounds']} rounds, each timing both folders in shuffled order.")
    w("")
    w("| folder | median ms | fastest ms |")
    w("|---|---:|---:|")
    for key, label in (("one", "one level listed"), ("ten", "ten levels listed")):
        w(f"| {label} | {fmt(levels[key + '_ms'])} | {fmt(min(levels['runs_ms'][key]))} |")
    w("")
    if "load_avg" in levels:
        w(f"Load average {', '.join(fmt(x, 3) for x in levels['load_avg'][0])} before the rounds, "
          f"{', '.join(fmt(x, 3) for x in levels['load_avg'][1])} after: a shared machine, so the two medians "
          "move together from run to run, and their ratio is the figure.")
        w("")
    fastest = min(levels["runs_ms"]["ten"]) / min(levels["runs_ms"]["one"])
    goals = [f"| ten levels listed: start-up within 1.2x of one level's | {fmt(levels['ratio'])}x (fastest runs "
             f"{fmt(fastest)}x) | {mark(levels['ratio'] <= 1.2)} |"]
    return out, goals


AUDIO_GOALS = ("| sound: main-thread cost per frame", "| sound: start-up")
AUDIO_STARTUPS = (("sound", "with sound: a device (OpenAL Soft's wave output, written to nowhere), the sounds "
                   "decoded and made buffers, the wind playing"),
                  ("no_device", "no device (`ALSOFT_DRIVERS=none`): the sounds decoded, \"Sound off\""),
                  ("no_sound", "no sound at all: no device, and a manifest without the sounds (the game before "
                   "it had any)"))


def load_json(results, name):
    path = os.path.join(results, name)
    if not os.path.exists(path) or os.path.getsize(path) == 0:
        return None
    with open(path) as f:
        return json.load(f)


def audio_report(results):
    """The sound's section and its goal rows, as lists of lines; None without its figures."""
    path = os.path.join(results, "audio.json")
    if not os.path.exists(path):
        return None
    runs = fastest(path)[1]
    out = []
    w = out.append
    w("## Sound")
    w("")
    w("What sound costs the main thread in a frame: `GameSounds::Play` with the frame's cues, each one a voice "
      "found (a free one, or the oldest) and started on OpenAL Soft's wave output written to nowhere, its mixer "
      "thread running and the wind looping (`bench/audio_bench.cpp`, CPU time, the fastest of nine).")
    w("")
    w("| a frame with | us |")
    w("|---|---:|")
    labels = (("AudioFrameNoCue", "no cue (most frames)"), ("AudioFrameOneCue", "one cue (a footstep)"),
              ("AudioFrameFourCues", "four cues (a landing, a jump, a footstep and the finish at once)"),
              ("AudioFrameFullList", "sixteen cues, the most a frame keeps"))
    for name, label in labels:
        if name in runs:
            w(f"| {label} | {fmt(seconds(runs[name]) * 1e6)} |")
    cycle = next((run for name, run in runs.items() if name.startswith("AudioOpenLoadClose")), None)
    if cycle:
        w("")
        w(f"At start-up and shutdown the main thread spends {fmt(seconds(cycle, wall=True) * 1e3)} ms (wall time, the "
          "fastest of nine) opening the device, making the six shipped sounds buffers, starting the wind and "
          "closing it all again (`AudioOpenLoadClose`); the device opens while the loader thread works, so the "
          "start-up waits for the part of it that outlasts the loading.")
    none, one = runs.get("AudioFrameNoCue"), runs.get("AudioFrameOneCue")
    per_frame = None
    if none and one:
        # The tower run: 829 frames and 32 cues, each on a frame of its own or two together.
        per_frame = seconds(none) + (seconds(one) - seconds(none)) * 32 / 829
        w("")
        w(f"Over the committed tower run (829 frames, 32 cues) that is {fmt(per_frame * 1e6)} us a frame on "
          "average; the busiest frame plays two cues.")
    w("")
    measured = load_json(results, "sound.json") or {}
    found = measured.get("startup", {})
    if found:
        runs_each = len(next(iter(found.values()))["runs_ms"])
        w("Start-up from exec to the first scene frame and real play (the timedemo of the tower run), both as "
          "above, with sound and without, by `scripts/bench_sound.py`: one run of every configuration after "
          f"another, {runs_each} start-ups of each.")
        w("")
        w("| start-up | median ms | fastest ms |")
        w("|---|---:|---:|")
        for name, label in AUDIO_STARTUPS:
            if name in found:
                w(f"| {label} | {fmt(found[name]['median_ms'])} | {fmt(found[name]['min_ms'])} |")
        if "paired_more_ms" in measured:
            w("")
            w(f"Each round's start-up with sound less its start-up without any: {fmt(measured['paired_more_ms'])} ms "
              "(the median of the rounds), the steadier figure when the load changes from second to second.")
    plays = measured.get("timedemo", {})
    if plays.get("sound") and plays.get("no_device"):
        def median(result, key):
            return sorted(r[key] for r in result)[len(result) // 2]
        w("")
        w("| timedemo, median of the runs | frames per second | frame time, median ms | 99th percentile ms | "
          "CPU s, all threads |")
        w("|---|---:|---:|---:|---:|")
        for name, label in (("sound", "with sound"), ("no_device", "no device")):
            t = plays[name]
            cpu = median(t, "cpu_s") if all("cpu_s" in r for r in t) else None
            w(f"| {label} | {fmt(median(t, 'fps'))} | {fmt(median(t, 'median_ms'))} | {fmt(median(t, 'p99_ms'))} | "
              f"{fmt(cpu)} |")
        w("")
        w("On a shared machine the frame rate of an unpaced replay follows the scheduler more than the program; "
          "the CPU time it took is the figure to compare.")
    if measured:
        w("")
        w(f"Load average {', '.join(fmt(x, 3) for x in measured['load_avg'][0])} before, "
          f"{', '.join(fmt(x, 3) for x in measured['load_avg'][1])} after; taken on {measured['date']}.")
    w("")
    goals = []
    if per_frame is not None:
        busy = seconds(runs["AudioFrameFourCues"]) if "AudioFrameFourCues" in runs else None
        goals.append(f"| sound: main-thread cost per frame at most 0.1 ms | {fmt(per_frame * 1e3)} ms on average, "
                     f"{fmt(busy * 1e3 if busy else None)} ms with four cues | {mark(per_frame <= 1e-4)} |")
    more = measured.get("paired_more_ms")
    if more is not None:
        goals.append(f"| sound: start-up at most 20 ms more than without | {fmt(more)} ms more (the median of each "
                     f"round's difference) | {mark(more <= 20)} |")
    return out, goals


def load_timedemo(results):
    path = os.path.join(results, "timedemo.json")
    if not os.path.exists(path) or os.path.getsize(path) == 0:
        return None
    with open(path) as f:
        return json.load(f)


def pacing_report(pacing, before=None):
    """The frame pacing section and its rows of the goals table, as lists of lines."""
    out = []
    w = out.append
    runs = pacing["runs"]

    def median(result, key):
        return sorted(r[key] for r in result["runs"])[len(result["runs"]) // 2]

    w("## Frame pacing")
    w("")
    w("The real program (`stagewalk` of this build) playing the shipped game in a 320 x 240 window, standing "
      "still where the player lands, nothing pressed. `scripts/bench_pacing.py` preloads "
      "`bench/pacing/swap_probe.cpp`, which notes the clock and the main thread's CPU time at every buffer swap; "
      f"each of {len(runs)} runs measures {fmt(pacing['seconds'])} s of swaps after 4 s of loading and landing. "
      "CPU per frame is the main thread's CPU time over the measured frames; an interval is the time from one "
      "swap to the next.")
    w("")
    columns = [("cpu_ms_per_frame", "main-thread CPU per frame, ms"), ("fps", "frames per second"),
               ("interval_median_ms", "frame interval, median ms"), ("interval_p90_ms", "frame interval, 90th percentile ms"),
               ("interval_p99_ms", "frame interval, 99th percentile ms"), ("interval_max_ms", "frame interval, longest ms")]
    if before:
        w("| figure (median of the runs) | before | this build |")
        w("|---|---:|---:|")
        for key, label in columns:
            w(f"| {label} | {fmt(median(before, key))} | {fmt(median(pacing, key))} |")
        w("")
        w(f"Before: {before.get('label') or '`' + before['binary'] + '`'}, measured the same way in the same session.")
    else:
        w("| run | " + " | ".join(label for _, label in columns) + " |")
        w("|---|" + "---:|" * len(columns))
        for i, r in enumerate(runs, 1):
            w(f"| {i} | " + " | ".join(fmt(r[key]) for key, _ in columns) + " |")
    w("")
    for result, which in ((before, "the earlier program's runs"), (pacing, "this build's runs")):
        if result:
            w(f"Load average {', '.join(fmt(x, 3) for x in result['load_avg'][0])} before {which}, "
              f"{', '.join(fmt(x, 3) for x in result['load_avg'][1])} after; taken on {result['date']}.")
    w("")
    cpu, fps = median(pacing, "cpu_ms_per_frame"), median(pacing, "fps")
    mid, p90 = median(pacing, "interval_median_ms"), median(pacing, "interval_p90_ms")
    goals = [f"| main-thread CPU per frame at most 2 ms (standing still, 320 x 240) | {fmt(cpu)} ms | {mark(cpu <= 2)} |",
             f"| frames per second 55 to 61 | {fmt(fps)} | {mark(55 <= fps <= 61)} |",
             f"| frame interval: median 16.7 +- 0.3 ms | {fmt(mid)} ms | {mark(abs(mid - 16.7) <= 0.3)} |",
             f"| frame interval: 90th percentile at most 18 ms (quiet machine) | {fmt(p90)} ms at load average "
             f"{fmt(pacing['load_avg'][0][0], 3)} | {mark(p90 <= 18)} |"]
    return out, goals


COLLISION_GOALS = ("| collision at 100k triangles", "| a normal frame's collision")
CHECKER_GOALS = ("| checker room walks",)


def collision_report(runs, before=None, before_label="", context=None):
    """The collision section and its rows of the goals table; `before`: another build's collision runs;
    `context`: the benchmark run's, when the section is spliced into an older report."""
    get = runs.get
    out, goals = [], []
    w = out.append
    w("## Collision pass")
    w("")
    if context:
        w(f"Taken on {context.get('date', '?')[:16].replace('T', ' ')}, load average "
          f"{', '.join(fmt(x, 3) for x in context.get('load_avg', []))} (this section and the checker's alone).")
        w("")
    w("One `OnActorCollision` pass per frame over generated levels (rooms of tiled floors, straight and "
      "diagonal walls, octagonal pillars, ramps, platforms and ceiling slabs on a large grid, written room "
      "by room), with an actor walking in a slowly turning direction, landing and being pushed as in play. "
      "Plain: `Stage::CollideWithTriangles`, every triangle scaled and resolved in turn. Prepared: "
      "`CollisionMesh::Collide`, triangles prepared at `InitStage` and runs of far triangles skipped. The "
      "shipped room: the prepared pass for the same walker from the spawn point in `room2.obj`.")
    if before:
        w("")
        w(f"Before: {before_label or 'an earlier build'}, its own benchmark binary run in the same session "
          "(`COLLISION_BEFORE`), fastest of its repetitions likewise.")
    w("")
    head = "| triangles | plain ns/triangle | prepared ns/triangle | plain / prepared | triangles tested per pass |"
    rule = "|---:|---:|---:|---:|---:|"
    if before:
        head += " prepared before | now / before |"
        rule += "---:|---:|"
    w(head)
    w(rule)
    worst = None
    for n in (1000, 10000, 100000):
        p, f = get(f"CollisionPlain/{n}"), get(f"CollisionPrepared/{n}")
        if not p or not f:
            continue
        pn, fn = seconds(p) / n * 1e9, seconds(f) / n * 1e9
        ratio = pn / fn
        row = f"| {n} | {fmt(pn)} | {fmt(fn)} | {fmt(ratio)}x | {fmt(f.get('tested'))} |"
        b = before.get(f"CollisionPrepared/{n}") if before else None
        if before:
            change = seconds(f) / seconds(b) if b else None
            row += f" {fmt(seconds(b) / n * 1e9) if b else 'n/a'} | {fmt(change)}x |" if b else " n/a | n/a |"
            if change is not None:
                worst = max(worst or 0.0, change)
        w(row)
        if n == 100000:
            goals.append(f"| collision at 100k triangles: >= 10x faster than plain | {fmt(ratio)}x | {mark(ratio >= 10)} |")
            goals.append(f"| collision at 100k triangles: < 2 ns per triangle | {fmt(fn)} ns | {mark(fn < 2)} |")
    room = get("CollisionShippedRoom")
    if room:
        w("")
        line = (f"The shipped room ({int(room['triangles'])} triangles): {fmt(seconds(room) * 1e9)} ns a pass, "
                f"{fmt(room.get('tested'))} triangles tested per pass")
        b = before.get("CollisionShippedRoom") if before else None
        if b:
            change = seconds(room) / seconds(b)
            worst = max(worst or 0.0, change)
            line += f"; before {fmt(seconds(b) * 1e9)} ns, {fmt(b.get('tested'))} tested ({fmt(change)}x)"
        w(line + ".")
    if worst is not None:
        goals.append(f"| a normal frame's collision at most 1.2x before ({before_label or 'an earlier build'}; worst of the rooms above) | "
                     f"{fmt(worst)}x | {mark(worst <= 1.2)} |")
    w("")
    return out, goals


def checker_report(runs):
    """The checker's room walks on the pillar rooms, and its goal row."""
    small, large = runs.get("CheckerPillarRoom/5000/iterations:1"), runs.get("CheckerPillarRoom/80000/iterations:1")
    if not small or not large:
        return [], []
    out = ["## Checker room walks", "",
           "`CheckRoomWalks` (every wall and corner approached, every floor seam stood on, through the real "
           "`Game`) on generated pillar rooms: a floor of square tiles, one face each, with a pillar (four "
           "sides and a top) on each. CPU time of one run each.", "",
           "| faces | triangles | walks' findings | seconds |", "|---:|---:|---:|---:|"]
    for r in (small, large):
        out.append(f"| {int(r['faces'])} | {int(r['triangles'])} | {int(r['findings'])} | {fmt(seconds(r))} |")
    ratio, faces = seconds(large) / seconds(small), large["faces"] / small["faces"]
    out += ["", f"{fmt(faces)}x the faces took {fmt(ratio)}x the time.", ""]
    goals = [f"| checker room walks: 80,000 pillar faces at most 20x the time of 5,000 | {fmt(ratio)}x "
             f"(faces {fmt(faces)}x) | {mark(ratio <= 20)} |"]
    return out, goals


def load_collision(results):
    """This run's collision and checker figures, and an earlier build's collision figures if measured."""
    found = []
    for name in ("bench.json", "collision_before.json", "checker.json"):
        path = os.path.join(results, name)
        found.append(fastest(path)[1] if os.path.exists(path) and os.path.getsize(path) > 0 else {})
    label = ""
    path = os.path.join(results, "collision_before_label")
    if os.path.exists(path):
        with open(path) as f:
            label = f.read().strip()
    return found[0], found[1], label, found[2]


def splice(doc, title, section, goals, goal_prefixes):
    """Replaces one section and its goal rows of an existing report, keeping everything else."""
    with open(doc) as f:
        lines = f.read().split("\n")
    at = None
    if title in lines:
        at = lines.index(title)
        end = next(i for i in range(at + 1, len(lines)) if lines[i].startswith("## "))
        del lines[at:end]
    # A section already there keeps its place; a new one goes before the goals.
    if at is not None:
        lines[at:at] = section
    lines = [line for line in lines if not line.startswith(goal_prefixes)]
    if at is None:
        at = lines.index("## Goals in this run")
        lines[at:at] = section
    at = lines.index("## Goals in this run")
    end = next((i for i in range(at + 1, len(lines)) if lines[i].startswith("## ")), len(lines))
    last_row = max(i for i in range(at, end) if lines[i].startswith("|"))
    lines[last_row + 1:last_row + 1] = goals
    # The notes after the tables are those of the current notes file.
    notes = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "docs", "performance-notes.md")
    if "## How the figures are taken" in lines and os.path.exists(notes):
        del lines[lines.index("## How the figures are taken"):]
        with open(notes) as f:
            lines += f.read().rstrip().split("\n")
    with open(doc, "w") as f:
        f.write("\n".join(lines).rstrip("\n") + "\n")


def load_pacing(results):
    """This build's pacing figures and, when measured, those of the program before."""
    found = []
    for name in ("pacing.json", "pacing_before.json"):
        path = os.path.join(results, name)
        found.append(None)
        if os.path.exists(path) and os.path.getsize(path) > 0:
            with open(path) as f:
                found[-1] = json.load(f)
    return found


def main():
    if sys.argv[1] == "--splice-png":
        with open(os.path.join(sys.argv[2], "png.json")) as f:
            section, goals = png_report(json.load(f))
        splice(sys.argv[3], "## PNG loading", section, goals, (PNG_GOAL_START, "| the same: peak memory"))
        return
    if sys.argv[1] == "--splice-pacing":
        section, goals = pacing_report(*load_pacing(sys.argv[2]))
        splice(sys.argv[3], "## Frame pacing", section, goals, PACING_GOALS)
        return
    if sys.argv[1] == "--splice-audio":
        section, goals = audio_report(sys.argv[2])
        splice(sys.argv[3], "## Sound", section, goals, AUDIO_GOALS)
        return
    if sys.argv[1] == "--splice-collision":
        now, before, label, checker = load_collision(sys.argv[2])
        with open(os.path.join(sys.argv[2], "bench.json")) as f:
            context = json.load(f).get("context", {})
        section, goals = collision_report(now, before, label, context)
        splice(sys.argv[3], "## Collision pass", section, goals, COLLISION_GOALS)
        section, goals = checker_report(checker)
        if section:
            splice(sys.argv[3], "## Checker room walks", section, goals, CHECKER_GOALS)
        return
    if sys.argv[1] == "--splice-levels":
        section, goals = levels_report(load_json(sys.argv[2], "levels.json"))
        splice(sys.argv[3], "## Levels at start-up", section, goals, LEVELS_GOALS)
        return
    if sys.argv[1] == "--splice-timedemo":
        section, goals = timedemo_report(load_timedemo(sys.argv[2]))
        splice(sys.argv[3], "## Real play: timedemo", section, goals, TIMEDEMO_GOALS)
        return
    results = sys.argv[1]
    bench, runs, steady, startup, png = load(results)
    get = runs.get
    out = []
    w = out.append

    cpu = sh("grep -m1 'model name' /proc/cpuinfo | cut -d: -f2").strip() or platform.processor()
    compiler = sh("c++ --version | head -n1")
    mesa = sh("dpkg-query -W -f='${Version}' libgl1-mesa-dri 2>/dev/null")
    context = bench.get("context", {})
    w("# Performance")
    w("")
    w("Written by `scripts/bench` from one run; every ratio below compares figures of that same run. "
      "The machine is shared, so absolute timings move from run to run; ratios are steadier. "
      "Every benchmark ran nine times (the heap-kept scaling run five), the repetitions of all benchmarks "
      "interleaved in random order, and each figure is the fastest of its repetitions (the least disturbed "
      "by other processes). CPU-bound benchmarks report CPU time; the GL "
      "ones (frame, start-up) report wall time, since llvmpipe rasterises on threads of its own.")
    w("")
    w("## Machine")
    w("")
    w(f"- Date: {datetime.datetime.now(datetime.timezone.utc).strftime('%Y-%m-%d %H:%M UTC')}")
    w(f"- CPU: {cpu}, {context.get('num_cpus', os.cpu_count())} cores at {context.get('mhz_per_cpu', '?')} MHz; "
      f"load average during the run: {', '.join(fmt(x, 3) for x in context.get('load_avg', []))}")
    w(f"- Compiler: {compiler}, Release (-O3), no -march flags")
    w(f"- GL: Mesa {mesa or '?'}; renderer \"{startup.get('renderer', '?')}\", \"{startup.get('version', '?')}\" "
      "under Xvfb (24-bit, 1280 x 720)")
    w("")

    # Collision, and the checker's walks.
    _, collision_before, collision_label, checker = load_collision(results)
    section, goal_collision = collision_report(runs, collision_before, collision_label)
    out.extend(section)
    section, goal_checker = checker_report(checker)
    out.extend(section)

    # tml.
    w("## Parsers")
    w("")
    w("`tml`: `Tml::ParseDocument` on generated documents (header, comment lines, nested nodes, attributes "
      "with plain and quoted values, tab indentation, several statements on one line); releasing the tree "
      "is not part of reading and is timed apart (`TmlParseAndRelease`).")
    w("")
    w("| document | MB/s (10^6 bytes) |")
    w("|---|---:|")
    tml_rates = []
    for size, label in ((10 << 10, "10 KB"), (1 << 20, "1 MB"), (10 << 20, "10 MB")):
        r = get(f"TmlParse/{size}")
        if r:
            rate = r["bytes_per_second"] / 1e6
            tml_rates.append(rate)
            w(f"| {label} | {fmt(rate)} |")
    r = get(f"TmlParseAndRelease/{1 << 20}")
    if r:
        w(f"| 1 MB, reading and releasing | {fmt(r['bytes_per_second'] / 1e6)} |")
    w("")
    w("TMX: `TmxParser::LoadTmxMap` on a 1000-column CSV layer of 1000, 2000 and 4000 rows against the least "
      "a loader must do (read the file, rapidxml, `from_chars` on every number). OBJ: `Engine::ConvertObj` "
      "against `tinyobj::LoadObj` alone on a grid of about 100 000 triangles per scale.")
    w("")
    w("| input | ours ms | baseline ms | ours / baseline |")
    w("|---|---:|---:|---:|")
    tmx_ratio = obj_ratio = None
    for ours, base, label in (("LoadTmxMap", "RapidxmlAndFromChars", "TMX"), ("ConvertObj", "TinyobjLoadObj", "OBJ")):
        for scale in (1, 2, 4):
            a, b = get(f"{ours}/{scale}"), get(f"{base}/{scale}")
            if not a or not b:
                continue
            ratio = seconds(a) / seconds(b)
            w(f"| {label} {scale}x | {fmt(seconds(a) * 1e3)} | {fmt(seconds(b) * 1e3)} | {fmt(ratio)} |")
            if scale == 1:
                if label == "TMX":
                    tmx_ratio = ratio
                else:
                    obj_ratio = ratio
    w("")
    w("Scaling: time at 2x the input over time at 1x, and at 4x over 2x (linear reading gives 2.0). The "
      "second pair of columns comes from a run of the same benchmarks with glibc told to keep freed memory "
      "in its heap (`GLIBC_TUNABLES=glibc.malloc.mmap_threshold=2000000000:glibc.malloc.trim_threshold=4000000000`): "
      "by default blocks above its mmap threshold (which adapts up to 32 MiB) are mapped afresh on every "
      "iteration and page-faulted in again, while smaller ones are recycled warm, which makes the largest "
      "inputs look superlinear in a loop although a single load pays the faults in proportion to its size.")
    w("")
    w("| reader | 2x / 1x | 4x / 2x | 4x / 1x | 2x / 1x, heap kept | 4x / 2x, heap kept | 4x / 1x, heap kept |")
    w("|---|---:|---:|---:|---:|---:|---:|")
    worst = {}
    for name, label in (("TmlParseScaling", "tml (1, 2, 4 MB)"), ("LoadTmxMap", "TMX"), ("RapidxmlAndFromChars", "TMX baseline"),
                        ("ConvertObj", "OBJ"), ("TinyobjLoadObj", "OBJ baseline (tinyobjloader alone)")):
        keys = [f"{name}/{a}" for a in ((1 << 20, 2 << 20, 4 << 20) if name == "TmlParseScaling" else (1, 2, 4))]
        cells = []
        for table in (runs, steady):
            t = [table.get(k) for k in keys]
            if all(t):
                pair = (seconds(t[1]) / seconds(t[0]), seconds(t[2]) / seconds(t[1]))
                worst.setdefault(name, []).append(pair)
                cells += [fmt(pair[0]), fmt(pair[1]), fmt(pair[0] * pair[1])]
            else:
                cells += ["n/a", "n/a", "n/a"]
        if name in worst:
            w(f"| {label} | {' | '.join(cells)} |")
    w("")

    # Frame and start-up.
    w("## Frame and start-up")
    w("")
    w("With the shipped `game/` (its config, shaders and data) in a real GL context: the game's update, "
      "the scene drawn into the 320 x 240 canvas, and the whole frame of the shell (update, window clear, "
      "scene into the canvas, canvas shown letterboxed in the 960 x 720 window, buffer swap), each ended "
      "with `glFinish`.")
    w("")
    w("| step | wall time |")
    w("|---|---:|")
    frame = get("FrameWhole")
    for name, label, unit, factor in (("FrameGameUpdate", "Game::Update, a normal frame (dt 1: one step)", "us", 1e6),
                                      ("FrameGameStep", "Game::Step, one bare 60-Hz step", "us", 1e6),
                                      ("FrameGameUpdateStall", "Game::Update after a one-second stall (dt 60: 60 steps)", "us", 1e6),
                                      ("FrameSceneDraw", "Game::Draw into the canvas", "ms", 1e3),
                                      ("FrameWhole", "whole frame", "ms", 1e3)):
        r = get(name)
        if r:
            w(f"| {label} | {fmt(seconds(r, wall=True) * factor)} {unit} |")
    old = get("FrameWholeOldRoom")
    if old:
        w(f"| whole frame, the terrace room the level builder replaced | {fmt(seconds(old, wall=True) * 1e3)} ms |")
    if frame and "tested" in frame:
        w("")
        w(f"The room built from `tools/levels/room2.tmx` has {int(frame['triangles'])} triangles; standing where "
          f"the spawn point drops the player, the collision pass tested {fmt(frame['tested'])} of them per frame"
          + (f" (the terrace room: {fmt(old['tested'])} of {int(old['triangles'])})." if old and "tested" in old
             else "."))
    start_in = get("StartUpInProcess/iterations:5")
    w("")
    w("Start-up, two ways. External: `scripts/bench_startup.py` reads CLOCK_MONOTONIC, spawns "
      "`stagewalk_startup` (the real `AppBase` start-up, frames paced at 1/60 s like the program's loop) "
      "which prints the same clock once the first frame after loading is drawn and finished; the "
      "difference covers fork, exec, dynamic loading, settings, window, shader, canvas, the loader thread "
      "and the first scene frame. In-process: `StartUpInProcess`, the same steps from `Init` on, in a "
      "running process.")
    w("")
    w("| start-up | ms |")
    w("|---|---:|")
    if startup:
        w(f"| exec to first scene frame, median of {len(startup['runs_ms'])} runs | {fmt(startup['median_ms'])} |")
        w(f"| the same, fastest run | {fmt(startup['min_ms'])} |")
    if start_in:
        w(f"| in-process, Init to first scene frame | {fmt(seconds(start_in, wall=True) * 1e3)} |")
    w("")

    # PNG loading.
    goal_png = []
    if png:
        section, goal_png = png_report(png)
        out.extend(section)

    goal_pacing = []
    pacing, before = load_pacing(results)
    if pacing:
        section, goal_pacing = pacing_report(pacing, before)
        out.extend(section)

    goal_timedemo = []
    timedemo = load_timedemo(results)
    if timedemo:
        section, goal_timedemo = timedemo_report(timedemo)
        out.extend(section)

    goal_audio = []
    audio = audio_report(results)
    if audio:
        section, goal_audio = audio
        out.extend(section)

    goal_levels = []
    levels = load_json(results, "levels.json")
    if levels:
        section, goal_levels = levels_report(levels)
        out.extend(section)

    # Goals.
    w("## Goals in this run")
    w("")
    w("| goal | figure | |")
    w("|---|---|---|")
    out.extend(goal_collision)
    out.extend(goal_checker)
    if tml_rates:
        w(f"| tml reading >= 150 MB/s | {fmt(min(tml_rates))} MB/s (slowest size) | {mark(min(tml_rates) >= 150)} |")
    if tmx_ratio:
        w(f"| TMX within 1.5x of rapidxml + from_chars | {fmt(tmx_ratio)}x | {mark(tmx_ratio <= 1.5)} |")
    if obj_ratio:
        w(f"| ConvertObj within 1.2x of LoadObj | {fmt(obj_ratio)}x | {mark(obj_ratio <= 1.2)} |")
    for name in ("TmlParseScaling", "LoadTmxMap", "ConvertObj"):
        if name in worst:
            default = max(worst[name][0])
            kept = max(worst[name][-1])
            whole = worst[name][0][0] * worst[name][0][1]
            w(f"| {name}: 2x input -> at most 2.2x time | worst step {fmt(default)} (4x / 1x {fmt(whole)}), heap kept {fmt(kept)} | "
              f"{mark(default <= 2.2)}{'' if default <= 2.2 else f', heap kept: {mark(kept <= 2.2)}'} |")
    if frame:
        ms = seconds(frame, wall=True) * 1e3
        verdict = "met" if ms <= 8 else ("under 16.7 ms, 8 ms aim missed" if ms < 16.7 else "**not met**")
        w(f"| frame well under 16.7 ms (aim 8) | {fmt(ms)} ms | {verdict} |")
    if frame and old:
        ratio = seconds(frame, wall=True) / seconds(old, wall=True)
        w(f"| whole frame within 1.2x of the terrace room's | {fmt(ratio)}x | {mark(ratio <= 1.2)} |")
    update, step, stall = get("FrameGameUpdate"), get("FrameGameStep"), get("FrameGameUpdateStall")
    if update and step and frame:
        # What cutting frames into steps adds to a normal frame (the gamepad read, the step count,
        # the HUD counter), against the whole frame.
        extra = max(0.0, seconds(update, wall=True) - seconds(step, wall=True))
        share = extra / seconds(frame, wall=True)
        w(f"| a normal frame costs what one step did: the update adds under 1 % of the frame | "
          f"{fmt(extra * 1e6)} us, {fmt(share * 100)} % | {mark(share < 0.01)} |")
    if stall:
        us = seconds(stall, wall=True) * 1e6
        w(f"| a 60-step stall frame's update under 1 ms | {fmt(us)} us | {mark(us < 1000)} |")
    if frame and "tested" in frame:
        w(f"| collision tests a handful of triangles per frame (at most 16) | {fmt(frame['tested'])} | "
          f"{mark(frame['tested'] <= 16)} |")
    out.extend(goal_png)
    out.extend(goal_pacing)
    out.extend(goal_timedemo)
    out.extend(goal_audio)
    out.extend(goal_levels)
    if startup:
        w(f"| start-up <= 0.3 s | {fmt(startup['median_ms'] / 1e3)} s | {mark(startup['median_ms'] <= 300)} |")
    w("")
    notes = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "docs", "performance-notes.md")
    if os.path.exists(notes):
        with open(notes) as f:
            w(f.read().rstrip())
    print("\n".join(out))


if __name__ == "__main__":
    main()
