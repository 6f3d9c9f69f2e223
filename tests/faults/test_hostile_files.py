"""Hostile files given to the runner, the checker and the game: forged and damaged
recordings, huge and endless files, FIFOs, links that loop, files that cannot be read.
Nothing hangs (every program under a time limit), nothing ends in a signal, memory stays
under 300 MB where a file is huge or endless, and every refusal names the file and says why.

usage: test_hostile_files.py GAME SIM DATA_DIR [CASE...]
"""

import json
import os
import re
import stat

from faults import case, run_cases, bmp, definition, has_frames, recordings

HERE = os.path.dirname(os.path.abspath(__file__))
BATTLE = os.path.join(HERE, "..", "e2e", "replays", "battle.replay")
GIB3 = 3 << 30


def battle_header():
    """The committed recording's header: the fingerprint of the classic ship types, so the
    runner plays it over Case.classic_folder()."""
    with open(BATTLE) as f:
        text = f.read()
    return text[:text.index("start\n") + 6]


def own_ship(t, name, picture=None):
    """A ship type of the player's own (XDG_DATA_HOME/kelvane/Ships); returns its picture path."""
    ships = t.folder("home", ".local", "share", "kelvane", "Ships")
    t.write(os.path.join(ships, name + ".ini"), definition(name))
    path = os.path.join(ships, name + ".bmp")
    if picture is not None:
        t.write(path, picture)
    return path


# ---- recordings: forged, huge, endless, damaged

@case("a forged run of 2^40 frames is damage, found at once")
def forged_run(t):
    path = t.write("forged.replay", battle_header() + "frames 1099511627776\n")
    r = t.sim("--replay", path, "--verify", data=t.classic_folder(), timeout=20)
    t.expect(r.code == 2, r)
    t.expect("line " in r.err and "a tick count must be a whole number up to 25" in r.err, r)
    t.expect(not r.out.startswith("replay verified"), r)
    # Runs that pass a checksum's frame are damage too, however short each is.
    path = t.write("no-checks.replay", battle_header() + "frames 20\nframes 20\n")
    r = t.sim("--replay", path, "--verify", data=t.classic_folder(), timeout=20)
    t.expect(r.code == 2 and "passes frame 25 without its checksum" in r.err, r)


