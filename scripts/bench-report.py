#!/usr/bin/env python3
"""Reads kelvane-bench's JSON output (Google Benchmark, run with repetitions) and prints each
goal as a ratio of medians taken in that one run. Exit code 1 when a goal is missed.

usage: bench-report.py RESULTS.json
"""

import json
import sys

UNIT_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}

# (benchmark, reference or None, largest allowed ratio, or the largest time in ns without a reference)
GOALS = [
    ("BM_DrawKeyedFrame", "BM_MemcpyFrame", 2.0),
    ("BM_DrawKeyedFrame", "BM_SdlBlitKeyedFrame", 0.4),
    ("BM_DrawRotateFrame", "BM_SdlBlitScaledFrame", 0.25),
    ("BM_HeaviestFrame", "BM_MemcpyFrame", 15.0),
    ("BM_BattleUpdate", None, 200e3),  # 5,000 updates a second
    ("BM_DuelFrame", None, 20e3),  # 50,000 duel frames a second on one core
    ("BM_VeteranPilot", None, 2e3),  # the veteran's keys for one ship in one frame
    ("BM_Loading", None, 50e6),
    ("BM_ReplayVerifyFrame", None, 50e3),  # 20,000 frames a second played back and verified
    ("BM_SaveWorld", None, 20e3),  # the battle's whole world saved for a rollback
    ("BM_RestoreWorld", None, 20e3),  # ... and restored
]


def medians(results):
    """Median CPU time in ns of every benchmark; single runs stand for their own median."""
    found, singles = {}, {}
    for entry in results.get("benchmarks", []):
        name = entry.get("run_name", entry["name"])
        if entry.get("error_occurred"):
            found[name] = None
            continue
        ns = entry["cpu_time"] * UNIT_NS[entry.get("time_unit", "ns")]
        if entry.get("run_type") == "aggregate":
            if entry.get("aggregate_name") == "median":
                found[name] = ns
        else:
            singles.setdefault(name, []).append(ns)
    for name, times in singles.items():
        if name not in found:
            times.sort()
            found[name] = times[len(times) // 2]
    return found


def shown(ns):
    if ns >= 1e6:
        return f"{ns / 1e6:.2f} ms"
    if ns >= 1e3:
        return f"{ns / 1e3:.1f} us"
    return f"{ns:.0f} ns"


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    with open(argv[1], encoding="utf-8") as file:
        results = json.load(file)
    times = medians(results)
    context = results.get("context", {})
    print(f"kelvane-bench on {context.get('num_cpus', '?')} CPUs, medians of CPU time")
    for name in sorted(times):
        print(f"  {name:<26} {shown(times[name]) if times[name] is not None else 'failed'}")
    print("goals:")
    missed = 0
    for name, reference, limit in GOALS:
        time = times.get(name)
        if reference is None:
            if time is None:
                verdict, text = "MISSING", f"{name}: no result"
            else:
                verdict = "ok" if time <= limit else "MISSED"
                text = f"{name} = {shown(time)}  (goal <= {shown(limit)})"
        else:
            base = times.get(reference)
            if time is None or base is None:
                verdict, text = "MISSING", f"{name} / {reference}: no result"
            else:
                ratio = time / base
                verdict = "ok" if ratio <= limit else "MISSED"
                text = f"{name} = {ratio:.3f} x {reference}  (goal <= {limit} x)"
        if verdict != "ok":
            missed += 1
        print(f"  [{verdict:>7}] {text}")
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
