"""Full and read-only disks under the game and the runner (small tmpfs mounts, so these
cases need root, as CI has; elsewhere they are skipped with the reason): the ship archive
beside the data, the folder of recordings, a runner's recording. A full disk never stops
play, never leaves a cut or empty file behind, and never harms the file that was there.

usage: test_full_disks.py GAME SIM DATA_DIR [CASE...]
"""

import os
import re
import shutil

from faults import Tmpfs, case, has_frames, run_cases

HERE = os.path.dirname(os.path.abspath(__file__))
BATTLE = os.path.join(HERE, "..", "e2e", "replays", "battle.replay")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def folder_bytes(path):
    return sum(os.path.getsize(os.path.join(d, f)) for d, _, files in os.walk(path) for f in files)


@case("Data/Ships.dxg on a disk that fills while it is written stays as it was")
def ship_archive_fills(t):
    # The archive as an earlier start wrote it.
    first = t.game_folder("first")
    r = t.sim("--frames", "1", data=first)
    t.expect(r.code == 0, r)
    old = read(os.path.join(first, "Data", "Ships.dxg"))
    # The data on a disk of its own with the old archive, then a few kilobytes left free:
    # the new archive (as large as the old) starts to be written and cannot be finished.
    size = folder_bytes(os.path.join(t.data, "Data", "Ships")) + folder_bytes(os.path.join(first, "Data"))
    disk = Tmpfs(t, size="%dk" % (size // 1024 + 4096), full=False)
    game = os.path.join(disk.path, "game")
    shutil.copytree(os.path.join(first, "Data"), os.path.join(game, "Data"))
    os.symlink(os.path.join(t.data, "Scripts"), os.path.join(game, "Scripts"))
    disk.fill()
    os.truncate(os.path.join(disk.path, ".filler"), os.path.getsize(os.path.join(disk.path, ".filler")) - 64 * 1024)
    cache = t.folder("cache")
    r = t.sim("--frames", "3", data=game, env=t.env({"XDG_CACHE_HOME": cache}))
    t.expect(r.code == 0 and r.err == "", r)  # written to the cache instead
    t.expect(read(os.path.join(game, "Data", "Ships.dxg")) == old, "the archive that was there changed")
    left = sorted(n for n in os.listdir(os.path.join(game, "Data")) if n.startswith("."))
    t.expect(not left, "temporaries left beside the data: %s" % left)
    t.expect(read(os.path.join(cache, "kelvane", "Ships.dxg")) == old, "the cache's archive is not the same")


@case("recordings on a full disk: one line, play goes on, no empty file left")
def recordings_full(t):
    disk = Tmpfs(t)
    r = t.dummy_game("--data", t.data, "--windowed", env=t.env({"SDL_VIDEODRIVER": "dummy", "XDG_STATE_HOME": disk.path}),
                     until=3)
    own = [l for l in r.err.splitlines() if l.startswith("kelvane:")]
    t.expect(r.code == 0 and len(own) == 1, r)
    t.expect(re.fullmatch(r"kelvane: cannot write the recording %s/kelvane/replays/kelvane-\d{8}-\d{6}\.replay: No "
                          r"space left on device; the game goes on unrecorded" % re.escape(disk.path), own[0]), r)
    files = [os.path.join(d, f) for d, _, names in os.walk(disk.path) for f in names if f != ".filler"]
    t.expect(not files, "left on the full disk: %s" % files)


@case("recordings on a read-only disk: one line with the reason")
def recordings_read_only(t):
    disk = Tmpfs(t, full=False, read_only=True)
    r = t.dummy_game("--data", t.data, "--windowed", env=t.env({"SDL_VIDEODRIVER": "dummy", "XDG_STATE_HOME": disk.path}),
                     until=3)
    own = [l for l in r.err.splitlines() if l.startswith("kelvane:")]
    t.expect(r.code == 0 and own == ["kelvane: cannot make the folder of recordings %s/kelvane/replays/: Read-only file "
                                     "system; the game goes on unrecorded" % disk.path], r)


@case("a runner's recording onto a full disk leaves the file that was there whole")
def runner_record_full(t):
    disk = Tmpfs(t, files={"battle.replay": read(BATTLE)})
    target = os.path.join(disk.path, "battle.replay")
    r = t.sim("--frames", "60", "--record", target)
    t.expect(r.code == 3 and "cannot write the recording %s: No space left on device" % target in r.err, r)
    t.expect(read(target) == read(BATTLE), "the recording that was there changed")
    t.expect(disk.names() == ["battle.replay"], "left on the disk: %s" % disk.names())


def pad_header(t, slack):
    """Player scripts whose names make the game's recording header end `slack` bytes before
    the end of a page: the first frames still fit on the file's first page, the next do not."""
    with open(BATTLE) as f:
        text = f.read()
    header = len(text[:text.index("start\n") + 6])  # the same data, a seed of one digit
    scripts = t.folder("home", ".local", "share", "kelvane", "Scripts")
    missing = os.sysconf("SC_PAGE_SIZE") - slack - header
    index = 0
    while missing > 0:
        # Each script adds "file HASH Player/Scripts/NAME\n": 38 bytes and its name.
        # The last name takes what is left, so the one before leaves it at least 4 bytes.
        length = missing - 38 if missing - 38 <= 200 else min(200, missing - 38 - 42)
        t.expect(length >= 4, "the header is too long to pad to the page")
        name = "%03d" % index + "p" * (length - 3)
        t.write(os.path.join(scripts, name), "YOURSHIP\n")
        missing -= 38 + length
        index += 1
    t.expect(missing == 0, "the header cannot be padded to the page")


@case("a disk that fills during play: one line, play goes on, the recording verifies up to there")
def recording_cut_by_full_disk(t):
    import time
    disk = Tmpfs(t, size="1m", full=False)
    pad_header(t, 50)
    env = t.env({"SDL_VIDEODRIVER": "dummy", "XDG_STATE_HOME": disk.path})
    folder = os.path.join(disk.path, "kelvane", "replays")
    filled = []

    def later():
        # Once the game has written its first frames the disk is filled under it: the next
        # second of frames crosses into a page there is no room for. 4 s later it is ended.
        if not filled:
            if os.path.isdir(folder) and any(has_frames(os.path.join(folder, n)) for n in os.listdir(folder)):
                disk.fill()
                filled.append(time.time())
            return False
        return time.time() > filled[0] + 4
    r = t.dummy_game("--data", t.data, "--windowed", "--seed", "3", env=env, until=later)
    own = [l for l in r.err.splitlines() if l.startswith("kelvane:")]
    t.expect(r.code == 0 and len(own) == 1 and "No space left on device; the game goes on unrecorded" in own[0], r)
    names = os.listdir(folder)
    t.expect(len(names) == 1, names)
    path = os.path.join(folder, names[0])
    t.expect(os.path.getsize(path) <= os.sysconf("SC_PAGE_SIZE"), "the recording grew past its page")
    r = t.sim("--replay", path, "--verify", env=env)
    t.expect(r.code == 4 and r.out.startswith("replay verified: ") and "the recording is truncated" in r.err, r)


if __name__ == "__main__":
    run_cases(__doc__.splitlines()[0])
