"""The fault suite's helpers: the game, the runner and the checker started against hostile
surroundings (full and read-only disks, FIFOs, huge and endless files, links that loop,
several games at once), each program under a time limit and with its peak memory measured.

A test file lists its cases with @case; run_cases() runs them all (a failing case does not
stop the others), prints one line per case and exits 0, 1 (a case failed) or 77 (every
case skipped, e.g. no root to mount a small file system). A case skips by raising Skip
with the reason.

    @case("a FIFO recording is refused at once")
    def fifo(t):
        path = t.fifo("game.replay")
        r = t.sim("--replay", path, "--verify")
        t.expect(r.code == 2 and "FIFO" in r.err, r)
"""

import os
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time
import traceback

SKIP = 77
# Every case with a huge or endless file stays below this much resident memory.
MEMORY_LIMIT_KIB = 300 * 1024
TIMEOUT = 60

_cases = []


class Skip(Exception):
    pass


class Failure(Exception):
    pass


def case(name):
    def register(function):
        _cases.append((name, function))
        return function
    return register


class Result:
    """One program's run: exit code, output, peak resident memory and time."""

    def __init__(self, argv, code, out, err, peak_kib, seconds):
        self.argv, self.code, self.out, self.err = argv, code, out, err
        self.peak_kib, self.seconds = peak_kib, seconds

    def __str__(self):
        return "%s: exit %s after %.1f s, peak %d MiB\nstdout: %s\nstderr: %s" % (
            " ".join(os.path.basename(a) if i == 0 else a for i, a in enumerate(self.argv))[:300], self.code,
            self.seconds, self.peak_kib // 1024, self.out[-800:], self.err[-1500:])


def start(argv, env=None, stdin=None, stdout=subprocess.PIPE, stderr=subprocess.PIPE, user=None):
    """Starts a program; with `user` (when root) it runs as that user."""
    if user is not None and os.geteuid() == 0:
        argv = ["setpriv", "--reuid=" + user, "--regid=nogroup", "--clear-groups", "--"] + list(argv)
    return subprocess.Popen(argv, env=env, stdin=stdin if stdin is not None else subprocess.DEVNULL, stdout=stdout,
                            stderr=stderr, text=True, errors="replace", start_new_session=True)


def finish(process, argv, timeout=TIMEOUT, began=None):
    """Waits for a started program under the time limit; its rusage gives the peak memory.
    A program that outlives the limit is killed, and the case fails: it hung."""
    began = began or time.time()
    deadline = began + timeout
    out, err = [], []
    # Output is read as it comes (a chatty program must not block on a full pipe).
    import threading

    def drain(stream, into):
        if stream:
            into.append(stream.read())
    readers = [threading.Thread(target=drain, args=(process.stdout, out)),
               threading.Thread(target=drain, args=(process.stderr, err))]
    for reader in readers:
        reader.start()
    status = usage = None
    while True:
        pid, status, usage = os.wait4(process.pid, os.WNOHANG)
        if pid == process.pid:
            break
        if time.time() > deadline:
            os.killpg(process.pid, signal.SIGKILL)
            os.wait4(process.pid, 0)
            for reader in readers:
                reader.join()
            raise Failure("%s did not end within %d s: it hangs\nstderr: %s" % (
                " ".join(argv)[:300], timeout, "".join(err)[-800:]))
        time.sleep(0.02)
    process.returncode = os.waitstatus_to_exitcode(status)
    for reader in readers:
        reader.join()
    result = Result(argv, process.returncode, "".join(out), "".join(err), usage.ru_maxrss, time.time() - began)
    if result.code < 0:
        raise Failure("%s ended in signal %d (%s)\n%s" % (
            os.path.basename(argv[0]), -result.code, signal.Signals(-result.code).name, result))
    return result


def run(argv, env=None, timeout=TIMEOUT, stdin=None, user=None):
    began = time.time()
    return finish(start(argv, env, stdin=stdin, user=user), argv, timeout, began)


class Tmpfs:
    """A small file system of its own, mounted for the case and gone after it: full (every
    byte taken) or read-only. Needs root; elsewhere the case is skipped with the reason."""

    def __init__(self, t, size="64k", full=True, read_only=False, files=None):
        if os.geteuid() != 0:
            raise Skip("a full or read-only disk is a tmpfs mounted by the test, which needs root")
        self.path = tempfile.mkdtemp(prefix="kelvane-disk-", dir=t.work)
        os.chmod(self.path, 0o777)
        done = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=%s,mode=0777" % size, "tmpfs", self.path],
                              capture_output=True, text=True)
        if done.returncode != 0:
            raise Skip("cannot mount a tmpfs: " + done.stderr.strip())
        t.cleanups.append(self.unmount)
        for name, contents in (files or {}).items():
            full_path = os.path.join(self.path, name)
            os.makedirs(os.path.dirname(full_path), exist_ok=True)
            with open(full_path, "wb") as f:
                f.write(contents)
        if full:
            self.fill()
        if read_only:
            subprocess.run(["mount", "-o", "remount,ro", self.path], check=True)

    def fill(self):
        # Byte by byte at the end, so that the last bytes of the last page are taken too.
        descriptor = os.open(os.path.join(self.path, ".filler"), os.O_WRONLY | os.O_CREAT | os.O_APPEND)
        try:
            for piece in (65536, 4096, 1):
                try:
                    while True:
                        os.write(descriptor, b"x" * piece)
                except OSError:
                    pass
        finally:
            os.close(descriptor)

    def unmount(self):
        subprocess.run(["umount", "-l", self.path], capture_output=True)
        shutil.rmtree(self.path, ignore_errors=True)

    def names(self):
        return sorted(n for n in os.listdir(self.path) if n != ".filler")


