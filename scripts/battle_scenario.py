#!/usr/bin/env python3
"""Writes a scenario of the shipped eight-ship battle with the player flying and firing all
along: every 40 ticks the nearest target, thrust, the primary weapon, a torpedo and the
tachyon device; a turn every 200 ticks.

  --shields      also lowers the shields every 1,000 ticks and raises them 30 ticks later,
                 and self-destructs every 3,000 ticks (the builds' frame-for-frame comparison)
  --scatter      every 2,500 ticks puts all eight ships at fixed places on the screen, so the
                 fight goes on (computer ships left alone end up circling each other)

usage: battle_scenario.py TICKS FILE [--shields] [--scatter] [--seed N]
"""
import json
import random
import sys


def main():
    ticks, path = int(sys.argv[1]), sys.argv[2]
    options = sys.argv[3:]
    steps = [{"after": 1, "command": "EXEC battle"}]
    for k in range(40, ticks, 40):
        steps.append({"after": k, "keys": [0x4E]})       # N: nearest target
        steps.append({"after": k + 1, "keys": [0x26]})   # Up: thrust
        steps.append({"after": k + 2, "keys": [0x20]})   # Space: primary
        steps.append({"after": k + 3, "keys": [0x12]})   # Alt: torpedo
        steps.append({"after": k + 4, "keys": [0x11]})   # Ctrl: tachyon
        if k % 200 == 0:
            for i in range(3):
                steps.append({"after": k + 5 + i, "keys": [0x25 if k % 400 else 0x27]})  # turn
        if "--shields" in options:
            if k % 1000 == 0:
                steps.append({"after": k + 9, "keys": [0x53]})   # S: shields down ...
                steps.append({"after": k + 39, "keys": [0x53]})  # ... and up again
            if k % 3000 == 0:
                steps.append({"after": k + 11, "keys": [0x44]})  # D: self-destruct
    if "--scatter" in options:
        places = random.Random(7)
        for k in range(2500, ticks, 2500):
            scatter = {}
            for slot in range(1, 9):
                scatter[f"Ships[{slot}].X"] = places.randrange(150, 875)
                scatter[f"Ships[{slot}].Y"] = places.randrange(150, 620)
            steps.append({"after": k + 20, "set": scatter})
    scenario = {"frames": ticks, "steps": steps}
    if "--seed" in options:
        scenario = {"seed": int(options[options.index("--seed") + 1]), **scenario}
    with open(path, "w") as f:
        json.dump(scenario, f)


if __name__ == "__main__":
    main()
