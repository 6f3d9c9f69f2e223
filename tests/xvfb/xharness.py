"""Helpers for testing the real game on a virtual X server.

An X server of a chosen size (Xvfb, its own display number, so tests can run side by
side), with or without a window manager; the game started in a private home with its own
copy of the data folder; real key presses (xdotool); screenshots of the whole screen
(ImageMagick `import`); the picture area cut out of a screenshot and compared with the
headless runner's picture of the same moment (`compare -metric RMSE`).

Only the standard library; the X tools are run as programs. A test that cannot run
because a tool is missing exits with SKIP (77), which CTest reports as skipped.

    runner = Runner(sim_path, data_dir, 3, work)
    with XSession(1280, 1024, window_manager=False) as x, \\
         Game(x, game_path, data_dir, args=["--seed", "3"]) as game:
        game.wait_for(runner.shot([]))                   # until the screen shows the start
        game.command(runner, [], "createship vigil")      # typed, checked, run, console closed
        game.quit()                                       # types QUIT; returns the exit status
"""

import ctypes
import ctypes.util
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
PICTURE = (1024, 768)
WINDOW_TITLE = "Orvath: Kelvane"
# The diagnostic figures at the top middle (frame rate, pointer, key codes) differ from
# the runner's by nature; comparisons leave them out.
DIAGNOSTICS = (430, 0, 640, 48)
# Regions of the picture that must be there, with the names failures use.
PANELS = {
    "own ship panel": (0, 0, 215, 90),
    "target panel": (808, 0, 1024, 90),
    "map and ship list": (840, 490, 1024, 768),
    "console lines": (0, 690, 520, 768),
}
TOOLS = ["Xvfb", "xdotool", "import", "convert", "compare"]


class TestFailure(Exception):
    pass


def require_tools(extra=()):
    missing = [tool for tool in list(TOOLS) + list(extra) if shutil.which(tool) is None]
    if missing:
        print("SKIP: missing " + ", ".join(missing) + " (Debian: xvfb xdotool imagemagick openbox)")
        sys.exit(SKIP)


def check(condition, message):
    if not condition:
        raise TestFailure(message)


def run_test(main):
    """Runs main(); a TestFailure prints what was seen and exits 1."""
    try:
        main()
    except TestFailure as failure:
        print("FAIL: " + str(failure))
        sys.exit(1)
    except (subprocess.SubprocessError, OSError) as error:
        print("FAIL: " + str(error))
        sys.exit(1)
    print("PASS")


def fit_picture(width, height):
    """Where the game puts its 1024 x 768 picture in an output of this size (x, y, w, h)."""
    pw, ph = PICTURE
    if width * ph <= height * pw:
        w, h = width, (width * ph + pw // 2) // pw
    else:
        w, h = (height * pw + ph // 2) // ph, height
    return ((width - w) // 2, (height - h) // 2, w, h)


class _WindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("rest", ctypes.c_byte * 256)]


def window_geometry(display, window):
    """(x, y, width, height) of a window on the screen, asked of the X server through Xlib
    (xdotool's own answer counts a window manager's frame twice)."""
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(_WindowAttributes)]
    x11.XTranslateCoordinates.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                                          ctypes.c_int, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
                                          ctypes.POINTER(ctypes.c_ulong)]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    connection = x11.XOpenDisplay(display.encode())
    check(bool(connection), "cannot connect to " + display)
    try:
        attributes = _WindowAttributes()
        check(x11.XGetWindowAttributes(connection, window, ctypes.byref(attributes)) != 0,
              "no window %d" % window)
        x, y, child = ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
        x11.XTranslateCoordinates(connection, window, x11.XDefaultRootWindow(connection), 0, 0,
                                  ctypes.byref(x), ctypes.byref(y), ctypes.byref(child))
        return (x.value, y.value, attributes.width, attributes.height)
    finally:
        x11.XCloseDisplay(connection)


