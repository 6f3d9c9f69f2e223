"""Keys rebound in settings.ini, in the real game on a bare 1280 x 1024 X server with real
key presses: the [Keys] lines that cannot be used each get their one line on stderr naming
the file and line, and the game starts with the other settings (a window); the F1 help
names the rebound keys in their rows and nothing else changes in it (against the help of a
game with the default keys); a console command is typed with letters that are bound in
flight; in flight the rebound keys give the game's own keys in the recording the game
writes, the keys that lost their action give nothing, and the recording verifies
headless; F11 saves the settings with the [Keys] lines as they were written.

usage: test_keys.py GAME SIM DATA_DIR PLAYER_ACTIONS_H
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import xharness as xh

SEED = 9
SETTINGS = """[Settings]
Fullscreen=0

[Keys]
Thrust=W
FirePrimary=N
NearestTarget=Space
TurnLeft=Nosuchkey
Shields=W
SelfDestruct=E
"""
REBOUND = {"Thrust", "FirePrimary", "NearestTarget", "SelfDestruct"}
BAD_LINES = {8: "TurnLeft=Nosuchkey: SDL knows no key called \"Nosuchkey\"; TurnLeft keeps Left",
             9: "Shields=W: W is Thrust's key already (line 5); Shields keeps S"}
# Windows key codes the game reads: Up (thrust), Space (primary weapon), N (nearest target),
# the console key.
UP, SPACE, N, W, CONSOLE = 38, 32, 78, 87, 0xC0
# The help's table of keys: its first row's top, the row height, the key column and the
# columns right of it (picture pixels).
HELP_FIRST_ROW, HELP_ROW, KEY_COLUMN, OTHER_COLUMNS = 175, 17, (150, 336), (336, 880)


def actions_in_order(header):
    """The actions in the order of the game's table (and so of the help's rows)."""
    with open(header) as f:
        return re.findall(r"\{PlayerAction::(\w+), \"\w+\"", f.read())


def recordings(home):
    folder = os.path.join(home, ".local", "state", "kelvane", "replays")
    return sorted(os.path.join(folder, n) for n in os.listdir(folder)) if os.path.isdir(folder) else []


def flight_keys(path):
    """The key codes of the recording pressed while the console was closed (between the
    command that made the ship and the QUIT), in order."""
    keys = []
    with open(path) as f:
        for line in f:
            parts = line.split()
            if parts and parts[0] == "key":
                keys.append(int(parts[1]))
    xh.check(13 in keys, "no Enter in the recording: %s" % keys)
    # The console closed after Enter ran the command, and opened again for QUIT.
    after = [i for i, key in enumerate(keys) if key == CONSOLE and i > keys.index(13)]
    xh.check(len(after) >= 2, "the console was not closed and opened again: %s" % keys)
    return keys[after[0] + 1:after[1]]


def help_picture(game, start, name):
    """F1, then the picture once the help shows."""
    game.key("F1")
    deadline = time.time() + 5
    while True:
        picture = game.picture(game.screenshot(), name)
        if game.compare(picture, start, region=(200, 200, 800, 500)) > 0.05:
            return picture
        xh.check(time.time() < deadline, "F1 shows no help (see %s)" % xh.as_png(picture))
        time.sleep(0.2)


def main():
    game_path, sim_path, data_dir, header = sys.argv[1:5]
    actions = actions_in_order(header)

    def run():
        xh.check(len(actions) > len(REBOUND) and REBOUND <= set(actions),
                 "the table of actions read from %s: %s" % (header, actions))
        work = tempfile.mkdtemp(prefix="kelvane-keys-")
        runner = xh.Runner(sim_path, data_dir, SEED, work)
        start = runner.shot([])
        home = os.path.join(work, "player")
        settings = os.path.join(home, ".config", "kelvane", "settings.ini")
        os.makedirs(os.path.dirname(settings))
        with open(settings, "w") as f:
            f.write(SETTINGS)

        # ---- the help of a game with the game's own keys --------------------------------
        with xh.XSession(1280, 1024) as x, \
             xh.Game(x, game_path, data_dir, ["--seed", str(SEED), "--windowed"]) as game:
            game.wait_for(start)
            plain = shutil.copy(help_picture(game, start, "help-plain.ppm"), work)  # the game's folder goes
            xh.check(not game.own_errors(), "with no settings the game said: %s" % game.own_errors())

        with xh.XSession(1280, 1024) as x, \
             xh.Game(x, game_path, data_dir, ["--seed", str(SEED)], home=home) as game:
            game.wait_for(start)
            # ---- the lines that cannot be used, and the settings that stand -------------
            said = game.own_errors()
            wanted = ["kelvane: %s:%d: %s" % (settings, line, text) for line, text in sorted(BAD_LINES.items())]
            xh.check(said == wanted, "stderr holds %s, not %s" % (said, wanted))
            xh.check(game.geometry()[2:] == (1024, 768), "Fullscreen=0 gave %s" % (game.geometry(),))

            # ---- the help names the keys in force, in their rows, and nothing else changes
            rebound = help_picture(game, start, "help-rebound.ppm")
            changed_keys, changed_other = set(), set()
            for row in range(len(actions) + 5):  # the actions, then the desktop's own keys
                top = HELP_FIRST_ROW + row * HELP_ROW
                for columns, changed in ((KEY_COLUMN, changed_keys), (OTHER_COLUMNS, changed_other)):
                    if xh.rmse(rebound, plain, work, (), (columns[0], top, columns[1], top + HELP_ROW)) > 0.01:
                        changed.add(actions[row] if row < len(actions) else "desktop row %d" % row)
            xh.check(changed_keys == REBOUND and not changed_other,
                     "the help changed in the key column of %s and elsewhere in %s, not only the keys of %s "
                     "(see %s and %s)" % (sorted(changed_keys), sorted(changed_other), sorted(REBOUND),
                                          xh.as_png(rebound), xh.as_png(plain)))
            print("the help names the rebound keys of %s" % ", ".join(sorted(REBOUND)))
            game.key("F1")
            game.wait_for(start)

            # ---- typed in the console: E and W type letters, bound or not ---------------
            ship = [{"after": 1, "command": "CREATESHIP Vigil"}]
            game.command(runner, [], "createship vigil", after=ship)

            # ---- in flight: the player's keys, and keys that lost their action ----------
            game.key("w", "w", "w", "Up", "Up", "n", "n", "space", "Left")
            time.sleep(0.3)
            game.key("F11")
            # The switch to full screen moves the keyboard's focus for a moment: QUIT is typed
            # only once the window covers the screen.
            game.wait_until(lambda: game.geometry() == (0, 0, 1280, 1024), "F11 made the window full screen")
            status = game.quit(timeout=30)
            xh.check(status == 0, "exit status %d after QUIT: %s" % (status, game.errors()))

            found = recordings(home)
            xh.check(len(found) == 1, "%d recordings in the state folder" % len(found))
            keys = flight_keys(found[0])
            counts = {key: keys.count(key) for key in set(keys)}
            xh.check(counts == {UP: 3, SPACE: 2, N: 1, 37: 1},
                     "in flight the recording holds the keys %s (code: times)" % counts)
            verified = subprocess.run([sim_path, "--data", game.data, "--replay", found[0], "--verify"],
                                      capture_output=True, text=True, timeout=120)
            xh.check(verified.returncode == 0, "kelvane-sim --verify: exit %d, %s %s"
                     % (verified.returncode, verified.stdout, verified.stderr))
            print("in flight the recording holds %s; %s" % (counts, verified.stdout.strip()))

            # ---- F11 saved the settings, the [Keys] lines as the player wrote them ------
            with open(settings) as f:
                saved = f.read()
            xh.check("Fullscreen=1\n" in saved and saved.endswith(SETTINGS[SETTINGS.index("[Keys]"):]),
                     "after F11 settings.ini holds:\n" + saved)

    xh.run_test(run)


if __name__ == "__main__":
    main()
