#!/usr/bin/env python3
"""Stage-by-stage frame figures, before and after, from bench_frame's --csv files.

    stage_table.py BEFORE_1024 AFTER_1024 BEFORE_1920 AFTER_1920 > table.md

"Before" is the first version's drawing (every face of every cube, the sky and the ball
tessellated every frame), "after" the game's drawing now; both are measured by the same
binary in the same run. A missing file leaves its columns empty.
"""
import csv
import sys

BUDGET = 1000.0 / 60.0


def read(path):
    rows = {}
    try:
        with open(path) as f:
            for r in csv.reader(f):
                name, cubes, menu_med, menu_p99, play_med, play_p99, base = r
                rows[name] = dict(cubes=int(cubes), med=max(float(menu_med), float(play_med)),
                                  p99=max(float(menu_p99), float(play_p99)), base=float(base))
    except OSError:
        pass
    return rows


def cell(rows, name, key, mark=False):
    r = rows.get(name)
    if r is None:
        return ""
    text = "%.1f" % r[key]
    return "**%s**" % text if mark and r[key] > BUDGET else text


def main():
    b1, a1, b2, a2 = (read(p) for p in sys.argv[1:5])
    names = sorted(set(b1) | set(a1) | set(b2) | set(a2),
                   key=lambda n: (n.rstrip("0123456789"), int(n.lstrip("abcdefghijklmnopqrstuvwxyz") or 0)))
    print("| case | cubes | 1024x768 p99 ms, before | after | after: median / baseline | "
          "1920x1080 median ms, before | after |")
    print("|---|---:|---:|---:|---:|---:|---:|")
    counts = {"p99": 0, "med": 0, "stages": 0, "stages1920": 0}
    for n in names:
        cubes = next((t[n]["cubes"] for t in (a1, b1, a2, b2) if n in t), 0)
        ratio = "%.1f" % (a1[n]["med"] / max(1e-6, a1[n]["base"])) if n in a1 else ""
        print("| %s | %d | %s | %s | %s | %s | %s |" % (n, cubes, cell(b1, n, "p99"), cell(a1, n, "p99", True), ratio,
                                                       cell(b2, n, "med"), cell(a2, n, "med", True)))
        if n.startswith("stage") and n in a1:
            counts["stages"] += 1
            counts["p99"] += a1[n]["p99"] <= BUDGET
        if n.startswith("stage") and n in a2:
            counts["stages1920"] += 1
            counts["med"] += a2[n]["med"] <= BUDGET
    print()
    print("Of the shipped stages, %d of %d had a 99th-percentile frame within 16.7 ms at 1024x768, and "
          "%d of %d a median frame within 16.7 ms at 1920x1080 (the worse of the menu and play "
          "figures of each; figures over 16.7 ms in bold)." %
          (counts["p99"], counts["stages"], counts["med"], counts["stages1920"]))


if __name__ == "__main__":
    main()