class XSession:
    """An Xvfb server of the given size, optionally with openbox running on it."""

    def __init__(self, width, height, window_manager=False):
        self.width, self.height = width, height
        self.window_manager = window_manager
        self.processes = []
        self.display = None

    def __enter__(self):
        read_fd, write_fd = os.pipe()
        server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "%dx%dx24" % (self.width, self.height),
             "-nolisten", "tcp", "-noreset"],
            pass_fds=[write_fd], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        self.processes.append(server)
        number = b""
        with os.fdopen(read_fd, "rb") as pipe:
            number = pipe.readline().strip()
        check(number.isdigit(), "Xvfb did not start (no display number)")
        self.display = ":" + number.decode()
        if self.window_manager:
            marker = tempfile.mktemp(prefix="kelvane-openbox-")
            self.processes.append(subprocess.Popen(
                ["openbox", "--startup", "touch " + marker], env=self.env(),
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
            deadline = time.time() + 10
            while not os.path.exists(marker) and time.time() < deadline:
                time.sleep(0.05)
            check(os.path.exists(marker), "openbox did not start within 10 s")
            os.unlink(marker)
        return self

    def __exit__(self, *exc):
        for process in reversed(self.processes):
            process.terminate()
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()

    def env(self, extra=None):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        env.pop("WAYLAND_DISPLAY", None)
        env.pop("SDL_VIDEODRIVER", None)
        for name, value in (extra or {}).items():
            if value is None:
                env.pop(name, None)
            else:
                env[name] = value
        return env

    def xdotool(self, *args):
        done = subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env(), capture_output=True,
                              text=True, timeout=30)
        return done.stdout.strip()

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], env=self.env(), check=True, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path


def link_data(data_dir, into):
    """A private game folder: links to the built data, so each game writes its own Ships.dxg."""
    data_dir = os.path.abspath(data_dir)
    os.makedirs(os.path.join(into, "Data"))
    for name in os.listdir(os.path.join(data_dir, "Data")):
        if name != "Ships.dxg":
            os.symlink(os.path.join(data_dir, "Data", name), os.path.join(into, "Data", name))
    os.symlink(os.path.join(data_dir, "Scripts"), os.path.join(into, "Scripts"))
    return into


