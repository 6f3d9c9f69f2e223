"""Console lines typed fast on a busy machine, in the real game on a bare X server: while
two processes keep both cores busy, the console key and a line are typed with 5 ms between
key presses, so that several keys reach the game between two frames. Every line must
arrive whole and in order: HELP (whose hint under the console shows as the runner draws
it, while the console log does not answer it), CREATESHIP Vigil
and QUIT, which ends the game. The game's recording then verifies headless, its last frame
shows the Vigil in play under the player's control, and the console log holds exactly the
lines of a game where the same was typed slowly: HELP and the wrong command added nothing.

usage: test_typing.py GAME SIM DATA_DIR
"""

import json
import os
import subprocess
import sys
import tempfile
import time

import xharness as xh

SEED = 5
TYPING_DELAY_MS = "5"
HINT = (0, 750, 700, 768)  # the hint line under the console log (picture pixels)
# The log's lines, each after the digit of its colour.
WELCOME = ["6Welcome to Orvath : Kelvane", "7version: 1.0 beta"]


def recordings(home):
    folder = os.path.join(home, ".local", "state", "kelvane", "replays")
    return sorted(os.path.join(folder, n) for n in os.listdir(folder)) if os.path.isdir(folder) else []


class BusyCores:
    """Two processes that keep the processor busy while the keys are typed."""

    def __enter__(self):
        self.spinners = [subprocess.Popen([sys.executable, "-c", "while True: pass"]) for _ in range(2)]
        return self

    def __exit__(self, *exc):
        for spinner in self.spinners:
            spinner.kill()
            spinner.wait()


def fast_line(game, text, open_console=False):
    """A line with its Enter, 5 ms a key: one burst of key presses (after the console key
    when it opens the console too; the console stays open after Enter)."""
    if open_console:
        game.x.xdotool("key", "--delay", TYPING_DELAY_MS, "grave")
    game.x.xdotool("type", "--delay", TYPING_DELAY_MS, text)
    game.x.xdotool("key", "--delay", TYPING_DELAY_MS, "Return")


def main():
    game_path, sim_path, data_dir = sys.argv[1:4]

    def run():
        work = tempfile.mkdtemp(prefix="kelvane-typing-")
        runner = xh.Runner(sim_path, data_dir, SEED, work)
        start = runner.shot([])
        with xh.XSession(1280, 1024) as x, \
             xh.Game(x, game_path, data_dir, ["--seed", str(SEED), "--windowed"]) as game:
            game.wait_for(start)
            # HELP's hint, as the runner draws it, and the same console before Enter: no hint.
            typed = xh.typed_steps(1, "help")
            helped = runner.shot(typed + [{"after": 6, "key": 13}])
            xh.check(xh.rmse(helped, runner.shot(typed), work, region=HINT) > 0.03,
                     "the runner's pictures with and without HELP's hint are alike")
            with BusyCores():
                fast_line(game, "help", open_console=True)
                seen = game.matches(helped, timeout=10, region=HINT)
                xh.check(seen[0] < 0.03, "HELP's hint is not on the screen (RMSE %.3f, see %s)"
                         % (seen[0], xh.as_png(seen[2])))
                time.sleep(0.5)
                fast_line(game, "createship vigil")
                time.sleep(0.5)
                fast_line(game, "blastoff")
                time.sleep(0.5)
                fast_line(game, "quit")
                try:
                    status = game.process.wait(timeout=30)
                except subprocess.TimeoutExpired:
                    raise xh.TestFailure("QUIT typed 5 ms a key did not end the game; the screen: %s"
                                         % xh.as_png(game.screenshot("after-quit.ppm")))
            xh.check(status == 0, "exit status %d after QUIT: %s" % (status, game.errors()))

            found = recordings(game.home)
            xh.check(len(found) == 1, "%d recordings in the state folder" % len(found))
            last = os.path.join(work, "last.json")
            verified = subprocess.run([sim_path, "--data", game.data, "--replay", found[0], "--verify",
                                       "--dump", "last:" + last], capture_output=True, text=True, timeout=120)
            xh.check(verified.returncode == 0, "kelvane-sim --verify: exit %d, %s %s"
                     % (verified.returncode, verified.stdout, verified.stderr))
            with open(last) as f:
                world = json.load(f)
            log = world["ConsoleLog"]
            wanted = WELCOME + ["7Ship KSS Vigil hase been created and is under your control."]
            xh.check(log == wanted, "the console log holds %s, not %s" % (log, wanted))
            in_play = [ship["ShipName"] for ship in world["Ships"] if ship.get("InPlay")]
            xh.check(in_play == ["Vigil"], "ships in play at the end: %s" % in_play)
            print("typed 5 ms a key on busy cores: %s; %s" % (log[-1], verified.stdout.strip()))

    xh.run_test(run)


if __name__ == "__main__":
    main()
