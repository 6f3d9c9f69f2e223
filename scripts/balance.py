#!/usr/bin/env python3
"""Measures how balanced the shipped ship types are, and how the veteran pilot fights.

usage: scripts/balance.py BUILD_DIR [--games N] [--against-games M] [--seeds 1,2,3] [--data DIR]

Plays, with BUILD_DIR's kelvane-sim on one thread:
  classic            --tournament --games N (default 60) for each seed: every type's win
                     share ((wins + draws / 2) / games), the most lopsided pair of one
                     seed's tournament and the widest rating spread; the goal is every share
                     within 35..65 %, no pair worse than 45:15 of 60, a spread of at most 400;
  veteran            the same, veteran against veteran, without the stalemate rule: every
                     share within 30..70 %;
  veteran,classic    M games (default 20) a pair each way round, without the stalemate rule: the
                     veteran's share of duels won against the classic pilot, per type (goal
                     75 % or more);
and for the two veteran tournaments the draws (goal at most 2 %), the frames inside
damage-free stretches of 250 frames or more (at most 15 %), the median decided duel (at most
1,500 frames), the veteran's pulse hit rate (at least 50 %) and its tachyons fired at bare
shields (none). Prints the tables and a line per goal; exit status 1 when a goal is missed.
Takes a few minutes: a measurement, not a test.
"""
import argparse
import collections
import json
import os
import subprocess
import sys
import tempfile


def tournament(sim, data, pilots, games, seed, extra, work):
    out = os.path.join(work, "%s-%d.json" % (pilots.replace(",", "-"), seed))
    command = [sim, "--tournament", "--games", str(games), "--seed", str(seed), "--jobs", "1",
               "--pilots", pilots, "--json", out] + extra
    if data:
        command += ["--data", data]
    subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    with open(out) as f:
        return json.load(f)


def side(duel, which):
    return duel[which], duel.get(which + "_pilot", "classic")


def shares(duels):
    """Win share per (type, pilot), and per pair of sides the wins of each and the draws."""
    won = collections.Counter()
    played = collections.Counter()
    pairs = collections.defaultdict(lambda: [0, 0, 0])
    for duel in duels:
        a, b = side(duel, "first"), side(duel, "second")
        played[a] += 1
        played[b] += 1
        key = tuple(sorted((a, b)))
        if duel["winner"] is None:
            won[a] += 0.5
            won[b] += 0.5
            pairs[key][2] += 1
        else:
            winner = a if duel["winner"] == duel["first"] else b  # a type never meets itself
            won[winner] += 1
            pairs[key][0 if winner == key[0] else 1] += 1
    return {k: 100.0 * won[k] / played[k] for k in played}, pairs


def worst_pair(pairs):
    def lopsided(item):
        wins = item[1]
        return max(wins[0], wins[1]) / max(1, sum(wins))
    key, wins = max(pairs.items(), key=lopsided)
    return key, wins


