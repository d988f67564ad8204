#!/usr/bin/env python3
"""Start-up with one level listed against ten: the price of a long level list at start-up.

Usage: bench_levels.py HARNESS GAME_FOLDER WORK_DIR ROUNDS  (prints JSON)
Makes two game folders from GAME_FOLDER in WORK_DIR: "one" lists only its first level, "ten" lists ten
(its own and copies of its last level's room and data under new names, so each is a file of its own).
Each round times the harness (the program's start-up, exec to the first scene frame) once in each
folder, in a shuffled order, so both see the same machine; the figures are medians over the rounds.
"""
import json
import os
import random
import re
import shutil
import subprocess
import sys
import time

ENTRY = re.compile(r"\t\{ (\w+)\n\t\t! name (\S+)\n\t\t! path (\S+)\n\t\}\n")
LEVEL = re.compile(r"\t\{ level\n\t\t! name (\S+)\n\t\t! title (\"[^\"]*\"|\S+)\n\t\t! room (\S+)\n"
                   r"\t\t! data (\S+)\n\t\}\n")


def manifest(entries, levels):
    text = "@ tangly-ml-v-020\n{ list\n\t! workdir data\n"
    for kind, name, path in entries:
        text += f"\t{{ {kind}\n\t\t! name {name}\n\t\t! path {path}\n\t}}\n"
    text += "}\n{ levels\n"
    for name, title, room, data in levels:
        text += f"\t{{ level\n\t\t! name {name}\n\t\t! title {title}\n\t\t! room {room}\n\t\t! data {data}\n\t}}\n"
    return text + "}\n"


def make(game, into, count):
    shutil.rmtree(into, ignore_errors=True)
    shutil.copytree(game, into)
    with open(os.path.join(game, "data", "assets.tml")) as f:
        text = f.read()
    entries = ENTRY.findall(text)
    levels = LEVEL.findall(text)
    owned = {(("model", l[2])) for l in levels} | {("markup", l[3]) for l in levels}
    shared = [e for e in entries if (e[0], e[1]) not in owned]
    own = {(e[0], e[1]): e for e in entries if (e[0], e[1]) in owned}
    chosen = levels[:count]
    while len(chosen) < count:  # copies of the last level, each under a name and in files of its own
        n = len(chosen) + 1
        _, title, room, data = levels[-1]
        for kind, name, suffix in (("model", room, ".obj"), ("markup", data, ".level.tml")):
            source = own[(kind, name)][2]
            copy = f"copy{n}{suffix}"
            shutil.copy(os.path.join(into, "data", source), os.path.join(into, "data", copy))
            own[(kind, f"{name}{n}")] = (kind, f"{name}{n}", copy)
        chosen.append((f"level{n}", f"\"Copy {n}\"", f"{room}{n}", f"{data}{n}"))
    listed = shared + [own[("model", l[2])] for l in chosen] + [own[("markup", l[3])] for l in chosen]
    with open(os.path.join(into, "data", "assets.tml"), "w") as f:
        f.write(manifest(listed, chosen))


def once(harness, folder):
    start = time.monotonic_ns()
    done = subprocess.run([harness, folder], capture_output=True, text=True, check=True)
    return (int(done.stdout.split()[0]) - start) / 1e6


def main():
    harness, game, work, rounds = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3], int(sys.argv[4])
    folders = {"one": os.path.abspath(os.path.join(work, "levels-one")),
               "ten": os.path.abspath(os.path.join(work, "levels-ten"))}
    make(game, folders["one"], 1)
    make(game, folders["ten"], 10)
    times = {key: [] for key in folders}
    load_before = os.getloadavg()
    for _ in range(rounds):
        order = list(folders)
        random.shuffle(order)
        for key in order:
            times[key].append(once(harness, folders[key]))
    medians = {key: sorted(values)[len(values) // 2] for key, values in times.items()}
    print(json.dumps({"rounds": rounds, "runs_ms": times, "one_ms": medians["one"], "ten_ms": medians["ten"],
                      "ratio": medians["ten"] / medians["one"], "load_avg": [load_before, os.getloadavg()]}))


if __name__ == "__main__":
    main()
