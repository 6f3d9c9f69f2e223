"""Full screen on a screen of the given size, with or without a window manager: the
window covers the screen, the picture sits in it scaled and centred with black bars, and
after a ship is created with real key presses it matches the runner's picture of the same
moment, every panel included.

With `damaged-settings` the game starts without --fullscreen over a settings.ini that is
not one: it must say so in one line on stderr and start full screen, the default.

usage: test_fullscreen.py GAME SIM DATA_DIR WIDTHxHEIGHT [openbox] [damaged-settings]
"""

import os

import sys
import tempfile

import xharness as xh

SEED = 3


def main():
    game_path, sim_path, data_dir, size = sys.argv[1:5]
    window_manager = "openbox" in sys.argv[5:]
    damaged = "damaged-settings" in sys.argv[5:]
    xh.require_tools(["openbox"] if window_manager else [])
    width, height = (int(v) for v in size.split("x"))
    label = "%s %s" % (size, "with openbox" if window_manager else "without a window manager")

    def run():
        runner = xh.Runner(sim_path, data_dir, SEED, tempfile.mkdtemp(prefix="kelvane-fullscreen-"))
        start = runner.shot([])
        home = tempfile.mkdtemp(prefix="kelvane-home-")
        if damaged:
            os.makedirs(os.path.join(home, ".config", "kelvane"))
            with open(os.path.join(home, ".config", "kelvane", "settings.ini"), "wb") as f:
                f.write(b"[Settings]\nFullscreen=0\nWindowWidth=banana\n\x00\x01")
        args = ["--seed", str(SEED)] + ([] if damaged else ["--fullscreen"])
        with xh.XSession(width, height, window_manager) as x, xh.Game(x, game_path, data_dir, args, home=home) as game:
            game.wait_for(start)
            if damaged:
                lines = game.own_errors()
                xh.check(len(lines) == 1 and "settings.ini is damaged" in lines[0],
                         "a damaged settings.ini should give one line on stderr, not: %s" % lines)
            xh.check(game.geometry() == (0, 0, width, height),
                     "%s: the window is not the whole screen: %s" % (label, game.geometry()))
            ship = game.command(runner, [], "createship vigil")
            xh.check_whole_picture(game, ship, label)
            status = game.quit(runner, [{"after": 1, "command": "createship vigil"}])
            xh.check(status == 0, "%s: exit status %d after QUIT: %s" % (label, status, game.errors()))

    xh.run_test(run)


if __name__ == "__main__":
    main()
