"""A game played with real key presses is recorded, verifies headless, and plays back in the
window: on a bare 1280 x 1024 X server the game is started, a ship created from the console,
flown and fired for a few seconds, and ended with QUIT. The recording it leaves in the state
folder must verify with `kelvane-sim --replay --verify` and hold the keys that were pressed.
Then `kelvane --replay` plays it in the window: the player's keys change nothing, and when it
ends its last picture (the runner's picture of the recording's last frame) stays, with the
line saying so, and nothing new is recorded.

usage: test_replay.py GAME SIM DATA_DIR
"""

import glob
import os
import subprocess
import sys
import tempfile
import time

import xharness as xh

SEED = 11
SHIP = [{"after": 1, "command": "CREATESHIP Vigil"}]
# Windows key codes in the recording's key lines: Space (fire), Left, Up.
SPACE, LEFT, UP = 32, 37, 38
# The standing line of a watched recording ("End of the recording ...") near the bottom.
STANDING_LINE = (0, 600, 1024, 680)


def recordings(home):
    return sorted(glob.glob(os.path.join(home, ".local", "state", "kelvane", "replays", "kelvane-*.replay")))


def key_codes(path):
    codes = set()
    with open(path) as f:
        for line in f:
            parts = line.split()
            if parts and parts[0] == "key":
                codes.add(int(parts[1]))
    return codes


def run_sim(sim_path, data, *args):
    return subprocess.run([sim_path, "--data", data] + list(args), capture_output=True, text=True, timeout=120)


def main():
    game_path, sim_path, data_dir = sys.argv[1:4]

    def run():
        work = tempfile.mkdtemp(prefix="kelvane-replay-")
        runner = xh.Runner(sim_path, data_dir, SEED, work)
        start = runner.shot([])
        home = os.path.join(work, "player")

        # ---- play and quit -------------------------------------------------------------
        with xh.XSession(1280, 1024) as x, \
             xh.Game(x, game_path, data_dir, ["--seed", str(SEED)], home=home) as game:
            game.wait_for(start)
            game.command(runner, [], "createship vigil", after=SHIP)
            for _ in range(3):
                x.xdotool("keydown", "Left", "Up")
                game.key("space", "space", "space")
                x.xdotool("keyup", "Left", "Up")
                time.sleep(0.5)
            status = game.quit()
            xh.check(status == 0, "exit status %d after QUIT: %s" % (status, game.errors()))
            xh.check(not game.own_errors(), "the game said: %s" % game.own_errors())
            data = game.data

            found = recordings(home)
            xh.check(len(found) == 1, "%d recordings in the state folder: %s" % (len(found), found))
            recording = found[0]
            name = os.path.basename(recording)
            xh.check(len(name) == len("kelvane-YYYYMMDD-HHMMSS.replay") and name[8:16].isdigit()
                     and name[17:23].isdigit(), "the recording is named %s" % name)
            codes = key_codes(recording)
            xh.check({SPACE, LEFT, UP} <= codes, "the recording holds the keys %s" % sorted(codes))

            # ---- verified headless -----------------------------------------------------
            verified = run_sim(sim_path, data, "--replay", recording, "--verify")
            xh.check(verified.returncode == 0 and verified.stdout.startswith("replay verified: "),
                     "kelvane-sim --verify: exit %d, %s %s" % (verified.returncode, verified.stdout,
                                                                verified.stderr))
            frames = int(verified.stdout.split()[2])
            xh.check(frames > 50, "only %d frames recorded" % frames)
            print("played, quit and verified: %s" % verified.stdout.strip())

            last = os.path.join(work, "last.png")
            shot = run_sim(sim_path, data, "--replay", recording, "--shot", "last:" + last)
            xh.check(shot.returncode == 0, "the runner's last picture: %s" % shot.stderr)

        # ---- watched in the window -------------------------------------------------------
        watcher = os.path.join(work, "watcher")
        with xh.XSession(1280, 1024) as x, \
             xh.Game(x, game_path, data_dir, ["--replay", recording], home=watcher) as game:
            # Keys the game would take: the console key, fire, the Pause key's stand-in.
            game.key("grave", "space", "Return")
            # The watcher stays on the last frame, so a long limit costs nothing when all is well;
            # a sanitizer build on a loaded machine plays at a fraction of real time.
            best = game.matches(last, timeout=frames / 25 * 3 + 30, mask=(xh.DIAGNOSTICS, STANDING_LINE))
            xh.check(best[0] < 0.03, "the watched recording does not end on the runner's last picture: "
                     "RMSE %.4f (see %s)" % (best[0], xh.as_png(best[2])))
            line = game.compare(game.picture(game.screenshot(), "ended.ppm"), last, mask=(), region=STANDING_LINE)
            xh.check(line > 0.02, "no line over the last picture (RMSE %.4f where it should be)" % line)
            time.sleep(1)
            xh.check(game.process.poll() is None, "the game ended with the recording: " + game.errors())
            xh.check(not recordings(watcher), "watching made a recording: %s" % recordings(watcher))
            print("watched to its last picture (RMSE %.4f against the runner's)" % best[0])

    xh.run_test(run)


if __name__ == "__main__":
    main()
