"""A broken mod seen by a player who started the game from a menu: a ship whose picture is
no picture in the player's own Ships folder. The game must not vanish: a message box with
the reason, the file and the hint to `kelvane --check` comes up (on a bare X server and
under openbox), the game waits while it is open, standard error holds the same two lines,
and once the box is closed the game ends with the start failure's status, 1.

usage: test_start_failure.py GAME DATA_DIR
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

import xharness as xh

BOX_TITLE = "Kelvane cannot start"


def find_box(x):
    """The box's window id, looked up in the X server's window tree (xdotool's search does
    not see SDL's message box window); empty when there is none yet."""
    done = subprocess.run(["xwininfo", "-root", "-tree"], env=x.env(), capture_output=True, text=True, timeout=30)
    for line in done.stdout.splitlines():
        parts = line.split()
        if len(parts) > 1 and ('"%s"' % BOX_TITLE) in line and parts[0].startswith("0x"):
            return [str(int(parts[0], 16))]
    return []


def text_bands(path, box):
    """The rows of text in a box (x, y, w, h) of a screenshot: (first row, last row, width
    from the leftmost to the rightmost bright pixel) for each band of rows holding bright pixels."""
    x, y, w, h = box
    done = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", "-colorspace",
                           "Gray", "-depth", "8", "gray:-"], capture_output=True, timeout=30, check=True)
    pixels = done.stdout
    xh.check(len(pixels) == w * h, "cropped %d bytes for a %dx%d box" % (len(pixels), w, h))
    bands, start, left, right = [], None, w, -1
    for row in range(h):
        line = pixels[row * w:(row + 1) * w]
        # Light letters on the box's bright grey.
        bright = [i for i, value in enumerate(line) if value > 160]
        if bright:
            if start is None:
                start, left, right = row, w, -1
            left, right = min(left, bright[0]), max(right, bright[-1])
        elif start is not None:
            bands.append((start, row - 1, right - left + 1))
            start = None
    if start is not None:
        bands.append((start, h - 1, right - left + 1))
    return bands


def play(game_path, data_dir, window_manager):
    label = "openbox" if window_manager else "bare"
    work = tempfile.mkdtemp(prefix="kelvane-startfail-")
    home = os.path.join(work, "home")
    ships = os.path.join(home, ".local", "share", "kelvane", "Ships")
    os.makedirs(ships)
    # The player's own Sable, whose picture lost its first byte.
    shutil.copy(os.path.join(data_dir, "Data", "Ships", "Sable.ini"), ships)
    with open(os.path.join(data_dir, "Data", "Ships", "Sable.bmp"), "rb") as f:
        picture = bytearray(f.read())
    picture[0] = ord("X")
    bad = os.path.join(ships, "Sable.bmp")
    with open(bad, "wb") as f:
        f.write(picture)
    expected = ["kelvane: the game cannot start: Bitmap image is not valid", "kelvane: while reading " + bad]

    with xh.XSession(1024, 768, window_manager=window_manager) as x:
        game = xh.Game(x, game_path, data_dir, home=home)
        with open(os.path.join(work, "stderr.txt"), "w+") as err:
            process = subprocess.Popen(game.argv, env=x.env(game.extra_env), stdout=subprocess.DEVNULL, stderr=err)
            try:
                deadline = time.time() + 20
                found = []
                while not found and time.time() < deadline:
                    xh.check(process.poll() is None, "%s: the game ended without a box (status %s): %s"
                             % (label, process.returncode, open(err.name).read().strip()))
                    found = find_box(x)
                    time.sleep(0.1)
                xh.check(found, "%s: no window called %r within 20 s" % (label, BOX_TITLE))
                box = found[0]
                time.sleep(1)
                xh.check(process.poll() is None, "%s: the game ended while its box was open" % label)
                err.flush()
                said = [line for line in open(err.name).read().splitlines() if line.startswith("kelvane:")]
                xh.check(said == expected, "%s: standard error says %r, not %r" % (label, said, expected))

                # The box shows the message: the reason, the file and the hint to --check are
                # three lines of text, the hint the longest.
                shot = x.screenshot(os.path.join(work, "box-%s.png" % label))
                bx, by, bw, bh = xh.window_geometry(x.display, int(box))
                xh.check(bw >= 300 and bh >= 80, "%s: the box is only %dx%d (see %s)" % (label, bw, bh, shot))
                bands = [band for band in text_bands(shot, (bx, by, bw, bh)) if band[1] - band[0] >= 5]
                # Below the text the button: its frame is a band of its own, the last one.
                lines = bands[:-1]
                xh.check(len(lines) == 3, "%s: %d lines of text in the box, not 3: %s (see %s)"
                         % (label, len(lines), bands, shot))
                xh.check(lines[2][2] > lines[0][2] and lines[2][2] > bw // 2,
                         "%s: the hint to --check is not the long last line: %s (see %s)" % (label, lines, shot))
                xh.check(lines[1][2] > len(bad) * 3, "%s: the line naming %s is only %d pixels wide (see %s)"
                         % (label, bad, lines[1][2], shot))

                if window_manager:
                    x.xdotool("windowactivate", "--sync", box)
                else:
                    x.xdotool("windowfocus", "--sync", box)
                x.xdotool("key", "Return")
                try:
                    status = process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    raise xh.TestFailure("%s: the game did not end within 10 s of closing its box" % label)
                xh.check(status == 1, "%s: exit status %d once the box was closed, not 1" % (label, status))
                print("%s: box %dx%d with %d lines of text, exit status 1, stderr %r" % (label, bw, bh, len(lines),
                                                                                       said))
            finally:
                if process.poll() is None:
                    process.kill()
                    process.wait()
    shutil.rmtree(work, ignore_errors=True)


def main():
    game_path, data_dir = sys.argv[1:3]
    xh.require_tools(["openbox", "xwininfo"])
    xh.run_test(lambda: (play(game_path, data_dir, False), play(game_path, data_dir, True)))


if __name__ == "__main__":
    main()