class Game:
    """The real game on an XSession, in a private home (settings, pictures) and data folder."""

    def __init__(self, x, game_path, data_dir, args=(), env=None, home=None):
        self.x = x
        self.work = tempfile.mkdtemp(prefix="kelvane-xvfb-")
        self.home = home or os.path.join(self.work, "home")
        os.makedirs(self.home, exist_ok=True)
        # No data folder: the game reads the one beside itself (a game without --data).
        self.data = link_data(data_dir, os.path.join(self.work, "game")) if data_dir else None
        self.pictures = os.path.join(self.home, "Pictures")
        self.settings = os.path.join(self.home, ".config", "kelvane", "settings.ini")
        self.argv = [game_path] + (["--data", self.data] if self.data else []) + list(args)
        self.extra_env = {"HOME": self.home, "SDL_AUDIODRIVER": "dummy", "XDG_PICTURES_DIR": self.pictures}
        for name in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME"):
            self.extra_env[name] = None  # the defaults under the private home
        # Under ASan the real game keeps its error checks but not the leak check at exit:
        # SDL brings in libdbus and Mesa's software GL driver, which keep allocations to the
        # end, and Mesa unloads its driver before the check so its blocks cannot even be
        # told apart from ours. Our own SDL-side code is leak-checked on SDL's dummy driver
        # (test_platform) and the game's code through kelvane-sim.
        asan = os.environ.get("ASAN_OPTIONS", "")
        self.extra_env["ASAN_OPTIONS"] = (asan + ":" if asan else "") + "detect_leaks=0"
        self.extra_env.update(env or {})
        self.process = None
        self.window = None
        self.shots = 0

    def __enter__(self):
        self.stderr = open(os.path.join(self.work, "stderr.txt"), "w+")
        self.process = subprocess.Popen(self.argv, env=self.x.env(self.extra_env), stdout=subprocess.DEVNULL,
                                        stderr=self.stderr)
        deadline = time.time() + 20
        while time.time() < deadline:
            check(self.process.poll() is None, "the game ended at start: " + self.errors())
            found = self.x.xdotool("search", "--onlyvisible", "--name", WINDOW_TITLE).split()
            if found:
                self.window = found[0]
                # Keys go to the window with the focus: make sure it is ours, with or
                # without a window manager to give it.
                if self.x.window_manager:
                    self.x.xdotool("windowactivate", "--sync", self.window)
                else:
                    self.x.xdotool("windowfocus", "--sync", self.window)
                return self
            time.sleep(0.1)
        raise TestFailure("no game window within 20 s")

    def __exit__(self, *exc):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.stderr.close()
        if exc[0] is None:
            shutil.rmtree(self.work, ignore_errors=True)
        else:
            print("kept for a look: " + self.work)

    def errors(self):
        self.stderr.flush()
        with open(self.stderr.name) as f:
            return f.read().strip() or "(nothing on stderr)"

    def own_errors(self):
        """The game's own lines on stderr (libraries below it may add theirs)."""
        return [line for line in self.errors().splitlines() if line.startswith("kelvane:")]

    # ---- input -------------------------------------------------------------------------

    def key(self, *keys):
        """Presses keys one after another, 80 ms apart (the game takes a key a frame)."""
        self.x.xdotool("key", "--delay", "80", *keys)

    def type(self, text):
        self.x.xdotool("type", "--delay", "80", text)

    def quit(self, runner=None, before=None, timeout=10):
        """Ends the game with the console's QUIT; returns its exit status. With the runner and
        the steps that led to the screen as it is, the typing is checked (see command)."""
        if runner is not None:
            self.type_line(runner, before or [], "quit")
        else:
            # A loaded machine may run the frame that opens the console late; letters typed
            # before it would go to a closed console.
            self.key("grave")
            time.sleep(0.5)
            self.type("quit")
            time.sleep(0.3)
        self.key("Return")
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise TestFailure("the game did not end within %d s of QUIT; the screen then: %s"
                              % (timeout, as_png(self.screenshot("after-quit.ppm"))))

    def wait_until(self, condition, what, timeout=20):
        """Polls condition() until it holds; fails naming what was awaited."""
        deadline = time.time() + timeout
        while not condition():
            if time.time() > deadline:
                raise TestFailure("waited %d s for: %s" % (timeout, what))
            time.sleep(0.1)

    # ---- what the window and the screen show -------------------------------------------

    def geometry(self):
        """The window's place and size on the screen: (x, y, width, height)."""
        return window_geometry(self.x.display, int(self.window))

    def screenshot(self, name=None):
        self.shots += 1
        return self.x.screenshot(os.path.join(self.work, name or "screen-%d.ppm" % self.shots))

    def picture_area(self):
        """Where the picture should be on the screen, from the window's real geometry."""
        x, y, w, h = self.geometry()
        px, py, pw, ph = fit_picture(w, h)
        return (x + px, y + py, pw, ph)

    def picture(self, screenshot, name):
        """The picture area of a screenshot, at the size it has on the screen."""
        x, y, w, h = self.picture_area()
        out = os.path.join(self.work, name)
        subprocess.run(["convert", screenshot, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", out],
                       check=True, timeout=30)
        return out

    def scaled(self, reference):
        """The runner's 1024 x 768 picture scaled as the game scales it on this screen, so
        the comparison sees one resampling, the game's own."""
        x, y, w, h = self.picture_area()
        if (w, h) == PICTURE:
            return reference
        out = os.path.join(self.work, "%dx%d-%s.ppm" % (w, h, os.path.splitext(os.path.basename(reference))[0]))
        if not os.path.exists(out):
            subprocess.run(["convert", reference, "-filter", "Triangle", "-resize", "%dx%d!" % (w, h), out],
                           check=True, timeout=30)
        return out

    def compare(self, picture, reference, mask=(DIAGNOSTICS,), region=None):
        """RMSE of a picture area (from picture()) against a runner's picture; masks and
        region are in picture pixels (1024 x 768)."""
        x, y, w, h = self.picture_area()
        scale = lambda box: (box[0] * w // PICTURE[0], box[1] * h // PICTURE[1],
                             -(-box[2] * w // PICTURE[0]), -(-box[3] * h // PICTURE[1]))
        return rmse(picture, self.scaled(reference), self.work, [scale(b) for b in mask],
                    scale(region) if region else None)

    def wait_for(self, reference, limit=0.03, timeout=20, mask=(DIAGNOSTICS,)):
        """Takes screenshots until the picture area matches the reference (RMSE below limit).
        Returns (rmse, screenshot, picture); fails saying what was seen after the timeout."""
        found = self.matches(reference, limit, timeout, mask)
        if found[0] >= limit:
            raise TestFailure("after %d s the screen still differs from %s: RMSE %.4f (see %s)"
                              % (timeout, os.path.basename(reference), found[0], as_png(found[2])))
        return found

    def matches(self, reference, limit=0.03, timeout=5, mask=(DIAGNOSTICS,), region=None):
        """Like wait_for, but only tells: returns the best (rmse, screenshot, picture) seen,
        optionally comparing only a region (x1, y1, x2, y2) of the picture."""
        deadline = time.time() + timeout
        best = None
        while True:
            shot = self.screenshot()
            picture = self.picture(shot, "picture-%d.ppm" % self.shots)
            value = self.compare(picture, reference, mask, region)
            if best is None or value < best[0]:
                best = (value, shot, picture)
            if value < limit or time.time() > deadline:
                return best
            check(self.process.poll() is None, "the game ended: " + self.errors())
            time.sleep(0.2)

    def command(self, runner, before, line, after=None, timeout=20):
        """Types a console command with real keys and runs it, checking each stage against
        the runner's picture of it, so a key lost on a busy machine is typed again rather
        than failing the test. `before` are the runner steps that led to the screen as it is;
        `after` the steps that give the screen once the command ran and the console closed
        (by default the command itself). Returns the runner's picture of that."""
        start = max([step["after"] for step in before], default=0) + 1
        done = runner.shot(after if after is not None else before + [{"after": start, "command": line}])
        self.type_line(runner, before, line)
        self.key("Return", "grave")
        self.wait_for(done, timeout=timeout)
        return done

    def type_line(self, runner, before, line):
        """Opens the console and types the line, checked against the runner's pictures and
        typed again (up to three times) when a key went missing."""
        start = max([step["after"] for step in before], default=0) + 1
        closed = runner.shot(before)
        opened = runner.shot(before + [{"after": start, "key": CONSOLE_KEY}])
        typed = runner.shot(before + typed_steps(start, line))
        short = runner.shot(before + typed_steps(start, line[:-1]))
        # Only the prompt, and only the typed text, each decided by which of two runner
        # pictures the screen is much nearer to: one letter more or less is then plain at
        # any scale (unscaled the same text gives RMSE 0.001 and a letter less 0.03; shrunk
        # into an 800 x 600 window 0.02 against 0.05).
        text = (0, 684, min(PICTURE[0], 20 + 7 * (len(line) + 4)), 701)

        def shows(wanted, other, region, timeout):
            # On a loaded machine one screenshot and its comparison can take the whole
            # timeout: a wait looks at three pictures at least before it gives up.
            deadline = time.time() + timeout
            looked = 0
            while True:
                picture = self.picture(self.screenshot(), "typing-%d.ppm" % self.shots)
                looked += 1
                near = self.compare(picture, wanted, region=region)
                if near * 2 < self.compare(picture, other, region=region):
                    return None
                if time.time() >= deadline and (timeout == 0 or looked >= 3):
                    return picture
                time.sleep(0.2)

        for attempt in range(3):
            if shows(opened, closed, PROMPT, 0):
                self.key("grave")
                if shows(opened, closed, PROMPT, 3):
                    continue
            if attempt:
                self.key(*["BackSpace"] * (len(line) + 2))  # what did arrive goes again
            self.type(line)
            # The whole line on screen means every key has been taken, so Enter cannot
            # land in the same frame as the last letter (it would win and lose that one).
            seen = shows(typed, short, text, 3)
            if not seen:
                return
        raise TestFailure("typing %r into the console: the screen never showed it (see %s)" % (line, as_png(seen)))


CONSOLE_KEY = 0xC0
PROMPT = (0, 684, 40, 701)  # the start of the console's input line: ">> _" while it is open


def typed_steps(start, line):
    """Runner steps that open the console at tick `start` and type the line, a key a tick."""
    steps = [{"after": start, "key": CONSOLE_KEY}]
    for i, c in enumerate(line):
        check(c == " " or "a" <= c <= "z", "only small letters and blanks are typed: %r" % line)
        steps.append({"after": start + 1 + i, "key": 32 if c == " " else ord(c.upper())})
    return steps


class Runner:
    """The headless runner on the same data with the same seed as the game: the pictures a
    moment of the game should show. Pictures are made once per list of steps."""

    def __init__(self, sim_path, data_dir, seed, work):
        self.sim_path, self.data_dir, self.seed, self.work = sim_path, data_dir, seed, work
        self.made = {}

    def shot(self, steps, extra_ticks=2):
        import json
        key = json.dumps(steps, sort_keys=True)
        if key not in self.made:
            tick = max([step["after"] for step in steps], default=0) + extra_ticks
            self.made[key] = runner_shot(self.sim_path, self.data_dir, self.work, "runner-%d" % len(self.made),
                                         self.seed, steps, tick)
        return self.made[key]


# ---- pictures ------------------------------------------------------------------------------
# Working pictures are PPM files: nothing to compress, so a comparison takes a blink.
# Pictures a failure points at are kept as PNG for a look.

def as_png(path):
    if path.endswith(".png"):
        return path
    out = os.path.splitext(path)[0] + ".png"
    subprocess.run(["convert", path, out], timeout=30)
    return out


def masked(path, boxes, work):
    if not boxes:
        return path
    out = os.path.join(work, "masked-" + os.path.splitext(os.path.basename(path))[0] + ".ppm")
    draw = ["-fill", "black"]
    for (x1, y1, x2, y2) in boxes:
        draw += ["-draw", "rectangle %d,%d %d,%d" % (x1, y1, x2 - 1, y2 - 1)]
    subprocess.run(["convert", path] + draw + [out], check=True, timeout=30)
    return out


def rmse(a, b, work, mask=(DIAGNOSTICS,), region=None):
    """Normalised RMSE (0..1) of two pictures of the same size, masked boxes left out,
    optionally only within region (x1, y1, x2, y2)."""
    a, b = masked(a, mask, work), masked(b, mask, work)
    if region:
        x1, y1, x2, y2 = region
        crop = "%dx%d+%d+%d" % (x2 - x1, y2 - y1, x1, y1)
        pieces = []
        for path in (a, b):
            out = os.path.join(work, "region-%d-%d-" % (x1, y1) + os.path.splitext(os.path.basename(path))[0] + ".ppm")
            subprocess.run(["convert", path, "-crop", crop, "+repage", out], check=True, timeout=30)
            pieces.append(out)
        a, b = pieces
    done = subprocess.run(["compare", "-metric", "RMSE", a, b, "null:"], capture_output=True, text=True,
                          timeout=30)
    found = re.search(r"\(([0-9.eE+-]+)\)", done.stderr)
    check(found is not None, "compare gave no figure: " + done.stderr.strip())
    return float(found.group(1))


def brightest(path, box):
    """The largest channel value (0..1) within box (x, y, w, h) of a picture; 0 for an empty box."""
    x, y, w, h = box
    if w <= 0 or h <= 0:
        return 0.0
    done = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage",
                           "-format", "%[fx:maxima]",
                           "info:"], capture_output=True, text=True, timeout=30, check=True)
    return float(done.stdout.strip())


def size_of(path):
    done = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True, timeout=30,
                          check=True)
    return tuple(int(v) for v in done.stdout.split())