def summary_figures(results):
    duels = [d for r in results for d in r["duels"]]
    frames = sum(r["summary"]["frames"] for r in results)
    quiet = sum(r["summary"].get("quiet_frames", 0) for r in results)
    decided = sorted(d["frames"] for d in duels if d["winner"] is not None)
    median = decided[len(decided) // 2] if decided else 0
    shots = collections.Counter()
    for r in results:
        for key, value in r["summary"].get("shots", {}).get("veteran", {}).items():
            shots[key] += value
    draws = sum(1 for d in duels if d["winner"] is None)
    return {
        "draws": 100.0 * draws / len(duels),
        "quiet": 100.0 * quiet / max(1, frames),
        "median": median,
        "pulse_hits": 100.0 * shots["pulse_hits"] / max(1, shots["pulses"]),
        "bare_tachyons": shots["tachyons_at_bare_shields"],
    }


def fight_goals(figures, goal):
    print("  draws %.1f %%, quiet %.1f %%, median decided duel %d frames, veteran pulse hits %.1f %%, "
          "tachyons at bare shields %d" % (figures["draws"], figures["quiet"], figures["median"],
                                          figures["pulse_hits"], figures["bare_tachyons"]))
    goal(figures["draws"] <= 2, "draws at most 2 %")
    goal(figures["quiet"] <= 15, "quiet frames at most 15 %")
    goal(figures["median"] <= 1500, "median decided duel at most 1,500 frames")
    goal(figures["pulse_hits"] >= 50, "veteran pulse hit rate at least 50 %")
    goal(figures["bare_tachyons"] == 0, "no tachyon at bare shields")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--games", type=int, default=60)
    parser.add_argument("--against-games", type=int, default=20)
    parser.add_argument("--seeds", default="1,2,3")
    parser.add_argument("--data", default="")
    args = parser.parse_args()
    sim = os.path.join(args.build, "kelvane-sim")
    seeds = [int(s) for s in args.seeds.split(",")]
    missed = []

    def goal(ok, text):
        print(("  ok    " if ok else "  MISSED ") + text)
        if not ok:
            missed.append(text)

    with tempfile.TemporaryDirectory(prefix="kelvane-balance-") as work:
        for pilots, games, extra, low, high in (("classic", args.games, [], 35, 65),
                                                ("veteran", args.games, ["--no-scatter", "--measure"], 30, 70)):
            results = [tournament(sim, args.data, pilots, games, seed, extra, work) for seed in seeds]
            share, _ = shares([d for r in results for d in r["duels"]])
            print("%s pilot, %d games a pair, seeds %s:" % (pilots, games, args.seeds))
            for (ship, _pilot), value in sorted(share.items(), key=lambda kv: -kv[1]):
                print("  %-10s %5.1f %%" % (ship, value))
            goal(all(low <= v <= high for v in share.values()),
                 "every type's win share within %d..%d %% (%.1f..%.1f)" % (low, high, min(share.values()), max(share.values())))
            worst = None
            spread = 0.0
            for r in results:
                _, pairs = shares(r["duels"])
                key, wins = worst_pair(pairs)
                if worst is None or max(wins[:2]) / sum(wins) > max(worst[1][:2]) / sum(worst[1]):
                    worst = (key, wins)
                ratings = [row["rating"] for row in r["table"]]
                spread = max(spread, max(ratings) - min(ratings))
            (a, b), wins = worst
            print("  most lopsided pair: %s %d, %s %d, %d drawn; widest rating spread %.0f" % (a[0], wins[0], b[0], wins[1], wins[2], spread))
            if pilots == "classic":
                goal(max(wins[:2]) * 60 <= 45 * sum(wins), "no pair more lopsided than 45:15")
                goal(spread <= 400, "rating spread at most 400")
            if pilots == "veteran":
                fight_goals(summary_figures(results), goal)

        results = [tournament(sim, args.data, "veteran,classic", args.against_games, seed, ["--no-scatter", "--measure"], work) for seed in seeds]
        duels = [d for r in results for d in r["duels"]]
        won = collections.Counter()
        played = collections.Counter()
        for d in duels:
            veteran = "first" if d["first_pilot"] == "veteran" else "second"
            played[d[veteran]] += 1
            if d["winner"] is not None and d["winner"] == d[veteran] and d["first"] != d["second"]:
                won[d[veteran]] += 1
        print("veteran against classic, %d games a pair each way round, seeds %s:" % (args.against_games, args.seeds))
        rates = {ship: 100.0 * won[ship] / played[ship] for ship in played}
        for ship, value in sorted(rates.items(), key=lambda kv: -kv[1]):
            print("  %-10s %5.1f %% of its duels won by the veteran" % (ship, value))
        goal(min(rates.values()) >= 75, "the veteran wins at least 75 %% with every type (%.1f)" % min(rates.values()))
        fight_goals(summary_figures(results), goal)
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