@case("a 255 MiB recording of mouse lines is read as a stream")
def endless_mouse(t):
    path = os.path.join(t.work, "mouse.replay")
    with open(path, "wb") as f:
        f.write(battle_header().encode())
        chunk = b"mouse 0\n" * (1 << 16)
        for _ in range((255 << 20) // len(chunk)):
            f.write(chunk)
    r = t.sim("--replay", path, "--verify", data=t.classic_folder(), timeout=180)
    t.expect(r.code == 4 and r.out == "replay verified: 0 frames\n", r)  # cut: no frames, no end
    t.small(r)


@case("a recording of 3 GB is refused before it is read")
def huge_recording(t):
    path = t.sparse("huge.replay", GIB3)
    r = t.sim("--replay", path, "--verify", data=t.classic_folder(), timeout=20)
    t.expect(r.code == 2, r)
    t.expect(r.err == "kelvane-sim: cannot replay %s: it holds 3 GiB, more than the 256 MiB a recording may take\n"
             % path, r)
    t.small(r)


@case("a FIFO, a folder, a device: the recording is refused with what it is")
def recording_not_a_file(t):
    for path, what in ((t.fifo("fifo.replay"), "it is a FIFO (named pipe), not a regular file"),
                       (t.folder("dir.replay"), "it is a folder, not a file"),
                       ("/dev/zero", "it is a device, not a regular file")):
        r = t.sim("--replay", path, "--verify", data=t.classic_folder(), timeout=20)
        t.expect(r.code == 2 and r.err == "kelvane-sim: cannot replay %s: %s\n" % (path, what), r)
        t.small(r)


@case("a damaged recording is not called verified")
def damaged_recording(t):
    with open(BATTLE) as f:
        text = f.read()
    at = text.index("\nframes 9\n")
    path = t.write("damaged.replay", text[:at + 1] + "frames -9" + text[at + 9:])
    r = t.sim("--replay", path, "--verify", data=t.classic_folder())
    t.expect(r.code == 2 and "replay verified" not in r.out, r)
    t.expect("the recording is damaged: line " in r.err, r)


@case("a recording cut anywhere is refused in its header and verifies up to the cut after it")
def cut_recordings(t):
    with open(BATTLE, "rb") as f:
        whole = f.read()
    start = whole.index(b"start\n") + 6
    check = whole.index(b"check 50 ")
    for cut in (10, start - 3, start, check + 12, len(whole) - 5):
        path = t.write("cut.replay", whole[:cut])
        r = t.sim("--replay", path, "--verify", data=t.classic_folder())
        if cut < start:
            t.expect(r.code == 2 and r.out == "" and "cannot replay" in r.err, r)
        else:
            # Frames before the cut: 0 right after the header, 50 at the cut check, 400 in the end line.
            t.expect(r.code == 4 and "the recording is truncated" in r.err, r)
            t.expect(r.out == "replay verified: %d frames\n" % {start: 0, check + 12: 50}.get(cut, 400), r)


@case("a bit flipped anywhere in the frames: never a signal or a hang, never verified in the frame stream")
def flipped_bits(t):
    import random
    with open(BATTLE, "rb") as f:
        whole = f.read()
    begin = whole.index(b"start\n") + 6
    chooser = random.Random(22)
    for _ in range(24):
        at = chooser.randrange(begin, len(whole))
        flipped = bytearray(whole)
        flipped[at] ^= 1 << chooser.randrange(8)
        path = t.write("flipped.replay", bytes(flipped))
        r = t.sim("--replay", path, "--verify", data=t.classic_folder(), timeout=20)
        line = whole[whole.rindex(b"\n", 0, at) + 1:whole.index(b"\n", at) + 1]
        t.expect(r.code in (0, 1, 2, 4), r)
        # The frame stream itself (runs, checksums, the end) cannot change unnoticed; an
        # input can (a key that does nothing at that moment).
        if line.split(b" ")[0] in (b"frames", b"check", b"end"):
            t.expect(r.code != 0, "flipped in %r:\n%s" % (line, r))


# ---- pictures, definitions, scripts, settings: huge and endless

@case("a 3 GB ship picture is refused by the runner, the checker and the game")
def huge_picture(t):
    picture = own_ship(t, "Giant")
    t.sparse(picture, GIB3)
    refusal = "Cannot open file %s: it holds 3 GiB, more than the 64 MiB a ship picture may take" % picture
    r = t.sim("--frames", "2", timeout=30)
    t.expect(r.code == 1 and refusal in r.err, r)
    t.small(r, "runner")
    r = t.check(timeout=30)
    t.expect(r.code == 1 and refusal in r.out, r)
    t.small(r, "checker")
    r = t.dummy_game("--data", t.data, timeout=30)
    t.expect(r.code == 1 and "kelvane: the game cannot start: " + refusal in r.err, r)
    t.small(r, "game")


@case("a ship picture that is /dev/zero or a FIFO is refused at once")
def endless_picture(t):
    zero = own_ship(t, "Zero")
    os.symlink("/dev/zero", zero)
    r = t.sim("--frames", "2", timeout=20)
    t.expect(r.code == 1 and "Cannot open file %s: it is a device, not a regular file" % zero in r.err, r)
    t.small(r, "runner")
    r = t.check(timeout=20)
    t.expect(r.code == 1 and zero in r.out and "it is a device" in r.out, r)
    t.small(r, "checker")
    os.unlink(zero)
    fifo = t.fifo(zero)
    r = t.sim("--frames", "2", timeout=20)
    t.expect(r.code == 1 and "Cannot open file %s: it is a FIFO" % fifo in r.err, r)
    r = t.dummy_game("--data", t.data, timeout=20)
    t.expect(r.code == 1 and "it is a FIFO" in r.err, r)


@case("huge and FIFO definitions and scripts")
def huge_definitions_and_scripts(t):
    ships = t.folder("home", ".local", "share", "kelvane", "Ships")
    scripts = t.folder("home", ".local", "share", "kelvane", "Scripts")
    t.sparse(os.path.join(ships, "Heavy.ini"), GIB3)
    t.fifo(os.path.join(ships, "Piped.ini"))
    t.sparse(os.path.join(scripts, "forever"), GIB3)
    t.fifo(os.path.join(scripts, "piped"))
    r = t.check(timeout=30)
    t.expect(r.code == 1, r)
    t.expect("Heavy.ini:0: error: it holds 3 GiB, more than the 1 MiB a ship definition may take" in r.out, r)
    t.expect("Piped.ini:0: error: no definition the game can read (it is a FIFO (named pipe), not a regular file)"
             in r.out, r)
    t.expect("forever:0: error: the script cannot be read (it holds 3 GiB, more than the 1 MiB a script may take)"
             in r.out, r)
    t.expect("piped:0: error: no script EXEC can run (it is a FIFO" in r.out, r)
    t.small(r, "checker")
    r = t.sim("--frames", "2", timeout=30)
    t.expect(r.code == 1 and "more than the 1 MiB a ship definition may take" in r.err, r)
    t.small(r, "runner")
    os.unlink(os.path.join(ships, "Heavy.ini"))
    scenario = t.write("exec.json", json.dumps({"steps": [{"after": 1, "command": "EXEC forever"},
                                                          {"after": 2, "command": "EXEC piped"}]}))
    r = t.sim("--scenario", scenario, "--frames", "4", "--dump", "last:-", timeout=30)
    t.expect(r.code == 0 and json.loads(r.out)["SwallowedErrors"] == 1, r)  # the refused EXEC is passed over
    t.small(r, "runner")


@case("settings.ini that is huge, a FIFO, garbage or without [Settings]")
def settings(t):
    config = t.folder("home", ".config", "kelvane")
    path = os.path.join(config, "settings.ini")
    cases = [
        (lambda: t.sparse(path, GIB3), "is damaged (it holds 3 GiB, more than the 64 KiB the settings file may take)"),
        (lambda: t.fifo(path), "cannot be read (it is a FIFO (named pipe), not a regular file)"),
        (lambda: t.write(path, "just some words, no settings\n"), "is damaged (line 1 is no setting"),
        (lambda: t.write(path, "[Display]\nVolume=50\n"), "is damaged (it has no [Settings] section)"),
    ]
    for make, line in cases:
        if os.path.lexists(path):
            os.unlink(path)
        make()
        state = recordings(t.home)
        r = t.dummy_game("--data", t.data, "--windowed",
                         until=lambda: any(has_frames(p) for p in recordings(t.home) if p not in state), timeout=30)
        t.expect(r.code == 0, r)
        own = [l for l in r.err.splitlines() if l.startswith("kelvane:")]
        t.expect(len(own) == 1 and own[0].startswith("kelvane: %s %s" % (path, line)) and
                 own[0].endswith("; using the default settings"), r)
        t.small(r, "game")


# ---- the runner's outputs, merging

@case("a dump or shot of a frame the run never reaches fails naming the option")
def unreached_outputs(t):
    dump = os.path.join(t.work, "late.json")
    r = t.sim("--frames", "10", "--dump", "500:" + dump)
    t.expect(r.code == 1 and r.err == "kelvane-sim: --dump 500:%s: the run ends after tick 10, so tick 500 never "
             "comes\n" % dump, r)
    shot = os.path.join(t.work, "late.png")
    r = t.sim("--frames", "10", "--shot", "11:" + shot)
    t.expect(r.code == 1 and "--shot 11:" + shot in r.err, r)
    r = t.sim("--replay", BATTLE, "--dump", "401:" + dump, data=t.classic_folder())  # the recording holds 400 frames
    t.expect(r.code == 1 and "--dump 401:%s: the run ends after tick 400" % dump in r.err, r)
    t.expect(not os.path.exists(dump) and not os.path.exists(shot), "a file was written")


def tournament_parts(t):
    parts = []
    for index in (1, 2):
        part = os.path.join(t.work, "part-%d.json" % index)
        r = t.sim("--tournament", "--ships", "Vigil,Wisp,Talon", "--games", "2", "--ticks", "300", "--jobs", "1",
                  "--shard", "%d/2" % index, "--json", part, timeout=120)
        t.expect(r.code == 0, r)
        parts.append(part)
    return parts


@case("a result file changed by hand is refused by --merge")
def flipped_winner(t):
    parts = tournament_parts(t)
    r = t.sim("--merge", *parts)
    t.expect(r.code == 0, r)
    with open(parts[0]) as f:
        text = f.read()
    # A draw becomes a win, or a win changes hands.
    match = re.search(r'"first":"(\w+)","second":"(\w+)","game":\d+,"seed":\d+,"winner":(null|"\w+")', text)
    t.expect(match is not None, text[:400])
    winner = '"%s"' % (match.group(1) if match.group(3) != '"%s"' % match.group(1) else match.group(2))
    forged = text[:match.start(3)] + winner + text[match.end(3):]
    t.write(parts[0], forged)
    r = t.sim("--merge", *parts)
    t.expect(r.code == 2 and r.err == "kelvane-sim: cannot merge: %s: its checksum does not match what it holds: the "
             "file was changed or damaged since it was written\n" % parts[0], r)


@case("--merge of a folder, /dev/zero, a FIFO and a 3 GB file")
def merge_not_a_file(t):
    for path, what in ((t.folder("results"), "it is a folder, not a file"),
                       ("/dev/zero", "it is a device, not a regular file"),
                       (t.fifo("results.fifo"), "it is a FIFO (named pipe), not a regular file"),
                       (t.sparse("huge.json", GIB3),
                        "it holds 3 GiB, more than the 64 MiB a tournament's result file may take")):
        r = t.sim("--merge", path, timeout=20)
        t.expect(r.code == 2 and r.err == "kelvane-sim: cannot merge: %s: %s\n" % (path, what), r)
        t.small(r)


# ---- messages that said too little or the wrong thing

@case("a Data/Ships folder that cannot be read is not a folder without ships")
def unreadable_ships(t):
    game = t.game_folder(copy=True)
    ships = os.path.join(game, "Data", "Ships")
    os.chmod(ships, 0)  # root reads it anyway: the programs run as nobody
    home = t.folder("nobody")
    os.chmod(home, 0o777)
    r = t.sim("--frames", "2", data=game, env=t.env(home=home), user="nobody")
    t.expect(r.code == 1 and "kelvane-sim: the game cannot start: Cannot read the folder %s: Permission denied" % ships
             in r.err, r)
    t.expect("holds no .ini" not in r.err, r)
    r = t.check(data=game, env=t.env(home=home), user="nobody")
    t.expect(r.code == 1 and "%s:0: error: the folder cannot be read (Permission denied): the game cannot start"
             % ships in r.out, r)


@case("a picture that cannot be read is not called missing")
def unreadable_picture(t):
    game = t.game_folder(copy=True)
    picture = os.path.join(game, "Data", "Ships", "Vigil.bmp")
    os.chmod(picture, 0)
    home = t.folder("nobody")
    os.chmod(home, 0o777)
    r = t.check(data=game, env=t.env(home=home), user="nobody")
    t.expect(r.code == 1 and "is missing" not in r.out, r)
    t.expect("%s:0: error: the game cannot read this picture and cannot start: \"Cannot open file %s: Permission "
             "denied\"" % (picture, picture) in r.out, r)


@case("Loading.dxg that is not there or is a folder: the reason with the file")
def loading_screen(t):
    game = t.game_folder()
    loading = os.path.join(game, "Data", "Loading.dxg")
    os.unlink(loading)
    r = t.sim("--frames", "2", data=game)
    t.expect(r.code == 1 and "Cannot open file %s: No such file or directory" % loading in r.err, r)
    os.mkdir(loading)
    r = t.sim("--frames", "2", data=game)
    t.expect(r.code == 1 and "Cannot open file %s: it is a folder, not a file" % loading in r.err, r)


@case("the folder of recordings that cannot be made: the reason")
def recordings_folder(t):
    t.write(os.path.join(t.home, ".local", "state", "kelvane"), "a file where the folder should be")
    folder = os.path.join(t.home, ".local", "state", "kelvane", "replays/")
    r = t.dummy_game("--data", t.data, "--windowed", until=3)  # plays on unrecorded, ended after 3 s
    own = [l for l in r.err.splitlines() if l.startswith("kelvane:")]
    t.expect(r.code == 0 and own == ["kelvane: cannot make the folder of recordings %s: Not a directory; the game goes "
                                     "on unrecorded" % folder], r)


@case("links that loop among ship files and scripts are findings")
def symlink_loops(t):
    base = t.folder("home", ".local", "share", "kelvane")
    for folder, a, b in (("Ships", "Loop.ini", "Round.ini"), ("Scripts", "circle", "square")):
        os.makedirs(os.path.join(base, folder), exist_ok=True)
        os.symlink(os.path.join(base, folder, b), os.path.join(base, folder, a))
        os.symlink(os.path.join(base, folder, a), os.path.join(base, folder, b))
    r = t.check()
    t.expect(r.code == 1, r)
    for name in ("Ships/Loop.ini", "Ships/Round.ini"):
        t.expect("%s/%s:0: error: no definition the game can read (Too many levels of symbolic links): the game "
                 "skips it" % (base, name) in r.out, r)
    for name in ("Scripts/circle", "Scripts/square"):
        t.expect("%s/%s:0: error: no script EXEC can run (Too many levels of symbolic links)" % (base, name) in r.out, r)


@case("the checker cuts long lines and stops where the game stops a script")
def long_scripts(t):
    scripts = t.folder("home", ".local", "share", "kelvane", "Scripts")
    t.write(os.path.join(scripts, "wide"), "CREATESHIP " + "W" * 900000 + "\n")  # a line of 900 kB
    t.write(os.path.join(scripts, "tall"), "\n" * 2000000)  # 2,000,000 lines: beyond the limit of its size
    t.write(os.path.join(scripts, "long"), "YOURSHIP\n" * 20000)  # 20,000 lines within it
    r = t.check(timeout=30)
    t.expect(r.code == 1, r)
    t.expect(len(r.out) < 20000, "a report of %d bytes:\n%s" % (len(r.out), r.out[:2000]))
    t.expect(max(len(line) for line in r.out.splitlines()) < 400, r)
    t.expect("(900000 characters in all)" in r.out, r)
    t.expect("tall:0: error: the script cannot be read (it holds 1.9 MiB, more than the 1 MiB a script may take)"
             in r.out, r)
    t.expect("long:10001: warning: the game runs at most 10000 script lines for one command" in r.out, r)
    t.small(r)


if __name__ == "__main__":
    run_cases(__doc__.splitlines()[0])
