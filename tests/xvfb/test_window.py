"""The game in a window, under openbox on a 1280 x 1024 screen, with real key presses:
the picture whole at 1024 x 768 and after the window is resized; F11 to full screen and
back, each switch saved in settings.ini (the resize too); Esc pausing and resuming, and
closing the console; F1's help over the picture and gone again; F12 saving the picture
without any overlay into the pictures folder and naming it on screen; QUIT.

usage: test_window.py GAME SIM DATA_DIR
"""

import glob
import os
import sys
import tempfile
import time

import xharness as xh

SEED = 5
SHIP = [{"after": 1, "command": "CREATESHIP Vigil"}]


def settings_of(path, timeout=5):
    """The settings file as a dict, waiting for it to say something."""
    deadline = time.time() + timeout
    while True:
        values = {}
        if os.path.exists(path):
            with open(path) as f:
                for line in f:
                    if "=" in line:
                        key, value = line.strip().split("=", 1)
                        values[key] = value
        if values or time.time() > deadline:
            return values
        time.sleep(0.1)


def expect_settings(game, wanted, what, timeout=5):
    deadline = time.time() + timeout
    while True:
        values = settings_of(game.settings)
        if all(values.get(k) == v for k, v in wanted.items()):
            return
        if time.time() > deadline:
            raise xh.TestFailure("%s: settings.ini holds %s, not %s" % (what, values, wanted))
        time.sleep(0.1)


def wait_geometry(game, size, what, timeout=5):
    deadline = time.time() + timeout
    while game.geometry()[2:] != size:
        if time.time() > deadline:
            raise xh.TestFailure("%s: the window is %s, not %dx%d" % (what, game.geometry(), *size))
        time.sleep(0.1)


def main():
    game_path, sim_path, data_dir = sys.argv[1:4]
    xh.require_tools(["openbox", "identify"])

    def run():
        runner = xh.Runner(sim_path, data_dir, SEED, tempfile.mkdtemp(prefix="kelvane-window-"))
        start = runner.shot([])
        ship = runner.shot(SHIP)
        paused = runner.shot(SHIP + [{"after": 2, "key": 19}])
        console = runner.shot(SHIP + [{"after": 2, "key": xh.CONSOLE_KEY}])
        with xh.XSession(1280, 1024, window_manager=True) as x, \
             xh.Game(x, game_path, data_dir, ["--seed", str(SEED), "--windowed"]) as game:
            game.wait_for(start)
            wait_geometry(game, (1024, 768), "windowed")
            game.command(runner, [], "createship vigil", after=SHIP)
            xh.check_whole_picture(game, ship, "windowed 1024x768")

            x.xdotool("windowsize", game.window, 800, 700)
            wait_geometry(game, (800, 700), "after a resize")
            xh.check_whole_picture(game, ship, "windowed after a resize to 800x700")
            # --windowed is for this game only: a resize saves the size, not the mode.
            expect_settings(game, {"WindowWidth": "800", "WindowHeight": "700", "Fullscreen": "1"},
                            "after a resize")

            game.key("F11")
            wait_geometry(game, (1280, 1024), "after F11")
            xh.check(game.geometry()[:2] == (0, 0), "after F11: the window is at %s" % (game.geometry(),))
            xh.check_whole_picture(game, ship, "full screen after F11")
            expect_settings(game, {"Fullscreen": "1", "WindowWidth": "800"}, "after F11")
            game.key("alt+Return")
            wait_geometry(game, (800, 700), "after Alt+Enter")
            xh.check_whole_picture(game, ship, "windowed again after Alt+Enter")
            expect_settings(game, {"Fullscreen": "0", "WindowWidth": "800", "WindowHeight": "700"},
                            "after Alt+Enter")

            # Esc pauses and resumes as the Pause key does.
            game.key("Escape")
            game.wait_for(paused)
            game.key("Escape")
            game.wait_for(ship)
            # With the console open, Esc closes it (and does not pause).
            game.key("grave")
            game.wait_for(console)
            game.key("Escape")
            game.wait_for(ship)

            # F1: the help over the picture; the picture around it stays the game's.
            game.key("F1")
            time.sleep(0.3)
            shot = game.screenshot()
            picture = game.picture(shot, "help.ppm")
            inside = game.compare(picture, ship, region=(200, 200, 800, 500))
            outside = game.compare(picture, ship, region=(0, 0, 120, 768))
            xh.check(inside > 0.05, "F1: no help over the picture (RMSE %.4f in its middle)" % inside)
            xh.check(outside < 0.05, "F1: the picture beside the help changed (RMSE %.4f)" % outside)

            # F12 with the help shown: the file holds the game's picture alone.
            game.key("F12")
            deadline = time.time() + 5
            files = []
            while not files and time.time() < deadline:
                files = glob.glob(os.path.join(game.pictures, "Kelvane", "kelvane-*.png"))
                time.sleep(0.1)
            xh.check(len(files) == 1, "F12: %d files in %s" % (len(files), game.pictures))
            name = os.path.basename(files[0])
            xh.check(len(name) == len("kelvane-YYYYMMDD-HHMMSS.png") and name[8:16].isdigit()
                     and name[17:23].isdigit(), "F12: the file is named %s" % name)
            xh.check(xh.size_of(files[0]) == (1024, 768), "F12: the file is %s" % (xh.size_of(files[0]),))
            saved = xh.rmse(files[0], ship, game.work)
            xh.check(saved < 0.03, "F12: the saved picture differs from the game's (RMSE %.4f)" % saved)
            # ... and the file's name shows at the top of the screen for a while.
            notice = game.compare(game.picture(game.screenshot(), "notice.ppm"), ship, mask=(),
                                  region=(300, 100, 724, 140))
            xh.check(notice > 0.05, "F12: no file name shown (RMSE %.4f at the top)" % notice)
            game.key("F1")
            game.wait_for(ship, timeout=10)  # the help is gone and the notice too, after a few seconds
            print("F12 saved %s (RMSE %.4f against the runner's picture)" % (name, saved))

            status = game.quit(runner, SHIP)
            xh.check(status == 0, "exit status %d after QUIT: %s" % (status, game.errors()))

    xh.run_test(run)


if __name__ == "__main__":
    main()