class Case:
    """What a case works with: the programs, a private folder removed afterwards, and helpers."""

    def __init__(self, game, sim, data):
        self.game_path, self.sim_path, self.data = game, sim, os.path.abspath(data)
        self.work = tempfile.mkdtemp(prefix="kelvane-fault-")
        os.chmod(self.work, 0o755)  # cases run some programs as nobody
        self.cleanups = []
        self.home = self.folder("home")
        self.notes = []

    def close(self):
        for cleanup in reversed(self.cleanups):
            cleanup()
        shutil.rmtree(self.work, ignore_errors=True)

    # ---- folders and files -----------------------------------------------------------

    def folder(self, *parts):
        path = os.path.join(self.work, *parts)
        os.makedirs(path, exist_ok=True)
        return path

    def write(self, path, contents):
        path = os.path.join(self.work, path) if not os.path.isabs(path) else path
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb" if isinstance(contents, bytes) else "w") as f:
            f.write(contents)
        return path

    def fifo(self, path):
        path = os.path.join(self.work, path) if not os.path.isabs(path) else path
        os.makedirs(os.path.dirname(path), exist_ok=True)
        os.mkfifo(path)
        return path

    def sparse(self, path, size):
        """A file of `size` bytes that takes no room: huge, without filling the disk."""
        path = self.write(path, b"")
        os.truncate(path, size)
        return path

    def game_folder(self, name="game", copy=False):
        """A private game folder over the built data: links (each writes its own Ships.dxg),
        or copies where a case changes the files themselves."""
        root = self.folder(name)
        for part in ("Data", "Scripts"):
            source = os.path.join(self.data, part)
            target = os.path.join(root, part)
            if copy:
                shutil.copytree(source, target, ignore=shutil.ignore_patterns("Ships.dxg", ".*"))
            else:
                os.makedirs(target)
                for entry in os.listdir(source):
                    if entry != "Ships.dxg" and not entry.startswith("."):
                        os.symlink(os.path.join(source, entry), os.path.join(target, entry))
        return root

    def classic_folder(self):
        """A game folder whose ship types are the classic ones the committed recordings were
        made with (the build's ClassicShips/), so the runner plays those recordings."""
        root = os.path.join(self.work, "classic")
        if os.path.isdir(root):
            return root
        root = self.game_folder("classic")
        classic = os.path.join(self.data, "ClassicShips")
        if os.path.isdir(classic):
            ships = os.path.join(root, "Data", "Ships")
            os.remove(ships)
            os.symlink(classic, ships)
        return root

    def env(self, extra=None, home=None):
        """A private home (settings, recordings, own ships, cache) and no sound card."""
        home = home or self.home
        env = dict(os.environ)
        for name in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME", "DISPLAY",
                     "WAYLAND_DISPLAY"):
            env.pop(name, None)
        env.update({"HOME": home, "SDL_AUDIODRIVER": "dummy"})
        # SDL, Mesa and libdbus keep allocations to the end: no leak check of the real game.
        if "ASAN_OPTIONS" in env:
            env["ASAN_OPTIONS"] += ":detect_leaks=0"
        for name, value in (extra or {}).items():
            if value is None:
                env.pop(name, None)
            else:
                env[name] = value
        return env

    # ---- the programs ----------------------------------------------------------------

    def sim(self, *args, env=None, timeout=TIMEOUT, data=None, user=None):
        argv = [self.sim_path] + (["--data", data or self.data] if "--merge" not in args else []) + list(args)
        return run(argv, env or self.env(), timeout, user=user)

    def check(self, data=None, env=None, timeout=TIMEOUT, user=None):
        return run([self.game_path, "--check", "--data", data or self.data], env or self.env(), timeout, user=user)

    def dummy_game(self, *args, env=None, until=None, timeout=TIMEOUT):
        """The real game on SDL's dummy video driver (no display needed): started, then
        ended with SIGTERM (which SDL turns into the window closing) once `until()` holds
        (a number: after that many seconds), or left to end by itself when `until` is None."""
        argv = [self.game_path] + list(args)
        env = env or self.env({"SDL_VIDEODRIVER": "dummy"})
        began = time.time()
        if isinstance(until, (int, float)):
            seconds = until
            until = lambda: time.time() > began + seconds
        process = start(argv, env)
        if until is not None:
            while not until() and process.poll() is None and time.time() < began + timeout:
                time.sleep(0.05)
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
        return finish(process, argv, timeout, began)

    # ---- checks ----------------------------------------------------------------------

    def expect(self, condition, what):
        if not condition:
            raise Failure(str(what))

    def small(self, result, what=""):
        """The program stayed below the memory limit of the suite."""
        self.notes.append("%s%d MiB" % (what + " " if what else "", result.peak_kib // 1024))
        self.expect(result.peak_kib < MEMORY_LIMIT_KIB,
                    "peak memory %d MiB, above the %d MiB of the suite\n%s" % (
                        result.peak_kib // 1024, MEMORY_LIMIT_KIB // 1024, result))


def run_cases(description):
    """Runs every registered case (or those named on the command line after the paths):
    GAME SIM DATA_DIR [CASE...]"""
    if len(sys.argv) < 4:
        print("usage: %s GAME SIM DATA_DIR [CASE...]" % sys.argv[0])
        sys.exit(2)
    game, sim, data = sys.argv[1:4]
    wanted = sys.argv[4:]
    print(description)
    failed = skipped = passed = 0
    began = time.time()
    for name, function in _cases:
        if wanted and not any(w in name for w in wanted):
            continue
        t = Case(game, sim, data)
        case_began = time.time()
        try:
            function(t)
            passed += 1
            notes = " (" + ", ".join(t.notes) + ")" if t.notes else ""
            print("PASS %-70s %5.1f s%s" % (name, time.time() - case_began, notes))
        except Skip as reason:
            skipped += 1
            print("SKIP %s: %s" % (name, reason))
        except Failure as failure:
            failed += 1
            print("FAIL %s: %s" % (name, failure))
        except Exception:
            failed += 1
            print("FAIL %s: %s" % (name, traceback.format_exc()))
        finally:
            t.close()
        sys.stdout.flush()
    print("%d passed, %d failed, %d skipped in %.1f s" % (passed, failed, skipped, time.time() - began))
    if failed:
        sys.exit(1)
    if skipped and not passed:
        sys.exit(SKIP)


def bmp(width, height, colour=(0x88, 0x99, 0xAA)):
    """A 24-bit BMP of one colour: a ship picture of any size, made fast."""
    row = bytes(colour[::-1]) * width
    row += b"\0" * ((4 - len(row) % 4) % 4)
    pixels = row * height
    header = b"BM" + (54 + len(pixels)).to_bytes(4, "little") + b"\0\0\0\0" + (54).to_bytes(4, "little")
    info = (40).to_bytes(4, "little") + width.to_bytes(4, "little") + height.to_bytes(4, "little") + \
        (1).to_bytes(2, "little") + (24).to_bytes(2, "little") + b"\0" * 24
    return header + info + pixels


def definition(name):
    """A ship definition that loads: the shipped Vigil's numbers under another name."""
    return ("[OverallInfo]\nShipName=%s\nFullShipName=%s\n[StrengthIndices]\nPrimaryWeapon=300\n"
            "SecondaryWeapon=300\nAccurancy=600\nShields=300\nHull=300\nSpeed=600\nManoeuvrability=9000\n"
            "[Weapons]\nPrimaryWeaponType=PHASER_ORANGE\nSecondaryWeaponType=TORPEDO_PHOTON\n"
            "SpecialDevice=NONE\n" % (name, name))


def recordings(home):
    folder = os.path.join(home, ".local", "state", "kelvane", "replays")
    if not os.path.isdir(folder):
        return []
    return sorted(os.path.join(folder, n) for n in os.listdir(folder))


def has_frames(path):
    """A recording that holds at least one run of frames: its game has started and written."""
    try:
        with open(path) as f:
            return any(line.startswith("frames ") for line in f)
    except OSError:
        return False
