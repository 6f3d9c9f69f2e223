"""Two real games over UDP on loopback, each on its own X server, each with real key
presses: one hosts (--host PORT), the other joins (--join 127.0.0.1:PORT). Each player opens
the console, types CREATESHIP with a ship type of their own, closes it and fires; then the
joining player pauses the game for both. Each screen must then show what the headless
runner draws of the same frame from that player's seat, from the host's recording: both
ships, each player's own panel, the ship list and the map with both names. Both games end
with QUIT and status 0, and the host's recording verifies. Before them, a game whose Vigil
differs tries to join and is refused, the file named on both sides, with status 1.

usage: test_net_play.py GAME SIM DATA_DIR [openbox]
"""

import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time

import xharness as xh

SEED = 5
# The line standing over the picture ("paused by bob") is the window's, not the runner's.
STANDING = (150, 612, 840, 672)


def free_udp_port():
    """A UDP port free on loopback now (the host takes it a moment later)."""
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def recordings(home):
    folder = os.path.join(home, ".local", "state", "kelvane", "replays")
    return sorted(os.path.join(folder, n) for n in os.listdir(folder)) if os.path.isdir(folder) else []


def stable(game, timeout=10):
    """Screenshots until two in a row show the same picture (the world paused and every
    late frame drawn); returns the last picture."""
    deadline = time.time() + timeout
    last = game.picture(game.screenshot(), "stable-0.ppm")
    while time.time() < deadline:
        time.sleep(0.4)
        now = game.picture(game.screenshot(), "stable-%d.ppm" % game.shots)
        if xh.rmse(now, last, game.work, mask=(xh.DIAGNOSTICS, STANDING)) < 0.002:
            return now
        last = now
    raise xh.TestFailure("the screen did not come to rest within %d s (see %s)" % (timeout, xh.as_png(last)))


def other_data(data_dir, into):
    """A game folder like the built one but for one more line in Data/Ships/Vigil.ini."""
    xh.link_data(data_dir, into)
    ships = os.path.join(into, "Data", "Ships")
    os.unlink(ships)
    shutil.copytree(os.path.join(os.path.abspath(data_dir), "Data", "Ships"), ships)
    with open(os.path.join(ships, "Vigil.ini"), "a") as f:
        f.write("\n")
    return into


def refused_join(game_path, data_dir, work, port, host):
    """The real game joining with other data: refused before any window, the file named."""
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy", HOME=os.path.join(work, "eve"))
    env.pop("DISPLAY", None)  # no box to close: the lines on stderr tell
    done = subprocess.run([game_path, "--data", other_data(data_dir, os.path.join(work, "other")), "--join",
                           "127.0.0.1:%d" % port, "--name", "eve"], env=env, capture_output=True, text=True,
                          timeout=60)
    why = "the host refused: other game data: Data/Ships/Vigil.ini differs"
    xh.check(done.returncode == 1, "a joiner with other data: exit %d, %s" % (done.returncode, done.stderr))
    xh.check("kelvane: cannot join 127.0.0.1:%d: %s" % (port, why) in done.stderr,
             "the refused joiner said: " + done.stderr)
    host.wait_until(lambda: any("eve was refused: other game data: Data/Ships/Vigil.ini differs" in line
                                for line in host.own_errors()), "the host's line on the refused joiner", 10)


def create_and_fire(game, ship):
    game.key("grave")
    time.sleep(0.5)
    game.type("createship " + ship)
    time.sleep(0.3)
    game.key("Return")
    time.sleep(0.3)
    game.key("grave")


def main():
    game_path, sim_path, data_dir = sys.argv[1:4]
    window_manager = len(sys.argv) > 4 and sys.argv[4] == "openbox"
    xh.require_tools(["openbox"] if window_manager else [])

    def run():
        work = tempfile.mkdtemp(prefix="kelvane-net-play-")
        port = free_udp_port()
        with xh.XSession(1280, 1024, window_manager) as x1, xh.XSession(1280, 1024, window_manager) as x2, \
             xh.Game(x1, game_path, data_dir, ["--windowed", "--seed", str(SEED), "--host", str(port),
                                              "--name", "ann"]) as host:
            xh.check(any("hosting on" in line for line in host.own_errors()),
                     "the host did not say where it is: " + host.errors())
            if not window_manager:
                refused_join(game_path, data_dir, work, port, host)
            with xh.Game(x2, game_path, data_dir, ["--windowed", "--join", "127.0.0.1:%d" % port,
                                                  "--name", "bob"]) as guest:
                create_and_fire(host, "vigil")
                create_and_fire(guest, "kestrel")
                time.sleep(2)  # the ships appear
                host.key("space")
                guest.key("space")
                time.sleep(0.3)
                guest.key("Pause")
                pictures = {1: stable(host), 2: stable(guest)}
                # The windows go with the games: where the pictures were is kept for comparing.
                for game in (host, guest):
                    area = game.picture_area()
                    game.picture_area = lambda area=area: area
                # The paused world stays as it is while both leave, the host first.
                time.sleep(2)
                status = host.quit()
                xh.check(status == 0, "the host's exit status %d after QUIT: %s" % (status, host.errors()))
                status = guest.quit()
                xh.check(status == 0, "the guest's exit status %d after QUIT: %s" % (status, guest.errors()))

                found = recordings(host.home)
                xh.check(len(found) == 1, "%d recordings in the host's state folder" % len(found))
                verified = subprocess.run([sim_path, "--data", host.data, "--replay", found[0], "--verify"],
                                          capture_output=True, text=True, timeout=120)
                xh.check(verified.returncode == 0, "kelvane-sim --verify: exit %d, %s %s"
                         % (verified.returncode, verified.stdout, verified.stderr))
                frames = re.search(r"(\d+) frames", verified.stdout + verified.stderr)
                xh.check(frames is not None, "no frame count from --verify: " + verified.stdout)
                # Well inside the pause: after the pictures were taken, before anyone typed QUIT.
                frame = int(frames.group(1)) - 60
                for seat, picture in pictures.items():
                    game = host if seat == 1 else guest
                    shot = os.path.join(work, "seat-%d.png" % seat)
                    done = subprocess.run([sim_path, "--data", host.data, "--replay", found[0], "--seat", str(seat),
                                           "--shot", "%d:%s" % (frame, shot)], capture_output=True, text=True,
                                          timeout=120)
                    xh.check(done.returncode == 0, "kelvane-sim --shot: " + done.stderr)
                    whole = game.compare(picture, shot, mask=(xh.DIAGNOSTICS, STANDING))
                    xh.check(whole < 0.03, "seat %d: the screen differs from the runner's frame %d: RMSE %.4f (see %s)"
                             % (seat, frame, whole, xh.as_png(picture)))
                    for panel, region in xh.PANELS.items():
                        part = game.compare(picture, shot, mask=(xh.DIAGNOSTICS, STANDING), region=region)
                        xh.check(part < 0.05, "seat %d: the %s differs from the runner's (RMSE %.4f, see %s)"
                                 % (seat, panel, part, xh.as_png(picture)))
                    print("seat %d: frame %d of %s, RMSE %.4f" % (seat, frame, frames.group(1), whole))
        shutil.rmtree(work, ignore_errors=True)  # a failure above keeps it for a look

    xh.run_test(run)


if __name__ == "__main__":
    main()
