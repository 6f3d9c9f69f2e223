"""Several games at once over one home and one data folder, a game killed while it plays,
and the folder of recordings kept to the newest 20. Every recording a game leaves is its
own and verifies; no game removes or writes into another's; the ship archive one game
writes beside the data is never seen half written by another.

usage: test_games_at_once.py GAME SIM DATA_DIR [CASE...]
"""

import os
import signal
import time

from faults import bmp, case, definition, finish, has_frames, recordings, run_cases, start

ROUNDS = 10


def games_together(t, count, data, extra_runners=()):
    """Starts `count` games (SDL's dummy driver) and the given runner argument lists at the
    same moment over one home; once every game has written frames the games are closed as
    a window manager closes them. Returns the games' and the runners' results."""
    before = set(recordings(t.home))
    env = t.env({"SDL_VIDEODRIVER": "dummy"})
    began = time.time()
    games = [start([t.game_path, "--data", data, "--windowed"], env) for _ in range(count)]
    runners = [start([t.sim_path, "--data", data] + list(args), env) for args in extra_runners]
    deadline = began + 40
    while time.time() < deadline and all(g.poll() is None for g in games):
        if sum(has_frames(p) for p in recordings(t.home) if p not in before) >= count:
            break
        time.sleep(0.05)
    for game in games:
        if game.poll() is None:
            game.send_signal(signal.SIGTERM)
    game_results = [finish(g, [t.game_path], began=began) for g in games]
    runner_results = [finish(r, [t.sim_path] + list(a), began=began) for r, a in zip(runners, extra_runners)]
    return game_results, runner_results, [p for p in recordings(t.home) if p not in before]


def verified(t, path):
    r = t.sim("--replay", path, "--verify")
    t.expect(r.code == 0 and r.out.startswith("replay verified: ") and r.out != "replay verified: 0 frames\n", r)


@case("two games started together, %d times: two recordings of their own, both verify" % ROUNDS)
def two_games(t):
    data = t.game_folder()  # shared: both write Data/Ships.dxg into it
    for _ in range(ROUNDS):
        games, _, made = games_together(t, 2, data)
        for r in games:
            # Nothing to say: no lost recording, no settings save that failed.
            t.expect(r.code == 0 and not [l for l in r.err.splitlines() if l.startswith("kelvane:")], r)
        t.expect(len(made) == 2, "recordings made: %s" % made)
        for path in made:
            verified(t, path)
        left = [n for n in os.listdir(os.path.dirname(made[0])) if n.startswith(".")]
        t.expect(not left, "temporaries left among the recordings: %s" % left)


@case("two runners and a game over a data folder with two 20 MB pictures all start")
def large_pictures(t):
    ships = t.folder("home", ".local", "share", "kelvane", "Ships")
    picture = bmp(2600, 2600)  # 20 MB each
    for name in ("Colossus", "Leviathan"):
        t.write(os.path.join(ships, name + ".ini"), definition(name))
        t.write(os.path.join(ships, name + ".bmp"), picture)
    data = t.game_folder()
    runner = ["--frames", "30"]
    games, runners, made = games_together(t, 1, data, [runner, runner])
    for r in games + runners:
        t.expect(r.code == 0 and "error" not in r.err.lower(), r)
        t.small(r)
    t.expect(len(made) == 1, made)
    verified(t, made[0])
    # The archive left beside the data is whole: the next start reads it.
    r = t.sim("--frames", "2", data=data)
    t.expect(r.code == 0 and r.err == "", r)


@case("a game killed while it plays leaves a recording that verifies up to there")
def killed_game(t):
    process = start([t.game_path, "--data", t.data, "--windowed"], t.env({"SDL_VIDEODRIVER": "dummy"}))
    deadline = time.time() + 30
    while time.time() < deadline and not any(has_frames(p) for p in recordings(t.home)):
        time.sleep(0.05)
    time.sleep(0.5)
    os.killpg(process.pid, signal.SIGKILL)
    process.wait()
    made = recordings(t.home)
    t.expect(len(made) == 1, made)
    r = t.sim("--replay", made[0], "--verify")
    t.expect(r.code == 4 and r.out.startswith("replay verified: ") and r.out != "replay verified: 0 frames\n" and
             "the recording is truncated" in r.err, r)


@case("the folder of recordings keeps the newest 20, by their time and number")
def pruning(t):
    folder = t.folder("home", ".local", "state", "kelvane", "replays")
    # 24 recordings of earlier games, oldest first: 12 begun in one second (numbered 1 to
    # 12: "-10" is newer than "-5" only when read as a number), then 12 on a later day.
    names = ["kelvane-20250101-080000%s.replay" % ("" if n == 1 else "-%d" % n) for n in range(1, 13)]
    names += ["kelvane-20250102-1200%02d.replay" % s for s in range(12)]
    with open(os.path.join(os.path.dirname(__file__), "..", "e2e", "replays", "battle.replay")) as f:
        recording = f.read()
    for name in names:
        t.write(os.path.join(folder, name), recording)
    others = ["notes.txt", "kelvane-last-one.replay"]  # not names the game gives: never touched
    for name in others:
        t.write(os.path.join(folder, name), "mine\n")
    games, _, made = games_together(t, 1, t.data)
    t.expect(games[0].code == 0 and len(made) == 1, (games[0], made))
    kept = sorted(os.listdir(folder))
    # The new one and the newest 19 before it: the oldest five are gone.
    expected = sorted(names[5:] + others + [os.path.basename(made[0])])
    t.expect(kept == expected, "kept: %s\nexpected: %s" % (kept, expected))


if __name__ == "__main__":
    run_cases(__doc__.splitlines()[0])
