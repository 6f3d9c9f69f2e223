"""The installed game in a player's X session, run as that player: a private X server with
openbox, the installed kelvane started without --data (so it finds the installed data), a
ship created with real key presses and compared with the installed runner's picture of the
same moment, then a typed QUIT that must end it with status 0.

usage: installed_session.py PROGRAMS_DIR HOME   (xharness.py lies beside this script; the
data is where the game finds it, ../share/kelvane/ from the programs' folder)
"""

import os
import sys
import tempfile

import xharness as xh

SEED = 5


def main():
    programs, home = sys.argv[1:3]
    data = os.path.normpath(os.path.join(programs, "..", "share", "kelvane"))

    def run():
        runner = xh.Runner(os.path.join(programs, "kelvane-sim"), data, SEED,
                           tempfile.mkdtemp(prefix="kelvane-installed-"))
        with xh.XSession(1280, 1024, window_manager=True) as x, \
             xh.Game(x, os.path.join(programs, "kelvane"), None, ["--seed", str(SEED)], home=home) as game:
            game.wait_for(runner.shot([]))
            ship = game.command(runner, [], "createship vigil")
            xh.check_whole_picture(game, ship, "installed game")
            status = game.quit(runner, [{"after": 1, "command": "createship vigil"}])
            xh.check(status == 0, "exit status %d after QUIT: %s" % (status, game.errors()))

    xh.run_test(run)


if __name__ == "__main__":
    main()
