#!/usr/bin/env python3
"""Sums gcovr's per-file summary into one line and branch figure per folder."""
import json
import os
import sys


def percent(covered, total):
    return f"{100.0 * covered / total:6.1f}%" if total else "     -"


def main(path):
    with open(path, encoding="utf-8") as f:
        files = json.load(f)["files"]
    folders = {}
    for entry in files:
        folder = os.path.dirname(entry["filename"])
        sums = folders.setdefault(folder, [0, 0, 0, 0])
        sums[0] += entry["line_covered"]
        sums[1] += entry["line_total"]
        sums[2] += entry["branch_covered"]
        sums[3] += entry["branch_total"]
    width = max([len(name) for name in folders] + [len("total")])
    print(f"{'folder':<{width}}  {'lines':>15} {'line %':>7}  {'branches':>15} {'branch %':>8}")
    whole = [0, 0, 0, 0]
    for name in sorted(folders):
        s = folders[name]
        whole = [a + b for a, b in zip(whole, s)]
        print(f"{name:<{width}}  {s[0]:>7}/{s[1]:<7} {percent(s[0], s[1])}  "
              f"{s[2]:>7}/{s[3]:<7} {percent(s[2], s[3]):>8}")
    s = whole
    print(f"{'total':<{width}}  {s[0]:>7}/{s[1]:<7} {percent(s[0], s[1])}  "
          f"{s[2]:>7}/{s[3]:<7} {percent(s[2], s[3]):>8}")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "build/coverage/coverage/summary.json")
