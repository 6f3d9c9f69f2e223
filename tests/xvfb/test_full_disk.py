"""The real game with its folders on a full disk: a tiny tmpfs of the test's own, filled
to the last byte (so the test needs root, as the CI runs it, and skips otherwise). The
recording cannot be written and the game plays on unrecorded; F12 saves no screenshot and
says why; F11's settings are not saved and a line says so; nothing is left on the disk.

usage: test_full_disk.py GAME DATA_DIR
"""

import errno
import glob
import os
import subprocess
import sys
import tempfile
import time

import xharness as xh


def fill(folder):
    """Takes every byte left, a byte at a time at the end so that the last page is full too."""
    with open(os.path.join(folder, "filler"), "wb", buffering=0) as filler:
        for size in (65536, 1):
            try:
                while True:
                    filler.write(b"x" * size)
            except OSError as error:
                if error.errno != errno.ENOSPC:
                    raise


def wait_for_line(game, text, what, timeout=5):
    deadline = time.time() + timeout
    while not any(text in line for line in game.own_errors()):
        if time.time() > deadline:
            raise xh.TestFailure("%s: no line with %r on stderr: %s" % (what, text, game.errors()))
        time.sleep(0.1)


def main():
    game_path, data_dir = sys.argv[1:3]
    xh.require_tools()
    if os.geteuid() != 0:
        print("SKIP: a full disk is a tmpfs mounted by the test, which needs root")
        sys.exit(xh.SKIP)
    disk = tempfile.mkdtemp(prefix="kelvane-full-")
    mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", disk], capture_output=True, text=True)
    if mounted.returncode != 0:
        os.rmdir(disk)
        print("SKIP: cannot mount a tmpfs: " + mounted.stderr.strip())
        sys.exit(xh.SKIP)

    def run():
        pictures, config, state = (os.path.join(disk, name) for name in ("Pictures", "config", "state"))
        for folder in (pictures, config, state):
            os.makedirs(folder)  # folders take no space on a tmpfs; files do
        fill(disk)
        env = {"XDG_PICTURES_DIR": pictures, "XDG_CONFIG_HOME": config, "XDG_STATE_HOME": state}
        with xh.XSession(1280, 1024) as x, xh.Game(x, game_path, data_dir, ["--windowed"], env=env) as game:
            wait_for_line(game, "No space left on device; the game goes on unrecorded", "the recording")
            game.key("F12")
            wait_for_line(game, "kelvane: no screenshot: cannot write " + os.path.join(pictures, "Kelvane", "kelvane-"),
                          "F12")
            wait_for_line(game, ".png: No space left on device", "F12")
            game.key("F11")
            wait_for_line(game, "kelvane: settings not saved: cannot write " +
                          os.path.join(config, "kelvane", "settings.ini") + ": No space left on device", "F11")
            status = game.quit()
            xh.check(status == 0, "exit status %d after QUIT: %s" % (status, game.errors()))
            print("\n".join(game.own_errors()))
        left = [path for path in glob.glob(os.path.join(disk, "**"), recursive=True)
                if os.path.isfile(path) and os.path.basename(path) != "filler"]
        xh.check(not left, "files left on the full disk: %s" % left)

    try:
        xh.run_test(run)
    finally:
        subprocess.run(["umount", "-l", disk])
        os.rmdir(disk)


if __name__ == "__main__":
    main()
