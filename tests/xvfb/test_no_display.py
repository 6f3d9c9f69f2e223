"""The game where nobody can see it: without a display it must not run on invisibly on an
off-screen driver but end at once, saying why; SDL_VIDEODRIVER=dummy, asked for by the
user, is honoured. Also the options that end at once: --version, --help, a wrong one.

usage: test_no_display.py GAME DATA_DIR
"""

import os
import subprocess
import sys
import tempfile
import time

import xharness as xh


def main():
    game_path, data_dir = sys.argv[1:3]

    def run():
        work = tempfile.mkdtemp(prefix="kelvane-nodisplay-")
        data = xh.link_data(data_dir, os.path.join(work, "game"))
        env = dict(os.environ, HOME=work, SDL_AUDIODRIVER="dummy")
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"):
            env.pop(name, None)
        started = time.time()
        try:
            done = subprocess.run([game_path, "--data", data], env=env, capture_output=True, text=True, timeout=5)
        except subprocess.TimeoutExpired:
            raise xh.TestFailure("without a display the game still ran after 5 s")
        seconds = time.time() - started
        xh.check(done.returncode == 1, "without a display: exit status %d, not 1" % done.returncode)
        xh.check(done.stderr.startswith("kelvane: cannot open a display: ") and done.stderr.count("\n") == 1,
                 "without a display the game said: %r" % done.stderr)
        print("no display: exit 1 after %.2f s: %s" % (seconds, done.stderr.strip()))

        # The dummy driver when the user asks for it: the game runs until stopped.
        game = subprocess.Popen([game_path, "--data", data], env=dict(env, SDL_VIDEODRIVER="dummy"),
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        time.sleep(2)
        running = game.poll() is None
        game.terminate()
        _, err = game.communicate(timeout=10)
        xh.check(running, "with SDL_VIDEODRIVER=dummy the game ended: %s" % err.strip())

        for args, status, stream, text in ((["--version"], 0, "stdout", "kelvane "),
                                           (["--help"], 0, "stdout", "usage: kelvane"),
                                           (["--bogus"], 2, "stderr", "usage: kelvane")):
            done = subprocess.run([game_path] + args, env=env, capture_output=True, text=True, timeout=5)
            out = getattr(done, stream)
            xh.check(done.returncode == status and text in out,
                     "%s: exit %d, %s %r" % (" ".join(args), done.returncode, stream, out))

    xh.run_test(run)


if __name__ == "__main__":
    main()