def runner_shot(sim_path, data_dir, work, name, seed, steps, tick):
    """The headless runner's picture of tick `tick` with the given scenario steps."""
    import json
    scenario = os.path.join(work, name + ".json")
    with open(scenario, "w") as f:
        json.dump({"steps": steps}, f)
    out = os.path.join(work, name + ".png")
    game = link_data(data_dir, tempfile.mkdtemp(prefix="kelvane-sim-", dir=work))
    done = subprocess.run([sim_path, "--data", game, "--seed", str(seed), "--scenario", scenario,
                           "--frames", str(tick), "--shot", "%d:%s" % (tick, out)],
                          capture_output=True, text=True, timeout=120)
    check(done.returncode == 0, "kelvane-sim failed: " + done.stderr.strip())
    return out


def check_whole_picture(game, reference, label, limit=0.03):
    """The picture area of the screen against the runner's picture: the RMSE overall and of
    each panel, and the bars around the picture black. Returns the overall RMSE."""
    value, shot, picture = game.wait_for(reference, limit=limit)
    for panel, region in PANELS.items():
        part = game.compare(picture, reference, region=region)
        if part >= 0.05:
            raise TestFailure("%s: the %s differs from the runner's (RMSE %.4f, see %s)"
                              % (label, panel, part, as_png(picture)))
    sw, sh = size_of(shot)
    x, y, w, h = game.picture_area()
    gx, gy, gw, gh = game.geometry()
    bars = [(gx, gy, x - gx, gh), (x + w, gy, gx + gw - x - w, gh), (gx, gy, gw, y - gy), (gx, y + h, gw, gy + gh - y - h)]
    for bar in bars:
        bar = (max(bar[0], 0), max(bar[1], 0), min(bar[2], sw), min(bar[3], sh))
        level = brightest(shot, bar)
        if level >= 0.02:
            raise TestFailure("%s: a bar beside the picture is not black (%s: brightest %.3f, see %s)"
                              % (label, bar, level, as_png(shot)))
    print("%s: window %dx%d+%d+%d, picture %dx%d+%d+%d, RMSE %.4f" % (label, gw, gh, gx, gy, w, h, x, y, value))
    return value
