"""Records what the game plays during a battle through SDL's disk audio driver and
reports how often samples sit at full scale: the share of all samples, and of the worst
second. Not a test (its figures go into notes); the game is driven as a player would.

usage: measure_sound.py GAME [DATA_DIR] [--seconds N]
  GAME is run with --data DATA_DIR when that is given, else as it is (an old build that
  takes no options reads the data beside itself).
"""

import array
import os
import sys
import time

import xharness as xh


def full_scale_figures(path, rate=44100, channels=2):
    samples = array.array("h")
    with open(path, "rb") as f:
        samples.frombytes(f.read())
    if sys.byteorder != "little":
        samples.byteswap()
    per_second = rate * channels
    worst, total_full = 0.0, 0
    for start in range(0, len(samples), per_second):
        chunk = samples[start:start + per_second]
        full = sum(1 for v in chunk if v >= 32767 or v <= -32768)
        total_full += full
        if len(chunk) == per_second:
            worst = max(worst, full / per_second)
    peak = max((abs(v) for v in samples), default=0)
    return len(samples), total_full / max(1, len(samples)), worst, peak


def main():
    args = sys.argv[1:]
    seconds = 20
    if "--seconds" in args:
        i = args.index("--seconds")
        seconds = int(args[i + 1])
        del args[i:i + 2]
    game_path = args[0]
    data_dir = args[1] if len(args) > 1 else None
    xh.require_tools()
    raw = os.path.abspath("kelvane-sound-%d.raw" % os.getpid())

    def run():
        env = {"SDL_AUDIODRIVER": "disk", "SDL_DISKAUDIOFILE": raw}
        with xh.XSession(1024, 768) as x, xh.Game(x, game_path, data_dir, ["--seed", "1"] if data_dir else [],
                                                 env=env) as game:
            time.sleep(3)  # loading
            game.key("grave")
            game.type("exec battle")
            game.key("Return", "grave")
            started = time.time()
            time.sleep(seconds)
            game.key("grave")
            game.type("quit")
            game.key("Return")
            game.process.wait(timeout=10)
            print("recorded %.1f s of play" % (time.time() - started))
        count, share, worst, peak = full_scale_figures(raw)
        print("%d samples (%.1f s): %.3f %% at full scale, %.3f %% in the worst second, peak %d"
              % (count, count / 88200, 100 * share, 100 * worst, peak))

    try:
        xh.run_test(run)
    finally:
        if os.path.exists(raw):
            os.unlink(raw)


if __name__ == "__main__":
    main()
